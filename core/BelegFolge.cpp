#include "BelegFolge.h"

#include <algorithm>

void TBelegFolge::Haenge(const TImpulsBeleg* pv_belege, std::size_t pv_anzahl) {
    m_belege.insert(m_belege.end(), pv_belege, pv_belege + pv_anzahl);
    std::int64_t lange = m_langeVor.back();
    std::int64_t kurze = m_kurzeVor.back();
    for (std::size_t i = 0; i < pv_anzahl; ++i) {
        lange += pv_belege[i].IstLang() ? 1 : 0;
        kurze += pv_belege[i].wert < 0 ? 1 : 0;
        m_langeVor.push_back(lange);
        m_kurzeVor.push_back(kurze);
    }
}

void TBelegFolge::Vergiss(std::int64_t pv_bis) {
    if (pv_bis <= m_anfang)
        return;
    const auto weg = static_cast<std::size_t>(std::min(pv_bis, Ende()) - m_anfang);
    // Moved once the forgotten part is the larger one, so that each pulse is moved about once.
    if (weg < m_belege.size() / 2)
        return;
    m_belege.erase(m_belege.begin(), m_belege.begin() + static_cast<std::ptrdiff_t>(weg));
    m_langeVor.erase(m_langeVor.begin(), m_langeVor.begin() + static_cast<std::ptrdiff_t>(weg));
    m_kurzeVor.erase(m_kurzeVor.begin(), m_kurzeVor.begin() + static_cast<std::ptrdiff_t>(weg));
    m_anfang += static_cast<std::int64_t>(weg);
}

std::int64_t TBelegFolge::ErsterAb(std::int64_t pv_frame) const {
    const auto treffer = std::lower_bound(m_belege.begin(), m_belege.end(), pv_frame,
                                          [](const TImpulsBeleg& b, std::int64_t f) { return b.beginn < f; });
    return m_anfang + (treffer - m_belege.begin());
}
