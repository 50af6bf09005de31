// The tape deck's windows, offscreen, with the real devices of the test's sound server.
#ifdef BANDWERK_AUDIO

#include "FormAbspielenUnit.h"
#include "FormAufnahmeUnit.h"
#include "FormEinstellungenUnit.h"
#include "MZFDatei.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"
#include "TonServer.h"
#include "TonbandGemeinsam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString Halt = QStringLiteral("gunterhager-mz800-emuz/TestHalt.mzf");
const QString Print = QStringLiteral("gunterhager-mz800-emuz/TestPrint.mzf");
constexpr int Minute = 60'000;

class Tonbandfenster : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        ordner = TestVerzeichnis();
        // The MZ-700 in the shortened format: a file of a few bytes takes some ten seconds.
        SchreibeImportExportEinstellungen(MZ700, true, StandardSampleRate, false);
        ASSERT_TRUE(halt.Laden(KorpusPfad(Halt)));
        skript.Leeren();
    }
    void TearDown() override { EinstellungenLeeren(); }

    TPlattformSkript skript;
    QString ordner;
    TMZFDatei halt;
};

} // namespace

// A file added to the tape is played after the loaded one; the sound output carries both.
TEST_F(Tonbandfenster, PlayWindowPlaysTheTapeWithAnAddedFile) {
    BRAUCHT_TONSERVER();
    TEigenesTongeraet geraet(QStringLiteral("bw_fenster_ab"));
    SchreibeAudioGeraete(geraet.Ausgabe(), QString());
    TFormAbspielen fenster(nullptr, halt);
    fenster.show();
    EXPECT_TRUE(fenster.LabelGeraet->text().endsWith(geraet.Ausgabe()));
    skript.WaehleDatei(KorpusPfad(Print));
    QTest::mouseClick(fenster.ButtonHinzufuegen, Qt::LeftButton);
    ASSERT_EQ(fenster.ListBoxDateien->count(), 2);
    EXPECT_EQ(fenster.ListBoxDateien->item(1)->text(), QStringLiteral("TestPrint (32 bytes)"));

    const QString mitschnitt = ordner + QStringLiteral("/mitschnitt.wav");
    auto rekorder = TonServer::Mitschnitt(geraet.Ausgabe(), mitschnitt);
    QTest::qWait(300);
    QTest::mouseClick(fenster.ButtonAbspielen, Qt::LeftButton);
    ASSERT_TRUE(fenster.Spieler().Laeuft()) << skript.Texte().join('|').toStdString();
    EXPECT_FALSE(fenster.ButtonAbspielen->isEnabled());
    EXPECT_TRUE(fenster.ButtonStopp->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fenster.Spieler().Laeuft(); }, Minute));
    EXPECT_EQ(fenster.LabelStatus->text(), QStringLiteral("Played to the end."));
    EXPECT_TRUE(skript.nachrichten.isEmpty()) << skript.Texte().join('|').toStdString();
    rekorder->terminate();
    rekorder->waitForFinished();
    const auto dateien = TonServer::Dekodiere(mitschnitt);
    ASSERT_EQ(dateien.size(), 2u);
    EXPECT_EQ(TonServer::MZFBytes(*dateien[0]), LiesDatei(KorpusPfad(Halt)));
    EXPECT_EQ(TonServer::MZFBytes(*dateien[1]), LiesDatei(KorpusPfad(Print)));
}

// A device that is not there, and one pulled out while it plays: each told in a message.
TEST_F(Tonbandfenster, PlayWindowTellsMissingAndUnpluggedOutputs) {
    BRAUCHT_TONSERVER();
    SchreibeAudioGeraete(QStringLiteral("gibt_es_nicht"), QString());
    {
        TFormAbspielen fenster(nullptr, halt);
        fenster.show();
        QTest::mouseClick(fenster.ButtonAbspielen, Qt::LeftButton);
        EXPECT_FALSE(fenster.Spieler().Laeuft());
        ASSERT_EQ(skript.Fehler().size(), 1);
        EXPECT_TRUE(
            skript.Fehler()[0].startsWith(QStringLiteral("There is no sound device \"gibt_es_nicht\"")));
    }
    skript.Leeren();
    TEigenesTongeraet geraet(QStringLiteral("bw_fenster_weg"));
    SchreibeAudioGeraete(geraet.Ausgabe(), QString());
    TFormAbspielen fenster(nullptr, halt);
    fenster.show();
    QTest::mouseClick(fenster.ButtonAbspielen, Qt::LeftButton);
    ASSERT_TRUE(fenster.Spieler().Laeuft());
    QTest::qWait(1500);
    geraet.Entfernen();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fenster.Spieler().Laeuft(); }, Minute));
    ASSERT_EQ(skript.Fehler().size(), 1);
    EXPECT_TRUE(skript.Fehler()[0].contains(QStringLiteral("stopped working")));
    EXPECT_TRUE(fenster.ButtonAbspielen->isEnabled());
}

// While a cassette plays into the input, each file shows up as soon as it has been read and can
// be imported at once; after Stop the whole recording is in the WAV file kept.
TEST_F(Tonbandfenster, RecordWindowShowsEachFileAsItIsFound) {
    BRAUCHT_TONSERVER();
    TEigenesTongeraet geraet(QStringLiteral("bw_fenster_auf"));
    SchreibeAudioGeraete(QString(), geraet.Eingabe());
    TMZFDatei print;
    ASSERT_TRUE(print.Laden(KorpusPfad(Print)));
    const QString band = ordner + QStringLiteral("/band.wav");
    ASSERT_TRUE(halt.ExportWAV(band, {&print}));
    const QString behalten = ordner + QStringLiteral("/ganz.wav");

    std::vector<QByteArray> importiert;
    TFormAufnahme fenster(nullptr, [&](const TMZFDatei& d) {
        importiert.push_back(TonServer::MZFBytes(d));
        return true;
    });
    fenster.show();
    EXPECT_TRUE(fenster.LabelGeraet->text().endsWith(geraet.Eingabe()));
    fenster.CheckBoxWAVBehalten->setChecked(true);
    skript.WaehleDatei(behalten);
    QTest::mouseClick(fenster.ButtonStart, Qt::LeftButton);
    ASSERT_TRUE(fenster.Aufnahme().Laeuft()) << skript.Texte().join('|').toStdString();
    EXPECT_FALSE(fenster.CheckBoxWAVBehalten->isEnabled());
    QTest::qWait(300);
    auto spieler = TonServer::Spiele(geraet.Ausgabe(), band);

    ASSERT_TRUE(QTest::qWaitFor([&] { return fenster.TabelleDateien->rowCount() >= 1; }, Minute));
    EXPECT_TRUE(fenster.Aufnahme().Laeuft()); // the second file is still on its way
    EXPECT_EQ(fenster.TabelleDateien->item(0, 0)->text(), QStringLiteral("TestHalt"));
    EXPECT_EQ(fenster.TabelleDateien->item(0, 3)->text(), QStringLiteral("intact"));
    fenster.TabelleDateien->selectRow(0);
    QTest::mouseClick(fenster.ButtonImportieren, Qt::LeftButton);
    ASSERT_EQ(importiert.size(), 1u);
    EXPECT_EQ(importiert[0], LiesDatei(KorpusPfad(Halt)));

    ASSERT_TRUE(QTest::qWaitFor([&] { return fenster.TabelleDateien->rowCount() >= 2; }, Minute));
    EXPECT_EQ(fenster.TabelleDateien->item(1, 0)->text(), QStringLiteral("TestPrint"));
    QTest::mouseClick(fenster.ButtonStopp, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fenster.Aufnahme().Laeuft(); }, Minute));
    spieler->waitForFinished();
    EXPECT_TRUE(fenster.LabelStatus->text().endsWith(QStringLiteral(": 2 MZ-file(s) found.")))
        << fenster.LabelStatus->text().toStdString();
    EXPECT_TRUE(skript.Fehler().isEmpty()) << skript.Texte().join('|').toStdString();
    const auto wieder = TonServer::Dekodiere(behalten);
    ASSERT_EQ(wieder.size(), 2u);
    EXPECT_EQ(TonServer::MZFBytes(*wieder[1]), LiesDatei(KorpusPfad(Print)));
}

// The settings offer the server's devices by description and name and store the name.
TEST_F(Tonbandfenster, SettingsStoreTheChosenDevices) {
    BRAUCHT_TONSERVER();
    TEigenesTongeraet geraet(QStringLiteral("bw_fenster_wahl"));
    TFormEinstellungen dialog(nullptr);
    dialog.show();
    QComboBox* ausgabe = dialog.TabSheetTonband->ComboBoxAusgabe;
    QComboBox* eingabe = dialog.TabSheetTonband->ComboBoxEingabe;
    EXPECT_EQ(ausgabe->itemText(0), QStringLiteral("System default"));
    const int a = ausgabe->findData(geraet.Ausgabe());
    const int e = eingabe->findData(geraet.Eingabe());
    ASSERT_GT(a, 0);
    ASSERT_GT(e, 0);
    EXPECT_EQ(ausgabe->itemText(a), geraet.Ausgabe()); // its description is its name
    ausgabe->setCurrentIndex(a);
    eingabe->setCurrentIndex(e);
    QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
    EXPECT_EQ(LiesAudioGeraet(true), geraet.Ausgabe());
    EXPECT_EQ(LiesAudioGeraet(false), geraet.Eingabe());
    // Shown again: the stored choice, also when the device has gone meanwhile.
    geraet.Entfernen();
    TFormEinstellungen wieder(nullptr);
    wieder.show();
    EXPECT_EQ(wieder.TabSheetTonband->ComboBoxAusgabe->currentData().toString(), geraet.Ausgabe());
}

#endif
