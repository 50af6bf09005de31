// What a file's evidence decides it to be: headers and bodies whose bits are put here byte by byte
// as both copies read them, their checksums worked out by hand and spoiled on purpose.
#include "BandBau.h"
#include "BandRetter.h"
#include "BlockVereinigung.h"
#include "MZFDatei.h"
#include "WAVSuche.h"

#include <array>
#include <bit>
#include <gtest/gtest.h>

namespace {

constexpr int RumpfBytes = 64;
constexpr int Klar = 64;

std::vector<std::uint8_t> Rumpf(int bytes) {
    std::vector<std::uint8_t> rumpf;
    for (int i = 0; i < bytes; ++i)
        rumpf.push_back(static_cast<std::uint8_t>((i * 37 + 11) & 0xFF));
    return rumpf;
}

int Einsen(const std::vector<std::uint8_t>& bytes) {
    int n = 0;
    for (const std::uint8_t b : bytes)
        n += std::popcount(b);
    return n;
}

std::array<std::int8_t, 8> Bits(std::uint8_t byte, int gewicht) {
    std::array<std::int8_t, 8> b{};
    for (int i = 0; i < 8; ++i)
        b[static_cast<std::size_t>(i)] =
            static_cast<std::int8_t>((byte >> (7 - i) & 1) != 0 ? gewicht : -gewicht);
    return b;
}

// A block as both copies read it: every byte at `gewicht` but those in `schwach` (at their own
// weight), the checksum given (high byte first), each byte's place confirmed but for `ohneOrt`.
TBlockBelege Block(const std::vector<std::uint8_t>& bytes, int pruefsumme,
                   const std::vector<std::pair<int, int>>& schwach = {},
                   const std::vector<int>& ohneOrt = {}) {
    TBlockBelege belege(static_cast<int>(bytes.size()));
    std::vector<std::uint8_t> alle = bytes;
    alle.push_back(static_cast<std::uint8_t>(pruefsumme >> 8 & 0xFF));
    alle.push_back(static_cast<std::uint8_t>(pruefsumme & 0xFF));
    for (int k = 0; k < 2; ++k)
        for (int i = 0; i < static_cast<int>(alle.size()); ++i) {
            int gewicht = Klar;
            for (const auto& [byte, g] : schwach)
                if (byte == i)
                    gewicht = g;
            belege.Lies(k, i, Bits(alle[static_cast<std::size_t>(i)], gewicht).data());
            if (std::find(ohneOrt.begin(), ohneOrt.end(), i) == ohneOrt.end())
                belege.Bestaetige(i);
        }
    belege.Verdichte();
    return belege;
}

TGeretteteDatei Datei(const TBlockBelege& kopf, const TBlockBelege& rumpf) {
    TGeretteteDatei d;
    d.kopfBelege = kopf;
    d.rumpfBelege = rumpf;
    d.mitRumpf = true;
    return d;
}

std::vector<std::uint8_t> KopfBytes(int groesse) {
    const QByteArray k = BandBau::Kopf("A", groesse);
    return std::vector<std::uint8_t>(k.begin(), k.end());
}

} // namespace

// A header put together from copies, its checksum agreeing, where a stretch's place rests on the
// framing alone: within the zeros after the name a stretch a byte off changes no count of 1 bits.
// Where the body's length measured on the tape lies far from the size it gives, it is told
// uncertain and the body is read with the length measured; where it lies near, or every byte's
// place was confirmed, the header stands.
TEST(BandEntscheidung, AHeaderTheBodysLengthSpeaksAgainstIsUncertain) {
    constexpr int Lang = 0x240;
    struct TFall {
        const char* name;
        int gemessen; // -1: not measured
        bool ohneOrt; // the stretch from byte 17 on placed by the framing alone
        bool kopfUnsicher;
    };
    const TFall faelle[] = {
        {"far from the length measured", Lang, true, true},
        {"near the length measured", 2, true, false},
        {"not measured", -1, true, false},
        {"every place confirmed", Lang, false, false},
    };
    // The header of a body of $0240 bytes with the stretch from byte 17 on a byte early: the size
    // reads $0002 ($40 $02 $00 from byte 17 on), the zero before it gone, a zero after it come.
    std::vector<std::uint8_t> kopf = KopfBytes(Lang);
    std::rotate(kopf.begin() + 17, kopf.begin() + 18, kopf.end());
    ASSERT_EQ(kopf[18] | kopf[19] << 8, 2);
    std::vector<int> stueck;
    for (int i = 17; i < 128; ++i)
        stueck.push_back(i);
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        // The body as long as the size the rescue reads it with: the length measured where the
        // header is told uncertain.
        const std::vector<std::uint8_t> rumpf = Rumpf(f.kopfUnsicher ? Lang : 2);
        TGeretteteDatei d = Datei(Block(kopf, Einsen(kopf), {}, f.ohneOrt ? stueck : std::vector<int>{}),
                                  Block(rumpf, Einsen(rumpf)));
        d.gemesseneGroesse = f.gemessen;
        TBandRetter::Entscheide(d);
        EXPECT_EQ(d.befund.kopfUnsicher, f.kopfUnsicher);
        EXPECT_EQ(d.befund.zustand == TDateiBefund::TZustand::Beschaedigt, f.kopfUnsicher);
        EXPECT_EQ(d.kopf[18] | d.kopf[19] << 8, f.kopfUnsicher ? Lang : 2);
    }
}

// Both polarities left the file damaged, and read together they leave more uncertain than either:
// the one with fewer uncertain bytes stays. Here that one framed the body a byte late throughout,
// every bit of it sure, its checksum unread (so nothing tells it wrong), one byte weak; the other
// read it right with three bytes weak, where the body runs four bytes alike (so the late reading
// holds them right). Where the other read a byte surely and otherwise, the one that stays is
// uncertain: every byte it holds wrong lies in its damage map.
TEST(BandEntscheidung, BytesThePolaritiesReadOtherwiseAreUncertain) {
    std::vector<std::uint8_t> wahr = Rumpf(RumpfBytes + 1);
    std::fill(wahr.begin() + 10, wahr.begin() + 14, 0x55);
    const std::vector<std::uint8_t> richtig(wahr.begin(), wahr.end() - 1);
    const std::vector<std::uint8_t> versetzt(wahr.begin() + 1, wahr.end());
    const std::vector<std::uint8_t> kopf = KopfBytes(RumpfBytes);
    const auto lesung = [&](const std::vector<std::uint8_t>& rumpf, int polaritaet,
                            std::vector<std::pair<int, int>> schwach) {
        // The checksum unread: nothing confirms the body, nothing speaks against it.
        schwach.push_back({RumpfBytes, 0});
        schwach.push_back({RumpfBytes + 1, 0});
        TGeretteteDatei d = Datei(Block(kopf, Einsen(kopf)), Block(rumpf, 0, schwach));
        d.polaritaet = polaritaet;
        d.beginn = 1000 + polaritaet;
        d.ende = 90000;
        TBandRetter::Entscheide(d);
        return d;
    };
    std::vector<TGeretteteDatei> beide = {lesung(versetzt, 0, {{40, 10}}),
                                          lesung(richtig, 1, {{10, 10}, {11, 10}, {12, 10}})};
    ASSERT_EQ(beide[0].befund.UnsichereBytes(), 1);
    ASSERT_EQ(beide[1].befund.UnsichereBytes(), 3);
    const std::vector<TGeretteteDatei> ergebnis = TBandRetter::BeidePolaritaeten(beide);
    ASSERT_EQ(ergebnis.size(), 1U);
    const TGeretteteDatei& d = ergebnis.front();
    EXPECT_EQ(d.rumpf, versetzt);
    EXPECT_EQ(d.befund.zustand, TDateiBefund::TZustand::Beschaedigt);
    for (int i = 0; i < RumpfBytes; ++i) {
        if (d.rumpf[static_cast<std::size_t>(i)] == richtig[static_cast<std::size_t>(i)])
            continue;
        const bool gemeldet =
            std::any_of(d.befund.unsichereBereiche.begin(), d.befund.unsichereBereiche.end(),
                        [&](const auto& r) { return i >= r.first && i < r.second; });
        EXPECT_TRUE(gemeldet) << "byte " << i << " wrong but not reported uncertain";
    }
}

// Both polarities left the file damaged; one read the header surely and the body with five bytes
// weak, the other the body with one byte weak and the header uncertain (its checksum read
// otherwise). Read together, the header's checksum is lost. What stays is the surely read header
// with the body that holds fewer uncertain bytes. Where the other polarity's uncertain header gave
// a size that the sure header speaks against (its body read a byte long), the reading with the
// sure header stays whole.
TEST(BandEntscheidung, AHeaderReadSurelyInOnePolarityStays) {
    const std::vector<std::uint8_t> kopf = KopfBytes(RumpfBytes);
    struct TFall {
        const char* name;
        bool andereLaenge;
        int unsicher; // the body's uncertain bytes that stay
    };
    const TFall faelle[] = {{"the body as long as the sure header says", false, 1},
                            {"the body a byte longer", true, 5}};
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        const int laenge = RumpfBytes + (f.andereLaenge ? 1 : 0);
        std::vector<std::uint8_t> andererKopf = kopf;
        andererKopf[18] = static_cast<std::uint8_t>(laenge);
        const std::vector<std::uint8_t> rumpf = Rumpf(RumpfBytes), langerRumpf = Rumpf(laenge);
        const auto lesung = [](const TBlockBelege& k, const TBlockBelege& r, int polaritaet) {
            TGeretteteDatei d = Datei(k, r);
            d.polaritaet = polaritaet;
            d.beginn = 1000 + polaritaet;
            d.ende = 90000;
            TBandRetter::Entscheide(d);
            return d;
        };
        // The checksums of the bodies spoiled by one: damaged, whatever the weak bytes hold.
        std::vector<TGeretteteDatei> beide = {
            lesung(Block(kopf, Einsen(kopf)),
                   Block(rumpf, Einsen(rumpf) + 1, {{1, 10}, {2, 10}, {3, 10}, {4, 10}, {5, 10}}), 0),
            lesung(Block(andererKopf, Einsen(andererKopf) + 1),
                   Block(langerRumpf, Einsen(langerRumpf) + 1, {{40, 10}}), 1)};
        ASSERT_FALSE(beide[0].befund.kopfUnsicher);
        ASSERT_TRUE(beide[1].befund.kopfUnsicher);
        ASSERT_EQ(beide[0].befund.UnsichereBytes(), 5);
        ASSERT_EQ(beide[1].befund.UnsichereBytes(), 1);
        const std::vector<TGeretteteDatei> ergebnis = TBandRetter::BeidePolaritaeten(beide);
        ASSERT_EQ(ergebnis.size(), 1U);
        const TGeretteteDatei& d = ergebnis.front();
        EXPECT_FALSE(d.befund.kopfUnsicher);
        EXPECT_TRUE(std::equal(kopf.begin(), kopf.end(), d.kopf.begin()));
        EXPECT_EQ(d.rumpf, rumpf);
        EXPECT_EQ(d.befund.zustand, TDateiBefund::TZustand::Beschaedigt);
        EXPECT_EQ(d.befund.UnsichereBytes(), f.unsicher);
    }
}

// A damaged body none of whose bytes rests on weak evidence (a copy framed a byte off throughout
// reads every bit surely): the checksum speaks against it, or was not read, so any byte could be a
// wrong one, and the file comes with every byte of its body uncertain, not with none.
TEST(BandEntscheidung, ADamagedBodyWithoutWeakBytesIsUncertainThroughout) {
    const std::vector<std::uint8_t> kopf = KopfBytes(RumpfBytes), rumpf = Rumpf(RumpfBytes);
    struct TFall {
        const char* name;
        int pruefsumme;
        std::vector<std::pair<int, int>> schwach;
        TDateiBefund::TZustand zustand;
        std::vector<std::pair<int, int>> unsicher;
    };
    const auto beschaedigt = TDateiBefund::TZustand::Beschaedigt;
    const TFall faelle[] = {
        {"the checksum unread", -1, {}, beschaedigt, {{0, RumpfBytes}}},
        {"the checksum one 1 bit off", Einsen(rumpf) + 1, {}, beschaedigt, {{0, RumpfBytes}}},
        {"one byte weak", Einsen(rumpf) + 1, {{40, 10}}, beschaedigt, {{40, 41}}},
        // Put together from the copies' evidence (neither copy was kept as read whole): repaired.
        {"whole", Einsen(rumpf), {}, TDateiBefund::TZustand::Repariert, {}},
    };
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        std::vector<std::pair<int, int>> schwach = f.schwach;
        if (f.pruefsumme < 0) {
            schwach.push_back({RumpfBytes, 0});
            schwach.push_back({RumpfBytes + 1, 0});
        }
        TGeretteteDatei d =
            Datei(Block(kopf, Einsen(kopf)), Block(rumpf, std::max(f.pruefsumme, 0), schwach));
        TBandRetter::Entscheide(d);
        std::vector<TGeretteteDatei> gerettet = {d};
        std::vector<std::unique_ptr<TMZFDatei>> dateien;
        FuegeGerettetHinzu(dateien, gerettet);
        ASSERT_EQ(dateien.size(), 1U);
        const TDateiBefund& befund = dateien.front()->HoleBefund();
        EXPECT_EQ(befund.zustand, f.zustand);
        EXPECT_EQ(befund.unsichereBereiche, f.unsicher);
    }
}
