// The options of one run decide how it reads and writes, and the stored settings stay as they are:
// the file of the store keeps every byte.
#include "CliLauf.h"
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

constexpr int OffsetSampleRate = 24;

class Einstellungswerte : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        EinstellungenLeeren();
        // Stored: the MZ-80K at 22050 Hz, full format, normal polarity, the extended decoding off.
        SchreibeDialogEinstellungen(true, MZ80K, false, StandardSampleRate, false, false);
        gespeichert = LiesDatei(EinstellungsDatei());
        ASSERT_FALSE(gespeichert.isEmpty());
        ordner = QDir(TestVerzeichnis());
        mzf = ordner.filePath(QStringLiteral("wert.mzf"));
        SchreibeDatei(mzf, ProgrammMZF("WERT", RumpfMitBytes(200)));
    }
    void TearDown() override { EinstellungenLeeren(); }
    // The store's file as it was before the runs, and its values as a new start reads them.
    void ErwarteSpeicherUnveraendert() {
        EXPECT_EQ(LiesDatei(EinstellungsDatei()), gespeichert);
        LadeEinstellungen();
        EXPECT_EQ(HoleImportExportMZModell(), MZ80K);
        EXPECT_EQ(HoleExportWAVSampleRate(), StandardSampleRate);
        EXPECT_FALSE(LiesImportErweiterteDekodierung());
        EXPECT_FALSE(LiesExportWAVVerkuerztesMZTonbandFormat());
    }

    TPlattformSkript skript;
    QByteArray gespeichert;
    QDir ordner;
    QString mzf;
};

} // namespace

// MZ-80B pulses (a long one 333 + 334 us) are still high 368 us after their edge, where the
// MZ-80K's passes look: only the passes of the model given read them.
TEST_F(Einstellungswerte, ModellUndRateGeltenFuerDenLaufAllein) {
    const QString wav = ordner.filePath(QStringLiteral("mz80b.wav"));
    const TCliLauf export_ = StarteCli({QStringLiteral("convert"), QStringLiteral("--model=MZ-80B"),
                                        QStringLiteral("--rate=11025"), mzf, wav});
    ASSERT_EQ(export_.status, ExitErfolg) << export_.fehler.toStdString();
    const QByteArray inhalt = LiesDatei(wav);
    ASSERT_GT(inhalt.size(), OffsetSampleRate + 4);
    EXPECT_EQ(Le32(inhalt, OffsetSampleRate), 11025u);

    const TCliLauf mitModell = StarteCli({QStringLiteral("list"), QStringLiteral("--model=MZ-80B"), wav});
    EXPECT_EQ(mitModell.status, ExitErfolg) << mitModell.fehler.toStdString();
    EXPECT_TRUE(mitModell.aus.contains(QStringLiteral("WERT"))) << mitModell.aus.toStdString();

    // The stored model, a run later in the same process: nothing of the option is left.
    const TCliLauf gespeichertesModell = StarteCli({QStringLiteral("list"), wav});
    EXPECT_EQ(gespeichertesModell.status, ExitFehler);
    EXPECT_FALSE(gespeichertesModell.aus.contains(QStringLiteral("WERT")));

    const TCliLauf wieder =
        StarteCli({QStringLiteral("list"), QStringLiteral("--model"), QStringLiteral("MZ-80B"), wav});
    EXPECT_EQ(wieder.status, ExitErfolg);
    EXPECT_EQ(wieder.aus, mitModell.aus);
    ErwarteSpeicherUnveraendert();
}

// A recording at 48000 Hz is beyond the plain reader; --extended reads it for one run.
TEST_F(Einstellungswerte, ErweitertGiltFuerDenLaufAllein) {
    const QString stamm = KorpusPfad(QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject/8253-test"));
    std::vector<std::unique_ptr<TMZFDatei>> erwartet;
    ASSERT_TRUE(TMZFDatei::LeseAlleAusMZT(stamm + QStringLiteral(".mzt"), erwartet));
    ASSERT_FALSE(erwartet.empty());
    const QString wav = stamm + QStringLiteral(".wav");

    const TCliLauf erweitert = StarteCli(
        {QStringLiteral("list"), QStringLiteral("--model=MZ-700"), QStringLiteral("--extended"), wav});
    EXPECT_EQ(erweitert.status, ExitErfolg) << erweitert.fehler.toStdString();
    EXPECT_TRUE(erweitert.aus.contains(erwartet.front()->HoleMZDateiName())) << erweitert.aus.toStdString();

    skript.Leeren();
    const TCliLauf ohne = StarteCli({QStringLiteral("list"), QStringLiteral("--model=MZ-700"), wav});
    EXPECT_EQ(ohne.status, ExitFehler);
    EXPECT_TRUE(ohne.aus.isEmpty());
    const QString meldungen = skript.Texte().join(QLatin1Char('|'));
    EXPECT_TRUE(meldungen.contains(QStringLiteral("bandwerk-cli reads it with --extended.")))
        << meldungen.toStdString();
    ErwarteSpeicherUnveraendert();
}
