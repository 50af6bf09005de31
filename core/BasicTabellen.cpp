// Keyword tables of the Sharp BASIC interpreters, read from their built-in keyword lists and
// checked against real program files where such files exist (MZ-700 1Z-013B, MZ-80K SP-5025).
// The MZ-800 tables are those of the 1Z-016 family (its disk and quick-disk sisters hold the same
// statements at the same codes); the MZ-80A ones come from the SA-5510 interpreter alone, since no
// SA-5510 program file was at hand.
#include "BasicTabellen.h"

namespace {
constexpr TSchluesselWort Kein = nullptr;
using TEinByte = std::array<TSchluesselWort, TBasicTokenTabelle::EinByteAnzahl>;
using TZweitesByte = std::array<TSchluesselWort, TBasicTokenTabelle::ZweitesByteAnzahl>;

// The constant pi is stored as one byte and listed as the MZ's pi character.
constexpr TSchluesselWort Pi = u"\u03C0";

// MZ-700 S-BASIC 1Z-013B. 0xFE and 0xFF are the prefixes of the two tables below.
constexpr TEinByte MZ700EinByte = {
    // 0x80
    u"GOTO", u"GOSUB", Kein, u"RUN", u"RETURN", u"RESTORE", u"RESUME", u"LIST", //
    Kein, u"DELETE", u"RENUM", u"AUTO", Kein, u"FOR", u"NEXT", u"PRINT",        //
    // 0x90
    Kein, u"INPUT", Kein, u"IF", u"DATA", u"READ", u"DIM", u"REM", //
    u"END", u"STOP", u"CONT", u"CLS", Kein, u"ON", u"LET", u"NEW", //
    // 0xA0
    u"POKE", u"OFF", u"MODE", u"SKIP", u"PLOT", u"LINE", u"RLINE", u"MOVE",  //
    u"RMOVE", u"TRON", u"TROFF", u"INP#", Kein, u"GET", u"PCOLOR", u"PHOME", //
    // 0xB0
    u"HSET", u"GPRINT", u"KEY", u"AXIS", u"LOAD", u"SAVE", u"MERGE", Kein, //
    u"CONSOLE", Kein, u"OUT#", u"CIRCLE", u"TEST", u"PAGE", Kein, Kein,    //
    // 0xC0
    u"ERASE", u"ERROR", Kein, u"USR", u"BYE", Kein, Kein, u"DEF", //
    Kein, Kein, Kein, Kein, Kein, Kein, u"WOPEN", u"CLOSE",       //
    // 0xD0
    u"ROPEN", Kein, Kein, Kein, Kein, Kein, Kein, Kein, //
    Kein, u"KILL", Kein, Kein, Kein, Kein, Kein, Kein,  //
    // 0xE0
    u"TO", u"STEP", u"THEN", u"USING", Pi, Kein, u"TAB", u"SPC", //
    Kein, Kein, Kein, u"OR", u"AND", Kein, u"><", u"<>",         //
    // 0xF0
    u"=<", u"<=", u"=>", u">=", u"=", u">", u"<", u"+", //
    u"-", Kein, Kein, u"/", u"*", u"^", Kein, Kein,     //
};

constexpr TZweitesByte MZ700FE = {
    // 0x80
    Kein, u"SET", u"RESET", u"COLOR", Kein, Kein, Kein, Kein, //
    Kein, Kein, Kein, Kein, Kein, Kein, Kein, Kein,           //
    // 0x90
    Kein, Kein, Kein, Kein, Kein, Kein, Kein, Kein, //
    Kein, Kein, Kein, Kein, Kein, Kein, Kein, Kein, //
    // 0xA0
    Kein, Kein, u"MUSIC", u"TEMPO", u"CURSOR", u"VERIFY", u"CLR", u"LIMIT", //
    Kein, Kein, Kein, Kein, Kein, Kein, u"BOOT", Kein,                      //
};

// Function names without "(": the bracket follows as a character of its own.
constexpr TZweitesByte MZ700FF = {
    // 0x80
    u"INT", u"ABS", u"SIN", u"COS", u"TAN", u"LN", u"EXP", u"SQR", //
    u"RND", u"PEEK", u"ATN", u"SGN", u"LOG", Kein, u"PAI", u"RAD", //
    // 0x90
    Kein, Kein, Kein, Kein, Kein, u"EOF", Kein, Kein, //
    Kein, Kein, Kein, Kein, Kein, Kein, u"JOY", Kein, //
    // 0xA0
    u"CHR$", u"STR$", u"HEX$", Kein, Kein, Kein, Kein, Kein, //
    Kein, Kein, Kein, u"ASC", u"LEN", u"VAL", Kein, Kein,    //
    // 0xB0
    Kein, Kein, Kein, u"ERN", u"ERL", u"SIZE", Kein, Kein,      //
    Kein, Kein, u"LEFT$", u"RIGHT$", u"MID$", Kein, Kein, Kein, //
    // 0xC0
    Kein, Kein, Kein, u"STRING$", u"TI$", Kein, Kein, u"FN", //
};

// MZ-800 S-BASIC 1Z-016. The interpreter spells XOR, OR, AND, NOT and MOD with a leading dot,
// which the listing leaves out; integer division is the yen sign.
constexpr TEinByte MZ800EinByte = {
    // 0x80
    u"GOTO", u"GOSUB", Kein, u"RUN", u"RETURN", u"RESTORE", u"RESUME", u"LIST", //
    Kein, u"DELETE", u"RENUM", u"AUTO", u"EDIT", u"FOR", u"NEXT", u"PRINT",     //
    // 0x90
    Kein, u"INPUT", Kein, u"IF", u"DATA", u"READ", u"DIM", u"REM", //
    u"END", u"STOP", u"CONT", u"CLS", Kein, u"ON", u"LET", u"NEW", //
    // 0xA0
    u"POKE", u"OFF", u"PMODE", u"PSKIP", u"PLOT", u"PLINE", u"RLINE", u"PMOVE",    //
    u"RMOVE", u"TRON", u"TROFF", u"INP@", u"DEFAULT", u"GET", u"PCOLOR", u"PHOME", //
    // 0xB0
    u"HSET", u"GPRINT", u"KEY", u"AXIS", u"LOAD", u"SAVE", u"MERGE", u"CHAIN",       //
    u"CONSOLE", u"SEARCH", u"OUT@", u"PCIRCLE", u"PTEST", u"PAGE", u"WAIT", u"SWAP", //
    // 0xC0
    Kein, u"ERROR", u"ELSE", u"USR", u"BYE", Kein, Kein, u"DEF", //
    Kein, Kein, u"LABEL", Kein, Kein, Kein, u"WOPEN", u"CLOSE",  //
    // 0xD0
    u"ROPEN", u"XOPEN", Kein, Kein, Kein, u"DIR", Kein, Kein,          //
    u"RENAME", u"KILL", u"LOCK", u"UNLOCK", u"INIT", Kein, Kein, Kein, //
    // 0xE0
    u"TO", u"STEP", u"THEN", u"USING", Pi, u"ALL", u"TAB", u"SPC", //
    Kein, Kein, u"XOR", u"OR", u"AND", u"NOT", u"><", u"<>",       //
    // 0xF0
    u"=<", u"<=", u"=>", u">=", u"=", u">", u"<", u"+",    //
    u"-", u"\u00A5", u"MOD", u"/", u"*", u"^", Kein, Kein, //
};

constexpr TZweitesByte MZ800FE = {
    // 0x80
    Kein, u"CSET", u"CRESET", u"CCOLOR", Kein, Kein, Kein, Kein, //
    Kein, Kein, u"SOUND", Kein, u"NOISE", u"BEEP", Kein, Kein,   //
    // 0x90
    u"COLOR", Kein, u"SET", u"RESET", u"LINE", u"BLINE", u"PAL", u"CIRCLE", //
    u"BOX", u"PAINT", u"POSITION", u"PATTERN", u"HCOPY", Kein, Kein, Kein,  //
    // 0xA0
    u"SYMBOL", Kein, u"MUSIC", u"TEMPO", u"CURSOR", u"VERIFY", u"CLR", u"LIMIT", //
    Kein, Kein, Kein, Kein, Kein, Kein, u"BOOT", Kein,                           //
};

constexpr TZweitesByte MZ800FF = {
    // 0x80
    u"INT", u"ABS", u"SIN", u"COS", u"TAN", u"LN", u"EXP", u"SQR",    //
    u"RND", u"PEEK", u"ATN", u"SGN", u"LOG", u"FRAC", u"PAI", u"RAD", //
    // 0x90
    Kein, Kein, Kein, Kein, Kein, Kein, Kein, Kein,         //
    Kein, Kein, Kein, Kein, u"STICK", u"STRIG", Kein, Kein, //
    // 0xA0
    u"CHR$", u"STR$", u"HEX$", Kein, Kein, Kein, Kein, Kein,   //
    u"SPACE$", Kein, Kein, u"ASC", u"LEN", u"VAL", Kein, Kein, //
    // 0xB0
    Kein, Kein, Kein, u"ERN", u"ERL", u"SIZE", u"CSRH", u"CSRV",      //
    u"POSH", u"POSV", u"LEFT$", u"RIGHT$", u"MID$", Kein, Kein, Kein, //
    // 0xC0
    Kein, Kein, Kein, Kein, u"TI$", u"POINT", u"EOF", u"FN", //
};

// MZ-80K BASIC SP-5025: one-byte tokens 0x80..0xDB; function names carry their "(".
constexpr TEinByte MZ80KEinByte = {
    // 0x80
    u"REM", u"DATA", u"LIST", u"RUN", u"NEW", u"PRINT", u"LET", u"FOR",     //
    u"IF", u"GOTO", u"READ", u"GOSUB", u"RETURN", u"NEXT", u"STOP", u"END", //
    // 0x90
    u"ON", u"LOAD", u"SAVE", u"VERIFY", u"POKE", u"DIM", u"DEF FN", u"INPUT",      //
    u"RESTORE", u"CLR", u"MUSIC", u"TEMPO", u"USR(", u"WOPEN", u"ROPEN", u"CLOSE", //
    // 0xA0
    u"BYE", u"LIMIT", u"CONT", u"SET", u"RESET", u"GET", u"INP#", u"OUT#", //
    Kein, Kein, Kein, Kein, Kein, u"THEN", u"TO", u"STEP",                 //
    // 0xB0
    u"><", u"<>", u"=<", u"<=", u"=>", u">=", u"=", u">", //
    u"<", u"AND", u"OR", u"NOT", u"+", u"-", u"*", u"/",  //
    // 0xC0
    u"LEFT$(", u"RIGHT$(", u"MID$(", u"LEN(", u"CHR$(", u"STR$(", u"ASC(", u"VAL(", //
    u"PEEK(", u"TAB(", u"SPC(", u"SIZE", Kein, Kein, Kein, u"^",                    //
    // 0xD0
    u"RND(", u"SIN(", u"COS(", u"TAN(", u"ATN(", u"EXP(", u"INT(", u"LOG(", //
    u"LN(", u"ABS(", u"SGN(", u"SQR(",                                      //
};

// MZ-80A BASIC SA-5510: statements behind the prefix 0x80, the rest one byte 0x83..0xCC. The
// prefixes 0x81 and 0x82 exist but select empty tables.
constexpr TZweitesByte MZ80AStatements = {
    // 0x80
    u"REM", u"DATA", Kein, Kein, u"READ", u"LIST", u"RUN", u"NEW",          //
    u"PRINT", u"LET", u"FOR", u"IF", u"THEN", u"GOTO", u"GOSUB", u"RETURN", //
    // 0x90
    u"NEXT", u"STOP", u"END", Kein, u"ON", u"LOAD", u"SAVE", u"VERIFY",           //
    u"POKE", u"DIM", u"DEF FN", u"INPUT", u"RESTORE", u"CLR", u"MUSIC", u"TEMPO", //
    // 0xA0
    u"USR(", u"WOPEN", u"ROPEN", u"CLOSE", u"MON", u"LIMIT", u"CONT", u"GET", //
    u"INP@", u"OUT@", u"CURSOR", u"SET", u"RESET", Kein, Kein, Kein,          //
    // 0xB0
    Kein, Kein, Kein, u"AUTO", Kein, Kein, u"COPY/P", u"PAGE/P", //
};

constexpr TEinByte MZ80AEinByte = {
    // 0x80: the three prefixes, then the comparisons
    Kein, Kein, Kein, u"><", u"<>", u"=<", u"<=", u"=>", //
    u">=", Kein, u">", u"<", Kein, Kein, Kein, Kein,     //
    // 0x90
    Kein, Kein, Kein, Kein, Kein, Kein, Kein, Kein,     //
    Kein, Kein, Kein, Kein, Kein, Kein, u"TO", u"STEP", //
    // 0xA0
    u"LEFT$(", u"RIGHT$(", u"MID$(", u"LEN(", u"CHR$(", u"STR$(", u"ASC(", u"VAL(", //
    u"PEEK(", u"TAB(", u"SPACE$(", u"SIZE", Kein, Kein, Kein, u"STRING$(",          //
    // 0xB0
    Kein, u"CHARACTER$(", u"CSR", Kein, Kein, Kein, Kein, Kein, //
    Kein, Kein, Kein, Kein, Kein, Kein, Kein, Kein,             //
    // 0xC0
    u"RND(", u"SIN(", u"COS(", u"TAN(", u"ATN(", u"EXP(", u"INT(", u"LOG(", //
    u"LN(", u"ABS(", u"SGN(", u"SQR(",                                      //
};

constexpr std::uint8_t SBasicPraefixFE = 0xFE;
constexpr std::uint8_t SBasicPraefixFF = 0xFF;
constexpr std::uint16_t SBasicData = 0x94;
constexpr std::uint16_t SBasicRem = 0x97;
constexpr std::uint16_t SP5025Rem = 0x80;
constexpr std::uint16_t SP5025Data = 0x81;
constexpr std::uint8_t SP5025LetzterToken = 0xDB;
constexpr std::uint8_t SA5510Statement = 0x80;
constexpr std::uint8_t SA5510Leer1 = 0x81;
constexpr std::uint8_t SA5510Leer2 = 0x82;
constexpr std::uint8_t SA5510LetzterToken = 0xCC;
// REM and DATA, and the two empty slots after them, which the tokeniser treats alike.
constexpr std::uint16_t SA5510Rem = 0x8080;
constexpr std::uint16_t SA5510Data = 0x8081;
constexpr std::uint16_t SA5510Roh3 = 0x8082;
constexpr std::uint16_t SA5510Roh4 = 0x8083;

const TBasicTokenTabelle Tabellen[AnzahlBasicDialekte] = {
    {&MZ700EinByte,
     0xFF,
     {{SBasicPraefixFE, &MZ700FE}, {SBasicPraefixFF, &MZ700FF}, {}},
     {SBasicData, SBasicRem}},
    {&MZ800EinByte,
     0xFF,
     {{SBasicPraefixFE, &MZ800FE}, {SBasicPraefixFF, &MZ800FF}, {}},
     {SBasicData, SBasicRem}},
    {&MZ80KEinByte, SP5025LetzterToken, {}, {SP5025Rem, SP5025Data}},
    {&MZ80AEinByte,
     SA5510LetzterToken,
     {{SA5510Statement, &MZ80AStatements}, {SA5510Leer1, nullptr}, {SA5510Leer2, nullptr}},
     {SA5510Rem, SA5510Data, SA5510Roh3, SA5510Roh4}},
};
} // namespace

const TBasicTokenTabelle& BasicTokens(TBasicDialekt pv_dialekt) {
    return Tabellen[static_cast<int>(pv_dialekt)];
}
