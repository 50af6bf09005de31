#include "FormUeberDiesesProgrammUnit.h"

#include "AendernGemeinsam.h"
#include "MZSchiff.h"
#include "Plattform.h"
#include "SprachenTexte.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
const QString FormName = QStringLiteral("FormUeberDiesesProgramm");
// Client area as designed; a language whose texts need more gets more.
constexpr int DesignBreite = 551;
constexpr int DesignHoehe = 401;
constexpr int TitelPixel = 24;
constexpr int SchiffRand = 16;

QLabel* NeuesLabel(QWidget* eltern, const char* name, bool fett = false, bool umbrechen = false) {
    auto* label = new QLabel(eltern);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(umbrechen);
    if (fett) {
        QFont schrift = label->font();
        schrift.setBold(true);
        label->setFont(schrift);
    }
    return label;
}

// Blue, underlined and with the hand pointer: it opens something when clicked.
void AlsVerweis(QLabel* label) {
    QFont schrift = label->font();
    schrift.setUnderline(true);
    label->setFont(schrift);
    QPalette farben = label->palette();
    farben.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(farben);
    label->setCursor(Qt::PointingHandCursor);
}
} // namespace

TFormUeberDiesesProgramm::TFormUeberDiesesProgramm(QWidget* pv_owner) : QDialog(pv_owner) {
    setObjectName(FormName);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    ImageMZSchiff = new QLabel(this);
    ImageMZSchiff->setObjectName(QStringLiteral("ImageMZSchiff"));
    ImageMZSchiff->setPixmap(MZSchiffBild());
    ImageMZSchiff->setFixedSize(MZSchiffGroesse, MZSchiffGroesse);
    LabelTitel = NeuesLabel(this, "LabelTitel", true);
    QFont titel = LabelTitel->font();
    titel.setPixelSize(TitelPixel);
    LabelTitel->setFont(titel);
    LabelTitel->setAlignment(Qt::AlignCenter);
    LabelVersion = NeuesLabel(this, "LabelVersion");
    LabelVersion->setAlignment(Qt::AlignCenter);
    LabelCopyright = NeuesLabel(this, "LabelCopyright");
    LabelCopyright->setAlignment(Qt::AlignCenter);
    LabelLizenz = NeuesLabel(this, "LabelLizenz", false, true);
    LabelKontaktUeberschrift = NeuesLabel(this, "LabelKontaktUeberschrift", true);
    LabelLinkEMail = NeuesLabel(this, "LabelLinkEMail");
    LabelLinkWWW = NeuesLabel(this, "LabelLinkWWW");
    AlsVerweis(LabelLinkEMail);
    AlsVerweis(LabelLinkWWW);
    LabelLinkEMail->installEventFilter(this);
    LabelLinkWWW->installEventFilter(this);
    LabelKontakt = NeuesLabel(this, "LabelKontakt", false, true);
    LabelDanksagungenUeberschrift = NeuesLabel(this, "LabelDanksagungenUeberschrift", true);
    LabelDanksagungenText = NeuesLabel(this, "LabelDanksagungenText", false, true);
    LabelUndanksagungenUeberschrift = NeuesLabel(this, "LabelUndanksagungenUeberschrift", true);
    LabelUndanksagungenText = NeuesLabel(this, "LabelUndanksagungenText", false, true);
    LabelHaftungsAusschlussUeberschrift = NeuesLabel(this, "LabelHaftungsAusschlussUeberschrift", true);
    LabelHaftungsAusschlussText = NeuesLabel(this, "LabelHaftungsAusschlussText", false, true);
    ButtonSchliessen = NeuerSchliessenKnopf(this);

    // The ship at the top left, name, version and copyright centred beside it.
    auto* kopf = new QGridLayout;
    kopf->setContentsMargins(SchiffRand - 8, SchiffRand - 8, 0, 0);
    kopf->addWidget(ImageMZSchiff, 0, 0, 3, 1, Qt::AlignTop | Qt::AlignLeft);
    kopf->addWidget(LabelTitel, 0, 1);
    kopf->addWidget(LabelVersion, 1, 1);
    kopf->addWidget(LabelCopyright, 2, 1);
    kopf->setColumnStretch(1, 1);
    kopf->setColumnMinimumWidth(2, MZSchiffGroesse); // keeps the title centred in the window
    auto* unten = new QHBoxLayout;
    unten->addStretch(1);
    unten->addWidget(ButtonSchliessen);
    auto* spalte = new QVBoxLayout(this);
    spalte->addLayout(kopf);
    for (QLabel* label :
         {LabelLizenz, LabelKontaktUeberschrift, LabelLinkEMail, LabelLinkWWW, LabelKontakt,
          LabelDanksagungenUeberschrift, LabelDanksagungenText, LabelUndanksagungenUeberschrift,
          LabelUndanksagungenText, LabelHaftungsAusschlussUeberschrift, LabelHaftungsAusschlussText}) {
        // A small gap before every heading.
        if (label->font().bold())
            spalte->addSpacing(6);
        spalte->addWidget(label);
    }
    spalte->addStretch(1);
    spalte->addLayout(unten);
    SetzeTexte();
}

void TFormUeberDiesesProgramm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    SetzeTexte();
    PlatziereDialog(this);
}

void TFormUeberDiesesProgramm::SetzeTexte() {
    setWindowTitle(QStringLiteral("Bandwerk"));
    LabelTitel->setText(QStringLiteral("Bandwerk"));
    const auto text = [](const QString& key) {
        return HoleText(key).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };
    LabelVersion->setText(text(QStringLiteral("ProgrammVersionText")));
    LabelCopyright->setText(text(QStringLiteral("ProgrammCopyright")));
    LabelLizenz->setText(text(QStringLiteral("ProgrammLizenz")));
    LabelKontakt->setText(text(QStringLiteral("KontaktAutorText")));
    LabelHaftungsAusschlussUeberschrift->setText(text(QStringLiteral("HaftungsAusschlussUeberschrift")));
    LabelHaftungsAusschlussText->setText(text(QStringLiteral("HaftungsAusschlussText")));
    for (QLabel* label :
         {LabelKontaktUeberschrift, LabelLinkEMail, LabelLinkWWW, LabelDanksagungenUeberschrift,
          LabelDanksagungenText, LabelUndanksagungenUeberschrift, LabelUndanksagungenText})
        label->setText(text(FormName + QLatin1Char('_') + label->objectName()));
    ButtonSchliessen->setText(text(FormName + QStringLiteral("_ButtonSchliessen")));
    adjustSize();
    const QSize noetig = sizeHint();
    setFixedSize(qMax(DesignBreite, noetig.width()),
                 qMax(DesignHoehe, heightForWidth(qMax(DesignBreite, noetig.width()))));
}

bool TFormUeberDiesesProgramm::eventFilter(QObject* objekt, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (objekt == LabelLinkEMail) {
            LabelLinkEMailClick();
            return true;
        }
        if (objekt == LabelLinkWWW) {
            LabelLinkWWWClick();
            return true;
        }
    }
    return QDialog::eventFilter(objekt, event);
}

void TFormUeberDiesesProgramm::LabelLinkEMailClick() {
    // The result is not looked at: without a mail program nothing happens.
    Plattform().OeffneAdresse(QStringLiteral("mailto:" BANDWERK_EMAIL));
}

void TFormUeberDiesesProgramm::LabelLinkWWWClick() {
    Plattform().OeffneAdresse(QStringLiteral(BANDWERK_WEB));
}
