#include "FormVersionsHistorieUnit.h"

#include "HilfeGemeinsam.h"
#include "SprachenTexte.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
constexpr QSize DesignGroesse(545, 420);
constexpr int Rand = 8;
const QString FormName = QStringLiteral("FormVersionsHistorie");
} // namespace

TFormVersionsHistorie::TFormVersionsHistorie(QWidget* pv_owner) : QDialog(pv_owner) {
    SetzeTextFensterRahmen(this, FormName, DesignGroesse);
    MemoVersionsHistorie = BaueTextMemo(this, QStringLiteral("MemoVersionsHistorie"));
    ButtonSchliessen = BaueSchliessenKnopf(this);

    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    zeile->addWidget(ButtonSchliessen);
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(Rand, Rand, Rand, Rand);
    spalte->setSpacing(Rand);
    spalte->addWidget(MemoVersionsHistorie, 1);
    spalte->addLayout(zeile);
}

void TFormVersionsHistorie::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormVersionsHistorie::FormShow() {
    SetzeTexte();
    ZeigeTextFenster(this, DesignGroesse);
    MemoVersionsHistorie->setFocus();
}

void TFormVersionsHistorie::SetzeTexte() {
    setWindowTitle(HoleText(FormName));
    SetzeMemoText(MemoVersionsHistorie, HoleText(FormName + QStringLiteral("_MemoVersionsHistorie")));
    ButtonSchliessen->setText(HoleText(FormName + QStringLiteral("_ButtonSchliessen")));
}
