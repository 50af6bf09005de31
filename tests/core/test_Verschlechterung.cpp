// The instrument that measures the rescue of worn tapes: each degradation does what it claims,
// checked on sines, impulses and squares with numbers worked out by hand, and the WAV form of a
// signal is checked byte by byte.
#include "RettungsMessung.h"
#include "TestUmgebung.h"

#include <QDir>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

using namespace Verschlechterung;

constexpr double Rate = 44100.0;

TSignal Sinus(double frequenz, double amplitude, double sekunden, double rate = Rate) {
    TSignal s{std::vector<std::vector<float>>(1), rate, 16};
    for (std::size_t i = 0; i < static_cast<std::size_t>(sekunden * rate); ++i)
        s.Band().push_back(static_cast<float>(
            amplitude * std::sin(2.0 * std::numbers::pi * frequenz * static_cast<double>(i) / rate)));
    return s;
}

// The amplitude of the sine of this frequency in the signal (a lock-in over whole seconds).
double Amplitude(const TSignal& s, double frequenz) {
    double c = 0.0, d = 0.0;
    const auto anzahl = static_cast<std::size_t>(std::floor(s.Sekunden()) * s.rate);
    for (std::size_t i = 0; i < anzahl; ++i) {
        const double w = 2.0 * std::numbers::pi * frequenz * static_cast<double>(i) / s.rate;
        c += s.Band()[i] * std::cos(w);
        d += s.Band()[i] * std::sin(w);
    }
    return 2.0 * std::hypot(c, d) / static_cast<double>(anzahl);
}

// Times of the upward zero crossings, in seconds, interpolated between samples.
std::vector<double> Aufwaerts(const TSignal& s) {
    std::vector<double> zeiten;
    const std::vector<float>& x = s.Band();
    for (std::size_t i = 1; i < x.size(); ++i)
        if (x[i - 1] < 0.0F && x[i] >= 0.0F)
            zeiten.push_back((static_cast<double>(i - 1) + x[i - 1] / (x[i - 1] - x[i])) / s.rate);
    return zeiten;
}

// The signal with one degradation applied (which fails only when sox cannot be run).
TSignal Mit(TSignal s, TArt art, TStaerke staerke, std::uint32_t startwert = 1) {
    QString fehler;
    EXPECT_TRUE(Verschlechtere(s, art, staerke, startwert, fehler)) << fehler.toStdString();
    return s;
}

double Db(double verhaeltnis) {
    return 20.0 * std::log10(verhaeltnis);
}

TEST(Degradation, WAVBytes) {
    TSignal s{{{0.5F, -1.0F}, {0.0F, 1.0F}}, 8000.0, 16};
    // 0.5 * 32767 = 16383.5 rounds to 16384 (0x4000); -32767 is 0x8001.
    EXPECT_EQ(AlsWAV(s).toHex(), QByteArray("52494646"
                                            "2c000000"
                                            "57415645"
                                            "666d7420"
                                            "10000000"
                                            "0100"
                                            "0200"
                                            "401f0000"
                                            "007d0000"
                                            "0400"
                                            "1000"
                                            "64617461"
                                            "08000000"
                                            "00400000"
                                            "0180ff7f"));
    s = TSignal{{{0.5F, -1.0F, 0.0F, 1.0F}}, 8000.0, 8};
    // 0.5 * 127 = 63.5 rounds to 64, plus 128.
    const QByteArray acht = AlsWAV(s);
    EXPECT_EQ(acht.mid(22, 2).toHex(), "0100");
    EXPECT_EQ(acht.mid(34, 2).toHex(), "0800");
    EXPECT_EQ(acht.mid(44).toHex(), "c00180ff");

    TSignal zurueck;
    ASSERT_TRUE(AusWAV(AlsWAV(TSignal{{{0.5F, -1.0F}, {0.0F, 1.0F}}, 8000.0, 16}), zurueck));
    ASSERT_EQ(zurueck.kanaele.size(), 2U);
    EXPECT_EQ(zurueck.rate, 8000.0);
    EXPECT_EQ(zurueck.kanaele[0], (std::vector<float>{0.5F, -32767.0F / 32768.0F}));
    EXPECT_EQ(zurueck.kanaele[1], (std::vector<float>{0.0F, 32767.0F / 32768.0F}));
    EXPECT_FALSE(AusWAV(QByteArray("RIFF\0\0\0\0WAVE", 12), zurueck));
}

// Down to 8 kHz a 1 kHz sine keeps its level and a 5 kHz one (above the new Nyquist frequency) is
// gone; up from 22050 Hz the samples lie on the sine.
TEST(Degradation, Resampling) {
    TSignal tief = Sinus(1000.0, 0.5, 2.0);
    NeuAbtasten(tief, 8000.0);
    EXPECT_EQ(tief.Band().size(), 16000U);
    EXPECT_NEAR(Amplitude(tief, 1000.0), 0.5, 0.005);
    TSignal hoch = Sinus(5000.0, 0.5, 2.0);
    NeuAbtasten(hoch, 8000.0);
    EXPECT_LT(Effektivwert(hoch.Band()), 0.005);

    TSignal auf = Sinus(1000.0, 0.5, 1.0, 22050.0);
    NeuAbtasten(auf, Rate);
    ASSERT_EQ(auf.Band().size(), 44100U);
    for (std::size_t i = 1000; i < 43000; i += 7)
        ASSERT_NEAR(auf.Band()[i],
                    0.5 * std::sin(2.0 * std::numbers::pi * 1000.0 * static_cast<double>(i) / Rate), 0.002)
            << i;
}

// Drift of 12 %: 1120 Hz at the start, 880 Hz at the end; the ten seconds take
// 10 / 0.24 * ln(1.12 / 0.88) = 10.048 s.
TEST(Degradation, SpeedDrift) {
    const TSignal s = Mit(Sinus(1000.0, 0.5, 10.0), TArt::Drift, TStaerke::Typisch);
    EXPECT_NEAR(s.Sekunden(), 10.048, 0.002);
    const std::vector<double> t = Aufwaerts(s);
    ASSERT_GT(t.size(), 200U);
    EXPECT_NEAR(1.0 / (t[11] - t[10]), 1120.0, 1.0);
    EXPECT_NEAR(1.0 / (t[t.size() - 2] - t[t.size() - 3]), 880.0, 1.0);
}

// Wow and flutter: the periods of a 1 kHz sine swing by the strength's share, no more.
TEST(Degradation, WowAndFlutter) {
    struct TGleichlaufFall {
        TArt art;
        TStaerke staerke;
        double anteil;
    };
    for (const TGleichlaufFall& f : {TGleichlaufFall{TArt::Jaulen, TStaerke::Leicht, 0.005},
                                     TGleichlaufFall{TArt::Flattern, TStaerke::Schwer, 0.03}}) {
        SCOPED_TRACE(ArtName(f.art));
        const TSignal s = Mit(Sinus(1000.0, 0.5, 4.0), f.art, f.staerke, 7);
        const std::vector<double> t = Aufwaerts(s);
        double kuerzeste = 1.0, laengste = 0.0;
        for (std::size_t i = 1; i < t.size(); ++i) {
            kuerzeste = std::min(kuerzeste, t[i] - t[i - 1]);
            laengste = std::max(laengste, t[i] - t[i - 1]);
        }
        EXPECT_NEAR(1.0 / kuerzeste, 1000.0 * (1.0 + f.anteil), 1.0);
        EXPECT_NEAR(1.0 / laengste, 1000.0 * (1.0 - f.anteil), 1.0);
    }
}

// Print-through of a lone impulse: copies 1.5 s before it at -30 dB and after it at -36 dB.
TEST(Degradation, PrintThrough) {
    TSignal s{{std::vector<float>(static_cast<std::size_t>(6 * Rate), 0.0F)}, Rate, 16};
    const auto mitte = static_cast<std::size_t>(3 * Rate);
    const auto abstand = static_cast<std::size_t>(1.5 * Rate);
    s.Band()[mitte] = 0.5F;
    s = Mit(s, TArt::Kopiereffekt, TStaerke::Typisch);
    EXPECT_NEAR(s.Band()[mitte - abstand], 0.5 * 0.0316228, 1e-6);
    EXPECT_NEAR(s.Band()[mitte + abstand], 0.5 * 0.0158489, 1e-6);
    EXPECT_EQ(s.Band()[mitte], 0.5F);
    float rest = 0.0F;
    for (std::size_t i = 0; i < s.Band().size(); ++i)
        if (i != mitte && i != mitte - abstand && i != mitte + abstand)
            rest = std::max(rest, std::abs(s.Band()[i]));
    EXPECT_EQ(rest, 0.0F);
}

// Clipping 15 dB over a sine of 0.5: it reaches 2.81, so full scale cuts where |sin| > 0.356,
// 1 - 2/pi * asin(0.356) = 76.8 % of the samples.
TEST(Degradation, Clipping) {
    const TSignal s = Mit(Sinus(1000.0, 0.5, 1.0), TArt::Uebersteuerung, TStaerke::Typisch);
    const auto voll =
        std::count_if(s.Band().begin(), s.Band().end(), [](float w) { return std::abs(w) == 1.0F; });
    EXPECT_NEAR(static_cast<double>(voll) / static_cast<double>(s.Band().size()), 0.768, 0.01);
}

// Dull treble and hiss: two Butterworth sections at 3.5 kHz, made digital by the bilinear
// transform, pass a 5 kHz sine as the analogue ones would pass tan(pi 5000 / 44100) /
// tan(pi 3500 / 44100) = 1.4611 times the corner: 1 / (1 + 1.4611^4) = 0.1800 of its level
// (-14.90 dB). The hiss lies 20 dB below what is left.
TEST(Degradation, HissAndDullTreble) {
    const TSignal s = Mit(Sinus(5000.0, 0.5, 2.0), TArt::Rauschen, TStaerke::Typisch);
    const double a = Amplitude(s, 5000.0);
    EXPECT_NEAR(Db(a / 0.5), -14.90, 0.1);
    const double rauschen = std::sqrt(std::pow(Effektivwert(s.Band()), 2) - a * a / 2.0);
    EXPECT_NEAR(Db(rauschen / (a / std::numbers::sqrt2)), -20.0, 0.5);
}

// An all-pass changes the waveform but not the level of any frequency.
TEST(Degradation, AllPassKeepsTheLevel) {
    for (const TStaerke staerke : AlleStaerken) {
        SCOPED_TRACE(StaerkeName(staerke));
        for (const double frequenz : {300.0, 1000.0, 3000.0}) {
            const TSignal vorher = Sinus(frequenz, 0.5, 2.0);
            const TSignal s = Mit(vorher, TArt::Allpass, staerke);
            EXPECT_NEAR(Amplitude(s, frequenz), 0.5, 0.002) << frequenz;
            float abweichung = 0.0F;
            for (std::size_t i = 20000; i < 40000; ++i)
                abweichung = std::max(abweichung, std::abs(s.Band()[i] - vorher.Band()[i]));
            EXPECT_GT(abweichung, 0.05F) << frequenz;
        }
    }
}

// Saturation shortens the low part of a square (1 ms: 500 us low, 500 us high) and lengthens the
// high part by as much, more with every strength.
TEST(Degradation, SaturationShiftsTheDuty) {
    double vorher = 0.0;
    for (const TStaerke staerke : AlleStaerken) {
        SCOPED_TRACE(StaerkeName(staerke));
        TSignal s = Sinus(1000.0, 0.5, 2.0);
        for (float& w : s.Band())
            w = w < 0.0F ? -0.5F : 0.5F;
        Tiefpass(s.Band(), Rate, BandEckeHz, std::numbers::sqrt2 / 2.0);
        s = Mit(s, TArt::Saettigung, staerke);
        // The high part from an upward crossing to the next downward one, near the end.
        const std::vector<double> auf = Aufwaerts(s);
        for (float& w : s.Band())
            w = -w;
        const std::vector<double> ab = Aufwaerts(s);
        ASSERT_GT(auf.size(), 1000U);
        const auto naechstes = std::upper_bound(ab.begin(), ab.end(), auf[1900]);
        ASSERT_NE(naechstes, ab.end());
        const double laenger = (*naechstes - auf[1900]) * 1e6 - 500.0;
        EXPECT_GT(laenger, vorher + 10.0);
        EXPECT_LT(laenger, 120.0);
        vorher = laenger;
    }
}

// Dropouts of typical strength: about 4 a second, each 10 to 24 dB deep (deeper where two meet).
TEST(Degradation, Dropouts) {
    const TSignal s = Mit(Sinus(1000.0, 0.5, 30.0), TArt::Aussetzer, TStaerke::Typisch, 3);
    // The level of each millisecond (one period) against the sine's.
    int einbrueche = 0;
    double tiefster = 0.0;
    bool drin = false;
    const auto ms = static_cast<std::size_t>(Rate / 1000.0);
    for (std::size_t i = 0; i + ms <= s.Band().size(); i += ms) {
        const double pegel = Db(Effektivwert({s.Band().begin() + static_cast<std::ptrdiff_t>(i),
                                              s.Band().begin() + static_cast<std::ptrdiff_t>(i + ms)}) /
                                (0.5 / std::numbers::sqrt2));
        tiefster = std::min(tiefster, pegel);
        if (!drin && pegel < -6.0)
            ++einbrueche;
        drin = pegel < -6.0;
    }
    EXPECT_GT(einbrueche, 80);
    EXPECT_LT(einbrueche, 160);
    EXPECT_LT(tiefster, -24.0);
    EXPECT_GT(tiefster, -29.0);
}

// Clicks of severe strength: about 15 a second, each four times the signal's peak.
TEST(Degradation, Clicks) {
    const TSignal s = Mit(Sinus(1000.0, 0.5, 20.0), TArt::Knackser, TStaerke::Schwer, 5);
    int knackser = 0;
    float hoechster = 0.0F;
    for (std::size_t i = 0; i < s.Band().size(); ++i) {
        hoechster = std::max(hoechster, std::abs(s.Band()[i]));
        // A click starts where the level leaps past the sine's peak.
        if (std::abs(s.Band()[i]) > 1.2F && (i == 0 || std::abs(s.Band()[i - 1]) <= 1.2F))
            ++knackser;
    }
    EXPECT_GT(knackser, 240);
    EXPECT_LT(knackser, 360);
    EXPECT_GT(hoechster, 2.0F);
    EXPECT_LT(hoechster, 4.6F); // two clicks may meet
}

// 8-bit at 8 kHz, 18 dB down; a noise channel beside the tape, 10 dB below it.
TEST(Degradation, RecorderFormats) {
    const TSignal s = Mit(Sinus(1000.0, 0.5, 2.0), TArt::AchtBit, TStaerke::Typisch);
    EXPECT_EQ(s.rate, 8000.0);
    EXPECT_EQ(s.bits, 8);
    EXPECT_NEAR(Amplitude(s, 1000.0), 0.5 * 0.125893, 0.001);

    const TSignal k = Mit(Sinus(1000.0, 0.5, 2.0), TArt::Kanal, TStaerke::Typisch);
    ASSERT_EQ(k.kanaele.size(), 2U);
    EXPECT_NEAR(Amplitude(k, 1000.0), 0.5, 1e-4); // the tape, last
    EXPECT_NEAR(Db(Effektivwert(k.kanaele[0]) / Effektivwert(k.kanaele[1])), -10.0, 0.1);
}

// Vorbis through sox: the level stays, and the same input gives the same samples every time.
TEST(Degradation, VorbisThroughSox) {
    const TSignal a = Mit(Sinus(1000.0, 0.5, 2.0), TArt::Codec, TStaerke::Typisch);
    const TSignal b = Mit(Sinus(1000.0, 0.5, 2.0), TArt::Codec, TStaerke::Typisch);
    ASSERT_FALSE(a.Band().empty());
    EXPECT_NEAR(Db(Amplitude(a, 1000.0) / 0.5), 0.0, 0.5);
    EXPECT_NEAR(a.Sekunden(), 2.0, 0.05);
    EXPECT_TRUE(a.Band() == b.Band());
}

// The same case and take give the same recording; another take is degraded anew.
TEST(Degradation, RecordingsFollowTheirSeeds) {
    using namespace RettungsMessung;
    TQuelle quelle;
    quelle.signal = Sinus(1000.0, 0.5, 2.0);
    const QString ordner = TestVerzeichnis();
    QString fehler;
    QByteArray wav[3];
    for (int i = 0; i < 3; ++i) {
        const QString pfad = QDir(ordner).filePath(QStringLiteral("%1.wav").arg(i));
        ASSERT_TRUE(SchreibeAufnahme(quelle, TQuellArt::MZ700, TArt::Alles, TStaerke::Leicht, i == 2 ? 1 : 0,
                                     pfad, fehler))
            << fehler.toStdString();
        wav[i] = LiesDatei(pfad);
    }
    EXPECT_EQ(wav[0], wav[1]);
    EXPECT_NE(wav[0], wav[2]);
}

} // namespace
