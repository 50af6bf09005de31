#include "FormUeberDiesesProgrammUnit.h"

#include "AendernGemeinsam.h"
#include "HilfeGemeinsam.h"
#include "MZSchiff.h"
#include "Plattform.h"
#include "SprachenTexte.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
// Client area as designed; the texts of a language may need more height (see FormShow).
constexpr QSize DesignGroesse(551, 401);
// The ship stands 16 pixels from the top-left corner, as does everything else from the edges.
constexpr int Rand = 16;
constexpr int Abstand = 4;
constexpr int AbsatzAbstand = 10;
constexpr int TitelPixel = 24;
const QString FormName = QStringLiteral("FormUeberDiesesProgramm");
const QString EMailAdresse = QStringLiteral(BANDWERK_EMAIL);
const QString WebAdresse = QStringLiteral(BANDWERK_WEB);

QLabel* NeuesLabel(QWidget* pv_eltern, const char* pv_name) {
    auto* label = new QLabel(pv_eltern);
    label->setObjectName(QLatin1String(pv_name));
    return label;
}

QLabel* Ueberschrift(QWidget* pv_eltern, const char* pv_name) {
    QLabel* label = NeuesLabel(pv_eltern, pv_name);
    QFont schrift = label->font();
    schrift.setBold(true);
    label->setFont(schrift);
    return label;
}

QLabel* Absatz(QWidget* pv_eltern, const char* pv_name) {
    QLabel* label = NeuesLabel(pv_eltern, pv_name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// In the link colour of the palette (blue in a light theme, a light blue in a dark one) and
// underlined; a click opens the address.
QLabel* Verweis(QDialog* pv_fenster, const char* pv_name) {
    QLabel* label = NeuesLabel(pv_fenster, pv_name);
    QFont schrift = label->font();
    schrift.setUnderline(true);
    label->setFont(schrift);
    label->setForegroundRole(QPalette::Link);
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(pv_fenster);
    return label;
}

// Labels break lines at LF only; the catalogue's lines end with CR LF.
QString LabelText(const QString& pv_key) {
    return HoleText(pv_key).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
} // namespace

TFormUeberDiesesProgramm::TFormUeberDiesesProgramm(QWidget* pv_owner) : QDialog(pv_owner) {
    setObjectName(FormName);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    ImageMZSchiff = NeuesLabel(this, "ImageMZSchiff");
    ImageMZSchiff->setPixmap(MZSchiffBild());
    ImageMZSchiff->setFixedSize(MZSchiffGroesse, MZSchiffGroesse);
    LabelTitel = NeuesLabel(this, "LabelTitel");
    QFont titelSchrift = LabelTitel->font();
    titelSchrift.setPixelSize(TitelPixel);
    titelSchrift.setBold(true);
    LabelTitel->setFont(titelSchrift);
    LabelVersion = NeuesLabel(this, "LabelVersion");
    LabelCopyright = NeuesLabel(this, "LabelCopyright");
    for (QLabel* label : {LabelTitel, LabelVersion, LabelCopyright})
        label->setAlignment(Qt::AlignCenter);
    LabelLizenz = Absatz(this, "LabelLizenz");
    LabelKontaktUeberschrift = Ueberschrift(this, "LabelKontaktUeberschrift");
    LabelLinkEMail = Verweis(this, "LabelLinkEMail");
    LabelLinkWWW = Verweis(this, "LabelLinkWWW");
    LabelKontakt = Absatz(this, "LabelKontakt");
    LabelDanksagungenUeberschrift = Ueberschrift(this, "LabelDanksagungenUeberschrift");
    LabelDanksagungenText = Absatz(this, "LabelDanksagungenText");
    LabelUndanksagungenUeberschrift = Ueberschrift(this, "LabelUndanksagungenUeberschrift");
    LabelUndanksagungenText = Absatz(this, "LabelUndanksagungenText");
    LabelHaftungsAusschlussUeberschrift = Ueberschrift(this, "LabelHaftungsAusschlussUeberschrift");
    LabelHaftungsAusschlussText = Absatz(this, "LabelHaftungsAusschlussText");
    ButtonSchliessen = BaueSchliessenKnopf(this);

    // Name, version and copyright centred right of the ship.
    auto* kopf = new QGridLayout;
    kopf->setSpacing(Abstand);
    kopf->addWidget(ImageMZSchiff, 0, 0, 3, 1, Qt::AlignLeft | Qt::AlignTop);
    kopf->addWidget(LabelTitel, 0, 1);
    kopf->addWidget(LabelVersion, 1, 1);
    kopf->addWidget(LabelCopyright, 2, 1);
    kopf->setColumnStretch(1, 1);
    // Keeps the centred texts centred in the window, not in what the ship leaves of it.
    kopf->addItem(new QSpacerItem(MZSchiffGroesse, 0), 0, 2);

    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(Rand, Rand, Rand, Rand);
    spalte->setSpacing(Abstand);
    spalte->addLayout(kopf);
    spalte->addSpacing(AbsatzAbstand);
    spalte->addWidget(LabelLizenz);
    const QList<QList<QLabel*>> absaetze = {
        {LabelKontaktUeberschrift, LabelLinkEMail, LabelLinkWWW, LabelKontakt},
        {LabelDanksagungenUeberschrift, LabelDanksagungenText},
        {LabelUndanksagungenUeberschrift, LabelUndanksagungenText},
        {LabelHaftungsAusschlussUeberschrift, LabelHaftungsAusschlussText}};
    for (const QList<QLabel*>& absatz : absaetze) {
        spalte->addSpacing(AbsatzAbstand);
        // Paragraphs take the whole width; headings and links only their text, so that a
        // link is clicked on its text and nowhere else.
        for (QLabel* label : absatz)
            spalte->addWidget(label, 0, label->wordWrap() ? Qt::Alignment() : Qt::AlignLeft);
    }
    spalte->addStretch(1);
    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    zeile->addWidget(ButtonSchliessen);
    spalte->addLayout(zeile);
}

void TFormUeberDiesesProgramm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormUeberDiesesProgramm::FormShow() {
    SetzeTexte();
    layout()->activate();
    const int breite = qMax(DesignGroesse.width(), layout()->minimumSize().width());
    int hoehe = qMax(DesignGroesse.height(), layout()->minimumSize().height());
    if (layout()->hasHeightForWidth())
        hoehe = qMax(hoehe, layout()->totalHeightForWidth(breite));
    setFixedSize(breite, hoehe);
    PlatziereDialog(this);
    ButtonSchliessen->setFocus();
}

void TFormUeberDiesesProgramm::SetzeTexte() {
    // The about window carries the program's name, in every language.
    setWindowTitle(QStringLiteral("Bandwerk"));
    LabelTitel->setText(QStringLiteral("Bandwerk"));
    LabelVersion->setText(HoleText(QStringLiteral("ProgrammVersionText")));
    LabelCopyright->setText(HoleText(QStringLiteral("ProgrammCopyright")));
    LabelLizenz->setText(LabelText(QStringLiteral("ProgrammLizenz")));
    LabelKontakt->setText(LabelText(QStringLiteral("KontaktAutorText")));
    LabelHaftungsAusschlussUeberschrift->setText(LabelText(QStringLiteral("HaftungsAusschlussUeberschrift")));
    LabelHaftungsAusschlussText->setText(LabelText(QStringLiteral("HaftungsAusschlussText")));
    for (QLabel* label :
         {LabelKontaktUeberschrift, LabelLinkEMail, LabelLinkWWW, LabelDanksagungenUeberschrift,
          LabelDanksagungenText, LabelUndanksagungenUeberschrift, LabelUndanksagungenText})
        label->setText(LabelText(FormName + QLatin1Char('_') + label->objectName()));
    ButtonSchliessen->setText(HoleText(FormName + QStringLiteral("_ButtonSchliessen")));
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
    // The mail program starts; nothing is said when there is none.
    Plattform().OeffneAdresse(QStringLiteral("mailto:") + EMailAdresse);
}

void TFormUeberDiesesProgramm::LabelLinkWWWClick() {
    Plattform().OeffneAdresse(WebAdresse);
}
