// The waveform of a recording summed up for drawing: its envelope (lowest and highest frame) at
// levels of growing coarseness, and its level (the root mean square around the zero line) along
// the tape. Both are built in one pass over the frames on the common scale.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// The lowest and highest frame on the common scale over stretches of a recording, kept at levels
// of growing coarseness, so that any stretch is summed up from a handful of entries.
class THuelle {
public:
    // Frames per entry of the finest level, and how many entries of a level make one of the next.
    static constexpr std::int64_t Grundbreite = 16;
    static constexpr std::int64_t Faktor = 4;

    struct TSpanne {
        std::uint8_t tief = 255;
        std::uint8_t hoch = 0;
        bool Leer() const { return tief > hoch; }
        void Nimm(const TSpanne& s) {
            tief = std::min(tief, s.tief);
            hoch = std::max(hoch, s.hoch);
        }
    };

    // Frames in recording order.
    void Nimm(const std::uint8_t* pv_frames, std::int32_t pv_anzahl);
    // All frames are in: the coarser levels are built.
    void Schliesse();
    void Leere();

    std::int64_t Frames() const { return m_frames; }
    // The span of the frames [von, bis), from entries no coarser than the stretch (so it may reach
    // up to one entry beyond it on either side); empty outside the recording.
    TSpanne Spanne(std::int64_t pv_von, std::int64_t pv_bis) const;
    std::size_t Bytes() const;

private:
    std::vector<std::vector<TSpanne>> m_stufen;
    TSpanne m_offen; // the entry of the finest level in hand
    std::int64_t m_imOffenen = 0;
    std::int64_t m_frames = 0;
};

// The level of a recording: the root mean square of the frames around the zero line of the
// common scale, one value per stretch of Breite frames, as a share of full scale (a square wave
// from the lowest to the highest step is 1).
class TPegel {
public:
    static constexpr std::int64_t Breite = 1024;

    struct TBereich {
        float tief = 0.0F;
        float hoch = 0.0F;
        bool leer = true;
    };

    // Frames in recording order.
    void Nimm(const std::uint8_t* pv_frames, std::int32_t pv_anzahl);
    // All frames are in: the last, shorter stretch counts too.
    void Schliesse();
    void Leere();

    std::int64_t Frames() const { return m_frames; }
    // The quietest and the loudest stretch that overlaps the frames [von, bis).
    TBereich Bereich(std::int64_t pv_von, std::int64_t pv_bis) const;
    std::size_t Bytes() const { return m_werte.capacity() * sizeof(float); }

private:
    std::vector<float> m_werte;
    std::uint64_t m_summe = 0; // of the squares in the stretch in hand
    std::int64_t m_imOffenen = 0;
    std::int64_t m_frames = 0;
};
