// The usage text of bandwerk-cli, and the lists of names it and the parser's messages give.
#pragma once

#include <QString>

// "MZ-80K, MZ-80C, ..." and "mz700, mz800, ...".
QString ModellListe();
QString DialektListe();
// Commands, options and exit status, as --help prints them.
QString Gebrauch();
