// The MZ models and the sample rates of a WAV export: plain values that the tape layer and the
// settings share.
#pragma once

#include <QString>
#include <QtGlobal>

inline constexpr quint16 StandardSampleRate = 22050;
// The sample rates a WAV export may use; the settings dialog and the WAV reader keep to them.
inline constexpr int MinSampleRate = 8000;
inline constexpr int MaxSampleRate = 45000;
inline constexpr int AnzahlMZModelle = 6;
// Model indexes as the rest of the program uses them.
enum TMZModell : quint8 { MZ80K = 0, MZ80C = 1, MZ80A = 2, MZ80B = 3, MZ700 = 4, MZ800 = 5 };

// "MZ-80K" ... "MZ-800"; any other index gives "?".
QString MZModellName(int index);
// Upper-cased name compared with the six names; no match gives 0.
int MZModellIndex(const QString& name);
