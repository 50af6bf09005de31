// Turns tape pulses into an 8-bit mono WAV file that a Sharp MZ loads from its tape input.
// A pulse is a run of samples at the first-part level followed by a run at the second-part level;
// one second of silence precedes the first pulse and follows the last; the 44-byte header is
// written last, over the room left for it.
#pragma once

#include "GepufferterDateiSchreiber.h"

#include <QString>
#include <cstdint>
#include <memory>

class TMZWAVDateiSchreiber {
public:
    // Sample levels of 8-bit unsigned PCM; with inverted polarity a pulse level L becomes 255 - L.
    static constexpr std::uint8_t Stille = 128;
    static constexpr std::uint8_t PegelErsterTeil = 64;
    static constexpr std::uint8_t PegelZweiterTeil = 192;
    static constexpr int KopfGroesse = 44;

    // Samples of the two parts of one pulse (each at least one) for a model index, a sample rate
    // in Hz and the pulse kind, from the settings' point of view of the moment.
    struct TImpulsLaengen {
        std::int32_t ersterTeil;
        std::int32_t zweiterTeil;
    };
    static TImpulsLaengen BerechneImpulsLaengen(int modell, std::uint32_t sampleRate, bool lang);

    TMZWAVDateiSchreiber();
    ~TMZWAVDateiSchreiber();
    TMZWAVDateiSchreiber(const TMZWAVDateiSchreiber&) = delete;
    TMZWAVDateiSchreiber& operator=(const TMZWAVDateiSchreiber&) = delete;

    bool Oeffnen(const QString& pv_dateiName);
    bool SchreibeImpuls(bool pv_lang);
    bool Schliessen();
    void Abbrechen();
    bool IstGeoeffnet() const { return m_geoeffnet; }

private:
    bool m_geoeffnet = false;
    std::unique_ptr<TGepufferterDateiSchreiber> m_dateiSchreiber;
};
