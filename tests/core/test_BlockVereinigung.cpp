// A block put together from the weights of its bits: weights built here from known bytes and their
// checksum (the number of 1 bits, high byte first), then weakened or turned at known bits.
#include "BandRetter.h"
#include "BlockBelegeBau.h"
#include "BlockVereinigung.h"

#include <array>
#include <bit>
#include <gtest/gtest.h>

namespace {

constexpr float Klar = 64.0F;

// The weights of the data bytes and the two checksum bytes as clear readings.
std::vector<float> Gewichte(const std::vector<std::uint8_t>& bytes) {
    int einsen = 0;
    for (const std::uint8_t b : bytes)
        einsen += std::popcount(b);
    std::vector<std::uint8_t> block = bytes;
    block.push_back(static_cast<std::uint8_t>(einsen >> 8));
    block.push_back(static_cast<std::uint8_t>(einsen & 0xFF));
    std::vector<float> g;
    for (const std::uint8_t b : block)
        for (int bit = 7; bit >= 0; --bit)
            g.push_back((b >> bit & 1) != 0 ? Klar : -Klar);
    return g;
}

const std::vector<std::uint8_t> Daten{0x3E, 0x00, 0xC3, 0x12, 0x80, 0xFF, 0x55, 0x01};

} // namespace

TEST(BlockVereinigung, DecidesFlipsAndDoubts) {
    struct TFall {
        const char* name;
        std::vector<std::pair<int, float>> setze; // bit index, new weight
        bool gut;
        int gekippt;
        std::vector<int> unsicher; // bytes
    };
    // Eleven bits read right but not surely (more than the ten weak bits below which the search
    // weighs its sets only against each other): all of byte 5 (0xFF) and three of the 1s of byte 0
    // (0x3E), or in `nullen` three bits of byte 1 (0x00) instead.
    const auto vieleSchwache = [](std::vector<std::pair<int, float>> dazu, float nullen) {
        for (int bit = 0; bit < 8; ++bit)
            dazu.push_back({5 * 8 + bit, 40.0F});
        for (int bit = 0; bit < 3; ++bit)
            dazu.push_back(nullen != 0.0F ? std::pair{1 * 8 + bit, nullen}
                                          : std::pair{0 * 8 + 2 + bit, 40.0F});
        return dazu;
    };
    const TFall faelle[] = {
        {"clear", {}, true, 0, {}},
        // Among many weak bits, a 1 read as a 0 at less than half the weight of any 0 that could
        // mend the checksum in its place: it is flipped.
        {"many weak bits, one wrong far weaker", vieleSchwache({{3 * 8 + 3, -26.0F}}, 0.0F), true, 1, {3}},
        // Weak right 0s weigh less than twice as much: which 0 is wrong is not clear.
        {"many weak bits, one wrong not far weaker",
         vieleSchwache({{3 * 8 + 3, -26.0F}}, -45.0F),
         false,
         0,
         {}},
        // One bit read weakly the wrong way: the checksum names it.
        {"one weak wrong bit", {{3 * 8 + 3, -10.0F}}, true, 1, {3}},
        // Two weak bits, a 1 read as 0 and a 0 read as 1: the count of 1 bits agrees, yet either
        // could be wrong, so the block is not good.
        {"a weak 1 and a weak 0 together", {{0 * 8 + 2, 12.0F}, {1 * 8 + 5, -9.0F}}, false, 0, {0, 1}},
        // The same two bits read surely: nothing to doubt.
        {"a sure 1 and a sure 0", {{0 * 8 + 2, 40.0F}, {1 * 8 + 5, -40.0F}}, true, 0, {}},
        // Two weak wrong bits of the same kind and nothing else weak: the checksum is short by two
        // and the only pair that mends it is flipped.
        {"two weak wrong 1s", {{2 * 8 + 0, -8.0F}, {4 * 8 + 0, -11.0F}}, true, 2, {2, 4}},
        // Three 1s read weakly as 0s (more than the sets tried): the checksum is short by three and
        // exactly three bits are uncertain 0s, so all three are flipped.
        {"three weak wrong 1s", {{2, -8.0F}, {3, -11.0F}, {4, -5.0F}}, true, 3, {0}},
        // A fourth uncertain 0 that is right: which three are wrong is not known.
        {"three weak wrong 1s and a weak right 0",
         {{2, -8.0F}, {3, -11.0F}, {4, -5.0F}, {8, -9.0F}},
         false,
         0,
         {0, 1}},
        // A right 0 only a little surer than the three: it could as well be one of those wrong.
        // The three are flipped as the best guess, yet the block is not good.
        {"three weak wrong 1s and a right 0 a little surer",
         {{2, -8.0F}, {3, -11.0F}, {4, -5.0F}, {8, -30.0F}},
         false,
         3,
         {0}},
        // A checksum bit read weakly: the count it gives is not sure.
        {"three weak wrong 1s, a weak checksum bit",
         {{2, -8.0F}, {3, -11.0F}, {4, -5.0F}, {8 * 8 + 15, 10.0F}},
         false,
         0,
         {0}},
    };
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        std::vector<float> g = Gewichte(Daten);
        for (const auto& [bit, gewicht] : f.setze)
            g[static_cast<std::size_t>(bit)] = gewicht;
        const TBlockEntscheidung e = BlockVereinigung::Entscheide(g, static_cast<int>(Daten.size()));
        EXPECT_EQ(e.gut, f.gut);
        EXPECT_EQ(e.gekippt, f.gekippt);
        if (f.gut) {
            EXPECT_EQ(e.bytes, Daten);
        }
        std::vector<int> unsicher;
        for (std::size_t i = 0; i < e.unsicher.size(); ++i)
            if (e.unsicher[i])
                unsicher.push_back(static_cast<int>(i));
        EXPECT_EQ(unsicher, f.unsicher);
    }
}

// A checksum nothing was read of confirms nothing: bits unknown decide as 0, and a block of zero
// bytes, or a block of which nothing was read at all, would otherwise agree with a checksum of 0.
TEST(BlockVereinigung, AnUnreadChecksumConfirmsNothing) {
    const std::vector<std::uint8_t> nullen(8, 0x00);
    const std::size_t pruefsummeAb = nullen.size() * 8;
    std::vector<float> gelesen = Gewichte(nullen);
    std::fill(gelesen.begin() + static_cast<std::ptrdiff_t>(pruefsummeAb), gelesen.end(), 0.0F);
    const std::vector<float> nichts(gelesen.size(), 0.0F);
    for (const auto& [name, g] :
         {std::pair{"zero bytes, checksum unread", gelesen}, std::pair{"nothing read", nichts}}) {
        SCOPED_TRACE(name);
        const TBlockEntscheidung e = BlockVereinigung::Entscheide(g, static_cast<int>(nullen.size()));
        EXPECT_FALSE(e.gut);
    }
    // One checksum bit unread while the others say the block holds no 1 bit: still unconfirmed.
    std::vector<float> einBit = Gewichte(nullen);
    einBit[pruefsummeAb + 15] = 0.0F;
    EXPECT_FALSE(BlockVereinigung::Entscheide(einBit, static_cast<int>(nullen.size())).gut);
}

// A file's evidence is condensed once its readings are in: what it says afterwards, alone and
// added to another recording's, is what it said before.
TEST(BlockVereinigung, CondensedEvidenceSaysTheSame) {
    const int anzahl = static_cast<int>(Daten.size());
    const std::vector<float> klar = Gewichte(Daten);
    TBlockBelege belege(anzahl);
    for (int kopie = 0; kopie < 2; ++kopie)
        for (int index = 0; index < anzahl + TBlockBelege::PruefsummeBytes; ++index) {
            if (kopie == 1 && index == 3)
                continue; // the second copy lost this byte
            std::int8_t bits[8];
            for (int b = 0; b < 8; ++b)
                bits[b] = static_cast<std::int8_t>(
                    klar[static_cast<std::size_t>(index * 8 + b)] > 0 ? 60 - kopie * 50 : -60 + kopie * 50);
            belege.Lies(kopie, index, bits);
            if (index != 5)
                belege.Bestaetige(index);
        }
    TBlockBelege verdichtet = belege;
    verdichtet.Verdichte();
    EXPECT_EQ(verdichtet.Gewichte(), belege.Gewichte());
    for (int index = 0; index < anzahl; ++index) {
        EXPECT_EQ(verdichtet.Lesungen(index), belege.Lesungen(index)) << index;
        EXPECT_EQ(verdichtet.Unbestaetigt(index), belege.Unbestaetigt(index)) << index;
    }
    EXPECT_EQ(verdichtet.Lesungen(3), 1);
    EXPECT_TRUE(verdichtet.Unbestaetigt(5));
    TBlockBelege a(anzahl), b(anzahl);
    a.NimmHinzu(belege);
    b.NimmHinzu(verdichtet);
    EXPECT_EQ(a.Gewichte(), b.Gewichte());
    EXPECT_EQ(BlockVereinigung::Entscheide(verdichtet.Gewichte(), anzahl).bytes, Daten);
}

// A copy's weight of a bit is the mean of its readings, yet a vote fainter than an eighth of a
// clear reading (a fixed pass hears a pulse inside a dropout at a tenth of its level) adds without
// counting as a reading: counted, it would pull the adaptive pass's clear reading of the same pulse
// toward nothing. The weights, worked out by hand, before and after condensing.
TEST(BlockVereinigung, AFaintVoteDoesNotDiluteAClearReading) {
    struct TFall {
        const char* name;
        std::vector<int> stimmen; // the readings of bit 0 of copy 1, in turn
        float gewicht;
    };
    const TFall faelle[] = {
        {"a faint vote along", {61, 4}, 65.0F},
        {"a faint vote against", {61, -5}, 56.0F},
        {"faint votes alone", {3, -1, 4}, 6.0F},
        {"a vote of an eighth counts", {61, 8}, 34.5F},
        {"two clear readings and a faint one", {60, 50, 6}, 58.0F},
        {"no more than surely", {127, 7}, 127.0F},
    };
    for (const TFall& f : faelle) {
        TBlockBelege belege(1);
        for (const int stimme : f.stimmen) {
            const std::int8_t bits[8] = {static_cast<std::int8_t>(stimme), 0, 0, 0, 0, 0, 0, 0};
            belege.Lies(0, 0, bits);
        }
        EXPECT_FLOAT_EQ(belege.Kopie(0, 0), f.gewicht) << f.name;
        EXPECT_FLOAT_EQ(belege.Gewichte()[0], f.gewicht) << f.name;
        belege.Verdichte();
        EXPECT_FLOAT_EQ(belege.Gewichte()[0], f.gewicht) << f.name;
    }
}

// In a damaged block a byte is uncertain however its weights fall where both copies read it and
// either each framed it doubtfully (alike, they would look sure) or they read it as different
// values, each at least 12 surely (a reading of 12 is wrong in about one case of twenty); before
// the readings are condensed and after.
TEST(BlockVereinigung, ABytesCopiesInDoubtMakeItUncertain) {
    struct TFall {
        const char* name;
        TLesung eins, zwei;
        bool zweifelhaft;
    };
    const TFall faelle[] = {
        {"both framed doubtfully", {0x21, 64, -1, true}, {0x21, 64, -1, true}, true},
        {"one framed doubtfully", {0x21, 64, -1, true}, {0x21, 64}, false},
        {"one copy alone, framed doubtfully", {0x21, 64, -1, true}, {0, 0}, false},
        {"read clearly as different values", {0x21, 64}, {0x42, 30}, true},
        {"one of them not clearly, yet surely enough", {0x21, 64}, {0x42, 12}, true},
        {"one of them faintly", {0x21, 64}, {0x42, 11}, false},
        {"read alike", {0x21, 64}, {0x21, 30}, false},
    };
    for (const TFall& f : faelle) {
        for (const bool verdichtet : {false, true}) {
            TBlockBelege belege(1);
            for (int k = 0; k < 2; ++k) {
                const TLesung& l = k == 0 ? f.eins : f.zwei;
                if (l.gewicht != 0)
                    belege.Lies(k, 0, Bits(l.byte, l.gewicht).data());
                if (l.zweifel)
                    belege.Mehrdeutig(k, 0);
            }
            if (verdichtet)
                belege.Verdichte();
            EXPECT_EQ(belege.Zweifelhaft(0), f.zweifelhaft) << f.name << (verdichtet ? ", condensed" : "");
        }
    }
}

// Each copy read one byte clearly, yet wrong (a pulse lost there, a click): where exactly one
// choice between the copies' readings makes the checksum agree, it is taken, and the other copy
// reads those bytes so too; where the count of 1 bits cannot tell the readings apart, or too many
// bytes are in dispute, or the copies' readings are no longer kept, nothing is chosen.
TEST(BlockVereinigung, TheChecksumChoosesBetweenTheCopiesReadings) {
    struct TFall {
        const char* name;
        std::vector<std::pair<int, std::uint8_t>> eins, zwei; // bytes each copy misread, as read
        bool verdichtet;
        bool gut;
        int gekippt;
    };
    const TFall faelle[] = {
        // Copy 2 read 0x12 as 0x0D, copy 1 read 0x55 as 0xAB, each a 1 too many in five and seven
        // bits: twelve bits weigh nothing, too many for the flips; only the copies' right
        // readings make 25 1 bits, and 0x00 and 0x01 (the bits both read alike) become 0x12 and
        // 0x55, five bits changed.
        {"one byte misread in each copy", {{6, 0xAB}}, {{3, 0x0D}}, false, true, 5},
        {"the readings are no longer kept", {{6, 0xAB}}, {{3, 0x0D}}, true, false, 0},
        // 0x12 and 0x21 hold as many 1 bits; of the four bits they differ in, which two are 1 the
        // checksum cannot tell either, and they weigh nothing: no pair of them is flipped.
        {"the checksum cannot tell", {}, {{3, 0x21}}, false, false, 0},
        // Each a 1 too many: four would be told apart, five are more than is tried.
        {"five bytes in dispute",
         {},
         {{0, 0x7D}, {2, 0xE5}, {3, 0x0D}, {6, 0xAB}, {7, 0x06}},
         false,
         false,
         0},
        // Read alike: 0x3C, 0xC1, 0x00 and 0x01; chosen: 0x3E, 0xC3, 0x12, 0x55, seven bits changed.
        {"four bytes in dispute", {}, {{0, 0x7D}, {2, 0xE5}, {3, 0x0D}, {6, 0xAB}}, false, true, 7},
    };
    const int anzahl = static_cast<int>(Daten.size());
    const std::vector<float> wahr = Gewichte(Daten);
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        TBlockBelege belege(anzahl);
        for (int k = 0; k < 2; ++k) {
            std::vector<std::uint8_t> gelesen = Daten;
            for (const auto& [index, wert] : k == 0 ? f.eins : f.zwei)
                gelesen[static_cast<std::size_t>(index)] = wert;
            std::vector<float> g = Gewichte(gelesen);
            // The checksum bytes as carried, read right by both.
            std::copy(wahr.begin() + anzahl * 8, wahr.end(), g.begin() + anzahl * 8);
            for (int i = 0; i < belege.Bytes(); ++i) {
                std::int8_t bits[8];
                for (int b = 0; b < 8; ++b)
                    bits[b] = static_cast<std::int8_t>(g[static_cast<std::size_t>(i * 8 + b)]);
                belege.Lies(k, i, bits);
            }
        }
        if (f.verdichtet)
            belege.Verdichte();
        const TBlockEntscheidung e = BlockVereinigung::EntscheideMitKopien(belege);
        EXPECT_EQ(e.gut, f.gut);
        EXPECT_EQ(e.gekippt, f.gekippt);
        if (!f.gut)
            continue;
        EXPECT_EQ(e.bytes, Daten);
        // The bytes the copies disputed now weigh as two clear readings the right way.
        const std::vector<float> g = belege.Gewichte();
        for (const auto& [index, wert] : f.eins.empty() ? f.zwei : f.eins) {
            (void)wert;
            for (int b = 0; b < 8; ++b)
                EXPECT_EQ(g[static_cast<std::size_t>(index * 8 + b)],
                          2 * wahr[static_cast<std::size_t>(index * 8 + b)])
                    << "byte " << index << ", bit " << b;
        }
    }
}

// Both copies of a body read whole, each with a good checksum, yet different: 0x20 and 0x10 hold
// one 1 bit each. Copy 1 read the right byte, its 0 bit weakly; copy 2 the wrong one, its 0 bit
// weakly too. Together bit 2 weighs 64 - 25 = 39 and bit 3 47 - 20 = 27: the bits read 0x30, a 1
// too many, which the checksum search mends by flipping bit 3. Between the copies the readings
// hold to copy 1 by 39 - 27 = 12 on each side; read equally sure, nothing tells them apart.
TEST(BlockVereinigung, CopiesReadWholeButDifferentlyAreDecidedByAllReadings) {
    struct TFall {
        const char* name;
        float einsBit2, einsBit3, zweiBit2, zweiBit3; // the copies' readings of byte 5's bits 2 and 3
        TDateiBefund::TZustand zustand;
    };
    const std::uint8_t rechts = 0x20, falsch = 0x10;
    const TFall faelle[] = {
        {"the readings hold to copy 1", Klar, -20.0F, -25.0F, 47.0F, TDateiBefund::TZustand::Repariert},
        {"nothing tells them apart", Klar, -Klar, -Klar, Klar, TDateiBefund::TZustand::Beschaedigt},
    };
    std::vector<std::uint8_t> rumpf = Daten;
    rumpf[5] = rechts;
    std::vector<std::uint8_t> anders = rumpf;
    anders[5] = falsch;
    const int anzahl = static_cast<int>(rumpf.size());
    std::array<std::uint8_t, 128> kopf{};
    kopf[0] = 0x01;
    kopf[1] = 'T';
    kopf[2] = 0x0D;
    kopf[18] = static_cast<std::uint8_t>(anzahl);
    const auto lies = [](TBlockBelege& belege, int k, const std::vector<float>& g) {
        for (int i = 0; i < belege.Bytes(); ++i) {
            std::int8_t bits[8];
            for (int b = 0; b < 8; ++b)
                bits[b] = static_cast<std::int8_t>(g[static_cast<std::size_t>(i * 8 + b)]);
            belege.Lies(k, i, bits);
            belege.Bestaetige(i);
        }
    };
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        TGeretteteDatei d;
        d.kopf = kopf;
        d.mitRumpf = true;
        const std::vector<float> kopfGewichte = Gewichte(std::vector<std::uint8_t>(kopf.begin(), kopf.end()));
        lies(d.kopfBelege, 0, kopfGewichte);
        lies(d.kopfBelege, 1, kopfGewichte);
        d.sauberKopf = {std::vector<std::uint8_t>(kopf.begin(), kopf.end())};
        d.rumpfBelege = TBlockBelege(anzahl);
        std::vector<float> eins = Gewichte(rumpf), zwei = Gewichte(anders);
        eins[5 * 8 + 2] = f.einsBit2;
        eins[5 * 8 + 3] = f.einsBit3;
        zwei[5 * 8 + 2] = f.zweiBit2;
        zwei[5 * 8 + 3] = f.zweiBit3;
        lies(d.rumpfBelege, 0, eins);
        lies(d.rumpfBelege, 1, zwei);
        // The wrong copy first: taking the first copy read whole would take it.
        d.sauberRumpf = {anders, rumpf};
        d.rumpfBelege.Verdichte();
        d.kopfBelege.Verdichte();
        TBandRetter::Entscheide(d);
        EXPECT_EQ(d.befund.zustand, f.zustand);
        if (f.zustand == TDateiBefund::TZustand::Beschaedigt) {
            EXPECT_EQ(d.befund.unsichereBereiche, (std::vector<std::pair<int, int>>{{5, 6}}));
            continue;
        }
        EXPECT_EQ(d.rumpf, rumpf);
        EXPECT_EQ(d.ueberstimmt, std::vector<std::vector<std::uint8_t>>{anders});
    }
}
