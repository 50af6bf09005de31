// The version history: what changed in each version, newest first, in the current language.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TFormVersionsHistorie : public QDialog {
    Q_OBJECT
public:
    explicit TFormVersionsHistorie(QWidget* pv_owner);

    void SetzeTexte();

    QPlainTextEdit* MemoVersionsHistorie;
    QPushButton* ButtonSchliessen;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
};
