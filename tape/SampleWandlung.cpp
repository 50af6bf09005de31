#include "SampleWandlung.h"

#include "LittleEndian.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace SampleWandlung {

namespace {
constexpr int BytesProSample16 = 2;
} // namespace

// Brings `anzahl` frames of raw sample data to the common scale.
void WandleUm(const std::uint8_t* roh, std::int32_t anzahl, const TWAVFormat& format, std::uint8_t* ziel) {
    if (!format.sechzehnBit) {
        if (!format.stereo) {
            std::copy(roh, roh + anzahl, ziel);
            return;
        }
        for (std::int32_t i = 0; i < anzahl; ++i)
            ziel[i] = WAVSkala::Stereo8(roh[2 * i], roh[2 * i + 1]);
        return;
    }
    const auto wert = [roh](std::int32_t sample) {
        return static_cast<std::int16_t>(LittleEndian::Lies16(roh + BytesProSample16 * sample));
    };
    if (!format.stereo) {
        for (std::int32_t i = 0; i < anzahl; ++i)
            ziel[i] = WAVSkala::Mono16(wert(i));
        return;
    }
    for (std::int32_t i = 0; i < anzahl; ++i)
        ziel[i] = WAVSkala::Stereo16(wert(2 * i), wert(2 * i + 1));
}

// One sample of the extended formats as floating point, full scale +-1. Floating-point samples
// beyond +-Begrenzung (or not numbers at all) are cut, so that no filter ever sees an infinity.
constexpr double Begrenzung = 8.0;
constexpr double Skala8 = 128.0;
constexpr double Skala16 = 32768.0;
constexpr double Skala24 = 8388608.0;
constexpr double Skala32 = 2147483648.0;

template <int Bytes, bool Gleitkomma> double Sample(const std::uint8_t* p) {
    if constexpr (Gleitkomma) {
        double wert = 0.0;
        if constexpr (Bytes == 4) {
            float f = 0.0F;
            std::memcpy(&f, p, sizeof f); // IEEE little-endian, as every platform we build for
            wert = f;
        } else {
            std::memcpy(&wert, p, sizeof wert);
        }
        return wert >= -Begrenzung && wert <= Begrenzung ? wert
                                                         : (wert > 0.0   ? Begrenzung
                                                            : wert < 0.0 ? -Begrenzung
                                                                         : 0.0);
    } else if constexpr (Bytes == 1) {
        return (p[0] - Skala8) / Skala8;
    } else if constexpr (Bytes == 2) {
        return static_cast<std::int16_t>(LittleEndian::Lies16(p)) / Skala16;
    } else if constexpr (Bytes == 3) {
        // Sign-extended from the top byte.
        const std::int32_t wert = static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) << 8 |
                                                            static_cast<std::uint32_t>(p[1]) << 16 |
                                                            static_cast<std::uint32_t>(p[2]) << 24) >>
                                  8;
        return wert / Skala24;
    } else {
        return static_cast<std::int32_t>(LittleEndian::Lies32(p)) / Skala32;
    }
}

// A block of an extended format: the frames as floating point with the channel weights (for the
// adaptive pass), and the plain mean of all channels on the common scale (for the fixed passes).
template <int Bytes, bool Gleitkomma>
void WandleErweitertUm(const std::uint8_t* roh, std::int32_t anzahl, int kanaele, const float* gewichte,
                       float* gleitend, std::uint8_t* skala) {
    const auto wert = [&](std::int32_t i, int k) {
        return Sample<Bytes, Gleitkomma>(roh + (static_cast<std::ptrdiff_t>(i) * kanaele + k) * Bytes);
    };
    if (gleitend) {
        // In single precision, the channel count known in the two common cases: the loops vectorise.
        double summeGewichte = 0.0;
        for (int k = 0; k < kanaele; ++k)
            summeGewichte += std::fabs(gewichte[k]);
        const double faktor = summeGewichte > 0.0 ? 1.0 / summeGewichte : 1.0;
        const auto g = [&](int k) { return static_cast<float>(gewichte[k] * faktor); };
        const auto f = [&](std::int32_t i, int k) { return static_cast<float>(wert(i, k)); };
        if (kanaele == 1) {
            const float g0 = g(0);
            for (std::int32_t i = 0; i < anzahl; ++i)
                gleitend[i] = g0 * f(i, 0);
        } else if (kanaele == 2) {
            const float g0 = g(0);
            const float g1 = g(1);
            for (std::int32_t i = 0; i < anzahl; ++i)
                gleitend[i] = g0 * f(i, 0) + g1 * f(i, 1);
        } else {
            for (std::int32_t i = 0; i < anzahl; ++i) {
                float mischung = 0.0F;
                for (int k = 0; k < kanaele; ++k)
                    mischung += g(k) * f(i, k);
                gleitend[i] = mischung;
            }
        }
    }
    if (skala) {
        for (std::int32_t i = 0; i < anzahl; ++i) {
            double mittel = 0.0;
            for (int k = 0; k < kanaele; ++k)
                mittel += wert(i, k);
            const double stufe = std::floor(mittel / kanaele * Skala8 + Skala8);
            skala[i] = static_cast<std::uint8_t>(std::clamp(stufe, 0.0, 255.0));
        }
    }
}

TWandler WandlerFuer(const TWAVFormat& format) {
    if (format.gleitkomma)
        return format.bytesProSample == 4 ? WandleErweitertUm<4, true> : WandleErweitertUm<8, true>;
    switch (format.bytesProSample) {
    case 1:
        return WandleErweitertUm<1, false>;
    case 2:
        return WandleErweitertUm<2, false>;
    case 3:
        return WandleErweitertUm<3, false>;
    default:
        return WandleErweitertUm<4, false>;
    }
}

} // namespace SampleWandlung
