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
// A pulse read this weakly (a pulse split in two by an edge too many, a click) costs less to drop,
// the less it was known, and a pulse gained there lies there.
constexpr int Schwach = 32;
// Unless it lasts this many short pulses at least: no click's spike, no noise crossing and no half
// of a split pulse lasts so long, it is a pulse the tape held where the level sank (in a run of
// equal bytes, dropping a byte of those would put every byte after it a byte off unseen).
constexpr double GanzerImpuls = 1.35;
// A dropout the decoder took for a pause swallowed as many pulses as fit into its length: at least
// as many long ones and at most as many short ones, give or take these shares and two.
constexpr double LueckeLangAnteil = 1.1;
constexpr double LueckeKurzAnteil = 0.9;
constexpr int LueckeZugabe = 2;
// Where a loss could lie anywhere at the same cost (a copy that ends early), it is taken late:
// pulses lost cost this much more the earlier they lie.
constexpr float Frueh = 0.01F;
// Within what a dropout may have swallowed, each pulse more or fewer than its length holds at the
// mean length of the SchaetzImpulse pulses before it costs this much: of two framings a byte apart
// (the start bits cannot tell them), the one nearer that count is taken.
constexpr float Schaetz = 0.1F;
constexpr int SchaetzImpulse = 2 * BitsProByte;
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
// So many pulses lost or gained within so many pulses: the copy's pulses there were not heard
// clearly, and a whole byte may be among them (its start bits read as well a byte on).
constexpr int DichteHoechstens = 4;
constexpr int DichteImpulse = 8 * BitsProByte;
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
    float Weg(int i) const {
        const int betrag = std::abs(Wert(i));
        return betrag >= Schwach || Dauer(i) >= GanzerImpuls * m_kurz
                   ? Indel
                   : UnbekanntWeg + (Indel - UnbekanntWeg) * static_cast<float>(betrag) / Schwach;
    }
    bool IstSchwach(int i) const { return std::abs(Wert(i)) < Schwach; }
    // Frames from pulse i to the next; 0 for the last one held.
    double Dauer(int i) const {
        const std::int64_t p = m_anfang + i;
        return m_q.Hat(p + 1) ? static_cast<double>(m_q[p + 1].beginn - m_q[p].beginn) : 0.0;
    }
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
    // As many pulses as the dropout before pulse i lasts at the mean length of the pulses before it
    // (what the tape held there it likely held on: a run of zeros, a run of one value).
    double Erwartet(int i) const {
        const double dauer = m_q[m_anfang + i].beginn - m_q[m_anfang + i - 1].beginn;
        const int n = std::min(i - 1, SchaetzImpulse);
        double mittel = 0.5 * (m_kurz + m_lang);
        if (n > 0) {
            const double vorher = m_q[m_anfang + i - 1].beginn - m_q[m_anfang + i - 1 - n].beginn;
            mittel = std::clamp(vorher / n, m_kurz, m_lang);
        }
        return (dauer - (Wert(i - 1) > 0 ? m_lang : m_kurz)) / mittel;
    }
    // A pulse lost before pulse i, the `lauf`-th lost there in a row (from 0), at template place t.
    float Verloren(int t, int i, int lauf) const {
        const float frueh = Frueh * static_cast<float>(m_muster - t) / static_cast<float>(m_muster);
        const int hoechstens = Geschluckt(i).second;
        if (hoechstens == 0)
            return (lauf == 0 ? Einzeln(i) : Indel) + frueh;
        return lauf < hoechstens ? frueh + (lauf >= Erwartet(i) ? Schaetz : 0.0F) : Indel + frueh;
    }
    // Leaving the place before pulse i after `lauf` pulses lost there: too few for its dropout.
    float ZuWenig(int i, int lauf) const {
        const auto [wenigstens, hoechstens] = Geschluckt(i);
        const float kosten = static_cast<float>(std::max(0, wenigstens - lauf)) * Indel;
        return hoechstens > 0 ? kosten + Schaetz * static_cast<float>(std::max(0.0, Erwartet(i) - lauf))
                              : kosten;
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
    std::vector<int> nahe;           // pulses lost or gained lately, latest first
    const auto dicht = [&](int i) {
        while (!nahe.empty() && nahe.front() > i + DichteImpulse)
            nahe.erase(nahe.begin());
        nahe.push_back(i);
        if (static_cast<int>(nahe.size()) < DichteHoechstens)
            return;
        if (neueAbschnitte.empty() || neueAbschnitte.back() != i)
            neueAbschnitte.push_back(i);
        nahe.clear();
    };
    int t = muster;
    int i = unten[static_cast<std::size_t>(t)] + bester;
    while (t > 0 || i > 0) {
        const int s = i - unten[static_cast<std::size_t>(t)];
        const std::uint8_t wahl =
            schritte[static_cast<std::size_t>(t) * Breite + static_cast<std::size_t>(s)];
        if (t > 0 && wahl != Passt)
            dicht(i);
        if (t == 0 || wahl == Gewonnen) {
            stoere(std::min(t, muster - 1), kopie.IstSchwach(i - 1));
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

} // namespace KopieRahmen
