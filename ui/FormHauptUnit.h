// The main window: shows the one MZ file the program holds, field by field, with a dump of its
// body; every command sits in the main menu; a status line with a progress bar shows the busy
// state of the long record operations.
#pragma once

#include "Plattform.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMimeData;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TInhaltsAnsicht;
class TMZFDatei;

// Module start-up of the main window: the command line is not yet dealt with, and the random
// generator of the ship is seeded from the clock.
void FormHauptModulStarten();
// The arguments after the program name; the first one names the file opened at the first show.
void SetzeKommandozeile(const QStringList& pv_argumente);

class TFormHaupt : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormHaupt(QWidget* parent = nullptr);
    ~TFormHaupt() override;

    void SetzeTexte();
    void AktualisiereAnzeige(bool pv_felderLeeren);
    bool SpeichereDatei(bool pv_speichernUnter);

    // Bound to the record's events.
    void DateiBeiBeginn(TMZFDatei* sender);
    void DateiBeiFortschritt(TMZFDatei* sender, double prozent);
    void DateiBeiEnde(TMZFDatei* sender);

    // Whether the window may close now (asks about a running operation or unsaved changes).
    bool FormCloseQuery();

    void MenueHaupt_Datei_OeffnenClick();
    void MenueHaupt_Datei_SchliessenClick();
    void MenueHaupt_Datei_SpeichernClick();
    void MenueHaupt_Datei_SpeichernUnterClick();
    void MenueHaupt_Datei_BeendenClick();
    void MenueHaupt_ImportExport_ImportMZTClick();
    void MenueHaupt_ImportExport_ImportWAVClick();
    void MenueHaupt_ImportExport_BandansichtClick();
    // The tape view of a recording, importing into this window.
    void ZeigeAufnahme(const QString& pv_pfad);
    void MenueHaupt_ImportExport_ExportMZTClick();
    void MenueHaupt_ImportExport_ExportWAVClick();
    // The tape deck (FormHauptTonband.cpp; only in a build with it).
    void MenueHaupt_ImportExport_AufnahmeClick();
    void MenueHaupt_ImportExport_AbspielenClick();
    // Takes an MZ file found on a recording into the window, as an import does; a changed file
    // shown is first offered for saving. False when the user keeps it.
    bool UebernimmDatei(const TMZFDatei& pv_datei);
    void MenueHaupt_Extras_EinstellungenClick();
    void MenueHaupt_Hilfe_KurzanleitungClick();
    void MenueHaupt_Hilfe_VersionsHistorieClick();
    void MenueHaupt_Hilfe_UeberDiesesProgrammClick();
    void ButtonAendernMZDateiAttributClick();
    void ButtonAendernMZDateiNameClick();
    void ButtonAendernMZLadeAdresseClick();
    void ButtonAendernMZStartAdresseClick();
    void ButtonAendernMZKommentarClick();
    void ImageMZSchiffDblClick();

    // The record the window shows (tests drive its events through it).
    TMZFDatei& HoleDatei() { return *Datei; }
    bool IstBeschaeftigt() const { return Beschaeftigt; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objekt, QEvent* event) override;
    // A file dropped on the window is taken as the open or import command would take it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The six file dialogs, in this order.
    enum TDialog {
        OpenDialogMZFDatei,
        SaveDialogMZFDatei,
        OpenDialogMZTDatei,
        SaveDialogMZTDatei,
        OpenDialogWAVDatei,
        SaveDialogWAVDatei,
        AnzahlDialoge
    };

    void FormShow();
    // After an import of a recording that gave no file whole: offers the tape view.
    void BieteAufnahmeAn(const QString& pv_pfad);
    void StelleLageWiederHer();
    void FormHide();
    // Opens an MZF file, or imports an MZT file or a recording, by the file's extension; false
    // when the window takes no file now (one is loaded, or it is busy), as the menu would refuse.
    bool NimmDatei(const QString& pv_pfad);
    // The first local file of a drag whose kind the window takes now, or nothing.
    std::optional<QString> GezogeneDatei(const QMimeData* daten) const;
    void BaueFenster();
    void BauePanel();
    void BaueStatusLeiste();
    void SetzeTabFolge();
    void VerbindeKnoepfe();
    void BaueMenue();
    QAction* NeuerEintrag(QMenu* menue, const char* name, void (TFormHaupt::*handler)(),
                          const QKeySequence& kurzwahl = QKeySequence());
    void PasseGroesseAn();
    // The size at the first start: as designed, or larger where the language's texts need it.
    QSize StandardGroesse() const;
    void PlatziereSchiff();
    // Shows the dialog in the directory of its kind; stores the chosen file's directory.
    std::optional<QString> ZeigeDateiDialog(TDialog pv_dialog, const QString& pv_vorschlag = QString());
    // The same for an open dialog that takes several files: their paths, none on cancel.
    QStringList ZeigeDateienDialog(TDialog pv_dialog);
    void MerkeVerzeichnis(TDialog pv_dialog, const QString& pv_pfad);
    // File name offered by the save dialogs: the loaded file's name, or the cleaned MZ name.
    QString DateinamenVorschlag() const;
    // Runs a field dialog; after OK `uebernehme` puts its value into the file and the display
    // follows. Either way the focus goes back to the field.
    void AendereFeld(QDialog& pv_dialog, QWidget* pv_feld, const std::function<void()>& uebernehme);

    std::unique_ptr<TMZFDatei> Datei;
    bool Beschaeftigt = false;
    TDateiDialog m_dateiDialoge[AnzahlDialoge];

    QWidget* m_arbeitsflaeche = nullptr;
    QFrame* PanelMZFDatei = nullptr;
    QLabel* LabelMZDateiAttribut = nullptr;
    QLineEdit* EditMZDateiAttribut = nullptr;
    QPushButton* ButtonAendernMZDateiAttribut = nullptr;
    QLabel* LabelMZDateiName = nullptr;
    QLineEdit* EditMZDateiName = nullptr;
    QPushButton* ButtonAendernMZDateiName = nullptr;
    QLabel* LabelMZDateiGroesse = nullptr;
    QLabel* LabelHex1 = nullptr;
    QLineEdit* EditMZDateiGroesse = nullptr;
    QLabel* LabelDez1 = nullptr;
    QLineEdit* EditMZDateiGroesseDez = nullptr;
    QLabel* LabelMZLadeAdresse = nullptr;
    QLabel* LabelHex2 = nullptr;
    QLineEdit* EditMZLadeAdresse = nullptr;
    QLabel* LabelDez2 = nullptr;
    QLineEdit* EditMZLadeAdresseDez = nullptr;
    QPushButton* ButtonAendernMZLadeAdresse = nullptr;
    QLabel* LabelMZStartAdresse = nullptr;
    QLabel* LabelHex3 = nullptr;
    QLineEdit* EditMZStartAdresse = nullptr;
    QLabel* LabelDez3 = nullptr;
    QLineEdit* EditMZStartAdresseDez = nullptr;
    QPushButton* ButtonAendernMZStartAdresse = nullptr;
    QLabel* LabelMZKommentar = nullptr;
    QPlainTextEdit* MemoMZKommentar = nullptr;
    QPushButton* ButtonAendernMZKommentar = nullptr;
    QLabel* LabelMZDateiRumpf = nullptr;
    QPlainTextEdit* MemoMZDateiRumpf = nullptr;
    TInhaltsAnsicht* m_inhaltsAnsicht = nullptr; // the body field's views, copy and save
    QFrame* PanelStatusLeiste = nullptr;
    QLabel* LabelStatusLeiste = nullptr;
    QProgressBar* ProgressBarStatusLeiste = nullptr;
    QLabel* ImageMZSchiff = nullptr;
    bool m_schiffPlatziert = false;
    bool m_groesseGewaehlt = false; // restored or changed by the user: the texts keep it

    QMenu* MenueHaupt_Datei = nullptr;
    QMenu* MenueHaupt_ImportExport = nullptr;
    QMenu* MenueHaupt_Extras = nullptr;
    QMenu* MenueHaupt_Hilfe = nullptr;
    QAction* MenueHaupt_Datei_Oeffnen = nullptr;
    QAction* MenueHaupt_Datei_Schliessen = nullptr;
    QAction* MenueHaupt_Datei_Speichern = nullptr;
    QAction* MenueHaupt_Datei_SpeichernUnter = nullptr;
    QAction* MenueHaupt_Datei_Beenden = nullptr;
    QAction* MenueHaupt_ImportExport_ImportMZT = nullptr;
    QAction* MenueHaupt_ImportExport_ImportWAV = nullptr;
    QAction* MenueHaupt_ImportExport_Bandansicht = nullptr;
    QAction* MenueHaupt_ImportExport_ExportMZT = nullptr;
    QAction* MenueHaupt_ImportExport_ExportWAV = nullptr;
    QAction* MenueHaupt_ImportExport_Aufnahme = nullptr;
    QAction* MenueHaupt_ImportExport_Abspielen = nullptr;
    QAction* MenueHaupt_Extras_Einstellungen = nullptr;
    QAction* MenueHaupt_Hilfe_Kurzanleitung = nullptr;
    QAction* MenueHaupt_Hilfe_VersionsHistorie = nullptr;
    QAction* MenueHaupt_Hilfe_UeberDiesesProgramm = nullptr;
};
