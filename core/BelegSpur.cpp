#include "BelegSpur.h"

#include <algorithm>
#include <limits>

void TBelegSpur::Nimm(const TImpulsBeleg* pv_belege, std::size_t pv_anzahl) {
    for (std::size_t i = 0; i < pv_anzahl; ++i) {
        const TImpulsBeleg& b = pv_belege[i];
        const std::size_t index = m_werte.size();
        const std::int64_t schritt = static_cast<std::int64_t>(b.beginn) - m_letzter;
        const bool anker = m_anker.empty() || schritt < 0 ||
                           schritt > std::numeric_limits<std::uint8_t>::max() ||
                           index - m_anker.back().index >= AnkerAbstand;
        if (anker)
            m_anker.push_back({index, b.beginn});
        m_schritte.push_back(anker ? 0 : static_cast<std::uint8_t>(schritt));
        m_werte.push_back(b.wert);
        m_letzter = b.beginn;
    }
}

void TBelegSpur::Leere() {
    *this = TBelegSpur();
}

void TBelegSpur::Schliesse() {
    m_schritte.shrink_to_fit();
    m_werte.shrink_to_fit();
    m_anker.shrink_to_fit();
}

std::vector<TImpulsBeleg> TBelegSpur::Zwischen(std::int64_t pv_von, std::int64_t pv_bis) const {
    std::vector<TImpulsBeleg> ergebnis;
    if (m_anker.empty() || pv_von >= pv_bis)
        return ergebnis;
    // The last anchor before the stretch (the pulses go forward in time: so do the anchors).
    auto anker = std::upper_bound(m_anker.begin(), m_anker.end(), pv_von,
                                  [](std::int64_t frame, const TAnker& a) { return frame < a.beginn; });
    if (anker != m_anker.begin())
        --anker;
    auto naechsterAnker = anker;
    std::int64_t beginn = 0;
    TImpulsBeleg vorher;
    bool hatVorher = false;
    for (std::size_t i = anker->index; i < m_werte.size(); ++i) {
        if (naechsterAnker != m_anker.end() && naechsterAnker->index == i) {
            beginn = naechsterAnker->beginn;
            ++naechsterAnker;
        } else {
            beginn += m_schritte[i];
        }
        const TImpulsBeleg b{static_cast<std::int32_t>(beginn), m_werte[i]};
        if (beginn < pv_von) {
            vorher = b;
            hatVorher = true;
            continue;
        }
        if (hatVorher) {
            ergebnis.push_back(vorher);
            hatVorher = false;
        }
        ergebnis.push_back(b);
        if (beginn >= pv_bis)
            break;
    }
    if (hatVorher)
        ergebnis.push_back(vorher);
    return ergebnis;
}

std::size_t TBelegSpur::Bytes() const {
    return m_schritte.capacity() + m_werte.capacity() + m_anker.capacity() * sizeof(TAnker);
}
