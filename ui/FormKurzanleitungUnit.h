// The brief instruction: the catalogue's text in a read-only field, which can be saved as a text
// file wrapped at 80 columns with a header of its own.
#pragma once

#include <QByteArray>
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TFormKurzanleitung : public QDialog {
    Q_OBJECT
public:
    explicit TFormKurzanleitung(QWidget* pv_owner);

    void SetzeTexte();
    void ButtonSpeichernClick();

    // The file as "Save as textfile" writes it: UTF-8, every line ended by CR LF but the last.
    static QByteArray TextdateiInhalt();

    QPlainTextEdit* MemoKurzanleitung;
    QPushButton* ButtonSpeichern;
    QPushButton* ButtonSchliessen;

protected:
    void showEvent(QShowEvent* event) override;
};
