#include "PlattformDesktop.h"
#include "TestUmgebung.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {
// Waits for a visible top-level window of type T and hands it to `aktion`. Should none appear,
// every modal window is closed so that the test fails instead of hanging.
template <class T> void WennSichtbar(std::function<void(T*)> aktion, int versuche = 300) {
    QTimer::singleShot(10, [aktion, versuche] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) {
                aktion(t);
                return;
            }
        if (versuche > 0) {
            WennSichtbar<T>(aktion, versuche - 1);
            return;
        }
        ADD_FAILURE() << "expected window did not appear";
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

// Types a name into the dialog's name field, as a user with the focus in that field would: a
// file picked in the list before no longer counts (selectFile leaves a focused field alone).
void Tippe(QFileDialog* d, const QString& name) {
    for (auto* liste : d->findChildren<QAbstractItemView*>())
        liste->clearSelection();
    if (auto* feld = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        feld->setText(name);
    else
        ADD_FAILURE() << "file dialog without name field";
}

struct TBoxBild {
    QMessageBox::Icon symbol = QMessageBox::NoIcon;
    QString titel;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::StandardButtons knoepfe;
};

// Answers the next message box with `knopf`, or closes it when `knopf` is NoButton.
void BeantworteBox(QMessageBox::StandardButton knopf, TBoxBild* bild = nullptr) {
    WennSichtbar<QMessageBox>([knopf, bild](QMessageBox* box) {
        if (bild)
            *bild = {box->icon(), box->windowTitle(), box->text(), box->textFormat(), box->standardButtons()};
        if (knopf == QMessageBox::NoButton)
            box->close();
        else if (QAbstractButton* b = box->button(knopf))
            b->click();
        else {
            ADD_FAILURE() << "box has no such button";
            box->close();
        }
    });
}
} // namespace

TEST(PlattformDesktop, WarnfrageMitAbbrechen) {
    TPlattformDesktop desktop;
    TBoxBild bild;
    BeantworteBox(QMessageBox::Yes, &bild);
    EXPECT_EQ(desktop.Frage(TNachrichtArt::Warnung, QStringLiteral("Datei <Unknown>\r\nspeichern?"), true),
              TAntwort::Ja);
    EXPECT_EQ(bild.symbol, QMessageBox::Warning);
    EXPECT_EQ(bild.titel, QStringLiteral("Bandwerk"));
    EXPECT_EQ(bild.text, QStringLiteral("Datei <Unknown>\nspeichern?"));
    EXPECT_EQ(bild.format, Qt::PlainText);
    EXPECT_EQ(bild.knoepfe, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    BeantworteBox(QMessageBox::No);
    EXPECT_EQ(desktop.Frage(TNachrichtArt::Warnung, QStringLiteral("?"), true), TAntwort::Nein);
    BeantworteBox(QMessageBox::Cancel);
    EXPECT_EQ(desktop.Frage(TNachrichtArt::Warnung, QStringLiteral("?"), true), TAntwort::Abbrechen);
    // Closing the box counts as Cancel.
    BeantworteBox(QMessageBox::NoButton);
    EXPECT_EQ(desktop.Frage(TNachrichtArt::Warnung, QStringLiteral("?"), true), TAntwort::Abbrechen);
    WennSichtbar<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(desktop.Frage(TNachrichtArt::Warnung, QStringLiteral("?"), true), TAntwort::Abbrechen);
}

TEST(PlattformDesktop, WarnfrageOhneAbbrechenSchliessenIstNein) {
    TPlattformDesktop desktop;
    TBoxBild bild;
    BeantworteBox(QMessageBox::NoButton, &bild);
    EXPECT_EQ(desktop.Frage(TNachrichtArt::Warnung, QStringLiteral("Weiter?"), false), TAntwort::Nein);
    EXPECT_EQ(bild.knoepfe, QMessageBox::Yes | QMessageBox::No);
    WennSichtbar<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(desktop.Frage(TNachrichtArt::Warnung, QStringLiteral("Weiter?"), false), TAntwort::Nein);
    BeantworteBox(QMessageBox::Yes);
    EXPECT_EQ(desktop.Frage(TNachrichtArt::Warnung, QStringLiteral("Weiter?"), false), TAntwort::Ja);
}

TEST(PlattformDesktop, BestaetigungFehlerUndInformation) {
    TPlattformDesktop desktop;
    TBoxBild bild;
    BeantworteBox(QMessageBox::Yes, &bild);
    EXPECT_EQ(desktop.Frage(TNachrichtArt::Bestaetigung, QStringLiteral("Einverstanden?"), false),
              TAntwort::Ja);
    EXPECT_EQ(bild.symbol, QMessageBox::Question);
    EXPECT_EQ(bild.knoepfe, QMessageBox::Yes | QMessageBox::No);

    BeantworteBox(QMessageBox::Ok, &bild);
    desktop.ZeigeNachricht(TNachrichtArt::Fehler, QStringLiteral("Fehler"));
    EXPECT_EQ(bild.symbol, QMessageBox::Critical);
    EXPECT_EQ(bild.knoepfe, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(bild.titel, QStringLiteral("Bandwerk"));

    BeantworteBox(QMessageBox::NoButton, &bild);
    desktop.ZeigeNachricht(TNachrichtArt::Information, QStringLiteral("Info"));
    EXPECT_EQ(bild.symbol, QMessageBox::Information);
    EXPECT_EQ(bild.text, QStringLiteral("Info"));
}

TEST(PlattformDesktop, SanduhrAlsUeberschreibenderMauszeiger) {
    TPlattformDesktop desktop;
    TPlattform* vorher = SetzePlattform(&desktop);
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        TSanduhr sanduhr;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            TSanduhr innen;
            EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // A cursor set by someone else stays when the hourglass ends, also after an exception.
    QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
    EXPECT_THROW(
        {
            TSanduhr sanduhr;
            EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            throw std::runtime_error("Abbruch");
        },
        std::runtime_error);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    QGuiApplication::restoreOverrideCursor();
    // An unmatched restore does not take away a cursor this binding never set.
    desktop.SanduhrAus();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    SetzePlattform(vorher);
}

TEST(PlattformDesktop, OeffnenDialogNimmtVorhandeneDatei) {
    const QString ordner = TestVerzeichnis();
    SchreibeDatei(ordner + QStringLiteral("/GAME.MZF"), "x");
    const QString vorher = QDir::currentPath();
    TPlattformDesktop desktop;
    TDateiDialog dialog;
    dialog.titel = QStringLiteral("Open MZF-file");
    dialog.filter = QStringLiteral("MZF-files (*.mzf)|*.mzf|M12-files (*.m12)|*.m12|All files (*.*)|*.*");
    dialog.standardErweiterung = QStringLiteral("mzf");
    dialog.startVerzeichnis = ordner;

    QString titel;
    QStringList filter;
    QString start;
    bool nurVorhandene = false;
    WennSichtbar<QFileDialog>([&](QFileDialog* d) {
        titel = d->windowTitle();
        filter = d->nameFilters();
        start = d->directory().absolutePath();
        nurVorhandene = d->fileMode() == QFileDialog::ExistingFile;
        Tippe(d, QStringLiteral("GAME.MZF"));
        static_cast<QDialog*>(d)->accept();
    });
    const auto pfad = desktop.DateiDialogZeigen(dialog);
    ASSERT_TRUE(pfad.has_value());
    EXPECT_EQ(QFileInfo(*pfad).canonicalFilePath(),
              QFileInfo(ordner + QStringLiteral("/GAME.MZF")).canonicalFilePath());
    EXPECT_EQ(titel, dialog.titel);
    EXPECT_EQ(filter.size(), 3);
    EXPECT_EQ(QFileInfo(start).canonicalFilePath(), QFileInfo(ordner).canonicalFilePath());
    EXPECT_TRUE(nurVorhandene);
    EXPECT_EQ(QDir::currentPath(), vorher);

    WennSichtbar<QFileDialog>([](QFileDialog* d) { d->reject(); });
    EXPECT_FALSE(desktop.DateiDialogZeigen(dialog).has_value());
}

TEST(PlattformDesktop, SpeichernDialogHaengtEndungAnUndSchuetztSchreibgeschuetzte) {
    const QString ordner = TestVerzeichnis();
    const QString geschuetzt = ordner + QStringLiteral("/alt.mzf");
    SchreibeDatei(geschuetzt, "alt");
    ASSERT_TRUE(QFile::setPermissions(geschuetzt, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    TPlattformDesktop desktop;
    TDateiDialog dialog;
    dialog.speichern = true;
    dialog.titel = QStringLiteral("Save MZF-file");
    dialog.filter = QStringLiteral("MZF-files (*.mzf)|*.mzf");
    dialog.standardErweiterung = QStringLiteral("mzf");
    dialog.startVerzeichnis = ordner;
    dialog.vorschlag = QStringLiteral("vorschlag");

    QString vorgeschlagen;
    TBoxBild weigerung;
    bool nochOffen = false;
    WennSichtbar<QFileDialog>([&](QFileDialog* d) {
        if (auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            vorgeschlagen = name->text();
        Tippe(d, QStringLiteral("alt.mzf"));
        // The refusal comes as a box over the dialog; after it the dialog is still there.
        BeantworteBox(QMessageBox::NoButton, &weigerung);
        QTimer::singleShot(0, d, [&, d] {
            static_cast<QDialog*>(d)->accept();
            WennSichtbar<QFileDialog>([&](QFileDialog* d2) {
                nochOffen = true;
                Tippe(d2, QStringLiteral("neu"));
                static_cast<QDialog*>(d2)->accept();
            });
        });
    });
    const auto pfad = desktop.DateiDialogZeigen(dialog);
    EXPECT_EQ(vorgeschlagen, QStringLiteral("vorschlag"));
    EXPECT_TRUE(nochOffen);
    // A refusal, not the question whether to replace the file.
    EXPECT_TRUE(weigerung.text.contains(QStringLiteral("write-protected"))) << weigerung.text.toStdString();
    EXPECT_EQ(weigerung.knoepfe, QMessageBox::StandardButtons(QMessageBox::Ok));
    ASSERT_TRUE(pfad.has_value());
    EXPECT_EQ(QFileInfo(*pfad).fileName(), QStringLiteral("neu.mzf"));
    EXPECT_EQ(LiesDatei(geschuetzt), QByteArray("alt"));
    QFile::setPermissions(geschuetzt, QFile::ReadOwner | QFile::WriteOwner);
}

TEST(PlattformDesktop, SpeichernDialogVerlangtEinenVorhandenenOrdner) {
    const QString ordner = TestVerzeichnis();
    TPlattformDesktop desktop;
    TDateiDialog dialog;
    dialog.speichern = true;
    dialog.titel = QStringLiteral("Export MZT-file");
    dialog.filter = QStringLiteral("MZT-files (*.mzt)|*.mzt");
    dialog.standardErweiterung = QStringLiteral("mzt");
    dialog.startVerzeichnis = ordner;

    TBoxBild weigerung;
    bool nochOffen = false;
    WennSichtbar<QFileDialog>([&](QFileDialog* d) {
        Tippe(d, QStringLiteral("fehlt/band"));
        BeantworteBox(QMessageBox::NoButton, &weigerung);
        QTimer::singleShot(0, d, [&, d] {
            static_cast<QDialog*>(d)->accept();
            WennSichtbar<QFileDialog>([&](QFileDialog* d2) {
                nochOffen = true;
                Tippe(d2, QStringLiteral("band"));
                static_cast<QDialog*>(d2)->accept();
            });
        });
    });
    const auto pfad = desktop.DateiDialogZeigen(dialog);
    EXPECT_TRUE(nochOffen);
    EXPECT_TRUE(weigerung.text.contains(QStringLiteral("Directory not found")))
        << weigerung.text.toStdString();
    EXPECT_TRUE(weigerung.text.contains(ordner + QStringLiteral("/fehlt"))) << weigerung.text.toStdString();
    ASSERT_TRUE(pfad.has_value());
    EXPECT_EQ(*pfad, ordner + QStringLiteral("/band.mzt"));
}

TEST(PlattformDesktop, SpeichernUeberVorhandeneDateiFragtVorher) {
    const QString ordner = TestVerzeichnis();
    SchreibeDatei(ordner + QStringLiteral("/da.mzf"), "da");
    TPlattformDesktop desktop;
    TDateiDialog dialog;
    dialog.speichern = true;
    dialog.titel = QStringLiteral("Save");
    dialog.filter = QStringLiteral("MZF-files (*.mzf)|*.mzf");
    dialog.standardErweiterung = QStringLiteral("mzf");
    dialog.startVerzeichnis = ordner;

    bool gefragt = false;
    WennSichtbar<QFileDialog>([&](QFileDialog* d) {
        Tippe(d, QStringLiteral("da"));
        WennSichtbar<QMessageBox>([&](QMessageBox* box) {
            gefragt = true;
            box->button(QMessageBox::Yes)->click();
        });
        QTimer::singleShot(0, d, [d] { static_cast<QDialog*>(d)->accept(); });
    });
    const auto pfad = desktop.DateiDialogZeigen(dialog);
    EXPECT_TRUE(gefragt);
    ASSERT_TRUE(pfad.has_value());
    EXPECT_EQ(QFileInfo(*pfad).fileName(), QStringLiteral("da.mzf"));
}

namespace {
TEST(PlattformDesktop, QtsEigeneTexteInDerSpracheDesKatalogs) {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm")))
        GTEST_SKIP() << "Qt's German translations are not installed";
    TPlattformDesktop desktop;
    const auto knopfTexte = [&] {
        QStringList texte;
        WennSichtbar<QMessageBox>([&](QMessageBox* box) {
            for (QAbstractButton* knopf : box->buttons())
                texte << knopf->text().remove(QLatin1Char('&'));
            box->button(QMessageBox::No)->click();
        });
        desktop.Frage(TNachrichtArt::Bestaetigung, QStringLiteral("?"), false);
        texte.sort();
        return texte;
    };
    TestSprache(false);
    WendeQtUebersetzungAn();
    EXPECT_EQ(knopfTexte(), (QStringList{QStringLiteral("Ja"), QStringLiteral("Nein")}));
    TestSprache(true);
    WendeQtUebersetzungAn();
    EXPECT_EQ(knopfTexte(), (QStringList{QStringLiteral("No"), QStringLiteral("Yes")}));
}
} // namespace

namespace {
// The refusal of a write-protected file speaks the language of the interface.
TEST(PlattformDesktop, SchreibschutzWeigerungInDerSpracheDerOberflaeche) {
    const QString ordner = TestVerzeichnis();
    const QString geschuetzt = ordner + QStringLiteral("/alt.mzf");
    SchreibeDatei(geschuetzt, "alt");
    ASSERT_TRUE(QFile::setPermissions(geschuetzt, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const struct {
        bool englisch;
        const char* text;
    } faelle[] = {{false, "alt.mzf ist schreibgeschützt.\nBitte wählen Sie einen anderen Namen."},
                  {true, "alt.mzf is write-protected.\nPlease choose another name."}};
    for (const auto& f : faelle) {
        TestSprache(f.englisch);
        TPlattformDesktop desktop;
        TDateiDialog dialog;
        dialog.speichern = true;
        dialog.filter = QStringLiteral("MZF-files (*.mzf)|*.mzf");
        dialog.standardErweiterung = QStringLiteral("mzf");
        dialog.startVerzeichnis = ordner;
        TBoxBild weigerung;
        WennSichtbar<QFileDialog>([&](QFileDialog* d) {
            Tippe(d, QStringLiteral("alt.mzf"));
            BeantworteBox(QMessageBox::NoButton, &weigerung);
            QTimer::singleShot(0, d, [d] {
                static_cast<QDialog*>(d)->accept();
                WennSichtbar<QFileDialog>([](QFileDialog* d2) { d2->reject(); });
            });
        });
        EXPECT_FALSE(desktop.DateiDialogZeigen(dialog).has_value());
        EXPECT_EQ(weigerung.text, QString::fromUtf8(f.text));
    }
    QFile::setPermissions(geschuetzt, QFile::ReadOwner | QFile::WriteOwner);
}
} // namespace
