// The body field's views in the real main window: the view a file opens in, switching views,
// the dialect and the code offset, the listing following a header change, copy and save as
// text, and the access keys of the window.
#include "FormHauptUnit.h"
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "SprachenTexte.h"
#include "TestUmgebung.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {
const QString GnuBlat = QStringLiteral("psychotimmy-Sharp-MZ-700/GNU BLAT 2000.mzf");

class InhaltsAnsicht : public ::testing::Test {
protected:
    // A fresh window, started as the program starts it, in English with the default settings.
    void SetUp() override {
        FormHauptModulStarten();
        SetzeKommandozeile({});
        EinstellungenLeeren();
        TestSprache(true);
        form = NeuesFenster();
    }
    static std::unique_ptr<TFormHaupt> NeuesFenster() {
        auto fenster = std::make_unique<TFormHaupt>();
        fenster->show();
        return fenster;
    }

    template <typename T> T* Kind(const char* name) {
        T* kind = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(kind, nullptr) << name;
        return kind;
    }
    QString Memo() { return Kind<QPlainTextEdit>("MemoMZDateiRumpf")->toPlainText(); }
    QComboBox* Ansicht() { return Kind<QComboBox>("ComboBoxAnsicht"); }
    void Oeffne(const QString& pfad) {
        skript.WaehleDatei(pfad);
        form->findChild<QAction*>(QStringLiteral("MenueHaupt_Datei_Oeffnen"))->trigger();
        ASSERT_TRUE(form->HoleDatei().IstGeladen()) << skript.Texte().join(QLatin1Char('|')).toStdString();
    }
    // A machine-code program at $1200 holding LD HL,$1234 / JR $1203 / HALT.
    void OeffneMaschinencode() {
        TMZFBild bild;
        bild.startAdresse = 0x1200;
        bild.rumpf = QByteArray::fromHex("21341218FE76");
        Oeffne(SchreibeTestDatei(bild.Bytes(), QStringLiteral("code.mzf")));
    }

    TPlattformSkript skript;
    std::unique_ptr<TFormHaupt> form;
};

TEST_F(InhaltsAnsicht, DieAnsichtFolgtDemAttribut) {
    // A BASIC program opens as its listing, in the detected dialect.
    Oeffne(KorpusPfad(GnuBlat));
    EXPECT_EQ(Ansicht()->currentText(), QStringLiteral("BASIC listing"));
    EXPECT_TRUE(Memo().startsWith(QStringLiteral("10 REM*********************************\n20 REM*")));
    EXPECT_TRUE(Memo().contains(QStringLiteral("\n80 REM* have donated \u00A3335 so far!     *\n")));
    EXPECT_EQ(Kind<QComboBox>("ComboBoxDialekt")->currentText(),
              QStringLiteral("Automatic: MZ-700 S-BASIC 1Z-013B"));
    EXPECT_FALSE(Kind<QWidget>("ComboBoxDialekt")->isHidden());
    EXPECT_TRUE(Kind<QWidget>("SpinEditCodeAnfang")->isHidden());
    form->findChild<QAction*>(QStringLiteral("MenueHaupt_Datei_Schliessen"))->trigger();

    // Machine code as Z80 assembler text from its load address.
    OeffneMaschinencode();
    EXPECT_EQ(Ansicht()->currentText(), QStringLiteral("Z80 disassembly"));
    EXPECT_EQ(Memo(), QStringLiteral("1200  21 34 12     START:  LD   HL,$1234\n"
                                     "1203  18 FE        L1203:  JR   L1203\n"
                                     "1205  76                   HALT"));
    EXPECT_TRUE(Kind<QWidget>("ComboBoxDialekt")->isHidden());
    EXPECT_FALSE(Kind<QWidget>("SpinEditCodeAnfang")->isHidden());
    form->findChild<QAction*>(QStringLiteral("MenueHaupt_Datei_Schliessen"))->trigger();

    // Anything else as the dump, as it always was.
    TMZFBild daten;
    daten.attribut = 0x04;
    daten.rumpf = QByteArray("ABCDEFGH");
    Oeffne(SchreibeTestDatei(daten.Bytes(), QStringLiteral("daten.mzf")));
    EXPECT_EQ(Ansicht()->currentText(), QStringLiteral("Hex dump"));
    EXPECT_EQ(Memo(), QStringLiteral("$1200  $41 $42 $43 $44 $45 $46 $47 $48  ABCDEFGH"));
    EXPECT_TRUE(Kind<QWidget>("ComboBoxDialekt")->isHidden());
    EXPECT_TRUE(Kind<QWidget>("SpinEditCodeAnfang")->isHidden());
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(InhaltsAnsicht, AnsichtWechselnUndDemKopfFolgen) {
    OeffneMaschinencode();
    Ansicht()->setCurrentIndex(0);
    EXPECT_EQ(Memo(), QStringLiteral("$1200  $21 $34 $12 $18 $FE $76          !4????  "));
    Ansicht()->setCurrentIndex(2);
    EXPECT_TRUE(Memo().startsWith(QStringLiteral("1200  21 34 12")));

    // A new load address moves the listing at once.
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>(QStringLiteral("EditMZLadeAdresse"))->setText(QStringLiteral("$3000"));
        dialog->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
    });
    Kind<QPushButton>("ButtonAendernMZLadeAdresse")->click();
    ASSERT_EQ(form->HoleDatei().HoleMZLadeAdresse(), 0x3000);
    // The view stays; the start address $1200 now lies outside the body.
    EXPECT_EQ(Ansicht()->currentIndex(), 2);
    EXPECT_EQ(Memo(), QStringLiteral("3000  21 34 12             LD   HL,$1234\n"
                                     "3003  18 FE        L3003:  JR   L3003\n"
                                     "3005  76                   HALT"));

    // Code from offset 3: the bytes before it are data. "$" and "0x" give hexadecimal offsets.
    auto* offset = Kind<QSpinBox>("SpinEditCodeAnfang");
    EXPECT_EQ(offset->maximum(), 6);
    offset->findChild<QLineEdit*>()->setText(QStringLiteral("$3"));
    offset->interpretText();
    EXPECT_EQ(offset->value(), 3);
    EXPECT_EQ(Memo(), QStringLiteral("3000  21 34 12             DEFB $21,$34,$12\n"
                                     "3003  18 FE        L3003:  JR   L3003\n"
                                     "3005  76                   HALT"));
    offset->findChild<QLineEdit*>()->setText(QStringLiteral("0x5"));
    offset->interpretText();
    EXPECT_EQ(offset->value(), 5);
    offset->findChild<QLineEdit*>()->setText(QStringLiteral("7"));
    offset->interpretText();
    EXPECT_EQ(offset->value(), 5) << "beyond the body";
}

TEST_F(InhaltsAnsicht, DialektVonHandUndAblehnung) {
    Oeffne(KorpusPfad(GnuBlat));
    auto* dialekt = Kind<QComboBox>("ComboBoxDialekt");
    ASSERT_EQ(dialekt->count(), 5);
    EXPECT_EQ(dialekt->itemText(3), QStringLiteral("MZ-80K BASIC SP-5025"));
    // The MZ-800 reads the same layout.
    dialekt->setCurrentIndex(2);
    EXPECT_TRUE(Memo().startsWith(QStringLiteral("10 REM****")));
    EXPECT_TRUE(Kind<QPushButton>("ButtonKopieren")->isEnabled());
    // The MZ-80K's lines end with 0x0D: this body is no such program, and says why.
    dialekt->setCurrentIndex(3);
    EXPECT_TRUE(Memo().startsWith(QStringLiteral("The body is not a program in MZ-80K BASIC SP-5025: ")))
        << Memo().toStdString();
    EXPECT_FALSE(Kind<QPushButton>("ButtonKopieren")->isEnabled());
    EXPECT_FALSE(Kind<QPushButton>("ButtonSpeichernAlsText")->isEnabled());
    EXPECT_TRUE(skript.nachrichten.isEmpty());
    // The next file starts with the detected dialect again.
    form->findChild<QAction*>(QStringLiteral("MenueHaupt_Datei_Schliessen"))->trigger();
    Oeffne(KorpusPfad(GnuBlat));
    EXPECT_EQ(dialekt->currentIndex(), 0);
    EXPECT_TRUE(Kind<QPushButton>("ButtonKopieren")->isEnabled());
}

TEST_F(InhaltsAnsicht, KopierenUndAlsTextSpeichern) {
    OeffneMaschinencode();
    const QString text = QStringLiteral("1200  21 34 12     START:  LD   HL,$1234\n"
                                        "1203  18 FE        L1203:  JR   L1203\n"
                                        "1205  76                   HALT\n");
    Kind<QPushButton>("ButtonKopieren")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);

    // Saved as UTF-8 through the safe writer, beside the file, named after it.
    const QString ordner = QFileInfo(form->HoleDatei().HoleDateiPfad()).absolutePath();
    const QString ziel = ordner + QStringLiteral("/liste.txt");
    skript.WaehleDatei(ziel);
    Kind<QPushButton>("ButtonSpeichernAlsText")->click();
    ASSERT_EQ(skript.dialoge.size(), 2);
    EXPECT_EQ(skript.dialoge.last().vorschlag, QStringLiteral("code"));
    EXPECT_EQ(skript.dialoge.last().startVerzeichnis, ordner);
    EXPECT_EQ(skript.dialoge.last().standardErweiterung, QStringLiteral("txt"));
    EXPECT_EQ(skript.dialoge.last().titel, QStringLiteral("Save the view as text-file"));
    EXPECT_EQ(LiesDatei(ziel), text.toUtf8());
    EXPECT_EQ(skript.Texte().last(), QStringLiteral("The file ") + QDir::toNativeSeparators(ziel) +
                                         QStringLiteral(" has been saved."));
    EXPECT_EQ(DateienIn(ordner), QStringList({QStringLiteral("code.mzf"), QStringLiteral("liste.txt")}));

    // The dump is saved as `dump` writes it; pi and the pound sign as UTF-8.
    form->findChild<QAction*>(QStringLiteral("MenueHaupt_Datei_Schliessen"))->trigger();
    Oeffne(KorpusPfad(GnuBlat));
    skript.WaehleDatei(ziel);
    Kind<QPushButton>("ButtonSpeichernAlsText")->click();
    EXPECT_TRUE(LiesDatei(ziel).contains("80 REM* have donated \xC2\xA3"
                                         "335 so far!     *\n"));
    EXPECT_EQ(QString::fromUtf8(LiesDatei(ziel)), Memo() + QLatin1Char('\n'));
    Ansicht()->setCurrentIndex(0);
    skript.WaehleDatei(ziel);
    Kind<QPushButton>("ButtonSpeichernAlsText")->click();
    const QByteArray dump = LiesDatei(ziel);
    EXPECT_TRUE(dump.startsWith("$6BCF  $27 $00 $0A $00 $97 $2A $2A $2A  '???g***\n"));
    EXPECT_EQ(dump.count('\n'), 10936 / 8);
    EXPECT_FALSE(dump.contains('\r'));

    // Cancelled: nothing is written; a folder that does not exist: the write error, nothing left.
    const int vorher = static_cast<int>(skript.nachrichten.size());
    skript.BrichDateiDialogAb();
    Kind<QPushButton>("ButtonSpeichernAlsText")->click();
    EXPECT_EQ(skript.nachrichten.size(), vorher);
    skript.WaehleDatei(TestVerzeichnis() + QStringLiteral("/fehlt/liste.txt"));
    Kind<QPushButton>("ButtonSpeichernAlsText")->click();
    ASSERT_EQ(skript.Fehler().size(), 1);
    EXPECT_TRUE(skript.Fehler().first().startsWith(QStringLiteral("Error writing the file ")));
}

// Every access key of the window (menu bar, labels, buttons) opens one thing only, in each
// language; the new controls have one each.
TEST_F(InhaltsAnsicht, ZugriffstastenEindeutig) {
    for (const bool englisch : {false, true}) {
        SCOPED_TRACE(englisch ? "English" : "Deutsch");
        TestSprache(englisch);
        form->SetzeTexte();
        QStringList texte;
        for (QAction* menue : form->menuBar()->actions())
            texte << menue->text();
        for (QLabel* label : form->findChildren<QLabel*>())
            if (label->buddy())
                texte << label->text();
        for (QAbstractButton* knopf : form->findChildren<QAbstractButton*>())
            texte << knopf->text();
        QMap<QChar, QString> tasten;
        for (const QString& text : texte) {
            const qsizetype stelle = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
            if (stelle < 0)
                continue;
            const QChar taste = text[stelle + 1].toLower();
            EXPECT_FALSE(tasten.contains(taste))
                << text.toStdString() << " and " << tasten.value(taste).toStdString();
            tasten.insert(taste, text);
        }
        for (const char* name : {"LabelAnsicht", "LabelDialekt", "LabelCodeAnfang"})
            EXPECT_TRUE(Kind<QLabel>(name)->text().contains(QLatin1Char('&'))) << name;
        for (const char* name : {"ButtonKopieren", "ButtonSpeichernAlsText"})
            EXPECT_TRUE(Kind<QPushButton>(name)->text().contains(QLatin1Char('&'))) << name;
    }
}

TEST_F(InhaltsAnsicht, SpracheUndBeschaeftigt) {
    Oeffne(KorpusPfad(GnuBlat));
    TestSprache(false);
    form->SetzeTexte();
    EXPECT_EQ(Ansicht()->currentText(), QStringLiteral("BASIC-Listing"));
    EXPECT_EQ(Kind<QComboBox>("ComboBoxDialekt")->currentText(),
              QStringLiteral("Automatisch: MZ-700 S-BASIC 1Z-013B"));
    // While a long operation runs, the controls are out of reach with the rest of the panel.
    TMZFDatei& datei = form->HoleDatei();
    datei.BeiBeginn(&datei);
    EXPECT_FALSE(Ansicht()->isEnabled());
    EXPECT_FALSE(Kind<QPushButton>("ButtonSpeichernAlsText")->isEnabled());
    datei.BeiEnde(&datei);
    EXPECT_TRUE(Ansicht()->isEnabled());
}

} // namespace
