// The main window's field panel: one row per header field with its change button, the body dump,
// the status line and the ship; the window's size follows what the panel needs.
#include "FormHauptUnit.h"

#include "AendernGemeinsam.h"
#include "FormAendernMZDateiAttributUnit.h"
#include "FormAendernMZDateiNameUnit.h"
#include "FormAendernMZKommentarUnit.h"
#include "FormAendernMZLadeAdresseUnit.h"
#include "FormAendernMZStartAdresseUnit.h"
#include "FormHauptIntern.h"
#include "Ganzzahl.h"
#include "InhaltsAnsicht.h"
#include "MZFDatei.h"
#include "MZSchiff.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace FormHauptIntern;

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
    m_arbeitsflaeche->installEventFilter(this);

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

QSize TFormHaupt::StandardGroesse() const {
    const QSize panel = PanelMZFDatei->minimumSizeHint();
    return {qMax(DesignBreite, panel.width()),
            qMax(DesignHoehe, panel.height() + PanelStatusLeiste->height()) + menuBar()->sizeHint().height()};
}

// The window opens in its designed size unless the texts of the language need more room. It can
// be made larger, the body view growing with it, and smaller down to what the fields need.
void TFormHaupt::PasseGroesseAn() {
    const QSize panel = PanelMZFDatei->minimumSizeHint();
    setMinimumSize(panel.width(),
                   panel.height() + PanelStatusLeiste->height() + menuBar()->sizeHint().height());
    resize(m_groesseGewaehlt ? size().expandedTo(minimumSize()) : StandardGroesse());
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

void TFormHaupt::AendereFeld(QDialog& pv_dialog, QWidget* pv_feld, const std::function<void()>& uebernehme) {
    if (pv_dialog.exec() == QDialog::Accepted) {
        uebernehme();
        AktualisiereAnzeige(false);
    }
    // The dialog has closed over a message box of its own: the window system need not give the
    // keyboard back to the main window by itself.
    activateWindow();
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
