// The MZ character set: which Latin-1 character each MZ code shows as. The MZ agrees with ASCII
// only from 0x20 to 0x5D; lower-case letters and a few signs sit at scattered codes.
#include "MZFDatei.h"

namespace {
// Entry of a code that has no character of its own.
constexpr char16_t KeinZeichen = 0;
// The table's traditional mark; never a character with an MZ code.
constexpr char16_t Paragraph = 0xA7;
constexpr std::uint8_t Fragezeichen = 0x3F;
constexpr int AnzahlCodes = 256;
constexpr std::uint8_t ErsterAsciiCode = 0x20;
constexpr std::uint8_t LetzterAsciiCode = 0x5D;

struct TZuordnung {
    std::uint8_t code;
    char16_t zeichen;
};

constexpr TZuordnung Verstreut[] = {
    {0x7B, 0xB0}, {0x80, u'}'}, {0x8B, u'^'}, {0x90, u'_'}, {0x92, u'e'}, {0x93, u'`'}, {0x94, u'~'},
    {0x96, u't'}, {0x97, u'g'}, {0x98, u'h'}, {0x9A, u'b'}, {0x9B, u'x'}, {0x9C, u'd'}, {0x9D, u'r'},
    {0x9E, u'p'}, {0x9F, u'c'}, {0xA0, u'q'}, {0xA1, u'a'}, {0xA2, u'z'}, {0xA3, u'w'}, {0xA4, u's'},
    {0xA5, u'u'}, {0xA6, u'i'}, {0xA8, 0xD6}, {0xA9, u'k'}, {0xAA, u'f'}, {0xAB, u'v'}, {0xAD, 0xFC},
    {0xAE, 0xDF}, {0xAF, u'j'}, {0xB0, u'n'}, {0xB2, 0xDC}, {0xB3, u'm'}, {0xB7, u'o'}, {0xB8, u'l'},
    {0xB9, 0xC4}, {0xBA, 0xF6}, {0xBB, 0xE4}, {0xBD, u'y'}, {0xBE, u'{'}, {0xC0, u'|'},
};

struct TTabellen {
    char16_t zeichen[AnzahlCodes]{}; // by MZ code; KeinZeichen where there is none
    // By Latin-1 character: its MZ code; vorhanden tells whether it has one.
    std::uint8_t code[AnzahlCodes]{};
    bool vorhanden[AnzahlCodes]{};
};

constexpr TTabellen BaueTabellen() {
    TTabellen t{};
    for (int c = 0; c < AnzahlCodes; ++c)
        t.zeichen[c] = KeinZeichen;
    for (int c = ErsterAsciiCode; c <= LetzterAsciiCode; ++c)
        t.zeichen[c] = static_cast<char16_t>(c);
    for (const auto& z : Verstreut)
        t.zeichen[z.code] = z.zeichen;
    for (int c = 0; c < AnzahlCodes; ++c) {
        const char16_t z = t.zeichen[c];
        if (z == KeinZeichen)
            continue;
        t.code[z] = static_cast<std::uint8_t>(c);
        t.vorhanden[z] = true;
    }
    return t;
}

constexpr TTabellen Tabellen = BaueTabellen();

constexpr int ZaehleZeichen() {
    int n = 0;
    for (char16_t z : Tabellen.zeichen)
        n += z != KeinZeichen;
    return n;
}
constexpr int ZaehleUmkehrungen() {
    int n = 0;
    for (bool v : Tabellen.vorhanden)
        n += v;
    return n;
}
static_assert(ZaehleZeichen() == 103, "the MZ table maps 103 codes");
static_assert(ZaehleUmkehrungen() == 103, "no character may occur twice in the MZ table");
static_assert(!Tabellen.vorhanden[Paragraph], "the mark character has no MZ code");

bool HatCode(QChar zeichen) {
    const char16_t z = zeichen.unicode();
    return z != Paragraph && z < AnzahlCodes && Tabellen.vorhanden[z];
}
} // namespace

QChar TMZFDatei::MZZeichenNachAnsi(std::uint8_t mzCode) {
    const char16_t z = Tabellen.zeichen[mzCode];
    return z == KeinZeichen ? QLatin1Char('?') : QChar(z);
}

std::uint8_t TMZFDatei::AnsiNachMZZeichen(QChar zeichen) {
    return HatCode(zeichen) ? Tabellen.code[zeichen.unicode()] : Fragezeichen;
}

bool TMZFDatei::IstMZZeichen(QChar zeichen) {
    return HatCode(zeichen);
}
