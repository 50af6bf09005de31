// The canonical 44-byte head of a PCM WAV file: one "fmt " and one "data" chunk.
#pragma once

#include "WAVAufbau.h"

#include <array>
#include <cstdint>

using TWAVKopf = std::array<char, WAVAufbau::KanonischKopfGroesse>;

// The head of a file whose "data" chunk holds pv_datenBytes bytes of integer PCM.
TWAVKopf KanonischerWAVKopf(std::uint32_t pv_datenBytes, std::uint32_t pv_sampleRate,
                            std::uint16_t pv_kanaele, std::uint16_t pv_bitsProSample);
