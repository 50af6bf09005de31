// The search of one recording for MZ files, fed with the decoder's pulses as they come: the passes
// of the import (both polarities, on an MZ-700 both sampling moments, with the extended decoding
// the adaptive pass too), each searched on its own, the files in the order of the passes. A file
// from a file and a file from a sound card are searched alike.
#pragma once

#include "MZFDatei.h"
#include "MZWAVMehrfachDekoder.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// Something one pass met on the recording, where it lies in the recording's frames.
struct TBandStelle {
    enum class TArt { Vorlauf, LangeMarke, Kopf, KurzeMarke, Rumpf };
    TArt art = TArt::LangeMarke;
    // The pass: the index among the fixed passes, then the adaptive pass's polarities.
    int durchgang = 0;
    std::int32_t beginn = -1; // frames; -1 where not known
    std::int32_t ende = -1;
    // Kopf and Rumpf: which copy (1 or 2), whether its checksum agrees, and a header's bytes when
    // all of them could be read.
    int kopie = 0;
    bool gut = false;
    bool kopfGelesen = false;
    std::array<std::uint8_t, TMZFDatei::KopfGroesse> kopf{};
    // The marks: the mean short and long pulse, in frames (0 when not known).
    double kurzFrames = 0.0;
    double langFrames = 0.0;
};

class TWAVSuche {
public:
    // The passes of the settings' MZ model, with their extended decoding or without.
    explicit TWAVSuche(const TBandEinstellungen& pv_einstellungen);
    ~TWAVSuche();
    TWAVSuche(const TWAVSuche&) = delete;
    TWAVSuche& operator=(const TWAVSuche&) = delete;

    // The fixed passes of the model, in their order: normal polarity before inverted, the first
    // sampling moment before the second.
    static std::vector<TDekodierDurchgang> DurchgaengeFuer(int pv_modell);

    // What to hand the decoder.
    const TBandEinstellungen& Einstellungen() const { return m_einstellungen; }
    const std::vector<TDekodierDurchgang>& Durchgaenge() const { return m_durchgaenge; }
    const std::vector<TImpulsSenke*>& Senken() const { return m_senken; }
    const TErweiterteDekodierung& Erweiterung() const { return m_erweiterung; }

    // Called as soon as any pass has found a file that no pass found before, while the recording
    // is still read: from the thread that decodes that pass, one call at a time.
    std::function<void(const TMZFDatei& datei)> beiNeuerDatei;

    // Tells every mark and block each pass meets, with its place in the recording: the passes then
    // keep where their pulses began. Called from the thread that decodes the pass; set before the
    // decoder gets Senken() and Erweiterung().
    void SetzeBeiStelle(std::function<void(const TBandStelle&)> pv_beiStelle);
    // With the extended decoding: pv_beobachter sees every pulse the rescue gets, as it gets
    // them (on the adaptive pass's thread). Set before the decoder gets Erweiterung().
    void SetzeBelegBeobachter(TBelegEmpfaenger* pv_beobachter);

    // Once the decoder is done: every distinct file in the order of the passes (those of the first
    // pass, then what the second found besides, ...; the adaptive pass's after the fixed passes'),
    // then what the rescue of worn tapes put together besides, each with its state (a damaged file
    // too, unless the file was found whole); and what was passed over.
    void Ende(std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
              std::vector<TUebersprungenes>* pv_uebersprungen);
    // The same, with the rescue's readings of the files kept for the tape report or to be joined
    // with other recordings of the tape. A file whose marks and body the rescue found but not its
    // header, and that no file found is, is passed over (at its time, from the recording's frames
    // a second pv_rate); its reading goes to pv_unlesbar.
    void Ende(std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
              std::vector<TUebersprungenes>* pv_uebersprungen,
              std::vector<struct TGeretteteDatei>* pv_gerettet, std::uint32_t pv_rate = 0,
              std::vector<struct TUnlesbarerKopf>* pv_unlesbar = nullptr);

private:
    class TDurchgang;
    void Gefunden(const TMZFDatei& datei);

    TBandEinstellungen m_einstellungen;
    std::vector<TDekodierDurchgang> m_durchgaenge;
    std::vector<std::unique_ptr<TDurchgang>> m_suchen;
    std::vector<TImpulsSenke*> m_senken;
    TErweiterteDekodierung m_erweiterung;
    std::mutex m_sperre;
    std::unique_ptr<class TFundListe> m_gemeldet; // what beiNeuerDatei was told
    std::unique_ptr<class TBandRetter> m_retter;  // with the extended decoding
    std::unique_ptr<class TBelegVerteiler> m_verteiler;
    std::function<void(const TBandStelle&)> m_beiStelle;
};

// One recording decoded and searched as Import WAV does it, with the model and decoding of the
// settings given:
// the files as TWAVSuche::Ende gives them. pv_nachBlock follows the decoder (it may stop it);
// beiFrames, beiStelle and belege, when given, see the frames, what the passes met and the pulses.
struct TAufnahmeBeobachter {
    TMZWAVMehrfachDekoder::TNachBlock nachBlock;
    TMZWAVMehrfachDekoder::TBeiFrames beiFrames;
    std::function<void(const TBandStelle&)> beiStelle;
    // With the extended decoding, sees the pulses of the adaptive pass and their certainty.
    TBelegEmpfaenger* belege = nullptr;
    // Set once the decoder has checked the container.
    TWAVFormat* format = nullptr;
    // Set (from nachBlock, or another thread) to stop after the block in hand: the files then are
    // those of the recording read so far.
    const std::atomic<bool>* abbruch = nullptr;
};

// A damaged file the rescue put together is a reading of pv_datei, which a pass read whole: the
// header the same before the comment wherever the rescue is sure of it, and where that part was
// uncertain, the body the same wherever it is sure, most of it read surely. It is then no file of
// its own.
bool IstBeschaedigteLesung(const TMZFDatei& pv_datei, const struct TGeretteteDatei& pv_gerettet);
// A body read damaged is pv_datei's: as long, most of it read surely, the same wherever it is.
bool IstRumpfVon(const TMZFDatei& pv_datei, const std::vector<std::uint8_t>& pv_rumpf,
                 const struct TDateiBefund& pv_befund);
// What the rescue found besides the passes' files (pv_dateien): a file read wrong by a pass (two
// errors the checksum could not see) is set right where it stands, and goes where another pass
// read it right; a file the passes did not find comes after theirs, a damaged one only when it is
// no reading of a pass's file. A rescued file a version of which was overruled so is marked
// repaired.
void FuegeGerettetHinzu(std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                        std::vector<struct TGeretteteDatei>& pv_gerettet);

TBandFehler DurchsucheAufnahme(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                               const TAufnahmeBeobachter& pv_beobachter,
                               std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                               std::vector<TUebersprungenes>* pv_uebersprungen,
                               std::vector<struct TGeretteteDatei>* pv_gerettet,
                               std::vector<struct TUnlesbarerKopf>* pv_unlesbar = nullptr);
