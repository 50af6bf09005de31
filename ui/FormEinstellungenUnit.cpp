#include "FormEinstellungenUnit.h"

#include "AendernGemeinsam.h"
#include "Ganzzahl.h"
#include "Plattform.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
const QString FormName = QStringLiteral("FormEinstellungen");
// Client area as designed; a longer language may need more room.
constexpr int DesignBreite = 489;
constexpr int DesignHoehe = 273;
// The language items are the languages' own names, the same in every language.
const char* const Sprachen[] = {"Deutsch", "English"};

QString Text(const QString& name) {
    return HoleText(FormName + QLatin1Char('_') + name);
}

// A radio group: a framed box of radio buttons in `spalten` columns, ids 0, 1, ... in order.
QGroupBox* NeueGruppe(QWidget* eltern, const char* name, int anzahl, int spalten, QButtonGroup*& auswahl) {
    auto* gruppe = new QGroupBox(eltern);
    gruppe->setObjectName(QLatin1String(name));
    auswahl = new QButtonGroup(gruppe);
    auto* raster = new QGridLayout(gruppe);
    for (int i = 0; i < anzahl; ++i) {
        auto* knopf = new QRadioButton(gruppe);
        knopf->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
        auswahl->addButton(knopf, i);
        raster->addWidget(knopf, i / spalten, i % spalten);
    }
    return gruppe;
}

void Waehle(QButtonGroup* auswahl, int id) {
    if (QAbstractButton* knopf = auswahl->button(id))
        knopf->setChecked(true);
}
} // namespace

TFormEinstellungen::TFormEinstellungen(QWidget* pv_owner) : QDialog(pv_owner) {
    setObjectName(FormName);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    PageControlEinstellungen = new QTabWidget(this);
    PageControlEinstellungen->setObjectName(QStringLiteral("PageControlEinstellungen"));

    TabSheetAllgemein = new QWidget(PageControlEinstellungen);
    TabSheetAllgemein->setObjectName(QStringLiteral("TabSheetAllgemein"));
    RadioGroupSprache = NeueGruppe(TabSheetAllgemein, "RadioGroupSprache", 2, 2, SpracheAuswahl);
    auto* allgemein = new QVBoxLayout(TabSheetAllgemein);
    allgemein->addWidget(RadioGroupSprache);
    allgemein->addStretch(1);

    TabSheetImportExport = new QWidget(PageControlEinstellungen);
    TabSheetImportExport->setObjectName(QStringLiteral("TabSheetImportExport"));
    RadioGroupMZModell =
        NeueGruppe(TabSheetImportExport, "RadioGroupMZModell", AnzahlMZModelle, 2, MZModellAuswahl);
    CheckBoxErweiterteDekodierung = new QCheckBox(TabSheetImportExport);
    CheckBoxErweiterteDekodierung->setObjectName(QStringLiteral("CheckBoxErweiterteDekodierung"));
    auto* importExport = new QVBoxLayout(TabSheetImportExport);
    importExport->addWidget(RadioGroupMZModell);
    importExport->addWidget(CheckBoxErweiterteDekodierung);
    importExport->addStretch(1);

    TabSheetExportWAV = new QWidget(PageControlEinstellungen);
    TabSheetExportWAV->setObjectName(QStringLiteral("TabSheetExportWAV"));
    LabelSampleRate = new QLabel(TabSheetExportWAV);
    LabelSampleRate->setObjectName(QStringLiteral("LabelSampleRate"));
    EditSampleRate = new QLineEdit(TabSheetExportWAV);
    EditSampleRate->setObjectName(QStringLiteral("EditSampleRate"));
    LabelSampleRate->setBuddy(EditSampleRate);
    ButtonDefaultSampleRate = new QPushButton(TabSheetExportWAV);
    ButtonDefaultSampleRate->setObjectName(QStringLiteral("ButtonDefaultSampleRate"));
    ButtonDefaultSampleRate->setAutoDefault(false);
    RadioGroupMZTonbandFormat =
        NeueGruppe(TabSheetExportWAV, "RadioGroupMZTonbandFormat", 2, 1, MZTonbandFormatAuswahl);
    RadioGroupPolaritaet = NeueGruppe(TabSheetExportWAV, "RadioGroupPolaritaet", 2, 2, PolaritaetAuswahl);
    auto* rate = new QHBoxLayout;
    rate->addWidget(LabelSampleRate);
    rate->addWidget(EditSampleRate, 1);
    rate->addWidget(ButtonDefaultSampleRate);
    auto* exportWAV = new QVBoxLayout(TabSheetExportWAV);
    exportWAV->addLayout(rate);
    exportWAV->addWidget(RadioGroupMZTonbandFormat);
    exportWAV->addWidget(RadioGroupPolaritaet);
    exportWAV->addStretch(1);

    PageControlEinstellungen->addTab(TabSheetAllgemein, QString());
    PageControlEinstellungen->addTab(TabSheetImportExport, QString());
    PageControlEinstellungen->addTab(TabSheetExportWAV, QString());

    const TKnopfzeile knoepfe = BaueKnopfzeile(this);
    ButtonOK = knoepfe.ok;
    ButtonAbbrechen = knoepfe.abbrechen;
    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    zeile->addWidget(ButtonOK);
    zeile->addWidget(ButtonAbbrechen);
    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(PageControlEinstellungen, 1);
    spalte->addLayout(zeile);

    connect(ButtonOK, &QPushButton::clicked, this, &TFormEinstellungen::ButtonOKClick);
    connect(ButtonDefaultSampleRate, &QPushButton::clicked, this,
            &TFormEinstellungen::ButtonDefaultSampleRateClick);
    SetzeTexte();
}

void TFormEinstellungen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormEinstellungen::SetzeTexte() {
    setWindowTitle(HoleText(FormName));
    PageControlEinstellungen->setTabText(0, Text(QStringLiteral("TabSheetAllgemein")));
    PageControlEinstellungen->setTabText(1, Text(QStringLiteral("TabSheetImportExport")));
    PageControlEinstellungen->setTabText(2, Text(QStringLiteral("TabSheetExportWAV")));
    RadioGroupSprache->setTitle(Text(QStringLiteral("RadioGroupSprache")));
    for (int i = 0; i < 2; ++i)
        SpracheAuswahl->button(i)->setText(QLatin1String(Sprachen[i]));
    RadioGroupMZModell->setTitle(Text(QStringLiteral("RadioGroupMZModell")));
    CheckBoxErweiterteDekodierung->setText(Text(QStringLiteral("CheckBoxErweiterteDekodierung")));
    LabelSampleRate->setText(Text(QStringLiteral("LabelSampleRate")));
    ButtonDefaultSampleRate->setText(Text(QStringLiteral("ButtonDefaultSampleRate")));
    RadioGroupMZTonbandFormat->setTitle(Text(QStringLiteral("RadioGroupMZTonbandFormat")));
    MZTonbandFormatAuswahl->button(0)->setText(
        Text(QStringLiteral("RadioGroupMZTonbandFormat_Vollstaendig")));
    MZTonbandFormatAuswahl->button(1)->setText(Text(QStringLiteral("RadioGroupMZTonbandFormat_Verkuerzt")));
    RadioGroupPolaritaet->setTitle(Text(QStringLiteral("RadioGroupPolaritaet")));
    PolaritaetAuswahl->button(0)->setText(Text(QStringLiteral("RadioGroupPolaritaet_Normal")));
    PolaritaetAuswahl->button(1)->setText(Text(QStringLiteral("RadioGroupPolaritaet_Invertiert")));
    ButtonOK->setText(Text(QStringLiteral("ButtonOK")));
    ButtonAbbrechen->setText(Text(QStringLiteral("ButtonAbbrechen")));
    // The designed size at least; a language whose texts need more gets more.
    adjustSize();
    resize(qMax(DesignBreite, width()), qMax(DesignHoehe, height()));
}

void TFormEinstellungen::FormShow() {
    PlatziereDialog(this);
    SetzeTexte();
    Waehle(SpracheAuswahl, LiesSprache() ? 1 : 0);
    // The model names come from the settings store at every show.
    for (int m = 0; m < AnzahlMZModelle; ++m)
        MZModellAuswahl->button(m)->setText(MZModellName(m));
    const int modell = HoleImportExportMZModell();
    Waehle(MZModellAuswahl, modell >= 1 && modell < AnzahlMZModelle ? modell : 0);
    CheckBoxErweiterteDekodierung->setChecked(LiesImportErweiterteDekodierung());
    EditSampleRate->setText(QString::number(HoleExportWAVSampleRate()));
    Waehle(MZTonbandFormatAuswahl, LiesExportWAVVerkuerztesMZTonbandFormat() ? 1 : 0);
    Waehle(PolaritaetAuswahl, HoleExportWAVInvertiertePolaritaet() ? 1 : 0);
    PageControlEinstellungen->setCurrentWidget(TabSheetAllgemein);
}

void TFormEinstellungen::ButtonDefaultSampleRateClick() {
    EditSampleRate->setText(QString::number(StandardSampleRate));
}

void TFormEinstellungen::WeiseSampleRateZurueck(const QString& pv_meldung) {
    PageControlEinstellungen->setCurrentWidget(TabSheetExportWAV);
    EditSampleRate->setFocus();
    ZeigeFehler(pv_meldung);
}

void TFormEinstellungen::ButtonOKClick() {
    // The platform's conversion: leading blanks, a sign or "$" for hexadecimal; nothing after.
    const std::optional<qint32> rate = TextNachGanzzahl(EditSampleRate->text());
    if (!rate) {
        WeiseSampleRateZurueck(
            HoleTextMitParametern(QStringLiteral("Fehler_UngueltigeZahl"), EditSampleRate->text()));
        return;
    }
    if (*rate < MinSampleRate || *rate > MaxSampleRate) {
        WeiseSampleRateZurueck(HoleTextMitParametern(QStringLiteral("Fehler_SampleRateUngueltig"),
                                                     QString::number(MinSampleRate),
                                                     QString::number(MaxSampleRate)));
        return;
    }
    const int modell = MZModellAuswahl->checkedId();
    try {
        // The language first: the catalogue switches at once and stores it.
        SetzeSprache(SpracheAuswahl->checkedId() != 0);
        SchreibeImportExportEinstellungen(
            static_cast<quint8>(modell >= 0 && modell < AnzahlMZModelle ? modell : 0),
            MZTonbandFormatAuswahl->checkedId() == 1, static_cast<quint16>(*rate),
            PolaritaetAuswahl->checkedId() == 1);
        SchreibeImportErweiterteDekodierung(CheckBoxErweiterteDekodierung->isChecked());
    } catch (const TEinstellungenFehler& fehler) {
        // The store cannot be written: the user is told, the dialog stays for Cancel or another try.
        ZeigeFehler(fehler.Text());
        return;
    }
    accept();
}
