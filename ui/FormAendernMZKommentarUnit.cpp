#include "FormAendernMZKommentarUnit.h"

#include "MZFDatei.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace {
constexpr int MemoZeilen = 3;
} // namespace

TFormAendernMZKommentar::TFormAendernMZKommentar(QWidget* pv_owner, const QString& pv_mzKommentar)
    : TFormAendernMZText(pv_owner, QStringLiteral("FormAendernMZKommentar"),
                         QStringLiteral("LabelMZKommentar")),
      m_mzKommentar(pv_mzKommentar.left(TMZFDatei::KommentarMaxZeichen)) {
    MemoMZKommentar = new QPlainTextEdit(this);
    MemoMZKommentar->setObjectName(QStringLiteral("MemoMZKommentar"));
    MemoMZKommentar->setTabChangesFocus(true);
    MemoMZKommentar->setFixedHeight(
        MemoMZKommentar->fontMetrics().lineSpacing() * MemoZeilen +
        2 * (MemoMZKommentar->frameWidth() + int(MemoMZKommentar->document()->documentMargin())));
    MemoMZKommentar->installEventFilter(this);
    connect(MemoMZKommentar, &QPlainTextEdit::textChanged, this, &TFormAendernMZKommentar::BegrenzeLaenge);
    SetzeSteuerelement(MemoMZKommentar);
}

void TFormAendernMZKommentar::ZeigeText() {
    MemoMZKommentar->setPlainText(m_mzKommentar);
    MemoMZKommentar->moveCursor(QTextCursor::End);
    MemoMZKommentar->setFocus();
}

QString TFormAendernMZKommentar::EingegebenerText() const {
    return MemoMZKommentar->toPlainText();
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
