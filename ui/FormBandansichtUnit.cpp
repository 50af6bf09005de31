#include "FormBandansichtUnit.h"

#include "BandFlaeche.h"
#include "BandMeldung.h"
#include "FensterEinstellungen.h"
#include "Fensterplatz.h"
#include "FreieNamen.h"
#include "Ganzzahl.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QSplitter>
#include <QTextBlock>
#include <QTextStream>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr QSize DesignGroesse(960, 680);
constexpr int Rand = 8;
constexpr int Prozent = 100;
constexpr int HexZiffernAdresse = 4;
constexpr int HexZiffernAttribut = 2;
// The body view's dump: 8 bytes a line; byte i of a line at column 7 + 4 i (three characters),
// its character at column 40 + i.
constexpr int BytesJeZeile = 8;
constexpr int HexSpalte = 7;
constexpr int HexBreite = 4;
constexpr int ZeichenSpalte = 40;
const QString FormName = QStringLiteral("FormBandansicht");
enum TSpalte {
    SpalteAttribut,
    SpalteName,
    SpalteGroesse,
    SpalteLadeAdresse,
    SpalteStartAdresse,
    SpalteZustand,
    AnzahlSpalten
};
const char* const Spalten[AnzahlSpalten] = {"SpalteAttribut",    "SpalteName",         "SpalteGroesse",
                                            "SpalteLadeAdresse", "SpalteStartAdresse", "SpalteZustand"};

QString Text(const QString& name) {
    return HoleText(FormName + QLatin1Char('_') + name);
}

QPushButton* Knopf(QWidget* eltern, const char* name) {
    auto* knopf = new QPushButton(eltern);
    knopf->setObjectName(QLatin1String(name));
    knopf->setAutoDefault(false);
    return knopf;
}

QLabel* Beschriftung(QWidget* eltern, const char* name) {
    auto* label = new QLabel(eltern);
    label->setObjectName(QLatin1String(name));
    return label;
}

// The state as the file list and the selection dialog name it; here an intact file says so too.
QString KatalogZustand(const TDateiBefund& befund) {
    if (befund.zustand == TDateiBefund::TZustand::Intakt)
        return Text(QStringLiteral("Zustand_Intakt"));
    return ZustandText(befund);
}

// The save dialog of MZF files, in the folder of the MZF files, suggesting the file's MZ name.
std::optional<QString> FrageMZFDatei(const QString& titel, const TMZFDatei& datei) {
    TDateiDialog dialog;
    dialog.speichern = true;
    dialog.titel = titel;
    dialog.filter = HoleText(QStringLiteral("FormAuswahlMZDatei_SaveDialogMZFDatei_Filter"));
    dialog.standardErweiterung = QStringLiteral("mzf");
    dialog.startVerzeichnis = LiesVerzeichnisMZFDateien();
    dialog.vorschlag = BereinigeDateiname(datei.HoleMZDateiName());
    return Plattform().DateiDialogZeigen(dialog);
}

} // namespace

TFormBandansicht::TFormBandansicht(QWidget* pv_owner, TImport pv_import)
    : QDialog(pv_owner), m_import(std::move(pv_import)) {
    setObjectName(FormName);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // Modal from the start: it is shown while the recording is read, before it runs its own loop.
    setWindowModality(Qt::ApplicationModal);
    LabelStatus = Beschriftung(this, "LabelStatus");
    LabelStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Leiste = new QScrollBar(Qt::Horizontal, this);
    Leiste->setObjectName(QStringLiteral("Leiste"));
    Flaeche = new TBandFlaeche(this, Leiste);
    Flaeche->setObjectName(QStringLiteral("Flaeche"));
    LabelLegende = Beschriftung(this, "LabelLegende");
    ButtonAllesZeigen = Knopf(this, "ButtonAllesZeigen");
    ButtonVergroessern = Knopf(this, "ButtonVergroessern");
    ButtonVerkleinern = Knopf(this, "ButtonVerkleinern");
    Fortschritt = new QProgressBar(this);
    Fortschritt->setObjectName(QStringLiteral("Fortschritt"));
    Fortschritt->setRange(0, Prozent);
    ButtonAbbrechen = Knopf(this, "ButtonAbbrechen");
    LabelKatalog = Beschriftung(this, "LabelKatalog");
    Katalog = new QTreeWidget(this);
    Katalog->setObjectName(QStringLiteral("Katalog"));
    Katalog->setColumnCount(AnzahlSpalten);
    Katalog->setRootIsDecorated(false);
    Katalog->setUniformRowHeights(true);
    Katalog->setSelectionMode(QAbstractItemView::SingleSelection);
    Katalog->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    LabelKatalog->setBuddy(Katalog);
    LabelBytes = Beschriftung(this, "LabelBytes");
    MemoBytes = new QPlainTextEdit(this);
    MemoBytes->setObjectName(QStringLiteral("MemoBytes"));
    MemoBytes->setReadOnly(true);
    MemoBytes->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoBytes->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    LabelBytes->setBuddy(MemoBytes);
    ButtonImport = Knopf(this, "ButtonImport");
    ButtonSpeichern = Knopf(this, "ButtonSpeichern");
    ButtonAlleSpeichern = Knopf(this, "ButtonAlleSpeichern");
    ButtonSchliessen = Knopf(this, "ButtonSchliessen");

    auto* zoom = new QHBoxLayout;
    zoom->addWidget(LabelLegende, 1);
    zoom->addWidget(ButtonVergroessern);
    zoom->addWidget(ButtonVerkleinern);
    zoom->addWidget(ButtonAllesZeigen);
    auto* lesen = new QHBoxLayout;
    lesen->addWidget(Fortschritt, 1);
    lesen->addWidget(ButtonAbbrechen);
    auto* links = new QWidget(this);
    auto* katalogSpalte = new QVBoxLayout(links);
    katalogSpalte->setContentsMargins(0, 0, 0, 0);
    katalogSpalte->addWidget(LabelKatalog);
    katalogSpalte->addWidget(Katalog);
    auto* rechts = new QWidget(this);
    auto* bytesSpalte = new QVBoxLayout(rechts);
    bytesSpalte->setContentsMargins(0, 0, 0, 0);
    bytesSpalte->addWidget(LabelBytes);
    bytesSpalte->addWidget(MemoBytes);
    auto* teiler = new QSplitter(Qt::Horizontal, this);
    teiler->addWidget(links);
    teiler->addWidget(rechts);
    teiler->setStretchFactor(0, 3);
    teiler->setStretchFactor(1, 2);
    auto* unten = new QHBoxLayout;
    unten->addWidget(ButtonImport);
    unten->addWidget(ButtonSpeichern);
    unten->addWidget(ButtonAlleSpeichern);
    unten->addStretch(1);
    unten->addWidget(ButtonSchliessen);
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(Rand, Rand, Rand, Rand);
    spalte->addWidget(LabelStatus);
    spalte->addWidget(Flaeche, 3);
    spalte->addWidget(Leiste);
    spalte->addLayout(zoom);
    spalte->addLayout(lesen);
    spalte->addWidget(teiler, 2);
    spalte->addLayout(unten);

    connect(Flaeche, &TBandFlaeche::BlockGewaehlt, this, &TFormBandansicht::WaehleBlock);
    connect(Katalog, &QTreeWidget::itemSelectionChanged, this, [this] {
        const int eintrag = GewaehlterEintrag();
        const auto& katalog = m_band.Katalog();
        const int block = eintrag >= 0 && !katalog[static_cast<std::size_t>(eintrag)].bloecke.empty()
                              ? katalog[static_cast<std::size_t>(eintrag)].bloecke.front()
                              : -1;
        Flaeche->SetzeAuswahl(eintrag, block);
        if (block >= 0 && m_bereichZeigen) {
            const TBandBlock& b = m_band.Bloecke()[static_cast<std::size_t>(block)];
            const int letzter = katalog[static_cast<std::size_t>(eintrag)].bloecke.back();
            Flaeche->ZeigeBereich(b.beginn, m_band.Bloecke()[static_cast<std::size_t>(letzter)].ende);
        }
        ZeigeBytes(block);
        AktualisiereKnoepfe();
    });
    connect(ButtonAllesZeigen, &QPushButton::clicked, Flaeche, &TBandFlaeche::ZeigeAlles);
    connect(ButtonVergroessern, &QPushButton::clicked, this,
            [this] { Flaeche->Zoome(TBandFlaeche::ZoomSchritt, Flaeche->Flaeche().center().x()); });
    connect(ButtonVerkleinern, &QPushButton::clicked, this,
            [this] { Flaeche->Zoome(1.0 / TBandFlaeche::ZoomSchritt, Flaeche->Flaeche().center().x()); });
    connect(ButtonAbbrechen, &QPushButton::clicked, this, &TFormBandansicht::ButtonAbbrechenClick);
    connect(ButtonImport, &QPushButton::clicked, this, &TFormBandansicht::ButtonImportClick);
    connect(ButtonSpeichern, &QPushButton::clicked, this, &TFormBandansicht::ButtonSpeichernClick);
    connect(ButtonAlleSpeichern, &QPushButton::clicked, this, &TFormBandansicht::ButtonAlleSpeichernClick);
    connect(ButtonSchliessen, &QPushButton::clicked, this, &QDialog::reject);
    resize(DesignGroesse);
    SetzeTexte();
    AktualisiereKnoepfe();
}

TFormBandansicht::~TFormBandansicht() = default;

void TFormBandansicht::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    ZentriereFormUeber(this, parentWidget());
    HalteFormAufBildschirm(this);
}

void TFormBandansicht::SetzeTexte() {
    setWindowTitle(m_quelle.isEmpty() ? HoleText(FormName)
                                      : HoleTextMitParametern(FormName + QStringLiteral("_Titel"),
                                                              QFileInfo(m_quelle).fileName()));
    for (QLabel* label : {LabelKatalog, LabelBytes})
        label->setText(Text(label->objectName()));
    // A tape image's catalogue names its kind, as the selection does.
    if (!m_band.HatAufnahme() && !m_quelle.isEmpty() && !m_liest)
        LabelKatalog->setText(HoleText(QStringLiteral("FormAuswahlMZDatei_LabelMZDateien_MZT")));
    for (QPushButton* knopf : {ButtonAllesZeigen, ButtonVergroessern, ButtonVerkleinern, ButtonAbbrechen,
                               ButtonImport, ButtonSpeichern, ButtonAlleSpeichern, ButtonSchliessen})
        knopf->setText(Text(knopf->objectName()));
    QStringList kopf;
    for (const char* spalte : Spalten)
        kopf << Text(QLatin1String(spalte));
    Katalog->setHeaderLabels(kopf);
    // The colours of the states, as the blocks are drawn.
    const TBandBildFarben farben = TBandBildFarben::AusPalette(palette());
    QString legende;
    const std::pair<TBlockZustand, const char*> zustaende[] = {
        {TBlockZustand::Gut, "Legende_Gut"},
        {TBlockZustand::Repariert, "Legende_Repariert"},
        {TBlockZustand::Fehler, "Legende_Fehler"},
        {TBlockZustand::Unsicher, "Legende_Unsicher"}};
    for (const auto& [zustand, name] : zustaende)
        legende += QStringLiteral("<span style=\"background-color:%1; color:#ffffff\">&nbsp;%2&nbsp;</span> ")
                       .arg(farben.Zustand(zustand).name(), Text(QLatin1String(name)).toHtmlEscaped());
    LabelLegende->setText(legende);
    LabelStatus->setText(StatusText());
    FuelleKatalog();
}

QString TFormBandansicht::StatusText() const {
    if (m_quelle.isEmpty())
        return QString();
    if (!m_band.HatAufnahme())
        return QDir::toNativeSeparators(m_quelle);
    const TWAVFormat& f = m_band.Format();
    QString text = HoleTextMitParametern(FormName + QStringLiteral("_Status"),
                                         QDir::toNativeSeparators(m_quelle), QString::number(f.sampleRate),
                                         QString::number(m_band.Sekunden(m_band.Frames()), 'f', 1)) +
                   QLatin1Char(' ') +
                   Text(m_band.IstErweitert() ? QStringLiteral("Erweitert") : QStringLiteral("Standard"));
    if (m_band.IstAbgebrochen())
        text += QLatin1Char(' ') + Text(QStringLiteral("Abgebrochen"));
    return text;
}

bool TFormBandansicht::LiesAufnahme(const QString& pv_dateiName) {
    m_quelle = pv_dateiName;
    m_liest = true;
    m_abbruch = false;
    m_gezeichneteStellen = 0;
    Flaeche->SetzeBand(nullptr);
    Katalog->clear();
    MemoBytes->clear();
    AktualisiereKnoepfe();
    const TBandFehler fehler = m_band.Lies(
        pv_dateiName, LiesBandEinstellungen(), [this](double prozent) { ZeigeFortschritt(prozent); },
        &m_abbruch);
    m_liest = false;
    Fortschritt->setValue(Prozent);
    if (m_geschlossen) {
        // Closed while reading: nothing more to show.
        QDialog::reject();
        return false;
    }
    if (!fehler.IstOk()) {
        Flaeche->SetzeBand(nullptr);
        MeldeBandFehler(fehler);
        m_quelle.clear();
        SetzeTexte();
        AktualisiereKnoepfe();
        return false;
    }
    // Where the waveform is shown already, it stays as the user zoomed it, the first file chosen
    // or not in view.
    if (Flaeche->Band())
        Flaeche->BandGeaendert();
    else
        Flaeche->SetzeBand(&m_band);
    SetzeTexte();
    m_bereichZeigen = false;
    if (Katalog->topLevelItemCount() > 0)
        WaehleEintrag(0);
    m_bereichZeigen = true;
    AktualisiereKnoepfe();
    return true;
}

// While the recording is read: the phase and its progress; once the waveform is in, it is drawn,
// and the marks and blocks of the first pass join it as they are found. The window answers
// meanwhile: Cancel, zoom, scroll, moving, repainting.
void TFormBandansicht::ZeigeFortschritt(double pv_prozent) {
    const bool dekodierung = m_band.Phase() == TBandaufzeichnung::TPhase::Dekodierung;
    Fortschritt->setFormat(
        Text(dekodierung ? QStringLiteral("Fortschritt_Dekodierung") : QStringLiteral("Fortschritt_Huelle")));
    Fortschritt->setValue(static_cast<int>(pv_prozent));
    // Drawn anew only when something joined it: a repaint per block would cost more than the
    // decoding of many.
    const std::size_t stellen = m_band.Bloecke().size() + m_band.Marken().size();
    if (dekodierung && !Flaeche->Band()) {
        Flaeche->SetzeBand(&m_band);
        LabelStatus->setText(StatusText());
        AktualisiereKnoepfe();
    } else if (dekodierung && stellen != m_gezeichneteStellen) {
        Flaeche->update();
    }
    m_gezeichneteStellen = stellen;
    Plattform().VerarbeiteEreignisse();
}

void TFormBandansicht::ZeigeDateien(std::vector<std::unique_ptr<TMZFDatei>> pv_dateien,
                                    const QString& pv_quelle) {
    m_quelle = pv_quelle;
    m_band.NimmDateien(std::move(pv_dateien));
    Flaeche->SetzeBand(nullptr);
    for (QWidget* w :
         std::initializer_list<QWidget*>{Flaeche, Leiste, LabelLegende, ButtonAllesZeigen, ButtonVergroessern,
                                         ButtonVerkleinern, LabelBytes, MemoBytes})
        w->hide();
    SetzeTexte();
    if (Katalog->topLevelItemCount() > 0)
        WaehleEintrag(0);
    AktualisiereKnoepfe();
}

void TFormBandansicht::FuelleKatalog() {
    const int gewaehlt = GewaehlterEintrag();
    const QSignalBlocker sperre(Katalog);
    Katalog->clear();
    for (const TKatalogEintrag& e : m_band.Katalog()) {
        const TMZFDatei& d = *e.datei;
        auto* zeile = new QTreeWidgetItem(Katalog);
        zeile->setText(SpalteAttribut, HexMitDollar(d.HoleMZDateiAttribut(), HexZiffernAttribut) +
                                           QLatin1Char(' ') +
                                           TMZFDatei::HoleMZDateiAttributText(d.HoleMZDateiAttribut()));
        zeile->setText(SpalteName, d.HoleMZDateiName());
        zeile->setText(SpalteGroesse, QString::number(d.HoleMZDateiGroesse()));
        zeile->setText(SpalteLadeAdresse, HexMitDollar(d.HoleMZLadeAdresse(), HexZiffernAdresse));
        zeile->setText(SpalteStartAdresse, HexMitDollar(d.HoleMZStartAdresse(), HexZiffernAdresse));
        zeile->setText(SpalteZustand, KatalogZustand(d.HoleBefund()));
    }
    if (gewaehlt >= 0 && gewaehlt < Katalog->topLevelItemCount())
        Katalog->topLevelItem(gewaehlt)->setSelected(true);
}

int TFormBandansicht::GewaehlterEintrag() const {
    const QList<QTreeWidgetItem*> gewaehlt = Katalog->selectedItems();
    return gewaehlt.isEmpty() ? -1 : Katalog->indexOfTopLevelItem(gewaehlt.first());
}

const TMZFDatei* TFormBandansicht::GewaehlteDatei() const {
    const int eintrag = GewaehlterEintrag();
    return eintrag < 0 ? nullptr : m_band.Katalog()[static_cast<std::size_t>(eintrag)].datei.get();
}

void TFormBandansicht::WaehleEintrag(int pv_eintrag) {
    if (pv_eintrag < 0 || pv_eintrag >= Katalog->topLevelItemCount())
        return;
    Katalog->setCurrentItem(Katalog->topLevelItem(pv_eintrag));
    Katalog->topLevelItem(pv_eintrag)->setSelected(true);
}

void TFormBandansicht::WaehleBlock(int pv_block) {
    if (pv_block < 0 || static_cast<std::size_t>(pv_block) >= m_band.Bloecke().size())
        return;
    const TBandBlock& b = m_band.Bloecke()[static_cast<std::size_t>(pv_block)];
    if (b.eintrag >= 0 && b.eintrag != GewaehlterEintrag()) {
        const QSignalBlocker sperre(Katalog);
        Katalog->setCurrentItem(Katalog->topLevelItem(b.eintrag));
    }
    Flaeche->SetzeAuswahl(b.eintrag, pv_block);
    Flaeche->ZeigeBereich(b.beginn, b.ende);
    ZeigeBytes(pv_block);
    AktualisiereKnoepfe();
}

// The bytes of a block as the file found has them, in the body view's dump; bytes the rescue
// could not confirm are marked.
void TFormBandansicht::ZeigeBytes(int pv_block) {
    MemoBytes->clear();
    MemoBytes->setExtraSelections({});
    if (pv_block < 0)
        return;
    const TBandBlock& b = m_band.Bloecke()[static_cast<std::size_t>(pv_block)];
    if (b.eintrag < 0)
        return;
    const TMZFDatei& datei = *m_band.Katalog()[static_cast<std::size_t>(b.eintrag)].datei;
    if (!b.kopf) {
        MemoBytes->setPlainText(datei.HoleMZDateiRumpfText());
    } else {
        // The header in the same dump, counted from 0.
        TMZFDatei kopf;
        std::array<std::uint8_t, TMZFDatei::KopfGroesse> felder{};
        felder[TMZFDatei::OffsetGroesse] = static_cast<std::uint8_t>(TMZFDatei::KopfGroesse);
        felder[TMZFDatei::OffsetName] = TMZFDatei::Ende;
        kopf.Uebernimm(felder, std::vector<std::uint8_t>(datei.Kopf().begin(), datei.Kopf().end()));
        MemoBytes->setPlainText(kopf.HoleMZDateiRumpfText());
        return;
    }
    QList<QTextEdit::ExtraSelection> markiert;
    QTextCharFormat format;
    format.setBackground(TBandBildFarben::AusPalette(palette()).unsicher);
    format.setForeground(Qt::white);
    for (const auto& [von, bis] : datei.HoleBefund().unsichereBereiche)
        for (int i = std::max(0, von); i < bis && i < datei.HoleMZDateiGroesse(); ++i) {
            const QTextBlock zeile = MemoBytes->document()->findBlockByNumber(i / BytesJeZeile);
            for (const auto& [spalte, laenge] : {std::pair{HexSpalte + HexBreite * (i % BytesJeZeile), 3},
                                                 std::pair{ZeichenSpalte + i % BytesJeZeile, 1}}) {
                QTextEdit::ExtraSelection auswahl;
                auswahl.format = format;
                auswahl.cursor = QTextCursor(zeile);
                auswahl.cursor.setPosition(zeile.position() + spalte);
                auswahl.cursor.setPosition(zeile.position() + spalte + laenge, QTextCursor::KeepAnchor);
                markiert << auswahl;
            }
        }
    MemoBytes->setExtraSelections(markiert);
}

void TFormBandansicht::AktualisiereKnoepfe() {
    const bool datei = !m_liest && GewaehlteDatei() != nullptr;
    ButtonImport->setEnabled(datei && static_cast<bool>(m_import));
    ButtonSpeichern->setEnabled(datei);
    ButtonAlleSpeichern->setEnabled(!m_liest && !m_band.Katalog().empty());
    Fortschritt->setVisible(m_liest);
    ButtonAbbrechen->setVisible(m_liest);
    // The waveform can be looked at while the decoders still read.
    for (QPushButton* knopf : {ButtonAllesZeigen, ButtonVergroessern, ButtonVerkleinern})
        knopf->setEnabled(Flaeche->Band() != nullptr && m_band.HatAufnahme());
}

void TFormBandansicht::ButtonAbbrechenClick() {
    m_abbruch = true;
}

void TFormBandansicht::reject() {
    // Closed while reading: the reading stops first, then the window closes.
    if (m_liest) {
        m_abbruch = true;
        m_geschlossen = true;
        return;
    }
    QDialog::reject();
}

void TFormBandansicht::ButtonImportClick() {
    const TMZFDatei* datei = GewaehlteDatei();
    if (datei && m_import && m_import(*datei))
        accept();
}

void TFormBandansicht::ButtonSpeichernClick() {
    const TMZFDatei* gewaehlt = GewaehlteDatei();
    if (!gewaehlt)
        return;
    const std::optional<QString> pfad =
        FrageMZFDatei(HoleText(QStringLiteral("FormAuswahlMZDatei_SaveDialogMZFDatei_Titel")), *gewaehlt);
    if (!pfad)
        return;
    const std::unique_ptr<TMZFDatei> datei = TMZFDatei::CreateKopie(*gewaehlt);
    if (datei->Speichern(*pfad))
        ZeigeInfo(HoleTextMitParametern(QStringLiteral("Info_DateiWurdeGespeichert"), *pfad));
}

// Every file into one folder, each under its MZ name (a name taken gets a number), none over a
// file that is there.
void TFormBandansicht::ButtonAlleSpeichernClick() {
    if (m_band.Katalog().empty())
        return;
    const std::optional<QString> pfad =
        FrageMZFDatei(Text(QStringLiteral("SaveDialogAlle_Titel")), *m_band.Katalog().front().datei);
    if (!pfad)
        return;
    const QString ordner = QFileInfo(*pfad).absolutePath();
    TFreieNamen namen(ordner, PfadIstBelegt);
    QString pfade;
    QTextStream aus(&pfade);
    int gespeichert = 0;
    for (const TKatalogEintrag& e : m_band.Katalog()) {
        const std::unique_ptr<TMZFDatei> datei = TMZFDatei::CreateKopie(*e.datei);
        if (!SchreibeInOrdner(namen, *datei, aus))
            break;
        ++gespeichert;
    }
    aus.flush();
    if (gespeichert > 0)
        ZeigeInfo(HoleTextMitParametern(FormName + QStringLiteral("_Info_AlleGespeichert"),
                                        QString::number(gespeichert), QDir::toNativeSeparators(ordner)));
}

TMZFDatei::TAuswahl KatalogAuswahl(QWidget* pv_aufruferForm, const QString& pv_quelle) {
    return [pv_aufruferForm, pv_quelle](const std::vector<std::unique_ptr<TMZFDatei>>& dateien) {
        int wahl = -1;
        TFormBandansicht fenster(pv_aufruferForm, [&](const TMZFDatei& datei) {
            for (std::size_t i = 0; i < dateien.size() && wahl < 0; ++i)
                if (dateien[i]->IstGleich(datei))
                    wahl = static_cast<int>(i);
            return wahl >= 0;
        });
        std::vector<std::unique_ptr<TMZFDatei>> kopien;
        for (const auto& d : dateien)
            kopien.push_back(TMZFDatei::CreateKopie(*d));
        fenster.ZeigeDateien(std::move(kopien), pv_quelle);
        return fenster.exec() == QDialog::Accepted ? wahl : -1;
    };
}
