// The main window's life cycle, texts, display state and busy state. Its menu, file flows and
// field panel are built and run in FormHauptMenue.cpp, FormHauptDateien.cpp and FormHauptPanel.cpp.
#include "FormHauptUnit.h"

#include "Fensterplatz.h"
#include "FormHauptIntern.h"
#include "Ganzzahl.h"
#include "InhaltsAnsicht.h"
#include "MZFDatei.h"
#include "MZSchiff.h"
#include "PlattformDesktop.h"
#include "SprachenTexte.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <chrono>
#include <cmath>
#include <random>

using namespace FormHauptIntern;

namespace {
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
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
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
    if (objekt == m_arbeitsflaeche && event->type() == QEvent::Resize) {
        // The ship keeps its distance to the right and bottom edges.
        const auto* groesse = static_cast<QResizeEvent*>(event);
        if (groesse->oldSize().isValid()) {
            const QSize um = groesse->size() - groesse->oldSize();
            const QPoint ort = ImageMZSchiff->pos() + QPoint(um.width(), um.height());
            ImageMZSchiff->move(qMax(0, ort.x()), qMax(0, ort.y()));
        }
    }
    return QMainWindow::eventFilter(objekt, event);
}

void TFormHaupt::FormShow() {
    StelleLageWiederHer();
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

// Position and size as the last run left them (the top-left corner and the designed size at the
// first start), then onto the screen: a window larger than the screen is made smaller, down to
// what its fields need.
void TFormHaupt::StelleLageWiederHer() {
    int x = 0;
    int y = 0;
    LiesFormHauptPosition(x, y);
    if (const std::optional<QSize> groesse = LiesFormHauptGroesse())
        resize(groesse->expandedTo(minimumSize()));
    if (const QScreen* bildschirm = QGuiApplication::primaryScreen())
        resize(PasseAnBildschirm(size(), frameGeometry().size() - size(), minimumSize(),
                                 bildschirm->availableGeometry().size()));
    // Some window managers add the frame only after the window is shown, so that a frame position
    // given now would place the client area there. The client area goes where it stood, by the
    // frame of the last run.
    if (const std::optional<QPoint> rand = LiesFormHauptRand())
        setGeometry(QRect(QPoint(x, y) + *rand, size()));
    else
        move(x, y);
    HalteFormAufBildschirm(this);
    m_groesseGewaehlt = true;
}

void TFormHaupt::FormHide() {
    const QPoint ort = pos();
    const QPoint rand = geometry().topLeft() - ort;
    const QSize groesse = size();
    SchreibeEinstellung([&] { SchreibeFormHauptLage(ort.x(), ort.y(), rand, groesse); });
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
    MenueHaupt_ImportExport_Bandansicht->setEnabled(true);
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

void TFormHaupt::ImageMZSchiffDblClick() {
    const int breite = m_arbeitsflaeche->width();
    const int hoehe = m_arbeitsflaeche->height() - PanelStatusLeiste->height();
    const int links = ZufallsZahl(qMax(1, breite - MZSchiffGroesse + 1));
    const int oben = ZufallsZahl(qMax(1, hoehe - MZSchiffGroesse + 1));
    ImageMZSchiff->move(links, oben);
    m_schiffPlatziert = true;
}
