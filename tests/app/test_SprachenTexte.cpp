// The message catalogue with its real German and English tables: keys, lookup rules, placeholders,
// the texts that must stand exactly as the program shows them, and the language switch.
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "TestUmgebung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Every key in table order, as both languages must hold them.
const char* const ErwarteteSchluessel[] = {
    "ProgrammVersionText",
    "ProgrammCopyright",
    "ProgrammLizenz",
    "KontaktAutorText",
    "DateiNameKeinName",
    "Dezimal",
    "Hexadezimal",
    "EinheitBytes",
    "Kurzanleitung",
    "HaftungsAusschlussUeberschrift",
    "HaftungsAusschlussText",
    "HaftungsAusschlussFrage",
    "HaftungsAusschlussNichtAkzeptiert",
    "MZDateiAttribut$01",
    "MZDateiAttribut$02",
    "MZDateiAttribut$03",
    "MZDateiAttribut$04",
    "MZDateiAttribut$05",
    "MZDateiAttribut$07",
    "MZDateiAttribut$11",
    "MZDateiAttribut$41",
    "MZDateiAttribut$42",
    "MZDateiAttribut$44",
    "MZDateiAttribut$49",
    "MZDateiAttribut$58",
    "MZDateiAttribut$94",
    "MZDateiAttribut$A0",
    "MZDateiAttribut$A1",
    "MZDateiAttribut$B0",
    "MZDateiAttribut$BA",
    "MZDateiAttribut$BB",
    "MZDateiAttribut$BC",
    "MZDateiAttribut$BF",
    "MZDateiAttributUnbekannt",
    "Info_DateiWurdeGespeichert",
    "Warnung_MZFDateiNichtGespeichert",
    "Warnung_AenderungMZText",
    "Warnung_MZLadeAdresseZuGross",
    "Warnung_ProgrammBeschaeftigt",
    "Fehler_UngueltigeZahl",
    "Fehler_UngueltigerDateiname",
    "Fehler_UngueltigerParameterWert",
    "Fehler_FalschesZahlensystem",
    "Fehler_DateiLesen",
    "Fehler_DateiBeschaedigt",
    "Fehler_DateiZuGross",
    "Fehler_DateiSchreiben",
    "Fehler_UngueltigesNichtMZZeichen",
    "Fehler_KeineMZFDateiGeladen",
    "Fehler_SampleRateUngueltig",
    "Fehler_ImportVonMZT_KeineGueltigeMZDateiGefunden",
    "Fehler_ImportVonWAV_KeineGueltigeMZDateiGefunden",
    "FormHaupt_LabelMZDateiAttribut",
    "FormHaupt_ButtonAendernMZDateiAttribut",
    "FormHaupt_LabelMZDateiName",
    "FormHaupt_ButtonAendernMZDateiName",
    "FormHaupt_LabelMZDateiGroesse",
    "FormHaupt_LabelMZLadeAdresse",
    "FormHaupt_ButtonAendernMZLadeAdresse",
    "FormHaupt_LabelMZStartAdresse",
    "FormHaupt_ButtonAendernMZStartAdresse",
    "FormHaupt_LabelMZKommentar",
    "FormHaupt_ButtonAendernMZKommentar",
    "FormHaupt_LabelMZDateiRumpf",
    "FormHaupt_StatusBar_BitteWarten",
    "MenueHaupt_Datei",
    "MenueHaupt_Datei_Oeffnen",
    "MenueHaupt_Datei_Schliessen",
    "MenueHaupt_Datei_Speichern",
    "MenueHaupt_Datei_SpeichernUnter",
    "MenueHaupt_Datei_Beenden",
    "MenueHaupt_ImportExport",
    "MenueHaupt_ImportExport_ImportMZT",
    "MenueHaupt_ImportExport_ImportWAV",
    "MenueHaupt_ImportExport_ExportMZT",
    "MenueHaupt_ImportExport_ExportWAV",
    "MenueHaupt_Extras",
    "MenueHaupt_Extras_Einstellungen",
    "MenueHaupt_Hilfe",
    "MenueHaupt_Hilfe_Kurzanleitung",
    "MenueHaupt_Hilfe_VersionsHistorie",
    "MenueHaupt_Hilfe_UeberDiesesProgramm",
    "FormHaupt_OpenDialogMZFDatei_Titel",
    "FormHaupt_SaveDialogMZFDatei_Titel",
    "FormHaupt_OpenDialogMZTDatei_Titel",
    "FormHaupt_SaveDialogMZTDatei_Titel",
    "FormHaupt_OpenDialogWAVDatei_Titel",
    "FormHaupt_SaveDialogWAVDatei_Titel",
    "FormAendernMZDateiAttribut",
    "FormAendernMZDateiAttribut_LabelMZDateiAttribut",
    "FormAendernMZDateiAttribut_ButtonOK",
    "FormAendernMZDateiAttribut_ButtonAbbrechen",
    "FormAendernMZDateiName",
    "FormAendernMZDateiName_LabelMZDateiName",
    "FormAendernMZDateiName_ButtonOK",
    "FormAendernMZDateiName_ButtonAbbrechen",
    "FormAendernMZLadeAdresse",
    "FormAendernMZLadeAdresse_LabelMZLadeAdresse",
    "FormAendernMZLadeAdresse_RadioGroupZahlensystem",
    "FormAendernMZLadeAdresse_ButtonOK",
    "FormAendernMZLadeAdresse_ButtonAbbrechen",
    "FormAendernMZStartAdresse",
    "FormAendernMZStartAdresse_LabelMZStartAdresse",
    "FormAendernMZStartAdresse_RadioGroupZahlensystem",
    "FormAendernMZStartAdresse_ButtonOK",
    "FormAendernMZStartAdresse_ButtonAbbrechen",
    "FormAendernMZKommentar",
    "FormAendernMZKommentar_LabelMZKommentar",
    "FormAendernMZKommentar_ButtonOK",
    "FormAendernMZKommentar_ButtonAbbrechen",
    "FormEinstellungen",
    "FormEinstellungen_TabSheetAllgemein",
    "FormEinstellungen_RadioGroupSprache",
    "FormEinstellungen_TabSheetImportExport",
    "FormEinstellungen_RadioGroupMZModell",
    "FormEinstellungen_TabSheetExportWAV",
    "FormEinstellungen_LabelSampleRate",
    "FormEinstellungen_ButtonDefaultSampleRate",
    "FormEinstellungen_RadioGroupMZTonbandFormat",
    "FormEinstellungen_RadioGroupMZTonbandFormat_Vollstaendig",
    "FormEinstellungen_RadioGroupMZTonbandFormat_Verkuerzt",
    "FormEinstellungen_RadioGroupPolaritaet",
    "FormEinstellungen_RadioGroupPolaritaet_Normal",
    "FormEinstellungen_RadioGroupPolaritaet_Invertiert",
    "FormEinstellungen_ButtonOK",
    "FormEinstellungen_ButtonAbbrechen",
    "FormKurzanleitung_MemoKurzanleitung",
    "FormKurzanleitung_ButtonSpeichern",
    "FormKurzanleitung_ButtonSchliessen",
    "FormKurzanleitung_SaveDialogKurzanleitung_Titel",
    "FormVersionsHistorie",
    "FormVersionsHistorie_MemoVersionsHistorie",
    "FormVersionsHistorie_ButtonSchliessen",
    "FormUeberDiesesProgramm_LabelKontaktUeberschrift",
    "FormUeberDiesesProgramm_LabelLinkEMail",
    "FormUeberDiesesProgramm_LabelLinkWWW",
    "FormUeberDiesesProgramm_LabelDanksagungenUeberschrift",
    "FormUeberDiesesProgramm_LabelDanksagungenText",
    "FormUeberDiesesProgramm_LabelUndanksagungenUeberschrift",
    "FormUeberDiesesProgramm_LabelUndanksagungenText",
    "FormUeberDiesesProgramm_ButtonSchliessen",
    "FormAuswahlMZDatei",
    "FormAuswahlMZDatei_LabelMZDateien",
    "FormAuswahlMZDatei_LabelHinweisImport",
    "FormAuswahlMZDatei_LabelHinweisSpeichernAlsMZFDatei",
    "FormAuswahlMZDatei_ButtonImport",
    "FormAuswahlMZDatei_ButtonSpeichernAlsMZFDatei",
    "FormAuswahlMZDatei_ButtonAbbrechen",
    "FormAuswahlMZDatei_SaveDialogMZFDatei_Titel",
    "FormHaupt_OpenDialogMZFDatei_Filter",
    "FormHaupt_SaveDialogMZFDatei_Filter",
    "FormHaupt_OpenDialogMZTDatei_Filter",
    "FormHaupt_SaveDialogMZTDatei_Filter",
    "FormHaupt_OpenDialogWAVDatei_Filter",
    "FormHaupt_SaveDialogWAVDatei_Filter",
    "FormKurzanleitung_SaveDialogKurzanleitung_Filter",
    "FormAuswahlMZDatei_SaveDialogMZFDatei_Filter",
    "FormEinstellungen_CheckBoxErweiterteDekodierung",
    "Fehler_ImportVonWAV_HinweisErweiterteDekodierung",
    "Hinweis_UnlesbarerKopf",
    "Hinweis_ErweitertLiestRate",
    "Hinweis_ErweitertLiestFormat",
    "Format_PCM",
    "Format_Gleitkomma",
    "Frage_ErweitertLesen",
    "Hinweis_ErweitertKommandozeile",
    "FormHaupt_LabelAnsicht",
    "FormHaupt_ComboBoxAnsicht_Hex",
    "FormHaupt_ComboBoxAnsicht_Basic",
    "FormHaupt_ComboBoxAnsicht_Z80",
    "FormHaupt_LabelDialekt",
    "FormHaupt_ComboBoxDialekt_Automatisch",
    "FormHaupt_LabelCodeAnfang",
    "FormHaupt_ButtonKopieren",
    "FormHaupt_ButtonSpeichernAlsText",
    "FormHaupt_SaveDialogListing_Titel",
    "FormHaupt_SaveDialogListing_Filter",
    "Fehler_BasicListe_KeinProgramm",
    "BasicListe_GrundKeinEnde",
    "BasicListe_GrundZeileUeberEnde",
    "BasicListe_GrundLaengeFalsch",
    "BasicListe_GrundReihenfolge",
    "FormAuswahlMZDatei_LabelMZDateien_MZT",
    "DateiDialog_DateiSchreibgeschuetzt",
    "MenueHaupt_ImportExport_Aufnahme",
    "MenueHaupt_ImportExport_Abspielen",
    "Audio_KeinAusgabeGeraet",
    "Audio_KeinEingabeGeraet",
    "Audio_GeraetUnbekannt",
    "Audio_FormatNichtUnterstuetzt",
    "Audio_GeraetStartetNicht",
    "Audio_AusgabeAusgefallen",
    "Audio_EingabeAusgefallen",
    "Audio_WAVBehaltenFehler",
    "Audio_HinweisUebersteuert",
    "Audio_HinweisZuLeise",
    "FormAbspielen",
    "FormAbspielen_LabelDateien",
    "FormAbspielen_ButtonHinzufuegen",
    "FormAbspielen_ButtonEntfernen",
    "FormAbspielen_LabelGeraet",
    "FormAbspielen_ButtonAbspielen",
    "FormAbspielen_ButtonPause",
    "FormAbspielen_ButtonWeiter",
    "FormAbspielen_ButtonStopp",
    "FormAbspielen_ButtonExportWAV",
    "FormAbspielen_ButtonExportMZT",
    "FormAbspielen_ButtonSchliessen",
    "FormAbspielen_Zeit",
    "FormAbspielen_Fertig",
    "FormAbspielen_Unterlaeufe",
    "FormAbspielen_OpenDialog_Titel",
    "FormAbspielen_OpenDialog_Filter",
    "FormAufnahme",
    "FormAufnahme_LabelGeraet",
    "FormAufnahme_LabelPegel",
    "FormAufnahme_CheckBoxWAVBehalten",
    "FormAufnahme_ButtonStart",
    "FormAufnahme_ButtonStopp",
    "FormAufnahme_LabelDateien",
    "FormAufnahme_SpalteName",
    "FormAufnahme_SpalteGroesse",
    "FormAufnahme_SpalteLadeAdresse",
    "FormAufnahme_SpalteZustand",
    "FormAufnahme_ZustandIntakt",
    "FormAufnahme_ButtonImportieren",
    "FormAufnahme_ButtonSpeichern",
    "FormAufnahme_ButtonSchliessen",
    "FormAufnahme_Bereit",
    "FormAufnahme_Laeuft",
    "FormAufnahme_Ende",
    "FormAufnahme_Uebersprungen",
    "FormAufnahme_FrageStoppen",
    "FormEinstellungen_GroupBoxTonband",
    "FormEinstellungen_LabelAusgabe",
    "FormEinstellungen_LabelEingabe",
    "FormEinstellungen_Standardgeraet",
    "Zustand_Repariert",
    "Zustand_Kopf",
    "Zustand_Rumpf",
    "Zustand_KopfUndRumpf",
    "Zustand_Beschaedigt",
    "Zustand_BeschaedigtKopf",
    "Frage_BeschaedigteDatei",
    "Hinweis_BeschaedigteNichtGeschrieben",
    "Bandansicht_KopfKopie",
    "Bandansicht_RumpfKopie",
    "Bandansicht_Vorlauf",
    "Bandansicht_Tempo",
    "Bandansicht_Pegel",
    "Bandansicht_ImpulseFest",
    "Bandansicht_ImpulseAdaptiv",
    "FormBandansicht_Fortschritt_Huelle",
    "FormBandansicht_Fortschritt_Dekodierung",
    "FormBandansicht",
    "FormBandansicht_Titel",
    "FormBandansicht_Status",
    "FormBandansicht_Erweitert",
    "FormBandansicht_Standard",
    "FormBandansicht_Abgebrochen",
    "FormBandansicht_LabelKatalog",
    "FormBandansicht_LabelBytes",
    "FormBandansicht_SpalteAttribut",
    "FormBandansicht_SpalteName",
    "FormBandansicht_SpalteGroesse",
    "FormBandansicht_SpalteLadeAdresse",
    "FormBandansicht_SpalteStartAdresse",
    "FormBandansicht_SpalteZustand",
    "FormBandansicht_Zustand_Intakt",
    "FormBandansicht_Legende_Gut",
    "FormBandansicht_Legende_Repariert",
    "FormBandansicht_Legende_Fehler",
    "FormBandansicht_Legende_Unsicher",
    "FormBandansicht_ButtonAllesZeigen",
    "FormBandansicht_ButtonVergroessern",
    "FormBandansicht_ButtonVerkleinern",
    "FormBandansicht_ButtonAbbrechen",
    "FormBandansicht_ButtonImport",
    "FormBandansicht_ButtonSpeichern",
    "FormBandansicht_ButtonAlleSpeichern",
    "FormBandansicht_ButtonSchliessen",
    "FormBandansicht_SaveDialogAlle_Titel",
    "FormBandansicht_Info_AlleGespeichert",
    "MenueHaupt_ImportExport_Bandansicht",
    "FormAuswahlMZDatei_ButtonBandansicht",
    "Frage_Bandansicht",
};

QStringList Zeilen(const QString& text) {
    // Every line ends with CR LF, so the piece after the last one is empty and no line.
    QStringList zeilen = text.split(QStringLiteral("\r\n"));
    EXPECT_TRUE(zeilen.last().isEmpty()) << "text does not end with CR LF";
    zeilen.removeLast();
    return zeilen;
}

bool IstUnterstreichung(const QString& zeile, qsizetype laenge) {
    return laenge > 0 && zeile == QString(laenge, QLatin1Char('-'));
}

// Line indexes of the headings: a line followed by hyphens of its own length.
QList<qsizetype> Ueberschriften(const QStringList& zeilen, bool mitLeerzeichen) {
    QList<qsizetype> ergebnis;
    for (qsizetype i = 0; i + 1 < zeilen.size(); ++i) {
        QString kopf = zeilen[i];
        QString strich = zeilen[i + 1];
        if (mitLeerzeichen) {
            kopf.chop(1);
            strich.chop(1);
        }
        if (!kopf.isEmpty() && IstUnterstreichung(strich, kopf.size()))
            ergebnis.append(i);
    }
    return ergebnis;
}

class SprachenTexteTest : public ::testing::Test {
protected:
    void SetUp() override { SetzeSprache(false); }
    void TearDown() override { SetzeSprache(false); }
};

TEST_F(SprachenTexteTest, BeideTabellenHaltenDieselbenSchluesselInTabellenreihenfolge) {
    SetzeSprache(false);
    const auto deutsch = TextTabelleInhalt();
    SetzeSprache(true);
    const auto englisch = TextTabelleInhalt();

    constexpr int erwartet = sizeof(ErwarteteSchluessel) / sizeof(ErwarteteSchluessel[0]);
    static_assert(erwartet == 286);
    ASSERT_EQ(deutsch.size(), erwartet);
    ASSERT_EQ(englisch.size(), erwartet);
    EXPECT_EQ(AnzahlTextSchluessel, erwartet);

    for (int i = 0; i < erwartet; ++i) {
        const QString key = QString::fromLatin1(ErwarteteSchluessel[i]).toUpper();
        SCOPED_TRACE(ErwarteteSchluessel[i]);
        EXPECT_EQ(deutsch[i].first, key);
        EXPECT_EQ(englisch[i].first, key);
        EXPECT_FALSE(deutsch[i].second.isEmpty());
        EXPECT_FALSE(englisch[i].second.isEmpty());
        // A caller fills the same placeholders whatever the language.
        EXPECT_EQ(deutsch[i].second.count(QLatin1Char('~')), englisch[i].second.count(QLatin1Char('~')));
    }
}

TEST_F(SprachenTexteTest, SchluesselOhneRuecksichtAufGrossUndKleinschreibung) {
    EXPECT_EQ(HoleText(QStringLiteral("fehler_dateilesen")), HoleText(QStringLiteral("Fehler_DateiLesen")));
    EXPECT_EQ(HoleText(QStringLiteral("FEHLER_DATEILESEN")),
              QStringLiteral("Fehler beim Lesen der Datei !\r\n\r\nFehlerbeschreibung: "));
    EXPECT_EQ(HoleText(QStringLiteral("mzdateiattribut$a0")), QStringLiteral("MZ-700/800 PASCAL-Programm"));
}

TEST_F(SprachenTexteTest, UnbekannterSchluesselKommtUnveraendertZurueck) {
    EXPECT_EQ(HoleText(QStringLiteral("Xyz")), QStringLiteral("Xyz"));
    EXPECT_EQ(HoleText(QStringLiteral("xYz~")), QStringLiteral("xYz~"));
    EXPECT_EQ(HoleTextMitParametern(QStringLiteral("Xyz"), QStringLiteral("a")), QStringLiteral("Xyz"));
    EXPECT_EQ(HoleTextMitParametern(QStringLiteral("Xyz~~"), QStringLiteral("a"), QStringLiteral("b"),
                                    QStringLiteral("c")),
              QStringLiteral("Xyz~~"));
    // Attributes without a row of their own: the caller sees the key and names them "Unknown".
    EXPECT_EQ(HoleText(QStringLiteral("MZDateiAttribut$06")), QStringLiteral("MZDateiAttribut$06"));
    EXPECT_EQ(HoleText(QStringLiteral("MZDateiAttribut$FF")), QStringLiteral("MZDateiAttribut$FF"));
    EXPECT_EQ(HoleText(QStringLiteral("MZDateiAttributUnbekannt")), QStringLiteral("Unbekannt"));
    SetzeSprache(true);
    EXPECT_EQ(HoleText(QStringLiteral("MZDateiAttribut$06")), QStringLiteral("MZDateiAttribut$06"));
    EXPECT_EQ(HoleText(QStringLiteral("MZDateiAttributUnbekannt")), QStringLiteral("Unknown"));
}

TEST_F(SprachenTexteTest, PlatzhalterWerdenNurImGespeichertenTextGefuellt) {
    SetzeSprache(true);
    EXPECT_EQ(HoleText(QStringLiteral("Fehler_DateiLesen")),
              QStringLiteral("Error reading the file !\r\n\r\nError-description: "));
    EXPECT_EQ(
        HoleTextMitParametern(QStringLiteral("Fehler_SampleRateUngueltig"), QStringLiteral("8000"),
                              QStringLiteral("45000")),
        QStringLiteral("Invalid sample-rate!\r\n\r\nThe sample-rate must have a value between 8000 Hz and "
                       "45000 Hz!"));
    // A missing parameter counts as empty text.
    EXPECT_EQ(HoleTextMitParametern(QStringLiteral("Fehler_DateiLesen"), QStringLiteral("a.mzf")),
              QStringLiteral("Error reading the file a.mzf!\r\n\r\nError-description: "));

    SetzeSprache(false);
    // The "~" of a short path must not take the second parameter.
    EXPECT_EQ(HoleTextMitParametern(QStringLiteral("Fehler_DateiLesen"),
                                    QStringLiteral("C:\\PROGRA~1\\X.MZF"),
                                    QStringLiteral("Zugriff verweigert")),
              QStringLiteral("Fehler beim Lesen der Datei C:\\PROGRA~1\\X.MZF!\r\n\r\nFehlerbeschreibung: "
                             "Zugriff verweigert"));
    EXPECT_EQ(
        HoleTextMitParametern(QStringLiteral("Fehler_SampleRateUngueltig"), QStringLiteral("8000"),
                              QStringLiteral("45000")),
        QStringLiteral("Ungültige Sample-Rate! \r\n\r\nDie Sample-Rate muss zwischen 8000 Hz und 45000 Hz "
                       "liegen!"));
}

TEST_F(SprachenTexteTest, NurDieErstenDreiPlatzhalterUndDerErsteEintragZaehlen) {
    FuegeTextHinzu(QStringLiteral("TestVierTilden"), QStringLiteral("1~2~3~4~5"));
    FuegeTextHinzu(QStringLiteral("TestLeer"), QString());
    FuegeTextHinzu(QStringLiteral("ProgrammVersionText"), QStringLiteral("zweiter Eintrag"));

    EXPECT_EQ(HoleTextMitParametern(QStringLiteral("testviertilden"), QStringLiteral("a"),
                                    QStringLiteral("b"), QStringLiteral("c")),
              QStringLiteral("1a2b3c4~5"));
    EXPECT_EQ(HoleText(QStringLiteral("TestVierTilden")), QStringLiteral("1234~5"));
    // An empty text behaves like a missing key: the key as passed, no substitution.
    EXPECT_EQ(HoleTextMitParametern(QStringLiteral("testLEER"), QStringLiteral("a")),
              QStringLiteral("testLEER"));
    EXPECT_EQ(HoleText(QStringLiteral("ProgrammVersionText")), QStringLiteral("Version 2.4"));

    // Refilling drops what was added by hand.
    SetzeSprache(false);
    EXPECT_EQ(TextTabelleInhalt().size(), AnzahlTextSchluessel);
    EXPECT_EQ(HoleText(QStringLiteral("TestVierTilden")), QStringLiteral("TestVierTilden"));
}

TEST_F(SprachenTexteTest, SprachwechselAntwortetInDerNeuenSprache) {
    SetzeSprache(true);
    EXPECT_EQ(TextTabelleInhalt().size(), AnzahlTextSchluessel);
    EXPECT_EQ(HoleText(QStringLiteral("Dezimal")), QStringLiteral("dec."));
    EXPECT_EQ(HoleText(QStringLiteral("MenueHaupt_Datei_Schliessen")), QStringLiteral("&Close"));
    SetzeSprache(false);
    EXPECT_EQ(TextTabelleInhalt().size(), AnzahlTextSchluessel);
    EXPECT_EQ(HoleText(QStringLiteral("Dezimal")), QStringLiteral("dez."));
    EXPECT_EQ(HoleText(QStringLiteral("MenueHaupt_Datei_Schliessen")), QStringLiteral("S&chließen"));
    SetzeSprache(false);
    EXPECT_EQ(TextTabelleInhalt().size(), AnzahlTextSchluessel);
}

TEST_F(SprachenTexteTest, TexteStehenZeichenGenauWieDasProgrammSieZeigt) {
    EXPECT_EQ(HoleText(QStringLiteral("Warnung_ProgrammBeschaeftigt")),
              QStringLiteral(
                  "Bandwerk ist derzeit beschäftigt.\r\nWenn Sie das Programm jetzt beenden, kann dies zu "
                  "Datenverlusten führen! \r\nWollen Sie Bandwerk dennoch jetzt beenden?"));
    EXPECT_EQ(HoleText(QStringLiteral("FormAuswahlMZDatei_LabelHinweisImport")),
              QStringLiteral("Mit der Schaltfläche \"Import\" wird die oben ausgewählte MZ-Datei in Bandwerk "
                             "importiert. Dieses Fenster wird bei dieser Aktion geschlossen."));
    EXPECT_EQ(
        HoleText(QStringLiteral("FormUeberDiesesProgramm_LabelUndanksagungenText")),
        QStringLiteral("- Alle Mitglieder des Bundestages oder eines Landtages wegen deren völlig überzogen "
                       "Rentenansprüchen\r\n- Das deutsche Fernsehen, weil viel zu wenig ROADRUNNER gezeigt "
                       "wird"));
    EXPECT_EQ(HoleText(QStringLiteral("FormHaupt_OpenDialogMZFDatei_Filter")),
              QStringLiteral("MZF-Dateien (*.mzf)|*.mzf|M12-Dateien (*.m12)|*.m12|Alle Dateien (*.*)|*.*"));
    EXPECT_EQ(HoleText(QStringLiteral("ProgrammLizenz")),
              QStringLiteral("Bandwerk ist freie Software unter der MIT-Lizenz."));

    SetzeSprache(true);
    EXPECT_EQ(HoleText(QStringLiteral("FormEinstellungen_RadioGroupMZTonbandFormat_Verkuerzt")),
              QStringLiteral("Shortend (smaller WAV-files, without redundancies)"));
    EXPECT_EQ(HoleText(QStringLiteral("MZDateiAttribut$A0")), QStringLiteral("MZ-700/800 PASCAL-programm"));
    EXPECT_EQ(HoleText(QStringLiteral("Warnung_ProgrammBeschaeftigt")),
              QStringLiteral(
                  "Bandwerk is busy at the moment.\r\nIf the program will be terminated now, loss of data "
                  "can occur!\r\nDo you want to terminate Bandwerk now anyway?"));
    EXPECT_EQ(
        HoleTextMitParametern(QStringLiteral("Fehler_UngueltigesNichtMZZeichen"), QStringLiteral("€")),
        QStringLiteral("The character <€> cannot be used because it doesn't exist in the ASCII-code of the "
                       "MZ!!"));
    EXPECT_EQ(
        HoleText(QStringLiteral("FormAuswahlMZDatei_LabelHinweisSpeichernAlsMZFDatei")),
        QStringLiteral("Using the button \"Save as MZF-file...\" the above selected MZ-file will be saved as "
                       "MZF-file. This window will remain open after this action."));
    EXPECT_EQ(HoleText(QStringLiteral("FormKurzanleitung_SaveDialogKurzanleitung_Filter")),
              QStringLiteral("TXT-files (*.txt)|*.txt|All files (*.*)|*.*"));
    EXPECT_EQ(HoleText(QStringLiteral("ProgrammLizenz")),
              QStringLiteral("Bandwerk is free software under the MIT licence."));
}

TEST_F(SprachenTexteTest, UeberFensterTexteOhneTildeUndMitAdressen) {
    for (const bool englisch : {false, true}) {
        SetzeSprache(englisch);
        SCOPED_TRACE(englisch ? "English" : "Deutsch");
        const QString mail = HoleText(QStringLiteral("FormUeberDiesesProgramm_LabelLinkEMail"));
        EXPECT_TRUE(mail.startsWith(englisch ? QStringLiteral("E-mail: ") : QStringLiteral("eMail: ")))
            << mail.toStdString();
        EXPECT_TRUE(mail.contains(QLatin1Char('@')));
        EXPECT_TRUE(HoleText(QStringLiteral("FormUeberDiesesProgramm_LabelLinkWWW"))
                        .startsWith(QStringLiteral("Internet: ")));
        const QStringList dank = HoleText(QStringLiteral("FormUeberDiesesProgramm_LabelDanksagungenText"))
                                     .split(QStringLiteral("\r\n"));
        ASSERT_EQ(dank.size(), 3);
        for (const QString& zeile : dank)
            EXPECT_TRUE(zeile.startsWith(QStringLiteral("- "))) << zeile.toStdString();
        EXPECT_FALSE(HoleText(QStringLiteral("ProgrammCopyright")).contains(QStringLiteral("\r\n")));
    }
    SetzeSprache(false);
    const QString copyrightDeutsch = HoleText(QStringLiteral("ProgrammCopyright"));
    SetzeSprache(true);
    EXPECT_EQ(HoleText(QStringLiteral("ProgrammCopyright")), copyrightDeutsch);
}

TEST_F(SprachenTexteTest, KurzanleitungHatNeunAbschnitteUndDreiPlatzhalter) {
    const QStringList deutsch = {
        QStringLiteral("Allgemeines"),           QStringLiteral("Bedienungshinweise"),
        QStringLiteral("Einschränkungen"),       QStringLiteral("Nutzungsbedingungen"),
        QStringLiteral("Systemvoraussetzungen"), QStringLiteral("Installation und De-Installation"),
        QStringLiteral("Starten von Bandwerk"),  QStringLiteral("Kontakt zum Autor"),
        QStringLiteral("Haftungsausschluss")};
    const QStringList englisch = {QStringLiteral("General"),
                                  QStringLiteral("Operating hints"),
                                  QStringLiteral("Restrictions"),
                                  QStringLiteral("Terms of use"),
                                  QStringLiteral("System requirements"),
                                  QStringLiteral("Installation and uninstallation"),
                                  QStringLiteral("Starting Bandwerk"),
                                  QStringLiteral("Contact to the author"),
                                  QStringLiteral("Disclaimer")};
    for (const bool inEnglisch : {false, true}) {
        SetzeSprache(inEnglisch);
        SCOPED_TRACE(inEnglisch ? "English" : "Deutsch");
        const QString text =
            HoleTextMitParametern(QStringLiteral("FormKurzanleitung_MemoKurzanleitung"),
                                  QStringLiteral("<L>"), QStringLiteral("<K>"), QStringLiteral("<H>"));
        const QStringList zeilen = Zeilen(text);
        const QList<qsizetype> koepfe = Ueberschriften(zeilen, false);
        QStringList titel;
        for (const qsizetype i : koepfe)
            titel.append(zeilen[i]);
        ASSERT_EQ(titel, inEnglisch ? englisch : deutsch);

        ASSERT_EQ(koepfe.first(), 0);
        for (qsizetype n = 0; n < koepfe.size(); ++n) {
            const qsizetype i = koepfe[n];
            EXPECT_TRUE(zeilen[i + 2].isEmpty()) << "no empty line under " << zeilen[i].toStdString();
            if (n > 0) {
                // Exactly two empty lines between sections.
                EXPECT_TRUE(zeilen[i - 1].isEmpty() && zeilen[i - 2].isEmpty() && !zeilen[i - 3].isEmpty())
                    << zeilen[i].toStdString();
            }
        }
        ASSERT_GE(zeilen.size(), 3);
        EXPECT_TRUE(zeilen[zeilen.size() - 1].isEmpty() && zeilen[zeilen.size() - 2].isEmpty() &&
                    !zeilen[zeilen.size() - 3].isEmpty());

        // The placeholders sit alone in terms of use, at the end of contact, and in the disclaimer.
        auto abschnittText = [&](int n) {
            const qsizetype von = koepfe[n] + 3;
            const qsizetype bis = n + 1 < koepfe.size() ? koepfe[n + 1] - 2 : zeilen.size() - 2;
            return zeilen.mid(von, bis - von);
        };
        EXPECT_EQ(abschnittText(3), QStringList{QStringLiteral("<L>")});
        EXPECT_EQ(abschnittText(8), QStringList{QStringLiteral("<H>")});
        const QStringList kontakt = abschnittText(7);
        ASSERT_GE(kontakt.size(), 3);
        EXPECT_TRUE(
            kontakt[0].startsWith(inEnglisch ? QStringLiteral("E-mail: ") : QStringLiteral("eMail: ")));
        EXPECT_TRUE(kontakt[1].startsWith(QStringLiteral("Internet: ")));
        EXPECT_EQ(kontakt.last(), QStringLiteral("<K>"));
        EXPECT_TRUE(abschnittText(6).join(QLatin1Char(' ')).contains(QStringLiteral("bandwerk")));
        EXPECT_EQ(text.count(QLatin1Char('~')), 0);

        // The word wrap of the text export never breaks inside quotes: an apostrophe or an odd quotation
        // mark would keep the rest of the text from being wrapped.
        EXPECT_FALSE(text.contains(QLatin1Char('\'')));
        EXPECT_EQ(text.count(QLatin1Char('"')) % 2, 0);
    }
}

// The instruction describes the program as it is built here: a Qt program started as
// "bandwerk [FILE.mzf]", its command-line companion, and the two commands of the source folder.
TEST_F(SprachenTexteTest, KurzanleitungBeschreibtDiesesProgramm) {
    for (const bool inEnglisch : {false, true}) {
        SetzeSprache(inEnglisch);
        SCOPED_TRACE(inEnglisch ? "English" : "Deutsch");
        // As the table holds it, placeholders and all.
        QString text;
        for (const auto& [schluessel, wert] : TextTabelleInhalt())
            if (schluessel == QStringLiteral("FORMKURZANLEITUNG_MEMOKURZANLEITUNG"))
                text = wert;
        for (const char* fremd : {".exe", "Windows", "C:\\", "Registry", "registry"})
            EXPECT_FALSE(text.contains(QLatin1String(fremd))) << fremd;
        EXPECT_TRUE(text.contains(inEnglisch ? QStringLiteral("\r\nbandwerk [FILE.mzf]\r\n")
                                             : QStringLiteral("\r\nbandwerk [DATEI.mzf]\r\n")));
        for (const char* befehl : {"bandwerk-cli", "./run ", "./run-tests", "build/bandwerk"})
            EXPECT_TRUE(text.contains(QLatin1String(befehl))) << befehl;
        // Exactly the three placeholders, and quotes in pairs: a lone apostrophe would keep the
        // saved file from being wrapped after it.
        EXPECT_EQ(text.count(QLatin1Char('~')), 3);
        EXPECT_EQ(text.count(QLatin1Char('"')) % 2, 0);
        EXPECT_EQ(text.count(QLatin1Char('\'')), 0);
    }
}

TEST_F(SprachenTexteTest, VersionsHistorieNeuesteZuerstJedeZeileMitLeerzeichen) {
    struct TAbschnitt {
        QString kopf;
        QStringList aenderungen;
    };
    const QString kleinDe = QStringLiteral("Kleinere Änderungen und Korrekturen");
    const QString kleinEn = QStringLiteral("Minor changes and bugfixes");
    const QList<TAbschnitt> deutsch = {
        {QStringLiteral("Version 2.4 (Juni 2011)"), {kleinDe}},
        {QStringLiteral("Version 2.3 (Juni 2011)"),
         {QStringLiteral(
              "INI-Datei durch Windows-Registry ersetzt, um Probleme mit Windows Vista oder höher zu lösen"),
          QStringLiteral("Verbesserungen an der Benutzeroberfläche"), kleinDe}},
        {QStringLiteral("Version 2.2 (März 2008)"), {kleinDe}},
        {QStringLiteral("Version 2.1 (September 2007)"), {kleinDe}},
        {QStringLiteral("Version 2.0 (August 2007)"),
         {QStringLiteral("Neue Funktion: MZT-Import"),
          QStringLiteral(
              "Neue Funktion: Auswahl der MZ-Datei beim WAV-Import, wenn die WAV-Datei mehrere MZ-Dateien "
              "enthält"),
          QStringLiteral("Neue Funktion: Fortschrittsbalken während des WAV-Imports und WAV-Exports"),
          kleinDe}},
        {QStringLiteral("Version 1.1 (Juni 2007)"),
         {QStringLiteral("Verbesserungen beim WAV-Import mit kleinen Sample-Rates"), kleinDe}},
        {QStringLiteral("Version 1.0 (Juni 2007)"), {QStringLiteral("Geburt von Bandwerk ;-)")}},
    };
    const QList<TAbschnitt> englisch = {
        {QStringLiteral("Version 2.4 (June 2011)"), {kleinEn}},
        {QStringLiteral("Version 2.3 (June 2011)"),
         {QStringLiteral(
              "INI-file replaced by windows-registry to solve problems with Windows Vista or newer"),
          QStringLiteral("Improvements concerning the user interface"), kleinEn}},
        {QStringLiteral("Version 2.2 (March 2008)"), {kleinEn}},
        {QStringLiteral("Version 2.1 (September 2007)"), {kleinEn}},
        {QStringLiteral("Version 2.0 (August 2007)"),
         {QStringLiteral("New feature: MZT-import"),
          QStringLiteral(
              "New feature: Selection of the MZ-file during the WAV-import if the WAV-file contains "
              "several MZ-files"),
          QStringLiteral("New feature: Progress-bar during the WAV-import and WAV-export"), kleinEn}},
        {QStringLiteral("Version 1.1 (June 2007)"),
         {QStringLiteral("Improvements concerning WAV-imports with small sample-rates"), kleinEn}},
        {QStringLiteral("Version 1.0 (June 2007)"), {QStringLiteral("Birth of Bandwerk ;-)")}},
    };
    for (const bool inEnglisch : {false, true}) {
        SetzeSprache(inEnglisch);
        SCOPED_TRACE(inEnglisch ? "English" : "Deutsch");
        const QStringList zeilen =
            Zeilen(HoleText(QStringLiteral("FormVersionsHistorie_MemoVersionsHistorie")));
        QStringList ohneLeerzeichen;
        for (const QString& zeile : zeilen) {
            EXPECT_TRUE(zeile.endsWith(QLatin1Char(' '))) << "[" << zeile.toStdString() << "]";
            ohneLeerzeichen.append(zeile.chopped(1));
        }
        // Walk the sections: heading, hyphens of its length, empty line, changes, two empty lines.
        qsizetype i = 0;
        for (const TAbschnitt& abschnitt : inEnglisch ? englisch : deutsch) {
            ASSERT_LT(i + 2, ohneLeerzeichen.size());
            EXPECT_EQ(ohneLeerzeichen[i], abschnitt.kopf);
            EXPECT_EQ(ohneLeerzeichen[i + 1], QString(abschnitt.kopf.size(), QLatin1Char('-')));
            EXPECT_EQ(ohneLeerzeichen[i + 2], QString());
            i += 3;
            ASSERT_LE(i + abschnitt.aenderungen.size() + 2, ohneLeerzeichen.size());
            EXPECT_EQ(ohneLeerzeichen.mid(i, abschnitt.aenderungen.size()), abschnitt.aenderungen);
            i += abschnitt.aenderungen.size();
            EXPECT_EQ(ohneLeerzeichen.mid(i, 2), (QStringList{QString(), QString()}));
            i += 2;
        }
        EXPECT_EQ(i, ohneLeerzeichen.size());
    }
}

TEST_F(SprachenTexteTest, SetzeSpracheSpeichertDieSprache) {
    SetzeSprache(true);
    EXPECT_TRUE(LiesSprache());
    SetzeSprache(false);
    EXPECT_FALSE(LiesSprache());
    SetzeSprache(true);
    EXPECT_TRUE(LiesSprache());

    // The command-line tool switches the table only; the stored language stays.
    WaehleSpracheOhneSpeichern(false);
    EXPECT_EQ(HoleText(QStringLiteral("Dezimal")), QStringLiteral("dez."));
    EXPECT_EQ(TextTabelleInhalt().size(), AnzahlTextSchluessel);
    EXPECT_TRUE(LiesSprache());
}

TEST_F(SprachenTexteTest, ScheiterndesSpeichernLaesstDieTabelleStehen) {
    SetzeSprache(false);
    const auto vorher = TextTabelleInhalt();
    const QString datei = EinstellungsDatei();
    ASSERT_TRUE(QFileInfo(datei).isFile()) << datei.toStdString();

    // A directory in place of the settings file makes every write fail, even for root.
    ASSERT_TRUE(QFile::remove(datei));
    ASSERT_TRUE(QDir().mkpath(datei));
    bool geworfen = false;
    try {
        SetzeSprache(true);
    } catch (const TEinstellungenFehler&) {
        geworfen = true;
    }
    const auto nachher = TextTabelleInhalt();
    ASSERT_TRUE(QDir(datei).removeRecursively());
    SetzeSprache(false); // the store works again

    if (!geworfen)
        GTEST_SKIP() << "the settings store could not be made to fail";
    EXPECT_EQ(nachher, vorher);
    EXPECT_EQ(HoleText(QStringLiteral("Dezimal")), QStringLiteral("dez."));
}

} // namespace
