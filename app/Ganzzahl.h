// Numbers as the MZ tools show and read them. Text to integer: optional leading blanks, then an
// optional sign and decimal digits, or a hexadecimal number after "$", "x", "X", "0x" or "0X";
// nothing may follow; the value must fit a signed 32-bit integer. Integer to text: upper-case
// hexadecimal digits with leading zeros, "$" in front where a person reads it ($1200, $05).
#pragma once

#include <QString>
#include <optional>

std::optional<qint32> TextNachGanzzahl(const QString& text);

// At least `stellen` upper-case hexadecimal digits: HexZiffern(0x5, 2) is "05".
QString HexZiffern(quint32 wert, int stellen);
// The same with a leading "$": HexMitDollar(0x1200, 4) is "$1200".
QString HexMitDollar(quint32 wert, int stellen);
