// Evidence of a block built by hand: what each copy's reading said of a byte, every bit as sure.
#pragma once

#include "BlockVereinigung.h"

#include <array>
#include <cstdint>

// What one reading of a copy said of a byte, every bit as sure; 0: not read. `ohne`: a bit
// (most significant first) it heard nothing of, as in a dropout.
struct TLesung {
    std::uint8_t byte;
    int gewicht;
    int ohne = -1;
    bool zweifel = false; // framed after a byte the copy lost, where a pulse later reads as well
    bool nah = false;     // framed near a byte the copy lost, where a pulse off reads as well
};

inline std::array<std::int8_t, 8> Bits(std::uint8_t byte, int gewicht, int ohne = -1) {
    std::array<std::int8_t, 8> b{};
    for (int i = 0; i < 8; ++i)
        b[static_cast<std::size_t>(i)] =
            i == ohne ? 0 : static_cast<std::int8_t>((byte >> (7 - i) & 1) != 0 ? gewicht : -gewicht);
    return b;
}

// A block of one data byte as both copies read it (0x21 and 0x42 hold two 1 bits each), its
// checksum 0x0002 read clearly by both; condensed.
inline TBlockBelege EinByte(const TLesung& eins, const TLesung& zwei) {
    TBlockBelege belege(1);
    for (int k = 0; k < 2; ++k) {
        const TLesung& l = k == 0 ? eins : zwei;
        if (l.gewicht != 0)
            belege.Lies(k, 0, Bits(l.byte, l.gewicht, l.ohne).data());
        if (l.zweifel)
            belege.Mehrdeutig(k, 0);
        if (l.nah)
            belege.NahVerlust(k, 0);
        belege.Lies(k, 1, Bits(0x00, 64).data());
        belege.Lies(k, 2, Bits(0x02, 64).data());
    }
    belege.Verdichte();
    return belege;
}
