// Both copies of a block framed: their stretches after dropouts placed by each other, split where
// they lost bytes, and the second copy's start checked against the first.
#include "KopieRahmen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

namespace KopieRahmen {

namespace {

// Of the bytes compared, at least so many and four in five must agree at the place taken; the next
// best place must agree with at least so many fewer.
constexpr int OrdneMindestens = 4;
constexpr int OrdneZaehler = 4;
constexpr int OrdneNenner = 5;
constexpr int OrdneVorsprung = 2;
// The last byte both copies hold at a known place is looked for this many bytes back.
constexpr int OrdneAnkerSuche = 64;
// By the time since that byte, a stretch is placed up to this many bytes from where the framing put
// it against the stretch before (a dropout of 50 ms swallows some eight bytes, their number known
// only roughly).
constexpr int OrdneZeitWeite = 12;
// Where the other copy lost the bytes at that time as well, the stretch begins as many bytes after
// the other copy's last byte as fit into the time left, at most so many, by the length of the
// other copy's bytes over up to OrdneSchaetzMass bytes before (at least half as many); the time
// left must lie within a third of a byte of that.
constexpr int OrdneSchaetzHoechstens = 2;
constexpr int OrdneSchaetzMass = 16;
constexpr int OrdneSchaetzTeiler = 3;
// The copies' speeds are taken to differ by at most this factor.
constexpr double OrdneTempoHoechstens = 1.5;
// Rounds over the stretches: a stretch placed enables the ones after it in the same round, so few
// are needed; the bound keeps the work linear in the block's length.
constexpr int OrdneRunden = 8;

constexpr int Breite = 2 * AbschnittVerschiebung + 1;

int Wert(const TBelegFolge& q, const TByte& b) {
    int wert = 0;
    for (int bit = 1; bit <= DatenBits; ++bit)
        wert = wert << 1 | (q[b.start + bit].wert > 0 ? 1 : 0);
    return wert;
}

class TOrdnung {
public:
    TOrdnung(const TBelegFolge& q, std::vector<TByte> (&kopien)[2]);
    void Ordne();

private:
    // A stretch after the first: [von, bis) where the framing put it, and how far it was moved.
    struct TStrecke {
        int von;
        int bis;
        bool offen = true;
        bool sicher = false;
        bool nachBytes = false; // moved by its bytes alone, away from where the framing put it
        int verschiebung = 0;
        int luecke = 0; // bytes lost before it since the copy's last byte given
    };
    // Where a stretch was placed, and whether that rests on places known for sure: the block's
    // ends, and what was placed by them through bytes both copies hold, not by an estimate.
    struct TPlatz {
        int d = 0;
        bool sicher = false;
    };

    const TBelegFolge& m_q;
    std::vector<TByte> (&m_kopien)[2];
    int m_bytes;
    std::vector<TStrecke> m_strecken[2];
    // The bytes whose place is known (the first stretch, and stretches placed), as compared.
    std::vector<int> m_fest[2];
    std::vector<bool> m_sicher[2];
    std::vector<TByte> m_neu[2];

    bool Fest(int k, int i) const { return m_fest[k][static_cast<std::size_t>(i)] >= 0; }
    bool Sicher(int k, int i) const { return m_sicher[k][static_cast<std::size_t>(i)]; }
    std::int64_t Zeit(int k, int i) const { return m_q[m_neu[k][static_cast<std::size_t>(i)].start].beginn; }
    bool NachZeit(int k, const TStrecke& s, int vorher, TPlatz& platz) const;
    bool Geschaetzt(int k, std::int64_t gesucht, int letzter, int& z) const;
    bool NachInhalt(int k, const TStrecke& s, int vorher, TPlatz& platz) const;
    // Of the stretch moved by d: bytes equal to the other copy's placed bytes, bytes compared, and
    // whether all of those were placed for sure.
    void Vergleiche(int k, const TStrecke& s, int d, int& gleich, int& verglichen, bool& sicher) const;
    void Lege(int k, TStrecke& s, int d, bool fest, bool sicher);
    bool Platziere(int k, TStrecke& s, int vorher);
    bool Bestaetigt(int k, const TStrecke& s) const;
    void Bestaetige();
    void Rest(const std::vector<std::pair<int, int>>& reihe);
};

TOrdnung::TOrdnung(const TBelegFolge& q, std::vector<TByte> (&kopien)[2])
    : m_q(q), m_kopien(kopien), m_bytes(static_cast<int>(kopien[0].size())) {
    for (int k = 0; k < 2; ++k) {
        int letzter = -1;
        m_fest[k].assign(static_cast<std::size_t>(m_bytes), -1);
        m_sicher[k].assign(static_cast<std::size_t>(m_bytes), false);
        m_neu[k].assign(static_cast<std::size_t>(m_bytes), TByte());
        for (int i = 0; i < m_bytes; ++i) {
            const TByte& b = kopien[k][static_cast<std::size_t>(i)];
            if (b.start < 0)
                continue;
            if (b.abschnitt == 0) {
                m_fest[k][static_cast<std::size_t>(i)] = Wert(q, b);
                m_sicher[k][static_cast<std::size_t>(i)] = true;
                m_neu[k][static_cast<std::size_t>(i)] = b;
            } else if (m_strecken[k].empty() ||
                       kopien[k][static_cast<std::size_t>(m_strecken[k].back().von)].abschnitt !=
                           b.abschnitt) {
                m_strecken[k].push_back({i, i + 1});
                m_strecken[k].back().luecke = i - letzter - 1;
            } else {
                m_strecken[k].back().bis = i + 1;
            }
            letzter = i;
        }
    }
}

// The time since the last byte both copies hold at a known place is the same in both: where the
// other copy holds a byte at a known place at that time, the stretch begins there.
bool TOrdnung::NachZeit(int k, const TStrecke& s, int vorher, TPlatz& platz) const {
    const TByte& erster = m_kopien[k][static_cast<std::size_t>(s.von)];
    for (int y = s.von - 1; y >= std::max(0, s.von - OrdneAnkerSuche); --y) {
        if (!Fest(0, y) || !Fest(1, y))
            continue;
        const std::int64_t hier = m_neu[k][static_cast<std::size_t>(y)].start;
        const std::int64_t dort = m_neu[1 - k][static_cast<std::size_t>(y)].start;
        // The tape may run at another speed under the other copy (it drifts along the tape): the
        // time is measured by the other copy's speed over the bytes both hold before.
        double tempo = 1.0;
        // A byte lasts at least nine pulses: half of that apart is another byte.
        double laenge = m_q.Hat(dort + BitsProByte)
                            ? static_cast<double>(m_q[dort + BitsProByte].beginn - m_q[dort].beginn)
                            : 0.0;
        for (int x = std::max(0, y - OrdneSchaetzMass); x + OrdneSchaetzMass / 2 <= y; ++x) {
            if (!Fest(0, x) || !Fest(1, x))
                continue;
            const auto dauer = static_cast<double>(m_q[hier].beginn - Zeit(k, x));
            const auto dortDauer = static_cast<double>(m_q[dort].beginn - Zeit(1 - k, x));
            if (dauer > 0.0 && dortDauer > 0.0) {
                tempo = std::clamp(dortDauer / dauer, 1.0 / OrdneTempoHoechstens, OrdneTempoHoechstens);
                if (y + 1 >= m_bytes ||
                    m_neu[1 - k][static_cast<std::size_t>(y + 1)].start != dort + BitsProByte)
                    laenge = dortDauer / (y - x);
            }
            break;
        }
        const std::int64_t gesucht =
            m_q[dort].beginn +
            std::llround(tempo * static_cast<double>(m_q[erster.start].beginn - m_q[hier].beginn));
        const auto toleranz = static_cast<std::int64_t>(laenge / 2.0);
        const bool anker = Sicher(0, y) && Sicher(1, y);
        int letzter = y; // the other copy's last byte at a known place before that time
        // Bytes differ in length by their bits (a byte of ones lasts two thirds longer than one of
        // zeros): of the bytes within the tolerance, the one nearest that time.
        int naechster = -1;
        std::int64_t abstand = 0;
        bool vorbei = false;
        const int bis = std::min(m_bytes, s.von + vorher + OrdneZeitWeite + 1);
        for (int z = y + 1; z < bis && !vorbei; ++z) {
            if (!Fest(1 - k, z))
                continue;
            const std::int64_t zeit = Zeit(1 - k, z);
            if (std::abs(zeit - gesucht) <= toleranz) {
                if (naechster < 0 || std::abs(zeit - gesucht) < abstand) {
                    naechster = z;
                    abstand = std::abs(zeit - gesucht);
                }
            } else if (zeit > gesucht) {
                vorbei = true;
            } else {
                letzter = z;
            }
        }
        if (naechster >= 0) {
            platz = {naechster - s.von, anker && Sicher(1 - k, naechster)};
            return true;
        }
        if (vorbei)
            return false;
        int z = 0;
        if (!Geschaetzt(k, gesucht, letzter, z))
            return false;
        platz = {z - s.von, false};
        return true;
    }
    return false;
}

// The other copy lost the byte at time `gesucht` as well: it lies as many bytes after the other
// copy's last byte before that time as fit into the time left, at the length of the bytes before.
bool TOrdnung::Geschaetzt(int k, std::int64_t gesucht, int letzter, int& z) const {
    int erste = letzter;
    for (int i = letzter - 1; i >= std::max(0, letzter - OrdneSchaetzMass); --i)
        if (Fest(1 - k, i))
            erste = i;
    if (letzter - erste < OrdneSchaetzMass / 2)
        return false;
    const double mass =
        static_cast<double>(Zeit(1 - k, letzter) - Zeit(1 - k, erste)) / static_cast<double>(letzter - erste);
    const double weiter = static_cast<double>(gesucht - Zeit(1 - k, letzter)) / mass;
    const long ganze = std::lround(weiter);
    if (ganze < 1 || ganze > OrdneSchaetzHoechstens ||
        std::abs(weiter - static_cast<double>(ganze)) * OrdneSchaetzTeiler > 1.0)
        return false;
    z = letzter + static_cast<int>(ganze);
    return z < m_bytes;
}

void TOrdnung::Vergleiche(int k, const TStrecke& s, int d, int& gleich, int& verglichen, bool& sicher) const {
    gleich = verglichen = 0;
    sicher = true;
    for (int i = s.von; i < s.bis; ++i) {
        const int ziel = i + d;
        const TByte& b = m_kopien[k][static_cast<std::size_t>(i)];
        if (b.start < 0 || ziel < 0 || ziel >= m_bytes || !Fest(1 - k, ziel))
            continue;
        ++verglichen;
        gleich += m_fest[1 - k][static_cast<std::size_t>(ziel)] == Wert(m_q, b);
        sicher = sicher && Sicher(1 - k, ziel);
    }
}

bool Klar(int gleich, int verglichen) {
    return gleich >= OrdneMindestens && gleich * OrdneNenner >= verglichen * OrdneZaehler;
}

// Where the stretch's bytes equal the other copy's placed bytes, clearly better than anywhere else
// within AbschnittVerschiebung bytes of where the stretch before was moved to.
bool TOrdnung::NachInhalt(int k, const TStrecke& s, int vorher, TPlatz& platz) const {
    int gleich[Breite], verglichen[Breite];
    bool sicher[Breite];
    for (int j = 0; j < Breite; ++j)
        Vergleiche(k, s, vorher + j - AbschnittVerschiebung, gleich[j], verglichen[j], sicher[j]);
    int beste = 0;
    for (int j = 0; j < Breite; ++j)
        if (gleich[j] > gleich[beste])
            beste = j;
    if (!Klar(gleich[beste], verglichen[beste]))
        return false;
    for (int j = 0; j < Breite; ++j)
        if (j != beste && gleich[j] + OrdneVorsprung > gleich[beste])
            return false;
    platz = {vorher + beste - AbschnittVerschiebung, sicher[beste] && beste == AbschnittVerschiebung};
    return true;
}

// A stretch placed where it is known (`fest`) gives its bytes as the other copy's ruler; one
// placed for sure confirms them.
void TOrdnung::Lege(int k, TStrecke& s, int d, bool fest, bool sicher) {
    for (int i = s.von; i < s.bis; ++i) {
        const TByte& b = m_kopien[k][static_cast<std::size_t>(i)];
        const auto ziel = static_cast<std::size_t>(i + d);
        if (b.start < 0 || i + d < 0 || i + d >= m_bytes || m_neu[k][ziel].start >= 0)
            continue;
        m_neu[k][ziel] = b;
        m_neu[k][ziel].unbestaetigt = b.unbestaetigt || !sicher;
        if (fest)
            m_fest[k][ziel] = Wert(m_q, b);
        m_sicher[k][ziel] = sicher;
    }
    s.offen = false;
    s.sicher = sicher;
    s.verschiebung = d;
}

// The stretch where it was placed reads as the bytes the other copy holds there for sure, clearly
// better than a few bytes either way.
bool TOrdnung::Bestaetigt(int k, const TStrecke& s) const {
    int gleich[Breite] = {}, verglichen[Breite] = {};
    for (int j = 0; j < Breite; ++j)
        for (int i = s.von; i < s.bis; ++i) {
            const int ziel = i + s.verschiebung + j - AbschnittVerschiebung;
            const TByte& b = m_kopien[k][static_cast<std::size_t>(i)];
            if (b.start < 0 || ziel < 0 || ziel >= m_bytes || !Sicher(1 - k, ziel))
                continue;
            ++verglichen[j];
            gleich[j] += m_fest[1 - k][static_cast<std::size_t>(ziel)] == Wert(m_q, b);
        }
    const int mitte = AbschnittVerschiebung;
    if (!Klar(gleich[mitte], verglichen[mitte]))
        return false;
    for (int j = 0; j < Breite; ++j)
        if (j != mitte && gleich[j] + OrdneVorsprung > gleich[mitte])
            return false;
    return true;
}

// A stretch placed by an estimate (its time, or the framing alone) whose bytes read as those the
// other copy holds there for sure is placed for sure: so a sure place passes from copy to copy
// through the bytes both hold, backwards from a copy's end as well as onwards from its start. One
// its bytes alone moved stays unconfirmed (the bytes of a block repeat). Only what is uncertain
// changes, not where a byte goes.
void TOrdnung::Bestaetige() {
    bool weiter = true;
    for (int runde = 0; runde < OrdneRunden && weiter; ++runde) {
        weiter = false;
        for (int k = 0; k < 2; ++k)
            for (auto s = m_strecken[k].rbegin(); s != m_strecken[k].rend(); ++s) {
                if (s->offen || s->sicher || s->nachBytes || !Bestaetigt(k, *s))
                    continue;
                for (int i = s->von; i < s->bis; ++i) {
                    const TByte& b = m_kopien[k][static_cast<std::size_t>(i)];
                    const int ziel = i + s->verschiebung;
                    if (b.start < 0 || ziel < 0 || ziel >= m_bytes ||
                        m_neu[k][static_cast<std::size_t>(ziel)].start != b.start)
                        continue;
                    m_neu[k][static_cast<std::size_t>(ziel)].unbestaetigt = b.unbestaetigt;
                    m_fest[k][static_cast<std::size_t>(ziel)] = Wert(m_q, b);
                    m_sicher[k][static_cast<std::size_t>(ziel)] = true;
                }
                s->sicher = true;
                weiter = true;
            }
    }
}

// A stretch placed by the time since a byte both copies hold, or by its bytes. Where the other
// copy's bytes at the place the time gives speak against it (wow moved the time by a byte, or the
// framing lost its way within the stretch), the stretch goes where its bytes say; failing that, it
// stays at the time's place, unconfirmed.
bool TOrdnung::Platziere(int k, TStrecke& s, int vorher) {
    TPlatz platz;
    TPlatz nachZeit;
    const bool zeit = NachZeit(k, s, vorher, nachZeit) && std::abs(nachZeit.d - vorher) <= OrdneZeitWeite;
    if (zeit) {
        int gleich = 0, verglichen = 0;
        bool sicher = false;
        Vergleiche(k, s, nachZeit.d, gleich, verglichen, sicher);
        if (verglichen < OrdneMindestens || Klar(gleich, verglichen)) {
            Lege(k, s, nachZeit.d, true, nachZeit.sicher);
            return true;
        }
    }
    if (NachInhalt(k, s, vorher, platz)) {
        Lege(k, s, platz.d, true, platz.sicher);
        s.nachBytes = platz.d != vorher;
        return true;
    }
    if (!zeit)
        return false;
    Lege(k, s, nachZeit.d, true, false);
    return true;
}

// The stretches no round placed, both copies in the order they lie in the block: where two wait
// for each other (each copy lost the bytes at the other's time), one laid lets the other be placed.
// A stretch nothing places stays where the framing put it against the stretch before, unconfirmed,
// unless the other copy speaks against it; laid, it is the other copy's ruler. The framing counts
// the bytes a short gap swallowed better than a long one's: where the other copy's next stretch,
// after a shorter gap, reaches into this one, that one is laid first.
void TOrdnung::Rest(const std::vector<std::pair<int, int>>& reihe) {
    int vorher[2] = {0, 0};
    std::size_t naechste[2] = {0, 0};
    const auto lasse = [&](int k, TStrecke& s) {
        int gleich = 0, verglichen = 0;
        bool sicher = false;
        Vergleiche(k, s, vorher[k], gleich, verglichen, sicher);
        if (verglichen < OrdneMindestens || Klar(gleich, verglichen))
            Lege(k, s, vorher[k], true, false);
    };
    for (const auto& [von, k] : reihe) {
        TStrecke& s = m_strecken[k][naechste[k]++];
        if (s.offen && !Platziere(k, s, vorher[k])) {
            const int a = 1 - k;
            TStrecke* t = naechste[a] < m_strecken[a].size() ? &m_strecken[a][naechste[a]] : nullptr;
            const bool zuerst = t != nullptr && t->offen && t->von < s.bis && t->luecke < s.luecke;
            if (zuerst) {
                if (!Platziere(a, *t, vorher[a]))
                    lasse(a, *t);
                if (!t->offen)
                    vorher[a] = t->verschiebung;
            }
            if (!zuerst || !Platziere(k, s, vorher[k]))
                lasse(k, s);
        }
        if (!s.offen)
            vorher[k] = s.verschiebung;
    }
}

void TOrdnung::Ordne() {
    // Stretches placed by bytes whose place is known place others in turn. The framing's error at a
    // dropout adds up over the block: a stretch is looked for around where the one before was
    // moved to. Both copies' stretches are taken in the order they lie in the block, so that a
    // chain of stretches that place each other in turn, copy by copy, is placed in one round.
    std::vector<std::pair<int, int>> reihe; // (von, copy)
    for (int k = 0; k < 2; ++k)
        for (const TStrecke& s : m_strecken[k])
            reihe.push_back({s.von, k});
    std::stable_sort(reihe.begin(), reihe.end());
    bool weiter = true;
    for (int runde = 0; runde < OrdneRunden && weiter; ++runde) {
        weiter = false;
        int vorher[2] = {0, 0};
        std::size_t naechste[2] = {0, 0};
        for (const auto& [von, k] : reihe) {
            TStrecke& s = m_strecken[k][naechste[k]++];
            if (s.offen && Platziere(k, s, vorher[k]))
                weiter = true;
            if (!s.offen)
                vorher[k] = s.verschiebung;
        }
    }
    Rest(reihe);
    Bestaetige();
    m_kopien[0] = std::move(m_neu[0]);
    m_kopien[1] = std::move(m_neu[1]);
}

} // namespace

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

std::optional<int> Versatz(const TBelegFolge& q, const std::vector<TByte> (&kopien)[2]) {
    const auto bytes = static_cast<int>(std::min(kopien[0].size(), kopien[1].size()));
    const auto klar = [&](int k, int i) {
        const TByte& b = kopien[k][static_cast<std::size_t>(i)];
        return b.abschnitt == 0 ? KlarerWert(q, b.start) : -1;
    };
    int gleich[Breite] = {}, verglichen[Breite] = {};
    for (int j = 0; j < Breite; ++j)
        for (int i = 0; i < std::min(VersatzBytes, bytes); ++i) {
            const int dort = i + j - AbschnittVerschiebung;
            const int a = klar(0, i);
            const int b = dort >= 0 && dort < bytes ? klar(1, dort) : -1;
            if (a < 0 || b < 0)
                continue;
            ++verglichen[j];
            gleich[j] += a == b ? 1 : 0;
        }
    const int mitte = AbschnittVerschiebung;
    if (Klar(gleich[mitte], verglichen[mitte]))
        return 0;
    int beste = mitte;
    for (int j = 0; j < Breite; ++j)
        if (gleich[j] > gleich[beste])
            beste = j;
    if (beste == mitte || !Klar(gleich[beste], verglichen[beste]))
        return std::nullopt;
    for (int j = 0; j < Breite; ++j)
        if (j != beste && gleich[j] + OrdneVorsprung > gleich[beste])
            return std::nullopt;
    return beste - mitte;
}

bool Teile(std::vector<TByte> (&kopien)[2]) {
    bool geteilt = false;
    for (std::vector<TByte>& kopie : kopien) {
        int neu = 0;      // the stretches, numbered anew
        int alt = -1;     // the stretch of the byte before, as the framing numbered it
        int letzter = -1; // the byte given before
        for (int i = 0; i < static_cast<int>(kopie.size()); ++i) {
            TByte& b = kopie[static_cast<std::size_t>(i)];
            if (b.start < 0)
                continue;
            if (b.abschnitt != 0) {
                const bool verloren = b.abschnitt == alt && i - letzter > 1;
                if (b.abschnitt != alt || verloren)
                    ++neu;
                geteilt = geteilt || verloren;
                alt = b.abschnitt;
                b.abschnitt = neu;
            }
            letzter = i;
        }
    }
    return geteilt;
}

void Ordne(const TBelegFolge& q, std::vector<TByte> (&kopien)[2]) {
    if (kopien[1].size() != kopien[0].size())
        return;
    TOrdnung(q, kopien).Ordne();
}

} // namespace KopieRahmen
