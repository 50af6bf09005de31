#include "BelegFolge.h"

#include <algorithm>

void TBelegFolge::Haenge(const TImpulsBeleg* pv_belege, std::size_t pv_anzahl) {
    for (std::size_t i = 0; i < pv_anzahl; ++i) {
        m_eintraege.push_back({pv_belege[i], m_lange, m_kurze});
        m_lange += pv_belege[i].IstLang() ? 1 : 0;
        m_kurze += pv_belege[i].wert < 0 ? 1 : 0;
    }
}

void TBelegFolge::Vergiss(std::int64_t pv_bis) {
    if (pv_bis <= m_anfang)
        return;
    const auto weg = static_cast<std::size_t>(std::min(pv_bis, Ende()) - m_anfang);
    // Moved once the forgotten part is the larger one, so that each pulse is moved about once.
    if (weg < m_eintraege.size() / 2)
        return;
    m_eintraege.erase(m_eintraege.begin(), m_eintraege.begin() + static_cast<std::ptrdiff_t>(weg));
    m_anfang += static_cast<std::int64_t>(weg);
}

std::int64_t TBelegFolge::ErsterAb(std::int64_t pv_frame) const {
    const auto treffer =
        std::lower_bound(m_eintraege.begin(), m_eintraege.end(), pv_frame,
                         [](const TEintrag& e, std::int64_t f) { return e.beleg.beginn < f; });
    return m_anfang + (treffer - m_eintraege.begin());
}
