#include "FormAuswahlMZDateiUnit.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {
// An MZF image: attribute 1, the name, a body counting up from 0.
QByteArray MZF(const QByteArray& name, int groesse) {
    return ProgrammMZF(name, RumpfMitBytes(groesse));
}

class FormAuswahlMZDateiTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        EinstellungenLeeren();
        const QString ordner = TestVerzeichnis();
        Hinzu(ordner, "HELLO", 1024);
        Hinzu(ordner, "A/B:C", 7);
        Hinzu(ordner, "THIRD", 0);
        besitzer.resize(640, 480);
        besitzer.show();
    }
    void Hinzu(const QString& ordner, const char* name, int groesse) {
        const QString pfad = QDir(ordner).filePath(QString::number(dateien.size()) + QStringLiteral(".mzf"));
        SchreibeDatei(pfad, MZF(name, groesse));
        // Found files come without a path, as cut from a tape.
        auto kopie = std::make_unique<TMZFDatei>();
        ASSERT_TRUE(kopie->ImportMZT(pfad));
        dateien.push_back(std::move(kopie));
    }
    static QStringList Zeilen(const TFormAuswahlMZDatei& dialog) {
        QStringList z;
        for (int i = 0; i < dialog.ListBoxMZDateien->count(); ++i)
            z << dialog.ListBoxMZDateien->item(i)->text();
        return z;
    }
    TPlattformSkript plattform;
    QWidget besitzer;
    std::vector<std::unique_ptr<TMZFDatei>> dateien;
};

TEST_F(FormAuswahlMZDateiTest, LeereListeWirdAbgewiesen) {
    std::vector<std::unique_ptr<TMZFDatei>> leer;
    try {
        TFormAuswahlMZDatei dialog(&besitzer, leer);
        FAIL() << "no exception";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Parameter pv_mzDateien must contain at least one element");
    }
}

TEST_F(FormAuswahlMZDateiTest, ZeigtTexteUndZeilenErsteIstGewaehlt) {
    TFormAuswahlMZDatei dialog(&besitzer, dateien);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Choose MZ-file"));
    EXPECT_EQ(dialog.LabelMZDateien->text(), QStringLiteral("The WAV-file contains several MZ-files:"));
    EXPECT_EQ(dialog.ButtonImport->text(), QStringLiteral("&Import"));
    EXPECT_EQ(dialog.ButtonSpeichernAlsMZFDatei->text(), QStringLiteral("&Save as MZF-file..."));
    EXPECT_EQ(dialog.ButtonAbbrechen->text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(dialog.LabelHinweisImport->text().startsWith(QStringLiteral("Using the button \"Import\"")));
    EXPECT_EQ(Zeilen(dialog),
              QStringList({QStringLiteral("HELLO (1024 bytes)"), QStringLiteral("A/B:C (7 bytes)"),
                           QStringLiteral("THIRD (0 bytes)")}));
    EXPECT_EQ(dialog.ListBoxMZDateien->currentRow(), 0);
    EXPECT_EQ(dialog.AusgewaehlteMZDatei(), dateien[0].get());
    EXPECT_GE(dialog.width(), 321);
    EXPECT_GE(dialog.height(), 361);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    // Centred over the owner.
    EXPECT_LE(std::abs(dialog.frameGeometry().center().x() - besitzer.frameGeometry().center().x()), 1);
    dialog.ListBoxMZDateien->setCurrentRow(2);
    EXPECT_EQ(dialog.AusgewaehlteMZDatei(), dateien[2].get());
    dialog.ListBoxMZDateien->setCurrentRow(-1);
    EXPECT_EQ(dialog.AusgewaehlteMZDatei(), dateien[0].get());

    TestSprache(false);
    dialog.hide();
    dialog.show();
    EXPECT_EQ(Zeilen(dialog)[0], QStringLiteral("HELLO (1024 Bytes)"));
    EXPECT_EQ(dialog.ListBoxMZDateien->currentRow(), 0);
    // The longer German captions widen their buttons rather than being clipped.
    for (const QPushButton* knopf :
         {dialog.ButtonImport, dialog.ButtonSpeichernAlsMZFDatei, dialog.ButtonAbbrechen}) {
        EXPECT_GE(knopf->width(), knopf->sizeHint().width()) << knopf->text().toStdString();
        EXPECT_GE(knopf->geometry().left(), 0);
        EXPECT_LE(knopf->geometry().right(), dialog.width());
    }
}

TEST_F(FormAuswahlMZDateiTest, AbgewaehlteZeileGibtDenErstenEintrag) {
    TFormAuswahlMZDatei dialog(&besitzer, dateien);
    dialog.show();
    QListWidget* liste = dialog.ListBoxMZDateien;
    const QPoint dritte = liste->visualItemRect(liste->item(2)).center();
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, Qt::NoModifier, dritte);
    ASSERT_EQ(dialog.AusgewaehlteMZDatei(), dateien[2].get());
    // Ctrl+click takes the selection away; the line stays current, but nothing is selected.
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, Qt::ControlModifier, dritte);
    ASSERT_TRUE(liste->selectedItems().isEmpty());
    EXPECT_EQ(liste->currentRow(), 2);
    EXPECT_EQ(dialog.AusgewaehlteMZDatei(), dateien[0].get());
    EXPECT_EQ(dialog.AusgewaehlterIndex(), 0);
}

TEST_F(FormAuswahlMZDateiTest, ImportAbbrechenUndEscape) {
    {
        TFormAuswahlMZDatei dialog(&besitzer, dateien);
        dialog.show();
        dialog.ListBoxMZDateien->setCurrentRow(1);
        QTest::mouseClick(dialog.ButtonImport, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.AusgewaehlterIndex(), 1);
    }
    {
        TFormAuswahlMZDatei dialog(&besitzer, dateien);
        dialog.show();
        QTest::mouseClick(dialog.ButtonAbbrechen, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.isVisible());
    }
    {
        TFormAuswahlMZDatei dialog(&besitzer, dateien);
        dialog.show();
        QTest::keyClick(dialog.ListBoxMZDateien, Qt::Key_Escape);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_TRUE(plattform.Texte().isEmpty());
}

TEST_F(FormAuswahlMZDateiTest, SpeichernAlsMZFBleibtOffen) {
    TFormAuswahlMZDatei dialog(&besitzer, dateien);
    dialog.show();
    dialog.ListBoxMZDateien->setCurrentRow(1);
    const QString ordner = TestVerzeichnis();
    const QString ziel = QDir(ordner).filePath(QStringLiteral("gerettet.mzf"));
    plattform.WaehleDatei(ziel);
    QTest::mouseClick(dialog.ButtonSpeichernAlsMZFDatei, Qt::LeftButton);

    ASSERT_EQ(plattform.dialoge.size(), 1);
    const TDateiDialog& d = plattform.dialoge[0];
    EXPECT_TRUE(d.speichern);
    EXPECT_EQ(d.titel, QStringLiteral("Save MZF-file"));
    EXPECT_EQ(d.filter,
              QStringLiteral("MZF-files (*.mzf)|*.mzf|M12-files (*.m12)|*.m12|All files (*.*)|*.*"));
    EXPECT_EQ(d.standardErweiterung, QStringLiteral("mzf"));
    EXPECT_EQ(d.vorschlag, QStringLiteral("A_B_C")); // no path yet: the cleaned MZ name
    EXPECT_EQ(LiesDatei(ziel), MZF("A/B:C", 7));
    EXPECT_EQ(plattform.Texte(),
              QStringList(QStringLiteral("The file ") + ziel + QStringLiteral(" has been saved.")));
    EXPECT_EQ(plattform.nachrichten[0].art, TNachrichtArt::Information);
    EXPECT_EQ(QDir(LiesVerzeichnisMZFDateien()), QDir(ordner));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ListBoxMZDateien->currentRow(), 1);

    // The saved entry now has a path: the next proposal is its file name, in its directory.
    plattform.BrichDateiDialogAb();
    QTest::mouseClick(dialog.ButtonSpeichernAlsMZFDatei, Qt::LeftButton);
    ASSERT_EQ(plattform.dialoge.size(), 2);
    EXPECT_EQ(plattform.dialoge[1].vorschlag, QStringLiteral("gerettet"));
    EXPECT_EQ(QDir(plattform.dialoge[1].startVerzeichnis), QDir(ordner));
    EXPECT_EQ(plattform.Texte().size(), 1); // cancelled: nothing more happened
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dateien[1]->IstGeaendert());
}

TEST_F(FormAuswahlMZDateiTest, SpeichernFehlschlagZeigtNurDenFehler) {
    TFormAuswahlMZDatei dialog(&besitzer, dateien);
    dialog.show();
    plattform.WaehleDatei(QDir(TestVerzeichnis()).filePath(QStringLiteral("fehlt/x.mzf")));
    QTest::mouseClick(dialog.ButtonSpeichernAlsMZFDatei, Qt::LeftButton);
    ASSERT_EQ(plattform.nachrichten.size(), 1);
    EXPECT_EQ(plattform.nachrichten[0].art, TNachrichtArt::Fehler);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(FormAuswahlMZDateiTest, SpeicherfehlerWirdGemeldetUndDieDateiTrotzdemGespeichert) {
    TFormAuswahlMZDatei dialog(&besitzer, dateien);
    dialog.show();
    const QString ziel = QDir(TestVerzeichnis()).filePath(QStringLiteral("trotzdem.mzf"));
    {
        TPlattformSkriptMitKaputtemSpeicher skript;
        skript.WaehleDatei(ziel);
        EXPECT_NO_THROW(dialog.ButtonSpeichernAlsMZFDateiClick());
        EinstellungsSpeicherReparieren();
        ASSERT_EQ(skript.nachrichten.size(), 2);
        EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Fehler);
        EXPECT_EQ(skript.nachrichten[0].text, SpeicherFehlerText());
        EXPECT_EQ(skript.nachrichten[1].art, TNachrichtArt::Information);
        EXPECT_EQ(skript.nachrichten[1].text,
                  QStringLiteral("The file ") + ziel + QStringLiteral(" has been saved."));
    }
    EXPECT_EQ(LiesDatei(ziel), MZF("HELLO", 1024));
    EXPECT_TRUE(dialog.isVisible());
    EinstellungenLeeren();
}

TEST_F(FormAuswahlMZDateiTest, AuswahlDialogLiefertIndexOderAbbruch) {
    const TMZFDatei::TAuswahl waehle = AuswahlDialog(&besitzer);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TFormAuswahlMZDatei*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->ListBoxMZDateien->setCurrentRow(2);
        dialog->ButtonImport->click();
    });
    EXPECT_EQ(waehle(dateien), 2);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TFormAuswahlMZDatei*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->ButtonAbbrechen->click();
    });
    EXPECT_EQ(waehle(dateien), -1);
    // The dialog was freed after each showing.
    EXPECT_TRUE(besitzer.findChildren<TFormAuswahlMZDatei*>().isEmpty());
}

TEST_F(FormAuswahlMZDateiTest, MZTImportMitDemDialog) {
    TMZFDatei datei;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TFormAuswahlMZDatei*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->ListBoxMZDateien->count(), 3);
        EXPECT_EQ(dialog->ListBoxMZDateien->item(1)->text(), QStringLiteral("BARYON-B (25435 bytes)"));
        dialog->ListBoxMZDateien->setCurrentRow(2);
        dialog->ButtonImport->click();
    });
    ASSERT_TRUE(
        datei.ImportMZT(KorpusPfad(QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject/Baryon.mzt")),
                        AuswahlDialog(&besitzer)));
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("BARYON-C"));
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 2862);
}
} // namespace
