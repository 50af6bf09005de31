// bandwerk-cli scan: a recording put together sample by sample here (MZ-80K pulses at 22050 Hz,
// 11 and 21 samples), whose first header copy carries a flipped bit; times and pulse lengths are
// worked out from the sample counts.
#include "CliLauf.h"
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"
#include "WAVBau.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

constexpr double Rate = 22050.0;
constexpr int KurzFrames = 11; // 5 low + 6 high
constexpr int LangFrames = 21; // 10 low + 11 high
// Where the first header copy's start bit lies in the full format: leader, 40 long, 40 short, 1 long.
constexpr std::size_t ErsterKopf = 22000 + 40 + 40 + 1;
// A data bit of the attribute byte in that copy.
constexpr std::size_t GekipptesBit = ErsterKopf + 2;
// Before pulse number i the silence and every pulse before it.
double Sekunden(const std::string& bits, std::size_t i) {
    std::size_t frames = WAVBau::TImpulsFolge().stilleFrames;
    for (std::size_t k = 0; k < i; ++k)
        frames += bits.at(k) == '1' ? LangFrames : KurzFrames;
    return static_cast<double>(frames) / Rate;
}

class Bandbericht : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        SchreibeSprache(true);
        TMZFDatei d;
        ASSERT_TRUE(LadeBildMitRumpf(d, RumpfMitBytes(9), "SCAN"));
        // The command line reads with the model of an empty store, the MZ-80K.
        bits = d.ErzeugeTonbandBits({.modell = MZ80K});
        bits.at(GekipptesBit) = bits.at(GekipptesBit) == '1' ? '0' : '1';
        pfad = QDir(TestVerzeichnis()).filePath(QStringLiteral("band.wav"));
        SchreibeDatei(pfad, WAVBau::WAVAusBits({{bits, false}}));
    }
    std::string bits;
    QString pfad;
    TPlattformSkript skript;
};

TEST_F(Bandbericht, JsonLinesInRecordingOrder) {
    const TCliLauf lauf = StarteCli({QStringLiteral("scan"), QStringLiteral("--json"), pfad});
    ASSERT_EQ(lauf.status, 0) << lauf.fehler.toStdString();
    QList<QJsonObject> zeilen;
    for (const QString& zeile : lauf.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        zeilen << QJsonDocument::fromJson(zeile.toUtf8()).object();
    const auto wert = [&](int i, const char* schluessel) { return zeilen[i][QLatin1String(schluessel)]; };
    ASSERT_EQ(zeilen.size(), 7) << lauf.aus.toStdString();

    EXPECT_EQ(wert(0, "event").toString(), QStringLiteral("recording"));
    EXPECT_EQ(wert(0, "rate").toInt(), 22050);
    EXPECT_EQ(wert(0, "polarity").toString(), QStringLiteral("normal"));

    // The long mark begins after the 22,000 short pulses of the leader; its pulses are those of
    // the table: 11 and 21 samples, 0.74 % faster than the nominal 504 + 958 us.
    EXPECT_EQ(wert(1, "event").toString(), QStringLiteral("long-mark"));
    EXPECT_NEAR(wert(1, "time").toDouble(), Sekunden(bits, 22000), 0.002);
    EXPECT_NEAR(wert(1, "shortUs").toDouble(), KurzFrames / Rate * 1e6, 1.0);
    EXPECT_NEAR(wert(1, "longUs").toDouble(), LangFrames / Rate * 1e6, 1.0);
    EXPECT_NEAR(wert(1, "speedPercent").toDouble(),
                (1462.0 / ((KurzFrames + LangFrames) / Rate * 1e6) - 1) * 100, 0.15);

    // The first copy fails its checksum, the second is read.
    EXPECT_EQ(wert(2, "event").toString(), QStringLiteral("header"));
    EXPECT_EQ(wert(2, "copy").toInt(), 1);
    EXPECT_EQ(wert(2, "checksum").toString(), QStringLiteral("bad"));
    EXPECT_NEAR(wert(2, "time").toDouble(), Sekunden(bits, ErsterKopf), 0.002);
    EXPECT_EQ(wert(3, "copy").toInt(), 2);
    EXPECT_EQ(wert(3, "checksum").toString(), QStringLiteral("good"));
    EXPECT_EQ(wert(3, "name").toString(), QStringLiteral("SCAN"));
    EXPECT_EQ(wert(3, "size").toInt(), 9);
    // Copy 2 begins after copy 1 (130 bytes of 9 pulses), a long pulse and 256 short ones.
    EXPECT_NEAR(wert(3, "time").toDouble(), Sekunden(bits, ErsterKopf + 130 * 9 + 1 + 256), 0.002);

    EXPECT_EQ(wert(4, "event").toString(), QStringLiteral("short-mark"));
    EXPECT_EQ(wert(5, "event").toString(), QStringLiteral("body"));
    EXPECT_EQ(wert(5, "checksum").toString(), QStringLiteral("good"));
    EXPECT_EQ(wert(6, "event").toString(), QStringLiteral("speed"));
    EXPECT_EQ(wert(6, "shortNominalUs").toDouble(), 504.0);
    EXPECT_EQ(wert(6, "longNominalUs").toDouble(), 958.0);
}

TEST_F(Bandbericht, TextAndRefusals) {
    const TCliLauf lauf = StarteCli({QStringLiteral("scan"), pfad});
    ASSERT_EQ(lauf.status, 0) << lauf.fehler.toStdString();
    const QStringList zeilen = lauf.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(zeilen.size(), 7) << lauf.aus.toStdString();
    EXPECT_TRUE(zeilen[0].startsWith(QStringLiteral("Recording: 22050 Hz, 0:"))) << zeilen[0].toStdString();
    EXPECT_TRUE(zeilen[1].contains(QStringLiteral("long mark      short 499 µs, long 952 µs: 0.7 % fast")));
    EXPECT_TRUE(zeilen[2].contains(QStringLiteral("header, copy 1 checksum bad, ")));
    EXPECT_TRUE(zeilen[3].endsWith(QStringLiteral("header, copy 2 checksum good, \"SCAN\", 9 bytes")));
    EXPECT_TRUE(zeilen[5].endsWith(QStringLiteral("body, copy 1   checksum good")));
    EXPECT_EQ(zeilen[6],
              QStringLiteral("Speed: short 499 µs, long 952 µs (nominal short 504 µs, long 958 µs): "
                             "0.7 % fast"));

    EXPECT_EQ(StarteCli({QStringLiteral("scan"),
                         KorpusPfad(QStringLiteral("gunterhager-mz-800-emulator/TestHalt.mzf"))})
                  .status,
              ExitAufruf);
    EXPECT_EQ(
        StarteCli({QStringLiteral("scan"), QDir(TestVerzeichnis()).filePath(QStringLiteral("fehlt.wav"))})
            .status,
        ExitFehler);
}

// Without a mark or a leader nothing was measured: JSON says so with null, never with a speed
// of 0 %, which would read as nominal.
TEST_F(Bandbericht, NothingMeasuredIsNull) {
    SchreibeDatei(pfad, WAVBau::Wav(1, 22050, 8, QByteArray(22050, '\x80')));
    const TCliLauf lauf = StarteCli({QStringLiteral("scan"), QStringLiteral("--json"), pfad});
    ASSERT_EQ(lauf.status, 0) << lauf.fehler.toStdString();
    const QStringList zeilen = lauf.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(zeilen.size(), 2) << lauf.aus.toStdString();
    const QJsonObject tempo = QJsonDocument::fromJson(zeilen[1].toUtf8()).object();
    EXPECT_EQ(tempo[QStringLiteral("event")].toString(), QStringLiteral("speed"));
    for (const char* schluessel : {"shortUs", "longUs", "speedPercent"})
        EXPECT_TRUE(tempo[QLatin1String(schluessel)].isNull())
            << schluessel << " " << zeilen[1].toStdString();
    EXPECT_EQ(tempo[QStringLiteral("shortNominalUs")].toDouble(), 504.0);
    EXPECT_EQ(tempo[QStringLiteral("longNominalUs")].toDouble(), 958.0);
    const TCliLauf text = StarteCli({QStringLiteral("scan"), pfad});
    EXPECT_TRUE(text.aus.endsWith(QStringLiteral("Speed: not measured (no tape mark and no leader found)\n")))
        << text.aus.toStdString();
}

// A recording that gives nothing points to what to try next.
TEST_F(Bandbericht, NothingFoundPointsToExtendedAndScan) {
    SchreibeDatei(pfad, WAVBau::Wav(1, 22050, 8, QByteArray(22050, '\x80')));
    const TCliLauf lauf = StarteCli({QStringLiteral("list"), pfad});
    EXPECT_EQ(lauf.status, ExitFehler);
    const QStringList fehler = lauf.fehler.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(fehler.size(), 2) << lauf.fehler.toStdString();
    EXPECT_TRUE(fehler[0].startsWith(QStringLiteral("bandwerk-cli: hint: --extended")));
    EXPECT_EQ(
        fehler[1],
        QStringLiteral("bandwerk-cli: hint: \"bandwerk-cli scan %1\" shows what the decoder saw").arg(pfad));
    // With the extended decoding on, only the pointer to scan.
    const TCliLauf erweitert = StarteCli({QStringLiteral("list"), QStringLiteral("--extended"), pfad});
    EXPECT_EQ(erweitert.fehler.count(QStringLiteral("hint:")), 1);
}

} // namespace
