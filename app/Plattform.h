// The platform layer: every message box, question, file dialog, hourglass cursor, "process pending
// events", URL opening and immediate exit goes through the one binding installed here. The desktop
// binds it to Qt widgets, the tests to scripted answers, the CLI to standard error.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Kinds of message box; each has its own icon.
enum class TNachrichtArt { Fehler, Information, Warnung, Bestaetigung };

// Answers of a question box. Closing a box without a button counts as Abbrechen where the box
// offers Cancel, else as Nein; the bindings map that, callers never see a "closed" answer.
enum class TAntwort { Ja, Nein, Abbrechen };

struct TDateiDialog {
    bool speichern = false;      // save dialog (asks before overwriting) or open dialog
    QString titel;               // from the catalogue
    QString filter;              // catalogue form: "desc|pattern|desc|pattern"
    QString standardErweiterung; // without dot, appended when the user types none ("mzf")
    QString startVerzeichnis;    // initial directory
    QString vorschlag;           // suggested file name, may be empty
};

class TPlattform {
public:
    virtual ~TPlattform();
    // Error or information box with one OK button.
    virtual void ZeigeNachricht(TNachrichtArt art, const QString& text) = 0;
    // Warning question (Yes/No or Yes/No/Cancel) or confirmation (Yes/No).
    virtual TAntwort Frage(TNachrichtArt art, const QString& text, bool mitAbbrechen) = 0;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<QString> DateiDialogZeigen(const TDateiDialog& dialog) = 0;
    // An open dialog in which the user may choose several files: the chosen paths, none when the
    // user cancels. A binding without such a dialog offers the one for a single file.
    virtual QStringList DateienDialogZeigen(const TDateiDialog& dialog);
    // Hourglass: the bindings keep a stack, each Aus restores what the matching An replaced.
    virtual void SanduhrAn() = 0;
    virtual void SanduhrAus() = 0;
    virtual void VerarbeiteEreignisse() = 0;
    // mailto: or web address, handed to the user's default program; the result is not looked at.
    virtual void OeffneAdresse(const QString& adresse) = 0;
    // Ends the process at once, without unwinding.
    [[noreturn]] virtual void BeendeSofort(int status) = 0;
};

// The installed binding. Before anything is installed, a console binding serves.
TPlattform& Plattform();
// Installs a binding (not owned) and returns the one it replaces; nullptr restores the console binding.
TPlattform* SetzePlattform(TPlattform* plattform);

// Short forms for the four kinds of box.
void ZeigeFehler(const QString& text);
void ZeigeInfo(const QString& text);
TAntwort FrageWarnung(const QString& text, bool mitAbbrechen);
TAntwort FrageBestaetigung(const QString& text);

// Hourglass cursor for the lifetime of the object; restored on every way out.
class TSanduhr {
public:
    TSanduhr() { Plattform().SanduhrAn(); }
    ~TSanduhr() { Plattform().SanduhrAus(); }
    TSanduhr(const TSanduhr&) = delete;
    TSanduhr& operator=(const TSanduhr&) = delete;
};

// Turns a catalogue filter ("MZF-files (*.mzf)|*.mzf|All files (*.*)|*.*") into a Qt name filter
// list ("MZF-files (*.mzf *.MZF)" ...). Patterns match without regard to case; "*.*" matches every
// file, also one without a dot.
QStringList QtDateiFilter(const QString& katalogFilter);
