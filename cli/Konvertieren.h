// The places of bandwerk-cli that move MZ files between a file of some kind and records. A new
// kind adds a value and its extensions in DateiArt, and one case in each dispatch here.
#pragma once

#include "BandEinstellungen.h"
#include "DateiArt.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TMZFDatei;
struct TUebersprungenes;

// Every MZ file the file holds (an MZT file or a recording may hold several, an MZF file holds
// one), read to the end; what was passed over goes to `uebersprungen`. A recording is decoded
// with `arbeit`, whose events show the progress, with the model and decoding of `einstellungen`.
// Shows its own failure and returns false when it cannot read the file or the file holds none; a
// recording read whole that held none sets *keineGefunden.
bool LiesAlleInListe(TDateiArt art, const QString& pfad, const TBandEinstellungen& einstellungen,
                     std::vector<std::unique_ptr<TMZFDatei>>& dateien,
                     std::vector<TUebersprungenes>& uebersprungen, TMZFDatei& arbeit,
                     bool* keineGefunden = nullptr);
// The same for the inputs of list and extract: one file of any kind, or several recordings of one
// tape (WAV files), whose files are read as one tape's: a file on several of them is one file, put
// together from the copies of all of them.
bool LiesAlleInListe(TDateiArt art, const QStringList& pfade, const TBandEinstellungen& einstellungen,
                     std::vector<std::unique_ptr<TMZFDatei>>& dateien,
                     std::vector<TUebersprungenes>& uebersprungen, TMZFDatei& arbeit,
                     bool* keineGefunden = nullptr);
// The one MZ file the file holds, into `datei` (which keeps its events). A file holding several
// is refused with a message that names them and points to `list` and `extract`.
bool LiesEineInDatei(TDateiArt art, const QString& pfad, const TBandEinstellungen& einstellungen,
                     TMZFDatei& datei, std::vector<TUebersprungenes>& uebersprungen,
                     bool* keineGefunden = nullptr);
// A tape image or a recording is written with the model, and a recording with the rate, polarity
// and format of `einstellungen`.
bool SchreibeAusDatei(TDateiArt art, TMZFDatei& datei, const QString& pfad,
                      const TBandEinstellungen& einstellungen);

// "NAME (1024 bytes), NAME2 (7 bytes)": the files of a list for a message.
QString BeschreibeDateien(const std::vector<std::unique_ptr<TMZFDatei>>& dateien);
// One line for each thing that reading passed over, for standard error.
QString BeschreibeUebersprungenes(const QString& pfad, const TUebersprungenes& was);
