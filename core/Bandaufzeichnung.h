// What the tape view shows of one recording, read once through the import's own decoding and
// search (DurchsucheAufnahme): the waveform as an envelope of several levels of detail, every mark
// and block the passes met with its place, the files found as Import WAV finds them with their
// state, and the speed measured on the marks. A tape image gives the files alone.
#pragma once

#include "BandEinstellungen.h"
#include "BandFehler.h"
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

// The lowest and highest frame on the common scale over stretches of a recording, kept at levels
// of growing coarseness, so that any stretch is summed up from a handful of entries.
class THuelle {
public:
    // Frames per entry of the finest level, and how many entries of a level make one of the next.
    static constexpr std::int64_t Grundbreite = 16;
    static constexpr std::int64_t Faktor = 4;

    struct TSpanne {
        std::uint8_t tief = 255;
        std::uint8_t hoch = 0;
        bool Leer() const { return tief > hoch; }
        void Nimm(const TSpanne& s) {
            tief = std::min(tief, s.tief);
            hoch = std::max(hoch, s.hoch);
        }
    };

    // Frames in recording order.
    void Nimm(const std::uint8_t* pv_frames, std::int32_t pv_anzahl);
    // All frames are in: the coarser levels are built.
    void Schliesse();
    void Leere();

    std::int64_t Frames() const { return m_frames; }
    // The span of the frames [von, bis), from entries no coarser than the stretch (so it may reach
    // up to one entry beyond it on either side); empty outside the recording.
    TSpanne Spanne(std::int64_t pv_von, std::int64_t pv_bis) const;
    std::size_t Bytes() const;

private:
    std::vector<std::vector<TSpanne>> m_stufen;
    TSpanne m_offen; // the entry of the finest level in hand
    std::int64_t m_imOffenen = 0;
    std::int64_t m_frames = 0;
};

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

    // Reads a recording with the model and decoding of the settings given. pv_fortschritt (percent) is called
    // after every block; pv_abbruch, once set, stops the reading after the block in hand (the view then holds
    // what was read). A failure of the container or of a read is returned; nothing is shown.
    TBandFehler Lies(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                     const std::function<void(double prozent)>& pv_fortschritt = {},
                     const std::atomic<bool>* pv_abbruch = nullptr);
    // The files of a tape image or of MZF records: a catalogue without a recording.
    void NimmDateien(std::vector<std::unique_ptr<TMZFDatei>> pv_dateien);

    bool HatAufnahme() const { return m_format.sampleRate > 0 && m_format.anzahlFrames > 0; }
    bool IstAbgebrochen() const { return m_abgebrochen; }
    bool IstErweitert() const { return m_erweitert; }
    const QString& DateiName() const { return m_dateiName; }
    const TWAVFormat& Format() const { return m_format; }
    std::int64_t Frames() const { return m_format.anzahlFrames; }
    double Sekunden(std::int64_t pv_frame) const;
    std::int64_t Frame(double pv_sekunden) const;

    const THuelle& Huelle() const { return m_huelle; }
    const std::vector<TBandBlock>& Bloecke() const { return m_bloecke; }
    const std::vector<TBandMarke>& Marken() const { return m_marken; }
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
    // Memory held, for the benchmark.
    std::size_t Bytes() const;

private:
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
    double m_kurzNominal = 0.0;
    double m_langNominal = 0.0;
    THuelle m_huelle;
    std::mutex m_sperre;                             // the passes report from two threads
    std::vector<std::vector<TBandStelle>> m_stellen; // per pass, while reading
    int m_gezeigt = -1;
    int m_modell = 0;
    std::vector<struct TDekodierDurchgang> m_durchgaenge; // the fixed passes, in their order
    std::vector<TBandBlock> m_bloecke;
    std::vector<TBandMarke> m_marken;
    std::vector<TKatalogEintrag> m_katalog;
};
