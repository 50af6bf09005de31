// WAV files for the reader tests, put together byte by byte here and never with the program's own
// writer: a writer and a reader that share one mistake must not both pass.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace WAVBau {

inline QByteArray Le16(std::uint16_t v) {
    QByteArray b;
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>(v >> 8));
    return b;
}

inline QByteArray Le32(std::uint32_t v) {
    return Le16(static_cast<std::uint16_t>(v & 0xFFFF)) + Le16(static_cast<std::uint16_t>(v >> 16));
}

// A chunk with the size field as given, the contents and, when asked for, a pad byte.
inline QByteArray ChunkMitGroesse(const char* kennung, std::uint32_t groesse, const QByteArray& inhalt,
                                  bool polster) {
    QByteArray b(kennung, 4);
    b += Le32(groesse);
    b += inhalt;
    if (polster)
        b.append('\0');
    return b;
}

// A chunk as it should be: true size, pad byte after an odd size.
inline QByteArray Chunk(const char* kennung, const QByteArray& inhalt) {
    return ChunkMitGroesse(kennung, static_cast<std::uint32_t>(inhalt.size()), inhalt,
                           inhalt.size() % 2 != 0);
}

// The 16 bytes of a "fmt " chunk, every field as given.
inline QByteArray FmtFelder(std::uint16_t format, std::uint16_t kanaele, std::uint32_t rate,
                            std::uint32_t bytesProSekunde, std::uint16_t block, std::uint16_t bits) {
    return Le16(format) + Le16(kanaele) + Le32(rate) + Le32(bytesProSekunde) + Le16(block) + Le16(bits);
}

// Consistent PCM fields.
inline QByteArray FmtPCM(std::uint16_t kanaele, std::uint32_t rate, std::uint16_t bits) {
    const auto block = static_cast<std::uint16_t>(kanaele * bits / 8);
    return FmtFelder(1, kanaele, rate, rate * block, block, bits);
}

// "RIFF", the true size, "WAVE", the chunks.
inline QByteArray Riff(const QByteArray& chunks) {
    return QByteArray("RIFF") + Le32(static_cast<std::uint32_t>(4 + chunks.size())) + QByteArray("WAVE") +
           chunks;
}

// The canonical file with a 44-byte header.
inline QByteArray Wav(std::uint16_t kanaele, std::uint32_t rate, std::uint16_t bits,
                      const QByteArray& daten) {
    return Riff(Chunk("fmt ", FmtPCM(kanaele, rate, bits)) + Chunk("data", daten));
}

inline QByteArray Daten8(const std::vector<std::uint8_t>& samples) {
    return QByteArray(reinterpret_cast<const char*>(samples.data()), static_cast<int>(samples.size()));
}

inline QByteArray Daten16(const std::vector<std::int16_t>& samples) {
    QByteArray b;
    for (std::int16_t s : samples)
        b += Le16(static_cast<std::uint16_t>(s));
    return b;
}

// The pulses of a tape bit text as 8-bit samples, by the table of sample counts at 22050 Hz of
// the MZ-80K timing (long 10 low + 11 high, short 5 + 6), inverted when asked: the recording
// that a careful tape machine would give, without the program's own writer. A tenth of a second
// of silence (128) comes before and after.
struct TImpulsFolge {
    int langTief = 10;
    int langHoch = 11;
    int kurzTief = 5;
    int kurzHoch = 6;
    std::uint8_t tief = 64;
    std::uint8_t hoch = 192;
    int stilleFrames = 2205;
};

inline void HaengeImpulseAn(std::vector<std::uint8_t>& samples, const std::string& bits, bool invertiert,
                            const TImpulsFolge& folge = {}) {
    const auto pegel = [invertiert](std::uint8_t p) {
        return invertiert ? static_cast<std::uint8_t>(255 - p) : p;
    };
    samples.insert(samples.end(), static_cast<std::size_t>(folge.stilleFrames), 128);
    for (const char bit : bits) {
        const bool lang = bit == '1';
        samples.insert(samples.end(), static_cast<std::size_t>(lang ? folge.langTief : folge.kurzTief),
                       pegel(folge.tief));
        samples.insert(samples.end(), static_cast<std::size_t>(lang ? folge.langHoch : folge.kurzHoch),
                       pegel(folge.hoch));
    }
    samples.insert(samples.end(), static_cast<std::size_t>(folge.stilleFrames), 128);
}

// A mono 8-bit recording at 22050 Hz of the bit texts in turn, each in its own polarity.
inline QByteArray WAVAusBits(const std::vector<std::pair<std::string, bool>>& teile,
                             const TImpulsFolge& folge = {}) {
    std::vector<std::uint8_t> samples;
    for (const auto& [bits, invertiert] : teile)
        HaengeImpulseAn(samples, bits, invertiert, folge);
    return Wav(1, 22050, 8, Daten8(samples));
}

} // namespace WAVBau
