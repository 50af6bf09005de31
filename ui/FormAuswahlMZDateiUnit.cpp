#include "FormAuswahlMZDateiUnit.h"

#include "Fensterplatz.h"
#include "FormBandansichtUnit.h"
#include "Plattform.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <stdexcept>

namespace {
// Client area as designed; a longer language may need more room (see FormShow).
constexpr int DesignBreite = 321;
constexpr int DesignHoehe = 361;
constexpr int Rand = 8;
constexpr int ListeHoehe = 201;
constexpr int HinweisHoehe = 42;
constexpr int KnopfBreite = 75;
constexpr int SpeichernKnopfBreite = 139;
constexpr int KnopfHoehe = 25;

const QString FormName = QStringLiteral("FormAuswahlMZDatei");

QString Text(const QString& steuerelement) {
    return HoleText(FormName + QLatin1Char('_') + steuerelement);
}

QLabel* Hinweis(QWidget* eltern, const QString& name) {
    auto* label = new QLabel(eltern);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMinimumHeight(HinweisHoehe);
    return label;
}

QPushButton* Knopf(QWidget* eltern, const QString& name, int breite) {
    auto* knopf = new QPushButton(eltern);
    knopf->setObjectName(name);
    // At least the designed size; a longer caption widens the button instead of being clipped.
    knopf->setMinimumSize(breite, KnopfHoehe);
    knopf->setAutoDefault(false);
    return knopf;
}

const std::vector<std::unique_ptr<TMZFDatei>>&
MindestensEine(const std::vector<std::unique_ptr<TMZFDatei>>& liste) {
    if (liste.empty())
        throw std::invalid_argument("Parameter pv_mzDateien must contain at least one element");
    return liste;
}
} // namespace

TFormAuswahlMZDatei::TFormAuswahlMZDatei(QWidget* pv_owner,
                                         const std::vector<std::unique_ptr<TMZFDatei>>& pv_mzDateien,
                                         TDateiArt pv_quelle, const QString& pv_aufnahme)
    : QDialog(pv_owner), m_quelle(pv_quelle), m_aufnahme(pv_aufnahme) {
    for (const auto& datei : MindestensEine(pv_mzDateien))
        m_mzDateien.push_back(datei.get());

    setObjectName(FormName);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    LabelMZDateien = new QLabel(this);
    LabelMZDateien->setObjectName(QStringLiteral("LabelMZDateien"));
    ListBoxMZDateien = new QListWidget(this);
    ListBoxMZDateien->setObjectName(QStringLiteral("ListBoxMZDateien"));
    ListBoxMZDateien->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBoxMZDateien->setFixedHeight(ListeHoehe);
    LabelMZDateien->setBuddy(ListBoxMZDateien);
    LabelHinweisImport = Hinweis(this, QStringLiteral("LabelHinweisImport"));
    LabelHinweisSpeichernAlsMZFDatei = Hinweis(this, QStringLiteral("LabelHinweisSpeichernAlsMZFDatei"));
    ButtonImport = Knopf(this, QStringLiteral("ButtonImport"), KnopfBreite);
    ButtonImport->setDefault(true);
    ButtonSpeichernAlsMZFDatei =
        Knopf(this, QStringLiteral("ButtonSpeichernAlsMZFDatei"), SpeichernKnopfBreite);
    ButtonAbbrechen = Knopf(this, QStringLiteral("ButtonAbbrechen"), KnopfBreite);
    ButtonBandansicht = Knopf(this, QStringLiteral("ButtonBandansicht"), KnopfBreite);
    ButtonBandansicht->setVisible(!m_aufnahme.isEmpty());

    auto* knoepfe = new QHBoxLayout;
    knoepfe->setSpacing(Rand);
    knoepfe->addWidget(ButtonImport);
    knoepfe->addWidget(ButtonSpeichernAlsMZFDatei);
    knoepfe->addStretch();
    knoepfe->addWidget(ButtonAbbrechen);

    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(Rand, Rand, Rand, Rand);
    spalte->setSpacing(Rand);
    spalte->addWidget(LabelMZDateien);
    spalte->addWidget(ListBoxMZDateien);
    spalte->addWidget(LabelHinweisImport);
    spalte->addWidget(LabelHinweisSpeichernAlsMZFDatei);
    spalte->addStretch();
    if (!m_aufnahme.isEmpty())
        spalte->addWidget(ButtonBandansicht, 0, Qt::AlignLeft);
    spalte->addLayout(knoepfe);

    setTabOrder(ListBoxMZDateien, ButtonImport);
    setTabOrder(ButtonImport, ButtonSpeichernAlsMZFDatei);
    setTabOrder(ButtonSpeichernAlsMZFDatei, ButtonAbbrechen);
    setTabOrder(ButtonAbbrechen, ButtonBandansicht);

    // Escape rejects the dialog as QDialog does by itself.
    connect(ButtonImport, &QPushButton::clicked, this, &TFormAuswahlMZDatei::ButtonImportClick);
    connect(ButtonAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonSpeichernAlsMZFDatei, &QPushButton::clicked, this,
            &TFormAuswahlMZDatei::ButtonSpeichernAlsMZFDateiClick);
    connect(ButtonBandansicht, &QPushButton::clicked, this, &TFormAuswahlMZDatei::ButtonBandansichtClick);
}

void TFormAuswahlMZDatei::ButtonBandansichtClick() {
    int wahl = -1;
    TFormBandansicht fenster(this, [this, &wahl](const TMZFDatei& datei) {
        for (std::size_t i = 0; i < m_mzDateien.size() && wahl < 0; ++i)
            if (m_mzDateien[i]->IstGleich(datei))
                wahl = static_cast<int>(i);
        return wahl >= 0;
    });
    fenster.show();
    if (!fenster.LiesAufnahme(m_aufnahme) || fenster.exec() != QDialog::Accepted || wahl < 0)
        return;
    ListBoxMZDateien->setCurrentRow(wahl);
    accept();
}

void TFormAuswahlMZDatei::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormAuswahlMZDatei::FormShow() {
    SetzeTexte();
    // Placement needs the final size, which the texts decide: the button row may need more width
    // than designed in a longer language, the wrapped hints more height.
    const std::pair<QPushButton*, int> knoepfe[] = {{ButtonImport, KnopfBreite},
                                                    {ButtonSpeichernAlsMZFDatei, SpeichernKnopfBreite},
                                                    {ButtonAbbrechen, KnopfBreite}};
    for (const auto& [knopf, designBreite] : knoepfe)
        knopf->setMinimumWidth(qMax(designBreite, knopf->sizeHint().width()));
    layout()->activate();
    const int breite = qMax(DesignBreite, layout()->minimumSize().width());
    int hoehe = DesignHoehe;
    if (layout()->hasHeightForWidth())
        hoehe = qMax(hoehe, layout()->totalHeightForWidth(breite));
    setFixedSize(breite, hoehe);
    ZentriereFormUeber(this, parentWidget());
    HalteFormAufBildschirm(this);

    ListBoxMZDateien->clear();
    for (const TMZFDatei* datei : m_mzDateien) {
        QString zeile = datei->HoleMZDateiName() + QStringLiteral(" (") +
                        QString::number(datei->HoleMZDateiGroesse()) + QLatin1Char(' ') +
                        HoleText(QStringLiteral("EinheitBytes")) + QLatin1Char(')');
        // A file not recovered whole from a worn tape says so beside its name.
        if (const QString zustand = ZustandText(datei->HoleBefund()); !zustand.isEmpty())
            zeile += QStringLiteral(" \u2013 ") + zustand;
        ListBoxMZDateien->addItem(zeile);
    }
    ListBoxMZDateien->setCurrentRow(0);
    ListBoxMZDateien->setFocus();
}

void TFormAuswahlMZDatei::SetzeTexte() {
    setWindowTitle(HoleText(FormName));
    for (QLabel* label : {LabelMZDateien, LabelHinweisImport, LabelHinweisSpeichernAlsMZFDatei})
        label->setText(Text(label->objectName()));
    // The list names the kind of file it comes from.
    if (m_quelle == TDateiArt::MZT)
        LabelMZDateien->setText(Text(QStringLiteral("LabelMZDateien_MZT")));
    for (QPushButton* knopf : {ButtonImport, ButtonSpeichernAlsMZFDatei, ButtonAbbrechen, ButtonBandansicht})
        knopf->setText(Text(knopf->objectName()));
}

int TFormAuswahlMZDatei::AusgewaehlterIndex() const {
    // The list can keep a current line whose selection the user has taken away (Ctrl+click).
    const QList<QListWidgetItem*> gewaehlt = ListBoxMZDateien->selectedItems();
    if (gewaehlt.isEmpty())
        return 0;
    const int zeile = ListBoxMZDateien->row(gewaehlt.first());
    return zeile >= 0 && zeile < static_cast<int>(m_mzDateien.size()) ? zeile : 0;
}

TMZFDatei* TFormAuswahlMZDatei::AusgewaehlteMZDatei() const {
    return m_mzDateien[static_cast<std::size_t>(AusgewaehlterIndex())];
}

void TFormAuswahlMZDatei::ButtonImportClick() {
    const TMZFDatei* datei = AusgewaehlteMZDatei();
    if (BeschaedigteDateiNehmen(datei->HoleMZDateiName(), datei->HoleBefund()))
        accept();
}

void TFormAuswahlMZDatei::ButtonSpeichernAlsMZFDateiClick() {
    TMZFDatei* datei = AusgewaehlteMZDatei();
    if (!BeschaedigteDateiNehmen(datei->HoleMZDateiName(), datei->HoleBefund()))
        return;
    TDateiDialog SaveDialogMZFDatei;
    SaveDialogMZFDatei.speichern = true;
    SaveDialogMZFDatei.titel = Text(QStringLiteral("SaveDialogMZFDatei_Titel"));
    SaveDialogMZFDatei.filter = Text(QStringLiteral("SaveDialogMZFDatei_Filter"));
    SaveDialogMZFDatei.standardErweiterung = QStringLiteral("mzf");
    SaveDialogMZFDatei.startVerzeichnis = LiesVerzeichnisMZFDateien();
    const QString pfad = datei->HoleDateiPfad();
    SaveDialogMZFDatei.vorschlag =
        pfad.isEmpty() ? BereinigeDateiname(datei->HoleMZDateiName()) : QFileInfo(pfad).completeBaseName();

    const std::optional<QString> gewaehlt = Plattform().DateiDialogZeigen(SaveDialogMZFDatei);
    if (!gewaehlt)
        return;
    try {
        const QString verzeichnis = QFileInfo(*gewaehlt).absolutePath();
        if (QFileInfo(verzeichnis).isDir()) // a folder that does not exist is no place to remember
            SchreibeVerzeichnisMZFDateien(verzeichnis);
    } catch (const TEinstellungenFehler& fehler) {
        // A settings store that cannot be written does not keep the file from being saved.
        ZeigeFehler(fehler.Text());
    }
    if (datei->Speichern(*gewaehlt))
        ZeigeInfo(HoleTextMitParametern(QStringLiteral("Info_DateiWurdeGespeichert"), *gewaehlt));
}

TMZFDatei::TAuswahl AuswahlDialog(QWidget* pv_aufruferForm, TDateiArt pv_quelle, const QString& pv_aufnahme) {
    return [pv_aufruferForm, pv_quelle, pv_aufnahme](const std::vector<std::unique_ptr<TMZFDatei>>& dateien) {
        TFormAuswahlMZDatei dialog(pv_aufruferForm, dateien, pv_quelle, pv_aufnahme);
        return dialog.exec() == QDialog::Accepted ? dialog.AusgewaehlterIndex() : -1;
    };
}
