#include "FormAendernMZDateiAttributUnit.h"

#include "MZFDatei.h"
#include "Plattform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
constexpr int AnzahlAttribute = 256;
// What a file without a choice is: a machine-language program.
constexpr std::uint8_t StandardAttribut = 0x01;
constexpr QSize DesignGroesse(369, 412);
} // namespace

TFormAendernMZDateiAttribut::TFormAendernMZDateiAttribut(QWidget* pv_owner, std::uint8_t pv_mzDateiAttribut)
    : QDialog(pv_owner), m_mzDateiAttribut(pv_mzDateiAttribut) {
    setObjectName(QStringLiteral("FormAendernMZDateiAttribut"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    LabelMZDateiAttribut = new QLabel(this);
    LabelMZDateiAttribut->setObjectName(QStringLiteral("LabelMZDateiAttribut"));
    ListBoxMZDateiAttribut = new QListWidget(this);
    ListBoxMZDateiAttribut->setObjectName(QStringLiteral("ListBoxMZDateiAttribut"));
    ListBoxMZDateiAttribut->setSelectionMode(QAbstractItemView::SingleSelection);
    LabelMZDateiAttribut->setBuddy(ListBoxMZDateiAttribut);
    connect(ListBoxMZDateiAttribut, &QListWidget::itemDoubleClicked, this,
            &TFormAendernMZDateiAttribut::ListBoxMZDateiAttributDblClick);
    m_knoepfe = BaueKnopfzeile(this);
    // Every attribute is allowed: OK needs no check.
    connect(m_knoepfe.ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(LabelMZDateiAttribut);
    spalte->addWidget(ListBoxMZDateiAttribut, 1);
    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    zeile->addWidget(m_knoepfe.ok);
    zeile->addWidget(m_knoepfe.abbrechen);
    spalte->addLayout(zeile);
    setMinimumSize(DesignGroesse);
    resize(DesignGroesse);
}

void TFormAendernMZDateiAttribut::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormAendernMZDateiAttribut::FormShow() {
    PlatziereDialog(this);
    SetzeTexte();
    QListWidgetItem* eintrag = ListBoxMZDateiAttribut->item(m_mzDateiAttribut);
    ListBoxMZDateiAttribut->setCurrentItem(eintrag);
    ListBoxMZDateiAttribut->scrollToItem(eintrag, QAbstractItemView::PositionAtCenter);
    ListBoxMZDateiAttribut->setFocus();
}

void TFormAendernMZDateiAttribut::SetzeTexte() {
    TSanduhr sanduhr;
    SetzeDialogTexte(this, LabelMZDateiAttribut, m_knoepfe);
    ListBoxMZDateiAttribut->clear();
    // Entry index equals attribute value.
    for (int i = 0; i < AnzahlAttribute; ++i) {
        const auto attribut = static_cast<std::uint8_t>(i);
        ListBoxMZDateiAttribut->addItem(TMZFDatei::HoleMZDateiAttributText(attribut) + QStringLiteral(" ($") +
                                        QStringLiteral("%1").arg(i, 2, 16, QLatin1Char('0')).toUpper() +
                                        QLatin1Char(')'));
    }
    ListBoxMZDateiAttribut->clearSelection();
}

void TFormAendernMZDateiAttribut::ListBoxMZDateiAttributDblClick() {
    m_knoepfe.ok->click();
}

std::uint8_t TFormAendernMZDateiAttribut::GewaehltesAttribut() const {
    const QList<QListWidgetItem*> gewaehlt = ListBoxMZDateiAttribut->selectedItems();
    if (gewaehlt.isEmpty())
        return StandardAttribut;
    return static_cast<std::uint8_t>(ListBoxMZDateiAttribut->row(gewaehlt.first()));
}
