// Die deutschen Texte, eine Zeile je Schlüssel, in Tabellenreihenfolge.
#include "SprachenTexte.h"

// One line per key: each text stays readable as the program shows it.
// clang-format off
void FuelleTabelleDeutsch() {
    FuegeTextHinzu(QStringLiteral("ProgrammVersionText"), QStringLiteral("Version " BANDWERK_VERSION));
    FuegeTextHinzu(QStringLiteral("ProgrammCopyright"), QStringLiteral("Copyright © 2026 the Bandwerk authors"));
    FuegeTextHinzu(QStringLiteral("ProgrammLizenz"), QStringLiteral("Bandwerk ist freie Software unter der MIT-Lizenz."));
    FuegeTextHinzu(QStringLiteral("KontaktAutorText"), QStringLiteral("Alle Vorschläge, Kommentare und Fehlerberichte zu diesem Programm sind willkommen!"));
    FuegeTextHinzu(QStringLiteral("DateiNameKeinName"), QStringLiteral("KeinName"));
    FuegeTextHinzu(QStringLiteral("Dezimal"), QStringLiteral("dez."));
    FuegeTextHinzu(QStringLiteral("Hexadezimal"), QStringLiteral("hex."));
    FuegeTextHinzu(QStringLiteral("EinheitBytes"), QStringLiteral("Bytes"));
    FuegeTextHinzu(QStringLiteral("Kurzanleitung"), QStringLiteral("Kurzanleitung"));
    FuegeTextHinzu(QStringLiteral("HaftungsAusschlussUeberschrift"), QStringLiteral("Haftungsausschluss:"));
    FuegeTextHinzu(QStringLiteral("HaftungsAusschlussText"), QStringLiteral("Der Autor dieses Programms (Feldmark) übernimmt keinerlei Haftung für Schäden jeglicher Art, die im Zusammenhang mit diesem Programm entstehen.\r\nEr übernimmt außerdem keinerlei Garantien im Zusammenhang mit diesem Programm."));
    FuegeTextHinzu(QStringLiteral("HaftungsAusschlussFrage"), QStringLiteral("Sind Sie damit einverstanden?"));
    FuegeTextHinzu(QStringLiteral("HaftungsAusschlussNichtAkzeptiert"), QStringLiteral("Leider dürfen Sie dieses Programm nicht verwenden, wenn Sie mit dem Haftungsausschluss nicht einverstanden sind.\r\n\r\nDas Programm wird daher jetzt beendet."));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$01"), QStringLiteral("Maschinensprache-Programm"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$02"), QStringLiteral("MZ-80 BASIC-Programm"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$03"), QStringLiteral("MZ-80 BASIC-Daten-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$04"), QStringLiteral("MZ-700/800 BASIC-Daten-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$05"), QStringLiteral("MZ-700/800 BASIC-Programm"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$07"), QStringLiteral("MZ-700/800 Bibliotheks-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$11"), QStringLiteral("MZ-700/800 Textwriter-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$41"), QStringLiteral("MZ-700/800 AREM-Assembler-Datei (Alte Version)"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$42"), QStringLiteral("MZ-700/800 AREM-Assembler-Datei (Neue Version)"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$44"), QStringLiteral("MZ-700/800 DZ80-Assembler-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$49"), QStringLiteral("MZ-700/800 Crowood-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$58"), QStringLiteral("MZ-700/800 XBC-Quellcode-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$94"), QStringLiteral("MZ-700/800 Text-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$A0"), QStringLiteral("MZ-700/800 PASCAL-Programm"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$A1"), QStringLiteral("MZ-700/800 PASCAL-Daten-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$B0"), QStringLiteral("MZ-700/800 URTEXT-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$BA"), QStringLiteral("MZ-700/800 K&P-FORTRAN-Objekt-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$BB"), QStringLiteral("MZ-700/800 K&P-FORTRAN-Quellcode-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$BC"), QStringLiteral("MZ-700/800 K&P-FORTRAN-Daten-Datei"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$BF"), QStringLiteral("MZ-700/800 QUICKCOPY"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttributUnbekannt"), QStringLiteral("Unbekannt"));
    FuegeTextHinzu(QStringLiteral("Info_DateiWurdeGespeichert"), QStringLiteral("Die Datei ~ wurde gespeichert."));
    FuegeTextHinzu(QStringLiteral("Warnung_MZFDateiNichtGespeichert"), QStringLiteral("Die MZF-Datei wurde nicht gespeichert!\r\n\r\nSoll die Datei jetzt gespeichert werden?"));
    FuegeTextHinzu(QStringLiteral("Warnung_AenderungMZText"), QStringLiteral("Mit dieser Änderung gehen ggf. MZ-spezifische Zeichen verloren!\r\n\r\nTrotzdem fortfahren?"));
    FuegeTextHinzu(QStringLiteral("Warnung_MZLadeAdresseZuGross"), QStringLiteral("Mit dieser MZ-Ladeadresse liegt das Ende des MZ-Programms jenseits der MZ-Speicherobergrenze $FFFF!\r\n\r\nTrotzdem fortfahren?"));
    FuegeTextHinzu(QStringLiteral("Warnung_ProgrammBeschaeftigt"), QStringLiteral("Bandwerk ist derzeit beschäftigt.\r\nWenn Sie das Programm jetzt beenden, kann dies zu Datenverlusten führen! \r\nWollen Sie Bandwerk dennoch jetzt beenden?"));
    FuegeTextHinzu(QStringLiteral("Fehler_UngueltigeZahl"), QStringLiteral("Ungültige Zahl: ~"));
    FuegeTextHinzu(QStringLiteral("Fehler_UngueltigerDateiname"), QStringLiteral("Ungültiger Dateiname: ~"));
    FuegeTextHinzu(QStringLiteral("Fehler_UngueltigerParameterWert"), QStringLiteral("Ungültiger Wert für Parameter ~!"));
    FuegeTextHinzu(QStringLiteral("Fehler_FalschesZahlensystem"), QStringLiteral("Falsches Zahlensystem!\r\n\r\nHinweis: Bei hexadezimalen Zahlen bitte ein führendes Dollar-Zeichen ($) eingeben!"));
    FuegeTextHinzu(QStringLiteral("Fehler_DateiLesen"), QStringLiteral("Fehler beim Lesen der Datei ~!\r\n\r\nFehlerbeschreibung: ~"));
    FuegeTextHinzu(QStringLiteral("Fehler_DateiBeschaedigt"), QStringLiteral("Die Datei ~ ist beschädigt oder enthält ein nicht-unterstütztes Format!"));
    FuegeTextHinzu(QStringLiteral("Fehler_DateiZuGross"), QStringLiteral("Die Datei ~ ist zu groß!"));
    FuegeTextHinzu(QStringLiteral("Fehler_DateiSchreiben"), QStringLiteral("Fehler beim Speichern der Datei ~!\r\n\r\nFehlerbeschreibung: ~"));
    FuegeTextHinzu(QStringLiteral("Fehler_UngueltigesNichtMZZeichen"), QStringLiteral("Das Zeichen <~> darf nicht verwendet werden, weil es nicht im ASCII-Code des MZ enthalten ist!"));
    FuegeTextHinzu(QStringLiteral("Fehler_KeineMZFDateiGeladen"), QStringLiteral("Es ist keine MZF-Datei geladen!"));
    FuegeTextHinzu(QStringLiteral("Fehler_SampleRateUngueltig"), QStringLiteral("Ungültige Sample-Rate! \r\n\r\nDie Sample-Rate muss zwischen ~ Hz und ~ Hz liegen!"));
    FuegeTextHinzu(QStringLiteral("Fehler_ImportVonMZT_KeineGueltigeMZDateiGefunden"), QStringLiteral("Die MZT-Datei ~ enthält keine gültige MZ-Datei!"));
    FuegeTextHinzu(QStringLiteral("Fehler_ImportVonWAV_KeineGueltigeMZDateiGefunden"), QStringLiteral("Die WAV-Datei ~ enthält keine gültige MZ-Datei!"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZDateiAttribut"), QStringLiteral("MZ-Dateiattribut"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonAendernMZDateiAttribut"), QStringLiteral("Ändern..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZDateiName"), QStringLiteral("MZ-Dateiname"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonAendernMZDateiName"), QStringLiteral("Ändern..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZDateiGroesse"), QStringLiteral("MZ-Datei-Größe"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZLadeAdresse"), QStringLiteral("MZ-Ladeadresse"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonAendernMZLadeAdresse"), QStringLiteral("Ändern..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZStartAdresse"), QStringLiteral("MZ-Startadresse"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonAendernMZStartAdresse"), QStringLiteral("Ändern..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZKommentar"), QStringLiteral("MZ-Kommentar"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonAendernMZKommentar"), QStringLiteral("Ändern..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZDateiRumpf"), QStringLiteral("MZ-Dateirumpf"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_StatusBar_BitteWarten"), QStringLiteral("Bitte warten"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Datei"), QStringLiteral("&Datei"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Datei_Oeffnen"), QStringLiteral("&Öffnen..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Datei_Schliessen"), QStringLiteral("S&chließen"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Datei_Speichern"), QStringLiteral("&Speichern"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Datei_SpeichernUnter"), QStringLiteral("Speichern &unter..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Datei_Beenden"), QStringLiteral("&Beenden"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport"), QStringLiteral("&Import/Export"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_ImportMZT"), QStringLiteral("&MZT-Datei importieren..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_ImportWAV"), QStringLiteral("&WAV-Datei importieren..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_ExportMZT"), QStringLiteral("MZ&T-Datei exportieren..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_ExportWAV"), QStringLiteral("WA&V-Datei exportieren..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Extras"), QStringLiteral("&Extras"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Extras_Einstellungen"), QStringLiteral("&Einstellungen..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Hilfe"), QStringLiteral("&Hilfe"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Hilfe_Kurzanleitung"), QStringLiteral("&Kurzanleitung..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Hilfe_VersionsHistorie"), QStringLiteral("&Versions-Historie..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Hilfe_UeberDiesesProgramm"), QStringLiteral("&Über dieses Programm..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_OpenDialogMZFDatei_Titel"), QStringLiteral("MZF-Datei öffnen"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogMZFDatei_Titel"), QStringLiteral("MZF-Datei speichern"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_OpenDialogMZTDatei_Titel"), QStringLiteral("MZT-Datei importieren"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogMZTDatei_Titel"), QStringLiteral("MZT-Datei exportieren"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_OpenDialogWAVDatei_Titel"), QStringLiteral("WAV-Datei importieren"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogWAVDatei_Titel"), QStringLiteral("WAV-Datei exportieren"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiAttribut"), QStringLiteral("MZ-Dateiattribut ändern"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiAttribut_LabelMZDateiAttribut"), QStringLiteral("MZ-Dateiattribut"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiAttribut_ButtonOK"), QStringLiteral("&OK"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiAttribut_ButtonAbbrechen"), QStringLiteral("&Abbrechen"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiName"), QStringLiteral("MZ-Dateinamen ändern"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiName_LabelMZDateiName"), QStringLiteral("MZ-Dateiname"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiName_ButtonOK"), QStringLiteral("&OK"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiName_ButtonAbbrechen"), QStringLiteral("&Abbrechen"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZLadeAdresse"), QStringLiteral("MZ-Ladeadresse ändern"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZLadeAdresse_LabelMZLadeAdresse"), QStringLiteral("MZ-Ladeadresse"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZLadeAdresse_RadioGroupZahlensystem"), QStringLiteral("Zahlensystem"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZLadeAdresse_ButtonOK"), QStringLiteral("&OK"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZLadeAdresse_ButtonAbbrechen"), QStringLiteral("&Abbrechen"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZStartAdresse"), QStringLiteral("MZ-Startadresse ändern"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZStartAdresse_LabelMZStartAdresse"), QStringLiteral("MZ-Startadresse"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZStartAdresse_RadioGroupZahlensystem"), QStringLiteral("Zahlensystem"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZStartAdresse_ButtonOK"), QStringLiteral("&OK"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZStartAdresse_ButtonAbbrechen"), QStringLiteral("&Abbrechen"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZKommentar"), QStringLiteral("MZ-Kommentar ändern"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZKommentar_LabelMZKommentar"), QStringLiteral("MZ-Kommentar"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZKommentar_ButtonOK"), QStringLiteral("&OK"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZKommentar_ButtonAbbrechen"), QStringLiteral("&Abbrechen"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen"), QStringLiteral("Einstellungen"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_TabSheetAllgemein"), QStringLiteral("Allgemein"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupSprache"), QStringLiteral("Sprache"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_TabSheetImportExport"), QStringLiteral("Import und Export"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupMZModell"), QStringLiteral("MZ-Modell"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_TabSheetExportWAV"), QStringLiteral("WAV-Export"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_LabelSampleRate"), QStringLiteral("Sample-Rate (Hz)"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_ButtonDefaultSampleRate"), QStringLiteral("Standard-Wert eintragen"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupMZTonbandFormat"), QStringLiteral("MZ-Tonband-Format"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupMZTonbandFormat_Vollstaendig"), QStringLiteral("Vollständig (größere WAV-Dateien, mit Redundanzen)"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupMZTonbandFormat_Verkuerzt"), QStringLiteral("Verkürzt (kleinere WAV-Dateien, ohne Redundanzen)"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupPolaritaet"), QStringLiteral("Polarität (Entspricht dem Polaritätsschalter auf der Hauptplatine mancher MZs)"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupPolaritaet_Normal"), QStringLiteral("Normal"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupPolaritaet_Invertiert"), QStringLiteral("Invertiert"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_ButtonOK"), QStringLiteral("&OK"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_ButtonAbbrechen"), QStringLiteral("&Abbrechen"));
    FuegeTextHinzu(QStringLiteral("FormKurzanleitung_MemoKurzanleitung"), QStringLiteral(
        "Allgemeines\r\n"
        "-----------\r\n"
        "\r\n"
        "Bandwerk zeigt, bearbeitet und konvertiert MZF-Dateien. MZF-Dateien enthalten Dateien der Computer der Sharp-MZ-Serie.\r\n"
        "\r\n"
        "Folgende Konvertierungen sind möglich:\r\n"
        "\r\n"
        "MZT-Datei ==> MZF-Datei\r\n"
        "WAV-Datei ==> MZF-Datei\r\n"
        "MZF-Datei ==> MZT-Datei\r\n"
        "MZF-Datei ==> WAV-Datei\r\n"
        "\r\n"
        "MZT-Dateien werden von bestimmten Sharp-MZ-Emulatoren verwendet. Die WAV-Dateien sind gewöhnliche Audio-Dateien. Sie enthalten das Tonband-Signal, das von einem MZ-Datenrekorder aufgenommen wurde oder das auf einen MZ-Datenrekorder aufgenommen werden soll.\r\n"
        "\r\n"
        "Weitere Informationen zur Sharp-MZ-Serie und Verweise auf andere Seiten zur MZ-Serie gibt es unter: " BANDWERK_WEB "\r\n"
        "\r\n"
        "\r\n"
        "Bedienungshinweise\r\n"
        "------------------\r\n"
        "\r\n"
        "Die Bedienung von Bandwerk sollte selbsterklärend sein.\r\n"
        "\r\n"
        "Hexadezimale Zahlen werden mit einem führenden Dollar-Zeichen ($) angezeigt und müssen auch mit einem führenden Dollar-Zeichen eingegeben werden, z.B. $1200.\r\n"
        "\r\n"
        "MZ-spezifische Zeichen, die es auf diesem Computer nicht gibt, werden als Fragezeichen (?) angezeigt. Sie bleiben erhalten, solange das Feld, in dem sie stehen, nicht bearbeitet wird.\r\n"
        "\r\n"
        "Probleme beim Konvertieren einer WAV-Datei liegen meistens an einer schlechten Aufnahmequalität. Eine WAV-Datei sollte mit einem Kanal (Mono), 8 Bit und 22050 Hz aufgenommen werden. Während der Aufnahme sollte kein anderes Programm laufen.\r\n"
        "\r\n"
        "Liefert die Aufnahme eines abgenutzten Bandes keine MZ-Datei, findet die erweiterte Dekodierung (Extras, Einstellungen, Import und Export) sie womöglich noch: Sie setzt jeden Block aus seinen beiden Kopien und allen Dekodier-Durchgängen zusammen und liest auch die WAV-Dateien heutiger Rekorder (24 oder 32 Bit, Gleitkomma, bis 384000 Hz). Nehmen Sie eine abgenutzte Kassette zweimal auf und wählen Sie beim WAV-Import beide WAV-Dateien zugleich: Dieselbe Datei auf beiden Aufnahmen wird aus allen ihren Kopien gebaut. Eine Datei, die sich nicht ganz retten ließ, erscheint als beschädigt, mit einer Warnung vor dem Import; ließ sich ihr Kopf nicht lesen, nennt ein Hinweis ihre Stelle in der Aufnahme. \"bandwerk-cli scan DATEI.wav\" zeigt, wo ein Band beschädigt ist und wie schnell es lief.\r\n"
        "\r\n"
        "\r\n"
        "Einschränkungen\r\n"
        "---------------\r\n"
        "\r\n"
        "Es werden nur MZF-Dateien mit einem Datenrekorder-Header unterstützt, keine anderen Header wie z.B. QuickDisk-Header.\r\n"
        "\r\n"
        "Es werden nur die folgenden MZ-Dateiattribute unterstützt:\r\n"
        "\r\n"
        "Maschinensprache-Programm ($01)\r\n"
        "MZ-80 BASIC-Programm ($02)\r\n"
        "MZ-700/800 BASIC-Programm ($05)\r\n"
        "\r\n"
        "Andere Attribute können beim Bearbeiten eingestellt werden, sie werden aber beim Laden, Speichern und Konvertieren nicht besonders behandelt. Mit den Attributen MZ-80 BASIC-Daten-Datei ($03) und MZ-700/800 BASIC-Daten-Datei ($04) können die erzeugten WAV-Dateien von einem MZ nicht geladen werden.\r\n"
        "\r\n"
        "\r\n"
        "Nutzungsbedingungen\r\n"
        "-------------------\r\n"
        "\r\n"
        "~\r\n"
        "\r\n"
        "\r\n"
        "Systemvoraussetzungen\r\n"
        "---------------------\r\n"
        "\r\n"
        "Linux mit einer grafischen Oberfläche und Qt 6, z.B. Debian 12 oder neuer.\r\n"
        "\r\n"
        "Für das Aufnehmen und Abspielen von WAV-Dateien: eine Soundkarte oder ein anderes Audio-Gerät.\r\n"
        "\r\n"
        "\r\n"
        "Installation und De-Installation\r\n"
        "--------------------------------\r\n"
        "\r\n"
        "Bandwerk wird in seinem Quellordner gebaut. Unter Debian 12 installiert der Befehl ./run die fehlenden Pakete (mit apt-get), baut die Programme und startet Bandwerk; ./run-tests baut und prüft alles. Die beiden Programme sind danach build/bandwerk und build/bandwerk-cli.\r\n"
        "\r\n"
        "Zum De-Installieren wird der Ordner von Bandwerk gelöscht. Die Einstellungen jedes Benutzers stehen in der Datei .config/Feldmark/Bandwerk.conf in seinem Home-Verzeichnis und können ebenfalls gelöscht werden.\r\n"
        "\r\n"
        "\r\n"
        "Starten von Bandwerk\r\n"
        "--------------------\r\n"
        "\r\n"
        "Bandwerk wird mit diesem Befehl gestartet:\r\n"
        "\r\n"
        "bandwerk [DATEI.mzf]\r\n"
        "\r\n"
        "Optional kann als einziger Kommandozeilen-Parameter der Name einer MZF-Datei angegeben werden. Diese Datei wird dann beim Start geöffnet. Im Quellordner tut ./run DATEI.mzf dasselbe.\r\n"
        "\r\n"
        "Für Konvertierungen ohne Fenster gibt es das Kommandozeilen-Programm \"bandwerk-cli\"; bandwerk-cli --help zeigt seine Befehle.\r\n"
        "\r\n"
        "\r\n"
        "Kontakt zum Autor\r\n"
        "-----------------\r\n"
        "\r\n"
        "eMail: " BANDWERK_EMAIL "\r\n"
        "Internet: " BANDWERK_WEB "\r\n"
        "\r\n"
        "~\r\n"
        "\r\n"
        "\r\n"
        "Haftungsausschluss\r\n"
        "------------------\r\n"
        "\r\n"
        "~\r\n"
        "\r\n"
        "\r\n"));
    FuegeTextHinzu(QStringLiteral("FormKurzanleitung_ButtonSpeichern"), QStringLiteral("Speichern als &Textdatei"));
    FuegeTextHinzu(QStringLiteral("FormKurzanleitung_ButtonSchliessen"), QStringLiteral("&Schließen"));
    FuegeTextHinzu(QStringLiteral("FormKurzanleitung_SaveDialogKurzanleitung_Titel"), QStringLiteral("Kurzanleitung speichern"));
    FuegeTextHinzu(QStringLiteral("FormVersionsHistorie"), QStringLiteral("Versions-Historie"));
    FuegeTextHinzu(QStringLiteral("FormVersionsHistorie_MemoVersionsHistorie"), QStringLiteral(
        "Version 2.4 (Juni 2011) \r\n"
        "----------------------- \r\n"
        " \r\n"
        "Kleinere Änderungen und Korrekturen \r\n"
        " \r\n"
        " \r\n"
        "Version 2.3 (Juni 2011) \r\n"
        "----------------------- \r\n"
        " \r\n"
        "INI-Datei durch Windows-Registry ersetzt, um Probleme mit Windows Vista oder höher zu lösen \r\n"
        "Verbesserungen an der Benutzeroberfläche \r\n"
        "Kleinere Änderungen und Korrekturen \r\n"
        " \r\n"
        " \r\n"
        "Version 2.2 (März 2008) \r\n"
        "----------------------- \r\n"
        " \r\n"
        "Kleinere Änderungen und Korrekturen \r\n"
        " \r\n"
        " \r\n"
        "Version 2.1 (September 2007) \r\n"
        "---------------------------- \r\n"
        " \r\n"
        "Kleinere Änderungen und Korrekturen \r\n"
        " \r\n"
        " \r\n"
        "Version 2.0 (August 2007) \r\n"
        "------------------------- \r\n"
        " \r\n"
        "Neue Funktion: MZT-Import \r\n"
        "Neue Funktion: Auswahl der MZ-Datei beim WAV-Import, wenn die WAV-Datei mehrere MZ-Dateien enthält \r\n"
        "Neue Funktion: Fortschrittsbalken während des WAV-Imports und WAV-Exports \r\n"
        "Kleinere Änderungen und Korrekturen \r\n"
        " \r\n"
        " \r\n"
        "Version 1.1 (Juni 2007) \r\n"
        "----------------------- \r\n"
        " \r\n"
        "Verbesserungen beim WAV-Import mit kleinen Sample-Rates \r\n"
        "Kleinere Änderungen und Korrekturen \r\n"
        " \r\n"
        " \r\n"
        "Version 1.0 (Juni 2007) \r\n"
        "----------------------- \r\n"
        " \r\n"
        "Geburt von Bandwerk ;-) \r\n"
        " \r\n"
        " \r\n"));
    FuegeTextHinzu(QStringLiteral("FormVersionsHistorie_ButtonSchliessen"), QStringLiteral("&Schließen"));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelKontaktUeberschrift"), QStringLiteral("Kontakt zum Autor:"));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelLinkEMail"), QStringLiteral("eMail: " BANDWERK_EMAIL));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelLinkWWW"), QStringLiteral("Internet: " BANDWERK_WEB));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelDanksagungenUeberschrift"), QStringLiteral("Danksagungen an:"));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelDanksagungenText"), QStringLiteral("- den Autoren der MZ-Webseiten und MZ-Emulatoren, die die MZ-Serie dokumentiert halten\r\n"
                                      "- allen, die die englischen Texte geprüft haben\r\n"
                                      "- dem Künstler des Programm-Symbols"));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelUndanksagungenUeberschrift"), QStringLiteral("Undanksagungen an:"));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelUndanksagungenText"), QStringLiteral("- Alle Mitglieder des Bundestages oder eines Landtages wegen deren völlig überzogen Rentenansprüchen\r\n- Das deutsche Fernsehen, weil viel zu wenig ROADRUNNER gezeigt wird"));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_ButtonSchliessen"), QStringLiteral("&Schließen"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei"), QStringLiteral("MZ-Datei auswählen"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_LabelMZDateien"), QStringLiteral("Die WAV-Datei enthält mehrere MZ-Dateien:"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_LabelHinweisImport"), QStringLiteral("Mit der Schaltfläche \"Import\" wird die oben ausgewählte MZ-Datei in Bandwerk importiert. Dieses Fenster wird bei dieser Aktion geschlossen."));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_LabelHinweisSpeichernAlsMZFDatei"), QStringLiteral("Mit der Schaltfläche \"Als MZF-Datei speichern...\" wird die oben ausgewählte MZ-Datei als MZF-Datei gespeichert. Dieses Fenster bleibt nach dieser Aktion offen."));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_ButtonImport"), QStringLiteral("&Import"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_ButtonSpeichernAlsMZFDatei"), QStringLiteral("Als MZF-Datei &speichern..."));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_ButtonAbbrechen"), QStringLiteral("&Abbrechen"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_SaveDialogMZFDatei_Titel"), QStringLiteral("MZF-Datei speichern"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_OpenDialogMZFDatei_Filter"), QStringLiteral("MZF-Dateien (*.mzf)|*.mzf|M12-Dateien (*.m12)|*.m12|Alle Dateien (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogMZFDatei_Filter"), QStringLiteral("MZF-Dateien (*.mzf)|*.mzf|M12-Dateien (*.m12)|*.m12|Alle Dateien (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_OpenDialogMZTDatei_Filter"), QStringLiteral("MZT-Dateien (*.mzt)|*.mzt|Alle Dateien (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogMZTDatei_Filter"), QStringLiteral("MZT-Dateien (*.mzt)|*.mzt|Alle Dateien (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_OpenDialogWAVDatei_Filter"), QStringLiteral("WAV-Dateien (*.wav)|*.wav|Alle Dateien (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogWAVDatei_Filter"), QStringLiteral("WAV-Dateien (*.wav)|*.wav|Alle Dateien (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormKurzanleitung_SaveDialogKurzanleitung_Filter"), QStringLiteral("TXT-Dateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_SaveDialogMZFDatei_Filter"), QStringLiteral("MZF-Dateien (*.mzf)|*.mzf|M12-Dateien (*.m12)|*.m12|Alle Dateien (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_CheckBoxErweiterteDekodierung"), QStringLiteral("&Erweiterte Dekodierung (für abgenutzte Bänder und WAV-Dateien heutiger Rekorder)"));
    FuegeTextHinzu(QStringLiteral("Fehler_ImportVonWAV_HinweisErweiterteDekodierung"), QStringLiteral("Hinweis: Die erweiterte Dekodierung (Extras, Einstellungen, Import und Export) findet MZ-Dateien womöglich noch in Aufnahmen abgenutzter Bänder und liest WAV-Dateien mit 24 oder 32 Bit, in Gleitkomma und mit bis zu 384000 Hz."));
    FuegeTextHinzu(QStringLiteral("Hinweis_UnlesbarerKopf"), QStringLiteral("Hinweis: Wo die erweiterte Dekodierung Marken und Rumpf einer Datei fand, deren Kopf sie nicht lesen konnte: ~. Eine weitere Aufnahme des Bandes gibt eine solche Datei womöglich ganz her (beim WAV-Import mehrere Aufnahmen zugleich wählen)."));
    FuegeTextHinzu(QStringLiteral("Hinweis_ErweitertLiestRate"), QStringLiteral("Die Datei hat eine Sample-Rate von ~ Hz, die die erweiterte Dekodierung liest."));
    FuegeTextHinzu(QStringLiteral("Hinweis_ErweitertLiestFormat"), QStringLiteral("Die Datei enthält ~ in ~ Kanal/Kanälen mit ~ Hz, was die erweiterte Dekodierung liest."));
    FuegeTextHinzu(QStringLiteral("Format_PCM"), QStringLiteral("~-Bit-PCM"));
    FuegeTextHinzu(QStringLiteral("Format_Gleitkomma"), QStringLiteral("~-Bit-Gleitkomma"));
    FuegeTextHinzu(QStringLiteral("Frage_ErweitertLesen"), QStringLiteral("Jetzt mit der erweiterten Dekodierung lesen? Die Einstellung bleibt, wie sie ist."));
    FuegeTextHinzu(QStringLiteral("Hinweis_ErweitertKommandozeile"), QStringLiteral("bandwerk-cli liest sie mit --extended."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelAnsicht"), QStringLiteral("Ansich&t:"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ComboBoxAnsicht_Hex"), QStringLiteral("Hex-Dump"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ComboBoxAnsicht_Basic"), QStringLiteral("BASIC-Listing"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ComboBoxAnsicht_Z80"), QStringLiteral("Z80-Disassemblierung"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelDialekt"), QStringLiteral("&BASIC-Dialekt:"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ComboBoxDialekt_Automatisch"), QStringLiteral("Automatisch: ~"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelCodeAnfang"), QStringLiteral("Code ab &Offset:"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonKopieren"), QStringLiteral("Ko&pieren"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonSpeichernAlsText"), QStringLiteral("Te&xt speichern..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogListing_Titel"), QStringLiteral("Ansicht als Textdatei speichern"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogListing_Filter"), QStringLiteral("TXT-Dateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("Fehler_BasicListe_KeinProgramm"), QStringLiteral("Der Rumpf ist kein Programm in ~: ~."));
    FuegeTextHinzu(QStringLiteral("BasicListe_GrundKeinEnde"), QStringLiteral("bei ~ fehlt die Endemarke $0000"));
    FuegeTextHinzu(QStringLiteral("BasicListe_GrundZeileUeberEnde"), QStringLiteral("die Zeile bei ~ reicht über das Ende des Rumpfs hinaus"));
    FuegeTextHinzu(QStringLiteral("BasicListe_GrundLaengeFalsch"), QStringLiteral("Zeile ~ bei ~ endet nicht dort, wo ihre Länge ~ es angibt"));
    FuegeTextHinzu(QStringLiteral("BasicListe_GrundReihenfolge"), QStringLiteral("die Zeilennummer ~ bei ~ folgt nicht auf die Zeile ~"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_LabelMZDateien_MZT"), QStringLiteral("Die MZT-Datei enthält mehrere MZ-Dateien:"));
    FuegeTextHinzu(QStringLiteral("DateiDialog_DateiSchreibgeschuetzt"), QStringLiteral("~ ist schreibgeschützt.\r\nBitte wählen Sie einen anderen Namen."));
    // The tape deck: playing and recording through the sound devices.
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_Aufnahme"), QStringLiteral("Vom Band &aufnehmen..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_Abspielen"), QStringLiteral("Auf Band a&bspielen..."));
    FuegeTextHinzu(QStringLiteral("Audio_KeinAusgabeGeraet"), QStringLiteral("Es wurde kein Tonausgang gefunden. Schließen Sie einen Kopfhörer- oder Line-Ausgang an und versuchen Sie es erneut."));
    FuegeTextHinzu(QStringLiteral("Audio_KeinEingabeGeraet"), QStringLiteral("Es wurde kein Toneingang gefunden. Schließen Sie einen Line-Eingang an und versuchen Sie es erneut."));
    FuegeTextHinzu(QStringLiteral("Audio_GeraetUnbekannt"), QStringLiteral("Es gibt kein Tongerät \"~\". Wählen Sie eines unter Extras, Einstellungen (bandwerk-cli zeigt sie mit --list-devices)."));
    FuegeTextHinzu(QStringLiteral("Audio_FormatNichtUnterstuetzt"), QStringLiteral("Das Tongerät \"~\" nimmt keines der Sample-Formate an, die das Bandsignal braucht."));
    FuegeTextHinzu(QStringLiteral("Audio_GeraetStartetNicht"), QStringLiteral("Das Tongerät \"~\" konnte nicht gestartet werden."));
    FuegeTextHinzu(QStringLiteral("Audio_AusgabeAusgefallen"), QStringLiteral("Der Tonausgang \"~\" arbeitet nicht mehr (wurde er abgezogen?). Das Abspielen wurde beendet."));
    FuegeTextHinzu(QStringLiteral("Audio_EingabeAusgefallen"), QStringLiteral("Der Toneingang \"~\" arbeitet nicht mehr (wurde er abgezogen?). Die Aufnahme wurde beendet; die bisher gefundenen MZ-Dateien bleiben erhalten."));
    FuegeTextHinzu(QStringLiteral("Audio_WAVBehaltenFehler"), QStringLiteral("Die Aufnahme konnte nicht vollständig in der Datei ~ behalten werden: ~. Die Datei enthält, was bis dahin aufgenommen wurde; Aufnahme und Dekodierung laufen weiter."));
    FuegeTextHinzu(QStringLiteral("Audio_HinweisUebersteuert"), QStringLiteral("Das Signal übersteuert: Lautstärke verringern."));
    FuegeTextHinzu(QStringLiteral("Audio_HinweisZuLeise"), QStringLiteral("Das Signal ist sehr leise: Lautstärke erhöhen."));
    FuegeTextHinzu(QStringLiteral("FormAbspielen"), QStringLiteral("Auf Band abspielen"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_LabelDateien"), QStringLiteral("MZ-Dateien auf dem &Band, in dieser Reihenfolge:"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonHinzufuegen"), QStringLiteral("Dateien &hinzufügen..."));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonEntfernen"), QStringLiteral("&Entfernen"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_LabelGeraet"), QStringLiteral("Tonausgang: ~"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonAbspielen"), QStringLiteral("&Abspielen"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonPause"), QStringLiteral("&Pause"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonWeiter"), QStringLiteral("&Weiter"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonStopp"), QStringLiteral("&Stopp"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonExportWAV"), QStringLiteral("Als &WAV-Datei speichern..."));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonExportMZT"), QStringLiteral("Als &MZT-Datei speichern..."));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonSchliessen"), QStringLiteral("S&chließen"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_Zeit"), QStringLiteral("~ von ~"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_Fertig"), QStringLiteral("Bis zum Ende abgespielt."));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_Unterlaeufe"), QStringLiteral("Der Tonausgang lief beim Abspielen ~ Mal leer: Der MZ hat das Band womöglich nicht geladen. Schließen Sie andere Programme und spielen Sie es erneut ab."));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_OpenDialog_Titel"), QStringLiteral("MZ-Datei zum Band hinzufügen"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_OpenDialog_Filter"), QStringLiteral("MZ-Dateien (*.mzf;*.m12;*.mzt;*.wav)|*.mzf;*.m12;*.mzt;*.wav|Alle Dateien (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme"), QStringLiteral("Vom Band aufnehmen"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_LabelGeraet"), QStringLiteral("Toneingang: ~"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_LabelPegel"), QStringLiteral("Pegel:"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_CheckBoxWAVBehalten"), QStringLiteral("Ganze Aufnahme als &WAV-Datei behalten (für eine spätere Analyse)"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_ButtonStart"), QStringLiteral("&Aufnehmen"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_ButtonStopp"), QStringLiteral("&Stopp"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_LabelDateien"), QStringLiteral("Gefundene MZ-&Dateien:"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_SpalteName"), QStringLiteral("Name"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_SpalteGroesse"), QStringLiteral("Größe"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_SpalteLadeAdresse"), QStringLiteral("Ladeadresse"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_SpalteZustand"), QStringLiteral("Zustand"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_ZustandIntakt"), QStringLiteral("intakt"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_ButtonImportieren"), QStringLiteral("&Importieren"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_ButtonSpeichern"), QStringLiteral("Als &MZF-Datei speichern..."));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_ButtonSchliessen"), QStringLiteral("S&chließen"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_Bereit"), QStringLiteral("Verbinden Sie den Kassettenspieler mit dem Toneingang, drücken Sie \"Aufnehmen\" und starten Sie dann das Band."));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_Laeuft"), QStringLiteral("Aufnahme: ~"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_Ende"), QStringLiteral("Aufnahme nach ~ beendet: ~ MZ-Datei(en) gefunden."));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_Uebersprungen"), QStringLiteral("~ beschädigte Stelle(n) des Bandes wurden übergangen; eine WAV-Datei der Aufnahme lässt sich noch mit der erweiterten Dekodierung lesen."));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_FrageStoppen"), QStringLiteral("Die Aufnahme läuft noch. Beenden und das Fenster schließen?"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_GroupBoxTonband"), QStringLiteral("Bandgerät"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_LabelAusgabe"), QStringLiteral("Ton&ausgang (Abspielen):"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_LabelEingabe"), QStringLiteral("Ton&eingang (Aufnehmen):"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_Standardgeraet"), QStringLiteral("Systemstandard"));
    FuegeTextHinzu(QStringLiteral("Zustand_Repariert"), QStringLiteral("repariert (~)"));
    FuegeTextHinzu(QStringLiteral("Zustand_Kopf"), QStringLiteral("Kopf"));
    FuegeTextHinzu(QStringLiteral("Zustand_Rumpf"), QStringLiteral("Rumpf"));
    FuegeTextHinzu(QStringLiteral("Zustand_KopfUndRumpf"), QStringLiteral("Kopf und Rumpf"));
    FuegeTextHinzu(QStringLiteral("Zustand_Beschaedigt"), QStringLiteral("beschädigt, ~ unsichere Bytes"));
    FuegeTextHinzu(QStringLiteral("Zustand_BeschaedigtKopf"), QStringLiteral("beschädigt, Kopf unsicher, ~ unsichere Bytes"));
    FuegeTextHinzu(QStringLiteral("Frage_BeschaedigteDatei"), QStringLiteral("Die MZ-Datei ~ konnte nicht vollständig vom Band gerettet werden (~): ihre unsicheren Bytes können falsch sein. Eine weitere Aufnahme des Bandes, beim WAV-Import zusammen mit dieser gewählt, gibt sie womöglich ganz her.\r\n\r\nTrotzdem verwenden?"));
    FuegeTextHinzu(QStringLiteral("Hinweis_BeschaedigteNichtGeschrieben"), QStringLiteral("~ beschädigte MZ-Datei(en) nicht geschrieben; --keep-damaged schreibt sie mit einer Karte ihrer unsicheren Bytes (NAME.damage.json)."));
    FuegeTextHinzu(QStringLiteral("Bandansicht_KopfKopie"), QStringLiteral("Kopf ~"));
    FuegeTextHinzu(QStringLiteral("Bandansicht_RumpfKopie"), QStringLiteral("Rumpf ~"));
    FuegeTextHinzu(QStringLiteral("Bandansicht_Vorlauf"), QStringLiteral("Vorlauf"));
    FuegeTextHinzu(QStringLiteral("Bandansicht_Tempo"), QStringLiteral("Tempo (±~ %): ● kurze, ■ lange Impulse der Marken"));
    FuegeTextHinzu(QStringLiteral("Bandansicht_Pegel"), QStringLiteral("Pegel (dB, 0 … −~): leisester bis lautester Abschnitt"));
    FuegeTextHinzu(QStringLiteral("Bandansicht_ImpulseFest"), QStringLiteral("Impulse am Fuß: der feste Durchgang"));
    FuegeTextHinzu(QStringLiteral("Bandansicht_ImpulseAdaptiv"), QStringLiteral("Impulse am Fuß: der feste Durchgang; darüber der adaptive, jeder Balken so hoch, wie der Durchgang sicher ist"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Fortschritt_Huelle"), QStringLiteral("Wellenform wird gelesen: %p %"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Fortschritt_Dekodierung"), QStringLiteral("Dekodierung: %p %"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht"), QStringLiteral("Bandansicht"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Titel"), QStringLiteral("Bandansicht - ~"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Status"), QStringLiteral("~: ~ Hz, ~ s"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Erweitert"), QStringLiteral("(erweiterte Dekodierung)"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Standard"), QStringLiteral("(Standard-Dekodierung)"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Abgebrochen"), QStringLiteral("Das Lesen wurde abgebrochen: nur der gelesene Teil wird gezeigt."));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_LabelKatalog"), QStringLiteral("Gefundene MZ-&Dateien:"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_LabelBytes"), QStringLiteral("&Bytes des gewählten Blocks:"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SpalteAttribut"), QStringLiteral("Attribut"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SpalteName"), QStringLiteral("Name"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SpalteGroesse"), QStringLiteral("Größe"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SpalteLadeAdresse"), QStringLiteral("Ladeadresse"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SpalteStartAdresse"), QStringLiteral("Startadresse"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SpalteZustand"), QStringLiteral("Zustand"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Zustand_Intakt"), QStringLiteral("intakt"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Legende_Gut"), QStringLiteral("gut"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Legende_Repariert"), QStringLiteral("repariert"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Legende_Fehler"), QStringLiteral("Prüfsumme falsch"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Legende_Unsicher"), QStringLiteral("unsichere Bytes"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonAllesZeigen"), QStringLiteral("Alles &zeigen"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonVergroessern"), QStringLiteral("Ver&größern"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonVerkleinern"), QStringLiteral("Ver&kleinern"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonAbbrechen"), QStringLiteral("&Abbrechen"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonImport"), QStringLiteral("&Import"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonSpeichern"), QStringLiteral("Als MZF-Datei &speichern..."));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonAlleSpeichern"), QStringLiteral("A&lle als MZF-Dateien speichern..."));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonSchliessen"), QStringLiteral("Schli&eßen"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SaveDialogAlle_Titel"), QStringLiteral("Alle MZ-Dateien speichern: Ordner wählen (jede Datei heißt wie ihre MZ-Datei)"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Info_AlleGespeichert"), QStringLiteral("~ MZ-Datei(en) wurden in ~ gespeichert."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_Bandansicht"), QStringLiteral("Aufnahme &zeigen..."));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_ButtonBandansicht"), QStringLiteral("Aufnahme &zeigen..."));
    FuegeTextHinzu(QStringLiteral("Frage_Bandansicht"), QStringLiteral("Die Aufnahme in der Bandansicht zeigen, mit ihren Marken und Blöcken?"));
}
// clang-format on
