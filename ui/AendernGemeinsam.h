// What the field edit dialogs share: placing a dialog over its owner, the hex/dec switch of the
// address dialogs, the checks their OK buttons run, and the MZ text check of name and comment.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QButtonGroup;
class QDialog;
class QGroupBox;
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

// Centres the dialog over its owner and keeps it on the screen.
void PlatziereDialog(QDialog* pv_dialog);
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
