#include "FormAufnahmeUnit.h"

#include "AendernGemeinsam.h"
#include "FensterEinstellungen.h"
#include "Ganzzahl.h"
#include "Plattform.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "TonbandGemeinsam.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr QSize DesignGroesse(520, 420);
constexpr int Rand = 8;
constexpr int AnzeigeTaktMs = 100;
constexpr int Promille = 1000;
constexpr int HexZiffernAdresse = 4;
const QString FormName = QStringLiteral("FormAufnahme");
const char* const Spalten[] = {"SpalteName", "SpalteGroesse", "SpalteLadeAdresse", "SpalteZustand"};
enum TSpalte { SpalteName, SpalteGroesse, SpalteLadeAdresse, SpalteZustand, AnzahlSpalten };

QString Text(const QString& name) {
    return HoleText(FormName + QLatin1Char('_') + name);
}

} // namespace

TFormAufnahme::TFormAufnahme(QWidget* pv_owner, TImport pv_import)
    : QDialog(pv_owner), m_import(std::move(pv_import)) {
    setObjectName(FormName);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    LabelGeraet = TonbandBeschriftung(this, "LabelGeraet");
    LabelPegel = TonbandBeschriftung(this, "LabelPegel");
    LabelPegel->setWordWrap(false);
    ProgressBarPegel = new QProgressBar(this);
    ProgressBarPegel->setObjectName(QStringLiteral("ProgressBarPegel"));
    ProgressBarPegel->setRange(0, Promille);
    ProgressBarPegel->setTextVisible(false);
    LabelHinweis = TonbandBeschriftung(this, "LabelHinweis");
    CheckBoxWAVBehalten = new QCheckBox(this);
    CheckBoxWAVBehalten->setObjectName(QStringLiteral("CheckBoxWAVBehalten"));
    ButtonStart = TonbandKnopf(this, "ButtonStart");
    ButtonStart->setDefault(true);
    ButtonStopp = TonbandKnopf(this, "ButtonStopp");
    LabelStatus = TonbandBeschriftung(this, "LabelStatus");
    LabelDateien = TonbandBeschriftung(this, "LabelDateien");
    TabelleDateien = new QTableWidget(0, AnzahlSpalten, this);
    TabelleDateien->setObjectName(QStringLiteral("TabelleDateien"));
    TabelleDateien->setSelectionBehavior(QAbstractItemView::SelectRows);
    TabelleDateien->setSelectionMode(QAbstractItemView::SingleSelection);
    TabelleDateien->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TabelleDateien->verticalHeader()->hide();
    TabelleDateien->horizontalHeader()->setSectionResizeMode(SpalteName, QHeaderView::Stretch);
    LabelDateien->setBuddy(TabelleDateien);
    ButtonImportieren = TonbandKnopf(this, "ButtonImportieren");
    ButtonSpeichern = TonbandKnopf(this, "ButtonSpeichern");
    ButtonSchliessen = TonbandKnopf(this, "ButtonSchliessen");

    auto* pegel = new QHBoxLayout;
    pegel->addWidget(LabelPegel);
    pegel->addWidget(ProgressBarPegel, 1);
    auto* laufwerk = new QHBoxLayout;
    laufwerk->addWidget(ButtonStart);
    laufwerk->addWidget(ButtonStopp);
    laufwerk->addStretch(1);
    auto* unten = new QHBoxLayout;
    unten->addWidget(ButtonImportieren);
    unten->addWidget(ButtonSpeichern);
    unten->addStretch(1);
    unten->addWidget(ButtonSchliessen);
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(Rand, Rand, Rand, Rand);
    spalte->setSpacing(Rand);
    spalte->addWidget(LabelGeraet);
    spalte->addLayout(pegel);
    spalte->addWidget(LabelHinweis);
    spalte->addWidget(CheckBoxWAVBehalten);
    spalte->addLayout(laufwerk);
    spalte->addWidget(LabelStatus);
    spalte->addWidget(LabelDateien);
    spalte->addWidget(TabelleDateien, 1);
    spalte->addLayout(unten);

    connect(ButtonStart, &QPushButton::clicked, this, &TFormAufnahme::ButtonStartClick);
    connect(ButtonStopp, &QPushButton::clicked, this, &TFormAufnahme::ButtonStoppClick);
    connect(ButtonImportieren, &QPushButton::clicked, this, &TFormAufnahme::ButtonImportierenClick);
    connect(ButtonSpeichern, &QPushButton::clicked, this, &TFormAufnahme::ButtonSpeichernClick);
    connect(ButtonSchliessen, &QPushButton::clicked, this, &TFormAufnahme::reject);
    connect(TabelleDateien, &QTableWidget::itemSelectionChanged, this, [this] { AktualisiereKnoepfe(); });
    connect(&m_aufnahme, &TBandAufnahme::DateiGefunden, this, [this](int index) {
        ZeigeDatei(index, *m_aufnahme.Dateien()[static_cast<std::size_t>(index)]);
        AktualisiereKnoepfe();
    });
    connect(&m_aufnahme, &TBandAufnahme::WAVFehler, this,
            [](const TAudioFehler& fehler) { ZeigeFehler(AudioFehlerText(fehler)); });
    connect(&m_aufnahme, &TBandAufnahme::Beendet, this, &TFormAufnahme::AufnahmeBeendet);
    connect(&m_anzeige, &QTimer::timeout, this, &TFormAufnahme::ZeigePegel);
}

TFormAufnahme::~TFormAufnahme() = default;

void TFormAufnahme::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormAufnahme::FormShow() {
    SetzeTexte();
    LabelStatus->setText(Text(QStringLiteral("Bereit")));
    layout()->activate();
    setMinimumSize(DesignGroesse.expandedTo(layout()->minimumSize()));
    resize(minimumSize());
    PlatziereDialog(this);
    AktualisiereKnoepfe();
    ButtonStart->setFocus();
}

void TFormAufnahme::SetzeTexte() {
    setWindowTitle(HoleText(FormName));
    const QString geraet = m_aufnahme.Laeuft() ? m_aufnahme.GeraetName() : EingabeGeraet();
    LabelGeraet->setText(HoleTextMitParametern(
        QStringLiteral("FormAufnahme_LabelGeraet"),
        geraet.isEmpty() ? HoleText(QStringLiteral("FormEinstellungen_Standardgeraet")) : geraet));
    for (QLabel* label : {LabelPegel, LabelDateien})
        label->setText(Text(label->objectName()));
    CheckBoxWAVBehalten->setText(Text(CheckBoxWAVBehalten->objectName()));
    for (QPushButton* k : {ButtonStart, ButtonStopp, ButtonImportieren, ButtonSpeichern, ButtonSchliessen})
        k->setText(Text(k->objectName()));
    QStringList koepfe;
    for (const char* s : Spalten)
        koepfe << Text(QLatin1String(s));
    TabelleDateien->setHorizontalHeaderLabels(koepfe);
}

QString TFormAufnahme::EingabeGeraet() const {
    try {
        return LiesAudioGeraet(false);
    } catch (const TEinstellungenFehler&) {
        // The settings dialog tells about a broken store; here the default device serves.
        return QString();
    }
}

void TFormAufnahme::ZeigeDatei(int pv_zeile, const TMZFDatei& pv_datei) {
    if (TabelleDateien->rowCount() <= pv_zeile)
        TabelleDateien->setRowCount(pv_zeile + 1);
    // Every file the search hands over passed its checksums.
    const QString felder[AnzahlSpalten] = {
        pv_datei.HoleMZDateiName(), QString::number(pv_datei.HoleMZDateiGroesse()),
        HexMitDollar(pv_datei.HoleMZLadeAdresse(), HexZiffernAdresse), Text(QStringLiteral("ZustandIntakt"))};
    for (int s = 0; s < AnzahlSpalten; ++s)
        TabelleDateien->setItem(pv_zeile, s, new QTableWidgetItem(felder[s]));
    if (TabelleDateien->currentRow() < 0)
        TabelleDateien->selectRow(pv_zeile);
}

void TFormAufnahme::ZeigeDateien() {
    const int zeile = TabelleDateien->currentRow();
    TabelleDateien->setRowCount(0);
    const auto& dateien = m_aufnahme.Dateien();
    for (std::size_t i = 0; i < dateien.size(); ++i)
        ZeigeDatei(static_cast<int>(i), *dateien[i]);
    if (zeile >= 0 && zeile < TabelleDateien->rowCount())
        TabelleDateien->selectRow(zeile);
}

void TFormAufnahme::ZeigePegel() {
    ProgressBarPegel->setValue(static_cast<int>(m_aufnahme.Pegel() * Promille));
    LabelHinweis->setText(m_aufnahme.Uebersteuert() ? HoleText(QStringLiteral("Audio_HinweisUebersteuert"))
                          : m_aufnahme.ZuLeise()    ? HoleText(QStringLiteral("Audio_HinweisZuLeise"))
                                                    : QString());
    LabelStatus->setText(
        HoleTextMitParametern(QStringLiteral("FormAufnahme_Laeuft"), Zeitangabe(m_aufnahme.AufgenommenMs())));
}

void TFormAufnahme::AktualisiereKnoepfe() {
    const bool laeuft = m_aufnahme.Laeuft();
    ButtonStart->setEnabled(!laeuft);
    ButtonStopp->setEnabled(laeuft);
    CheckBoxWAVBehalten->setEnabled(!laeuft);
    const bool gewaehlt = AusgewaehlteDatei() != nullptr;
    ButtonImportieren->setEnabled(gewaehlt);
    ButtonSpeichern->setEnabled(gewaehlt);
}

const TMZFDatei* TFormAufnahme::AusgewaehlteDatei() const {
    const QList<QTableWidgetItem*> gewaehlt = TabelleDateien->selectedItems();
    if (gewaehlt.isEmpty())
        return nullptr;
    const int zeile = gewaehlt.first()->row();
    const auto& dateien = m_aufnahme.Dateien();
    return zeile >= 0 && zeile < static_cast<int>(dateien.size())
               ? dateien[static_cast<std::size_t>(zeile)].get()
               : nullptr;
}

void TFormAufnahme::ButtonStartClick() {
    if (m_aufnahme.Laeuft())
        return;
    TBandAufnahme::TAuftrag auftrag;
    if (CheckBoxWAVBehalten->isChecked()) {
        const std::optional<QString> pfad = ZeigeTonbandDialog(TTonbandDialog::WAVSpeichern);
        if (!pfad)
            return;
        auftrag.wavDatei = *pfad;
    }
    auftrag.geraet = EingabeGeraet();
    auftrag.einstellungen = LiesBandEinstellungenOderMelde();
    TabelleDateien->setRowCount(0);
    const TAudioFehler fehler = m_aufnahme.Starte(auftrag);
    if (!fehler.IstOk()) {
        ZeigeFehler(AudioFehlerText(fehler));
        return;
    }
    SetzeTexte();
    m_anzeige.start(AnzeigeTaktMs);
    AktualisiereKnoepfe();
}

void TFormAufnahme::ButtonStoppClick() {
    m_aufnahme.Stoppe();
}

void TFormAufnahme::AufnahmeBeendet(const TAudioFehler& pv_fehler) {
    m_anzeige.stop();
    ProgressBarPegel->setValue(0);
    LabelHinweis->clear();
    ZeigeDateien();
    QString status =
        HoleTextMitParametern(QStringLiteral("FormAufnahme_Ende"), Zeitangabe(m_aufnahme.AufgenommenMs()),
                              QString::number(m_aufnahme.Dateien().size()));
    if (!m_aufnahme.Uebersprungen().empty())
        status +=
            QLatin1Char(' ') + HoleTextMitParametern(QStringLiteral("FormAufnahme_Uebersprungen"),
                                                     QString::number(m_aufnahme.Uebersprungen().size()));
    LabelStatus->setText(status);
    AktualisiereKnoepfe();
    if (!pv_fehler.IstOk())
        ZeigeFehler(AudioFehlerText(pv_fehler));
}

void TFormAufnahme::ButtonImportierenClick() {
    if (const TMZFDatei* datei = AusgewaehlteDatei(); datei && m_import)
        m_import(*datei);
}

void TFormAufnahme::ButtonSpeichernClick() {
    const TMZFDatei* datei = AusgewaehlteDatei();
    if (!datei)
        return;
    if (const auto pfad =
            ZeigeTonbandDialog(TTonbandDialog::MZFSpeichern, BereinigeDateiname(datei->HoleMZDateiName())))
        if (TMZFDatei::CreateKopie(*datei)->Speichern(*pfad))
            ZeigeInfo(HoleTextMitParametern(QStringLiteral("Info_DateiWurdeGespeichert"), *pfad));
}

void TFormAufnahme::reject() {
    if (m_aufnahme.Laeuft() && FrageBestaetigung(Text(QStringLiteral("FrageStoppen"))) != TAntwort::Ja)
        return;
    // The recorder ends with the window: the files found stay where they were saved or imported,
    // a WAV file being kept is completed.
    QDialog::reject();
}
