// Files given to the main window from outside: dropped on it, or named on the command line. Each is
// taken by its kind as the open or import command takes it, and only when that command could run.
#include "FormHauptUnit.h"
#include "MZFDatei.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString TestHaltMZF = QStringLiteral("gunterhager-mz800-emuz/TestHalt.mzf");
const QString FtMZT = QStringLiteral("yanataka60-MZ80K_SD/FT.MZT");
const QString TestHaltWAV = QStringLiteral("gunterhager-mz-800-emulator/TestHalt.wav");
const QString Baryon = QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject/Baryon.mzt");

class ZiehenUndAblegen : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        TestSprache(true);
        FormHauptModulStarten();
        SetzeKommandozeile({});
        form = std::make_unique<TFormHaupt>();
        form->show();
    }
    void TearDown() override { SetzeKommandozeile({}); }

    // Drags the files over the window and drops them; answers whether the window took the drag.
    bool Ablegen(const QStringList& pfade) {
        QMimeData daten;
        QList<QUrl> urls;
        for (const QString& p : pfade)
            urls << QUrl::fromLocalFile(p);
        daten.setUrls(urls);
        const QPoint mitte = form->rect().center();
        QDragEnterEvent hinein(mitte, Qt::CopyAction, &daten, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &hinein);
        if (!hinein.isAccepted())
            return false;
        QDropEvent ablegen(QPointF(mitte), Qt::CopyAction, &daten, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &ablegen);
        QCoreApplication::processEvents();
        return ablegen.isAccepted();
    }
    QString Name() const { return form->findChild<QLineEdit*>(QStringLiteral("EditMZDateiName"))->text(); }

    TPlattformSkript skript;
    std::unique_ptr<TFormHaupt> form;
};

TEST_F(ZiehenUndAblegen, JedeArtWirdWieVomMenueGenommen) {
    struct TFall {
        QString datei;
        QString name;
        bool geaendert; // an import is changed and has no path; an opened file is neither
    };
    const TFall faelle[] = {
        {KorpusPfad(TestHaltMZF), QStringLiteral("TestHalt"), false},
        {KorpusPfad(FtMZT), QStringLiteral("FD PATCH START"), true},
        {KorpusPfad(TestHaltWAV), QStringLiteral("TestHalt"), true},
    };
    for (const TFall& fall : faelle) {
        SCOPED_TRACE(fall.datei.toStdString());
        ASSERT_TRUE(Ablegen({fall.datei, KorpusPfad(Baryon)})); // of several files the first counts
        ASSERT_TRUE(form->HoleDatei().IstGeladen()) << skript.Texte().join('|').toStdString();
        EXPECT_EQ(Name(), fall.name);
        EXPECT_EQ(form->HoleDatei().IstGeaendert(), fall.geaendert);
        EXPECT_EQ(form->HoleDatei().HoleDateiPfad().isEmpty(), fall.geaendert);
        form->HoleDatei().Schliessen();
        form->AktualisiereAnzeige(true);
    }
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(ZiehenUndAblegen, MehrereDateienKommenInDenAuswahldialog) {
    // The dialog opens once the drop has ended; a timer of this scope looks for it and, should it
    // not come, lets the test fail instead of waiting.
    bool gesehen = false;
    int versuche = 0;
    QTimer suche;
    QObject::connect(&suche, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) {
            if (++versuche > 500)
                suche.stop();
            return;
        }
        suche.stop();
        gesehen = true;
        // The tape image's catalogue.
        auto* katalog = dialog->findChild<QTreeWidget*>(QStringLiteral("Katalog"));
        katalog->setCurrentItem(katalog->topLevelItem(2));
        dialog->findChild<QPushButton*>(QStringLiteral("ButtonImport"))->click();
    });
    suche.start(10);
    ASSERT_TRUE(Ablegen({KorpusPfad(Baryon)}));
    EXPECT_TRUE(gesehen);
    EXPECT_EQ(Name(), QStringLiteral("BARYON-C"));
}

TEST_F(ZiehenUndAblegen, WasDasMenueVerweigertWirdNichtGenommen) {
    // Unknown kinds, and files that are not local, are not taken at all.
    EXPECT_FALSE(Ablegen({KorpusPfad(QStringLiteral("akih-san-GAME80IC-for-MZ-80/LICENCE.txt"))}));
    QMimeData fern;
    fern.setUrls({QUrl(QStringLiteral("https://example.org/spiel.mzf"))});
    QDragEnterEvent hinein(QPoint(5, 5), Qt::CopyAction, &fern, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &hinein);
    EXPECT_FALSE(hinein.isAccepted());

    // With a file loaded, Open and the imports are greyed: a drop is refused and changes nothing.
    ASSERT_TRUE(Ablegen({KorpusPfad(TestHaltMZF)}));
    EXPECT_FALSE(Ablegen({KorpusPfad(FtMZT)}));
    EXPECT_EQ(Name(), QStringLiteral("TestHalt"));

    // While busy neither.
    form->HoleDatei().Schliessen();
    form->AktualisiereAnzeige(true);
    form->DateiBeiBeginn(&form->HoleDatei());
    EXPECT_FALSE(Ablegen({KorpusPfad(FtMZT)}));
    form->DateiBeiEnde(&form->HoleDatei());
    EXPECT_FALSE(form->HoleDatei().IstGeladen());
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST(KommandozeileNachArt, TapeImageUndAufnahmeWerdenImportiert) {
    TPlattformSkript skript;
    EinstellungenLeeren();
    TestSprache(true);
    for (const QString& datei : {KorpusPfad(FtMZT), KorpusPfad(TestHaltWAV)}) {
        FormHauptModulStarten();
        SetzeKommandozeile({datei});
        TFormHaupt form;
        form.show();
        ASSERT_TRUE(form.HoleDatei().IstGeladen()) << datei.toStdString();
        EXPECT_TRUE(form.HoleDatei().IstGeaendert()) << "imported, not opened";
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Bandwerk - NoName.mzf"));
    }
    SetzeKommandozeile({});
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

} // namespace
