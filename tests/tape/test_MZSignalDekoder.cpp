// The tape signal decoder through the WAV reader: where a crossing is placed, which frames are
// looked at, the interpolation and its rounding, the end of a recording, polarity and the delay
// of each model. Levels and sample positions are worked out by hand in the comments.
#include "MZSignalDekoder.h"
#include "MZWAVDateiLeser.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"
#include "WAVBau.h"

#include <QDir>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace WAVBau;

namespace {

using TFrames = std::vector<std::uint8_t>;

TFrames Lauf(int anzahl, std::uint8_t wert) {
    return TFrames(static_cast<std::size_t>(anzahl), wert);
}
TFrames operator+(TFrames a, const TFrames& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class SignalDekoderTest : public ::testing::Test {
protected:
    void SetUp() override { TestSprache(true); }
    void TearDown() override {
        leser.Schliessen();
        EinstellungenLeeren();
    }
    // Opens 8-bit mono frames at the rate with the model given.
    void Oeffne(const TFrames& frames, std::uint32_t rate, int modell, bool invertiert = false,
                bool alternativ = false) {
        leser.Schliessen();
        const QString pfad = QDir(TestVerzeichnis()).filePath(QStringLiteral("d.wav"));
        SchreibeDatei(pfad, Wav(1, rate, 8, Daten8(frames)));
        ASSERT_TRUE(leser.Oeffnen(pfad, {.modell = static_cast<quint8>(modell)}, invertiert, alternativ));
    }
    std::string AlleBits() {
        std::string bits;
        bool bit = false;
        while (!leser.IstDateiEnde()) {
            if (!leser.LeseBit(bit))
                return "failed";
            bits += bit ? '1' : '0';
        }
        return bits;
    }
    // The bit that opening has decided: "0", "1", or "" when there is none.
    std::string ErstesBit() const {
        switch (leser.HoleBitZustand()) {
        case TMZWAVDateiLeser::BitNull:
            return "0";
        case TMZWAVDateiLeser::BitEins:
            return "1";
        default:
            return "";
        }
    }
    std::string Dekodiere(const TFrames& frames, std::uint32_t rate, int modell, bool invertiert = false,
                          bool alternativ = false) {
        Oeffne(frames, rate, modell, invertiert, alternativ);
        return AlleBits();
    }
    TPlattformSkript plattform;
    TMZWAVDateiLeser leser;
};

// 44100 Hz, MZ-700 first variant (368 us), before = 200, after = 56 at frame 1: f = 0.5,
// r = 15.7288. Frames 2..15 are skipped, frames 16 and 17 are s1 and s2, and the level is
// 0.2712 s1 + 0.7288 s2.
TEST_F(SignalDekoderTest, RechenbeispielBei44100Hz) {
    struct TFall {
        std::uint8_t s1, s2;
        bool lang;
    };
    // 128.19, 127.46, 127.54, 126.81
    for (const TFall& f :
         {TFall{255, 81, false}, TFall{255, 80, true}, TFall{0, 175, false}, TFall{0, 174, true}}) {
        SCOPED_TRACE(testing::Message() << int(f.s1) << ", " << int(f.s2));
        // The skipped frames are full of crossings; frames 15 and 18 would each change the level.
        TFrames frames = {200, 56};
        for (int i = 2; i < 16; ++i)
            frames.push_back(i % 2 == 0 ? 255 : 0);
        frames[15] = f.s1 == 0 ? 255 : 0;
        frames = frames + TFrames{f.s1, f.s2} + TFrames{static_cast<std::uint8_t>(f.s2 < 128 ? 0 : 255)} +
                 Lauf(40, 128);
        Oeffne(frames, 44100, MZ700);
        EXPECT_EQ(leser.HoleSampleIndex(), 18);
        EXPECT_EQ(leser.HoleVorletztesSample(), f.s1);
        EXPECT_EQ(leser.HoleLetztesSample(), f.s2);
        EXPECT_EQ(ErstesBit(), f.lang ? "1" : "0");
    }
}

TEST_F(SignalDekoderTest, VerzoegerungJedesModells) {
    // 44100 Hz, f = 0.5 as above: r = 15.7288 (368 us), 10.7455 (255), 12.1223 (286.22),
    // 16.2139 (379); the bit is decided after ceil(r) frames past frame 1.
    struct TFall {
        int modell;
        bool alternativ;
        std::int32_t index;
    };
    const TFall faelle[] = {
        {MZ80K, false, 18}, {MZ80K, true, 18}, {MZ80C, false, 18}, {MZ80C, true, 18},
        {MZ80A, false, 18}, {MZ80A, true, 18}, {MZ80B, false, 13}, {MZ80B, true, 13},
        {MZ700, false, 18}, {MZ700, true, 15}, {MZ800, false, 19}, {MZ800, true, 19},
    };
    for (const TFall& f : faelle) {
        SCOPED_TRACE(testing::Message()
                     << MZModellName(f.modell).toStdString() << (f.alternativ ? " second" : ""));
        Oeffne(TFrames{200, 56} + Lauf(30, 0), 44100, f.modell, false, f.alternativ);
        EXPECT_EQ(leser.HoleSampleIndex(), f.index);
    }
}

TEST_F(SignalDekoderTest, ZweiteMZ700Verzoegerung) {
    // r = 12.1223: frames 13 and 14 (12 and 13 periods after frame 1), level 0.8777 s1 + 0.1223 s2:
    // 145 and 0 give 127.27 ("1"), 146 and 0 give 128.14 ("0").
    for (const std::uint8_t s1 : {145, 146}) {
        Oeffne(TFrames{200, 56} + Lauf(11, 255) + TFrames{s1, 0} + Lauf(20, 0), 44100, MZ700, false, true);
        EXPECT_EQ(leser.HoleSampleIndex(), 15);
        EXPECT_EQ(ErstesBit(), s1 == 145 ? "1" : "0");
    }
}

TEST_F(SignalDekoderTest, KreuzungAufHalberStrecke) {
    // 8000 Hz, MZ-80K: before 129, after 127 gives f = 0.5, W = 368 - 62.5 = 305.5 us, r = 2.444:
    // frame 2 skipped, level 0.556 s1 + 0.444 s2 from frames 3 and 4.
    struct TFall {
        std::uint8_t s1, s2;
        const char* bits;
    };
    // 127.18 and 128.07
    for (const TFall& f : {TFall{200, 36, "1"}, TFall{200, 38, "0"}}) {
        Oeffne(TFrames{129, 127, 0, f.s1, f.s2} + Lauf(10, 128), 8000, MZ80K);
        EXPECT_EQ(leser.HoleSampleIndex(), 5);
        EXPECT_EQ(ErstesBit(), f.bits);
    }
}

TEST_F(SignalDekoderTest, KreuzungAufDemSampleDavor) {
    // 8000 Hz: before 128, after 0 gives f = 1, W = 243 us, r = 1.944: nothing is skipped and
    // frames 2 and 3 are weighted 0.056 and 0.944: 255/120 gives 127.56, 255/119 gives 126.62.
    for (const std::uint8_t s2 : {120, 119}) {
        Oeffne(TFrames{128, 0, 255, s2} + Lauf(10, 128), 8000, MZ80K);
        EXPECT_EQ(leser.HoleSampleIndex(), 4);
        EXPECT_EQ(leser.HoleVorletztesSample(), 255);
        EXPECT_EQ(ErstesBit(), s2 == 120 ? "0" : "1");
    }
}

TEST_F(SignalDekoderTest, GanzzahligerAbstandLiestEinSample) {
    // 10000 Hz: before 144, after 94 gives f = 0.68, W = 300 us, r = 3 exactly: frames 2 and 3 are
    // skipped, frame 4 alone decides; frame 5 is not read.
    for (const std::uint8_t v : {127, 128}) {
        Oeffne(TFrames{144, 94, 255, 255, v, static_cast<std::uint8_t>(v == 127 ? 255 : 0)} + Lauf(10, 128),
               10000, MZ80K);
        EXPECT_EQ(leser.HoleSampleIndex(), 5);
        // Read right after a skip: nothing before it in the history.
        EXPECT_EQ(leser.HoleVorletztesSample(), -1);
        EXPECT_EQ(leser.HoleLetztesSample(), v);
        EXPECT_EQ(ErstesBit(), v == 127 ? "1" : "0");
    }
}

TEST_F(SignalDekoderTest, RundungDesInterpoliertenPegels) {
    // 10000 Hz: before 169, after 119 gives f = 0.18, r = 3.5: frames 4 and 5 weighted half and
    // half. Before 154, after 104 gives f = 0.48, r = 3.2: weights 0.8 and 0.2.
    struct TFall {
        const char* name;
        std::uint8_t vorher, nachher, s1, s2;
        const char* bits;
    };
    const TFall faelle[] = {
        {"127.5 from 127 and 128", 169, 119, 127, 128, "0"},
        {"127.5 from 255 and 0", 169, 119, 255, 0, "0"},
        {"127.0 from 127 and 127", 169, 119, 127, 127, "1"},
        {"127.4 from 127 and 129", 154, 104, 127, 129, "1"},
        {"127.6 from 127 and 130", 154, 104, 127, 130, "0"},
    };
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        Oeffne(TFrames{f.vorher, f.nachher, 0, 0, f.s1, f.s2} + Lauf(10, 128), 10000, MZ80K);
        EXPECT_EQ(ErstesBit(), f.bits);
    }
}

TEST_F(SignalDekoderTest, EndeDerAufnahme) {
    // 8000 Hz, f = 1: the sampling moment lies 1.944 periods after frame 1, so frames 2 and 3 must
    // exist. 44100 Hz, f = 0.5: 15.7288 periods, so 16 frames after frame 1.
    EXPECT_EQ(Dekodiere({128, 0}, 8000, MZ80K), "");
    EXPECT_EQ(Dekodiere({128, 0, 0}, 8000, MZ80K), "");
    EXPECT_EQ(leser.HoleSampleIndex(), 2);
    EXPECT_EQ(Dekodiere({128, 0, 0, 0}, 8000, MZ80K), "1");
    EXPECT_EQ(Dekodiere(TFrames{200, 56} + Lauf(15, 0), 44100, MZ700), "");
    EXPECT_EQ(Dekodiere(TFrames{200, 56} + Lauf(16, 0), 44100, MZ700), "1");
    // An empty data chunk has no bit at all.
    EXPECT_EQ(Dekodiere({}, 44100, MZ700), "");
    EXPECT_TRUE(plattform.Fehler().isEmpty());
}

TEST_F(SignalDekoderTest, StilleGibtKeineBits) {
    for (const std::uint8_t pegel : {128, 0, 127, 255}) {
        for (const bool invertiert : {false, true}) {
            SCOPED_TRACE(testing::Message() << int(pegel) << (invertiert ? " inverted" : ""));
            Oeffne(Lauf(1000, pegel), 22050, MZ80K, invertiert);
            EXPECT_TRUE(leser.IstDateiEnde());
            EXPECT_EQ(leser.HoleSampleIndex(), 1000);
        }
    }
}

TEST_F(SignalDekoderTest, ErstesSampleBeendetKeineKreuzung) {
    EXPECT_EQ(Dekodiere(Lauf(20, 0), 8000, MZ80K), "");
    EXPECT_EQ(Dekodiere(TFrames{128} + Lauf(20, 0), 8000, MZ80K), "1");
    // Inverted, a file starting at 255 reads 0 first: still no crossing.
    EXPECT_EQ(Dekodiere(Lauf(20, 255), 8000, MZ80K, true), "");
}

TEST_F(SignalDekoderTest, InvertierteStilleIstTief) {
    // 0 reads as 255 and 128 as 127 in an inverted pass: the step into the silence is a crossing
    // (f = 1/128, r = 2.936), and the silence is still low at the sampling moment.
    const TFrames frames = TFrames{0, 0} + Lauf(40, 128);
    EXPECT_EQ(Dekodiere(frames, 8000, MZ80K, false), "");
    EXPECT_EQ(Dekodiere(frames, 8000, MZ80K, true), "1");
}

TEST_F(SignalDekoderTest, KreuzungZwischenS1UndS2ZaehltSofort) {
    // 8000 Hz: crossing at frame 1 (f = 1), s1 = 200 and s2 = 0 at frames 2 and 3: "1". The step
    // from s1 to s2 is the next crossing (f = 0.64, r = 2.304): frame 4 skipped, frames 5 and 6
    // high: "0". Searching on from frame 4 instead would find no crossing at all.
    Oeffne(TFrames{128, 0, 200, 0, 0, 255, 255} + Lauf(20, 128), 8000, MZ80K);
    EXPECT_EQ(leser.HoleSampleIndex(), 4);
    bool bit = false;
    ASSERT_TRUE(leser.LeseBit(bit));
    EXPECT_TRUE(bit);
    EXPECT_EQ(leser.HoleSampleIndex(), 7);
    EXPECT_EQ(AlleBits(), "0");
}

// Pulses as an MZ machine writes them, put together here: a run at the first-part level and a run
// at the second-part level per pulse, silence around them. Samples per part at 8000, 22050 and
// 44100 Hz, (long first, long second, short first, short second), worked out from the pulse
// durations of each model.
struct TImpulsZeile {
    std::uint32_t rate;
    int teile[AnzahlMZModelle][4];
};
const TImpulsZeile ImpulsTabelle[] = {
    {8000, {{4, 4, 2, 3}, {4, 4, 2, 3}, {4, 4, 2, 3}, {3, 3, 1, 2}, {4, 4, 1, 3}, {4, 4, 2, 3}}},
    {22050, {{10, 11, 5, 6}, {10, 11, 5, 6}, {10, 11, 5, 6}, {7, 8, 4, 4}, {10, 11, 3, 8}, {10, 11, 5, 7}}},
    {44100,
     {{20, 22, 11, 12},
      {20, 22, 11, 12},
      {20, 22, 11, 12},
      {15, 15, 7, 8},
      {20, 22, 6, 16},
      {21, 22, 11, 13}}},
};

TFrames Impulse(const std::string& bits, const int teile[4], bool invertiert, int stille) {
    const std::uint8_t erster = invertiert ? 191 : 64;
    const std::uint8_t zweiter = invertiert ? 63 : 192;
    TFrames f = Lauf(stille, 128);
    for (char c : bits) {
        const bool lang = c == '1';
        f = f + Lauf(teile[lang ? 0 : 2], erster) + Lauf(teile[lang ? 1 : 3], zweiter);
    }
    return f + Lauf(stille, 128);
}

TEST_F(SignalDekoderTest, ImpulsfolgenJedesModellsUndJederRate) {
    std::mt19937 zufall(20240611u);
    std::string bits = "1100";
    for (int i = 0; i < 300; ++i)
        bits += (zufall() & 1) != 0 ? '1' : '0';
    bits += "0011";
    for (const TImpulsZeile& zeile : ImpulsTabelle) {
        for (int modell = 0; modell < AnzahlMZModelle; ++modell) {
            for (const bool alternativ : {false, true}) {
                SCOPED_TRACE(testing::Message() << zeile.rate << " Hz, " << MZModellName(modell).toStdString()
                                                << (alternativ ? " second delay" : ""));
                const int stille = static_cast<int>(zeile.rate / 100);
                // Written in normal polarity, read in normal polarity: exactly the pulses.
                EXPECT_EQ(Dekodiere(Impulse(bits, zeile.teile[modell], false, stille), zeile.rate, modell,
                                    false, alternativ),
                          bits);
                // Written inverted, read inverted: the first pulse is lost in the silence before it,
                // and the step into the silence after the last one is one more long pulse.
                EXPECT_EQ(Dekodiere(Impulse(bits, zeile.teile[modell], true, stille), zeile.rate, modell,
                                    true, alternativ),
                          bits.substr(1) + "1");
            }
        }
    }
    EXPECT_TRUE(plattform.Fehler().isEmpty());
}

// Below about 7.8 kHz the sampling moment may lie before the frame after the crossing; the
// extended decoding reads such rates from 4000 Hz on. 4000 Hz, MZ-80K (368 us): before = 200,
// after = 50 at frame 2, f = 78 / 150 = 0.52, r = 1.472 - 0.52 = 0.952: the moment lies between
// frame 2 (50) and frame 3 (60), level 0.048 x 50 + 0.952 x 60 = 59.52, low: a long pulse. One
// frame late it would be 0.048 x 60 + 0.952 x 250 = 240.9, high: a short one. The next crossing,
// 250 -> 10 at frame 6, has f = 118 / 240 = 0.4917, r = 0.9803: between 10 and 230, level
// 0.0197 x 10 + 0.9803 x 230 = 225.7, high: a short pulse (one frame late: 230 and 230, short too).
// The third, 230 -> 20 at frame 9, has f = 0.5143, r = 0.9577: between 20 and 100, level 96.6,
// low: long (one frame late, 100 and 240: 234.1, short).
TEST(SignalDekoderDirekt, AbtastmomentVorDemNaechstenFrame) {
    const std::uint8_t frames[] = {200, 200, 50, 60, 250, 250, 10, 230, 230, 20, 100, 240, 240, 240};
    TMZSignalDekoder dekoder;
    dekoder.Starte(4000, TMZSignalDekoder::AbtastVerzoegerung(MZ80K, false), std::size(frames));
    std::string bits;
    auto senke = [&bits](bool lang) { bits += lang ? '1' : '0'; };
    dekoder.Verarbeite(frames, frames + std::size(frames), senke);
    EXPECT_EQ(bits, "101");
    // Frame by frame the same.
    bits.clear();
    dekoder.Starte(4000, TMZSignalDekoder::AbtastVerzoegerung(MZ80K, false), std::size(frames));
    for (const std::uint8_t& f : frames)
        dekoder.Verarbeite(&f, &f + 1, senke);
    EXPECT_EQ(bits, "101");
}

// A frame exactly on the zero line (128) counts as high: between high frames it is no crossing,
// wherever it lies, in the eight-frame steps of the search or in the frames left over.
TEST_F(SignalDekoderTest, EinFrameAufDerNulllinieIstHoch) {
    for (const int vorher : {3, 9, 16, 21}) {
        SCOPED_TRACE(vorher);
        const TFrames frames = Lauf(vorher, 200) + TFrames{128} + Lauf(40, 200);
        EXPECT_EQ(Dekodiere(frames, 8000, MZ80K), "");
        std::string bits;
        auto senke = [&bits](bool lang) { bits += lang ? '1' : '0'; };
        TMZSignalDekoder dekoder;
        dekoder.Starte(8000, TMZSignalDekoder::AbtastVerzoegerung(MZ80K, false),
                       static_cast<std::int32_t>(frames.size()));
        dekoder.Verarbeite(frames.data(), frames.data() + frames.size(), senke);
        EXPECT_EQ(bits, "");
        // Low after it: the crossing lies between 128 and 0, a full frame before the 0 (f = 1),
        // and the level 368 us later (2.944 - 1 = 1.944 frames after the 0: 0.056 x 0 + 0.944 x 0)
        // is low.
        EXPECT_EQ(Dekodiere(Lauf(vorher, 200) + TFrames{128} + Lauf(40, 0), 8000, MZ80K), "1");
    }
    // The same for the two frames a decision was interpolated from: 10000 Hz, before 169, after
    // 119 (f = 0.18, r = 3.5) puts the moment between frames 4 (200) and 5 (128), level 164: a
    // short pulse; 200 then 128 is no new crossing, and nothing after it falls.
    EXPECT_EQ(Dekodiere(TFrames{169, 119, 0, 0, 200, 128} + Lauf(20, 200), 10000, MZ80K), "0");
}

} // namespace
