#include "MZAdaptiverDekoder.h"

#include "MZModellZeiten.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numbers>

namespace {

constexpr double MikrosekundenProSekunde = 1000000.0;

// The band kept: the pulses' fundamentals lie between about 1 and 3 kHz. Below 200 Hz sit DC,
// hum and its first harmonics, the motor's rumble; above 6 kHz only hiss (the edges of the
// shortest part, 143 us on an MZ-700, survive it). A higher corner would let the long pulses'
// flat halves sag toward the zero line, where hiss crosses it.
constexpr double HochpassGrenze = 200.0;
constexpr double TiefpassGrenze = 6000.0;
// The narrow band ends at 1.5 times the frequency of a short pulse (3 kHz on an MZ-700): hiss above
// it, a click's ring and a codec's or an all-pass's smear move the edges less there. Left out where
// it would come near a quarter of the sample rate.
constexpr double EngeGrenzeJeKurzerImpuls = 1.5;
constexpr double EngHoechstensAnteil = 0.25;
// Recordings are reduced to at least this rate.
constexpr std::uint32_t ReduzierteRate = 22050;
// The low-pass is left out when its corner would come near half the sample rate.
constexpr double TiefpassHoechstensAnteil = 0.4;
constexpr double ButterworthQ = std::numbers::sqrt2 / 2.0;
// Time constant of the peak followers: two short pulses, so that after a long pulse's full swing
// the shallower short ones (a dull tape) are followed at once.
constexpr double AbfallSekunden = 0.001;

// How far a motor may run off its speed, and how quickly the learned lengths follow: a new pulse
// moves its class 1/32 of the way, so a drift is followed within some dozens of pulses while a
// single odd pulse hardly counts.
constexpr double GroessteAbweichung = 0.35;
constexpr double Lernrate = 1.0 / 32.0;
// A long pulse lasts at least this many short ones.
constexpr double KleinstesVerhaeltnis = 1.35;
// Pulses further than this from their class's length are classified but not learned from. The
// lengths after a short and after a long pulse are learned from further off: phase and treble
// smear move a pulse's edges by what came before, by up to a third of a short pulse or more.
constexpr double LernFenster = 0.25;
constexpr double FolgeLernFenster = 0.5;
constexpr int Unbekannt = std::numeric_limits<int>::min();
// A run: this many pulses in a row, each within this share of the run's mean. Only the gaps of a
// tape (thousands of short pulses) and long stretches of 0xFF bytes make one; hiss never does.
constexpr int LaufLaenge = 64;
constexpr double LaufToleranz = 0.12;
// The scatter of the pulses about their class's length: of those within their class's usual
// spread, by how much more than StreuungAbtastung frames they miss it (an edge moves by that much
// with where the frames fall, which is no scatter of the tape), over some hundred pulses. After a
// leader set the lengths, those after each kind of pulse are learned first: the scatter counts
// from StreuungNachLauf pulses on.
constexpr double StreuungsRate = 1.0 / 256.0;
constexpr double StreuungAbtastung = 0.15;
constexpr int StreuungNachLauf = 256;
// Time constant of the level that hiss is compared with.
constexpr double PegelSekunden = 1.0;
// The envelope falls back within a few pulses (a long pulse's flat half keeps it up), and its
// typical height follows over some dozens of pulses, so that a dropout of a few milliseconds
// stands out against it.
constexpr double HuellenSekunden = 0.0015;
constexpr double TypischSekunden = 0.03;
// The peaks that tell a dropout's fall: half a millisecond, a long pulse's half.
constexpr double SchnellSekunden = 0.0005;

} // namespace

double TMZAdaptiverDekoder::NominalKurz(int pv_modell) {
    return MZModellZeiten::Von(pv_modell).KurzMikrosekunden();
}

double TMZAdaptiverDekoder::NominalLang(int pv_modell) {
    return MZModellZeiten::Von(pv_modell).LangMikrosekunden();
}

// Bilinear transform of the analogue second-order Butterworth sections.
TMZAdaptiverDekoder::TBiquad TMZAdaptiverDekoder::Butterworth(double grenze, double rate, bool hochpass) {
    const double w = 2.0 * std::numbers::pi * grenze / rate;
    const double alpha = std::sin(w) / (2.0 * ButterworthQ);
    const double a0 = 1.0 + alpha;
    const double c = std::cos(w);
    const double rand = (hochpass ? 1.0 + c : 1.0 - c) / a0; // the zeros at DC or at half the rate
    TBiquad f;
    f.b0 = rand / 2.0;
    f.b1 = hochpass ? -rand : rand;
    f.b2 = f.b0;
    f.a1 = -2.0 * c / a0;
    f.a2 = (1.0 - alpha) / a0;
    return f;
}

void TMZAdaptiverDekoder::Starte(std::uint32_t pv_sampleRate, int pv_modell) {
    m_teiler = std::max(1, static_cast<int>(pv_sampleRate / ReduzierteRate));
    m_kehrwert = 1.0 / m_teiler;
    const double rate = pv_sampleRate > 0 ? static_cast<double>(pv_sampleRate) / m_teiler : 1.0;
    m_signal = TSignal();
    m_signal.hochpass = Butterworth(HochpassGrenze, rate, true);
    m_signal.tiefpass = TiefpassGrenze < TiefpassHoechstensAnteil * rate
                            ? Butterworth(TiefpassGrenze, rate, false)
                            : TBiquad();
    const double engeGrenze = EngeGrenzeJeKurzerImpuls * MikrosekundenProSekunde / NominalKurz(pv_modell);
    m_signal.tiefpassEng =
        engeGrenze < EngHoechstensAnteil * rate ? Butterworth(engeGrenze, rate, false) : m_signal.tiefpass;
    m_abfall = std::exp(-1.0 / (AbfallSekunden * rate));
    m_pegelAbfall = std::exp(-1.0 / (PegelSekunden * rate));
    m_huellenAbfall = std::exp(-1.0 / (HuellenSekunden * rate));
    m_schnellAbfall = std::exp(-1.0 / (SchnellSekunden * rate));
    m_typischAnteil = 1.0 - std::exp(-1.0 / (TypischSekunden * rate));
    m_mikrosekundenProFrame = MikrosekundenProSekunde / rate;
    const double framesProMikrosekunde = rate / MikrosekundenProSekunde;
    const double kurz = NominalKurz(pv_modell) * framesProMikrosekunde;
    const double lang = NominalLang(pv_modell) * framesProMikrosekunde;
    m_kurzMin = kurz * (1.0 - GroessteAbweichung);
    m_kurzMax = kurz * (1.0 + GroessteAbweichung);
    m_langMin = lang * (1.0 - GroessteAbweichung);
    m_langMax = lang * (1.0 + GroessteAbweichung);
    m_kurzNominal = kurz;
    m_langNominal = lang;
    m_laufGrenze = std::sqrt(kurz * lang);
    m_stoerungsLuecke = kurz;
    m_laengsterKnack = LaengsterKnackImpulse * kurz;
    m_laengsterAussetzer = LaengsterAussetzerSekunden * rate;
    for (TKlassen& k : m_klassen) {
        k = TKlassen{kurz, lang, -1.0, 0, 0.0, 0.0, 0.0};
        SetzeFolge(k);
    }
}

void TMZAdaptiverDekoder::SetzeFolge(TKlassen& k) {
    for (auto& nachKlasse : k.folge) {
        nachKlasse[0] = k.kurz;
        nachKlasse[1] = k.lang;
    }
}

int TMZAdaptiverDekoder::Lerne(TKlassen& k, double dauer) const {
    // The lengths learned after a pulse of the same class as the one before, or both classes'.
    const double kurz = k.vorher >= 0 ? k.folge[k.vorher][0] : k.kurz;
    const double lang = k.vorher >= 0 ? k.folge[k.vorher][1] : k.lang;
    const double mitte = 0.5 * (kurz + lang);
    const bool istLang = dauer > mitte;
    const double sicherheit = Typisch * (dauer - mitte) / (0.5 * (lang - kurz));
    int wert =
        static_cast<int>(std::clamp(sicherheit, -static_cast<double>(Sicher), static_cast<double>(Sicher)));
    const double klasse = istLang ? lang : kurz;
    const double aussen = istLang ? dauer - lang : kurz - dauer;
    const double frei = AussenFrei * klasse + AussenAbtastung;
    if (aussen > frei) {
        const double rest = 1.0 - (aussen - frei) / ((AussenNichts - AussenFrei) * klasse);
        const double betrag = rest > 0.0 ? Typisch * rest : 0.0;
        wert = static_cast<int>(istLang ? betrag : -betrag);
        if (wert == 0)
            wert = Unbekannt;
    }

    if (k.seitLauf < StreuungNachLauf)
        ++k.seitLauf;
    else if (const double abstand = std::fabs(dauer - klasse); abstand <= AussenFrei * klasse)
        k.streuung += StreuungsRate * (std::max(0.0, abstand - StreuungAbtastung) / klasse - k.streuung);
    double& laenge = istLang ? k.lang : k.kurz;
    if (std::fabs(dauer - laenge) <= LernFenster * laenge) {
        laenge += Lernrate * (dauer - laenge);
        k.kurz = std::clamp(k.kurz, m_kurzMin, m_kurzMax);
        k.lang = std::min(std::max(k.lang, std::max(m_langMin, KleinstesVerhaeltnis * k.kurz)), m_langMax);
    }
    if (k.vorher >= 0) {
        double& folge = k.folge[k.vorher][istLang ? 1 : 0];
        if (std::fabs(dauer - folge) <= FolgeLernFenster * folge) {
            folge += Lernrate * (dauer - folge);
            folge =
                istLang ? std::clamp(folge, m_langMin, m_langMax) : std::clamp(folge, m_kurzMin, m_kurzMax);
        }
    }
    k.vorher = istLang ? 1 : 0;
    // Never exactly 0 by chance, which means "nothing known".
    if (wert == Unbekannt)
        return 0;
    return wert != 0 ? wert : (istLang ? 1 : -1);
}

void TMZAdaptiverDekoder::FolgeLauf(TKlassen& k, double dauer) const {
    if (k.lauf > 0 && std::fabs(dauer - k.laufSumme / k.lauf) <= LaufToleranz * k.laufSumme / k.lauf) {
        ++k.lauf;
        k.laufSumme += dauer;
    } else {
        k.lauf = 1;
        k.laufSumme = dauer;
    }
    if (k.lauf < LaufLaenge)
        return;
    // Long enough: which class the run is of decides the nominal length it is compared with; the
    // other class keeps the nominal ratio. Within the speed range only.
    const double mittel = k.laufSumme / k.lauf;
    const bool langerLauf = mittel > m_laufGrenze;
    const double tempo = mittel / (langerLauf ? m_langNominal : m_kurzNominal);
    if (tempo < 1.0 - GroessteAbweichung || tempo > 1.0 + GroessteAbweichung)
        return;
    k.kurz = k.laufKurz = langerLauf ? m_kurzNominal * tempo : mittel;
    k.lang = k.laufLang = langerLauf ? mittel : m_langNominal * tempo;
    k.seitLauf = 0;
    SetzeFolge(k);
}
