#include "PlattformDesktop.h"

#include "SprachenTexte.h"
#include "TemporaereDateien.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

namespace {
const QString BoxTitel = QStringLiteral("Bandwerk");

QMessageBox::Icon Symbol(TNachrichtArt art) {
    switch (art) {
    case TNachrichtArt::Fehler:
        return QMessageBox::Critical;
    case TNachrichtArt::Information:
        return QMessageBox::Information;
    case TNachrichtArt::Warnung:
        return QMessageBox::Warning;
    case TNachrichtArt::Bestaetigung:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// The catalogue writes line breaks as CR LF; texts like "<Unknown>" must not be taken for markup.
void FuelleBox(QMessageBox& box, TNachrichtArt art, const QString& text) {
    QString zeilen = text;
    zeilen.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setIcon(Symbol(art));
    box.setWindowTitle(BoxTitel);
    box.setTextFormat(Qt::PlainText);
    box.setText(zeilen);
}

bool IstSchreibgeschuetzt(const QFileInfo& datei) {
    // The permission bits count even for a user (root) whom the system would let write anyway.
    constexpr QFile::Permissions Schreibrechte = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return datei.exists() && (!datei.isWritable() || !(datei.permissions() & Schreibrechte));
}

// The file dialog; saving needs an existing folder and refuses a write-protected file, and keeps
// the dialog open in both cases.
class TDateiDialogFenster : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        if (acceptMode() == QFileDialog::AcceptSave) {
            const QStringList gewaehlt = selectedFiles();
            if (!gewaehlt.isEmpty()) {
                const QFileInfo datei(gewaehlt.first());
                if (!QFileInfo(datei.absolutePath()).isDir()) {
                    // Qt's own words for it, so that they come in the user's language.
                    QMessageBox::warning(
                        this, windowTitle(),
                        QFileDialog::tr(
                            "%1\nDirectory not found.\nPlease verify the correct directory name was "
                            "given.")
                            .arg(QDir::toNativeSeparators(datei.absolutePath())));
                    return;
                }
                if (!datei.isDir() && IstSchreibgeschuetzt(datei)) {
                    QMessageBox::warning(
                        this, windowTitle(),
                        HoleTextMitParametern(QStringLiteral("DateiDialog_DateiSchreibgeschuetzt"),
                                              datei.fileName())
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
                    return;
                }
            }
        }
        QFileDialog::accept();
    }
};
} // namespace

void WendeQtUebersetzungAn() {
    static QTranslator* deutsch = nullptr;
    const bool englisch = IstTabelleEnglisch();
    if (englisch == (deutsch == nullptr))
        return;
    if (englisch) {
        QCoreApplication::removeTranslator(deutsch);
        delete deutsch;
        deutsch = nullptr;
        return;
    }
    auto* uebersetzer = new QTranslator(QCoreApplication::instance());
    // Without the translations on the system the English texts stay.
    if (!uebersetzer->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete uebersetzer;
        return;
    }
    QCoreApplication::installTranslator(uebersetzer);
    deutsch = uebersetzer;
}

TPlattformDesktop::~TPlattformDesktop() {
    while (m_sanduhren > 0)
        SanduhrAus();
}

void TPlattformDesktop::ZeigeNachricht(TNachrichtArt art, const QString& text) {
    QMessageBox box(QApplication::activeWindow());
    FuelleBox(box, art, text);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

TAntwort TPlattformDesktop::Frage(TNachrichtArt art, const QString& text, bool mitAbbrechen) {
    QMessageBox box(QApplication::activeWindow());
    FuelleBox(box, art, text);
    QMessageBox::StandardButtons knoepfe = QMessageBox::Yes | QMessageBox::No;
    if (mitAbbrechen)
        knoepfe |= QMessageBox::Cancel;
    box.setStandardButtons(knoepfe);
    box.setDefaultButton(QMessageBox::Yes);
    // Closing the box counts as Cancel, or as No where there is no Cancel.
    box.setEscapeButton(mitAbbrechen ? QMessageBox::Cancel : QMessageBox::No);
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return TAntwort::Ja;
    case QMessageBox::No:
        return TAntwort::Nein;
    default:
        return mitAbbrechen ? TAntwort::Abbrechen : TAntwort::Nein;
    }
}

namespace {

// The files chosen in Qt's own dialog: the same behaviour everywhere, and the process's current
// directory stays. None when the user cancels.
QStringList ZeigeDialog(const TDateiDialog& dialog, bool mehrere) {
    const QString start = dialog.startVerzeichnis.isEmpty() ? QDir::currentPath() : dialog.startVerzeichnis;
    TDateiDialogFenster fenster(QApplication::activeWindow(), dialog.titel, start);
    fenster.setOption(QFileDialog::DontUseNativeDialog);
    fenster.setAcceptMode(dialog.speichern ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (dialog.speichern)
        fenster.setFileMode(QFileDialog::AnyFile);
    else
        fenster.setFileMode(mehrere ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    const QStringList filter = QtDateiFilter(dialog.filter);
    if (!filter.isEmpty())
        fenster.setNameFilters(filter);
    fenster.setDefaultSuffix(dialog.standardErweiterung);
    if (!dialog.vorschlag.isEmpty())
        fenster.selectFile(dialog.vorschlag);
    if (fenster.exec() != QDialog::Accepted)
        return {};
    QStringList pfade;
    for (const QString& pfad : fenster.selectedFiles())
        pfade << QDir::toNativeSeparators(QFileInfo(pfad).absoluteFilePath());
    return pfade;
}

} // namespace

std::optional<QString> TPlattformDesktop::DateiDialogZeigen(const TDateiDialog& dialog) {
    const QStringList gewaehlt = ZeigeDialog(dialog, false);
    if (gewaehlt.isEmpty())
        return std::nullopt;
    return gewaehlt.first();
}

QStringList TPlattformDesktop::DateienDialogZeigen(const TDateiDialog& dialog) {
    // Several files are only ever opened.
    if (dialog.speichern)
        return TPlattform::DateienDialogZeigen(dialog);
    return ZeigeDialog(dialog, true);
}

void TPlattformDesktop::SanduhrAn() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ++m_sanduhren;
}

void TPlattformDesktop::SanduhrAus() {
    // Only what this binding set is restored; an Aus without An leaves other cursors alone.
    if (m_sanduhren == 0)
        return;
    --m_sanduhren;
    QGuiApplication::restoreOverrideCursor();
}

void TPlattformDesktop::VerarbeiteEreignisse() {
    QCoreApplication::processEvents();
}

void TPlattformDesktop::OeffneAdresse(const QString& adresse) {
    QDesktopServices::openUrl(QUrl(adresse));
}

void TPlattformDesktop::BeendeSofort(int status) {
    // A file being written is given up; its target stays as it was.
    TemporaereDateien::RaeumeAuf();
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
