// Plays a tape to a real MZ through the sound output: the loaded MZ file, and any files added
// after it, one after another as a machine saves them in turn. The same tape can be saved as a
// WAV or MZT file. Model, format, rate and polarity are those of the WAV export.
#pragma once

#include "BandAbspieler.h"
#include "MZFDatei.h"

#include <QDialog>
#include <QTimer>
#include <memory>
#include <vector>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

class TFormAbspielen : public QDialog {
    Q_OBJECT
public:
    // The tape starts with a copy of pv_datei.
    TFormAbspielen(QWidget* pv_owner, const TMZFDatei& pv_datei);
    ~TFormAbspielen() override;

    void SetzeTexte();
    void ButtonHinzufuegenClick();
    void ButtonEntfernenClick();
    void ButtonAbspielenClick();
    void ButtonPauseClick();
    void ButtonStoppClick();
    void ButtonExportWAVClick();
    void ButtonExportMZTClick();

    // Puts a file at the end of the tape.
    void FuegeHinzu(std::unique_ptr<TMZFDatei> pv_datei);
    // The files on the tape, in their order; the player.
    const std::vector<std::unique_ptr<TMZFDatei>>& Dateien() const { return m_dateien; }
    TBandAbspieler& Spieler() { return m_spieler; }

    QLabel* LabelDateien;
    QListWidget* ListBoxDateien;
    QPushButton* ButtonHinzufuegen;
    QPushButton* ButtonEntfernen;
    QLabel* LabelGeraet;
    QProgressBar* ProgressBarZeit;
    QLabel* LabelZeit;
    QLabel* LabelStatus;
    QPushButton* ButtonAbspielen;
    QPushButton* ButtonPause;
    QPushButton* ButtonStopp;
    QPushButton* ButtonExportWAV;
    QPushButton* ButtonExportMZT;
    QPushButton* ButtonSchliessen;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormShow();
    void AktualisiereListe();
    void AktualisiereKnoepfe();
    void ZeigeZeit();
    void SpielerBeendet(const TAudioFehler& pv_fehler);
    // The bit text of the whole tape, in the WAV export's format.
    std::string BandBits(const TBandEinstellungen& pv_einstellungen) const;
    // The settings the tape is played or timed with (the store is read only for a tape to play).
    TBandEinstellungen BandEinstellungen() const;
    std::vector<const TMZFDatei*> Weitere() const;
    QString AusgabeGeraet() const;

    std::vector<std::unique_ptr<TMZFDatei>> m_dateien;
    TBandAbspieler m_spieler;
    QTimer m_anzeige;
    bool m_gestoppt = false;
};
