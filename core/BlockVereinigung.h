// One block of a file on tape (a header of 128 bytes or a body) as the rescue of a worn tape
// puts it together: what every reading of each copy said of each bit, and the bytes decided from
// all of them. The tape writes every block twice; a bit's weight is, per copy, the mean of what
// the passes over that copy said (they hear the same stretch of tape; a faint vote adds without
// counting as a reading), and the copies are added
// (they are different stretches). The checksum, the number of 1 bits, then decides; when it does
// not agree, the least certain bits are flipped in a bounded search, smallest sets first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TBlockBelege {
public:
    static constexpr int PruefsummeBytes = 2;
    static constexpr int BitsProByte = 8;
    // Votes fainter than this (of 127, surely) count as no reading.
    static constexpr int Leise = 8;

    explicit TBlockBelege(int pv_anzahl = 0);

    // Data bytes; the block holds the two checksum bytes after them.
    int Anzahl() const { return m_anzahl; }
    int Bytes() const { return m_anzahl + PruefsummeBytes; }

    // What one reading of copy pv_kopie (0 or 1) said of byte pv_index: eight values, most
    // significant bit first, from -127 (surely 0) to 127 (surely 1); 0: nothing.
    void Lies(int pv_kopie, int pv_index, const std::int8_t* pv_bits);
    // Byte pv_index was read where its place in the block was confirmed (by the copy's start or
    // end, or by the other copy), not by the framing alone.
    void Bestaetige(int pv_index);
    // Some reading said something of the byte, but none at a confirmed place.
    bool Unbestaetigt(int pv_index) const;
    // Copy pv_kopie framed byte pv_index after a byte it lost, where framed a pulse later it would
    // read as well (its first bit long): its reading of it does not count as whole (see Guete).
    void Mehrdeutig(int pv_kopie, int pv_index);
    // Copy pv_kopie framed byte pv_index near a byte it lost, where framed a pulse earlier or later
    // it would read as well: where the polarities read the copy's byte differently, the one that
    // framed it clear of a loss is taken (see Mittle).
    void NahVerlust(int pv_kopie, int pv_index);
    // Both copies read byte pv_index, and either as different values, a bit of it at least
    // KopienStreit surely one way in one copy and the other way in the other (one of them is wrong,
    // however the weights fall), or each framed it doubtfully (alike, they look sure): in a damaged
    // block it is uncertain.
    bool Zweifelhaft(int pv_index) const;
    // A reading this sure is wrong in about one case of twenty: against it even a clear reading of
    // the other copy is in doubt.
    static constexpr int KopienStreit = 12;
    // The same block from another recording of the tape: its weights are added. Where the two
    // read a byte as different values and one of them read it more wholly (see Guete; a copy
    // beside a dropout is often framed off), the byte goes by that one, a copy of the other that
    // read it so adding to it; where one copy read it alike in both recordings and the other copy
    // differently in each, it goes by the copy that read alike. Both must be condensed for that.
    // A byte only the other recording read counts as read, so that its place, where no reading
    // confirmed it, leaves it uncertain in a damaged block.
    void NimmHinzu(const TBlockBelege& pv_andere);
    // The same block of the same recording read in the other polarity: the same stretches of tape
    // heard at the other edges, so each bit's weight is the mean of both readings (not their sum).
    // Both must be condensed. Where one copy's two readings of a byte disagree (a pulse lost or
    // gained in one polarity frames the byte a bit off), or only one polarity read it and against
    // the other copy, while the other copy's two readings agree throughout, the byte goes by that
    // other copy alone. Where a copy's two readings disagree and one polarity framed it near a loss
    // and the other did not, the copy's byte goes by the other polarity.
    void Mittle(const TBlockBelege& pv_andere);
    // A bit the two polarities read of one copy, each at least this surely and opposite: they
    // disagree.
    static constexpr int PolaritaetenStreit = 12;
    // How many readings said something of the byte, in all copies.
    int Lesungen(int pv_index) const;

    // Every bit's weight, positive for 1.
    std::vector<float> Gewichte() const;

    // The bytes both copies read whole and differently, a bit of them read at least `klar` one way
    // by one copy and the other way by the other, while the readings are still kept; empty where
    // there are more than `hoechstens`.
    std::vector<int> Streitig(float klar, int hoechstens) const;
    // Copy k's mean reading of bit pv_bit, 0 where it read nothing of it.
    float Kopie(int pv_kopie, std::size_t pv_bit) const;
    // The checksum chose copy pv_kopie's reading of byte pv_index: the other copy reads it so too.
    void Uebernimm(int pv_index, int pv_kopie);

    // The readings are all in: only the weights and the count of readings per byte are kept, a
    // third of the room (a file's evidence waits for the end of the recording and for the other
    // recordings). Nothing more is read afterwards.
    void Verdichte();

private:
    int m_anzahl;
    std::vector<float> m_summe[2];
    std::vector<std::uint8_t> m_lesungen[2];
    std::vector<std::uint8_t> m_lesungenJeByte; // once condensed
    std::vector<float> m_fremd;                 // from other recordings; once condensed, all
    std::vector<std::int8_t> m_mittel[2];       // once condensed: each copy's mean reading per bit
    std::vector<bool> m_bestaetigt;             // per byte
    std::vector<bool> m_mehrdeutig[2];          // per byte, per copy
    std::vector<bool> m_nahVerlust[2];          // per byte, per copy

    // How whole the recording read the byte (once condensed): the number of copies that heard every
    // bit of it (none fainter than Leise) and framed it clearly, 0 where the copies contradict each
    // other.
    int Guete(int pv_index) const;
};

struct TBlockEntscheidung {
    std::vector<std::uint8_t> bytes; // the data bytes
    bool gut = false;                // the checksum agrees
    int gekippt = 0;                 // bits the search flipped
    // Per data byte: it rests on weak or no evidence, or a flipped bit.
    std::vector<bool> unsicher;
};

namespace BlockVereinigung {
// A bit weighs less than this: not sure. One clear reading weighs about 64.
constexpr float Unsicher = 24.0F;
// A weak 1 and a weak 0 that weigh less than this together could both be wrong without the
// checksum telling: the block is not taken as good.
constexpr float Zweifel = 2.0F * Unsicher;
// Where at most this many bits weigh less than Zweifel, the search weighs the sets it flips against
// each other only; where more do, also against every other bit below Zweifel and beyond.
constexpr int HoechstensSchwach = 10;
// The search looks at this many of the least certain bits, and flips sets of at most this many;
// only bits weighing less than Kippbar are flipped. A set is taken only when the next best set of
// its size costs at least Vorsprung times as much.
constexpr int Kandidaten = 20;
constexpr int GroessteMenge = 2;
constexpr float Kippbar = 32.0F;
constexpr float Vorsprung = 2.0F;

// Where no such set is found: as many uncertain bits as the checksum says are wrong, when there
// are exactly that many that would each put it right, and at most this many. Where a bit of their
// value lies below Zweifel beside them, the flips stand as the best guess, yet the block is not
// good.
constexpr int EinerleiHoechstens = 16;
TBlockEntscheidung Entscheide(const std::vector<float>& pv_gewichte, int pv_anzahl);

// Where the copies each read a byte clearly, yet differently (a pulse one copy lost or gained
// there, a click), one of the two readings is right: for at most StreitHoechstens such bytes
// every choice of readings is checked against the checksum, and where exactly one choice makes it
// agree (no flips, no weak bits hiding each other), that choice is taken and the other copy reads
// those bytes so too; the block is then repaired, `gekippt` counting the bits it changed.
// Otherwise as Entscheide. A copy's reading of a bit counts as clear from Zweifel on.
constexpr int StreitHoechstens = 4;
TBlockEntscheidung EntscheideMitKopien(TBlockBelege& pv_belege);
} // namespace BlockVereinigung
