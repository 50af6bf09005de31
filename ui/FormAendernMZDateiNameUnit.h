// Dialog that changes the MZ file name (up to 16 characters of the MZ character set).
#pragma once

#include "AendernGemeinsam.h"

class TFormAendernMZDateiName : public TFormAendernMZText {
    Q_OBJECT
public:
    TFormAendernMZDateiName(QWidget* pv_owner, const QString& pv_mzDateiName);

    // Read by the main window after OK.
    QLineEdit* EditMZDateiName;

protected:
    void ZeigeText() override;
    QString EingegebenerText() const override;

private:
    QString m_mzDateiName;
};
