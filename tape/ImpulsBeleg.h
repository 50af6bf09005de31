// What the rescue of a worn tape learns of each pulse: where it began and how sure its class is.
// The adaptive pass (both polarities) and fixed passes run again on its mix of the channels give
// such pulses on the adaptive pass's thread, block by block, to one receiver.
#pragma once

#include <cstddef>
#include <cstdint>

struct TImpulsBeleg {
    // The frame where the pulse began, in the recording's frames.
    std::int32_t beginn = 0;
    // -127 surely short ... +127 surely long; 0: nothing known (a dropout, a click).
    std::int8_t wert = 0;

    static constexpr int Sicher = 127;
    bool IstLang() const { return wert > 0; }
};

class TBelegEmpfaenger {
public:
    virtual ~TBelegEmpfaenger() = default;
    // The pulses one source decided in the block in hand, in order. Sources: 0 and 1 the adaptive
    // pass's normal and inverted polarity, 2 and on the fixed passes asked for, in their order.
    virtual void Belege(int pv_quelle, const TImpulsBeleg* pv_belege, std::size_t pv_anzahl) = 0;
    // Every source has had the block; pv_frames frames of the recording are decoded now.
    virtual void NachBlock(std::int64_t pv_frames) = 0;
};
