// The search for MZ files in a tape bit text, one character per pulse ('1' long, '0' short). A
// file on tape is a gap, a long mark, the header block and its copy, a gap, a short mark, the
// body block and its copy; a block is read from its first copy, and from the second only when
// the first fails its checksum.
//
// The text may be whole, or a recording's pulses as they come: then the search goes as far as
// the text allows and says so (BrauchtMehr), and is asked again once more text has come. The
// answers are the same however the text is cut into pieces. Positions count from 1 over the
// whole text; the search reads nothing before NoetigAb(), so the caller may forget it, and keeps
// every search bounded: a body is looked for at most GroessteDateiSpanne pulses after its long
// mark, which holds the largest file with both copies several times over.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct TTonbandBeobachter;

// The part of a bit text the search is shown: the characters from position `anfang` on, and
// whether anything may still follow them.
struct TBitFenster {
    std::string_view text;
    std::int64_t anfang = 1;
    bool vollstaendig = true;

    // The position after the last character held.
    std::int64_t Ende() const { return anfang + static_cast<std::int64_t>(text.size()); }
    char Zeichen(std::int64_t position) const { return text[static_cast<std::size_t>(position - anfang)]; }
};

// Where a pattern of the tape occurs: a run of zeros (the end of a gap) of at least a given
// length followed by a tail that begins with a "1". Every occurrence's zeros are the end of a run
// of zeros that the tail's first "1" ends, so the scan only looks at the end of each run: every
// character is looked at once, whatever the text holds. The scan can stop anywhere and go on with
// the next piece of text; the occurrences it has met are kept until they are forgotten.
class TMusterSucher {
public:
    enum class TFund { Gefunden, Keiner, BrauchtMehr };

    TMusterSucher(std::size_t nullen, std::string rest, std::int64_t anfang);

    std::size_t Laenge() const { return m_nullen + m_rest.size(); }
    std::size_t RestLaenge() const { return m_rest.size(); }
    std::string Text() const;

    // The first occurrence that starts at or after `von`, its start in `fund`: Keiner when there
    // is none, or when it does not end before `grenze`.
    TFund Finde(const TBitFenster& pv_fenster, std::int64_t von, std::int64_t grenze, std::int64_t& fund);
    // Scans what pv_fenster holds beyond what was scanned, so that the text before its end is no
    // longer needed (but for the few characters of a tail not yet complete).
    void ScanneBis(const TBitFenster& pv_fenster);
    // The first position the scan still has to look at.
    std::int64_t NoetigAb() const { return m_laufAnfang >= 0 && m_laufEnde >= 0 ? m_laufEnde : m_gelesen; }
    // Occurrences starting before `bis` are never asked for again.
    void Vergiss(std::int64_t bis);

private:
    void Scanne(const TBitFenster& f, std::int64_t bis);

    std::size_t m_nullen;
    std::string m_rest;
    std::int64_t m_gelesen;            // scanned up to here (exclusive)
    std::int64_t m_laufAnfang = -1;    // start of the run of zeros in hand, or -1
    std::int64_t m_laufEnde = -1;      // its end, when the tail after it could not yet be checked
    std::vector<std::int64_t> m_funde; // starts of the occurrences met, ascending
    std::size_t m_vergessen = 0;       // m_funde's entries before this one are forgotten
};

class TTonbandSuche {
public:
    enum class TErgebnis { Gefunden, Ende, BrauchtMehr };

    // The longest stretch from a long mark to the end of its file that is read: 4 million
    // pulses, about 45 minutes of tape, while the largest file with both copies of its body is
    // 1.2 million.
    static constexpr std::int64_t GroessteDateiSpanne = std::int64_t{1} << 22;

    static constexpr int KopfGroesse = 128;
    static constexpr int PruefsummeBytes = 2;

    // A search whose first file is looked for from pv_start on.
    explicit TTonbandSuche(std::int64_t pv_start = 1);

    // The next file from where the last one ended. Gefunden: HoleKopf, HoleRumpf and `ende`
    // (its last character) tell it. Ende: there is none before the end of a whole text.
    // BrauchtMehr: the text shown ends too early to tell; nothing has been reported, the search
    // stands where it stood. pv_melde, when given, is called at the points where a caller's
    // progress display is kept alive (each long mark looked for, each header and body found).
    TErgebnis Weiter(const TBitFenster& pv_fenster, std::int64_t& ende,
                     const TTonbandBeobachter* pv_beobachter = nullptr,
                     const std::function<void()>& pv_melde = {});

    const std::array<std::uint8_t, KopfGroesse>& HoleKopf() const { return m_kopf; }
    // The body of the file found, as many bytes as its header says.
    const std::vector<std::uint8_t>& HoleRumpf() const { return m_rumpf; }

    // Text before this position is never read again, once the patterns have been scanned up to
    // the end of the text shown (ScanneBis).
    std::int64_t NoetigAb() const;
    void ScanneBis(const TBitFenster& pv_fenster);
    void Vergiss(std::int64_t bis);

private:
    // What the parser met on one long mark's way; told to the observer once that way is decided.
    struct TEreignis {
        enum class TArt { LangeMarke, Kopf, KurzeMarke, Rumpf };
        TArt art;
        std::int64_t position;
        int kopie = 0;
        bool gut = false;
        bool kopfGelesen = false;
        std::array<std::uint8_t, KopfGroesse> kopf{};
    };
    enum class TLesen { Gelesen, Fehlt, BrauchtMehr };

    // Reads `anzahl` bytes from p on, 9 characters each, none at or after `grenze`; p ends on the
    // first byte that could not be read, or after the last one.
    TLesen LeseBytes(const TBitFenster& f, std::int64_t& p, std::uint8_t* ziel, int anzahl,
                     std::int64_t grenze);
    // The parser's search: from p on, which then holds the occurrence's last character.
    static TMusterSucher::TFund Suche(TMusterSucher& sucher, const TBitFenster& f, std::int64_t& p,
                                      std::int64_t grenze);
    TErgebnis Kandidat(const TBitFenster& f, std::int64_t& p, bool& gefunden,
                       const std::function<void()>& melde);
    void Melde(const TTonbandBeobachter* beobachter);

    std::int64_t m_start;
    std::int64_t m_markeSuche = 0; // where the long mark of the file in hand is looked for; 0: at m_start
    std::int64_t m_marke = 0;      // the last long mark found, while its file is in hand
    TMusterSucher m_lange;
    TMusterSucher m_kurze;
    TMusterSucher m_kopie;
    std::array<std::uint8_t, KopfGroesse> m_kopf{};
    std::array<std::uint8_t, KopfGroesse + PruefsummeBytes> m_kopfBlock{};
    std::vector<std::uint8_t> m_rumpf;
    std::vector<std::uint8_t> m_rumpfBlock; // body and checksum as read
    std::vector<TEreignis> m_ereignisse;    // of the long mark in hand, told once it is decided
    // A block's read that ran out of text: the candidate is tried again from its mark once more
    // has come, and the read goes on where it stopped. A body arrives over hundreds of pieces;
    // read from its start each time, it would cost time growing with the square of its length.
    struct TLeseStand {
        const std::uint8_t* ziel = nullptr;
        std::int64_t anfang = -1;
        int anzahl = 0;
        std::int64_t p = 0;
        int gelesen = 0;
    };
    TLeseStand m_leseStand;
};

// The checksum of a block as the tape carries it: the number of 1 bits, modulo 65,536.
std::uint16_t TonbandPruefsumme(const std::uint8_t* bytes, std::size_t anzahl);

// A bit text that comes in pieces, searched for MZ files as it comes: each file is handed to
// pv_beiFund as soon as it is complete, and only the text the search still needs is kept. Beside
// each pulse it may keep a number (where the pulse lies in a recording), for observers that tell
// the user where something happened.
class TTonbandStrom {
public:
    using TBeiFund = std::function<void(const TTonbandSuche& suche, std::int64_t ende)>;

    explicit TTonbandStrom(TBeiFund pv_beiFund, const TTonbandBeobachter* pv_beobachter = nullptr);

    void Haenge(std::string_view pv_bits);
    // The pulses with their positions, as many of each.
    void Haenge(std::string_view pv_bits, const std::int32_t* pv_positionen);
    // Nothing follows: the rest is searched to its end.
    void Abschliessen();

    // The position of a pulse still held (for observers, while they are called); -1 otherwise.
    std::int32_t HolePosition(std::int64_t pv_impuls) const;
    // Pulses appended so far, and of them those still held.
    std::int64_t HoleAnzahl() const { return m_anfang - 1 + static_cast<std::int64_t>(m_text.size()); }
    std::size_t HoleGehalten() const { return m_text.size(); }

private:
    void Suche(bool vollstaendig);

    TBeiFund m_beiFund;
    const TTonbandBeobachter* m_beobachter;
    TTonbandSuche m_suche;
    std::string m_text;                     // the pulses from m_anfang on
    std::vector<std::int32_t> m_positionen; // beside them, when given
    std::int64_t m_anfang = 1;
    bool m_ende = false;
};
