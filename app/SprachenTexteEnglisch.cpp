// The English texts, one call per key, in table order.
#include "SprachenTexte.h"

// One line per key: each text stays readable as the program shows it.
// clang-format off
void FuelleTabelleEnglisch() {
    FuegeTextHinzu(QStringLiteral("ProgrammVersionText"), QStringLiteral("Version " BANDWERK_VERSION));
    FuegeTextHinzu(QStringLiteral("ProgrammCopyright"), QStringLiteral("Copyright © 2026 the Bandwerk authors"));
    FuegeTextHinzu(QStringLiteral("ProgrammLizenz"), QStringLiteral("Bandwerk is free software under the MIT licence."));
    FuegeTextHinzu(QStringLiteral("KontaktAutorText"), QStringLiteral("All suggestions, comments and bug reports concerning this program are welcome!"));
    FuegeTextHinzu(QStringLiteral("DateiNameKeinName"), QStringLiteral("NoName"));
    FuegeTextHinzu(QStringLiteral("Dezimal"), QStringLiteral("dec."));
    FuegeTextHinzu(QStringLiteral("Hexadezimal"), QStringLiteral("hex."));
    FuegeTextHinzu(QStringLiteral("EinheitBytes"), QStringLiteral("bytes"));
    FuegeTextHinzu(QStringLiteral("Kurzanleitung"), QStringLiteral("Brief instruction"));
    FuegeTextHinzu(QStringLiteral("HaftungsAusschlussUeberschrift"), QStringLiteral("Disclaimer:"));
    FuegeTextHinzu(QStringLiteral("HaftungsAusschlussText"), QStringLiteral("The author of this program (Feldmark) is NOT liable for any kind of damage in connection with this program.\r\nHe also does NOT guarantee anything in connection with this program."));
    FuegeTextHinzu(QStringLiteral("HaftungsAusschlussFrage"), QStringLiteral("Do you agree with this?"));
    FuegeTextHinzu(QStringLiteral("HaftungsAusschlussNichtAkzeptiert"), QStringLiteral("Sorry, but you must not use this program, if you don't agree with the disclaimer!\r\n\r\nTherefore the program ends now."));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$01"), QStringLiteral("Machine-language-program"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$02"), QStringLiteral("MZ-80 BASIC-program"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$03"), QStringLiteral("MZ-80 BASIC-data-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$04"), QStringLiteral("MZ-700/800 BASIC-data-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$05"), QStringLiteral("MZ-700/800 BASIC-program"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$07"), QStringLiteral("MZ-700/800 Library-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$11"), QStringLiteral("MZ-700/800 Textwriter-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$41"), QStringLiteral("MZ-700/800 AREM-assembler-file (old version)"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$42"), QStringLiteral("MZ-700/800 AREM-assembler-file (new version)"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$44"), QStringLiteral("MZ-700/800 DZ80-assembler-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$49"), QStringLiteral("MZ-700/800 Crowood-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$58"), QStringLiteral("MZ-700/800 XBC-source-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$94"), QStringLiteral("MZ-700/800 Text-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$A0"), QStringLiteral("MZ-700/800 PASCAL-programm"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$A1"), QStringLiteral("MZ-700/800 PASCAL-data-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$B0"), QStringLiteral("MZ-700/800 URTEXT-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$BA"), QStringLiteral("MZ-700/800 K&P-FORTRAN-object-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$BB"), QStringLiteral("MZ-700/800 K&P-FORTRAN-source-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$BC"), QStringLiteral("MZ-700/800 K&P-FORTRAN-data-file"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttribut$BF"), QStringLiteral("MZ-700/800 QUICKCOPY"));
    FuegeTextHinzu(QStringLiteral("MZDateiAttributUnbekannt"), QStringLiteral("Unknown"));
    FuegeTextHinzu(QStringLiteral("Info_DateiWurdeGespeichert"), QStringLiteral("The file ~ has been saved."));
    FuegeTextHinzu(QStringLiteral("Warnung_MZFDateiNichtGespeichert"), QStringLiteral("The MZF-file was not saved!\r\n\r\nDo you want to save the file now?"));
    FuegeTextHinzu(QStringLiteral("Warnung_AenderungMZText"), QStringLiteral("Due to this change MZ-specific characters will be lost!\r\n\r\nContinue anyway?"));
    FuegeTextHinzu(QStringLiteral("Warnung_MZLadeAdresseZuGross"), QStringLiteral("Using this MZ-load-address, the end of the MZ-program is beyond the upper limit of the MZ-RAM $FFFF!\r\n\r\nContinue anyway?"));
    FuegeTextHinzu(QStringLiteral("Warnung_ProgrammBeschaeftigt"), QStringLiteral("Bandwerk is busy at the moment.\r\nIf the program will be terminated now, loss of data can occur!\r\nDo you want to terminate Bandwerk now anyway?"));
    FuegeTextHinzu(QStringLiteral("Fehler_UngueltigeZahl"), QStringLiteral("Invalid number: ~"));
    FuegeTextHinzu(QStringLiteral("Fehler_UngueltigerDateiname"), QStringLiteral("Invalid filename: ~"));
    FuegeTextHinzu(QStringLiteral("Fehler_UngueltigerParameterWert"), QStringLiteral("Invalid value for parameter ~!"));
    FuegeTextHinzu(QStringLiteral("Fehler_FalschesZahlensystem"), QStringLiteral("Wrong number system!\r\n\r\nHint: For hexadecimal numbers please enter a leading dollar-character ($)!"));
    FuegeTextHinzu(QStringLiteral("Fehler_DateiLesen"), QStringLiteral("Error reading the file ~!\r\n\r\nError-description: ~"));
    FuegeTextHinzu(QStringLiteral("Fehler_DateiBeschaedigt"), QStringLiteral("The file ~ is corrupted or contains a not-supported format!"));
    FuegeTextHinzu(QStringLiteral("Fehler_DateiZuGross"), QStringLiteral("The file ~ is too large!"));
    FuegeTextHinzu(QStringLiteral("Fehler_DateiSchreiben"), QStringLiteral("Error writing the file ~!\r\n\r\nError-description: ~"));
    FuegeTextHinzu(QStringLiteral("Fehler_UngueltigesNichtMZZeichen"), QStringLiteral("The character <~> cannot be used because it doesn't exist in the ASCII-code of the MZ!!"));
    FuegeTextHinzu(QStringLiteral("Fehler_KeineMZFDateiGeladen"), QStringLiteral("There is no MZF-file loaded!"));
    FuegeTextHinzu(QStringLiteral("Fehler_SampleRateUngueltig"), QStringLiteral("Invalid sample-rate!\r\n\r\nThe sample-rate must have a value between ~ Hz and ~ Hz!"));
    FuegeTextHinzu(QStringLiteral("Fehler_ImportVonMZT_KeineGueltigeMZDateiGefunden"), QStringLiteral("The MZT-file ~ contains no valid MZ-file!"));
    FuegeTextHinzu(QStringLiteral("Fehler_ImportVonWAV_KeineGueltigeMZDateiGefunden"), QStringLiteral("The WAV-file ~ contains no valid MZ-file!"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZDateiAttribut"), QStringLiteral("MZ-file-attribute"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonAendernMZDateiAttribut"), QStringLiteral("Change..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZDateiName"), QStringLiteral("MZ-filename"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonAendernMZDateiName"), QStringLiteral("Change..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZDateiGroesse"), QStringLiteral("MZ-filesize"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZLadeAdresse"), QStringLiteral("MZ-load-address"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonAendernMZLadeAdresse"), QStringLiteral("Change..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZStartAdresse"), QStringLiteral("MZ-start-address"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonAendernMZStartAdresse"), QStringLiteral("Change..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZKommentar"), QStringLiteral("MZ-comment"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonAendernMZKommentar"), QStringLiteral("Change..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelMZDateiRumpf"), QStringLiteral("MZ-file-body"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_StatusBar_BitteWarten"), QStringLiteral("Please wait"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Datei"), QStringLiteral("&File"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Datei_Oeffnen"), QStringLiteral("&Open..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Datei_Schliessen"), QStringLiteral("&Close"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Datei_Speichern"), QStringLiteral("&Save"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Datei_SpeichernUnter"), QStringLiteral("Save &as..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Datei_Beenden"), QStringLiteral("&Exit"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport"), QStringLiteral("&Import/Export"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_ImportMZT"), QStringLiteral("Import from &MZT-file..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_ImportWAV"), QStringLiteral("Import from &WAV-file..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_ExportMZT"), QStringLiteral("Export to MZ&T-file..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_ExportWAV"), QStringLiteral("Export to WA&V-file..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Extras"), QStringLiteral("&Extras"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Extras_Einstellungen"), QStringLiteral("&Settings..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Hilfe"), QStringLiteral("&Help"));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Hilfe_Kurzanleitung"), QStringLiteral("&Brief instruction..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Hilfe_VersionsHistorie"), QStringLiteral("&Version history..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_Hilfe_UeberDiesesProgramm"), QStringLiteral("&About this program..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_OpenDialogMZFDatei_Titel"), QStringLiteral("Open MZF-file"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogMZFDatei_Titel"), QStringLiteral("Save MZF-file"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_OpenDialogMZTDatei_Titel"), QStringLiteral("Import MZT-file"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogMZTDatei_Titel"), QStringLiteral("Export MZT-file"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_OpenDialogWAVDatei_Titel"), QStringLiteral("Import WAV-file"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogWAVDatei_Titel"), QStringLiteral("Export WAV-file"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiAttribut"), QStringLiteral("Change MZ-file-attribute"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiAttribut_LabelMZDateiAttribut"), QStringLiteral("MZ-file-attribute"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiAttribut_ButtonOK"), QStringLiteral("&OK"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiAttribut_ButtonAbbrechen"), QStringLiteral("&Cancel"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiName"), QStringLiteral("Change MZ-filename"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiName_LabelMZDateiName"), QStringLiteral("MZ-filename"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiName_ButtonOK"), QStringLiteral("&OK"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZDateiName_ButtonAbbrechen"), QStringLiteral("&Cancel"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZLadeAdresse"), QStringLiteral("Change MZ-load-address"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZLadeAdresse_LabelMZLadeAdresse"), QStringLiteral("MZ-load-address"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZLadeAdresse_RadioGroupZahlensystem"), QStringLiteral("Number system"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZLadeAdresse_ButtonOK"), QStringLiteral("&OK"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZLadeAdresse_ButtonAbbrechen"), QStringLiteral("&Cancel"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZStartAdresse"), QStringLiteral("Change MZ-start-address"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZStartAdresse_LabelMZStartAdresse"), QStringLiteral("MZ-start-address"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZStartAdresse_RadioGroupZahlensystem"), QStringLiteral("Number system"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZStartAdresse_ButtonOK"), QStringLiteral("&OK"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZStartAdresse_ButtonAbbrechen"), QStringLiteral("&Cancel"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZKommentar"), QStringLiteral("Change MZ-comment"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZKommentar_LabelMZKommentar"), QStringLiteral("MZ-comment"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZKommentar_ButtonOK"), QStringLiteral("&OK"));
    FuegeTextHinzu(QStringLiteral("FormAendernMZKommentar_ButtonAbbrechen"), QStringLiteral("&Cancel"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen"), QStringLiteral("Settings"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_TabSheetAllgemein"), QStringLiteral("General"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupSprache"), QStringLiteral("Language"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_TabSheetImportExport"), QStringLiteral("Import and export"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupMZModell"), QStringLiteral("MZ-model"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_TabSheetExportWAV"), QStringLiteral("WAV-export"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_LabelSampleRate"), QStringLiteral("Sample-rate (Hz)"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_ButtonDefaultSampleRate"), QStringLiteral("Set to default-value"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupMZTonbandFormat"), QStringLiteral("MZ-tape-format"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupMZTonbandFormat_Vollstaendig"), QStringLiteral("Full (bigger WAV-files, with redundancies)"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupMZTonbandFormat_Verkuerzt"), QStringLiteral("Shortend (smaller WAV-files, without redundancies)"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupPolaritaet"), QStringLiteral("Polarity (According to the polarity-switch on the mainboard of some MZs)"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupPolaritaet_Normal"), QStringLiteral("Normal"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_RadioGroupPolaritaet_Invertiert"), QStringLiteral("Inverted"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_ButtonOK"), QStringLiteral("&OK"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_ButtonAbbrechen"), QStringLiteral("&Cancel"));
    FuegeTextHinzu(QStringLiteral("FormKurzanleitung_MemoKurzanleitung"), QStringLiteral(
        "General\r\n"
        "-------\r\n"
        "\r\n"
        "Bandwerk views, edits and converts MZF-files. MZF-files hold files of the computers of the Sharp MZ series.\r\n"
        "\r\n"
        "The following conversions are possible:\r\n"
        "\r\n"
        "MZT-file ==> MZF-file\r\n"
        "WAV-file ==> MZF-file\r\n"
        "MZF-file ==> MZT-file\r\n"
        "MZF-file ==> WAV-file\r\n"
        "\r\n"
        "MZT-files are used by certain Sharp MZ emulators. The WAV-files are ordinary audio files. They hold the tape signal that was recorded from an MZ data recorder or that is to be recorded onto an MZ data recorder.\r\n"
        "\r\n"
        "Further information on the Sharp MZ series and links to other pages about the MZ series can be found at: " BANDWERK_WEB "\r\n"
        "\r\n"
        "\r\n"
        "Operating hints\r\n"
        "---------------\r\n"
        "\r\n"
        "The operation of Bandwerk should be self-explanatory.\r\n"
        "\r\n"
        "Hexadecimal numbers are shown with a leading dollar sign ($) and must also be entered with a leading dollar sign, e.g. $1200.\r\n"
        "\r\n"
        "MZ-specific characters that do not exist on this computer are shown as question marks (?). They are preserved as long as the field holding them is not edited.\r\n"
        "\r\n"
        "Trouble when converting a WAV-file usually comes from a poor recording quality. A WAV-file should be recorded with one channel (mono), 8 bit and 22050 Hz. No other program should run during the recording.\r\n"
        "\r\n"
        "When the recording of a worn tape gives no MZ-file, the extended decoding (Extras, Settings, Import and export) may still find it: it puts every block together from both of its copies and every decoding pass, and it also reads the WAV-files of current recorders (24 or 32 bit, floating point, up to 384000 Hz). Record a worn cassette twice and select both WAV-files at once in Import from WAV-file: the same file on both recordings is built from all their copies. A file that could not be recovered whole is shown as damaged, with a warning before it is imported; where its header could not be read, a hint says where in the recording it lies. \"bandwerk-cli scan FILE.wav\" shows where a tape is damaged and how fast it ran.\r\n"
        "\r\n"
        "\r\n"
        "Restrictions\r\n"
        "------------\r\n"
        "\r\n"
        "Only MZF-files with a data-recorder header are supported, no other headers such as QuickDisk headers.\r\n"
        "\r\n"
        "Only the following MZ-file-attributes are supported:\r\n"
        "\r\n"
        "Machine-language-program ($01)\r\n"
        "MZ-80 BASIC-program ($02)\r\n"
        "MZ-700/800 BASIC-program ($05)\r\n"
        "\r\n"
        "Other attributes can be set while editing, but they get no special treatment when loading, saving or converting. With the attributes MZ-80 BASIC-data-file ($03) and MZ-700/800 BASIC-data-file ($04) the WAV-files produced cannot be loaded by an MZ.\r\n"
        "\r\n"
        "\r\n"
        "Terms of use\r\n"
        "------------\r\n"
        "\r\n"
        "~\r\n"
        "\r\n"
        "\r\n"
        "System requirements\r\n"
        "-------------------\r\n"
        "\r\n"
        "Linux with a graphical desktop and Qt 6, e.g. Debian 12 or newer.\r\n"
        "\r\n"
        "For recording and playing WAV-files: a sound card or another audio device.\r\n"
        "\r\n"
        "\r\n"
        "Installation and uninstallation\r\n"
        "-------------------------------\r\n"
        "\r\n"
        "Bandwerk is built in its source folder. On Debian 12 the command ./run installs the packages that are missing (with apt-get), builds the programs and starts Bandwerk; ./run-tests builds and checks everything. The two programs are then build/bandwerk and build/bandwerk-cli.\r\n"
        "\r\n"
        "To uninstall Bandwerk, delete its folder. The settings of each user are kept in the file .config/Feldmark/Bandwerk.conf in the home directory of the user and can be deleted as well.\r\n"
        "\r\n"
        "\r\n"
        "Starting Bandwerk\r\n"
        "-----------------\r\n"
        "\r\n"
        "Bandwerk is started with the command:\r\n"
        "\r\n"
        "bandwerk [FILE.mzf]\r\n"
        "\r\n"
        "Optionally the name of an MZF-file can be given as the only command-line parameter. This file is then opened at start. In the source folder, ./run FILE.mzf does the same.\r\n"
        "\r\n"
        "For conversions without a window there is the command-line program \"bandwerk-cli\"; bandwerk-cli --help lists its commands.\r\n"
        "\r\n"
        "\r\n"
        "Contact to the author\r\n"
        "---------------------\r\n"
        "\r\n"
        "E-mail: " BANDWERK_EMAIL "\r\n"
        "Internet: " BANDWERK_WEB "\r\n"
        "\r\n"
        "~\r\n"
        "\r\n"
        "\r\n"
        "Disclaimer\r\n"
        "----------\r\n"
        "\r\n"
        "~\r\n"
        "\r\n"
        "\r\n"));
    FuegeTextHinzu(QStringLiteral("FormKurzanleitung_ButtonSpeichern"), QStringLiteral("&Save as textfile"));
    FuegeTextHinzu(QStringLiteral("FormKurzanleitung_ButtonSchliessen"), QStringLiteral("&Close"));
    FuegeTextHinzu(QStringLiteral("FormKurzanleitung_SaveDialogKurzanleitung_Titel"), QStringLiteral("Save brief instruction"));
    FuegeTextHinzu(QStringLiteral("FormVersionsHistorie"), QStringLiteral("Version history"));
    FuegeTextHinzu(QStringLiteral("FormVersionsHistorie_MemoVersionsHistorie"), QStringLiteral(
        "Version 2.4 (June 2011) \r\n"
        "----------------------- \r\n"
        " \r\n"
        "Minor changes and bugfixes \r\n"
        " \r\n"
        " \r\n"
        "Version 2.3 (June 2011) \r\n"
        "----------------------- \r\n"
        " \r\n"
        "INI-file replaced by windows-registry to solve problems with Windows Vista or newer \r\n"
        "Improvements concerning the user interface \r\n"
        "Minor changes and bugfixes \r\n"
        " \r\n"
        " \r\n"
        "Version 2.2 (March 2008) \r\n"
        "------------------------ \r\n"
        " \r\n"
        "Minor changes and bugfixes \r\n"
        " \r\n"
        " \r\n"
        "Version 2.1 (September 2007) \r\n"
        "---------------------------- \r\n"
        " \r\n"
        "Minor changes and bugfixes \r\n"
        " \r\n"
        " \r\n"
        "Version 2.0 (August 2007) \r\n"
        "------------------------- \r\n"
        " \r\n"
        "New feature: MZT-import \r\n"
        "New feature: Selection of the MZ-file during the WAV-import if the WAV-file contains several MZ-files \r\n"
        "New feature: Progress-bar during the WAV-import and WAV-export \r\n"
        "Minor changes and bugfixes \r\n"
        " \r\n"
        " \r\n"
        "Version 1.1 (June 2007) \r\n"
        "----------------------- \r\n"
        " \r\n"
        "Improvements concerning WAV-imports with small sample-rates \r\n"
        "Minor changes and bugfixes \r\n"
        " \r\n"
        " \r\n"
        "Version 1.0 (June 2007) \r\n"
        "----------------------- \r\n"
        " \r\n"
        "Birth of Bandwerk ;-) \r\n"
        " \r\n"
        " \r\n"));
    FuegeTextHinzu(QStringLiteral("FormVersionsHistorie_ButtonSchliessen"), QStringLiteral("&Close"));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelKontaktUeberschrift"), QStringLiteral("Contact to the author:"));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelLinkEMail"), QStringLiteral("E-mail: " BANDWERK_EMAIL));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelLinkWWW"), QStringLiteral("Internet: " BANDWERK_WEB));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelDanksagungenUeberschrift"), QStringLiteral("Thanks to:"));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelDanksagungenText"), QStringLiteral("- the authors of the MZ web sites and emulators that keep the MZ series documented\r\n"
                                      "- everybody who checked the English texts\r\n"
                                      "- the artist of the program icon"));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelUndanksagungenUeberschrift"), QStringLiteral("No thanks to:"));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_LabelUndanksagungenText"), QStringLiteral("- All members of the German Bundestag or a German Landtag because of their exorbitant pensions\r\n- The German television since not enough ROADRUNNER is shown"));
    FuegeTextHinzu(QStringLiteral("FormUeberDiesesProgramm_ButtonSchliessen"), QStringLiteral("&Close"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei"), QStringLiteral("Choose MZ-file"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_LabelMZDateien"), QStringLiteral("The WAV-file contains several MZ-files:"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_LabelHinweisImport"), QStringLiteral("Using the button \"Import\" the above selected MZ-file will be imported into Bandwerk. This window will be closed during this action."));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_LabelHinweisSpeichernAlsMZFDatei"), QStringLiteral("Using the button \"Save as MZF-file...\" the above selected MZ-file will be saved as MZF-file. This window will remain open after this action."));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_ButtonImport"), QStringLiteral("&Import"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_ButtonSpeichernAlsMZFDatei"), QStringLiteral("&Save as MZF-file..."));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_ButtonAbbrechen"), QStringLiteral("&Cancel"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_SaveDialogMZFDatei_Titel"), QStringLiteral("Save MZF-file"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_OpenDialogMZFDatei_Filter"), QStringLiteral("MZF-files (*.mzf)|*.mzf|M12-files (*.m12)|*.m12|All files (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogMZFDatei_Filter"), QStringLiteral("MZF-files (*.mzf)|*.mzf|M12-files (*.m12)|*.m12|All files (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_OpenDialogMZTDatei_Filter"), QStringLiteral("MZT-files (*.mzt)|*.mzt|All files (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogMZTDatei_Filter"), QStringLiteral("MZT-files (*.mzt)|*.mzt|All files (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_OpenDialogWAVDatei_Filter"), QStringLiteral("WAV-files (*.wav)|*.wav|All files (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogWAVDatei_Filter"), QStringLiteral("WAV-files (*.wav)|*.wav|All files (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormKurzanleitung_SaveDialogKurzanleitung_Filter"), QStringLiteral("TXT-files (*.txt)|*.txt|All files (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_SaveDialogMZFDatei_Filter"), QStringLiteral("MZF-files (*.mzf)|*.mzf|M12-files (*.m12)|*.m12|All files (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_CheckBoxErweiterteDekodierung"), QStringLiteral("&Extended decoding (for worn tapes and for WAV-files of today's recorders)"));
    FuegeTextHinzu(QStringLiteral("Fehler_ImportVonWAV_HinweisErweiterteDekodierung"), QStringLiteral("Hint: The extended decoding (Extras, Settings, Import and export) may still find MZ-files in recordings of worn tapes, and reads WAV-files of 24 or 32 bits, in floating point and with up to 384000 Hz."));
    FuegeTextHinzu(QStringLiteral("Hinweis_UnlesbarerKopf"), QStringLiteral("Hint: Where the extended decoding found the marks and the body of a file but could not read its header: ~. Another recording of the tape may give such a file whole (select several recordings at once in the WAV import)."));
    FuegeTextHinzu(QStringLiteral("Hinweis_ErweitertLiestRate"), QStringLiteral("The file has a sample-rate of ~ Hz, which the extended decoding reads."));
    FuegeTextHinzu(QStringLiteral("Hinweis_ErweitertLiestFormat"), QStringLiteral("The file holds ~ in ~ channel(s) at ~ Hz, which the extended decoding reads."));
    FuegeTextHinzu(QStringLiteral("Format_PCM"), QStringLiteral("~-bit PCM"));
    FuegeTextHinzu(QStringLiteral("Format_Gleitkomma"), QStringLiteral("~-bit floating point"));
    FuegeTextHinzu(QStringLiteral("Frage_ErweitertLesen"), QStringLiteral("Read it with the extended decoding now? The setting stays as it is."));
    FuegeTextHinzu(QStringLiteral("Hinweis_ErweitertKommandozeile"), QStringLiteral("bandwerk-cli reads it with --extended."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelAnsicht"), QStringLiteral("&View:"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ComboBoxAnsicht_Hex"), QStringLiteral("Hex dump"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ComboBoxAnsicht_Basic"), QStringLiteral("BASIC listing"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ComboBoxAnsicht_Z80"), QStringLiteral("Z80 disassembly"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelDialekt"), QStringLiteral("&BASIC dialect:"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ComboBoxDialekt_Automatisch"), QStringLiteral("Automatic: ~"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_LabelCodeAnfang"), QStringLiteral("Code from &offset:"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonKopieren"), QStringLiteral("Co&py"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_ButtonSpeichernAlsText"), QStringLiteral("Save as te&xt..."));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogListing_Titel"), QStringLiteral("Save the view as text-file"));
    FuegeTextHinzu(QStringLiteral("FormHaupt_SaveDialogListing_Filter"), QStringLiteral("TXT-files (*.txt)|*.txt|All files (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("Fehler_BasicListe_KeinProgramm"), QStringLiteral("The body is not a program in ~: ~."));
    FuegeTextHinzu(QStringLiteral("BasicListe_GrundKeinEnde"), QStringLiteral("the end mark $0000 is missing at ~"));
    FuegeTextHinzu(QStringLiteral("BasicListe_GrundZeileUeberEnde"), QStringLiteral("the line at ~ runs past the end of the body"));
    FuegeTextHinzu(QStringLiteral("BasicListe_GrundLaengeFalsch"), QStringLiteral("line ~ at ~ does not end where its length ~ says"));
    FuegeTextHinzu(QStringLiteral("BasicListe_GrundReihenfolge"), QStringLiteral("line number ~ at ~ does not follow line ~"));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_LabelMZDateien_MZT"), QStringLiteral("The MZT-file contains several MZ-files:"));
    FuegeTextHinzu(QStringLiteral("DateiDialog_DateiSchreibgeschuetzt"), QStringLiteral("~ is write-protected.\r\nPlease choose another name."));
    // The tape deck: playing and recording through the sound devices.
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_Aufnahme"), QStringLiteral("&Record from tape..."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_Abspielen"), QStringLiteral("&Play to tape..."));
    FuegeTextHinzu(QStringLiteral("Audio_KeinAusgabeGeraet"), QStringLiteral("No sound output was found. Connect headphones or a line output and try again."));
    FuegeTextHinzu(QStringLiteral("Audio_KeinEingabeGeraet"), QStringLiteral("No sound input was found. Connect a line input and try again."));
    FuegeTextHinzu(QStringLiteral("Audio_GeraetUnbekannt"), QStringLiteral("There is no sound device \"~\". Choose one in Extras, Settings (bandwerk-cli lists them with --list-devices)."));
    FuegeTextHinzu(QStringLiteral("Audio_FormatNichtUnterstuetzt"), QStringLiteral("The sound device \"~\" takes none of the sample formats the tape signal needs."));
    FuegeTextHinzu(QStringLiteral("Audio_GeraetStartetNicht"), QStringLiteral("The sound device \"~\" could not be started."));
    FuegeTextHinzu(QStringLiteral("Audio_AusgabeAusgefallen"), QStringLiteral("The sound output \"~\" stopped working (was it unplugged?). Playing has been stopped."));
    FuegeTextHinzu(QStringLiteral("Audio_EingabeAusgefallen"), QStringLiteral("The sound input \"~\" stopped working (was it unplugged?). The recording has been stopped; the MZ-files found so far are kept."));
    FuegeTextHinzu(QStringLiteral("Audio_WAVBehaltenFehler"), QStringLiteral("The recording could not be kept whole in the file ~: ~. The file holds what was recorded up to then; the recording and the decoding go on."));
    FuegeTextHinzu(QStringLiteral("Audio_HinweisUebersteuert"), QStringLiteral("The signal clips: turn the volume down."));
    FuegeTextHinzu(QStringLiteral("Audio_HinweisZuLeise"), QStringLiteral("The signal is very quiet: turn the volume up."));
    FuegeTextHinzu(QStringLiteral("FormAbspielen"), QStringLiteral("Play to tape"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_LabelDateien"), QStringLiteral("MZ-files on the &tape, in this order:"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonHinzufuegen"), QStringLiteral("&Add files..."));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonEntfernen"), QStringLiteral("&Remove"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_LabelGeraet"), QStringLiteral("Sound output: ~"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonAbspielen"), QStringLiteral("&Play"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonPause"), QStringLiteral("P&ause"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonWeiter"), QStringLiteral("&Continue"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonStopp"), QStringLiteral("&Stop"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonExportWAV"), QStringLiteral("Save as &WAV-file..."));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonExportMZT"), QStringLiteral("Save as &MZT-file..."));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_ButtonSchliessen"), QStringLiteral("&Close"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_Zeit"), QStringLiteral("~ of ~"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_Fertig"), QStringLiteral("Played to the end."));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_Unterlaeufe"), QStringLiteral("The sound output ran dry ~ time(s) while playing: the MZ may not have loaded the tape. Close other programs and play it again."));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_OpenDialog_Titel"), QStringLiteral("Add an MZ-file to the tape"));
    FuegeTextHinzu(QStringLiteral("FormAbspielen_OpenDialog_Filter"), QStringLiteral("MZ-files (*.mzf;*.m12;*.mzt;*.wav)|*.mzf;*.m12;*.mzt;*.wav|All files (*.*)|*.*"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme"), QStringLiteral("Record from tape"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_LabelGeraet"), QStringLiteral("Sound input: ~"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_LabelPegel"), QStringLiteral("Level:"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_CheckBoxWAVBehalten"), QStringLiteral("&Keep the whole recording as WAV-file (for a later analysis)"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_ButtonStart"), QStringLiteral("&Record"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_ButtonStopp"), QStringLiteral("&Stop"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_LabelDateien"), QStringLiteral("MZ-&files found:"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_SpalteName"), QStringLiteral("Name"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_SpalteGroesse"), QStringLiteral("Size"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_SpalteLadeAdresse"), QStringLiteral("Load address"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_SpalteZustand"), QStringLiteral("State"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_ZustandIntakt"), QStringLiteral("intact"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_ButtonImportieren"), QStringLiteral("&Import"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_ButtonSpeichern"), QStringLiteral("Save as &MZF-file..."));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_ButtonSchliessen"), QStringLiteral("&Close"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_Bereit"), QStringLiteral("Connect the cassette player to the sound input, press \"Record\", then start the tape."));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_Laeuft"), QStringLiteral("Recording: ~"));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_Ende"), QStringLiteral("Recording ended after ~: ~ MZ-file(s) found."));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_Uebersprungen"), QStringLiteral("~ damaged place(s) of the tape were passed over; a WAV-file of the recording may still be read with the extended decoding."));
    FuegeTextHinzu(QStringLiteral("FormAufnahme_FrageStoppen"), QStringLiteral("The recording is still running. Stop it and close the window?"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_GroupBoxTonband"), QStringLiteral("Tape deck"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_LabelAusgabe"), QStringLiteral("Sound &output (playing):"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_LabelEingabe"), QStringLiteral("Sound &input (recording):"));
    FuegeTextHinzu(QStringLiteral("FormEinstellungen_Standardgeraet"), QStringLiteral("System default"));
    FuegeTextHinzu(QStringLiteral("Zustand_Repariert"), QStringLiteral("repaired (~)"));
    FuegeTextHinzu(QStringLiteral("Zustand_Kopf"), QStringLiteral("header"));
    FuegeTextHinzu(QStringLiteral("Zustand_Rumpf"), QStringLiteral("body"));
    FuegeTextHinzu(QStringLiteral("Zustand_KopfUndRumpf"), QStringLiteral("header and body"));
    FuegeTextHinzu(QStringLiteral("Zustand_Beschaedigt"), QStringLiteral("damaged, ~ uncertain bytes"));
    FuegeTextHinzu(QStringLiteral("Zustand_BeschaedigtKopf"), QStringLiteral("damaged, header uncertain, ~ uncertain bytes"));
    FuegeTextHinzu(QStringLiteral("Frage_BeschaedigteDatei"), QStringLiteral("The MZ-file ~ could not be fully recovered from the tape (~): its uncertain bytes may be wrong. Another recording of the tape, selected together with this one in the WAV import, may give it whole.\r\n\r\nUse it anyway?"));
    FuegeTextHinzu(QStringLiteral("Hinweis_BeschaedigteNichtGeschrieben"), QStringLiteral("~ damaged MZ-file(s) not written; --keep-damaged writes them with a map of their uncertain bytes (NAME.damage.json)."));
    FuegeTextHinzu(QStringLiteral("Bandansicht_KopfKopie"), QStringLiteral("header ~"));
    FuegeTextHinzu(QStringLiteral("Bandansicht_RumpfKopie"), QStringLiteral("body ~"));
    FuegeTextHinzu(QStringLiteral("Bandansicht_Vorlauf"), QStringLiteral("leader"));
    FuegeTextHinzu(QStringLiteral("Bandansicht_Tempo"), QStringLiteral("Speed (±~ %): ● short, ■ long pulses of the marks"));
    FuegeTextHinzu(QStringLiteral("Bandansicht_Pegel"), QStringLiteral("Level (dB, 0 … −~): quietest to loudest stretch"));
    FuegeTextHinzu(QStringLiteral("Bandansicht_ImpulseFest"), QStringLiteral("Pulses at the foot: the fixed pass"));
    FuegeTextHinzu(QStringLiteral("Bandansicht_ImpulseAdaptiv"), QStringLiteral("Pulses at the foot: the fixed pass; above it the adaptive pass, each bar as high as the pass is sure"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Fortschritt_Huelle"), QStringLiteral("Reading the waveform: %p%"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Fortschritt_Dekodierung"), QStringLiteral("Decoding: %p%"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht"), QStringLiteral("Tape view"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Titel"), QStringLiteral("Tape view - ~"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Status"), QStringLiteral("~: ~ Hz, ~ s"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Erweitert"), QStringLiteral("(extended decoding)"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Standard"), QStringLiteral("(standard decoding)"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Abgebrochen"), QStringLiteral("Reading was cancelled: only the part read is shown."));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_LabelKatalog"), QStringLiteral("&MZ-files found:"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_LabelBytes"), QStringLiteral("&Bytes of the chosen block:"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SpalteAttribut"), QStringLiteral("Attribute"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SpalteName"), QStringLiteral("Name"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SpalteGroesse"), QStringLiteral("Size"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SpalteLadeAdresse"), QStringLiteral("Load address"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SpalteStartAdresse"), QStringLiteral("Start address"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SpalteZustand"), QStringLiteral("State"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Zustand_Intakt"), QStringLiteral("intact"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Legende_Gut"), QStringLiteral("good"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Legende_Repariert"), QStringLiteral("repaired"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Legende_Fehler"), QStringLiteral("checksum failed"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Legende_Unsicher"), QStringLiteral("uncertain bytes"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonAllesZeigen"), QStringLiteral("&Fit all"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonVergroessern"), QStringLiteral("Zoom i&n"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonVerkleinern"), QStringLiteral("Zoom &out"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonAbbrechen"), QStringLiteral("&Cancel"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonImport"), QStringLiteral("&Import"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonSpeichern"), QStringLiteral("&Save as MZF-file..."));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonAlleSpeichern"), QStringLiteral("Save a&ll as MZF-files..."));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_ButtonSchliessen"), QStringLiteral("Clos&e"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_SaveDialogAlle_Titel"), QStringLiteral("Save all MZ-files: choose the folder (each file is named after its MZ-name)"));
    FuegeTextHinzu(QStringLiteral("FormBandansicht_Info_AlleGespeichert"), QStringLiteral("~ MZ-file(s) have been saved in ~."));
    FuegeTextHinzu(QStringLiteral("MenueHaupt_ImportExport_Bandansicht"), QStringLiteral("S&how recording..."));
    FuegeTextHinzu(QStringLiteral("FormAuswahlMZDatei_ButtonBandansicht"), QStringLiteral("S&how recording..."));
    FuegeTextHinzu(QStringLiteral("Frage_Bandansicht"), QStringLiteral("Show the recording in the tape view, with its marks and blocks?"));
}
// clang-format on
