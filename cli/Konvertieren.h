// File kinds of bandwerk-cli and the two places that move an MZ file between a file of some kind
// and the record. A new kind adds a value, its extensions, and one case in each dispatch.
#pragma once

#include <QString>
#include <memory>
#include <vector>

class TMZFDatei;

enum class TDateiArt { Unbekannt, MZF, MZT, WAV };

// The kind by the file's extension, without regard to case.
TDateiArt DateiArtVonEndung(const QString& pfad);
// The known extensions for the usage text, e.g. ".mzf, .m12".
QString BekannteEndungen();

// Whether LiesInDatei can read the kind (WAV is written only).
bool IstLesbar(TDateiArt art);

// Each shows its own failure through the platform layer and returns false.
bool LiesInDatei(TDateiArt art, const QString& pfad, TMZFDatei& datei);
bool SchreibeAusDatei(TDateiArt art, TMZFDatei& datei, const QString& pfad);

// Every MZ file the file holds (an MZT file may hold several, an MZF file holds one); shows its
// own failure and returns false when it cannot read the file or the file holds none.
bool LiesAlleInListe(TDateiArt art, const QString& pfad, std::vector<std::unique_ptr<TMZFDatei>>& dateien);
// "NAME (1024 bytes), NAME2 (7 bytes)": the files of a list for a message.
QString BeschreibeDateien(const std::vector<std::unique_ptr<TMZFDatei>>& dateien);
