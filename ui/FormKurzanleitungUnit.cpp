#include "FormKurzanleitungUnit.h"

#include "AendernGemeinsam.h"
#include "DateiFehler.h"
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
#include <QVBoxLayout>

namespace {
const QString FormName = QStringLiteral("FormKurzanleitung");
// The designed size, which is also the smallest.
constexpr int DesignBreite = 593;
constexpr int DesignHoehe = 420;
constexpr int RahmenBreite = 80; // the line of "#" around the header of the text file
const QString Zeilenende = QStringLiteral("\r\n");

QString Text(const QString& name) {
    return HoleText(FormName + QLatin1Char('_') + name);
}

QString Anleitung() {
    return HoleTextMitParametern(
        QStringLiteral("FormKurzanleitung_MemoKurzanleitung"), HoleText(QStringLiteral("ProgrammLizenz")),
        HoleText(QStringLiteral("KontaktAutorText")), HoleText(QStringLiteral("HaftungsAusschlussText")));
}
} // namespace

TFormKurzanleitung::TFormKurzanleitung(QWidget* pv_owner) : QDialog(pv_owner) {
    setObjectName(FormName);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setMinimumSize(DesignBreite, DesignHoehe);
    resize(DesignBreite, DesignHoehe);
    MemoKurzanleitung = NeuesHilfeMemo(this, QStringLiteral("MemoKurzanleitung"));
    ButtonSpeichern = new QPushButton(this);
    ButtonSpeichern->setObjectName(QStringLiteral("ButtonSpeichern"));
    ButtonSpeichern->setAutoDefault(false);
    ButtonSchliessen = NeuerSchliessenKnopf(this);
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(ButtonSpeichern);
    zeile->addStretch(1);
    zeile->addWidget(ButtonSchliessen);
    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(MemoKurzanleitung, 1);
    spalte->addLayout(zeile);
    connect(ButtonSpeichern, &QPushButton::clicked, this, &TFormKurzanleitung::ButtonSpeichernClick);
    SetzeTexte();
}

void TFormKurzanleitung::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    PlatziereDialog(this);
    SetzeTexte();
}

void TFormKurzanleitung::SetzeTexte() {
    setWindowTitle(HoleText(QStringLiteral("Kurzanleitung")));
    MemoKurzanleitung->setPlainText(QString(Anleitung()).replace(Zeilenende, QStringLiteral("\n")));
    ButtonSpeichern->setText(Text(QStringLiteral("ButtonSpeichern")));
    ButtonSchliessen->setText(Text(QStringLiteral("ButtonSchliessen")));
}

QByteArray TFormKurzanleitung::TextdateiInhalt() {
    const QString rahmen(RahmenBreite, QLatin1Char('#'));
    QString text = rahmen + Zeilenende + Zeilenende;
    text += QStringLiteral("Bandwerk  ") + HoleText(QStringLiteral("ProgrammVersionText")) + Zeilenende +
            Zeilenende;
    text += HoleText(QStringLiteral("ProgrammCopyright")) + Zeilenende + Zeilenende;
    text += HoleText(QStringLiteral("Kurzanleitung")) + Zeilenende + Zeilenende;
    text += rahmen + Zeilenende + Zeilenende + Zeilenende;
    text += BrichZeilenUm(Anleitung());
    // Text files are UTF-8 here; the CR LF line ends make the file read alike on every system.
    return text.toUtf8();
}

void TFormKurzanleitung::ButtonSpeichernClick() {
    TDateiDialog dialog;
    dialog.speichern = true;
    dialog.titel = Text(QStringLiteral("SaveDialogKurzanleitung_Titel"));
    dialog.filter = Text(QStringLiteral("SaveDialogKurzanleitung_Filter"));
    dialog.standardErweiterung = QStringLiteral("txt");
    // No folder is remembered for this dialog.
    dialog.startVerzeichnis = QDir::currentPath();
    dialog.vorschlag = LiesSprache() ? QStringLiteral("ReadMe.txt") : QStringLiteral("LiesMich.txt");
    const std::optional<QString> pfad = Plattform().DateiDialogZeigen(dialog);
    if (!pfad)
        return;
    const QByteArray inhalt = TextdateiInhalt();
    TSichereDatei datei;
    if (!datei.Oeffnen(*pfad) || !datei.Schreibe(inhalt.constData(), inhalt.size()) ||
        !datei.Abschliessen()) {
        DateiFehler::MeldeSchreibfehler(*pfad, datei.Fehlertext());
        return;
    }
    ZeigeInfo(HoleTextMitParametern(QStringLiteral("Info_DateiWurdeGespeichert"), *pfad));
}
