// The tape marks as the rescue finds them among the pulses of the adaptive pass: a run of long
// pulses and as many short ones after a leader (40 + 40 before a header, 20 + 20 before a body),
// with a few pulses misread, and with pulses a dropout swallowed.
#pragma once

#include "BelegFolge.h"

#include <cstdint>

namespace BandMarken {

// A mark stands after a leader: of this many pulses before it at least that many are short. Of a
// mark's runs a few pulses may be misread.
constexpr int VorlaufProbe = 200;
constexpr int VorlaufFehler = 20;
constexpr int MarkenFehler = 6;
constexpr int KurzeMarkenFehler = 3;
// Pulses of a mark's long run that a dropout may have swallowed, in units of its bad pulses.
constexpr int MarkeVerloren = 2;
// A pause between two pulses longer than this many short pulses is a dropout that swallowed them.
constexpr double PauseKurze = 4.0;

// The first pulse in [von, bis) that begins a mark of `impulse` long and as many short pulses
// after a leader; -1 when there is none. Where pv_nachPause is given, a mark whose short run a
// dropout cut off counts too: then *pv_nachPause is the first pulse after the dropout (the block
// after the mark begins somewhere in it or after it), and -1 for a whole mark.
std::int64_t SucheMarke(const TBelegFolge& q, std::int64_t von, std::int64_t bis, int impulse, int fehler,
                        std::int64_t* pv_nachPause = nullptr);
// The long pulse that ends a whole mark found at `marke`: the first long one after its short pulses.
std::int64_t MarkenEnde(const TBelegFolge& q, std::int64_t marke, int impulse);

} // namespace BandMarken
