// Bytes a copy lost between two bytes it framed: where the pulses between them are one too few
// (two pulses heard as one, a short pair as long as a long pulse) or one too many (a pulse split by
// a crossing that hiss or a codec left), every way to split or join one pulse there that fits the
// pulse lengths and puts a long start bit at every ninth pulse gives the values those bytes could
// have. Where all the ways of all the copies that lost a byte agree on it, it can be filled.
#pragma once

#include "BelegFolge.h"
#include "KopieRahmen.h"

#include <cstdint>
#include <vector>

namespace KopieLuecken {

// A lost stretch of at most this many bytes between two framed ones is looked into: longer ones
// are dropouts, whose pulses are gone, not miscounted.
constexpr int HoechstensBytes = 3;
// A pulse fits a length where it lies within this share of a short pulse of it.
constexpr double Passt = 0.4;

// The values a lost byte could have, ascending, none repeated.
struct TKandidaten {
    int index = 0;
    std::vector<std::uint8_t> werte;
};

// For each byte of the copy lost in a stretch that one split or joined pulse explains, the values
// it could have; kurz: frames of a short pulse. Bounded: at most HoechstensBytes * 9 * 4 ways per
// stretch, each stretch looked at once.
std::vector<TKandidaten> Finde(const TBelegFolge& q, const std::vector<KopieRahmen::TByte>& kopie,
                               double kurz);

// The bits of lost bytes on either side of a dropout: where the pulses between the two framed
// bytes around a stretch of at most HoechstensBytes are too few, and exactly one of them lasts as
// long as itself and the pulses lost (a long pulse each at most), the pulses before it lie where
// the lost bytes begin and those after it where the next framed byte begins. Each bit so placed
// weighs as its pulse was read, at most `hoechstens`; the bits within the dropout stay unknown.
// Nothing where a start bit so placed reads short. Bounded: each pulse looked at once.
struct TRand {
    int index = 0;
    std::int8_t bits[KopieRahmen::DatenBits] = {};
};
std::vector<TRand> Raender(const TBelegFolge& q, const std::vector<KopieRahmen::TByte>& kopie, double kurz,
                           std::int8_t hoechstens);

// A lost byte's value where the ways of every copy that looked into it leave exactly one, and
// which copies looked into it.
struct TFuellung {
    int index = 0;
    std::uint8_t wert = 0;
    bool kopie[2] = {false, false};
};
// From both copies' candidates (each ascending by index), by index.
std::vector<TFuellung> Einig(const std::vector<TKandidaten> (&kandidaten)[2]);

} // namespace KopieLuecken
