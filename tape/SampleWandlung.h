// Raw sample data of a WAV file, block by block: to the common 8-bit scale the fixed passes
// read, and for the extended formats also to floating point with the channel weights (for the
// adaptive pass).
#pragma once

#include "MZWAVDateiLeser.h"

#include <cstdint>

namespace SampleWandlung {

// Brings `anzahl` frames of raw sample data to the common scale.
void WandleUm(const std::uint8_t* roh, std::int32_t anzahl, const TWAVFormat& format, std::uint8_t* ziel);

// Converts `anzahl` frames of `kanaele` channels: to floating point mixed with `gewichte` (when
// given) and to the plain mean of all channels on the common scale.
using TWandler = void (*)(const std::uint8_t* roh, std::int32_t anzahl, int kanaele, const float* gewichte,
                          float* fliess, std::uint8_t* skala);
TWandler WandlerFuer(const TWAVFormat& format);

} // namespace SampleWandlung
