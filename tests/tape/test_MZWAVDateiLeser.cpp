// The WAV reader: the container walk with its damaged-file rules, the four sample formats on the
// common scale, frame access and its failures, and real recordings of the corpus.
#include "BandFehlerTest.h"
#include "MZWAVDateiLeser.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"
#include "WAVBau.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace WAVBau;

namespace {

TBandFehler LeseFehler(const QString& name, const QString& grund) {
    return TBandFehler::Lesen(name, grund);
}
using BandFehlerTest::Beschaedigt;
TBandFehler RateUngueltig(const QString& name) {
    return TBandFehler::SampleRate(name, 8000, 45000);
}
// What the extended reader finds in a file the plain one refuses.
TBandFehler::TErweitert Erweitert(std::uint32_t rate, std::uint16_t bits = 8, std::uint16_t kanaele = 1,
                                  bool gleitkomma = false) {
    return {true, rate, bits, kanaele, gleitkomma};
}

// Long enough to be read by nothing but the container checks: constant level, no crossing.
const QByteArray Ruhe = QByteArray(64, static_cast<char>(128));

class WAVLeserTest : public ::testing::Test {
protected:
    void SetUp() override { TestSprache(true); }
    void TearDown() override { EinstellungenLeeren(); }
    // The model whose sampling delays the reader uses.
    TBandEinstellungen einstellungen{.modell = MZ80K};
    QString Datei(const QByteArray& inhalt, const QString& name = QStringLiteral("t.wav")) {
        const QString pfad = QDir(TestVerzeichnis()).filePath(name);
        SchreibeDatei(pfad, inhalt);
        return pfad;
    }
    // Opens the file and expects exactly the failure (a damaged file, or a sample rate the plain
    // reader refuses), what the extended reader would find, no message, and a closed reader.
    void ErwarteFehler(const QByteArray& inhalt, TBandFehler::TErweitert erweitert = {}, bool rate = false) {
        const QString pfad = Datei(inhalt);
        plattform.Leeren();
        EXPECT_FALSE(leser.Oeffnen(pfad, einstellungen, false, false));
        TBandFehler erwartet = rate ? RateUngueltig(pfad) : Beschaedigt(pfad);
        erwartet.erweitert = erweitert;
        EXPECT_EQ(leser.HoleFehler(), erwartet);
        EXPECT_TRUE(plattform.nachrichten.isEmpty());
        EXPECT_FALSE(leser.IstGeoeffnet());
        EXPECT_TRUE(leser.IstDateiEnde());
        // The file is closed again: the same reader opens a good file at once.
        EXPECT_TRUE(leser.Oeffnen(Datei(Wav(1, 8000, 8, Ruhe), QStringLiteral("gut.wav")), einstellungen,
                                  false, false));
        leser.Schliessen();
    }
    TPlattformSkript plattform;
    TMZWAVDateiLeser leser;
};

TEST_F(WAVLeserTest, KanonischeDateienInAllenVierFormaten) {
    struct TFall {
        std::uint16_t kanaele, bits;
        int datenBytes;
        std::int32_t frames;
    };
    // A data chunk of 10 bytes: 10 mono 8-bit frames, 5 stereo 8-bit or mono 16-bit, 2 stereo 16-bit.
    for (const TFall& f :
         {TFall{1, 8, 10, 10}, TFall{2, 8, 10, 5}, TFall{1, 16, 10, 5}, TFall{2, 16, 10, 2}}) {
        SCOPED_TRACE(testing::Message() << f.kanaele << " channels, " << f.bits << " bits");
        ASSERT_TRUE(leser.Oeffnen(Datei(Wav(f.kanaele, 22050, f.bits, QByteArray(f.datenBytes, '\0'))),
                                  einstellungen, false, false));
        EXPECT_TRUE(leser.IstGeoeffnet());
        EXPECT_EQ(leser.HoleSampleRate(), 22050);
        EXPECT_EQ(leser.IstStereo(), f.kanaele == 2);
        EXPECT_EQ(leser.IstSechzehnBit(), f.bits == 16);
        EXPECT_EQ(leser.HoleAnzahlSamples(), f.frames);
        leser.Schliessen();
        EXPECT_FALSE(leser.IstGeoeffnet());
    }
    EXPECT_TRUE(plattform.Fehler().isEmpty());
}

TEST_F(WAVLeserTest, BeschaedigteContainer) {
    const QByteArray fmt = Chunk("fmt ", FmtPCM(1, 8000, 8));
    const QByteArray data = Chunk("data", Ruhe);
    const QByteArray gut = Riff(fmt + data);
    struct TFall {
        const char* name;
        QByteArray inhalt;
        bool erweitertLiest; // 8000 Hz, as the extended reader's own rules say
        std::uint16_t bits = 8;
        std::uint16_t kanaele = 1;
        bool gleitkomma = false;
    };
    QByteArray rifx = gut;
    rifx[3] = 'X';
    QByteArray kleinRiff = gut;
    kleinRiff.replace(0, 4, "riff");
    QByteArray wavx = gut;
    wavx[11] = 'X';
    QByteArray groesserMinusEins = gut;
    groesserMinusEins.replace(4, 4, Le32(static_cast<std::uint32_t>(gut.size() - 9)));
    QByteArray groesserPlusEins = gut;
    groesserPlusEins.replace(4, 4, Le32(static_cast<std::uint32_t>(gut.size() - 7)));
    // A data chunk of 5 bytes (odd) as the last thing in the file, once without its pad byte.
    const QByteArray ungeradeOhnePolster =
        Riff(fmt + ChunkMitGroesse("data", 5, QByteArray(5, '\x80'), false));

    const TFall faelle[] = {
        {"empty file", QByteArray(), false},
        {"11 bytes", gut.left(11), false},
        {"only the RIFF header", Riff(QByteArray()), false},
        {"RIFX", rifx, false},
        {"riff in lower case", kleinRiff, false},
        {"not WAVE", wavx, false},
        {"RIFF size one less", groesserMinusEins, true},
        {"RIFF size one more", groesserPlusEins, true},
        {"a byte after the RIFF chunk", gut + QByteArray(1, '\0'), true},
        {"no fmt chunk", Riff(data), false},
        {"data before fmt", Riff(data + fmt), false},
        {"no data chunk", Riff(fmt), false},
        {"fmt of 14 bytes", Riff(Chunk("fmt ", FmtPCM(1, 8000, 8).left(14)) + data), false},
        {"fmt chunk longer than the file", Riff(ChunkMitGroesse("fmt ", 40, FmtPCM(1, 8000, 8), false)),
         false},
        {"a chunk head cut short", Riff(fmt + QByteArray("dat")), false},
        {"four bytes where a chunk head belongs", Riff(fmt + QByteArray("data")), false},
        {"data size one more than the file holds",
         Riff(fmt + ChunkMitGroesse("data", static_cast<std::uint32_t>(Ruhe.size() + 2), Ruhe, false)), true},
        {"data size 4 GB in a small file", Riff(fmt + ChunkMitGroesse("data", 0xFFFFFFFEu, Ruhe, false)),
         true},
        {"LIST size 2 GB", Riff(ChunkMitGroesse("LIST", 0x7FFFFFFFu, QByteArray(4, 'x'), false) + fmt + data),
         false},
        {"odd data chunk without its pad byte", ungeradeOhnePolster, true},
        {"format tag 3 (floating point)", Riff(Chunk("fmt ", FmtFelder(3, 1, 8000, 32000, 4, 32)) + data),
         true, 32, 1, true},
        {"extensible format tag", Riff(Chunk("fmt ", FmtFelder(0xFFFE, 1, 8000, 16000, 2, 16)) + data),
         false},
        {"format tag 0", Riff(Chunk("fmt ", FmtFelder(0, 1, 8000, 8000, 1, 8)) + data), false},
        {"no channels", Riff(Chunk("fmt ", FmtFelder(1, 0, 8000, 0, 0, 8)) + data), false},
        {"three channels", Riff(Chunk("fmt ", FmtPCM(3, 8000, 8)) + data), true, 8, 3},
        {"24 bits", Riff(Chunk("fmt ", FmtPCM(1, 8000, 24)) + data), true, 24},
        {"32 bits", Riff(Chunk("fmt ", FmtPCM(1, 8000, 32)) + data), true, 32},
        {"4 bits", Riff(Chunk("fmt ", FmtFelder(1, 1, 8000, 4000, 1, 4)) + data), false},
        {"bytes per second twice the rate", Riff(Chunk("fmt ", FmtFelder(1, 1, 8000, 16000, 1, 8)) + data),
         true},
        {"bytes per second of mono for stereo", Riff(Chunk("fmt ", FmtFelder(1, 2, 8000, 8000, 2, 8)) + data),
         true, 8, 2},
        {"block size 1 for 16 bits", Riff(Chunk("fmt ", FmtFelder(1, 1, 8000, 16000, 1, 16)) + data), false},
        {"block size 2 for 8-bit mono", Riff(Chunk("fmt ", FmtFelder(1, 1, 8000, 8000, 2, 8)) + data), false},
    };
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        ErwarteFehler(f.inhalt, f.erweitertLiest ? Erweitert(8000, f.bits, f.kanaele, f.gleitkomma)
                                                 : TBandFehler::TErweitert{});
    }
}

TEST_F(WAVLeserTest, WasDieChunkWanderungUeberspringt) {
    const QByteArray data = Chunk("data", Ruhe);
    const QByteArray fmt = Chunk("fmt ", FmtPCM(1, 8000, 8));
    struct TFall {
        const char* name;
        QByteArray inhalt;
        std::int32_t frames;
    };
    const QByteArray fmt18 = Chunk("fmt ", FmtPCM(1, 8000, 8) + Le16(0));
    // An odd fmt chunk of 17 bytes with its pad byte.
    const QByteArray fmt17 = Chunk("fmt ", FmtPCM(1, 8000, 8) + QByteArray(1, '\x55'));
    const QByteArray list = Chunk("LIST", QByteArray("INFOISFT\x03\0\0\0ab", 15)); // odd, padded
    const TFall faelle[] = {
        {"fmt of 18 bytes", Riff(fmt18 + data), 64},
        {"fmt of 17 bytes and a pad byte", Riff(fmt17 + data), 64},
        {"LIST before fmt", Riff(list + fmt + data), 64},
        {"LIST between fmt and data", Riff(fmt + list + data), 64},
        {"a data chunk before fmt is passed over", Riff(Chunk("data", QByteArray(4, '\0')) + fmt + data), 64},
        {"chunks after data are never looked at", Riff(fmt + data + QByteArray("junk\xff\xff\xff\xff", 8)),
         64},
        {"odd data chunk with its pad byte", Riff(fmt + Chunk("data", QByteArray(5, '\x80'))), 5},
        {"empty data chunk", Riff(fmt + Chunk("data", QByteArray())), 0},
        // The top bit of a size is not part of it.
        {"top bit of the data size", Riff(fmt + ChunkMitGroesse("data", 0x80000000u | 64u, Ruhe, false)), 64},
    };
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        ASSERT_TRUE(leser.Oeffnen(Datei(f.inhalt), einstellungen, false, false));
        EXPECT_EQ(leser.HoleAnzahlSamples(), f.frames);
        leser.Schliessen();
    }
    QByteArray riffMitBit = Riff(fmt + data);
    riffMitBit[7] = static_cast<char>(riffMitBit[7] | 0x80);
    ASSERT_TRUE(leser.Oeffnen(Datei(riffMitBit), einstellungen, false, false));
    leser.Schliessen();
    EXPECT_TRUE(plattform.Fehler().isEmpty());
}

TEST_F(WAVLeserTest, SampleRateGrenzen) {
    for (std::uint32_t rate : {8000u, 45000u, 22050u, 44100u}) {
        SCOPED_TRACE(rate);
        ASSERT_TRUE(leser.Oeffnen(Datei(Wav(1, rate, 8, Ruhe)), einstellungen, false, false));
        EXPECT_EQ(leser.HoleSampleRate(), rate);
        leser.Schliessen();
    }
    // 73536 would be 8000 if only 16 bits were read.
    // The extended reader takes 4000 to 384000 Hz.
    for (std::uint32_t rate : {7999u, 45001u, 0u, 48000u, 73536u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(rate);
        const bool erweitert = rate >= 4000 && rate <= 384000;
        ErwarteFehler(Wav(1, rate, 8, Ruhe), erweitert ? Erweitert(rate) : TBandFehler::TErweitert{}, true);
    }
    // In the order of the checks: the format tag before the rate, the rate before the bits.
    ErwarteFehler(Riff(Chunk("fmt ", FmtFelder(3, 1, 48000, 48000, 1, 8)) + Chunk("data", Ruhe)));
    ErwarteFehler(Riff(Chunk("fmt ", FmtFelder(1, 1, 48000, 48000, 3, 24)) + Chunk("data", Ruhe)),
                  Erweitert(48000, 24), true);
}

TEST_F(WAVLeserTest, OeffnenFehlschlaegeDerDatei) {
    EXPECT_FALSE(leser.Oeffnen(QString(), einstellungen, false, false));
    EXPECT_EQ(leser.HoleFehler(), BandFehlerTest::UngueltigerName());

    const QString fehlt = QDir(TestVerzeichnis()).filePath(QStringLiteral("fehlt.wav"));
    EXPECT_FALSE(leser.Oeffnen(fehlt, einstellungen, false, false));
    EXPECT_EQ(leser.HoleFehler(), LeseFehler(fehlt, QStringLiteral("No such file or directory")));

    const QString ordner = TestVerzeichnis();
    EXPECT_FALSE(leser.Oeffnen(ordner, einstellungen, false, false));
    EXPECT_EQ(leser.HoleFehler().art, TBandFehler::TArt::Lesefehler);
    EXPECT_EQ(leser.HoleFehler().datei, ordner);
    EXPECT_FALSE(leser.HoleFehler().text.isEmpty());

    // A FIFO with no writer: opening it must not wait.
    const QString fifo = QDir(TestVerzeichnis()).filePath(QStringLiteral("fifo.wav"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(leser.Oeffnen(fifo, einstellungen, false, false));
    EXPECT_EQ(leser.HoleFehler(), LeseFehler(fifo, QStringLiteral("Not a regular file")));
    EXPECT_FALSE(leser.IstGeoeffnet());
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
}

TEST_F(WAVLeserTest, ZweitesOeffnenLaesstDieErsteDateiOffen) {
    // A crossing at frame 1, its bit decided from frames 2 and 3 (8000 Hz, f = 1, r = 1.944).
    const QString erste = Datei(Wav(1, 8000, 8, Daten8({128, 0, 0, 0, 128, 128})));
    ASSERT_TRUE(leser.Oeffnen(erste, einstellungen, false, false));
    EXPECT_EQ(leser.HoleSampleIndex(), 4);
    const QString zweite = Datei(Wav(1, 22050, 16, Ruhe), QStringLiteral("zwei.wav"));
    EXPECT_FALSE(leser.Oeffnen(zweite, einstellungen, true, true));
    EXPECT_EQ(leser.HoleFehler(), LeseFehler(zweite, QStringLiteral("File ist already open")));
    EXPECT_TRUE(leser.IstGeoeffnet());
    EXPECT_EQ(leser.HoleSampleRate(), 8000);
    EXPECT_EQ(leser.HoleSampleIndex(), 4);
    std::uint8_t s = 0;
    ASSERT_TRUE(leser.LeseSample(s));
    EXPECT_EQ(s, 128);
}

// Frames 0 and 1 make a crossing whose bit is decided within the next few frames; the values under
// test start at frame 8, where the reader is moved with a skip.
constexpr std::int32_t ErsterTestFrame = 8;

struct TSkalaFall {
    const char* name;
    std::uint16_t kanaele, bits;
    QByteArray vorspann; // eight frames: high, low, low...
    QByteArray werte;
    std::vector<int> erwartet;
};

TEST_F(WAVLeserTest, GemeinsameSkalaAllerFormate) {
    // High, low, high, then low: a crossing at frame 1 in normal and at frame 2 in inverted
    // polarity, each decided by frame 5 (8000 Hz: skip one, read two).
    const auto hoch = [](int i) { return i == 0 || i == 2; };
    const auto vorspann8 = [&](int kanaele) {
        QByteArray b;
        for (int i = 0; i < ErsterTestFrame; ++i)
            b += QByteArray(kanaele, static_cast<char>(hoch(i) ? 255 : 0));
        return b;
    };
    const auto vorspann16 = [&](int kanaele) {
        QByteArray b;
        for (int i = 0; i < ErsterTestFrame; ++i)
            for (int k = 0; k < kanaele; ++k)
                b += Le16(static_cast<std::uint16_t>(hoch(i) ? 32767 : -32768));
        return b;
    };
    const TSkalaFall faelle[] = {
        {"8-bit mono", 1, 8, vorspann8(1), Daten8({0, 1, 127, 128, 200, 255}), {0, 1, 127, 128, 200, 255}},
        {"8-bit stereo",
         2,
         8,
         vorspann8(2),
         Daten8({255, 0, 1, 2, 128, 129, 255, 255, 0, 0, 100, 200}),
         {127, 1, 128, 255, 0, 150}},
        {"16-bit mono",
         1,
         16,
         vorspann16(1),
         Daten16({0, 32767, -32768, -1, 255, 256, -256, -257}),
         {128, 255, 0, 127, 128, 129, 127, 126}},
        {"16-bit stereo",
         2,
         16,
         vorspann16(2),
         Daten16({-1, 0, 0, -1, 32767, 32767, -32768, -32768, -32768, 32767, -3, 0, 511, 0, -513, 0}),
         // (-1 + 0) / 2 truncates to 0; (-32768 + 32767) / 2 to 0; (-3 + 0) / 2 to -1.
         {128, 128, 255, 0, 128, 127, 128, 127}},
    };
    for (const TSkalaFall& f : faelle) {
        SCOPED_TRACE(f.name);
        for (const bool invertiert : {false, true}) {
            SCOPED_TRACE(invertiert ? "inverted" : "normal");
            ASSERT_TRUE(leser.Oeffnen(Datei(Wav(f.kanaele, 8000, f.bits, f.vorspann + f.werte)),
                                      einstellungen, invertiert, false));
            ASSERT_LE(leser.HoleSampleIndex(), ErsterTestFrame);
            ASSERT_TRUE(leser.UeberspringeSamples(ErsterTestFrame - leser.HoleSampleIndex()));
            for (int erwartet : f.erwartet) {
                std::uint8_t s = 0;
                ASSERT_TRUE(leser.LeseSample(s));
                EXPECT_EQ(s, invertiert ? 255 - erwartet : erwartet);
            }
            EXPECT_EQ(leser.HoleSampleIndex(), leser.HoleAnzahlSamples());
            leser.Schliessen();
        }
    }
    EXPECT_TRUE(plattform.Fehler().isEmpty());
}

TEST_F(WAVLeserTest, InvertiertWird200Zu55) {
    ASSERT_TRUE(leser.Oeffnen(Datei(Wav(1, 8000, 8, Daten8({200, 200, 200}))), einstellungen, true, false));
    // No crossing in 55, 55, 55: every frame was read while looking for one.
    EXPECT_TRUE(leser.IstDateiEnde());
    EXPECT_EQ(leser.HoleLetztesSample(), 55);
    EXPECT_EQ(leser.HoleVorletztesSample(), 55);
}

TEST_F(WAVLeserTest, UnvollstaendigerLetzterFrameWirdNieGelesen) {
    // 16-bit mono, a data chunk of 5 bytes (with pad): 2 frames. The fifth byte is not a sample.
    const QByteArray daten = Daten16({-32768, -32768}) + QByteArray(1, '\x7F');
    ASSERT_TRUE(leser.Oeffnen(Datei(Riff(Chunk("fmt ", FmtPCM(1, 8000, 16)) + Chunk("data", daten))),
                              einstellungen, false, false));
    EXPECT_EQ(leser.HoleAnzahlSamples(), 2);
    EXPECT_EQ(leser.HoleSampleIndex(), 2);
    std::uint8_t s = 0;
    EXPECT_FALSE(leser.LeseSample(s));
    EXPECT_EQ(leser.HoleFehler(),
              LeseFehler(leser.HoleFehler().datei, QStringLiteral("End of file is reached")));
    EXPECT_FALSE(leser.HoleFehler().datei.isEmpty());
}

TEST_F(WAVLeserTest, ZugriffeOhneOffeneDatei) {
    std::uint8_t s = 0;
    bool bit = false;
    const TBandFehler erwartet = LeseFehler(QStringLiteral("<Unknown>"), QStringLiteral("File is not open"));
    EXPECT_FALSE(leser.LeseSample(s));
    EXPECT_EQ(leser.HoleFehler(), erwartet);
    EXPECT_FALSE(leser.UeberspringeSamples(1));
    EXPECT_EQ(leser.HoleFehler(), erwartet);
    EXPECT_FALSE(leser.LeseBit(bit));
    EXPECT_EQ(leser.HoleFehler(), erwartet);
    EXPECT_TRUE(leser.IstDateiEnde());
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
    // Closing a closed reader does nothing.
    leser.Schliessen();
    EXPECT_FALSE(leser.IstGeoeffnet());
}

TEST_F(WAVLeserTest, LesenUndUeberspringenAmEnde) {
    // 128 at frame 0, then low: the crossing at frame 1 lies on frame 0 (f = 1); at 8000 Hz it is
    // sampled from frames 2 and 3 (r = 1.944).
    const QString pfad = Datei(Wav(1, 8000, 8, Daten8({128, 0, 0, 0, 1, 2, 3, 4, 5, 6})));
    ASSERT_TRUE(leser.Oeffnen(pfad, einstellungen, false, false));
    ASSERT_EQ(leser.HoleSampleIndex(), 4);
    EXPECT_EQ(leser.HoleBitZustand(), TMZWAVDateiLeser::BitEins);

    EXPECT_FALSE(leser.UeberspringeSamples(-1));
    EXPECT_EQ(leser.HoleFehler(),
              LeseFehler(QStringLiteral("<Unknown>"), QStringLiteral("Cannot seek backward")));
    EXPECT_FALSE(leser.UeberspringeSamples(7));
    EXPECT_EQ(leser.HoleFehler(),
              LeseFehler(QStringLiteral("<Unknown>"), QStringLiteral("Cannot seek beyond the end of file")));
    // Failed skips change nothing; the history is still that of frames 2 and 3.
    EXPECT_EQ(leser.HoleSampleIndex(), 4);
    EXPECT_EQ(leser.HoleLetztesSample(), 0);
    EXPECT_EQ(leser.HoleVorletztesSample(), 0);
    plattform.Leeren();

    EXPECT_TRUE(leser.UeberspringeSamples(0));
    EXPECT_EQ(leser.HoleLetztesSample(), -1);
    EXPECT_EQ(leser.HoleVorletztesSample(), -1);
    std::uint8_t s = 0;
    ASSERT_TRUE(leser.LeseSample(s));
    EXPECT_EQ(s, 1);
    EXPECT_EQ(leser.HoleLetztesSample(), 1);
    EXPECT_EQ(leser.HoleVorletztesSample(), -1);
    ASSERT_TRUE(leser.LeseSample(s));
    EXPECT_EQ(leser.HoleVorletztesSample(), 1);
    EXPECT_EQ(leser.HoleLetztesSample(), 2);
    // Exactly to the end is allowed.
    EXPECT_TRUE(leser.UeberspringeSamples(4));
    EXPECT_EQ(leser.HoleSampleIndex(), 10);
    EXPECT_FALSE(leser.LeseSample(s));
    EXPECT_EQ(leser.HoleFehler(), LeseFehler(pfad, QStringLiteral("End of file is reached")));
    EXPECT_TRUE(leser.IstGeoeffnet());
    EXPECT_EQ(leser.HoleSampleIndex(), 10);
}

TEST_F(WAVLeserTest, LeseBitNachDemLetztenBit) {
    const QString pfad = Datei(Wav(1, 8000, 8, Daten8({128, 0, 0, 0})));
    ASSERT_TRUE(leser.Oeffnen(pfad, einstellungen, false, false));
    ASSERT_FALSE(leser.IstDateiEnde());
    bool bit = false;
    ASSERT_TRUE(leser.LeseBit(bit));
    EXPECT_TRUE(bit);
    EXPECT_TRUE(leser.IstDateiEnde());
    EXPECT_FALSE(leser.LeseBit(bit));
    EXPECT_EQ(leser.HoleFehler(), LeseFehler(pfad, QStringLiteral("End of file is reached")));
    EXPECT_TRUE(leser.IstGeoeffnet());
    // A second opening starts from the first frame again.
    leser.Schliessen();
    ASSERT_TRUE(leser.Oeffnen(pfad, einstellungen, false, false));
    EXPECT_EQ(leser.HoleBitZustand(), TMZWAVDateiLeser::BitEins);
}

TEST_F(WAVLeserTest, DateiSchrumpftBeimLesen) {
    // 200,000 frames of a square wave: many blocks of the buffered reader. The file is cut to its
    // header while the reader is open.
    QByteArray daten;
    for (int i = 0; i < 200000; ++i)
        daten.append(static_cast<char>((i / 30) % 2 != 0 ? 0 : 255));
    const QString pfad = Datei(Wav(1, 44100, 8, daten));
    ASSERT_TRUE(leser.Oeffnen(pfad, einstellungen, false, false));
    ASSERT_TRUE(QFile::resize(pfad, 44));
    bool bit = false;
    bool ok = true;
    int bits = 0;
    while (ok && !leser.IstDateiEnde() && bits < 100000) {
        ok = leser.LeseBit(bit);
        ++bits;
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(leser.HoleFehler().art, TBandFehler::TArt::Lesefehler);
    EXPECT_EQ(leser.HoleFehler().datei, pfad);
    EXPECT_TRUE(leser.IstGeoeffnet());
    leser.Schliessen();
}

// Recordings made by others, read at the tape level.

// The characters of one byte on tape: a start "1", then the bits from the most significant down.
std::string ByteAlsBits(std::uint8_t b) {
    std::string s = "1";
    for (int i = 7; i >= 0; --i)
        s += ((b >> i) & 1) != 0 ? '1' : '0';
    return s;
}

// The header block of an MZF file: its 128 header bytes and their checksum (set bits, high byte first).
std::string KopfBlock(const QByteArray& mzf) {
    std::string s;
    int summe = 0;
    for (int i = 0; i < 128; ++i) {
        const auto b = static_cast<std::uint8_t>(mzf[i]);
        s += ByteAlsBits(b);
        for (int k = 0; k < 8; ++k)
            summe += (b >> k) & 1;
    }
    return s + ByteAlsBits(static_cast<std::uint8_t>(summe >> 8)) +
           ByteAlsBits(static_cast<std::uint8_t>(summe & 0xFF));
}

std::string LeseAlleBits(TMZWAVDateiLeser& leser) {
    std::string bits;
    bool bit = false;
    while (!leser.IstDateiEnde()) {
        if (!leser.LeseBit(bit))
            return "failed";
        bits += bit ? '1' : '0';
    }
    return bits;
}

TEST_F(WAVLeserTest, KorpusEmulatorAufnahmen) {
    struct TFall {
        const char* wav;
        std::int32_t frames; // data size from the header, one byte per frame
    };
    for (const TFall& f : {TFall{"TestHalt", 801108}, TFall{"TestCharacters", 1027624}}) {
        SCOPED_TRACE(f.wav);
        const QString pfad =
            KorpusPfad(QStringLiteral("gunterhager-mz-800-emulator/%1.wav").arg(QLatin1String(f.wav)));
        const std::string kopf = KopfBlock(LiesDatei(
            KorpusPfad(QStringLiteral("gunterhager-mz-800-emulator/%1.mzf").arg(QLatin1String(f.wav)))));
        for (const int modell : {MZ80K, MZ700, MZ800}) {
            einstellungen.modell = static_cast<quint8>(modell);
            // Clean square pulses: the header block comes through in either polarity.
            for (const bool invertiert : {false, true}) {
                ASSERT_TRUE(leser.Oeffnen(pfad, einstellungen, invertiert, false));
                EXPECT_EQ(leser.HoleSampleRate(), 44100);
                EXPECT_FALSE(leser.IstStereo());
                EXPECT_FALSE(leser.IstSechzehnBit());
                EXPECT_EQ(leser.HoleAnzahlSamples(), f.frames);
                const std::string bits = LeseAlleBits(leser);
                EXPECT_NE(bits.find(kopf), std::string::npos)
                    << "model " << modell << (invertiert ? " inverted" : "");
                leser.Schliessen();
            }
        }
    }
    EXPECT_TRUE(plattform.Fehler().isEmpty());
}

// A recording held in memory reads as the same file does: the same frames, the same bits, the
// header block of the MZF beside it; the source is read again from its start at every open, and a
// damaged one is told under the source's name.
TEST_F(WAVLeserTest, AufnahmeImSpeicher) {
    const QString pfad = KorpusPfad(QStringLiteral("gunterhager-mz-800-emulator/TestHalt.wav"));
    const std::string kopf =
        KopfBlock(LiesDatei(KorpusPfad(QStringLiteral("gunterhager-mz-800-emulator/TestHalt.mzf"))));
    const QByteArray inhalt = LiesDatei(pfad);
    ASSERT_FALSE(inhalt.isEmpty());
    TSpeicherQuelle quelle(reinterpret_cast<const std::uint8_t*>(inhalt.constData()),
                           static_cast<std::int32_t>(inhalt.size()), QStringLiteral("im Speicher"));
    for (const bool invertiert : {false, true}) {
        SCOPED_TRACE(invertiert ? "inverted" : "normal");
        ASSERT_TRUE(leser.Oeffnen(quelle, einstellungen, invertiert, false));
        EXPECT_EQ(leser.HoleSampleRate(), 44100);
        EXPECT_EQ(leser.HoleAnzahlSamples(), 801108);
        const std::string ausSpeicher = LeseAlleBits(leser);
        leser.Schliessen();
        ASSERT_TRUE(leser.Oeffnen(pfad, einstellungen, invertiert, false));
        EXPECT_EQ(ausSpeicher, LeseAlleBits(leser));
        leser.Schliessen();
        EXPECT_NE(ausSpeicher.find(kopf), std::string::npos);
    }

    // Every format on the common scale, as from a file. The levels only rise, so no pulse
    // begins and opening reads every frame looking for the first one (the 16-bit stereo frame
    // (-1 + 0) / 2 truncates to 0, i.e. 128).
    struct TFall {
        int kanaele;
        int bits;
        QByteArray daten;
        int vorletztes;
        int letztes;
    };
    const TFall faelle[] = {
        {1, 8, Daten8({0, 1, 127, 128, 200, 255}), 200, 255},
        {2, 8, Daten8({1, 2, 255, 0, 128, 129}), 127, 128},
        {1, 16, Daten16({-32768, -257, 0, 32767}), 128, 255},
        {2, 16, Daten16({-32768, -32768, -1, 0, 32767, 32767}), 128, 255},
    };
    for (const TFall& f : faelle) {
        SCOPED_TRACE(testing::Message() << f.kanaele << " x " << f.bits);
        const QByteArray wav = Wav(f.kanaele, 8000, f.bits, f.daten);
        const auto frames = static_cast<std::int32_t>(f.daten.size() / (f.kanaele * f.bits / 8));
        TSpeicherQuelle q(reinterpret_cast<const std::uint8_t*>(wav.constData()),
                          static_cast<std::int32_t>(wav.size()));
        for (const bool ausDatei : {false, true}) {
            SCOPED_TRACE(ausDatei ? "file" : "memory");
            ASSERT_TRUE(ausDatei ? leser.Oeffnen(Datei(wav), einstellungen, false, false)
                                 : leser.Oeffnen(q, einstellungen, false, false));
            EXPECT_TRUE(leser.IstDateiEnde());
            EXPECT_EQ(leser.HoleSampleIndex(), frames);
            EXPECT_EQ(leser.HoleVorletztesSample(), f.vorletztes);
            EXPECT_EQ(leser.HoleLetztesSample(), f.letztes);
            leser.Schliessen();
        }
    }

    const QByteArray kaputt = QByteArray("RIFF") + Le32(4) + QByteArray("WAVE");
    TSpeicherQuelle q(reinterpret_cast<const std::uint8_t*>(kaputt.constData()),
                      static_cast<std::int32_t>(kaputt.size()), QStringLiteral("kaputt"));
    EXPECT_FALSE(leser.Oeffnen(q, einstellungen, false, false));
    EXPECT_EQ(leser.HoleFehler(), Beschaedigt(QStringLiteral("kaputt")));
    EXPECT_FALSE(leser.IstGeoeffnet());
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
}

TEST_F(WAVLeserTest, KorpusKassettenaufnahmenMitMZ700Pulsen) {
    // Noisy, inverted, 5-10 % fast: the header block is found in an inverted pass under the
    // MZ-700 setting.
    einstellungen.modell = MZ700;
    for (const char* name : {"GNU BLAT 2000", "Moonlander v4"}) {
        SCOPED_TRACE(name);
        const QString basis = KorpusPfad(QStringLiteral("psychotimmy-Sharp-MZ-700/") + QLatin1String(name));
        const std::string kopf = KopfBlock(LiesDatei(basis + QStringLiteral(".mzf")));
        bool gefunden = false;
        for (const bool alternativ : {false, true}) {
            ASSERT_TRUE(leser.Oeffnen(basis + QStringLiteral(".wav"), einstellungen, true, alternativ));
            EXPECT_EQ(leser.HoleSampleRate(), 22050);
            gefunden = gefunden || LeseAlleBits(leser).find(kopf) != std::string::npos;
            leser.Schliessen();
        }
        EXPECT_TRUE(gefunden);
    }
}

TEST_F(WAVLeserTest, Korpus48000HzIstUngueltig) {
    for (const char* name : {"8253-test", "Baryon-3", "memory-dirtinizer", "ram-check", "sound-test1"}) {
        SCOPED_TRACE(name);
        plattform.Leeren();
        const QString pfad = KorpusPfad(
            QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject/%1.wav").arg(QLatin1String(name)));
        EXPECT_FALSE(leser.Oeffnen(pfad, einstellungen, false, false));
        TBandFehler erwartet = RateUngueltig(pfad);
        erwartet.erweitert = Erweitert(48000, 8, 1); // 8-bit mono, as `file` says of them
        EXPECT_EQ(leser.HoleFehler(), erwartet);
        EXPECT_TRUE(plattform.nachrichten.isEmpty());
        EXPECT_FALSE(leser.IstGeoeffnet());
    }
}

} // namespace
