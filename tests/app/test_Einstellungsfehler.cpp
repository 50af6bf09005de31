// A settings write that the system refuses (a full disk, a used-up quota): the store stays as it
// was, says why, and every later read and write works as before.
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "TestUmgebung.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
QString SchreibFehler(const QString& grund) {
    return QStringLiteral("Error writing the file %1!\r\n\r\nError-description: %2")
        .arg(EinstellungsDatei(), grund);
}

class Einstellungsfehler : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        TestSprache(true);
        // Long folder names make a file larger than the buffers of the writers, as a file full of
        // values would be.
        SchreibeVerzeichnisMZTDateien(QLatin1Char('/') + QString(20000, QLatin1Char('m')));
        SchreibeVerzeichnisWAVDateien(QLatin1Char('/') + QString(20000, QLatin1Char('w')));
        SchreibeVerzeichnisMZFDateien(QStringLiteral("/alt"));
        vorher = LiesDatei(EinstellungsDatei());
        ASSERT_GT(vorher.size(), 40000);
    }
    void TearDown() override { EinstellungenLeeren(); }

    TPlattformSkript skript;
    QByteArray vorher;
};

TEST_F(Einstellungsfehler, GescheitertesSchreibenAendertNichtsUndSagtWarum) {
    const QString ordner = QFileInfo(EinstellungsDatei()).absolutePath();
    {
        TDateiGroessenGrenze grenze(vorher.size() + 100);
        try {
            SchreibeVerzeichnisMZFDateien(QLatin1Char('/') + QString(1000, QLatin1Char('n')));
            ADD_FAILURE() << "the write went through";
        } catch (const TEinstellungenFehler& fehler) {
            EXPECT_EQ(fehler.Text(), SchreibFehler(QStringLiteral("File too large")));
        }
        EXPECT_EQ(skript.sanduhrTiefe, 0);
        // Not cut short, nothing left beside it.
        EXPECT_EQ(LiesDatei(EinstellungsDatei()), vorher);
        EXPECT_EQ(DateienIn(ordner), QStringList{QStringLiteral("Bandwerk.conf")});

        // Reading goes on as before and gives what the file holds.
        EXPECT_EQ(LiesVerzeichnisMZFDateien(), QStringLiteral("/alt"));
        EXPECT_TRUE(LiesSprache());
        EXPECT_NO_THROW(LadeEinstellungen());
        // A write that fits goes through.
        SchreibeSprache(false);
        EXPECT_FALSE(LiesSprache());
    }
    // The refused value never reaches the file later.
    SchreibeFormHauptPosition(3, 4);
    EXPECT_EQ(LiesVerzeichnisMZFDateien(), QStringLiteral("/alt"));
    EXPECT_FALSE(LiesDatei(EinstellungsDatei()).contains("nnnn"));
    int x = 0, y = 0;
    LiesFormHauptPosition(x, y);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 4);
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

// The settings dialog's values are stored together: a refused write stores none of them and
// leaves the values in memory as they were.
TEST_F(Einstellungsfehler, DialogWerteGanzOderGarNicht) {
    LadeEinstellungen();
    {
        TDateiGroessenGrenze grenze(vorher.size());
        EXPECT_THROW(SchreibeDialogEinstellungen(false, MZ700, true, 44100, true, true),
                     TEinstellungenFehler);
        EXPECT_EQ(LiesDatei(EinstellungsDatei()), vorher);
    }
    EXPECT_TRUE(LiesSprache());
    EXPECT_FALSE(LiesExportWAVVerkuerztesMZTonbandFormat());
    EXPECT_FALSE(LiesImportErweiterteDekodierung());
    EXPECT_EQ(HoleImportExportMZModell(), MZ80K);
    EXPECT_EQ(HoleExportWAVSampleRate(), 22050);
    EXPECT_FALSE(HoleExportWAVInvertiertePolaritaet());

    SchreibeDialogEinstellungen(false, MZ700, true, 44100, true, true);
    EXPECT_FALSE(LiesSprache());
    EXPECT_TRUE(LiesExportWAVVerkuerztesMZTonbandFormat());
    EXPECT_TRUE(LiesImportErweiterteDekodierung());
    EXPECT_EQ(HoleImportExportMZModell(), MZ700);
    EXPECT_EQ(HoleExportWAVSampleRate(), 44100);
    EXPECT_TRUE(HoleExportWAVInvertiertePolaritaet());
    LadeEinstellungen();
    EXPECT_EQ(HoleImportExportMZModell(), MZ700);
}

// Writes that follow each other faster than the file system's clock ticks are all seen by the
// next read, also when the file keeps its size.
TEST(EinstellungenSchnell, JederSchreibvorgangWirdGelesen) {
    EinstellungenLeeren();
    for (int i = 0; i < 200; ++i) {
        SchreibeSprache(i % 2 == 0);
        ASSERT_EQ(LiesSprache(), i % 2 == 0) << i;
    }
    EinstellungenLeeren();
}
} // namespace
