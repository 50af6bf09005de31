// Dialog that changes the MZ comment (up to 103 characters of the MZ character set). Enter
// presses OK; the comment has no line breaks of its own.
#pragma once

#include "AendernGemeinsam.h"

#include <QDialog>

class QPlainTextEdit;

class TFormAendernMZKommentar : public QDialog {
    Q_OBJECT
public:
    TFormAendernMZKommentar(QWidget* pv_owner, const QString& pv_mzKommentar);

    void SetzeTexte();
    void ButtonOKClick();

    // Read by the main window after OK.
    QPlainTextEdit* MemoMZKommentar;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* objekt, QEvent* event) override;

private:
    void FormShow();
    void BegrenzeLaenge();

    QString m_mzKommentar;
    QLabel* LabelMZKommentar;
    TKnopfzeile m_knoepfe;
};
