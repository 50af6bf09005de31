// The main window's body field in three views: the hex dump, the body as a BASIC listing, or as
// Z80 assembler text. Owns the controls that choose the view (with the BASIC dialect and where
// the machine code starts) and that copy or save what the field shows; the field itself stays
// the window's.
#pragma once

#include "BasicListe.h"
#include "Plattform.h"

#include <QObject>
#include <QString>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QWidget;
class TMZFDatei;

class TInhaltsAnsicht : public QObject {
    Q_OBJECT
public:
    enum class TAnsicht { Hex, Basic, Z80 };

    // The controls are made as children of `pv_eltern`; `pv_memo` is the field they fill.
    TInhaltsAnsicht(QWidget* pv_eltern, QPlainTextEdit* pv_memo);

    // The row with the view, the dialect and the code offset; the column with the two buttons.
    QWidget* Auswahl() const { return m_auswahl; }
    QWidget* Knoepfe() const { return m_knoepfe; }

    void SetzeTexte();
    // Fills the field from the file. A new file starts in the view its attribute suggests
    // (machine code: Z80, BASIC programs: the listing, else the dump), with the detected dialect
    // and the code from its first byte.
    void Zeige(const TMZFDatei& pv_datei, bool pv_neueDatei);
    // What the view shows, as `bandwerk-cli dump` writes it: lines ending with LF. Empty when the
    // body is refused as a BASIC program.
    QString AngezeigterText() const { return m_text; }

    void ButtonKopierenClick();
    void ButtonSpeichernAlsTextClick();

    QLabel* LabelAnsicht;
    QComboBox* ComboBoxAnsicht;
    QLabel* LabelDialekt;
    QComboBox* ComboBoxDialekt;
    QLabel* LabelCodeAnfang;
    QSpinBox* SpinEditCodeAnfang;
    QPushButton* ButtonKopieren;
    QPushButton* ButtonSpeichernAlsText;

private:
    void ZeigeNeu();
    void ZeigeFelderDerAnsicht();
    void SetzeAutomatikText();
    TAnsicht Ansicht() const;

    QWidget* m_auswahl;
    QWidget* m_knoepfe;
    QPlainTextEdit* m_memo;
    const TMZFDatei* m_datei = nullptr;
    QString m_text;
    TBasicDialekt m_erkannt = TBasicDialekt::MZ700; // of the file shown, as last detected
    // While the window fills the controls, their signals must not redraw the field.
    bool m_fuelltAus = false;
    TDateiDialog SaveDialogListing;
};
