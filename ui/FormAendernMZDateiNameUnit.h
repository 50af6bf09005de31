// Dialog that changes the MZ file name (up to 16 characters of the MZ character set).
#pragma once

#include "AendernGemeinsam.h"

#include <QDialog>

class TFormAendernMZDateiName : public QDialog {
    Q_OBJECT
public:
    TFormAendernMZDateiName(QWidget* pv_owner, const QString& pv_mzDateiName);

    void SetzeTexte();
    void ButtonOKClick();

    // Read by the main window after OK.
    QLineEdit* EditMZDateiName;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QString m_mzDateiName;
    QLabel* LabelMZDateiName;
    TKnopfzeile m_knoepfe;
};
