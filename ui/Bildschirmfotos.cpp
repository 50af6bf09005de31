// Renders the main window, the field edit dialogs, the selection dialog, the settings dialog (each
// page) and the help windows in both languages to
// PNG files, for the documentation. Runs on any Qt platform, usually offscreen:
//   bandwerk_screenshots OUTPUT_DIR SAMPLE.mzf [SEVERAL.mzt [MACHINE-CODE.mzf [RECORDING.wav]]]
// The tape view shows the recording, and a copy of it with a dropout in the first body copy, also
// zoomed to its samples where the dropout begins. With BANDWERK_SCREENSHOTS_DUNKEL set the
// windows are drawn in a dark palette, to look at the colours there.
#include "FensterEinstellungen.h"
#include "FormAendernMZDateiAttributUnit.h"
#include "FormAendernMZDateiNameUnit.h"
#include "FormAendernMZKommentarUnit.h"
#include "FormAendernMZLadeAdresseUnit.h"
#include "FormAendernMZStartAdresseUnit.h"
#include "FormAuswahlMZDateiUnit.h"
#include "FormBandansichtUnit.h"
#include "FormEinstellungenUnit.h"
#ifdef BANDWERK_AUDIO
#include "FormAbspielenUnit.h"
#include "FormAufnahmeUnit.h"
#include "TonbandGemeinsam.h"
#endif
#include "FormHauptUnit.h"
#include "FormKurzanleitungUnit.h"
#include "FormUeberDiesesProgrammUnit.h"
#include "FormVersionsHistorieUnit.h"
#include "MZFDatei.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include "BandFlaeche.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPalette>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

namespace {
constexpr int AussetzerFrames = 400;

bool Speichere(QWidget* fenster, const QString& datei) {
    QApplication::processEvents();
    const bool ok = fenster->grab().save(datei);
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "FAILED", qPrintable(datei));
    return ok;
}

// A copy of an 8-bit mono recording (data from byte 44 on) whose first body copy falls silent for a
// moment: that copy fails its checksum, the second one reads.
QString MitAussetzer(const QString& aufnahme, const QDir& ordner) {
    TBandaufzeichnung band;
    if (!band.Lies(aufnahme, BandEinstellungenImSpeicher()).IstOk())
        return QString();
    QFile quelle(aufnahme);
    if (!quelle.open(QIODevice::ReadOnly))
        return QString();
    QByteArray daten = quelle.readAll();
    constexpr int DatenBeginn = 44;
    constexpr int Stille = 128;
    for (const TBandBlock& b : band.Bloecke())
        if (!b.kopf && b.kopie == 1) {
            const int mitte = DatenBeginn + (b.beginn + b.ende) / 2;
            for (int i = mitte; i < mitte + AussetzerFrames && i < daten.size(); ++i)
                daten[i] = static_cast<char>(Stille);
            break;
        }
    const QString ziel = ordner.filePath(QStringLiteral("worn.wav"));
    QFile aus(ziel);
    if (!aus.open(QIODevice::WriteOnly) || aus.write(daten) != daten.size())
        return QString();
    return ziel;
}

// The tape view of a recording, with the first file's blocks chosen (or the first failed block);
// with pv_impulse (a name) also zoomed to the samples where a dropout of pv_aussetzer frames
// begins in the middle of that block.
bool AnsichtFoto(QWidget* owner, const QString& aufnahme, const QString& datei, const QString& impulse = {},
                 int aussetzer = 0) {
    TFormBandansicht ansicht(owner, {});
    ansicht.setWindowModality(Qt::NonModal);
    ansicht.resize(1100, 720);
    ansicht.show();
    if (!ansicht.LiesAufnahme(aufnahme))
        return false;
    const auto& bloecke = ansicht.Band().Bloecke();
    std::int64_t mitte = -1;
    for (std::size_t i = 0; i < bloecke.size(); ++i)
        if (bloecke[i].zustand != TBlockZustand::Gut) {
            ansicht.WaehleBlock(static_cast<int>(i));
            const TBandBlock& b = bloecke[i];
            ansicht.Flaeche->SetzeAusschnitt(b.beginn - 2.0 * (b.ende - b.beginn),
                                             b.ende + 2.5 * (b.ende - b.beginn));
            mitte = (b.beginn + b.ende) / 2;
            break;
        }
    bool ok = Speichere(&ansicht, datei);
    if (!impulse.isEmpty() && mitte >= 0) {
        constexpr double Davor = 420.0;
        ansicht.Flaeche->SetzeAusschnitt(mitte - Davor, mitte + aussetzer / 2.0);
        ok &= Speichere(&ansicht, impulse);
    }
    ansicht.hide();
    return ok;
}

template <typename TDialog, typename... TWerte>
bool DialogFoto(QWidget* owner, const QString& datei, TWerte... werte) {
    TDialog dialog(owner, werte...);
    dialog.show();
    const bool ok = Speichere(&dialog, datei);
    dialog.hide();
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    QApplication anwendung(argc, argv);
    if (qEnvironmentVariableIsSet("BANDWERK_SCREENSHOTS_DUNKEL")) {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette dunkel;
        const QColor fenster(0x35, 0x35, 0x35), grund(0x20, 0x20, 0x20), text(0xe8, 0xe8, 0xe8);
        for (const auto rolle : {QPalette::Window, QPalette::Button})
            dunkel.setColor(rolle, fenster);
        for (const auto rolle : {QPalette::Base, QPalette::AlternateBase})
            dunkel.setColor(rolle, grund);
        for (const auto rolle : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dunkel.setColor(rolle, text);
        dunkel.setColor(QPalette::Link, QColor(0x6c, 0xb4, 0xff));
        dunkel.setColor(QPalette::Mid, QColor(0x80, 0x80, 0x80));
        dunkel.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
        QApplication::setPalette(dunkel);
    }
    const QStringList argumente = QApplication::arguments();
    if (argumente.size() < 3) {
        std::fprintf(stderr, "usage: bandwerk_screenshots OUTPUT_DIR SAMPLE.mzf\n");
        return 2;
    }
    const QDir ziel(argumente[1]);
    QDir().mkpath(ziel.path());
    const QString beispiel = QFileInfo(argumente[2]).absoluteFilePath();
    // An MZT file with several MZ files, for the selection dialog.
    std::vector<std::unique_ptr<TMZFDatei>> mehrere;
    if (argumente.size() > 3 && !TMZFDatei::LeseAlleAusMZT(argumente[3], mehrere))
        return 1;
    LadeEinstellungen();
    // A recording for the tape view, and a worn copy of it.
    QTemporaryDir temporaer;
    const QString aufnahme = argumente.size() > 5 ? QFileInfo(argumente[5]).absoluteFilePath() : QString();
    const QString beschaedigt =
        aufnahme.isEmpty() ? QString() : MitAussetzer(aufnahme, QDir(temporaer.path()));
    bool alles = true;
    for (const bool englisch : {false, true}) {
        SetzeSprache(englisch);
        const QString sprache = englisch ? QStringLiteral("en") : QStringLiteral("de");
        const auto name = [&](const QString& fenster) {
            return ziel.filePath(fenster + QLatin1Char('-') + sprache + QStringLiteral(".png"));
        };
        FormHauptModulStarten();
        SetzeKommandozeile({});
        TFormHaupt form;
        form.show();
        alles &= Speichere(&form, name(QStringLiteral("FormHaupt-leer")));
        alles &= form.HoleDatei().Laden(beispiel);
        form.AktualisiereAnzeige(true);
        // The body as a dump, then in the view the BASIC program opens in.
        auto* ansicht = form.findChild<QComboBox*>(QStringLiteral("ComboBoxAnsicht"));
        const int basicAnsicht = ansicht->currentIndex();
        ansicht->setCurrentIndex(0);
        alles &= Speichere(&form, name(QStringLiteral("FormHaupt")));
        ansicht->setCurrentIndex(basicAnsicht);
        alles &= Speichere(&form, name(QStringLiteral("FormHaupt-Basic")));

        TMZFDatei& datei = form.HoleDatei();
        alles &= DialogFoto<TFormAendernMZDateiAttribut>(
            &form, name(QStringLiteral("FormAendernMZDateiAttribut")), datei.HoleMZDateiAttribut());
        alles &= DialogFoto<TFormAendernMZDateiName>(&form, name(QStringLiteral("FormAendernMZDateiName")),
                                                     datei.HoleMZDateiName());
        alles &=
            DialogFoto<TFormAendernMZLadeAdresse>(&form, name(QStringLiteral("FormAendernMZLadeAdresse")),
                                                  datei.HoleMZLadeAdresse(), datei.HoleMZDateiGroesse());
        alles &= DialogFoto<TFormAendernMZStartAdresse>(
            &form, name(QStringLiteral("FormAendernMZStartAdresse")), datei.HoleMZStartAdresse());
        alles &= DialogFoto<TFormAendernMZKommentar>(&form, name(QStringLiteral("FormAendernMZKommentar")),
                                                     QStringLiteral("A GAME FOR THE MZ-700"));
        if (!mehrere.empty())
            alles &= DialogFoto<TFormAuswahlMZDatei>(&form, name(QStringLiteral("FormAuswahlMZDatei")),
                                                     std::cref(mehrere), TDateiArt::MZT);
        {
            TFormEinstellungen einstellungen(&form);
            einstellungen.show();
            const std::pair<QWidget*, QString> seiten[] = {
                {einstellungen.TabSheetAllgemein, QStringLiteral("FormEinstellungen")},
                {einstellungen.TabSheetImportExport, QStringLiteral("FormEinstellungen-ImportExport")},
                {einstellungen.TabSheetExportWAV, QStringLiteral("FormEinstellungen-ExportWAV")},
#ifdef BANDWERK_AUDIO
                {einstellungen.TabSheetTonband, QStringLiteral("FormEinstellungen-Tonband")},
#endif
            };
            for (const auto& [seite, datei] : seiten) {
                einstellungen.PageControlEinstellungen->setCurrentWidget(seite);
                alles &= Speichere(&einstellungen, name(datei));
            }
            einstellungen.hide();
        }
#ifdef BANDWERK_AUDIO
        {
            // The tape of the loaded file and the files of the MZT file after it.
            TFormAbspielen abspielen(&form, datei);
            for (const auto& d : mehrere)
                abspielen.FuegeHinzu(TMZFDatei::CreateKopie(*d));
            abspielen.show();
            alles &= Speichere(&abspielen, name(QStringLiteral("FormAbspielen")));
            abspielen.hide();
        }
        alles &=
            DialogFoto<TFormAufnahme>(&form, name(QStringLiteral("FormAufnahme")), TFormAufnahme::TImport());
#endif
        alles &= DialogFoto<TFormKurzanleitung>(&form, name(QStringLiteral("FormKurzanleitung")));
        alles &= DialogFoto<TFormVersionsHistorie>(&form, name(QStringLiteral("FormVersionsHistorie")));
        alles &= DialogFoto<TFormUeberDiesesProgramm>(&form, name(QStringLiteral("FormUeberDiesesProgramm")));
        // A machine-code program opens as Z80 assembler text.
        if (argumente.size() > 4) {
            form.HoleDatei().Schliessen();
            alles &= form.HoleDatei().Laden(QFileInfo(argumente[4]).absoluteFilePath());
            form.AktualisiereAnzeige(true);
            alles &= Speichere(&form, name(QStringLiteral("FormHaupt-Z80")));
        }
        if (!aufnahme.isEmpty()) {
            alles &= AnsichtFoto(&form, aufnahme, name(QStringLiteral("FormBandansicht")));
            // The worn copy as the extended decoding's rescue reads it: the bytes it could not confirm.
            // The tool runs with a store of its own (tools/screenshots); the value is put back.
            const bool erweitert = LiesImportErweiterteDekodierung();
            SchreibeImportErweiterteDekodierung(true);
            alles &= !beschaedigt.isEmpty() &&
                     AnsichtFoto(&form, beschaedigt, name(QStringLiteral("FormBandansicht-beschaedigt")),
                                 name(QStringLiteral("FormBandansicht-impulse")), AussetzerFrames);
            SchreibeImportErweiterteDekodierung(erweitert);
        }
        form.hide();
    }
    return alles ? 0 : 1;
}
