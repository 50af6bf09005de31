#include "TonbandGemeinsam.h"

#include "AudioGeraete.h"
#include "Plattform.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr qint64 MsProSekunde = 1000;
constexpr int SekundenProMinute = 60;

struct TDialogArt {
    const char* titel;
    const char* filter;
    bool speichern;
    const char* erweiterung;
    QString (*liesVerzeichnis)();
    void (*schreibeVerzeichnis)(const QString&);
};

const TDialogArt& Art(TTonbandDialog art) {
    static const TDialogArt arten[] = {
        {"FormAbspielen_OpenDialog_Titel", "FormAbspielen_OpenDialog_Filter", false, "mzf",
         LiesVerzeichnisMZFDateien, SchreibeVerzeichnisMZFDateien},
        {"FormHaupt_SaveDialogMZFDatei_Titel", "FormHaupt_SaveDialogMZFDatei_Filter", true, "mzf",
         LiesVerzeichnisMZFDateien, SchreibeVerzeichnisMZFDateien},
        {"FormHaupt_SaveDialogWAVDatei_Titel", "FormHaupt_SaveDialogWAVDatei_Filter", true, "wav",
         LiesVerzeichnisWAVDateien, SchreibeVerzeichnisWAVDateien},
        {"FormHaupt_SaveDialogMZTDatei_Titel", "FormHaupt_SaveDialogMZTDatei_Filter", true, "mzt",
         LiesVerzeichnisMZTDateien, SchreibeVerzeichnisMZTDateien},
    };
    return arten[static_cast<int>(art)];
}

void FuelleListe(QComboBox* liste, bool ausgaben, const QString& gespeichert) {
    liste->clear();
    liste->addItem(HoleText(QStringLiteral("FormEinstellungen_Standardgeraet")), QString());
    for (const TAudioGeraet& g : HoleAudioGeraete(ausgaben))
        liste->addItem(g.beschreibung == g.id ? g.id : QStringLiteral("%1 (%2)").arg(g.beschreibung, g.id),
                       g.id);
    int index = liste->findData(gespeichert);
    if (index < 0) {
        liste->addItem(gespeichert, gespeichert);
        index = liste->count() - 1;
    }
    liste->setCurrentIndex(index);
}

} // namespace

std::optional<QString> ZeigeTonbandDialog(TTonbandDialog pv_art, const QString& pv_vorschlag) {
    const TDialogArt& art = Art(pv_art);
    TDateiDialog dialog;
    dialog.speichern = art.speichern;
    dialog.titel = HoleText(QLatin1String(art.titel));
    dialog.filter = HoleText(QLatin1String(art.filter));
    dialog.standardErweiterung = QLatin1String(art.erweiterung);
    dialog.vorschlag = pv_vorschlag;
    try {
        dialog.startVerzeichnis = art.liesVerzeichnis();
    } catch (const TEinstellungenFehler& fehler) {
        ZeigeFehler(fehler.Text());
    }
    const std::optional<QString> pfad = Plattform().DateiDialogZeigen(dialog);
    if (!pfad || pfad->isEmpty())
        return std::nullopt;
    const QString verzeichnis = QDir::toNativeSeparators(QFileInfo(*pfad).absolutePath());
    try {
        if (QFileInfo(verzeichnis).isDir())
            art.schreibeVerzeichnis(verzeichnis);
    } catch (const TEinstellungenFehler& fehler) {
        // A store that cannot be written does not keep the file from being used.
        ZeigeFehler(fehler.Text());
    }
    return pfad;
}

QString Zeitangabe(qint64 pv_ms) {
    const qint64 s = pv_ms / MsProSekunde;
    return QStringLiteral("%1:%2")
        .arg(s / SekundenProMinute)
        .arg(s % SekundenProMinute, 2, 10, QLatin1Char('0'));
}

QPushButton* TonbandKnopf(QWidget* pv_eltern, const char* pv_name) {
    auto* knopf = new QPushButton(pv_eltern);
    knopf->setObjectName(QLatin1String(pv_name));
    knopf->setAutoDefault(false);
    return knopf;
}

QLabel* TonbandBeschriftung(QWidget* pv_eltern, const char* pv_name) {
    auto* label = new QLabel(pv_eltern);
    label->setObjectName(QLatin1String(pv_name));
    label->setWordWrap(true);
    return label;
}

TTonbandSeite::TTonbandSeite(QWidget* pv_eltern) : QWidget(pv_eltern) {
    setObjectName(QStringLiteral("TabSheetTonband"));
    LabelAusgabe = new QLabel(this);
    LabelAusgabe->setObjectName(QStringLiteral("LabelAusgabe"));
    ComboBoxAusgabe = new QComboBox(this);
    ComboBoxAusgabe->setObjectName(QStringLiteral("ComboBoxAusgabe"));
    LabelAusgabe->setBuddy(ComboBoxAusgabe);
    LabelEingabe = new QLabel(this);
    LabelEingabe->setObjectName(QStringLiteral("LabelEingabe"));
    ComboBoxEingabe = new QComboBox(this);
    ComboBoxEingabe->setObjectName(QStringLiteral("ComboBoxEingabe"));
    LabelEingabe->setBuddy(ComboBoxEingabe);
    auto* formular = new QFormLayout(this);
    formular->addRow(LabelAusgabe, ComboBoxAusgabe);
    formular->addRow(LabelEingabe, ComboBoxEingabe);
}

void TTonbandSeite::SetzeTexte() {
    for (QLabel* label : {LabelAusgabe, LabelEingabe})
        label->setText(HoleText(QStringLiteral("FormEinstellungen_") + label->objectName()));
}

void TTonbandSeite::Lade(const QString& ausgabe, const QString& eingabe) {
    FuelleListe(ComboBoxAusgabe, true, ausgabe);
    FuelleListe(ComboBoxEingabe, false, eingabe);
}

std::pair<QString, QString> TTonbandSeite::Auswahl() const {
    return {ComboBoxAusgabe->currentData().toString(), ComboBoxEingabe->currentData().toString()};
}
