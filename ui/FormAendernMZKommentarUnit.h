// Dialog that changes the MZ comment (up to 103 characters of the MZ character set). Enter
// presses OK; the comment has no line breaks of its own.
#pragma once

#include "AendernGemeinsam.h"

class QPlainTextEdit;

class TFormAendernMZKommentar : public TFormAendernMZText {
    Q_OBJECT
public:
    TFormAendernMZKommentar(QWidget* pv_owner, const QString& pv_mzKommentar);

    // Read by the main window after OK.
    QPlainTextEdit* MemoMZKommentar;

protected:
    void ZeigeText() override;
    QString EingegebenerText() const override;
    bool eventFilter(QObject* objekt, QEvent* event) override;

private:
    void BegrenzeLaenge();

    QString m_mzKommentar;
};
