#include "CliLauf.h"
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "TestUmgebung.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
QByteArray MZF(const QByteArray& name, int groesse, char fuellung = 'x') {
    return ProgrammMZF(name, QByteArray(groesse, fuellung));
}

const QString Baryon = QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject/Baryon.mzt");

class MZTKonvertierenTest : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        SchreibeSprache(true);
        ordner = QDir(TestVerzeichnis());
    }
    TPlattformSkript plattform;
    QDir ordner;
};

TEST_F(MZTKonvertierenTest, MZFNachMZTUndZurueckInJedemModell) {
    const QString quelle = KorpusPfad(QStringLiteral("psychotimmy-Sharp-MZ-700/Moonlander v4.mzf"));
    const QByteArray original = LiesDatei(quelle);
    const int groesse = static_cast<int>(original.size()) - 128;
    const QString mzt = ordner.filePath(QStringLiteral("MOON.MZT"));
    const QString zurueck = ordner.filePath(QStringLiteral("zurueck.m12"));
    const QStringList modelle = {QStringLiteral("MZ-80K"), QStringLiteral("mz-80c"),
                                 QStringLiteral("MZ-80A"), QStringLiteral("MZ-80B"),
                                 QStringLiteral("MZ-700"), QStringLiteral("MZ-800")};
    for (const QString& modell : modelle) {
        const TCliLauf hin =
            StarteCli({QStringLiteral("convert"), QStringLiteral("--model"), modell, quelle, mzt});
        ASSERT_EQ(hin.status, 0) << hin.fehler.toStdString();
        const int zeichen = (modell == QStringLiteral("MZ-80B") ? 24014 : 36014) + 18 * groesse;
        EXPECT_EQ(QFileInfo(mzt).size(), (zeichen + 7) / 8) << modell.toStdString();
        const TCliLauf her = StarteCli({QStringLiteral("convert"), mzt, zurueck});
        ASSERT_EQ(her.status, 0) << her.fehler.toStdString();
        EXPECT_EQ(LiesDatei(zurueck), original);
    }
    // Without --model the stored model (MZ-80K after a fresh start) decides; --model=NAME works too.
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), quelle, mzt}).status, 0);
    EXPECT_EQ(QFileInfo(mzt).size(), (36014 + 18 * groesse + 7) / 8);
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), QStringLiteral("--model=MZ-80B"), quelle, mzt}).status,
              0);
    EXPECT_EQ(QFileInfo(mzt).size(), (24014 + 18 * groesse + 7) / 8);
    // The store was never written.
    LadeEinstellungen();
    EXPECT_EQ(HoleImportExportMZModell(), MZ80K);
    EXPECT_TRUE(plattform.Texte().isEmpty());
}

TEST_F(MZTKonvertierenTest, MZTMitEinemDatensatzWirdMZF) {
    const QString quelle = KorpusPfad(QStringLiteral("yanataka60-MZ80K_SD/FT.MZT"));
    const QString ziel = ordner.filePath(QStringLiteral("ft.mzf"));
    const TCliLauf lauf = StarteCli({QStringLiteral("convert"), quelle, ziel});
    ASSERT_EQ(lauf.status, 0) << lauf.fehler.toStdString();
    EXPECT_EQ(LiesDatei(ziel), LiesDatei(quelle));
}

TEST_F(MZTKonvertierenTest, MehrereDateienVerweisenAufExtract) {
    const QString ziel = ordner.filePath(QStringLiteral("b.mzf"));
    const TCliLauf lauf = StarteCli({QStringLiteral("convert"), KorpusPfad(Baryon), ziel});
    EXPECT_EQ(lauf.status, 1);
    EXPECT_FALSE(QFileInfo::exists(ziel));
    ASSERT_EQ(plattform.Fehler().size(), 1);
    const QString text = plattform.Fehler()[0];
    for (const char* teil : {"3 MZ files", "BARYON (3409 bytes)", "BARYON-B (25435 bytes)",
                             "BARYON-C (2862 bytes)", "bandwerk-cli extract"})
        EXPECT_TRUE(text.contains(QLatin1String(teil))) << teil << " in " << text.toStdString();
}

TEST_F(MZTKonvertierenTest, ExtractSchreibtJedeDateiOhneZuUeberschreiben) {
    const QByteArray roh = LiesDatei(KorpusPfad(Baryon));
    const TCliLauf erster = StarteCli({QStringLiteral("extract"), KorpusPfad(Baryon), ordner.path()});
    ASSERT_EQ(erster.status, 0) << erster.fehler.toStdString();
    const QStringList namen = {QStringLiteral("BARYON.mzf"), QStringLiteral("BARYON-B.mzf"),
                               QStringLiteral("BARYON-C.mzf")};
    QStringList erwartet;
    for (const QString& n : namen)
        erwartet << ordner.filePath(n);
    EXPECT_EQ(erster.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts), erwartet);
    EXPECT_EQ(LiesDatei(erwartet[0]), roh.left(128 + 3409));
    EXPECT_EQ(LiesDatei(erwartet[1]), roh.mid(128 + 3409, 128 + 25435));
    EXPECT_EQ(LiesDatei(erwartet[2]), roh.right(128 + 2862));

    // A file in the way keeps its contents; the new one takes the next free number.
    SchreibeDatei(ordner.filePath(QStringLiteral("BARYON-2.mzf")), "mine");
    const TCliLauf zweiter = StarteCli({QStringLiteral("extract"), KorpusPfad(Baryon), ordner.path()});
    ASSERT_EQ(zweiter.status, 0);
    EXPECT_EQ(zweiter.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringList({ordner.filePath(QStringLiteral("BARYON-3.mzf")),
                           ordner.filePath(QStringLiteral("BARYON-B-2.mzf")),
                           ordner.filePath(QStringLiteral("BARYON-C-2.mzf"))}));
    EXPECT_EQ(LiesDatei(ordner.filePath(QStringLiteral("BARYON-2.mzf"))), QByteArray("mine"));
    EXPECT_EQ(LiesDatei(ordner.filePath(QStringLiteral("BARYON-3.mzf"))), roh.left(128 + 3409));
    EXPECT_EQ(LiesDatei(erwartet[0]), roh.left(128 + 3409));
}

TEST_F(MZTKonvertierenTest, ExtractSchreibtNieDurchEinenVerwaistenLink) {
    // A link whose target is missing still takes the name: saving through it would put the file
    // wherever the link points, outside the folder.
    const QString ziel = ordner.filePath(QStringLiteral("anderswo.mzf"));
    const QDir aus(TestVerzeichnis());
    ASSERT_TRUE(QFile::link(ziel, aus.filePath(QStringLiteral("BARYON.mzf"))));
    const TCliLauf lauf = StarteCli({QStringLiteral("extract"), KorpusPfad(Baryon), aus.path()});
    ASSERT_EQ(lauf.status, 0) << lauf.fehler.toStdString();
    EXPECT_EQ(lauf.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts).first(),
              aus.filePath(QStringLiteral("BARYON-2.mzf")));
    EXPECT_FALSE(QFileInfo::exists(ziel));
    EXPECT_EQ(LiesDatei(aus.filePath(QStringLiteral("BARYON-2.mzf"))).size(), 128 + 3409);
}

TEST_F(MZTKonvertierenTest, ExtractAusMZFUndAusBandbildMitZweiDateien) {
    const QString mzf = ordner.filePath(QStringLiteral("quelle.mzf"));
    SchreibeDatei(mzf, MZF("A/B?", 5));
    const QDir aus1(TestVerzeichnis());
    const TCliLauf lauf = StarteCli({QStringLiteral("extract"), mzf, aus1.path()});
    ASSERT_EQ(lauf.status, 0) << lauf.fehler.toStdString();
    EXPECT_EQ(lauf.aus, aus1.filePath(QStringLiteral("A_B_.mzf")) + QLatin1Char('\n'));
    EXPECT_EQ(LiesDatei(aus1.filePath(QStringLiteral("A_B_.mzf"))), MZF("A/B?", 5));

    // A tape image holding two files, one of them twice.
    SchreibeDatei(mzf, MZF("ONE", 3, 'a'));
    const QString eins = ordner.filePath(QStringLiteral("eins.mzt"));
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), mzf, eins}).status, 0);
    SchreibeDatei(mzf, MZF("TWO", 4, 'b'));
    const QString zwei = ordner.filePath(QStringLiteral("zwei.mzt"));
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), mzf, zwei}).status, 0);
    const QString band = ordner.filePath(QStringLiteral("band.mzt"));
    SchreibeDatei(band, LiesDatei(eins) + LiesDatei(zwei) + LiesDatei(eins));
    const QDir aus2(TestVerzeichnis());
    const TCliLauf zwei_ = StarteCli({QStringLiteral("extract"), band, aus2.path()});
    ASSERT_EQ(zwei_.status, 0) << zwei_.fehler.toStdString();
    EXPECT_EQ(
        zwei_.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
        QStringList({aus2.filePath(QStringLiteral("ONE.mzf")), aus2.filePath(QStringLiteral("TWO.mzf"))}));
    EXPECT_EQ(LiesDatei(aus2.filePath(QStringLiteral("TWO.mzf"))), MZF("TWO", 4, 'b'));
    // convert refuses it too.
    EXPECT_EQ(StarteCli({QStringLiteral("convert"), band, ordner.filePath(QStringLiteral("x.mzf"))}).status,
              1);
}

TEST_F(MZTKonvertierenTest, ExtractOhneMZDateiOderOhneOrdner) {
    const QString leer = ordner.filePath(QStringLiteral("leer.mzt"));
    SchreibeDatei(leer, QByteArray(1000, '\0'));
    const TCliLauf lauf = StarteCli({QStringLiteral("extract"), leer, ordner.path()});
    EXPECT_EQ(lauf.status, 1);
    EXPECT_TRUE(lauf.aus.isEmpty());
    EXPECT_EQ(plattform.Fehler(), QStringList(QStringLiteral("The MZT-file ") + leer +
                                              QStringLiteral(" contains no valid MZ-file!")));
    EXPECT_EQ(ordner.entryList(QDir::Files), QStringList(QStringLiteral("leer.mzt")));

    const TCliLauf ohneOrdner =
        StarteCli({QStringLiteral("extract"), KorpusPfad(Baryon), ordner.filePath(QStringLiteral("fehlt"))});
    EXPECT_EQ(ohneOrdner.status, 1);
    EXPECT_TRUE(ohneOrdner.fehler.contains(QStringLiteral("no such directory")));
}

TEST_F(MZTKonvertierenTest, AufruffehlerDerNeuenOptionen) {
    const QString mzf = KorpusPfad(QStringLiteral("gunterhager-mz800-emuz/TestHalt.mzf"));
    EXPECT_EQ(StarteCli({QStringLiteral("convert"), QStringLiteral("--model"), QStringLiteral("MZ-900"), mzf,
                         ordner.filePath(QStringLiteral("x.mzt"))})
                  .status,
              2);
    EXPECT_EQ(StarteCli({QStringLiteral("convert"), mzf, ordner.filePath(QStringLiteral("x.mzt")),
                         QStringLiteral("--model")})
                  .status,
              2);
    EXPECT_EQ(StarteCli({QStringLiteral("info"), QStringLiteral("--model"), QStringLiteral("MZ-700"),
                         QStringLiteral("--short"), mzf})
                  .status,
              2);
    EXPECT_EQ(StarteCli({QStringLiteral("extract"), mzf}).status, 2);
    EXPECT_EQ(
        StarteCli({QStringLiteral("extract"), mzf, ordner.path(), QStringLiteral("--rate=8000")}).status, 2);
    EXPECT_FALSE(QFileInfo::exists(ordner.filePath(QStringLiteral("x.mzt"))));
}
} // namespace
