// The version history: the catalogue's text in a read-only field.
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
};
