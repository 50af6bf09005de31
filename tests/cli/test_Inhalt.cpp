// dump --basic and dump --z80: the listings on the command line, their options and usage errors.
#include "CliLauf.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {
const QString GnuBlat = QStringLiteral("psychotimmy-Sharp-MZ-700/GNU BLAT 2000.mzf");
const QString TestHalt = QStringLiteral("gunterhager-mz-800-emulator/TestHalt.mzf");

class InhaltCli : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        SchreibeSprache(true);
    }
    // A machine-code program at $1200: LD A,$05 / CALL $1200 / RET.
    static QString Programm() {
        return SchreibeTestDatei(ProgrammMZF("CODE", QByteArray::fromHex("3E05CD0012C9")));
    }
    TPlattformSkript plattform;
};

TEST_F(InhaltCli, BasicListing) {
    const TCliLauf l = StarteCli({QStringLiteral("dump"), QStringLiteral("--basic"), KorpusPfad(GnuBlat)});
    ASSERT_EQ(l.status, 0) << l.fehler.toStdString();
    EXPECT_TRUE(l.fehler.isEmpty());
    EXPECT_TRUE(l.aus.startsWith(QStringLiteral("10 REM*********************************\n")));
    EXPECT_TRUE(l.aus.contains(QStringLiteral("\n80 REM* have donated \u00A3335 so far!     *\n")));
    EXPECT_TRUE(l.aus.contains(QStringLiteral("\n170 GOSUB 2000:GOSUB 2700\n")));
    EXPECT_TRUE(l.aus.endsWith(QLatin1Char('\n')));
    EXPECT_FALSE(l.aus.contains(QLatin1Char('\r')));
    EXPECT_EQ(l.aus.count(QLatin1Char('\n')), 363);

    // The dialect by hand, in any case: the MZ-800 reads the same layout.
    const TCliLauf mz800 =
        StarteCli({QStringLiteral("dump"), QStringLiteral("--basic"), QStringLiteral("--dialect"),
                   QStringLiteral("MZ800"), KorpusPfad(GnuBlat)});
    EXPECT_EQ(mz800.status, 0);
    EXPECT_EQ(mz800.aus.count(QLatin1Char('\n')), 363);
    const TCliLauf mz700 = StarteCli({QStringLiteral("dump"), QStringLiteral("--basic"),
                                      QStringLiteral("--dialect=mz700"), KorpusPfad(GnuBlat)});
    EXPECT_EQ(mz700.aus, l.aus);
}

TEST_F(InhaltCli, KeinProgrammDesDialektsWirdAbgelehnt) {
    for (const char* dialekt : {"mz80k", "mz80a"}) {
        const TCliLauf l =
            StarteCli({QStringLiteral("dump"), QStringLiteral("--basic"), QStringLiteral("--dialect"),
                       QLatin1String(dialekt), KorpusPfad(GnuBlat)});
        EXPECT_EQ(l.status, 1) << dialekt;
        EXPECT_TRUE(l.aus.isEmpty());
        EXPECT_TRUE(l.fehler.startsWith(QStringLiteral("bandwerk-cli: The body is not a program in MZ-80")))
            << l.fehler.toStdString();
        EXPECT_EQ(l.fehler.count(QLatin1Char('\n')), 1);
    }
    // A machine-code program is no BASIC program either; in German the message is German.
    const TCliLauf l = StarteCli({QStringLiteral("--lang"), QStringLiteral("de"), QStringLiteral("dump"),
                                  QStringLiteral("--basic"), Programm()});
    EXPECT_EQ(l.status, 1);
    EXPECT_TRUE(l.fehler.startsWith(QStringLiteral("bandwerk-cli: Der Rumpf ist kein Programm in ")))
        << l.fehler.toStdString();
}

TEST_F(InhaltCli, Z80Disassembly) {
    TCliLauf l = StarteCli({QStringLiteral("dump"), QStringLiteral("--z80"), Programm()});
    ASSERT_EQ(l.status, 0) << l.fehler.toStdString();
    EXPECT_EQ(l.aus, QStringLiteral("1200  3E 05        START:  LD   A,$05\n"
                                    "1202  CD 00 12             CALL START\n"
                                    "1205  C9                   RET\n"));
    // The offset in decimal or hexadecimal; the bytes before it are data.
    const QString mitOffset = QStringLiteral("1200  3E 05                DEFB $3E,$05  ; START $1200\n"
                                             "1202  CD 00 12             CALL $1200\n"
                                             "1205  C9                   RET\n");
    for (const char* offset : {"2", "$2", "0x2", "0X02"}) {
        l = StarteCli({QStringLiteral("dump"), QStringLiteral("--z80"), QStringLiteral("--offset"),
                       QLatin1String(offset), Programm()});
        EXPECT_EQ(l.status, 0) << offset;
        EXPECT_EQ(l.aus, mitOffset) << offset;
    }
    l = StarteCli(
        {QStringLiteral("dump"), QStringLiteral("--z80"), QStringLiteral("--offset=6"), Programm()});
    EXPECT_EQ(l.status, 0);
    EXPECT_EQ(l.aus.count(QLatin1Char('\n')), 2);
}

TEST_F(InhaltCli, JedeZeileBeginntMitDerAdresse) {
    const TCliLauf l = StarteCli({QStringLiteral("dump"), QStringLiteral("--z80"),
                                  KorpusPfad(QStringLiteral("gunterhager-mz800-emuz/TestPalette.mzf"))});
    ASSERT_EQ(l.status, 0);
    const QStringList zeilen = l.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_GT(zeilen.size(), 100);
    const QRegularExpression adresse(QStringLiteral("^[0-9A-F]{4}  "));
    for (const QString& zeile : zeilen)
        EXPECT_TRUE(adresse.match(zeile).hasMatch()) << zeile.toStdString();
    EXPECT_TRUE(zeilen.first().startsWith(QStringLiteral("2000  ")));
}

TEST_F(InhaltCli, AufnahmeWieDatei) {
    // A recording gives the listing of the file it holds.
    const QString wav = KorpusPfad(QStringLiteral("gunterhager-mz-800-emulator/TestHalt.wav"));
    const TCliLauf ausAufnahme = StarteCli({QStringLiteral("dump"), QStringLiteral("--z80"), wav});
    const TCliLauf ausDatei =
        StarteCli({QStringLiteral("dump"), QStringLiteral("--z80"), KorpusPfad(TestHalt)});
    EXPECT_EQ(ausAufnahme.status, 0) << ausAufnahme.fehler.toStdString();
    EXPECT_EQ(ausDatei.aus, QStringLiteral("2000  76           START:  HALT\n"));
    EXPECT_EQ(ausAufnahme.aus, ausDatei.aus);
}

TEST_F(InhaltCli, OptionenDieNichtPassenSindAufruffehler) {
    const QString f = Programm();
    const QStringList falsch[] = {
        {QStringLiteral("info"), QStringLiteral("--basic"), f},
        {QStringLiteral("list"), QStringLiteral("--z80"), f},
        {QStringLiteral("convert"), QStringLiteral("--z80"), f, QStringLiteral("x.mzt")},
        {QStringLiteral("dump"), QStringLiteral("--basic"), QStringLiteral("--z80"), f},
        {QStringLiteral("dump"), QStringLiteral("--dialect"), QStringLiteral("mz700"), f},
        {QStringLiteral("dump"), QStringLiteral("--z80"), QStringLiteral("--dialect"),
         QStringLiteral("mz700"), f},
        {QStringLiteral("dump"), QStringLiteral("--offset"), QStringLiteral("1"), f},
        {QStringLiteral("dump"), QStringLiteral("--basic"), QStringLiteral("--offset"), QStringLiteral("1"),
         f},
        {QStringLiteral("dump"), QStringLiteral("--basic"), QStringLiteral("--dialect"),
         QStringLiteral("zx81"), f},
        {QStringLiteral("dump"), QStringLiteral("--basic"), QStringLiteral("--dialect"), QString(), f},
        {QStringLiteral("dump"), QStringLiteral("--z80"), QStringLiteral("--offset"), QStringLiteral("-1"),
         f},
        {QStringLiteral("dump"), QStringLiteral("--z80"), QStringLiteral("--offset"), QStringLiteral("65536"),
         f},
        {QStringLiteral("dump"), QStringLiteral("--z80"), QStringLiteral("--offset"), QStringLiteral("1O"),
         f},
        {QStringLiteral("dump"), QStringLiteral("--z80"), QStringLiteral("--offset"), QStringLiteral("$"), f},
        // Each value given is checked, also when a later one is good.
        {QStringLiteral("dump"), QStringLiteral("--z80"), QStringLiteral("--offset"), QStringLiteral("x"),
         QStringLiteral("--offset"), QStringLiteral("1"), f},
        // Beyond the body of 6 bytes.
        {QStringLiteral("dump"), QStringLiteral("--z80"), QStringLiteral("--offset"), QStringLiteral("7"), f},
        {QStringLiteral("dump"), QStringLiteral("--z80"), QStringLiteral("--offset")},
    };
    for (const QStringList& argumente : falsch) {
        const TCliLauf l = StarteCli(argumente);
        EXPECT_EQ(l.status, 2) << argumente.join(' ').toStdString();
        EXPECT_TRUE(l.fehler.contains(QStringLiteral("Usage: bandwerk-cli")))
            << argumente.join(' ').toStdString();
        EXPECT_TRUE(l.aus.isEmpty()) << argumente.join(' ').toStdString();
    }
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
}

TEST_F(InhaltCli, GebrauchNenntDieListings) {
    const TCliLauf l = StarteCli({QStringLiteral("--help")});
    for (const char* wort : {"dump --basic FILE", "dump --z80 FILE", "--dialect NAME", "--offset N", "mz700",
                             "mz800", "mz80k", "mz80a", "SA-5510"})
        EXPECT_TRUE(l.aus.contains(QLatin1String(wort))) << wort;
    for (const QString& zeile : l.aus.split(QLatin1Char('\n')))
        EXPECT_LE(zeile.size(), 100) << zeile.toStdString();
}

} // namespace
