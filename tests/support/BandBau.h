// The bit text of an MZ file on tape in the full format, put together here from the tape format
// (leader, marks, each block twice with its checksum) and not with the program's own writer, with
// the place of every data bit: a test damages the tape pulse by pulse where it wants to.
#pragma once

#include "WAVBau.h"

#include <QByteArray>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace BandBau {

constexpr int KopfBytes = 128;
constexpr std::size_t Vorlauf = 22000;
constexpr std::size_t KurzerVorlauf = 11000;
constexpr std::size_t Luecke = 256;
constexpr std::size_t LangeMarke = 40;
constexpr std::size_t KurzeMarke = 20;
constexpr std::size_t ByteImpulse = 9; // start bit and 8 data bits

// The header of a machine-code file named `name` (ended by $0D here) of `groesse` bytes, loaded
// and started at $1200.
inline QByteArray Kopf(const QByteArray& name, int groesse) {
    QByteArray kopf(KopfBytes, '\0');
    kopf[0] = 0x01;
    kopf.replace(1, static_cast<int>(name.size()) + 1, name + '\r');
    kopf[18] = static_cast<char>(groesse & 0xFF);
    kopf[19] = static_cast<char>(groesse >> 8);
    kopf[21] = 0x12;
    kopf[23] = 0x12;
    return kopf;
}

inline std::string Byte(std::uint8_t b) {
    std::string s = "1";
    for (int i = 7; i >= 0; --i)
        s += (b >> i) & 1 ? '1' : '0';
    return s;
}

// The bytes and their checksum (the number of 1 bits, high byte first).
inline std::string Block(const QByteArray& bytes) {
    std::string s;
    unsigned einsen = 0;
    for (const char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        s += Byte(b);
        for (int i = 0; i < 8; ++i)
            einsen += (b >> i) & 1;
    }
    return s + Byte(static_cast<std::uint8_t>(einsen >> 8 & 0xFF)) +
           Byte(static_cast<std::uint8_t>(einsen & 0xFF));
}

// A file of an MZF image (header and body) on tape, and where its blocks' copies begin.
struct TBand {
    std::string bits;
    std::size_t kopf[2] = {};
    std::size_t rumpf[2] = {};

    explicit TBand(const QByteArray& mzf) {
        const std::string kopfBits = Block(mzf.left(KopfBytes));
        const std::string rumpfBits = Block(mzf.mid(KopfBytes));
        bits = std::string(Vorlauf, '0') + std::string(LangeMarke, '1') + std::string(LangeMarke, '0') + '1';
        kopf[0] = bits.size();
        bits += kopfBits + '1' + std::string(Luecke, '0');
        kopf[1] = bits.size();
        bits += kopfBits + '1' + std::string(KurzerVorlauf, '0') + std::string(KurzeMarke, '1') +
                std::string(KurzeMarke, '0') + '1';
        rumpf[0] = bits.size();
        bits += rumpfBits + '1' + std::string(Luecke, '0');
        rumpf[1] = bits.size();
        bits += rumpfBits + '1';
    }

    // The pulse of data bit `bit` (0 the most significant) of body byte `byte` in copy `kopie`.
    std::size_t RumpfBit(int kopie, int byte, int bit) const {
        return rumpf[kopie] + ByteImpulse * static_cast<std::size_t>(byte) + 1 +
               static_cast<std::size_t>(bit);
    }
    // Turns a long pulse into a short one and back.
    void Kippe(std::size_t impuls) { bits.at(impuls) = bits.at(impuls) == '1' ? '0' : '1'; }
    // Turns the first 1 bit of body byte `byte` (whose value is `wert`) in copy `kopie` into a 0:
    // that copy's checksum fails.
    void KippeEins(int kopie, int byte, std::uint8_t wert) {
        for (int bit = 0; bit < 8; ++bit)
            if ((wert >> (7 - bit)) & 1) {
                Kippe(RumpfBit(kopie, byte, bit));
                return;
            }
    }
    // The pulses of header bytes [von, bis) in both copies, for a dropout over them.
    std::vector<std::pair<std::size_t, std::size_t>> KopfInBeidenKopien(int von, int bis) const {
        std::vector<std::pair<std::size_t, std::size_t>> impulse;
        for (int k = 0; k < 2; ++k)
            impulse.push_back({kopf[k] + ByteImpulse * static_cast<std::size_t>(von),
                               kopf[k] + ByteImpulse * static_cast<std::size_t>(bis)});
        return impulse;
    }
    // The pulses of body bytes [von, bis) in both copies, for a dropout over them.
    std::vector<std::pair<std::size_t, std::size_t>> RumpfInBeidenKopien(int von, int bis) const {
        std::vector<std::pair<std::size_t, std::size_t>> impulse;
        for (int k = 0; k < 2; ++k)
            impulse.push_back({RumpfBit(k, von, 0) - 1, RumpfBit(k, bis, 0) - 1});
        return impulse;
    }
};

// The pulses as a mono 16-bit recording at 44100 Hz, MZ-80K timing (short 11 + 11 samples, long
// 21 + 21: low half, then high half). The leader rises from a whisper to full level over its
// first pulses, as a tape does when it starts under the head, so that a decoder that learns the
// level of the signal as it comes follows it.
constexpr std::uint32_t Rate = 44100;
constexpr int KurzHalb = 11;
constexpr int LangHalb = 21;
constexpr double Voll = 0.5;
constexpr double Anfang = 0.0002;
constexpr double AnstiegFrames = 0.2 * Rate; // the level grows by e in this many frames

// The pulses in [von, bis) of `stille` are silence of their length: a dropout.
inline QByteArray WAV(const std::string& bits,
                      const std::vector<std::pair<std::size_t, std::size_t>>& stille = {}) {
    std::vector<std::int16_t> samples(Rate / 10, 0);
    double pegel = Anfang;
    for (std::size_t k = 0; k < bits.size(); ++k) {
        const int halb = bits[k] == '1' ? LangHalb : KurzHalb;
        bool still = false;
        for (const auto& [von, bis] : stille)
            still = still || (k >= von && k < bis);
        for (int i = 0; i < 2 * halb; ++i) {
            pegel = std::min(Voll, pegel * std::exp(1.0 / AnstiegFrames));
            const double wert = still ? 0.0 : i < halb ? -pegel : pegel;
            samples.push_back(static_cast<std::int16_t>(std::lround(wert * 32767.0)));
        }
    }
    samples.insert(samples.end(), Rate / 10, 0);
    return WAVBau::Wav(1, Rate, 16, WAVBau::Daten16(samples));
}

} // namespace BandBau
