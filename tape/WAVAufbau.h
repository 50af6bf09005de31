// The RIFF/WAVE layout as the reader and the writer of recordings see it, stated once. A file is
// "RIFF", the size of what follows, "WAVE", then chunks: an identifier, a little-endian size and
// the contents, padded to an even length. The "fmt " chunk's fields are counted from its contents.
#pragma once

#include <cstdint>

namespace WAVAufbau {

// "RIFF", its size field, "WAVE".
constexpr int RiffKopfGroesse = 12;
constexpr int OffsetRiffGroesse = 4;
constexpr int OffsetWave = 8;
constexpr std::uint32_t RiffGroesseAbzug = 8; // "RIFF" and the size field itself
// A chunk head: identifier and size.
constexpr int ChunkKopfGroesse = 8;
constexpr int KennungLaenge = 4;
constexpr int OffsetChunkGroesse = 4;
// Sizes are 31-bit: the top bit of the last byte is ignored.
constexpr std::uint32_t GroessenMaske = 0x7FFFFFFF;

// The 16 bytes of a "fmt " chunk that every format has.
constexpr int FmtGroesse = 16;
constexpr int OffsetFormat = 0;
constexpr int OffsetKanaele = 2;
constexpr int OffsetSampleRate = 4;
constexpr int OffsetBytesProSekunde = 8;
constexpr int OffsetBlockGroesse = 12;
constexpr int OffsetBitsProSample = 14;
constexpr std::uint16_t FormatPCM = 1;
constexpr std::uint16_t FormatGleitkomma = 3;
constexpr std::uint16_t FormatErweiterbar = 0xFFFE;

// The canonical 44-byte head: "fmt " right after the RIFF head, "data" right after its 16 bytes.
constexpr int KanonischFmtDaten = RiffKopfGroesse + ChunkKopfGroesse;
constexpr int KanonischData = KanonischFmtDaten + FmtGroesse;
constexpr int KanonischKopfGroesse = KanonischData + ChunkKopfGroesse;

} // namespace WAVAufbau
