// bandwerk-cli scan --plot: the picture of a recording put together pulse by pulse (TestBand),
// whose first body copy fails its checksum; where its band lies is worked out from the sample
// counts and the picture's layout (1600 x 420: ruler 20, waveform, blocks 34, speed 56, level 40
// pixels).
#include "CliLauf.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestBand.h"
#include "TestUmgebung.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr double Rate = 22050.0;
constexpr int Breite = 1600;
constexpr int Hoehe = 420;
// The middle of the block lane: below the ruler (20) and the waveform (420 - 20 - 34 - 56 - 40 =
// 270).
constexpr int BlockMitte = 20 + 270 + 34 / 2;
// The level plot from row 380 to 419, 3 pixels in from either edge: 0 dB at row 383, -48 dB at
// row 383 + 33 = 416. The recording's square wave is half of full scale, -6.02 dB: row
// 383 + 6.02 / 48 x 33 = 387.1.
constexpr int PegelHalb = 387;
constexpr int PegelStill = 416;
const QColor Pegel(0x1f, 0x4e, 0x9a);
// The colours of a failed and of a good block in a picture of its own.
const QColor Fehler(0xd0, 0x21, 0x21);
const QColor Gut(0x2e, 0x8b, 0x3e);

class Bandbild : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        SchreibeSprache(true);
        band = TestBand::Baue({ProgrammMZF("PLOT", RumpfMitBytes(300))}, 0);
        ordner = TestVerzeichnis();
        pfad = QDir(ordner).filePath(QStringLiteral("band.wav"));
        SchreibeDatei(pfad, band.wav);
        // Rendering the SVG here needs fonts, as drawing does in bandwerk-cli's main.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        anwendung = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { anwendung.reset(); }
    // The column of a frame in a picture of the seconds [von, bis).
    static int Spalte(double frame, double von, double bis) {
        const double a = std::llround(von * Rate);
        const double b = std::llround(bis * Rate);
        return static_cast<int>((frame - a) * Breite / (b - a));
    }
    TestBand::TBand band;
    QString ordner;
    QString pfad;
    TPlattformSkript skript;
    int argc = 1;
    char name[5] = "test";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QGuiApplication> anwendung;
};

TEST_F(Bandbild, PNGUndSVGZeigenDieBloeckeAmSelbenOrt) {
    // Half a second before the first body copy to well into the second: the failed copy 1, then
    // the good copy 2 of its 302 bytes (at least 302 x 9 x 11 frames, 1.35 s, long).
    const double von = band.orte[0].rumpf / Rate - 0.5;
    const double bis = band.orte[0].rumpf2 / Rate + 1.0;
    const QString von_ = QString::number(von, 'f', 6);
    const QString bis_ = QString::number(bis, 'f', 6);
    const QString png = QDir(ordner).filePath(QStringLiteral("band.png"));
    const QString svg = QDir(ordner).filePath(QStringLiteral("band.svg"));
    for (const QString& ziel : {png, svg}) {
        const TCliLauf lauf = StarteCli({QStringLiteral("scan"), QStringLiteral("--plot"), ziel,
                                         QStringLiteral("--from"), von_, QStringLiteral("--to"), bis_, pfad});
        ASSERT_EQ(lauf.status, 0) << lauf.fehler.toStdString();
        EXPECT_TRUE(lauf.aus.isEmpty());
    }
    QImage bild;
    ASSERT_TRUE(bild.load(png, "PNG"));
    ASSERT_EQ(bild.size(), QSize(Breite, Hoehe));
    // The SVG is well-formed, of the same size, and draws the same picture.
    QXmlStreamReader xml(LiesDatei(svg));
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), QStringLiteral("svg"));
    while (!xml.atEnd())
        xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    QImage svgBild(Breite, Hoehe, QImage::Format_RGB32);
    svgBild.fill(Qt::black);
    {
        QPainter painter(&svgBild);
        renderer.render(&painter);
    }
    // Inside the first body copy, past its label; then far into the second.
    const double erste = band.orte[0].rumpf + 15000.0;
    const double zweite = band.orte[0].rumpf2 + 15000.0;
    for (const QImage* b : {&bild, &svgBild}) {
        EXPECT_EQ(b->pixelColor(Spalte(erste, von, bis), BlockMitte), Fehler);
        EXPECT_EQ(b->pixelColor(Spalte(zweite, von, bis), BlockMitte), Gut);
        // Before the body's mark no block.
        EXPECT_NE(b->pixelColor(Spalte(band.orte[0].rumpf - 0.4 * Rate, von, bis), BlockMitte), Fehler);
    }
}

TEST_F(Bandbild, GanzeAufnahmeOhneFromUndTo) {
    const QString png = QDir(ordner).filePath(QStringLiteral("ganz.png"));
    const TCliLauf lauf = StarteCli({QStringLiteral("scan"), QStringLiteral("--plot"), png, pfad});
    ASSERT_EQ(lauf.status, 0) << lauf.fehler.toStdString();
    QImage bild;
    ASSERT_TRUE(bild.load(png));
    // The header's band starts where the header does.
    const double bis = static_cast<double>(band.frames) / Rate;
    const int x = Spalte(band.orte[0].kopf, 0.0, bis);
    EXPECT_EQ(bild.pixelColor(x + 3, BlockMitte), Gut);
    // The leader before the long mark (22000 short pulses of 11 frames after 2205 frames of
    // silence), shaded grey in the block lane near its end, where its name is not.
    const QColor vorlauf = bild.pixelColor(Spalte(2205 + 0.9 * 22000 * 11, 0.0, bis), BlockMitte);
    EXPECT_EQ(vorlauf.red(), vorlauf.green());
    EXPECT_EQ(vorlauf.green(), vorlauf.blue());
    EXPECT_LT(vorlauf.red(), 0xF8) << "not the background";
    EXPECT_GT(vorlauf.red(), 0x80) << "lighter than a mark";
    EXPECT_EQ(bild.pixelColor(Spalte(1000, 0.0, bis), BlockMitte), bild.pixelColor(Spalte(1000, 0.0, bis), 2))
        << "the silence before it is not shaded";
    // The level: the square wave of the header, the silence before it (2205 frames).
    const int mitte = Spalte(0.5 * (band.orte[0].kopf + band.orte[0].rumpf), 0.0, bis);
    EXPECT_EQ(bild.pixelColor(mitte, PegelHalb), Pegel);
    EXPECT_NE(bild.pixelColor(mitte, PegelStill), Pegel);
    const int still = Spalte(500.0, 0.0, bis);
    EXPECT_EQ(bild.pixelColor(still, PegelStill), Pegel);
    EXPECT_NE(bild.pixelColor(still, PegelHalb), Pegel);
}

TEST_F(Bandbild, Aufruffehler) {
    const QString png = QDir(ordner).filePath(QStringLiteral("x.png"));
    const QStringList aufrufe[] = {
        {QStringLiteral("scan"), QStringLiteral("--from"), QStringLiteral("1"), pfad},
        {QStringLiteral("list"), QStringLiteral("--plot"), png, pfad},
        {QStringLiteral("scan"), QStringLiteral("--plot"), png, QStringLiteral("--from"), QStringLiteral("x"),
         pfad},
        {QStringLiteral("scan"), QStringLiteral("--plot"), png, QStringLiteral("--from"), QStringLiteral("2"),
         QStringLiteral("--to"), QStringLiteral("1"), pfad},
        {QStringLiteral("scan"), QStringLiteral("--plot"), png, QStringLiteral("--json"), pfad}};
    for (const QStringList& a : aufrufe) {
        const TCliLauf lauf = StarteCli(a);
        EXPECT_EQ(lauf.status, 2) << a.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_FALSE(QFile::exists(png));
}

TEST_F(Bandbild, FehlerBeimSchreibenUndLesen) {
    // A folder that is not there; a recording that is none; --from after the end.
    const TCliLauf ordnerFehlt = StarteCli({QStringLiteral("scan"), QStringLiteral("--plot"),
                                            QDir(ordner).filePath(QStringLiteral("no/x.png")), pfad});
    EXPECT_EQ(ordnerFehlt.status, 1);
    EXPECT_EQ(skript.Fehler().size(), 1);
    const QString kaputt = QDir(ordner).filePath(QStringLiteral("kaputt.wav"));
    SchreibeDatei(kaputt, "RIFF");
    EXPECT_EQ(
        StarteCli({QStringLiteral("scan"), QStringLiteral("--plot"), QStringLiteral("y.png"), kaputt}).status,
        1);
    const TCliLauf spaet = StarteCli({QStringLiteral("scan"), QStringLiteral("--plot"),
                                      QDir(ordner).filePath(QStringLiteral("z.png")),
                                      QStringLiteral("--from"), QStringLiteral("3600"), pfad});
    EXPECT_EQ(spaet.status, 1);
    EXPECT_FALSE(QFile::exists(QDir(ordner).filePath(QStringLiteral("z.png"))));
}

} // namespace
