#include "BandMarken.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace BandMarken {

namespace {

bool IstLang(const TBelegFolge& q, std::int64_t i) {
    return q[i].wert > 0;
}

// The mark whose long run begins at pulse i, its short run cut off by a dropout: short pulses from
// where the long run gives way, up to a pause that could hold the rest of them. The first pulse
// after the pause; -1 where there is no such mark.
std::int64_t GeschnittenBei(const TBelegFolge& q, std::int64_t i, int impulse, int fehler) {
    // The leader before tells the length of a short pulse.
    const double kurz = static_cast<double>(q[i].beginn - q[i - VorlaufProbe].beginn) / VorlaufProbe;
    if (kurz <= 0.0)
        return -1;
    for (std::int64_t k = i + impulse - MarkeVerloren * fehler; k <= i + impulse + fehler; ++k) {
        if (q.Kurze(i, k) > fehler || q.Lange(i, k) < impulse / 2)
            continue;
        for (std::int64_t j = k + 1; j <= k + impulse && j < q.Ende(); ++j) {
            if (q.Lange(k, j) > fehler)
                break;
            const double pause = static_cast<double>(q[j].beginn - q[j - 1].beginn);
            if (pause <= PauseKurze * kurz)
                continue;
            if (static_cast<double>(j - k) + pause / kurz >= impulse - fehler)
                return j;
            break;
        }
    }
    return -1;
}

// The mark whose long run a dropout cut off after its first pulses at i: the pause holds the rest
// of the long run and of the short run but for the few short pulses after it, and then the long
// pulse that ends the mark follows; the pause lasts as long as the pulses it swallowed, within
// PausenToleranz, and the block's start bits follow that pulse (else the block may begin in the
// pause). The first pulse after the pause (-1: no such mark), and that long pulse (-1: not seen).
std::pair<std::int64_t, std::int64_t> LangGeschnittenBei(const TBelegFolge& q, std::int64_t i, int impulse,
                                                         int fehler) {
    const double kurz = static_cast<double>(q[i].beginn - q[i - VorlaufProbe].beginn) / VorlaufProbe;
    for (std::int64_t j = i + 1; kurz > 0.0 && j < i + impulse; ++j) {
        const double pause = static_cast<double>(q[j].beginn - q[j - 1].beginn);
        if (pause <= PauseKurze * kurz)
            continue;
        if (q.Kurze(i, j) > fehler)
            break;
        std::int64_t k = j;
        while (k < j + impulse && !IstLang(q, k))
            ++k;
        // Pulse j - 1 and the long and short pulses the pause swallowed; a long run after the
        // short pulses would be a whole mark, not a block.
        const auto gesehen = static_cast<double>(j - i);
        const auto kurzeDanach = static_cast<double>(k - j);
        const double erwartet =
            (impulse - gesehen + 1.0) * KopieRahmen::LangZuKurz * kurz + (impulse - kurzeDanach) * kurz;
        if (!IstLang(q, k) || q.Kurze(k, k + impulse / 2) <= fehler ||
            std::fabs(pause - erwartet) > PausenToleranz * erwartet + 2.0 * kurz)
            break;
        int startbits = 0;
        for (int b = 0; b < StartbitProbe; ++b)
            startbits += IstLang(q, k + 1 + static_cast<std::int64_t>(b) * KopieRahmen::BitsProByte) ? 1 : 0;
        return {j, kurzeDanach > 0.0 && startbits >= StartbitProbe - 1 ? k : -1};
    }
    return {-1, -1};
}

} // namespace

std::int64_t SucheMarke(const TBelegFolge& q, std::int64_t von, std::int64_t bis, int impulse, int fehler,
                        std::int64_t* pv_nachPause, std::int64_t* pv_ende) {
    von = std::max(von, q.Anfang() + VorlaufProbe);
    bis = std::min(bis, q.Ende() - Vorschau(impulse, fehler));
    if (pv_nachPause)
        *pv_nachPause = -1;
    if (pv_ende)
        *pv_ende = -1;
    for (std::int64_t i = von; i < bis; ++i) {
        if (!IstLang(q, i) || q.Lange(i - VorlaufProbe, i) > VorlaufFehler)
            continue;
        // Where the long run gives way to the short one: pulses a dropout swallowed move it
        // closer, and pulses nothing is known of count for neither run.
        for (std::int64_t k = i + impulse - MarkeVerloren * fehler; k <= i + impulse + fehler; ++k)
            if (q.Kurze(i, k) <= fehler && q.Lange(k, k + impulse) <= fehler && q.Lange(i, k) >= impulse / 2)
                return i;
        if (!pv_nachPause)
            continue;
        if ((*pv_nachPause = GeschnittenBei(q, i, impulse, fehler)) >= 0)
            return i;
        const auto [nachPause, ende] = LangGeschnittenBei(q, i, impulse, fehler);
        if (nachPause >= 0 && ende >= 0 && pv_ende) {
            *pv_ende = ende;
            return i;
        }
        if ((*pv_nachPause = nachPause) >= 0)
            return i;
    }
    return -1;
}

std::int64_t MarkenEnde(const TBelegFolge& q, std::int64_t marke, int impulse) {
    const std::int64_t von = marke + impulse + impulse / 2 - MarkeVerloren * MarkenFehler;
    const std::int64_t bis = std::min(q.Ende(), marke + 2 * impulse + MarkenFehler + 1);
    for (std::int64_t k = von; k < bis; ++k)
        if (IstLang(q, k) && q.Lange(k - impulse / 2, k) <= 1)
            return k;
    return marke + 2 * impulse;
}

} // namespace BandMarken
