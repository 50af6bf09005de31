#include "FormAendernMZLadeAdresseUnit.h"

#include "Plattform.h"
#include "SprachenTexte.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace {
// The MZ address space ends at $FFFF; a body loaded higher would wrap around.
constexpr int LetzteMZAdresse = 0xFFFF;
constexpr int DesignBreite = 369;
} // namespace

TFormAendernMZLadeAdresse::TFormAendernMZLadeAdresse(QWidget* pv_owner, std::uint16_t pv_mzLadeAdresse,
                                                     std::uint16_t pv_mzDateiGroesse)
    : QDialog(pv_owner), m_mzLadeAdresse(pv_mzLadeAdresse), m_mzDateiGroesse(pv_mzDateiGroesse) {
    setObjectName(QStringLiteral("FormAendernMZLadeAdresse"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    m_s = BaueAdressDialog(this, QStringLiteral("LabelMZLadeAdresse"), QStringLiteral("EditMZLadeAdresse"));
    EditMZLadeAdresse = m_s.edit;
    connect(m_s.knoepfe.ok, &QPushButton::clicked, this, &TFormAendernMZLadeAdresse::ButtonOKClick);
    connect(m_s.zahlensystem, &QButtonGroup::idToggled, this, [this](int, bool an) {
        if (an)
            RadioGroupZahlensystemClick();
    });
}

void TFormAendernMZLadeAdresse::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormAendernMZLadeAdresse::FormShow() {
    SetzeTexte();
    setFixedSize(QSize(qMax(DesignBreite, sizeHint().width()), sizeHint().height()));
    PlatziereDialog(this);
    {
        const QSignalBlocker stumm(m_s.zahlensystem);
        m_s.hex->setChecked(true);
    }
    EditMZLadeAdresse->setText(AlsHexAdresse(m_mzLadeAdresse));
    EditMZLadeAdresse->setFocus();
}

void TFormAendernMZLadeAdresse::SetzeTexte() {
    SetzeAdressTexte(this, m_s);
}

void TFormAendernMZLadeAdresse::RadioGroupZahlensystemClick() {
    WechsleZahlensystem(EditMZLadeAdresse, m_s.dez->isChecked(), m_mzLadeAdresse);
}

void TFormAendernMZLadeAdresse::ButtonOKClick() {
    const std::optional<std::uint16_t> adresse = PruefeAdresse(EditMZLadeAdresse, m_s.hex->isChecked());
    if (!adresse)
        return;
    // An empty body never reaches beyond the address itself.
    if (m_mzDateiGroesse > 0 && int(*adresse) + int(m_mzDateiGroesse) - 1 > LetzteMZAdresse) {
        if (FrageWarnung(HoleText(QStringLiteral("Warnung_MZLadeAdresseZuGross")), false) != TAntwort::Ja) {
            EditMZLadeAdresse->setFocus();
            return;
        }
    }
    accept();
}
