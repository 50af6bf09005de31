// MZ files out of a recording of a cassette. The recording is decoded in several passes, since
// neither its polarity nor (on an MZ-700) the better sampling delay is known: both polarities,
// and for the MZ-700 both delays. The passes are decoded and searched together while the file is
// read once, front to back, and only the pulses a search still needs are kept, however long the
// recording. Every MZ file whose checksums agree is cut out of each pass's pulses; a file found
// twice counts once.
#include "MZFDatei.h"

#include "BandMeldung.h"
#include "BandProtokoll.h"
#include "FundListe.h"
#include "MZWAVMehrfachDekoder.h"
#include "Plattform.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "TonbandSuche.h"

#include <algorithm>

namespace {

// The passes in their order: normal polarity before inverted, the first delay before the second.
std::vector<TDekodierDurchgang> Durchgaenge(bool mz700) {
    if (mz700)
        return {{false, false}, {false, true}, {true, false}, {true, true}};
    return {{false, false}, {true, false}};
}

// The busy state of one import: BeiBeginn, then the hourglass; at the end BeiEnde, then the
// pointer as it was, on every way out. Before the user chooses among several files both end
// early, so that the choice is made with the window ready and the normal pointer.
class TImportRahmen {
public:
    explicit TImportRahmen(TMZFDatei& datei) : m_datei(datei) {
        if (m_datei.BeiBeginn)
            m_datei.BeiBeginn(&m_datei);
        Plattform().SanduhrAn();
    }
    ~TImportRahmen() { Beende(); }
    TImportRahmen(const TImportRahmen&) = delete;
    TImportRahmen& operator=(const TImportRahmen&) = delete;
    void Beende() {
        if (m_beendet)
            return;
        m_beendet = true;
        if (m_datei.BeiEnde)
            m_datei.BeiEnde(&m_datei);
        Plattform().SanduhrAus();
    }

private:
    TMZFDatei& m_datei;
    bool m_beendet = false;
};

QString NichtsGefunden(const QString& pfad) {
    return HoleTextMitParametern(QStringLiteral("Fehler_ImportVonWAV_KeineGueltigeMZDateiGefunden"), pfad);
}

// One pass of an import: its pulses searched as they come, each distinct file it finds kept once
// in the order it found them, and what it passed over noted. The adaptive passes run on the
// decoder's own thread; each pass touches only what is its own.
class TDurchgangSuche : public TImpulsSenke {
public:
    TDurchgangSuche()
        : m_protokoll([](std::int64_t) { return qint64{-1}; }, false),
          m_strom(
              [this](const TTonbandSuche& s, std::int64_t) {
                  m_funde.Nimm(s.HoleKopf(), s.HoleRumpf().data(), s.HoleRumpf().size());
              },
              m_protokoll.Beobachter()) {}
    TDurchgangSuche(const TDurchgangSuche&) = delete;
    TDurchgangSuche& operator=(const TDurchgangSuche&) = delete;

    void Impulse(std::string_view pv_bits, const std::int32_t*) override {
        // A pass that holds all it may hold reads no further.
        if (!m_funde.IstVoll())
            m_strom.Haenge(pv_bits);
    }
    void Ende() {
        m_strom.Abschliessen();
        m_protokoll.TextZuEnde();
    }

    TFundListe m_funde;
    TBandProtokoll m_protokoll;

private:
    TTonbandStrom m_strom;
};

} // namespace

TBandFehler TMZFDatei::DekodiereWAV(const QString& pv_dateiName, bool pv_erweitert,
                                    std::vector<std::unique_ptr<TMZFDatei>>& pv_gefunden,
                                    std::vector<TUebersprungenes>* pv_uebersprungen) {
    const bool mz700 = HoleImportExportMZModell() == MZ700;
    const std::vector<TDekodierDurchgang> durchgaenge = Durchgaenge(mz700);
    // The fixed passes, then the adaptive pass's two polarities.
    std::vector<std::unique_ptr<TDurchgangSuche>> suchen;
    std::vector<TImpulsSenke*> senken;
    for (std::size_t i = 0; i < durchgaenge.size(); ++i) {
        suchen.push_back(std::make_unique<TDurchgangSuche>());
        senken.push_back(suchen.back().get());
    }
    TErweiterteDekodierung erweiterung;
    erweiterung.an = pv_erweitert;
    if (erweiterung.an)
        for (int polaritaet = 0; polaritaet < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++polaritaet) {
            suchen.push_back(std::make_unique<TDurchgangSuche>());
            erweiterung.senken[polaritaet] = suchen.back().get();
        }

    // Every pass searches while the file is read, so the share of the file read is the progress.
    TMZWAVMehrfachDekoder dekoder;
    const auto nachBlock = [this](const TMZWAVMehrfachDekoder& d) {
        if (d.HoleAnzahlFrames() > 0)
            RaiseFortschritt(100.0 * d.HoleGeleseneFrames() / d.HoleAnzahlFrames());
    };
    const TBandFehler fehler = dekoder.Dekodiere(pv_dateiName, durchgaenge, nachBlock, erweiterung, senken);
    if (!fehler.IstOk())
        return fehler;

    // The files in the order of the passes: those of the first pass, then what the second found
    // besides, and so on; the adaptive pass's after all of the fixed passes'.
    TFundListe alle;
    TBandProtokoll& protokoll = suchen.front()->m_protokoll;
    for (const auto& suche : suchen) {
        suche->Ende();
        alle.NimmAlle(suche->m_funde);
        if (suche.get() != suchen.front().get())
            protokoll.HaengeAn(suche->m_protokoll);
    }
    // Each file found carries this record's events, as a copy of it would.
    for (std::size_t i = 0; i < alle.Anzahl(); ++i) {
        pv_gefunden.push_back(alle.Datei(i));
        pv_gefunden.back()->BeiBeginn = BeiBeginn;
        pv_gefunden.back()->BeiFortschritt = BeiFortschritt;
        pv_gefunden.back()->BeiEnde = BeiEnde;
    }
    if (pv_uebersprungen) {
        *pv_uebersprungen = protokoll.Ergebnis(pv_gefunden);
        if (alle.IstVoll())
            pv_uebersprungen->push_back(
                {TUebersprungenes::TArt::ZuVieleDateien, QString(), -1, static_cast<qint64>(alle.Anzahl())});
    }
    RaiseFortschritt(100.0);
    return {};
}

bool TMZFDatei::ImportWAV(const QString& pv_dateiName, const TAuswahl& pv_auswahl) {
    if (!pv_auswahl) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_UngueltigerParameterWert"),
                                          QStringLiteral("pv_aufruferForm")));
        return false;
    }
    if (m_geladen)
        Schliessen();
    TImportRahmen rahmen(*this);
    std::vector<std::unique_ptr<TMZFDatei>> gefunden; // freed before the busy state ends

    const bool erweitert = LiesImportErweiterteDekodierung();
    const TBandFehler fehler = DekodiereWAV(pv_dateiName, erweitert, gefunden, nullptr);
    if (!fehler.IstOk()) {
        // A recording the extended decoding reads: the user may read it that way at once, for
        // this import only.
        if (erweitert || !fehler.erweitert.liest) {
            MeldeBandFehler(fehler);
            return false;
        }
        const QString frage = BandFehlerText(fehler) + QStringLiteral("\r\n\r\n") +
                              HoleText(QStringLiteral("Frage_ErweitertLesen"));
        if (FrageWarnung(frage, false) != TAntwort::Ja ||
            !MeldeBandFehler(DekodiereWAV(pv_dateiName, true, gefunden, nullptr)))
            return false;
    }
    if (gefunden.empty()) {
        // A recording of a worn tape or of today's recorders may still give its files.
        QString text = NichtsGefunden(pv_dateiName);
        if (!erweitert)
            text += QStringLiteral("\r\n\r\n") +
                    HoleText(QStringLiteral("Fehler_ImportVonWAV_HinweisErweiterteDekodierung"));
        ZeigeFehler(text);
        return false;
    }
    std::size_t wahl = 0;
    if (gefunden.size() > 1) {
        rahmen.Beende();
        const int index = pv_auswahl(gefunden);
        if (index < 0 || static_cast<std::size_t>(index) >= gefunden.size())
            return false;
        wahl = static_cast<std::size_t>(index);
    }
    KopiereVon(*gefunden[wahl]);
    return true;
}

bool TMZFDatei::LeseAlleAusWAV(const QString& pv_dateiName,
                               std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                               std::vector<TUebersprungenes>* pv_uebersprungen, bool* pv_keineGefunden) {
    pv_dateien.clear();
    if (pv_keineGefunden)
        *pv_keineGefunden = false;
    if (m_geladen)
        Schliessen();
    const TImportRahmen rahmen(*this);
    const TBandFehler fehler =
        DekodiereWAV(pv_dateiName, LiesImportErweiterteDekodierung(), pv_dateien, pv_uebersprungen);
    if (!fehler.IstOk()) {
        pv_dateien.clear();
        QString text = BandFehlerText(fehler);
        if (fehler.erweitert.liest)
            text += QStringLiteral("\r\n") + HoleText(QStringLiteral("Hinweis_ErweitertKommandozeile"));
        ZeigeFehler(text);
        return false;
    }
    if (pv_dateien.empty()) {
        ZeigeFehler(NichtsGefunden(pv_dateiName));
        if (pv_keineGefunden)
            *pv_keineGefunden = true;
        return false;
    }
    return true;
}
