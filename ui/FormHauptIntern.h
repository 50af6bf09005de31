// Shared by the main window's source files: the six file dialogs with their kinds' remembered
// directories, and the way the window carries on after a failed settings write.
#pragma once

#include "Plattform.h"
#include "ProgrammEinstellungen.h"

#include <QString>

namespace FormHauptIntern {
constexpr int ProzentMax = 100;

// The windows carry on after a failed settings write: the user is told and the command goes on.
template <typename F> void SchreibeEinstellung(F schreiben) {
    try {
        schreiben();
    } catch (const TEinstellungenFehler& fehler) {
        ZeigeFehler(fehler.Text());
    }
}

// Each file dialog with its kind's remembered directory.
struct TDialogArt {
    const char* name;
    bool speichern;
    const char* erweiterung;
    QString (*liesVerzeichnis)();
    void (*schreibeVerzeichnis)(const QString&);
};
inline const TDialogArt DialogArten[] = {
    {"OpenDialogMZFDatei", false, "mzf", LiesVerzeichnisMZFDateien, SchreibeVerzeichnisMZFDateien},
    {"SaveDialogMZFDatei", true, "mzf", LiesVerzeichnisMZFDateien, SchreibeVerzeichnisMZFDateien},
    {"OpenDialogMZTDatei", false, "mzt", LiesVerzeichnisMZTDateien, SchreibeVerzeichnisMZTDateien},
    {"SaveDialogMZTDatei", true, "mzt", LiesVerzeichnisMZTDateien, SchreibeVerzeichnisMZTDateien},
    {"OpenDialogWAVDatei", false, "wav", LiesVerzeichnisWAVDateien, SchreibeVerzeichnisWAVDateien},
    {"SaveDialogWAVDatei", true, "wav", LiesVerzeichnisWAVDateien, SchreibeVerzeichnisWAVDateien},
};
} // namespace FormHauptIntern
