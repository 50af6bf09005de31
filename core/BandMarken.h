// The tape marks as the rescue finds them among the pulses of the adaptive pass: a run of long
// pulses and as many short ones after a leader (40 + 40 before a header, 20 + 20 before a body),
// with a few pulses misread, and with pulses a dropout swallowed.
#pragma once

#include "BelegFolge.h"
#include "KopieRahmen.h"

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
// A block's first bytes, of which all start bits but one must be long where a mark cut off by a
// dropout is taken to end at the long pulse after it.
constexpr int StartbitProbe = 8;
// A dropout that cut off a mark's long run lasts as long as the pulses it swallowed within this
// share of them (and two short pulses): the share a long pulse's length varies by between models.
constexpr double PausenToleranz = 0.08;

// The pulses from a mark's first one on that must be held to tell it: where the search stops
// short of the last pulses held, it goes on from there once more have come.
constexpr std::int64_t Vorschau(int impulse, int fehler) {
    return 2 * impulse + fehler + 1 + StartbitProbe * KopieRahmen::BitsProByte;
}

// The first pulse in [von, bis) that begins a mark of `impulse` long and as many short pulses
// after a leader; -1 when there is none. Where pv_nachPause is given, a mark whose short run a
// dropout cut off, or its long run after the first pulses, counts too: then *pv_nachPause is the
// first pulse after the dropout (the block after the mark begins somewhere in it or after it),
// and -1 for a whole mark. Where pv_ende is given too and the dropout left the mark's last short
// pulses and the long pulse that ends it, *pv_ende is that pulse (and *pv_nachPause -1: the block
// follows as after a whole mark); else -1.
std::int64_t SucheMarke(const TBelegFolge& q, std::int64_t von, std::int64_t bis, int impulse, int fehler,
                        std::int64_t* pv_nachPause = nullptr, std::int64_t* pv_ende = nullptr);
// The long pulse that ends a whole mark found at `marke`: the first long one after its short pulses.
std::int64_t MarkenEnde(const TBelegFolge& q, std::int64_t marke, int impulse);

} // namespace BandMarken
