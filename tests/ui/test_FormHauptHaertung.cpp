// The main window tried as a new user and as an attacker would: a settings store that refuses
// writes, restarts, access keys, focus, a screen too small for the window.
#include "FormHauptTestBasis.h"
#include "FormUeberDiesesProgrammUnit.h"
#include "Start.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPalette>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <algorithm>
#include <set>

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

namespace {
// The store as a run of an older or a newer program left it.
void SchreibeRoh(const QString& name, const QVariant& wert) {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Feldmark"),
                QStringLiteral("Bandwerk"));
    s.setValue(QStringLiteral("V2.4/") + name, wert);
}

// Each run shows the window where the last run left it, in the size it had, over two restarts.
TEST_F(FormHauptHaertung, FensterBleibtUeberNeustartsAmPlatz) {
    QRect rahmen;
    QRect innen;
    {
        auto form = NeueForm();
        form->resize(form->size() + QSize(30, 20));
        form->move(37, 23);
        rahmen = form->frameGeometry();
        innen = form->geometry();
        form->hide();
    }
    for (int lauf = 2; lauf <= 3; ++lauf) {
        auto form = NeueForm();
        EXPECT_EQ(form->frameGeometry(), rahmen) << "run " << lauf;
        EXPECT_EQ(form->geometry(), innen) << "run " << lauf;
        form->hide();
    }
}

// The last run had a window manager that framed the window with 1 pixel at the left and a title
// bar of 20, and put the frame's corner at 100, 80. Such a manager adds the frame only after the
// window is shown: the client area must go where it stood, at 101, 100, not where the frame was.
TEST_F(FormHauptHaertung, ClientBereichKommtDorthinWoErStand) {
    SchreibeRoh(QStringLiteral("FormHauptXPos"), 100);
    SchreibeRoh(QStringLiteral("FormHauptYPos"), 80);
    SchreibeRoh(QStringLiteral("FormHauptRandLinks"), 1);
    SchreibeRoh(QStringLiteral("FormHauptRandOben"), 20);
    auto form = NeueForm();
    EXPECT_EQ(form->geometry().topLeft(), QPoint(101, 100));
}

// Bigger than designed, the body view takes the room; the first start keeps the designed size.
TEST_F(FormHauptHaertung, FensterLaesstSichVergroessern) {
    auto form = NeueForm();
    const int menue = form->menuBar()->sizeHint().height();
    // Designed as 635 x 516 without the menu, wider where the texts of the fields need it.
    EXPECT_EQ(form->width(), std::max(635, form->minimumWidth()));
    EXPECT_EQ(form->height(), 516 + menue);
    auto* rumpf = Kind<QWidget>(form.get(), "MemoMZDateiRumpf");
    Oeffne(*form, Kopie(TestHalt, QStringLiteral("halt.mzf")));
    QCoreApplication::processEvents();
    const QSize fenster = form->size();
    const QSize vorher = rumpf->size();
    form->resize(fenster + QSize(200, 150));
    QCoreApplication::processEvents();
    EXPECT_EQ(form->size(), fenster + QSize(200, 150));
    EXPECT_EQ(rumpf->height(), vorher.height() + 150);
    EXPECT_GT(rumpf->width(), vorher.width());
    // Smaller, down to what the fields need; below that the window does not go.
    form->resize(100, 100);
    EXPECT_EQ(form->size(), form->minimumSize());
    EXPECT_LT(form->minimumSize().height(), 516);
    form->close();
}

// Run in a child process at twice the scale on a screen of 1600 x 1000 pixels, see below.
TEST(FormHauptKind, DISABLED_DoppelteSkalierung) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(800, 500));
    EinstellungenLeeren();
    TestSprache(true);
    FormHauptModulStarten();
    TPlattformSkript skript;
    auto zeigtAlles = [](TFormHaupt& form, const char* fall) {
        const QRect bildschirm = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(bildschirm.contains(form.frameGeometry())) << fall;
        QWidget* leiste = form.findChild<QWidget*>(QStringLiteral("PanelStatusLeiste"));
        EXPECT_TRUE(bildschirm.contains(QRect(leiste->mapToGlobal(QPoint(0, 0)), leiste->size()))) << fall;
    };
    {
        TFormHaupt form;
        form.show();
        zeigtAlles(form, "first start");
        form.hide();
    }
    // A size and place stored by a run on a larger screen.
    SchreibeRoh(QStringLiteral("FormHauptXPos"), 900);
    SchreibeRoh(QStringLiteral("FormHauptYPos"), 700);
    SchreibeRoh(QStringLiteral("FormHauptBreite"), 1500);
    SchreibeRoh(QStringLiteral("FormHauptHoehe"), 1200);
    TFormHaupt form;
    form.show();
    zeigtAlles(form, "stored on a larger screen");
    EXPECT_GE(form.width(), form.minimumWidth());
    EXPECT_GE(form.height(), form.minimumHeight());
}

TEST(FormHauptSkalierung, BeiDoppelterSkalierungBleibtDasFensterAufDemBildschirm) {
    const QString programm = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    const QString konfiguration = TestVerzeichnis() + QStringLiteral("/bildschirm.json");
    SchreibeDatei(konfiguration, R"({"screens": [{"name": "Bildschirm", "x": 0, "y": 0, "width": 1600,
                                   "height": 1000, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    QProcess kind;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"),
                    QStringLiteral("offscreen:configfile=") + konfiguration);
    umgebung.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    kind.setProcessEnvironment(umgebung);
    kind.setProcessChannelMode(QProcess::MergedChannels);
    kind.start(programm, {QStringLiteral("--gtest_also_run_disabled_tests"),
                          QStringLiteral("--gtest_filter=FormHauptKind.DISABLED_DoppelteSkalierung")});
    ASSERT_TRUE(kind.waitForFinished(120000));
    const QByteArray ausgabe = kind.readAll();
    EXPECT_EQ(kind.exitCode(), 0) << ausgabe.toStdString();
    EXPECT_TRUE(ausgabe.contains("[  PASSED  ] 1 test")) << ausgabe.toStdString();
}
// The letter after the "&" of a menu text, in lower case; nothing when the text has none.
QChar Zugriffstaste(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i; // "&&" is an ampersand shown as such
    }
    return {};
}

// Every entry of one menu (and of its submenus, each on its own) has an access key of its own.
void PruefeZugriffstasten(const QList<QAction*>& eintraege, const QString& wo) {
    std::set<char16_t> gesehen;
    for (QAction* eintrag : eintraege) {
        if (eintrag->isSeparator())
            continue;
        const QChar taste = Zugriffstaste(eintrag->text());
        EXPECT_FALSE(taste.isNull()) << wo.toStdString() << ": " << eintrag->text().toStdString();
        EXPECT_TRUE(gesehen.insert(taste.unicode()).second)
            << wo.toStdString() << ": " << eintrag->text().toStdString();
        if (eintrag->menu())
            PruefeZugriffstasten(eintrag->menu()->actions(), eintrag->text());
    }
}

TEST_F(FormHauptHaertung, JederMenueeintragHatEineEigeneZugriffstaste) {
    for (const bool englisch : {true, false}) {
        TestSprache(englisch);
        auto form = NeueForm();
        PruefeZugriffstasten(form->menuBar()->actions(), englisch ? QStringLiteral("menu bar (English)")
                                                                  : QStringLiteral("menu bar (German)"));
    }
}

TEST_F(FormHauptHaertung, TastenkuerzelDerUeblichenBefehle) {
    auto form = NeueForm();
    const struct {
        const char* eintrag;
        QKeySequence taste;
    } faelle[] = {
        {"MenueHaupt_Datei_Oeffnen", QKeySequence(QStringLiteral("Ctrl+O"))},
        {"MenueHaupt_Datei_Speichern", QKeySequence(QStringLiteral("Ctrl+S"))},
        {"MenueHaupt_Datei_SpeichernUnter", QKeySequence(QStringLiteral("Ctrl+Shift+S"))},
        {"MenueHaupt_Datei_Beenden", QKeySequence(QStringLiteral("Ctrl+Q"))},
        {"MenueHaupt_Hilfe_Kurzanleitung", QKeySequence(QStringLiteral("F1"))},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(Eintrag(form.get(), f.eintrag)->shortcut(), f.taste) << f.eintrag;

    // Pressed in the window, Ctrl+O opens the file dialog; not while a long operation runs.
    QApplication::setActiveWindow(form.get());
    skript.BrichDateiDialogAb();
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(skript.dialoge.size(), 1);
    EXPECT_EQ(skript.dialoge[0].titel, QStringLiteral("Open MZF-file"));
    form->DateiBeiBeginn(&form->HoleDatei());
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    form->DateiBeiEnde(&form->HoleDatei());
    EXPECT_EQ(skript.dialoge.size(), 1);
}
// After Yes in the loss warning the dialog closes, and the main window has the keyboard again,
// in the field that was changed.
TEST_F(FormHauptHaertung, NachDerVerlustwarnungHatDasHauptfensterDenFokus) {
    auto form = NeueForm();
    Oeffne(*form, Kopie(TestHalt, QStringLiteral("halt.mzf")));
    QApplication::setActiveWindow(form.get());
    const struct {
        const char* knopf;
        const char* feld;
    } faelle[] = {{"ButtonAendernMZDateiName", "EditMZDateiName"},
                  {"ButtonAendernMZKommentar", "MemoMZKommentar"}};
    for (const auto& f : faelle) {
        MitModalemDialog(
            [&](QWidget* d) {
                skript.Antworte(TAntwort::Ja);
                d->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
            },
            [&] { Kind<QPushButton>(form.get(), f.knopf)->click(); });
        // What the window system has to say about the windows arrives as events.
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), form.get()) << f.knopf;
        EXPECT_EQ(QApplication::focusWidget(), Kind<QWidget>(form.get(), f.feld)) << f.knopf;
    }
    EXPECT_EQ(skript.nachrichten.size(), 2);
    skript.Antworte(TAntwort::Nein);
    form->close();
}
// A tape image with several MZ files: the selection names the MZT file, in either language.
TEST_F(FormHauptHaertung, AuswahlNenntDieArtDerDatei) {
    const struct {
        bool englisch;
        const char* text;
    } faelle[] = {{true, "The MZT-file contains several MZ-files:"},
                  {false, "Die MZT-Datei enthält mehrere MZ-Dateien:"}};
    for (const auto& f : faelle) {
        TestSprache(f.englisch);
        auto form = NeueForm();
        QString gezeigt;
        skript.WaehleDatei(KorpusPfad(QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject/Baryon.mzt")));
        MitModalemDialog(
            [&](QWidget* d) {
                // The catalogue of the tape image.
                gezeigt = d->findChild<QLabel*>(QStringLiteral("LabelKatalog"))->text();
                d->findChild<QPushButton*>(QStringLiteral("ButtonSchliessen"))->click();
            },
            [&] { Waehle(form.get(), "MenueHaupt_ImportExport_ImportMZT"); });
        EXPECT_EQ(gezeigt, QString::fromUtf8(f.text));
        EXPECT_FALSE(form->HoleDatei().IstGeladen());
    }
}

// In a dark theme the links of the about window take the theme's link colour, not a blue that
// cannot be read on the dark ground.
TEST(UeberDiesesProgrammDunkel, VerweiseInDerVerweisfarbeDesThemas) {
    EinstellungenLeeren();
    TestSprache(true);
    const QPalette vorher = QApplication::palette();
    QPalette dunkel = vorher;
    dunkel.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dunkel.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
    dunkel.setColor(QPalette::Link, QColor(0x8a, 0xb4, 0xf8));
    QApplication::setPalette(dunkel);
    {
        QWidget owner;
        TFormUeberDiesesProgramm fenster(&owner);
        fenster.show();
        for (QLabel* verweis : {fenster.LabelLinkEMail, fenster.LabelLinkWWW}) {
            const QImage bild = verweis->grab().toImage();
            int verweisfarbe = 0;
            int blau = 0;
            for (int y = 0; y < bild.height(); ++y)
                for (int x = 0; x < bild.width(); ++x) {
                    const QRgb p = bild.pixel(x, y) & 0xffffff;
                    verweisfarbe += p == (QColor(0x8a, 0xb4, 0xf8).rgb() & 0xffffff);
                    blau += p == 0x0000ff;
                }
            // The underline alone is a line of pixels in the link colour.
            EXPECT_GE(verweisfarbe, verweis->width() / 2) << verweis->objectName().toStdString();
            EXPECT_EQ(blau, 0) << verweis->objectName().toStdString();
        }
    }
    QApplication::setPalette(vorher);
}
} // namespace
