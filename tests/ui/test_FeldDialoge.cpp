// The five field edit dialogs on their own: what their OK buttons accept and refuse, the
// number-system switch, and what they show.
#include "AendernGemeinsam.h"
#include "FormAendernMZDateiAttributUnit.h"
#include "FormAendernMZDateiNameUnit.h"
#include "FormAendernMZKommentarUnit.h"
#include "FormAendernMZLadeAdresseUnit.h"
#include "FormAendernMZStartAdresseUnit.h"
#include "PlattformSkript.h"
#include "TestUmgebung.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
const QString UngueltigeZahl = QStringLiteral("Invalid number: ");
const QString FalschesZahlensystem = QStringLiteral(
    "Wrong number system!\r\n\r\nHint: For hexadecimal numbers please enter a leading dollar-character ($)!");
const QString ZuGross =
    QStringLiteral("Using this MZ-load-address, the end of the MZ-program is beyond the upper "
                   "limit of the MZ-RAM $FFFF!\r\n\r\nContinue anyway?");
const QString Verlust =
    QStringLiteral("Due to this change MZ-specific characters will be lost!\r\n\r\nContinue anyway?");

class FeldDialog : public ::testing::Test {
protected:
    void SetUp() override { TestSprache(true); }
    void TearDown() override { EXPECT_EQ(skript.sanduhrTiefe, 0); }

    template <typename T> static T* Kind(QWidget* w, const char* name) {
        T* kind = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(kind, nullptr) << name;
        return kind;
    }
    static void KlickeOK(QWidget* w) { Kind<QPushButton>(w, "ButtonOK")->click(); }
    static void WaehleDezimal(QWidget* w) {
        Kind<QRadioButton>(w, "RadioGroupZahlensystem_Dezimal")->click();
    }
    static void WaehleHex(QWidget* w) {
        Kind<QRadioButton>(w, "RadioGroupZahlensystem_Hexadezimal")->click();
    }

    TPlattformSkript skript;
    QWidget owner;
};

// Typed text, OK pressed: whether the dialog closed with OK, and the messages shown meanwhile.
struct TLadeAdressFall {
    QString eingabe;
    bool dezimal;
    std::uint16_t groesse;
    bool akzeptiert;
    QString meldung; // empty: no message
};

TEST_F(FeldDialog, LadeAdresseZeigtHexUndTexte) {
    TFormAendernMZLadeAdresse dialog(&owner, 0x1200, 0x1000);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change MZ-load-address"));
    EXPECT_EQ(Kind<QLabel>(&dialog, "LabelMZLadeAdresse")->text(), QStringLiteral("MZ-load-address"));
    EXPECT_EQ(Kind<QGroupBox>(&dialog, "RadioGroupZahlensystem")->title(), QStringLiteral("Number system"));
    EXPECT_EQ(Kind<QRadioButton>(&dialog, "RadioGroupZahlensystem_Hexadezimal")->text(),
              QStringLiteral("hex."));
    EXPECT_EQ(Kind<QRadioButton>(&dialog, "RadioGroupZahlensystem_Dezimal")->text(), QStringLiteral("dec."));
    EXPECT_EQ(Kind<QPushButton>(&dialog, "ButtonOK")->text(), QStringLiteral("&OK"));
    EXPECT_EQ(Kind<QPushButton>(&dialog, "ButtonAbbrechen")->text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(Kind<QRadioButton>(&dialog, "RadioGroupZahlensystem_Hexadezimal")->isChecked());
    EXPECT_EQ(dialog.EditMZLadeAdresse->text(), QStringLiteral("$1200"));
    EXPECT_TRUE(Kind<QPushButton>(&dialog, "ButtonOK")->isDefault());
}

TEST_F(FeldDialog, LadeAdresseOKPrueftInDieserReihenfolge) {
    const TLadeAdressFall faelle[] = {
        // Size $1000 at $F001 ends at $10000: warning; $F000 ends at $FFFF: silent.
        {QStringLiteral("$F000"), false, 0x1000, true, {}},
        {QStringLiteral("$FFFF"), false, 1, true, {}},
        {QStringLiteral("$0000"), false, 0, true, {}},
        {QStringLiteral("$FFFF"), false, 0, true, {}},
        {QStringLiteral("4660"), true, 0x1000, true, {}},
        {QStringLiteral("  $1200  "), false, 0x1000, true, {}},
        {QStringLiteral("4660"), false, 0x1000, false, FalschesZahlensystem},
        {QStringLiteral("$1234"), true, 0x1000, false, FalschesZahlensystem},
        {QStringLiteral("x1234"), false, 0x1000, false, FalschesZahlensystem},
        {QString(), false, 0x1000, false, UngueltigeZahl},
        {QStringLiteral("12G4"), true, 0x1000, false, UngueltigeZahl + QStringLiteral("12G4")},
        {QStringLiteral("$"), false, 0x1000, false, UngueltigeZahl + QStringLiteral("$")},
        {QStringLiteral("70000"), true, 0x1000, false, UngueltigeZahl + QStringLiteral("70000")},
        {QStringLiteral("$10000"), false, 0, false, UngueltigeZahl + QStringLiteral("$10000")},
        {QStringLiteral("-1"), true, 0, false, UngueltigeZahl + QStringLiteral("-1")},
        {QStringLiteral("$12 34"), false, 0, false, UngueltigeZahl + QStringLiteral("$12 34")},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.eingabe.toStdString());
        skript.Leeren();
        TFormAendernMZLadeAdresse dialog(&owner, 0x1200, fall.groesse);
        dialog.show();
        if (fall.dezimal)
            WaehleDezimal(&dialog);
        dialog.EditMZLadeAdresse->setText(fall.eingabe);
        KlickeOK(&dialog);
        EXPECT_EQ(dialog.result() == QDialog::Accepted, fall.akzeptiert);
        EXPECT_EQ(dialog.isVisible(), !fall.akzeptiert);
        if (fall.meldung.isEmpty()) {
            EXPECT_TRUE(skript.nachrichten.isEmpty());
        } else {
            ASSERT_EQ(skript.nachrichten.size(), 1);
            EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Fehler);
            EXPECT_EQ(skript.nachrichten[0].text, fall.meldung);
            EXPECT_EQ(dialog.focusWidget(), dialog.EditMZLadeAdresse);
        }
        if (fall.akzeptiert) {
            EXPECT_EQ(dialog.EditMZLadeAdresse->text(), fall.eingabe.trimmed());
        }
    }
}

TEST_F(FeldDialog, LadeAdresseJenseitsVonFFFFFragtNach) {
    for (const auto& [adresse, groesse] : {std::pair{u"$F001", 0x1000}, std::pair{u"$FFFF", 2}}) {
        for (const TAntwort antwort : {TAntwort::Nein, TAntwort::Ja}) {
            skript.Leeren();
            TFormAendernMZLadeAdresse dialog(&owner, 0x1200, static_cast<std::uint16_t>(groesse));
            dialog.show();
            dialog.EditMZLadeAdresse->setText(QString::fromUtf16(adresse));
            skript.Antworte(antwort);
            KlickeOK(&dialog);
            ASSERT_EQ(skript.nachrichten.size(), 1);
            EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Warnung);
            EXPECT_TRUE(skript.nachrichten[0].frage);
            EXPECT_FALSE(skript.nachrichten[0].mitAbbrechen);
            EXPECT_EQ(skript.nachrichten[0].text, ZuGross);
            EXPECT_EQ(dialog.result() == QDialog::Accepted, antwort == TAntwort::Ja);
        }
    }
}

TEST_F(FeldDialog, ZahlensystemWechselRechnetUmOhneZuPruefen) {
    TFormAendernMZLadeAdresse dialog(&owner, 0x1200, 0x10);
    dialog.show();
    QLineEdit* edit = dialog.EditMZLadeAdresse;
    WaehleDezimal(&dialog);
    EXPECT_EQ(edit->text(), QStringLiteral("4608"));
    WaehleHex(&dialog);
    EXPECT_EQ(edit->text(), QStringLiteral("$1200"));
    // No range check while switching.
    edit->setText(QStringLiteral("70000"));
    WaehleDezimal(&dialog); // already decimal text: stays a number
    EXPECT_EQ(edit->text(), QStringLiteral("70000"));
    WaehleHex(&dialog);
    EXPECT_EQ(edit->text(), QStringLiteral("$11170"));
    WaehleDezimal(&dialog);
    edit->setText(QStringLiteral("-1"));
    WaehleHex(&dialog);
    EXPECT_EQ(edit->text(), QStringLiteral("$FFFFFFFF"));
    edit->setText(QStringLiteral("10"));
    WaehleDezimal(&dialog);
    EXPECT_EQ(edit->text(), QStringLiteral("10"));
    WaehleHex(&dialog);
    EXPECT_EQ(edit->text(), QStringLiteral("$000A"));
    // An unconvertible text gives way to the kept address, without a message.
    edit->setText(QStringLiteral("abc"));
    WaehleDezimal(&dialog);
    EXPECT_EQ(edit->text(), QStringLiteral("4608"));
    edit->setText(QStringLiteral("zz"));
    WaehleHex(&dialog);
    EXPECT_EQ(edit->text(), QStringLiteral("$1200"));
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(FeldDialog, StartAdresseOhneEndPruefung) {
    {
        TFormAendernMZStartAdresse dialog(&owner, 0x00AB);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change MZ-start-address"));
        EXPECT_EQ(Kind<QLabel>(&dialog, "LabelMZStartAdresse")->text(), QStringLiteral("MZ-start-address"));
        EXPECT_EQ(dialog.EditMZStartAdresse->text(), QStringLiteral("$00AB"));
        dialog.EditMZStartAdresse->setText(QStringLiteral("$FFFF"));
        KlickeOK(&dialog);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(skript.nachrichten.isEmpty());
    }
    {
        TFormAendernMZStartAdresse dialog(&owner, 0x1200);
        dialog.show();
        WaehleDezimal(&dialog);
        EXPECT_EQ(dialog.EditMZStartAdresse->text(), QStringLiteral("4608"));
        dialog.EditMZStartAdresse->setText(QStringLiteral("$1200"));
        KlickeOK(&dialog);
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(skript.Fehler(), QStringList{FalschesZahlensystem});
        skript.Leeren();
        dialog.EditMZStartAdresse->setText(QStringLiteral("65536"));
        KlickeOK(&dialog);
        EXPECT_EQ(skript.Fehler(), QStringList{UngueltigeZahl + QStringLiteral("65536")});
        skript.Leeren();
        dialog.EditMZStartAdresse->setText(QStringLiteral("65535"));
        KlickeOK(&dialog);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        // Switching back from a fallback uses the kept start address.
    }
    {
        TFormAendernMZStartAdresse dialog(&owner, 0x0102);
        dialog.show();
        dialog.EditMZStartAdresse->setText(QStringLiteral("?"));
        WaehleDezimal(&dialog);
        EXPECT_EQ(dialog.EditMZStartAdresse->text(), QStringLiteral("258"));
    }
}

TEST_F(FeldDialog, NameWirdGeprueftUndFragtImmerNachVerlust) {
    {
        TFormAendernMZDateiName dialog(&owner, QStringLiteral("HELLO"));
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change MZ-filename"));
        EXPECT_EQ(Kind<QLabel>(&dialog, "LabelMZDateiName")->text(), QStringLiteral("MZ-filename"));
        EXPECT_EQ(dialog.EditMZDateiName->text(), QStringLiteral("HELLO"));
        EXPECT_EQ(dialog.EditMZDateiName->maxLength(), 16);
        // Unchanged text still asks; No keeps the dialog open.
        skript.Antworte(TAntwort::Nein);
        KlickeOK(&dialog);
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(skript.nachrichten.size(), 1);
        EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Warnung);
        EXPECT_EQ(skript.nachrichten[0].text, Verlust);
        EXPECT_EQ(dialog.focusWidget(), dialog.EditMZDateiName);
        skript.Antworte(TAntwort::Ja);
        KlickeOK(&dialog);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    {
        skript.Leeren();
        TFormAendernMZDateiName dialog(&owner, QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        dialog.show();
        EXPECT_EQ(dialog.EditMZDateiName->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
        // The first character without an MZ code is named; later ones are not looked at.
        dialog.EditMZDateiName->setText(QStringLiteral("AB\u20ACC\u00A7"));
        KlickeOK(&dialog);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(skript.Texte(),
                  QStringList{QStringLiteral("The character <\u20AC> cannot be used because it doesn't exist "
                                             "in the ASCII-code of the MZ!!")});
        EXPECT_EQ(dialog.focusWidget(), dialog.EditMZDateiName);
        // A character outside the 16-bit range is named whole.
        skript.Leeren();
        dialog.EditMZDateiName->setText(QStringLiteral("A\U0001F600B"));
        KlickeOK(&dialog);
        EXPECT_EQ(skript.Texte(),
                  QStringList{QStringLiteral("The character <\U0001F600> cannot be used because it doesn't "
                                             "exist in the ASCII-code of the MZ!!")});
        // The empty name passes the check.
        skript.Leeren();
        dialog.EditMZDateiName->clear();
        skript.Antworte(TAntwort::Ja);
        KlickeOK(&dialog);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
}

TEST_F(FeldDialog, KommentarEnterDrueckOKUndZeilenumbruchWirdAbgelehnt) {
    const QString lang(120, QLatin1Char('x'));
    TFormAendernMZKommentar dialog(&owner, lang);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change MZ-comment"));
    EXPECT_EQ(Kind<QLabel>(&dialog, "LabelMZKommentar")->text(), QStringLiteral("MZ-comment"));
    EXPECT_EQ(dialog.MemoMZKommentar->toPlainText(), QString(103, QLatin1Char('x')));
    // Typing beyond 103 characters is cut off.
    dialog.MemoMZKommentar->insertPlainText(QStringLiteral("yyy"));
    EXPECT_EQ(dialog.MemoMZKommentar->toPlainText().size(), 103);

    dialog.MemoMZKommentar->setPlainText(QStringLiteral("AB"));
    dialog.MemoMZKommentar->moveCursor(QTextCursor::End);
    QKeyEvent ctrlEnter(QEvent::KeyPress, Qt::Key_Return, Qt::ControlModifier);
    QApplication::sendEvent(dialog.MemoMZKommentar, &ctrlEnter);
    ASSERT_EQ(dialog.MemoMZKommentar->toPlainText(), QStringLiteral("AB\n"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(dialog.MemoMZKommentar, &enter);
    // Enter pressed OK, whose check refused the line break; the memo kept its text.
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.MemoMZKommentar->toPlainText(), QStringLiteral("AB\n"));
    ASSERT_EQ(skript.Fehler().size(), 1);
    EXPECT_TRUE(skript.Fehler()[0].startsWith(QStringLiteral("The character <")));
    EXPECT_EQ(dialog.focusWidget(), dialog.MemoMZKommentar);

    skript.Leeren();
    dialog.MemoMZKommentar->setPlainText(QStringLiteral("HELLO WORLD"));
    skript.Antworte(TAntwort::Ja);
    QApplication::sendEvent(dialog.MemoMZKommentar, &enter);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(skript.Texte(), QStringList{Verlust});
}

TEST_F(FeldDialog, AttributListeHatAlle256Eintraege) {
    TFormAendernMZDateiAttribut dialog(&owner, 0x05);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change MZ-file-attribute"));
    EXPECT_EQ(Kind<QLabel>(&dialog, "LabelMZDateiAttribut")->text(), QStringLiteral("MZ-file-attribute"));
    QListWidget* liste = dialog.ListBoxMZDateiAttribut;
    ASSERT_EQ(liste->count(), 256);
    EXPECT_EQ(liste->item(0)->text(), QStringLiteral("Unknown ($00)"));
    EXPECT_EQ(liste->item(1)->text(), QStringLiteral("Machine-language-program ($01)"));
    EXPECT_EQ(liste->item(0xBA)->text(), QStringLiteral("MZ-700/800 K&P-FORTRAN-object-file ($BA)"));
    EXPECT_EQ(liste->item(0xFF)->text(), QStringLiteral("Unknown ($FF)"));
    EXPECT_EQ(dialog.GewaehltesAttribut(), 0x05);
    EXPECT_GE(skript.sanduhrAnzahl, 1);
    EXPECT_GE(dialog.width(), 369);
    EXPECT_GE(dialog.height(), 412);

    liste->clearSelection();
    EXPECT_EQ(dialog.GewaehltesAttribut(), 0x01);
    KlickeOK(&dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(FeldDialog, AttributDoppelklickIstOK) {
    TFormAendernMZDateiAttribut dialog(&owner, 0x01);
    dialog.show();
    QListWidget* liste = dialog.ListBoxMZDateiAttribut;
    liste->setCurrentRow(0xBF);
    Q_EMIT liste->itemDoubleClicked(liste->item(0xBF));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GewaehltesAttribut(), 0xBF);
}

TEST_F(FeldDialog, AbbrechenSchliesstOhnePruefung) {
    TFormAendernMZLadeAdresse dialog(&owner, 0x1200, 0x1000);
    dialog.show();
    dialog.EditMZLadeAdresse->setText(QStringLiteral("nonsense"));
    Kind<QPushButton>(&dialog, "ButtonAbbrechen")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(FeldDialog, DeutscheTexte) {
    TestSprache(false);
    TFormAendernMZLadeAdresse dialog(&owner, 0x1200, 0x1000);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("MZ-Ladeadresse ändern"));
    EXPECT_EQ(Kind<QPushButton>(&dialog, "ButtonAbbrechen")->text(), QStringLiteral("&Abbrechen"));
    EXPECT_EQ(Kind<QRadioButton>(&dialog, "RadioGroupZahlensystem_Dezimal")->text(), QStringLiteral("dez."));
    EXPECT_EQ(Kind<QGroupBox>(&dialog, "RadioGroupZahlensystem")->title(), QStringLiteral("Zahlensystem"));
    dialog.EditMZLadeAdresse->setText(QStringLiteral("1"));
    KlickeOK(&dialog);
    EXPECT_EQ(skript.Fehler(),
              QStringList{QStringLiteral("Falsches Zahlensystem!\r\n\r\nHinweis: Bei hexadezimalen "
                                         "Zahlen bitte ein führendes Dollar-Zeichen ($) eingeben!")});
    TestSprache(true);
}
} // namespace
