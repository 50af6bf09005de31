// The about window: the ship, name, version and copyright, the terms of use, how to reach the
// author (the e-mail and web lines open the mail program and the browser), thanks and the
// disclaimer.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TFormUeberDiesesProgramm : public QDialog {
    Q_OBJECT
public:
    explicit TFormUeberDiesesProgramm(QWidget* pv_owner);

    void SetzeTexte();
    void LabelLinkEMailClick();
    void LabelLinkWWWClick();

    QLabel* ImageMZSchiff;
    QLabel* LabelTitel;
    QLabel* LabelVersion;
    QLabel* LabelCopyright;
    QLabel* LabelLizenz;
    QLabel* LabelKontaktUeberschrift;
    QLabel* LabelLinkEMail;
    QLabel* LabelLinkWWW;
    QLabel* LabelKontakt;
    QLabel* LabelDanksagungenUeberschrift;
    QLabel* LabelDanksagungenText;
    QLabel* LabelUndanksagungenUeberschrift;
    QLabel* LabelUndanksagungenText;
    QLabel* LabelHaftungsAusschlussUeberschrift;
    QLabel* LabelHaftungsAusschlussText;
    QPushButton* ButtonSchliessen;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* objekt, QEvent* event) override;

private:
    void FormShow();
};
