#include "HilfeGemeinsam.h"

#include "AendernGemeinsam.h"

#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
constexpr int MemoSchriftPixel = 13;

QFont MemoSchrift() {
    QFont schrift = FesteSchrift();
    schrift.setPixelSize(MemoSchriftPixel);
    return schrift;
}
} // namespace

QPlainTextEdit* BaueTextMemo(QDialog* pv_fenster, const QString& pv_name) {
    auto* memo = new QPlainTextEdit(pv_fenster);
    memo->setObjectName(pv_name);
    memo->setReadOnly(true);
    memo->setFont(MemoSchrift());
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setBackgroundRole(QPalette::Button);
    QPalette farben = memo->palette();
    farben.setColor(QPalette::Base, farben.color(QPalette::Button));
    memo->setPalette(farben);
    return memo;
}

void SetzeMemoText(QPlainTextEdit* pv_memo, const QString& pv_text) {
    pv_memo->setPlainText(QString(pv_text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

QPushButton* BaueSchliessenKnopf(QDialog* pv_fenster) {
    auto* knopf = new QPushButton(pv_fenster);
    knopf->setObjectName(QStringLiteral("ButtonSchliessen"));
    knopf->setDefault(true);
    knopf->setAutoDefault(true);
    // Esc closes a QDialog with reject() by itself; the button does the same.
    QObject::connect(knopf, &QPushButton::clicked, pv_fenster, &QDialog::reject);
    return knopf;
}

void SetzeTextFensterRahmen(QDialog* pv_fenster, const QString& pv_formName, QSize pv_mindest) {
    pv_fenster->setObjectName(pv_formName);
    pv_fenster->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                               Qt::WindowCloseButtonHint);
    pv_fenster->setSizeGripEnabled(true);
    pv_fenster->setMinimumSize(pv_mindest);
    pv_fenster->resize(pv_mindest);
}

void ZeigeTextFenster(QDialog* pv_fenster, QSize pv_mindest) {
    if (pv_fenster->layout())
        pv_fenster->layout()->activate();
    const QSize noetig = pv_mindest.expandedTo(pv_fenster->minimumSizeHint());
    pv_fenster->setMinimumSize(noetig);
    pv_fenster->resize(pv_fenster->size().expandedTo(noetig));
    PlatziereDialog(pv_fenster);
}
