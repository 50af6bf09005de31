// Dialog that changes the MZ start address, in hexadecimal or decimal.
#pragma once

#include "AendernGemeinsam.h"

#include <QDialog>
#include <cstdint>

class TFormAendernMZStartAdresse : public QDialog {
    Q_OBJECT
public:
    TFormAendernMZStartAdresse(QWidget* pv_owner, std::uint16_t pv_mzStartAdresse);

    void SetzeTexte();
    void ButtonOKClick();
    void RadioGroupZahlensystemClick();

    // Read by the main window after OK.
    QLineEdit* EditMZStartAdresse;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    std::uint16_t m_mzStartAdresse;
    TAdressSteuerelemente m_s;
};
