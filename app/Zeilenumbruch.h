// Word wrap of a text for a plain text file, as a text editor of the platform wraps it: lines
// grow up to 80 columns and are cut after their last blank, hyphen or tab (which stays at the
// end of the line) with CR LF; line breaks already in the text stay; a passage in single or
// double quotation marks is never cut; a line without a break point stays longer; nothing is ever
// dropped: the text without the inserted CR LF is the text given.
#pragma once

#include <QString>

inline constexpr int StandardUmbruchSpalte = 80;

QString BrichZeilenUm(const QString& text, int maxSpalte = StandardUmbruchSpalte);
