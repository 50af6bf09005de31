// Dialog that changes the MZ file attribute: a list of all 256 values with their names.
#pragma once

#include "AendernGemeinsam.h"

#include <QDialog>
#include <cstdint>

class QListWidget;

class TFormAendernMZDateiAttribut : public QDialog {
    Q_OBJECT
public:
    TFormAendernMZDateiAttribut(QWidget* pv_owner, std::uint8_t pv_mzDateiAttribut);

    void SetzeTexte();
    void ListBoxMZDateiAttributDblClick();
    // The selected entry's value, $01 when nothing is selected.
    std::uint8_t GewaehltesAttribut() const;

    QListWidget* ListBoxMZDateiAttribut;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    std::uint8_t m_mzDateiAttribut;
    QLabel* LabelMZDateiAttribut;
    TKnopfzeile m_knoepfe;
};
