// Dialog that changes the MZ start address, in hexadecimal or decimal. A start address has no
// end to check: any value from $0000 to $FFFF will do.
#pragma once

#include "AendernGemeinsam.h"

#include <cstdint>

class TFormAendernMZStartAdresse : public TFormAendernMZAdresse {
    Q_OBJECT
public:
    TFormAendernMZStartAdresse(QWidget* pv_owner, std::uint16_t pv_mzStartAdresse);

    // Read by the main window after OK.
    QLineEdit* EditMZStartAdresse;
};
