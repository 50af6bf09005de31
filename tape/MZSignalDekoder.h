// Turns the samples of an MZ tape recording into pulses: every pulse begins with a downward
// crossing of the zero line; a fixed delay after the crossing the level is looked at once, still
// low means a long pulse ("1"), high again a short one ("0").
//
// The decoder is fed frames on the common 0..255 scale in recording order, one or many at a time,
// and hands every decided bit to a sink. It knows the number of frames of the recording in advance,
// because a crossing whose sampling moment lies after the last frame yields no bit. Between a
// crossing and its sampling moment it does not look at the frames: a driver that can skip frames
// without converting them asks HoleUeberspringbar and calls Ueberspringe instead of feeding them.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

class TMZSignalDekoder {
public:
    // Zero line of the common scale: below is low, from it up is high.
    static constexpr int Schwellwert = 128;
    // Marks an empty place in the sample history.
    static constexpr int KeinSample = -1;

    // Time in microseconds from a downward crossing to the moment the level is looked at, for a
    // model index; the MZ-700 has a second one, tried in passes of their own.
    static double AbtastVerzoegerung(int pv_modell, bool pv_alternativeAbtastzeit);

    // A recording of pv_anzahlFrames frames at pv_sampleRate Hz, from its first frame with an
    // empty history.
    void Starte(std::uint32_t pv_sampleRate, double pv_verzoegerung, std::int32_t pv_anzahlFrames) {
        m_sampleRate = pv_sampleRate;
        m_anzahlFrames = pv_anzahlFrames;
        SetzeStand(pv_verzoegerung, KeinSample, KeinSample, 0);
    }

    // Goes on looking for the next bit from this point: pv_index frames consumed, the two last
    // ones (oldest first, KeinSample where none) as given. A crossing between those two is taken
    // at once.
    void SetzeStand(double pv_verzoegerung, int pv_vorletztes, int pv_letztes, std::int32_t pv_index) {
        m_verzoegerung = pv_verzoegerung;
        m_vorletztes = pv_vorletztes;
        m_letztes = pv_letztes;
        m_index = pv_index;
        SucheWeiter();
    }

    bool IstAmEnde() const { return m_phase == TPhase::Ende; }
    // Frames that come next and are never looked at.
    std::int32_t HoleUeberspringbar() const {
        return m_phase == TPhase::Ueberspringen ? m_zuUeberspringen : 0;
    }
    // The driver has skipped pv_anzahl (at most HoleUeberspringbar) frames without feeding them.
    void Ueberspringe(std::int32_t pv_anzahl) {
        m_index += pv_anzahl;
        m_zuUeberspringen -= pv_anzahl;
        if (m_zuUeberspringen <= 0)
            m_phase = TPhase::ErstesSample;
    }
    std::int32_t HoleIndex() const { return m_index; }
    int HoleLetztesSample() const { return m_letztes; }
    int HoleVorletztesSample() const { return m_vorletztes; }

    // Consumes the frames [p, ende) that follow the ones consumed so far (none past the recording's
    // end) and calls pv_senke(bool lang) once per decided bit, in order. A sink that takes
    // (bool lang, int pegel, double kreuzung) is also told the level looked at (how far from the
    // zero line, how sure) and the frame (with fraction) where the pulse began. After the end every
    // frame is ignored.
    template <typename TSenke>
    void Verarbeite(const std::uint8_t* p, const std::uint8_t* ende, TSenke& pv_senke) {
        while (p < ende) {
            switch (m_phase) {
            case TPhase::Suchen: {
                const std::uint8_t* nachher = SucheKreuzung(p, ende);
                if (nachher == ende) {
                    const auto anzahl = static_cast<std::int32_t>(ende - p);
                    // With a single frame the one before it is the last of the history.
                    if (anzahl >= 2)
                        m_vorletztes = p[anzahl - 2];
                    else
                        m_vorletztes = m_letztes;
                    m_letztes = p[anzahl - 1];
                    m_index += anzahl;
                    p = ende;
                    if (m_index >= m_anzahlFrames)
                        m_phase = TPhase::Ende;
                } else {
                    m_vorletztes = nachher > p ? nachher[-1] : m_letztes;
                    m_letztes = *nachher;
                    m_index += static_cast<std::int32_t>(nachher - p) + 1;
                    p = nachher + 1;
                    Kreuzung(m_vorletztes, m_letztes);
                }
                break;
            }
            case TPhase::Ueberspringen: {
                const std::int32_t anzahl =
                    ende - p < m_zuUeberspringen ? static_cast<std::int32_t>(ende - p) : m_zuUeberspringen;
                p += anzahl;
                Ueberspringe(anzahl);
                break;
            }
            case TPhase::ErstesSample: {
                const int s = *p++;
                Nimm(s);
                if (m_ganzzahlig) {
                    Melde(pv_senke, s);
                    SucheWeiter();
                } else {
                    m_phase = TPhase::ZweitesSample;
                }
                break;
            }
            case TPhase::ZweitesSample: {
                const int s1 = m_letztes;
                const int s2 = *p++;
                Nimm(s2);
                Melde(pv_senke, Interpoliere(s1, s2));
                SucheWeiter();
                break;
            }
            case TPhase::Ende:
                return;
            }
        }
    }

private:
    enum class TPhase : std::uint8_t { Suchen, Ueberspringen, ErstesSample, ZweitesSample, Ende };

    template <typename TSenke> void Melde(TSenke& pv_senke, int pegel) {
        if constexpr (std::is_invocable_v<TSenke&, bool, int, double>)
            pv_senke(pegel < Schwellwert, pegel, m_kreuzung);
        else
            pv_senke(pegel < Schwellwert);
    }

    void Nimm(int s) {
        ++m_index;
        m_vorletztes = m_letztes;
        m_letztes = s;
    }

    // The level between s1 and s2 at the sampling moment, rounded; half goes up.
    int Interpoliere(int s1, int s2) const {
        return static_cast<int>(std::floor(m_gewichtErstes * s1 + m_anteil * s2 + 0.5));
    }

    // Start of every search: a crossing between the last two frames counts at once; otherwise the
    // search goes on with the next frame, unless there is none.
    void SucheWeiter() {
        m_phase = TPhase::Suchen;
        if (m_vorletztes >= Schwellwert && m_letztes != KeinSample && m_letztes < Schwellwert)
            Kreuzung(m_vorletztes, m_letztes);
        else if (m_index >= m_anzahlFrames)
            m_phase = TPhase::Ende;
    }

    // A crossing between `vorher` and `nachher`, the last frame consumed: where the level is to be
    // looked at, and how to get there.
    void Kreuzung(int vorher, int nachher);

    // The first frame in [p, ende) that is low while the one before it (m_letztes before p) is
    // high; ende when there is none. Eight frames at a time: a high frame has its top bit set.
    const std::uint8_t* SucheKreuzung(const std::uint8_t* p, const std::uint8_t* ende) const {
        constexpr std::uint64_t Hoch = 0x8080808080808080ULL;
        constexpr int BitsProByte = 8;
        constexpr int LetztesByte = 56;
        std::uint64_t vorHoch = m_letztes >= Schwellwert ? Schwellwert : 0;
        while (ende - p >= BitsProByte) {
            std::uint64_t wort;
            std::memcpy(&wort, p, sizeof wort);
            if constexpr (std::endian::native == std::endian::big)
                wort = __builtin_bswap64(wort);
            const std::uint64_t hoch = wort & Hoch;
            // Each byte's top bit moved into the next byte: "the frame before was high".
            const std::uint64_t kreuzung = ((hoch << BitsProByte) | vorHoch) & ~wort & Hoch;
            if (kreuzung != 0)
                return p + (std::countr_zero(kreuzung) / BitsProByte);
            vorHoch = hoch >> LetztesByte;
            p += BitsProByte;
        }
        bool vorherHoch = vorHoch != 0;
        for (; p < ende; ++p) {
            if (vorherHoch && *p < Schwellwert)
                return p;
            vorherHoch = *p >= Schwellwert;
        }
        return ende;
    }

    // Set by Starte and SetzeStand.
    std::uint32_t m_sampleRate = 0;
    double m_verzoegerung = 0.0;
    std::int32_t m_anzahlFrames = 0;

    TPhase m_phase = TPhase::Ende;
    std::int32_t m_index = 0;
    int m_letztes = KeinSample;
    int m_vorletztes = KeinSample;
    // Of the sampling moment in hand: frames still to skip, whether it falls on a frame, and the
    // weights of the two frames around it.
    std::int32_t m_zuUeberspringen = 0;
    bool m_ganzzahlig = false;
    double m_anteil = 0.0;
    double m_gewichtErstes = 0.0;
    // Where the crossing of the pulse in hand lies, in frames from the recording's start.
    double m_kreuzung = 0.0;
};
