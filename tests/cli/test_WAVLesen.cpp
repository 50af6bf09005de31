// bandwerk-cli with recordings as input: the passes of the stored model or of --model, every
// command, and the failures.
#include "CliLauf.h"
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"
#include "WAVBau.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

const QString Moonlander = QStringLiteral("psychotimmy-Sharp-MZ-700/Moonlander v4");

class WAVLesen : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        SchreibeSprache(true);
        ordner = QDir(TestVerzeichnis());
    }
    // A recording of MZ files named `namen` (9 body bytes each) one after the other.
    QString Aufnahme(const QStringList& namen, const WAVBau::TImpulsFolge& folge = {}) {
        std::vector<std::pair<std::string, bool>> teile;
        for (const QString& name : namen) {
            TMZFDatei d;
            EXPECT_TRUE(LadeBildMitRumpf(d, RumpfMitBytes(9), name.toLatin1()));
            teile.push_back({d.ErzeugeTonbandBits({.modell = MZ80K, .verkuerzt = true}), false});
        }
        const QString pfad = ordner.filePath(QStringLiteral("band.wav"));
        SchreibeDatei(pfad, WAVBau::WAVAusBits(teile, folge));
        return pfad;
    }
    TPlattformSkript skript;
    QDir ordner;
};

TEST_F(WAVLesen, JederBefehlLiestEineKassettenaufnahme) {
    const QString wav = KorpusPfad(Moonlander + QStringLiteral(".wav"));
    const QByteArray mzf = LiesDatei(KorpusPfad(Moonlander + QStringLiteral(".mzf")));

    const TCliLauf liste = StarteCli({QStringLiteral("list"), wav});
    EXPECT_EQ(liste.status, 0) << liste.fehler.toStdString();
    EXPECT_EQ(liste.aus, QStringLiteral("$05  Moonlander v4      9291  $6BCF  $0000\n"));

    const TCliLauf info = StarteCli({QStringLiteral("info"), QStringLiteral("--json"), wav});
    EXPECT_EQ(QJsonDocument::fromJson(info.aus.toUtf8()).object()[QStringLiteral("size")].toInt(), 9291);
    const TCliLauf dump = StarteCli({QStringLiteral("dump"), wav});
    EXPECT_EQ(dump.aus.count(QLatin1Char('\n')), (9291 + 7) / 8);

    for (const char* ziel : {"m.mzf", "m.m12"}) {
        ASSERT_EQ(StarteCli({QStringLiteral("convert"), wav, ordner.filePath(QLatin1String(ziel))}).status,
                  0);
        EXPECT_EQ(LiesDatei(ordner.filePath(QLatin1String(ziel))), mzf) << ziel;
    }
    // Through a tape image and a new recording back to the same file.
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), wav, ordner.filePath(QStringLiteral("m.mzt"))}).status,
              0);
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), wav, ordner.filePath(QStringLiteral("neu.wav")),
                         QStringLiteral("--model=MZ-700"), QStringLiteral("--rate=44100")})
                  .status,
              0);
    ASSERT_EQ(
        StarteCli({QStringLiteral("convert"), QStringLiteral("--model=MZ-700"),
                   ordner.filePath(QStringLiteral("neu.wav")), ordner.filePath(QStringLiteral("z.mzf"))})
            .status,
        0);
    EXPECT_EQ(LiesDatei(ordner.filePath(QStringLiteral("z.mzf"))), mzf);
    EXPECT_TRUE(skript.nachrichten.isEmpty()) << skript.Texte().join('|').toStdString();
}

TEST_F(WAVLesen, MehrereDateienNurMitListUndExtract) {
    const QString wav =
        Aufnahme({QStringLiteral("ERSTE"), QStringLiteral("ZWEITE"), QStringLiteral("ERSTE")});
    const TCliLauf liste = StarteCli({QStringLiteral("list"), QStringLiteral("--json"), wav});
    ASSERT_EQ(liste.status, 0);
    const QJsonArray dateien = QJsonDocument::fromJson(liste.aus.toUtf8()).array();
    ASSERT_EQ(dateien.size(), 2) << "a file recorded twice counts once";
    EXPECT_EQ(dateien[0].toObject()[QStringLiteral("name")].toString(), QStringLiteral("ERSTE"));
    EXPECT_EQ(dateien[1].toObject()[QStringLiteral("name")].toString(), QStringLiteral("ZWEITE"));

    const TCliLauf convert =
        StarteCli({QStringLiteral("convert"), wav, ordner.filePath(QStringLiteral("x.mzf"))});
    EXPECT_EQ(convert.status, 1);
    ASSERT_EQ(skript.Fehler().size(), 1);
    EXPECT_TRUE(
        skript.Fehler()[0].contains(QStringLiteral("holds 2 MZ files: ERSTE (9 bytes), ZWEITE (9 bytes)")));
    EXPECT_TRUE(skript.Fehler()[0].contains(QStringLiteral("bandwerk-cli extract")));

    ASSERT_TRUE(ordner.mkdir(QStringLiteral("aus")));
    const TCliLauf extract =
        StarteCli({QStringLiteral("extract"), wav, ordner.filePath(QStringLiteral("aus"))});
    EXPECT_EQ(extract.status, 0);
    EXPECT_EQ(QDir(ordner.filePath(QStringLiteral("aus"))).entryList(QDir::Files),
              (QStringList{QStringLiteral("ERSTE.mzf"), QStringLiteral("ZWEITE.mzf")}));
}

TEST_F(WAVLesen, DasModellEntscheidetUeberDieDurchgaenge) {
    // MZ-80B pulses at 22050 Hz (long 7 + 8, short 4 + 4 samples): the MZ-80K looks at the level
    // 368 us after a crossing, when even a long pulse's low part (317 us) is over; the MZ-80B at
    // 255 us.
    WAVBau::TImpulsFolge mz80b;
    mz80b.langTief = 7;
    mz80b.langHoch = 8;
    mz80b.kurzTief = 4;
    mz80b.kurzHoch = 4;
    const QString wav = Aufnahme({QStringLiteral("B")}, mz80b);
    const TCliLauf b =
        StarteCli({QStringLiteral("list"), QStringLiteral("--model"), QStringLiteral("MZ-80B"), wav});
    EXPECT_EQ(b.status, 0);
    EXPECT_TRUE(b.aus.startsWith(QStringLiteral("$01  B ")));
    const TCliLauf k = StarteCli({QStringLiteral("list"), wav});
    EXPECT_EQ(k.status, 1);
    EXPECT_EQ(skript.Fehler(),
              QStringList(QStringLiteral("The WAV-file %1 contains no valid MZ-file!").arg(wav)));
    // --model is taken with any input; a file that is no recording reads as without it.
    const QString mzf = KorpusPfad(Moonlander + QStringLiteral(".mzf"));
    const TCliLauf mitModell = StarteCli({QStringLiteral("list"), QStringLiteral("--model=MZ-700"), mzf});
    EXPECT_EQ(mitModell.status, 0) << mitModell.fehler.toStdString();
    EXPECT_EQ(mitModell.aus, QStringLiteral("$05  Moonlander v4      9291  $6BCF  $0000\n"));
}

} // namespace
