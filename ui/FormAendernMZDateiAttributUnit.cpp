#include "FormAendernMZDateiAttributUnit.h"

#include "Ganzzahl.h"
#include "MZFDatei.h"
#include "Plattform.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

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
    connect(ListBoxMZDateiAttribut, &QListWidget::itemDoubleClicked, this,
            &TFormAendernMZDateiAttribut::ListBoxMZDateiAttributDblClick);
    m_knoepfe = BaueSpaltenDialog(this, LabelMZDateiAttribut, ListBoxMZDateiAttribut, 1);
    // Every attribute is allowed: OK needs no check.
    connect(m_knoepfe.ok, &QPushButton::clicked, this, &QDialog::accept);
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
        ListBoxMZDateiAttribut->addItem(TMZFDatei::HoleMZDateiAttributText(attribut) + QStringLiteral(" (") +
                                        HexMitDollar(attribut, 2) + QLatin1Char(')'));
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
