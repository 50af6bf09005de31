// The BASIC lister: the six MZ-700 programs of the corpus, and program bodies of every dialect
// built here byte by byte from the layout of the interpreters (length or link, line number,
// tokens, terminator; numbers in every stored form).
#include "BasicListe.h"
#include "MZFDatei.h"
#include "SprachenTexte.h"
#include "TestUmgebung.h"

#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <set>

namespace {
using D = TBasicDialekt;

std::span<const std::uint8_t> Bytes(const QByteArray& b) {
    return {reinterpret_cast<const std::uint8_t*>(b.constData()), static_cast<std::size_t>(b.size())};
}

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text));
}

// One line with a length word (S-BASIC, SP-5025): length, number, text, terminator.
QByteArray Zeile(int nummer, const QByteArray& text, char ende) {
    const int laenge = 4 + static_cast<int>(text.size()) + 1;
    QByteArray z;
    z.append(static_cast<char>(laenge & 0xFF)).append(static_cast<char>(laenge >> 8));
    z.append(static_cast<char>(nummer & 0xFF)).append(static_cast<char>(nummer >> 8));
    return z + text + ende;
}

QByteArray SBasic(const QList<QPair<int, QByteArray>>& zeilen) {
    QByteArray rumpf;
    for (const auto& [nummer, text] : zeilen)
        rumpf += Zeile(nummer, text, '\0');
    return rumpf + QByteArray(2, '\0');
}

QByteArray SP5025(const QList<QPair<int, QByteArray>>& zeilen) {
    QByteArray rumpf;
    for (const auto& [nummer, text] : zeilen)
        rumpf += Zeile(nummer, text, '\x0D');
    return rumpf + QByteArray(2, '\0');
}

// SA-5510: the first word links to the next line's address in memory.
QByteArray SA5510(std::uint16_t ladeAdresse, const QList<QPair<int, QByteArray>>& zeilen) {
    QByteArray rumpf;
    for (const auto& [nummer, text] : zeilen) {
        QByteArray z = Zeile(nummer, text, '\x0D');
        const int naechste = ladeAdresse + static_cast<int>(rumpf.size() + z.size());
        z[0] = static_cast<char>(naechste & 0xFF);
        z[1] = static_cast<char>(naechste >> 8);
        rumpf += z;
    }
    return rumpf + QByteArray(2, '\0');
}

QByteArray Adresse(qsizetype adresse) {
    return QByteArray(1, static_cast<char>(adresse & 0xFF)) + static_cast<char>((adresse >> 8) & 0xFF);
}

std::string Text(const QStringList& zeilen) {
    return zeilen.join(QLatin1Char('\n')).toStdString();
}

struct TFall {
    const char* name;
    D dialekt;
    std::uint16_t ladeAdresse;
    QByteArray rumpf;
    QStringList erwartet;
    int unbekannte;
    std::vector<int> verweise;
};

// MZ-700: numbers in every stored form, tokens in strings, REM and DATA taken literally.
TFall MZ700Fall() {
    const QList<QPair<int, QByteArray>> zeilen = {
        {10, Hex("41f4023a42f40a")}, // digits 0x01..0x0A
        {20, Hex("80200b0a00")},     // line number
        {30, Hex("43f4114400f7113a0a")},
        {35, Hex("43f40e0000f713ffff"
                 "f70d0100f70f1000f7100001f714ab0c")}, // every hexadecimal prefix // hexadecimal
        {40, Hex("44f41590520600"
                 "00f815947424"
                 "0000fc158000000000")}, // floats
        {50, Hex("45f415910000"
                 "00003a46f415"
                 "8180000000"
                 "3a47f4150012345678")},
        {60, Hex("48f4123412")}, // 16-bit integer
        {70, Hex("81200c") + Adresse(0x6BCF + Zeile(10, Hex("41f4023a42f40a"), '\0').size())},
        {80, Hex("49f4158340000000fc03")}, // 6*2
        {90, Hex("4af41573"
                 "27c5ac47")}, // 8E-05
        {100, Hex("8f202297223bffa028158702000000"
                  "29")},         // a token byte in a string
        {110, Hex("9720a13a8f")}, // REM with a token byte, then PRINT after ":"
        {120, Hex("9420225"
                  "83a59222c803a98")}, // DATA with a quoted ":" and a token byte
        {130, Hex("50f4e4fc02")},      // pi
        {140, Hex("c720ffc7432849"
                  "29f449")}, // DEF FN
        {150, Hex("fea2202243"
                  "22")},                     // MUSIC from the FE table
        {160, Hex("82")},                     // a byte no table names
        {170, Hex("4bf4170102030405060758")}, // a number prefix of unknown meaning
    };
    return {"MZ700",
            D::MZ700,
            0x6BCF,
            SBasic(zeilen),
            {QStringLiteral("10 A=1:B=9"), QStringLiteral("20 GOTO 10"), QStringLiteral("30 C=$44+$A3A"),
             QStringLiteral("35 C=$0+$FFFF+$1+$10+$100+$CAB"), QStringLiteral("40 D=53766-1000000*0.5"),
             QStringLiteral("50 E=65536:F=-1:G=0"), QStringLiteral("60 H=4660"),
             QStringLiteral("70 GOSUB 20"), QStringLiteral("80 I=6*2"), QStringLiteral("90 J=8E-05"),
             QStringLiteral("100 PRINT \"g\";CHR$(65)"), QStringLiteral("110 REM a:PRINT"),
             QStringLiteral("120 DATA \"X:Y\",}:END"), QStringLiteral("130 P=\u03C0*1"),
             QStringLiteral("140 DEF FNC(I)=I"), QStringLiteral("150 MUSIC \"C\""),
             QStringLiteral("160 {82}"), QStringLiteral("170 K={17}X")},
            2,
            {10, 20}};
}

// MZ-800: ELSE and the comment after a ":" the tokeniser added, keywords of its own tables.
TFall MZ800Fall() {
    return {"MZ800",
            D::MZ800,
            0x7000,
            SBasic({
                {10, Hex("932041"
                         "20e2200b1400"
                         "203ac2200b1e00")},
                {20, Hex("8f204120ea20422c204120fa20032c2041f903")},
                {30, Hex("fe8d3a58f4ff8d2859293a274e4f544520978f")},
                {40, Hex("8f20ffc6282329")},
            }),
            {QStringLiteral("10 IF A THEN 20 ELSE 30"), QStringLiteral("20 PRINT A XOR B, A MOD 2, A\u00A52"),
             QStringLiteral("30 BEEP:X=FRAC(Y)'NOTE g{8F}"), QStringLiteral("40 PRINT EOF(#)")},
            0,
            {20, 30}};
}

// MZ-80K: ASCII numbers, function keywords with their "(", pi as a character.
TFall MZ80KFall() {
    return {"MZ80K",
            D::MZ80K,
            0x4806,
            SP5025({
                {10, Hex("85202241223a892031303030")},
                {20, Hex("96205228582"
                         "9b658beffbf313830")},
                {30, Hex("41b6d03129")},
                {40, Hex("8020975859"
                         "3a8f")},
                {50, Hex("852022a122")},
                {60, Hex("882041b14220ad203130")},
                {70, Hex("a8")},
            }),
            {QStringLiteral("10 PRINT \"A\":GOTO 1000"), QStringLiteral("20 DEF FN R(X)=X*\u03C0/180"),
             QStringLiteral("30 A=RND(1)"), QStringLiteral("40 REM gXY:END"),
             QStringLiteral("50 PRINT \"a\""), QStringLiteral("60 IF A<>B THEN 10"),
             QStringLiteral("70 {A8}")},
            1,
            {}};
}

// MZ-80A: two-byte statements behind 0x80, links instead of lengths, "=" and "+" as characters.
TFall MZ80AFall() {
    return {"MZ80A",
            D::MZ80A,
            0x505C,
            SA5510(0x505C,
                   {
                       {10, Hex("80882022"
                                "41223a808d2031303030")},
                       {20, Hex("808a20493d31209e2039209f2032")},
                       {30, Hex("413dc158292bb2")},
                       {40, Hex("808020a1808d3a8092")},
                       {50, Hex("81a0")},
                   }),
            {QStringLiteral("10 PRINT \"A\":GOTO 1000"), QStringLiteral("20 FOR I=1 TO 9 STEP 2"),
             QStringLiteral("30 A=SIN(X)+CSR"), QStringLiteral("40 REM a}{8D}:END"),
             QStringLiteral("50 {81}{A0}")},
            1,
            {}};
}

QStringList Korpusprogramme() {
    return {QStringLiteral("Drinking game v2.mzf"), QStringLiteral("GNU BLAT 2000.mzf"),
            QStringLiteral("Moonlander v4.mzf"),    QStringLiteral("Sunrise v2.mzf"),
            QStringLiteral("advent 2021-25 6.mzf"), QStringLiteral("advent 2021-25 7.mzf")};
}

// The program text outside strings and outside REM and DATA.
QString OhneTexte(QString zeile) {
    zeile.remove(QRegularExpression(QStringLiteral("\"[^\"]*(\"|$)")));
    return zeile.remove(QRegularExpression(QStringLiteral("(REM|DATA).*$")));
}

class BasicListeTest : public ::testing::Test {
protected:
    void SetUp() override { WaehleSpracheOhneSpeichern(true); }
};

TEST_F(BasicListeTest, KorpusprogrammeListenSichVollstaendig) {
    int alleZeilen = 0;
    for (const QString& name : Korpusprogramme()) {
        SCOPED_TRACE(name.toStdString());
        TMZFDatei datei;
        ASSERT_TRUE(datei.Laden(KorpusPfad(QStringLiteral("psychotimmy-Sharp-MZ-700/") + name)));
        ASSERT_EQ(datei.HoleMZDateiAttribut(), 0x05);
        const std::span<const std::uint8_t> rumpf(datei.Rumpf(), datei.HoleMZDateiGroesse());
        const D dialekt = ErkenneBasicDialekt(rumpf, datei.HoleMZDateiAttribut(), datei.HoleMZLadeAdresse());
        EXPECT_EQ(dialekt, D::MZ700);
        const TBasicListe liste = ListeBasic(rumpf, datei.HoleMZLadeAdresse(), dialekt);
        ASSERT_TRUE(liste.gueltig) << BasicFehlerText(liste, datei.HoleMZLadeAdresse()).toStdString();
        EXPECT_EQ(liste.unbekannte, 0);

        std::set<int> nummern;
        int vorige = -1;
        const QRegularExpression sprung(QStringLiteral("(GOTO|GOSUB|THEN|ELSE) *([0-9]+( *, *[0-9]+)*)"));
        std::vector<int> ziele;
        for (const QString& zeile : liste.zeilen) {
            const int nummer = zeile.section(QLatin1Char(' '), 0, 0).toInt();
            EXPECT_GT(nummer, vorige) << zeile.toStdString();
            vorige = nummer;
            nummern.insert(nummer);
            const QString code = OhneTexte(zeile.section(QLatin1Char(' '), 1));
            EXPECT_FALSE(code.contains(QLatin1Char('{'))) << zeile.toStdString();
            for (auto treffer = sprung.globalMatch(code); treffer.hasNext();)
                for (const QString& ziel : treffer.next().captured(2).split(QLatin1Char(',')))
                    ziele.push_back(ziel.trimmed().toInt());
        }
        EXPECT_FALSE(ziele.empty());
        for (int ziel : ziele)
            EXPECT_TRUE(nummern.count(ziel)) << "GOTO/GOSUB " << ziel;
        for (int ziel : liste.verweise)
            EXPECT_TRUE(nummern.count(ziel)) << "line reference " << ziel;
        alleZeilen += static_cast<int>(liste.zeilen.size());
    }
    // The six programs hold 1046 lines together.
    EXPECT_EQ(alleZeilen, 1046);
}

TEST_F(BasicListeTest, KorpuszeilenWieGespeichert) {
    // Lines whose bytes were read by hand from the files: pi, hexadecimal constants, floats.
    const std::pair<const char*, const char*> beispiele[] = {
        {"Sunrise v2.mzf", "P1=\u03C0: P2=\u03C0*2: DR=\u03C0/180"},
        {"Sunrise v2.mzf", "1130 G=0.993126+0.0027377785*T"},
        {"Sunrise v2.mzf", "930 S=24110.5+8640184.8*T0"},
        {"Moonlander v4.mzf", "POKE$A3A,255:USR($44)"},
        {"Moonlander v4.mzf", "10 REM ********************************"},
        {"Drinking game v2.mzf", "Drinking game"},
    };
    for (const auto& [datei, text] : beispiele) {
        TMZFDatei mzf;
        ASSERT_TRUE(
            mzf.Laden(KorpusPfad(QStringLiteral("psychotimmy-Sharp-MZ-700/") + QLatin1String(datei))));
        const TBasicListe liste =
            ListeBasic({mzf.Rumpf(), mzf.HoleMZDateiGroesse()}, mzf.HoleMZLadeAdresse(), D::MZ700);
        const QString gesucht = QString::fromUtf8(text);
        EXPECT_TRUE(std::any_of(liste.zeilen.begin(), liste.zeilen.end(),
                                [&](const QString& z) { return z.contains(gesucht); }))
            << datei << ": " << text;
    }
}

TEST_F(BasicListeTest, GebauteProgrammeJedesDialekts) {
    for (const TFall& fall : {MZ700Fall(), MZ800Fall(), MZ80KFall(), MZ80AFall()}) {
        SCOPED_TRACE(fall.name);
        const TBasicListe liste = ListeBasic(Bytes(fall.rumpf), fall.ladeAdresse, fall.dialekt);
        ASSERT_TRUE(liste.gueltig) << BasicFehlerText(liste, fall.ladeAdresse).toStdString();
        EXPECT_EQ(Text(liste.zeilen), Text(fall.erwartet));
        EXPECT_EQ(liste.unbekannte, fall.unbekannte);
        EXPECT_EQ(liste.verweise, fall.verweise);
        // Bytes after the end mark are not part of the program.
        const TBasicListe mitRest =
            ListeBasic(Bytes(fall.rumpf + Hex("ffff0d00")), fall.ladeAdresse, fall.dialekt);
        EXPECT_EQ(mitRest.zeilen, fall.erwartet);
    }
}

TEST_F(BasicListeTest, SA5510LinksZaehlenNicht) {
    // The interpreter rebuilds the links after loading; a file saved elsewhere lists the same.
    TFall fall = MZ80AFall();
    fall.rumpf[0] = '\x34';
    fall.rumpf[1] = '\x12';
    const TBasicListe liste = ListeBasic(Bytes(fall.rumpf), 0x505C, D::MZ80A);
    ASSERT_TRUE(liste.gueltig);
    EXPECT_EQ(liste.zeilen, fall.erwartet);
}

TEST_F(BasicListeTest, DialektAusDerDatei) {
    const QByteArray mz700MitJoy = SBasic({{10, Hex("41f4ff9e2801"
                                                    "29")}});
    const struct {
        const char* name;
        std::uint8_t attribut;
        std::uint16_t ladeAdresse;
        QByteArray rumpf;
        D erwartet;
    } faelle[] = {
        {"MZ-700 at its text start", 0x05, 0x6BCF, MZ700Fall().rumpf, D::MZ700},
        {"MZ-800 tokens elsewhere", 0x05, 0x7000, MZ800Fall().rumpf, D::MZ800},
        {"MZ-800 tokens at 0x6BCF run MZ-700 BASIC", 0x05, 0x6BCF, MZ800Fall().rumpf, D::MZ700},
        {"MZ-700 only token JOY", 0x05, 0x7000, mz700MitJoy, D::MZ700},
        {"SP-5025", 0x02, 0x4806, MZ80KFall().rumpf, D::MZ80K},
        {"SA-5510 at 0x505C", 0x02, 0x505C, MZ80AFall().rumpf, D::MZ80A},
        {"SA-5510 statement first", 0x02, 0x4806, MZ80AFall().rumpf, D::MZ80A},
        {"terminators over attribute 0x02", 0x02, 0x6BCF, MZ700Fall().rumpf, D::MZ700},
        {"terminators over attribute 0x05", 0x05, 0x4806, MZ80KFall().rumpf, D::MZ80K},
        {"machine-code attribute", 0x01, 0x4806, MZ80KFall().rumpf, D::MZ80K},
        {"nothing fits: the attribute's guess", 0x02, 0x4806, Hex("05000a0030"), D::MZ80K},
        {"nothing fits, a link in the first word", 0x02, 0x4806, Hex("0102030405"), D::MZ80A},
        {"nothing fits, S-BASIC attribute", 0x05, 0x6BCF, Hex("01"), D::MZ700},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(ErkenneBasicDialekt(Bytes(f.rumpf), f.attribut, f.ladeAdresse), f.erwartet) << f.name;
}

TEST_F(BasicListeTest, KeinStimmigesProgrammWirdAbgelehnt) {
    using A = TBasicFehler::TArt;
    const QByteArray zeile10 = Zeile(10, Hex("8f"), '\0');
    QByteArray langeFalsch = SBasic({{10, Hex("8f")}});
    langeFalsch[0] = 7;
    QByteArray langeRiesig = SBasic({{10, Hex("8f")}});
    langeRiesig[0] = '\xFF';
    langeRiesig[1] = '\xFF';
    const struct {
        const char* name;
        D dialekt;
        QByteArray rumpf;
        A art;
        int offset;
        int nummer;
        int wert;
    } faelle[] = {
        {"empty body", D::MZ700, QByteArray(), A::KeinEnde, 0, 0, 0},
        {"one byte", D::MZ80K, Hex("00"), A::KeinEnde, 0, 0, 0},
        {"no end mark", D::MZ700, zeile10, A::KeinEnde, 6, 0, 0},
        {"half an end mark", D::MZ700, zeile10 + Hex("00"), A::KeinEnde, 6, 0, 0},
        {"length word one too large", D::MZ700, langeFalsch, A::LaengeFalsch, 0, 10, 7},
        {"length 0xFFFF", D::MZ700, langeRiesig, A::LaengeFalsch, 0, 10, 0xFFFF},
        {"no terminator", D::MZ700, Hex("06000a008f8f"), A::ZeileUeberEnde, 0, 10, 0},
        {"line head cut", D::MZ700, Hex("06000a"), A::ZeileUeberEnde, 0, 0, 0},
        {"float cut by the end", D::MZ700, Hex("0b000a00158100"), A::ZeileUeberEnde, 0, 10, 0},
        {"line number cut by the end", D::MZ800, Hex("08000a000b"), A::ZeileUeberEnde, 0, 10, 0},
        {"prefix at the end", D::MZ700, Hex("07000a00fe"), A::ZeileUeberEnde, 0, 10, 0},
        {"numbers going down", D::MZ700, SBasic({{20, Hex("8f")}, {10, Hex("8f")}}), A::Reihenfolge, 6, 10,
         20},
        {"number twice", D::MZ80K, SP5025({{5, Hex("85")}, {5, Hex("85")}}), A::Reihenfolge, 6, 5, 5},
        {"MZ-700 body as SP-5025", D::MZ80K, SBasic({{10, Hex("8f20")}}), A::ZeileUeberEnde, 0, 10, 0},
        {"SP-5025 length wrong", D::MZ80K, Hex("08000a00853031320d0000"), A::LaengeFalsch, 0, 10, 8},
        {"SA-5510 without terminator", D::MZ80A, Hex("5c500a008088"), A::ZeileUeberEnde, 0, 10, 0},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        const TBasicListe liste = ListeBasic(Bytes(f.rumpf), 0x1200, f.dialekt);
        EXPECT_FALSE(liste.gueltig);
        EXPECT_TRUE(liste.zeilen.isEmpty());
        EXPECT_EQ(liste.fehler.art, f.art);
        EXPECT_EQ(liste.fehler.offset, f.offset);
        EXPECT_EQ(liste.fehler.zeilenNummer, f.nummer);
        if (f.art == A::LaengeFalsch || f.art == A::Reihenfolge) {
            EXPECT_EQ(liste.fehler.wert, f.wert);
        }
        EXPECT_FALSE(BasicFehlerText(liste, 0x1200).isEmpty());
    }
}

TEST_F(BasicListeTest, AblehnungSagtWarumInBeidenSprachen) {
    QByteArray rumpf = SBasic({{10, Hex("8f")}, {20, Hex("8f")}});
    rumpf[6] = 9;
    const TBasicListe liste = ListeBasic(Bytes(rumpf), 0x6BCF, D::MZ700);
    EXPECT_EQ(
        BasicFehlerText(liste, 0x6BCF),
        QStringLiteral("The body is not a program in MZ-700 S-BASIC 1Z-013B: line 20 at $6BD5 does not end "
                       "where its length 9 says."));
    WaehleSpracheOhneSpeichern(false);
    EXPECT_EQ(BasicFehlerText(liste, 0x6BCF),
              QStringLiteral(
                  "Der Rumpf ist kein Programm in MZ-700 S-BASIC 1Z-013B: Zeile 20 bei $6BD5 endet nicht "
                  "dort, wo ihre Länge 9 es angibt."));
    const TBasicListe leer = ListeBasic({}, 0x4806, D::MZ80K);
    EXPECT_EQ(
        BasicFehlerText(leer, 0x4806),
        QStringLiteral("Der Rumpf ist kein Programm in MZ-80K BASIC SP-5025: bei $4806 fehlt die Endemarke "
                       "$0000."));
    EXPECT_TRUE(BasicFehlerText(ListeBasic(Bytes(SBasic({})), 0, D::MZ700), 0).isEmpty());
}

TEST_F(BasicListeTest, KurznamenDerDialekte) {
    const std::pair<const char*, D> namen[] = {
        {"mz700", D::MZ700}, {"MZ800", D::MZ800}, {"Mz80K", D::MZ80K}, {"mz80a", D::MZ80A}};
    for (const auto& [name, dialekt] : namen) {
        EXPECT_EQ(BasicDialektAusKurzname(QLatin1String(name)), dialekt) << name;
        EXPECT_EQ(BasicDialektKurzname(dialekt), QString::fromLatin1(name).toLower());
    }
    EXPECT_FALSE(BasicDialektAusKurzname(QStringLiteral("mz-700")));
    EXPECT_FALSE(BasicDialektAusKurzname(QString()));
}

// Whatever the bytes, the lister ends, reads nothing outside the body and lists only what it
// could read whole.
TEST_F(BasicListeTest, BeliebigeBytesEndenSauber) {
    std::mt19937 zufall(4711);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> laenge(0, 200);
    for (int runde = 0; runde < 2000; ++runde) {
        QByteArray rumpf(laenge(zufall), '\0');
        for (char& b : rumpf)
            b = static_cast<char>(byte(zufall));
        // Every fourth body gets a sane first line head, so that the walk gets further.
        if (runde % 4 == 0 && rumpf.size() > 4) {
            rumpf[0] = static_cast<char>(std::min<int>(rumpf.size(), 40));
            rumpf[1] = 0;
        }
        for (int d = 0; d < AnzahlBasicDialekte; ++d) {
            const TBasicListe liste = ListeBasic(Bytes(rumpf), 0x6BCF, static_cast<D>(d));
            EXPECT_LE(liste.zeilen.size(), rumpf.size() / 5);
            if (!liste.gueltig) {
                EXPECT_FALSE(BasicFehlerText(liste, 0x6BCF).isEmpty());
            }
        }
    }
}

} // namespace
