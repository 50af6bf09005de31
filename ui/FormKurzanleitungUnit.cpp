#include "FormKurzanleitungUnit.h"

#include "HilfeGemeinsam.h"
#include "Plattform.h"
#include "ProgrammEinstellungen.h"
#include "SichereDatei.h"
#include "SprachenTexte.h"
#include "Zeilenumbruch.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStringEncoder>
#include <QVBoxLayout>

namespace {
constexpr QSize DesignGroesse(593, 420);
constexpr int Rand = 8;
const QString FormName = QStringLiteral("FormKurzanleitung");
const QString ZeilenEnde = QStringLiteral("\r\n");

QString Text(const QString& name) {
    return HoleText(FormName + QLatin1Char('_') + name);
}

// Writes the whole file or nothing (TSichereDatei); every failure is shown with the path and the
// system's reason.
bool SchreibeDateiSicher(const QString& pv_dateiName, const QByteArray& pv_inhalt) {
    TSichereDatei datei;
    if (!datei.Oeffnen(pv_dateiName) || !datei.Schreibe(pv_inhalt.constData(), pv_inhalt.size()) ||
        !datei.Abschliessen()) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_DateiSchreiben"),
                                          QDir::toNativeSeparators(pv_dateiName), datei.Fehlertext()));
        return false;
    }
    return true;
}

// Text files are UTF-8, except on Windows, where the system's code page is what editors expect.
QByteArray TextDateiBytes(const QString& pv_text) {
#ifdef Q_OS_WIN
    QStringEncoder kodierer(QStringConverter::System);
#else
    QStringEncoder kodierer(QStringConverter::Utf8);
#endif
    return kodierer.encode(pv_text);
}

// A head block framed by lines of "#", two empty lines, then the wrapped text, which gets no line
// end of its own after its last character.
QString DateiInhalt(const QString& pv_text) {
    const QString rahmen = QString(TextDateiSpalten, QLatin1Char('#'));
    const QStringList kopf = {rahmen,
                              QString(),
                              QStringLiteral("Bandwerk  ") + HoleText(QStringLiteral("ProgrammVersionText")),
                              QString(),
                              HoleText(QStringLiteral("ProgrammCopyright")),
                              QString(),
                              HoleText(QStringLiteral("Kurzanleitung")),
                              QString(),
                              rahmen,
                              QString(),
                              QString()};
    QString inhalt;
    for (const QString& zeile : kopf)
        inhalt += zeile + ZeilenEnde;
    return inhalt + BrichZeilenUm(pv_text);
}
} // namespace

QString KurzanleitungText() {
    return HoleTextMitParametern(
        QStringLiteral("FormKurzanleitung_MemoKurzanleitung"), HoleText(QStringLiteral("ProgrammLizenz")),
        HoleText(QStringLiteral("KontaktAutorText")), HoleText(QStringLiteral("HaftungsAusschlussText")));
}

TFormKurzanleitung::TFormKurzanleitung(QWidget* pv_owner) : QDialog(pv_owner) {
    SetzeTextFensterRahmen(this, FormName, DesignGroesse);
    MemoKurzanleitung = BaueTextMemo(this, QStringLiteral("MemoKurzanleitung"));
    ButtonSpeichern = new QPushButton(this);
    ButtonSpeichern->setObjectName(QStringLiteral("ButtonSpeichern"));
    ButtonSpeichern->setAutoDefault(false);
    connect(ButtonSpeichern, &QPushButton::clicked, this, &TFormKurzanleitung::ButtonSpeichernClick);
    ButtonSchliessen = BaueSchliessenKnopf(this);

    auto* zeile = new QHBoxLayout;
    zeile->addWidget(ButtonSpeichern);
    zeile->addStretch(1);
    zeile->addWidget(ButtonSchliessen);
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(Rand, Rand, Rand, Rand);
    spalte->setSpacing(Rand);
    spalte->addWidget(MemoKurzanleitung, 1);
    spalte->addLayout(zeile);

    SaveDialogKurzanleitung.speichern = true;
    SaveDialogKurzanleitung.standardErweiterung = QStringLiteral("txt");
}

void TFormKurzanleitung::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormKurzanleitung::FormShow() {
    SetzeTexte();
    ZeigeTextFenster(this, DesignGroesse);
    MemoKurzanleitung->setFocus();
}

void TFormKurzanleitung::SetzeTexte() {
    setWindowTitle(HoleText(QStringLiteral("Kurzanleitung")));
    m_text = KurzanleitungText();
    SetzeMemoText(MemoKurzanleitung, m_text);
    ButtonSpeichern->setText(Text(ButtonSpeichern->objectName()));
    ButtonSchliessen->setText(Text(ButtonSchliessen->objectName()));
    SaveDialogKurzanleitung.titel = Text(QStringLiteral("SaveDialogKurzanleitung_Titel"));
    SaveDialogKurzanleitung.filter = Text(QStringLiteral("SaveDialogKurzanleitung_Filter"));
}

void TFormKurzanleitung::ButtonSpeichernClick() {
    TDateiDialog dialog = SaveDialogKurzanleitung;
    bool englisch = StandardSpracheIstEnglisch();
    try {
        englisch = LiesSprache();
    } catch (const TEinstellungenFehler& fehler) {
        // Only the suggested name depends on it: told, and the save goes on.
        ZeigeFehler(fehler.Text());
    }
    dialog.vorschlag = englisch ? QStringLiteral("ReadMe.txt") : QStringLiteral("LiesMich.txt");
    // No directory is remembered for this file.
    dialog.startVerzeichnis = QDir::currentPath();
    const std::optional<QString> pfad = Plattform().DateiDialogZeigen(dialog);
    if (!pfad || pfad->isEmpty())
        return;
    if (!SchreibeDateiSicher(*pfad, TextDateiBytes(DateiInhalt(m_text))))
        return;
    ZeigeInfo(
        HoleTextMitParametern(QStringLiteral("Info_DateiWurdeGespeichert"), QDir::toNativeSeparators(*pfad)));
}
