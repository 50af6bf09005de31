#include "MZFDatei.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {
// The MZ codes with a character of their own, written out from the MZ character chart.
std::map<int, char16_t> ErwarteteTabelle() {
    std::map<int, char16_t> t;
    for (int c = 0x20; c <= 0x5D; ++c)
        t[c] = static_cast<char16_t>(c);
    const std::pair<int, char16_t> verstreut[] = {
        {0x7B, 0xB0}, {0x80, 0x7D}, {0x8B, 0x5E}, {0x90, 0x5F}, {0x92, 0x65}, {0x93, 0x60}, {0x94, 0x7E},
        {0x96, 0x74}, {0x97, 0x67}, {0x98, 0x68}, {0x9A, 0x62}, {0x9B, 0x78}, {0x9C, 0x64}, {0x9D, 0x72},
        {0x9E, 0x70}, {0x9F, 0x63}, {0xA0, 0x71}, {0xA1, 0x61}, {0xA2, 0x7A}, {0xA3, 0x77}, {0xA4, 0x73},
        {0xA5, 0x75}, {0xA6, 0x69}, {0xA8, 0xD6}, {0xA9, 0x6B}, {0xAA, 0x66}, {0xAB, 0x76}, {0xAD, 0xFC},
        {0xAE, 0xDF}, {0xAF, 0x6A}, {0xB0, 0x6E}, {0xB2, 0xDC}, {0xB3, 0x6D}, {0xB7, 0x6F}, {0xB8, 0x6C},
        {0xB9, 0xC4}, {0xBA, 0xF6}, {0xBB, 0xE4}, {0xBD, 0x79}, {0xBE, 0x7B}, {0xC0, 0x7C},
    };
    for (const auto& [code, zeichen] : verstreut)
        t[code] = zeichen;
    return t;
}

TEST(MZZeichen, EinzelneCodes) {
    EXPECT_EQ(TMZFDatei::MZZeichenNachAnsi(0x41), QLatin1Char('A'));
    EXPECT_EQ(TMZFDatei::MZZeichenNachAnsi(0xA1), QLatin1Char('a'));
    for (int code : {0x00, 0x0D, 0x7F, 0xFF, 0x3F, 0x5E, 0x7A, 0xC1})
        EXPECT_EQ(TMZFDatei::MZZeichenNachAnsi(static_cast<std::uint8_t>(code)), QLatin1Char('?')) << code;
    EXPECT_EQ(TMZFDatei::AnsiNachMZZeichen(QLatin1Char('a')), 0xA1);
    EXPECT_EQ(TMZFDatei::AnsiNachMZZeichen(QChar(0xDF)), 0xAE); // ß
    EXPECT_EQ(TMZFDatei::AnsiNachMZZeichen(QChar(0xE9)), 0x3F); // é
    EXPECT_EQ(TMZFDatei::AnsiNachMZZeichen(QChar(0xA7)), 0x3F); // §
    EXPECT_EQ(TMZFDatei::AnsiNachMZZeichen(QLatin1Char('?')), 0x3F);
    EXPECT_EQ(TMZFDatei::AnsiNachMZZeichen(QChar(0)), 0x3F);
    EXPECT_EQ(TMZFDatei::AnsiNachMZZeichen(QChar(0x20AC)), 0x3F); // €
    EXPECT_TRUE(TMZFDatei::IstMZZeichen(QLatin1Char('e')));
    EXPECT_TRUE(TMZFDatei::IstMZZeichen(QLatin1Char('?')));
    EXPECT_TRUE(TMZFDatei::IstMZZeichen(QLatin1Char(' ')));
    EXPECT_FALSE(TMZFDatei::IstMZZeichen(QChar(0xE9)));
    EXPECT_FALSE(TMZFDatei::IstMZZeichen(QChar(0xA7)));
    EXPECT_FALSE(TMZFDatei::IstMZZeichen(QLatin1Char('\t')));
    EXPECT_FALSE(TMZFDatei::IstMZZeichen(QLatin1Char('\r')));
    EXPECT_FALSE(TMZFDatei::IstMZZeichen(QChar(0)));
}

TEST(MZZeichen, GanzeTabelleUndAlle103Rueckwege) {
    const auto erwartet = ErwarteteTabelle();
    ASSERT_EQ(erwartet.size(), 103u);
    std::set<char16_t> gesehen;
    for (int code = 0; code < 256; ++code) {
        const QChar z = TMZFDatei::MZZeichenNachAnsi(static_cast<std::uint8_t>(code));
        const auto it = erwartet.find(code);
        if (it == erwartet.end()) {
            EXPECT_EQ(z, QLatin1Char('?')) << "code " << code;
            continue;
        }
        EXPECT_EQ(z.unicode(), it->second) << "code " << code;
        EXPECT_EQ(TMZFDatei::AnsiNachMZZeichen(z), code) << "code " << code;
        EXPECT_TRUE(TMZFDatei::IstMZZeichen(z)) << "code " << code;
        EXPECT_TRUE(gesehen.insert(z.unicode()).second) << "twice: " << code;
    }
    EXPECT_EQ(gesehen.size(), 103u);
    // Every other UTF-16 unit is no MZ character.
    for (int u = 0; u < 0x10000; ++u) {
        if (gesehen.count(static_cast<char16_t>(u)))
            continue;
        ASSERT_FALSE(TMZFDatei::IstMZZeichen(QChar(static_cast<char16_t>(u)))) << u;
        ASSERT_EQ(TMZFDatei::AnsiNachMZZeichen(QChar(static_cast<char16_t>(u))), 0x3F) << u;
    }
}

TEST(MZZeichen, KleinbuchstabenUndSonderzeichenAusserhalbDesAsciiBereichs) {
    for (char c = 'a'; c <= 'z'; ++c) {
        const std::uint8_t code = TMZFDatei::AnsiNachMZZeichen(QLatin1Char(c));
        EXPECT_TRUE(code < 0x20 || code > 0x5D) << c;
        EXPECT_NE(code, 0x3F) << c;
    }
    for (char c : {'^', '_', '`', '{', '|', '}', '~'}) {
        const std::uint8_t code = TMZFDatei::AnsiNachMZZeichen(QLatin1Char(c));
        EXPECT_TRUE(code > 0x5D) << c;
        EXPECT_EQ(TMZFDatei::MZZeichenNachAnsi(code), QLatin1Char(c));
    }
}
} // namespace
