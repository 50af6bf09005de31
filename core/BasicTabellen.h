// The keyword tables of the four Sharp BASIC dialects, by the token bytes a program body holds.
// Only the BASIC lister reads them.
#pragma once

#include "BasicListe.h"

#include <array>
#include <cstdint>

// Keywords are UTF-16 texts; nullptr where a byte names no keyword.
using TSchluesselWort = const char16_t*;

struct TBasicTokenTabelle {
    static constexpr int ErsterToken = 0x80;
    static constexpr int EinByteAnzahl = 0x80;     // 0x80..0xFF
    static constexpr int ZweitesByteAnzahl = 0x50; // second byte 0x80..0xCF
    static constexpr int MaxPraefixe = 3;
    static constexpr int MaxRohTokens = 4;

    struct TPraefix {
        std::uint8_t byte = 0;
        // Second byte 0x80..0xCF; nullptr for a prefix whose table is empty.
        const std::array<TSchluesselWort, ZweitesByteAnzahl>* tabelle = nullptr;
    };

    // One-byte keywords, index byte - 0x80.
    const std::array<TSchluesselWort, EinByteAnzahl>* einByte = nullptr;
    // The highest byte that is a token outside strings; above it every byte is a character.
    std::uint8_t letzterToken = 0xFF;
    TPraefix praefixe[MaxPraefixe];
    // Tokens after which the text is taken literally up to a ":" outside quotes (REM, DATA): a
    // one-byte token as its byte, a two-byte one as prefix * 256 + second byte; 0 ends the list.
    std::uint16_t rohTokens[MaxRohTokens] = {};
};

const TBasicTokenTabelle& BasicTokens(TBasicDialekt pv_dialekt);
