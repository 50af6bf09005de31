#include "FormAendernMZStartAdresseUnit.h"

TFormAendernMZStartAdresse::TFormAendernMZStartAdresse(QWidget* pv_owner, std::uint16_t pv_mzStartAdresse)
    : TFormAendernMZAdresse(pv_owner, QStringLiteral("FormAendernMZStartAdresse"),
                            QStringLiteral("LabelMZStartAdresse"), QStringLiteral("EditMZStartAdresse"),
                            pv_mzStartAdresse),
      EditMZStartAdresse(AdressEdit()) {}
