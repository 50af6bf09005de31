// Lists the MZ files that one source (a recording, an MZT file) holds: the user imports one of
// them, or saves any of them as an MZF file without importing it. The dialog does not own the
// records.
#pragma once

#include "DateiArt.h"
#include "MZFDatei.h"

#include <QDialog>
#include <memory>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

class TFormAuswahlMZDatei : public QDialog {
    Q_OBJECT
public:
    // pv_mzDateien must hold at least one record, else std::invalid_argument. pv_quelle is the
    // kind of file they come from (a recording or a tape image), which the dialog names.
    // With the recording's path the dialog offers the tape view of it.
    TFormAuswahlMZDatei(QWidget* pv_owner, const std::vector<std::unique_ptr<TMZFDatei>>& pv_mzDateien,
                        TDateiArt pv_quelle = TDateiArt::WAV, const QString& pv_aufnahme = QString());

    void SetzeTexte();
    // Closes the dialog with OK; a damaged file only when the user wants it anyway.
    void ButtonImportClick();
    // Saves the selected file; a damaged one only when the user wants it anyway.
    void ButtonSpeichernAlsMZFDateiClick();
    // The tape view of the recording; a file imported there is the one chosen here.
    void ButtonBandansichtClick();
    // The record of the selected line; the first when no line is selected.
    TMZFDatei* AusgewaehlteMZDatei() const;
    // Its index in the list passed at construction.
    int AusgewaehlterIndex() const;

    QLabel* LabelMZDateien;
    QListWidget* ListBoxMZDateien;
    QLabel* LabelHinweisImport;
    QLabel* LabelHinweisSpeichernAlsMZFDatei;
    QPushButton* ButtonImport;
    QPushButton* ButtonSpeichernAlsMZFDatei;
    QPushButton* ButtonBandansicht;
    QPushButton* ButtonAbbrechen;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    std::vector<TMZFDatei*> m_mzDateien;
    TDateiArt m_quelle;
    QString m_aufnahme;
};

// The choice for TMZFDatei::ImportMZT and ImportWAV: shows the dialog modally over pv_aufruferForm
// and answers the index of the record to import, or -1 when the user cancels.
TMZFDatei::TAuswahl AuswahlDialog(QWidget* pv_aufruferForm, TDateiArt pv_quelle = TDateiArt::WAV,
                                  const QString& pv_aufnahme = QString());
