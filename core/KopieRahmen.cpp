#include "KopieRahmen.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace KopieRahmen {

namespace {

constexpr int Breite = 2 * RahmenBand + 1;
// Costs, in units of one clear reading (TImpulsBeleg::wert 64): a start bit read short costs what
// its reading says; a pulse taken as gained or lost costs two clear readings, a gained pulse that
// nothing is known of (wert 0) and a lost one beside such a pulse far less.
constexpr float KlareLesung = 64.0F;
// A start bit read short weighs this many times its reading: a byte framed a pulse off costs more
// than the pulse that puts it right.
constexpr float StartGewicht = 2.0F;
constexpr float Indel = 2.0F;
constexpr float UnbekanntWeg = 0.6F;
// A dropout the decoder took for a pause swallowed as many pulses as fit into its length: at least
// as many long ones and at most as many short ones, give or take these shares and two.
constexpr double LueckeLangAnteil = 1.1;
constexpr double LueckeKurzAnteil = 0.9;
constexpr int LueckeZugabe = 2;
// Where a loss could lie anywhere at the same cost (a copy that ends early), it is taken late:
// pulses lost cost this much more the earlier they lie.
constexpr float Frueh = 0.01F;
// Of the bytes beside a pulse lost or gained where the pulses were read clearly, which of them the
// loss fell into is not clear: they are left to the other copy too. Where nothing was known of a
// pulse, or a dropout was, the loss lies there.
constexpr int Nachbarn = 1;
// The gap after a copy: of this many pulses at most so many not surely short, and no long one right
// after the stop bit.
constexpr int EndeProbe = 64;
constexpr int EndeFehler = 1;
// A start bit read short at least this surely: the byte is not taken.
constexpr int StartKurzSicher = -16;
constexpr float Unendlich = std::numeric_limits<float>::infinity();

enum TSchritt : std::uint8_t { Passt, Verloren, Gewonnen };

// The copy's pulses as the programme sees them.
class TKopie {
public:
    TKopie(const TBelegFolge& q, std::int64_t anfang, int impulse, int muster, double kurz)
        : m_q(q), m_anfang(anfang), m_impulse(impulse), m_muster(muster),
          m_luecke(LueckenGrenze * LangZuKurz * kurz), m_kurz(kurz), m_lang(LangZuKurz * kurz) {}

    int Impulse() const { return m_impulse; }
    int Wert(int i) const { return m_q[m_anfang + i].wert; }

    float Passt(int t, int i) const {
        const int w = Wert(i);
        return t % BitsProByte == 0 && w < 0 ? StartGewicht * static_cast<float>(-w) / KlareLesung : 0.0F;
    }
    float Weg(int i) const { return Wert(i) == 0 ? UnbekanntWeg : Indel; }
    // How many pulses a dropout before pulse i swallowed, at least and at most: where there was none,
    // {0, 0}.
    std::pair<int, int> Geschluckt(int i) const {
        if (i <= 0 || i >= m_impulse)
            return {0, 0};
        const double dauer = m_q[m_anfang + i].beginn - m_q[m_anfang + i - 1].beginn;
        if (dauer <= m_luecke)
            return {0, 0};
        // The pulse before the dropout lasts into it as long as it is.
        const double verloren = dauer - (Wert(i - 1) > 0 ? m_lang : m_kurz);
        return {std::max(0, static_cast<int>(verloren / (LueckeLangAnteil * m_lang)) - LueckeZugabe),
                static_cast<int>(std::ceil(verloren / (LueckeKurzAnteil * m_kurz))) + LueckeZugabe};
    }
    // A pulse lost before pulse i, the `lauf`-th lost there in a row (from 0), at template place t.
    float Verloren(int t, int i, int lauf) const {
        const float frueh = Frueh * static_cast<float>(m_muster - t) / static_cast<float>(m_muster);
        if (lauf < Geschluckt(i).second)
            return Geschluckt(i).second > 0 ? frueh : Einzeln(i) + frueh;
        return Indel + frueh;
    }
    // Leaving the place before pulse i after `lauf` pulses lost there: too few for its dropout.
    float ZuWenig(int i, int lauf) const {
        return static_cast<float>(std::max(0, Geschluckt(i).first - lauf)) * Indel;
    }
    // The copy's stop bit: the first long pulse from about the pattern's end on that a gap of
    // short pulses follows (no block holds such a run: every byte begins with a long pulse); -1
    // when none is held.
    int StoppBit(int muster) const {
        for (int j = std::max(0, muster - muster / 8 - RahmenBand); j <= muster + m_impulse / 8 + RahmenBand;
             ++j) {
            const std::int64_t p = m_anfang + j;
            if (!m_q.Hat(p))
                return -1;
            // A recording that ends right after the copy: its last long pulse is the stop bit.
            if (!m_q.Hat(p + 1 + EndeProbe))
                return m_q[p].wert > 0 && m_q.Kurze(p + 1, m_q.Ende()) == m_q.Ende() - p - 1 ? j : -1;
            if (m_q[p].wert > 0 && m_q.Lange(p + 1, p + 1 + BitsProByte + 1) == 0 &&
                m_q.Kurze(p + 1, p + 1 + EndeProbe) >= EndeProbe - EndeFehler)
                return j;
        }
        return -1;
    }
    bool Klar(int i) const { return Geschluckt(i).second > 0 || Einzeln(i) < Indel; }

private:
    const TBelegFolge& m_q;
    std::int64_t m_anfang;
    int m_impulse;
    int m_muster;
    double m_luecke;
    double m_kurz;
    double m_lang;

    // A single pulse lost before pulse i: cheap beside a pulse nothing is known of.
    float Einzeln(int i) const {
        return (i > 0 && Wert(i - 1) == 0) || (i < m_impulse && Wert(i) == 0) ? UnbekanntWeg : Indel;
    }
};

} // namespace

std::vector<TByte> Rahme(const TBelegFolge& q, std::int64_t anfang, int bytes, double kurz) {
    std::vector<TByte> ergebnis(static_cast<std::size_t>(std::max(bytes, 0)));
    if (bytes <= 0 || !q.Hat(anfang))
        return ergebnis;
    const int muster = bytes * BitsProByte;
    // The copy's pulses looked at: the pattern, and room for pulses gained.
    const std::int64_t verfuegbar = q.Ende() - anfang;
    const TKopie kopie(q, anfang,
                       static_cast<int>(std::min<std::int64_t>(verfuegbar, muster + muster / 8 + Breite)),
                       muster, kurz);
    const int impulse = kopie.Impulse();

    // Row t: the pattern's first t pulses laid on the copy's first i pulses, i = unten[t] + spalte;
    // per cell its cost and how many pulses were lost in a row to reach it.
    std::vector<std::int32_t> unten(static_cast<std::size_t>(muster) + 1);
    std::vector<std::uint8_t> schritte(static_cast<std::size_t>(muster + 1) * Breite);
    std::vector<float> vorige(Breite, Unendlich), zeile(Breite, Unendlich);
    std::vector<std::uint8_t> laufVorher(Breite, 0), lauf(Breite, 0);
    for (int s = 0; s < Breite; ++s) {
        zeile[static_cast<std::size_t>(s)] =
            s > impulse ? Unendlich
                        : (s == 0 ? 0.0F : zeile[static_cast<std::size_t>(s - 1)] + kopie.Weg(s - 1));
        schritte[static_cast<std::size_t>(s)] = Gewonnen;
    }
    int bester = 0;
    for (int t = 1; t <= muster; ++t) {
        std::swap(vorige, zeile);
        std::swap(laufVorher, lauf);
        const int untenVorher = unten[static_cast<std::size_t>(t - 1)];
        const int u = std::max(0, untenVorher + bester + 1 - RahmenBand);
        unten[static_cast<std::size_t>(t)] = u;
        std::uint8_t* schritt = &schritte[static_cast<std::size_t>(t) * Breite];
        float kleinste = Unendlich;
        for (int s = 0; s < Breite; ++s) {
            const auto z = static_cast<std::size_t>(s);
            const int i = u + s;
            float kosten = Unendlich;
            std::uint8_t wahl = Verloren;
            std::uint8_t verlorenInFolge = 0;
            if (i <= impulse) {
                const int sv = i - untenVorher; // the same pulse in the row before
                if (sv >= 0 && sv < Breite && vorige[static_cast<std::size_t>(sv)] < Unendlich) {
                    const std::uint8_t n = laufVorher[static_cast<std::size_t>(sv)];
                    kosten = vorige[static_cast<std::size_t>(sv)] + kopie.Verloren(t, i, n);
                    verlorenInFolge = static_cast<std::uint8_t>(std::min(n + 1, 255));
                }
                if (i > 0 && sv - 1 >= 0 && sv - 1 < Breite) {
                    const float k = vorige[static_cast<std::size_t>(sv - 1)] + kopie.Passt(t - 1, i - 1) +
                                    kopie.ZuWenig(i - 1, laufVorher[static_cast<std::size_t>(sv - 1)]);
                    if (k <= kosten) {
                        kosten = k;
                        wahl = Passt;
                        verlorenInFolge = 0;
                    }
                }
                if (s > 0 && i > 0) {
                    const float k = zeile[z - 1] + kopie.Weg(i - 1) + kopie.ZuWenig(i - 1, lauf[z - 1]);
                    if (k < kosten) {
                        kosten = k;
                        wahl = Gewonnen;
                        verlorenInFolge = 0;
                    }
                }
            }
            zeile[z] = kosten;
            lauf[z] = verlorenInFolge;
            schritt[s] = wahl;
            if (kosten < kleinste) {
                kleinste = kosten;
                bester = s;
            }
        }
        if (kleinste == Unendlich)
            return ergebnis;
    }

    // Back from the best end: which pulse each place of the pattern took, and the bytes touched by
    // a pulse lost or gained.
    std::vector<std::int32_t> impulsVon(static_cast<std::size_t>(muster), -1);
    std::vector<bool> gestoert(static_cast<std::size_t>(bytes), false);
    const auto stoere = [&](int t, bool klar) {
        const int b = std::clamp(t / BitsProByte, 0, bytes - 1);
        const int nachbarn = klar ? 0 : Nachbarn;
        for (int n = std::max(0, b - nachbarn); n <= std::min(bytes - 1, b + nachbarn); ++n)
            gestoert[static_cast<std::size_t>(n)] = true;
    };
    // The copy ends with its stop bit before the gap: the pattern ends there, wherever losses at
    // dropouts that may be a byte more or less put its end.
    const int stopp = kopie.StoppBit(muster);
    bool verankert = false;
    if (stopp >= 0) {
        float beste = Unendlich;
        for (int s = 0; s < Breite; ++s) {
            const int ende = unten[static_cast<std::size_t>(muster)] + s;
            const float k =
                zeile[static_cast<std::size_t>(s)] + static_cast<float>(std::abs(ende - stopp)) * Indel;
            if (k < beste) {
                beste = k;
                bester = s;
            }
        }
        verankert = unten[static_cast<std::size_t>(muster)] + bester == stopp;
    }
    std::vector<int> neueAbschnitte; // the pulses after such dropouts, last first
    int t = muster;
    int i = unten[static_cast<std::size_t>(t)] + bester;
    while (t > 0 || i > 0) {
        const int s = i - unten[static_cast<std::size_t>(t)];
        const std::uint8_t wahl =
            schritte[static_cast<std::size_t>(t) * Breite + static_cast<std::size_t>(s)];
        if (t == 0 || wahl == Gewonnen) {
            stoere(std::min(t, muster - 1), kopie.Wert(i - 1) == 0);
            --i;
        } else if (wahl == Verloren) {
            // The pulse before a dropout lasts into it: its byte is not known either.
            stoere(t - 1, kopie.Klar(i));
            const auto [wenigstens, hoechstens] = kopie.Geschluckt(i);
            if (hoechstens > 0)
                stoere(std::max(t - 2, 0), true);
            if (hoechstens - wenigstens >= BitsProByte &&
                (neueAbschnitte.empty() || neueAbschnitte.back() != i))
                neueAbschnitte.push_back(i);
            --t;
        } else {
            impulsVon[static_cast<std::size_t>(t - 1)] = i - 1;
            --t;
            --i;
        }
    }
    std::reverse(neueAbschnitte.begin(), neueAbschnitte.end());
    for (int b = 0; b < bytes; ++b) {
        if (gestoert[static_cast<std::size_t>(b)])
            continue;
        const int erster = impulsVon[static_cast<std::size_t>(b) * BitsProByte];
        if (erster < 0 || kopie.Wert(erster) <= StartKurzSicher)
            continue;
        ergebnis[static_cast<std::size_t>(b)].start = anfang + erster;
        const auto abschnitt =
            std::upper_bound(neueAbschnitte.begin(), neueAbschnitte.end(), erster) - neueAbschnitte.begin();
        // The last stretch ends at the stop bit: its place is as sure as the first one's.
        ergebnis[static_cast<std::size_t>(b)].abschnitt =
            verankert && abschnitt == static_cast<std::ptrdiff_t>(neueAbschnitte.size())
                ? 0
                : static_cast<int>(abschnitt);
    }
    return ergebnis;
}

namespace {

// Of the bytes compared, at least so many and four in five must agree at the place taken; the next
// best place must agree with at least so many fewer.
constexpr int OrdneMindestens = 4;
constexpr int OrdneZaehler = 4;
constexpr int OrdneNenner = 5;
constexpr int OrdneVorsprung = 2;
// The last byte both copies hold at a known place is looked for this many bytes back.
constexpr int OrdneAnkerSuche = 64;

int Wert(const TBelegFolge& q, const TByte& b) {
    int wert = 0;
    for (int bit = 1; bit <= DatenBits; ++bit)
        wert = wert << 1 | (q[b.start + bit].wert > 0 ? 1 : 0);
    return wert;
}

// The byte's value when its start bit and all eight bits were read (none unknown), from the start
// bit at `start`; -1 otherwise.
int KlarerWert(const TBelegFolge& q, std::int64_t start) {
    if (start < 0 || !q.Hat(start) || !q.Hat(start + DatenBits) || q[start].wert <= 0)
        return -1;
    int wert = 0;
    for (int bit = 1; bit <= DatenBits; ++bit) {
        const int w = q[start + bit].wert;
        if (w == 0)
            return -1;
        wert = wert << 1 | (w > 0 ? 1 : 0);
    }
    return wert;
}

} // namespace

void Ruecke(const TBelegFolge& q, std::vector<TByte> (&kopien)[2]) {
    const auto bytes = static_cast<int>(kopien[0].size());
    if (static_cast<int>(kopien[1].size()) != bytes)
        return;
    // Per copy: a byte lost to a pulse lost or gained since the copies last read a byte alike.
    bool gestoert[2] = {false, false};
    for (int i = 0; i < bytes; ++i) {
        const auto z = static_cast<std::size_t>(i);
        for (int k = 0; k < 2; ++k)
            gestoert[k] = gestoert[k] || kopien[k][z].start < 0;
        const int a = KlarerWert(q, kopien[0][z].start);
        const int b = KlarerWert(q, kopien[1][z].start);
        if (a >= 0 && a == b) {
            gestoert[0] = gestoert[1] = false;
            continue;
        }
        if (gestoert[0] == gestoert[1])
            continue;
        // The copy that lost a pulse; a start bit read short there is off as well.
        const int k = gestoert[0] ? 0 : 1;
        const int gesucht = k == 0 ? b : a;
        if (gesucht < 0 || kopien[k][z].start < 0)
            continue;
        for (const int d : {-1, 1}) {
            if (KlarerWert(q, kopien[k][z].start + d) != gesucht)
                continue;
            // Moved while moving makes the copies agree where they did not.
            int j = i;
            for (; j < bytes; ++j) {
                const auto y = static_cast<std::size_t>(j);
                const int andere = KlarerWert(q, kopien[1 - k][y].start);
                const std::int64_t start = kopien[k][y].start;
                if (start < 0 || andere < 0 || KlarerWert(q, start) == andere ||
                    KlarerWert(q, start + d) != andere)
                    break;
                kopien[k][y].start = start + d;
            }
            i = j - 1;
            gestoert[0] = gestoert[1] = false;
            break;
        }
    }
}

void Ordne(const TBelegFolge& q, std::vector<TByte> (&kopien)[2]) {
    const auto bytes = static_cast<int>(kopien[0].size());
    if (static_cast<int>(kopien[1].size()) != bytes)
        return;
    constexpr int Breite = 2 * AbschnittVerschiebung + 1;
    // The stretches after the first, per copy: [von, bis) where the framing put them.
    struct TStrecke {
        int von;
        int bis;
        bool offen = true;
    };
    std::vector<TStrecke> strecken[2];
    // The bytes whose place is known (the first stretch, and stretches placed), as compared.
    std::vector<int> fest[2];
    std::vector<TByte> neu[2];
    for (int k = 0; k < 2; ++k) {
        fest[k].assign(static_cast<std::size_t>(bytes), -1);
        neu[k].assign(static_cast<std::size_t>(bytes), TByte());
        for (int i = 0; i < bytes; ++i) {
            const TByte& b = kopien[k][static_cast<std::size_t>(i)];
            if (b.start < 0)
                continue;
            if (b.abschnitt == 0) {
                fest[k][static_cast<std::size_t>(i)] = Wert(q, b);
                neu[k][static_cast<std::size_t>(i)] = b;
            } else if (strecken[k].empty() ||
                       kopien[k][static_cast<std::size_t>(strecken[k].back().von)].abschnitt != b.abschnitt) {
                strecken[k].push_back({i, i + 1});
            } else {
                strecken[k].back().bis = i + 1;
            }
        }
    }
    // How well a stretch of copy k agrees with the other copy's placed bytes, moved by each d.
    const auto vergleiche = [&](int k, const TStrecke& s, int(&gleich)[Breite], int(&verglichen)[Breite]) {
        for (int d = -AbschnittVerschiebung; d <= AbschnittVerschiebung; ++d) {
            gleich[d + AbschnittVerschiebung] = verglichen[d + AbschnittVerschiebung] = 0;
            for (int i = s.von; i < s.bis; ++i) {
                const int ziel = i + d;
                const TByte& b = kopien[k][static_cast<std::size_t>(i)];
                if (b.start < 0 || ziel < 0 || ziel >= bytes ||
                    fest[1 - k][static_cast<std::size_t>(ziel)] < 0)
                    continue;
                ++verglichen[d + AbschnittVerschiebung];
                gleich[d + AbschnittVerschiebung] +=
                    fest[1 - k][static_cast<std::size_t>(ziel)] == Wert(q, b);
            }
        }
    };
    const auto setze = [&](int k, const TStrecke& s, int d, bool bestaetigt) {
        for (int i = s.von; i < s.bis; ++i) {
            const TByte& b = kopien[k][static_cast<std::size_t>(i)];
            const int ziel = i + d;
            if (b.start < 0 || ziel < 0 || ziel >= bytes || neu[k][static_cast<std::size_t>(ziel)].start >= 0)
                continue;
            neu[k][static_cast<std::size_t>(ziel)] = b;
            neu[k][static_cast<std::size_t>(ziel)].unbestaetigt = b.unbestaetigt || !bestaetigt;
            if (bestaetigt)
                fest[k][static_cast<std::size_t>(ziel)] = Wert(q, b);
        }
    };
    const auto klar = [](int g, int v) {
        return g >= OrdneMindestens && g * OrdneNenner >= v * OrdneZaehler;
    };
    // The time since the last byte both copies hold at a known place is the same in both: where the
    // other copy holds a byte at a known place at that time, the stretch begins there.
    const auto nachZeit = [&](int k, const TStrecke& s, int& d) {
        const TByte& erster = kopien[k][static_cast<std::size_t>(s.von)];
        for (int y = s.von - 1; y >= std::max(0, s.von - OrdneAnkerSuche); --y) {
            if (fest[0][static_cast<std::size_t>(y)] < 0 || fest[1][static_cast<std::size_t>(y)] < 0)
                continue;
            const std::int64_t hier = neu[k][static_cast<std::size_t>(y)].start;
            const std::int64_t dort = neu[1 - k][static_cast<std::size_t>(y)].start;
            const std::int64_t gesucht = q[dort].beginn + (q[erster.start].beginn - q[hier].beginn);
            // A byte lasts at least nine pulses: half of that apart is another byte.
            const std::int64_t toleranz = (q[dort + BitsProByte].beginn - q[dort].beginn) / 2;
            for (int z = std::max(0, y + 1); z < std::min(bytes, s.von + AbschnittVerschiebung + 1); ++z) {
                const TByte& b = neu[1 - k][static_cast<std::size_t>(z)];
                if (fest[1 - k][static_cast<std::size_t>(z)] < 0 ||
                    std::abs(q[b.start].beginn - gesucht) > toleranz)
                    continue;
                d = z - s.von;
                return true;
            }
            return false;
        }
        return false;
    };
    // Stretches placed by bytes whose place is known place others in turn.
    for (bool weiter = true; weiter;) {
        weiter = false;
        for (int k = 0; k < 2; ++k)
            for (TStrecke& s : strecken[k]) {
                if (!s.offen)
                    continue;
                int d = 0;
                if (nachZeit(k, s, d) && std::abs(d) <= AbschnittVerschiebung) {
                    setze(k, s, d, true);
                    s.offen = false;
                    weiter = true;
                    continue;
                }
                int gleich[Breite], verglichen[Breite];
                vergleiche(k, s, gleich, verglichen);
                int beste = 0;
                for (int d = 0; d < Breite; ++d)
                    if (gleich[d] > gleich[beste])
                        beste = d;
                bool eindeutig = klar(gleich[beste], verglichen[beste]);
                for (int d = 0; d < Breite && eindeutig; ++d)
                    eindeutig = d == beste || gleich[d] + OrdneVorsprung <= gleich[beste];
                if (!eindeutig)
                    continue;
                setze(k, s, beste - AbschnittVerschiebung, true);
                s.offen = false;
                weiter = true;
            }
    }
    // The rest stays where the framing put it, unconfirmed, unless the other copy speaks against it.
    for (int k = 0; k < 2; ++k)
        for (const TStrecke& s : strecken[k]) {
            if (!s.offen)
                continue;
            int gleich[Breite], verglichen[Breite];
            vergleiche(k, s, gleich, verglichen);
            if (verglichen[AbschnittVerschiebung] < OrdneMindestens ||
                klar(gleich[AbschnittVerschiebung], verglichen[AbschnittVerschiebung]))
                setze(k, s, 0, false);
        }
    kopien[0] = std::move(neu[0]);
    kopien[1] = std::move(neu[1]);
}

} // namespace KopieRahmen
