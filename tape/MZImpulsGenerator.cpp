#include "MZImpulsGenerator.h"

#include "MZModellZeiten.h"

#include <algorithm>
#include <cstring>

namespace {

using MZModellZeiten::HundertstelProSekunde;

// rate x duration / 1 s, the halfway case going to the even neighbour.
std::int32_t RundeZurGeraden(std::uint64_t produkt) {
    std::uint64_t q = produkt / HundertstelProSekunde;
    const std::uint64_t rest2 = 2 * (produkt % HundertstelProSekunde);
    if (rest2 > HundertstelProSekunde || (rest2 == HundertstelProSekunde && (q & 1) != 0))
        ++q;
    return static_cast<std::int32_t>(q);
}

std::int32_t RundeAuf(std::uint64_t produkt) {
    return static_cast<std::int32_t>((produkt + HundertstelProSekunde - 1) / HundertstelProSekunde);
}

std::uint8_t Pegel(std::uint8_t pegel, bool invertiert) {
    return invertiert ? static_cast<std::uint8_t>(255 - pegel) : pegel;
}

} // namespace

TMZImpulsGenerator::TImpulsLaengen
TMZImpulsGenerator::BerechneImpulsLaengen(int modell, std::uint32_t sampleRate, bool lang) {
    const TMZModellZeiten& d = MZModellZeiten::Von(modell);
    const std::uint64_t r = sampleRate;
    TImpulsLaengen k{RundeZurGeraden(r * (lang ? d.langErster : d.kurzErster)),
                     RundeAuf(r * (lang ? d.langZweiter : d.kurzZweiter))};
    // At very low rates a part still gets one sample, so that every pulse has both edges.
    if (k.ersterTeil == 0)
        k.ersterTeil = 1;
    if (k.zweiterTeil == 0)
        k.zweiterTeil = 1;
    return k;
}

TMZImpulsGenerator::TMZImpulsGenerator(int pv_modell, std::uint32_t pv_sampleRate, bool pv_invertiert)
    : m_sampleRate(pv_sampleRate) {
    const auto impuls = [&](bool lang) {
        const TImpulsLaengen k = BerechneImpulsLaengen(pv_modell, pv_sampleRate, lang);
        return std::array<TLauf, 2>{TLauf{Pegel(PegelErsterTeil, pv_invertiert), k.ersterTeil},
                                    TLauf{Pegel(PegelZweiterTeil, pv_invertiert), k.zweiterTeil}};
    };
    m_lang = impuls(true);
    m_kurz = impuls(false);
}

TMZTonbandSignal::TMZTonbandSignal(std::string pv_bits, const TMZImpulsGenerator& pv_generator)
    : m_bits(std::move(pv_bits)), m_generator(pv_generator) {
    const auto einsen = static_cast<std::int64_t>(std::count(m_bits.begin(), m_bits.end(), '1'));
    const auto nullen = static_cast<std::int64_t>(m_bits.size()) - einsen;
    const auto dauer = [](const std::array<TMZImpulsGenerator::TLauf, 2>& impuls) {
        return std::int64_t{impuls[0].anzahl} + impuls[1].anzahl;
    };
    m_anzahlSamples = 2 * std::int64_t{m_generator.Stillelauf().anzahl} +
                      einsen * dauer(m_generator.Impuls(true)) + nullen * dauer(m_generator.Impuls(false));
}

bool TMZTonbandSignal::HoleLauf(TMZImpulsGenerator::TLauf& pv_lauf) {
    switch (m_abschnitt) {
    case TAbschnitt::Vorlauf:
        pv_lauf = m_generator.Stillelauf();
        m_abschnitt = m_bits.empty() ? TAbschnitt::Nachlauf : TAbschnitt::Impulse;
        return true;
    case TAbschnitt::Impulse:
        pv_lauf = m_generator.Impuls(m_bits[m_impuls] == '1')[static_cast<std::size_t>(m_teil)];
        if (++m_teil == 2) {
            m_teil = 0;
            if (++m_impuls == m_bits.size())
                m_abschnitt = TAbschnitt::Nachlauf;
        }
        return true;
    case TAbschnitt::Nachlauf:
        pv_lauf = m_generator.Stillelauf();
        m_abschnitt = TAbschnitt::Ende;
        return true;
    case TAbschnitt::Ende:
        break;
    }
    return false;
}

bool TMZTonbandSignal::NaechsterLauf(TMZImpulsGenerator::TLauf& pv_lauf) {
    if (m_rest.anzahl > 0) {
        pv_lauf = m_rest;
        m_rest.anzahl = 0;
    } else if (!HoleLauf(pv_lauf)) {
        return false;
    }
    m_position += pv_lauf.anzahl;
    return true;
}

std::int64_t TMZTonbandSignal::Fuelle(std::uint8_t* pv_ziel, std::int64_t pv_anzahl) {
    std::int64_t geschrieben = 0;
    while (geschrieben < pv_anzahl) {
        if (m_rest.anzahl == 0 && !HoleLauf(m_rest))
            break;
        const std::int64_t n = std::min<std::int64_t>(m_rest.anzahl, pv_anzahl - geschrieben);
        std::memset(pv_ziel + geschrieben, m_rest.pegel, static_cast<std::size_t>(n));
        m_rest.anzahl -= static_cast<std::int32_t>(n);
        geschrieben += n;
    }
    m_position += geschrieben;
    return geschrieben;
}
