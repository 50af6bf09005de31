#include "BelegFolge.h"

#include <algorithm>

void TBelegFolge::Haenge(const TImpulsBeleg* pv_belege, std::size_t pv_anzahl) {
    std::int64_t i = Ende();
    for (std::size_t k = 0; k < pv_anzahl; ++k, ++i) {
        const TImpulsBeleg& b = pv_belege[k];
        const auto bit = static_cast<int>(i & GruppenMaske);
        if (bit == 0)
            m_gruppen.push_back({m_lange, m_kurze, 0, 0});
        TGruppe& g = m_gruppen.back();
        m_beginn.push_back(b.beginn);
        m_wert.push_back(b.wert);
        const bool lang = b.IstLang();
        const bool kurz = b.wert < 0;
        g.lang |= static_cast<std::uint64_t>(lang) << bit;
        g.kurz |= static_cast<std::uint64_t>(kurz) << bit;
        m_lange += lang ? 1 : 0;
        m_kurze += kurz ? 1 : 0;
    }
}

void TBelegFolge::Vergiss(std::int64_t pv_bis) {
    if (pv_bis <= m_anfang)
        return;
    const std::int64_t anfang = std::min(pv_bis, Ende());
    const auto weg = static_cast<std::size_t>(anfang - m_anfang);
    // Moved once the forgotten part is the larger one, so that each pulse is moved about once.
    if (weg < m_beginn.size() / 2)
        return;
    const auto gruppenWeg = static_cast<std::size_t>((anfang >> GruppenBits) - (m_anfang >> GruppenBits));
    m_beginn.erase(m_beginn.begin(), m_beginn.begin() + static_cast<std::ptrdiff_t>(weg));
    m_wert.erase(m_wert.begin(), m_wert.begin() + static_cast<std::ptrdiff_t>(weg));
    m_gruppen.erase(m_gruppen.begin(),
                    m_gruppen.begin() + static_cast<std::ptrdiff_t>(std::min(gruppenWeg, m_gruppen.size())));
    m_anfang = anfang;
}

std::int64_t TBelegFolge::ErsterAb(std::int64_t pv_frame) const {
    const auto treffer = std::lower_bound(m_beginn.begin(), m_beginn.end(), pv_frame,
                                          [](std::int32_t beginn, std::int64_t f) { return beginn < f; });
    return m_anfang + (treffer - m_beginn.begin());
}
