#include "FormAbspielenUnit.h"

#include "AendernGemeinsam.h"
#include "DateiArt.h"
#include "FensterEinstellungen.h"
#include "FormAuswahlMZDateiUnit.h"
#include "MZImpulsGenerator.h"
#include "Plattform.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "TonbandGemeinsam.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

constexpr QSize DesignGroesse(460, 360);
constexpr int Rand = 8;
constexpr int AnzeigeTaktMs = 200;
constexpr int Promille = 1000;
constexpr qint64 MsProSekunde = 1000;
const QString FormName = QStringLiteral("FormAbspielen");

QString Text(const QString& name) {
    return HoleText(FormName + QLatin1Char('_') + name);
}

} // namespace

TFormAbspielen::TFormAbspielen(QWidget* pv_owner, const TMZFDatei& pv_datei) : QDialog(pv_owner) {
    setObjectName(FormName);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    m_dateien.push_back(TMZFDatei::CreateKopie(pv_datei));

    LabelDateien = TonbandBeschriftung(this, "LabelDateien");
    ListBoxDateien = new QListWidget(this);
    ListBoxDateien->setObjectName(QStringLiteral("ListBoxDateien"));
    LabelDateien->setBuddy(ListBoxDateien);
    ButtonHinzufuegen = TonbandKnopf(this, "ButtonHinzufuegen");
    ButtonEntfernen = TonbandKnopf(this, "ButtonEntfernen");
    LabelGeraet = TonbandBeschriftung(this, "LabelGeraet");
    ProgressBarZeit = new QProgressBar(this);
    ProgressBarZeit->setObjectName(QStringLiteral("ProgressBarZeit"));
    ProgressBarZeit->setRange(0, Promille);
    ProgressBarZeit->setTextVisible(false);
    LabelZeit = TonbandBeschriftung(this, "LabelZeit");
    LabelStatus = TonbandBeschriftung(this, "LabelStatus");
    ButtonAbspielen = TonbandKnopf(this, "ButtonAbspielen");
    ButtonAbspielen->setDefault(true);
    ButtonPause = TonbandKnopf(this, "ButtonPause");
    ButtonStopp = TonbandKnopf(this, "ButtonStopp");
    ButtonExportWAV = TonbandKnopf(this, "ButtonExportWAV");
    ButtonExportMZT = TonbandKnopf(this, "ButtonExportMZT");
    ButtonSchliessen = TonbandKnopf(this, "ButtonSchliessen");

    auto* listenKnoepfe = new QVBoxLayout;
    listenKnoepfe->addWidget(ButtonHinzufuegen);
    listenKnoepfe->addWidget(ButtonEntfernen);
    listenKnoepfe->addStretch(1);
    auto* liste = new QHBoxLayout;
    liste->addWidget(ListBoxDateien, 1);
    liste->addLayout(listenKnoepfe);
    auto* zeit = new QHBoxLayout;
    zeit->addWidget(ProgressBarZeit, 1);
    zeit->addWidget(LabelZeit);
    auto* laufwerk = new QHBoxLayout;
    for (QPushButton* k : {ButtonAbspielen, ButtonPause, ButtonStopp})
        laufwerk->addWidget(k);
    laufwerk->addStretch(1);
    auto* unten = new QHBoxLayout;
    unten->addWidget(ButtonExportWAV);
    unten->addWidget(ButtonExportMZT);
    unten->addStretch(1);
    unten->addWidget(ButtonSchliessen);
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(Rand, Rand, Rand, Rand);
    spalte->setSpacing(Rand);
    spalte->addWidget(LabelDateien);
    spalte->addLayout(liste, 1);
    spalte->addWidget(LabelGeraet);
    spalte->addLayout(zeit);
    spalte->addLayout(laufwerk);
    spalte->addWidget(LabelStatus);
    spalte->addLayout(unten);

    connect(ButtonHinzufuegen, &QPushButton::clicked, this, &TFormAbspielen::ButtonHinzufuegenClick);
    connect(ButtonEntfernen, &QPushButton::clicked, this, &TFormAbspielen::ButtonEntfernenClick);
    connect(ButtonAbspielen, &QPushButton::clicked, this, &TFormAbspielen::ButtonAbspielenClick);
    connect(ButtonPause, &QPushButton::clicked, this, &TFormAbspielen::ButtonPauseClick);
    connect(ButtonStopp, &QPushButton::clicked, this, &TFormAbspielen::ButtonStoppClick);
    connect(ButtonExportWAV, &QPushButton::clicked, this, &TFormAbspielen::ButtonExportWAVClick);
    connect(ButtonExportMZT, &QPushButton::clicked, this, &TFormAbspielen::ButtonExportMZTClick);
    connect(ButtonSchliessen, &QPushButton::clicked, this, &TFormAbspielen::reject);
    connect(ListBoxDateien, &QListWidget::currentRowChanged, this, [this] { AktualisiereKnoepfe(); });
    connect(&m_spieler, &TBandAbspieler::Beendet, this, &TFormAbspielen::SpielerBeendet);
    connect(&m_anzeige, &QTimer::timeout, this, &TFormAbspielen::ZeigeZeit);
}

TFormAbspielen::~TFormAbspielen() = default;

void TFormAbspielen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormAbspielen::FormShow() {
    SetzeTexte();
    layout()->activate();
    setMinimumSize(DesignGroesse.expandedTo(layout()->minimumSize()));
    resize(minimumSize());
    PlatziereDialog(this);
    AktualisiereListe();
    ListBoxDateien->setFocus();
}

void TFormAbspielen::SetzeTexte() {
    setWindowTitle(HoleText(FormName));
    LabelDateien->setText(Text(LabelDateien->objectName()));
    for (QPushButton* k : {ButtonHinzufuegen, ButtonEntfernen, ButtonAbspielen, ButtonStopp, ButtonExportWAV,
                           ButtonExportMZT, ButtonSchliessen})
        k->setText(Text(k->objectName()));
    ButtonPause->setText(
        Text(m_spieler.IstPausiert() ? QStringLiteral("ButtonWeiter") : QStringLiteral("ButtonPause")));
    const QString geraet = AusgabeGeraet();
    LabelGeraet->setText(HoleTextMitParametern(
        QStringLiteral("FormAbspielen_LabelGeraet"),
        geraet.isEmpty() ? HoleText(QStringLiteral("FormEinstellungen_Standardgeraet")) : geraet));
    ZeigeZeit();
}

QString TFormAbspielen::AusgabeGeraet() const {
    try {
        return LiesAudioGeraet(true);
    } catch (const TEinstellungenFehler&) {
        // The settings dialog tells about a broken store; here the default device serves.
        return QString();
    }
}

void TFormAbspielen::AktualisiereListe() {
    const int zeile = ListBoxDateien->currentRow();
    ListBoxDateien->clear();
    for (const auto& d : m_dateien)
        ListBoxDateien->addItem(QStringLiteral("%1 (%2 %3)")
                                    .arg(d->HoleMZDateiName())
                                    .arg(d->HoleMZDateiGroesse())
                                    .arg(HoleText(QStringLiteral("EinheitBytes"))));
    ListBoxDateien->setCurrentRow(qBound(0, zeile, ListBoxDateien->count() - 1));
    ZeigeZeit();
    AktualisiereKnoepfe();
}

void TFormAbspielen::AktualisiereKnoepfe() {
    const bool laeuft = m_spieler.Laeuft();
    const bool band = !m_dateien.empty();
    ButtonHinzufuegen->setEnabled(!laeuft);
    ButtonEntfernen->setEnabled(!laeuft && ListBoxDateien->currentRow() >= 0);
    ButtonAbspielen->setEnabled(!laeuft && band);
    ButtonPause->setEnabled(laeuft);
    ButtonStopp->setEnabled(laeuft);
    ButtonExportWAV->setEnabled(!laeuft && band);
    ButtonExportMZT->setEnabled(!laeuft && band);
}

std::vector<const TMZFDatei*> TFormAbspielen::Weitere() const {
    std::vector<const TMZFDatei*> weitere;
    for (std::size_t i = 1; i < m_dateien.size(); ++i)
        weitere.push_back(m_dateien[i].get());
    return weitere;
}

TBandEinstellungen TFormAbspielen::BandEinstellungen() const {
    return m_dateien.empty() ? BandEinstellungenImSpeicher() : LiesBandEinstellungenOderMelde();
}

std::string TFormAbspielen::BandBits(const TBandEinstellungen& pv_einstellungen) const {
    if (m_dateien.empty())
        return {};
    return m_dateien.front()->ErzeugeBandBits(pv_einstellungen, Weitere());
}

void TFormAbspielen::ZeigeZeit() {
    qint64 gesamt = m_spieler.GesamtMs();
    qint64 gespielt = m_spieler.Laeuft() ? m_spieler.GespieltMs() : 0;
    if (!m_spieler.Laeuft()) {
        // Before playing: how long the tape will take.
        const TBandEinstellungen einstellungen = BandEinstellungen();
        const TMZTonbandSignal signal(
            BandBits(einstellungen),
            TMZImpulsGenerator(einstellungen.modell, einstellungen.sampleRate, einstellungen.invertiert));
        gesamt = signal.AnzahlSamples() * MsProSekunde / einstellungen.sampleRate;
    }
    LabelZeit->setText(HoleTextMitParametern(QStringLiteral("FormAbspielen_Zeit"), Zeitangabe(gespielt),
                                             Zeitangabe(gesamt)));
    ProgressBarZeit->setValue(gesamt > 0 ? static_cast<int>(gespielt * Promille / gesamt) : 0);
}

void TFormAbspielen::ButtonHinzufuegenClick() {
    const std::optional<QString> pfad = ZeigeTonbandDialog(TTonbandDialog::MZDateiHinzufuegen);
    if (!pfad)
        return;
    auto datei = std::make_unique<TMZFDatei>();
    bool ok = false;
    switch (DateiArtVonEndung(*pfad)) {
    case TDateiArt::MZT:
        ok = datei->ImportMZT(*pfad, AuswahlDialog(this));
        break;
    case TDateiArt::WAV:
        ok = datei->ImportWAV(*pfad, LiesBandEinstellungen(), AuswahlDialog(this));
        break;
    case TDateiArt::MZF:
    case TDateiArt::Unbekannt:
        ok = datei->Laden(*pfad);
        break;
    }
    if (ok && datei->IstGeladen())
        FuegeHinzu(std::move(datei));
}

void TFormAbspielen::FuegeHinzu(std::unique_ptr<TMZFDatei> pv_datei) {
    m_dateien.push_back(std::move(pv_datei));
    AktualisiereListe();
    ListBoxDateien->setCurrentRow(ListBoxDateien->count() - 1);
}

void TFormAbspielen::ButtonEntfernenClick() {
    const int zeile = ListBoxDateien->currentRow();
    if (zeile < 0 || zeile >= static_cast<int>(m_dateien.size()))
        return;
    m_dateien.erase(m_dateien.begin() + zeile);
    AktualisiereListe();
}

void TFormAbspielen::ButtonAbspielenClick() {
    if (m_dateien.empty() || m_spieler.Laeuft())
        return;
    const TBandEinstellungen einstellungen = BandEinstellungen();
    const TMZImpulsGenerator generator(einstellungen.modell, einstellungen.sampleRate,
                                       einstellungen.invertiert);
    const TAudioFehler fehler = m_spieler.Starte(
        std::make_unique<TMZTonbandSignal>(BandBits(einstellungen), generator), AusgabeGeraet());
    if (!fehler.IstOk()) {
        ZeigeFehler(AudioFehlerText(fehler));
        return;
    }
    m_gestoppt = false;
    LabelStatus->clear();
    LabelGeraet->setText(
        HoleTextMitParametern(QStringLiteral("FormAbspielen_LabelGeraet"), m_spieler.GeraetName()));
    m_anzeige.start(AnzeigeTaktMs);
    SetzeTexte();
    AktualisiereKnoepfe();
}

void TFormAbspielen::ButtonPauseClick() {
    m_spieler.Pause(!m_spieler.IstPausiert());
    ButtonPause->setText(
        Text(m_spieler.IstPausiert() ? QStringLiteral("ButtonWeiter") : QStringLiteral("ButtonPause")));
}

void TFormAbspielen::ButtonStoppClick() {
    m_gestoppt = true;
    m_spieler.Stoppe();
}

void TFormAbspielen::SpielerBeendet(const TAudioFehler& pv_fehler) {
    m_anzeige.stop();
    ZeigeZeit();
    SetzeTexte();
    AktualisiereKnoepfe();
    if (!pv_fehler.IstOk()) {
        ZeigeFehler(AudioFehlerText(pv_fehler));
        return;
    }
    if (m_gestoppt)
        return;
    LabelStatus->setText(Text(QStringLiteral("Fertig")));
    if (m_spieler.Unterlaeufe() > 0)
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("FormAbspielen_Unterlaeufe"),
                                          QString::number(m_spieler.Unterlaeufe())));
}

void TFormAbspielen::ButtonExportWAVClick() {
    if (const auto pfad = ZeigeTonbandDialog(TTonbandDialog::WAVSpeichern,
                                             BereinigeDateiname(m_dateien.front()->HoleMZDateiName())))
        m_dateien.front()->ExportWAV(*pfad, Weitere());
}

void TFormAbspielen::ButtonExportMZTClick() {
    if (const auto pfad = ZeigeTonbandDialog(TTonbandDialog::MZTSpeichern,
                                             BereinigeDateiname(m_dateien.front()->HoleMZDateiName())))
        m_dateien.front()->ExportMZT(*pfad, BandEinstellungenImSpeicher(), Weitere());
}

void TFormAbspielen::reject() {
    // Closing ends the playing.
    m_gestoppt = true;
    m_spieler.Stoppe();
    QDialog::reject();
}
