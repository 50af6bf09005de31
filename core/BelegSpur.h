// The pulses one pass of the extended decoding decided along a whole recording, each with how sure
// it is, kept in two bytes a pulse: the frames since the pulse before and the certainty, with the
// absolute frame at an anchor every few hundred pulses (and wherever a step does not fit a byte),
// so that any stretch is found without walking the whole tape.
#pragma once

#include "ImpulsBeleg.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TBelegSpur {
public:
    // Pulses between two anchors at most.
    static constexpr std::size_t AnkerAbstand = 256;

    // Pulses in recording order.
    void Nimm(const TImpulsBeleg* pv_belege, std::size_t pv_anzahl);
    void Leere();
    void Schliesse();

    std::size_t Anzahl() const { return m_werte.size(); }
    // The pulses that begin in [von, bis), with the one before and the one after (where there
    // are such), so that each pulse in the stretch has its end: the next one's beginning.
    std::vector<TImpulsBeleg> Zwischen(std::int64_t pv_von, std::int64_t pv_bis) const;
    std::size_t Bytes() const;

private:
    struct TAnker {
        std::size_t index = 0;
        std::int32_t beginn = 0;
    };
    std::vector<std::uint8_t> m_schritte; // frames since the pulse before (0 at an anchor)
    std::vector<std::int8_t> m_werte;
    std::vector<TAnker> m_anker;
    std::int32_t m_letzter = 0;
};
