// The settings dialog: the language, the MZ model for import and export (and the extended
// decoding of recordings), the sample rate, tape format and polarity of WAV export. Nothing is
// stored until OK passes its checks; Cancel, a refused rate or closing the window change nothing.
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
    QGroupBox* RadioGroupSprache;
    QButtonGroup* SpracheAuswahl; // ids 0 German, 1 English
    QGroupBox* RadioGroupMZModell;
    QButtonGroup* MZModellAuswahl; // ids: the model indexes
    QCheckBox* CheckBoxErweiterteDekodierung;
    QLabel* LabelSampleRate;
    QLineEdit* EditSampleRate;
    QPushButton* ButtonDefaultSampleRate;
    QGroupBox* RadioGroupMZTonbandFormat;
    QButtonGroup* MZTonbandFormatAuswahl; // ids 0 full, 1 shortened
    QGroupBox* RadioGroupPolaritaet;
    QButtonGroup* PolaritaetAuswahl; // ids 0 normal, 1 inverted
    QPushButton* ButtonOK;
    QPushButton* ButtonAbbrechen;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    // Refuses the sample rate: the WAV export page, the focus in the edit, the message.
    void WeiseSampleRateZurueck(const QString& pv_meldung);
};
