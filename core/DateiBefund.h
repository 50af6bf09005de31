// How a file came back from a recording of a worn tape.
#pragma once

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

struct TDateiBefund {
    enum class TZustand : std::uint8_t { Intakt, Repariert, Beschaedigt };
    // Where a block's bytes came from: one copy as it read with a good checksum, or the evidence
    // of every reading of both copies put together (Keiner: the block was not read).
    enum class TWeg : std::uint8_t { Keiner, Kopie1, Kopie2, Vereinigt };
    TZustand zustand = TZustand::Intakt;
    bool kopfRepariert = false;
    bool rumpfRepariert = false;
    bool kopfUnsicher = false; // the header itself could not be confirmed
    // Bytes of the body that rest on weak or no evidence: [von, bis) ranges.
    std::vector<std::pair<int, int>> unsichereBereiche;
    TWeg kopfWeg = TWeg::Keiner;
    TWeg rumpfWeg = TWeg::Keiner;
    // Bytes of a header its checksum did not confirm that rest on weak or no evidence.
    std::vector<std::pair<int, int>> unsichereKopfBereiche;
    int UnsichereBytes() const;
    // Per byte of a body of pv_bytes bytes: whether it lies in an uncertain range.
    std::vector<bool> UnsicherJeByte(int pv_bytes) const;
    // Header byte pv_index rests on weak or no evidence.
    bool KopfByteUnsicher(int pv_index) const;
    // The first pv_bytes bytes of this file's header (pv_kopf) and of another agree wherever the
    // header was read surely (all of them where it is not uncertain).
    bool KopfGleichWoSicher(const std::uint8_t* pv_kopf, const std::uint8_t* pv_anderer, int pv_bytes) const;
    // The same for the first pv_bytes bytes of the body.
    bool RumpfGleichWoSicher(const std::uint8_t* pv_rumpf, const std::uint8_t* pv_anderer,
                             int pv_bytes) const;
};

// The state in words of the catalogue: "repaired (body)", "damaged, 3 uncertain bytes"; empty for
// an intact file, whose lines stay as they always were.
QString ZustandText(const TDateiBefund& pv_befund);
// Before a damaged file is taken or saved: whether the user wants it anyway (a warning question
// through the platform layer).
bool BeschaedigteDateiNehmen(const QString& pv_name, const TDateiBefund& pv_befund);
