// The main window driven as the user drives it: the menu, the file dialogs (scripted), the
// change buttons with their modal dialogs, the busy state and the close question.
#include "FormHauptTestBasis.h"
#include "FormHauptUnit.h"
#include "MZFDatei.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "TestUmgebung.h"
#include "WAVBau.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {
const QString GnuBlat = QStringLiteral("psychotimmy-Sharp-MZ-700/GNU BLAT 2000.mzf");
const QString NichtGespeichert =
    QStringLiteral("The MZF-file was not saved!\r\n\r\nDo you want to save the file now?");
const QString Beschaeftigt =
    QStringLiteral("Bandwerk is busy at the moment.\r\nIf the program will be terminated "
                   "now, loss of data can occur!\r\nDo you want to terminate Bandwerk now "
                   "anyway?");

const char* const EintraegeBeiDatei[] = {
    "MenueHaupt_Datei_Schliessen", "MenueHaupt_Datei_Speichern", "MenueHaupt_Datei_SpeichernUnter",
    "MenueHaupt_ImportExport_ExportMZT", "MenueHaupt_ImportExport_ExportWAV"};
const char* const EintraegeOhneDatei[] = {"MenueHaupt_Datei_Oeffnen", "MenueHaupt_ImportExport_ImportMZT",
                                          "MenueHaupt_ImportExport_ImportWAV"};
const char* const EintraegeImmer[] = {"MenueHaupt_Datei_Beenden", "MenueHaupt_Extras_Einstellungen",
                                      "MenueHaupt_Hilfe_Kurzanleitung", "MenueHaupt_Hilfe_VersionsHistorie",
                                      "MenueHaupt_Hilfe_UeberDiesesProgramm"};

class FormHaupt : public FormHauptBasis {};

void PruefeMenue(QWidget* form, bool geladen) {
    for (const char* name : EintraegeBeiDatei)
        EXPECT_EQ(form->findChild<QAction*>(QLatin1String(name))->isEnabled(), geladen) << name;
    for (const char* name : EintraegeOhneDatei)
        EXPECT_EQ(form->findChild<QAction*>(QLatin1String(name))->isEnabled(), !geladen) << name;
    for (const char* name : EintraegeImmer)
        EXPECT_TRUE(form->findChild<QAction*>(QLatin1String(name))->isEnabled()) << name;
}

TEST_F(FormHaupt, LeeresFensterBeimErstenStart) {
    auto form = NeueForm();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk"));
    EXPECT_FALSE(IstSichtbar(form.get(), "PanelMZFDatei"));
    EXPECT_TRUE(IstSichtbar(form.get(), "ImageMZSchiff"));
    PruefeMenue(form.get(), false);
    QWidget* flaeche = form->centralWidget();
    EXPECT_EQ(flaeche->palette().color(QPalette::Window), form->palette().color(QPalette::Dark));
    // Nothing stored: the top-left corner of the screen.
    EXPECT_EQ(form->pos(), QPoint(0, 0));
    // At least the designed client area below the menu; the window can be resized.
    EXPECT_LT(form->minimumSize().height(), form->maximumSize().height());
    EXPECT_GE(form->width(), 635);
    EXPECT_GE(flaeche->height(), 516);
    // The ship rests inside the area above the status line.
    QLabel* schiff = Kind<QLabel>(form.get(), "ImageMZSchiff");
    EXPECT_EQ(schiff->size(), QSize(45, 45));
    EXPECT_LE(schiff->geometry().right(), flaeche->width() - 1);
    EXPECT_LE(schiff->geometry().bottom(),
              flaeche->height() - Kind<QWidget>(form.get(), "PanelStatusLeiste")->height() - 1);
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(FormHaupt, MenueTexteUndTrenner) {
    auto form = NeueForm();
    const QList<QAction*> oben = form->menuBar()->actions();
    ASSERT_EQ(oben.size(), 4);
    EXPECT_EQ(oben[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(oben[1]->text(), QStringLiteral("&Import/Export"));
    EXPECT_EQ(oben[2]->text(), QStringLiteral("&Extras"));
    EXPECT_EQ(oben[3]->text(), QStringLiteral("&Help"));
    QStringList datei;
    for (QAction* a : oben[0]->menu()->actions())
        datei << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(datei, (QStringList{"&Open...", "&Close", "-", "&Save", "Save &as...", "-", "&Exit"}));
    QStringList ie;
    for (QAction* a : oben[1]->menu()->actions())
        ie << (a->isSeparator() ? QStringLiteral("-") : a->text());
#ifdef BANDWERK_AUDIO
    EXPECT_EQ(ie, (QStringList{"Import from &MZT-file...", "Import from &WAV-file...", "S&how recording...",
                               "&Record from tape...", "-", "Export to MZ&T-file...",
                               "Export to WA&V-file...", "&Play to tape..."}));
#else
    EXPECT_EQ(ie, (QStringList{"Import from &MZT-file...", "Import from &WAV-file...", "S&how recording...",
                               "-", "Export to MZ&T-file...", "Export to WA&V-file..."}));
#endif
    EXPECT_EQ(oben[2]->menu()->actions().size(), 1);
    EXPECT_EQ(oben[3]->menu()->actions().size(), 3);
    EXPECT_EQ(Eintrag(form.get(), "MenueHaupt_Hilfe_UeberDiesesProgramm")->text(),
              QStringLiteral("&About this program..."));
}

TEST_F(FormHaupt, KommandozeileOeffnetDieErsteDateiRelativZumArbeitsverzeichnis) {
    const QString vorher = QDir::currentPath();
    const QString ordner = QFileInfo(KorpusPfad(GnuBlat)).absolutePath();
    QDir::setCurrent(ordner);
    // The working directory as the system reports it (a symbolic link on the way is resolved).
    const QString arbeitsverzeichnis = QDir::currentPath();
    SetzeKommandozeile({QFileInfo(GnuBlat).fileName(), QStringLiteral("second-is-ignored.mzf")});
    auto form = NeueForm();
    QDir::setCurrent(vorher);

    ASSERT_TRUE(form->HoleDatei().IstGeladen()) << skript.Texte().join(QLatin1Char('|')).toStdString();
    const QString pfad = arbeitsverzeichnis + QStringLiteral("/GNU BLAT 2000.mzf");
    EXPECT_EQ(form->HoleDatei().HoleDateiPfad(), pfad);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk - ") + pfad);
    EXPECT_TRUE(IstSichtbar(form.get(), "PanelMZFDatei"));
    EXPECT_FALSE(IstSichtbar(form.get(), "ImageMZSchiff"));
    EXPECT_EQ(form->centralWidget()->palette().color(QPalette::Window),
              form->palette().color(QPalette::Button));
    PruefeMenue(form.get(), true);
    // attribute 05, "GNU BLAT 2000", 10936 bytes at $6BCF, start $0000
    EXPECT_EQ(Text(form.get(), "EditMZDateiAttribut"), QStringLiteral("MZ-700/800 BASIC-program ($05)"));
    EXPECT_EQ(Text(form.get(), "EditMZDateiName"), QStringLiteral("GNU BLAT 2000"));
    EXPECT_EQ(Text(form.get(), "EditMZDateiGroesse"), QStringLiteral("$2AB8"));
    EXPECT_EQ(Text(form.get(), "EditMZDateiGroesseDez"), QStringLiteral("10936"));
    EXPECT_EQ(Text(form.get(), "EditMZLadeAdresse"), QStringLiteral("$6BCF"));
    EXPECT_EQ(Text(form.get(), "EditMZLadeAdresseDez"), QStringLiteral("27599"));
    EXPECT_EQ(Text(form.get(), "EditMZStartAdresse"), QStringLiteral("$0000"));
    EXPECT_EQ(Text(form.get(), "EditMZStartAdresseDez"), QStringLiteral("0"));
    // A BASIC program opens as its listing; the dump is the first of the views.
    Kind<QComboBox>(form.get(), "ComboBoxAnsicht")->setCurrentIndex(0);
    auto* rumpf = Kind<QPlainTextEdit>(form.get(), "MemoMZDateiRumpf");
    EXPECT_TRUE(rumpf->toPlainText().startsWith(QStringLiteral("$6BCF  $")));
    EXPECT_EQ(rumpf->document()->blockCount(), 10936 / 8);
    EXPECT_EQ(rumpf->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(rumpf->isReadOnly());
    // Columns line up: a narrow and a wide letter take the same room.
    const QFontMetrics masse(rumpf->font());
    EXPECT_EQ(masse.horizontalAdvance(QLatin1Char('i')), masse.horizontalAdvance(QLatin1Char('W')));
    EXPECT_EQ(form->focusWidget(), Kind<QWidget>(form.get(), "EditMZDateiAttribut"));
    EXPECT_TRUE(skript.nachrichten.isEmpty());

    // The command line is dealt with once: showing the window again does not reload.
    form->HoleDatei().Schliessen();
    form->hide();
    form->show();
    EXPECT_FALSE(form->HoleDatei().IstGeladen());
}

TEST_F(FormHaupt, FehlendeDateiAufDerKommandozeileGibtLeeresFenster) {
    const QString fehlt = TestVerzeichnis() + QStringLiteral("/missing.mzf");
    SetzeKommandozeile({fehlt});
    auto form = NeueForm();
    EXPECT_FALSE(form->HoleDatei().IstGeladen());
    ASSERT_EQ(skript.Fehler().size(), 1);
    EXPECT_TRUE(skript.Fehler()[0].contains(QStringLiteral("missing.mzf")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk"));
    EXPECT_FALSE(IstSichtbar(form.get(), "PanelMZFDatei"));
}

TEST_F(FormHaupt, OeffnenMerktVerzeichnisUndAbbrechenAendertNichts) {
    auto form = NeueForm();
    skript.BrichDateiDialogAb();
    Waehle(form.get(), "MenueHaupt_Datei_Oeffnen");
    ASSERT_EQ(skript.dialoge.size(), 1);
    const TDateiDialog& d = skript.dialoge[0];
    EXPECT_FALSE(d.speichern);
    EXPECT_EQ(d.titel, QStringLiteral("Open MZF-file"));
    EXPECT_EQ(d.filter,
              QStringLiteral("MZF-files (*.mzf)|*.mzf|M12-files (*.m12)|*.m12|All files (*.*)|*.*"));
    EXPECT_EQ(d.standardErweiterung, QStringLiteral("mzf"));
    EXPECT_EQ(d.startVerzeichnis, QDir::currentPath());
    EXPECT_TRUE(d.vorschlag.isEmpty());
    EXPECT_FALSE(form->HoleDatei().IstGeladen());
    EXPECT_EQ(LiesVerzeichnisMZFDateien(), QDir::currentPath());

    const QString pfad = Kopie(TestHalt, QStringLiteral("halt.mzf"));
    Oeffne(*form, pfad);
    EXPECT_EQ(LiesVerzeichnisMZFDateien(), QFileInfo(pfad).absolutePath());
    EXPECT_EQ(Text(form.get(), "EditMZDateiName"), QStringLiteral("TestHalt"));
    PruefeMenue(form.get(), true);
    // The next dialog starts where the last one ended.
    Waehle(form.get(), "MenueHaupt_Datei_Schliessen");
    skript.BrichDateiDialogAb();
    Waehle(form.get(), "MenueHaupt_Datei_Oeffnen");
    EXPECT_EQ(skript.dialoge.last().startVerzeichnis, QFileInfo(pfad).absolutePath());
}

TEST_F(FormHaupt, MisslungenesLadenZeigtLeeresFenster) {
    auto form = NeueForm();
    const QString leer = TestVerzeichnis() + QStringLiteral("/empty.mzf");
    SchreibeDatei(leer, QByteArray());
    skript.WaehleDatei(leer);
    Waehle(form.get(), "MenueHaupt_Datei_Oeffnen");
    EXPECT_FALSE(form->HoleDatei().IstGeladen());
    EXPECT_EQ(skript.Fehler().size(), 1);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk"));
    // The directory is stored before the load, so a failure still remembers the place.
    EXPECT_EQ(LiesVerzeichnisMZFDateien(), QFileInfo(leer).absolutePath());
    PruefeMenue(form.get(), false);
}

TEST_F(FormHaupt, SpeichernUnterSchlaegtDateinamenImGemerktenVerzeichnisVor) {
    auto form = NeueForm();
    const QString pfad = Kopie(TestHalt, QStringLiteral("game.mzf"));
    Oeffne(*form, pfad);
    const QString ausgabe = TestVerzeichnis();
    SchreibeVerzeichnisMZFDateien(ausgabe);
    const QString ziel = ausgabe + QStringLiteral("/game2.mzf");
    skript.WaehleDatei(ziel);
    Waehle(form.get(), "MenueHaupt_Datei_SpeichernUnter");
    ASSERT_EQ(skript.dialoge.size(), 2);
    const TDateiDialog& d = skript.dialoge[1];
    EXPECT_TRUE(d.speichern);
    EXPECT_EQ(d.titel, QStringLiteral("Save MZF-file"));
    EXPECT_EQ(d.vorschlag, QStringLiteral("game"));
    EXPECT_EQ(d.startVerzeichnis, ausgabe);
    EXPECT_EQ(d.standardErweiterung, QStringLiteral("mzf"));
    EXPECT_EQ(LiesDatei(ziel), LiesDatei(pfad));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk - ") + ziel);
    EXPECT_EQ(LiesVerzeichnisMZFDateien(), ausgabe);

    // Save with a path writes there without asking.
    form->HoleDatei().SetzeMZStartAdresse(0x1234);
    Waehle(form.get(), "MenueHaupt_Datei_Speichern");
    EXPECT_EQ(skript.dialoge.size(), 2);
    EXPECT_FALSE(form->HoleDatei().IstGeaendert());
    EXPECT_EQ(LiesDatei(ziel).mid(22, 2), QByteArray("\x34\x12", 2));
}

TEST_F(FormHaupt, ImportUndExportMZTUndSpeichernOhnePfad) {
    auto form = NeueForm();
    Oeffne(*form, Kopie(TestHalt, QStringLiteral("halt.mzf")));
    const QString mztOrdner = TestVerzeichnis();
    const QString mzt = mztOrdner + QStringLiteral("/halt.mzt");
    skript.WaehleDatei(mzt);
    Waehle(form.get(), "MenueHaupt_ImportExport_ExportMZT");
    const TDateiDialog& export_ = skript.dialoge.last();
    EXPECT_TRUE(export_.speichern);
    EXPECT_EQ(export_.titel, QStringLiteral("Export MZT-file"));
    EXPECT_EQ(export_.filter, QStringLiteral("MZT-files (*.mzt)|*.mzt|All files (*.*)|*.*"));
    EXPECT_EQ(export_.standardErweiterung, QStringLiteral("mzt"));
    EXPECT_EQ(export_.vorschlag, QStringLiteral("halt"));
    ASSERT_TRUE(QFileInfo::exists(mzt)) << skript.Texte().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(LiesVerzeichnisMZTDateien(), mztOrdner);
    EXPECT_FALSE(form->HoleDatei().IstGeaendert());

    Waehle(form.get(), "MenueHaupt_Datei_Schliessen");
    skript.WaehleDatei(mzt);
    Waehle(form.get(), "MenueHaupt_ImportExport_ImportMZT");
    const TDateiDialog& import_ = skript.dialoge.last();
    EXPECT_FALSE(import_.speichern);
    EXPECT_EQ(import_.titel, QStringLiteral("Import MZT-file"));
    EXPECT_EQ(import_.startVerzeichnis, mztOrdner);
    ASSERT_TRUE(form->HoleDatei().IstGeladen()) << skript.Texte().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(form->HoleDatei().IstGeaendert());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk - NoName.mzf"));
    EXPECT_EQ(Text(form.get(), "EditMZDateiName"), QStringLiteral("TestHalt"));

    // No path: Save asks, suggesting the MZ name with the forbidden characters replaced.
    form->HoleDatei().SetzeMZDateiName(QStringLiteral("A/B:C*D?"));
    skript.BrichDateiDialogAb();
    Waehle(form.get(), "MenueHaupt_Datei_Speichern");
    EXPECT_EQ(skript.dialoge.last().vorschlag, QStringLiteral("A_B_C_D_"));
    EXPECT_EQ(skript.dialoge.last().titel, QStringLiteral("Save MZF-file"));
    EXPECT_TRUE(form->HoleDatei().IstGeaendert());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk - NoName.mzf"));
}

TEST_F(FormHaupt, ExportWAVNimmtDasWAVVerzeichnis) {
    auto form = NeueForm();
    Oeffne(*form, Kopie(TestHalt, QStringLiteral("halt.mzf")));
    const QString ordner = TestVerzeichnis();
    SchreibeVerzeichnisWAVDateien(ordner);
    skript.BrichDateiDialogAb();
    Waehle(form.get(), "MenueHaupt_ImportExport_ExportWAV");
    const TDateiDialog& d = skript.dialoge.last();
    EXPECT_TRUE(d.speichern);
    EXPECT_EQ(d.titel, QStringLiteral("Export WAV-file"));
    EXPECT_EQ(d.filter, QStringLiteral("WAV-files (*.wav)|*.wav|All files (*.*)|*.*"));
    EXPECT_EQ(d.standardErweiterung, QStringLiteral("wav"));
    EXPECT_EQ(d.startVerzeichnis, ordner);
    EXPECT_EQ(d.vorschlag, QStringLiteral("halt"));
    EXPECT_TRUE(skript.nachrichten.isEmpty());

    // The export runs through the busy state and leaves it; the record stays unchanged.
    const QString wav = TestVerzeichnis() + QStringLiteral("/halt.wav");
    const int vorher = skript.ereignisseVerarbeitet;
    skript.WaehleDatei(wav);
    Waehle(form.get(), "MenueHaupt_ImportExport_ExportWAV");
    EXPECT_TRUE(skript.nachrichten.isEmpty()) << skript.Texte().join(QLatin1Char('|')).toStdString();
    EXPECT_GT(QFileInfo(wav).size(), 44);
    EXPECT_GE(skript.ereignisseVerarbeitet, vorher + 2);
    EXPECT_FALSE(form->IstBeschaeftigt());
    EXPECT_TRUE(Eintrag(form.get(), "MenueHaupt_Datei")->isEnabled());
    EXPECT_TRUE(Kind<QLabel>(form.get(), "LabelStatusLeiste")->text().isEmpty());
    EXPECT_EQ(LiesVerzeichnisWAVDateien(), QFileInfo(wav).absolutePath());
    EXPECT_FALSE(form->HoleDatei().IstGeaendert());
}

TEST_F(FormHaupt, EinOrdnerDerNichtDaIstWirdNichtGemerkt) {
    auto form = NeueForm();
    Oeffne(*form, Kopie(TestHalt, QStringLiteral("halt.mzf")));
    const QString ordner = TestVerzeichnis();
    SchreibeVerzeichnisMZTDateien(ordner);
    const QString fehlt = TestVerzeichnis() + QStringLiteral("/fehlt/halt.mzt");
    skript.WaehleDatei(fehlt);
    Waehle(form.get(), "MenueHaupt_ImportExport_ExportMZT");
    // The export fails with the writer's message; the remembered folder is the one before.
    ASSERT_EQ(skript.Fehler().size(), 1);
    EXPECT_TRUE(skript.Fehler()[0].startsWith(QStringLiteral("Error writing the file %1!").arg(fehlt)));
    EXPECT_EQ(LiesVerzeichnisMZTDateien(), ordner);
}

TEST_F(FormHaupt, ImportWAVMitFortschrittUndAuswahl) {
    auto form = NeueForm();
    // Two recordings of the window's own export: one file, and (exported twice with different
    // names into one bit text) two files.
    Oeffne(*form, Kopie(TestHalt, QStringLiteral("halt.mzf")));
    const QString wavOrdner = TestVerzeichnis();
    const QString eine = wavOrdner + QStringLiteral("/eine.wav");
    skript.WaehleDatei(eine);
    Waehle(form.get(), "MenueHaupt_ImportExport_ExportWAV");
    TMZFDatei zweite;
    zweite.KopiereVon(form->HoleDatei());
    zweite.SetzeMZDateiName(QStringLiteral("ZWEITE"));
    const TBandEinstellungen verkuerzt{.modell = MZ80K, .verkuerzt = true};
    const std::string bits =
        form->HoleDatei().ErzeugeTonbandBits(verkuerzt) + zweite.ErzeugeTonbandBits(verkuerzt);
    const QString zwei = wavOrdner + QStringLiteral("/zwei.wav");
    SchreibeDatei(zwei, WAVBau::WAVAusBits({{bits, false}}));
    Waehle(form.get(), "MenueHaupt_Datei_Schliessen");

    // One file: imported at once, changed and without a path; the busy state came and went.
    const int vorher = skript.ereignisseVerarbeitet;
    skript.WaehleDatei(eine);
    Waehle(form.get(), "MenueHaupt_ImportExport_ImportWAV");
    const TDateiDialog& dialog = skript.dialoge.last();
    EXPECT_FALSE(dialog.speichern);
    EXPECT_EQ(dialog.titel, QStringLiteral("Import WAV-file"));
    EXPECT_EQ(dialog.filter, QStringLiteral("WAV-files (*.wav)|*.wav|All files (*.*)|*.*"));
    EXPECT_EQ(dialog.standardErweiterung, QStringLiteral("wav"));
    EXPECT_EQ(dialog.startVerzeichnis, wavOrdner);
    ASSERT_TRUE(form->HoleDatei().IstGeladen()) << skript.Texte().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(form->HoleDatei().IstGeaendert());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk - NoName.mzf"));
    EXPECT_EQ(Text(form.get(), "EditMZDateiName"), QStringLiteral("TestHalt"));
    EXPECT_GT(skript.ereignisseVerarbeitet, vorher + 4);
    EXPECT_FALSE(form->IstBeschaeftigt());
    EXPECT_TRUE(Eintrag(form.get(), "MenueHaupt_Datei")->isEnabled());
    EXPECT_EQ(Kind<QProgressBar>(form.get(), "ProgressBarStatusLeiste")->value(), 0);
    PruefeMenue(form.get(), true);

    // Two files: the selection dialog lists them in recording order; the second is imported.
    skript.Antworte(TAntwort::Nein); // do not save the changed file
    Waehle(form.get(), "MenueHaupt_Datei_Schliessen");
    skript.WaehleDatei(zwei);
    QStringList zeilen;
    bool beschaeftigtBeiDerAuswahl = true;
    MitModalemDialog(
        [&](QWidget* auswahl) {
            beschaeftigtBeiDerAuswahl = form->IstBeschaeftigt();
            auto* liste = auswahl->findChild<QListWidget*>(QStringLiteral("ListBoxMZDateien"));
            ASSERT_NE(liste, nullptr);
            for (int i = 0; i < liste->count(); ++i)
                zeilen << liste->item(i)->text();
            liste->setCurrentRow(1);
            auswahl->findChild<QPushButton*>(QStringLiteral("ButtonImport"))->click();
        },
        [&] { Waehle(form.get(), "MenueHaupt_ImportExport_ImportWAV"); });
    EXPECT_EQ(zeilen,
              (QStringList{QStringLiteral("TestHalt (1 bytes)"), QStringLiteral("ZWEITE (1 bytes)")}));
    EXPECT_FALSE(beschaeftigtBeiDerAuswahl);
    EXPECT_EQ(Text(form.get(), "EditMZDateiName"), QStringLiteral("ZWEITE"));
    EXPECT_TRUE(skript.Fehler().isEmpty()) << skript.Texte().join(QLatin1Char('|')).toStdString();
}

TEST_F(FormHaupt, ImportWAVEinerKaputtenDateiLaesstDasFensterLeer) {
    auto form = NeueForm();
    const QString wav = TestVerzeichnis() + QStringLiteral("/kaputt.wav");
    SchreibeDatei(wav, "RIFF and nothing else");
    skript.WaehleDatei(wav);
    Waehle(form.get(), "MenueHaupt_ImportExport_ImportWAV");
    EXPECT_EQ(
        skript.Fehler(),
        QStringList(QStringLiteral("The file %1 is corrupted or contains a not-supported format!").arg(wav)));
    EXPECT_FALSE(form->HoleDatei().IstGeladen());
    EXPECT_FALSE(form->IstBeschaeftigt());
    EXPECT_TRUE(IstSichtbar(form.get(), "ImageMZSchiff"));
    EXPECT_EQ(LiesVerzeichnisWAVDateien(), QFileInfo(wav).absolutePath());
}

TEST_F(FormHaupt, EinstellungenWechselnDieSpracheDesFensters) {
    auto form = NeueForm();
    LadeOhnePfad(*form);
    const QString name = Text(form.get(), "EditMZDateiName");
    // Cancel after choosing German: everything stays English.
    MitModalemDialog(
        [](QWidget* d) {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Settings"));
            d->findChild<QRadioButton*>(QStringLiteral("RadioGroupSprache_Deutsch"))->click();
            d->findChild<QPushButton*>(QStringLiteral("ButtonAbbrechen"))->click();
        },
        [&] { Waehle(form.get(), "MenueHaupt_Extras_Einstellungen"); });
    EXPECT_EQ(form->menuBar()->actions()[0]->text(), QStringLiteral("&File"));
    EXPECT_TRUE(LiesSprache());

    MitModalemDialog(
        [](QWidget* d) {
            d->findChild<QRadioButton*>(QStringLiteral("RadioGroupSprache_Deutsch"))->click();
            d->findChild<QRadioButton*>(QStringLiteral("RadioGroupMZModell_4"))->click();
            d->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
        },
        [&] { Waehle(form.get(), "MenueHaupt_Extras_Einstellungen"); });
    EXPECT_FALSE(LiesSprache());
    EXPECT_EQ(HoleImportExportMZModell(), 4);
    // The window speaks German at once, and the loaded file is still shown as it was.
    EXPECT_EQ(form->menuBar()->actions()[0]->text(), QStringLiteral("&Datei"));
    EXPECT_EQ(Eintrag(form.get(), "MenueHaupt_Extras_Einstellungen")->text(),
              QStringLiteral("&Einstellungen..."));
    EXPECT_EQ(Kind<QLabel>(form.get(), "LabelMZDateiAttribut")->text(), QStringLiteral("MZ-Dateiattribut"));
    EXPECT_EQ(Kind<QLabel>(form.get(), "LabelDez1")->text(), QStringLiteral("dez."));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk - KeinName.mzf"));
    EXPECT_EQ(Text(form.get(), "EditMZDateiAttribut"), QStringLiteral("Maschinensprache-Programm ($01)"));
    EXPECT_EQ(Text(form.get(), "EditMZDateiName"), name);
    EXPECT_TRUE(form->HoleDatei().IstGeaendert());
    PruefeMenue(form.get(), true);
    skript.Antworte(TAntwort::Nein);
    form->close();
}

// The store breaks while the dialog is open: OK shows the error, the dialog stays, Cancel closes
// it, and the changed file is still there, unsaved and shown.
TEST_F(FormHaupt, EinstellungenMitKaputtemSpeicher) {
    auto form = NeueForm();
    LadeOhnePfad(*form);
    const QString groesse = Text(form.get(), "EditMZDateiGroesse");
    MitModalemDialog(
        [&](QWidget* d) {
            d->findChild<QRadioButton*>(QStringLiteral("RadioGroupSprache_Deutsch"))->click();
            EinstellungsSpeicherZerstoeren();
            d->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(skript.Fehler(), QStringList{SpeicherFehlerText()});
            d->findChild<QPushButton*>(QStringLiteral("ButtonAbbrechen"))->click();
        },
        [&] { Waehle(form.get(), "MenueHaupt_Extras_Einstellungen"); });
    EinstellungsSpeicherReparieren();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->HoleDatei().IstGeladen());
    EXPECT_TRUE(form->HoleDatei().IstGeaendert());
    EXPECT_EQ(Text(form.get(), "EditMZDateiGroesse"), groesse);
    EXPECT_EQ(form->menuBar()->actions()[0]->text(), QStringLiteral("&File"));
    skript.Antworte(TAntwort::Nein);
    form->close();
}

TEST_F(FormHaupt, HilfeMenueOeffnetSeineFenster) {
    auto form = NeueForm();
    const std::pair<const char*, const char*> eintraege[] = {
        {"MenueHaupt_Hilfe_Kurzanleitung", "FormKurzanleitung"},
        {"MenueHaupt_Hilfe_VersionsHistorie", "FormVersionsHistorie"},
        {"MenueHaupt_Hilfe_UeberDiesesProgramm", "FormUeberDiesesProgramm"}};
    for (const auto& [eintrag, fenster] : eintraege) {
        MitModalemDialog(
            [&](QWidget* d) {
                EXPECT_EQ(d->objectName(), QLatin1String(fenster));
                EXPECT_EQ(d->parentWidget(), form.get());
                // Centred over the main window.
                EXPECT_LE(std::abs(d->frameGeometry().center().x() - form->frameGeometry().center().x()), 1);
                d->findChild<QPushButton*>(QStringLiteral("ButtonSchliessen"))->click();
            },
            [&] { Waehle(form.get(), eintrag); });
    }
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(FormHaupt, SchliessenMitUngespeichertenAenderungen) {
    auto form = NeueForm();
    const QString pfad = Kopie(TestHalt, QStringLiteral("halt.mzf"));
    Oeffne(*form, pfad);
    TMZFDatei& datei = form->HoleDatei();
    const QByteArray original = LiesDatei(pfad);

    // Cancel keeps the file with its change.
    datei.SetzeMZLadeAdresse(0x3000);
    skript.Antworte(TAntwort::Abbrechen);
    Waehle(form.get(), "MenueHaupt_Datei_Schliessen");
    EXPECT_EQ(skript.nachrichten.last().text, NichtGespeichert);
    EXPECT_TRUE(skript.nachrichten.last().mitAbbrechen);
    EXPECT_TRUE(datei.IstGeaendert());

    // Yes with a save that fails (the file became a directory) keeps it too.
    QFile::remove(pfad);
    QDir().mkdir(pfad);
    skript.Antworte(TAntwort::Ja);
    Waehle(form.get(), "MenueHaupt_Datei_Schliessen");
    EXPECT_EQ(skript.Fehler().size(), 1);
    EXPECT_TRUE(datei.IstGeaendert());
    QDir().rmdir(pfad);

    // Yes with a save that works closes after writing.
    skript.Antworte(TAntwort::Ja);
    Waehle(form.get(), "MenueHaupt_Datei_Schliessen");
    EXPECT_FALSE(datei.IstGeladen());
    EXPECT_EQ(LiesDatei(pfad).mid(20, 2), QByteArray("\x00\x30", 2));
    EXPECT_EQ(LiesDatei(pfad).size(), original.size());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk"));

    // No discards the change.
    Oeffne(*form, pfad);
    datei.SetzeMZLadeAdresse(0x4000);
    skript.Antworte(TAntwort::Nein);
    Waehle(form.get(), "MenueHaupt_Datei_Schliessen");
    EXPECT_FALSE(datei.IstGeladen());
    EXPECT_EQ(LiesDatei(pfad).mid(20, 2), QByteArray("\x00\x30", 2));
    PruefeMenue(form.get(), false);
}

TEST_F(FormHaupt, SchliessfrageDesFensters) {
    auto form = NeueForm();
    Oeffne(*form, Kopie(TestHalt, QStringLiteral("halt.mzf")));
    EXPECT_TRUE(form->FormCloseQuery());
    EXPECT_TRUE(skript.nachrichten.isEmpty());

    form->HoleDatei().SetzeMZDateiAttribut(0x02);
    skript.Antworte(TAntwort::Abbrechen);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());

    // No closes and drops the change.
    form->HoleDatei().SetzeMZDateiName(QStringLiteral("X"));
    skript.Antworte(TAntwort::Nein);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(skript.nachrichten.size(), 2);
    EXPECT_EQ(skript.nachrichten[0].text, NichtGespeichert);
}

TEST_F(FormHaupt, SchliessfrageMitAbgebrochenemSpeichernBleibtOffen) {
    auto form = NeueForm();
    LadeOhnePfad(*form);
    ASSERT_TRUE(form->HoleDatei().IstGeaendert());
    skript.Antworte(TAntwort::Ja);
    skript.BrichDateiDialogAb();
    Waehle(form.get(), "MenueHaupt_Datei_Beenden");
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->HoleDatei().IstGeaendert());
    skript.Antworte(TAntwort::Nein);
    form->close();
}

TEST_F(FormHaupt, BeschaeftigtUeberDieEreignisseDesDatensatzes) {
    auto form = NeueForm();
    Oeffne(*form, Kopie(TestHalt, QStringLiteral("halt.mzf")));
    TMZFDatei& datei = form->HoleDatei();
    auto* balken = Kind<QProgressBar>(form.get(), "ProgressBarStatusLeiste");
    auto* status = Kind<QLabel>(form.get(), "LabelStatusLeiste");
    EXPECT_EQ(balken->minimum(), 0);
    EXPECT_EQ(balken->maximum(), 100);
    const int verarbeitet = skript.ereignisseVerarbeitet;

    ASSERT_TRUE(datei.BeiBeginn);
    datei.BeiBeginn(&datei);
    EXPECT_TRUE(form->IstBeschaeftigt());
    EXPECT_EQ(status->text(), QStringLiteral("Please wait"));
    EXPECT_EQ(balken->value(), 0);
    for (QAction* oben : form->menuBar()->actions())
        EXPECT_FALSE(oben->isEnabled());
    EXPECT_FALSE(Kind<QWidget>(form.get(), "PanelMZFDatei")->isEnabled());
    EXPECT_FALSE(Kind<QPushButton>(form.get(), "ButtonAendernMZDateiName")->isEnabled());
    EXPECT_EQ(skript.ereignisseVerarbeitet, verarbeitet + 1);

    // Half-way values go to the even neighbour.
    const std::pair<double, int> werte[] = {{42.5, 42},  {43.5, 44},   {0.4, 0},
                                            {99.6, 100}, {100.0, 100}, {12.0, 12}};
    for (const auto& [prozent, balkenWert] : werte) {
        datei.BeiFortschritt(&datei, prozent);
        EXPECT_EQ(balken->value(), balkenWert) << prozent;
    }
    EXPECT_EQ(skript.ereignisseVerarbeitet, verarbeitet + 1 + 6);

    datei.BeiEnde(&datei);
    EXPECT_FALSE(form->IstBeschaeftigt());
    EXPECT_TRUE(status->text().isEmpty());
    EXPECT_EQ(balken->value(), 0);
    for (QAction* oben : form->menuBar()->actions())
        EXPECT_TRUE(oben->isEnabled());
    EXPECT_TRUE(Kind<QWidget>(form.get(), "PanelMZFDatei")->isEnabled());
    EXPECT_EQ(skript.ereignisseVerarbeitet, verarbeitet + 8);
}

TEST_F(FormHaupt, SchliessenWaehrendBeschaeftigt) {
    auto form = NeueForm();
    Oeffne(*form, Kopie(TestHalt, QStringLiteral("halt.mzf")));
    TMZFDatei& datei = form->HoleDatei();
    datei.SetzeMZDateiName(QStringLiteral("CHANGED"));
    datei.BeiBeginn(&datei);
    // No: the operation goes on; no question about the unsaved change.
    skript.Antworte(TAntwort::Nein);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(skript.nachrichten.size(), 1);
    EXPECT_EQ(skript.nachrichten[0].text, Beschaeftigt);
    EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Warnung);
    EXPECT_FALSE(skript.nachrichten[0].mitAbbrechen);
    // Yes ends the process at once.
    skript.Antworte(TAntwort::Ja);
    EXPECT_THROW(form->FormCloseQuery(), TProzessBeendet);
    EXPECT_EQ(skript.nachrichten.size(), 2);
    datei.BeiEnde(&datei);
}

TEST_F(FormHaupt, AendernKnoepfeSetzenDenDatensatz) {
    auto form = NeueForm();
    Oeffne(*form, Kopie(GnuBlat, QStringLiteral("blat.mzf")));
    TMZFDatei& datei = form->HoleDatei();
    Kind<QComboBox>(form.get(), "ComboBoxAnsicht")->setCurrentIndex(0); // the dump

    MitModalemDialog(
        [](QWidget* d) {
            d->findChild<QLineEdit*>(QStringLiteral("EditMZLadeAdresse"))->setText(QStringLiteral("$1200"));
            d->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
        },
        [&] { Kind<QPushButton>(form.get(), "ButtonAendernMZLadeAdresse")->click(); });
    EXPECT_EQ(datei.HoleMZLadeAdresse(), 0x1200);
    EXPECT_EQ(Text(form.get(), "EditMZLadeAdresse"), QStringLiteral("$1200"));
    EXPECT_EQ(Text(form.get(), "EditMZLadeAdresseDez"), QStringLiteral("4608"));
    EXPECT_TRUE(Kind<QPlainTextEdit>(form.get(), "MemoMZDateiRumpf")->toPlainText().startsWith("$1200  $"));
    EXPECT_TRUE(datei.IstGeaendert());
    EXPECT_EQ(form->focusWidget(), Kind<QWidget>(form.get(), "EditMZLadeAdresse"));

    MitModalemDialog(
        [](QWidget* d) {
            d->findChild<QRadioButton*>(QStringLiteral("RadioGroupZahlensystem_Dezimal"))->click();
            d->findChild<QLineEdit*>(QStringLiteral("EditMZStartAdresse"))->setText(QStringLiteral("4660"));
            d->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
        },
        [&] { Kind<QPushButton>(form.get(), "ButtonAendernMZStartAdresse")->click(); });
    EXPECT_EQ(datei.HoleMZStartAdresse(), 0x1234);
    EXPECT_EQ(Text(form.get(), "EditMZStartAdresse"), QStringLiteral("$1234"));

    skript.Antworte(TAntwort::Ja);
    MitModalemDialog(
        [](QWidget* d) {
            d->findChild<QLineEdit*>(QStringLiteral("EditMZDateiName"))->setText(QStringLiteral("NEW NAME"));
            d->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
        },
        [&] { Kind<QPushButton>(form.get(), "ButtonAendernMZDateiName")->click(); });
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("NEW NAME"));
    EXPECT_EQ(Text(form.get(), "EditMZDateiName"), QStringLiteral("NEW NAME"));

    skript.Antworte(TAntwort::Ja);
    MitModalemDialog(
        [](QWidget* d) {
            d->findChild<QPlainTextEdit*>(QStringLiteral("MemoMZKommentar"))
                ->setPlainText(QStringLiteral("HI"));
            d->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
        },
        [&] { Kind<QPushButton>(form.get(), "ButtonAendernMZKommentar")->click(); });
    EXPECT_EQ(datei.HoleMZKommentar(), QStringLiteral("HI"));
    EXPECT_EQ(Kind<QPlainTextEdit>(form.get(), "MemoMZKommentar")->toPlainText(), QStringLiteral("HI"));

    MitModalemDialog(
        [](QWidget* d) {
            auto* liste = d->findChild<QListWidget*>(QStringLiteral("ListBoxMZDateiAttribut"));
            EXPECT_EQ(liste->currentRow(), 0x05);
            liste->setCurrentRow(0xFF);
            d->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
        },
        [&] { Kind<QPushButton>(form.get(), "ButtonAendernMZDateiAttribut")->click(); });
    EXPECT_EQ(datei.HoleMZDateiAttribut(), 0xFF);
    EXPECT_EQ(Text(form.get(), "EditMZDateiAttribut"), QStringLiteral("Unknown ($FF)"));

    // Cancel leaves the record alone.
    MitModalemDialog(
        [](QWidget* d) {
            d->findChild<QLineEdit*>(QStringLiteral("EditMZLadeAdresse"))->setText(QStringLiteral("$2000"));
            d->findChild<QPushButton*>(QStringLiteral("ButtonAbbrechen"))->click();
        },
        [&] { Kind<QPushButton>(form.get(), "ButtonAendernMZLadeAdresse")->click(); });
    EXPECT_EQ(datei.HoleMZLadeAdresse(), 0x1200);
}

TEST_F(FormHaupt, SchiffFaehrtBeimDoppelklickIrgendwohinImFreienBereich) {
    auto form = NeueForm();
    QLabel* schiff = Kind<QLabel>(form.get(), "ImageMZSchiff");
    QWidget* flaeche = form->centralWidget();
    const int frei = flaeche->height() - Kind<QWidget>(form.get(), "PanelStatusLeiste")->height();
    std::set<std::pair<int, int>> orte;
    for (int i = 0; i < 200; ++i) {
        form->ImageMZSchiffDblClick();
        const QPoint ort = schiff->pos();
        EXPECT_GE(ort.x(), 0);
        EXPECT_GE(ort.y(), 0);
        EXPECT_LE(ort.x() + 45, flaeche->width());
        EXPECT_LE(ort.y() + 45, frei);
        orte.insert({ort.x(), ort.y()});
    }
    EXPECT_GT(orte.size(), 100);
}

TEST_F(FormHaupt, LageWirdBeimVerbergenGemerktUndAufDenBildschirmGeholt) {
    {
        auto form = NeueForm();
        form->move(30, 40);
        form->hide();
        int x = -1;
        int y = -1;
        LiesFormHauptPosition(x, y);
        EXPECT_EQ(QPoint(x, y), QPoint(30, 40));
    }
    const QSize bildschirm = QGuiApplication::primaryScreen()->size();
    SchreibeFormHauptPosition(2000, 100);
    {
        auto form = NeueForm();
        EXPECT_EQ(form->frameGeometry().right(), bildschirm.width() - 1);
        EXPECT_EQ(form->pos().y(), 100);
    }
    SchreibeFormHauptPosition(-20, -5);
    {
        auto form = NeueForm();
        EXPECT_EQ(form->pos(), QPoint(0, 0));
    }
}

TEST_F(FormHaupt, AndereSpracheInJedemFenster) {
    TestSprache(false);
    auto form = NeueForm();
    EXPECT_EQ(form->menuBar()->actions()[0]->text(), QStringLiteral("&Datei"));
    EXPECT_EQ(Eintrag(form.get(), "MenueHaupt_Datei_Schliessen")->text(), QStringLiteral("S&chließen"));
    EXPECT_EQ(Kind<QLabel>(form.get(), "LabelMZDateiAttribut")->text(), QStringLiteral("MZ-Dateiattribut"));
    EXPECT_EQ(Kind<QLabel>(form.get(), "LabelDez2")->text(), QStringLiteral("dez."));
    EXPECT_EQ(Kind<QPushButton>(form.get(), "ButtonAendernMZKommentar")->text(), QStringLiteral("Ändern..."));
    skript.BrichDateiDialogAb();
    Waehle(form.get(), "MenueHaupt_ImportExport_ImportMZT");
    EXPECT_EQ(skript.dialoge.last().titel, QStringLiteral("MZT-Datei importieren"));
    EXPECT_EQ(skript.dialoge.last().filter,
              QStringLiteral("MZT-Dateien (*.mzt)|*.mzt|Alle Dateien (*.*)|*.*"));

    // A switch while the window is open shows after SetzeTexte.
    TestSprache(true);
    form->SetzeTexte();
    EXPECT_EQ(form->menuBar()->actions()[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(Kind<QLabel>(form.get(), "LabelDez2")->text(), QStringLiteral("dec."));
    EXPECT_EQ(Kind<QLabel>(form.get(), "LabelHex1")->text(), QStringLiteral("hex."));
}

TEST_F(FormHaupt, DeutscherTitelOhneDateinamen) {
    TestSprache(false);
    auto form = NeueForm();
    LadeOhnePfad(*form);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk - KeinName.mzf"));
    EXPECT_EQ(Text(form.get(), "EditMZDateiAttribut"), QStringLiteral("Maschinensprache-Programm ($01)"));
    skript.Antworte(TAntwort::Nein);
    form->close();
}

TEST(FormHauptEinstellungen, SchreibfehlerWirdGemeldetUndDerBefehlLaeuftWeiter) {
    EinstellungenLeeren();
    TestSprache(true);
    FormHauptModulStarten();
    SetzeKommandozeile({});
    const QString pfad = TestVerzeichnis() + QStringLiteral("/halt.mzf");
    QFile::copy(KorpusPfad(TestHalt), pfad);
    {
        TPlattformSkriptMitKaputtemSpeicher skript;
        auto form = std::make_unique<TFormHaupt>();
        form->show();
        skript.WaehleDatei(pfad);
        form->findChild<QAction*>(QStringLiteral("MenueHaupt_Datei_Oeffnen"))->trigger();
        ASSERT_EQ(skript.Fehler().size(), 1);
        EXPECT_EQ(skript.Fehler()[0], SpeicherFehlerText());
        EXPECT_TRUE(form->HoleDatei().IstGeladen());
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Bandwerk - ") + pfad);
        // Hiding cannot store the position either: told, and the window still goes away.
        skript.Leeren();
        form->hide();
        EXPECT_EQ(skript.Fehler().size(), 1);
        EXPECT_FALSE(form->isVisible());
        EinstellungsSpeicherReparieren();
    }
    EinstellungenLeeren();
}
} // namespace
