// Decodes tape pulses from recordings that a fixed sampling moment misses: worn cassettes with
// hiss, hum, a DC offset or dull treble, and motors that run fast or slow. Instead of looking at
// the level once, it measures every pulse:
//   1. a band-pass (two second-order Butterworth sections) removes DC, hum and what lies far
//      above the pulses; where the pulses' lengths scatter (hiss, smear, a worn tape), a narrower
//      band that ends just above a short pulse's fundamental is taken instead, as long as the
//      tape is not saturated (whose narrow halves need the wide band, as clean sharp edges do);
//   2. peak followers track the signal's top and bottom; their middle is the zero line, and a
//      pulse edge counts once the signal has left the line by a share of the swing (hysteresis),
//      at the moment it last crossed the line. Where a dropout's fall leaves them far above the
//      signal, they are scaled down with it;
//   3. a pulse lasts from one falling edge to the next (from one rising edge to the next on a
//      recording of the other polarity: both are decoded side by side);
//   4. a pulse is long when it lasts longer than the middle of the short and long lengths learned
//      from the tape itself. They start at the model's nominal lengths; a run of many pulses of
//      one length (the leader's thousands of short pulses) sets them anew, which undoes whatever
//      hiss in a pause taught; in between every pulse moves its class a little, which follows a
//      slow drift of the motor's speed. A misaligned head or dull treble shifts an edge by what
//      the pulse before it was, so the lengths are learned for each kind of pulse before, and the
//      middle taken is that of the pulse before;
//   5. each pulse also tells how sure the decision is (its distance from that middle, against the
//      distance between the two lengths), and that nothing is known when the signal dropped into
//      the hiss or a click stood far above it while the pulse lasted. In a shallower dropout the
//      pulses stand far above the hiss: their lengths count as anywhere. A click too narrow to
//      stand far above the level still crosses the zero line and back: that spike splits no pulse;
//   6. an edge that a lossy codec or hiss flattened leaves the signal crossing the zero line and
//      back inside one half without leaving it by the hysteresis. Where that joined a short and a
//      long pulse into one as long as both, the pulse is split at that crossing, and both parts
//      count as unsure.
// Works on frames as floating point, full scale +-1, fed in recording order. Recordings of 44.1 kHz
// and more are first reduced to between 22 and 44 kHz by averaging groups of frames: the pulses
// need no more, and every later step costs per frame.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

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

    // How sure a decision is, from -Sicher (surely short) over 0 (nothing known) to +Sicher (surely
    // long); a pulse exactly as long as its class's learned length is at Typisch.
    static constexpr int Sicher = 127;
    static constexpr int Typisch = 64;

    // Consumes frames [p, ende) and calls pv_senke(int polaritaet, bool lang, double beginn) once per
    // pulse that has ended, `beginn` being the frame (with fraction) where it began; a sink that
    // takes a fourth argument, int wert, is also told how sure the decision is.
    template <typename TSenke> void Verarbeite(const float* p, const float* ende, TSenke& pv_senke) {
        // The state lives in a local copy while the frames run, so that it stays in registers.
        TSignal z = m_signal;
        for (; p < ende; ++p) {
            z.summe += *p;
            if (++z.gesammelt < m_teiler)
                continue;
            Schritt(z, z.summe * m_kehrwert, pv_senke);
            z.summe = 0.0;
            z.gesammelt = 0;
        }
        m_signal = z;
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

private:
    // The larger of two numbers (never NaN here), without the library call of std::fmax.
    static double Groesser(double a, double b) { return a > b ? a : b; }

    // Share of the peak-to-peak swing that a pulse edge must leave the zero line by, and a floor
    // below which the signal counts as silence (about -66 dB of full scale). Nor is a swing below
    // a share of the last second's level (26 dB down) a pulse: hiss in a pause stays below it. In
    // a dropout (the envelope fell 12 dB and more within milliseconds) the share is 34 dB down:
    // the pulses of a dropout of 28 dB still pass.
    static constexpr double HystereseAnteil = 0.08;
    static constexpr double KleinsteHysterese = 0.0005;
    static constexpr double PegelAnteil = 0.05;
    static constexpr double AussetzerPegelAnteil = 0.02;

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
        // Takes over from another section at input x: gives what that one would give now, and
        // goes on as if it had stood there (only the section in use is computed).
        void Uebernimm(const TBiquad& von, double x) {
            const double y = von.b0 * x + von.z1;
            z1 = y - b0 * x;
            z2 = b2 * x - a2 * y;
        }
    };
    static TBiquad Butterworth(double grenze, double rate, bool hochpass);

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
        // The lengths learned after a short (0) and after a long (1) pulse, of a short and a long one.
        double folge[2][2] = {};
        int vorher = -1; // the class of the pulse before, -1 after a pause
        // How far the pulses lie from their class's length, as a share of it (a mean over some
        // hundred pulses), and how many pulses were learned from since a run set the lengths.
        double streuung = 0.0;
        int seitLauf = 0;
        bool gespalten = false; // a click's spike began the pulse in hand
        // Crossings of the zero line in this polarity's direction inside the pulse in hand that
        // no edge followed, and where the excursion they belong to ended; more than can be held
        // is no single missed edge.
        static constexpr int SchwacheHoechstens = 2;
        double schwach[SchwacheHoechstens] = {};
        double schwachEnde[SchwacheHoechstens] = {};
        int schwache = 0;
    };

    // The state of the signal path, from frame to frame.
    struct TSignal {
        TBiquad hochpass;
        TBiquad tiefpass;
        TBiquad tiefpassEng;
        bool eng = false;         // the pulses scatter: the narrow band is wanted
        bool engGenommen = false; // and taken (not on a saturated tape)
        double oben = 0.0;
        double unten = 0.0;
        double mitte = 0.0;
        // The followers as they fall toward the middle of the peaks; twice that middle and the
        // swing between them, each over some dozens of pulses (MissDieSchiefe).
        double gipfel = 0.0;
        double tal = 0.0;
        double schief = 0.0;
        double spanne = 0.0;
        bool gesaettigt = false;
        double pegel = 0.0;
        double vorher = 0.0;
        bool hoch = true;
        double letzteAbwaerts = 0.0;
        double letzteAufwaerts = 0.0;
        // The envelope of the last few pulses, its typical height, and the last frame where the
        // signal fell far below it (a dropout) or rose far above it (a click).
        double huelle = 0.0;
        double schnell = 0.0; // the signal's peaks about zero over the last half millisecond
        double typisch = 0.0;
        double letzteStoerung = -1.0;   // a click or a deep dropout
        double letzteAbweichung = -1.0; // either, however shallow
        double stoerungSeit = -1.0;     // where the disturbance in hand began
        double letzteFlanke = -1.0;     // either way; negative after a click's spike
        double spitzen = 0.0;           // narrow halves among the last few dozen
        std::int64_t frame = 0;         // of the reduced recording
        // The reduction: the sum of the frames of the group in hand, and how many.
        double summe = 0.0;
        int gesammelt = 0;
    };

    // One frame of the reduced recording.
    template <typename TSenke> void Schritt(TSignal& z, double x, TSenke& pv_senke) {
        const double h = z.hochpass.Filtere(x);
        const bool eng = z.eng && !z.gesaettigt;
        if (eng != z.engGenommen) {
            if (eng)
                z.tiefpassEng.Uebernimm(z.tiefpass, h);
            else
                z.tiefpass.Uebernimm(z.tiefpassEng, h);
            z.engGenommen = eng;
        }
        const double y = eng ? z.tiefpassEng.Filtere(h) : z.tiefpass.Filtere(h);
        // A click far above the tape's level reaches the peak followers only at that level: it
        // would throw them, and with them the zero line, far off for the next pulses.
        const double roh = y - z.mitte;
        const double knackGrenze = KnackAnteil * z.typisch;
        const double spitze = z.typisch > KleinsteHysterese && (roh > knackGrenze || roh < -knackGrenze)
                                  ? z.mitte + (roh > 0.0 ? z.typisch : -z.typisch)
                                  : y;
        FolgeDemFall(z, y);
        FolgeDenSpitzen(z, spitze);
        const double relativ = y - z.mitte;
        // The level of the last second: hiss far below it is no pulse.
        const double betrag = relativ < 0.0 ? -relativ : relativ;
        z.pegel = Groesser(betrag, z.pegel * m_pegelAbfall);
        z.huelle = Groesser(betrag, z.huelle * m_huellenAbfall);
        const bool aussetzer = z.huelle < AussetzerAnteil * z.typisch;
        // In a dropout the pulses sink toward the hiss, yet mostly stand above it.
        const double hysterese =
            Groesser(Groesser(KleinsteHysterese, (aussetzer ? AussetzerPegelAnteil : PegelAnteil) * z.pegel),
                     HystereseAnteil * (z.oben - z.unten));
        if (z.typisch > KleinsteHysterese && (aussetzer || betrag > KnackAnteil * z.typisch)) {
            const auto jetzt = static_cast<double>(z.frame);
            if (jetzt - z.letzteAbweichung > m_stoerungsLuecke)
                z.stoerungSeit = jetzt;
            z.letzteAbweichung = jetzt;
            // The frames a pulse's length says nothing of.
            if (!aussetzer || z.huelle < TiefAnteil * z.typisch)
                z.letzteStoerung = jetzt;
            // Longer than any click or dropout: the tape's level itself changed (the signal
            // began after hiss, the recording level moved). Its new height is the typical one.
            if (jetzt - z.stoerungSeit > (aussetzer ? m_laengsterAussetzer : m_laengsterKnack)) {
                z.typisch = z.huelle;
                z.stoerungSeit = jetzt;
            }
        } else {
            z.typisch += m_typischAnteil * (z.huelle - z.typisch);
        }
        if (z.vorher >= 0.0 && relativ < 0.0) {
            z.letzteAbwaerts = static_cast<double>(z.frame - 1) + z.vorher / (z.vorher - relativ);
            if (!z.hoch)
                MerkeSchwache(z);
        } else if (z.vorher < 0.0 && relativ >= 0.0) {
            z.letzteAufwaerts = static_cast<double>(z.frame - 1) + z.vorher / (z.vorher - relativ);
            if (z.hoch)
                MerkeSchwache(z);
        }
        z.vorher = relativ;
        if (z.hoch && relativ < -hysterese) {
            z.hoch = false;
            VerwirfSchwache(z.letzteAbwaerts);
            MissDieSchiefe(z);
            if (!Spitze(z, z.letzteAbwaerts, Invertiert)) {
                Flanke(Normal, z.letzteAbwaerts, z, pv_senke);
                WaehleBand(z);
            }
        } else if (!z.hoch && relativ > hysterese) {
            z.hoch = true;
            VerwirfSchwache(z.letzteAufwaerts);
            MissDieSchiefe(z);
            if (!Spitze(z, z.letzteAufwaerts, Normal)) {
                Flanke(Invertiert, z.letzteAufwaerts, z, pv_senke);
                WaehleBand(z);
            }
        }
        ++z.frame;
    }

    // The peak followers jump to every new peak and fall back toward the middle of the peaks: the
    // zero line that phase smear leaves, where each pulse's halves are uneven in their own way. A
    // tape driven into saturation off its middle keeps them uneven for good (deep long halves, the
    // short ones only a spike, a low plateau between): the middle of the peaks lies below those
    // spikes. Where the middle of the peaks stays off zero over some dozens of pulses, the
    // followers fall toward zero, the signal's mean after the high-pass, instead.
    void FolgeDenSpitzen(TSignal& z, double spitze) const {
        const double mitteDerSpitzen = 0.5 * (z.gipfel + z.tal);
        z.gipfel = spitze > z.gipfel ? spitze : mitteDerSpitzen + (z.gipfel - mitteDerSpitzen) * m_abfall;
        z.tal = spitze < z.tal ? spitze : mitteDerSpitzen + (z.tal - mitteDerSpitzen) * m_abfall;
        if (z.gesaettigt) {
            z.oben = spitze > z.oben ? spitze : z.oben * m_abfall;
            z.unten = spitze < z.unten ? spitze : z.unten * m_abfall;
        } else {
            z.oben = z.gipfel;
            z.unten = z.tal;
        }
        z.mitte = 0.5 * (z.oben + z.unten);
    }

    // A dropout's fall: the followers still hold the peaks from before it and fall back only within a
    // millisecond, toward the middle of those peaks, which uneven halves put off zero; the swing they
    // hold keeps the hysteresis wide. The faint pulses in the fall would neither cross that line nor
    // leave it by the hysteresis for some milliseconds, and their edges would be lost. Where the
    // signal's peaks of the last half millisecond lie far below both the followers and the tape's
    // typical level, the followers are scaled down to them about zero, as the dropout scaled the
    // signal: the zero line keeps its place within the pulses. Not below SpaltKurzFrames frames to a
    // short pulse: there the peaks of a few frames say little of the level.
    void FolgeDemFall(TSignal& z, double y) const {
        z.schnell = Groesser(y < 0.0 ? -y : y, z.schnell * m_schnellAbfall);
        // Nearly every frame stands near the typical level: that test first.
        if (z.schnell >= FallAnteil * z.typisch || z.typisch <= KleinsteHysterese ||
            m_klassen[Normal].kurz < SpaltKurzFrames)
            return;
        const double halb = 0.5 * (z.gipfel - z.tal);
        if (z.schnell >= FolgerAnteil * halb)
            return;
        const double f = z.schnell / halb;
        z.gipfel *= f;
        z.tal *= f;
        z.oben *= f;
        z.unten *= f;
    }

    // After every pulse: the narrow band while the pulses scatter. A click's spike splits the pulses
    // of one polarity only: the other tells the tape's scatter.
    void WaehleBand(TSignal& z) const {
        const double streuung = std::min(m_klassen[Normal].streuung, m_klassen[Invertiert].streuung);
        z.eng = z.eng ? streuung > WeitUnter : streuung > EngUeber;
    }

    // At every half of a pulse: twice the middle of the peaks and the swing between them, over
    // some dozens of pulses.
    static void MissDieSchiefe(TSignal& z) {
        z.schief += SchiefLernrate * (z.gipfel + z.tal - z.schief);
        z.spanne += SchiefLernrate * (z.gipfel - z.tal - z.spanne);
        z.gesaettigt = (z.schief < 0.0 ? -z.schief : z.schief) > SchiefAnteil * z.spanne;
    }

    // A half of a pulse far shorter than a short pulse's half: a click's spike crossed the zero line
    // and back, too narrow to stand far above the level once the recording clipped it. Its second
    // edge is no edge (the pulse in hand goes on), and the other polarity's pulse, which its first
    // edge began, says nothing. The half after a spike is its ring, not another spike.
    bool Spitze(TSignal& z, double zeit, int andere) {
        const double halb = z.letzteFlanke >= 0.0 ? zeit - z.letzteFlanke : m_klassen[Normal].kurz;
        // As often as a tape's own halves (saturation can make one half of every pulse that
        // narrow, or nearly): those are no clicks.
        z.spitzen = z.spitzen * SpitzenAbfall + (halb < EngAnteil * m_klassen[Normal].kurz ? 1.0 : 0.0);
        const bool spitze = halb < SpitzenAnteil * m_klassen[Normal].kurz && z.spitzen < SpitzenHoechstens;
        if (spitze)
            m_klassen[andere].gespalten = true;
        z.letzteFlanke = spitze ? -1.0 : zeit;
        return spitze;
    }

    // The signal crossed the zero line and back inside one half (the crossing just made and the
    // one before it): for each polarity, the crossing in its direction may be an edge the
    // hysteresis missed. Not so close after an edge that it is the edge's own jitter.
    void MerkeSchwache(const TSignal& z) {
        const double von = std::min(z.letzteAbwaerts, z.letzteAufwaerts);
        const double bis = std::max(z.letzteAbwaerts, z.letzteAufwaerts);
        if (z.letzteFlanke < 0.0 || von - z.letzteFlanke < SchwachAbstand * m_klassen[Normal].kurz)
            return;
        const double zeit[AnzahlPolaritaeten] = {z.letzteAbwaerts, z.letzteAufwaerts};
        for (int p = 0; p < AnzahlPolaritaeten; ++p) {
            TKlassen& k = m_klassen[p];
            if (k.schwache < TKlassen::SchwacheHoechstens) {
                k.schwach[k.schwache] = zeit[p];
                k.schwachEnde[k.schwache] = bis;
            }
            k.schwache = std::min(k.schwache + 1, TKlassen::SchwacheHoechstens + 1);
        }
    }

    // An edge at `zeit`: crossings just before it were its own jitter.
    void VerwirfSchwache(double zeit) {
        const double grenze = zeit - SchwachAbstand * m_klassen[Normal].kurz;
        for (TKlassen& k : m_klassen) {
            if (k.schwache > TKlassen::SchwacheHoechstens)
                continue;
            int behalten = 0;
            for (int i = 0; i < k.schwache; ++i)
                if (k.schwachEnde[i] < grenze) {
                    k.schwach[behalten] = k.schwach[i];
                    k.schwachEnde[behalten++] = k.schwachEnde[i];
                }
            k.schwache = behalten;
        }
    }

    // Where a pulse of `dauer` is a short and a long one joined at the only crossing it holds, that
    // crossing; negative where it is not.
    double Spalt(const TKlassen& k, double dauer) const {
        if (k.schwache != 1 || dauer < SpaltAb * k.lang || k.kurz < SpaltKurzFrames)
            return -1.0;
        const double vorn = k.schwach[0] - k.letzteFlanke;
        const double hinten = dauer - vorn;
        const double kuerzest = (1.0 - AussenNichts) * k.kurz;
        const double laengst = (1.0 + AussenNichts) * k.lang;
        return vorn >= kuerzest && vorn <= laengst && hinten >= kuerzest && hinten <= laengst ? k.schwach[0]
                                                                                              : -1.0;
    }

    template <typename TSenke> void Flanke(int polaritaet, double zeit, const TSignal& z, TSenke& pv_senke) {
        TKlassen& k = m_klassen[polaritaet];
        if (k.letzteFlanke < 0.0) {
            k.letzteFlanke = zeit;
            k.schwache = 0;
            return;
        }
        const double dauer = zeit - k.letzteFlanke;
        // Far shorter than a short pulse: a glitch inside the pulse in hand, which goes on.
        if (dauer < StoerungsAnteil * k.kurz)
            return;
        // Far longer than a long pulse: a pause; the pulse that follows begins here.
        if (dauer <= PausenAnteil * k.lang) {
            // Not in a dropout or at a click, however shallow: there the zero line wanders.
            const double spalt = z.letzteAbweichung < k.letzteFlanke ? Spalt(k, dauer) : -1.0;
            if (spalt > 0.0) {
                Melde(polaritaet, spalt - k.letzteFlanke, z.letzteStoerung, GespaltenSicher, pv_senke);
                k.letzteFlanke = spalt;
                Melde(polaritaet, zeit - spalt, z.letzteStoerung, GespaltenSicher, pv_senke);
            } else {
                Melde(polaritaet, dauer, z.letzteStoerung, Sicher, pv_senke);
            }
        } else {
            k.vorher = -1;
        }
        k.letzteFlanke = zeit;
        k.gespalten = false;
        k.schwache = 0;
    }

    // The pulse of `dauer` that began at the polarity's last edge, no surer than `hoechstens`.
    template <typename TSenke>
    void Melde(int polaritaet, double dauer, double letzteStoerung, int hoechstens, TSenke& pv_senke) {
        TKlassen& k = m_klassen[polaritaet];
        FolgeLauf(k, dauer);
        const int beurteilt = std::clamp(Lerne(k, dauer), -hoechstens, hoechstens);
        const bool lang = beurteilt > 0;
        // Disturbed while it lasted: its length says nothing.
        const int wert = letzteStoerung >= k.letzteFlanke || k.gespalten ? 0 : beurteilt;
        // The middle of the group of frames that a reduced frame averages.
        const double beginn = k.letzteFlanke * m_teiler + 0.5 * (m_teiler - 1);
        if constexpr (std::is_invocable_v<TSenke&, int, bool, double, int>)
            pv_senke(polaritaet, lang, beginn, wert);
        else
            pv_senke(polaritaet, lang, beginn);
    }

    // Classifies a pulse (how sure, signed: positive long) and moves the learned lengths toward it.
    int Lerne(TKlassen& k, double dauer) const;
    void FolgeLauf(TKlassen& k, double dauer) const;
    // Every kind of pulse before as the classes' lengths say.
    static void SetzeFolge(TKlassen& k);

    double InMikrosekunden(double frames) const { return frames * m_mikrosekundenProFrame; }

    static constexpr double StoerungsAnteil = 0.5;
    // A pulse further outside its class than its usual spread (this share of its length, and half a
    // frame for the sampling) is no clean pulse of the class: a click split a long pulse or a missed
    // edge joined two. Its sureness falls to nothing at the second share.
    static constexpr double AussenFrei = 0.15;
    static constexpr double AussenNichts = 0.35;
    static constexpr double AussenAbtastung = 0.5;
    // A crossing that no edge followed counts from a quarter of a short pulse away from any edge
    // on. A short and a long pulse joined last about 1.5 long ones; a long pulse stretched by the
    // speed's swing stays far below 1.3. The parts of a split pulse are at most half as sure as a
    // typical one.
    static constexpr double SchwachAbstand = 0.25;
    static constexpr double SpaltAb = 1.3;
    // Below this many frames to a short pulse (a recording of 8 kHz) an edge's jitter and hiss
    // cross the zero line as often as a missed edge does: nothing is split.
    static constexpr double SpaltKurzFrames = 6.0;
    static constexpr int GespaltenSicher = Typisch / 2;
    // A half of a pulse shorter than this share of a short pulse (under half of a short pulse's
    // half) is narrow: a click's spike, or, where it comes every few pulses, the tape's own half
    // (saturation makes the halves uneven).
    static constexpr double SpitzenAnteil = 0.22;
    // Halves not much wider (EngAnteil of a short pulse) counted over the last 64 edges (each
    // counting less by a 64th at every edge): from about one in ten on, the narrow ones are the
    // tape's, and so are those that hover about the limit.
    static constexpr double SpitzenAbfall = 1.0 - 1.0 / 64.0;
    static constexpr double SpitzenHoechstens = 6.0;
    static constexpr double EngAnteil = 0.27;
    static constexpr double PausenAnteil = 2.0;
    // A dropout: the envelope below a quarter of its typical height (12 dB); a click: the signal
    // three times above it. A dropout deeper than 30 dB reaches the hiss of a worn cassette: what
    // pulses it holds say nothing.
    static constexpr double AussetzerAnteil = 0.25;
    static constexpr double KnackAnteil = 3.0;
    static constexpr double TiefAnteil = 1.0 / 32.0;
    // A fall: the last half millisecond's peaks 10 dB below the typical height (a lossy codec's dips
    // stay above), and 4 dB below the swing the followers hold. What sinks less the followers follow
    // by themselves.
    static constexpr double FallAnteil = 0.3;
    static constexpr double FolgerAnteil = 0.6;
    // Saturation: the middle of the peaks a tenth of the swing off zero (0.2 of the swing for twice
    // that middle), lastingly: each half of a pulse moves the measure 1/64 of the way. Measured at
    // the halves rather than at every frame, it costs the frames nothing.
    static constexpr double SchiefAnteil = 0.2;
    static constexpr double SchiefLernrate = 1.0 / 64.0;
    // The narrow band from a scatter of 0.3 % on (a clean export's pulses stay far below it, a real
    // cassette's lie at about 0.4 %, a worn tape's or a lossy codec's at 1 to 5 %), the wide one
    // again below half that.
    static constexpr double EngUeber = 0.003;
    static constexpr double WeitUnter = 0.0015;

    double m_abfall = 0.0;
    double m_pegelAbfall = 0.0;
    double m_huellenAbfall = 0.0;
    double m_schnellAbfall = 0.0;
    double m_typischAnteil = 0.0;
    TSignal m_signal;
    // The reduction: frames per reduced frame.
    int m_teiler = 1;
    double m_kehrwert = 1.0;

    double m_mikrosekundenProFrame = 0.0;
    // Bounds of the learned lengths, in frames.
    double m_kurzMin = 0.0, m_kurzMax = 0.0, m_langMin = 0.0, m_langMax = 0.0;
    // The nominal lengths in frames, and the boundary between short and long runs.
    double m_kurzNominal = 0.0, m_langNominal = 0.0, m_laufGrenze = 0.0;
    // Disturbances apart by no more than a short pulse are one; a click lasts no longer than a few
    // short pulses, a dropout no longer than half a second (frames of the reduced recording).
    double m_stoerungsLuecke = 0.0, m_laengsterKnack = 0.0, m_laengsterAussetzer = 0.0;
    static constexpr double LaengsterKnackImpulse = 4.0;
    static constexpr double LaengsterAussetzerSekunden = 0.5;
    TKlassen m_klassen[AnzahlPolaritaeten];
};
