// The samples of a cassette signal that a Sharp MZ loads from its tape input, 8-bit unsigned
// mono: a pulse is a run of samples at the first-part level followed by a run at the second-part
// level; one second of silence precedes the first pulse and follows the last. The WAV writer puts
// these samples into a file and the tape deck sends them to a sound card, so both carry the same
// signal.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class TMZImpulsGenerator {
public:
    // Sample levels of 8-bit unsigned PCM; with inverted polarity a pulse level L becomes 255 - L.
    static constexpr std::uint8_t Stille = 128;
    static constexpr std::uint8_t PegelErsterTeil = 64;
    static constexpr std::uint8_t PegelZweiterTeil = 192;
    // Silence before the first pulse and after the last, in seconds.
    static constexpr int StilleSekunden = 1;

    // Samples of the two parts of one pulse (each at least one) for a model index, a sample rate
    // in Hz and the pulse kind.
    struct TImpulsLaengen {
        std::int32_t ersterTeil;
        std::int32_t zweiterTeil;
    };
    static TImpulsLaengen BerechneImpulsLaengen(int modell, std::uint32_t sampleRate, bool lang);

    // A run of equal samples.
    struct TLauf {
        std::uint8_t pegel;
        std::int32_t anzahl;
    };

    TMZImpulsGenerator(int pv_modell, std::uint32_t pv_sampleRate, bool pv_invertiert);

    std::uint32_t SampleRate() const { return m_sampleRate; }
    // The silence before the first pulse and after the last.
    TLauf Stillelauf() const { return {Stille, static_cast<std::int32_t>(m_sampleRate) * StilleSekunden}; }
    // The two runs of a pulse.
    const std::array<TLauf, 2>& Impuls(bool pv_lang) const { return pv_lang ? m_lang : m_kurz; }

private:
    std::uint32_t m_sampleRate;
    std::array<TLauf, 2> m_lang;
    std::array<TLauf, 2> m_kurz;
};

// The whole signal of a tape bit text ('1' a long pulse, anything else a short one) as a stream
// of samples: the lead-in silence, every pulse, the trailing silence. Read it run by run or into
// buffers of any size; the samples are the same either way.
class TMZTonbandSignal {
public:
    TMZTonbandSignal(std::string pv_bits, const TMZImpulsGenerator& pv_generator);

    const TMZImpulsGenerator& Generator() const { return m_generator; }
    // Samples of the whole signal, and samples handed out so far.
    std::int64_t AnzahlSamples() const { return m_anzahlSamples; }
    std::int64_t Position() const { return m_position; }
    bool IstAmEnde() const { return m_position >= m_anzahlSamples; }

    // The next run (what is left of it, after Fuelle took part of it); false at the end.
    bool NaechsterLauf(TMZImpulsGenerator::TLauf& pv_lauf);
    // Up to pv_anzahl samples into pv_ziel; the number written, 0 at the end.
    std::int64_t Fuelle(std::uint8_t* pv_ziel, std::int64_t pv_anzahl);

private:
    // Where the stream stands: before the lead-in, in a pulse's first or second part, in the
    // trailing silence, or done.
    enum class TAbschnitt : std::uint8_t { Vorlauf, Impulse, Nachlauf, Ende };
    bool HoleLauf(TMZImpulsGenerator::TLauf& pv_lauf);

    std::string m_bits;
    TMZImpulsGenerator m_generator;
    std::int64_t m_anzahlSamples = 0;
    std::int64_t m_position = 0;
    TAbschnitt m_abschnitt = TAbschnitt::Vorlauf;
    std::size_t m_impuls = 0;                                        // index into m_bits
    int m_teil = 0;                                                  // 0 first part, 1 second part
    TMZImpulsGenerator::TLauf m_rest{TMZImpulsGenerator::Stille, 0}; // of the run Fuelle began
};
