// Word wrap for the plain-text files the program writes (the brief instruction): lines are cut
// after a blank, hyphen or tab once they grow past the last column, existing CR LF breaks stay,
// a passage in single or double quotes is never cut, and nothing of the text is ever dropped.
#pragma once

#include <QString>

// Widest line of a text file, in characters.
inline constexpr int TextDateiSpalten = 80;

// The text with CR LF inserted where a line grows past `pv_maxSpalte` columns. A line without a
// break point outside quotes stays longer; the blanks, hyphens, tabs and line ends that follow a
// cut open the next line without counting towards its columns.
QString BrichZeilenUm(const QString& pv_text, int pv_maxSpalte = TextDateiSpalten);
