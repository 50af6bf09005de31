// The main window tried as a new user and as an attacker would: a settings store that refuses
// writes, restarts, access keys, focus, a screen too small for the window.
#include "FormHauptTestBasis.h"
#include "Start.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace {
QString SchreibFehler(const QString& grund) {
    return QStringLiteral("Error writing the file %1!\r\n\r\nError-description: %2")
        .arg(EinstellungsDatei(), grund);
}

// A store larger than the writers' buffers, as one that has filled up over the years would be.
QByteArray GrosserSpeicher() {
    SchreibeVerzeichnisMZTDateien(QLatin1Char('/') + QString(20000, QLatin1Char('m')));
    SchreibeVerzeichnisWAVDateien(QLatin1Char('/') + QString(20000, QLatin1Char('w')));
    return LiesDatei(EinstellungsDatei());
}

class FormHauptHaertung : public FormHauptBasis {};

// The disk is full: the settings write is refused. The user is told why, once for each refused
// write; the command goes on, the next file dialog still works, and the file stays as it was.
TEST_F(FormHauptHaertung, VollerSpeicherBeendetDasProgrammNicht) {
    GrosserSpeicher();
    auto form = NeueForm();
    Oeffne(*form, Kopie(TestHalt, QStringLiteral("halt.mzf")));
    const QByteArray vorher = LiesDatei(EinstellungsDatei());
    // A folder whose name makes the store grow past what the disk still takes.
    const QString ordner = TestVerzeichnis() + QLatin1Char('/') + QString(200, QLatin1Char('a')) +
                           QLatin1Char('/') + QString(200, QLatin1Char('b'));
    ASSERT_TRUE(QDir().mkpath(ordner));
    skript.Leeren();
    {
        TDateiGroessenGrenze grenze(vorher.size() + 100);
        skript.WaehleDatei(ordner + QStringLiteral("/eins.mzf"));
        Waehle(form.get(), "MenueHaupt_Datei_SpeichernUnter");
        EXPECT_EQ(skript.Fehler(), QStringList{SchreibFehler(QStringLiteral("File too large"))});
        EXPECT_TRUE(QFileInfo::exists(ordner + QStringLiteral("/eins.mzf")));
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk - ") + ordner + QStringLiteral("/eins.mzf"));

        ASSERT_EQ(skript.dialoge.size(), 1);
        const QString start = skript.dialoge[0].startVerzeichnis;
        skript.Leeren();
        skript.WaehleDatei(ordner + QStringLiteral("/zwei.mzf"));
        Waehle(form.get(), "MenueHaupt_Datei_SpeichernUnter");
        EXPECT_EQ(skript.Fehler(), QStringList{SchreibFehler(QStringLiteral("File too large"))});
        EXPECT_TRUE(QFileInfo::exists(ordner + QStringLiteral("/zwei.mzf")));
        // The file dialog started where the store says, as before the refused write.
        ASSERT_EQ(skript.dialoge.size(), 1);
        EXPECT_EQ(skript.dialoge[0].startVerzeichnis, start);
        EXPECT_EQ(LiesDatei(EinstellungsDatei()), vorher);
    }
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(LiesDatei(EinstellungsDatei()), vorher);
    form->close();
}

// OK in the settings dialog cannot store: nothing is stored, and Cancel afterwards keeps it so,
// also when later writes succeed.
TEST_F(FormHauptHaertung, AbbrechenNachGescheitertemSpeichernSpeichertNichts) {
    const QByteArray vorher = GrosserSpeicher();
    auto form = NeueForm();
    skript.Leeren();
    {
        TDateiGroessenGrenze grenze(vorher.size());
        MitModalemDialog(
            [&](QWidget* d) {
                d->findChild<QRadioButton*>(QStringLiteral("RadioGroupSprache_Deutsch"))->click();
                d->findChild<QCheckBox*>(QStringLiteral("CheckBoxErweiterteDekodierung"))->click();
                d->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
                EXPECT_TRUE(d->isVisible());
                EXPECT_EQ(skript.Fehler(), QStringList{SchreibFehler(QStringLiteral("File too large"))});
                d->findChild<QPushButton*>(QStringLiteral("ButtonAbbrechen"))->click();
            },
            [&] { Waehle(form.get(), "MenueHaupt_Extras_Einstellungen"); });
        EXPECT_EQ(LiesDatei(EinstellungsDatei()), vorher);
    }
    SchreibeFormHauptPosition(7, 8);
    EXPECT_TRUE(LiesSprache());
    EXPECT_FALSE(LiesImportErweiterteDekodierung());
    EXPECT_EQ(form->menuBar()->actions()[0]->text(), QStringLiteral("&File"));
    form->close();
}

// At start the store refuses even the language it holds already: told, and the program starts.
TEST(StartMitVollemSpeicher, SpracheUndHaftungsausschlussGehenWeiter) {
    EinstellungenLeeren();
    TestSprache(true);
    TPlattformSkript skript;
    const QByteArray vorher = LiesDatei(EinstellungsDatei());
    const QString ordner = QFileInfo(EinstellungsDatei()).absolutePath();
    {
        TDateiGroessenGrenze grenze(vorher.size() - 1);
        EXPECT_NO_THROW(ModuleStarten());
        EXPECT_EQ(skript.Fehler(), QStringList{SchreibFehler(QStringLiteral("File too large"))});
        EXPECT_EQ(HoleText(QStringLiteral("FormEinstellungen")), QStringLiteral("Settings"));
        skript.Leeren();
        skript.Antworte(TAntwort::Ja);
        EXPECT_TRUE(HaftungsAusschlussAbfragen());
        EXPECT_EQ(skript.Fehler(), QStringList{SchreibFehler(QStringLiteral("File too large"))});
    }
    EXPECT_EQ(LiesDatei(EinstellungsDatei()), vorher);
    EXPECT_EQ(DateienIn(ordner), QStringList{QStringLiteral("Bandwerk.conf")});
    EXPECT_FALSE(LiesHaftungsAusschlussAkzeptiert());
    EinstellungenLeeren();
}
} // namespace
