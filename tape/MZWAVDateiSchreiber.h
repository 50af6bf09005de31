// Turns tape pulses into an 8-bit mono WAV file that a Sharp MZ loads from its tape input: the
// samples of the pulse generator (TMZImpulsGenerator), the 44-byte header written last, over the
// room left for it.
#pragma once

#include "GepufferterDateiSchreiber.h"
#include "MZImpulsGenerator.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class TMZWAVDateiSchreiber {
public:
    static constexpr std::uint8_t Stille = TMZImpulsGenerator::Stille;
    static constexpr std::uint8_t PegelErsterTeil = TMZImpulsGenerator::PegelErsterTeil;
    static constexpr std::uint8_t PegelZweiterTeil = TMZImpulsGenerator::PegelZweiterTeil;
    static constexpr int KopfGroesse = 44;

    using TImpulsLaengen = TMZImpulsGenerator::TImpulsLaengen;
    static TImpulsLaengen BerechneImpulsLaengen(int modell, std::uint32_t sampleRate, bool lang) {
        return TMZImpulsGenerator::BerechneImpulsLaengen(modell, sampleRate, lang);
    }

    TMZWAVDateiSchreiber();
    ~TMZWAVDateiSchreiber();
    TMZWAVDateiSchreiber(const TMZWAVDateiSchreiber&) = delete;
    TMZWAVDateiSchreiber& operator=(const TMZWAVDateiSchreiber&) = delete;

    // With the generator of the in-memory settings (model, sample rate, polarity), or a given one.
    bool Oeffnen(const QString& pv_dateiName);
    bool Oeffnen(const QString& pv_dateiName, const TMZImpulsGenerator& pv_generator);
    bool SchreibeImpuls(bool pv_lang);
    bool Schliessen();
    void Abbrechen();
    bool IstGeoeffnet() const { return m_geoeffnet; }
    // Why the last operation failed.
    const TBandFehler& HoleFehler() const { return m_fehler; }

private:
    bool SchreibeLauf(const TMZImpulsGenerator::TLauf& pv_lauf);
    // The file writer's failure as this writer's.
    bool UebernimmDateiFehler() {
        m_fehler = m_dateiSchreiber->HoleFehler();
        return false;
    }

    TBandFehler m_fehler;

    bool m_geoeffnet = false;
    std::optional<TMZImpulsGenerator> m_generator;
    std::unique_ptr<TGepufferterDateiSchreiber> m_dateiSchreiber;
};
