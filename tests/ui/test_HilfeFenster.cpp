// The brief instruction (with its text file), the version history and the about window, in both
// languages: texts, sizes, the links, and the save with good and failing targets.
#include "FormKurzanleitungUnit.h"
#include "FormUeberDiesesProgrammUnit.h"
#include "FormVersionsHistorieUnit.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "TestUmgebung.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {
const QString Rahmen(80, QLatin1Char('#'));

class HilfeFenster : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        TestSprache(true);
    }
    void TearDown() override { EinstellungenLeeren(); }

    // The file made by pressing "Save as textfile" and choosing `pfad`.
    void Speichere(TFormKurzanleitung& fenster, const QString& pfad) {
        skript.WaehleDatei(pfad);
        fenster.ButtonSpeichern->click();
    }

    TPlattformSkript skript;
    QWidget owner;
};

// No text of a label or button is cut off: each has at least the room its text asks for.
void PruefeNichtsAbgeschnitten(QWidget* fenster) {
    for (QLabel* label : fenster->findChildren<QLabel*>()) {
        if (label->isHidden() || label->text().isEmpty())
            continue;
        EXPECT_GE(label->width(), label->wordWrap() ? 1 : label->sizeHint().width())
            << label->objectName().toStdString();
        const int noetig =
            label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        EXPECT_GE(label->height(), noetig) << label->objectName().toStdString();
        EXPECT_TRUE(fenster->rect().contains(QRect(label->mapTo(fenster, QPoint(0, 0)), label->size())))
            << label->objectName().toStdString();
    }
    for (QPushButton* knopf : fenster->findChildren<QPushButton*>()) {
        EXPECT_GE(knopf->width(), knopf->sizeHint().width()) << knopf->objectName().toStdString();
        EXPECT_TRUE(fenster->rect().contains(QRect(knopf->mapTo(fenster, QPoint(0, 0)), knopf->size())))
            << knopf->objectName().toStdString();
    }
}

QString MitLF(const QString& text) {
    return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The head block of the file as worked out from the catalogue's texts.
QString Kopf(const QString& titel) {
    return Rahmen + QStringLiteral("\r\n\r\nBandwerk  Version 2.4\r\n\r\n") +
           HoleText(QStringLiteral("ProgrammCopyright")) + QStringLiteral("\r\n\r\n") + titel +
           QStringLiteral("\r\n\r\n") + Rahmen + QStringLiteral("\r\n\r\n\r\n");
}

// True when `gespeichert` is `text` with nothing but CR LF pairs put in.
bool NurZeilenendenEingefuegt(const QString& text, const QString& gespeichert) {
    // Longest match first; the instruction has no lone CR that could mislead it.
    qsizetype i = 0;
    qsizetype j = 0;
    while (j < gespeichert.size()) {
        if (i < text.size() && text[i] == gespeichert[j] &&
            !(gespeichert.mid(j, 2) == QStringLiteral("\r\n") && text.mid(i, 2) != QStringLiteral("\r\n"))) {
            ++i;
            ++j;
        } else if (gespeichert.mid(j, 2) == QStringLiteral("\r\n")) {
            j += 2;
        } else {
            return false;
        }
    }
    return i == text.size();
}

TEST_F(HilfeFenster, KurzanleitungZeigtDenTextDerSprache) {
    for (const bool englisch : {true, false}) {
        TestSprache(englisch);
        TFormKurzanleitung fenster(&owner);
        fenster.show();
        EXPECT_EQ(fenster.windowTitle(),
                  englisch ? QStringLiteral("Brief instruction") : QStringLiteral("Kurzanleitung"));
        const QString memo = fenster.MemoKurzanleitung->toPlainText();
        EXPECT_EQ(memo, MitLF(KurzanleitungText()));
        EXPECT_TRUE(memo.startsWith(englisch ? QStringLiteral("General\n-------\n\n")
                                             : QStringLiteral("Allgemeines\n-----------\n\n")));
        for (const char* key : {"ProgrammLizenz", "KontaktAutorText", "HaftungsAusschlussText"})
            EXPECT_TRUE(memo.contains(MitLF(HoleText(QLatin1String(key))))) << key;
        EXPECT_FALSE(memo.contains(QLatin1Char('~')));
        EXPECT_FALSE(memo.contains(QLatin1Char('\r')));
        EXPECT_TRUE(fenster.MemoKurzanleitung->isReadOnly());
        EXPECT_EQ(fenster.ButtonSpeichern->text(), englisch ? QStringLiteral("&Save as textfile")
                                                            : QStringLiteral("Speichern als &Textdatei"));
        EXPECT_EQ(fenster.ButtonSchliessen->text(),
                  englisch ? QStringLiteral("&Close") : QStringLiteral("&Schließen"));
        EXPECT_TRUE(fenster.ButtonSchliessen->isDefault());
        EXPECT_GE(fenster.width(), 593);
        EXPECT_GE(fenster.height(), 420);
        EXPECT_GE(fenster.minimumWidth(), 593);
        EXPECT_GE(fenster.minimumHeight(), 420);
        EXPECT_GT(fenster.maximumWidth(), 10000); // it can grow
        EXPECT_TRUE(fenster.windowFlags() & Qt::WindowMaximizeButtonHint);
        // The save button left, the close button right.
        EXPECT_LT(fenster.ButtonSpeichern->x(), fenster.ButtonSchliessen->x());
        PruefeNichtsAbgeschnitten(&fenster);
        fenster.ButtonSchliessen->click();
        EXPECT_FALSE(fenster.isVisible());
    }
}

TEST_F(HilfeFenster, EscUndEnterSchliessen) {
    for (const Qt::Key taste : {Qt::Key_Escape, Qt::Key_Return}) {
        TFormVersionsHistorie fenster(&owner);
        fenster.show();
        QTest::keyClick(&fenster, taste);
        EXPECT_FALSE(fenster.isVisible()) << taste;
    }
}

TEST_F(HilfeFenster, SpeichernSchlaegtDenNamenDerSpracheVor) {
    for (const bool englisch : {true, false}) {
        TestSprache(englisch);
        TFormKurzanleitung fenster(&owner);
        fenster.show();
        skript.Leeren();
        skript.BrichDateiDialogAb();
        fenster.ButtonSpeichern->click();
        ASSERT_EQ(skript.dialoge.size(), 1);
        const TDateiDialog& d = skript.dialoge[0];
        EXPECT_TRUE(d.speichern);
        EXPECT_EQ(d.vorschlag, englisch ? QStringLiteral("ReadMe.txt") : QStringLiteral("LiesMich.txt"));
        EXPECT_EQ(d.titel, englisch ? QStringLiteral("Save brief instruction")
                                    : QStringLiteral("Kurzanleitung speichern"));
        EXPECT_EQ(d.filter, englisch ? QStringLiteral("TXT-files (*.txt)|*.txt|All files (*.*)|*.*")
                                     : QStringLiteral("TXT-Dateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*"));
        EXPECT_EQ(d.standardErweiterung, QStringLiteral("txt"));
        EXPECT_EQ(d.startVerzeichnis, QDir::currentPath());
        // Cancelled: nothing said, the window stays.
        EXPECT_TRUE(skript.nachrichten.isEmpty());
        EXPECT_TRUE(fenster.isVisible());
    }
}

TEST_F(HilfeFenster, GespeicherteKurzanleitung) {
    for (const bool englisch : {true, false}) {
        SCOPED_TRACE(englisch ? "English" : "Deutsch");
        TestSprache(englisch);
        TFormKurzanleitung fenster(&owner);
        fenster.show();
        skript.Leeren();
        const QString pfad =
            TestVerzeichnis() + (englisch ? QStringLiteral("/ReadMe.txt") : QStringLiteral("/LiesMich.txt"));
        Speichere(fenster, pfad);
        EXPECT_EQ(skript.Texte(), QStringList{(englisch ? QStringLiteral("The file %1 has been saved.")
                                                        : QStringLiteral("Die Datei %1 wurde gespeichert."))
                                                  .arg(pfad)});
        EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Information);
        EXPECT_TRUE(fenster.isVisible());

        const QByteArray bytes = LiesDatei(pfad);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString inhalt = utf8.decode(bytes);
        ASSERT_FALSE(utf8.hasError());
        if (!englisch) {
            // "Einschränkungen", written as UTF-8.
            EXPECT_TRUE(bytes.contains("Einschr\xC3\xA4nkungen"));
        }
        EXPECT_TRUE(inhalt.startsWith(Rahmen + QStringLiteral("\r\n\r\n")));
        const QString kopf =
            Kopf(englisch ? QStringLiteral("Brief instruction") : QStringLiteral("Kurzanleitung"));
        ASSERT_TRUE(inhalt.startsWith(kopf)) << inhalt.left(kopf.size() + 20).toStdString();
        const QString text = inhalt.mid(kopf.size());
        // Every line of the file ends with CR LF; none is longer than 80 characters.
        const QStringList zeilen = inhalt.split(QStringLiteral("\r\n"));
        for (const QString& zeile : zeilen) {
            EXPECT_LE(zeile.size(), 80) << zeile.toStdString();
            EXPECT_FALSE(zeile.contains(QLatin1Char('\r')) || zeile.contains(QLatin1Char('\n')));
        }
        // The text is the memo's with line ends put in, and nothing after its last character.
        const QString memo = KurzanleitungText();
        EXPECT_TRUE(NurZeilenendenEingefuegt(memo, text));
        const auto zeilenendenAmSchluss = [](const QString& t) {
            int n = 0;
            while (t.sliced(0, t.size() - 2 * n).endsWith(QStringLiteral("\r\n")))
                ++n;
            return n;
        };
        EXPECT_EQ(zeilenendenAmSchluss(text), zeilenendenAmSchluss(memo));
        EXPECT_EQ(zeilenendenAmSchluss(memo), 3); // the last line, then two empty lines
        // Some paragraph was long enough to be wrapped.
        EXPECT_GT(text.count(QStringLiteral("\r\n")), memo.count(QStringLiteral("\r\n")) + 10);
    }
}

TEST_F(HilfeFenster, SpeichernUeberEineVorhandeneDatei) {
    TFormKurzanleitung fenster(&owner);
    fenster.show();
    const QString pfad = TestVerzeichnis() + QStringLiteral("/ReadMe.txt");
    SchreibeDatei(pfad, QByteArray(100000, 'x'));
    Speichere(fenster, pfad);
    EXPECT_TRUE(skript.Fehler().isEmpty());
    const QByteArray bytes = LiesDatei(pfad);
    EXPECT_TRUE(bytes.startsWith(Rahmen.toLatin1()));
    EXPECT_FALSE(bytes.contains("xxxx"));
    // Nothing but the file is left in the directory.
    EXPECT_EQ(QDir(QFileInfo(pfad).absolutePath()).entryList(QDir::Files),
              QStringList{QStringLiteral("ReadMe.txt")});
}

// A target that cannot be written: the error with the path and the system's reason, no success
// message, the window stays open and an existing file is left as it was.
TEST_F(HilfeFenster, ScheiterndesSpeichernWirdGemeldet) {
    const QString verzeichnis = TestVerzeichnis();
    const QString fehlend = verzeichnis + QStringLiteral("/missing/ReadMe.txt");
    const QString ordner = verzeichnis + QStringLiteral("/ReadMe.txt");
    QDir().mkpath(ordner);
    for (const QString& pfad : {fehlend, ordner}) {
        SCOPED_TRACE(pfad.toStdString());
        TFormKurzanleitung fenster(&owner);
        fenster.show();
        skript.Leeren();
        Speichere(fenster, pfad);
        ASSERT_EQ(skript.nachrichten.size(), 1);
        EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Fehler);
        const QString vor =
            QStringLiteral("Error writing the file ") + pfad + QStringLiteral("!\r\n\r\nError-description: ");
        EXPECT_TRUE(skript.nachrichten[0].text.startsWith(vor)) << skript.nachrichten[0].text.toStdString();
        EXPECT_GT(skript.nachrichten[0].text.size(), vor.size() + 3) << "no reason given";
        EXPECT_TRUE(fenster.isVisible());
    }
    EXPECT_FALSE(QFileInfo::exists(fehlend));
    EXPECT_TRUE(QFileInfo(ordner).isDir());
}

// A write that stops half-way (here: a file size limit of the process) reports the system's own
// reason, and the old file is untouched.
TEST_F(HilfeFenster, KurzesSchreibenZeigtDenWahrenGrund) {
    const QString pfad = TestVerzeichnis() + QStringLiteral("/ReadMe.txt");
    const QByteArray alt("old contents\r\n");
    SchreibeDatei(pfad, alt);
    TFormKurzanleitung fenster(&owner);
    fenster.show();

    rlimit vorher{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &vorher), 0);
    const auto signalVorher = std::signal(SIGXFSZ, SIG_IGN);
    rlimit grenze = vorher;
    grenze.rlim_cur = 1000; // the file needs several kilobytes
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &grenze), 0);
    Speichere(fenster, pfad);
    setrlimit(RLIMIT_FSIZE, &vorher);
    std::signal(SIGXFSZ, signalVorher);

    ASSERT_EQ(skript.nachrichten.size(), 1);
    EXPECT_EQ(skript.nachrichten[0].text, QStringLiteral("Error writing the file ") + pfad +
                                              QStringLiteral("!\r\n\r\nError-description: File too large"));
    EXPECT_EQ(LiesDatei(pfad), alt);
    EXPECT_EQ(QDir(QFileInfo(pfad).absolutePath()).entryList(QDir::Files),
              QStringList{QStringLiteral("ReadMe.txt")});
}

// The store cannot be read for the suggested name: told, and the file is saved all the same.
TEST_F(HilfeFenster, UnlesbarerSpeicherHaeltDasSpeichernNichtAuf) {
    TFormKurzanleitung fenster(&owner);
    fenster.show();
    const QString pfad = TestVerzeichnis() + QStringLiteral("/ReadMe.txt");
    EinstellungsSpeicherZerstoeren();
    Speichere(fenster, pfad);
    EinstellungsSpeicherReparieren();
    ASSERT_EQ(skript.nachrichten.size(), 2);
    EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Fehler);
    EXPECT_EQ(skript.nachrichten[1].text,
              QStringLiteral("The file ") + pfad + QStringLiteral(" has been saved."));
    EXPECT_TRUE(LiesDatei(pfad).startsWith(Rahmen.toLatin1()));
}

TEST_F(HilfeFenster, VersionsHistorie) {
    for (const bool englisch : {true, false}) {
        TestSprache(englisch);
        TFormVersionsHistorie fenster(&owner);
        fenster.show();
        EXPECT_EQ(fenster.windowTitle(),
                  englisch ? QStringLiteral("Version history") : QStringLiteral("Versions-Historie"));
        const QString memo = fenster.MemoVersionsHistorie->toPlainText();
        EXPECT_EQ(memo, MitLF(HoleText(QStringLiteral("FormVersionsHistorie_MemoVersionsHistorie"))));
        EXPECT_TRUE(memo.startsWith(englisch ? QStringLiteral("Version 2.4 (June 2011) \n")
                                             : QStringLiteral("Version 2.4 (Juni 2011) \n")));
        EXPECT_TRUE(fenster.MemoVersionsHistorie->isReadOnly());
        EXPECT_EQ(fenster.ButtonSchliessen->text(),
                  englisch ? QStringLiteral("&Close") : QStringLiteral("&Schließen"));
        EXPECT_TRUE(fenster.ButtonSchliessen->isDefault());
        EXPECT_GE(fenster.width(), 545);
        EXPECT_GE(fenster.height(), 420);
        EXPECT_GE(fenster.minimumWidth(), 545);
        EXPECT_GE(fenster.minimumHeight(), 420);
        PruefeNichtsAbgeschnitten(&fenster);
        fenster.ButtonSchliessen->click();
        EXPECT_FALSE(fenster.isVisible());
    }
}

TEST_F(HilfeFenster, UeberDiesesProgramm) {
    for (const bool englisch : {true, false}) {
        SCOPED_TRACE(englisch ? "English" : "Deutsch");
        TestSprache(englisch);
        TFormUeberDiesesProgramm fenster(&owner);
        fenster.show();
        EXPECT_EQ(fenster.windowTitle(), QStringLiteral("Bandwerk"));
        EXPECT_EQ(fenster.LabelTitel->text(), QStringLiteral("Bandwerk"));
        EXPECT_EQ(fenster.LabelTitel->font().pixelSize(), 24);
        EXPECT_TRUE(fenster.LabelTitel->font().bold());
        EXPECT_EQ(fenster.LabelVersion->text(), QStringLiteral("Version 2.4"));
        EXPECT_EQ(fenster.LabelCopyright->text(), HoleText(QStringLiteral("ProgrammCopyright")));
        EXPECT_EQ(fenster.LabelLizenz->text(), HoleText(QStringLiteral("ProgrammLizenz")));
        EXPECT_EQ(fenster.LabelKontaktUeberschrift->text(),
                  englisch ? QStringLiteral("Contact to the author:") : QStringLiteral("Kontakt zum Autor:"));
        EXPECT_TRUE(fenster.LabelKontaktUeberschrift->font().bold());
        EXPECT_EQ(fenster.LabelLinkEMail->text(),
                  (englisch ? QStringLiteral("E-mail: ") : QStringLiteral("eMail: ")) +
                      QStringLiteral(BANDWERK_EMAIL));
        EXPECT_EQ(fenster.LabelLinkWWW->text(), QStringLiteral("Internet: " BANDWERK_WEB));
        EXPECT_TRUE(fenster.LabelLinkEMail->font().underline());
        EXPECT_EQ(fenster.LabelKontakt->text(), HoleText(QStringLiteral("KontaktAutorText")));
        EXPECT_EQ(fenster.LabelDanksagungenUeberschrift->text(),
                  englisch ? QStringLiteral("Thanks to:") : QStringLiteral("Danksagungen an:"));
        EXPECT_EQ(fenster.LabelDanksagungenText->text().count(QStringLiteral("- ")), 3);
        EXPECT_EQ(fenster.LabelUndanksagungenUeberschrift->text(),
                  englisch ? QStringLiteral("No thanks to:") : QStringLiteral("Undanksagungen an:"));
        EXPECT_EQ(fenster.LabelUndanksagungenText->text(),
                  MitLF(HoleText(QStringLiteral("FormUeberDiesesProgramm_LabelUndanksagungenText"))));
        EXPECT_EQ(fenster.LabelHaftungsAusschlussUeberschrift->text(),
                  englisch ? QStringLiteral("Disclaimer:") : QStringLiteral("Haftungsausschluss:"));
        EXPECT_EQ(fenster.LabelHaftungsAusschlussText->text(),
                  MitLF(HoleText(QStringLiteral("HaftungsAusschlussText"))));
        EXPECT_EQ(fenster.ButtonSchliessen->text(),
                  englisch ? QStringLiteral("&Close") : QStringLiteral("&Schließen"));
        EXPECT_TRUE(fenster.ButtonSchliessen->isDefault());
        // The ship at 16, 16; the window fixed and at least as designed.
        EXPECT_EQ(fenster.ImageMZSchiff->pos(), QPoint(16, 16));
        EXPECT_FALSE(fenster.ImageMZSchiff->pixmap().isNull());
        EXPECT_GE(fenster.width(), 551);
        EXPECT_GE(fenster.height(), 401);
        EXPECT_EQ(fenster.minimumSize(), fenster.maximumSize());
        // Top to bottom in the order of the labels.
        const QLabel* folge[] = {fenster.LabelTitel,
                                 fenster.LabelVersion,
                                 fenster.LabelCopyright,
                                 fenster.LabelLizenz,
                                 fenster.LabelKontaktUeberschrift,
                                 fenster.LabelLinkEMail,
                                 fenster.LabelLinkWWW,
                                 fenster.LabelKontakt,
                                 fenster.LabelDanksagungenUeberschrift,
                                 fenster.LabelDanksagungenText,
                                 fenster.LabelUndanksagungenUeberschrift,
                                 fenster.LabelUndanksagungenText,
                                 fenster.LabelHaftungsAusschlussUeberschrift,
                                 fenster.LabelHaftungsAusschlussText};
        for (std::size_t i = 1; i < std::size(folge); ++i)
            EXPECT_GT(folge[i]->y(), folge[i - 1]->y()) << folge[i]->objectName().toStdString();
        EXPECT_GT(fenster.ButtonSchliessen->y(), fenster.LabelHaftungsAusschlussText->y());
        PruefeNichtsAbgeschnitten(&fenster);
        fenster.ButtonSchliessen->click();
        EXPECT_FALSE(fenster.isVisible());
    }
}

TEST_F(HilfeFenster, VerweiseOeffnenMailUndBrowserStill) {
    TFormUeberDiesesProgramm fenster(&owner);
    fenster.show();
    QTest::mouseClick(fenster.LabelLinkEMail, Qt::LeftButton);
    EXPECT_EQ(skript.adressen, QStringList{QStringLiteral("mailto:" BANDWERK_EMAIL)});
    skript.adressen.clear();
    QTest::mouseClick(fenster.LabelLinkWWW, Qt::LeftButton);
    EXPECT_EQ(skript.adressen, QStringList{QStringLiteral(BANDWERK_WEB)});
    skript.adressen.clear();
    // Only the two links open anything, and only with the left button.
    QTest::mouseClick(fenster.LabelLinkWWW, Qt::RightButton);
    QTest::mouseClick(fenster.LabelKontakt, Qt::LeftButton);
    QTest::mouseClick(fenster.ImageMZSchiff, Qt::LeftButton);
    EXPECT_TRUE(skript.adressen.isEmpty());
    EXPECT_TRUE(skript.nachrichten.isEmpty());
    EXPECT_TRUE(fenster.isVisible());
}
} // namespace
