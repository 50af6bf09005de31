#include "FormVersionsHistorieUnit.h"

#include "AendernGemeinsam.h"
#include "SprachenTexte.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
const QString FormName = QStringLiteral("FormVersionsHistorie");
// The designed size, which is also the smallest.
constexpr int DesignBreite = 545;
constexpr int DesignHoehe = 420;
} // namespace

TFormVersionsHistorie::TFormVersionsHistorie(QWidget* pv_owner) : QDialog(pv_owner) {
    setObjectName(FormName);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setMinimumSize(DesignBreite, DesignHoehe);
    resize(DesignBreite, DesignHoehe);
    MemoVersionsHistorie = NeuesHilfeMemo(this, QStringLiteral("MemoVersionsHistorie"));
    ButtonSchliessen = NeuerSchliessenKnopf(this);
    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    zeile->addWidget(ButtonSchliessen);
    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(MemoVersionsHistorie, 1);
    spalte->addLayout(zeile);
    SetzeTexte();
}

void TFormVersionsHistorie::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    PlatziereDialog(this);
    SetzeTexte();
}

void TFormVersionsHistorie::SetzeTexte() {
    setWindowTitle(HoleText(FormName));
    MemoVersionsHistorie->setPlainText(HoleText(FormName + QStringLiteral("_MemoVersionsHistorie"))
                                           .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    ButtonSchliessen->setText(HoleText(FormName + QStringLiteral("_ButtonSchliessen")));
}
