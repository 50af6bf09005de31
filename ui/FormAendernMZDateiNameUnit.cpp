#include "FormAendernMZDateiNameUnit.h"

#include "MZFDatei.h"

#include <QLineEdit>

TFormAendernMZDateiName::TFormAendernMZDateiName(QWidget* pv_owner, const QString& pv_mzDateiName)
    : TFormAendernMZText(pv_owner, QStringLiteral("FormAendernMZDateiName"),
                         QStringLiteral("LabelMZDateiName")),
      m_mzDateiName(pv_mzDateiName.left(TMZFDatei::NameMaxZeichen)) {
    EditMZDateiName = new QLineEdit(this);
    EditMZDateiName->setObjectName(QStringLiteral("EditMZDateiName"));
    SetzeSteuerelement(EditMZDateiName);
}

void TFormAendernMZDateiName::ZeigeText() {
    EditMZDateiName->setMaxLength(TMZFDatei::NameMaxZeichen);
    EditMZDateiName->setText(m_mzDateiName);
    EditMZDateiName->setFocus();
}

QString TFormAendernMZDateiName::EingegebenerText() const {
    return EditMZDateiName->text();
}
