// The rescue of worn tapes: the files of a recording put together from every pulse of every pass
// with how sure it is, not only from copies that read whole. Per polarity the adaptive pass finds
// the marks (with a few bad pulses among them) and frames the bytes on their start bits, framing
// anew after a dropout; the fixed passes of that polarity vote on each byte it framed; each block
// is put together from both copies (TBlockVereinigung) and the checksum decides. Files come in
// recording order; a file the wrong polarity also read is told once, as the better reading has it,
// or, where both left it damaged, as the mean of both readings' evidence decides it when that is
// better.
#pragma once

#include "BlockVereinigung.h"
#include "DateiBefund.h"
#include "ImpulsBeleg.h"
#include "MZWAVMehrfachDekoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// One block as the rescue read it, for the tape report.
struct TBlockBericht {
    bool gelesen = false;              // the block was found at all
    bool kopieGut[2] = {};             // each copy, read whole in the adaptive pass, had a good checksum
    bool kopieGefunden[2] = {};        // the copy was found on the tape
    int lesungen = 0;                  // readings of all passes and copies
    int gekippt = 0;                   // bits the checksum search flipped
    bool gut = false;                  // the block put together has a good checksum
    std::int32_t beginn[2] = {-1, -1}; // the frames where the copies begin
};

struct TGeretteteDatei {
    std::array<std::uint8_t, 128> kopf{};
    std::vector<std::uint8_t> rumpf;
    TDateiBefund befund;
    int polaritaet = 0;
    std::int32_t beginn = 0; // the long mark's first frame
    std::int32_t ende = 0;   // the last frame read
    TBlockBericht kopfBericht;
    TBlockBericht rumpfBericht;
    bool mitRumpf = false; // a body was found after the header
    // The body's length in bytes as the distance of its two copies on the tape tells it; -1: not
    // measured.
    int gemesseneGroesse = -1;
    // The evidence, to be joined with other recordings of the same tape.
    TBlockBelege kopfBelege{128};
    TBlockBelege rumpfBelege;
    // Blocks that one copy gave whole with a good checksum, as they read.
    std::vector<std::vector<std::uint8_t>> sauberKopf;
    std::vector<std::vector<std::uint8_t>> sauberRumpf;
    // Bodies and headers read whole with a good checksum that the evidence of all readings
    // overruled (two errors that hid each other from the checksum).
    std::vector<std::vector<std::uint8_t>> ueberstimmt;
    std::vector<std::vector<std::uint8_t>> ueberstimmterKopf;

    // This reading's header and another's (of another recording) name the same file: they agree
    // before the comment wherever both are sure, with no more than a few bytes uncertain in
    // either (see TBandRetter::HoechstensUnsichereKopfBytesAmStueck).
    bool NenntDieselbeDatei(const TGeretteteDatei& pv_andere) const;
    // The same with up to pv_hoechstens bytes uncertain in either.
    bool NenntDieselbeDatei(const TGeretteteDatei& pv_andere, int pv_hoechstens) const;

    // The state to report. Where the body's checksum speaks against it, or was not read, while no
    // byte of it rests on weak evidence (a copy framed a byte off throughout reads every bit
    // surely), any byte could be a wrong one: all of them are uncertain.
    TDateiBefund Gemeldet() const;

    // The header is one the evidence overruled.
    bool KopfUeberstimmt(const std::array<std::uint8_t, 128>& pv_kopf) const {
        return std::any_of(ueberstimmterKopf.begin(), ueberstimmterKopf.end(), [&](const auto& k) {
            return std::equal(k.begin(), k.end(), pv_kopf.begin(), pv_kopf.end());
        });
    }
};

// A file whose long mark, short mark and body were found, its header read like none (see
// TBandRetter::IstKopf): no file is told of it, yet it is not passed over in silence.
struct TUnlesbarerKopf {
    std::int32_t beginn = 0;         // the long mark's first frame
    std::int32_t ende = 0;           // the last frame read
    std::vector<std::uint8_t> rumpf; // the body as decided, to know the file by where another
    TDateiBefund befund;             // reading gives it whole
    TBlockBericht kopfBericht;
    TBlockBericht rumpfBericht;
};

class TBandRetter : public TBelegEmpfaenger {
public:
    // The fixed passes whose pulses come as sources 2, 3, ... (see TErweiterteDekodierung).
    explicit TBandRetter(const std::vector<TDekodierDurchgang>& pv_festeDurchgaenge);
    ~TBandRetter() override;
    TBandRetter(const TBandRetter&) = delete;
    TBandRetter& operator=(const TBandRetter&) = delete;

    void Belege(int pv_quelle, const TImpulsBeleg* pv_belege, std::size_t pv_anzahl) override;
    void NachBlock(std::int64_t pv_frames) override;

    // The recording is at its end: what is still open is read as far as it goes. Then the files,
    // in recording order.
    std::vector<TGeretteteDatei> Ende();
    // Then the files whose header could not be read, in recording order: none where either
    // polarity read a file, each once. At most GroessteAnzahlUnlesbare a polarity (what a hostile
    // recording holds of marks may not cost memory without bound).
    std::vector<TUnlesbarerKopf> Unlesbare() { return std::move(m_unlesbare); }
    static constexpr std::size_t GroessteAnzahlUnlesbare = 64;

    // The most pulses one polarity holds now: what is done with is forgotten, so that this stays
    // within about a file's length on a recording of any length.
    std::int64_t GehalteneImpulse() const;

    // Decides a file's blocks from its evidence again (after evidence of other recordings was
    // added), setting its bytes and its state.
    static void Entscheide(TGeretteteDatei& pv_datei);
    // The file's header, decided, is one: its checksum agrees, or it looks like one where it was
    // read surely (a file type, a name of characters ended by $0D), not like hiss or the other
    // polarity's reading. A byte read uncertainly may be any character; hiss gives headers
    // uncertain all over, and more than so many such bytes in what names a file say nothing (a
    // few more in one run, as a dropout leaves them: the pulse before it lasts into it).
    static constexpr int HoechstensUnsichereKopfBytes = 2;
    static constexpr int HoechstensUnsichereKopfBytesAmStueck = 3;
    // A size read within this share of the body's length measured on the tape is taken as read.
    static constexpr int GroesseNahe = 8;
    static bool IstKopf(const TGeretteteDatei& pv_datei);
    // Which of two readings of a block the evidence holds to where they differ, each bit counting
    // with its weight: 1 the first, -1 the second, 0 where they tie or do not differ.
    static int HaeltZu(const TBlockBelege& pv_belege, const std::uint8_t* pv_bytes,
                       const std::uint8_t* pv_andere, std::size_t pv_anzahl);

    // The copies of blocks lately read whole, in either polarity: the other polarity reads the
    // same copy from there without framing it again. A few blocks back suffice (bounded).
    struct TGanzeKopie {
        int polaritaet = 0;
        std::int32_t beginn = 0;         // frame of its first start bit
        std::vector<std::uint8_t> bytes; // with the checksum
    };
    static constexpr std::size_t GemerkteKopien = 8;

    // The files of both polarities in recording order, each file once (see above).
    static std::vector<TGeretteteDatei> BeidePolaritaeten(std::vector<TGeretteteDatei> pv_alle);

private:
    class TPolaritaet;
    std::unique_ptr<TPolaritaet> m_polaritaeten[2];
    std::vector<TGanzeKopie> m_ganzeKopien;
    std::vector<TUnlesbarerKopf> m_unlesbare;
    // Per source: its polarity, and which of that polarity's fixed passes it is (-1: adaptive).
    std::vector<std::pair<int, int>> m_quellen;
};
