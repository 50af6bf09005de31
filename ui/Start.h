// The desktop program's entry sequence: module start-up, exception handler, disclaimer,
// main window, message loop.
#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

// The whole program: returns the exit status of the message loop.
int BandwerkStarten(int argc, char** argv);

// What the command line asks of the desktop program. pv_argumente is the whole command line, the
// program's name first; Qt's own options (-platform, -style, ...) are unknown here, the
// application object takes them away.
struct TStartAufruf {
    bool hilfe = false;   // -h, --help
    bool version = false; // -v, --version
    QStringList dateien;  // the file arguments; the first is opened at start
    QString fehler;       // why the command line is wrong (an unknown option), or empty
};
TStartAufruf ZerlegeStartAufruf(const QStringList& pv_argumente);
// The texts of --help and --version. The usage line names the program as it was called.
QString StartHilfeText();
QString StartVersionText();

// The two last-resort messages; they do not come from the catalogue, which may not be filled.
QString StartFehlerText(const QString& pv_beschreibung);
QString LaufzeitFehlerText(const QString& pv_beschreibung);
// An exception's own message.
QString AusnahmeText(const std::exception& pv_ausnahme);

// Settings (model, sample rate, polarity), catalogue in the stored language, main window module.
void ModuleStarten();
// The one-time disclaimer. Returns whether the program may go on; after a refusal the user has
// been told that the program ends.
bool HaftungsAusschlussAbfragen();
// A failure during start-up: the message, then the process ends at once.
void StartAbbrechen(const QString& pv_beschreibung);
// An exception that escaped an event handler: the message, then the application is asked to end.
void BehandleException(const QString& pv_beschreibung);

// Runs one event's delivery; an exception that escapes it goes to BehandleException.
bool BehandleAusnahmenVon(const std::function<bool()>& pv_zustellung);

// The application object: every exception that escapes an event handler ends in BehandleException.
class TBandwerkAnwendung : public QApplication {
public:
    TBandwerkAnwendung(int& argc, char** argv);
    bool notify(QObject* empfaenger, QEvent* event) override;
};
