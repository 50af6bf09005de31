// bandwerk-cli extract: every MZ file of the inputs written into a folder. A file that could not
// be recovered whole from a worn tape is written only when asked for, and then with a map of its
// uncertain bytes beside it.
#pragma once

#include "BandEinstellungen.h"
#include "DateiArt.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

class QTextStream;
class TMZFDatei;
struct TDateiBefund;
struct TUebersprungenes;

// The file beside a damaged NAME.mzf: NAME.damage.json.
inline constexpr char SchadenskartenEndung[] = ".damage.json";

// A file's state for the JSON outputs, added to `o`: nothing for an intact file; else "state"
// ("repaired" or "damaged"), the blocks "repaired" ("header", "body"), and for a damaged file
// "headerUncertain" and "uncertainBytes" (of the body).
void ZustandAlsJson(const TDateiBefund& befund, QJsonObject& o);

// The map of a damaged file saved as `mzfName`: its name, state, and the uncertain byte ranges
// [start, end) as offsets in the MZF file and, for the body, in the body.
QJsonObject Schadenskarte(const TMZFDatei& datei, const QString& mzfName);

// Every MZ file of the inputs (one file of any kind, or several recordings of one tape) as
// DIR/<cleaned MZ name>.mzf; an existing file is never replaced, the name gets "-2", "-3", ...
// instead. One line per file written. A damaged file is left out, and told on `fehler`, unless
// `beschaedigteSchreiben`: then it is written with its map as DIR/NAME.damage.json.
int Entpacke(const QStringList& quellen, TDateiArt art, const TBandEinstellungen& einstellungen,
             const QString& ordner, bool beschaedigteSchreiben, std::vector<TUebersprungenes>& uebersprungen,
             TMZFDatei& arbeit, QTextStream& aus, QTextStream& fehler, bool* keineGefunden);
