// Filling a copy's lost bytes where one split or joined pulse explains the pulses between the
// bytes framed around them.
#include "KopieLuecken.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>

namespace KopieLuecken {
namespace {

using KopieRahmen::BitsProByte;
using KopieRahmen::DatenBits;

// The values each byte of one stretch could have, from the ways its pulses could have been.
class TWege {
public:
    explicit TWege(int bytes) : m_bytes(bytes) {}

    // One way: a class per pulse (true: long), BitsProByte per byte; kept where every start bit
    // is long.
    void Nimm(const std::vector<bool>& lang) {
        for (int b = 0; b < m_bytes; ++b)
            if (!lang[static_cast<std::size_t>(b * BitsProByte)])
                return;
        for (int b = 0; b < m_bytes; ++b) {
            std::uint8_t wert = 0;
            for (int bit = 1; bit <= DatenBits; ++bit)
                wert = static_cast<std::uint8_t>(
                    wert << 1 | (lang[static_cast<std::size_t>(b * BitsProByte + bit)] ? 1 : 0));
            m_werte[static_cast<std::size_t>(b)].push_back(wert);
        }
    }

    void Melde(int erstes, std::vector<TKandidaten>& ergebnis) {
        for (int b = 0; b < m_bytes; ++b) {
            std::vector<std::uint8_t>& w = m_werte[static_cast<std::size_t>(b)];
            if (w.empty())
                continue;
            std::sort(w.begin(), w.end());
            w.erase(std::unique(w.begin(), w.end()), w.end());
            ergebnis.push_back({erstes + b, std::move(w)});
        }
    }

private:
    int m_bytes;
    std::array<std::vector<std::uint8_t>, HoechstensBytes> m_werte;
};

// The pulses [g0, g1) of a stretch of `bytes` lost bytes: one too few or one too many.
void Luecke(const TBelegFolge& q, std::int64_t g0, std::int64_t g1, int erstes, int bytes, double kurz,
            std::vector<TKandidaten>& ergebnis) {
    const std::int64_t erwartet = static_cast<std::int64_t>(bytes) * BitsProByte;
    const std::int64_t anzahl = g1 - g0;
    if ((anzahl != erwartet - 1 && anzahl != erwartet + 1) || !q.Hat(g0) || !q.Hat(g1))
        return;
    const double lang = KopieRahmen::LangZuKurz * kurz;
    const double passt = Passt * kurz;
    const double mitte = 0.5 * (kurz + lang);
    const auto dauer = [&](std::int64_t j) { return static_cast<double>(q[j + 1].beginn - q[j].beginn); };
    const auto istLang = [&](std::int64_t j) {
        const int wert = q[j].wert;
        return wert != 0 ? wert > 0 : dauer(j) >= mitte;
    };
    const auto laenge = [&](bool l) { return l ? lang : kurz; };
    TWege wege(bytes);
    std::vector<bool> folge;
    folge.reserve(static_cast<std::size_t>(erwartet));
    const auto klassen = [&](std::int64_t von, std::int64_t bis) {
        for (std::int64_t j = von; j < bis; ++j)
            folge.push_back(istLang(j));
    };
    if (anzahl == erwartet - 1) {
        // One pulse is two: each pair of classes whose lengths add up to it.
        for (std::int64_t j = g0; j < g1; ++j)
            for (const bool a : {false, true})
                for (const bool b : {false, true}) {
                    if (std::abs(dauer(j) - laenge(a) - laenge(b)) > passt)
                        continue;
                    folge.clear();
                    klassen(g0, j);
                    folge.push_back(a);
                    folge.push_back(b);
                    klassen(j + 1, g1);
                    wege.Nimm(folge);
                }
    } else {
        // Two pulses are one: each neighbouring pair whose lengths add up to a class.
        for (std::int64_t j = g0; j + 1 < g1; ++j)
            for (const bool a : {false, true}) {
                if (std::abs(dauer(j) + dauer(j + 1) - laenge(a)) > passt)
                    continue;
                folge.clear();
                klassen(g0, j);
                folge.push_back(a);
                klassen(j + 2, g1);
                wege.Nimm(folge);
            }
    }
    wege.Melde(erstes, ergebnis);
}

// The bits the pulses [g0, g1) of a stretch of `bytes` lost bytes give on either side of the one
// pulse a dropout swallowed others in.
void Rand(const TBelegFolge& q, std::int64_t g0, std::int64_t g1, int erstes, int bytes, double kurz,
          std::int8_t hoechstens, std::vector<TRand>& ergebnis) {
    const std::int64_t erwartet = static_cast<std::int64_t>(bytes) * BitsProByte;
    const std::int64_t fehlend = erwartet - (g1 - g0);
    if (fehlend < 1 || !q.Hat(g0) || !q.Hat(g1))
        return;
    const double lang = KopieRahmen::LangZuKurz * kurz;
    const double luecke = KopieRahmen::LueckenGrenze * lang;
    std::int64_t loch = -1;
    for (std::int64_t j = g0; j < g1; ++j)
        if (q[j + 1].beginn - q[j].beginn > luecke) {
            if (loch >= 0)
                return;
            loch = j;
        }
    if (loch < 0 ||
        q[loch + 1].beginn - q[loch].beginn > static_cast<double>(fehlend + 1) * lang + Passt * kurz)
        return;
    // Each pulse's place in the stretch's pattern: from its start before the dropout, from the end
    // after it.
    const auto platz = [&](std::int64_t j) { return j < loch ? j - g0 : erwartet - (g1 - j); };
    for (std::int64_t j = g0; j < g1; ++j)
        if (j != loch && platz(j) % BitsProByte == 0 && !q[j].IstLang())
            return;
    std::array<TRand, HoechstensBytes> rand{};
    for (int b = 0; b < bytes; ++b)
        rand[static_cast<std::size_t>(b)].index = erstes + b;
    for (std::int64_t j = g0; j < g1; ++j) {
        const std::int64_t t = platz(j);
        if (j == loch || t % BitsProByte == 0)
            continue;
        const int wert = std::clamp<int>(q[j].wert, -hoechstens, hoechstens);
        rand[static_cast<std::size_t>(t / BitsProByte)].bits[t % BitsProByte - 1] =
            static_cast<std::int8_t>(wert);
    }
    for (int b = 0; b < bytes; ++b) {
        const TRand& r = rand[static_cast<std::size_t>(b)];
        if (std::any_of(std::begin(r.bits), std::end(r.bits), [](std::int8_t x) { return x != 0; }))
            ergebnis.push_back(r);
    }
}

// Calls `tu(g0, g1, erstes, bytes)` for each stretch of at most HoechstensBytes lost bytes between
// two framed ones: its pulses [g0, g1), its first byte's index and its length in bytes.
template <typename F> void JedeLuecke(const std::vector<KopieRahmen::TByte>& kopie, F tu) {
    const auto n = static_cast<int>(kopie.size());
    int i = 1;
    while (i < n) {
        if (kopie[static_cast<std::size_t>(i)].start >= 0 ||
            kopie[static_cast<std::size_t>(i - 1)].start < 0) {
            ++i;
            continue;
        }
        int ende = i;
        while (ende < n && kopie[static_cast<std::size_t>(ende)].start < 0)
            ++ende;
        if (ende < n && ende - i <= HoechstensBytes)
            tu(kopie[static_cast<std::size_t>(i - 1)].start + BitsProByte,
               kopie[static_cast<std::size_t>(ende)].start, i, ende - i);
        i = ende;
    }
}

} // namespace

std::vector<TRand> Raender(const TBelegFolge& q, const std::vector<KopieRahmen::TByte>& kopie, double kurz,
                           std::int8_t hoechstens) {
    std::vector<TRand> ergebnis;
    if (kurz > 0.0)
        JedeLuecke(kopie, [&](std::int64_t g0, std::int64_t g1, int erstes, int bytes) {
            Rand(q, g0, g1, erstes, bytes, kurz, hoechstens, ergebnis);
        });
    return ergebnis;
}

std::vector<TKandidaten> Finde(const TBelegFolge& q, const std::vector<KopieRahmen::TByte>& kopie,
                               double kurz) {
    std::vector<TKandidaten> ergebnis;
    if (kurz > 0.0)
        JedeLuecke(kopie, [&](std::int64_t g0, std::int64_t g1, int erstes, int bytes) {
            Luecke(q, g0, g1, erstes, bytes, kurz, ergebnis);
        });
    return ergebnis;
}

std::vector<TFuellung> Einig(const std::vector<TKandidaten> (&kandidaten)[2]) {
    std::vector<TFuellung> ergebnis;
    std::size_t n[2] = {0, 0};
    while (n[0] < kandidaten[0].size() || n[1] < kandidaten[1].size()) {
        // The next index either copy looked into, and each copy's values for it.
        int index = std::numeric_limits<int>::max();
        for (int k = 0; k < 2; ++k)
            if (n[k] < kandidaten[k].size())
                index = std::min(index, kandidaten[k][n[k]].index);
        const std::vector<std::uint8_t>* werte[2] = {nullptr, nullptr};
        for (int k = 0; k < 2; ++k)
            if (n[k] < kandidaten[k].size() && kandidaten[k][n[k]].index == index)
                werte[k] = &kandidaten[k][n[k]++].werte;
        std::vector<std::uint8_t> gemeinsam;
        if (werte[0] != nullptr && werte[1] != nullptr)
            std::set_intersection(werte[0]->begin(), werte[0]->end(), werte[1]->begin(), werte[1]->end(),
                                  std::back_inserter(gemeinsam));
        else
            gemeinsam = werte[0] != nullptr ? *werte[0] : *werte[1];
        if (gemeinsam.size() == 1)
            ergebnis.push_back({index, gemeinsam[0], {werte[0] != nullptr, werte[1] != nullptr}});
    }
    return ergebnis;
}

} // namespace KopieLuecken
