// The kinds of file Bandwerk reads and writes, known by their extensions without regard to case:
// MZF (".mzf", ".m12"), MZT (".mzt") and WAV (".wav").
#pragma once

#include <QString>

enum class TDateiArt { Unbekannt, MZF, MZT, WAV };

TDateiArt DateiArtVonEndung(const QString& pfad);
// The known extensions for a usage text: ".mzf, .m12, .mzt, .wav".
QString BekannteEndungen();
