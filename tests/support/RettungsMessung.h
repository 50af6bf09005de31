// What the decoding gets back from worn tapes: clean sources (the program's own export of real MZ
// files, and two real cassettes), degraded recordings of them, and the count of files that come
// back byte-exact and of wrong files reported as intact. The expected bytes always come from the
// source MZF files, never from a decoder.
#pragma once

#include "Verschlechterung.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

namespace RettungsMessung {

// One MZ file that a source holds: its 128-byte header and its body.
struct TErwarteteDatei {
    QString name;
    QByteArray kopf;
    QByteArray rumpf;
};

// A clean tape at 44.1 kHz, the model it is decoded with and the files it holds.
struct TQuelle {
    QString name;
    std::uint8_t modell = 0;
    bool echt = false; // a recording of a real cassette
    std::vector<TErwarteteDatei> dateien;
    Verschlechterung::TSignal signal;
};

// The sources of the set: a tape exported by the program for an MZ-700, one for an MZ-80K (two
// corpus files each, in the full format with both copies of every block), and the two real
// cassettes.
enum class TQuellArt { MZ700, MZ80K, GnuBlat, Moonlander };
inline constexpr std::array<TQuellArt, 4> AlleQuellen{TQuellArt::MZ700, TQuellArt::MZ80K, TQuellArt::GnuBlat,
                                                      TQuellArt::Moonlander};
const char* QuellName(TQuellArt art);

// Every recording is made at this rate (before a degradation changes it).
inline constexpr double AufnahmeRate = 44100.0;
// Silence before the first file, between files and after the last, in seconds.
inline constexpr double StilleVorher = 1.0;
inline constexpr double StilleZwischen = 2.0;
inline constexpr double StilleNachher = 1.0;

// Builds a source from the corpus (`korpus`: the corpus folder), using `ordner` for the export.
bool LadeQuelle(TQuellArt art, const QString& korpus, const QString& ordner, TQuelle& quelle,
                QString& fehler);

// The random start value of one recording: fixed per source, degradation, strength and take (0, 1, ...), so
// that a second take of the same case is degraded anew. Only what is drawn at random differs between takes
// (hiss, dropouts, clicks, the phase of wow and flutter, the noise channel); a degradation without any
// (clipping, saturation, print-through, drift, all-pass, 8-bit) gives every take alike, as a second playback
// on the same deck would.
std::uint32_t Startwert(TQuellArt quelle, Verschlechterung::TArt art, Verschlechterung::TStaerke staerke,
                        int aufnahme);

// Degrades a copy of the source and writes it to `pfad` as a WAV file.
bool SchreibeAufnahme(const TQuelle& quelle, TQuellArt art, Verschlechterung::TArt verschlechterung,
                      Verschlechterung::TStaerke staerke, int aufnahme, const QString& pfad, QString& fehler);

// What the decoding gave for one expected file. A file counts as recovered when the decoding reports
// it intact or repaired and its bytes are the expected ones; a wrong one is a file reported intact
// or repaired whose name is the expected file's but whose bytes are not. A file reported damaged is
// neither: the decoding says itself that it is not sure of it. Versions are told apart by their
// bytes, so that one wrong version found in two recordings counts once.
struct TDateiAusgang {
    bool gerettet = false;
    bool repariert = false;        // recovered, and reported repaired
    bool beschaedigt = false;      // reported damaged (and not recovered)
    bool beschaedigtGenau = false; // reported damaged, yet its header and body are the expected ones
    QSet<QByteArray> falsch;
    // Of a damaged file with the expected body's size: its body bytes that are wrong, those of them
    // its damage map leaves out, and the bytes the map holds.
    int falscheBytes = 0;
    int verfehlteBytes = 0;
    int kartenBytes = 0;
};

struct TBewertung {
    std::vector<TDateiAusgang> dateien; // one per expected file, in the source's order
    QSet<QByteArray> fremde;            // files reported intact or repaired whose name no expected file has
    int fremdBeschaedigt = 0;           // files reported damaged that name no expected file
    int unlesbar = 0;                   // files passed over with their header unreadable
    QStringList meldungen;              // what the decoding showed (e.g. that it found nothing)

    int Gerettet() const;
    int Repariert() const;
    int Beschaedigt() const;
    // Damaged, not recovered, yet byte-exact: what extract --keep-damaged writes is the file.
    int BeschaedigtGenau() const;
    int Falsch() const;
    int Fremde() const { return static_cast<int>(fremde.size()); }
};

// Decodes each recording of one tape through the program's import of all files of a recording,
// with this model and the standard or the extended decoding, and compares what comes back with the
// expected files. Several recordings are decoded one by one and their findings united; a decoding
// that takes several recordings of one tape at once takes them here in one call.
TBewertung Bewerte(const QStringList& aufnahmen, std::uint8_t modell, bool erweitert,
                   const std::vector<TErwarteteDatei>& erwartet);

} // namespace RettungsMessung
