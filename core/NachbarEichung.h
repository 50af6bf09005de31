// The rescue's weighing of the adaptive pass in a block: where its classes lie between which
// neighbours.
#pragma once

#include "BelegFolge.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

// A smeared edge moves with the pulses on both sides of it. The adaptive pass learns its classes
// after each kind of pulse before, yet a pulse before a long one still reads longer than one before
// a short one: on a real cassette read cleanly by up to a quarter of the distance between the
// classes, and by more where the treble is dull. Every byte's last bit stands before a start bit, so
// a short one there comes nearest to reading long. In a block long enough to tell, the middle
// between the two classes is learned anew from the block's own pulses (the medians of each class)
// for each kind of pulse before and after, and each reading is counted from it.
class TNachbarEichung {
public:
    // The adaptive pass's reading of pulse j, a data bit; `letztes`: the byte's last, before whose
    // start bit or end pulse (both long).
    void Nimm(const TBelegFolge& q, std::int64_t j, bool letztes) {
        const int wert = q[j].wert;
        const int vorher = q[j - 1].wert;
        const int nachher = letztes ? TImpulsBeleg::Sicher : q[j + 1].wert;
        if (wert != 0 && vorher != 0 && std::abs(nachher) >= KlarerNachbar)
            ++m_anzahl[vorher > 0][nachher > 0][wert > 0][wert + TImpulsBeleg::Sicher];
    }
    // After every Nimm of the block.
    void Stelle() {
        for (int v = 0; v < 2; ++v)
            for (int n = 0; n < 2; ++n) {
                m_mitte[v][n] = 0;
                const int kurz = Median(m_anzahl[v][n][0]);
                const int lang = Median(m_anzahl[v][n][1]);
                // Too few pulses of a class, or half of them as sure as can be: as it reads.
                if (kurz == Keiner || lang == Keiner || kurz <= -TImpulsBeleg::Sicher ||
                    lang >= TImpulsBeleg::Sicher)
                    continue;
                m_mitte[v][n] = (kurz + lang) / 2;
            }
    }
    std::int8_t Wert(const TBelegFolge& q, std::int64_t j, bool letztes) const {
        const int wert = q[j].wert;
        const int vorher = q[j - 1].wert;
        const int nachher = letztes ? TImpulsBeleg::Sicher : q[j + 1].wert;
        if (wert == 0 || vorher == 0 || std::abs(nachher) < KlarerNachbar)
            return static_cast<std::int8_t>(wert);
        return static_cast<std::int8_t>(
            std::clamp(wert - m_mitte[vorher > 0][nachher > 0], -TImpulsBeleg::Sicher, TImpulsBeleg::Sicher));
    }

private:
    static constexpr int Stufen = 2 * TImpulsBeleg::Sicher + 1;
    static constexpr int Keiner = Stufen;
    // Fewer pulses of a class in one kind of neighbours than this: no middle learned there.
    static constexpr int MindestZahl = 64;
    // The pulse after counts as its class from this on (half a typical reading).
    static constexpr int KlarerNachbar = 32;

    static int Median(const std::array<int, Stufen>& anzahl) {
        int gesamt = 0;
        for (const int a : anzahl)
            gesamt += a;
        if (gesamt < MindestZahl)
            return Keiner;
        int bisher = 0;
        for (int i = 0; i < Stufen; ++i)
            if ((bisher += anzahl[static_cast<std::size_t>(i)]) * 2 >= gesamt)
                return i - TImpulsBeleg::Sicher;
        return Keiner;
    }

    // [the pulse before long][the pulse after long][this one long][reading + Sicher]
    std::array<int, Stufen> m_anzahl[2][2][2] = {};
    int m_mitte[2][2] = {};
};
