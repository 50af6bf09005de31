// Test environment: each test program runs with a private settings store in a temporary home
// directory (QStandardPaths test mode), never the user's.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdint>
#include <functional>

// Absolute path of a file of the shared corpus, e.g. KorpusPfad("gunterhager-mz800-emuz/TestHalt.mzf").
QString KorpusPfad(const QString& relativ);
// A fresh empty directory for the calling test; removed when the program ends.
QString TestVerzeichnis();
// Empties the settings store and loads the in-memory defaults.
void EinstellungenLeeren();
// The settings file of the private store.
QString EinstellungsDatei();
// A directory in place of the settings file makes every read and write of the store fail, even
// for root; Reparieren removes it again (the store then starts empty).
void EinstellungsSpeicherZerstoeren();
void EinstellungsSpeicherReparieren();
// The text of a store that cannot be opened: it names the settings file in both languages.
QString SpeicherFehlerText();
// Sets the catalogue's language (and stores it in the private store).
void TestSprache(bool englisch);
QByteArray LiesDatei(const QString& pfad);
// Names of the entries of a directory (hidden ones too), sorted; shows what a writer left behind.
QStringList DateienIn(const QString& verzeichnis);
void SchreibeDatei(const QString& pfad, const QByteArray& inhalt);
// Little-endian fields of file images (WAV headers), read at byte offset `o`.
std::uint32_t Le32(const QByteArray& d, int o);
int Le16(const QByteArray& d, int o);
// Runs `arbeit` in a child process and answers how it ended: its exit status, or 128 + the
// signal that ended it. With `alsGewoehnlicherBenutzer` the child of a root process first becomes
// the ordinary user of GesperrterOrdner.
int ImKindprozess(const std::function<int()>& arbeit, bool alsGewoehnlicherBenutzer = false);
// The words that start a command as that ordinary user (setpriv when the tests run as root,
// nothing otherwise), for a shell script.
QString AlsGewoehnlicherBenutzer();
// A folder in which only its owner, an ordinary user (nobody when the tests run as root), could
// add files and which is locked even for that user; it holds the file `name` with `inhalt`, which
// that user may write. Answers the file's path; Entsperre opens the folder again.
QString GesperrterOrdnerMitDatei(const QString& name, const QByteArray& inhalt);
void Entsperre(const QString& dateiImOrdner);
void TestUmgebungEinrichten();

// While it lives, no file of the process may grow beyond `bytes`, as when a disk or a quota is
// full: a write past it fails with the system's "File too large" (the signal that would end the
// process is ignored, as programs run under such a limit do).
class TDateiGroessenGrenze {
public:
    explicit TDateiGroessenGrenze(qint64 bytes);
    ~TDateiGroessenGrenze();
    TDateiGroessenGrenze(const TDateiGroessenGrenze&) = delete;
    TDateiGroessenGrenze& operator=(const TDateiGroessenGrenze&) = delete;

private:
    std::uint64_t m_vorher;
    void (*m_signal)(int);
};
