// The sample formats the tape deck asks a device for, and the conversion of the tape signal's
// 8-bit levels into them.
#pragma once

#include <QAudioDevice>
#include <QAudioFormat>
#include <cstdint>
#include <optional>

// The first of the formats at that rate, in order of preference, that the device takes.
std::optional<QAudioFormat> WaehleAudioFormat(const QAudioDevice& pv_geraet, int pv_sampleRate,
                                              bool pv_ausgabe);
// 8-bit unsigned levels (128 the middle) into frames of the format, every channel alike;
// pv_ziel holds pv_anzahl frames.
void WandleAusPegeln(const std::uint8_t* pv_pegel, std::int64_t pv_anzahl, const QAudioFormat& pv_format,
                     char* pv_ziel);
