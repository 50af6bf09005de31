// The Z80 instruction set, documented and undocumented. Undocumented instructions are written as
// most disassemblers write them: IXH/IXL halves, SLL, IN F,(C), OUT (C),0, the ED duplicates of
// NEG, RETN and IM under their names.
#include "Z80Tabellen.h"

namespace {
constexpr TZ80Muster Prefix = nullptr;
} // namespace

const std::array<TZ80Muster, 256> Z80HauptTabelle = {
    // 0x00
    u"NOP", u"LD BC,%w", u"LD (BC),A", u"INC BC", u"INC B", u"DEC B", u"LD B,%b", u"RLCA",         //
    u"EX AF,AF'", u"ADD %h,BC", u"LD A,(BC)", u"DEC BC", u"INC C", u"DEC C", u"LD C,%b", u"RRCA",  //
    u"DJNZ %r", u"LD DE,%w", u"LD (DE),A", u"INC DE", u"INC D", u"DEC D", u"LD D,%b", u"RLA",      //
    u"JR %r", u"ADD %h,DE", u"LD A,(DE)", u"DEC DE", u"INC E", u"DEC E", u"LD E,%b", u"RRA",       //
    u"JR NZ,%r", u"LD %h,%w", u"LD (%w),%h", u"INC %h", u"INC %H", u"DEC %H", u"LD %H,%b", u"DAA", //
    u"JR Z,%r", u"ADD %h,%h", u"LD %h,(%w)", u"DEC %h", u"INC %L", u"DEC %L", u"LD %L,%b", u"CPL", //
    u"JR NC,%r", u"LD SP,%w", u"LD (%w),A", u"INC SP", u"INC %m", u"DEC %m", u"LD %m,%b", u"SCF",  //
    u"JR C,%r", u"ADD %h,SP", u"LD A,(%w)", u"DEC SP", u"INC A", u"DEC A", u"LD A,%b", u"CCF",     //
    // 0x40: LD r,r'; with (HL) on one side, H and L stay themselves behind DD/FD
    u"LD B,B", u"LD B,C", u"LD B,D", u"LD B,E", u"LD B,%H", u"LD B,%L", u"LD B,%m", u"LD B,A",        //
    u"LD C,B", u"LD C,C", u"LD C,D", u"LD C,E", u"LD C,%H", u"LD C,%L", u"LD C,%m", u"LD C,A",        //
    u"LD D,B", u"LD D,C", u"LD D,D", u"LD D,E", u"LD D,%H", u"LD D,%L", u"LD D,%m", u"LD D,A",        //
    u"LD E,B", u"LD E,C", u"LD E,D", u"LD E,E", u"LD E,%H", u"LD E,%L", u"LD E,%m", u"LD E,A",        //
    u"LD %H,B", u"LD %H,C", u"LD %H,D", u"LD %H,E", u"LD %H,%H", u"LD %H,%L", u"LD H,%m", u"LD %H,A", //
    u"LD %L,B", u"LD %L,C", u"LD %L,D", u"LD %L,E", u"LD %L,%H", u"LD %L,%L", u"LD L,%m", u"LD %L,A", //
    u"LD %m,B", u"LD %m,C", u"LD %m,D", u"LD %m,E", u"LD %m,H", u"LD %m,L", u"HALT", u"LD %m,A",      //
    u"LD A,B", u"LD A,C", u"LD A,D", u"LD A,E", u"LD A,%H", u"LD A,%L", u"LD A,%m", u"LD A,A",        //
    // 0x80: arithmetic and logic on A
    u"ADD A,B", u"ADD A,C", u"ADD A,D", u"ADD A,E", u"ADD A,%H", u"ADD A,%L", u"ADD A,%m", u"ADD A,A", //
    u"ADC A,B", u"ADC A,C", u"ADC A,D", u"ADC A,E", u"ADC A,%H", u"ADC A,%L", u"ADC A,%m", u"ADC A,A", //
    u"SUB B", u"SUB C", u"SUB D", u"SUB E", u"SUB %H", u"SUB %L", u"SUB %m", u"SUB A",                 //
    u"SBC A,B", u"SBC A,C", u"SBC A,D", u"SBC A,E", u"SBC A,%H", u"SBC A,%L", u"SBC A,%m", u"SBC A,A", //
    u"AND B", u"AND C", u"AND D", u"AND E", u"AND %H", u"AND %L", u"AND %m", u"AND A",                 //
    u"XOR B", u"XOR C", u"XOR D", u"XOR E", u"XOR %H", u"XOR %L", u"XOR %m", u"XOR A",                 //
    u"OR B", u"OR C", u"OR D", u"OR E", u"OR %H", u"OR %L", u"OR %m", u"OR A",                         //
    u"CP B", u"CP C", u"CP D", u"CP E", u"CP %H", u"CP %L", u"CP %m", u"CP A",                         //
    // 0xC0
    u"RET NZ", u"POP BC", u"JP NZ,%j", u"JP %j", u"CALL NZ,%j", u"PUSH BC", u"ADD A,%b", u"RST $00",    //
    u"RET Z", u"RET", u"JP Z,%j", Prefix, u"CALL Z,%j", u"CALL %j", u"ADC A,%b", u"RST $08",            //
    u"RET NC", u"POP DE", u"JP NC,%j", u"OUT (%b),A", u"CALL NC,%j", u"PUSH DE", u"SUB %b", u"RST $10", //
    u"RET C", u"EXX", u"JP C,%j", u"IN A,(%b)", u"CALL C,%j", Prefix, u"SBC A,%b", u"RST $18",          //
    u"RET PO", u"POP %h", u"JP PO,%j", u"EX (SP),%h", u"CALL PO,%j", u"PUSH %h", u"AND %b", u"RST $20", //
    u"RET PE", u"JP (%h)", u"JP PE,%j", u"EX DE,HL", u"CALL PE,%j", Prefix, u"XOR %b", u"RST $28",      //
    u"RET P", u"POP AF", u"JP P,%j", u"DI", u"CALL P,%j", u"PUSH AF", u"OR %b", u"RST $30",             //
    u"RET M", u"LD SP,%h", u"JP M,%j", u"EI", u"CALL M,%j", Prefix, u"CP %b", u"RST $38",               //
};

namespace {
constexpr std::array<TZ80Muster, 256> BaueED() {
    std::array<TZ80Muster, 256> t{};
    // 0x40..0x7F: port I/O, 16-bit arithmetic, loads through memory, and the control group,
    // whose gaps the CPU fills with copies of NEG, RETN and IM.
    const TZ80Muster gruppe4[64] = {
        u"IN B,(C)", u"OUT (C),B", u"SBC HL,BC", u"LD (%w),BC", u"NEG", u"RETN", u"IM 0", u"LD I,A", //
        u"IN C,(C)", u"OUT (C),C", u"ADC HL,BC", u"LD BC,(%w)", u"NEG", u"RETI", u"IM 0", u"LD R,A", //
        u"IN D,(C)", u"OUT (C),D", u"SBC HL,DE", u"LD (%w),DE", u"NEG", u"RETN", u"IM 1", u"LD A,I", //
        u"IN E,(C)", u"OUT (C),E", u"ADC HL,DE", u"LD DE,(%w)", u"NEG", u"RETN", u"IM 2", u"LD A,R", //
        u"IN H,(C)", u"OUT (C),H", u"SBC HL,HL", u"LD (%w),HL", u"NEG", u"RETN", u"IM 0", u"RRD",    //
        u"IN L,(C)", u"OUT (C),L", u"ADC HL,HL", u"LD HL,(%w)", u"NEG", u"RETN", u"IM 0", u"RLD",    //
        u"IN F,(C)", u"OUT (C),0", u"SBC HL,SP", u"LD (%w),SP", u"NEG", u"RETN", u"IM 1", nullptr,   //
        u"IN A,(C)", u"OUT (C),A", u"ADC HL,SP", u"LD SP,(%w)", u"NEG", u"RETN", u"IM 2", nullptr,   //
    };
    for (int i = 0; i < 64; ++i)
        t[0x40 + i] = gruppe4[i];
    // 0xA0..0xBB: the block instructions, four to a row of eight.
    const TZ80Muster block[16] = {u"LDI",  u"CPI",  u"INI",  u"OUTI", u"LDD",  u"CPD",  u"IND",  u"OUTD",
                                  u"LDIR", u"CPIR", u"INIR", u"OTIR", u"LDDR", u"CPDR", u"INDR", u"OTDR"};
    for (int i = 0; i < 16; ++i)
        t[0xA0 + (i / 4) * 8 + i % 4] = block[i];
    return t;
}
} // namespace

const std::array<TZ80Muster, 256> Z80EDTabelle = BaueED();

const std::array<TZ80Muster, 8> Z80SchiebeBefehle = {u"RLC", u"RRC", u"RL",  u"RR",
                                                     u"SLA", u"SRA", u"SLL", u"SRL"};
const std::array<TZ80Muster, 4> Z80BitBefehle = {nullptr, u"BIT", u"RES", u"SET"};
const std::array<TZ80Muster, 8> Z80Register = {u"B", u"C", u"D", u"E", u"H", u"L", u"(HL)", u"A"};
