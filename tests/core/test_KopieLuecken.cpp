// Bytes a copy lost between two framed ones: pulse sequences built here pulse by pulse, with a
// short pair joined into one pulse or a long pulse split in two; the values each sequence allows
// worked out by hand.
#include "KopieLuecken.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr double Kurz = 20.0; // frames of a short pulse; a long one lasts 1.9 times as long

// One letter a pulse: L long, S short, X two short ones heard as one (read long), h half of a long
// pulse split by a crossing (read short). Pulses in brackets a dropout swallowed: their time passes,
// no edge of them is heard; _ is silence as long as a long pulse.
TImpulsBeleg Puls(char c, std::int32_t beginn) {
    return {beginn, static_cast<std::int8_t>(c == 'L' || c == 'X' ? 64 : -64)};
}

std::int32_t Dauer(char c) {
    switch (c) {
    case 'L':
        return 38;
    case 'X':
        return 40;
    case 'h':
        return 19;
    default:
        return 20;
    }
}

// A byte 0x00 framed at pulse 0, the lost stretch's pulses, and a byte 0x00 framed after them.
struct TKopie {
    TBelegFolge q;
    std::vector<KopieRahmen::TByte> rahmen;
};

TKopie Kopie(const std::string& verloren, int verloreneBytes = 1) {
    const std::string null = "LSSSSSSSS";
    const std::string alle = null + verloren + null + "L";
    std::vector<TImpulsBeleg> belege;
    std::int32_t zeit = 0;
    bool verschluckt = false;
    for (const char c : alle) {
        if (c == '(' || c == ')') {
            verschluckt = c == '(';
            continue;
        }
        if (!verschluckt && c != '_')
            belege.push_back(Puls(c, zeit));
        zeit += c == '_' ? Dauer('L') : Dauer(c);
    }
    TKopie k;
    k.q.Haenge(belege.data(), belege.size());
    k.rahmen.assign(static_cast<std::size_t>(verloreneBytes + 2), {});
    k.rahmen.front().start = 0;
    k.rahmen.back().start =
        static_cast<std::int64_t>(belege.size()) - static_cast<std::int64_t>(null.size()) - 1;
    return k;
}

std::vector<std::uint8_t> Werte(const std::vector<KopieLuecken::TKandidaten>& kandidaten, int index) {
    for (const KopieLuecken::TKandidaten& k : kandidaten)
        if (k.index == index)
            return k.werte;
    return {};
}

} // namespace

// 0x29 is L SSLSLSSL (start bit, then its bits). A pulse too few: every pulse as long as two
// classes together is split so, where the start bit stays long; a pulse too many: every pair as
// long as one class is joined. Off by none or by two: nothing.
TEST(KopieLuecken, TheWaysAJoinedOrSplitPulseCouldHaveBeen) {
    struct TFall {
        const char* name;
        std::string verloren;
        std::vector<std::uint8_t> werte;
    };
    const TFall faelle[] = {
        // Split the joined pair: 0x29; the long pulses of bits 2, 4 and 7 into two short ones:
        // 0x89, 0xC1, 0xD0 (the start bit split would be short).
        {"its first two bits joined", "LXLSLSSL", {0x29, 0x89, 0xC1, 0xD0}},
        // Bits 2, 4, the joined pair, bit 7: 0x07, 0x23, 0x29, 0x2C.
        {"its bits 5 and 6 joined", "LSSLSLXL", {0x07, 0x23, 0x29, 0x2C}},
        // Only the halves joined make a long start bit.
        {"0x00 with its start bit split", "hhSSSSSSSS", {0x00}},
        {"as many pulses as a byte", "LSSLSLSSL", {}},
        {"two pulses too few", "LXLSLXL", {}},
    };
    for (const TFall& f : faelle) {
        const TKopie k = Kopie(f.verloren);
        EXPECT_EQ(Werte(KopieLuecken::Finde(k.q, k.rahmen, Kurz), 1), f.werte) << f.name;
    }
}

// Two lost bytes, 0x29 0x00, a short pair of the second joined: the ways reach over both. Split
// back: 0x29 0x00; the long pulse of bit 2 or of bit 4 of 0x29 split: the rest a pulse on, 0x04 or
// 0x20, then 0x90; the others leave a start bit short.
TEST(KopieLuecken, AStretchOfTwoBytes) {
    const TKopie k = Kopie("LSSLSLSSL"
                           "LSSXSSSS",
                           2);
    const std::vector<KopieLuecken::TKandidaten> kandidaten = KopieLuecken::Finde(k.q, k.rahmen, Kurz);
    EXPECT_EQ(Werte(kandidaten, 1), (std::vector<std::uint8_t>{0x04, 0x20, 0x29}));
    EXPECT_EQ(Werte(kandidaten, 2), (std::vector<std::uint8_t>{0x00, 0x90}));
}

// A value is filled where the ways of the copies that looked into the byte leave one.
TEST(KopieLuecken, TheCopiesWaysMustAgreeOnOneValue) {
    struct TFall {
        const char* name;
        std::string verloren[2]; // empty: the copy read the byte
        int wert;                // -1: none
        bool kopie[2];
    };
    const TFall faelle[] = {
        {"joined at different bits", {"LXLSLSSL", "LSSLSLXL"}, 0x29, {true, true}},
        {"joined at the same bits", {"LXLSLSSL", "LXLSLSSL"}, -1, {}},
        {"one copy, four ways", {"LXLSLSSL", ""}, -1, {}},
        {"one copy, one way", {"", "hhSSSSSSSS"}, 0x00, {false, true}},
        {"the ways disagree", {"LXLSLSSL", "hhSSSSSSSS"}, -1, {}},
    };
    for (const TFall& f : faelle) {
        std::vector<KopieLuecken::TKandidaten> kandidaten[2];
        for (int k = 0; k < 2; ++k)
            if (!f.verloren[k].empty()) {
                const TKopie kopie = Kopie(f.verloren[k]);
                kandidaten[k] = KopieLuecken::Finde(kopie.q, kopie.rahmen, Kurz);
            }
        const std::vector<KopieLuecken::TFuellung> einig = KopieLuecken::Einig(kandidaten);
        if (f.wert < 0) {
            EXPECT_TRUE(einig.empty()) << f.name;
            continue;
        }
        ASSERT_EQ(einig.size(), 1U) << f.name;
        EXPECT_EQ(einig[0].index, 1) << f.name;
        EXPECT_EQ(einig[0].wert, f.wert) << f.name;
        EXPECT_EQ(einig[0].kopie[0], f.kopie[0]) << f.name;
        EXPECT_EQ(einig[0].kopie[1], f.kopie[1]) << f.name;
    }
}

// 0x2D is L SSLSLLSL. A dropout swallowed the pulses in brackets: the pulses before the one it fell
// in read from the byte's start, those after it from the next byte's start; the one it fell in and
// those it swallowed stay unknown. Each bit weighs as its pulse (64), at most 32.
TEST(KopieLuecken, TheBitsOnEitherSideOfADropout) {
    struct TFall {
        const char* name;
        std::string verloren;
        int bytes;
        std::vector<std::vector<int>> bits; // per lost byte; empty: nothing
    };
    constexpr int N = -32, E = 32;
    const TFall faelle[] = {
        {"in its second bit", "LSS(LSL)LSL", 1, {{N, 0, 0, 0, 0, E, N, E}}},
        {"in its fifth bit, to its end", "LSSLSL(LSL)", 1, {{N, N, E, N, 0, 0, 0, 0}}},
        {"in its start bit", "L(SSL)SLLSL", 1, {{0, 0, 0, N, E, E, N, E}}},
        {"reaching into the next byte",
         "LSS(LSLLSLLSS)SSSSS",
         2,
         {{N, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, N, N, N, N, N}}},
        {"two dropouts", "L(SS)LSL(LS)L", 1, {}},
        {"longer than the pulses it swallowed", "LSS(LSL)__LSL", 1, {}},
        {"a start bit read short", "SSS(LSL)LSL", 1, {}},
        {"a pulse lost without a dropout", "LSSLSLSL", 1, {}},
    };
    for (const TFall& f : faelle) {
        const TKopie k = Kopie(f.verloren, f.bytes);
        const std::vector<KopieLuecken::TRand> raender = KopieLuecken::Raender(k.q, k.rahmen, Kurz, 32);
        std::vector<std::vector<int>> bits;
        for (const KopieLuecken::TRand& r : raender) {
            EXPECT_EQ(r.index, 1 + static_cast<int>(bits.size())) << f.name;
            bits.emplace_back(std::begin(r.bits), std::end(r.bits));
        }
        EXPECT_EQ(bits, f.bits) << f.name;
    }
}
