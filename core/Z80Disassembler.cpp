#include "Z80Disassembler.h"

#include "LittleEndian.h"
#include "Z80Tabellen.h"

#include <QString>
#include <algorithm>
#include <vector>

namespace {
constexpr std::uint8_t PraefixCB = 0xCB;
constexpr std::uint8_t PraefixDD = 0xDD;
constexpr std::uint8_t PraefixED = 0xED;
constexpr std::uint8_t PraefixFD = 0xFD;
constexpr int AnzahlOpcodes = 256;
constexpr int SpeicherOperand = 6; // z field of (HL)
constexpr int DDCBLaenge = 4;      // DD CB d op

// Columns of a line: "1200  DD CB 05 06  L1200:  RLC  (IX+$05),B"
constexpr int DatenJeZeile = 4;
constexpr int TypischeZeile = 44; // characters, for the first guess of the listing's size
constexpr int BytesSpalte = 11;
constexpr int MarkenSpalte = 8;
constexpr int BefehlsSpalte = 5; // the longest mnemonic (CALL, DJNZ, DEFB) and a space
constexpr char16_t HexZeichen[] = u"0123456789ABCDEF";
constexpr char16_t StartName[] = u"START";

constexpr std::uint8_t AnfangMarke = 1; // an instruction starts at this offset
constexpr std::uint8_t ZielMarke = 2;   // a jump or call lands at this offset

// A template with what the decoder needs of it, worked out once.
struct TMusterInfo {
    TZ80Muster muster = nullptr;
    char16_t operanden[2] = {}; // the placeholders that take bytes, in the order of the bytes
    int anzahl = 0;
    bool indiziert = false; // a DD or FD prefix changes the instruction
    bool speicher = false;  // names the memory operand
};

TMusterInfo Beschreibe(TZ80Muster muster) {
    TMusterInfo info;
    info.muster = muster;
    for (const char16_t* c = muster; c && *c; ++c) {
        if (*c != u'%')
            continue;
        const char16_t art = *++c;
        info.indiziert |= art == u'h' || art == u'm' || art == u'H' || art == u'L';
        info.speicher |= art == u'm';
        if (art != u'h' && art != u'H' && art != u'L')
            info.operanden[info.anzahl++] = art;
    }
    return info;
}

// Every table once described. CB and DD CB: each opcode follows from its fields, so their
// templates are made from the tables of shifts, bit instructions and registers.
struct TMusterTabellen {
    QString cbText[AnzahlOpcodes];
    QString ddcbText[AnzahlOpcodes];
    TMusterInfo haupt[AnzahlOpcodes];
    TMusterInfo ed[AnzahlOpcodes];
    TMusterInfo cb[AnzahlOpcodes];
    TMusterInfo ddcb[AnzahlOpcodes];
};

void BaueCBMuster(TMusterTabellen& t, int op) {
    const int x = op >> 6;
    const int y = (op >> 3) & 7;
    const int z = op & 7;
    const QString reg = QString::fromUtf16(Z80Register[z]);
    // Behind DD CB d the operand is always (IX+d); another register names where the CPU also
    // copies the result (BIT writes nothing, so it has no such form).
    const QString kopie = z == SpeicherOperand || x == 1 ? QString() : QLatin1Char(',') + reg;
    const QString befehl =
        x == 0 ? QString::fromUtf16(Z80SchiebeBefehle[y]) + QLatin1Char(' ')
               : QString::fromUtf16(Z80BitBefehle[x]) + QLatin1Char(' ') + QChar(u'0' + y) + QLatin1Char(',');
    t.cbText[op] = befehl + reg;
    t.ddcbText[op] = befehl + QStringLiteral("%m") + kopie;
}

const TMusterTabellen& Tabellen() {
    static const TMusterTabellen tabellen = [] {
        TMusterTabellen t;
        for (int op = 0; op < AnzahlOpcodes; ++op) {
            BaueCBMuster(t, op);
            t.haupt[op] = Beschreibe(Z80HauptTabelle[op]);
            t.ed[op] = Beschreibe(Z80EDTabelle[op]);
            t.cb[op] = Beschreibe(reinterpret_cast<TZ80Muster>(t.cbText[op].utf16()));
            t.ddcb[op] = Beschreibe(reinterpret_cast<TZ80Muster>(t.ddcbText[op].utf16()));
        }
        return t;
    }();
    return tabellen;
}

// The rest of the body, listed as DEFB: the instruction does not fit into it.
TZ80Befehl Abgeschnitten(int verfuegbar) {
    TZ80Befehl b;
    b.laenge = verfuegbar;
    return b;
}

// Reads the operands of the template from bytes[pos] on.
TZ80Befehl MitOperanden(TZ80Befehl b, const TMusterInfo& info, const std::uint8_t* bytes, int verfuegbar,
                        int pos, std::uint16_t adresse) {
    b.muster = info.muster;
    b.speicher = info.speicher;
    int sprung = 0;
    bool relativ = false;
    for (int i = 0; i < info.anzahl; ++i) {
        const char16_t art = info.operanden[i];
        const int bytesNoetig = art == u'w' || art == u'j' ? 2 : art == u'm' && !b.index ? 0 : 1;
        if (pos + bytesNoetig > verfuegbar)
            return Abgeschnitten(verfuegbar);
        switch (art) {
        case u'm':
            if (b.index)
                b.verschiebung = static_cast<std::int8_t>(bytes[pos]);
            break;
        case u'b':
            b.byte = bytes[pos];
            break;
        case u'r':
            sprung = static_cast<std::int8_t>(bytes[pos]);
            relativ = true;
            break;
        default: // w, j
            b.wort = LittleEndian::Lies16(bytes + pos);
            if (art == u'j')
                b.ziel = b.wort;
            break;
        }
        pos += bytesNoetig;
    }
    b.laenge = pos;
    if (relativ)
        b.ziel = static_cast<std::uint16_t>(adresse + pos + sprung);
    return b;
}

// One line, written into a fixed buffer: appending a character costs a store, not a string
// operation, which matters for a listing of some 40,000 lines.
class TZeilenPuffer {
public:
    static constexpr int Kapazitaet = 128; // the longest line is some 75 characters

    void operator+=(char16_t c) { m_z[m_n++] = c; }
    void operator+=(QChar c) { m_z[m_n++] = c.unicode(); }
    void operator+=(QLatin1String text) {
        for (char c : text)
            m_z[m_n++] = static_cast<unsigned char>(c);
    }
    void operator+=(const char16_t* text) {
        while (*text)
            m_z[m_n++] = *text++;
    }
    int size() const { return m_n; }
    const QChar* Daten() const { return reinterpret_cast<const QChar*>(m_z); }

private:
    char16_t m_z[Kapazitaet];
    int m_n = 0;
};

void HaengeHexAn(TZeilenPuffer& s, std::uint32_t wert, int stellen) {
    for (int i = stellen - 1; i >= 0; --i)
        s += QChar(HexZeichen[(wert >> (4 * i)) & 0x0F]);
}

void HaengeDollarHexAn(TZeilenPuffer& s, std::uint32_t wert, int stellen) {
    s += u'$';
    HaengeHexAn(s, wert, stellen);
}

void FuelleAuf(TZeilenPuffer& s, int bis) {
    while (s.size() < bis)
        s += u' ';
}

// Writes the lines of one listing; knows where instructions start and where jumps land.
class TZ80Schreiber {
public:
    TZ80Schreiber(std::span<const std::uint8_t> rumpf, std::uint16_t ladeAdresse, std::uint16_t startAdresse)
        : m_rumpf(rumpf), m_ladeAdresse(ladeAdresse),
          m_start(static_cast<std::uint16_t>(startAdresse - ladeAdresse)), m_marken(rumpf.size(), 0) {}

    std::uint16_t Adresse(int offset) const { return static_cast<std::uint16_t>(m_ladeAdresse + offset); }
    void Markiere(int offset, const TZ80Befehl& b) {
        m_marken[offset] |= AnfangMarke;
        if (b.ziel) {
            const std::uint16_t ziel = static_cast<std::uint16_t>(*b.ziel - m_ladeAdresse);
            if (ziel < m_rumpf.size())
                m_marken[ziel] |= ZielMarke;
        }
    }
    void Zeile(QString& text, int offset, const TZ80Befehl& b) const;

private:
    bool IstStart(std::uint16_t offset) const {
        return offset == m_start && offset < m_rumpf.size() && (m_marken[offset] & AnfangMarke);
    }
    // The label of an instruction start, or nothing.
    bool HaengeMarkeAn(TZeilenPuffer& s, std::uint16_t offset) const {
        if (IstStart(offset)) {
            s += StartName;
            return true;
        }
        if (offset >= m_rumpf.size() || m_marken[offset] != (AnfangMarke | ZielMarke))
            return false;
        s += u'L';
        HaengeHexAn(s, Adresse(offset), 4);
        return true;
    }
    void HaengeZielAn(TZeilenPuffer& s, std::uint16_t ziel) const {
        if (!HaengeMarkeAn(s, static_cast<std::uint16_t>(ziel - m_ladeAdresse)))
            HaengeDollarHexAn(s, ziel, 4);
    }
    void HaengeBefehlAn(TZeilenPuffer& s, int offset, const TZ80Befehl& b) const;

    std::span<const std::uint8_t> m_rumpf;
    std::uint16_t m_ladeAdresse;
    std::uint16_t m_start; // offset of the start address in the body (wrapped)
    std::vector<std::uint8_t> m_marken;
};

void TZ80Schreiber::Zeile(QString& text, int offset, const TZ80Befehl& b) const {
    TZeilenPuffer s;
    HaengeHexAn(s, Adresse(offset), 4);
    s += QLatin1String("  ");
    const int bytesAnfang = s.size();
    for (int i = 0; i < b.laenge; ++i) {
        if (i > 0)
            s += u' ';
        HaengeHexAn(s, m_rumpf[offset + i], 2);
    }
    FuelleAuf(s, bytesAnfang + BytesSpalte);
    s += QLatin1String("  ");
    const int markenAnfang = s.size();
    const bool markiert = HaengeMarkeAn(s, static_cast<std::uint16_t>(offset));
    if (markiert)
        s += u':';
    FuelleAuf(s, markenAnfang + MarkenSpalte);
    HaengeBefehlAn(s, offset, b);
    // A start address inside the line, where no label can stand.
    if (!IstStart(m_start) && m_start >= offset && m_start < offset + b.laenge) {
        s += QLatin1String("  ; ");
        s += StartName;
        s += u' ';
        HaengeDollarHexAn(s, Adresse(m_start), 4);
    }
    s += u'\n';
    text.append(s.Daten(), s.size());
}

void TZ80Schreiber::HaengeBefehlAn(TZeilenPuffer& s, int offset, const TZ80Befehl& b) const {
    const int anfang = s.size();
    if (!b.muster) {
        s += QLatin1String("DEFB ");
        for (int i = 0; i < b.laenge; ++i) {
            if (i > 0)
                s += u',';
            HaengeDollarHexAn(s, m_rumpf[offset + i], 2);
        }
        return;
    }
    const char16_t* c = b.muster;
    for (; *c && *c != u' '; ++c)
        s += QChar(*c);
    if (!*c)
        return;
    FuelleAuf(s, anfang + BefehlsSpalte);
    for (++c; *c; ++c) {
        if (*c != u'%') {
            s += QChar(*c);
            continue;
        }
        switch (*++c) {
        case u'b':
            HaengeDollarHexAn(s, b.byte, 2);
            break;
        case u'w':
            HaengeDollarHexAn(s, b.wort, 4);
            break;
        case u'r':
        case u'j':
            HaengeZielAn(s, *b.ziel);
            break;
        case u'h':
            if (b.index) {
                s += u'I';
                s += static_cast<char16_t>(b.index);
            } else {
                s += QLatin1String("HL");
            }
            break;
        case u'H':
        case u'L':
            // Behind DD/FD with a memory operand, H and L are the plain registers.
            if (b.index && !b.speicher) {
                s += u'I';
                s += static_cast<char16_t>(b.index);
            }
            s += QChar(*c);
            break;
        default: // m
            if (!b.index) {
                s += QLatin1String("(HL)");
                break;
            }
            s += u"(I";
            s += static_cast<char16_t>(b.index);
            s += b.verschiebung < 0 ? u'-' : u'+';
            HaengeDollarHexAn(
                s, static_cast<std::uint32_t>(b.verschiebung < 0 ? -b.verschiebung : b.verschiebung), 2);
            s += u')';
            break;
        }
    }
}
} // namespace

TZ80Befehl DekodiereZ80(const std::uint8_t* bytes, int verfuegbar, std::uint16_t adresse) {
    const TMusterTabellen& t = Tabellen();
    const std::uint8_t op = bytes[0];
    if (op == PraefixCB || op == PraefixED) {
        if (verfuegbar < 2)
            return Abgeschnitten(verfuegbar);
        const TMusterInfo& info = op == PraefixCB ? t.cb[bytes[1]] : t.ed[bytes[1]];
        if (!info.muster) {
            TZ80Befehl b;
            b.laenge = 2;
            return b;
        }
        return MitOperanden(TZ80Befehl(), info, bytes, verfuegbar, 2, adresse);
    }
    if (op == PraefixDD || op == PraefixFD) {
        TZ80Befehl b; // a lone prefix: one byte of its own
        if (verfuegbar < 2)
            return b;
        b.index = op == PraefixDD ? 'X' : 'Y';
        if (bytes[1] == PraefixCB) {
            if (verfuegbar < DDCBLaenge)
                return Abgeschnitten(verfuegbar);
            const TMusterInfo& info = t.ddcb[bytes[3]];
            b.laenge = DDCBLaenge;
            b.verschiebung = static_cast<std::int8_t>(bytes[2]);
            b.muster = info.muster;
            b.speicher = true;
            return b;
        }
        const TMusterInfo& info = t.haupt[bytes[1]];
        if (!info.indiziert)
            return TZ80Befehl();
        return MitOperanden(b, info, bytes, verfuegbar, 2, adresse);
    }
    return MitOperanden(TZ80Befehl(), t.haupt[op], bytes, verfuegbar, 1, adresse);
}

QString DisassembliereZ80(std::span<const std::uint8_t> pv_rumpf, std::uint16_t pv_ladeAdresse,
                          std::uint16_t pv_startAdresse, int pv_codeAnfang) {
    const int groesse = static_cast<int>(pv_rumpf.size());
    const int codeAnfang = std::clamp(pv_codeAnfang, 0, groesse);
    TZ80Schreiber schreiber(pv_rumpf, pv_ladeAdresse, pv_startAdresse);
    // First where every instruction starts and where jumps land, so that a jump backwards and
    // forwards finds its label; then the lines. Decoding twice costs less than keeping every
    // instruction of a large body.
    int anzahl = 0;
    for (int offset = codeAnfang; offset < groesse; ++anzahl) {
        const TZ80Befehl b =
            DekodiereZ80(pv_rumpf.data() + offset, groesse - offset, schreiber.Adresse(offset));
        schreiber.Markiere(offset, b);
        offset += b.laenge;
    }
    QString zeilen;
    zeilen.reserve(static_cast<qsizetype>(anzahl + codeAnfang / DatenJeZeile + 1) * TypischeZeile);
    for (int offset = 0; offset < codeAnfang; offset += DatenJeZeile) {
        TZ80Befehl daten;
        daten.laenge = std::min(DatenJeZeile, codeAnfang - offset);
        schreiber.Zeile(zeilen, offset, daten);
    }
    for (int offset = codeAnfang; offset < groesse;) {
        const TZ80Befehl b =
            DekodiereZ80(pv_rumpf.data() + offset, groesse - offset, schreiber.Adresse(offset));
        schreiber.Zeile(zeilen, offset, b);
        offset += b.laenge;
    }
    return zeilen;
}
