// bandwerk-cli as a careless or hostile user meets it: files that cannot be written completely,
// interrupts, targets that are no files, garbage and long inputs, and the conventions of the
// command line. Most cases run the program itself, since they concern the process.
#include "CliLauf.h"
#include "DateiPfad.h"
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

namespace {

const QString Cli = QStringLiteral(BANDWERK_CLI_PFAD);
const QString Baryon = QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject/Baryon.mzt");

struct TLauf {
    int status = -1; // exit status, or 128 + signal
    QByteArray aus;
    QByteArray fehler;
};

class Robustheit : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        ordner = TestVerzeichnis();
        heim = TestVerzeichnis(); // the program's own empty settings store
    }
    void TearDown() override { EinstellungenLeeren(); }
    QString Pfad(const char* name) const { return QDir(ordner).filePath(QLatin1String(name)); }

    // Runs a bash script with the program's path in $CLI and the arguments in $1, $2, ...
    TLauf Bash(const QString& skript, const QStringList& argumente = {}, int warteMs = 120000) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), heim);
        env.insert(QStringLiteral("CLI"), Cli);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("bash"),
                QStringList{QStringLiteral("-c"), skript, QStringLiteral("bash")} + argumente);
        EXPECT_TRUE(p.waitForFinished(warteMs));
        TLauf l;
        l.status = p.exitStatus() == QProcess::CrashExit ? 128 : p.exitCode();
        l.aus = p.readAllStandardOutput();
        l.fehler = p.readAllStandardError();
        return l;
    }

    // The largest MZ file, as an MZF file in the test folder.
    QString GrossesMZF(const char* name = "gross.mzf", int anfang = 0) {
        const QString pfad = Pfad(name);
        SchreibeDatei(pfad, ProgrammMZF("GROSS", RumpfMitBytes(65535, anfang)));
        return pfad;
    }

    TPlattformSkript skript;
    QString ordner;
    QString heim;
};

TEST_F(Robustheit, EinScheiterndesSchreibenLaesstDasAlteZielStehen) {
    const QString mzf = GrossesMZF();
    for (const char* ziel : {"alt.wav", "alt.mzt", "alt.mzf"}) {
        const QString pfad = Pfad(ziel);
        const QByteArray alt = QByteArray("an older file, left as it is ") + ziel;
        SchreibeDatei(pfad, alt);
        // 8 KiB of file size for the process: every export of the largest file passes it.
        const TLauf l =
            Bash(QStringLiteral("ulimit -f 8; trap '' XFSZ; exec \"$CLI\" --lang en convert \"$1\" \"$2\" "
                                "--model MZ-700 $3"),
                 {mzf, pfad, QLatin1String(QByteArray(ziel).endsWith("wav") ? "--rate=45000" : "")});
        EXPECT_EQ(l.status, 1) << ziel;
        EXPECT_TRUE(l.fehler.contains("Error writing the file " + QFile::encodeName(pfad) + "!"))
            << l.fehler.constData();
        EXPECT_TRUE(l.fehler.contains("File too large")) << l.fehler.constData();
        EXPECT_EQ(LiesDatei(pfad), alt) << ziel;
    }
    EXPECT_EQ(DateienIn(ordner), (QStringList{QStringLiteral("alt.mzf"), QStringLiteral("alt.mzt"),
                                              QStringLiteral("alt.wav"), QStringLiteral("gross.mzf")}));
}

TEST_F(Robustheit, UnterbrechungLaesstDasAlteZielUndKeineHalbeDateiZurueck) {
    const QString mzf = GrossesMZF();
    const QString ziel = Pfad("band.wav");
    const QByteArray alt("RIFF an older recording");
    for (const int signal : {SIGINT, SIGTERM}) {
        SchreibeDatei(ziel, alt);
        bool unterbrochen = false;
        // The export of 41.8 MB takes a moment; the signal comes while its file is being written.
        for (int versuch = 0; versuch < 10 && !unterbrochen; ++versuch) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("HOME"), heim);
            p.setProcessEnvironment(env);
            p.start(Cli, {QStringLiteral("convert"), mzf, ziel, QStringLiteral("--rate=45000"),
                          QStringLiteral("--full"), QStringLiteral("--model=MZ-700")});
            ASSERT_TRUE(p.waitForStarted());
            // Waiting for the process notes its end, which state() alone never learns without an
            // event loop: a program that ends early ends the wait, one that hangs fails the test.
            const QDeadlineTimer frist(30000);
            bool laeuft = true;
            while (laeuft && DateienIn(ordner).size() < 3) {
                ASSERT_FALSE(frist.hasExpired()) << "no temporary file within 30 s";
                laeuft = !p.waitForFinished(1);
            }
            if (laeuft) {
                ::kill(static_cast<pid_t>(p.processId()), signal);
                ASSERT_TRUE(p.waitForFinished(30000));
                unterbrochen = p.exitStatus() == QProcess::CrashExit;
            }
            EXPECT_EQ(LiesDatei(ziel), alt);
            EXPECT_EQ(DateienIn(ordner),
                      (QStringList{QStringLiteral("band.wav"), QStringLiteral("gross.mzf")}));
        }
        EXPECT_TRUE(unterbrochen) << "signal " << signal << " never came during the export";
    }
}

TEST_F(Robustheit, InEinemFremdenOrdnerBleibtDieAlteDateiGanz) {
    // A file of the user's own in a folder that takes no new file, and a file size limit that the
    // export passes: the write is refused before anything of the old recording is touched.
    const QByteArray alt("RIFF an older recording, the only copy");
    const QString ziel = GesperrterOrdnerMitDatei(QStringLiteral("band.wav"), alt);
    ASSERT_FALSE(ziel.isEmpty());
    const QString gesperrt = QFileInfo(ziel).path();
    const QString mzf = QFileInfo(gesperrt).path() + QStringLiteral("/gross.mzf");
    SchreibeDatei(mzf, ProgrammMZF("GROSS", RumpfMitBytes(65535)));
    ::chmod(QFile::encodeName(mzf).constData(), 0644);
    const TLauf l =
        Bash(QStringLiteral("ulimit -f 50; trap '' XFSZ; exec %1 \"$CLI\" --lang en convert \"$1\" "
                            "\"$2\" --model MZ-700")
                 .arg(AlsGewoehnlicherBenutzer()),
             {mzf, ziel});
    Entsperre(ziel);
    EXPECT_EQ(l.status, 1) << l.fehler.constData();
    EXPECT_TRUE(l.fehler.contains("Error writing the file " + QFile::encodeName(ziel) + "!"))
        << l.fehler.constData();
    EXPECT_TRUE(l.fehler.contains("Error-description: " + SystemFehlerText(EACCES).toUtf8()))
        << l.fehler.constData();
    EXPECT_EQ(LiesDatei(ziel), alt);
    EXPECT_EQ(DateienIn(gesperrt), QStringList{QStringLiteral("band.wav")});
}

TEST_F(Robustheit, ZweiUmwandlungenAufEinZielGebenEineGanzeDatei) {
    const QString a = GrossesMZF("a.mzf", 0);
    const QString b = GrossesMZF("b.mzf", 77);
    const QString ziel = Pfad("ziel.mzt");
    // What each alone writes.
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), a, Pfad("nur-a.mzt")}).status, 0);
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), b, Pfad("nur-b.mzt")}).status, 0);
    const QByteArray nurA = LiesDatei(Pfad("nur-a.mzt"));
    const QByteArray nurB = LiesDatei(Pfad("nur-b.mzt"));
    for (int runde = 0; runde < 5; ++runde) {
        const TLauf l =
            Bash(QStringLiteral("\"$CLI\" convert \"$1\" \"$3\" & \"$CLI\" convert \"$2\" \"$3\"; s=$?; "
                                "wait $! && exit $s"),
                 {a, b, ziel});
        EXPECT_EQ(l.status, 0) << l.fehler.constData();
        const QByteArray ergebnis = LiesDatei(ziel);
        EXPECT_TRUE(ergebnis == nurA || ergebnis == nurB) << "round " << runde;
    }
    EXPECT_EQ(DateienIn(ordner).size(), 5);
}

TEST_F(Robustheit, ZieleDieKeineDateienSindWerdenNieErsetzt) {
    const QString mzf = GrossesMZF();
    const QString rohr = Pfad("rohr.mzf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(rohr).constData(), 0600), 0);
    const QString zeiger = Pfad("zeiger.mzt");
    ASSERT_TRUE(QFile::link(rohr, zeiger));
    for (const QString& ziel : {rohr, zeiger}) {
        skript.Leeren();
        const TCliLauf l = StarteCli({QStringLiteral("convert"), mzf, ziel});
        EXPECT_EQ(l.status, 1);
        EXPECT_EQ(skript.Fehler(),
                  QStringList(QStringLiteral(
                                  "Error writing the file %1!\r\n\r\nError-description: Not a regular file")
                                  .arg(ziel)));
    }
    struct stat eintrag {};
    ASSERT_EQ(::stat(QFile::encodeName(rohr).constData(), &eintrag), 0);
    EXPECT_TRUE(S_ISFIFO(eintrag.st_mode));
    EXPECT_TRUE(QFileInfo(zeiger).isSymLink());
}

TEST_F(Robustheit, SchrottIstKeineMZDatei) {
    std::mt19937 zufall(1234);
    QByteArray zufallsbytes(250000, '\0');
    for (char& b : zufallsbytes)
        b = static_cast<char>(zufall());
    const QString pfad = Pfad("schrott.mzt");
    for (const QByteArray& inhalt :
         {zufallsbytes, QByteArray(1024 * 1024, '\xFF'),
          LiesDatei(KorpusPfad(QStringLiteral("gunterhager-mz-800-emulator/TestHalt.wav")))}) {
        SchreibeDatei(pfad, inhalt);
        for (const char* befehl : {"list", "info"}) {
            skript.Leeren();
            const TCliLauf l = StarteCli({QLatin1String(befehl), pfad});
            EXPECT_EQ(l.status, 1) << befehl;
            EXPECT_TRUE(l.aus.isEmpty()) << befehl;
            EXPECT_EQ(skript.Fehler(),
                      QStringList(QStringLiteral("The MZT-file %1 contains no valid MZ-file!").arg(pfad)));
        }
    }
}

TEST_F(Robustheit, LangeBandbilderWerdenGanzGelesen) {
    // Four tape images of the largest file, one after the other: 607,824 bytes.
    QByteArray band;
    for (int i = 0; i < 4; ++i) {
        const QString mzf = Pfad("teil.mzf");
        SchreibeDatei(mzf, ProgrammMZF(QByteArray("TEIL") + char('1' + i), RumpfMitBytes(65535, i)));
        ASSERT_EQ(StarteCli({QStringLiteral("convert"), mzf, Pfad("teil.mzt")}).status, 0);
        band += LiesDatei(Pfad("teil.mzt"));
    }
    const QString mzt = Pfad("vier.mzt");
    SchreibeDatei(mzt, band);
    const QString aus = Pfad("aus");
    ASSERT_TRUE(QDir().mkpath(aus));
    const TCliLauf l = StarteCli({QStringLiteral("extract"), mzt, aus});
    EXPECT_EQ(l.status, 0) << l.fehler.toStdString();
    EXPECT_EQ(DateienIn(aus), (QStringList{QStringLiteral("TEIL1.mzf"), QStringLiteral("TEIL2.mzf"),
                                           QStringLiteral("TEIL3.mzf"), QStringLiteral("TEIL4.mzf")}));
    // Through a pipe, which reports no size, the same four.
    const TLauf rohr =
        Bash(QStringLiteral("mkfifo \"$2\" && { cat \"$1\" > \"$2\" & } && exec \"$CLI\" list \"$2\""),
             {mzt, Pfad("rohr.mzt")});
    EXPECT_EQ(rohr.status, 0) << rohr.fehler.constData();
    EXPECT_EQ(rohr.aus.count('\n'), 4);
    EXPECT_TRUE(rohr.aus.startsWith("$01  TEIL1             65535  $1200  $1200\n")) << rohr.aus.constData();
}

TEST_F(Robustheit, WasUebersprungenWurdeWirdGesagtUndDasVollstaendigeGeschrieben) {
    // Baryon.mzt cut inside its last record: two records whole, BARYON-C cut off.
    const QByteArray baryon = LiesDatei(KorpusPfad(Baryon));
    const QString pfad = Pfad("baryon.mzt");
    SchreibeDatei(pfad, baryon.left(baryon.size() - 100));
    const QString aus = Pfad("aus");
    ASSERT_TRUE(QDir().mkpath(aus));
    const TCliLauf l = StarteCli({QStringLiteral("extract"), pfad, aus});
    EXPECT_EQ(l.status, 1);
    EXPECT_EQ(DateienIn(aus), (QStringList{QStringLiteral("BARYON-B.mzf"), QStringLiteral("BARYON.mzf")}));
    EXPECT_EQ(l.fehler,
              QStringLiteral("bandwerk-cli: %1: skipped BARYON-C at byte 29100: the file ends inside it "
                             "(2890 bytes)\n")
                  .arg(pfad));
    const TCliLauf liste = StarteCli({QStringLiteral("list"), QStringLiteral("--json"), pfad});
    EXPECT_EQ(liste.status, 1);
    EXPECT_EQ(QJsonDocument::fromJson(liste.aus.toUtf8()).array().size(), 2);
    EXPECT_TRUE(liste.fehler.contains(QStringLiteral("skipped BARYON-C")));
}

TEST_F(Robustheit, InfoUndDumpNehmenDieEingabeNachIhrerArt) {
    const TCliLauf eine = StarteCli({QStringLiteral("info"), QStringLiteral("--json"),
                                     KorpusPfad(QStringLiteral("yanataka60-MZ80K_SD/FT.MZT"))});
    ASSERT_EQ(eine.status, 0) << eine.fehler.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(eine.aus.toUtf8()).object()[QStringLiteral("size")].toInt(), 93);
    for (const char* befehl : {"info", "dump"}) {
        skript.Leeren();
        const TCliLauf l = StarteCli({QLatin1String(befehl), KorpusPfad(Baryon)});
        EXPECT_EQ(l.status, 1);
        EXPECT_TRUE(l.aus.isEmpty());
        ASSERT_EQ(skript.Fehler().size(), 1);
        for (const char* teil : {"3 MZ files", "BARYON (3409 bytes)", "BARYON-B (25435 bytes)",
                                 "BARYON-C (2862 bytes)", "bandwerk-cli list", "bandwerk-cli extract"})
            EXPECT_TRUE(skript.Fehler()[0].contains(QLatin1String(teil))) << teil;
    }
    const TCliLauf liste = StarteCli({QStringLiteral("list"), KorpusPfad(Baryon)});
    EXPECT_EQ(liste.status, 0);
    EXPECT_EQ(liste.aus, QStringLiteral("$01  BARYON             3409  $1200  $1200\n"
                                        "$01  BARYON-B          25435  $1900  $1202\n"
                                        "$01  BARYON-C           2862  $7900  $1204\n"));
}

TEST_F(Robustheit, JedesVorkommenEinerOptionWirdGeprueft) {
    const QString mzf = GrossesMZF();
    const QStringList falsch[] = {
        {QStringLiteral("convert"), QStringLiteral("--model"), QStringLiteral("MZ-80B"),
         QStringLiteral("--model"), QStringLiteral("bogus"), mzf, Pfad("x.mzt")},
        {QStringLiteral("--lang=en"), QStringLiteral("--lang=fr"), QStringLiteral("info"), mzf},
        {QStringLiteral("convert"), QStringLiteral("--rate=8000"), QStringLiteral("--rate=1"), mzf,
         Pfad("x.wav")},
    };
    for (const QStringList& argumente : falsch) {
        const TCliLauf l = StarteCli(argumente);
        EXPECT_EQ(l.status, 2) << argumente.join(' ').toStdString();
        EXPECT_TRUE(l.fehler.contains(QStringLiteral("Usage: bandwerk-cli")));
    }
    EXPECT_FALSE(QFile::exists(Pfad("x.mzt")));
    // The last of two good values counts; a file named like an option follows "--".
    const QString strich = Pfad("--json.mzf");
    ASSERT_TRUE(QFile::copy(mzf, strich));
    const TCliLauf l =
        StarteCli({QStringLiteral("--lang=de"), QStringLiteral("info"), QStringLiteral("--lang"),
                   QStringLiteral("en"), QStringLiteral("--"), strich});
    EXPECT_EQ(l.status, 0) << l.fehler.toStdString();
    EXPECT_TRUE(l.aus.startsWith(QStringLiteral("MZ-file-attribute:")));
}

TEST_F(Robustheit, DateinamenWieDasSystemSieGibt) {
    const QString mzf = GrossesMZF();
    // The name holds the byte 0xFF, which is no UTF-8; the files are removed again, since the
    // test's own clean-up cannot name them.
    const TLauf l =
        Bash(QStringLiteral("f=\"$(dirname \"$1\")/$(printf 'a\\377b.mzf')\"; cp \"$1\" \"$f\" && "
                            "\"$CLI\" convert \"$f\" \"$f.mzt\" && \"$CLI\" list \"$f.mzt\" && "
                            "ls \"$f\" \"$f.mzt\" | wc -l && rm \"$f\" \"$f.mzt\""),
             {mzf});
    EXPECT_EQ(l.status, 0) << l.fehler.constData();
    EXPECT_EQ(l.aus, "$01  GROSS             65535  $1200  $1200\n2\n");
}

TEST_F(Robustheit, ExtractNenntDiePfadeMitDenBytesDesSystems) {
    // The folder's name holds the byte 0xFF, which is no UTF-8: each printed line must be the
    // name of the file written. The script removes the folder, which the test cannot name.
    const TLauf l = Bash(QStringLiteral("d=\"$1/$(printf 'aus\\377')\"; mkdir \"$d\" && \"$CLI\" extract "
                                        "\"$2\" \"$d\" > \"$1/liste\"; s=$?; while IFS= read -r p; do "
                                        "test -f \"$p\" || s=9; done < \"$1/liste\"; rm -r \"$d\"; exit $s"),
                         {ordner, KorpusPfad(Baryon)});
    EXPECT_EQ(l.status, 0) << l.fehler.constData();
    const QByteArray aus = QFile::encodeName(ordner) + "/aus\xff";
    EXPECT_EQ(LiesDatei(Pfad("liste")),
              aus + "/BARYON.mzf\n" + aus + "/BARYON-B.mzf\n" + aus + "/BARYON-C.mzf\n");
}

TEST_F(Robustheit, SchreibfehlerAufDerStandardausgabe) {
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    const QString mzf = GrossesMZF();
    for (const char* befehl : {"dump", "list", "info"}) {
        QProcess p;
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(Cli, {QLatin1String(befehl), mzf});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 1) << befehl;
        EXPECT_TRUE(
            p.readAllStandardError().contains("bandwerk-cli: error writing the standard output: No space "
                                              "left on device"))
            << befehl;
    }
}

TEST_F(Robustheit, FehlerNachDemFortschrittsbalkenStehtAufEigenerZeile) {
    const QString mzf = GrossesMZF();
    // A terminal for standard error (script), and a file size limit that the export passes.
    const TLauf l =
        Bash(QStringLiteral("script -qec \"ulimit -f 4000; trap '' XFSZ; '$CLI' --lang en convert '$1' "
                            "'$2' --rate=45000\" /dev/null"),
             {mzf, Pfad("band.wav")});
    const qsizetype meldung = l.aus.indexOf("Error writing the file");
    ASSERT_GT(meldung, 0) << l.aus.constData();
    EXPECT_TRUE(l.aus.left(meldung).contains("] ")); // a bar was drawn before
    EXPECT_TRUE(l.aus.at(meldung - 1) == '\r' || l.aus.at(meldung - 1) == '\n')
        << l.aus.left(meldung).right(60).constData();
    EXPECT_FALSE(QFile::exists(Pfad("band.wav")));
}

TEST_F(Robustheit, OhneEinstellungsspeicherGeltenDieVorgaben) {
    EinstellungsSpeicherZerstoeren();
    const TCliLauf l = StarteCli({QStringLiteral("--lang=en"), QStringLiteral("info"), GrossesMZF()});
    EinstellungsSpeicherReparieren();
    EXPECT_EQ(l.status, 0);
    EXPECT_TRUE(l.aus.startsWith(QStringLiteral("MZ-file-attribute:")));
    EXPECT_EQ(
        l.fehler,
        QStringLiteral("bandwerk-cli: warning: %1; using the default settings\n").arg(SpeicherFehlerText()));
    EXPECT_FALSE(l.fehler.contains(QStringLiteral("registry"), Qt::CaseInsensitive));
}

TEST_F(Robustheit, OhneEinstellungsordnerLegtDasProgrammNichtsAn) {
    // The command line only reads the settings: where there are none, it makes no folder for
    // them, neither where XDG_CONFIG_HOME points nor in an empty home.
    const QString mzf = Pfad("klein.mzf");
    SchreibeDatei(mzf, ProgrammMZF("KLEIN", RumpfMitBytes(100)));
    const QString befehle =
        QStringLiteral("\"$CLI\" info \"$1\" > /dev/null && \"$CLI\" convert \"$1\" \"$2\" && \"$CLI\" list "
                       "\"$2\" > /dev/null "
                       "&& \"$CLI\" list --extended \"$2\" > /dev/null && \"$CLI\" convert \"$1\" \"$3\"");
    const QString fehlt = Pfad("fehlt");
    const TLauf mitXdg = Bash(QStringLiteral("export XDG_CONFIG_HOME=\"$4\"; ") + befehle,
                              {mzf, Pfad("a.wav"), Pfad("a.mzt"), fehlt + QStringLiteral("/config")});
    EXPECT_EQ(mitXdg.status, 0) << mitXdg.fehler.constData();
    EXPECT_TRUE(mitXdg.fehler.isEmpty()) << mitXdg.fehler.constData();
    EXPECT_FALSE(QFileInfo::exists(fehlt));
    EXPECT_EQ(DateienIn(ordner),
              (QStringList{QStringLiteral("a.mzt"), QStringLiteral("a.wav"), QStringLiteral("klein.mzf")}));

    const TLauf leeresHeim =
        Bash(QStringLiteral("unset XDG_CONFIG_HOME; ") + befehle, {mzf, Pfad("b.wav"), Pfad("b.mzt")});
    EXPECT_EQ(leeresHeim.status, 0) << leeresHeim.fehler.constData();
    EXPECT_TRUE(leeresHeim.fehler.isEmpty()) << leeresHeim.fehler.constData();
    EXPECT_TRUE(DateienIn(heim).isEmpty()) << DateienIn(heim).join(' ').toStdString();
}

TEST_F(Robustheit, GespeicherteSampleRateAusserhalbDesBereichsGiltAlsFehlend) {
    for (const int gespeichert : {0, 5000, 65535}) {
        {
            QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Feldmark"),
                        QStringLiteral("Bandwerk"));
            s.setValue(QStringLiteral("V2.4/ExportWAVSampleRate"), gespeichert);
        }
        const QString wav = Pfad("rate.wav");
        ASSERT_EQ(StarteCli({QStringLiteral("convert"), GrossesMZF(), wav}).status, 0);
        EXPECT_EQ(Le32(LiesDatei(wav), 24), 22050u) << gespeichert;
    }
}

} // namespace
