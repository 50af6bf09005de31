#include "Ganzzahl.h"

#include <gtest/gtest.h>

namespace {
struct TFall {
    const char* text;
    std::optional<qint32> erwartet;
};

void PruefeFaelle(std::initializer_list<TFall> faelle) {
    for (const TFall& f : faelle)
        EXPECT_EQ(TextNachGanzzahl(QString::fromUtf8(f.text)), f.erwartet) << "text \"" << f.text << "\"";
}
} // namespace

TEST(Ganzzahl, DezimalMitVorzeichenUndFuehrendenLeerzeichen) {
    PruefeFaelle({{"0", 0},
                  {"5", 5},
                  {"+5", 5},
                  {"-5", -5},
                  {"   12", 12},
                  {" -1", -1},
                  {"007", 7},
                  {"70000", 70000}, // the address range is the caller's concern
                  {"4660", 0x1234}});
}

TEST(Ganzzahl, HexadezimalMitAllenEinleitungen) {
    PruefeFaelle({{"$1200", 0x1200},
                  {"$ff", 255},
                  {"$FF", 255},
                  {"$aBcD", 0xABCD},
                  {"x10", 16},
                  {"X10", 16},
                  {"0x10", 16},
                  {"0X1f", 31},
                  {"  $10", 16},
                  {"$0", 0}});
}

TEST(Ganzzahl, GrenzenDesVorzeichenbehaftetenBereichs) {
    PruefeFaelle({{"2147483647", 2147483647},
                  {"-2147483648", std::numeric_limits<qint32>::min()},
                  {"2147483648", std::nullopt},
                  {"-2147483649", std::nullopt},
                  {"99999999999999999999", std::nullopt},
                  // Hexadecimal numbers fill all 32 bits and wrap into the negative half.
                  {"$FFFFFFFF", -1},
                  {"$80000000", std::numeric_limits<qint32>::min()},
                  {"$7FFFFFFF", 2147483647},
                  {"$100000000", std::nullopt},
                  {"$000000000010", 16}});
}

TEST(Ganzzahl, UngueltigeTexteScheitern) {
    PruefeFaelle({{"", std::nullopt},
                  {"   ", std::nullopt},
                  {"$", std::nullopt},
                  {"x", std::nullopt},
                  {"0x", std::nullopt},
                  {"+", std::nullopt},
                  {"-", std::nullopt},
                  {"1 ", std::nullopt},
                  {"12G4", std::nullopt},
                  {"- 1", std::nullopt},
                  {"+$10", std::nullopt},
                  {"-$10", std::nullopt},
                  {"$ 10", std::nullopt},
                  {"$1G", std::nullopt},
                  {"1.5", std::nullopt},
                  {"\t5", std::nullopt},
                  {"--5", std::nullopt},
                  {"0x0x1", std::nullopt},
                  {"１２", std::nullopt}}); // full-width digits are no digits here
}
