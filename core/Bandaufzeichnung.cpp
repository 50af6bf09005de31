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
// A start bit and eight data bits a byte, and the two bytes of the checksum after a block.
constexpr int ImpulseJeByte = 9;
constexpr int PruefsummeBytes = 2;

// What identifies a file whatever its body: type, name, size and addresses.
bool GleicherKopf(const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& a,
                  const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& b) {
    return std::equal(a.begin(), a.begin() + TMZFDatei::OffsetKommentar, b.begin());
}

} // namespace

void THuelle::Nimm(const std::uint8_t* pv_frames, std::int32_t pv_anzahl) {
    if (m_stufen.empty())
        m_stufen.emplace_back();
    std::vector<TSpanne>& fein = m_stufen.front();
    m_frames += pv_anzahl;
    const std::uint8_t* p = pv_frames;
    const std::uint8_t* const ende = pv_frames + pv_anzahl;
    const auto nimm = [this](const std::uint8_t* von, const std::uint8_t* bis) {
        for (; von < bis; ++von) {
            m_offen.tief = std::min(m_offen.tief, *von);
            m_offen.hoch = std::max(m_offen.hoch, *von);
        }
    };
    // The entry in hand first, then whole entries (a loop the compiler vectorises), then the rest.
    if (m_imOffenen > 0) {
        const std::int64_t fehlen = std::min<std::int64_t>(Grundbreite - m_imOffenen, ende - p);
        nimm(p, p + fehlen);
        p += fehlen;
        m_imOffenen += fehlen;
        if (m_imOffenen < Grundbreite)
            return;
        fein.push_back(m_offen);
        m_offen = TSpanne();
        m_imOffenen = 0;
    }
    for (; ende - p >= Grundbreite; p += Grundbreite) {
        std::uint8_t tief = 255;
        std::uint8_t hoch = 0;
        for (int i = 0; i < Grundbreite; ++i) {
            tief = std::min(tief, p[i]);
            hoch = std::max(hoch, p[i]);
        }
        fein.push_back({tief, hoch});
    }
    nimm(p, ende);
    m_imOffenen = ende - p;
}

void THuelle::Schliesse() {
    if (m_stufen.empty())
        return;
    if (m_imOffenen > 0) {
        m_stufen.front().push_back(m_offen);
        m_offen = TSpanne();
        m_imOffenen = 0;
    }
    m_stufen.front().shrink_to_fit();
    while (m_stufen.back().size() > 1) {
        const std::vector<TSpanne>& unten = m_stufen.back();
        std::vector<TSpanne> oben((unten.size() + Faktor - 1) / Faktor);
        for (std::size_t i = 0; i < unten.size(); ++i)
            oben[i / Faktor].Nimm(unten[i]);
        m_stufen.push_back(std::move(oben));
    }
}

void THuelle::Leere() {
    *this = THuelle();
}

THuelle::TSpanne THuelle::Spanne(std::int64_t pv_von, std::int64_t pv_bis) const {
    TSpanne ergebnis;
    pv_von = std::max<std::int64_t>(pv_von, 0);
    pv_bis = std::min(pv_bis, m_frames);
    if (m_stufen.empty() || pv_von >= pv_bis)
        return ergebnis;
    // The coarsest level whose entries are no longer than the stretch: a few entries at most.
    std::size_t stufe = 0;
    std::int64_t breite = Grundbreite;
    while (stufe + 1 < m_stufen.size() && breite * Faktor <= pv_bis - pv_von) {
        ++stufe;
        breite *= Faktor;
    }
    const std::vector<TSpanne>& eintraege = m_stufen[stufe];
    const auto erster = static_cast<std::size_t>(pv_von / breite);
    const auto letzter = std::min(static_cast<std::size_t>((pv_bis - 1) / breite), eintraege.size() - 1);
    for (std::size_t i = erster; i <= letzter; ++i)
        ergebnis.Nimm(eintraege[i]);
    return ergebnis;
}

std::size_t THuelle::Bytes() const {
    std::size_t summe = 0;
    for (const auto& s : m_stufen)
        summe += s.capacity() * sizeof(TSpanne);
    return summe;
}

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
    if (m_stellen.size() <= d)
        m_stellen.resize(d + 1);
    if (m_stellen[d].size() < GroessteAnzahlStellen)
        m_stellen[d].push_back(s);
}

TBandFehler TBandaufzeichnung::Lies(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                                    const std::function<void(double)>& pv_fortschritt,
                                    const std::atomic<bool>* pv_abbruch) {
    const int modell = pv_einstellungen.modell;
    m_dateiName = pv_dateiName;
    m_erweitert = pv_einstellungen.erweitert;
    m_format = TWAVFormat();
    m_huelle.Leere();
    m_stellen.clear();
    m_bloecke.clear();
    m_marken.clear();
    m_katalog.clear();
    m_gezeigt = -1;
    m_modell = modell;
    m_durchgaenge = TWAVSuche::DurchgaengeFuer(modell);
    m_kurzNominal = TMZAdaptiverDekoder::NominalKurz(modell);
    m_langNominal = TMZAdaptiverDekoder::NominalLang(modell);
    TAufnahmeBeobachter beobachter;
    beobachter.format = &m_format;
    beobachter.abbruch = pv_abbruch;
    beobachter.beiFrames = [this](const std::uint8_t* skala, std::int32_t anzahl) {
        m_huelle.Nimm(skala, anzahl);
    };
    beobachter.beiStelle = [this](const TBandStelle& s) { NimmStelle(s); };
    beobachter.nachBlock = [&pv_fortschritt](const TMZWAVMehrfachDekoder& d) {
        if (pv_fortschritt && d.HoleAnzahlFrames() > 0)
            pv_fortschritt(100.0 * d.HoleGeleseneFrames() / d.HoleAnzahlFrames());
    };
    std::vector<std::unique_ptr<TMZFDatei>> dateien;
    std::vector<TGeretteteDatei> gerettet;
    const TBandFehler fehler =
        DurchsucheAufnahme(pv_dateiName, pv_einstellungen, beobachter, dateien, nullptr, &gerettet);
    m_abgebrochen = pv_abbruch && pv_abbruch->load();
    m_huelle.Schliesse();
    if (!fehler.IstOk())
        return fehler;
    Ordne(std::move(dateien), gerettet, modell);
    return {};
}

void TBandaufzeichnung::NimmDateien(std::vector<std::unique_ptr<TMZFDatei>> pv_dateien) {
    m_format = TWAVFormat();
    m_huelle.Leere();
    m_bloecke.clear();
    m_marken.clear();
    m_katalog.clear();
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
    int besteGute = -1;
    for (std::size_t d = 0; d < m_stellen.size(); ++d) {
        const auto gute = std::count_if(m_stellen[d].begin(), m_stellen[d].end(), [](const TBandStelle& s) {
            return (s.art == TBandStelle::TArt::Kopf || s.art == TBandStelle::TArt::Rumpf) && s.gut;
        });
        if (gute > besteGute) {
            besteGute = static_cast<int>(gute);
            m_gezeigt = static_cast<int>(d);
        }
    }
    ZeigeDurchgang(m_gezeigt);
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
    if (durchgang < 0 || static_cast<std::size_t>(durchgang) >= m_stellen.size())
        return;
    const double mikrosekunden = MikrosekundenProSekunde / m_format.sampleRate;
    int eintrag = -1;
    QString name;
    int groesse = 0;
    for (const TBandStelle& s : m_stellen[static_cast<std::size_t>(durchgang)]) {
        if (s.beginn < 0)
            continue;
        switch (s.art) {
        case TBandStelle::TArt::LangeMarke:
        case TBandStelle::TArt::KurzeMarke:
            if (s.art == TBandStelle::TArt::LangeMarke) {
                eintrag = -1;
                name.clear();
                groesse = 0;
            }
            m_marken.push_back({s.art == TBandStelle::TArt::LangeMarke, s.beginn, std::max(s.ende, s.beginn),
                                s.kurzFrames * mikrosekunden, s.langFrames * mikrosekunden});
            break;
        case TBandStelle::TArt::Kopf:
        case TBandStelle::TArt::Rumpf: {
            const bool kopf = s.art == TBandStelle::TArt::Kopf;
            if (kopf && s.kopfGelesen) {
                eintrag = EintragMitKopf(s.kopf);
                name = TMZFDatei::NameAusKopf(s.kopf.data());
                groesse = s.kopf[TMZFDatei::OffsetGroesse] | s.kopf[TMZFDatei::OffsetGroesse + 1] << 8;
            }
            TBandBlock b;
            b.kopf = kopf;
            b.kopie = s.kopie;
            b.beginn = s.beginn;
            b.ende = std::max(s.ende, s.beginn);
            b.zustand = s.gut ? TBlockZustand::Gut : TBlockZustand::Fehler;
            b.eintrag = eintrag;
            b.name = name;
            b.groesse = kopf ? TMZFDatei::KopfGroesse : groesse;
            m_bloecke.push_back(b);
            break;
        }
        }
    }
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
    std::size_t summe = m_huelle.Bytes() + m_bloecke.capacity() * sizeof(TBandBlock) +
                        m_marken.capacity() * sizeof(TBandMarke);
    for (const auto& s : m_stellen)
        summe += s.capacity() * sizeof(TBandStelle);
    return summe;
}
