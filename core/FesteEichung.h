// The rescue's weighing of a fixed pass: where its own short and long pulses lie.
#pragma once

#include "ImpulsBeleg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// How a fixed pass's levels fall for pulses known short or long (of blocks whose checksum
// agreed), after a short and after a long pulse. A smeared treble or phase moves a pulse's edges
// by the pulse before it: a pass that looks at a fixed time after the edge then reads the short
// pulses after a long one as long, on some tapes nearly all of them, while its levels still set
// the two classes apart. Its votes count from the middle between its own classes, and a pass that
// cannot tell them apart there has no vote.
struct TEichung {
    double summe[2][2] = {}; // [the pulse before long][this one long]
    std::int64_t anzahl[2][2] = {};
    std::int64_t falsch[2][2] = {}; // read as the other class by the pass's own zero line
    // What follows for the votes, per pulse before: taken as they are, moved by so much, or none.
    enum class TArt : std::uint8_t { Roh, Verschoben, Stumm };
    TArt art[2] = {TArt::Roh, TArt::Roh};
    int verschiebung[2] = {};

    void Nimm(bool vorherLang, bool lang, int wert) {
        summe[vorherLang][lang] += wert;
        ++anzahl[vorherLang][lang];
        if ((wert > 0) != lang)
            ++falsch[vorherLang][lang];
    }
    // After a batch of Nimm.
    void Stelle() {
        for (int v = 0; v < 2; ++v) {
            const std::int64_t* n = anzahl[v];
            const std::int64_t* f = falsch[v];
            art[v] = TArt::Roh;
            // Too few pulses to say: as it reads.
            if (n[0] < MindestZahl || n[1] < MindestZahl)
                continue;
            const double kurz = summe[v][0] / static_cast<double>(n[0]);
            const double lang = summe[v][1] / static_cast<double>(n[1]);
            // Classes this close say little, and a copy's weight is the mean of its readings:
            // such votes would only pull the adaptive pass's sure ones toward nothing.
            if (lang - kurz < 2.0 * KleinsterAbstand)
                art[v] = TArt::Stumm;
            // Its own zero line misreads too many: counted from the middle between its classes.
            else if (f[0] * FehlerTeil > n[0] || f[1] * FehlerTeil > n[1])
                art[v] = TArt::Verschoben;
            // Otherwise its own zero line sets them apart well: as it reads.
            verschiebung[v] = static_cast<int>(std::lround(0.5 * (lang + kurz)));
        }
    }
    int Wert(bool vorherLang, int wert) const {
        switch (art[vorherLang]) {
        case TArt::Roh:
            return wert;
        case TArt::Stumm:
            return 0;
        case TArt::Verschoben:
            break;
        }
        return std::clamp(wert - verschiebung[vorherLang], -TImpulsBeleg::Sicher, TImpulsBeleg::Sicher);
    }
    // Fewer pulses of a class than this: the pass's votes count as they are.
    static constexpr std::int64_t MindestZahl = 16;
    // The pass's own zero line is kept while it reads no more than one pulse in this many wrong.
    static constexpr std::int64_t FehlerTeil = 20;
    // Half the distance between the classes' mean levels below which a pass has no vote: a
    // clear reading weighs about 64.
    static constexpr double KleinsterAbstand = 24.0;
};
