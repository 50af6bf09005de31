// Turns tape pulses into an 8-bit mono WAV file that a Sharp MZ loads from its tape input.
// A pulse is a run of samples at the first-part level followed by a run at the second-part level;
// one second of silence precedes the first pulse and follows the last; the 44-byte header is
// written last, over the room left for it.
#pragma once

#include "GepufferterDateiSchreiber.h"

#include <QString>
#include <memory>

class TMZWAVDateiSchreiber {
public:
    TMZWAVDateiSchreiber();
    ~TMZWAVDateiSchreiber();
    bool Oeffnen(const QString& pv_dateiName);
    bool SchreibeImpuls(bool pv_lang);
    bool Schliessen();
    void Abbrechen();
    bool IstGeoeffnet() const { return m_geoeffnet; }

private:
    bool m_geoeffnet = false;
    std::unique_ptr<TGepufferterDateiSchreiber> m_dateiSchreiber;
};
