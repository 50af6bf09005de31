// Reads a WAV recording of an MZ cassette: checks the RIFF/WAVE container, hands out its frames
// on one common scale (0..255, zero line at 128) and decodes the tape pulses into bits. A failed
// operation returns false and leaves its reason in HoleFehler.
#pragma once

#include "BandEinstellungen.h"
#include "GepufferterDateiLeser.h"
#include "MZSignalDekoder.h"

#include <QString>
#include <cstdint>
#include <memory>

// What the container says about the samples, as far as the decoder needs it. The plain reader
// knows 8- and 16-bit PCM in one or two channels; the extended one also 24- and 32-bit PCM,
// 32- and 64-bit floating point and up to eight channels.
struct TWAVFormat {
    std::uint32_t sampleRate = 0;
    bool stereo = false;
    bool sechzehnBit = false;
    std::uint16_t kanaele = 1;
    std::uint16_t bytesProSample = 1;
    bool gleitkomma = false;
    // Complete frames in the "data" chunk; the bytes of an incomplete last frame are never read.
    std::int32_t anzahlFrames = 0;

    // Bytes per frame: one sample of every channel.
    int BlockGroesse() const { return kanaele * bytesProSample; }
    // 8 or 16 bits in one or two channels: the layout the plain reader takes.
    bool IstEinfach() const { return !gleitkomma && kanaele <= 2 && bytesProSample <= 2; }
};

// One frame reduced to the common scale. Eight-bit samples are unsigned around 128, sixteen-bit
// ones signed around 0; the two channels of a stereo frame are averaged.
namespace WAVSkala {
constexpr int Nullpunkt16 = 32768;
constexpr int Stufe16 = 256;
constexpr std::uint8_t Voll = 255;

inline std::uint8_t Stereo8(std::uint8_t links, std::uint8_t rechts) {
    return static_cast<std::uint8_t>((links + rechts) / 2);
}
inline std::uint8_t Mono16(std::int16_t sample) {
    return static_cast<std::uint8_t>((sample + Nullpunkt16) / Stufe16);
}
inline std::uint8_t Stereo16(std::int16_t links, std::int16_t rechts) {
    // The average truncates toward zero, as integer division does.
    return Mono16(static_cast<std::int16_t>((links + rechts) / 2));
}
// Mirrors a value on the scale: 255 - v.
inline std::uint8_t Invertiere(std::uint8_t v) {
    return static_cast<std::uint8_t>(Voll - v);
}
} // namespace WAVSkala

class TMZWAVDateiLeser {
public:
    // Accepted sample rates in Hz, and those of the extended reader.
    static constexpr std::uint32_t KleinsteSampleRate = 8000;
    static constexpr std::uint32_t GroessteSampleRate = 45000;
    static constexpr std::uint32_t KleinsteSampleRateErweitert = 4000;
    static constexpr std::uint32_t GroessteSampleRateErweitert = 384000;
    static constexpr std::uint16_t GroessteKanalzahlErweitert = 8;
    // BitZustand values.
    static constexpr std::uint8_t BitNull = 0;
    static constexpr std::uint8_t BitEins = 1;
    static constexpr std::uint8_t KeinBitMehr = 2;

    TMZWAVDateiLeser();
    ~TMZWAVDateiLeser();
    TMZWAVDateiLeser(const TMZWAVDateiLeser&) = delete;
    TMZWAVDateiLeser& operator=(const TMZWAVDateiLeser&) = delete;

    // Checks the container, positions at the first frame and decides the first bit. Of the tape
    // settings the reader takes the MZ model, whose sampling delays time the pulses.
    bool Oeffnen(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                 bool pv_invertiertePolaritaet, bool pv_alternativeAbtastzeit);
    // The same for a recording from any source, read from its start; the caller keeps the source
    // while the reader is open.
    bool Oeffnen(TByteQuelle& pv_quelle, const TBandEinstellungen& pv_einstellungen,
                 bool pv_invertiertePolaritaet, bool pv_alternativeAbtastzeit);
    void Schliessen();
    bool IstGeoeffnet() const { return m_geoeffnet; }

    // The next frame on the common scale (inverted when asked for).
    bool LeseSample(std::uint8_t& pv_sample);
    // Passes over frames without converting them; breaks the sample history.
    bool UeberspringeSamples(std::int32_t pv_anzahl);

    // True when not open or when the recording holds no further bit.
    bool IstDateiEnde() const;
    // Hands out the current bit (true for a long pulse) and decides the next one.
    bool LeseBit(bool& pv_bit);

    // The container walk shared with the multi-pass decoder: checks the RIFF/WAVE container from
    // the source's start and leaves the source at the first byte of the "data" chunk. The
    // extended reader also takes today's formats and the sloppy sizes that recorders write: a RIFF
    // or "data" size larger than the file means "to the end of the file", bytes after the RIFF
    // chunk are ignored. When the plain reader refuses a file that the extended one takes, the
    // failure says so and what the file holds.
    static TBandFehler OeffneWAV(TByteQuelle& pv_quelle, TWAVFormat& pv_format, bool pv_erweitert = false);
    // The same for a file: opens pv_leser with pv_dateiName; on failure pv_leser is closed again.
    static TBandFehler OeffneWAV(TGepufferterDateiLeser& pv_leser, const QString& pv_dateiName,
                                 TWAVFormat& pv_format, bool pv_erweitert = false);
    const TBandFehler& HoleFehler() const { return m_fehler; }

    // The fields, for tests and diagnostics.
    std::uint16_t HoleSampleRate() const { return m_sampleRate; }
    bool IstStereo() const { return m_stereo; }
    bool IstSechzehnBit() const { return m_sechzehnBit; }
    std::int32_t HoleAnzahlSamples() const { return m_anzahlSamples; }
    std::int32_t HoleSampleIndex() const { return m_sampleIndex; }
    std::int16_t HoleLetztesSample() const { return m_letztesSample; }
    std::int16_t HoleVorletztesSample() const { return m_vorletztesSample; }
    std::uint8_t HoleBitZustand() const { return m_bitZustand; }

private:
    bool Beginne(int pv_modell, bool pv_invertiertePolaritaet, bool pv_alternativeAbtastzeit,
                 const TWAVFormat& pv_format);
    bool SucheNaechstesBit();
    bool Fehler(const QString& dateiName, const QString& text) {
        return Fehler(TBandFehler::Lesen(dateiName, text));
    }
    bool Fehler(const TBandFehler& fehler) {
        m_fehler = fehler;
        return false;
    }

    TBandFehler m_fehler;
    int BlockGroesse() const;

    bool m_geoeffnet = false;
    std::unique_ptr<TGepufferterDateiLeser> m_dateiLeser;
    // Where the frames come from: the file reader above, or the caller's source.
    TByteQuelle* m_quelle = nullptr;
    std::uint16_t m_sampleRate = 0;
    bool m_stereo = false;
    bool m_sechzehnBit = false;
    std::int32_t m_anzahlSamples = 0;
    std::int32_t m_sampleIndex = 0;
    bool m_invertiertePolaritaet = false;
    bool m_alternativeAbtastzeit = false;
    int m_modell = MZ80K;
    std::int16_t m_letztesSample = TMZSignalDekoder::KeinSample;
    std::int16_t m_vorletztesSample = TMZSignalDekoder::KeinSample;
    std::uint8_t m_bitZustand = KeinBitMehr;
    // The decoding steps; driven from the file one frame at a time.
    TMZSignalDekoder m_dekoder;
};
