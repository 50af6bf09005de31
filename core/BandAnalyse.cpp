#include "BandAnalyse.h"

#include "BandMeldung.h"
#include "GepufferterDateiLeser.h"
#include "LittleEndian.h"
#include "MZFDatei.h"
#include "MZWAVMehrfachDekoder.h"
#include "TonbandSuche.h"
#include "WAVSuche.h"

#include <algorithm>
#include <memory>

namespace {

// The pulses of a mark, counted back from the start bit where the parser reports it: before it
// one long pulse, the mark's short pulses, and before them its long ones.
struct TMarkenImpulse {
    std::int64_t erstesLanges; // 1-based pulse numbers
    std::int64_t erstesKurzes;
    int anzahl;
};

TMarkenImpulse ImpulseDerMarke(std::int64_t startbit, int anzahl) {
    const std::int64_t erstesKurzes = startbit - 1 - anzahl;
    return {erstesKurzes - anzahl, erstesKurzes, anzahl};
}

// One polarity's pulses read through as the import reads them, as they come from the decoder's
// thread, every event noted (up to TBandAnalyse::GroessteAnzahlEreignisse).
class TLeser : public TImpulsSenke {
public:
    // The decoder's format is read once its pulses come, which is after the container was read.
    explicit TLeser(const TMZWAVMehrfachDekoder& dekoder)
        : m_dekoder(dekoder), m_strom([](const TTonbandSuche&, std::int64_t) {}, &m_beobachter) {
        // (the observer's functions below point to this object: it is never copied)
        m_beobachter.beiLangerMarke = [this](std::int64_t p) {
            Marke(TBandEreignis::TArt::LangeMarke, p, TMZFDatei::LangeMarkeImpulse);
        };
        m_beobachter.beiKurzerMarke = [this](std::int64_t p) {
            Marke(TBandEreignis::TArt::KurzeMarke, p, TMZFDatei::KurzeMarkeImpulse);
        };
        m_beobachter.beiKopf = [this](std::int64_t p, int kopie, const std::uint8_t* kopf, bool gut) {
            TBandEreignis e = Block(TBandEreignis::TArt::Kopf, p, kopie, gut);
            if (kopf) {
                e.kopfGelesen = true;
                e.name = TMZFDatei::NameAusKopf(kopf);
                e.groesse = LittleEndian::Lies16(kopf + TMZFDatei::OffsetGroesse);
            }
            Neu(std::move(e));
        };
        m_beobachter.beiRumpf = [this](std::int64_t p, int kopie, bool gut) {
            Neu(Block(TBandEreignis::TArt::Rumpf, p, kopie, gut));
        };
    }

    TLeser(const TLeser&) = delete;
    TLeser& operator=(const TLeser&) = delete;

    void Impulse(std::string_view pv_bits, const std::int32_t* pv_positionen) override {
        m_strom.Haenge(pv_bits, pv_positionen);
    }
    void Ende() { m_strom.Abschliessen(); }

    std::vector<TBandEreignis>& Ereignisse() { return m_ereignisse; }
    std::size_t Weitere() const { return m_weitere; }
    int GuteBloecke() const { return m_gute; }

private:
    void Neu(TBandEreignis e) {
        if (m_ereignisse.size() < TBandAnalyse::GroessteAnzahlEreignisse)
            m_ereignisse.push_back(std::move(e));
        else
            ++m_weitere;
    }
    double Sekunden(std::int64_t impuls) const {
        const std::int32_t frame = m_strom.HolePosition(impuls);
        return frame < 0 ? 0.0 : frame / Rate();
    }
    // The mean length in microseconds of `anzahl` pulses from pulse `erstes` on.
    double MittlereDauer(std::int64_t erstes, int anzahl) const {
        const std::int32_t von = m_strom.HolePosition(erstes);
        const std::int32_t bis = m_strom.HolePosition(erstes + anzahl);
        if (von < 0 || bis < 0)
            return 0.0;
        return static_cast<double>(bis - von) / anzahl / Rate() * 1e6;
    }
    void Marke(TBandEreignis::TArt art, std::int64_t startbit, int anzahl) {
        const TMarkenImpulse impulse = ImpulseDerMarke(startbit, anzahl);
        TBandEreignis e;
        e.art = art;
        e.sekunden = Sekunden(impulse.erstesLanges);
        e.langMikrosekunden = MittlereDauer(impulse.erstesLanges, impulse.anzahl);
        e.kurzMikrosekunden = MittlereDauer(impulse.erstesKurzes, impulse.anzahl);
        Neu(std::move(e));
    }
    TBandEreignis Block(TBandEreignis::TArt art, std::int64_t p, int kopie, bool gut) {
        TBandEreignis e;
        e.art = art;
        e.sekunden = Sekunden(p);
        e.kopie = kopie;
        e.gut = gut;
        if (gut)
            ++m_gute;
        return e;
    }

    double Rate() const { return m_dekoder.HoleFormat().sampleRate; }

    const TMZWAVMehrfachDekoder& m_dekoder;
    TTonbandBeobachter m_beobachter;
    TTonbandStrom m_strom;
    std::vector<TBandEreignis> m_ereignisse;
    std::size_t m_weitere = 0;
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

bool AnalysiereWAV(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                   TBandAnalyse& pv_analyse) {
    TGepufferterDateiLeser datei;
    if (!datei.Oeffnen(pv_dateiName)) {
        pv_analyse = TBandAnalyse();
        return MeldeBandFehler(datei.HoleFehler());
    }
    return AnalysiereWAV(datei, pv_einstellungen, pv_analyse);
}

bool AnalysiereWAV(TByteQuelle& pv_quelle, const TBandEinstellungen& pv_einstellungen,
                   TBandAnalyse& pv_analyse) {
    pv_analyse = TBandAnalyse();
    const int modell = pv_einstellungen.modell;
    const bool rettung = pv_einstellungen.erweitert;
    // The report always reads with the adaptive pass.
    TBandEinstellungen adaptiv = pv_einstellungen;
    adaptiv.erweitert = true;
    TMZWAVMehrfachDekoder dekoder;
    TLeser leser[TMZAdaptiverDekoder::AnzahlPolaritaeten] = {TLeser(dekoder), TLeser(dekoder)};
    TErweiterteDekodierung erweitert;
    erweitert.mitPositionen = true;
    for (int p = 0; p < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++p)
        erweitert.senken[p] = &leser[p];
    // The rescue hears the same adaptive pass, and the model's fixed passes vote.
    std::unique_ptr<TBandRetter> retter;
    if (rettung) {
        erweitert.belegDurchgaenge = TWAVSuche::DurchgaengeFuer(modell);
        retter = std::make_unique<TBandRetter>(erweitert.belegDurchgaenge);
        erweitert.belege = retter.get();
    }
    if (!MeldeBandFehler(dekoder.Dekodiere(pv_quelle, adaptiv, {}, {}, erweitert)))
        return false;
    pv_analyse.mitRettung = rettung;
    if (retter) {
        for (const TGeretteteDatei& g : retter->Ende())
            pv_analyse.rettung.push_back({g.beginn, TMZFDatei::NameAusKopf(g.kopf.data()),
                                          LittleEndian::Lies16(g.kopf.data() + TMZFDatei::OffsetGroesse),
                                          g.mitRumpf, g.Gemeldet(), g.kopfBericht, g.rumpfBericht});
        for (const TUnlesbarerKopf& u : retter->Unlesbare())
            pv_analyse.rettung.push_back({u.beginn, QString(), static_cast<int>(u.rumpf.size()), true,
                                          u.befund, u.kopfBericht, u.rumpfBericht, true});
        std::stable_sort(
            pv_analyse.rettung.begin(), pv_analyse.rettung.end(),
            [](const TRettungsBericht& a, const TRettungsBericht& b) { return a.beginn < b.beginn; });
    }
    const double rate = dekoder.HoleFormat().sampleRate;
    pv_analyse.sampleRate = dekoder.HoleFormat().sampleRate;
    pv_analyse.sekunden = dekoder.HoleAnzahlFrames() / rate;
    pv_analyse.kurzNominal = TMZAdaptiverDekoder::NominalKurz(modell);
    pv_analyse.langNominal = TMZAdaptiverDekoder::NominalLang(modell);

    // The polarity that read more good blocks, then more of anything; the normal one on a tie.
    int besteGute = -1;
    std::size_t besteAnzahl = 0;
    for (int polaritaet = 0; polaritaet < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++polaritaet) {
        TLeser& l = leser[polaritaet];
        l.Ende();
        const std::size_t anzahl = l.Ereignisse().size() + l.Weitere();
        if (l.GuteBloecke() > besteGute || (l.GuteBloecke() == besteGute && anzahl > besteAnzahl)) {
            besteGute = l.GuteBloecke();
            besteAnzahl = anzahl;
            pv_analyse.ereignisse = std::move(l.Ereignisse());
            pv_analyse.weitereEreignisse = l.Weitere();
            pv_analyse.invertiert = polaritaet == TMZAdaptiverDekoder::Invertiert;
        } else if (l.GuteBloecke() == besteGute && anzahl == besteAnzahl) {
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
