// The pulse timing of each MZ model, stated once: the pulse parts the WAV writer writes, the
// moments after a falling edge at which the fixed passes look at the level, the nominal lengths
// the adaptive decoder starts from, and the lengths of the gaps before the marks. Every one of
// these follows from the machines' tape routines; the writer, the decoders, the tape bit text and
// the tape report all read them here.
#pragma once

#include "MZModell.h"

#include <array>
#include <cstdint>

struct TMZModellZeiten {
    // Parts of a pulse in hundredths of a microsecond, low part first: the MZ-80B short first
    // part is 166.75 us and the MZ-700 short pulse 143.11 + 360.89 us, so integers keep the
    // writer's rounding exact.
    std::uint32_t langErster;
    std::uint32_t langZweiter;
    std::uint32_t kurzErster;
    std::uint32_t kurzZweiter;
    // Microseconds from a falling edge to the moment the level is looked at: still low means a
    // long pulse. The MZ-700 has a second moment, tried in passes of their own (0: none).
    double verzoegerung;
    double verzoegerungAlternativ;
    // Pulses of the gap before the long mark in the full format (the MZ-80B loads with a shorter
    // one) and of the gap before the short mark.
    int langeLuecke;
    int kurzeLuecke;

    // A whole pulse in microseconds, as the adaptive decoder expects it at nominal speed.
    double KurzMikrosekunden() const { return (kurzErster + kurzZweiter) / HundertstelProMikrosekunde; }
    double LangMikrosekunden() const { return (langErster + langZweiter) / HundertstelProMikrosekunde; }
    // The sampling moment of a pass.
    double Verzoegerung(bool alternativ) const {
        return alternativ && verzoegerungAlternativ > 0.0 ? verzoegerungAlternativ : verzoegerung;
    }

    static constexpr double HundertstelProMikrosekunde = 100.0;
};

namespace MZModellZeiten {

// Hundredths of a microsecond per second, the unit of the pulse parts.
inline constexpr std::uint64_t HundertstelProSekunde = 100'000'000;
// The gap before the long mark in the shortened format, whatever the model.
inline constexpr int LangeLueckeVerkuerzt = 5000;

inline constexpr std::array<TMZModellZeiten, AnzahlMZModelle> Tabelle{{
    {46400, 49400, 24000, 26400, 368.0, 0.0, 22000, 11000},    // MZ-80K
    {46400, 49400, 24000, 26400, 368.0, 0.0, 22000, 11000},    // MZ-80C
    {46400, 49400, 24000, 26400, 368.0, 0.0, 22000, 11000},    // MZ-80A
    {33300, 33400, 16675, 16600, 255.0, 0.0, 10000, 11000},    // MZ-80B: shorter pulses and leader
    {46400, 49400, 14311, 36089, 368.0, 286.22, 22000, 11000}, // MZ-700: the short pulse's edge earlier
    {47000, 49400, 24000, 27800, 379.0, 0.0, 22000, 11000},    // MZ-800
}};

// The timing of a model index; an index outside the table reads as the MZ-80K.
inline const TMZModellZeiten& Von(int pv_modell) {
    return Tabelle[static_cast<std::size_t>(pv_modell >= 0 && pv_modell < AnzahlMZModelle ? pv_modell
                                                                                          : MZ80K)];
}

} // namespace MZModellZeiten
