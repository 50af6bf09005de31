// The bytes of one copy of a block framed on their start bits as a whole: the copy's pulses are laid
// on the block's pattern (9 pulses a byte, the first of them long) with the fewest pulses taken as
// lost or gained, as a dynamic programme over a band that follows the copy's drift. A pulse lost
// or gained then costs only the byte it falls in, and a gained pulse that nothing or little is
// known of (a click, a dropout, a pulse split in two) is the cheapest to drop, unless it lasts as
// long as the tape's own pulses. Of the numbers of pulses a dropout may have swallowed, the one
// nearest its length at the pulses before it is taken.
// Bounded: the band holds RahmenBand pulses either way of the best place, so the work and the room
// are linear in the block's length.
#pragma once

#include "BelegFolge.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace KopieRahmen {

constexpr int DatenBits = 8;
constexpr int BitsProByte = DatenBits + 1;
// Pulses either way of the best place that the band holds.
constexpr int RahmenBand = 24;
// A long pulse lasts about this many short ones (MZ-700 and MZ-80K 1.9, MZ-800 1.86, MZ-80B 2.0),
// and a pulse this many times as long as a long one is no pulse but pulses lost.
constexpr double LangZuKurz = 1.9;
constexpr double LueckenGrenze = 1.45;

// A byte of the block as the copy gave it: the pulse of its start bit (-1: the byte is not known,
// a pulse was lost or gained within it), and the pulses of its eight bits follow that one. A
// dropout so long that the bits it swallowed may be a whole byte more or less begins a new
// stretch, and so do pulses lost or gained close together (the framing may have taken a byte there
// for a few pulses: the start bits read as well): the place in the block of a stretch after the
// first is known only to a few bytes.
struct TByte {
    std::int64_t start = -1;
    int abschnitt = 0;
    // Its place rests on the framing alone: no byte of the other copy confirmed it.
    bool unbestaetigt = false;
};

// Frames `bytes` bytes of the copy whose first start bit is the pulse `anfang` of q; `kurz` is the
// length of a short pulse in frames.
std::vector<TByte> Rahme(const TBelegFolge& q, std::int64_t anfang, int bytes, double kurz);

// The byte's value when its start bit and all eight bits were read (none unknown), from the start
// bit at `start` of q; -1 otherwise.
int KlarerWert(const TBelegFolge& q, std::int64_t start);

// Places the stretches after the first of both copies of a block by the other copy: by the time
// since the last byte both copies hold (at the other copy's speed), where the other copy holds a
// byte at that time, or, where it lost that byte as well, a byte or two on by the length of its
// bytes; else by moving it up to AbschnittVerschiebung bytes to where its bytes equal the bytes of
// the other copy placed already, when that place is clear. Stretches placed so place others in
// turn, in both copies by turns along the block, each looked for around where the one before in its
// copy was moved to (the framing's error at dropouts adds up). Where the other copy's bytes speak
// against the place the time gives, the bytes decide, or the stretch stays there unconfirmed. A
// place that rests on such an estimate, or that the bytes alone moved away from where the framing
// put the stretch, stays unconfirmed, and so do the stretches placed by it. A stretch that fits
// nowhere clearly while the other copy speaks against its place is left out: a byte in the wrong
// place would speak against the right one. One the other copy says nothing of stays where the
// framing put it (moved as the stretch before), unconfirmed, and places the other copy's in turn:
// where a stretch of each copy waits for the other's bytes, the one after the shorter gap is laid
// first (the framing counts what a short dropout swallowed better). Afterwards every byte given
// stands at its place in the block.
constexpr int AbschnittVerschiebung = 3;
void Ordne(const TBelegFolge& q, std::vector<TByte> (&kopien)[2]);

// Before Ordne: every stretch after the first split after each byte lost within it (the framing
// may have counted a byte too many or too few there), so that Ordne places each piece; false where
// no stretch holds such a byte. The first stretch, placed by the block's start, stays whole.
bool Teile(std::vector<TByte> (&kopien)[2]);

// After Ordne: where one copy lost or gained a pulse since the last byte both copies read alike and
// the other did not, the framing may have put that pulse in the wrong byte, and the copy's bytes
// after it stand a pulse off (a byte whose first bit is 1 reads as well one pulse later, at no
// cost). At a dropout, how many pulses it swallowed is known only roughly: where the bytes repeat
// (a run of one value), a few pulses more or less read as well, and the copy stands off by up to
// RueckWeite pulses until its next dropout. Where the copies then disagree and that copy's bytes,
// moved, read exactly as the other copy's (for at least RueckMindestens bytes when moved by more
// than one pulse), they are moved, for as long as that holds. The same is looked for backwards from
// each such loss: a pulse lost or gained unseen (two short pulses heard as one long one) puts the
// bytes after it a pulse off until a start bit falls on a short pulse and the framing loses a byte
// to get back; the byte where the pulse went is then left to the other copy.
constexpr int RueckWeite = 3;
constexpr int RueckMindestens = 2;
void Ruecke(const TBelegFolge& q, std::vector<TByte> (&kopien)[2]);

// The bytes of copy k that give way to the other copy's: from a byte the copy could not give (a
// pulse lost or gained there) its bytes are often framed a pulse off, until a start bit falls on a
// short pulse. Where the other copy, clear of such bytes, read a byte whole as another value, that
// byte and those between it and the loss are better left out than weighed against the other
// copy's; up to the first byte both read alike, and WeichHoechstens bytes from the loss at most (in
// a stretch of many losses the other copy is no surer).
constexpr int WeichHoechstens = 2;
std::vector<bool> Weichende(const TBelegFolge& q, const std::vector<TByte> (&kopien)[2], int k);

// Before Ordne: the second copy's first bytes against the first copy's, each read clearly where
// the framing put them (their first stretch). Where they read as each other only with the second
// copy moved by up to AbschnittVerschiebung bytes, clearly, the second copy's start was found that
// many bytes off (a click on its first start bits, a pulse lost in its first byte): by how many
// bytes it begins after (before, negative) where it was found; 0 where it reads as the first
// where it is; nothing where no place is clear.
constexpr int VersatzBytes = 32;
std::optional<int> Versatz(const TBelegFolge& q, const std::vector<TByte> (&kopien)[2]);

} // namespace KopieRahmen
