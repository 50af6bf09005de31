// What the field edit dialogs share: placing a dialog over its owner, the hex/dec switch of the
// address dialogs, the checks their OK buttons run, the MZ text check of name and comment, and
// the common base of the two address dialogs and of the two text dialogs.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>

class QButtonGroup;
class QGroupBox;
class QFont;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// OK (default button, Enter) and Cancel (Esc) at the bottom right; OK is left to the caller.
struct TKnopfzeile {
    QPushButton* ok;
    QPushButton* abbrechen;
};
TKnopfzeile BaueKnopfzeile(QDialog* pv_dialog);

// The controls of an address dialog: label, edit, the number system group with "hex." (id 0)
// and "dec." (id 1), OK and Cancel.
struct TAdressSteuerelemente {
    QLabel* label;
    QLineEdit* edit;
    QGroupBox* gruppe;
    QRadioButton* hex;
    QRadioButton* dez;
    QButtonGroup* zahlensystem;
    TKnopfzeile knoepfe;
};
TAdressSteuerelemente BaueAdressDialog(QDialog* pv_dialog, const QString& pv_labelName,
                                       const QString& pv_editName);
// Caption, label, group and its items, buttons, all from the catalogue under the form's name.
void SetzeAdressTexte(QDialog* pv_dialog, const TAdressSteuerelemente& pv_s);
// Caption, label and buttons of a dialog under its form name.
void SetzeDialogTexte(QDialog* pv_dialog, QLabel* pv_label, const TKnopfzeile& pv_knoepfe);
// Label over the control, the button row below; the control takes `pv_dehnung` of the height.
// The buttons are made here, after the control, so that Tab goes from the control to OK.
TKnopfzeile BaueSpaltenDialog(QDialog* pv_dialog, QLabel* pv_label, QWidget* pv_steuerelement,
                              int pv_dehnung = 0);

// Centres the dialog over its owner and keeps it on the screen.
void PlatziereDialog(QDialog* pv_dialog);
// A fixed-pitch font, for dumps and texts laid out in columns.
QFont FesteSchrift();

// "$" and at least four upper-case hexadecimal digits; negative values show their 32 bits.
QString AlsHexAdresse(qint64 wert);
// Blanks and control characters off both ends, as a typed number is read.
QString OhneRandzeichen(const QString& text);
// The switch between the number systems: converts the text, never checks it. When the text is no
// number, the kept address takes its place.
void WechsleZahlensystem(QLineEdit* pv_edit, bool pv_dezimal, std::uint16_t pv_gemerkt);
// Steps of the address dialogs' OK: trim, convert (0 to 65535), number system by the first
// character. On a refusal the error has been shown and the focus is in the edit.
std::optional<std::uint16_t> PruefeAdresse(QLineEdit* pv_edit, bool pv_hexGewaehlt);
// Address from a text the dialogs accepted; nothing for any other text.
std::optional<std::uint16_t> AdresseAusText(const QString& text);
// Name and comment: every character needs an MZ code, then the loss warning has to be answered
// Yes. On a refusal the focus is in the control.
bool PruefeMZText(const QString& pv_text, QWidget* pv_steuerelement);

// An address dialog: the address in hexadecimal first, switchable to decimal. OK accepts any
// number from 0 to 65535 in the chosen system that PruefeEnde lets pass.
class TFormAendernMZAdresse : public QDialog {
    Q_OBJECT
public:
    void SetzeTexte();
    void ButtonOKClick();
    void RadioGroupZahlensystemClick();

protected:
    // Form, label and edit names give the object names and the catalogue keys.
    TFormAendernMZAdresse(QWidget* pv_owner, const QString& pv_formName, const QString& pv_labelName,
                          const QString& pv_editName, std::uint16_t pv_mzAdresse);
    void showEvent(QShowEvent* event) override;
    // Further check of a valid address; false keeps the dialog open.
    virtual bool PruefeEnde(std::uint16_t pv_adresse);
    QLineEdit* AdressEdit() const { return m_s.edit; }

private:
    void FormShow();

    std::uint16_t m_mzAdresse;
    TAdressSteuerelemente m_s;
};

// A dialog for a text of the MZ character set (name, comment): OK checks every character and
// asks before MZ-specific characters are lost.
class TFormAendernMZText : public QDialog {
    Q_OBJECT
public:
    void SetzeTexte();
    void ButtonOKClick();

protected:
    TFormAendernMZText(QWidget* pv_owner, const QString& pv_formName, const QString& pv_labelName);
    // Puts the control (made by the derived dialog) under the label, with the buttons below.
    void SetzeSteuerelement(QWidget* pv_steuerelement);
    void showEvent(QShowEvent* event) override;
    // The kept text into the control, the focus onto it.
    virtual void ZeigeText() = 0;
    virtual QString EingegebenerText() const = 0;

    TKnopfzeile m_knoepfe{};

private:
    void FormShow();

    QLabel* m_label;
    QWidget* m_steuerelement = nullptr;
};
