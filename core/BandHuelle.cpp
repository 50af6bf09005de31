#include "BandHuelle.h"

#include <cmath>

namespace {
// The common scale's zero line, and the distance from it to full scale.
constexpr int Nullinie = 128;
constexpr double VollAusschlag = 128.0;
} // namespace

void THuelle::Nimm(const std::uint8_t* pv_frames, std::int32_t pv_anzahl) {
    if (m_stufen.empty())
        m_stufen.emplace_back();
    std::vector<TSpanne>& fein = m_stufen.front();
    m_frames += pv_anzahl;
    const std::uint8_t* p = pv_frames;
    const std::uint8_t* const ende = pv_frames + pv_anzahl;
    const auto nimm = [this](const std::uint8_t* von, const std::uint8_t* bis) {
        for (; von < bis; ++von) {
            m_offen.tief = std::min(m_offen.tief, *von);
            m_offen.hoch = std::max(m_offen.hoch, *von);
        }
    };
    // The entry in hand first, then whole entries (a loop the compiler vectorises), then the rest.
    if (m_imOffenen > 0) {
        const std::int64_t fehlen = std::min<std::int64_t>(Grundbreite - m_imOffenen, ende - p);
        nimm(p, p + fehlen);
        p += fehlen;
        m_imOffenen += fehlen;
        if (m_imOffenen < Grundbreite)
            return;
        fein.push_back(m_offen);
        m_offen = TSpanne();
        m_imOffenen = 0;
    }
    for (; ende - p >= Grundbreite; p += Grundbreite) {
        std::uint8_t tief = 255;
        std::uint8_t hoch = 0;
        for (int i = 0; i < Grundbreite; ++i) {
            tief = std::min(tief, p[i]);
            hoch = std::max(hoch, p[i]);
        }
        fein.push_back({tief, hoch});
    }
    nimm(p, ende);
    m_imOffenen = ende - p;
}

void THuelle::Schliesse() {
    if (m_stufen.empty())
        return;
    if (m_imOffenen > 0) {
        m_stufen.front().push_back(m_offen);
        m_offen = TSpanne();
        m_imOffenen = 0;
    }
    m_stufen.front().shrink_to_fit();
    while (m_stufen.back().size() > 1) {
        const std::vector<TSpanne>& unten = m_stufen.back();
        std::vector<TSpanne> oben((unten.size() + Faktor - 1) / Faktor);
        for (std::size_t i = 0; i < unten.size(); ++i)
            oben[i / Faktor].Nimm(unten[i]);
        m_stufen.push_back(std::move(oben));
    }
}

void THuelle::Leere() {
    *this = THuelle();
}

THuelle::TSpanne THuelle::Spanne(std::int64_t pv_von, std::int64_t pv_bis) const {
    TSpanne ergebnis;
    pv_von = std::max<std::int64_t>(pv_von, 0);
    pv_bis = std::min(pv_bis, m_frames);
    if (m_stufen.empty() || pv_von >= pv_bis)
        return ergebnis;
    // The coarsest level whose entries are no longer than the stretch: a few entries at most.
    std::size_t stufe = 0;
    std::int64_t breite = Grundbreite;
    while (stufe + 1 < m_stufen.size() && breite * Faktor <= pv_bis - pv_von) {
        ++stufe;
        breite *= Faktor;
    }
    const std::vector<TSpanne>& eintraege = m_stufen[stufe];
    const auto erster = static_cast<std::size_t>(pv_von / breite);
    const auto letzter = std::min(static_cast<std::size_t>((pv_bis - 1) / breite), eintraege.size() - 1);
    for (std::size_t i = erster; i <= letzter; ++i)
        ergebnis.Nimm(eintraege[i]);
    return ergebnis;
}

std::size_t THuelle::Bytes() const {
    std::size_t summe = 0;
    for (const auto& s : m_stufen)
        summe += s.capacity() * sizeof(TSpanne);
    return summe;
}

void TPegel::Nimm(const std::uint8_t* pv_frames, std::int32_t pv_anzahl) {
    m_frames += pv_anzahl;
    for (std::int32_t i = 0; i < pv_anzahl;) {
        const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(Breite - m_imOffenen, pv_anzahl - i));
        std::uint32_t summe = 0; // 1024 squares of at most 128^2 fit
        for (std::int32_t k = i; k < i + n; ++k) {
            const int abstand = pv_frames[k] - Nullinie;
            summe += static_cast<std::uint32_t>(abstand * abstand);
        }
        m_summe += summe;
        m_imOffenen += n;
        i += n;
        if (m_imOffenen == Breite) {
            m_werte.push_back(
                static_cast<float>(std::sqrt(static_cast<double>(m_summe) / Breite) / VollAusschlag));
            m_summe = 0;
            m_imOffenen = 0;
        }
    }
}

void TPegel::Schliesse() {
    if (m_imOffenen > 0)
        m_werte.push_back(
            static_cast<float>(std::sqrt(static_cast<double>(m_summe) / m_imOffenen) / VollAusschlag));
    m_summe = 0;
    m_imOffenen = 0;
    m_werte.shrink_to_fit();
}

void TPegel::Leere() {
    *this = TPegel();
}

TPegel::TBereich TPegel::Bereich(std::int64_t pv_von, std::int64_t pv_bis) const {
    TBereich b;
    pv_von = std::max<std::int64_t>(pv_von, 0);
    pv_bis = std::min<std::int64_t>({pv_bis, m_frames, static_cast<std::int64_t>(m_werte.size()) * Breite});
    if (pv_von >= pv_bis)
        return b;
    const auto erster = static_cast<std::size_t>(pv_von / Breite);
    const auto letzter = static_cast<std::size_t>((pv_bis - 1) / Breite);
    b.leer = false;
    b.tief = b.hoch = m_werte[erster];
    for (std::size_t i = erster + 1; i <= letzter; ++i) {
        b.tief = std::min(b.tief, m_werte[i]);
        b.hoch = std::max(b.hoch, m_werte[i]);
    }
    return b;
}
