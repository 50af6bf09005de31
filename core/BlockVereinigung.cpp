#include "BlockVereinigung.h"

#include "ImpulsBeleg.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {
constexpr int ByteBits = TBlockBelege::BitsProByte;
constexpr int PruefsummeBits = TBlockBelege::PruefsummeBytes * ByteBits;
constexpr unsigned Modul = 65536;
} // namespace

TBlockBelege::TBlockBelege(int pv_anzahl) : m_anzahl(pv_anzahl) {
    const auto bits = static_cast<std::size_t>(Bytes()) * ByteBits;
    for (int k = 0; k < 2; ++k) {
        m_summe[k].assign(bits, 0.0F);
        m_lesungen[k].assign(bits, 0);
    }
    m_bestaetigt.assign(static_cast<std::size_t>(Bytes()), false);
    for (int k = 0; k < 2; ++k) {
        m_mehrdeutig[k].assign(static_cast<std::size_t>(Bytes()), false);
        m_nahVerlust[k].assign(static_cast<std::size_t>(Bytes()), false);
    }
}

void TBlockBelege::Lies(int pv_kopie, int pv_index, const std::int8_t* pv_bits) {
    if (pv_index < 0 || pv_index >= Bytes() || pv_kopie < 0 || pv_kopie > 1 || m_summe[pv_kopie].empty())
        return;
    for (int b = 0; b < ByteBits; ++b) {
        if (pv_bits[b] == 0)
            continue;
        const auto i = static_cast<std::size_t>(pv_index) * ByteBits + static_cast<std::size_t>(b);
        m_summe[pv_kopie][i] += pv_bits[b];
        // More readings of one copy than fit here change its mean no more. A faint vote adds but
        // is no reading of its own: a fixed pass hears a pulse in a dropout at a tenth of its
        // level, and counted as a reading that would pull a clear one toward nothing.
        if (std::abs(pv_bits[b]) >= Leise &&
            m_lesungen[pv_kopie][i] < std::numeric_limits<std::uint8_t>::max())
            ++m_lesungen[pv_kopie][i];
    }
}

void TBlockBelege::Bestaetige(int pv_index) {
    if (pv_index >= 0 && pv_index < Bytes())
        m_bestaetigt[static_cast<std::size_t>(pv_index)] = true;
}

void TBlockBelege::Mehrdeutig(int pv_kopie, int pv_index) {
    if (pv_index >= 0 && pv_index < Bytes() && pv_kopie >= 0 && pv_kopie < 2)
        m_mehrdeutig[pv_kopie][static_cast<std::size_t>(pv_index)] = true;
}

void TBlockBelege::NahVerlust(int pv_kopie, int pv_index) {
    if (pv_index >= 0 && pv_index < Bytes() && pv_kopie >= 0 && pv_kopie < 2)
        m_nahVerlust[pv_kopie][static_cast<std::size_t>(pv_index)] = true;
}

bool TBlockBelege::Zweifelhaft(int pv_index) const {
    if (pv_index < 0 || pv_index >= Bytes())
        return false;
    const auto byte = static_cast<std::size_t>(pv_index);
    const auto mittel = [&](int k, std::size_t bit) {
        return m_mittel[k].empty() ? Kopie(k, bit) : static_cast<float>(m_mittel[k][bit]);
    };
    bool beide[2] = {}, gegen = false;
    for (std::size_t bit = byte * ByteBits; bit < (byte + 1) * ByteBits; ++bit) {
        const float a = mittel(0, bit), b = mittel(1, bit);
        beide[0] = beide[0] || a != 0.0F;
        beide[1] = beide[1] || b != 0.0F;
        gegen = gegen ||
                ((a > 0.0F) != (b > 0.0F) && std::fabs(a) >= KopienStreit && std::fabs(b) >= KopienStreit);
    }
    return beide[0] && beide[1] && (gegen || (m_mehrdeutig[0][byte] && m_mehrdeutig[1][byte]));
}

bool TBlockBelege::Unbestaetigt(int pv_index) const {
    return pv_index >= 0 && pv_index < Bytes() && !m_bestaetigt[static_cast<std::size_t>(pv_index)] &&
           Lesungen(pv_index) > 0;
}

int TBlockBelege::Lesungen(int pv_index) const {
    if (!m_lesungenJeByte.empty())
        return m_lesungenJeByte[static_cast<std::size_t>(pv_index)];
    int n = 0;
    for (int k = 0; k < 2; ++k)
        for (int b = 0; b < ByteBits; ++b)
            n = std::max(n,
                         static_cast<int>(m_lesungen[k][static_cast<std::size_t>(pv_index) * ByteBits + b]));
    return n;
}

namespace {

// A copy's mean reading of a bit from the sum and the count of its readings.
float Mittel(float summe, std::uint8_t lesungen) {
    return std::clamp(summe / std::max<float>(lesungen, 1.0F), -static_cast<float>(TImpulsBeleg::Sicher),
                      static_cast<float>(TImpulsBeleg::Sicher));
}

} // namespace

std::vector<float> TBlockBelege::Gewichte() const {
    std::vector<float> g = m_fremd;
    g.resize(static_cast<std::size_t>(Bytes()) * ByteBits, 0.0F);
    // Every bit of every block goes through here, several times a block: one plain pass a copy.
    for (int k = 0; k < 2; ++k) {
        const std::vector<float>& summe = m_summe[k];
        const std::vector<std::uint8_t>& lesungen = m_lesungen[k];
        const std::size_t n = std::min({lesungen.size(), summe.size(), g.size()});
        for (std::size_t i = 0; i < n; ++i)
            g[i] += Mittel(summe[i], lesungen[i]);
    }
    return g;
}

float TBlockBelege::Kopie(int pv_kopie, std::size_t pv_bit) const {
    if (pv_bit >= m_lesungen[pv_kopie].size())
        return 0.0F;
    return Mittel(m_summe[pv_kopie][pv_bit], m_lesungen[pv_kopie][pv_bit]);
}

std::vector<int> TBlockBelege::Streitig(float pv_klar, int pv_hoechstens) const {
    std::vector<int> streitig;
    if (m_summe[0].empty())
        return streitig;
    for (int i = 0; i < Bytes(); ++i) {
        bool anders = false;
        bool klar = true;
        for (int b = 0; b < ByteBits && klar; ++b) {
            const auto bit = static_cast<std::size_t>(i) * ByteBits + static_cast<std::size_t>(b);
            const float eins = Kopie(0, bit), zwei = Kopie(1, bit);
            klar = eins != 0.0F && zwei != 0.0F;
            anders = anders || ((eins > 0.0F) != (zwei > 0.0F) && std::fabs(eins) >= pv_klar &&
                                std::fabs(zwei) >= pv_klar);
        }
        if (!anders || !klar)
            continue;
        if (static_cast<int>(streitig.size()) == pv_hoechstens)
            return {};
        streitig.push_back(i);
    }
    return streitig;
}

void TBlockBelege::Uebernimm(int pv_index, int pv_kopie) {
    if (m_summe[0].empty() || pv_index < 0 || pv_index >= Bytes())
        return;
    for (int b = 0; b < ByteBits; ++b) {
        const auto bit = static_cast<std::size_t>(pv_index) * ByteBits + static_cast<std::size_t>(b);
        m_summe[1 - pv_kopie][bit] = m_summe[pv_kopie][bit];
        m_lesungen[1 - pv_kopie][bit] = m_lesungen[pv_kopie][bit];
    }
}

void TBlockBelege::Verdichte() {
    if (!m_lesungenJeByte.empty() || m_summe[0].empty())
        return;
    m_fremd = Gewichte();
    std::vector<std::uint8_t> jeByte(static_cast<std::size_t>(Bytes()));
    for (int i = 0; i < Bytes(); ++i)
        jeByte[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(Lesungen(i));
    m_lesungenJeByte = std::move(jeByte);
    for (int k = 0; k < 2; ++k) {
        m_mittel[k].resize(m_summe[k].size());
        for (std::size_t i = 0; i < m_mittel[k].size(); ++i)
            m_mittel[k][i] = static_cast<std::int8_t>(std::lround(Kopie(k, i)));
        std::vector<float>().swap(m_summe[k]);
        std::vector<std::uint8_t>().swap(m_lesungen[k]);
    }
}

namespace {

// The bits decided, the number of 1 bits among the data and the checksum the block carries.
struct TStand {
    std::vector<bool> bits;
    unsigned einsen = 0;
    unsigned pruefsumme = 0;
};

TStand Stand(const std::vector<float>& g, int anzahl) {
    TStand s;
    s.bits.resize(g.size());
    const std::size_t datenBits = static_cast<std::size_t>(anzahl) * ByteBits;
    for (std::size_t i = 0; i < g.size(); ++i) {
        s.bits[i] = g[i] > 0.0F;
        if (i < datenBits)
            s.einsen += s.bits[i] ? 1 : 0;
        else if (s.bits[i])
            s.pruefsumme |= 1u << (PruefsummeBits - 1 - static_cast<int>(i - datenBits));
    }
    s.einsen %= Modul;
    return s;
}

// What flipping bit i does to the number of 1 bits and to the checksum carried.
struct TKippen {
    std::size_t bit;
    float kosten;
    int einsen;
    int pruefsumme;
};

// The cheapest set of flips of the given size that makes the checksum agree, and the cost of the
// next cheapest; cost infinite where there is none.
struct TMenge {
    std::vector<std::size_t> bits;
    float kosten = std::numeric_limits<float>::infinity();
    float zweite = std::numeric_limits<float>::infinity();
    bool kippbar = false; // every bit of the cheapest set may be flipped
};

void Pruefe(TMenge& beste, const std::vector<const TKippen*>& menge, int fehlEinsen, int fehlSumme) {
    int einsen = 0;
    int summe = 0;
    float kosten = 0.0F;
    for (const TKippen* k : menge) {
        einsen += k->einsen;
        summe += k->pruefsumme;
        kosten += k->kosten;
    }
    // The number of 1 bits and the checksum must meet: flips of data bits move the one, flips of
    // checksum bits the other.
    if (((einsen - summe - (fehlSumme - fehlEinsen)) % static_cast<int>(Modul)) != 0)
        return;
    if (kosten < beste.kosten) {
        beste.zweite = beste.kosten;
        beste.kosten = kosten;
        beste.bits.clear();
        beste.kippbar = true;
        for (const TKippen* k : menge) {
            beste.bits.push_back(k->bit);
            beste.kippbar = beste.kippbar && k->kosten < BlockVereinigung::Kippbar;
        }
    } else if (kosten < beste.zweite) {
        beste.zweite = kosten;
    }
}

// The checksum tells how many 1 bits too many (positive) or too few the data holds. Where exactly
// that many data bits are uncertain that would each put it right by flipping (1s when too many,
// 0s when too few), and every checksum bit was read surely, no other way fits among the uncertain
// bits: they are flipped, all of them (`eins`: 1s were). Bounded by EinerleiHoechstens.
int KippeEinerlei(TStand& stand, const std::vector<float>& g, std::size_t datenBits, bool& eins) {
    for (std::size_t i = datenBits; i < g.size(); ++i)
        if (std::fabs(g[i]) < BlockVereinigung::Unsicher)
            return 0;
    int zuViel = static_cast<int>((stand.einsen + Modul - stand.pruefsumme) % Modul);
    if (zuViel > static_cast<int>(Modul / 2))
        zuViel -= static_cast<int>(Modul);
    const int anzahl = zuViel < 0 ? -zuViel : zuViel;
    if (anzahl == 0 || anzahl > BlockVereinigung::EinerleiHoechstens)
        return 0;
    std::vector<std::size_t> kippen;
    for (std::size_t i = 0; i < datenBits; ++i) {
        if (std::fabs(g[i]) >= BlockVereinigung::Unsicher || stand.bits[i] != (zuViel > 0))
            continue;
        if (static_cast<int>(kippen.size()) == anzahl)
            return 0;
        kippen.push_back(i);
    }
    if (static_cast<int>(kippen.size()) != anzahl)
        return 0;
    for (const std::size_t i : kippen)
        stand.bits[i] = !stand.bits[i];
    stand.einsen = stand.pruefsumme;
    eins = zuViel > 0;
    return anzahl;
}

// The bounded search: the cheapest set of flips among the least certain bits that makes the
// checksum agree, taken only when no other set comes close. Where few bits are weak, the sets are
// made of the bits below Kippbar. Where many are, a wrong bit may weigh more than the right one the
// search would flip: then every bit below Zweifel, and what lies beyond, counts as another way to
// mend the checksum, and the set taken must cost less than half of each. Returns the bits flipped.
int Suche(TStand& stand, const std::vector<float>& g, std::size_t datenBits) {
    using namespace BlockVereinigung;
    static_assert(GroessteMenge <= 2, "the search tries sets of one and of two flips");
    const auto schwache = std::count_if(g.begin(), g.end(), [](float x) { return std::fabs(x) < Zweifel; });
    const bool wenige = schwache <= HoechstensSchwach;
    // The least certain bits, data and checksum alike, and the first bit left out.
    std::vector<std::size_t> reihe(g.size());
    for (std::size_t i = 0; i < reihe.size(); ++i)
        reihe[i] = i;
    const std::size_t n = std::min<std::size_t>(Kandidaten, reihe.size());
    std::partial_sort(
        reihe.begin(), reihe.begin() + static_cast<std::ptrdiff_t>(std::min(n + 1, reihe.size())),
        reihe.end(), [&](std::size_t a, std::size_t b) {
            return std::fabs(g[a]) < std::fabs(g[b]) || (std::fabs(g[a]) == std::fabs(g[b]) && a < b);
        });
    // A set with a bit not among the candidates costs at least this.
    float jenseits = n < reihe.size() ? std::fabs(g[reihe[n]]) : std::numeric_limits<float>::infinity();
    std::vector<TKippen> kippen;
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t i = reihe[j];
        const float kosten = std::fabs(g[i]);
        if (kosten >= (wenige ? Kippbar : Zweifel)) {
            jenseits = kosten;
            break;
        }
        const int richtung = stand.bits[i] ? -1 : 1;
        if (i < datenBits)
            kippen.push_back({i, kosten, richtung, 0});
        else
            kippen.push_back(
                {i, kosten, 0, richtung * (1 << (PruefsummeBits - 1 - static_cast<int>(i - datenBits)))});
    }
    // Sets of one and two flips, the smallest size that has a set first.
    const int fehlEinsen = static_cast<int>(stand.einsen);
    const int fehlSumme = static_cast<int>(stand.pruefsumme);
    for (int groesse = 1; groesse <= GroessteMenge; ++groesse) {
        TMenge beste;
        const std::size_t k = kippen.size();
        for (std::size_t a = 0; a < k; ++a) {
            if (groesse == 1) {
                Pruefe(beste, {&kippen[a]}, fehlEinsen, fehlSumme);
                continue;
            }
            for (std::size_t b = a + 1; b < k; ++b)
                Pruefe(beste, {&kippen[a], &kippen[b]}, fehlEinsen, fehlSumme);
        }
        if (beste.bits.empty())
            continue;
        // Two sets fit almost as well (or as well): the checksum cannot tell them apart.
        if (!beste.kippbar || beste.zweite <= Vorsprung * beste.kosten ||
            (!wenige && jenseits <= Vorsprung * beste.kosten))
            return 0;
        for (const std::size_t bit : beste.bits)
            stand.bits[bit] = !stand.bits[bit];
        return groesse;
    }
    return 0;
}

} // namespace

TBlockEntscheidung BlockVereinigung::Entscheide(const std::vector<float>& pv_gewichte, int pv_anzahl) {
    TStand stand = Stand(pv_gewichte, pv_anzahl);
    TBlockEntscheidung e;
    const std::size_t datenBits = static_cast<std::size_t>(pv_anzahl) * ByteBits;
    e.gut = stand.einsen == stand.pruefsumme;
    if (!e.gut && (e.gekippt = Suche(stand, pv_gewichte, datenBits)) > 0)
        e.gut = true;
    bool einerlei = false, eins = false;
    if (!e.gut && (e.gekippt = KippeEinerlei(stand, pv_gewichte, datenBits, eins)) > 0)
        e.gut = einerlei = true;
    // The checksum counts 1 bits only: a weak 1 read as 0 and a weak 0 read as 1 hide each other.
    // Where two such bits are weak together, the checksum agreeing says nothing. Where the uncertain
    // bits of one value were all flipped, a bit of that value only a little surer could as well have
    // been one of those wrong: the flips stand as the best guess, the block is not good.
    if (e.gut) {
        float schwaechsteEins = Zweifel;
        float schwaechsteNull = Zweifel;
        for (std::size_t i = 0; i < datenBits; ++i) {
            const float gewicht = std::fabs(pv_gewichte[i]);
            if (stand.bits[i] != (pv_gewichte[i] > 0.0F))
                continue; // flipped: the search weighed it already
            float& schwaechste = stand.bits[i] ? schwaechsteEins : schwaechsteNull;
            schwaechste = std::min(schwaechste, gewicht);
        }
        if (schwaechsteEins + schwaechsteNull < Zweifel ||
            (einerlei && (eins ? schwaechsteEins : schwaechsteNull) < Zweifel))
            e.gut = false;
    }
    // A checksum bit nothing was read of confirms nothing (it decides as 0, as unread data bits do).
    if (std::any_of(pv_gewichte.begin() + static_cast<std::ptrdiff_t>(datenBits), pv_gewichte.end(),
                    [](float g) { return g == 0.0F; }))
        e.gut = false;
    e.bytes.assign(static_cast<std::size_t>(pv_anzahl), 0);
    e.unsicher.assign(static_cast<std::size_t>(pv_anzahl), false);
    for (std::size_t i = 0; i < datenBits; ++i) {
        const std::size_t byte = i / ByteBits;
        if (stand.bits[i])
            e.bytes[byte] |= static_cast<std::uint8_t>(1u << (ByteBits - 1 - static_cast<int>(i % ByteBits)));
        if (std::fabs(pv_gewichte[i]) < Unsicher || (stand.bits[i] != (pv_gewichte[i] > 0.0F)))
            e.unsicher[byte] = true;
    }
    return e;
}

TBlockEntscheidung BlockVereinigung::EntscheideMitKopien(TBlockBelege& pv_belege) {
    const std::vector<float> gewichte = pv_belege.Gewichte();
    TBlockEntscheidung e = Entscheide(gewichte, pv_belege.Anzahl());
    if (e.gut)
        return e;
    const std::vector<int> streitig = pv_belege.Streitig(Zweifel, StreitHoechstens);
    if (streitig.empty())
        return e;
    // Each choice as if both copies had read the chosen reading.
    const auto n = static_cast<unsigned>(streitig.size());
    int gewaehlt = -1;
    for (unsigned wahl = 0; wahl < (1u << n); ++wahl) {
        std::vector<float> g = gewichte;
        for (unsigned j = 0; j < n; ++j)
            for (int b = 0; b < ByteBits; ++b) {
                const auto bit =
                    static_cast<std::size_t>(streitig[j]) * ByteBits + static_cast<std::size_t>(b);
                g[bit] = 2.0F * pv_belege.Kopie(static_cast<int>(wahl >> j & 1u), bit);
            }
        const TBlockEntscheidung versuch = Entscheide(g, pv_belege.Anzahl());
        if (!versuch.gut || versuch.gekippt != 0)
            continue;
        if (gewaehlt >= 0)
            return e; // two choices agree with the checksum: it cannot tell them apart
        gewaehlt = static_cast<int>(wahl);
    }
    if (gewaehlt < 0)
        return e;
    for (unsigned j = 0; j < n; ++j)
        pv_belege.Uebernimm(streitig[j], static_cast<int>(static_cast<unsigned>(gewaehlt) >> j & 1u));
    TBlockEntscheidung gewaehlte = Entscheide(pv_belege.Gewichte(), pv_belege.Anzahl());
    if (!gewaehlte.gut)
        return e;
    for (std::size_t bit = 0; bit < gewichte.size() && bit < gewaehlte.bytes.size() * ByteBits; ++bit) {
        const bool wert =
            (gewaehlte.bytes[bit / ByteBits] >> (ByteBits - 1 - static_cast<int>(bit % ByteBits)) & 1) != 0;
        if (wert != (gewichte[bit] > 0.0F)) {
            ++gewaehlte.gekippt;
            gewaehlte.unsicher[bit / ByteBits] = true;
        }
    }
    return gewaehlte;
}
