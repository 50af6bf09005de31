#include "BandMarken.h"

#include <algorithm>

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

} // namespace

std::int64_t SucheMarke(const TBelegFolge& q, std::int64_t von, std::int64_t bis, int impulse, int fehler,
                        std::int64_t* pv_nachPause) {
    von = std::max(von, q.Anfang() + VorlaufProbe);
    bis = std::min(bis, q.Ende() - 2 * impulse - fehler - 1);
    if (pv_nachPause)
        *pv_nachPause = -1;
    for (std::int64_t i = von; i < bis; ++i) {
        if (!IstLang(q, i) || q.Lange(i - VorlaufProbe, i) > VorlaufFehler)
            continue;
        // Where the long run gives way to the short one: pulses a dropout swallowed move it
        // closer, and pulses nothing is known of count for neither run.
        for (std::int64_t k = i + impulse - MarkeVerloren * fehler; k <= i + impulse + fehler; ++k)
            if (q.Kurze(i, k) <= fehler && q.Lange(k, k + impulse) <= fehler && q.Lange(i, k) >= impulse / 2)
                return i;
        if (pv_nachPause && (*pv_nachPause = GeschnittenBei(q, i, impulse, fehler)) >= 0)
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
