#include "FormAendernMZStartAdresseUnit.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace {
constexpr int DesignBreite = 369;
} // namespace

TFormAendernMZStartAdresse::TFormAendernMZStartAdresse(QWidget* pv_owner, std::uint16_t pv_mzStartAdresse)
    : QDialog(pv_owner), m_mzStartAdresse(pv_mzStartAdresse) {
    setObjectName(QStringLiteral("FormAendernMZStartAdresse"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    m_s = BaueAdressDialog(this, QStringLiteral("LabelMZStartAdresse"), QStringLiteral("EditMZStartAdresse"));
    EditMZStartAdresse = m_s.edit;
    connect(m_s.knoepfe.ok, &QPushButton::clicked, this, &TFormAendernMZStartAdresse::ButtonOKClick);
    connect(m_s.zahlensystem, &QButtonGroup::idToggled, this, [this](int, bool an) {
        if (an)
            RadioGroupZahlensystemClick();
    });
}

void TFormAendernMZStartAdresse::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormAendernMZStartAdresse::FormShow() {
    SetzeTexte();
    setFixedSize(QSize(qMax(DesignBreite, sizeHint().width()), sizeHint().height()));
    PlatziereDialog(this);
    {
        const QSignalBlocker stumm(m_s.zahlensystem);
        m_s.hex->setChecked(true);
    }
    EditMZStartAdresse->setText(AlsHexAdresse(m_mzStartAdresse));
    EditMZStartAdresse->setFocus();
}

void TFormAendernMZStartAdresse::SetzeTexte() {
    SetzeAdressTexte(this, m_s);
}

void TFormAendernMZStartAdresse::RadioGroupZahlensystemClick() {
    WechsleZahlensystem(EditMZStartAdresse, m_s.dez->isChecked(), m_mzStartAdresse);
}

void TFormAendernMZStartAdresse::ButtonOKClick() {
    // A start address has no end to check: any value from $0000 to $FFFF will do.
    if (PruefeAdresse(EditMZStartAdresse, m_s.hex->isChecked()))
        accept();
}
