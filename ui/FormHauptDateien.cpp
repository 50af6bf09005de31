// The main window's file flows: open, close, save, import and export, a file named at start or
// dropped on the window, and the file dialogs with their remembered directories.
#include "FormHauptUnit.h"

#include "DateiArt.h"
#include "FensterEinstellungen.h"
#include "FormAuswahlMZDateiUnit.h"
#include "FormBandansichtUnit.h"
#include "FormHauptIntern.h"
#include "MZFDatei.h"
#include "SprachenTexte.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

using namespace FormHauptIntern;

namespace {
// Directory part of a chosen path, without a trailing separator except for the root.
QString VerzeichnisVon(const QString& pfad) {
    return QDir::toNativeSeparators(QFileInfo(pfad).absolutePath());
}
} // namespace

bool TFormHaupt::NimmDatei(const QString& pv_pfad) {
    if (Datei->IstGeladen() || Beschaeftigt)
        return false;
    switch (DateiArtVonEndung(pv_pfad)) {
    case TDateiArt::MZT:
        Datei->ImportMZT(pv_pfad, KatalogAuswahl(this, pv_pfad));
        break;
    case TDateiArt::WAV:
        Datei->ImportWAV(pv_pfad, LiesBandEinstellungen(), AuswahlDialog(this, TDateiArt::WAV, pv_pfad));
        break;
    case TDateiArt::MZF:
    case TDateiArt::Unbekannt: // a name on the command line is an MZF file, whatever it is called
        Datei->Laden(pv_pfad);
        break;
    }
    AktualisiereAnzeige(true);
    return true;
}

std::optional<QString> TFormHaupt::GezogeneDatei(const QMimeData* daten) const {
    if (Datei->IstGeladen() || Beschaeftigt || !daten || !daten->hasUrls() || daten->urls().isEmpty())
        return std::nullopt;
    // Of several files the first counts.
    const QUrl url = daten->urls().first();
    if (!url.isLocalFile() || DateiArtVonEndung(url.toLocalFile()) == TDateiArt::Unbekannt)
        return std::nullopt;
    return url.toLocalFile();
}

void TFormHaupt::dragEnterEvent(QDragEnterEvent* event) {
    if (GezogeneDatei(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFormHaupt::dropEvent(QDropEvent* event) {
    const std::optional<QString> pfad = GezogeneDatei(event->mimeData());
    if (!pfad) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Taken after the drop has ended, so that the program the file came from is not kept waiting
    // through a long import.
    QMetaObject::invokeMethod(
        this, [this, datei = *pfad] { NimmDatei(datei); }, Qt::QueuedConnection);
}

QString TFormHaupt::DateinamenVorschlag() const {
    const QString pfad = Datei->HoleDateiPfad();
    if (!pfad.isEmpty())
        return QFileInfo(pfad).completeBaseName();
    return BereinigeDateiname(Datei->HoleMZDateiName());
}

std::optional<QString> TFormHaupt::ZeigeDateiDialog(TDialog pv_dialog, const QString& pv_vorschlag) {
    TDateiDialog dialog = m_dateiDialoge[pv_dialog];
    dialog.startVerzeichnis = DialogArten[pv_dialog].liesVerzeichnis();
    dialog.vorschlag = pv_vorschlag;
    std::optional<QString> pfad = Plattform().DateiDialogZeigen(dialog);
    if (!pfad || pfad->isEmpty())
        return std::nullopt;
    MerkeVerzeichnis(pv_dialog, *pfad);
    return pfad;
}

QStringList TFormHaupt::ZeigeDateienDialog(TDialog pv_dialog) {
    TDateiDialog dialog = m_dateiDialoge[pv_dialog];
    dialog.startVerzeichnis = DialogArten[pv_dialog].liesVerzeichnis();
    QStringList pfade = Plattform().DateienDialogZeigen(dialog);
    pfade.removeAll(QString());
    if (!pfade.isEmpty())
        MerkeVerzeichnis(pv_dialog, pfade.first());
    return pfade;
}

void TFormHaupt::MerkeVerzeichnis(TDialog pv_dialog, const QString& pv_pfad) {
    // Stored before the record works with the file, so that a failure still remembers the place;
    // a folder that does not exist is no place to remember.
    const QString verzeichnis = VerzeichnisVon(pv_pfad);
    if (QFileInfo(verzeichnis).isDir())
        SchreibeEinstellung([&] { DialogArten[pv_dialog].schreibeVerzeichnis(verzeichnis); });
}

bool TFormHaupt::SpeichereDatei(bool pv_speichernUnter) {
    if (!Datei->IstGeladen()) {
        ZeigeFehler(HoleText(QStringLiteral("Fehler_KeineMZFDateiGeladen")));
        return false;
    }
    QString ziel = Datei->HoleDateiPfad();
    if (pv_speichernUnter || ziel.isEmpty()) {
        const std::optional<QString> gewaehlt = ZeigeDateiDialog(SaveDialogMZFDatei, DateinamenVorschlag());
        if (!gewaehlt)
            return false;
        ziel = *gewaehlt;
    }
    if (!Datei->Speichern(ziel))
        return false;
    AktualisiereAnzeige(false);
    return true;
}

void TFormHaupt::MenueHaupt_Datei_OeffnenClick() {
    const std::optional<QString> pfad = ZeigeDateiDialog(OpenDialogMZFDatei);
    if (!pfad)
        return;
    Datei->Laden(*pfad);
    AktualisiereAnzeige(true);
}

void TFormHaupt::MenueHaupt_Datei_SchliessenClick() {
    if (Datei->IstGeaendert()) {
        switch (FrageWarnung(HoleText(QStringLiteral("Warnung_MZFDateiNichtGespeichert")), true)) {
        case TAntwort::Abbrechen:
            return;
        case TAntwort::Ja:
            if (!SpeichereDatei(false))
                return;
            break;
        case TAntwort::Nein:
            break;
        }
    }
    Datei->Schliessen();
    AktualisiereAnzeige(true);
}

void TFormHaupt::MenueHaupt_Datei_SpeichernClick() {
    SpeichereDatei(false);
}

void TFormHaupt::MenueHaupt_Datei_SpeichernUnterClick() {
    SpeichereDatei(true);
}

void TFormHaupt::MenueHaupt_Datei_BeendenClick() {
    close();
}

void TFormHaupt::MenueHaupt_ImportExport_ImportMZTClick() {
    const std::optional<QString> pfad = ZeigeDateiDialog(OpenDialogMZTDatei);
    if (!pfad)
        return;
    Datei->ImportMZT(*pfad, KatalogAuswahl(this, *pfad));
    AktualisiereAnzeige(true);
}

void TFormHaupt::MenueHaupt_ImportExport_ImportWAVClick() {
    // Several recordings of one tape are read as one: a file on several of them is put together
    // from the copies of all of them.
    const QStringList pfade = ZeigeDateienDialog(OpenDialogWAVDatei);
    if (pfade.isEmpty())
        return;
    // Busy state and progress bar come with the record's events; several files found are
    // offered in the selection dialog.
    Datei->ImportWAV(pfade, LiesBandEinstellungen(), AuswahlDialog(this, TDateiArt::WAV, pfade.first()));
    AktualisiereAnzeige(true);
    BieteAufnahmeAn(pfade.first());
}

void TFormHaupt::BieteAufnahmeAn(const QString& pv_pfad) {
    // A recording that gave nothing whole: the user may look at what is on it.
    const bool nichtsGanzes = Datei->IstGeladen()
                                  ? Datei->HoleBefund().zustand == TDateiBefund::TZustand::Beschaedigt
                                  : Datei->LetzterImportFandNichts();
    if (nichtsGanzes && FrageBestaetigung(HoleText(QStringLiteral("Frage_Bandansicht"))) == TAntwort::Ja)
        ZeigeAufnahme(pv_pfad);
}

void TFormHaupt::MenueHaupt_ImportExport_BandansichtClick() {
    const std::optional<QString> pfad = ZeigeDateiDialog(OpenDialogWAVDatei);
    if (pfad)
        ZeigeAufnahme(*pfad);
}

void TFormHaupt::ZeigeAufnahme(const QString& pv_pfad) {
    TFormBandansicht fenster(this, [this](const TMZFDatei& datei) { return UebernimmDatei(datei); });
    fenster.show();
    if (fenster.LiesAufnahme(pv_pfad))
        fenster.exec();
}

bool TFormHaupt::UebernimmDatei(const TMZFDatei& pv_datei) {
    // Closing asks about unsaved changes as the menu command does.
    if (HoleDatei().IstGeladen())
        MenueHaupt_Datei_SchliessenClick();
    if (HoleDatei().IstGeladen())
        return false;
    // The window's record keeps its events: only the file is taken.
    HoleDatei().Uebernimm(
        pv_datei.Kopf(),
        std::vector<std::uint8_t>(pv_datei.Rumpf(), pv_datei.Rumpf() + pv_datei.HoleMZDateiGroesse()));
    AktualisiereAnzeige(true);
    return true;
}

void TFormHaupt::MenueHaupt_ImportExport_ExportMZTClick() {
    const std::optional<QString> pfad = ZeigeDateiDialog(SaveDialogMZTDatei, DateinamenVorschlag());
    if (pfad)
        Datei->ExportMZT(*pfad, BandEinstellungenImSpeicher());
}

void TFormHaupt::MenueHaupt_ImportExport_ExportWAVClick() {
    const std::optional<QString> pfad = ZeigeDateiDialog(SaveDialogWAVDatei, DateinamenVorschlag());
    if (pfad)
        Datei->ExportWAV(*pfad);
}
