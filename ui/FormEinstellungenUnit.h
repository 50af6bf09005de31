// The settings dialog: language; the MZ model of import and export; sample rate, tape format and
// polarity of the WAV export. Only an accepted OK stores anything: the language through the
// catalogue, the rest through the settings store, which both take effect at once.
#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;
class TTonbandSeite;

class TFormEinstellungen : public QDialog {
    Q_OBJECT
public:
    explicit TFormEinstellungen(QWidget* pv_owner);

    void SetzeTexte();
    void ButtonDefaultSampleRateClick();
    void ButtonOKClick();

    QTabWidget* PageControlEinstellungen;
    QWidget* TabSheetAllgemein;
    QWidget* TabSheetImportExport;
    QWidget* TabSheetExportWAV;
    // Each radio group: the frame with its caption and the group of its items (id = item index).
    QGroupBox* RadioGroupSprache;
    QButtonGroup* RadioGroupSpracheItems;
    QGroupBox* RadioGroupMZModell;
    QButtonGroup* RadioGroupMZModellItems;
    QCheckBox* CheckBoxErweiterteDekodierung;
    QLabel* LabelSampleRate;
    QLineEdit* EditSampleRate;
    QPushButton* ButtonDefaultSampleRate;
    QGroupBox* RadioGroupMZTonbandFormat;
    QButtonGroup* RadioGroupMZTonbandFormatItems;
    QGroupBox* RadioGroupPolaritaet;
    QButtonGroup* RadioGroupPolaritaetItems;
    QPushButton* ButtonOK;
    QPushButton* ButtonAbbrechen;
    // The tape deck's sound devices (in a build with the tape deck only).
    TTonbandSeite* TabSheetTonband = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void BaueSeiteAllgemein();
    void BaueSeiteImportExport();
    void BaueSeiteExportWAV();
    // Shows the WAV export page with the focus in the rate, then the error.
    void LehneSampleRateAb(const QString& pv_meldung);
};
