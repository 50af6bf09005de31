// A copy framed a few pulses off moved back by the other copy, and the bytes beside a loss that
// give way to the other copy's reading.
#include "KopieRahmen.h"

#include <algorithm>
#include <cstdlib>

namespace KopieRahmen {

namespace {

// Copy k's bytes from byte i on (in the direction `schritt`, +1 toward the block's end, -1 toward
// its start), moved by `weite` pulses either way: where, moved, they read as the other copy's, for
// at least RueckMindestens bytes when moved by more than a pulse, they are moved, for as long as
// that holds; over bytes the other copy holds no clear value of, the move goes on until this copy's
// own framing was disturbed again. The byte after the last one moved (in that direction; -1 or the
// block's length at its ends); NichtVerschoben where neither way fits.
constexpr int NichtVerschoben = -2;
int Verschiebe(const TBelegFolge& q, std::vector<TByte> (&kopien)[2], int k, int i, int weite, int schritt) {
    const auto bytes = static_cast<int>(kopien[k].size());
    const auto andereKlar = [&](int j) {
        return KlarerWert(q, kopien[1 - k][static_cast<std::size_t>(j)].start);
    };
    for (const int d : {-weite, weite}) {
        // How far the move holds: bytes that then agree, and bytes the other copy says nothing of.
        int gleich = 0;
        int j = i;
        for (; j >= 0 && j < bytes; j += schritt) {
            const std::int64_t start = kopien[k][static_cast<std::size_t>(j)].start;
            if (start < 0)
                break;
            const int hier = KlarerWert(q, start);
            const int verschoben = KlarerWert(q, start + d);
            const int andere = andereKlar(j);
            if (andere < 0) {
                if (verschoben < 0 || j == i)
                    break;
                continue;
            }
            if (hier == andere || verschoben != andere)
                break;
            ++gleich;
        }
        // Bytes the other copy said nothing of at the end are left where they were.
        while (j != i && andereKlar(j - schritt) < 0)
            j -= schritt;
        if (gleich == 0 || (weite > 1 && gleich < RueckMindestens))
            continue;
        for (int m = i; m != j; m += schritt)
            kopien[k][static_cast<std::size_t>(m)].start += d;
        return j;
    }
    return NichtVerschoben;
}

// Ruecke in one direction: where copy k's framing was disturbed (a byte lost) since the copies
// last read a byte alike, seen in the direction `schritt`, and the other copy's was not.
void RueckeRichtung(const TBelegFolge& q, std::vector<TByte> (&kopien)[2], int schritt) {
    const auto bytes = static_cast<int>(kopien[0].size());
    bool gestoert[2] = {false, false};
    for (int i = schritt > 0 ? 0 : bytes - 1; i >= 0 && i < bytes; i += schritt) {
        const auto z = static_cast<std::size_t>(i);
        for (int k = 0; k < 2; ++k)
            gestoert[k] = gestoert[k] || kopien[k][z].start < 0;
        const int a = KlarerWert(q, kopien[0][z].start);
        const int b = KlarerWert(q, kopien[1][z].start);
        if (a >= 0 && a == b) {
            gestoert[0] = gestoert[1] = false;
            continue;
        }
        if (gestoert[0] == gestoert[1])
            continue;
        // The copy that lost a pulse; a start bit read short there is off as well.
        const int k = gestoert[0] ? 0 : 1;
        const int gesucht = k == 0 ? b : a;
        if (gesucht < 0 || kopien[k][z].start < 0)
            continue;
        for (int weite = 1; weite <= RueckWeite; ++weite) {
            const int j = Verschiebe(q, kopien, k, i, weite, schritt);
            if (j == NichtVerschoben)
                continue;
            // Seen from behind, the pulse was lost or gained in the byte before those moved: it
            // now holds a pulse more or less than a byte has, unless it still reads as the other
            // copy's.
            if (schritt < 0 && j >= 0) {
                TByte& davor = kopien[k][static_cast<std::size_t>(j)];
                const int andere = KlarerWert(q, kopien[1 - k][static_cast<std::size_t>(j)].start);
                if (davor.start >= 0 && (andere < 0 || KlarerWert(q, davor.start) != andere))
                    davor.start = -1;
            }
            i = j - schritt;
            gestoert[0] = gestoert[1] = false;
            break;
        }
    }
}

} // namespace

std::vector<bool> Weichende(const TBelegFolge& q, const std::vector<TByte> (&kopien)[2], int k) {
    const auto bytes = static_cast<int>(std::min(kopien[0].size(), kopien[1].size()));
    std::vector<bool> weicht(kopien[k].size(), false);
    const auto unbekannt = [&](int kopie, int i) {
        return i >= 0 && i < bytes && kopien[kopie][static_cast<std::size_t>(i)].start < 0;
    };
    // The other copy's value of byte i where it read it whole, clear of bytes it could not give.
    const auto klar = [&](int i) {
        return unbekannt(1 - k, i - 1) || unbekannt(1 - k, i + 1)
                   ? -1
                   : KlarerWert(q, kopien[1 - k][static_cast<std::size_t>(i)].start);
    };
    // From each byte lost, both ways, for as long as the bytes read otherwise than the other copy's.
    for (int verloren = 0; verloren < bytes; ++verloren) {
        if (!unbekannt(k, verloren))
            continue;
        for (const int schritt : {-1, 1})
            for (int i = verloren + schritt;
                 i >= 0 && i < bytes && !unbekannt(k, i) && std::abs(i - verloren) <= WeichHoechstens;
                 i += schritt) {
                const int andere = klar(i);
                if (andere < 0 || KlarerWert(q, kopien[k][static_cast<std::size_t>(i)].start) == andere)
                    break;
                weicht[static_cast<std::size_t>(i)] = true;
            }
    }
    return weicht;
}

void Ruecke(const TBelegFolge& q, std::vector<TByte> (&kopien)[2]) {
    if (kopien[1].size() != kopien[0].size())
        return;
    RueckeRichtung(q, kopien, 1);
    RueckeRichtung(q, kopien, -1);
}

} // namespace KopieRahmen
