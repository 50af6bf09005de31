// What the tape view shows of one recording: first the waveform, read in one quick pass as an
// envelope of several levels of detail and the level along the tape; then the recording read
// through the import's own decoding and search (DurchsucheAufnahme): every mark and block the
// passes met with its place (those of the first pass already while it reads), the files found as
// Import WAV finds them with their state, the speed measured on the marks and, with the extended
// decoding, the adaptive pass's pulses with their certainty. A tape image gives the files alone.
#pragma once

#include "BandEinstellungen.h"
#include "BandFehler.h"
#include "BandHuelle.h"
#include "BelegSpur.h"
#include "MZFDatei.h"
#include "MZWAVDateiLeser.h"

#include <QString>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

struct TBandStelle;

// How a block came off the tape.
enum class TBlockZustand { Gut, Repariert, Fehler, Unsicher };

// A block (a header or a body copy) where the view draws it.
struct TBandBlock {
    bool kopf = true;
    int kopie = 1;
    std::int32_t beginn = 0;
    std::int32_t ende = 0;
    TBlockZustand zustand = TBlockZustand::Gut;
    int eintrag = -1; // the catalogue entry it belongs to
    QString name;     // where the header was read
    int groesse = 0;
};

// A mark: where it lies, and its short and long pulses in microseconds (0 when not measured).
struct TBandMarke {
    bool lang = true;
    std::int32_t beginn = 0;
    std::int32_t ende = 0;
    double kurzMikrosekunden = 0.0;
    double langMikrosekunden = 0.0;
};

// A pulse as a fixed pass decides it: where it began (the downward crossing), whether long, and
// where the level was looked at.
struct TBandImpuls {
    double beginn = 0.0;
    double abtastung = 0.0;
    bool lang = false;
};

struct TKatalogEintrag {
    std::unique_ptr<TMZFDatei> datei;
    std::vector<int> bloecke; // indices into Bloecke(), in recording order
};

class TBandaufzeichnung {
public:
    // Marks and blocks kept per pass; a recording with more keeps the first ones.
    static constexpr std::size_t GroessteAnzahlStellen = 100000;

    TBandaufzeichnung();
    ~TBandaufzeichnung();
    TBandaufzeichnung(const TBandaufzeichnung&) = delete;
    TBandaufzeichnung& operator=(const TBandaufzeichnung&) = delete;

    // What the reading is doing: the waveform first, then the decoding.
    enum class TPhase { Huelle, Dekodierung, Fertig };

    // Reads a recording with the model and decoding given. pv_fortschritt (percent of the phase in
    // hand) is called after every block of either phase, and once with 0 when the waveform is
    // complete and the decoding begins: from then on the envelope, the level and the marks and
    // blocks of the first pass so far can be drawn. pv_abbruch, once set, stops the reading after
    // the block in hand (the view then holds what was read). A failure of the container or of a
    // read is returned; nothing is shown.
    TBandFehler Lies(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                     const std::function<void(double prozent)>& pv_fortschritt = {},
                     const std::atomic<bool>* pv_abbruch = nullptr);
    // The files of a tape image or of MZF records: a catalogue without a recording.
    void NimmDateien(std::vector<std::unique_ptr<TMZFDatei>> pv_dateien);

    bool HatAufnahme() const { return m_format.sampleRate > 0 && m_format.anzahlFrames > 0; }
    bool IstAbgebrochen() const { return m_abgebrochen; }
    bool IstErweitert() const { return m_erweitert; }
    TPhase Phase() const { return m_phase; }
    const QString& DateiName() const { return m_dateiName; }
    const TWAVFormat& Format() const { return m_format; }
    std::int64_t Frames() const { return m_format.anzahlFrames; }
    double Sekunden(std::int64_t pv_frame) const;
    std::int64_t Frame(double pv_sekunden) const;

    const THuelle& Huelle() const { return m_huelle; }
    const TPegel& Pegel() const { return m_pegel; }
    const std::vector<TBandBlock>& Bloecke() const { return m_bloecke; }
    const std::vector<TBandMarke>& Marken() const { return m_marken; }
    // The leaders before the marks: where each begins and ends, in frames.
    const std::vector<std::pair<std::int32_t, std::int32_t>>& Vorlaeufe() const { return m_vorlaeufe; }
    const std::vector<TKatalogEintrag>& Katalog() const { return m_katalog; }
    // The model's nominal pulses in microseconds.
    double KurzNominal() const { return m_kurzNominal; }
    double LangNominal() const { return m_langNominal; }
    // The pass whose marks and blocks are shown: the one that read the most good blocks.
    int GezeigterDurchgang() const { return m_gezeigt; }

    // The frames [von, von + anzahl) on the common scale, read from the recording again (for the
    // view's sample zoom); false when the file can no longer be read.
    bool LeseFrames(std::int32_t pv_von, std::int32_t pv_anzahl, std::vector<std::uint8_t>& pv_frames) const;
    // The pulses in frames on the common scale from frame pv_ab on (as LeseFrames gives them), as
    // the fixed pass of the shown pass's polarity and sampling moment decides them (for the
    // adaptive pass the first fixed pass of its polarity). The decoder finds its way from the first
    // crossing on, as it does in the whole recording.
    std::vector<TBandImpuls> Impulse(const std::vector<std::uint8_t>& pv_frames, std::int64_t pv_ab) const;
    // With the extended decoding, once read: the pulses of the adaptive pass (of the polarity
    // shown, or of the one that read more good blocks) that begin in [von, bis), with the one
    // before and after, each with its certainty.
    std::vector<TImpulsBeleg> AdaptiveImpulse(std::int64_t pv_von, std::int64_t pv_bis) const;
    bool HatAdaptiveImpulse() const { return m_adaptiv.Anzahl() > 0; }
    // Memory held, for the benchmark.
    std::size_t Bytes() const;

private:
    class TBelegSammler;
    TBandFehler LiesHuelle(const QString& dateiName, bool erweitert,
                           const std::function<void(double prozent)>& fortschritt,
                           const std::atomic<bool>* abbruch);
    TBandFehler Dekodiere(const std::function<void(double prozent)>& fortschritt,
                          const std::atomic<bool>* abbruch);
    void Vergiss();
    void ZeigeZwischenstand();
    void HaengeStellenAn(const std::vector<TBandStelle>& stellen, std::size_t ab);
    void WaehleAdaptivePolaritaet(const std::vector<std::size_t>& gute);
    void NimmStelle(const TBandStelle& s);
    void Ordne(std::vector<std::unique_ptr<TMZFDatei>> dateien,
               const std::vector<struct TGeretteteDatei>& gerettet, int modell);
    void ZeigeDurchgang(int durchgang);
    void OrdneBloeckeZu();
    void NimmGerettete(const std::vector<struct TGeretteteDatei>& gerettet, int modell);
    int EintragMitKopf(const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& kopf) const;

    QString m_dateiName;
    TWAVFormat m_format;
    bool m_erweitert = false;
    bool m_abgebrochen = false;
    TPhase m_phase = TPhase::Fertig;
    double m_kurzNominal = 0.0;
    double m_langNominal = 0.0;
    THuelle m_huelle;
    TPegel m_pegel;
    std::mutex m_sperre;                             // the passes report from two threads
    std::vector<std::vector<TBandStelle>> m_stellen; // per pass, while reading
    int m_gezeigt = -1;
    int m_modell = 0;
    TBandEinstellungen m_einstellungen;                   // of the reading in hand
    std::vector<struct TDekodierDurchgang> m_durchgaenge; // the fixed passes, in their order
    std::vector<TBandBlock> m_bloecke;
    std::vector<TBandMarke> m_marken;
    std::vector<std::pair<std::int32_t, std::int32_t>> m_vorlaeufe;
    std::vector<TKatalogEintrag> m_katalog;
    // The shown pass's marks and blocks taken so far, and what the last header said.
    std::size_t m_stellenGezeigt = 0;
    int m_letzterEintrag = -1;
    QString m_letzterName;
    int m_letzteGroesse = 0;
    // The adaptive pass's pulses: both polarities while reading, the one shown afterwards.
    std::unique_ptr<TBelegSammler> m_sammler;
    TBelegSpur m_adaptiv;
};
