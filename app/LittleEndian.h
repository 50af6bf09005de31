// Numbers as MZ headers and WAV files carry them: little-endian, the low byte first. Works on
// any byte type (char, unsigned char, std::uint8_t), so that QByteArray data serves as well.
#pragma once

#include <cstdint>

namespace LittleEndian {

template <typename Byte> std::uint16_t Lies16(const Byte* p) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(p[0]) |
                                      (static_cast<std::uint8_t>(p[1]) << 8));
}

template <typename Byte> std::uint32_t Lies32(const Byte* p) {
    return static_cast<std::uint32_t>(Lies16(p)) | (static_cast<std::uint32_t>(Lies16(p + 2)) << 16);
}

template <typename Byte> void Schreibe16(Byte* p, std::uint16_t wert) {
    p[0] = static_cast<Byte>(wert & 0xFF);
    p[1] = static_cast<Byte>(wert >> 8);
}

template <typename Byte> void Schreibe32(Byte* p, std::uint32_t wert) {
    Schreibe16(p, static_cast<std::uint16_t>(wert & 0xFFFF));
    Schreibe16(p + 2, static_cast<std::uint16_t>(wert >> 16));
}

} // namespace LittleEndian
