#include "InhaltsAnsicht.h"

#include "BandMeldung.h"
#include "BasicListe.h"
#include "Ganzzahl.h"
#include "MZFDatei.h"
#include "ProgrammEinstellungen.h"
#include "SichereDatei.h"
#include "SprachenTexte.h"
#include "Z80Disassembler.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
const QString FormName = QStringLiteral("FormHaupt");
constexpr std::uint8_t AttributMaschinencode = 0x01;
constexpr std::uint8_t AttributMZ80Basic = 0x02;
constexpr std::uint8_t AttributSBasic = 0x05;
constexpr int Abstand = 6;
constexpr int MinDialektZeichen = 16;
// The entries of the view box, in the order of TInhaltsAnsicht::TAnsicht.
const char* const AnsichtNamen[] = {"ComboBoxAnsicht_Hex", "ComboBoxAnsicht_Basic", "ComboBoxAnsicht_Z80"};

QString FensterText(const QString& name) {
    return HoleText(FormName + QLatin1Char('_') + name);
}

// The code offset as the user types it: decimal, or hexadecimal after "$" or "0x".
class TZahlFeld : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    int valueFromText(const QString& text) const override { return TextNachGanzzahl(text).value_or(value()); }
    QValidator::State validate(QString& text, int&) const override {
        const QString t = text.trimmed();
        if (t.isEmpty() || t == QLatin1String("$") ||
            t.compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0)
            return QValidator::Intermediate;
        const std::optional<qint32> zahl = TextNachGanzzahl(t);
        if (!zahl)
            return QValidator::Invalid;
        return *zahl >= minimum() && *zahl <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
    }
};

template <typename T> T* NeuesKind(QWidget* eltern, const char* name) {
    auto* kind = new T(eltern);
    kind->setObjectName(QLatin1String(name));
    return kind;
}

QLabel* NeuesLabel(QWidget* eltern, const char* name, QWidget* partner) {
    auto* label = NeuesKind<QLabel>(eltern, name);
    label->setBuddy(partner);
    return label;
}

// The field shows the lines without an empty one after the last.
QString OhneLetztenZeilenvorschub(const QString& text) {
    return text.endsWith(u'\n') ? text.chopped(1) : text;
}

TInhaltsAnsicht::TAnsicht AnsichtFuerAttribut(std::uint8_t attribut) {
    if (attribut == AttributMaschinencode)
        return TInhaltsAnsicht::TAnsicht::Z80;
    if (attribut == AttributMZ80Basic || attribut == AttributSBasic)
        return TInhaltsAnsicht::TAnsicht::Basic;
    return TInhaltsAnsicht::TAnsicht::Hex;
}
} // namespace

TInhaltsAnsicht::TInhaltsAnsicht(QWidget* pv_eltern, QPlainTextEdit* pv_memo)
    : QObject(pv_eltern), m_memo(pv_memo) {
    m_auswahl = NeuesKind<QWidget>(pv_eltern, "PanelInhaltsAnsicht");
    ComboBoxAnsicht = NeuesKind<QComboBox>(m_auswahl, "ComboBoxAnsicht");
    ComboBoxDialekt = NeuesKind<QComboBox>(m_auswahl, "ComboBoxDialekt");
    SpinEditCodeAnfang = NeuesKind<TZahlFeld>(m_auswahl, "SpinEditCodeAnfang");
    SpinEditCodeAnfang->setRange(0, TMZFDatei::MaxRumpfGroesse);
    SpinEditCodeAnfang->setKeyboardTracking(false);
    LabelAnsicht = NeuesLabel(m_auswahl, "LabelAnsicht", ComboBoxAnsicht);
    LabelDialekt = NeuesLabel(m_auswahl, "LabelDialekt", ComboBoxDialekt);
    LabelCodeAnfang = NeuesLabel(m_auswahl, "LabelCodeAnfang", SpinEditCodeAnfang);
    auto* zeile = new QHBoxLayout(m_auswahl);
    zeile->setContentsMargins(0, 0, 0, 0);
    zeile->setSpacing(Abstand);
    for (QWidget* w : std::initializer_list<QWidget*>{LabelAnsicht, ComboBoxAnsicht, LabelDialekt,
                                                      ComboBoxDialekt, LabelCodeAnfang, SpinEditCodeAnfang})
        zeile->addWidget(w, w == ComboBoxDialekt ? 1 : 0);
    // The dialect box takes the room there is, without making the window wider for its longest
    // name; the rest of the row stays empty while it is hidden.
    ComboBoxDialekt->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBoxDialekt->setMinimumContentsLength(MinDialektZeichen);
    zeile->addStretch(0);

    m_knoepfe = NeuesKind<QWidget>(pv_eltern, "PanelInhaltsKnoepfe");
    ButtonKopieren = NeuesKind<QPushButton>(m_knoepfe, "ButtonKopieren");
    ButtonSpeichernAlsText = NeuesKind<QPushButton>(m_knoepfe, "ButtonSpeichernAlsText");
    auto* spalte = new QVBoxLayout(m_knoepfe);
    spalte->setContentsMargins(0, 0, 0, 0);
    spalte->addWidget(ButtonKopieren);
    spalte->addWidget(ButtonSpeichernAlsText);
    spalte->addStretch(1);

    QWidget::setTabOrder(m_memo, ComboBoxAnsicht);
    QWidget::setTabOrder(ComboBoxAnsicht, ComboBoxDialekt);
    QWidget::setTabOrder(ComboBoxDialekt, SpinEditCodeAnfang);
    QWidget::setTabOrder(SpinEditCodeAnfang, ButtonKopieren);
    QWidget::setTabOrder(ButtonKopieren, ButtonSpeichernAlsText);

    const auto neu = [this] {
        if (!m_fuelltAus)
            ZeigeNeu();
    };
    connect(ComboBoxAnsicht, &QComboBox::currentIndexChanged, this, neu);
    connect(ComboBoxDialekt, &QComboBox::currentIndexChanged, this, neu);
    connect(SpinEditCodeAnfang, &QSpinBox::valueChanged, this, neu);
    connect(ButtonKopieren, &QPushButton::clicked, this, &TInhaltsAnsicht::ButtonKopierenClick);
    connect(ButtonSpeichernAlsText, &QPushButton::clicked, this,
            &TInhaltsAnsicht::ButtonSpeichernAlsTextClick);

    SaveDialogListing.speichern = true;
    SaveDialogListing.standardErweiterung = QStringLiteral("txt");
    m_fuelltAus = true;
    for (int i = 0; i <= AnzahlBasicDialekte; ++i)
        ComboBoxDialekt->addItem(i == 0 ? QString() : BasicDialektName(static_cast<TBasicDialekt>(i - 1)));
    for (const char* name : AnsichtNamen)
        ComboBoxAnsicht->addItem(FensterText(QLatin1String(name)));
    m_fuelltAus = false;
    ZeigeFelderDerAnsicht();
}

void TInhaltsAnsicht::SetzeAutomatikText() {
    ComboBoxDialekt->setItemText(
        0, HoleTextMitParametern(FormName + QStringLiteral("_ComboBoxDialekt_Automatisch"),
                                 BasicDialektName(m_erkannt)));
}

// The dialect belongs to the listing, the code offset to the disassembly.
void TInhaltsAnsicht::ZeigeFelderDerAnsicht() {
    const TAnsicht ansicht = Ansicht();
    LabelDialekt->setVisible(ansicht == TAnsicht::Basic);
    ComboBoxDialekt->setVisible(ansicht == TAnsicht::Basic);
    LabelCodeAnfang->setVisible(ansicht == TAnsicht::Z80);
    SpinEditCodeAnfang->setVisible(ansicht == TAnsicht::Z80);
}

TInhaltsAnsicht::TAnsicht TInhaltsAnsicht::Ansicht() const {
    return static_cast<TAnsicht>(std::max(0, ComboBoxAnsicht->currentIndex()));
}

void TInhaltsAnsicht::SetzeTexte() {
    LabelAnsicht->setText(FensterText(LabelAnsicht->objectName()));
    LabelDialekt->setText(FensterText(LabelDialekt->objectName()));
    LabelCodeAnfang->setText(FensterText(LabelCodeAnfang->objectName()));
    for (int i = 0; i < static_cast<int>(std::size(AnsichtNamen)); ++i)
        ComboBoxAnsicht->setItemText(i, FensterText(QLatin1String(AnsichtNamen[i])));
    ButtonKopieren->setText(FensterText(ButtonKopieren->objectName()));
    ButtonSpeichernAlsText->setText(FensterText(ButtonSpeichernAlsText->objectName()));
    SaveDialogListing.titel = FensterText(QStringLiteral("SaveDialogListing_Titel"));
    SaveDialogListing.filter = FensterText(QStringLiteral("SaveDialogListing_Filter"));
    // The field itself is filled anew by the window's refresh, which follows.
    SetzeAutomatikText();
}

void TInhaltsAnsicht::Zeige(const TMZFDatei& pv_datei, bool pv_neueDatei) {
    m_datei = &pv_datei;
    m_fuelltAus = true;
    if (pv_neueDatei) {
        ComboBoxAnsicht->setCurrentIndex(
            static_cast<int>(AnsichtFuerAttribut(pv_datei.HoleMZDateiAttribut())));
        ComboBoxDialekt->setCurrentIndex(0);
        SpinEditCodeAnfang->setValue(0);
    }
    SpinEditCodeAnfang->setMaximum(pv_datei.HoleMZDateiGroesse());
    m_fuelltAus = false;
    ZeigeNeu();
}

void TInhaltsAnsicht::ZeigeNeu() {
    if (!m_datei)
        return;
    const TAnsicht ansicht = Ansicht();
    ZeigeFelderDerAnsicht();

    const std::span<const std::uint8_t> rumpf(m_datei->Rumpf(), m_datei->HoleMZDateiGroesse());
    const std::uint16_t ladeAdresse = m_datei->HoleMZLadeAdresse();

    switch (ansicht) {
    case TAnsicht::Hex: {
        // The dump as it always was; the text for copy and save as `dump` writes it.
        const QString dump = m_datei->HoleMZDateiRumpfText();
        m_memo->setPlainText(dump);
        m_text = dump.isEmpty() ? QString()
                                : QString(dump).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n';
        break;
    }
    case TAnsicht::Basic: {
        // The detected dialect follows the header at once (attribute, load address).
        m_erkannt = ErkenneBasicDialekt(rumpf, m_datei->HoleMZDateiAttribut(), ladeAdresse);
        SetzeAutomatikText();
        const int wahl = ComboBoxDialekt->currentIndex();
        const TBasicListe liste =
            ListeBasic(rumpf, ladeAdresse, wahl > 0 ? static_cast<TBasicDialekt>(wahl - 1) : m_erkannt);
        m_text = liste.zeilen.isEmpty() ? QString() : liste.zeilen.join(u'\n') + u'\n';
        // A body that is no program of the dialect shows why, and there is nothing to copy.
        m_memo->setPlainText(liste.gueltig ? OhneLetztenZeilenvorschub(m_text)
                                           : BasicFehlerText(liste, ladeAdresse));
        break;
    }
    case TAnsicht::Z80:
        m_text =
            DisassembliereZ80(rumpf, ladeAdresse, m_datei->HoleMZStartAdresse(), SpinEditCodeAnfang->value());
        m_memo->setPlainText(OhneLetztenZeilenvorschub(m_text));
        break;
    }
    ButtonKopieren->setEnabled(!m_text.isEmpty());
    ButtonSpeichernAlsText->setEnabled(!m_text.isEmpty());
}

void TInhaltsAnsicht::ButtonKopierenClick() {
    QGuiApplication::clipboard()->setText(m_text);
}

void TInhaltsAnsicht::ButtonSpeichernAlsTextClick() {
    if (!m_datei || m_text.isEmpty())
        return;
    TDateiDialog dialog = SaveDialogListing;
    const QString pfad = m_datei->HoleDateiPfad();
    // Beside the file, named after it; a file without a path after its MZ name.
    dialog.startVerzeichnis = pfad.isEmpty() ? LiesVerzeichnisMZFDateien() : QFileInfo(pfad).absolutePath();
    dialog.vorschlag =
        pfad.isEmpty() ? BereinigeDateiname(m_datei->HoleMZDateiName()) : QFileInfo(pfad).completeBaseName();
    const std::optional<QString> ziel = Plattform().DateiDialogZeigen(dialog);
    if (!ziel || ziel->isEmpty())
        return;
    // UTF-8 on every system: the listing holds characters (pi, the yen sign) that no code page
    // of the MZ's time has.
    const QByteArray inhalt = m_text.toUtf8();
    TSichereDatei datei;
    if (!datei.Oeffnen(*ziel) || !datei.Schreibe(inhalt.constData(), inhalt.size()) ||
        !datei.Abschliessen()) {
        MeldeBandFehler(TBandFehler::Schreiben(QDir::toNativeSeparators(*ziel), datei.Fehlertext()));
        return;
    }
    ZeigeInfo(
        HoleTextMitParametern(QStringLiteral("Info_DateiWurdeGespeichert"), QDir::toNativeSeparators(*ziel)));
}
