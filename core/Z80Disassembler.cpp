#include "Z80Disassembler.h"

#include "LittleEndian.h"
#include "Z80Tabellen.h"

#include <QString>
#include <algorithm>
#include <string_view>
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
constexpr int BytesSpalte = 11;
constexpr int MarkenSpalte = 8;
constexpr int BefehlsSpalte = 5; // the longest mnemonic (CALL, DJNZ, DEFB) and a space
constexpr char16_t HexZeichen[] = u"0123456789ABCDEF";
constexpr char16_t StartName[] = u"START";

constexpr std::uint8_t AnfangMarke = 1; // an instruction starts at this offset
constexpr std::uint8_t ZielMarke = 2;   // a jump or call lands at this offset

// CB and DD CB: every opcode follows from its fields, so the templates are made from the tables.
struct TCBMuster {
    QString cb[AnzahlOpcodes];
    QString ddcb[AnzahlOpcodes];
};

TCBMuster BaueCBMuster() {
    TCBMuster m;
    for (int op = 0; op < AnzahlOpcodes; ++op) {
        const int x = op >> 6;
        const int y = (op >> 3) & 7;
        const int z = op & 7;
        const QString reg = QString::fromUtf16(Z80Register[z]);
        // Behind DD CB d the operand is always (IX+d); another register names where the CPU
        // also copies the result (BIT writes nothing, so it has no such form).
        const QString kopie = z == SpeicherOperand || x == 1 ? QString() : QLatin1Char(',') + reg;
        if (x == 0) {
            const QString befehl = QString::fromUtf16(Z80SchiebeBefehle[y]) + QLatin1Char(' ');
            m.cb[op] = befehl + reg;
            m.ddcb[op] = befehl + QStringLiteral("%m") + kopie;
        } else {
            const QString befehl =
                QString::fromUtf16(Z80BitBefehle[x]) + QLatin1Char(' ') + QChar(u'0' + y) + QLatin1Char(',');
            m.cb[op] = befehl + reg;
            m.ddcb[op] = befehl + QStringLiteral("%m") + kopie;
        }
    }
    return m;
}

const TCBMuster& CBMuster() {
    static const TCBMuster muster = BaueCBMuster();
    return muster;
}

// Whether the template names one of the placeholders.
bool Nennt(TZ80Muster muster, std::u16string_view platzhalter) {
    for (const char16_t* c = muster; *c; ++c)
        if (*c == u'%' && platzhalter.find(c[1]) != std::u16string_view::npos)
            return true;
    return false;
}

// Whether a DD or FD prefix changes the instruction.
bool IstIndiziert(TZ80Muster muster) {
    return Nennt(muster, u"hmHL");
}

// The rest of the body, listed as DEFB: the instruction does not fit into it.
TZ80Befehl Abgeschnitten(int verfuegbar) {
    TZ80Befehl b;
    b.laenge = verfuegbar;
    return b;
}

// Reads the operands of `muster` from bytes[pos] on, in the order the template names them.
TZ80Befehl MitOperanden(TZ80Befehl b, TZ80Muster muster, const std::uint8_t* bytes, int verfuegbar, int pos,
                        std::uint16_t adresse) {
    b.muster = muster;
    int sprung = 0;
    bool relativ = false;
    for (const char16_t* c = muster; *c; ++c) {
        if (*c != u'%')
            continue;
        const char16_t art = *++c;
        const int bytesNoetig = art == u'w' || art == u'j' ? 2 : art == u'm' && !b.index ? 0 : 1;
        if (art == u'h' || art == u'H' || art == u'L' || bytesNoetig == 0)
            continue;
        if (pos + bytesNoetig > verfuegbar)
            return Abgeschnitten(verfuegbar);
        switch (art) {
        case u'm':
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

void HaengeHexAn(QString& s, std::uint32_t wert, int stellen) {
    for (int i = stellen - 1; i >= 0; --i)
        s += QChar(HexZeichen[(wert >> (4 * i)) & 0x0F]);
}

void HaengeDollarHexAn(QString& s, std::uint32_t wert, int stellen) {
    s += QLatin1Char('$');
    HaengeHexAn(s, wert, stellen);
}

void FuelleAuf(QString& s, qsizetype bis) {
    while (s.size() < bis)
        s += QLatin1Char(' ');
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
    QString Zeile(int offset, const TZ80Befehl& b) const;

private:
    bool IstStart(std::uint16_t offset) const {
        return offset == m_start && offset < m_rumpf.size() && (m_marken[offset] & AnfangMarke);
    }
    // The label of an instruction start, or nothing.
    bool HaengeMarkeAn(QString& s, std::uint16_t offset) const {
        if (IstStart(offset)) {
            s += QStringView(StartName);
            return true;
        }
        if (offset >= m_rumpf.size() || m_marken[offset] != (AnfangMarke | ZielMarke))
            return false;
        s += QLatin1Char('L');
        HaengeHexAn(s, Adresse(offset), 4);
        return true;
    }
    void HaengeZielAn(QString& s, std::uint16_t ziel) const {
        if (!HaengeMarkeAn(s, static_cast<std::uint16_t>(ziel - m_ladeAdresse)))
            HaengeDollarHexAn(s, ziel, 4);
    }
    void HaengeBefehlAn(QString& s, int offset, const TZ80Befehl& b) const;

    std::span<const std::uint8_t> m_rumpf;
    std::uint16_t m_ladeAdresse;
    std::uint16_t m_start; // offset of the start address in the body (wrapped)
    std::vector<std::uint8_t> m_marken;
};

QString TZ80Schreiber::Zeile(int offset, const TZ80Befehl& b) const {
    QString s;
    s.reserve(64);
    HaengeHexAn(s, Adresse(offset), 4);
    s += QLatin1String("  ");
    const qsizetype bytesAnfang = s.size();
    for (int i = 0; i < b.laenge; ++i) {
        if (i > 0)
            s += QLatin1Char(' ');
        HaengeHexAn(s, m_rumpf[offset + i], 2);
    }
    FuelleAuf(s, bytesAnfang + BytesSpalte);
    s += QLatin1String("  ");
    const qsizetype markenAnfang = s.size();
    const bool markiert = HaengeMarkeAn(s, static_cast<std::uint16_t>(offset));
    if (markiert)
        s += QLatin1Char(':');
    FuelleAuf(s, markenAnfang + MarkenSpalte);
    HaengeBefehlAn(s, offset, b);
    // A start address inside the line, where no label can stand.
    if (!IstStart(m_start) && m_start >= offset && m_start < offset + b.laenge) {
        s += QLatin1String("  ; ");
        s += QStringView(StartName);
        s += QLatin1Char(' ');
        HaengeDollarHexAn(s, Adresse(m_start), 4);
    }
    return s;
}

void TZ80Schreiber::HaengeBefehlAn(QString& s, int offset, const TZ80Befehl& b) const {
    const qsizetype anfang = s.size();
    if (!b.muster) {
        s += QLatin1String("DEFB ");
        for (int i = 0; i < b.laenge; ++i) {
            if (i > 0)
                s += QLatin1Char(',');
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
    // Behind DD/FD with a memory operand, H and L are the plain registers.
    const bool mitSpeicher = Nennt(b.muster, u"m");
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
                s += QLatin1Char('I');
                s += QLatin1Char(b.index);
            } else {
                s += QLatin1String("HL");
            }
            break;
        case u'H':
        case u'L':
            if (b.index && !mitSpeicher) {
                s += QLatin1Char('I');
                s += QLatin1Char(b.index);
            }
            s += QChar(*c);
            break;
        default: // m
            if (!b.index) {
                s += QLatin1String("(HL)");
                break;
            }
            s += QStringLiteral("(I") + QLatin1Char(b.index) + QLatin1Char(b.verschiebung < 0 ? '-' : '+');
            HaengeDollarHexAn(
                s, static_cast<std::uint32_t>(b.verschiebung < 0 ? -b.verschiebung : b.verschiebung), 2);
            s += QLatin1Char(')');
            break;
        }
    }
}
} // namespace

TZ80Befehl DekodiereZ80(const std::uint8_t* bytes, int verfuegbar, std::uint16_t adresse) {
    const std::uint8_t op = bytes[0];
    if (op == PraefixCB || op == PraefixED) {
        if (verfuegbar < 2)
            return Abgeschnitten(verfuegbar);
        TZ80Befehl b;
        if (op == PraefixCB) {
            b.laenge = 2;
            b.muster = reinterpret_cast<const char16_t*>(CBMuster().cb[bytes[1]].utf16());
            return b;
        }
        const TZ80Muster muster = Z80EDTabelle[bytes[1]];
        if (!muster) {
            b.laenge = 2;
            return b;
        }
        return MitOperanden(b, muster, bytes, verfuegbar, 2, adresse);
    }
    if (op == PraefixDD || op == PraefixFD) {
        TZ80Befehl b; // a lone prefix: one byte of its own
        if (verfuegbar < 2)
            return b;
        b.index = op == PraefixDD ? 'X' : 'Y';
        if (bytes[1] == PraefixCB) {
            if (verfuegbar < DDCBLaenge)
                return Abgeschnitten(verfuegbar);
            b.laenge = DDCBLaenge;
            b.verschiebung = static_cast<std::int8_t>(bytes[2]);
            b.muster = reinterpret_cast<const char16_t*>(CBMuster().ddcb[bytes[3]].utf16());
            return b;
        }
        const TZ80Muster muster = Z80HauptTabelle[bytes[1]];
        if (!muster || !IstIndiziert(muster))
            return TZ80Befehl();
        return MitOperanden(b, muster, bytes, verfuegbar, 2, adresse);
    }
    return MitOperanden(TZ80Befehl(), Z80HauptTabelle[op], bytes, verfuegbar, 1, adresse);
}

QStringList DisassembliereZ80(std::span<const std::uint8_t> pv_rumpf, std::uint16_t pv_ladeAdresse,
                              std::uint16_t pv_startAdresse, int pv_codeAnfang) {
    const int groesse = static_cast<int>(pv_rumpf.size());
    const int codeAnfang = std::clamp(pv_codeAnfang, 0, groesse);
    TZ80Schreiber schreiber(pv_rumpf, pv_ladeAdresse, pv_startAdresse);
    // First every instruction, so that a jump backwards and forwards finds its label.
    std::vector<TZ80Befehl> befehle;
    for (int offset = codeAnfang; offset < groesse;) {
        befehle.push_back(
            DekodiereZ80(pv_rumpf.data() + offset, groesse - offset, schreiber.Adresse(offset)));
        schreiber.Markiere(offset, befehle.back());
        offset += befehle.back().laenge;
    }
    QStringList zeilen;
    zeilen.reserve(static_cast<qsizetype>(befehle.size()) + codeAnfang / DatenJeZeile + 1);
    for (int offset = 0; offset < codeAnfang; offset += DatenJeZeile) {
        TZ80Befehl daten;
        daten.laenge = std::min(DatenJeZeile, codeAnfang - offset);
        zeilen.append(schreiber.Zeile(offset, daten));
    }
    int offset = codeAnfang;
    for (const TZ80Befehl& b : befehle) {
        zeilen.append(schreiber.Zeile(offset, b));
        offset += b.laenge;
    }
    return zeilen;
}
