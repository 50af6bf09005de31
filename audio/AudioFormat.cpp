#include "AudioFormat.h"

#include <cstring>
#include <initializer_list>
#include <utility>

namespace {

constexpr int Mitte8 = 128;
constexpr int Stufe16 = 256;
constexpr int Stufe32 = 1 << 24;
constexpr float Stufe = 128.0F;

} // namespace

std::optional<QAudioFormat> WaehleAudioFormat(const QAudioDevice& pv_geraet, int pv_sampleRate,
                                              bool pv_ausgabe) {
    using S = QAudioFormat::SampleFormat;
    // Playing: the signal's own 8 bits first. Recording: 16 bits, which the decoder reads as a
    // WAV file's samples; stereo and floating point where a device takes nothing else.
    const std::initializer_list<std::pair<S, int>> ausgabe = {
        {S::UInt8, 1}, {S::Int16, 1}, {S::Int16, 2}, {S::Float, 1}, {S::Float, 2}};
    const std::initializer_list<std::pair<S, int>> eingabe = {{S::Int16, 1}, {S::Int16, 2}, {S::UInt8, 1}};
    for (const auto& [art, kanaele] : pv_ausgabe ? ausgabe : eingabe) {
        QAudioFormat format;
        format.setSampleRate(pv_sampleRate);
        format.setChannelCount(kanaele);
        format.setSampleFormat(art);
        if (pv_geraet.isFormatSupported(format))
            return format;
    }
    return std::nullopt;
}

void WandleAusPegeln(const std::uint8_t* pv_pegel, std::int64_t pv_anzahl, const QAudioFormat& pv_format,
                     char* pv_ziel) {
    const int kanaele = pv_format.channelCount();
    const int bytes = pv_format.bytesPerSample();
    if (pv_format.sampleFormat() == QAudioFormat::UInt8 && kanaele == 1) {
        std::memcpy(pv_ziel, pv_pegel, static_cast<std::size_t>(pv_anzahl));
        return;
    }
    for (std::int64_t i = 0; i < pv_anzahl; ++i) {
        const int wert = pv_pegel[i] - Mitte8;
        for (int k = 0; k < kanaele; ++k, pv_ziel += bytes) {
            switch (pv_format.sampleFormat()) {
            case QAudioFormat::UInt8:
                *pv_ziel = static_cast<char>(pv_pegel[i]);
                break;
            case QAudioFormat::Int16: {
                const auto s = static_cast<std::int16_t>(wert * Stufe16);
                std::memcpy(pv_ziel, &s, sizeof s);
                break;
            }
            case QAudioFormat::Int32: {
                const std::int32_t s = wert * Stufe32;
                std::memcpy(pv_ziel, &s, sizeof s);
                break;
            }
            case QAudioFormat::Float: {
                const float s = static_cast<float>(wert) / Stufe;
                std::memcpy(pv_ziel, &s, sizeof s);
                break;
            }
            default:
                std::memset(pv_ziel, 0, static_cast<std::size_t>(bytes));
                break;
            }
        }
    }
}
