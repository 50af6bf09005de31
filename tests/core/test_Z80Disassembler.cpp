// The Z80 disassembler: a listing worked out by hand, the columns, labels and the start mark,
// and the agreement with an independent disassembler (Debian's z80dasm) over every opcode of the
// instruction set and over the machine-code files of the corpus.
#include "MZFDatei.h"
#include "TestUmgebung.h"
#include "Z80Disassembler.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace {
std::span<const std::uint8_t> Bytes(const QByteArray& b) {
    return {reinterpret_cast<const std::uint8_t*>(b.constData()), static_cast<std::size_t>(b.size())};
}

QStringList Liste(const QByteArray& rumpf, std::uint16_t lade, std::uint16_t start, int codeAnfang = 0) {
    const QString text = DisassembliereZ80(Bytes(rumpf), lade, start, codeAnfang);
    // Every line ends with LF, the last one too.
    EXPECT_TRUE(text.isEmpty() || text.endsWith(QLatin1Char('\n')));
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// A listing as gtest shows it on a failure: one text, one line per line.
std::string Text(const QStringList& zeilen) {
    return zeilen.join(QLatin1Char('\n')).toStdString();
}

TEST(Z80Disassembler, ListeVonHandGeprueft) {
    const QByteArray rumpf = QByteArray::fromHex(
        "2100D0CD0A1218FE10F6DDCB0506FD36FB7FDD6605DD64FD7DEDB0ED77DD00CB37DDCBFE11FDCB0046ED70ED71C300F0"
        "2001323412DDE9ED4B785608FFDD213412FDE3DDEB38F9ED45ED54C312");
    const QStringList erwartet = {
        "1200  21 00 D0     START:  LD   HL,$D000",
        "1203  CD 0A 12             CALL L120A",
        "1206  18 FE        L1206:  JR   L1206",
        "1208  10 F6                DJNZ START",
        "120A  DD CB 05 06  L120A:  RLC  (IX+$05)",
        "120E  FD 36 FB 7F          LD   (IY-$05),$7F",
        "1212  DD 66 05             LD   H,(IX+$05)",
        "1215  DD 64                LD   IXH,IXH",
        "1217  FD 7D                LD   A,IYL",
        "1219  ED B0                LDIR",
        "121B  ED 77                DEFB $ED,$77",
        "121D  DD                   DEFB $DD",
        "121E  00                   NOP",
        "121F  CB 37                SLL  A",
        "1221  DD CB FE 11          RL   (IX-$02),C",
        "1225  FD CB 00 46          BIT  0,(IY+$00)",
        "1229  ED 70                IN   F,(C)",
        "122B  ED 71                OUT  (C),0",
        "122D  C3 00 F0             JP   $F000",
        "1230  20 01                JR   NZ,$1233",
        "1232  32 34 12             LD   ($1234),A",
        "1235  DD E9                JP   (IX)",
        "1237  ED 4B 78 56          LD   BC,($5678)",
        "123B  08                   EX   AF,AF'",
        "123C  FF                   RST  $38",
        "123D  DD 21 34 12          LD   IX,$1234",
        "1241  FD E3                EX   (SP),IY",
        "1243  DD                   DEFB $DD",
        "1244  EB                   EX   DE,HL",
        "1245  38 F9                JR   C,$1240",
        "1247  ED 45                RETN",
        "1249  ED 54                NEG",
        "124B  C3 12                DEFB $C3,$12",
    };
    EXPECT_EQ(Text(Liste(rumpf, 0x1200, 0x1200)), Text(erwartet));
}

TEST(Z80Disassembler, DatenVorDemCodeUndDieStartmarke) {
    const QByteArray rumpf = QByteArray::fromHex("2100D0CD0A1210F8");
    // Code from offset 6: the bytes before it are data, four to a line; the start address lies
    // in them, and the jump back to it finds no instruction there.
    EXPECT_EQ(Text(Liste(rumpf, 0x1200, 0x1200, 6)),
              Text({
                  "1200  21 00 D0 CD          DEFB $21,$00,$D0,$CD  ; START $1200",
                  "1204  0A 12                DEFB $0A,$12",
                  "1206  10 F8                DJNZ $1200",
              }));
    // A start address inside an instruction (the jump back lands on it as L1200).
    EXPECT_EQ(Liste(rumpf, 0x1200, 0x1201).first().toStdString(),
              std::string("1200  21 00 D0     L1200:  LD   HL,$D000  ; START $1201"));
    // An offset past the end gives data only; a negative one counts as 0.
    EXPECT_EQ(Liste(rumpf, 0x1200, 0, 100).size(), 2);
    EXPECT_EQ(Liste(rumpf, 0x1200, 0, -5), Liste(rumpf, 0x1200, 0, 0));
    EXPECT_TRUE(Liste(QByteArray(), 0x1200, 0x1200).isEmpty());
}

TEST(Z80Disassembler, AdressenLaufenUeberFFFFHinaus) {
    EXPECT_EQ(Text(Liste(QByteArray::fromHex("000018FC"), 0xFFFE, 0x0000)),
              Text({
                  "FFFE  00           LFFFE:  NOP",
                  "FFFF  00                   NOP",
                  "0000  18 FC        START:  JR   LFFFE",
              }));
}

// A line of a listing: address, number of bytes, instruction.
struct TZeile {
    int laenge = 0;
    QString text;
};

std::map<int, TZeile> UnsereZeilen(const QStringList& zeilen) {
    std::map<int, TZeile> ergebnis;
    for (const QString& zeile : zeilen) {
        TZeile z;
        z.laenge = static_cast<int>(zeile.mid(6, 11).split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
        z.text = zeile.mid(27).section(QStringLiteral("  ;"), 0, 0);
        ergebnis[zeile.left(4).toInt(nullptr, 16)] = z;
    }
    return ergebnis;
}

QString Z80dasm() {
    return QStandardPaths::findExecutable(QStringLiteral("z80dasm"));
}

// z80dasm's listing of the bytes at `org`: "\tld a,(ix+005h)\t\t;1000" per instruction.
std::map<int, TZeile> Z80dasmZeilen(const QByteArray& bytes, int org) {
    const QString datei = TestVerzeichnis() + QStringLiteral("/code.bin");
    SchreibeDatei(datei, bytes);
    QProcess prozess;
    prozess.start(Z80dasm(), {QStringLiteral("-a"), QStringLiteral("-u"), QStringLiteral("-g"),
                              QStringLiteral("0x%1").arg(org, 0, 16), datei});
    EXPECT_TRUE(prozess.waitForFinished(60000));
    std::map<int, TZeile> ergebnis;
    int vorige = -1;
    for (const QString& zeile : QString::fromUtf8(prozess.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (!zeile.startsWith(QLatin1Char('\t')) || zeile.contains(QLatin1String("\torg\t")))
            continue;
        const int adresse = zeile.section(QLatin1Char(';'), -1).trimmed().toInt(nullptr, 16);
        ergebnis[adresse].text = zeile.section(QLatin1Char(';'), 0, 0).trimmed();
        if (vorige >= 0)
            ergebnis[vorige].laenge = adresse - vorige;
        vorige = adresse;
    }
    if (vorige >= 0)
        ergebnis[vorige].laenge = org + static_cast<int>(bytes.size()) - vorige;
    return ergebnis;
}

// Both listings in one form: lower case, single spaces, every number (hexadecimal "$1A" or
// "01ah", decimal, a label L1234 or START, z80dasm's "$+5" relative to the instruction) as "#"
// and its decimal value.
QString Normal(QString text, int adresse, int start) {
    using TWert = int (*)(const QRegularExpressionMatch&, int adresse, int start);
    static const std::pair<QRegularExpression, TWert> zahlen[] = {
        {QRegularExpression(QStringLiteral(R"(\$([+-]\d+))")),
         [](const auto& m, int a, int) { return (a + m.captured(1).toInt()) & 0xFFFF; }},
        {QRegularExpression(QStringLiteral(R"(\$([0-9a-f]+))")),
         [](const auto& m, int, int) { return m.captured(1).toInt(nullptr, 16); }},
        {QRegularExpression(QStringLiteral(R"(\b([0-9][0-9a-f]*)h\b)")),
         [](const auto& m, int, int) { return m.captured(1).toInt(nullptr, 16); }},
        {QRegularExpression(QStringLiteral(R"(\bl([0-9a-f]{4})\b)")),
         [](const auto& m, int, int) { return m.captured(1).toInt(nullptr, 16); }},
        {QRegularExpression(QStringLiteral(R"(\bstart\b)")), [](const auto&, int, int s) { return s; }},
        {QRegularExpression(QStringLiteral(R"((?<![#\w])(\d+)\b)")),
         [](const auto& m, int, int) { return m.captured(1).toInt(); }},
    };
    static const QRegularExpression sli(QStringLiteral(R"(^sli\b)"));
    static const QRegularExpression kopie(
        QStringLiteral(R"(^((\w+) .*\(i[xy][+-]#\d+\)) & ld (\w),\(.*\)$)"));

    text = text.toLower().simplified();
    for (const auto& [ausdruck, wert] : zahlen) {
        QString neu;
        qsizetype bis = 0;
        for (auto treffer = ausdruck.globalMatch(text); treffer.hasNext();) {
            const QRegularExpressionMatch m = treffer.next();
            neu += text.mid(bis, m.capturedStart() - bis) + QLatin1Char('#') +
                   QString::number(wert(m, adresse, start));
            bis = m.capturedEnd();
        }
        text = neu + text.mid(bis);
    }
    // z80dasm's names for the undocumented forms.
    text.replace(sli, QStringLiteral("sll"));
    const QRegularExpressionMatch m = kopie.match(text);
    if (m.hasMatch())
        text = m.captured(2) == QLatin1String("bit") ? m.captured(1)
                                                     : m.captured(1) + QLatin1Char(',') + m.captured(3);
    return text;
}

// Where this disassembler deliberately differs from z80dasm, by the instruction's bytes:
// - an ED code the CPU skips: here DEFB of both bytes (the CPU takes them as one two-byte NOP),
//   z80dasm lists the ED alone and decodes the next byte as an instruction;
// - the undocumented ED duplicates of NEG, RETN, IM and LD (nn),HL / LD HL,(nn): here under their
//   names, z80dasm lists them as an illegal ED;
// - a DD or FD prefix that changes nothing: here DEFB of the prefix alone (the CPU goes on with
//   the next byte as an instruction), z80dasm lists three bytes as an "illegal sequence".
// z80dasm's "sli" is written SLL here, and its "rlc (ix+5) & ld b,(ix+5)" as "RLC (IX+$05),B"
// (Normal above maps both).
const std::uint8_t EDDuplikate[] = {0x4C, 0x4E, 0x54, 0x55, 0x5C, 0x5D, 0x63, 0x64, 0x65, 0x66,
                                    0x6B, 0x6C, 0x6D, 0x6E, 0x74, 0x75, 0x76, 0x7C, 0x7D, 0x7E};

bool IstGewollterUnterschied(const std::uint8_t* b, const TZeile& unsere, const TZeile& z80dasm) {
    if (!z80dasm.text.startsWith(QLatin1String("defb")))
        return false;
    if (b[0] == 0xED)
        return (unsere.laenge == 2 && unsere.text.startsWith(QLatin1String("DEFB"))) ||
               std::count(std::begin(EDDuplikate), std::end(EDDuplikate), b[1]) > 0;
    return (b[0] == 0xDD || b[0] == 0xFD) && unsere.laenge == 1;
}

class Z80dasmVergleich : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Z80dasm().isEmpty())
            return;
        if (qEnvironmentVariableIsSet("CI"))
            FAIL() << "z80dasm is missing; tools/install-deps installs it";
        GTEST_SKIP() << "z80dasm is not installed (apt install z80dasm); the comparison is skipped";
    }

    struct TErgebnis {
        int verglichen = 0;
        int gewollt = 0;
    };

    // Walks both listings; where an instruction starts in both at a point both reached in step,
    // length and text must agree unless the difference is one of the intended ones, after which
    // the two may part until they meet again at a common instruction start.
    static TErgebnis Vergleiche(const QByteArray& bytes, int org, int start,
                                const std::map<int, TZeile>& unsere, const std::map<int, TZeile>& fremde,
                                const std::vector<int>* nurAn = nullptr) {
        TErgebnis e;
        bool imTakt = true;
        const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        for (const auto& [adresse, zeile] : unsere) {
            const auto fremd = fremde.find(adresse);
            if (fremd == fremde.end()) {
                EXPECT_FALSE(imTakt) << "z80dasm has no instruction at " << std::hex << adresse << ": "
                                     << zeile.text.toStdString();
                continue;
            }
            imTakt = true;
            if (nurAn && !std::binary_search(nurAn->begin(), nurAn->end(), adresse - org))
                continue;
            const std::uint8_t* hier = b + (adresse - org);
            if (IstGewollterUnterschied(hier, zeile, fremd->second)) {
                ++e.gewollt;
                imTakt = false;
                continue;
            }
            ++e.verglichen;
            const QString wir = Normal(zeile.text, adresse, start);
            const QString sie = Normal(fremd->second.text, adresse, start);
            EXPECT_EQ(zeile.laenge, fremd->second.laenge)
                << std::hex << adresse << ": " << wir.toStdString() << " / " << sie.toStdString();
            EXPECT_EQ(wir, sie)
                << std::hex << adresse << " "
                << QByteArray(reinterpret_cast<const char*>(hier), zeile.laenge).toHex(' ').toStdString();
        }
        return e;
    }
};

// Every opcode of every table, each with its operands and four NOPs after it, so that both
// disassemblers start the next one in step. Once with positive operands, once with negative
// displacements and backward jumps.
QByteArray Befehlssatz(const QByteArray& operanden, std::vector<int>& anfaenge) {
    QList<QByteArray> folgen;
    for (int op = 0; op < 256; ++op) {
        const char c = static_cast<char>(op);
        if (op != 0xCB && op != 0xDD && op != 0xED && op != 0xFD)
            folgen << QByteArray(1, c);
        folgen << QByteArray("\xCB", 1) + c << QByteArray("\xED", 1) + c;
        for (const char* index : {"\xDD", "\xFD"}) {
            if (op != 0xCB)
                folgen << QByteArray(index, 1) + c;
            folgen << QByteArray(index, 1) + '\xCB' + operanden[0] + c;
        }
    }
    QByteArray code;
    for (const QByteArray& folge : folgen) {
        anfaenge.push_back(static_cast<int>(code.size()));
        code += folge + operanden + QByteArray(4, '\0');
    }
    return code;
}

TEST_F(Z80dasmVergleich, JederOpcodeDesBefehlssatzes) {
    constexpr int Org = 0x1000;
    for (const QByteArray& operanden : {QByteArray::fromHex("053412"), QByteArray::fromHex("FB80FF")}) {
        SCOPED_TRACE(operanden.toHex().toStdString());
        std::vector<int> anfaenge;
        const QByteArray code = Befehlssatz(operanden, anfaenge);
        const auto unsere = UnsereZeilen(Liste(code, Org, 0));
        const auto fremde = Z80dasmZeilen(code, Org);
        ASSERT_FALSE(fremde.empty());
        const TErgebnis e = Vergleiche(code, Org, 0, unsere, fremde, &anfaenge);
        // 1786 sequences: 252 + 256 CB + 256 ED + 2 * (255 + 256) DD/FD. The intended differences:
        // the 178 ED codes outside the instruction set and the 20 duplicates, and DD or FD in
        // front of the 170 opcodes (of 255 besides CB) that they do not change.
        ASSERT_EQ(anfaenge.size(), 1786u);
        EXPECT_EQ(e.verglichen + e.gewollt, 1786);
        EXPECT_EQ(e.gewollt, 178 + 20 + 2 * 170);
    }
}

TEST_F(Z80dasmVergleich, MaschinencodeDesKorpus) {
    int dateien = 0;
    int verglichen = 0;
    for (QDirIterator it(KorpusPfad(QString()),
                         {QStringLiteral("*.mzf"), QStringLiteral("*.mzt"), QStringLiteral("*.MZT")},
                         QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString pfad = it.next();
        for (const auto& datei : TMZFDatei::LeseMZFDatensaetze(LiesDatei(pfad))) {
            if (datei->HoleMZDateiAttribut() != 0x01)
                continue;
            SCOPED_TRACE(pfad.toStdString() + " " + datei->HoleMZDateiName().toStdString());
            const QByteArray rumpf(reinterpret_cast<const char*>(datei->Rumpf()),
                                   datei->HoleMZDateiGroesse());
            const int org = datei->HoleMZLadeAdresse();
            const int start = datei->HoleMZStartAdresse();
            const TErgebnis e = Vergleiche(rumpf, org, start, UnsereZeilen(Liste(rumpf, org, start)),
                                           Z80dasmZeilen(rumpf, org));
            verglichen += e.verglichen;
            ++dateien;
        }
    }
    EXPECT_GE(dateien, 30);
    EXPECT_GT(verglichen, 60000);
}

// Every byte of any body stands in exactly one line, at its address.
TEST(Z80Disassembler, JedesByteInGenauEinerZeile) {
    std::mt19937 zufall(815);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int runde = 0; runde < 200; ++runde) {
        QByteArray rumpf(runde * 7 % 300, '\0');
        for (char& b : rumpf)
            b = static_cast<char>(byte(zufall));
        const std::uint16_t lade = static_cast<std::uint16_t>(runde * 997);
        const int codeAnfang = runde % 5;
        int erwartet = lade;
        for (const QString& zeile : Liste(rumpf, lade, lade, codeAnfang)) {
            ASSERT_EQ(zeile.left(4).toInt(nullptr, 16), erwartet & 0xFFFF) << zeile.toStdString();
            const QStringList bytes = zeile.mid(6, 11).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            for (int i = 0; i < bytes.size(); ++i)
                EXPECT_EQ(bytes[i].toInt(nullptr, 16), static_cast<std::uint8_t>(rumpf[erwartet - lade + i]));
            erwartet += static_cast<int>(bytes.size());
        }
        EXPECT_EQ(erwartet - lade, rumpf.size());
    }
}

} // namespace
