// Decodes tape pulses from recordings that a fixed sampling moment misses: worn cassettes with
// hiss, hum, a DC offset or dull treble, and motors that run fast or slow. Instead of looking at
// the level once, it measures every pulse:
//   1. a band-pass (two second-order Butterworth sections) removes DC, hum and what lies far
//      above the pulses;
//   2. peak followers track the signal's top and bottom; their middle is the zero line, and a
//      pulse edge counts once the signal has left the line by a share of the swing (hysteresis),
//      at the moment it last crossed the line;
//   3. a pulse lasts from one falling edge to the next (from one rising edge to the next on a
//      recording of the other polarity: both are decoded side by side);
//   4. a pulse is long when it lasts longer than the middle of the short and long lengths learned
//      from the tape itself. They start at the model's nominal lengths; a run of many pulses of
//      one length (the leader's thousands of short pulses) sets them anew, which undoes whatever
//      hiss in a pause taught; in between every pulse moves its class a little, which follows a
//      slow drift of the motor's speed.
// Works on frames as floating point, full scale +-1, fed in recording order.
#pragma once

#include <cmath>
#include <cstdint>

class TMZAdaptiverDekoder {
public:
    // The two polarities decoded side by side.
    static constexpr int Normal = 0;
    static constexpr int Invertiert = 1;
    static constexpr int AnzahlPolaritaeten = 2;

    // Nominal pulse lengths in microseconds (both parts of a pulse) for a model index.
    static double NominalKurz(int pv_modell);
    static double NominalLang(int pv_modell);

    void Starte(std::uint32_t pv_sampleRate, int pv_modell);

    // Consumes frames [p, ende) and calls pv_senke(int polaritaet, bool lang, double beginn) once per
    // pulse that has ended, `beginn` being the frame (with fraction) where it began.
    template <typename TSenke> void Verarbeite(const float* p, const float* ende, TSenke& pv_senke) {
        for (; p < ende; ++p, ++m_frame) {
            const double y = m_tiefpass.Filtere(m_hochpass.Filtere(*p));
            // The peak followers fall back toward the zero line, and jump to every new peak.
            m_oben = y > m_oben ? y : m_mitte + (m_oben - m_mitte) * m_abfall;
            m_unten = y < m_unten ? y : m_mitte + (m_unten - m_mitte) * m_abfall;
            m_mitte = 0.5 * (m_oben + m_unten);
            const double relativ = y - m_mitte;
            // The level of the last second: hiss far below it is no pulse.
            m_pegel = std::fmax(std::fabs(relativ), m_pegel * m_pegelAbfall);
            const double hysterese = std::fmax(std::fmax(KleinsteHysterese, PegelAnteil * m_pegel),
                                               HystereseAnteil * (m_oben - m_unten));
            if (m_vorher >= 0.0 && relativ < 0.0)
                m_letzteAbwaerts = m_frame - 1 + m_vorher / (m_vorher - relativ);
            else if (m_vorher < 0.0 && relativ >= 0.0)
                m_letzteAufwaerts = m_frame - 1 + m_vorher / (m_vorher - relativ);
            m_vorher = relativ;
            if (m_hoch && relativ < -hysterese) {
                m_hoch = false;
                Flanke(Normal, m_letzteAbwaerts, pv_senke);
            } else if (!m_hoch && relativ > hysterese) {
                m_hoch = true;
                Flanke(Invertiert, m_letzteAufwaerts, pv_senke);
            }
        }
    }

    // The short and long pulse lengths learned so far for a polarity, in microseconds.
    double HoleKurzerImpuls(int pv_polaritaet) const {
        return InMikrosekunden(m_klassen[pv_polaritaet].kurz);
    }
    double HoleLangerImpuls(int pv_polaritaet) const {
        return InMikrosekunden(m_klassen[pv_polaritaet].lang);
    }
    // The lengths set by the last run of pulses of one length (a leader), in microseconds; 0 when
    // there was none.
    double HoleLaufKurz(int pv_polaritaet) const {
        return InMikrosekunden(m_klassen[pv_polaritaet].laufKurz);
    }
    double HoleLaufLang(int pv_polaritaet) const {
        return InMikrosekunden(m_klassen[pv_polaritaet].laufLang);
    }
    std::int64_t HoleFrame() const { return m_frame; }

private:
    // Share of the peak-to-peak swing that a pulse edge must leave the zero line by, and a floor
    // below which the signal counts as silence (about -50 dB of full scale).
    static constexpr double HystereseAnteil = 0.08;
    static constexpr double KleinsteHysterese = 0.003;
    static constexpr double PegelAnteil = 0.1;

    // A second-order section in transposed direct form II.
    struct TBiquad {
        double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
        double z1 = 0.0, z2 = 0.0;
        double Filtere(double x) {
            const double y = b0 * x + z1;
            z1 = b1 * x - a1 * y + z2;
            z2 = b2 * x - a2 * y;
            return y;
        }
    };
    static TBiquad Hochpass(double grenze, double rate);
    static TBiquad Tiefpass(double grenze, double rate);

    // What is learned about the pulses of one polarity, lengths in frames.
    struct TKlassen {
        double kurz = 0.0;
        double lang = 0.0;
        double letzteFlanke = -1.0; // where the pulse in hand began; negative before the first edge
        // The run of pulses of one length in hand: how many, and their sum.
        int lauf = 0;
        double laufSumme = 0.0;
        double laufKurz = 0.0;
        double laufLang = 0.0;
    };

    template <typename TSenke> void Flanke(int polaritaet, double zeit, TSenke& pv_senke) {
        TKlassen& k = m_klassen[polaritaet];
        if (k.letzteFlanke < 0.0) {
            k.letzteFlanke = zeit;
            return;
        }
        const double dauer = zeit - k.letzteFlanke;
        // Far shorter than a short pulse: a glitch inside the pulse in hand, which goes on.
        if (dauer < StoerungsAnteil * k.kurz)
            return;
        // Far longer than a long pulse: a pause; the pulse that follows begins here.
        if (dauer <= PausenAnteil * k.lang) {
            FolgeLauf(k, dauer);
            const bool lang = Lerne(k, dauer);
            pv_senke(polaritaet, lang, k.letzteFlanke);
        }
        k.letzteFlanke = zeit;
    }

    // Classifies a pulse and moves the learned length of its class toward it.
    bool Lerne(TKlassen& k, double dauer) const;
    void FolgeLauf(TKlassen& k, double dauer) const;

    double InMikrosekunden(double frames) const { return frames * m_mikrosekundenProFrame; }

    static constexpr double StoerungsAnteil = 0.5;
    static constexpr double PausenAnteil = 2.0;

    TBiquad m_hochpass;
    TBiquad m_tiefpass;
    double m_abfall = 0.0;
    double m_pegel = 0.0;
    double m_pegelAbfall = 0.0;
    double m_oben = 0.0;
    double m_unten = 0.0;
    double m_mitte = 0.0;
    double m_vorher = 0.0;
    bool m_hoch = true;
    double m_letzteAbwaerts = 0.0;
    double m_letzteAufwaerts = 0.0;
    std::int64_t m_frame = 0;
    double m_mikrosekundenProFrame = 0.0;
    // Bounds of the learned lengths, in frames.
    double m_kurzMin = 0.0, m_kurzMax = 0.0, m_langMin = 0.0, m_langMax = 0.0;
    // The nominal lengths in frames, and the boundary between short and long runs.
    double m_kurzNominal = 0.0, m_langNominal = 0.0, m_laufGrenze = 0.0;
    TKlassen m_klassen[AnzahlPolaritaeten];
};
