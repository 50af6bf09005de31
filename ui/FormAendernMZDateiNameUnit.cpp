#include "FormAendernMZDateiNameUnit.h"

#include "MZFDatei.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
constexpr int DesignBreite = 369;
} // namespace

TFormAendernMZDateiName::TFormAendernMZDateiName(QWidget* pv_owner, const QString& pv_mzDateiName)
    : QDialog(pv_owner), m_mzDateiName(pv_mzDateiName.left(TMZFDatei::NameMaxZeichen)) {
    setObjectName(QStringLiteral("FormAendernMZDateiName"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    LabelMZDateiName = new QLabel(this);
    LabelMZDateiName->setObjectName(QStringLiteral("LabelMZDateiName"));
    EditMZDateiName = new QLineEdit(this);
    EditMZDateiName->setObjectName(QStringLiteral("EditMZDateiName"));
    LabelMZDateiName->setBuddy(EditMZDateiName);
    m_knoepfe = BaueKnopfzeile(this);
    connect(m_knoepfe.ok, &QPushButton::clicked, this, &TFormAendernMZDateiName::ButtonOKClick);

    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(LabelMZDateiName);
    spalte->addWidget(EditMZDateiName);
    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    zeile->addWidget(m_knoepfe.ok);
    zeile->addWidget(m_knoepfe.abbrechen);
    spalte->addLayout(zeile);
}

void TFormAendernMZDateiName::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormAendernMZDateiName::FormShow() {
    SetzeTexte();
    setFixedSize(QSize(qMax(DesignBreite, sizeHint().width()), sizeHint().height()));
    PlatziereDialog(this);
    EditMZDateiName->setMaxLength(TMZFDatei::NameMaxZeichen);
    EditMZDateiName->setText(m_mzDateiName);
    EditMZDateiName->setFocus();
}

void TFormAendernMZDateiName::SetzeTexte() {
    SetzeDialogTexte(this, LabelMZDateiName, m_knoepfe);
}

void TFormAendernMZDateiName::ButtonOKClick() {
    if (PruefeMZText(EditMZDateiName->text(), EditMZDateiName))
        accept();
}
