// What the tape deck's windows share: their file dialogs, the time as they show it, and the
// settings page that chooses the sound devices.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <utility>

class QComboBox;
class QLabel;
class QPushButton;

// The kinds of file the tape deck's windows open and save, each with its remembered folder.
enum class TTonbandDialog { MZDateiHinzufuegen, MZFSpeichern, WAVSpeichern, MZTSpeichern };

// Shows the dialog (title and filter from the catalogue) in the kind's folder and remembers the
// chosen file's folder; the path, or nothing when the user cancels.
std::optional<QString> ZeigeTonbandDialog(TTonbandDialog pv_art, const QString& pv_vorschlag = QString());
// "m:ss".
QString Zeitangabe(qint64 pv_ms);
// A button that is never the default by itself, and a label that wraps, named for their texts.
QPushButton* TonbandKnopf(QWidget* pv_eltern, const char* pv_name);
QLabel* TonbandBeschriftung(QWidget* pv_eltern, const char* pv_name);

// The settings page of the tape deck: the sound output and input, each "System default" or a
// device by its description, stored by the name the sound server gives it.
class TTonbandSeite : public QWidget {
    Q_OBJECT
public:
    explicit TTonbandSeite(QWidget* pv_eltern);
    void SetzeTexte();
    // Fills the lists with the devices there are and selects the stored ones (a stored device
    // that is not there now stays in the list).
    void Lade(const QString& ausgabe, const QString& eingabe);
    // The chosen output and input, as they are stored.
    std::pair<QString, QString> Auswahl() const;

    QLabel* LabelAusgabe;
    QComboBox* ComboBoxAusgabe;
    QLabel* LabelEingabe;
    QComboBox* ComboBoxEingabe;
};
