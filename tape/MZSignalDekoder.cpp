#include "MZSignalDekoder.h"

#include "ProgrammEinstellungen.h"

namespace {
// Sampling delays in microseconds. Each lies between the low part of the model's short pulse and
// the low part of its long pulse, and before the end of a short pulse.
constexpr double VerzoegerungMZ80K = 368.0; // also MZ-80C, MZ-80A and the first MZ-700 variant
constexpr double VerzoegerungMZ80B = 255.0;
constexpr double VerzoegerungMZ700Alternativ = 286.22;
constexpr double VerzoegerungMZ800 = 379.0;
constexpr double MikrosekundenProSekunde = 1000000.0;
} // namespace

double TMZSignalDekoder::AbtastVerzoegerung(int pv_modell, bool pv_alternativeAbtastzeit) {
    switch (pv_modell) {
    case MZ80B:
        return VerzoegerungMZ80B;
    case MZ700:
        return pv_alternativeAbtastzeit ? VerzoegerungMZ700Alternativ : VerzoegerungMZ80K;
    case MZ800:
        return VerzoegerungMZ800;
    default: // MZ-80K, MZ-80C, MZ-80A and any unknown index
        return VerzoegerungMZ80K;
    }
}

void TMZSignalDekoder::Kreuzung(int vorher, int nachher) {
    // The signal as a straight line between the two frames: the crossing lies the fraction f of a
    // sample period before `nachher`, in (0, 1] since vorher >= 128 > nachher.
    const double f = static_cast<double>(Schwellwert - nachher) / static_cast<double>(vorher - nachher);
    const double sampleRate = m_sampleRate;
    const double warten = m_verzoegerung - f * (MikrosekundenProSekunde / sampleRate);
    const double r = sampleRate * warten / MikrosekundenProSekunde;
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
    } else {
        m_phase = TPhase::ErstesSample;
    }
}
