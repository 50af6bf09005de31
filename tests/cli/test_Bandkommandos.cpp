// Several MZ files on one tape, and the tape deck's options, on the command line.
#include "CliLauf.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class Bandkommandos : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        SchreibeSprache(true);
        ordner = QDir(TestVerzeichnis());
        for (const char* name : {"EINS", "ZWEI", "DREI"})
            eingaben << SchreibeTestDatei(ProgrammMZF(name, QByteArray(17 * eingaben.size() + 5, name[0])),
                                          QLatin1String(name) + QStringLiteral(".mzf"));
    }
    TPlattformSkript plattform;
    QDir ordner;
    QStringList eingaben;
};

} // namespace

// convert A B C OUT: one tape of the three, which list shows in their order, for a tape image and a
// recording alike; OUT of any other kind is a usage error.
TEST_F(Bandkommandos, SeveralFilesGoOnOneTapeInTheirOrder) {
    for (const QString& name : {QStringLiteral("band.mzt"), QStringLiteral("band.wav")}) {
        const QString band = ordner.filePath(name);
        const TCliLauf lauf = StarteCli(
            QStringList{QStringLiteral("convert"), QStringLiteral("--model=MZ-700")} + eingaben << band);
        ASSERT_EQ(lauf.status, ExitErfolg) << lauf.fehler.toStdString();
        const TCliLauf liste = StarteCli({QStringLiteral("list"), QStringLiteral("--model=MZ-700"), band});
        EXPECT_EQ(liste.status, ExitErfolg);
        EXPECT_EQ(liste.aus, QStringLiteral("$01  EINS                  5  $1200  $1200\n"
                                            "$01  ZWEI                 22  $1200  $1200\n"
                                            "$01  DREI                 39  $1200  $1200\n"));
        const TCliLauf extrakt = StarteCli({QStringLiteral("extract"), band, TestVerzeichnis()});
        ASSERT_EQ(extrakt.status, ExitErfolg);
        EXPECT_EQ(extrakt.aus.count(QLatin1Char('\n')), 3);
    }
    const TCliLauf mzf =
        StarteCli(QStringList{QStringLiteral("convert")} + eingaben << ordner.filePath("x.mzf"));
    EXPECT_EQ(mzf.status, ExitAufruf);
    EXPECT_TRUE(mzf.fehler.contains(QStringLiteral("several MZ files go on one tape: a .wav or .mzt file")));
    EXPECT_FALSE(ordner.exists(QStringLiteral("x.mzf")));
}

// An input that cannot be read fails the whole tape, and no tape is written.
TEST_F(Bandkommandos, AnUnreadableInputWritesNoTape) {
    const QString band = ordner.filePath(QStringLiteral("band.mzt"));
    const TCliLauf lauf =
        StarteCli({QStringLiteral("convert"), eingaben[0], ordner.filePath("fehlt.mzf"), band});
    EXPECT_EQ(lauf.status, ExitFehler);
    EXPECT_EQ(plattform.Fehler().size(), 1);
    EXPECT_FALSE(ordner.exists(QStringLiteral("band.mzt")));
}

TEST_F(Bandkommandos, TapeDeckOptionsBelongToTheirCommands) {
    const QString mzf = eingaben[0];
    const QString dir = TestVerzeichnis();
    const struct {
        QStringList argumente;
        const char* grund;
    } faelle[] = {
        {{QStringLiteral("info"), QStringLiteral("--device=x"), mzf},
         "--device and --list-devices are options of"},
        {{QStringLiteral("list"), QStringLiteral("--list-devices"), mzf},
         "--device and --list-devices are options"},
        {{QStringLiteral("play"), QStringLiteral("--seconds=3"), mzf},
         "--seconds and --keep-wav are options of record"},
        {{QStringLiteral("play"), QStringLiteral("--keep-wav=a.wav"), mzf},
         "--seconds and --keep-wav are options"},
        {{QStringLiteral("record"), QStringLiteral("--seconds=0"), dir},
         "--seconds: \"0\" is not a number of seconds"},
        {{QStringLiteral("record"), QStringLiteral("--seconds=10801"), dir}, "from 1 to 10800"},
        {{QStringLiteral("record"), QStringLiteral("--keep-wav=a.mzf"), dir}, "--keep-wav names a .wav file"},
        {{QStringLiteral("record"), QStringLiteral("--rate=22050"), dir},
         "options of convert to a .wav file and of play"},
        {{QStringLiteral("record"), dir, dir}, "record takes 1 file name(s)"},
        {{QStringLiteral("play")}, "play takes at least 1 file name(s)"},
        {{QStringLiteral("play"), QStringLiteral("a.txt")}, "unknown file kind of a.txt"},
    };
    for (const auto& fall : faelle) {
        const TCliLauf lauf = StarteCli(fall.argumente);
        EXPECT_EQ(lauf.status, ExitAufruf) << fall.argumente.join(' ').toStdString();
        EXPECT_TRUE(lauf.fehler.contains(QLatin1String(fall.grund))) << lauf.fehler.toStdString();
    }
    EXPECT_TRUE(DateienIn(dir).isEmpty());
}
