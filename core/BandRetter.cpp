#include "BandRetter.h"

#include "BelegFolge.h"
#include "LittleEndian.h"
#include "MZFDatei.h"
#include "TonbandSuche.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int BitsProByte = 9; // start bit and 8 data bits
constexpr int DatenBits = 8;
constexpr int KopfBytes = TMZFDatei::KopfGroesse;
constexpr int PruefsummeBytes = TBlockBelege::PruefsummeBytes;
constexpr int KopieLuecke = 256;
constexpr int LangeMarke = TMZFDatei::LangeMarkeImpulse;
constexpr int KurzeMarke = TMZFDatei::KurzeMarkeImpulse;

// A mark stands after a leader: of this many pulses before it at least that many are short. Of a
// mark's runs a few pulses may be misread.
constexpr int VorlaufProbe = 200;
constexpr int VorlaufFehler = 20;
constexpr int MarkenFehler = 6;
constexpr int KurzeMarkenFehler = 3;
// The gap between a block and its copy: of this many pulses before the copy at most so many long.
constexpr int LueckenProbe = 150;
constexpr int LueckenFehler = 12;
// How far from where it should begin a copy is looked for, in pulses.
constexpr int KopieSpielraum = 150;
// Framing anew after a dropout: this many bytes in a row must begin with a surely long pulse,
// within this many pulses of where the framing was lost.
constexpr int NeuRahmenBytes = 6;
constexpr int NeuRahmenFenster = 400;
constexpr int NeuRahmenSicher = 16;
// Pulses of the other passes belong to a pulse of the adaptive pass when they begin within this
// share of a short pulse of it.
constexpr double Gleichzeitig = 0.4;
// A long pulse lasts about this many short ones (MZ-700 and MZ-80K 1.9, MZ-800 1.86, MZ-80B 2.0).
constexpr double LangZuKurz = 1.9;

std::uint16_t Groesse(const std::array<std::uint8_t, KopfBytes>& kopf) {
    return LittleEndian::Lies16(kopf.data() + TMZFDatei::OffsetGroesse);
}

bool PruefsummeGut(const std::vector<std::uint8_t>& block) {
    const std::size_t n = block.size() - PruefsummeBytes;
    return TonbandPruefsumme(block.data(), n) == (block[n] << 8 | block[n + 1]);
}

} // namespace

int TDateiBefund::UnsichereBytes() const {
    int n = 0;
    for (const auto& [von, bis] : unsichereBereiche)
        n += bis - von;
    return n;
}

// One polarity: its adaptive pass frames, its fixed passes vote.
class TBandRetter::TPolaritaet {
public:
    TPolaritaet(int polaritaet, std::size_t sekundaere) : m_polaritaet(polaritaet), m_sekundaer(sekundaere) {}

    TBelegFolge& Primaer() { return m_primaer; }
    TBelegFolge& Sekundaer(std::size_t i) { return m_sekundaer[i]; }

    // Goes as far as the pulses held allow; at the end of the recording, to the end.
    void Weiter(bool ende);

    std::vector<TGeretteteDatei> ergebnisse;

private:
    enum class TPhase { Marke, KopfKopie, Kopf, KurzeMarke, Rumpf };

    bool IstLang(std::int64_t i) const { return m_primaer[i].wert > 0; }
    bool Hat(std::int64_t bis, bool ende) const { return ende || m_primaer.Ende() > bis; }
    std::int64_t SucheMarke(std::int64_t von, std::int64_t bis, int impulse, int fehler) const;
    std::int64_t MarkenEnde(std::int64_t marke, int impulse) const;
    std::int64_t SucheKopie(std::int64_t erwartet) const;
    void LernePulse(std::int64_t vorlaufEnde);
    void LiesKopie(std::int64_t anfang, int kopie, TBlockBelege& belege, TBlockBericht& bericht,
                   std::vector<std::vector<std::uint8_t>>& sauber);
    void StimmeAb(std::int64_t j, int kopie, int index, TBlockBelege& belege);
    void Fertig(std::int64_t weiterAb);
    void Vergiss();

    int m_polaritaet;
    TBelegFolge m_primaer;
    std::vector<TBelegFolge> m_sekundaer;
    TPhase m_phase = TPhase::Marke;
    std::int64_t m_suche = VorlaufProbe;
    double m_kurz = 0.0; // frames of a short pulse, from the last leader
    TGeretteteDatei m_datei;
    std::int64_t m_kopf[2] = {-1, -1};
    std::int64_t m_rumpf[2] = {-1, -1};
};

// The first pulse in [von, bis) that begins a mark of `impulse` long and as many short pulses
// after a leader; -1 when there is none.
std::int64_t TBandRetter::TPolaritaet::SucheMarke(std::int64_t von, std::int64_t bis, int impulse,
                                                  int fehler) const {
    const TBelegFolge& q = m_primaer;
    von = std::max(von, q.Anfang() + VorlaufProbe);
    bis = std::min(bis, q.Ende() - 2 * impulse - 1);
    for (std::int64_t i = von; i < bis; ++i) {
        if (!IstLang(i) || q.Lange(i - VorlaufProbe, i) > VorlaufFehler)
            continue;
        if (q.Lange(i, i + impulse) >= impulse - fehler && q.Lange(i + impulse, i + 2 * impulse) <= fehler)
            return i;
    }
    return -1;
}

// The long pulse that ends a mark found at `marke`: the first long one after its short pulses.
std::int64_t TBandRetter::TPolaritaet::MarkenEnde(std::int64_t marke, int impulse) const {
    const TBelegFolge& q = m_primaer;
    const std::int64_t von = marke + 2 * impulse - MarkenFehler;
    const std::int64_t bis = std::min(q.Ende(), marke + 2 * impulse + MarkenFehler + 1);
    for (std::int64_t k = von; k < bis; ++k)
        if (IstLang(k) && q.Lange(k - impulse / 2, k) <= 1)
            return k;
    return marke + 2 * impulse;
}

// The first pulse of a copy: after the gap of short pulses, near where it should begin.
std::int64_t TBandRetter::TPolaritaet::SucheKopie(std::int64_t erwartet) const {
    const TBelegFolge& q = m_primaer;
    const std::int64_t von = std::max(q.Anfang() + LueckenProbe, erwartet - KopieSpielraum);
    const std::int64_t bis = std::min(q.Ende(), erwartet + KopieSpielraum);
    for (std::int64_t j = von; j < bis; ++j)
        if (IstLang(j) && q.Lange(j - LueckenProbe, j) <= LueckenFehler)
            return j;
    return -1;
}

// The length of a short pulse, from the leader before a mark.
void TBandRetter::TPolaritaet::LernePulse(std::int64_t vorlaufEnde) {
    const std::int64_t von = std::max(m_primaer.Anfang(), vorlaufEnde - VorlaufProbe);
    if (vorlaufEnde - von > 1)
        m_kurz = static_cast<double>(m_primaer[vorlaufEnde - 1].beginn - m_primaer[von].beginn) /
                 static_cast<double>(vorlaufEnde - 1 - von);
}

// What the fixed passes say of the byte whose start bit is the adaptive pass's pulse j: each pass
// whose pulses begin where the adaptive pass's do.
void TBandRetter::TPolaritaet::StimmeAb(std::int64_t j, int kopie, int index, TBlockBelege& belege) {
    const double toleranz = Gleichzeitig * m_kurz;
    for (const TBelegFolge& s : m_sekundaer) {
        const std::int64_t k = s.ErsterAb(static_cast<std::int64_t>(m_primaer[j].beginn - toleranz));
        if (!s.Hat(k + DatenBits) || std::abs(s[k].beginn - m_primaer[j].beginn) > toleranz ||
            !s[k].IstLang())
            continue;
        std::int8_t bits[DatenBits] = {};
        for (int b = 1; b <= DatenBits; ++b)
            if (std::abs(s[k + b].beginn - m_primaer[j + b].beginn) <= toleranz)
                bits[b - 1] = s[k + b].wert;
        belege.Lies(kopie, index, bits);
    }
}

// Reads one copy of a block from its first pulse on: byte by byte on the start bits, framing anew
// where the framing is lost, each byte placed by the time that has passed.
void TBandRetter::TPolaritaet::LiesKopie(std::int64_t anfang, int kopie, TBlockBelege& belege,
                                         TBlockBericht& bericht,
                                         std::vector<std::vector<std::uint8_t>>& sauber) {
    const TBelegFolge& q = m_primaer;
    const int bytes = belege.Bytes();
    bericht.kopieGefunden[kopie] = true;
    bericht.beginn[kopie] = q.Hat(anfang) ? q[anfang].beginn : -1;
    std::vector<std::uint8_t> gelesen(static_cast<std::size_t>(bytes), 0);
    double byteDauer = BitsProByte * m_kurz * (1.0 + LangZuKurz) / 2.0;
    std::int64_t j = anfang;
    int index = 0;
    int letzterIndex = -1;
    std::int32_t letzteZeit = q.Hat(anfang) ? q[anfang].beginn : 0;
    bool ganz = true;
    while (index < bytes && q.Hat(j + DatenBits)) {
        bool geloescht = false;
        for (int b = 0; b <= DatenBits; ++b)
            geloescht = geloescht || q[j + b].wert == 0;
        const bool rahmen =
            IstLang(j) && (!geloescht || (q.Hat(j + BitsProByte) && IstLang(j + BitsProByte)));
        if (rahmen) {
            std::int8_t bits[DatenBits];
            std::uint8_t wert = 0;
            for (int b = 0; b < DatenBits; ++b) {
                bits[b] = q[j + 1 + b].wert;
                wert = static_cast<std::uint8_t>(wert << 1 | (bits[b] > 0 ? 1 : 0));
            }
            belege.Lies(kopie, index, bits);
            StimmeAb(j, kopie, index, belege);
            gelesen[static_cast<std::size_t>(index)] = wert;
            ganz = ganz && !geloescht;
            if (letzterIndex >= 0 && index > letzterIndex && ganz)
                byteDauer = static_cast<double>(q[j].beginn - q[anfang].beginn) / index;
            letzterIndex = index;
            letzteZeit = q[j].beginn;
            j += BitsProByte;
            ++index;
            continue;
        }
        // The framing is lost: the first place after it where several bytes in a row begin with a
        // surely long pulse, nothing lost among them.
        ganz = false;
        std::int64_t neu = -1;
        for (std::int64_t k = j + 1; k < j + NeuRahmenFenster && q.Hat(k + NeuRahmenBytes * BitsProByte);
             ++k) {
            bool passt = true;
            for (int n = 0; n < NeuRahmenBytes && passt; ++n) {
                passt = q[k + n * BitsProByte].wert > NeuRahmenSicher;
                for (int b = 1; b <= DatenBits && passt; ++b)
                    passt = q[k + n * BitsProByte + b].wert != 0;
            }
            if (passt) {
                neu = k;
                break;
            }
        }
        if (neu < 0)
            break;
        // Where the byte lies in the block: by the time since the last byte framed.
        const int weiter = static_cast<int>(std::lround((q[neu].beginn - letzteZeit) / byteDauer));
        index = std::max(letzterIndex + 1, (letzterIndex < 0 ? 0 : letzterIndex) + weiter);
        j = neu;
    }
    bericht.lesungen += 1;
    if (ganz && index == bytes && PruefsummeGut(gelesen)) {
        bericht.kopieGut[kopie] = true;
        gelesen.resize(static_cast<std::size_t>(bytes - PruefsummeBytes));
        sauber.push_back(std::move(gelesen));
    }
}

void TBandRetter::TPolaritaet::Fertig(std::int64_t weiterAb) {
    TBandRetter::Entscheide(m_datei);
    m_datei.polaritaet = m_polaritaet;
    const std::int64_t letzter = std::min(weiterAb, m_primaer.Ende()) - 1;
    m_datei.ende = m_primaer.Hat(letzter) ? m_primaer[letzter].beginn : m_datei.beginn;
    // A header that its checksum does not confirm and that does not even look like one (a file
    // type, a name of characters ended by $0D) is hiss or the other polarity's reading.
    if (m_datei.kopfBericht.gut || TMZFDatei::IstPlausiblerKopf(m_datei.kopf.data()))
        ergebnisse.push_back(std::move(m_datei));
    m_datei = TGeretteteDatei();
    m_kopf[0] = m_kopf[1] = m_rumpf[0] = m_rumpf[1] = -1;
    m_phase = TPhase::Marke;
    m_suche = std::max(m_suche, weiterAb);
}

void TBandRetter::TPolaritaet::Vergiss() {
    // Nothing before the file in hand, or before the leader the next mark is looked for after.
    std::int64_t bis = m_phase == TPhase::Marke ? m_suche - VorlaufProbe - 1 : m_kopf[0] - VorlaufProbe - 1;
    bis = std::min(bis, m_primaer.Ende());
    if (bis <= m_primaer.Anfang())
        return;
    const std::int32_t frame = m_primaer[bis].beginn;
    m_primaer.Vergiss(bis);
    for (TBelegFolge& s : m_sekundaer)
        s.Vergiss(s.ErsterAb(frame) - 1);
}

void TBandRetter::TPolaritaet::Weiter(bool ende) {
    const std::int64_t kopfSpanne = static_cast<std::int64_t>(KopfBytes + PruefsummeBytes) * BitsProByte + 1;
    for (;;) {
        switch (m_phase) {
        case TPhase::Marke: {
            const std::int64_t marke = SucheMarke(m_suche, m_primaer.Ende(), LangeMarke, MarkenFehler);
            if (marke < 0) {
                m_suche = std::max(m_suche, m_primaer.Ende() - 2 * LangeMarke - 1);
                Vergiss();
                return;
            }
            LernePulse(marke);
            m_datei = TGeretteteDatei();
            m_datei.beginn = m_primaer[marke].beginn;
            m_kopf[0] = MarkenEnde(marke, LangeMarke) + 1;
            m_suche = m_kopf[0];
            m_phase = TPhase::KopfKopie;
            break;
        }
        case TPhase::KopfKopie: {
            const std::int64_t erwartet = m_kopf[0] + kopfSpanne + KopieLuecke;
            if (!Hat(erwartet + KopieSpielraum, ende))
                return;
            m_kopf[1] = SucheKopie(erwartet);
            m_phase = TPhase::Kopf;
            break;
        }
        case TPhase::Kopf: {
            const std::int64_t bis = std::max(m_kopf[0], m_kopf[1]) + kopfSpanne + NeuRahmenFenster;
            if (!Hat(bis, ende))
                return;
            for (int k = 0; k < 2; ++k)
                if (m_kopf[k] >= 0)
                    LiesKopie(m_kopf[k], k, m_datei.kopfBelege, m_datei.kopfBericht, m_datei.sauberKopf);
            m_datei.kopfBericht.gelesen = true;
            const TBlockEntscheidung kopf =
                BlockVereinigung::Entscheide(m_datei.kopfBelege.Gewichte(), KopfBytes);
            std::copy(kopf.bytes.begin(), kopf.bytes.end(), m_datei.kopf.begin());
            if (!m_datei.sauberKopf.empty())
                std::copy(m_datei.sauberKopf.front().begin(), m_datei.sauberKopf.front().end(),
                          m_datei.kopf.begin());
            m_datei.rumpfBelege = TBlockBelege(Groesse(m_datei.kopf));
            m_suche = std::max(m_kopf[0], m_kopf[1]) + kopfSpanne;
            m_phase = TPhase::KurzeMarke;
            break;
        }
        case TPhase::KurzeMarke: {
            // Looked for until the next file's long mark, or as far as the longest file goes.
            const std::int64_t grenze = m_kopf[0] + TTonbandSuche::GroessteDateiSpanne;
            const std::int64_t kurz = SucheMarke(m_suche, grenze, KurzeMarke, KurzeMarkenFehler);
            const std::int64_t lang =
                SucheMarke(m_suche, kurz >= 0 ? kurz : grenze, LangeMarke, MarkenFehler);
            if (lang >= 0 || (kurz < 0 && (ende || m_primaer.Ende() >= grenze))) {
                // A header without its body.
                Fertig(lang >= 0 ? lang - VorlaufProbe : m_suche);
                break;
            }
            if (kurz < 0) {
                m_suche = std::max(m_suche, m_primaer.Ende() - 2 * LangeMarke - 1);
                return;
            }
            m_rumpf[0] = MarkenEnde(kurz, KurzeMarke) + 1;
            m_datei.mitRumpf = true;
            m_phase = TPhase::Rumpf;
            break;
        }
        case TPhase::Rumpf: {
            const std::int64_t spanne =
                static_cast<std::int64_t>(m_datei.rumpfBelege.Bytes()) * BitsProByte + 1;
            const std::int64_t erwartet = m_rumpf[0] + spanne + KopieLuecke;
            if (!Hat(erwartet + KopieSpielraum + spanne + NeuRahmenFenster, ende))
                return;
            m_rumpf[1] = SucheKopie(erwartet);
            for (int k = 0; k < 2; ++k)
                if (m_rumpf[k] >= 0)
                    LiesKopie(m_rumpf[k], k, m_datei.rumpfBelege, m_datei.rumpfBericht, m_datei.sauberRumpf);
            m_datei.rumpfBericht.gelesen = true;
            Fertig(std::max(m_rumpf[0], m_rumpf[1]) + spanne);
            break;
        }
        }
    }
}

TBandRetter::TBandRetter(const std::vector<TDekodierDurchgang>& pv_festeDurchgaenge) {
    std::size_t proPolaritaet[2] = {};
    for (const TDekodierDurchgang& d : pv_festeDurchgaenge)
        ++proPolaritaet[d.invertiertePolaritaet ? 1 : 0];
    for (int p = 0; p < 2; ++p)
        m_polaritaeten[p] = std::make_unique<TPolaritaet>(p, proPolaritaet[p]);
    m_quellen.push_back({0, -1});
    m_quellen.push_back({1, -1});
    std::size_t naechste[2] = {};
    for (const TDekodierDurchgang& d : pv_festeDurchgaenge) {
        const int p = d.invertiertePolaritaet ? 1 : 0;
        m_quellen.push_back({p, static_cast<int>(naechste[p]++)});
    }
}

TBandRetter::~TBandRetter() = default;

void TBandRetter::Belege(int pv_quelle, const TImpulsBeleg* pv_belege, std::size_t pv_anzahl) {
    if (pv_quelle < 0 || static_cast<std::size_t>(pv_quelle) >= m_quellen.size())
        return;
    const auto [polaritaet, sekundaer] = m_quellen[static_cast<std::size_t>(pv_quelle)];
    TPolaritaet& p = *m_polaritaeten[polaritaet];
    (sekundaer < 0 ? p.Primaer() : p.Sekundaer(static_cast<std::size_t>(sekundaer)))
        .Haenge(pv_belege, pv_anzahl);
}

void TBandRetter::NachBlock(std::int64_t) {
    for (auto& p : m_polaritaeten)
        p->Weiter(false);
}

std::vector<TGeretteteDatei> TBandRetter::Ende() {
    std::vector<TGeretteteDatei> alle;
    for (auto& p : m_polaritaeten) {
        p->Weiter(true);
        for (TGeretteteDatei& d : p->ergebnisse)
            alle.push_back(std::move(d));
        p->ergebnisse.clear();
    }
    std::stable_sort(alle.begin(), alle.end(),
                     [](const TGeretteteDatei& a, const TGeretteteDatei& b) { return a.beginn < b.beginn; });
    // The same file read in both polarities: the better reading stays.
    std::vector<TGeretteteDatei> ergebnis;
    for (TGeretteteDatei& d : alle) {
        if (!ergebnis.empty() && d.beginn <= ergebnis.back().ende && ergebnis.back().beginn <= d.ende) {
            TGeretteteDatei& vorher = ergebnis.back();
            const auto rang = [](const TGeretteteDatei& x) {
                return std::make_pair(-static_cast<int>(x.befund.zustand), -x.befund.UnsichereBytes());
            };
            if (rang(d) > rang(vorher))
                vorher = std::move(d);
            continue;
        }
        ergebnis.push_back(std::move(d));
    }
    return ergebnis;
}

namespace {

// The unsure bytes as ranges.
std::vector<std::pair<int, int>> Bereiche(const std::vector<bool>& unsicher) {
    std::vector<std::pair<int, int>> b;
    for (int i = 0; i < static_cast<int>(unsicher.size()); ++i) {
        if (!unsicher[static_cast<std::size_t>(i)])
            continue;
        if (!b.empty() && b.back().second == i)
            ++b.back().second;
        else
            b.push_back({i, i + 1});
    }
    return b;
}

// The block as decided, and whether it is a copy read whole; a copy read whole is taken over a
// block that only the checksum search made agree, and the evidence of all readings over a copy
// read whole when both agree with the checksum.
struct TBlock {
    std::vector<std::uint8_t> bytes;
    bool gut = false;
    bool sauber = false;
    int gekippt = 0;
    std::vector<bool> unsicher;
    std::vector<std::vector<std::uint8_t>> ueberstimmt;
};

TBlock Waehle(const TBlockBelege& belege, const std::vector<std::vector<std::uint8_t>>& sauber) {
    TBlock b;
    const TBlockEntscheidung e = BlockVereinigung::Entscheide(belege.Gewichte(), belege.Anzahl());
    b.bytes = e.bytes;
    b.gut = e.gut;
    b.gekippt = e.gekippt;
    b.unsicher = e.unsicher;
    if (sauber.empty())
        return b;
    if (e.gut && e.gekippt == 0) {
        for (const auto& s : sauber) {
            if (s == e.bytes)
                b.sauber = true;
            else if (std::find(b.ueberstimmt.begin(), b.ueberstimmt.end(), s) == b.ueberstimmt.end())
                b.ueberstimmt.push_back(s);
        }
        return b;
    }
    b.bytes = sauber.front();
    b.gut = true;
    b.sauber = true;
    b.gekippt = 0;
    b.unsicher.assign(b.bytes.size(), false);
    return b;
}

} // namespace

void TBandRetter::Entscheide(TGeretteteDatei& pv_datei) {
    const TBlock kopf = Waehle(pv_datei.kopfBelege, pv_datei.sauberKopf);
    std::copy(kopf.bytes.begin(), kopf.bytes.end(), pv_datei.kopf.begin());
    pv_datei.kopfBericht.gut = kopf.gut;
    pv_datei.kopfBericht.gekippt = kopf.gekippt;
    TDateiBefund& befund = pv_datei.befund;
    befund = TDateiBefund();
    befund.kopfRepariert = kopf.gut && !kopf.sauber;
    befund.kopfUnsicher = !kopf.gut;
    const int groesse = Groesse(pv_datei.kopf);
    if (!pv_datei.mitRumpf || pv_datei.rumpfBelege.Anzahl() != groesse) {
        // A header alone: the body is not known.
        pv_datei.rumpf.assign(static_cast<std::size_t>(groesse), 0);
        befund.zustand = TDateiBefund::TZustand::Beschaedigt;
        if (groesse > 0)
            befund.unsichereBereiche = {{0, groesse}};
        return;
    }
    const TBlock rumpf = Waehle(pv_datei.rumpfBelege, pv_datei.sauberRumpf);
    pv_datei.rumpf = rumpf.bytes;
    pv_datei.rumpfBericht.gut = rumpf.gut;
    pv_datei.rumpfBericht.gekippt = rumpf.gekippt;
    pv_datei.ueberstimmt = rumpf.ueberstimmt;
    befund.rumpfRepariert = rumpf.gut && !rumpf.sauber;
    if (!kopf.gut || !rumpf.gut) {
        befund.zustand = TDateiBefund::TZustand::Beschaedigt;
        befund.unsichereBereiche = Bereiche(rumpf.unsicher);
        return;
    }
    befund.zustand = befund.kopfRepariert || befund.rumpfRepariert || !rumpf.ueberstimmt.empty()
                         ? TDateiBefund::TZustand::Repariert
                         : TDateiBefund::TZustand::Intakt;
    if (!rumpf.ueberstimmt.empty())
        befund.rumpfRepariert = true;
}
