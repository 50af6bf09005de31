// bandwerk-cli: the MZ file core on the command line. Failures of the file operations are shown
// through the installed platform binding (the console binding prints them on standard error);
// usage errors go to `fehler`, results to `aus`.
#pragma once

#include <QStringList>
#include <QTextStream>

inline constexpr int ExitErfolg = 0;
inline constexpr int ExitFehler = 1;
inline constexpr int ExitAufruf = 2;

// Runs one command; `argumente` without the program name. Never writes the settings store.
int BandwerkCli(const QStringList& argumente, QTextStream& aus, QTextStream& fehler);
