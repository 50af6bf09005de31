// The settings store: language, disclaimer, window position, the last directory of each file kind
// and the import/export settings, per user in QSettings ("Feldmark", "Bandwerk"), group "V2.4".
// Model, sample rate and polarity are also held in memory, where the windows and the WAV writer
// take them from; the layers below the windows are handed the settings as values.
#pragma once

#include "MZModell.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <stdexcept>
#include <utility>

// Raised when the store cannot be opened, or a value cannot be written. A failed write changes
// nothing: the store holds what it held before, and every later read and write works as before.
class TEinstellungenFehler : public std::runtime_error {
public:
    // The store cannot be opened: a fixed bilingual text, since the catalogue may not be filled.
    TEinstellungenFehler();
    // The settings file `datei` could not be written; `grund` is the system's reason.
    TEinstellungenFehler(const QString& datei, const QString& grund);
    // The text for the user; a failed write is told in the current language.
    QString Text() const;
    // The store was there but refused the write (as opposed to a store that cannot be opened).
    bool IstSchreibfehler() const { return !m_datei.isEmpty(); }

private:
    QString m_datei;
    QString m_grund;
};

// German user locale gives false.
bool StandardSpracheIstEnglisch();

// Loads model, sample rate and polarity into memory (program start, before any window).
void LadeEinstellungen();

bool LiesSprache();
void SchreibeSprache(bool englisch);
bool LiesHaftungsAusschlussAkzeptiert();
void SchreibeHaftungsAusschlussAkzeptiert(bool akzeptiert);
void LiesFormHauptPosition(int& x, int& y);
void SchreibeFormHauptPosition(int x, int y);
// Beside the position of the main window's frame: where its client area stood relative to the
// frame's corner, and the client area's size. Nothing for a value that is not stored or cannot
// be (a frame edge outside 0..MaxFensterRand, a size below 1 or above MaxFensterGroesse).
inline constexpr int MaxFensterRand = 200;
inline constexpr int MaxFensterGroesse = 32767;
std::optional<QPoint> LiesFormHauptRand();
std::optional<QSize> LiesFormHauptGroesse();
// Position, frame edges and size in one write.
void SchreibeFormHauptLage(int x, int y, QPoint rand, QSize groesse);
QString LiesVerzeichnisMZFDateien();
QString LiesVerzeichnisWAVDateien();
QString LiesVerzeichnisMZTDateien();
void SchreibeVerzeichnisMZFDateien(const QString& verzeichnis);
void SchreibeVerzeichnisWAVDateien(const QString& verzeichnis);
void SchreibeVerzeichnisMZTDateien(const QString& verzeichnis);
// Read from the store at every call.
bool LiesExportWAVVerkuerztesMZTonbandFormat();
void SchreibeImportExportEinstellungen(quint8 modellIndex, bool verkuerzt, quint16 sampleRate,
                                       bool invertiert);
// Everything the settings dialog stores, in one write: the language, the import/export values and
// the extended decoding are stored all together or not at all. The in-memory values follow only
// a write that succeeded.
// `audioGeraete` (output, input) are stored with them when the build has the tape deck.
void SchreibeDialogEinstellungen(bool englisch, quint8 modellIndex, bool verkuerzt, quint16 sampleRate,
                                 bool invertiert, bool erweitert,
                                 const std::optional<std::pair<QString, QString>>& audioGeraete = {});

// Extended decoding of recordings (more WAV formats, worn tapes), off unless chosen; read from
// the store at every call.
bool LiesImportErweiterteDekodierung();
void SchreibeImportErweiterteDekodierung(bool erweitert);

// The sound devices of the tape deck, output and input, as the sound server names them; empty for
// the system's default. Read from the store at every call.
QString LiesAudioGeraet(bool ausgabe);
void SchreibeAudioGeraete(const QString& ausgabe, const QString& eingabe);

// The in-memory values; they never touch the store.
quint8 HoleImportExportMZModell();
quint16 HoleExportWAVSampleRate();
bool HoleExportWAVInvertiertePolaritaet();
