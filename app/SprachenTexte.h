// The message catalogue: every text a window, message box or file dialog shows, by key, in German
// or English. The table holds one language at a time; a "~" in a text is filled by the caller.
#pragma once

#include <QList>
#include <QPair>
#include <QString>

// Anzahl der Schlüssel in jeder Sprache.
inline constexpr int AnzahlTextSchluessel = 286;

// The text for the key in the current language with its first three "~" removed. An unknown key,
// or one whose text is empty, gives the key itself, unchanged.
QString HoleText(const QString& key);
// The text with its first, second and third "~" replaced; "~" inside a parameter stays as it is.
QString HoleTextMitParametern(const QString& key, const QString& p1);
QString HoleTextMitParametern(const QString& key, const QString& p1, const QString& p2);
QString HoleTextMitParametern(const QString& key, const QString& p1, const QString& p2, const QString& p3);

// Stores the language in the settings (may throw TEinstellungenFehler; the table then keeps its
// contents), then refills the table with all entries of that language in table order.
void SetzeSprache(bool englisch);
// Refills the table with the given language without touching the settings (bandwerk-cli).
void WaehleSpracheOhneSpeichern(bool englisch);
// The language the table was last filled with (true: English).
bool IstTabelleEnglisch();
// Appends one entry; the key is stored in upper case.
void FuegeTextHinzu(const QString& key, const QString& text);
// Empties the table (program end).
void LeereTextTabelle();
// The table as it stands, keys in upper case, in the order they were added.
QList<QPair<QString, QString>> TextTabelleInhalt();
