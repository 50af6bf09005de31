// The Z80 instruction set as text templates, for the disassembler. Placeholders:
//   %b  immediate byte                 %w  immediate word
//   %r  relative jump target (JR, DJNZ) %j  absolute jump or call target
//   %h  HL, behind DD/FD IX or IY      %m  (HL), behind DD/FD (IX+d) or (IY+d)
//   %H  H, behind DD/FD IXH or IYH     %L  L, behind DD/FD IXL or IYL
// Operands stand in the template in the order their bytes follow the opcode. An instruction
// whose template has none of %h %m %H %L is not changed by a DD or FD prefix.
#pragma once

#include <array>
#include <cstdint>

using TZ80Muster = const char16_t*;

// Unprefixed opcodes; nullptr for the prefixes CB, DD, ED and FD.
extern const std::array<TZ80Muster, 256> Z80HauptTabelle;
// Opcodes behind ED; nullptr where the CPU only skips the two bytes.
extern const std::array<TZ80Muster, 256> Z80EDTabelle;
// Opcodes behind CB, by the fields of the byte: xx yyy zzz.
extern const std::array<TZ80Muster, 8> Z80SchiebeBefehle; // x = 0, by y
extern const std::array<TZ80Muster, 4> Z80BitBefehle;     // x = 1..3: BIT, RES, SET
extern const std::array<TZ80Muster, 8> Z80Register;       // by z; 6 is the memory operand
