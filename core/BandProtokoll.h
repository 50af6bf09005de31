// Follows the tape parser through one or more bit texts of the same tape and notes every file it
// had to pass over: a header whose copies both failed, or a file whose body never agreed with its
// checksum. A file found in the end (in another copy, another pass) is not missing.
#pragma once

#include "MZFDatei.h"

#include <array>
#include <functional>
#include <set>
#include <vector>

class TBandProtokoll {
public:
    // Places told at most; a tape damaged in more places tells how many more there were.
    static constexpr std::size_t GroessteAnzahl = 1000;

    // `position` turns the pulse where a long mark ends into the position told to the user;
    // `mitKoepfen` whether unreadable headers count too (on a recording every pass of the wrong
    // polarity has plenty of them, on a tape image none but real ones).
    TBandProtokoll(std::function<qint64(std::int64_t marke)> position, bool mitKoepfen);
    TBandProtokoll(const TBandProtokoll&) = delete;
    TBandProtokoll& operator=(const TBandProtokoll&) = delete;

    const TTonbandBeobachter* Beobachter() const { return &m_beobachter; }
    // The text has been searched to its end; the next one starts afresh.
    void TextZuEnde();
    // Takes what another text of the same tape passed over, after what this one passed over.
    void HaengeAn(TBandProtokoll& pv_spaeter);
    // What was passed over and never found, each once.
    std::vector<TUebersprungenes> Ergebnis(const std::vector<std::unique_ptr<TMZFDatei>>& gefunden);
    // Of what was passed over, what `gefunden` does not hold after all: a file whose body failed is
    // held where a file found has its header, or an uncertain header that agrees with it wherever
    // it is sure (several recordings of one tape: another one gave the file).
    static std::vector<TUebersprungenes>
    OhneGefundene(std::vector<TUebersprungenes> pv_uebersprungen,
                  const std::vector<std::unique_ptr<TMZFDatei>>& gefunden);

private:
    using TKopf = std::array<std::uint8_t, TMZFDatei::KopfGroesse>;

    void Neu(const TUebersprungenes& was, const TKopf& kopf);

    std::function<qint64(std::int64_t)> m_position;
    bool m_mitKoepfen;
    TTonbandBeobachter m_beobachter;
    bool m_offen = false;
    std::int64_t m_marke = 0;
    bool m_kopfGut = false;
    bool m_rumpfGut = false;
    TKopf m_kopf{};
    std::vector<std::pair<TUebersprungenes, TKopf>> m_uebersprungen;
    std::set<TKopf> m_beschaedigteRuempfe; // the headers of the damaged bodies told
    std::size_t m_weitere = 0;
};
