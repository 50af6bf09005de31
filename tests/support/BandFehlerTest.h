// Failures of the tape layer as the tests expect them, and as GoogleTest prints them.
#pragma once

#include "BandFehler.h"

#include <ostream>

inline void PrintTo(const TBandFehler& f, std::ostream* aus) {
    *aus << "{art " << static_cast<int>(f.art) << ", \"" << f.datei.toStdString() << "\", \""
         << f.text.toStdString() << "\"";
    if (f.art == TBandFehler::TArt::SampleRate)
        *aus << ", " << f.kleinste << ".." << f.groesste;
    if (f.erweitert.liest)
        *aus << ", extended: " << f.erweitert.sampleRate << " Hz, " << f.erweitert.bits << " bits"
             << (f.erweitert.gleitkomma ? " float, " : ", ") << f.erweitert.kanaele << " channels";
    *aus << "}";
}

namespace BandFehlerTest {

inline TBandFehler Beschaedigt(const QString& datei) {
    return TBandFehler::Von(TBandFehler::TArt::Beschaedigt, datei);
}

inline TBandFehler UngueltigerName() {
    return TBandFehler::Von(TBandFehler::TArt::UngueltigerName, QString());
}

} // namespace BandFehlerTest
