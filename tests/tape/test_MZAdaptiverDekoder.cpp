// The adaptive decoder on signals made here sample by sample: MZ-80K pulses at 44100 Hz (long
// 464 + 494 us, short 240 + 264 us) with a disturbance that one of its steps is there for. Each
// must come out as the pulses that went in.
#include "MZAdaptiverDekoder.h"
#include "ProgrammEinstellungen.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double Rate = 44100.0;
constexpr double Amplitude = 0.5;

int Frames(double mikrosekunden) {
    return static_cast<int>(mikrosekunden * Rate / 1e6 + 0.5);
}

// A leader of short pulses to learn from, then random pulses, then a few short ones to end on.
std::string Impulsfolge() {
    std::mt19937 zufall(20261208);
    std::string bits(3000, '0');
    for (int i = 0; i < 4000; ++i)
        bits += zufall() % 2 ? '1' : '0';
    return bits + std::string(10, '0');
}

// What to do inside each pulse: the frames of its low and its high part, from its first frame on.
using TStoerung = void (*)(std::vector<float>& signal, std::size_t anfang, int tief, int hoch);

// The pulses between silences; `anfaenge`, when given, gets the frame where each pulse begins (its
// falling edge).
std::vector<float> Signal(const std::string& bits, TStoerung stoerung,
                          std::vector<std::size_t>* anfaenge = nullptr) {
    std::vector<float> signal(static_cast<std::size_t>(Frames(20000)), 0.0F);
    for (const char bit : bits) {
        const int tief = Frames(bit == '1' ? 464 : 240);
        const int hoch = Frames(bit == '1' ? 494 : 264);
        const std::size_t anfang = signal.size();
        if (anfaenge)
            anfaenge->push_back(anfang);
        signal.insert(signal.end(), static_cast<std::size_t>(tief), -Amplitude);
        signal.insert(signal.end(), static_cast<std::size_t>(hoch), Amplitude);
        if (stoerung)
            stoerung(signal, anfang, tief, hoch);
    }
    signal.insert(signal.end(), static_cast<std::size_t>(Frames(20000)), 0.0F);
    return signal;
}

// The decoded pulses hold the pulses that went in, all but the first few (while the filters and
// the peak followers settle on the leader); the step into the silence after the last one ends it.
::testing::AssertionResult Enthaelt(const std::string& dekodiert, const std::string& bits) {
    constexpr std::size_t Einschwingen = 50;
    const std::string kern = bits.substr(Einschwingen);
    const std::size_t stelle = dekodiert.find(kern);
    if (stelle == std::string::npos)
        return ::testing::AssertionFailure()
               << "the pulses are not there; " << dekodiert.size() << " decoded of " << bits.size()
               << ", first difference at "
               << std::mismatch(kern.begin(), kern.end(),
                                dekodiert.begin() + std::min(dekodiert.size(), Einschwingen))
                          .first -
                      kern.begin();
    if (dekodiert.size() - stelle != kern.size())
        return ::testing::AssertionFailure()
               << (dekodiert.size() - stelle - kern.size()) << " pulses too many at the end";
    return ::testing::AssertionSuccess();
}

std::string Normal(const std::vector<float>& signal) {
    TMZAdaptiverDekoder dekoder;
    dekoder.Starte(static_cast<std::uint32_t>(Rate), MZ80K);
    std::string bits;
    auto senke = [&bits](int polaritaet, bool lang, double) {
        if (polaritaet == TMZAdaptiverDekoder::Normal)
            bits += lang ? '1' : '0';
    };
    dekoder.Verarbeite(signal.data(), signal.data() + signal.size(), senke);
    return bits;
}

// The pulses of the normal polarity and how sure the decoder is of each.
struct TDekodiert {
    std::string bits;
    std::vector<int> werte;
};

TDekodiert MitWerten(const std::vector<float>& signal) {
    TMZAdaptiverDekoder dekoder;
    dekoder.Starte(static_cast<std::uint32_t>(Rate), MZ80K);
    TDekodiert d;
    auto senke = [&d](int polaritaet, bool lang, double, int wert) {
        if (polaritaet != TMZAdaptiverDekoder::Normal)
            return;
        d.bits += lang ? '1' : '0';
        d.werte.push_back(wert);
    };
    dekoder.Verarbeite(signal.data(), signal.data() + signal.size(), senke);
    return d;
}

TEST(AdaptiverDekoder, SaubereImpulse) {
    const std::string bits = Impulsfolge();
    // Every pulse but the last, which no falling edge ends.
    EXPECT_TRUE(Enthaelt(Normal(Signal(bits, nullptr)), bits));
}

TEST(AdaptiverDekoder, RauschenNahDerNulllinieIstKeineFlanke) {
    // A tape with weak bass: the flat halves of the pulses sag toward the zero line (a high-pass at
    // 400 Hz, a long pulse's halves end at a third of their step), and a little hiss (+-2 % of the
    // swing) rides on them. Without the hysteresis the hiss would cross the zero line where the
    // halves have sagged, in the middle of a pulse.
    const std::string bits = Impulsfolge();
    std::vector<float> signal = Signal(bits, nullptr);
    const double a = std::exp(-2.0 * std::numbers::pi * 400.0 / Rate);
    double vorher = 0.0;
    double y = 0.0;
    std::mt19937 zufall(8122026);
    std::uniform_real_distribution<float> zischen(-0.02F, 0.02F);
    for (float& w : signal) {
        y = a * (y + w - vorher);
        vorher = w;
        w = static_cast<float>(y) + zischen(zufall);
    }
    EXPECT_TRUE(Enthaelt(Normal(signal), bits));
}

TEST(AdaptiverDekoder, EinKnackserImTiefenTeilIstKeinImpuls) {
    // 100 us into every low part a click throws the level to full positive for 90 us: a rising and
    // a falling edge that pass the hysteresis, but the pulse it would start is far too short to
    // be one, so the pulse in hand goes on.
    const std::string bits = Impulsfolge();
    const auto knacks = [](std::vector<float>& s, std::size_t anfang, int, int) {
        const std::size_t von = anfang + static_cast<std::size_t>(Frames(100));
        for (std::size_t i = von; i < von + static_cast<std::size_t>(Frames(90)); ++i)
            s[i] = 1.0F;
    };
    EXPECT_TRUE(Enthaelt(Normal(Signal(bits, knacks)), bits));
}

TEST(AdaptiverDekoder, DieSchmiereNachEinemLangenImpulsWirdGelernt) {
    // Phase smear as a misaligned head makes it: after a long pulse the edge that ends a short one
    // comes late, so that it lasts 150 us (30 %) longer, 654 us; after a short pulse nothing
    // changes. Classified against the plain lengths, such a pulse lies near the middle between
    // short and long; the lengths learned for what follows a long pulse make it surely short.
    const std::string bits = Impulsfolge();
    std::vector<float> signal(static_cast<std::size_t>(Frames(20000)), 0.0F);
    char vorher = '0';
    for (const char bit : bits) {
        const bool spaet = bit == '0' && vorher == '1';
        signal.insert(signal.end(), static_cast<std::size_t>(Frames(bit == '1' ? 464 : 240)), -Amplitude);
        signal.insert(signal.end(),
                      static_cast<std::size_t>(Frames(bit == '1' ? 494
                                                      : spaet    ? 414
                                                                 : 264)),
                      Amplitude);
        vorher = bit;
    }
    signal.insert(signal.end(), static_cast<std::size_t>(Frames(20000)), 0.0F);

    const auto [dekodiert, werte] = MitWerten(signal);
    ASSERT_TRUE(Enthaelt(dekodiert, bits));
    // The decoded pulse of each bit given; the first hundred after the leader are for learning.
    const auto versatz =
        static_cast<std::ptrdiff_t>(dekodiert.size()) - static_cast<std::ptrdiff_t>(bits.size());
    constexpr std::size_t Lernen = 3100;
    int geprueft = 0;
    for (std::size_t i = Lernen; i + 1 < bits.size(); ++i) {
        if (bits[i] != '0' || bits[i - 1] != '1')
            continue;
        const int wert = werte[static_cast<std::size_t>(static_cast<std::ptrdiff_t>(i) + versatz)];
        ASSERT_LE(wert, -TMZAdaptiverDekoder::Typisch / 2) << "bit " << i;
        ++geprueft;
    }
    EXPECT_GT(geprueft, 500);
}

// How sure the decoder is of each pulse of the normal polarity.
std::vector<int> NormaleWerte(const std::vector<float>& signal) {
    TMZAdaptiverDekoder dekoder;
    dekoder.Starte(static_cast<std::uint32_t>(Rate), MZ80K);
    std::vector<int> werte;
    auto senke = [&werte](int polaritaet, bool, double, int wert) {
        if (polaritaet == TMZAdaptiverDekoder::Normal)
            werte.push_back(wert);
    };
    dekoder.Verarbeite(signal.data(), signal.data() + signal.size(), senke);
    return werte;
}

// How sure the decoder is of pulses whose lengths are given here (us, low part then high part of
// equal length), after a leader of short pulses to learn from: the sureness of each pulse given.
std::vector<int> Sicherheiten(const std::vector<double>& laengen) {
    std::vector<float> signal(static_cast<std::size_t>(Frames(20000)), 0.0F);
    const auto impuls = [&signal](double mikrosekunden) {
        signal.insert(signal.end(), static_cast<std::size_t>(Frames(mikrosekunden / 2)), -Amplitude);
        signal.insert(signal.end(), static_cast<std::size_t>(Frames(mikrosekunden / 2)), Amplitude);
    };
    constexpr int Vorlauf = 3000;
    for (int i = 0; i < Vorlauf; ++i)
        impuls(504);
    for (const double l : laengen)
        impuls(l);
    impuls(504); // ends the last pulse given
    signal.insert(signal.end(), static_cast<std::size_t>(Frames(20000)), 0.0F);
    const std::vector<int> werte = NormaleWerte(signal);
    const auto n = static_cast<std::ptrdiff_t>(laengen.size() + 1);
    return werte.size() >= laengen.size() + 1 ? std::vector<int>(werte.end() - n, werte.end() - 1)
                                              : std::vector<int>{};
}

TEST(AdaptiverDekoder, EinImpulsWeitAusserhalbSeinerKlasseIstUnsicher) {
    // MZ-80K: short 504 us, long 958 us, after silence and a leader of hard square pulses (the
    // level rises at once, which is no click). A pulse as long as its class or a little off is sure; one
    // far shorter than a short pulse (a click split a long one) or far longer than a long one (an
    // edge went missing) is not, though it is classified.
    struct TFall {
        double laenge;
        bool lang;
        bool sicher;
    };
    const TFall faelle[] = {
        {504, false, true},  {958, true, true},   {540, false, true}, {900, true, true},
        {280, false, false}, {1400, true, false}, {504, false, true},
    };
    std::vector<double> laengen;
    for (const TFall& f : faelle)
        laengen.push_back(f.laenge);
    const std::vector<int> werte = Sicherheiten(laengen);
    ASSERT_EQ(werte.size(), std::size(faelle));
    for (std::size_t i = 0; i < werte.size(); ++i) {
        SCOPED_TRACE(faelle[i].laenge);
        if (werte[i] != 0) {
            EXPECT_EQ(werte[i] > 0, faelle[i].lang);
        }
        if (faelle[i].sicher) {
            EXPECT_GE(std::abs(werte[i]), TMZAdaptiverDekoder::Typisch / 2);
        } else {
            EXPECT_LT(std::abs(werte[i]), TMZAdaptiverDekoder::Typisch / 4);
        }
    }
}

// A codec or a dull treble flattened the second half of a short pulse before a long one to a
// level near the other half's (-0.2 against -0.5 and +0.5): after the decoder's high-pass the
// signal crosses the zero line there and back, yet never leaves it by the hysteresis. The edge
// that ends the short pulse is missed, and the short and the long pulse last as one of their
// joint length (1462 us). Every 40 pulses the pattern 000011 with the fourth pulse so flattened,
// so that the same pulses come before each (how far the high-pass lifts that half depends on
// them). Split at the crossing, every part comes out with its own class, and unsure.
TEST(AdaptiverDekoder, EineFlacheKanteTeiltDenVerbundenenImpuls) {
    constexpr float Flach = -0.2F;
    constexpr std::size_t Lernen = 3100; // the leader and the first pulses after it
    constexpr std::size_t Abstand = 40;
    const std::string Muster = "000011";
    constexpr std::size_t Flache = 3; // the short pulse in the pattern whose second half is flat
    std::string bits = Impulsfolge();
    for (std::size_t i = Lernen; i + Abstand < bits.size(); i += Abstand)
        bits.replace(i, Muster.size(), Muster);
    std::vector<float> signal(static_cast<std::size_t>(Frames(20000)), 0.0F);
    std::vector<bool> geteilt; // per bit: it is one of the parts of a split pulse
    bool vorherFlach = false;
    for (std::size_t i = 0; i < bits.size(); ++i) {
        const bool lang = bits[i] == '1';
        const bool flach = i >= Lernen && i + Abstand < bits.size() && (i - Lernen) % Abstand == Flache;
        signal.insert(signal.end(), static_cast<std::size_t>(Frames(lang ? 464 : 240)), -Amplitude);
        signal.insert(signal.end(), static_cast<std::size_t>(Frames(lang ? 494 : 264)),
                      flach ? Flach : Amplitude);
        geteilt.push_back(flach || vorherFlach);
        vorherFlach = flach;
    }
    signal.insert(signal.end(), static_cast<std::size_t>(Frames(20000)), 0.0F);

    const auto [dekodiert, werte] = MitWerten(signal);
    ASSERT_TRUE(Enthaelt(dekodiert, bits));
    const auto versatz =
        static_cast<std::ptrdiff_t>(dekodiert.size()) - static_cast<std::ptrdiff_t>(bits.size());
    int gesehen = 0;
    for (std::size_t i = Lernen; i < bits.size(); ++i) {
        const int wert = werte[static_cast<std::size_t>(static_cast<std::ptrdiff_t>(i) + versatz)];
        if (geteilt[i]) {
            EXPECT_NE(wert, 0) << "bit " << i;
            EXPECT_LE(std::abs(wert), TMZAdaptiverDekoder::Typisch / 2) << "bit " << i;
            ++gesehen;
        }
    }
    EXPECT_GT(gesehen, 100);
}

// Uneven halves, as a worn head gives them: the low half's first third stands twice as deep as
// the rest, so the middle of the peaks lies an eighth of the swing below zero.
void UngleicheHaelften(std::vector<float>& s, std::size_t anfang, int tief, int) {
    const auto spitze = static_cast<std::size_t>(tief / 3);
    for (std::size_t i = anfang; i < anfang + static_cast<std::size_t>(tief); ++i)
        s[i] = static_cast<float>(i < anfang + spitze ? -1.5 * Amplitude : -0.75 * Amplitude);
}

// A dropout of 20 ms amid random pulses, the level `tiefe` dB down, over a hiss 50 dB below the
// tape's level. Where the level sank by up to 28 dB the pulses still stand far above the hiss: each
// comes out with its class, as sure as anywhere (the envelope marks a dropout, but that says
// nothing of such pulses). Where it sank into the hiss, no pulse inside is told as known. The
// pulses after it come back either way. With uneven halves the peak followers, still at the
// peaks before the fall, would hold the zero line below the faint pulses for milliseconds: there
// the pulses of the fall itself count too. At most one of them may be told as unknown, holding
// the next one whose edge the fall hid.
TEST(AdaptiverDekoder, ImFlachenAussetzerZaehlenDieImpulse) {
    struct TFall {
        double tiefe;
        bool lesbar;
        bool ungleich;
    };
    constexpr TFall Faelle[] = {{12.0, true, false}, {16.0, true, false}, {20.0, true, false},
                                {24.0, true, false}, {28.0, true, false}, {70.0, false, false},
                                {16.0, true, true},  {20.0, true, true},  {24.0, true, true}};
    constexpr double AussetzerMs = 20.0;
    constexpr double FlankeMs = 1.0;
    constexpr double FolgenMs = 3.0;
    constexpr double RauschenDb = -50.0;
    constexpr double Toleranz = 6.0; // frames between an edge put in and where it is found
    const std::string bits = Impulsfolge();
    for (const TFall& f : Faelle) {
        SCOPED_TRACE(testing::Message() << f.tiefe << (f.ungleich ? " dB, uneven halves" : " dB"));
        std::vector<std::size_t> anfaenge;
        std::vector<float> signal = Signal(bits, f.ungleich ? UngleicheHaelften : nullptr, &anfaenge);
        // The level sinks and comes back over a flank (linear in dB); the pulses are checked where
        // it is down, once the peak followers have followed it (they lose a pulse or two to the fall).
        const std::size_t von = anfaenge[4000],
                          bis = von + static_cast<std::size_t>(Frames(AussetzerMs * 1000.0));
        const auto flanke = static_cast<std::size_t>(Frames(FlankeMs * 1000.0));
        const auto folgen = static_cast<std::size_t>(Frames(FolgenMs * 1000.0));
        for (std::size_t i = von - flanke; i < bis + flanke; ++i) {
            const double tief =
                i < von    ? static_cast<double>(i - (von - flanke)) / static_cast<double>(flanke)
                : i >= bis ? static_cast<double>(bis + flanke - i) / static_cast<double>(flanke)
                           : 1.0;
            signal[i] *= static_cast<float>(std::pow(10.0, -f.tiefe * tief / 20.0));
        }
        std::mt19937 zufall(9122026);
        std::normal_distribution<float> zischen(
            0.0F, static_cast<float>(Amplitude * std::pow(10.0, RauschenDb / 20.0)));
        for (float& w : signal)
            w += zischen(zufall);

        TMZAdaptiverDekoder dekoder;
        dekoder.Starte(static_cast<std::uint32_t>(Rate), MZ80K);
        std::string dekodiert;
        std::vector<std::pair<double, int>> drinnen; // the pulses found inside: where, how sure
        auto senke = [&](int polaritaet, bool lang, double beginn, int wert) {
            if (polaritaet != TMZAdaptiverDekoder::Normal)
                return;
            dekodiert += lang ? '1' : '0';
            if (beginn >= static_cast<double>(von - flanke) - Toleranz &&
                beginn < static_cast<double>(bis) + Toleranz)
                drinnen.emplace_back(beginn, wert);
        };
        dekoder.Verarbeite(signal.data(), signal.data() + signal.size(), senke);

        // The fall: from where the level begins to sink until the followers have followed it.
        const auto imFall = [&](double beginn) {
            return beginn >= static_cast<double>(von - flanke) - Toleranz &&
                   beginn < static_cast<double>(von + folgen);
        };
        std::size_t erwartet = 0;
        for (std::size_t i = 0; i < bits.size(); ++i) {
            const auto anfang = static_cast<double>(anfaenge[i]);
            if ((anfaenge[i] < von + folgen && !(f.ungleich && imFall(anfang))) || anfaenge[i] >= bis)
                continue;
            ++erwartet;
            if (!f.lesbar)
                continue;
            const auto gefunden = std::find_if(drinnen.begin(), drinnen.end(), [&](const auto& p) {
                return std::abs(p.first - anfang) <= Toleranz;
            });
            if (gefunden == drinnen.end()) {
                // Its edge hidden by the fall: the pulse before it, which holds it now, is unknown.
                const auto davor = std::find_if(drinnen.rbegin(), drinnen.rend(),
                                                [&](const auto& p) { return p.first < anfang - Toleranz; });
                EXPECT_TRUE(imFall(anfang) && davor != drinnen.rend() && davor->second == 0)
                    << "pulse " << i << " not found";
                continue;
            }
            if (imFall(anfang) && gefunden->second == 0)
                continue;
            EXPECT_EQ(gefunden->second > 0, bits[i] == '1') << "pulse " << i;
            EXPECT_GE(std::abs(gefunden->second), TMZAdaptiverDekoder::Typisch / 2) << "pulse " << i;
        }
        EXPECT_LE(std::count_if(drinnen.begin(), drinnen.end(),
                                [&](const auto& p) { return imFall(p.first) && p.second == 0; }),
                  1);
        ASSERT_GT(erwartet, 20U);
        if (!f.lesbar) {
            for (const auto& [beginn, wert] : drinnen) {
                if (beginn >= static_cast<double>(von) - Toleranz) {
                    EXPECT_EQ(wert, 0) << "at frame " << beginn;
                }
            }
        }
        const std::string danach = bits.substr(bits.size() - 2000);
        EXPECT_NE(dekodiert.find(danach.substr(0, danach.size() - 1)), std::string::npos);
    }
}

} // namespace

namespace {

// A click that the recording clipped: two frames at full scale against the pulse's half, a spike
// barely twice the tape's level (the envelope does not call that a click), yet it crosses the zero
// line and back. Put into every eleventh pulse where it is long, 300 us into its first part, well
// past where a glitch counts as part of the pulse in hand; on a recording of either polarity. The
// polarity whose edge the spike's second crossing would be reads every pulse as it went in, the
// spike's length lost in no pulse; the other polarity tells the pulse that the spike's first
// crossing began as unknown.
TEST(AdaptiverDekoder, EineSchmaleSpitzeTeiltKeinenImpuls) {
    struct TFall {
        bool umgekehrt; // the recording's polarity turned: every pulse begins with its high part
        int ganz;       // the polarity that reads every pulse
    };
    constexpr TFall Faelle[] = {{false, TMZAdaptiverDekoder::Normal},
                                {true, TMZAdaptiverDekoder::Invertiert}};
    constexpr int Jeder = 11;
    constexpr int SpitzeFrames = 2;
    constexpr double SpitzeNach = 300.0; // us into the pulse
    constexpr double Toleranz = 3.0;     // frames between an edge put in and where it is found
    const std::string bits = Impulsfolge();
    for (const TFall& f : Faelle) {
        SCOPED_TRACE(f.umgekehrt ? "turned" : "as is");
        std::vector<std::size_t> anfaenge;
        std::vector<float> signal = Signal(bits, nullptr, &anfaenge);
        std::vector<std::size_t> spitzen;
        for (std::size_t i = 100; i + 20 < bits.size(); i += Jeder) {
            if (bits[i] != '1')
                continue;
            const std::size_t von = anfaenge[i] + static_cast<std::size_t>(Frames(SpitzeNach));
            for (std::size_t j = von; j < von + SpitzeFrames; ++j)
                signal[j] = 1.0F;
            spitzen.push_back(von);
        }
        ASSERT_GT(spitzen.size(), 150U);
        if (f.umgekehrt)
            for (float& w : signal)
                w = -w;

        TMZAdaptiverDekoder dekoder;
        dekoder.Starte(static_cast<std::uint32_t>(Rate), MZ80K);
        std::string ganz;
        std::vector<std::pair<double, int>> andere; // the other polarity's pulses: where, how sure
        auto senke = [&](int polaritaet, bool lang, double beginn, int wert) {
            if (polaritaet == f.ganz)
                ganz += lang ? '1' : '0';
            else
                andere.emplace_back(beginn, wert);
        };
        dekoder.Verarbeite(signal.data(), signal.data() + signal.size(), senke);

        EXPECT_TRUE(Enthaelt(ganz, bits));
        for (const std::size_t s : spitzen) {
            const auto gefunden = std::find_if(andere.begin(), andere.end(), [&](const auto& p) {
                return std::abs(p.first - static_cast<double>(s)) <= Toleranz;
            });
            ASSERT_NE(gefunden, andere.end()) << "no pulse begins at the spike at frame " << s;
            EXPECT_EQ(gefunden->second, 0) << "at frame " << s;
        }
    }
}

// Saturation can leave one half of every short pulse as narrow as a click's spike: here the low
// part lasts 90 us of the 504. Such halves come with every other pulse: they are the tape's, and
// every pulse after the leader is read with its class and as sure as a clean one.
TEST(AdaptiverDekoder, SchmaleHaelftenDesBandesSindKeineSpitzen) {
    const std::string bits = Impulsfolge();
    const auto schmal = [](std::vector<float>& s, std::size_t anfang, int tief, int) {
        if (tief > Frames(300))
            return; // a long pulse
        for (std::size_t i = anfang + static_cast<std::size_t>(Frames(90));
             i < anfang + static_cast<std::size_t>(tief); ++i)
            s[i] = Amplitude;
    };
    const std::vector<int> werte = NormaleWerte(Signal(bits, schmal));
    ASSERT_EQ(werte.size(), bits.size());
    constexpr std::size_t NachDemVorlauf = 3000;
    for (std::size_t i = NachDemVorlauf; i < werte.size(); ++i) {
        ASSERT_EQ(werte[i] > 0, bits[i] == '1') << "pulse " << i;
        ASSERT_GE(std::abs(werte[i]), TMZAdaptiverDekoder::Typisch / 2) << "pulse " << i;
    }
}

// A saturated tape pushed off its middle, as a recorder's coupling leaves it: each pulse ends on a
// plateau a fifth as high as its low part is deep; a long pulse's low part is 90 us narrower than
// written, and of a short pulse's low part only a spike three frames wide and not as deep is left.
void Gesaettigt(std::vector<float>& s, std::size_t anfang, int tief, int hoch) {
    constexpr float Plateau = Amplitude / 5.0F;
    const bool lang = tief > Frames(300);
    const std::size_t ende = anfang + static_cast<std::size_t>(tief + hoch);
    const std::size_t tiefEnde = anfang + static_cast<std::size_t>(lang ? tief - Frames(90) : 0);
    for (std::size_t i = anfang; i < ende; ++i)
        s[i] = i < tiefEnde ? -Amplitude : Plateau;
    if (!lang) {
        const float spitze[] = {-0.08F, -0.6F, -0.35F};
        for (std::size_t i = 0; i < std::size(spitze); ++i)
            s[anfang + i] = spitze[i] * Amplitude;
    }
}

TEST(AdaptiverDekoder, GesaettigteImpulseMitSchmalerSpitze) {
    // The middle of the peaks, half-way down to the long pulses' low parts, lies too deep for the
    // spikes after a long pulse to cross it.
    const std::string bits = Impulsfolge();
    EXPECT_TRUE(Enthaelt(Normal(Signal(bits, Gesaettigt)), bits));
}

// Hiss that rises 6 dB an octave (white noise differenced), `db` against the signal's RMS, from
// frame `von` to `bis`. Normal numbers drawn by hand from the generator (Box-Muller): every
// library gives the same hiss.
void Zische(std::vector<float>& signal, std::size_t von, std::size_t bis, double db) {
    double quadrate = 0.0;
    for (const float w : signal)
        quadrate += static_cast<double>(w) * w;
    const double effektiv = std::sqrt(quadrate / static_cast<double>(signal.size()));
    const double zischen = effektiv * std::pow(10.0, db / 20.0);
    std::mt19937 zufall(20261210);
    const auto gleich = [&zufall] { return (static_cast<double>(zufall()) + 0.5) / 4294967296.0; };
    double vorher = 0.0;
    for (std::size_t i = von; i < bis; ++i) {
        const double weiss =
            std::sqrt(-2.0 * std::log(gleich())) * std::cos(2.0 * std::numbers::pi * gleich());
        signal[i] += static_cast<float>(zischen * (weiss - vorher) / std::numbers::sqrt2);
        vorher = weiss;
    }
}

// A dull tape (the treble falls off above 2.5 kHz, two first-order sections) under hiss while the
// pulses last.
std::vector<float> DumpfMitZischen(const std::string& bits, double db) {
    std::vector<std::size_t> anfaenge;
    std::vector<float> signal = Signal(bits, nullptr, &anfaenge);
    const double a = std::exp(-2.0 * std::numbers::pi * 2500.0 / Rate);
    double y1 = 0.0, y2 = 0.0;
    for (float& w : signal) {
        y1 = (1.0 - a) * w + a * y1;
        y2 = (1.0 - a) * y1 + a * y2;
        w = static_cast<float>(y2);
    }
    Zische(signal, anfaenge.front(), anfaenge.back(), db);
    return signal;
}

// Tape hiss is brightest in the treble, far above the pulses' band: here louder (4 dB) than the
// dull tape's pulses. The band kept ends where the pulses end, so little of the hiss is left:
// every pulse after the leader comes out with its class, as sure as a clean one.
TEST(AdaptiverDekoder, ZischenUeberDenImpulsenVerschiebtKeineFlanke) {
    const std::string bits = Impulsfolge();
    const std::vector<int> werte = NormaleWerte(DumpfMitZischen(bits, 4.0));
    ASSERT_EQ(werte.size(), bits.size());
    constexpr std::size_t NachDemVorlauf = 3000;
    for (std::size_t i = NachDemVorlauf; i < werte.size(); ++i) {
        ASSERT_EQ(werte[i] > 0, bits[i] == '1') << "pulse " << i;
        ASSERT_GE(std::abs(werte[i]), TMZAdaptiverDekoder::Typisch / 2) << "pulse " << i;
    }
}

// The same hiss, 17 dB down, on the saturated tape: its pulses scatter, yet its narrow spikes need
// the wide band. Every pulse comes out as it went in.
TEST(AdaptiverDekoder, GesaettigtBleibtDasBandWeit) {
    const std::string bits = Impulsfolge();
    std::vector<std::size_t> anfaenge;
    std::vector<float> signal = Signal(bits, Gesaettigt, &anfaenge);
    Zische(signal, anfaenge.front(), anfaenge.back(), -17.0);
    EXPECT_TRUE(Enthaelt(Normal(signal), bits));
}

} // namespace
