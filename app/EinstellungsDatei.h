// The settings file of this platform, an INI file as QSettings writes it, changed by the program
// itself: the values of one group are replaced or added, every other byte of the file stays as it
// was, and the new file is written whole beside the old one and renamed over it. QSettings keeps
// the values of a failed write and tries them again at every later access, and it takes a write
// cut short by the system for a success; this writer does neither.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

using TEinstellungsWerte = QList<QPair<QString, QVariant>>;

// A text or integer value as QSettings puts it after "name=" in an INI file.
QByteArray IniWert(const QVariant& wert);

// The file `inhalt` with the values `werte` set in the group [gruppe]: a line of a value already
// there is replaced, a new value is put among the group's values in name order, a missing group
// is added at the end. Names and the group consist of letters, digits, ".", "-" and "_".
QByteArray SetzeIniWerte(const QByteArray& inhalt, const QString& gruppe, const TEinstellungsWerte& werte);

// Writes `inhalt` as the whole file `pfad`: into a new file beside it, which then replaces it.
// False when any byte could not be written; `fehler` then holds the system's reason and the old
// file is as it was.
bool SchreibeDateiGanz(const QString& pfad, const QByteArray& inhalt, QString& fehler);
