// Runs of one byte value (silence, pulse halves of the WAV writer) go into the buffer with one
// fill per block instead of one call per byte. Whenever the next byte cannot simply be stored
// (writer closed, buffer full, byte counter at its limit) it goes through SchreibeByte, so
// flushing, failures and the state after a failure are exactly those of single bytes.
#include "GepufferterDateiSchreiber.h"

#include <algorithm>
#include <cstring>
#include <limits>

bool TGepufferterDateiSchreiber::SchreibeBytes(std::uint8_t pv_wert, std::int32_t pv_anzahl) {
    constexpr std::int32_t MaxAnzahlBytes = std::numeric_limits<std::int32_t>::max();
    while (pv_anzahl > 0) {
        if (!m_geoeffnet || m_pufferFuellung >= PufferGroesse || m_anzahlBytes == MaxAnzahlBytes) {
            if (!SchreibeByte(pv_wert))
                return false;
            --pv_anzahl;
            continue;
        }
        const std::int32_t n =
            std::min({pv_anzahl, PufferGroesse - m_pufferFuellung, MaxAnzahlBytes - m_anzahlBytes});
        std::memset(m_puffer.data() + m_pufferFuellung, pv_wert, static_cast<std::size_t>(n));
        m_pufferFuellung += n;
        m_anzahlBytes += n;
        pv_anzahl -= n;
    }
    return true;
}
