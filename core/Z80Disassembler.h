// The body of a machine-code program as Z80 assembler text, one line per instruction:
//   1200  21 00 D0     START:  LD   HL,$D000
//   1203  CD 0A 12             CALL L120A
// address (four hex digits), the instruction's bytes, a label where a jump or call inside the
// file lands (START at the start address), the instruction. Code cannot be told from data in
// general: the body is read linearly from `codeAnfang` on; the bytes before it are listed as
// DEFB data. Addresses wrap at 0xFFFF as on the CPU.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <span>

// One decoded instruction.
struct TZ80Befehl {
    int laenge = 1;
    // The template of Z80Tabellen.h; nullptr when the bytes are listed as DEFB: an ED code the
    // CPU skips (two bytes), a DD or FD prefix that changes nothing (one byte, the next byte is
    // an instruction of its own), or an instruction cut off by the end of the body.
    const char16_t* muster = nullptr;
    char index = 0;        // 'X' or 'Y' behind DD or FD
    bool speicher = false; // names the memory operand: H and L stay themselves behind DD or FD
    int verschiebung = 0;
    std::uint8_t byte = 0;
    std::uint16_t wort = 0;
    std::optional<std::uint16_t> ziel; // of JP, JR, DJNZ and CALL
};

// The instruction at `adresse`; `verfuegbar` bytes may be read from `bytes` (at least 1).
TZ80Befehl DekodiereZ80(const std::uint8_t* bytes, int verfuegbar, std::uint16_t adresse);

// The listing of the whole body, every line ended by LF (one text rather than a list of lines:
// a large body has some 40,000 of them); `codeAnfang` is an offset into the body (clamped to it).
QString DisassembliereZ80(std::span<const std::uint8_t> pv_rumpf, std::uint16_t pv_ladeAdresse,
                          std::uint16_t pv_startAdresse, int pv_codeAnfang);
