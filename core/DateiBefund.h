// How a file came back from a recording of a worn tape.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

struct TDateiBefund {
    enum class TZustand : std::uint8_t { Intakt, Repariert, Beschaedigt };
    TZustand zustand = TZustand::Intakt;
    bool kopfRepariert = false;
    bool rumpfRepariert = false;
    bool kopfUnsicher = false; // the header itself could not be confirmed
    // Bytes of the body that rest on weak or no evidence: [von, bis) ranges.
    std::vector<std::pair<int, int>> unsichereBereiche;
    int UnsichereBytes() const;
};
