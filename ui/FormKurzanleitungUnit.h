// The brief instruction: the program's short manual in the current language, which the user can
// also save as a plain text file wrapped at 80 columns.
#pragma once

#include "Plattform.h"

#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QPushButton;

// The instruction with its terms of use, contact invitation and disclaimer filled in; lines end
// with CR LF.
QString KurzanleitungText();

class TFormKurzanleitung : public QDialog {
    Q_OBJECT
public:
    explicit TFormKurzanleitung(QWidget* pv_owner);

    void SetzeTexte();
    void ButtonSpeichernClick();

    QPlainTextEdit* MemoKurzanleitung;
    QPushButton* ButtonSpeichern;
    QPushButton* ButtonSchliessen;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    TDateiDialog SaveDialogKurzanleitung;
    // The text as the catalogue gives it, with its CR LF line ends; the file is made from it.
    QString m_text;
};
