#include "FormEinstellungenUnit.h"

#include "AendernGemeinsam.h"
#include "Ganzzahl.h"
#include "Plattform.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#ifdef BANDWERK_AUDIO
#include "TonbandGemeinsam.h"
#endif

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
// Client area as designed; a longer language may need more (see FormShow).
constexpr QSize DesignGroesse(489, 273);
constexpr int Rand = 8;
constexpr int SpracheDeutsch = 0;
constexpr int SpracheEnglisch = 1;
constexpr int FormatVerkuerzt = 1;
constexpr int PolaritaetInvertiert = 1;
constexpr int ZweiSpalten = 2;

const QString FormName = QStringLiteral("FormEinstellungen");

QString Text(const QString& name) {
    return HoleText(FormName + QLatin1Char('_') + name);
}

// A radio group as a frame with its items in `spalten` columns, filled column by column.
QButtonGroup* BaueRadioGroup(QGroupBox* pv_gruppe, const QStringList& pv_itemNamen, int pv_spalten) {
    auto* items = new QButtonGroup(pv_gruppe);
    auto* raster = new QGridLayout(pv_gruppe);
    const int zeilen = (static_cast<int>(pv_itemNamen.size()) + pv_spalten - 1) / pv_spalten;
    for (int i = 0; i < pv_itemNamen.size(); ++i) {
        auto* knopf = new QRadioButton(pv_gruppe);
        knopf->setObjectName(pv_gruppe->objectName() + QLatin1Char('_') + pv_itemNamen[i]);
        items->addButton(knopf, i);
        raster->addWidget(knopf, i % zeilen, i / zeilen);
    }
    for (int s = 0; s < pv_spalten; ++s)
        raster->setColumnStretch(s, 1);
    return items;
}

QGroupBox* NeueGruppe(QWidget* pv_eltern, const char* pv_name) {
    auto* gruppe = new QGroupBox(pv_eltern);
    gruppe->setObjectName(QLatin1String(pv_name));
    return gruppe;
}

QWidget* NeueSeite(QTabWidget* pv_seiten, const char* pv_name) {
    auto* seite = new QWidget(pv_seiten);
    seite->setObjectName(QLatin1String(pv_name));
    pv_seiten->addTab(seite, QString());
    return seite;
}

void Waehle(QButtonGroup* pv_items, int pv_index) {
    if (QAbstractButton* knopf = pv_items->button(pv_index))
        knopf->setChecked(true);
}
} // namespace

TFormEinstellungen::TFormEinstellungen(QWidget* pv_owner) : QDialog(pv_owner) {
    setObjectName(FormName);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    PageControlEinstellungen = new QTabWidget(this);
    PageControlEinstellungen->setObjectName(QStringLiteral("PageControlEinstellungen"));
    BaueSeiteAllgemein();
    BaueSeiteImportExport();
    BaueSeiteExportWAV();
#ifdef BANDWERK_AUDIO
    TabSheetTonband = new TTonbandSeite(PageControlEinstellungen);
    PageControlEinstellungen->addTab(TabSheetTonband, QString());
#endif

    const TKnopfzeile knoepfe = BaueKnopfzeile(this);
    ButtonOK = knoepfe.ok;
    ButtonAbbrechen = knoepfe.abbrechen;
    connect(ButtonOK, &QPushButton::clicked, this, &TFormEinstellungen::ButtonOKClick);

    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    zeile->addWidget(ButtonOK);
    zeile->addWidget(ButtonAbbrechen);
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(Rand, Rand, Rand, Rand);
    spalte->setSpacing(Rand);
    spalte->addWidget(PageControlEinstellungen, 1);
    spalte->addLayout(zeile);
}

void TFormEinstellungen::BaueSeiteAllgemein() {
    TabSheetAllgemein = NeueSeite(PageControlEinstellungen, "TabSheetAllgemein");
    RadioGroupSprache = NeueGruppe(TabSheetAllgemein, "RadioGroupSprache");
    RadioGroupSpracheItems = BaueRadioGroup(
        RadioGroupSprache, {QStringLiteral("Deutsch"), QStringLiteral("English")}, ZweiSpalten);
    auto* spalte = new QVBoxLayout(TabSheetAllgemein);
    spalte->addWidget(RadioGroupSprache);
    spalte->addStretch(1);
}

void TFormEinstellungen::BaueSeiteImportExport() {
    TabSheetImportExport = NeueSeite(PageControlEinstellungen, "TabSheetImportExport");
    RadioGroupMZModell = NeueGruppe(TabSheetImportExport, "RadioGroupMZModell");
    QStringList namen;
    for (int i = 0; i < AnzahlMZModelle; ++i)
        namen << QString::number(i);
    RadioGroupMZModellItems = BaueRadioGroup(RadioGroupMZModell, namen, ZweiSpalten);
    CheckBoxErweiterteDekodierung = new QCheckBox(TabSheetImportExport);
    CheckBoxErweiterteDekodierung->setObjectName(QStringLiteral("CheckBoxErweiterteDekodierung"));
    auto* spalte = new QVBoxLayout(TabSheetImportExport);
    spalte->addWidget(RadioGroupMZModell);
    spalte->addWidget(CheckBoxErweiterteDekodierung);
    spalte->addStretch(1);
}

void TFormEinstellungen::BaueSeiteExportWAV() {
    TabSheetExportWAV = NeueSeite(PageControlEinstellungen, "TabSheetExportWAV");
    LabelSampleRate = new QLabel(TabSheetExportWAV);
    LabelSampleRate->setObjectName(QStringLiteral("LabelSampleRate"));
    EditSampleRate = new QLineEdit(TabSheetExportWAV);
    EditSampleRate->setObjectName(QStringLiteral("EditSampleRate"));
    LabelSampleRate->setBuddy(EditSampleRate);
    ButtonDefaultSampleRate = new QPushButton(TabSheetExportWAV);
    ButtonDefaultSampleRate->setObjectName(QStringLiteral("ButtonDefaultSampleRate"));
    ButtonDefaultSampleRate->setAutoDefault(false);
    connect(ButtonDefaultSampleRate, &QPushButton::clicked, this,
            &TFormEinstellungen::ButtonDefaultSampleRateClick);
    RadioGroupMZTonbandFormat = NeueGruppe(TabSheetExportWAV, "RadioGroupMZTonbandFormat");
    RadioGroupMZTonbandFormatItems = BaueRadioGroup(
        RadioGroupMZTonbandFormat, {QStringLiteral("Vollstaendig"), QStringLiteral("Verkuerzt")}, 1);
    RadioGroupPolaritaet = NeueGruppe(TabSheetExportWAV, "RadioGroupPolaritaet");
    RadioGroupPolaritaetItems = BaueRadioGroup(
        RadioGroupPolaritaet, {QStringLiteral("Normal"), QStringLiteral("Invertiert")}, ZweiSpalten);

    auto* rate = new QHBoxLayout;
    rate->addWidget(LabelSampleRate);
    rate->addWidget(EditSampleRate);
    rate->addWidget(ButtonDefaultSampleRate);
    rate->addStretch(1);
    auto* spalte = new QVBoxLayout(TabSheetExportWAV);
    spalte->addLayout(rate);
    spalte->addWidget(RadioGroupMZTonbandFormat);
    spalte->addWidget(RadioGroupPolaritaet);
    spalte->addStretch(1);
}

void TFormEinstellungen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormEinstellungen::FormShow() {
    SetzeTexte();
    // The designed size unless the texts of the language need more room.
    layout()->activate();
    setFixedSize(DesignGroesse.expandedTo(layout()->minimumSize()));
    PlatziereDialog(this);

    // A store that cannot be read is told about; the dialog then starts from the defaults.
    bool englisch = StandardSpracheIstEnglisch();
    bool verkuerzt = false;
    bool erweitert = false;
    QString ausgabe;
    QString eingabe;
    try {
        englisch = LiesSprache();
        verkuerzt = LiesExportWAVVerkuerztesMZTonbandFormat();
        erweitert = LiesImportErweiterteDekodierung();
#ifdef BANDWERK_AUDIO
        ausgabe = LiesAudioGeraet(true);
        eingabe = LiesAudioGeraet(false);
#endif
    } catch (const TEinstellungenFehler& fehler) {
        ZeigeFehler(fehler.Text());
    }
    Waehle(RadioGroupSpracheItems, englisch ? SpracheEnglisch : SpracheDeutsch);
    // The model names come from the store, which also reads them back.
    for (int i = 0; i < AnzahlMZModelle; ++i)
        RadioGroupMZModellItems->button(i)->setText(MZModellName(i));
    const int modell = HoleImportExportMZModell();
    Waehle(RadioGroupMZModellItems, modell >= 1 && modell < AnzahlMZModelle ? modell : 0);
    CheckBoxErweiterteDekodierung->setChecked(erweitert);
    EditSampleRate->setText(QString::number(HoleExportWAVSampleRate()));
    // The tape format is read from the store at each show; the other values are held in memory.
    Waehle(RadioGroupMZTonbandFormatItems, verkuerzt ? FormatVerkuerzt : 0);
    Waehle(RadioGroupPolaritaetItems, HoleExportWAVInvertiertePolaritaet() ? PolaritaetInvertiert : 0);
#ifdef BANDWERK_AUDIO
    TabSheetTonband->Lade(ausgabe, eingabe);
#endif
    PageControlEinstellungen->setCurrentWidget(TabSheetAllgemein);
}

void TFormEinstellungen::SetzeTexte() {
    setWindowTitle(HoleText(FormName));
    for (QWidget* seite : {TabSheetAllgemein, TabSheetImportExport, TabSheetExportWAV})
        PageControlEinstellungen->setTabText(PageControlEinstellungen->indexOf(seite),
                                             Text(seite->objectName()));
    for (QGroupBox* gruppe :
         {RadioGroupSprache, RadioGroupMZModell, RadioGroupMZTonbandFormat, RadioGroupPolaritaet})
        gruppe->setTitle(Text(gruppe->objectName()));
    // The names of the two languages stand in their own language, whichever is shown.
    RadioGroupSpracheItems->button(SpracheDeutsch)->setText(QStringLiteral("Deutsch"));
    RadioGroupSpracheItems->button(SpracheEnglisch)->setText(QStringLiteral("English"));
    for (QButtonGroup* items : {RadioGroupMZTonbandFormatItems, RadioGroupPolaritaetItems})
        for (QAbstractButton* item : items->buttons())
            item->setText(Text(item->objectName()));
    LabelSampleRate->setText(Text(LabelSampleRate->objectName()));
    CheckBoxErweiterteDekodierung->setText(Text(CheckBoxErweiterteDekodierung->objectName()));
    for (QPushButton* knopf : {ButtonDefaultSampleRate, ButtonOK, ButtonAbbrechen})
        knopf->setText(Text(knopf->objectName()));
#ifdef BANDWERK_AUDIO
    PageControlEinstellungen->setTabText(PageControlEinstellungen->indexOf(TabSheetTonband),
                                         Text(QStringLiteral("GroupBoxTonband")));
    TabSheetTonband->SetzeTexte();
#endif
}

void TFormEinstellungen::ButtonDefaultSampleRateClick() {
    EditSampleRate->setText(QString::number(StandardSampleRate));
}

void TFormEinstellungen::LehneSampleRateAb(const QString& pv_meldung) {
    PageControlEinstellungen->setCurrentWidget(TabSheetExportWAV);
    EditSampleRate->setFocus();
    ZeigeFehler(pv_meldung);
}

void TFormEinstellungen::ButtonOKClick() {
    // Not trimmed: a blank after the number makes it invalid.
    const QString text = EditSampleRate->text();
    const std::optional<qint32> rate = TextNachGanzzahl(text);
    if (!rate) {
        LehneSampleRateAb(HoleTextMitParametern(QStringLiteral("Fehler_UngueltigeZahl"), text));
        return;
    }
    if (*rate < MinSampleRate || *rate > MaxSampleRate) {
        LehneSampleRateAb(HoleTextMitParametern(QStringLiteral("Fehler_SampleRateUngueltig"),
                                                QString::number(MinSampleRate),
                                                QString::number(MaxSampleRate)));
        return;
    }
    const int modell = RadioGroupMZModellItems->checkedId();
    const bool englisch = RadioGroupSpracheItems->checkedId() != SpracheDeutsch;
    try {
        // One write for everything: a refused write stores nothing, so that Cancel afterwards
        // leaves every setting as it was.
#ifdef BANDWERK_AUDIO
        const std::optional<std::pair<QString, QString>> geraete = TabSheetTonband->Auswahl();
#else
        const std::optional<std::pair<QString, QString>> geraete;
#endif
        SchreibeDialogEinstellungen(
            englisch, static_cast<quint8>(modell >= 0 && modell < AnzahlMZModelle ? modell : 0),
            RadioGroupMZTonbandFormatItems->checkedId() == FormatVerkuerzt, static_cast<quint16>(*rate),
            RadioGroupPolaritaetItems->checkedId() == PolaritaetInvertiert,
            CheckBoxErweiterteDekodierung->isChecked(), geraete);
    } catch (const TEinstellungenFehler& fehler) {
        // The store could not be written: the user is told why, the dialog stays open and the
        // program goes on with whatever it holds.
        ZeigeFehler(fehler.Text());
        return;
    }
    WaehleSpracheOhneSpeichern(englisch);
    accept();
}
