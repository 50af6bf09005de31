// Dialog that changes the MZ load address, in hexadecimal or decimal; warns when the body would
// end beyond $FFFF.
#pragma once

#include "AendernGemeinsam.h"

#include <QDialog>
#include <cstdint>

class TFormAendernMZLadeAdresse : public QDialog {
    Q_OBJECT
public:
    TFormAendernMZLadeAdresse(QWidget* pv_owner, std::uint16_t pv_mzLadeAdresse,
                              std::uint16_t pv_mzDateiGroesse);

    void SetzeTexte();
    void ButtonOKClick();
    void RadioGroupZahlensystemClick();

    // Read by the main window after OK.
    QLineEdit* EditMZLadeAdresse;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    std::uint16_t m_mzLadeAdresse;
    std::uint16_t m_mzDateiGroesse;
    TAdressSteuerelemente m_s;
};
