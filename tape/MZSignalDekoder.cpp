#include "MZSignalDekoder.h"

#include "MZModellZeiten.h"

#include <algorithm>

namespace {
constexpr double MikrosekundenProSekunde = 1000000.0;
} // namespace

double TMZSignalDekoder::AbtastVerzoegerung(int pv_modell, bool pv_alternativeAbtastzeit) {
    return MZModellZeiten::Von(pv_modell).Verzoegerung(pv_alternativeAbtastzeit);
}
void TMZSignalDekoder::Kreuzung(int vorher, int nachher) {
    // The signal as a straight line between the two frames: the crossing lies the fraction f of a
    // sample period before `nachher`, in (0, 1] since vorher >= 128 > nachher.
    const double f = static_cast<double>(Schwellwert - nachher) / static_cast<double>(vorher - nachher);
    m_kreuzung = static_cast<double>(m_index - 1) - f;
    const double sampleRate = m_sampleRate;
    const double warten = m_verzoegerung - f * (MikrosekundenProSekunde / sampleRate);
    // Frames from `nachher` to the sampling moment; at the lowest rates of the extended decoding
    // (below about 7.8 kHz for the MZ-80B) the moment may come before the next frame.
    const double r = std::max(0.0, sampleRate * warten / MikrosekundenProSekunde);
    const double unten = std::floor(r);
    const double oben = std::ceil(r);
    // A sampling moment after the last frame: the recording ends inside this pulse.
    if (oben > static_cast<double>(m_anzahlFrames - m_index)) {
        m_phase = TPhase::Ende;
        return;
    }
    m_anteil = r - unten;
    m_gewichtErstes = 1.0 - m_anteil;
    m_ganzzahlig = unten == oben;
    const auto schritte = static_cast<std::int32_t>(unten);
    if (schritte >= 2) {
        // The frames up to the one before the sampling moment are passed over; a skip breaks the
        // history, so no crossing is ever seen across it.
        m_zuUeberspringen = schritte - 1;
        m_letztes = KeinSample;
        m_vorletztes = KeinSample;
        m_phase = TPhase::Ueberspringen;
    } else if (schritte == 1) {
        m_phase = TPhase::ErstesSample;
    } else {
        // Between `nachher` and the next frame: `nachher` is the first of the two.
        m_phase = TPhase::ZweitesSample;
    }
}
