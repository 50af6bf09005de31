// The tape view: a recording read once through the import's own decoding, drawn on one time axis
// (waveform, marks, blocks coloured by state, speed), beside it the catalogue of the files found
// exactly as Import WAV finds them with the same settings; choosing a file marks its blocks,
// choosing a block shows its bytes with the uncertain ones marked. A file is imported into the
// main window or saved, one or all. A tape image shows the catalogue alone.
#pragma once

#include "Bandaufzeichnung.h"
#include "Plattform.h"

#include <QDialog>
#include <atomic>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QTreeWidget;
class TBandFlaeche;

class TFormBandansicht : public QDialog {
    Q_OBJECT
public:
    // Takes an MZ file into the main window; false when the user kept the file there.
    using TImport = std::function<bool(const TMZFDatei& datei)>;

    TFormBandansicht(QWidget* pv_owner, TImport pv_import);
    ~TFormBandansicht() override;

    // Reads a recording with the model and decoding of the settings, showing the progress; the
    // window answers the user meanwhile and Cancel stops the reading (what was read stays shown).
    // False after a failure, which has been shown, or when the window was closed while reading.
    bool LiesAufnahme(const QString& pv_dateiName);
    // The files of a tape image: the catalogue without a recording.
    void ZeigeDateien(std::vector<std::unique_ptr<TMZFDatei>> pv_dateien, const QString& pv_quelle);

    void SetzeTexte();
    void WaehleEintrag(int pv_eintrag);
    void WaehleBlock(int pv_block);
    int GewaehlterEintrag() const;
    void ButtonImportClick();
    void ButtonSpeichernClick();
    void ButtonAlleSpeichernClick();
    void ButtonAbbrechenClick();

    const TBandaufzeichnung& Band() const { return m_band; }
    bool LiestGerade() const { return m_liest; }

    QLabel* LabelStatus;
    TBandFlaeche* Flaeche;
    QScrollBar* Leiste;
    QLabel* LabelLegende;
    QPushButton* ButtonAllesZeigen;
    QPushButton* ButtonVergroessern;
    QPushButton* ButtonVerkleinern;
    QProgressBar* Fortschritt;
    QPushButton* ButtonAbbrechen;
    QLabel* LabelKatalog;
    QTreeWidget* Katalog;
    QLabel* LabelBytes;
    QPlainTextEdit* MemoBytes;
    QPushButton* ButtonImport;
    QPushButton* ButtonSpeichern;
    QPushButton* ButtonAlleSpeichern;
    QPushButton* ButtonSchliessen;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FuelleKatalog();
    void ZeigeBytes(int pv_block);
    void AktualisiereKnoepfe();
    void ZeigeFortschritt(double pv_prozent);
    QString StatusText() const;
    const TMZFDatei* GewaehlteDatei() const;

    TImport m_import;
    TBandaufzeichnung m_band;
    QString m_quelle;
    bool m_liest = false;
    std::size_t m_gezeichneteStellen = 0; // marks and blocks drawn while reading
    bool m_bereichZeigen = true;          // choosing a file brings its blocks into view
    std::atomic<bool> m_abbruch{false};
    bool m_geschlossen = false; // closed while reading: closes once the reading has stopped
};

// The choice for TMZFDatei::ImportMZT: the catalogue of the tape image in the tape view, modally
// over pv_aufruferForm; the index of the file imported, or -1 when the user closes the window.
TMZFDatei::TAuswahl KatalogAuswahl(QWidget* pv_aufruferForm, const QString& pv_quelle);
