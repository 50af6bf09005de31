#include "CliLauf.h"
#include "Kommandozeile.h"
#include "MZFDatei.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "TestUmgebung.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <gtest/gtest.h>

namespace {
const QString GnuBlat = QStringLiteral("psychotimmy-Sharp-MZ-700/GNU BLAT 2000.mzf");

QByteArray MZFBytes(std::uint8_t attribut, const QByteArray& name17, std::uint16_t groessenFeld,
                    std::uint16_t lade, std::uint16_t start, const QByteArray& kommentar104,
                    const QByteArray& rumpf) {
    QByteArray b;
    b.append(static_cast<char>(attribut)).append(name17);
    b.append(static_cast<char>(groessenFeld & 0xFF)).append(static_cast<char>(groessenFeld >> 8));
    b.append(static_cast<char>(lade & 0xFF)).append(static_cast<char>(lade >> 8));
    b.append(static_cast<char>(start & 0xFF)).append(static_cast<char>(start >> 8));
    b.append(kommentar104).append(rumpf);
    return b;
}

class KommandozeileTest : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        SchreibeSprache(true);
    }
    TPlattformSkript plattform;
};

TEST_F(KommandozeileTest, HilfeUndVersion) {
    TCliLauf l = StarteCli({QStringLiteral("--help")});
    EXPECT_EQ(l.status, 0);
    EXPECT_TRUE(l.aus.startsWith(QStringLiteral("Usage: bandwerk-cli")));
    for (const char* wort : {"info", "dump", "convert", "--lang", "--json", "--version", ".mzf", ".m12"})
        EXPECT_TRUE(l.aus.contains(QLatin1String(wort))) << wort;
    EXPECT_TRUE(l.fehler.isEmpty());

    l = StarteCli({QStringLiteral("info"), QStringLiteral("--help")});
    EXPECT_EQ(l.status, 0);
    EXPECT_TRUE(l.aus.startsWith(QStringLiteral("Usage:")));

    l = StarteCli({QStringLiteral("--version")});
    EXPECT_EQ(l.status, 0);
    EXPECT_EQ(l.aus, QStringLiteral("Bandwerk 2.4\n"));
}

TEST_F(KommandozeileTest, AufruffehlerGebenZweiUndDenGebrauch) {
    const QStringList falsch[] = {
        {},
        {QStringLiteral("frobnicate"), QStringLiteral("x.mzf")},
        {QStringLiteral("info")},
        {QStringLiteral("info"), QStringLiteral("a.mzf"), QStringLiteral("b.mzf")},
        {QStringLiteral("convert"), QStringLiteral("a.mzf")},
        {QStringLiteral("info"), QStringLiteral("--bogus"), QStringLiteral("a.mzf")},
        {QStringLiteral("--lang"), QStringLiteral("fr"), QStringLiteral("info"), QStringLiteral("a.mzf")},
        {QStringLiteral("info"), QStringLiteral("a.mzf"), QStringLiteral("--lang")},
        {QStringLiteral("dump"), QStringLiteral("--json"), QStringLiteral("a.mzf")},
        {QStringLiteral("convert"), QStringLiteral("a.mzf"), QStringLiteral("b.txt")},
        {QStringLiteral("convert"), QStringLiteral("a.bin"), QStringLiteral("b.mzf")},
        {QStringLiteral("convert"), QStringLiteral("a.mzf"), QStringLiteral("mzf")},
    };
    for (const QStringList& argumente : falsch) {
        const TCliLauf l = StarteCli(argumente);
        EXPECT_EQ(l.status, 2) << argumente.join(' ').toStdString();
        EXPECT_TRUE(l.fehler.contains(QStringLiteral("Usage: bandwerk-cli")))
            << argumente.join(' ').toStdString();
        EXPECT_TRUE(l.aus.isEmpty());
    }
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
}

TEST_F(KommandozeileTest, ModellUndDekodierungGeltenMitJederEingabe) {
    // A script runs one set of options over a folder of mixed files: the decoding options only
    // matter for recordings, and an MZF or MZT file reads as without them.
    const QString mzf = KorpusPfad(GnuBlat);
    const QString mzt = KorpusPfad(QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject/Baryon.mzt"));
    const QStringList befehle[] = {
        {QStringLiteral("info"), mzf},
        {QStringLiteral("info"), QStringLiteral("--json"), mzf},
        {QStringLiteral("dump"), mzf},
        {QStringLiteral("list"), mzf},
        {QStringLiteral("list"), QStringLiteral("--json"), mzt},
    };
    const QStringList optionen[] = {
        {QStringLiteral("--model"), QStringLiteral("MZ-700")},
        {QStringLiteral("--model=mz-80b")},
        {QStringLiteral("--extended")},
        {QStringLiteral("--standard")},
        {QStringLiteral("--model=MZ-800"), QStringLiteral("--extended")},
    };
    for (const QStringList& befehl : befehle) {
        const TCliLauf ohne = StarteCli(befehl);
        ASSERT_EQ(ohne.status, 0) << befehl.join(' ').toStdString();
        for (const QStringList& option : optionen) {
            const QStringList argumente = option + befehl;
            const TCliLauf mit = StarteCli(argumente);
            EXPECT_EQ(mit.status, 0) << argumente.join(' ').toStdString() << "\n" << mit.fehler.toStdString();
            EXPECT_EQ(mit.aus, ohne.aus) << argumente.join(' ').toStdString();
            EXPECT_EQ(mit.fehler, ohne.fehler) << argumente.join(' ').toStdString();
        }
    }
    const QString ordner = TestVerzeichnis();
    const TCliLauf entpackt = StarteCli({QStringLiteral("extract"), QStringLiteral("--model=MZ-80A"),
                                         QStringLiteral("--standard"), mzt, ordner});
    EXPECT_EQ(entpackt.status, 0) << entpackt.fehler.toStdString();
    EXPECT_EQ(DateienIn(ordner), (QStringList{QStringLiteral("BARYON-B.mzf"), QStringLiteral("BARYON-C.mzf"),
                                              QStringLiteral("BARYON.mzf")}));
    const QString kopie = ordner + QStringLiteral("/gnu.mzf");
    EXPECT_EQ(StarteCli({QStringLiteral("convert"), QStringLiteral("--extended"), mzf, kopie}).status, 0);
    EXPECT_EQ(LiesDatei(kopie), LiesDatei(mzf));

    // Options that make no sense for the command stay usage errors.
    const QStringList falsch[] = {
        {QStringLiteral("list"), QStringLiteral("--rate"), QStringLiteral("8000"), mzf},
        {QStringLiteral("list"), QStringLiteral("--model=MZ-700"), QStringLiteral("--short"), mzt},
        {QStringLiteral("dump"), QStringLiteral("--extended"), QStringLiteral("--json"), mzf},
        {QStringLiteral("info"), QStringLiteral("--inverted"), mzf},
        {QStringLiteral("scan"), QStringLiteral("--model=MZ-700"), mzf},
    };
    for (const QStringList& argumente : falsch)
        EXPECT_EQ(StarteCli(argumente).status, ExitAufruf) << argumente.join(' ').toStdString();
}

TEST_F(KommandozeileTest, InfoZeigtDenKopfLesbar) {
    const TCliLauf l = StarteCli(
        {QStringLiteral("info"), QStringLiteral("--lang"), QStringLiteral("en"), KorpusPfad(GnuBlat)});
    ASSERT_EQ(l.status, 0) << l.fehler.toStdString();
    const QStringList zeilen = l.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(zeilen.size(), 6);
    EXPECT_TRUE(
        zeilen[0].startsWith(HoleText(QStringLiteral("FormHaupt_LabelMZDateiAttribut")) + QLatin1Char(':')));
    EXPECT_TRUE(zeilen[0].endsWith(QStringLiteral("$05 (MZ-700/800 BASIC-program)")));
    EXPECT_TRUE(zeilen[1].endsWith(QStringLiteral(" GNU BLAT 2000")));
    EXPECT_TRUE(zeilen[2].endsWith(QStringLiteral(" $2AB8 (10936)")));
    EXPECT_TRUE(zeilen[3].startsWith(QStringLiteral("MZ-load-address:")));
    // The values line up in one column.
    const qsizetype spalte = zeilen[1].indexOf(QStringLiteral("GNU"));
    for (const QString& z : zeilen)
        EXPECT_NE(z[spalte - 1], QChar()) << z.toStdString();
    EXPECT_EQ(zeilen[2].indexOf(QLatin1Char('$')), spalte);
}

TEST_F(KommandozeileTest, InfoJsonStimmtMitDenKopfbytesJederKorpusdatei) {
    QDirIterator it(QStringLiteral(BANDWERK_KORPUS), {QStringLiteral("*.mzf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    int anzahl = 0;
    while (it.hasNext()) {
        const QString pfad = it.next();
        const TCliLauf l = StarteCli({QStringLiteral("info"), QStringLiteral("--json"), pfad});
        ASSERT_EQ(l.status, 0) << pfad.toStdString();
        ASSERT_TRUE(l.aus.endsWith(QLatin1Char('\n')));
        ASSERT_EQ(l.aus.count(QLatin1Char('\n')), 1);
        QJsonParseError fehler{};
        const QJsonDocument doc = QJsonDocument::fromJson(l.aus.toUtf8(), &fehler);
        ASSERT_EQ(fehler.error, QJsonParseError::NoError) << pfad.toStdString();
        const QJsonObject o = doc.object();
        EXPECT_EQ(o.keys(),
                  (QStringList{"attribute", "attributeText", "comment", "load", "name", "size", "start"}));

        const QByteArray b = LiesDatei(pfad);
        const int attribut = static_cast<std::uint8_t>(b[0]);
        EXPECT_EQ(o[QStringLiteral("attribute")].toInt(-1), attribut);
        EXPECT_EQ(o[QStringLiteral("attributeText")].toString(),
                  TMZFDatei::HoleMZDateiAttributText(static_cast<std::uint8_t>(attribut)));
        EXPECT_EQ(o[QStringLiteral("size")].toInt(-1), b.size() - 128);
        EXPECT_EQ(o[QStringLiteral("load")].toInt(-1), Le16(b, 20));
        EXPECT_EQ(o[QStringLiteral("start")].toInt(-1), Le16(b, 22));
        TMZFDatei datei;
        ASSERT_TRUE(datei.Laden(pfad));
        EXPECT_EQ(o[QStringLiteral("name")].toString(), datei.HoleMZDateiName());
        EXPECT_EQ(o[QStringLiteral("comment")].toString(), datei.HoleMZKommentar());
        // A plain ASCII name reads back as the bytes up to the terminator.
        const QByteArray nameBytes = b.mid(1, 16);
        const QByteArray bisEnde =
            nameBytes.left(nameBytes.indexOf('\x0D') < 0 ? 16 : nameBytes.indexOf('\x0D'));
        bool ascii = true;
        for (char c : bisEnde)
            ascii = ascii && c >= 0x20 && c <= 0x5D;
        if (ascii) {
            EXPECT_EQ(o[QStringLiteral("name")].toString(), QString::fromLatin1(bisEnde));
        }
        ++anzahl;
    }
    EXPECT_GE(anzahl, 20);
    EXPECT_TRUE(plattform.nachrichten.isEmpty());

    const TCliLauf l = StarteCli(
        {QStringLiteral("--lang=en"), QStringLiteral("info"), QStringLiteral("--json"), KorpusPfad(GnuBlat)});
    const QJsonObject o = QJsonDocument::fromJson(l.aus.toUtf8()).object();
    EXPECT_EQ(o[QStringLiteral("name")].toString(), QStringLiteral("GNU BLAT 2000"));
    EXPECT_EQ(o[QStringLiteral("attributeText")].toString(), QStringLiteral("MZ-700/800 BASIC-program"));
    EXPECT_EQ(o[QStringLiteral("size")].toInt(), 10936);
}

TEST_F(KommandozeileTest, InfoJsonMitZeichenOhneEntsprechung) {
    const QString pfad = TestVerzeichnis() + QStringLiteral("/sonder.mzf");
    SchreibeDatei(pfad, MZFBytes(0x00, QByteArray("A\"\x01\xA1\x0D") + QByteArray(12, '\x0D'), 0, 0xFFFF, 0,
                                 QByteArray("\xAE\x0D") + QByteArray(102, '\x0D'), "xyz"));
    const TCliLauf l = StarteCli({QStringLiteral("info"), QStringLiteral("--json"), pfad});
    ASSERT_EQ(l.status, 0);
    const QJsonObject o = QJsonDocument::fromJson(l.aus.toUtf8()).object();
    EXPECT_EQ(o[QStringLiteral("name")].toString(), QStringLiteral("A\"?a"));
    EXPECT_EQ(o[QStringLiteral("comment")].toString(), QString(QChar(0xDF)));
    EXPECT_EQ(o[QStringLiteral("attributeText")].toString(), QStringLiteral("Unknown"));
    EXPECT_EQ(o[QStringLiteral("load")].toInt(), 65535);
    EXPECT_EQ(o[QStringLiteral("size")].toInt(), 3);
}

TEST_F(KommandozeileTest, DumpIstDieRumpfansichtMitZeilenvorschub) {
    const TCliLauf l = StarteCli({QStringLiteral("dump"), KorpusPfad(GnuBlat)});
    ASSERT_EQ(l.status, 0);
    TMZFDatei datei;
    ASSERT_TRUE(datei.Laden(KorpusPfad(GnuBlat)));
    QString erwartet = datei.HoleMZDateiRumpfText();
    erwartet.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(l.aus, erwartet + QLatin1Char('\n'));
    EXPECT_FALSE(l.aus.contains(QLatin1Char('\r')));
    EXPECT_EQ(l.aus.count(QLatin1Char('\n')), 1367); // 10936 bytes = 1367 lines of 8
    EXPECT_TRUE(l.aus.startsWith(QStringLiteral("$6BCF  $")));

    const QString leer = TestVerzeichnis() + QStringLiteral("/leer.mzf");
    SchreibeDatei(leer, QByteArray(128, '\x0D'));
    const TCliLauf ohneRumpf = StarteCli({QStringLiteral("dump"), leer});
    EXPECT_EQ(ohneRumpf.status, 0);
    EXPECT_TRUE(ohneRumpf.aus.isEmpty());
}

TEST_F(KommandozeileTest, FehlerDerDateioperationenGebenEins) {
    const QString fehlt = TestVerzeichnis() + QStringLiteral("/fehlt.mzf");
    for (const QString& befehl : {QStringLiteral("info"), QStringLiteral("dump")}) {
        plattform.Leeren();
        const TCliLauf l = StarteCli({befehl, QStringLiteral("--lang"), QStringLiteral("en"), fehlt});
        EXPECT_EQ(l.status, 1);
        EXPECT_TRUE(l.aus.isEmpty());
        ASSERT_EQ(plattform.Fehler().size(), 1);
        EXPECT_TRUE(plattform.Fehler().first().startsWith(
            HoleTextMitParametern(QStringLiteral("Fehler_DateiLesen"), fehlt, QString())));
        EXPECT_TRUE(
            plattform.Fehler().first().startsWith(QStringLiteral("Error reading the file %1!").arg(fehlt)));
    }
    const QString kurz = TestVerzeichnis() + QStringLiteral("/kurz.MZF");
    SchreibeDatei(kurz, QByteArray(100, 'x'));
    plattform.Leeren();
    EXPECT_EQ(StarteCli({QStringLiteral("info"), kurz}).status, 1);
    EXPECT_EQ(plattform.Fehler(),
              QStringList{HoleTextMitParametern(QStringLiteral("Fehler_DateiBeschaedigt"), kurz)});

    plattform.Leeren();
    const QString ziel = TestVerzeichnis() + QStringLiteral("/fehlt/b.mzf");
    EXPECT_EQ(StarteCli({QStringLiteral("convert"), KorpusPfad(GnuBlat), ziel}).status, 1);
    ASSERT_EQ(plattform.Fehler().size(), 1);
    EXPECT_TRUE(plattform.Fehler().first().startsWith(
        HoleTextMitParametern(QStringLiteral("Fehler_DateiSchreiben"), ziel, QString())));
}

TEST_F(KommandozeileTest, SpracheAusOptionOderEinstellungOhneSieZuSchreiben) {
    const QString fehlt = TestVerzeichnis() + QStringLiteral("/fehlt.mzf");
    SchreibeSprache(true);
    StarteCli({QStringLiteral("info"), QStringLiteral("--lang"), QStringLiteral("de"), fehlt});
    ASSERT_EQ(plattform.Fehler().size(), 1);
    EXPECT_TRUE(plattform.Fehler().first().startsWith(QString::fromUtf8("Fehler beim Lesen der Datei ")));
    EXPECT_TRUE(LiesSprache()) << "the stored language stays English";

    SchreibeSprache(false);
    plattform.Leeren();
    StarteCli({QStringLiteral("info"), fehlt});
    ASSERT_EQ(plattform.Fehler().size(), 1);
    EXPECT_TRUE(plattform.Fehler().first().startsWith(QString::fromUtf8("Fehler beim Lesen der Datei ")));

    plattform.Leeren();
    StarteCli({QStringLiteral("--lang=EN"), QStringLiteral("info"), fehlt});
    EXPECT_TRUE(plattform.Fehler().first().startsWith(QStringLiteral("Error reading the file ")));
    EXPECT_FALSE(LiesSprache()) << "the stored language stays German";

    // Nothing at all is written to the store.
    EinstellungenLeeren();
    StarteCli({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("info"), KorpusPfad(GnuBlat)});
    StarteCli({QStringLiteral("convert"), KorpusPfad(GnuBlat), TestVerzeichnis() + QStringLiteral("/x.mzf")});
    QSettings speicher(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Feldmark"),
                       QStringLiteral("Bandwerk"));
    EXPECT_TRUE(speicher.allKeys().isEmpty()) << speicher.allKeys().join(' ').toStdString();
}

TEST_F(KommandozeileTest, ConvertMZFNachMZFNormalisiert) {
    const QByteArray rumpf = QByteArray("\x01\x02\x03\x04\x05", 5);
    const QByteArray kopfName = QByteArray("NORM\x0D") + QByteArray(12, '\x20');
    const QByteArray kommentar = QByteArray(104, '\x41');
    const QByteArray ohnePraefix = MZFBytes(0x01, kopfName, 0x1000, 0x1200, 0x1234, kommentar, rumpf);
    const QString verzeichnis = TestVerzeichnis();
    const QString ein = verzeichnis + QStringLiteral("/a.mzf");
    SchreibeDatei(ein, QByteArray("MZF1") + ohnePraefix);
    const QString aus = verzeichnis + QStringLiteral("/b.M12");
    const TCliLauf l = StarteCli({QStringLiteral("convert"), ein, aus});
    ASSERT_EQ(l.status, 0) << l.fehler.toStdString();
    EXPECT_TRUE(l.aus.isEmpty());
    const QByteArray geschrieben = LiesDatei(aus);
    ASSERT_EQ(geschrieben.size(), 128 + 5);
    EXPECT_EQ(Le16(geschrieben, 18), 5);
    EXPECT_EQ(geschrieben.left(18), ohnePraefix.left(18));
    EXPECT_EQ(geschrieben.mid(20, 108), ohnePraefix.mid(20, 108));
    EXPECT_EQ(geschrieben.mid(128), rumpf);

    // Every corpus file converts to itself (their size fields already match).
    const QString ziel = verzeichnis + QStringLiteral("/gnu.mzf");
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), KorpusPfad(GnuBlat), ziel}).status, 0);
    EXPECT_EQ(LiesDatei(ziel), LiesDatei(KorpusPfad(GnuBlat)));
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
}

#ifdef BANDWERK_CLI_PFAD
TEST_F(KommandozeileTest, DasProgrammSelbst) {
    QProcess p;
    p.start(QStringLiteral(BANDWERK_CLI_PFAD),
            {QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("info"), QStringLiteral("--json"),
             KorpusPfad(GnuBlat)});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    EXPECT_EQ(o[QStringLiteral("load")].toInt(), 0x6BCF);
    EXPECT_EQ(o[QStringLiteral("name")].toString(), QStringLiteral("GNU BLAT 2000"));

    const QString fehlt = TestVerzeichnis() + QStringLiteral("/fehlt.mzf");
    p.start(QStringLiteral(BANDWERK_CLI_PFAD),
            {QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("dump"), fehlt});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(
        QString::fromUtf8(p.readAllStandardError())
            .startsWith(QStringLiteral("Error reading the file %1!\n\nError-description: ").arg(fehlt)));

    // The character column leaves as UTF-8.
    const QString sz = TestVerzeichnis() + QStringLiteral("/sz.mzf");
    SchreibeDatei(sz, MZFBytes(1, QByteArray(17, '\x0D'), 1, 0x1200, 0, QByteArray(104, '\x0D'), "\xAE"));
    p.start(QStringLiteral(BANDWERK_CLI_PFAD), {QStringLiteral("dump"), sz});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardOutput(),
              QByteArray("$1200  $AE ") + QByteArray(28, ' ') + " \xC3\x9F" + QByteArray(7, ' ') + "\n");

    p.start(QStringLiteral(BANDWERK_CLI_PFAD), {QStringLiteral("nonsense")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardError().contains("Usage: bandwerk-cli"));
}
#endif
} // namespace
