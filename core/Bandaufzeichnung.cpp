#include "Bandaufzeichnung.h"

#include "BandRetter.h"
#include "GepufferterDateiLeser.h"
#include "MZAdaptiverDekoder.h"
#include "MZSignalDekoder.h"
#include "MZWAVMehrfachDekoder.h"
#include "WAVSuche.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double MikrosekundenProSekunde = 1e6;
constexpr double Prozent = 100.0;
// Frames read at a time for the waveform.
constexpr std::int32_t BlockFrames = 65536;
// A start bit and eight data bits a byte, and the two bytes of the checksum after a block.
constexpr int ImpulseJeByte = 9;
constexpr int PruefsummeBytes = 2;

// What identifies a file whatever its body: type, name, size and addresses.
bool GleicherKopf(const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& a,
                  const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& b) {
    return std::equal(a.begin(), a.begin() + TMZFDatei::OffsetKommentar, b.begin());
}

} // namespace

TBandaufzeichnung::TBandaufzeichnung() = default;
TBandaufzeichnung::~TBandaufzeichnung() = default;

double TBandaufzeichnung::Sekunden(std::int64_t pv_frame) const {
    return m_format.sampleRate > 0 ? static_cast<double>(pv_frame) / m_format.sampleRate : 0.0;
}

std::int64_t TBandaufzeichnung::Frame(double pv_sekunden) const {
    return std::llround(pv_sekunden * m_format.sampleRate);
}

void TBandaufzeichnung::NimmStelle(const TBandStelle& s) {
    const std::lock_guard<std::mutex> sperre(m_sperre);
    const auto d = static_cast<std::size_t>(s.durchgang);
    if (d < m_stellen.size() && m_stellen[d].size() < GroessteAnzahlStellen)
        m_stellen[d].push_back(s);
}

// Collects the adaptive pass's pulses of both polarities (on the adaptive pass's thread; read
// only once the decoding is over).
class TBandaufzeichnung::TBelegSammler : public TBelegEmpfaenger {
public:
    void Belege(int pv_quelle, const TImpulsBeleg* pv_belege, std::size_t pv_anzahl) override {
        if (pv_quelle >= 0 && pv_quelle < TMZAdaptiverDekoder::AnzahlPolaritaeten)
            spuren[pv_quelle].Nimm(pv_belege, pv_anzahl);
    }
    void NachBlock(std::int64_t) override {}
    TBelegSpur spuren[TMZAdaptiverDekoder::AnzahlPolaritaeten];
};

// The waveform in one pass of its own, before the decoding: far quicker than the decoders, it
// gives the first picture of a long recording early.
TBandFehler TBandaufzeichnung::LiesHuelle(const QString& dateiName, bool erweitert,
                                          const std::function<void(double)>& fortschritt,
                                          const std::atomic<bool>* abbruch) {
    TGepufferterDateiLeser leser;
    TWAVFormat format;
    TBandFehler fehler = TMZWAVDateiLeser::OeffneWAV(leser, dateiName, format, erweitert);
    if (!fehler.IstOk())
        return fehler;
    const int blockGroesse = format.BlockGroesse();
    const std::int32_t blockFrames = std::max<std::int32_t>(1, std::min(BlockFrames, format.anzahlFrames));
    std::vector<std::uint8_t> roh(static_cast<std::size_t>(blockFrames) * blockGroesse);
    std::vector<std::uint8_t> skala(static_cast<std::size_t>(blockFrames));
    for (std::int32_t gelesen = 0; gelesen < format.anzahlFrames;) {
        const std::int32_t anzahl = std::min(blockFrames, format.anzahlFrames - gelesen);
        if (!leser.LeseBytes(roh.data(), anzahl * blockGroesse))
            return leser.HoleFehler();
        TMZWAVMehrfachDekoder::ZurSkala(roh.data(), anzahl, format, skala.data());
        m_huelle.Nimm(skala.data(), anzahl);
        m_pegel.Nimm(skala.data(), anzahl);
        gelesen += anzahl;
        m_format = format;
        if (fortschritt)
            fortschritt(Prozent * gelesen / format.anzahlFrames);
        if (abbruch && abbruch->load())
            break;
    }
    m_format = format;
    m_huelle.Schliesse();
    m_pegel.Schliesse();
    return {};
}

// Everything a reading left, so that a failed one shows nothing.
void TBandaufzeichnung::Vergiss() {
    m_format = TWAVFormat();
    m_huelle.Leere();
    m_pegel.Leere();
    m_bloecke.clear();
    m_marken.clear();
    m_vorlaeufe.clear();
    m_katalog.clear();
    m_stellen.clear();
    m_adaptiv.Leere();
    m_sammler.reset();
    m_gezeigt = -1;
}

TBandFehler TBandaufzeichnung::Lies(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                                    const std::function<void(double)>& pv_fortschritt,
                                    const std::atomic<bool>* pv_abbruch) {
    Vergiss();
    m_dateiName = pv_dateiName;
    m_einstellungen = pv_einstellungen;
    m_erweitert = pv_einstellungen.erweitert;
    m_modell = pv_einstellungen.modell;
    m_durchgaenge = TWAVSuche::DurchgaengeFuer(m_modell);
    m_kurzNominal = TMZAdaptiverDekoder::NominalKurz(m_modell);
    m_langNominal = TMZAdaptiverDekoder::NominalLang(m_modell);
    m_phase = TPhase::Huelle;
    TBandFehler fehler = LiesHuelle(pv_dateiName, m_erweitert, pv_fortschritt, pv_abbruch);
    m_abgebrochen = pv_abbruch && pv_abbruch->load();
    if (fehler.IstOk() && !m_abgebrochen)
        fehler = Dekodiere(pv_fortschritt, pv_abbruch);
    m_phase = TPhase::Fertig;
    if (!fehler.IstOk())
        Vergiss();
    return fehler;
}

// The recording through the import's decoding and search; meanwhile the first pass's marks and
// blocks, as it meets them.
TBandFehler TBandaufzeichnung::Dekodiere(const std::function<void(double)>& fortschritt,
                                         const std::atomic<bool>* abbruch) {
    // One list per pass, there before the passes report from their threads.
    m_stellen.assign(m_durchgaenge.size() + (m_erweitert ? TMZAdaptiverDekoder::AnzahlPolaritaeten : 0), {});
    m_phase = TPhase::Dekodierung;
    m_gezeigt = 0;
    ZeigeDurchgang(m_gezeigt);
    if (fortschritt)
        fortschritt(0.0);
    TAufnahmeBeobachter beobachter;
    beobachter.abbruch = abbruch;
    beobachter.beiStelle = [this](const TBandStelle& s) { NimmStelle(s); };
    beobachter.nachBlock = [this, &fortschritt](const TMZWAVMehrfachDekoder& d) {
        ZeigeZwischenstand();
        if (fortschritt && d.HoleAnzahlFrames() > 0)
            fortschritt(Prozent * d.HoleGeleseneFrames() / d.HoleAnzahlFrames());
    };
    if (m_erweitert) {
        m_sammler = std::make_unique<TBelegSammler>();
        beobachter.belege = m_sammler.get();
    }
    std::vector<std::unique_ptr<TMZFDatei>> dateien;
    std::vector<TGeretteteDatei> gerettet;
    const TBandFehler fehler =
        DurchsucheAufnahme(m_dateiName, m_einstellungen, beobachter, dateien, nullptr, &gerettet);
    m_abgebrochen = abbruch && abbruch->load();
    if (fehler.IstOk())
        Ordne(std::move(dateien), gerettet, m_modell);
    return fehler;
}

void TBandaufzeichnung::ZeigeZwischenstand() {
    const std::lock_guard<std::mutex> sperre(m_sperre);
    const auto d = static_cast<std::size_t>(m_gezeigt);
    if (m_gezeigt >= 0 && d < m_stellen.size() && m_stellen[d].size() > m_stellenGezeigt)
        HaengeStellenAn(m_stellen[d], m_stellenGezeigt);
}

void TBandaufzeichnung::NimmDateien(std::vector<std::unique_ptr<TMZFDatei>> pv_dateien) {
    Vergiss();
    for (auto& d : pv_dateien)
        m_katalog.push_back({std::move(d), {}});
}

int TBandaufzeichnung::EintragMitKopf(const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& kopf) const {
    for (std::size_t i = 0; i < m_katalog.size(); ++i)
        if (GleicherKopf(m_katalog[i].datei->Kopf(), kopf))
            return static_cast<int>(i);
    return -1;
}

void TBandaufzeichnung::Ordne(std::vector<std::unique_ptr<TMZFDatei>> dateien,
                              const std::vector<TGeretteteDatei>& gerettet, int modell) {
    m_katalog.clear();
    for (auto& d : dateien)
        m_katalog.push_back({std::move(d), {}});
    // The pass that read the most good blocks, the first one on a tie.
    std::vector<std::size_t> gute;
    for (std::size_t d = 0; d < m_stellen.size(); ++d) {
        gute.push_back(static_cast<std::size_t>(
            std::count_if(m_stellen[d].begin(), m_stellen[d].end(), [](const TBandStelle& s) {
                return (s.art == TBandStelle::TArt::Kopf || s.art == TBandStelle::TArt::Rumpf) && s.gut;
            })));
        if (d == 0 || gute[d] > gute[static_cast<std::size_t>(m_gezeigt)])
            m_gezeigt = static_cast<int>(d);
    }
    ZeigeDurchgang(m_gezeigt);
    WaehleAdaptivePolaritaet(gute);
    NimmGerettete(gerettet, modell);
    std::stable_sort(m_bloecke.begin(), m_bloecke.end(),
                     [](const TBandBlock& a, const TBandBlock& b) { return a.beginn < b.beginn; });
    OrdneBloeckeZu();
    m_stellen.clear();
    m_stellen.shrink_to_fit();
}

void TBandaufzeichnung::ZeigeDurchgang(int durchgang) {
    m_bloecke.clear();
    m_marken.clear();
    m_vorlaeufe.clear();
    m_stellenGezeigt = 0;
    m_letzterEintrag = -1;
    m_letzterName.clear();
    m_letzteGroesse = 0;
    if (durchgang >= 0 && static_cast<std::size_t>(durchgang) < m_stellen.size())
        HaengeStellenAn(m_stellen[static_cast<std::size_t>(durchgang)], 0);
}

// The marks and blocks of a pass from stellen[ab] on; a block belongs to the file of the header
// before it.
void TBandaufzeichnung::HaengeStellenAn(const std::vector<TBandStelle>& stellen, std::size_t ab) {
    const double mikrosekunden = MikrosekundenProSekunde / m_format.sampleRate;
    for (std::size_t i = ab; i < stellen.size(); ++i) {
        const TBandStelle& s = stellen[i];
        if (s.beginn < 0)
            continue;
        switch (s.art) {
        case TBandStelle::TArt::Vorlauf:
            m_vorlaeufe.emplace_back(s.beginn, std::max(s.ende, s.beginn));
            break;
        case TBandStelle::TArt::LangeMarke:
        case TBandStelle::TArt::KurzeMarke:
            if (s.art == TBandStelle::TArt::LangeMarke) {
                m_letzterEintrag = -1;
                m_letzterName.clear();
                m_letzteGroesse = 0;
            }
            m_marken.push_back({s.art == TBandStelle::TArt::LangeMarke, s.beginn, std::max(s.ende, s.beginn),
                                s.kurzFrames * mikrosekunden, s.langFrames * mikrosekunden});
            break;
        case TBandStelle::TArt::Kopf:
        case TBandStelle::TArt::Rumpf: {
            const bool kopf = s.art == TBandStelle::TArt::Kopf;
            if (kopf && s.kopfGelesen) {
                m_letzterEintrag = EintragMitKopf(s.kopf);
                m_letzterName = TMZFDatei::NameAusKopf(s.kopf.data());
                m_letzteGroesse = s.kopf[TMZFDatei::OffsetGroesse] | s.kopf[TMZFDatei::OffsetGroesse + 1]
                                                                         << 8;
            }
            TBandBlock b;
            b.kopf = kopf;
            b.kopie = s.kopie;
            b.beginn = s.beginn;
            b.ende = std::max(s.ende, s.beginn);
            b.zustand = s.gut ? TBlockZustand::Gut : TBlockZustand::Fehler;
            b.eintrag = m_letzterEintrag;
            b.name = m_letzterName;
            b.groesse = kopf ? TMZFDatei::KopfGroesse : m_letzteGroesse;
            m_bloecke.push_back(b);
            break;
        }
        }
    }
    m_stellenGezeigt = stellen.size();
}

// The adaptive pass's pulses kept: those of the polarity shown, else of the one that read more
// good blocks (the normal one on a tie).
void TBandaufzeichnung::WaehleAdaptivePolaritaet(const std::vector<std::size_t>& gute) {
    m_adaptiv.Leere();
    if (!m_sammler)
        return;
    const std::size_t feste = m_durchgaenge.size();
    int polaritaet = TMZAdaptiverDekoder::Normal;
    if (m_gezeigt >= static_cast<int>(feste))
        polaritaet = m_gezeigt - static_cast<int>(feste);
    else if (gute.size() >= feste + TMZAdaptiverDekoder::AnzahlPolaritaeten &&
             gute[feste + TMZAdaptiverDekoder::Invertiert] > gute[feste + TMZAdaptiverDekoder::Normal])
        polaritaet = TMZAdaptiverDekoder::Invertiert;
    m_adaptiv = std::move(m_sammler->spuren[polaritaet]);
    m_adaptiv.Schliesse();
    m_sammler.reset();
}

std::vector<TImpulsBeleg> TBandaufzeichnung::AdaptiveImpulse(std::int64_t pv_von, std::int64_t pv_bis) const {
    return m_adaptiv.Zwischen(pv_von, pv_bis);
}

// The files the rescue put together: a block the shown pass failed on takes the file's state,
// and a file no pass met at all gets its blocks where the rescue found them.
void TBandaufzeichnung::NimmGerettete(const std::vector<TGeretteteDatei>& gerettet, int modell) {
    const double frameJeByte =
        ImpulseJeByte * 0.5 *
        (TMZAdaptiverDekoder::NominalKurz(modell) + TMZAdaptiverDekoder::NominalLang(modell)) *
        m_format.sampleRate / MikrosekundenProSekunde;
    for (const TGeretteteDatei& g : gerettet) {
        const int eintrag = EintragMitKopf(g.kopf);
        if (eintrag < 0)
            continue;
        const bool gezeigt = std::any_of(m_bloecke.begin(), m_bloecke.end(),
                                         [eintrag](const TBandBlock& b) { return b.eintrag == eintrag; });
        if (gezeigt)
            continue;
        const QString name = TMZFDatei::NameAusKopf(g.kopf.data());
        const auto nimm = [&](const TBlockBericht& bericht, bool kopf, int bytes) {
            for (int k = 0; k < 2; ++k) {
                if (!bericht.kopieGefunden[k] || bericht.beginn[k] < 0)
                    continue;
                TBandBlock b;
                b.kopf = kopf;
                b.kopie = k + 1;
                b.beginn = bericht.beginn[k];
                b.ende = b.beginn + static_cast<std::int32_t>((bytes + PruefsummeBytes) * frameJeByte);
                b.zustand = bericht.kopieGut[k] ? TBlockZustand::Gut : TBlockZustand::Fehler;
                b.eintrag = eintrag;
                b.name = name;
                b.groesse = bytes;
                m_bloecke.push_back(b);
            }
        };
        nimm(g.kopfBericht, true, TMZFDatei::KopfGroesse);
        if (g.mitRumpf)
            nimm(g.rumpfBericht, false, static_cast<int>(g.rumpf.size()));
    }
}

// Each entry's blocks; a failed block of a file the rescue repaired or could only partly read
// shows that state.
void TBandaufzeichnung::OrdneBloeckeZu() {
    for (std::size_t i = 0; i < m_bloecke.size(); ++i) {
        TBandBlock& b = m_bloecke[i];
        if (b.eintrag < 0)
            continue;
        TKatalogEintrag& e = m_katalog[static_cast<std::size_t>(b.eintrag)];
        e.bloecke.push_back(static_cast<int>(i));
        if (b.zustand != TBlockZustand::Fehler)
            continue;
        const TDateiBefund& befund = e.datei->HoleBefund();
        if (befund.zustand == TDateiBefund::TZustand::Repariert)
            b.zustand = TBlockZustand::Repariert;
        else if (befund.zustand == TDateiBefund::TZustand::Beschaedigt)
            b.zustand = TBlockZustand::Unsicher;
    }
}

bool TBandaufzeichnung::LeseFrames(std::int32_t pv_von, std::int32_t pv_anzahl,
                                   std::vector<std::uint8_t>& pv_frames) const {
    pv_frames.clear();
    pv_von = std::clamp<std::int32_t>(pv_von, 0, m_format.anzahlFrames);
    pv_anzahl = std::clamp<std::int32_t>(pv_anzahl, 0, m_format.anzahlFrames - pv_von);
    if (!HatAufnahme() || pv_anzahl == 0)
        return HatAufnahme();
    TGepufferterDateiLeser leser;
    TWAVFormat format;
    if (!TMZWAVDateiLeser::OeffneWAV(leser, m_dateiName, format, true).IstOk())
        return false;
    const int block = format.BlockGroesse();
    // The file must still be the one that was read.
    const std::int64_t sprung = static_cast<std::int64_t>(pv_von) * block;
    if (format.anzahlFrames != m_format.anzahlFrames || block != m_format.BlockGroesse() ||
        sprung > std::numeric_limits<std::int32_t>::max() ||
        !leser.Ueberspringen(static_cast<std::int32_t>(sprung)))
        return false;
    std::vector<std::uint8_t> roh(static_cast<std::size_t>(pv_anzahl) * block);
    if (!leser.LeseBytes(roh.data(), static_cast<std::int32_t>(roh.size())))
        return false;
    pv_frames.resize(static_cast<std::size_t>(pv_anzahl));
    TMZWAVMehrfachDekoder::ZurSkala(roh.data(), pv_anzahl, format, pv_frames.data());
    return true;
}

std::vector<TBandImpuls> TBandaufzeichnung::Impulse(const std::vector<std::uint8_t>& pv_frames,
                                                    std::int64_t pv_ab) const {
    std::vector<TBandImpuls> impulse;
    if (!HatAufnahme() || m_durchgaenge.empty() || pv_frames.empty() || m_gezeigt < 0)
        return impulse;
    // The adaptive pass's polarities come after the fixed passes.
    const auto feste = static_cast<int>(m_durchgaenge.size());
    TDekodierDurchgang durchgang = m_durchgaenge[static_cast<std::size_t>(std::min(m_gezeigt, feste - 1))];
    if (m_gezeigt >= feste)
        durchgang = {m_gezeigt - feste == TMZAdaptiverDekoder::Invertiert, false};
    std::vector<std::uint8_t> frames = pv_frames;
    if (durchgang.invertiertePolaritaet)
        std::transform(frames.begin(), frames.end(), frames.begin(), WAVSkala::Invertiere);
    const double verzoegerung =
        TMZSignalDekoder::AbtastVerzoegerung(m_modell, durchgang.alternativeAbtastzeit);
    const double versatz = verzoegerung * m_format.sampleRate / MikrosekundenProSekunde;
    TMZSignalDekoder dekoder;
    dekoder.Starte(m_format.sampleRate, verzoegerung, static_cast<std::int32_t>(frames.size()));
    auto senke = [&](bool lang, int, double kreuzung) {
        impulse.push_back(
            {static_cast<double>(pv_ab) + kreuzung, static_cast<double>(pv_ab) + kreuzung + versatz, lang});
    };
    dekoder.Verarbeite(frames.data(), frames.data() + frames.size(), senke);
    return impulse;
}

std::size_t TBandaufzeichnung::Bytes() const {
    std::size_t summe = m_huelle.Bytes() + m_pegel.Bytes() + m_adaptiv.Bytes() +
                        m_bloecke.capacity() * sizeof(TBandBlock) + m_marken.capacity() * sizeof(TBandMarke) +
                        m_vorlaeufe.capacity() * sizeof(m_vorlaeufe.front());
    for (const auto& s : m_stellen)
        summe += s.capacity() * sizeof(TBandStelle);
    return summe;
}
