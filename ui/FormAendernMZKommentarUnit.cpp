#include "FormAendernMZKommentarUnit.h"

#include "MZFDatei.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {
constexpr int DesignBreite = 369;
constexpr int MemoZeilen = 3;
} // namespace

TFormAendernMZKommentar::TFormAendernMZKommentar(QWidget* pv_owner, const QString& pv_mzKommentar)
    : QDialog(pv_owner), m_mzKommentar(pv_mzKommentar.left(TMZFDatei::KommentarMaxZeichen)) {
    setObjectName(QStringLiteral("FormAendernMZKommentar"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    LabelMZKommentar = new QLabel(this);
    LabelMZKommentar->setObjectName(QStringLiteral("LabelMZKommentar"));
    MemoMZKommentar = new QPlainTextEdit(this);
    MemoMZKommentar->setObjectName(QStringLiteral("MemoMZKommentar"));
    MemoMZKommentar->setTabChangesFocus(true);
    MemoMZKommentar->setFixedHeight(
        MemoMZKommentar->fontMetrics().lineSpacing() * MemoZeilen +
        2 * (MemoMZKommentar->frameWidth() + int(MemoMZKommentar->document()->documentMargin())));
    MemoMZKommentar->installEventFilter(this);
    LabelMZKommentar->setBuddy(MemoMZKommentar);
    connect(MemoMZKommentar, &QPlainTextEdit::textChanged, this, &TFormAendernMZKommentar::BegrenzeLaenge);
    m_knoepfe = BaueKnopfzeile(this);
    connect(m_knoepfe.ok, &QPushButton::clicked, this, &TFormAendernMZKommentar::ButtonOKClick);

    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(LabelMZKommentar);
    spalte->addWidget(MemoMZKommentar);
    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    zeile->addWidget(m_knoepfe.ok);
    zeile->addWidget(m_knoepfe.abbrechen);
    spalte->addLayout(zeile);
}

void TFormAendernMZKommentar::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormAendernMZKommentar::FormShow() {
    SetzeTexte();
    setFixedSize(QSize(qMax(DesignBreite, sizeHint().width()), sizeHint().height()));
    PlatziereDialog(this);
    MemoMZKommentar->setPlainText(m_mzKommentar);
    MemoMZKommentar->moveCursor(QTextCursor::End);
    MemoMZKommentar->setFocus();
}

void TFormAendernMZKommentar::SetzeTexte() {
    SetzeDialogTexte(this, LabelMZKommentar, m_knoepfe);
}

// The memo has no length limit of its own: text beyond the comment's 103 characters is cut off.
void TFormAendernMZKommentar::BegrenzeLaenge() {
    const QString text = MemoMZKommentar->toPlainText();
    if (text.size() <= TMZFDatei::KommentarMaxZeichen)
        return;
    const QSignalBlocker stumm(MemoMZKommentar);
    const int position = qMin(MemoMZKommentar->textCursor().position(), TMZFDatei::KommentarMaxZeichen);
    MemoMZKommentar->setPlainText(text.left(TMZFDatei::KommentarMaxZeichen));
    QTextCursor cursor = MemoMZKommentar->textCursor();
    cursor.setPosition(position);
    MemoMZKommentar->setTextCursor(cursor);
}

// Enter presses OK; only Ctrl+Enter forces a line break into the memo (which OK then refuses).
bool TFormAendernMZKommentar::eventFilter(QObject* objekt, QEvent* event) {
    if (objekt == MemoMZKommentar && event->type() == QEvent::KeyPress) {
        const auto* taste = static_cast<QKeyEvent*>(event);
        if (taste->key() == Qt::Key_Return || taste->key() == Qt::Key_Enter) {
            if (taste->modifiers() & Qt::ControlModifier)
                MemoMZKommentar->insertPlainText(QStringLiteral("\n"));
            else
                m_knoepfe.ok->click();
            return true;
        }
    }
    return QDialog::eventFilter(objekt, event);
}

void TFormAendernMZKommentar::ButtonOKClick() {
    if (PruefeMZText(MemoMZKommentar->toPlainText(), MemoMZKommentar))
        accept();
}
