#include "BandAnalyse.h"

#include "LittleEndian.h"
#include "MZFDatei.h"
#include "MZWAVMehrfachDekoder.h"
#include "ProgrammEinstellungen.h"

#include <algorithm>

namespace {

// The pulses of a mark, counted back from the start bit where the parser reports it: before it
// one long pulse, the mark's short pulses, and before them its long ones.
struct TMarkenImpulse {
    int erstesLanges; // 1-based pulse numbers
    int erstesKurzes;
    int anzahl;
};

TMarkenImpulse ImpulseDerMarke(int startbit, int anzahl) {
    const int erstesKurzes = startbit - 1 - anzahl;
    return {erstesKurzes - anzahl, erstesKurzes, anzahl};
}

// One polarity's text read through as the import reads it, every event noted.
class TLeser {
public:
    TLeser(const std::string& text, const std::vector<std::int64_t>& positionen, double rate)
        : m_text(text), m_positionen(positionen), m_rate(rate) {}

    void Lies() {
        TTonbandBeobachter b;
        b.beiLangerMarke = [this](std::int64_t p) {
            Marke(TBandEreignis::TArt::LangeMarke, p, TMZFDatei::LangeMarkeImpulse);
        };
        b.beiKurzerMarke = [this](std::int64_t p) {
            Marke(TBandEreignis::TArt::KurzeMarke, p, TMZFDatei::KurzeMarkeImpulse);
        };
        b.beiKopf = [this](std::int64_t p, int kopie, const std::uint8_t* kopf, bool gut) {
            TBandEreignis e = Block(TBandEreignis::TArt::Kopf, p, kopie, gut);
            if (kopf) {
                e.kopfGelesen = true;
                e.name = TMZFDatei::NameAusKopf(kopf);
                e.groesse = LittleEndian::Lies16(kopf + TMZFDatei::OffsetGroesse);
            }
            m_ereignisse.push_back(e);
        };
        b.beiRumpf = [this](std::int64_t p, int kopie, bool gut) {
            m_ereignisse.push_back(Block(TBandEreignis::TArt::Rumpf, p, kopie, gut));
        };
        TMZFDatei datei;
        int start = 1;
        int ende = 0;
        while (datei.LeseAusTonbandBits(m_text, start, false, 0.0, ende, &b))
            start = ende + 1;
    }

    std::vector<TBandEreignis>& Ereignisse() { return m_ereignisse; }
    int GuteBloecke() const { return m_gute; }

private:
    double Sekunden(int impuls) const {
        if (m_positionen.empty())
            return 0.0;
        const auto i = static_cast<std::size_t>(
            std::clamp<std::int64_t>(impuls - 1, 0, static_cast<std::int64_t>(m_positionen.size()) - 1));
        return static_cast<double>(m_positionen[i]) / m_rate;
    }
    // The mean length in microseconds of `anzahl` pulses from pulse `erstes` on.
    double MittlereDauer(int erstes, int anzahl) const {
        if (erstes < 1 || static_cast<std::size_t>(erstes + anzahl - 1) >= m_positionen.size())
            return 0.0;
        const auto von = static_cast<std::size_t>(erstes - 1);
        const auto bis = static_cast<std::size_t>(erstes + anzahl - 1);
        return static_cast<double>(m_positionen[bis] - m_positionen[von]) / anzahl / m_rate * 1e6;
    }
    void Marke(TBandEreignis::TArt art, int startbit, int anzahl) {
        const TMarkenImpulse impulse = ImpulseDerMarke(startbit, anzahl);
        TBandEreignis e;
        e.art = art;
        e.sekunden = Sekunden(impulse.erstesLanges);
        e.langMikrosekunden = MittlereDauer(impulse.erstesLanges, impulse.anzahl);
        e.kurzMikrosekunden = MittlereDauer(impulse.erstesKurzes, impulse.anzahl);
        m_ereignisse.push_back(e);
    }
    TBandEreignis Block(TBandEreignis::TArt art, int p, int kopie, bool gut) {
        TBandEreignis e;
        e.art = art;
        e.sekunden = Sekunden(p);
        e.kopie = kopie;
        e.gut = gut;
        if (gut)
            ++m_gute;
        return e;
    }

    const std::string& m_text;
    const std::vector<std::int64_t>& m_positionen;
    double m_rate;
    std::vector<TBandEreignis> m_ereignisse;
    int m_gute = 0;
};

} // namespace

double TempoProzent(double kurzNominal, double langNominal, double kurz, double lang) {
    if (kurz <= 0.0 || lang <= 0.0)
        return 0.0;
    return ((kurzNominal + langNominal) / (kurz + lang) - 1.0) * 100.0;
}

double TBandAnalyse::TempoProzent() const {
    return ::TempoProzent(kurzNominal, langNominal, kurzGemessen, langGemessen);
}

bool AnalysiereWAV(const QString& pv_dateiName, TBandAnalyse& pv_analyse) {
    pv_analyse = TBandAnalyse();
    const int modell = HoleImportExportMZModell();
    TMZWAVMehrfachDekoder dekoder;
    TErweiterteDekodierung erweitert;
    erweitert.an = true;
    erweitert.mitPositionen = true;
    if (!dekoder.Dekodiere(pv_dateiName, {}, {}, erweitert))
        return false;
    const double rate = dekoder.HoleFormat().sampleRate;
    pv_analyse.sampleRate = dekoder.HoleFormat().sampleRate;
    pv_analyse.sekunden = dekoder.HoleAnzahlFrames() / rate;
    pv_analyse.kurzNominal = TMZAdaptiverDekoder::NominalKurz(modell);
    pv_analyse.langNominal = TMZAdaptiverDekoder::NominalLang(modell);

    // The polarity that read more good blocks, then more of anything; the normal one on a tie.
    int besteGute = -1;
    for (int polaritaet = 0; polaritaet < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++polaritaet) {
        TLeser leser(dekoder.HoleAdaptivenBitText(polaritaet), dekoder.HoleAdaptivePositionen(polaritaet),
                     rate);
        leser.Lies();
        if (leser.GuteBloecke() > besteGute ||
            (leser.GuteBloecke() == besteGute && leser.Ereignisse().size() > pv_analyse.ereignisse.size())) {
            besteGute = leser.GuteBloecke();
            pv_analyse.ereignisse = std::move(leser.Ereignisse());
            pv_analyse.invertiert = polaritaet == TMZAdaptiverDekoder::Invertiert;
        } else if (leser.GuteBloecke() == besteGute &&
                   leser.Ereignisse().size() == pv_analyse.ereignisse.size()) {
            pv_analyse.beidePolaritaeten = true;
        }
    }

    double kurz = 0.0;
    double lang = 0.0;
    int marken = 0;
    for (const TBandEreignis& e : pv_analyse.ereignisse)
        if (e.kurzMikrosekunden > 0.0 && e.langMikrosekunden > 0.0) {
            kurz += e.kurzMikrosekunden;
            lang += e.langMikrosekunden;
            ++marken;
        }
    const int polaritaet =
        pv_analyse.invertiert ? TMZAdaptiverDekoder::Invertiert : TMZAdaptiverDekoder::Normal;
    // Without a mark, the last leader tells the speed.
    pv_analyse.kurzGemessen =
        marken > 0 ? kurz / marken : dekoder.HoleAdaptivenDekoder().HoleLaufKurz(polaritaet);
    pv_analyse.langGemessen =
        marken > 0 ? lang / marken : dekoder.HoleAdaptivenDekoder().HoleLaufLang(polaritaet);
    return true;
}
