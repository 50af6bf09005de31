#include "BandRetter.h"

#include "BelegFolge.h"
#include "LittleEndian.h"
#include "MZFDatei.h"
#include "TonbandSuche.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

constexpr int BitsProByte = 9; // start bit and 8 data bits
constexpr int DatenBits = 8;
constexpr int KopfBytes = TMZFDatei::KopfGroesse;
constexpr int PruefsummeBytes = TBlockBelege::PruefsummeBytes;
constexpr int LangeMarke = TMZFDatei::LangeMarkeImpulse;
constexpr int KurzeMarke = TMZFDatei::KurzeMarkeImpulse;

// A mark stands after a leader: of this many pulses before it at least that many are short. Of a
// mark's runs a few pulses may be misread.
constexpr int VorlaufProbe = 200;
constexpr int VorlaufFehler = 20;
constexpr int MarkenFehler = 6;
constexpr int KurzeMarkenFehler = 3;
// The gap between a block and its copy: of this many pulses before the copy at most so many long.
// No block holds such a run (every byte begins with a long pulse), and a gap longer than
// LaengsteKopieLuecke is the leader of a mark: then there is no copy (the shortened format).
constexpr int LueckenProbe = 150;
constexpr int LueckenFehler = 4;
constexpr int LaengsteKopieLuecke = 1000;
// Framing anew after a dropout: this many bytes in a row must begin with a surely long pulse,
// within this many pulses of where the framing was lost.
constexpr int NeuRahmenBytes = 8;
constexpr int NeuRahmenFenster = 400;
constexpr int NeuRahmenSicher = 16;
// A run is placed by the lengths of the bytes before it over at most so many bytes.
constexpr int NachDauerHoechstens = 400;
// A pulse this many times as long as a long one is no pulse but pulses lost.
constexpr double LuekenGrenze = 1.45;
// Bytes dropped before a framing found lost, against a shift not seen at once.
constexpr std::size_t Zurueckhalten = 2;
// A run is moved by at most so many bytes to agree with the other copy, and only when it can be
// compared over at least so many bytes.
constexpr int Verschiebung = 8;
constexpr int AusrichtenMindestens = 4;
// Of the bytes compared, at least four in five must be equal at the place taken, which must score
// this much better than any other; a byte of distance from the time's place costs this much.
constexpr int AusrichtenAnteilZaehler = 4;
constexpr int AusrichtenAnteilNenner = 5;
constexpr double AusrichtenVorsprung = 2.0;
constexpr double AusrichtenAbzug = 0.25;
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
    std::int64_t SucheKopie(std::int64_t von, bool ende, bool& fertig) const;
    void LernePulse(std::int64_t vorlaufEnde);
    // A run of bytes framed in a row in one copy: where in the block it begins, the start bit of
    // each byte, the bytes, and whether its place is known for sure.
    struct TLauf {
        int index;
        std::vector<std::int64_t> starts;
        std::vector<std::uint8_t> bytes;
        bool fest;
        bool verworfen = false;
    };
    std::vector<TLauf> LiesKopie(std::int64_t anfang, int bytes, bool& ganz) const;
    void Ausrichten(std::vector<TLauf> (&laeufe)[2], int bytes) const;
    void LiesBlock(const std::int64_t (&anfang)[2], TBlockBelege& belege, TBlockBericht& bericht,
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

// The first pulse of a copy: after the first gap of short pulses from pv_von on, if that gap is
// no leader. `fertig` tells whether the search could decide with the pulses held.
std::int64_t TBandRetter::TPolaritaet::SucheKopie(std::int64_t von, bool ende, bool& fertig) const {
    const TBelegFolge& q = m_primaer;
    fertig = true;
    std::int64_t luecke = -1;
    for (std::int64_t j = std::max(von, q.Anfang() + LueckenProbe); j < q.Ende(); ++j) {
        if (luecke < 0) {
            if (q.Lange(j - LueckenProbe, j) <= LueckenFehler)
                luecke = j - LueckenProbe;
            continue;
        }
        if (IstLang(j) && q.Lange(j - LueckenProbe, j) > LueckenFehler / 2)
            return -1; // the gap ended in something that is no block
        if (IstLang(j) && j - luecke > LaengsteKopieLuecke)
            return -1; // a leader: no copy follows
        if (IstLang(j) && q.Hat(j + BitsProByte) && IstLang(j + BitsProByte))
            return j;
    }
    fertig = ende;
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
// where the framing is lost. A pulse lost or gained shifts the framing, which shows only a byte or
// two later when a start bit comes short: the last bytes before that are dropped then, so that no
// byte read out of frame counts. Each run of bytes framed in a row is placed by the time that has
// passed since the last one; Ausrichten then places it by the other copy.
std::vector<TBandRetter::TPolaritaet::TLauf>
TBandRetter::TPolaritaet::LiesKopie(std::int64_t anfang, int bytes, bool& ganz) const {
    const TBelegFolge& q = m_primaer;
    std::vector<TLauf> laeufe;
    double byteDauer = BitsProByte * m_kurz * (1.0 + LangZuKurz) / 2.0;
    std::int64_t j = anfang;
    int index = 0;
    int letzterIndex = -1;
    std::int32_t letzteZeit = q.Hat(anfang) ? q[anfang].beginn : 0;
    ganz = true;
    bool neuerLauf = true;
    while (index < bytes + Verschiebung && q.Hat(j + DatenBits)) {
        bool geloescht = false;
        for (int b = 0; b <= DatenBits; ++b)
            geloescht = geloescht || q[j + b].wert == 0;
        // A pulse far longer than a long one: pulses were lost there (a dropout the decoder took
        // for a pause), and the framing after it cannot be trusted however well it looks.
        bool luecke = false;
        for (int b = 0; b < BitsProByte && q.Hat(j + b + 1); ++b)
            luecke = luecke || q[j + b + 1].beginn - q[j + b].beginn > LuekenGrenze * LangZuKurz * m_kurz;
        // Across a stretch where nothing is known the framing holds when the next two bytes
        // begin where they should.
        const bool rahmen = !luecke && (IstLang(j) || q[j].wert == 0) &&
                            (!geloescht || (q.Hat(j + 2 * BitsProByte) && IstLang(j + BitsProByte) &&
                                            IstLang(j + 2 * BitsProByte)));
        if (rahmen) {
            if (neuerLauf) {
                laeufe.push_back({index, {}, {}, index == 0 && j == anfang});
                neuerLauf = false;
            }
            std::uint8_t wert = 0;
            for (int b = 0; b < DatenBits; ++b)
                wert = static_cast<std::uint8_t>(wert << 1 | (q[j + 1 + b].wert > 0 ? 1 : 0));
            laeufe.back().starts.push_back(j);
            laeufe.back().bytes.push_back(wert);
            ganz = ganz && !geloescht;
            if (index > 0 && ganz)
                byteDauer = static_cast<double>(q[j].beginn - q[anfang].beginn) / index;
            letzterIndex = index;
            letzteZeit = q[j].beginn;
            j += BitsProByte;
            ++index;
            continue;
        }
        // The gap after the copy: the pulse before it ends the block, so the last run's last byte
        // is the block's last.
        if (q.Hat(j + 1 + LueckenProbe) && q.Lange(j + 1, j + 1 + LueckenProbe) <= LueckenFehler) {
            if (!laeufe.empty() && laeufe.back().starts.back() + BitsProByte == j &&
                static_cast<int>(laeufe.back().bytes.size()) <= bytes) {
                TLauf& l = laeufe.back();
                ganz = ganz && l.index + static_cast<int>(l.bytes.size()) == bytes;
                l.index = bytes - static_cast<int>(l.bytes.size());
                l.fest = true;
            }
            return laeufe;
        }
        // The framing is lost: the last bytes may have been read out of frame already. The first
        // place after it where several bytes in a row begin with a surely long pulse, nothing
        // lost among them, frames anew.
        ganz = false;
        neuerLauf = true;
        if (!laeufe.empty()) {
            TLauf& l = laeufe.back();
            const std::size_t weg = std::min(Zurueckhalten, l.starts.size());
            l.starts.resize(l.starts.size() - weg);
            l.bytes.resize(l.bytes.size() - weg);
            letzterIndex -= static_cast<int>(weg);
            if (!l.starts.empty())
                letzteZeit = q[l.starts.back()].beginn;
            else
                laeufe.pop_back();
        }
        // Bytes that repeat themselves frame at several places within one byte; of the places
        // found within the first byte's length, the one the time since the last byte framed fits
        // best.
        std::int64_t neu = -1;
        double besterRest = 1.0;
        for (std::int64_t k = j + 1; k < j + NeuRahmenFenster && q.Hat(k + NeuRahmenBytes * BitsProByte) &&
                                     (neu < 0 || k < neu + BitsProByte);
             ++k) {
            bool passt = true;
            for (int n = 0; n < NeuRahmenBytes && passt; ++n) {
                passt = q[k + n * BitsProByte].wert > NeuRahmenSicher;
                for (int b = 1; b <= DatenBits && passt; ++b)
                    passt = q[k + n * BitsProByte + b].wert != 0;
            }
            if (!passt)
                continue;
            const double bytesSeither = (q[k].beginn - letzteZeit) / byteDauer;
            const double rest = std::fabs(bytesSeither - std::round(bytesSeither));
            if (neu < 0 || rest < besterRest) {
                neu = k;
                besterRest = rest;
            }
        }
        if (neu < 0)
            break;
        const int weiter = static_cast<int>(std::lround((q[neu].beginn - letzteZeit) / byteDauer));
        index = std::max(letzterIndex + 1, (letzterIndex < 0 ? 0 : letzterIndex) + weiter);
        j = neu;
    }
    ganz = ganz && index == bytes;
    return laeufe;
}

// Places the runs that the time placed only roughly by the other copy: each such run is moved by
// up to a few bytes to where its bytes equal the bytes of the other copy already placed, when that
// place is clear. Runs placed this way place others in turn. A run that overlaps the other copy
// but fits nowhere clearly is dropped: its place is not known, and a byte in the wrong place
// would speak against the right one. A run where the other copy has nothing keeps the place the
// time gave it.
void TBandRetter::TPolaritaet::Ausrichten(std::vector<TLauf> (&laeufe)[2], int bytes) const {
    std::vector<std::int16_t> platz[2]; // the byte placed at each index, -1: none
    std::vector<std::int32_t> zeit[2];  // where it began, -1: none
    for (int k = 0; k < 2; ++k) {
        platz[k].assign(static_cast<std::size_t>(bytes), -1);
        zeit[k].assign(static_cast<std::size_t>(bytes), -1);
    }
    const auto setze = [&](int k, const TLauf& l) {
        for (std::size_t i = 0; i < l.bytes.size(); ++i) {
            const int index = l.index + static_cast<int>(i);
            if (index >= 0 && index < bytes) {
                platz[k][static_cast<std::size_t>(index)] = l.bytes[i];
                zeit[k][static_cast<std::size_t>(index)] = m_primaer[l.starts[i]].beginn;
            }
        }
    };
    // The lengths of a short and a long pulse of each copy, from its bytes framed.
    double kurz[2] = {m_kurz, m_kurz};
    double lang[2] = {LangZuKurz * m_kurz, LangZuKurz * m_kurz};
    for (int k = 0; k < 2; ++k) {
        double summe[2] = {};
        std::int64_t anzahl[2] = {};
        for (const TLauf& l : laeufe[k])
            for (const std::int64_t start : l.starts)
                for (int b = 0; b < BitsProByte && m_primaer.Hat(start + b + 1); ++b) {
                    const int klasse = m_primaer[start + b].wert > 0 ? 1 : 0;
                    summe[klasse] += m_primaer[start + b + 1].beginn - m_primaer[start + b].beginn;
                    ++anzahl[klasse];
                }
        if (anzahl[0] > 0 && anzahl[1] > 0) {
            kurz[k] = summe[0] / static_cast<double>(anzahl[0]);
            lang[k] = summe[1] / static_cast<double>(anzahl[1]);
        }
    }
    // Where a run of copy k begins, by the bytes before it: from the last byte of copy k placed,
    // its bytes (or where it has none, the other copy's) last as long as their pulses say, and the
    // run begins after as many of them as fill the time that passed. -1 when a byte in between is
    // known to neither copy, or no count fills the time within half a short pulse.
    const auto nachDauer = [&](int k, const TLauf& l) {
        const std::int32_t beginn = m_primaer[l.starts.front()].beginn;
        int a = std::min(l.index, bytes) - 1;
        while (a >= 0 && zeit[k][static_cast<std::size_t>(a)] < 0)
            --a;
        if (a < 0)
            return -1;
        const double luecke = beginn - zeit[k][static_cast<std::size_t>(a)];
        double dauer = 0.0;
        for (int i = a; i < bytes && i < a + NachDauerHoechstens; ++i) {
            if (std::fabs(dauer - luecke) < kurz[k] / 2.0)
                return i;
            if (dauer > luecke)
                return -1;
            const std::int16_t wert = platz[k][static_cast<std::size_t>(i)] >= 0
                                          ? platz[k][static_cast<std::size_t>(i)]
                                          : platz[1 - k][static_cast<std::size_t>(i)];
            if (wert < 0)
                return -1;
            const int einsen = std::popcount(static_cast<unsigned>(wert));
            dauer += lang[k] * (1 + einsen) + kurz[k] * (DatenBits - einsen);
        }
        return -1;
    };
    // The same from the first byte of copy k placed after the run, backward.
    const auto vorDauer = [&](int k, const TLauf& l) {
        const int ende = l.index + static_cast<int>(l.bytes.size());
        int b = std::max(ende, 0);
        while (b < bytes && zeit[k][static_cast<std::size_t>(b)] < 0)
            ++b;
        if (b >= bytes)
            return -1;
        const double luecke = zeit[k][static_cast<std::size_t>(b)] - m_primaer[l.starts.back()].beginn;
        const int letzter = std::popcount(static_cast<unsigned>(l.bytes.back()));
        double dauer = lang[k] * (1 + letzter) + kurz[k] * (DatenBits - letzter);
        for (int n = 0; n < NachDauerHoechstens && b - n - 1 >= 0; ++n) {
            if (std::fabs(dauer - luecke) < kurz[k] / 2.0)
                return b - n - static_cast<int>(l.bytes.size());
            if (dauer > luecke)
                return -1;
            const std::size_t i = static_cast<std::size_t>(b - n - 1);
            const std::int16_t wert = platz[k][i] >= 0 ? platz[k][i] : platz[1 - k][i];
            if (wert < 0)
                return -1;
            const int einsen = std::popcount(static_cast<unsigned>(wert));
            dauer += lang[k] * (1 + einsen) + kurz[k] * (DatenBits - einsen);
        }
        return -1;
    };
    // Bytes equal to the other copy's with the run moved by d, and how many could be compared.
    const auto gleiche = [&](int k, const TLauf& l, int d, int& verglichen) {
        int gleich = 0;
        verglichen = 0;
        for (std::size_t i = 0; i < l.bytes.size(); ++i) {
            const int index = l.index + d + static_cast<int>(i);
            if (index < 0 || index >= bytes || platz[1 - k][static_cast<std::size_t>(index)] < 0)
                continue;
            ++verglichen;
            gleich += platz[1 - k][static_cast<std::size_t>(index)] == l.bytes[i] ? 1 : 0;
        }
        return gleich;
    };
    for (int k = 0; k < 2; ++k)
        for (const TLauf& l : laeufe[k])
            if (l.fest)
                setze(k, l);
    for (bool weiter = true; weiter;) {
        weiter = false;
        for (int k = 0; k < 2; ++k) {
            for (TLauf& l : laeufe[k]) {
                if (l.fest || l.verworfen)
                    continue;
                int gemessen = nachDauer(k, l);
                if (gemessen < 0)
                    gemessen = vorDauer(k, l);
                if (gemessen >= 0) {
                    const int d = gemessen - l.index;
                    for (TLauf& spaeter : laeufe[k])
                        if (!spaeter.fest && spaeter.index > l.index)
                            spaeter.index += d;
                    l.index = gemessen;
                    l.fest = true;
                    setze(k, l);
                    weiter = true;
                    continue;
                }
                // Each place scored by the bytes equal there, a little less the further it lies from
                // where the time put the run: data that repeats itself fits at several places, and
                // then the time's place is the likelier one.
                int beste = 0;
                double besteWertung = -1.0;
                double zweiteWertung = -1.0;
                int besteGleich = 0;
                int verglichen = 0;
                for (int d = -Verschiebung; d <= Verschiebung; ++d) {
                    int n = 0;
                    const int gleich = gleiche(k, l, d, n);
                    const double wertung = gleich - AusrichtenAbzug * std::abs(d);
                    if (wertung > besteWertung) {
                        zweiteWertung = besteWertung;
                        besteWertung = wertung;
                        beste = d;
                        besteGleich = gleich;
                        verglichen = n;
                    } else if (wertung > zweiteWertung) {
                        zweiteWertung = wertung;
                    }
                }
                if (verglichen >= AusrichtenMindestens &&
                    besteGleich * AusrichtenAnteilNenner >= verglichen * AusrichtenAnteilZaehler &&
                    besteWertung - zweiteWertung >= AusrichtenVorsprung) {
                    // The runs after it were placed from it: they move with it.
                    for (TLauf& spaeter : laeufe[k])
                        if (!spaeter.fest && spaeter.index > l.index)
                            spaeter.index += beste;
                    l.index += beste;
                    l.fest = true;
                    setze(k, l);
                    weiter = true;
                }
            }
        }
    }
    for (int k = 0; k < 2; ++k)
        for (TLauf& l : laeufe[k]) {
            if (l.fest)
                continue;
            int n = 0;
            for (int d = -Verschiebung; d <= Verschiebung; ++d) {
                int verglichen = 0;
                gleiche(k, l, d, verglichen);
                n = std::max(n, verglichen);
            }
            l.verworfen = n >= AusrichtenMindestens;
        }
}

void TBandRetter::TPolaritaet::LiesBlock(const std::int64_t (&anfang)[2], TBlockBelege& belege,
                                         TBlockBericht& bericht,
                                         std::vector<std::vector<std::uint8_t>>& sauber) {
    const int bytes = belege.Bytes();
    std::vector<TLauf> laeufe[2];
    for (int k = 0; k < 2; ++k) {
        if (anfang[k] < 0)
            continue;
        bericht.kopieGefunden[k] = true;
        bericht.beginn[k] = m_primaer.Hat(anfang[k]) ? m_primaer[anfang[k]].beginn : -1;
        bool ganz = false;
        laeufe[k] = LiesKopie(anfang[k], bytes, ganz);
        bericht.lesungen += 1;
        if (ganz && laeufe[k].size() == 1) {
            std::vector<std::uint8_t> gelesen = laeufe[k].front().bytes;
            if (PruefsummeGut(gelesen)) {
                bericht.kopieGut[k] = true;
                gelesen.resize(static_cast<std::size_t>(bytes - PruefsummeBytes));
                sauber.push_back(std::move(gelesen));
            }
        }
    }
    Ausrichten(laeufe, bytes);
    for (int k = 0; k < 2; ++k)
        for (const TLauf& l : laeufe[k])
            for (std::size_t i = 0; i < l.starts.size() && !l.verworfen; ++i) {
                const int index = l.index + static_cast<int>(i);
                std::int8_t bits[DatenBits];
                for (int b = 0; b < DatenBits; ++b)
                    bits[b] = m_primaer[l.starts[i] + 1 + b].wert;
                belege.Lies(k, index, bits);
                StimmeAb(l.starts[i], k, index, belege);
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
            bool fertig = false;
            m_kopf[1] = SucheKopie(m_kopf[0] + kopfSpanne / 2, ende, fertig);
            if (!fertig)
                return;
            m_phase = TPhase::Kopf;
            break;
        }
        case TPhase::Kopf: {
            const std::int64_t bis = std::max(m_kopf[0], m_kopf[1]) + kopfSpanne + NeuRahmenFenster;
            if (!Hat(bis, ende))
                return;
            LiesBlock(m_kopf, m_datei.kopfBelege, m_datei.kopfBericht, m_datei.sauberKopf);
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
            bool fertig = false;
            m_rumpf[1] = SucheKopie(m_rumpf[0] + spanne / 2, ende, fertig);
            if (!fertig || !Hat(std::max(m_rumpf[0], m_rumpf[1]) + spanne + NeuRahmenFenster, ende))
                return;
            LiesBlock(m_rumpf, m_datei.rumpfBelege, m_datei.rumpfBericht, m_datei.sauberRumpf);
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
    TDateiBefund::TWeg weg = TDateiBefund::TWeg::Vereinigt;
};

// The copy of this reading that gave the bytes whole, as it read: its copies read whole come first
// among the clean blocks, copy 1 before copy 2. A block no copy of it gave so was put together.
TDateiBefund::TWeg Kopie(const TBlockBericht& bericht, const std::vector<std::vector<std::uint8_t>>& sauber,
                         const std::vector<std::uint8_t>& bytes) {
    std::size_t i = 0;
    for (int k = 0; k < 2; ++k) {
        if (!bericht.kopieGut[k])
            continue;
        if (i < sauber.size() && sauber[i] == bytes)
            return k == 0 ? TDateiBefund::TWeg::Kopie1 : TDateiBefund::TWeg::Kopie2;
        ++i;
    }
    return TDateiBefund::TWeg::Vereinigt;
}

TBlock Waehle(const TBlockBelege& belege, const std::vector<std::vector<std::uint8_t>>& sauber,
              const TBlockBericht& bericht) {
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
        if (b.sauber)
            b.weg = Kopie(bericht, sauber, b.bytes);
        return b;
    }
    b.bytes = sauber.front();
    b.weg = Kopie(bericht, sauber, b.bytes);
    b.gut = true;
    b.sauber = true;
    b.gekippt = 0;
    b.unsicher.assign(b.bytes.size(), false);
    return b;
}

} // namespace

void TBandRetter::Entscheide(TGeretteteDatei& pv_datei) {
    const TBlock kopf = Waehle(pv_datei.kopfBelege, pv_datei.sauberKopf, pv_datei.kopfBericht);
    std::copy(kopf.bytes.begin(), kopf.bytes.end(), pv_datei.kopf.begin());
    pv_datei.kopfBericht.gut = kopf.gut;
    pv_datei.kopfBericht.gekippt = kopf.gekippt;
    TDateiBefund& befund = pv_datei.befund;
    befund = TDateiBefund();
    befund.kopfRepariert = kopf.gut && !kopf.sauber;
    befund.kopfUnsicher = !kopf.gut;
    befund.kopfWeg = kopf.weg;
    if (!kopf.gut)
        befund.unsichereKopfBereiche = Bereiche(kopf.unsicher);
    const int groesse = Groesse(pv_datei.kopf);
    if (!pv_datei.mitRumpf || pv_datei.rumpfBelege.Anzahl() != groesse) {
        // A header alone: the body is not known.
        pv_datei.rumpf.assign(static_cast<std::size_t>(groesse), 0);
        befund.zustand = TDateiBefund::TZustand::Beschaedigt;
        if (groesse > 0)
            befund.unsichereBereiche = {{0, groesse}};
        return;
    }
    const TBlock rumpf = Waehle(pv_datei.rumpfBelege, pv_datei.sauberRumpf, pv_datei.rumpfBericht);
    pv_datei.rumpf = rumpf.bytes;
    befund.rumpfWeg = rumpf.weg;
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
