// Text to integer as the MZ tools have always read numbers: optional leading blanks, then an
// optional sign and decimal digits, or a hexadecimal number after "$", "x", "X", "0x" or "0X";
// nothing may follow; the value must fit a signed 32-bit integer.
#pragma once

#include <QString>
#include <optional>

std::optional<qint32> TextNachGanzzahl(const QString& text);
