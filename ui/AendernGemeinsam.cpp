#include "AendernGemeinsam.h"

#include "Fensterplatz.h"
#include "Ganzzahl.h"
#include "MZFDatei.h"
#include "Plattform.h"
#include "SprachenTexte.h"

#include <QButtonGroup>
#include <QDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
constexpr qint64 HoechsteAdresse = 0xFFFF;
constexpr int AdressZiffern = 4;
const QChar Dollar = QLatin1Char('$');
// Width the address, name and comment dialogs were laid out for; their height follows the content.
constexpr int DesignBreite = 369;

// The fixed-size field dialogs: a frame without maximise button.
void SetzeFeldDialogRahmen(QDialog* pv_dialog, const QString& pv_formName) {
    pv_dialog->setObjectName(pv_formName);
    pv_dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

void SetzeFesteGroesse(QDialog* pv_dialog) {
    const QSize hinweis = pv_dialog->sizeHint();
    pv_dialog->setFixedSize(QSize(qMax(DesignBreite, hinweis.width()), hinweis.height()));
}
} // namespace

void PlatziereDialog(QDialog* pv_dialog) {
    if (pv_dialog->parentWidget())
        ZentriereFormUeber(pv_dialog, pv_dialog->parentWidget()->window());
    HalteFormAufBildschirm(pv_dialog);
}

QFont FesteSchrift() {
    // Some platforms name no fixed-pitch font of their own; the generic family serves then.
    QFont schrift = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFontMetrics masse(schrift);
    if (masse.horizontalAdvance(QLatin1Char('i')) != masse.horizontalAdvance(QLatin1Char('W'))) {
        schrift.setFamily(QStringLiteral("monospace"));
        schrift.setStyleHint(QFont::TypeWriter);
        schrift.setFixedPitch(true);
    }
    return schrift;
}

QString AlsHexAdresse(qint64 wert) {
    const quint32 bits = static_cast<quint32>(wert);
    return HexMitDollar(bits, AdressZiffern);
}

QString OhneRandzeichen(const QString& text) {
    qsizetype anfang = 0;
    qsizetype ende = text.size();
    while (anfang < ende && text[anfang].unicode() <= u' ')
        ++anfang;
    while (ende > anfang && text[ende - 1].unicode() <= u' ')
        --ende;
    return text.mid(anfang, ende - anfang);
}

void WechsleZahlensystem(QLineEdit* pv_edit, bool pv_dezimal, std::uint16_t pv_gemerkt) {
    const std::optional<qint32> wert = TextNachGanzzahl(pv_edit->text());
    const qint64 zahl = wert ? *wert : pv_gemerkt;
    pv_edit->setText(pv_dezimal ? QString::number(zahl) : AlsHexAdresse(zahl));
}

std::optional<std::uint16_t> AdresseAusText(const QString& text) {
    const std::optional<qint32> wert = TextNachGanzzahl(text);
    if (!wert || *wert < 0 || *wert > HoechsteAdresse)
        return std::nullopt;
    return static_cast<std::uint16_t>(*wert);
}

std::optional<std::uint16_t> PruefeAdresse(QLineEdit* pv_edit, bool pv_hexGewaehlt) {
    pv_edit->setText(OhneRandzeichen(pv_edit->text()));
    const QString text = pv_edit->text();
    const std::optional<std::uint16_t> adresse = AdresseAusText(text);
    if (!adresse) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_UngueltigeZahl"), text));
        pv_edit->setFocus();
        return std::nullopt;
    }
    // A valid number is never empty, so there is a first character to look at.
    if (pv_hexGewaehlt != text.startsWith(Dollar)) {
        ZeigeFehler(HoleText(QStringLiteral("Fehler_FalschesZahlensystem")));
        pv_edit->setFocus();
        return std::nullopt;
    }
    return adresse;
}

bool PruefeMZText(const QString& pv_text, QWidget* pv_steuerelement) {
    for (qsizetype i = 0; i < pv_text.size(); ++i) {
        if (!TMZFDatei::IstMZZeichen(pv_text[i])) {
            // A character beyond the 16-bit range is named whole, not by half of its surrogate pair.
            const bool paar =
                pv_text[i].isHighSurrogate() && i + 1 < pv_text.size() && pv_text[i + 1].isLowSurrogate();
            ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_UngueltigesNichtMZZeichen"),
                                              pv_text.mid(i, paar ? 2 : 1)));
            pv_steuerelement->setFocus();
            return false;
        }
    }
    pv_steuerelement->setFocus();
    return FrageWarnung(HoleText(QStringLiteral("Warnung_AenderungMZText")), false) == TAntwort::Ja;
}

TKnopfzeile BaueKnopfzeile(QDialog* pv_dialog) {
    TKnopfzeile k{new QPushButton(pv_dialog), new QPushButton(pv_dialog)};
    k.ok->setObjectName(QStringLiteral("ButtonOK"));
    k.abbrechen->setObjectName(QStringLiteral("ButtonAbbrechen"));
    k.ok->setDefault(true);
    k.ok->setAutoDefault(true);
    k.abbrechen->setAutoDefault(false);
    // Esc closes a QDialog with reject() by itself; the button does the same.
    QObject::connect(k.abbrechen, &QPushButton::clicked, pv_dialog, &QDialog::reject);
    return k;
}

TAdressSteuerelemente BaueAdressDialog(QDialog* pv_dialog, const QString& pv_labelName,
                                       const QString& pv_editName) {
    TAdressSteuerelemente s{};
    s.label = new QLabel(pv_dialog);
    s.label->setObjectName(pv_labelName);
    s.edit = new QLineEdit(pv_dialog);
    s.edit->setObjectName(pv_editName);
    s.label->setBuddy(s.edit);
    s.gruppe = new QGroupBox(pv_dialog);
    s.gruppe->setObjectName(QStringLiteral("RadioGroupZahlensystem"));
    s.hex = new QRadioButton(s.gruppe);
    s.hex->setObjectName(QStringLiteral("RadioGroupZahlensystem_Hexadezimal"));
    s.dez = new QRadioButton(s.gruppe);
    s.dez->setObjectName(QStringLiteral("RadioGroupZahlensystem_Dezimal"));
    s.zahlensystem = new QButtonGroup(pv_dialog);
    s.zahlensystem->addButton(s.hex, 0);
    s.zahlensystem->addButton(s.dez, 1);
    auto* gruppenLayout = new QHBoxLayout(s.gruppe);
    gruppenLayout->addWidget(s.hex);
    gruppenLayout->addWidget(s.dez);
    s.knoepfe = BaueKnopfzeile(pv_dialog);

    auto* raster = new QGridLayout(pv_dialog);
    raster->addWidget(s.label, 0, 0, Qt::AlignBottom);
    raster->addWidget(s.edit, 1, 0);
    raster->addWidget(s.gruppe, 0, 1, 2, 1);
    raster->setColumnStretch(0, 1);
    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    zeile->addWidget(s.knoepfe.ok);
    zeile->addWidget(s.knoepfe.abbrechen);
    raster->addLayout(zeile, 2, 0, 1, 2);
    return s;
}

void SetzeDialogTexte(QDialog* pv_dialog, QLabel* pv_label, const TKnopfzeile& pv_knoepfe) {
    const QString form = pv_dialog->objectName();
    const QString vor = form + QLatin1Char('_');
    pv_dialog->setWindowTitle(HoleText(form));
    pv_label->setText(HoleText(vor + pv_label->objectName()));
    pv_knoepfe.ok->setText(HoleText(vor + pv_knoepfe.ok->objectName()));
    pv_knoepfe.abbrechen->setText(HoleText(vor + pv_knoepfe.abbrechen->objectName()));
}

void SetzeAdressTexte(QDialog* pv_dialog, const TAdressSteuerelemente& pv_s) {
    SetzeDialogTexte(pv_dialog, pv_s.label, pv_s.knoepfe);
    pv_s.gruppe->setTitle(HoleText(pv_dialog->objectName() + QLatin1Char('_') + pv_s.gruppe->objectName()));
    pv_s.hex->setText(HoleText(QStringLiteral("Hexadezimal")));
    pv_s.dez->setText(HoleText(QStringLiteral("Dezimal")));
}

TKnopfzeile BaueSpaltenDialog(QDialog* pv_dialog, QLabel* pv_label, QWidget* pv_steuerelement,
                              int pv_dehnung) {
    pv_label->setBuddy(pv_steuerelement);
    const TKnopfzeile knoepfe = BaueKnopfzeile(pv_dialog);
    auto* spalte = new QVBoxLayout(pv_dialog);
    spalte->addWidget(pv_label);
    spalte->addWidget(pv_steuerelement, pv_dehnung);
    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    zeile->addWidget(knoepfe.ok);
    zeile->addWidget(knoepfe.abbrechen);
    spalte->addLayout(zeile);
    return knoepfe;
}

TFormAendernMZAdresse::TFormAendernMZAdresse(QWidget* pv_owner, const QString& pv_formName,
                                             const QString& pv_labelName, const QString& pv_editName,
                                             std::uint16_t pv_mzAdresse)
    : QDialog(pv_owner), m_mzAdresse(pv_mzAdresse) {
    SetzeFeldDialogRahmen(this, pv_formName);
    m_s = BaueAdressDialog(this, pv_labelName, pv_editName);
    connect(m_s.knoepfe.ok, &QPushButton::clicked, this, &TFormAendernMZAdresse::ButtonOKClick);
    connect(m_s.zahlensystem, &QButtonGroup::idToggled, this, [this](int, bool an) {
        if (an)
            RadioGroupZahlensystemClick();
    });
}

void TFormAendernMZAdresse::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormAendernMZAdresse::FormShow() {
    SetzeTexte();
    SetzeFesteGroesse(this);
    PlatziereDialog(this);
    {
        const QSignalBlocker stumm(m_s.zahlensystem);
        m_s.hex->setChecked(true);
    }
    m_s.edit->setText(AlsHexAdresse(m_mzAdresse));
    m_s.edit->setFocus();
}

void TFormAendernMZAdresse::SetzeTexte() {
    SetzeAdressTexte(this, m_s);
}

void TFormAendernMZAdresse::RadioGroupZahlensystemClick() {
    WechsleZahlensystem(m_s.edit, m_s.dez->isChecked(), m_mzAdresse);
}

bool TFormAendernMZAdresse::PruefeEnde(std::uint16_t) {
    return true;
}

void TFormAendernMZAdresse::ButtonOKClick() {
    const std::optional<std::uint16_t> adresse = PruefeAdresse(m_s.edit, m_s.hex->isChecked());
    if (adresse && PruefeEnde(*adresse))
        accept();
}

TFormAendernMZText::TFormAendernMZText(QWidget* pv_owner, const QString& pv_formName,
                                       const QString& pv_labelName)
    : QDialog(pv_owner), m_label(new QLabel(this)) {
    SetzeFeldDialogRahmen(this, pv_formName);
    m_label->setObjectName(pv_labelName);
}

void TFormAendernMZText::SetzeSteuerelement(QWidget* pv_steuerelement) {
    m_steuerelement = pv_steuerelement;
    m_knoepfe = BaueSpaltenDialog(this, m_label, pv_steuerelement);
    connect(m_knoepfe.ok, &QPushButton::clicked, this, &TFormAendernMZText::ButtonOKClick);
}

void TFormAendernMZText::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormAendernMZText::FormShow() {
    SetzeTexte();
    SetzeFesteGroesse(this);
    PlatziereDialog(this);
    ZeigeText();
}

void TFormAendernMZText::SetzeTexte() {
    SetzeDialogTexte(this, m_label, m_knoepfe);
}

void TFormAendernMZText::ButtonOKClick() {
    if (PruefeMZText(EingegebenerText(), m_steuerelement))
        accept();
}
