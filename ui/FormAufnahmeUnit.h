// Records a cassette from the sound input and decodes it as it plays: a meter shows the input
// level (with a hint when the signal clips or is too quiet), each MZ file appears in the list as
// soon as its body has been read and can be imported or saved while the recording goes on. The
// whole recording can be kept as a WAV file.
#pragma once

#include "BandAufnahme.h"

#include <QDialog>
#include <QTimer>
#include <functional>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

class TFormAufnahme : public QDialog {
    Q_OBJECT
public:
    // Takes an MZ file into the main window; false when the user kept the file there.
    using TImport = std::function<bool(const TMZFDatei& datei)>;

    TFormAufnahme(QWidget* pv_owner, TImport pv_import);
    ~TFormAufnahme() override;

    void SetzeTexte();
    void ButtonStartClick();
    void ButtonStoppClick();
    void ButtonImportierenClick();
    void ButtonSpeichernClick();

    TBandAufnahme& Aufnahme() { return m_aufnahme; }

    QLabel* LabelGeraet;
    QLabel* LabelPegel;
    QProgressBar* ProgressBarPegel;
    QLabel* LabelHinweis;
    QCheckBox* CheckBoxWAVBehalten;
    QPushButton* ButtonStart;
    QPushButton* ButtonStopp;
    QLabel* LabelStatus;
    QLabel* LabelDateien;
    QTableWidget* TabelleDateien;
    QPushButton* ButtonImportieren;
    QPushButton* ButtonSpeichern;
    QPushButton* ButtonSchliessen;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormShow();
    void ZeigeDatei(int pv_zeile, const TMZFDatei& pv_datei);
    void ZeigeDateien();
    void ZeigePegel();
    void AktualisiereKnoepfe();
    void AufnahmeBeendet(const TAudioFehler& pv_fehler);
    const TMZFDatei* AusgewaehlteDatei() const;
    QString EingabeGeraet() const;

    TImport m_import;
    TBandAufnahme m_aufnahme;
    QTimer m_anzeige;
};
