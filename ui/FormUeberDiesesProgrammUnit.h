// The about window: the ship, the program's name, version, copyright and licence, the contact
// lines (the e-mail and web lines open the user's mail program and browser), thanks, and the
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
};
