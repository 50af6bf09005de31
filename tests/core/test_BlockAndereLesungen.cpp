// Readings of one block joined, weights built here from known bytes: the same block read in the
// other polarity (the mean of both), and read on another recording of the tape (added, where they
// differ by how wholly each read the byte).
#include "BlockBelegeBau.h"
#include "BlockVereinigung.h"

#include <gtest/gtest.h>

namespace {

// The joined weights of the one-byte block (see EinByte): bit 1 of the byte and bit 6 of the
// checksum's low byte as given; where `entscheidet`, the block decides as 0x21 with a good checksum.
void PruefeGewichte(const std::vector<float>& g, float bit1, float pruefsummenBit, bool entscheidet,
                    const char* name) {
    EXPECT_FLOAT_EQ(g[1], bit1) << name;
    EXPECT_FLOAT_EQ(g[16 + 6], pruefsummenBit) << name;
    if (!entscheidet)
        return;
    const TBlockEntscheidung e = BlockVereinigung::Entscheide(g, 1);
    EXPECT_EQ(e.bytes, std::vector<std::uint8_t>{0x21}) << name;
    EXPECT_TRUE(e.gut) << name;
}

} // namespace

// The same block read in both polarities: where both read a bit, its weight is their mean; where
// one read nothing, the other's; a byte confirmed in either is confirmed.
TEST(BlockVereinigung, BothPolaritiesGiveTheMeanOfWhatEachRead) {
    constexpr int Anzahl = 1;
    // Byte 0 of copy 1 only; bit 0 weighs 90 in the normal polarity, -30 in the other (mean 30),
    // bit 1 -100 against nothing, bit 2 nothing against 40; the checksum bytes in the normal one.
    const std::int8_t normal[8] = {90, -100, 0, 64, 64, 64, 64, 64};
    const std::int8_t invertiert[8] = {-30, 0, 40, 64, 64, 64, 64, 64};
    TBlockBelege a(Anzahl), b(Anzahl);
    a.Lies(0, 0, normal);
    b.Lies(0, 0, invertiert);
    const std::int8_t summe[8] = {0, 0, 0, 0, 0, 1, 1, 0}; // six 1 bits: 0x0006
    std::int8_t pruefsumme[8];
    for (int i = 0; i < 8; ++i)
        pruefsumme[i] = static_cast<std::int8_t>(summe[i] != 0 ? 64 : -64);
    const std::int8_t hoch[8] = {-64, -64, -64, -64, -64, -64, -64, -64};
    a.Lies(0, 1, hoch);
    a.Lies(0, 2, pruefsumme);
    b.Bestaetige(0);
    a.Verdichte();
    b.Verdichte();
    a.Mittle(b);
    const std::vector<float> g = a.Gewichte();
    ASSERT_EQ(g.size(), 24U);
    EXPECT_EQ(std::vector<float>(g.begin(), g.begin() + 8),
              (std::vector<float>{30.0F, -100.0F, 40.0F, 64.0F, 64.0F, 64.0F, 64.0F, 64.0F}));
    EXPECT_EQ(g[8], -64.0F);
    EXPECT_FALSE(a.Unbestaetigt(0));
    const TBlockEntscheidung e = BlockVereinigung::Entscheide(g, Anzahl);
    // Read so, the byte is 0xBF, seven 1 bits where the checksum says six: bit 0, where the
    // polarities disagreed, is the only one weak enough to flip.
    EXPECT_EQ(e.bytes, std::vector<std::uint8_t>{0x3F});
    EXPECT_TRUE(e.gut);
    EXPECT_EQ(e.gekippt, 1);
}

// A pulse lost in one polarity frames one copy's byte a bit off there: that copy's two readings
// of the byte disagree, or only one polarity read it at all, against the other copy. Where the
// other copy read the byte alike in both polarities, the byte goes by that copy alone; where both
// copies disagree with themselves, where the other copy lacks a polarity's reading, or where the
// disagreement is too faint to tell, the mean stays. A pulse lost or gained in one polarity and
// found by the framing only bytes later leaves a run of bytes framed a pulse off in both copies
// alike (as a lossy codec does to both): where one polarity framed a copy's byte near a loss and
// the other did not, the copy goes by the other; where both or neither did, or they disagree too
// faintly to tell, the mean stays; where the other copy agrees with itself, it alone decides.
TEST(BlockVereinigung, ACopyThePolaritiesReadDifferentlyGivesWayToOneTheyReadAlike) {
    struct TFall {
        const char* name;
        TLesung lesung[2][2]; // [copy][polarity]
        float bit1;           // the weight of bit 1 (of 0x21, a 0) then, worked out by hand
    };
    // 0x42 is the right byte 0x21 read a pulse off; bit 1 of it is a 1, of 0x21 a 0.
    const TFall faelle[] = {
        // Copy 2 alone: -30 (the mean would be that of 100 - 30 and -20 - 30, 10).
        {"the other copy agrees with itself", {{{0x42, 100}, {0x21, 20}}, {{0x21, 30}, {0x21, 30}}}, -30.0F},
        // The mean of 70 and -20 - 30.
        {"both copies disagree with themselves",
         {{{0x42, 100}, {0x21, 20}}, {{0x21, 30}, {0x12, 30}}},
         10.0F},
        // The mean of 70 and -20.
        {"the other copy read in one polarity only",
         {{{0x42, 100}, {0x21, 20}}, {{0x21, 30}, {0, 0}}},
         25.0F},
        // Copy 1's readings disagree at 8 at most: the mean of 70 and -8 - 30.
        {"too faint to tell", {{{0x42, 100}, {0x21, 8}}, {{0x21, 30}, {0x21, 30}}}, 16.0F},
        // Copy 1 read in the first polarity only, against copy 2: copy 2 alone (the mean would be
        // that of 100 - 30 and -30, 20).
        {"one polarity alone against the other copy",
         {{{0x42, 100}, {0, 0}}, {{0x21, 30}, {0x21, 30}}},
         -30.0F},
        // Read in one polarity only, yet as the other copy: the mean of -100 - 30 and -30.
        {"one polarity alone and alike", {{{0x21, 100}, {0, 0}}, {{0x21, 30}, {0x21, 30}}}, -80.0F},
        // -30 from each copy (the mean would be 35 each).
        {"both copies near a loss in one polarity",
         {{{0x42, 100, -1, false, true}, {0x21, 30}}, {{0x42, 100, -1, false, true}, {0x21, 30}}},
         -60.0F},
        // -30 from copy 1, the mean of 100 and -30 from copy 2.
        {"one copy near a loss",
         {{{0x42, 100, -1, false, true}, {0x21, 30}}, {{0x42, 100}, {0x21, 30}}},
         5.0F},
        {"near a loss in both polarities",
         {{{0x42, 100, -1, false, true}, {0x21, 30, -1, false, true}}, {{0x42, 100}, {0x21, 30}}},
         70.0F},
        // The mean of -100 and -30, and -30.
        {"near a loss, the polarities alike",
         {{{0x21, 100, -1, false, true}, {0x21, 30}}, {{0x21, 30}, {0x21, 30}}},
         -95.0F},
        // The mean of 100 and -8 in each copy.
        {"near a loss, too faint to tell",
         {{{0x42, 100, -1, false, true}, {0x21, 8}}, {{0x42, 100, -1, false, true}, {0x21, 8}}},
         92.0F},
        {"near a loss, the other copy agrees with itself",
         {{{0x42, 100, -1, false, true}, {0x21, 20}}, {{0x21, 30}, {0x21, 30}}},
         -30.0F},
    };
    for (const TFall& f : faelle) {
        TBlockBelege polaritaet[2] = {EinByte(f.lesung[0][0], f.lesung[1][0]),
                                      EinByte(f.lesung[0][1], f.lesung[1][1])};
        polaritaet[0].Mittle(polaritaet[1]);
        // The checksum in no dispute: the mean of both copies' sums.
        PruefeGewichte(polaritaet[0].Gewichte(), f.bit1, 128.0F, f.bit1 == -30.0F || f.bit1 == -60.0F,
                       f.name);
    }
}

// Two recordings read a byte as different values. Where one of them read it more wholly than the
// other (both copies alike against one copy alone, or one copy every bit of it against copies
// disagreeing or a reading with a bit unheard, as beside a dropout, where the framing is often a
// pulse off), the byte goes by that recording, however strong the other's reading, and a copy of
// the other recording that read it just so adds to it; where one copy read it alike in both
// recordings and the other copy differently in each, it goes by that copy; else the weights are
// added. 0x42 is the
// right byte 0x21 read a pulse off; bit 1 of it is a 1, of 0x21 a 0.
TEST(BlockVereinigung, ARecordingThatReadAByteMoreWhollyOutweighsTheOther) {
    struct TFall {
        const char* name;
        TLesung lesung[2][2]; // [recording][copy]
        float bit1;           // the weight of bit 1 then, worked out by hand
    };
    const TFall faelle[] = {
        // The sum would be -20 - 20 + 100 = 60, a 1.
        {"one copy alone against two alike", {{{0x21, 20}, {0x21, 20}}, {{0x42, 100}, {0, 0}}}, -40.0F},
        {"the same, the other recording first", {{{0x42, 100}, {0, 0}}, {{0x21, 20}, {0x21, 20}}}, -40.0F},
        // The first recording's second copy confirms: -40 - 10.
        {"copies disagreeing against two alike",
         {{{0x42, 100}, {0x21, 10}}, {{0x21, 20}, {0x21, 20}}},
         -50.0F},
        // The sum would be 100 - 40 = 60.
        {"a bit unheard against one copy whole", {{{0x42, 100, 5}, {0, 0}}, {{0x21, 40}, {0, 0}}}, -40.0F},
        // -30, and -40 from the first recording's first copy; the sum would be -40 + 100 - 30 = 30.
        {"copies disagreeing against one copy whole",
         {{{0x21, 40}, {0x42, 100}}, {{0x21, 30}, {0, 0}}},
         -70.0F},
        // Both recordings' copies disagree, yet the second copy read 0x21 in both and the first
        // 0x42 and 0x84: -30 - 20. The sum would be -40 at bit 1, and at bit 2 (a 1 of 0x21)
        // -100 + 30 - 90 + 20 = -140.
        {"one copy alike in both recordings, the other not",
         {{{0x42, 100}, {0x21, 30}}, {{0x84, 90}, {0x21, 20}}},
         -50.0F},
        {"both recordings' copies alike", {{{0x21, 20}, {0x21, 20}}, {{0x42, 50}, {0x42, 50}}}, 60.0F},
        // Both copies framed a pulse off alike after a pulse both lost: neither counts as read
        // whole, and the other recording's one copy decides; the sum would be 200 - 40.
        {"two copies framed doubtfully against one copy whole",
         {{{0x42, 100, -1, true}, {0x42, 100, -1, true}}, {{0x21, 40}, {0, 0}}},
         -40.0F},
        // One of them framed clearly: one copy whole against one, the weights are added.
        {"one copy framed doubtfully, the other clearly",
         {{{0x42, 100, -1, true}, {0x42, 100}}, {{0x21, 40}, {0, 0}}},
         160.0F},
        {"neither recording's copies alike", {{{0x21, 30}, {0, 0}}, {{0x42, 100}, {0, 0}}}, 70.0F},
        {"the recordings agree", {{{0x21, 20}, {0x21, 20}}, {{0x21, 30}, {0, 0}}}, -70.0F},
    };
    for (const TFall& f : faelle) {
        TBlockBelege aufnahme[2] = {EinByte(f.lesung[0][0], f.lesung[0][1]),
                                    EinByte(f.lesung[1][0], f.lesung[1][1])};
        aufnahme[0].NimmHinzu(aufnahme[1]);
        // The checksum's bits are added.
        PruefeGewichte(aufnahme[0].Gewichte(), f.bit1, 256.0F, f.bit1 < 0.0F, f.name);
    }
}

// A copy's byte framed doubtfully in one polarity is so in the recording only where the other
// polarity read nothing of it or framed it doubtfully too. Against a second recording whose one
// copy read the byte whole (bit 1 at -40), a recording whose copies all count as doubtful gives
// way; otherwise both count as one copy whole and the weights are added (the mean of both
// polarities' sums, and -40).
TEST(BlockVereinigung, AFramingIsDoubtfulWhereEveryPolarityThatReadItFoundItSo) {
    struct TFall {
        const char* name;
        TLesung lesung[2][2]; // [polarity][copy] of the first recording
        float bit1;
    };
    const TFall faelle[] = {
        {"doubtful in both polarities",
         {{{0x42, 100, -1, true}, {0, 0}}, {{0x42, 100, -1, true}, {0, 0}}},
         -40.0F},
        {"doubtful in the one polarity that read it",
         {{{0x42, 100, -1, true}, {0, 0}}, {{0, 0}, {0, 0}}},
         -40.0F},
        {"doubtful in one, clear in the other",
         {{{0x42, 100, -1, true}, {0, 0}}, {{0x42, 100}, {0, 0}}},
         60.0F},
    };
    for (const TFall& f : faelle) {
        TBlockBelege aufnahme = EinByte(f.lesung[0][0], f.lesung[0][1]);
        aufnahme.Mittle(EinByte(f.lesung[1][0], f.lesung[1][1]));
        aufnahme.NimmHinzu(EinByte({0x21, 40}, {0, 0}));
        EXPECT_FLOAT_EQ(aufnahme.Gewichte()[1], f.bit1) << f.name;
    }
}

// A block of three data bytes (0x3E, 0x21, 0x55: 11 ones, checksum 0x000B). The first recording
// heard nothing of byte 1 in either copy; the second read every byte clearly, confirming the
// places of all but byte 1 unless the case says so. A byte only the other recording read, where
// its place rests on the framing alone, stays uncertain in a damaged block, as it would be in
// that recording alone; one whose place was confirmed, or that neither read, does not.
TEST(BlockVereinigung, AByteOnlyTheOtherRecordingReadKeepsItsUnconfirmedPlace) {
    const std::uint8_t block[] = {0x3E, 0x21, 0x55, 0x00, 0x0B};
    struct TFall {
        const char* name;
        bool gelesen;      // the second recording read byte 1
        bool bestaetigt;   // and confirmed its place
        bool unbestaetigt; // byte 1 then, joined
    };
    const TFall faelle[] = {
        {"read by the other recording alone, its place unconfirmed", true, false, true},
        {"read by the other recording alone, its place confirmed", true, true, false},
        {"read by neither", false, false, false},
    };
    for (const TFall& f : faelle) {
        TBlockBelege aufnahme[2] = {TBlockBelege(3), TBlockBelege(3)};
        for (int byte = 0; byte < 5; ++byte) {
            const bool eins = byte != 1, zwei = byte != 1 || f.gelesen;
            for (int k = 0; k < 2; ++k) {
                if (eins)
                    aufnahme[0].Lies(k, byte, Bits(block[byte], 64).data());
                if (zwei)
                    aufnahme[1].Lies(k, byte, Bits(block[byte], 64).data());
            }
            if (eins)
                aufnahme[0].Bestaetige(byte);
            if (byte != 1 || f.bestaetigt)
                aufnahme[1].Bestaetige(byte);
        }
        aufnahme[0].Verdichte();
        aufnahme[1].Verdichte();
        aufnahme[0].NimmHinzu(aufnahme[1]);
        EXPECT_EQ(aufnahme[0].Unbestaetigt(1), f.unbestaetigt) << f.name;
        for (const int byte : {0, 2})
            EXPECT_FALSE(aufnahme[0].Unbestaetigt(byte)) << f.name;
        // Byte 1 takes the other recording's reading.
        const TBlockEntscheidung e = BlockVereinigung::Entscheide(aufnahme[0].Gewichte(), 3);
        if (f.gelesen) {
            EXPECT_EQ(e.bytes, std::vector<std::uint8_t>({0x3E, 0x21, 0x55})) << f.name;
            EXPECT_TRUE(e.gut) << f.name;
        }
    }
}
