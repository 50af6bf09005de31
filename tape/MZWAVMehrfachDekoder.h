// Decodes one WAV recording in several passes at once: the file is checked exactly as
// TMZWAVDateiLeser::Oeffnen checks it (same messages, same order), its sample data is read once,
// front to back, in large blocks, each frame is brought to the common scale once, and every pass
// (a polarity and an MZ-700 sampling delay) runs its own decoder over the same frames, appending
// to its own tape bit text. The bit texts equal those of one TMZWAVDateiLeser per pass, opened with
// the pass's arguments and read with LeseBit to the end.
#pragma once

#include "BandEinstellungen.h"
#include "GepufferterDateiLeser.h"
#include "ImpulsBeleg.h"
#include "MZAdaptiverDekoder.h"
#include "MZWAVDateiLeser.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Receives one pass's pulses as they are decided, after every block of frames: one character per
// pulse ('1' long, '0' short) and, where they are kept, the frames where the pulses began.
class TImpulsSenke {
public:
    virtual ~TImpulsSenke() = default;
    virtual void Impulse(std::string_view pv_bits, const std::int32_t* pv_positionen) = 0;
    // Whether a fixed pass hands this sink the frames where its pulses began (the crossings).
    virtual bool MitPositionen() const { return false; }
};

// One decoding pass: the arguments of TMZWAVDateiLeser::Oeffnen besides the file name.
struct TDekodierDurchgang {
    bool invertiertePolaritaet = false;
    bool alternativeAbtastzeit = false;
};

// What the extended decoding (on when the tape settings ask for it: the extended container reader,
// and after the passes above an adaptive one, TMZAdaptiverDekoder, both polarities, on the
// recording's strongest channel or on the mix of the channels that carry the same signal) does
// with its pulses.
struct TErweiterteDekodierung {
    // Keep the frame where each pulse of the adaptive pass began.
    bool mitPositionen = false;
    // Where the adaptive pass's pulses go, per polarity, on the adaptive pass's own thread (one
    // block after the other, and all of them before Dekodiere returns); without them they are
    // collected here.
    TImpulsSenke* senken[TMZAdaptiverDekoder::AnzahlPolaritaeten] = {};
    // The rescue of worn tapes: every pulse of the adaptive pass and of these fixed passes (run
    // again on the adaptive pass's mix of the channels) with how sure it is, on that thread.
    TBelegEmpfaenger* belege = nullptr;
    std::vector<TDekodierDurchgang> belegDurchgaenge;
};

class TMZWAVMehrfachDekoder {
public:
    // Frames read and converted per block.
    static constexpr std::int32_t BlockFrames = 65536;

    // Called after every block, with the bit texts as far as they have got.
    using TNachBlock = std::function<void(const TMZWAVMehrfachDekoder&)>;

    TMZWAVMehrfachDekoder();
    ~TMZWAVMehrfachDekoder();
    TMZWAVMehrfachDekoder(const TMZWAVMehrfachDekoder&) = delete;
    TMZWAVMehrfachDekoder& operator=(const TMZWAVMehrfachDekoder&) = delete;

    // Runs all passes over the file, with the MZ model of pv_einstellungen, and with its extended
    // decoding the adaptive pass too. A failure when the file cannot be opened, is damaged or
    // unsupported, or a read fails (what TMZWAVDateiLeser would say); the bit texts then hold what
    // was decoded before it. With pv_senken (one per pass) every pass's pulses go there, block by
    // block, and are not collected; without, each pass's text is collected whole.
    TBandFehler Dekodiere(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                          const std::vector<TDekodierDurchgang>& pv_durchgaenge,
                          const TNachBlock& pv_nachBlock = {},
                          const TErweiterteDekodierung& pv_erweitert = {},
                          const std::vector<TImpulsSenke*>& pv_senken = {});
    // The same for a recording from any source, read from its start.
    TBandFehler Dekodiere(TByteQuelle& pv_quelle, const TBandEinstellungen& pv_einstellungen,
                          const std::vector<TDekodierDurchgang>& pv_durchgaenge,
                          const TNachBlock& pv_nachBlock = {},
                          const TErweiterteDekodierung& pv_erweitert = {},
                          const std::vector<TImpulsSenke*>& pv_senken = {});

    // A recording that comes as it is made (from a sound card): frames of a known format (its
    // anzahlFrames says how many there will be at most), pushed piece by piece with Verarbeite,
    // and Beende at the end; the sinks get every pulse as with Dekodiere. Of several channels the
    // first is taken.
    void Starte(const TWAVFormat& pv_format, const TBandEinstellungen& pv_einstellungen,
                const std::vector<TDekodierDurchgang>& pv_durchgaenge,
                const TErweiterteDekodierung& pv_erweitert, const std::vector<TImpulsSenke*>& pv_senken);
    void Verarbeite(const std::uint8_t* pv_roh, std::int32_t pv_frames);
    void Beende();

    // Every block's frames on the common scale (the plain mean of the channels, as the fixed
    // passes see them), in recording order, before the passes decode them.
    using TBeiFrames = std::function<void(const std::uint8_t* pv_skala, std::int32_t pv_frames)>;
    void SetzeBeiFrames(TBeiFrames pv_beiFrames) { m_beiFrames = std::move(pv_beiFrames); }
    // Asked between two blocks (from pv_nachBlock): Dekodiere reads no further block and returns
    // as after the end; what was decoded so far stands.
    void Abbrechen() { m_abgebrochen = true; }
    bool IstAbgebrochen() const { return m_abgebrochen; }
    // Raw sample data of a format brought to the common scale, as the fixed passes see it.
    static void ZurSkala(const std::uint8_t* pv_roh, std::int32_t pv_frames, const TWAVFormat& pv_format,
                         std::uint8_t* pv_ziel);

    std::size_t HoleAnzahlDurchgaenge() const { return m_bitTexte.size(); }
    // Pass i's text of "0" and "1", one character per pulse.
    const std::string& HoleBitText(std::size_t pv_durchgang) const { return m_bitTexte[pv_durchgang]; }
    // Hands pass i's text over; it is empty here afterwards.
    std::string UebernimmBitText(std::size_t pv_durchgang) { return std::move(m_bitTexte[pv_durchgang]); }
    // The adaptive pass, when it ran (on a thread of its own: its results are there once Dekodiere
    // has returned, not yet in the block reports): its bit text per polarity (TMZAdaptiverDekoder::Normal,
    // ::Invertiert), the frame where each of its pulses began, the lengths it learned, and the
    // weight it gave each channel (1, -1 for a channel of the other polarity, 0 when left out).
    bool HatAdaptivenDurchgang() const { return m_adaptiv; }
    const std::string& HoleAdaptivenBitText(int pv_polaritaet) const {
        return m_adaptiveTexte[pv_polaritaet];
    }
    std::string UebernimmAdaptivenBitText(int pv_polaritaet) {
        return std::move(m_adaptiveTexte[pv_polaritaet]);
    }
    const std::vector<std::int32_t>& HoleAdaptivePositionen(int pv_polaritaet) const {
        return m_positionen[pv_polaritaet];
    }
    const TMZAdaptiverDekoder& HoleAdaptivenDekoder() const { return m_adaptiverDekoder; }
    const std::vector<float>& HoleKanalGewichte() const { return m_gewichte; }

    // The file's format (valid once the container has been checked).
    const TWAVFormat& HoleFormat() const { return m_format; }
    // Frames in the file, and frames read and decoded so far.
    std::int32_t HoleAnzahlFrames() const { return m_format.anzahlFrames; }
    std::int32_t HoleGeleseneFrames() const { return m_geleseneFrames; }

private:
    struct TLauf;
    void BereiteVor(const TWAVFormat& pv_format, const std::vector<TDekodierDurchgang>& pv_durchgaenge,
                    const TErweiterteDekodierung& pv_erweitert, const std::vector<TImpulsSenke*>& pv_senken);
    std::uint8_t* NaechsterBlock();
    void DekodiereBlock(std::uint8_t* block, std::int32_t anzahl);
    void Beginne(const TBandEinstellungen& pv_einstellungen,
                 const std::vector<TDekodierDurchgang>& pv_durchgaenge);
    TBandFehler WaehleKanaele(TByteQuelle& pv_quelle);

    TWAVFormat m_format;
    int m_modell = MZ80K;
    bool m_adaptiv = false;
    std::string m_adaptiveTexte[TMZAdaptiverDekoder::AnzahlPolaritaeten];
    std::vector<std::int32_t> m_positionen[TMZAdaptiverDekoder::AnzahlPolaritaeten];
    TMZAdaptiverDekoder m_adaptiverDekoder;
    std::vector<float> m_gewichte;
    std::int32_t m_geleseneFrames = 0;
    std::vector<std::string> m_bitTexte;
    std::unique_ptr<TLauf> m_lauf;
    TBeiFrames m_beiFrames;
    bool m_abgebrochen = false;
};
