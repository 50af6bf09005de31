// Dialog that changes the MZ load address, in hexadecimal or decimal; warns when the body would
// end beyond $FFFF.
#pragma once

#include "AendernGemeinsam.h"

#include <cstdint>

class TFormAendernMZLadeAdresse : public TFormAendernMZAdresse {
    Q_OBJECT
public:
    TFormAendernMZLadeAdresse(QWidget* pv_owner, std::uint16_t pv_mzLadeAdresse,
                              std::uint16_t pv_mzDateiGroesse);

    // Read by the main window after OK.
    QLineEdit* EditMZLadeAdresse;

protected:
    bool PruefeEnde(std::uint16_t pv_adresse) override;

private:
    std::uint16_t m_mzDateiGroesse;
};
