// MZ files out of a recording of a cassette. The recording is decoded in several passes, since
// neither its polarity nor (on an MZ-700) the better sampling delay is known: both polarities,
// and for the MZ-700 both delays. The passes are decoded together while the file is read once;
// their progress events come in the order of passes one after the other, as if each pass read
// the file itself. Every MZ file whose checksums agree is cut out of each pass's bit text; a file
// found twice counts once.
#include "MZFDatei.h"

#include "BandProtokoll.h"
#include "MZWAVMehrfachDekoder.h"
#include "Plattform.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include <algorithm>

namespace {

// A progress event per this many pulses while a pass is decoded.
constexpr std::size_t ImpulseProFortschritt = 1000;

// Share of the whole import of a pass's decoding and of its parsing, in percent: four passes on
// an MZ-700, two on the other models, adding up to 100.
struct TGewichte {
    double dekodieren;
    double lesen;
};
constexpr TGewichte GewichteMZ700{15.0, 10.0};
constexpr TGewichte GewichteSonst{30.0, 20.0};
// With the extended decoding the fixed passes take 80 % and each polarity of the adaptive pass 10.
constexpr double FesterAnteilErweitert = 0.8;
constexpr TGewichte GewichteAdaptiv{5.0, 5.0};

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

} // namespace

bool TMZFDatei::DekodiereWAV(const QString& pv_dateiName,
                             std::vector<std::unique_ptr<TMZFDatei>>& pv_gefunden,
                             std::vector<TUebersprungenes>* pv_uebersprungen) {
    const bool mz700 = HoleImportExportMZModell() == MZ700;
    const bool erweitert = LiesImportErweiterteDekodierung();
    TGewichte gewichte = mz700 ? GewichteMZ700 : GewichteSonst;
    if (erweitert)
        gewichte = {gewichte.dekodieren * FesterAnteilErweitert, gewichte.lesen * FesterAnteilErweitert};
    const std::vector<TDekodierDurchgang> durchgaenge = Durchgaenge(mz700);
    double fortschritt = 0.0;

    // The first pass's events come while the file is read; the others' when their turn comes.
    TMZWAVMehrfachDekoder dekoder;
    std::size_t gemeldeteTausender = 0;
    const auto nachBlock = [&](const TMZWAVMehrfachDekoder& d) {
        const std::size_t tausender =
            (d.HoleAnzahlDurchgaenge() > 0 ? d.HoleBitText(0).size() : 0) / ImpulseProFortschritt;
        for (; gemeldeteTausender < tausender; ++gemeldeteTausender)
            RaiseFortschritt(fortschritt);
    };
    TErweiterteDekodierung erweiterung;
    erweiterung.an = erweitert;
    if (!dekoder.Dekodiere(pv_dateiName, durchgaenge, nachBlock, erweiterung))
        return false;

    TBandProtokoll protokoll([](std::int64_t) { return qint64{-1}; }, false);
    // Every file of one bit text, after the decoding's events of that text.
    const auto durchsuche = [&](const std::string& bits, bool ereignisseNachgeholt, const TGewichte& g) {
        if (ereignisseNachgeholt)
            for (std::size_t i = 0; i < bits.size() / ImpulseProFortschritt; ++i)
                RaiseFortschritt(fortschritt);
        fortschritt += g.dekodieren;
        RaiseFortschritt(fortschritt);

        int start = 1;
        int ende = 0;
        while (LeseAusTonbandBits(bits, start, true, fortschritt, ende, protokoll.Beobachter())) {
            start = ende + 1;
            RaiseFortschritt(fortschritt);
            bool schonDa = false;
            for (const auto& gefunden : pv_gefunden) {
                if (gefunden->IstGleich(*this)) {
                    schonDa = true;
                    break;
                }
                RaiseFortschritt(fortschritt);
            }
            if (!schonDa)
                pv_gefunden.push_back(CreateKopie(*this));
            Schliessen();
            RaiseFortschritt(fortschritt);
        }
        protokoll.TextZuEnde();
        fortschritt += g.lesen;
        RaiseFortschritt(fortschritt);
    };
    for (std::size_t pass = 0; pass < durchgaenge.size(); ++pass)
        durchsuche(dekoder.UebernimmBitText(pass), pass > 0, gewichte);
    // The adaptive pass's finds come after all of the fixed passes' finds.
    if (dekoder.HatAdaptivenDurchgang())
        for (int polaritaet = 0; polaritaet < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++polaritaet)
            durchsuche(dekoder.UebernimmAdaptivenBitText(polaritaet), true, GewichteAdaptiv);
    if (pv_uebersprungen)
        *pv_uebersprungen = protokoll.Ergebnis(pv_gefunden);
    return true;
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

    if (!DekodiereWAV(pv_dateiName, gefunden, nullptr))
        return false;
    if (gefunden.empty()) {
        // A recording of a worn tape or of today's recorders may still give its files.
        QString text = NichtsGefunden(pv_dateiName);
        if (!LiesImportErweiterteDekodierung())
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
    if (!DekodiereWAV(pv_dateiName, pv_dateien, pv_uebersprungen)) {
        pv_dateien.clear();
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
