// The body of a BASIC program as its listing: the tokenised lines of the four Sharp BASIC
// dialects turned back into text, one listing line per program line ("10 PRINT X").
//
// A program body is a memory image of lines back to back, each
//   2 bytes  length of the line (S-BASIC, SP-5025) or address of the next line (SA-5510)
//   2 bytes  line number, little-endian
//   n bytes  tokenised text
//   1 byte   terminator: 0x00 (S-BASIC) or 0x0D (SP-5025, SA-5510)
// and ends with a first word of 0x0000. Whatever follows that end mark is not looked at.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

enum class TBasicDialekt {
    MZ700, // MZ-700 S-BASIC 1Z-013B: binary numbers, 0x00 ends a line
    MZ800, // MZ-800 S-BASIC 1Z-016: the same layout, partly other keywords
    MZ80K, // MZ-80K BASIC SP-5025: ASCII numbers, 0x0D ends a line
    MZ80A, // MZ-80A BASIC SA-5510: as SP-5025, but with two-byte statements and links
};
inline constexpr int AnzahlBasicDialekte = 4;

// "MZ-700 S-BASIC 1Z-013B" and so on: the interpreter's name, the same in every language.
QString BasicDialektName(TBasicDialekt pv_dialekt);
// The short stable name of the command line: mz700, mz800, mz80k, mz80a.
QString BasicDialektKurzname(TBasicDialekt pv_dialekt);
// The dialect of a short name, without regard to case.
std::optional<TBasicDialekt> BasicDialektAusKurzname(const QString& pv_name);

// Why a body is no program of the dialect; `offset` is where the offending line starts.
struct TBasicFehler {
    enum class TArt {
        Keiner,
        KeinEnde,       // the body ends before the end mark 0x0000
        ZeileUeberEnde, // a line runs past the end of the body
        LaengeFalsch,   // the length word disagrees with where the line ends
        Reihenfolge,    // the line number does not follow the previous one
    };
    TArt art = TArt::Keiner;
    int offset = 0;
    int zeilenNummer = 0;
    int wert = 0; // LaengeFalsch: the length word; Reihenfolge: the previous line number
};

struct TBasicListe {
    TBasicDialekt dialekt = TBasicDialekt::MZ700;
    bool gueltig = false;
    QStringList zeilen; // the listing; empty when the body is refused
    // Line numbers that the program refers to (GOTO, GOSUB, ... stored in binary).
    std::vector<int> verweise;
    // Token bytes and number prefixes that no table names (listed as {XX}).
    int unbekannte = 0;
    TBasicFehler fehler;
};

// The listing of the body in the dialect. A body that is not a consistent program of the dialect
// is refused (gueltig false, fehler says why). The load address finds the lines that a
// running interpreter refers to by address.
TBasicListe ListeBasic(std::span<const std::uint8_t> pv_rumpf, std::uint16_t pv_ladeAdresse,
                       TBasicDialekt pv_dialekt);

// The dialect a body most likely is, from the file attribute, the load address, the line
// terminator and the tokens used; a body that fits none gives the attribute's first guess.
TBasicDialekt ErkenneBasicDialekt(std::span<const std::uint8_t> pv_rumpf, std::uint8_t pv_attribut,
                                  std::uint16_t pv_ladeAdresse);

// The catalogue's message for a refused body, in the current language.
QString BasicFehlerText(const TBasicListe& pv_liste, std::uint16_t pv_ladeAdresse);
