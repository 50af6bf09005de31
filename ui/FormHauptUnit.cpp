#include "FormHauptUnit.h"

#include "AendernGemeinsam.h"
#include "DateiArt.h"
#include "Fensterplatz.h"
#include "FormAendernMZDateiAttributUnit.h"
#include "FormAendernMZDateiNameUnit.h"
#include "FormAendernMZKommentarUnit.h"
#include "FormAendernMZLadeAdresseUnit.h"
#include "FormAendernMZStartAdresseUnit.h"
#include "FormAuswahlMZDateiUnit.h"
#include "FormEinstellungenUnit.h"
#include "FormKurzanleitungUnit.h"
#include "FormUeberDiesesProgrammUnit.h"
#include "FormVersionsHistorieUnit.h"
#include "Ganzzahl.h"
#include "InhaltsAnsicht.h"
#include "MZFDatei.h"
#include "MZSchiff.h"
#include "PlattformDesktop.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QUrl>
#include <QVBoxLayout>
#include <chrono>
#include <cmath>
#include <random>

namespace {
// Client area of the window as designed, without the menu bar.
constexpr int DesignBreite = 635;
constexpr int DesignHoehe = 516;
constexpr int StatusLeisteHoehe = 20;
constexpr int StatusLabelBreite = 90;
constexpr int StatusRahmenBreite = 100;
constexpr int KommentarMemoHoehe = 46;
constexpr int RumpfMemoHoehe = 263;
constexpr int MemoBreite = 433;
// The ship's resting place at the start: 16 pixels from the right edge and from the status line.
constexpr int SchiffRand = 16;
constexpr int ProzentMax = 100;
constexpr int HexZiffernAdresse = 4;
constexpr int HexZiffernAttribut = 2;

bool g_kommandozeileAusgewertet = false;
QStringList g_argumente;

std::mt19937& Zufall() {
    static std::mt19937 generator;
    return generator;
}

// A random integer from 0 to anzahl - 1.
int ZufallsZahl(int anzahl) {
    std::uniform_int_distribution<int> verteilung(0, anzahl - 1);
    return verteilung(Zufall());
}

// The windows carry on after a failed settings write: the user is told and the command goes on.
template <typename F> void SchreibeEinstellung(F schreiben) {
    try {
        schreiben();
    } catch (const TEinstellungenFehler& fehler) {
        ZeigeFehler(fehler.Text());
    }
}

// Directory part of a chosen path, without a trailing separator except for the root.
QString VerzeichnisVon(const QString& pfad) {
    return QDir::toNativeSeparators(QFileInfo(pfad).absolutePath());
}

// Each file dialog with its kind's remembered directory.
struct TDialogArt {
    const char* name;
    bool speichern;
    const char* erweiterung;
    QString (*liesVerzeichnis)();
    void (*schreibeVerzeichnis)(const QString&);
};
const TDialogArt DialogArten[] = {
    {"OpenDialogMZFDatei", false, "mzf", LiesVerzeichnisMZFDateien, SchreibeVerzeichnisMZFDateien},
    {"SaveDialogMZFDatei", true, "mzf", LiesVerzeichnisMZFDateien, SchreibeVerzeichnisMZFDateien},
    {"OpenDialogMZTDatei", false, "mzt", LiesVerzeichnisMZTDateien, SchreibeVerzeichnisMZTDateien},
    {"SaveDialogMZTDatei", true, "mzt", LiesVerzeichnisMZTDateien, SchreibeVerzeichnisMZTDateien},
    {"OpenDialogWAVDatei", false, "wav", LiesVerzeichnisWAVDateien, SchreibeVerzeichnisWAVDateien},
    {"SaveDialogWAVDatei", true, "wav", LiesVerzeichnisWAVDateien, SchreibeVerzeichnisWAVDateien},
};

QLineEdit* NurLesenEdit(QWidget* eltern, const char* name) {
    auto* edit = new QLineEdit(eltern);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    return edit;
}

QLabel* NeuesLabel(QWidget* eltern, const char* name) {
    auto* label = new QLabel(eltern);
    label->setObjectName(QLatin1String(name));
    return label;
}

QPushButton* NeuerKnopf(QWidget* eltern, const char* name) {
    auto* knopf = new QPushButton(eltern);
    knopf->setObjectName(QLatin1String(name));
    return knopf;
}
} // namespace

void FormHauptModulStarten() {
    g_kommandozeileAusgewertet = false;
    // A new generator started from the clock, once per program run.
    Zufall() = std::mt19937(
        static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));
}

void SetzeKommandozeile(const QStringList& pv_argumente) {
    g_argumente = pv_argumente;
}

TFormHaupt::TFormHaupt(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FormHaupt"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Bandwerk"));
    setWindowIcon(QIcon(MZSchiffBild()));
    setAcceptDrops(true);
    BaueMenue();
    BaueFenster();
    static_assert(std::size(DialogArten) == AnzahlDialoge);
    for (int i = 0; i < AnzahlDialoge; ++i) {
        m_dateiDialoge[i].speichern = DialogArten[i].speichern;
        m_dateiDialoge[i].standardErweiterung = QLatin1String(DialogArten[i].erweiterung);
    }

    Datei = std::make_unique<TMZFDatei>();
    Datei->BeiBeginn = [this](TMZFDatei* sender) { DateiBeiBeginn(sender); };
    Datei->BeiFortschritt = [this](TMZFDatei* sender, double prozent) {
        DateiBeiFortschritt(sender, prozent);
    };
    Datei->BeiEnde = [this](TMZFDatei* sender) { DateiBeiEnde(sender); };
    Beschaeftigt = false;
    // Texts now already, so that the window has its final size when it is first placed.
    SetzeTexte();
}

TFormHaupt::~TFormHaupt() = default;

QAction* TFormHaupt::NeuerEintrag(QMenu* menue, const char* name, void (TFormHaupt::*handler)()) {
    QAction* eintrag = menue->addAction(QString());
    eintrag->setObjectName(QLatin1String(name));
    connect(eintrag, &QAction::triggered, this, handler);
    return eintrag;
}

void TFormHaupt::BaueMenue() {
    QMenuBar* leiste = menuBar();
    leiste->setObjectName(QStringLiteral("MenueHaupt"));
    auto neuesMenue = [&](const char* name) {
        QMenu* menue = leiste->addMenu(QString());
        menue->setObjectName(QLatin1String(name));
        menue->menuAction()->setObjectName(QLatin1String(name));
        return menue;
    };
    MenueHaupt_Datei = neuesMenue("MenueHaupt_Datei");
    MenueHaupt_Datei_Oeffnen = NeuerEintrag(MenueHaupt_Datei, "MenueHaupt_Datei_Oeffnen",
                                            &TFormHaupt::MenueHaupt_Datei_OeffnenClick);
    MenueHaupt_Datei_Schliessen = NeuerEintrag(MenueHaupt_Datei, "MenueHaupt_Datei_Schliessen",
                                               &TFormHaupt::MenueHaupt_Datei_SchliessenClick);
    MenueHaupt_Datei->addSeparator();
    MenueHaupt_Datei_Speichern = NeuerEintrag(MenueHaupt_Datei, "MenueHaupt_Datei_Speichern",
                                              &TFormHaupt::MenueHaupt_Datei_SpeichernClick);
    MenueHaupt_Datei_SpeichernUnter = NeuerEintrag(MenueHaupt_Datei, "MenueHaupt_Datei_SpeichernUnter",
                                                   &TFormHaupt::MenueHaupt_Datei_SpeichernUnterClick);
    MenueHaupt_Datei->addSeparator();
    MenueHaupt_Datei_Beenden = NeuerEintrag(MenueHaupt_Datei, "MenueHaupt_Datei_Beenden",
                                            &TFormHaupt::MenueHaupt_Datei_BeendenClick);

    MenueHaupt_ImportExport = neuesMenue("MenueHaupt_ImportExport");
    MenueHaupt_ImportExport_ImportMZT =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_ImportMZT",
                     &TFormHaupt::MenueHaupt_ImportExport_ImportMZTClick);
    MenueHaupt_ImportExport_ImportWAV =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_ImportWAV",
                     &TFormHaupt::MenueHaupt_ImportExport_ImportWAVClick);
#ifdef BANDWERK_AUDIO
    MenueHaupt_ImportExport_Aufnahme =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_Aufnahme",
                     &TFormHaupt::MenueHaupt_ImportExport_AufnahmeClick);
#endif
    MenueHaupt_ImportExport->addSeparator();
    MenueHaupt_ImportExport_ExportMZT =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_ExportMZT",
                     &TFormHaupt::MenueHaupt_ImportExport_ExportMZTClick);
    MenueHaupt_ImportExport_ExportWAV =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_ExportWAV",
                     &TFormHaupt::MenueHaupt_ImportExport_ExportWAVClick);
#ifdef BANDWERK_AUDIO
    MenueHaupt_ImportExport_Abspielen =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_Abspielen",
                     &TFormHaupt::MenueHaupt_ImportExport_AbspielenClick);
#endif

    MenueHaupt_Extras = neuesMenue("MenueHaupt_Extras");
    MenueHaupt_Extras_Einstellungen = NeuerEintrag(MenueHaupt_Extras, "MenueHaupt_Extras_Einstellungen",
                                                   &TFormHaupt::MenueHaupt_Extras_EinstellungenClick);

    MenueHaupt_Hilfe = neuesMenue("MenueHaupt_Hilfe");
    MenueHaupt_Hilfe_Kurzanleitung = NeuerEintrag(MenueHaupt_Hilfe, "MenueHaupt_Hilfe_Kurzanleitung",
                                                  &TFormHaupt::MenueHaupt_Hilfe_KurzanleitungClick);
    MenueHaupt_Hilfe_VersionsHistorie = NeuerEintrag(MenueHaupt_Hilfe, "MenueHaupt_Hilfe_VersionsHistorie",
                                                     &TFormHaupt::MenueHaupt_Hilfe_VersionsHistorieClick);
    MenueHaupt_Hilfe_UeberDiesesProgramm =
        NeuerEintrag(MenueHaupt_Hilfe, "MenueHaupt_Hilfe_UeberDiesesProgramm",
                     &TFormHaupt::MenueHaupt_Hilfe_UeberDiesesProgrammClick);
}

void TFormHaupt::BaueFenster() {
    m_arbeitsflaeche = new QWidget(this);
    m_arbeitsflaeche->setObjectName(QStringLiteral("Arbeitsflaeche"));
    m_arbeitsflaeche->setAutoFillBackground(true);
    setCentralWidget(m_arbeitsflaeche);

    BauePanel();
    BaueStatusLeiste();
    auto* spalte = new QVBoxLayout(m_arbeitsflaeche);
    spalte->setContentsMargins(0, 0, 0, 0);
    spalte->setSpacing(0);
    spalte->addWidget(PanelMZFDatei, 1);
    // Takes the panel's place while it is hidden, so that the status line stays at the bottom.
    spalte->addStretch(0);
    spalte->addWidget(PanelStatusLeiste);
    PanelMZFDatei->hide();

    ImageMZSchiff = new QLabel(m_arbeitsflaeche);
    ImageMZSchiff->setObjectName(QStringLiteral("ImageMZSchiff"));
    ImageMZSchiff->setPixmap(MZSchiffBild());
    ImageMZSchiff->setFixedSize(MZSchiffGroesse, MZSchiffGroesse);
    ImageMZSchiff->setAttribute(Qt::WA_TranslucentBackground);
    ImageMZSchiff->installEventFilter(this);

    SetzeTabFolge();
    VerbindeKnoepfe();
}

// The field panel: one row per header field, the body dump below.
void TFormHaupt::BauePanel() {
    PanelMZFDatei = new QFrame(m_arbeitsflaeche);
    PanelMZFDatei->setObjectName(QStringLiteral("PanelMZFDatei"));
    PanelMZFDatei->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelMZFDatei->setAutoFillBackground(true);
    QWidget* p = PanelMZFDatei;

    LabelMZDateiAttribut = NeuesLabel(p, "LabelMZDateiAttribut");
    EditMZDateiAttribut = NurLesenEdit(p, "EditMZDateiAttribut");
    ButtonAendernMZDateiAttribut = NeuerKnopf(p, "ButtonAendernMZDateiAttribut");
    LabelMZDateiName = NeuesLabel(p, "LabelMZDateiName");
    EditMZDateiName = NurLesenEdit(p, "EditMZDateiName");
    ButtonAendernMZDateiName = NeuerKnopf(p, "ButtonAendernMZDateiName");
    LabelMZDateiGroesse = NeuesLabel(p, "LabelMZDateiGroesse");
    LabelHex1 = NeuesLabel(p, "LabelHex1");
    EditMZDateiGroesse = NurLesenEdit(p, "EditMZDateiGroesse");
    LabelDez1 = NeuesLabel(p, "LabelDez1");
    EditMZDateiGroesseDez = NurLesenEdit(p, "EditMZDateiGroesseDez");
    LabelMZLadeAdresse = NeuesLabel(p, "LabelMZLadeAdresse");
    LabelHex2 = NeuesLabel(p, "LabelHex2");
    EditMZLadeAdresse = NurLesenEdit(p, "EditMZLadeAdresse");
    LabelDez2 = NeuesLabel(p, "LabelDez2");
    EditMZLadeAdresseDez = NurLesenEdit(p, "EditMZLadeAdresseDez");
    ButtonAendernMZLadeAdresse = NeuerKnopf(p, "ButtonAendernMZLadeAdresse");
    LabelMZStartAdresse = NeuesLabel(p, "LabelMZStartAdresse");
    LabelHex3 = NeuesLabel(p, "LabelHex3");
    EditMZStartAdresse = NurLesenEdit(p, "EditMZStartAdresse");
    LabelDez3 = NeuesLabel(p, "LabelDez3");
    EditMZStartAdresseDez = NurLesenEdit(p, "EditMZStartAdresseDez");
    ButtonAendernMZStartAdresse = NeuerKnopf(p, "ButtonAendernMZStartAdresse");
    LabelMZKommentar = NeuesLabel(p, "LabelMZKommentar");
    MemoMZKommentar = new QPlainTextEdit(p);
    MemoMZKommentar->setObjectName(QStringLiteral("MemoMZKommentar"));
    MemoMZKommentar->setReadOnly(true);
    MemoMZKommentar->setTabChangesFocus(true);
    MemoMZKommentar->setFixedHeight(KommentarMemoHoehe);
    ButtonAendernMZKommentar = NeuerKnopf(p, "ButtonAendernMZKommentar");
    LabelMZDateiRumpf = NeuesLabel(p, "LabelMZDateiRumpf");
    MemoMZDateiRumpf = new QPlainTextEdit(p);
    MemoMZDateiRumpf->setObjectName(QStringLiteral("MemoMZDateiRumpf"));
    MemoMZDateiRumpf->setReadOnly(true);
    MemoMZDateiRumpf->setTabChangesFocus(true);
    MemoMZDateiRumpf->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoMZDateiRumpf->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoMZDateiRumpf->setFont(FesteSchrift());
    MemoMZDateiRumpf->setMinimumSize(MemoBreite, RumpfMemoHoehe / 2);

    // Read-only fields in the button-face colour: their text can be copied, not typed.
    for (QWidget* feld : std::initializer_list<QWidget*>{
             EditMZDateiAttribut, EditMZDateiName, EditMZDateiGroesse, EditMZDateiGroesseDez,
             EditMZLadeAdresse, EditMZLadeAdresseDez, EditMZStartAdresse, EditMZStartAdresseDez,
             MemoMZKommentar, MemoMZDateiRumpf}) {
        QPalette farben = feld->palette();
        farben.setColor(QPalette::Base, farben.color(QPalette::Button));
        feld->setPalette(farben);
    }

    auto* raster = new QGridLayout(PanelMZFDatei);
    raster->setHorizontalSpacing(6);
    auto zeileMitText = [&](int zeile, QLabel* label, QWidget* feld, QPushButton* knopf) {
        raster->addWidget(label, zeile, 0);
        raster->addWidget(feld, zeile, 1, 1, 4);
        if (knopf)
            raster->addWidget(knopf, zeile, 5);
    };
    auto zeileMitZahl = [&](int zeile, QLabel* label, QLabel* hex, QLineEdit* editHex, QLabel* dez,
                            QLineEdit* editDez, QPushButton* knopf) {
        raster->addWidget(label, zeile, 0);
        raster->addWidget(hex, zeile, 1);
        raster->addWidget(editHex, zeile, 2);
        raster->addWidget(dez, zeile, 3);
        raster->addWidget(editDez, zeile, 4);
        hex->setBuddy(editHex);
        dez->setBuddy(editDez);
        if (knopf)
            raster->addWidget(knopf, zeile, 5);
    };
    zeileMitText(0, LabelMZDateiAttribut, EditMZDateiAttribut, ButtonAendernMZDateiAttribut);
    zeileMitText(1, LabelMZDateiName, EditMZDateiName, ButtonAendernMZDateiName);
    zeileMitZahl(2, LabelMZDateiGroesse, LabelHex1, EditMZDateiGroesse, LabelDez1, EditMZDateiGroesseDez,
                 nullptr);
    zeileMitZahl(3, LabelMZLadeAdresse, LabelHex2, EditMZLadeAdresse, LabelDez2, EditMZLadeAdresseDez,
                 ButtonAendernMZLadeAdresse);
    zeileMitZahl(4, LabelMZStartAdresse, LabelHex3, EditMZStartAdresse, LabelDez3, EditMZStartAdresseDez,
                 ButtonAendernMZStartAdresse);
    zeileMitText(5, LabelMZKommentar, MemoMZKommentar, ButtonAendernMZKommentar);
    zeileMitText(6, LabelMZDateiRumpf, MemoMZDateiRumpf, nullptr);
    m_inhaltsAnsicht = new TInhaltsAnsicht(p, MemoMZDateiRumpf);
    raster->addWidget(m_inhaltsAnsicht->Knoepfe(), 6, 5);
    raster->addWidget(m_inhaltsAnsicht->Auswahl(), 7, 0, 1, 6);
    raster->setAlignment(LabelMZKommentar, Qt::AlignTop);
    raster->setAlignment(ButtonAendernMZKommentar, Qt::AlignTop);
    raster->setAlignment(LabelMZDateiRumpf, Qt::AlignTop);
    raster->setColumnStretch(2, 1);
    raster->setColumnStretch(4, 1);
    raster->setRowStretch(6, 1);
}

// Status line: the wait text in a bevel of its own, the progress bar fills the rest.
void TFormHaupt::BaueStatusLeiste() {
    PanelStatusLeiste = new QFrame(m_arbeitsflaeche);
    PanelStatusLeiste->setObjectName(QStringLiteral("PanelStatusLeiste"));
    auto* rahmen = new QFrame(PanelStatusLeiste);
    rahmen->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    rahmen->setFixedWidth(StatusRahmenBreite);
    LabelStatusLeiste = NeuesLabel(rahmen, "LabelStatusLeiste");
    QFont fett = LabelStatusLeiste->font();
    fett.setBold(true);
    LabelStatusLeiste->setFont(fett);
    LabelStatusLeiste->setAlignment(Qt::AlignCenter);
    LabelStatusLeiste->setFixedWidth(StatusLabelBreite);
    auto* rahmenLayout = new QHBoxLayout(rahmen);
    rahmenLayout->setContentsMargins(0, 0, 0, 0);
    rahmenLayout->addWidget(LabelStatusLeiste, 0, Qt::AlignCenter);
    ProgressBarStatusLeiste = new QProgressBar(PanelStatusLeiste);
    ProgressBarStatusLeiste->setObjectName(QStringLiteral("ProgressBarStatusLeiste"));
    ProgressBarStatusLeiste->setRange(0, ProzentMax);
    ProgressBarStatusLeiste->setValue(0);
    ProgressBarStatusLeiste->setTextVisible(false);
    auto* statusLayout = new QHBoxLayout(PanelStatusLeiste);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->setSpacing(2);
    statusLayout->addWidget(rahmen);
    statusLayout->addWidget(ProgressBarStatusLeiste, 1);
    PanelStatusLeiste->setFixedHeight(qMax(StatusLeisteHoehe, QFontMetrics(fett).height() + 4));
}

void TFormHaupt::SetzeTabFolge() {
    setTabOrder(EditMZDateiAttribut, ButtonAendernMZDateiAttribut);
    setTabOrder(ButtonAendernMZDateiAttribut, EditMZDateiName);
    setTabOrder(EditMZDateiName, ButtonAendernMZDateiName);
    setTabOrder(ButtonAendernMZDateiName, EditMZDateiGroesse);
    setTabOrder(EditMZDateiGroesse, EditMZDateiGroesseDez);
    setTabOrder(EditMZDateiGroesseDez, EditMZLadeAdresse);
    setTabOrder(EditMZLadeAdresse, EditMZLadeAdresseDez);
    setTabOrder(EditMZLadeAdresseDez, ButtonAendernMZLadeAdresse);
    setTabOrder(ButtonAendernMZLadeAdresse, EditMZStartAdresse);
    setTabOrder(EditMZStartAdresse, EditMZStartAdresseDez);
    setTabOrder(EditMZStartAdresseDez, ButtonAendernMZStartAdresse);
    setTabOrder(ButtonAendernMZStartAdresse, MemoMZKommentar);
    setTabOrder(MemoMZKommentar, ButtonAendernMZKommentar);
    setTabOrder(ButtonAendernMZKommentar, MemoMZDateiRumpf);
}

void TFormHaupt::VerbindeKnoepfe() {
    connect(ButtonAendernMZDateiAttribut, &QPushButton::clicked, this,
            &TFormHaupt::ButtonAendernMZDateiAttributClick);
    connect(ButtonAendernMZDateiName, &QPushButton::clicked, this,
            &TFormHaupt::ButtonAendernMZDateiNameClick);
    connect(ButtonAendernMZLadeAdresse, &QPushButton::clicked, this,
            &TFormHaupt::ButtonAendernMZLadeAdresseClick);
    connect(ButtonAendernMZStartAdresse, &QPushButton::clicked, this,
            &TFormHaupt::ButtonAendernMZStartAdresseClick);
    connect(ButtonAendernMZKommentar, &QPushButton::clicked, this,
            &TFormHaupt::ButtonAendernMZKommentarClick);
}

// The window keeps its designed size unless the texts of the language need more room.
void TFormHaupt::PasseGroesseAn() {
    const QSize panel = PanelMZFDatei->minimumSizeHint();
    const int breite = qMax(DesignBreite, panel.width());
    const int hoehe = qMax(DesignHoehe, panel.height() + PanelStatusLeiste->height());
    setFixedSize(breite, hoehe + menuBar()->sizeHint().height());
    if (layout())
        layout()->activate();
    if (!m_schiffPlatziert)
        PlatziereSchiff();
}

void TFormHaupt::PlatziereSchiff() {
    const int frei = m_arbeitsflaeche->height() - PanelStatusLeiste->height();
    ImageMZSchiff->move(m_arbeitsflaeche->width() - MZSchiffGroesse - SchiffRand,
                        frei - MZSchiffGroesse - SchiffRand);
    ImageMZSchiff->raise();
}

void TFormHaupt::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormHaupt::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TFormHaupt::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TFormHaupt::eventFilter(QObject* objekt, QEvent* event) {
    if (objekt == ImageMZSchiff && event->type() == QEvent::MouseButtonDblClick) {
        ImageMZSchiffDblClick();
        return true;
    }
    return QMainWindow::eventFilter(objekt, event);
}

void TFormHaupt::FormShow() {
    int x = 0;
    int y = 0;
    LiesFormHauptPosition(x, y);
    move(x, y);
    HalteFormAufBildschirm(this);
    SetzeTexte();
    if (!g_kommandozeileAusgewertet) {
        if (!g_argumente.isEmpty()) {
            // The record reports its own failure; the window then shows that nothing is loaded.
            NimmDatei(QDir::cleanPath(QDir::current().absoluteFilePath(g_argumente.first())));
        }
        g_kommandozeileAusgewertet = true;
    }
    AktualisiereAnzeige(true);
}

bool TFormHaupt::NimmDatei(const QString& pv_pfad) {
    if (Datei->IstGeladen() || Beschaeftigt)
        return false;
    switch (DateiArtVonEndung(pv_pfad)) {
    case TDateiArt::MZT:
        Datei->ImportMZT(pv_pfad, AuswahlDialog(this));
        break;
    case TDateiArt::WAV:
        Datei->ImportWAV(pv_pfad, AuswahlDialog(this));
        break;
    case TDateiArt::MZF:
    case TDateiArt::Unbekannt: // a name on the command line is an MZF file, whatever it is called
        Datei->Laden(pv_pfad);
        break;
    }
    AktualisiereAnzeige(true);
    return true;
}

std::optional<QString> TFormHaupt::GezogeneDatei(const QMimeData* daten) const {
    if (Datei->IstGeladen() || Beschaeftigt || !daten || !daten->hasUrls() || daten->urls().isEmpty())
        return std::nullopt;
    // Of several files the first counts.
    const QUrl url = daten->urls().first();
    if (!url.isLocalFile() || DateiArtVonEndung(url.toLocalFile()) == TDateiArt::Unbekannt)
        return std::nullopt;
    return url.toLocalFile();
}

void TFormHaupt::dragEnterEvent(QDragEnterEvent* event) {
    if (GezogeneDatei(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFormHaupt::dropEvent(QDropEvent* event) {
    const std::optional<QString> pfad = GezogeneDatei(event->mimeData());
    if (!pfad) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Taken after the drop has ended, so that the program the file came from is not kept waiting
    // through a long import.
    QMetaObject::invokeMethod(
        this, [this, datei = *pfad] { NimmDatei(datei); }, Qt::QueuedConnection);
}

void TFormHaupt::FormHide() {
    const QPoint ort = pos();
    SchreibeEinstellung([&] { SchreibeFormHauptPosition(ort.x(), ort.y()); });
}

bool TFormHaupt::FormCloseQuery() {
    if (Beschaeftigt) {
        if (FrageWarnung(HoleText(QStringLiteral("Warnung_ProgrammBeschaeftigt")), false) == TAntwort::Ja)
            Plattform().BeendeSofort(0);
        return false;
    }
    if (Datei->IstGeaendert()) {
        switch (FrageWarnung(HoleText(QStringLiteral("Warnung_MZFDateiNichtGespeichert")), true)) {
        case TAntwort::Ja:
            return SpeichereDatei(false);
        case TAntwort::Nein:
            return true;
        case TAntwort::Abbrechen:
            return false;
        }
    }
    return true;
}

void TFormHaupt::SetzeTexte() {
    WendeQtUebersetzungAn();
    setWindowTitle(QStringLiteral("Bandwerk"));
    const QString vor = QStringLiteral("FormHaupt_");
    for (QWidget* w : std::initializer_list<QWidget*>{
             LabelMZDateiAttribut, LabelMZDateiName, LabelMZDateiGroesse, LabelMZLadeAdresse,
             LabelMZStartAdresse, LabelMZKommentar, LabelMZDateiRumpf}) {
        static_cast<QLabel*>(w)->setText(HoleText(vor + w->objectName()));
    }
    for (QPushButton* knopf :
         {ButtonAendernMZDateiAttribut, ButtonAendernMZDateiName, ButtonAendernMZLadeAdresse,
          ButtonAendernMZStartAdresse, ButtonAendernMZKommentar}) {
        knopf->setText(HoleText(vor + knopf->objectName()));
    }
    for (QLabel* label : {LabelHex1, LabelHex2, LabelHex3})
        label->setText(HoleText(QStringLiteral("Hexadezimal")));
    for (QLabel* label : {LabelDez1, LabelDez2, LabelDez3})
        label->setText(HoleText(QStringLiteral("Dezimal")));
    LabelStatusLeiste->clear();
    m_inhaltsAnsicht->SetzeTexte();
    for (QMenu* menue : {MenueHaupt_Datei, MenueHaupt_ImportExport, MenueHaupt_Extras, MenueHaupt_Hilfe}) {
        menue->setTitle(HoleText(menue->objectName()));
        for (QAction* eintrag : menue->actions())
            if (!eintrag->isSeparator())
                eintrag->setText(HoleText(eintrag->objectName()));
    }
    for (int i = 0; i < AnzahlDialoge; ++i) {
        const QString name = vor + QLatin1String(DialogArten[i].name);
        m_dateiDialoge[i].titel = HoleText(name + QStringLiteral("_Titel"));
        m_dateiDialoge[i].filter = HoleText(name + QStringLiteral("_Filter"));
    }
    PasseGroesseAn();
}

void TFormHaupt::AktualisiereAnzeige(bool pv_felderLeeren) {
    if (pv_felderLeeren) {
        for (QLineEdit* edit :
             {EditMZDateiAttribut, EditMZDateiName, EditMZDateiGroesse, EditMZDateiGroesseDez,
              EditMZLadeAdresse, EditMZLadeAdresseDez, EditMZStartAdresse, EditMZStartAdresseDez})
            edit->clear();
        MemoMZKommentar->clear();
        MemoMZDateiRumpf->clear();
    }
    const bool geladen = Datei->IstGeladen();
    MenueHaupt_Datei_Oeffnen->setEnabled(!geladen);
    MenueHaupt_ImportExport_ImportMZT->setEnabled(!geladen);
    MenueHaupt_ImportExport_ImportWAV->setEnabled(!geladen);
    MenueHaupt_Datei_Schliessen->setEnabled(geladen);
    MenueHaupt_Datei_Speichern->setEnabled(geladen);
    MenueHaupt_Datei_SpeichernUnter->setEnabled(geladen);
    MenueHaupt_ImportExport_ExportMZT->setEnabled(geladen);
    MenueHaupt_ImportExport_ExportWAV->setEnabled(geladen);
    if (MenueHaupt_ImportExport_Abspielen)
        MenueHaupt_ImportExport_Abspielen->setEnabled(geladen);
    MenueHaupt_Extras_Einstellungen->setEnabled(true);
    MenueHaupt_Hilfe_Kurzanleitung->setEnabled(true);
    MenueHaupt_Hilfe_VersionsHistorie->setEnabled(true);
    MenueHaupt_Hilfe_UeberDiesesProgramm->setEnabled(true);

    QPalette farben = m_arbeitsflaeche->palette();
    if (geladen) {
        const QString pfad = Datei->HoleDateiPfad();
        setWindowTitle(QStringLiteral("Bandwerk - ") +
                       (pfad.isEmpty()
                            ? HoleText(QStringLiteral("DateiNameKeinName")) + QStringLiteral(".mzf")
                            : QDir::toNativeSeparators(pfad)));
        ImageMZSchiff->hide();
        farben.setColor(QPalette::Window, palette().color(QPalette::Button));
        m_arbeitsflaeche->setPalette(farben);
        PanelMZFDatei->show();

        const std::uint8_t attribut = Datei->HoleMZDateiAttribut();
        EditMZDateiAttribut->setText(TMZFDatei::HoleMZDateiAttributText(attribut) + QStringLiteral(" (") +
                                     HexMitDollar(attribut, HexZiffernAttribut) + QLatin1Char(')'));
        EditMZDateiName->setText(Datei->HoleMZDateiName());
        const auto zeigeZahl = [](QLineEdit* hex, QLineEdit* dez, std::uint16_t wert) {
            hex->setText(HexMitDollar(wert, HexZiffernAdresse));
            dez->setText(QString::number(wert));
        };
        zeigeZahl(EditMZDateiGroesse, EditMZDateiGroesseDez, Datei->HoleMZDateiGroesse());
        zeigeZahl(EditMZLadeAdresse, EditMZLadeAdresseDez, Datei->HoleMZLadeAdresse());
        zeigeZahl(EditMZStartAdresse, EditMZStartAdresseDez, Datei->HoleMZStartAdresse());
        MemoMZKommentar->setPlainText(Datei->HoleMZKommentar());
        m_inhaltsAnsicht->Zeige(*Datei, pv_felderLeeren);
    } else {
        setWindowTitle(QStringLiteral("Bandwerk"));
        farben.setColor(QPalette::Window, palette().color(QPalette::Dark));
        m_arbeitsflaeche->setPalette(farben);
        PanelMZFDatei->hide();
        ImageMZSchiff->show();
        ImageMZSchiff->raise();
    }
    if (!PanelMZFDatei->isHidden() && pv_felderLeeren)
        EditMZDateiAttribut->setFocus();
}

QString TFormHaupt::DateinamenVorschlag() const {
    const QString pfad = Datei->HoleDateiPfad();
    if (!pfad.isEmpty())
        return QFileInfo(pfad).completeBaseName();
    return BereinigeDateiname(Datei->HoleMZDateiName());
}

std::optional<QString> TFormHaupt::ZeigeDateiDialog(TDialog pv_dialog, const QString& pv_vorschlag) {
    TDateiDialog dialog = m_dateiDialoge[pv_dialog];
    dialog.startVerzeichnis = DialogArten[pv_dialog].liesVerzeichnis();
    dialog.vorschlag = pv_vorschlag;
    std::optional<QString> pfad = Plattform().DateiDialogZeigen(dialog);
    if (!pfad || pfad->isEmpty())
        return std::nullopt;
    // Stored before the record works with the file, so that a failure still remembers the place;
    // a folder that does not exist is no place to remember.
    const QString verzeichnis = VerzeichnisVon(*pfad);
    if (QFileInfo(verzeichnis).isDir())
        SchreibeEinstellung([&] { DialogArten[pv_dialog].schreibeVerzeichnis(verzeichnis); });
    return pfad;
}

bool TFormHaupt::SpeichereDatei(bool pv_speichernUnter) {
    if (!Datei->IstGeladen()) {
        ZeigeFehler(HoleText(QStringLiteral("Fehler_KeineMZFDateiGeladen")));
        return false;
    }
    QString ziel = Datei->HoleDateiPfad();
    if (pv_speichernUnter || ziel.isEmpty()) {
        const std::optional<QString> gewaehlt = ZeigeDateiDialog(SaveDialogMZFDatei, DateinamenVorschlag());
        if (!gewaehlt)
            return false;
        ziel = *gewaehlt;
    }
    if (!Datei->Speichern(ziel))
        return false;
    AktualisiereAnzeige(false);
    return true;
}

void TFormHaupt::DateiBeiBeginn(TMZFDatei*) {
    Beschaeftigt = true;
    for (QMenu* menue : {MenueHaupt_Datei, MenueHaupt_ImportExport, MenueHaupt_Extras, MenueHaupt_Hilfe})
        menue->menuAction()->setEnabled(false);
    PanelMZFDatei->setEnabled(false);
    LabelStatusLeiste->setText(HoleText(QStringLiteral("FormHaupt_StatusBar_BitteWarten")));
    ProgressBarStatusLeiste->setValue(0);
    Plattform().VerarbeiteEreignisse();
}

void TFormHaupt::DateiBeiFortschritt(TMZFDatei*, double prozent) {
    // Rounded to the nearest whole percent, ties to even (the default rounding mode).
    long wert = std::isfinite(prozent) ? std::lrint(prozent) : 0;
    ProgressBarStatusLeiste->setValue(static_cast<int>(qBound(0L, wert, long(ProzentMax))));
    Plattform().VerarbeiteEreignisse();
}

void TFormHaupt::DateiBeiEnde(TMZFDatei*) {
    Plattform().VerarbeiteEreignisse();
    LabelStatusLeiste->clear();
    ProgressBarStatusLeiste->setValue(0);
    for (QMenu* menue : {MenueHaupt_Datei, MenueHaupt_ImportExport, MenueHaupt_Extras, MenueHaupt_Hilfe})
        menue->menuAction()->setEnabled(true);
    PanelMZFDatei->setEnabled(true);
    Beschaeftigt = false;
    repaint();
}

void TFormHaupt::MenueHaupt_Datei_OeffnenClick() {
    const std::optional<QString> pfad = ZeigeDateiDialog(OpenDialogMZFDatei);
    if (!pfad)
        return;
    Datei->Laden(*pfad);
    AktualisiereAnzeige(true);
}

void TFormHaupt::MenueHaupt_Datei_SchliessenClick() {
    if (Datei->IstGeaendert()) {
        switch (FrageWarnung(HoleText(QStringLiteral("Warnung_MZFDateiNichtGespeichert")), true)) {
        case TAntwort::Abbrechen:
            return;
        case TAntwort::Ja:
            if (!SpeichereDatei(false))
                return;
            break;
        case TAntwort::Nein:
            break;
        }
    }
    Datei->Schliessen();
    AktualisiereAnzeige(true);
}

void TFormHaupt::MenueHaupt_Datei_SpeichernClick() {
    SpeichereDatei(false);
}

void TFormHaupt::MenueHaupt_Datei_SpeichernUnterClick() {
    SpeichereDatei(true);
}

void TFormHaupt::MenueHaupt_Datei_BeendenClick() {
    close();
}

void TFormHaupt::MenueHaupt_ImportExport_ImportMZTClick() {
    const std::optional<QString> pfad = ZeigeDateiDialog(OpenDialogMZTDatei);
    if (!pfad)
        return;
    Datei->ImportMZT(*pfad, AuswahlDialog(this));
    AktualisiereAnzeige(true);
}

void TFormHaupt::MenueHaupt_ImportExport_ImportWAVClick() {
    const std::optional<QString> pfad = ZeigeDateiDialog(OpenDialogWAVDatei);
    if (!pfad)
        return;
    // Busy state and progress bar come with the record's events; several files found are
    // offered in the selection dialog.
    Datei->ImportWAV(*pfad, AuswahlDialog(this));
    AktualisiereAnzeige(true);
}

void TFormHaupt::MenueHaupt_ImportExport_ExportMZTClick() {
    const std::optional<QString> pfad = ZeigeDateiDialog(SaveDialogMZTDatei, DateinamenVorschlag());
    if (pfad)
        Datei->ExportMZT(*pfad);
}

void TFormHaupt::MenueHaupt_ImportExport_ExportWAVClick() {
    const std::optional<QString> pfad = ZeigeDateiDialog(SaveDialogWAVDatei, DateinamenVorschlag());
    if (pfad)
        Datei->ExportWAV(*pfad);
}

void TFormHaupt::MenueHaupt_Extras_EinstellungenClick() {
    {
        TFormEinstellungen dialog(this);
        dialog.exec();
    }
    // Confirmed or not: the language may have changed.
    SetzeTexte();
    AktualisiereAnzeige(false);
}

void TFormHaupt::MenueHaupt_Hilfe_KurzanleitungClick() {
    TFormKurzanleitung fenster(this);
    fenster.exec();
}

void TFormHaupt::MenueHaupt_Hilfe_VersionsHistorieClick() {
    TFormVersionsHistorie fenster(this);
    fenster.exec();
}

void TFormHaupt::MenueHaupt_Hilfe_UeberDiesesProgrammClick() {
    TFormUeberDiesesProgramm fenster(this);
    fenster.exec();
}

void TFormHaupt::AendereFeld(QDialog& pv_dialog, QWidget* pv_feld, const std::function<void()>& uebernehme) {
    if (pv_dialog.exec() == QDialog::Accepted) {
        uebernehme();
        AktualisiereAnzeige(false);
    }
    pv_feld->setFocus();
}

void TFormHaupt::ButtonAendernMZDateiAttributClick() {
    TFormAendernMZDateiAttribut dialog(this, Datei->HoleMZDateiAttribut());
    AendereFeld(dialog, EditMZDateiAttribut,
                [&] { Datei->SetzeMZDateiAttribut(dialog.GewaehltesAttribut()); });
}

void TFormHaupt::ButtonAendernMZDateiNameClick() {
    TFormAendernMZDateiName dialog(this, Datei->HoleMZDateiName());
    AendereFeld(dialog, EditMZDateiName, [&] { Datei->SetzeMZDateiName(dialog.EditMZDateiName->text()); });
}

void TFormHaupt::ButtonAendernMZLadeAdresseClick() {
    TFormAendernMZLadeAdresse dialog(this, Datei->HoleMZLadeAdresse(), Datei->HoleMZDateiGroesse());
    AendereFeld(dialog, EditMZLadeAdresse, [&] {
        if (const auto adresse = AdresseAusText(dialog.EditMZLadeAdresse->text()))
            Datei->SetzeMZLadeAdresse(*adresse);
    });
}

void TFormHaupt::ButtonAendernMZStartAdresseClick() {
    TFormAendernMZStartAdresse dialog(this, Datei->HoleMZStartAdresse());
    AendereFeld(dialog, EditMZStartAdresse, [&] {
        if (const auto adresse = AdresseAusText(dialog.EditMZStartAdresse->text()))
            Datei->SetzeMZStartAdresse(*adresse);
    });
}

void TFormHaupt::ButtonAendernMZKommentarClick() {
    TFormAendernMZKommentar dialog(this, Datei->HoleMZKommentar());
    AendereFeld(dialog, MemoMZKommentar,
                [&] { Datei->SetzeMZKommentar(dialog.MemoMZKommentar->toPlainText()); });
}

void TFormHaupt::ImageMZSchiffDblClick() {
    const int breite = m_arbeitsflaeche->width();
    const int hoehe = m_arbeitsflaeche->height() - PanelStatusLeiste->height();
    const int links = ZufallsZahl(qMax(1, breite - MZSchiffGroesse + 1));
    const int oben = ZufallsZahl(qMax(1, hoehe - MZSchiffGroesse + 1));
    ImageMZSchiff->move(links, oben);
    m_schiffPlatziert = true;
}
