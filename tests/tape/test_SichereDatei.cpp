#include "DateiPfad.h"
#include "SichereDatei.h"
#include "TemporaereDateien.h"
#include "TestUmgebung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString Pfad(const QString& ordner, const char* name) {
    return QDir(ordner).filePath(QLatin1String(name));
}

bool SchreibeSicher(const QString& ziel, const QByteArray& inhalt, QString* fehler = nullptr) {
    TSichereDatei datei;
    const bool ok =
        datei.Oeffnen(ziel) && datei.Schreibe(inhalt.constData(), inhalt.size()) && datei.Abschliessen();
    if (fehler)
        *fehler = datei.Fehlertext();
    return ok;
}

mode_t Rechte(const QString& pfad) {
    struct stat s {};
    ::stat(PfadAlsBytes(pfad).constData(), &s);
    return s.st_mode & 07777;
}

TEST(SichereDatei, ErsetztDieAlteDateiErstBeimAbschliessen) {
    const QString ordner = TestVerzeichnis();
    const QString ziel = Pfad(ordner, "spiel.mzf");
    SchreibeDatei(ziel, "alt");
    TSichereDatei datei;
    ASSERT_TRUE(datei.Oeffnen(ziel));
    ASSERT_TRUE(datei.Schreibe("neuer Inhalt", 12));
    EXPECT_EQ(LiesDatei(ziel), QByteArray("alt"));
    EXPECT_EQ(DateienIn(ordner).size(), 2);
    ASSERT_TRUE(datei.SchreibeAn(0, "N", 1));
    ASSERT_TRUE(datei.Abschliessen());
    EXPECT_EQ(LiesDatei(ziel), QByteArray("Neuer Inhalt"));
    EXPECT_EQ(DateienIn(ordner), QStringList{QStringLiteral("spiel.mzf")});
}

TEST(SichereDatei, VerwerfenUndZerstoerenLassenAllesWieEsWar) {
    const QString ordner = TestVerzeichnis();
    const QString ziel = Pfad(ordner, "a.wav");
    SchreibeDatei(ziel, "alt");
    {
        TSichereDatei datei;
        ASSERT_TRUE(datei.Oeffnen(ziel));
        ASSERT_TRUE(datei.Schreibe("xyz", 3));
        datei.Verwerfen();
        EXPECT_FALSE(datei.IstOffen());
    }
    {
        TSichereDatei datei; // given up by its destructor
        ASSERT_TRUE(datei.Oeffnen(Pfad(ordner, "neu.wav")));
        ASSERT_TRUE(datei.Schreibe("xyz", 3));
    }
    EXPECT_EQ(DateienIn(ordner), QStringList{QStringLiteral("a.wav")});
    EXPECT_EQ(LiesDatei(ziel), QByteArray("alt"));
}

TEST(SichereDatei, RechteDerAltenDateiBleibenNeueDateienFolgenDerUmask) {
    const QString ordner = TestVerzeichnis();
    const QString alt = Pfad(ordner, "alt.mzf");
    SchreibeDatei(alt, "x");
    ::chmod(PfadAlsBytes(alt).constData(), 0640);
    ASSERT_TRUE(SchreibeSicher(alt, "y"));
    EXPECT_EQ(Rechte(alt), 0640u);

    const mode_t maske = ::umask(022);
    const QString neu = Pfad(ordner, "neu.mzf");
    ASSERT_TRUE(SchreibeSicher(neu, "z"));
    ::umask(maske);
    EXPECT_EQ(Rechte(neu), 0644u);
}

TEST(SichereDatei, EinLinkBleibtUndSeinZielWirdErsetzt) {
    const QString ordner = TestVerzeichnis();
    const QString ziel = Pfad(ordner, "echt.mzf");
    const QString link = Pfad(ordner, "link.mzf");
    SchreibeDatei(ziel, "alt");
    ASSERT_TRUE(QFile::link(QStringLiteral("echt.mzf"), link));
    ASSERT_TRUE(SchreibeSicher(link, "neu"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(LiesDatei(ziel), QByteArray("neu"));
    EXPECT_EQ(DateienIn(ordner), (QStringList{QStringLiteral("echt.mzf"), QStringLiteral("link.mzf")}));
}

TEST(SichereDatei, ZieleDieKeineNormalenDateienSindWerdenNieErsetzt) {
    const QString ordner = TestVerzeichnis();
    const QString fifo = Pfad(ordner, "rohr.mzf");
    ASSERT_EQ(::mkfifo(PfadAlsBytes(fifo).constData(), 0644), 0);
    const QString linkAufFifo = Pfad(ordner, "zeiger.mzf");
    ASSERT_TRUE(QFile::link(fifo, linkAufFifo));
    const QString verzeichnis = Pfad(ordner, "ordner.mzf");
    ASSERT_TRUE(QDir().mkpath(verzeichnis));

    struct TFall {
        QString ziel;
        QString grund;
    };
    const TFall faelle[] = {
        {fifo, QStringLiteral("Not a regular file")},
        {linkAufFifo, QStringLiteral("Not a regular file")},
        {verzeichnis, SystemFehlerText(EISDIR)},
    };
    for (const TFall& fall : faelle) {
        QString fehler;
        EXPECT_FALSE(SchreibeSicher(fall.ziel, "x", &fehler)) << fall.ziel.toStdString();
        EXPECT_EQ(fehler, fall.grund) << fall.ziel.toStdString();
    }
    EXPECT_TRUE(HolePfadInfo(fifo).existiert);
    EXPECT_FALSE(HolePfadInfo(fifo).istRegulaer);
    EXPECT_TRUE(QFileInfo(linkAufFifo).isSymLink());
    EXPECT_TRUE(QFileInfo(verzeichnis).isDir());
    EXPECT_EQ(DateienIn(ordner).size(), 3);
}

TEST(SichereDatei, EinZeichengeraetWirdAnOrtUndStelleBeschrieben) {
    if (!QFileInfo::exists(QStringLiteral("/dev/null")) || !QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/null or /dev/full here";
    EXPECT_TRUE(SchreibeSicher(QStringLiteral("/dev/null"), "x"));
    QString fehler;
    EXPECT_FALSE(SchreibeSicher(QStringLiteral("/dev/full"), "x", &fehler));
    EXPECT_EQ(fehler, SystemFehlerText(ENOSPC));
    EXPECT_TRUE(HolePfadInfo(QStringLiteral("/dev/full")).istZeichengeraet);
}

TEST(SichereDatei, FehlenderOrdnerNenntDenGrundDesSystems) {
    QString fehler;
    EXPECT_FALSE(SchreibeSicher(Pfad(TestVerzeichnis(), "fehlt/x.mzf"), "x", &fehler));
    EXPECT_EQ(fehler, SystemFehlerText(ENOENT));
}

TEST(SichereDatei, GesperrterOrdnerVerweigertDasSchreibenAuchWennDieDateiBeschreibbarIst) {
    // Written in place, a failure half-way would leave a cut-off file where the only copy was.
    const QString ziel = GesperrterOrdnerMitDatei(QStringLiteral("spiel.mzf"), "alt");
    ASSERT_FALSE(ziel.isEmpty());
    const int status = ImKindprozess(
        [&] {
            QString fehler;
            if (SchreibeSicher(ziel, "neu", &fehler))
                return 1;
            return fehler == SystemFehlerText(EACCES) ? 0 : 2;
        },
        true);
    Entsperre(ziel);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(LiesDatei(ziel), QByteArray("alt"));
    EXPECT_EQ(DateienIn(QFileInfo(ziel).path()), QStringList{QStringLiteral("spiel.mzf")});
}

TEST(SichereDatei, NamenBisZurLaengengrenzeDesOrdners) {
    const QString ordner = TestVerzeichnis();
    const long grenze = ::pathconf(PfadAlsBytes(ordner).constData(), _PC_NAME_MAX);
    ASSERT_GT(grenze, 16);
    // The temporary name beside the target must not need more room than the target's own.
    for (const long laenge : {grenze - 8, grenze - 7, grenze - 6, grenze - 1, grenze}) {
        const QString name = QString(laenge - 4, QLatin1Char('n')) + QStringLiteral(".wav");
        const QString ziel = QDir(ordner).filePath(name);
        QString fehler;
        EXPECT_TRUE(SchreibeSicher(ziel, "lang", &fehler)) << laenge << " " << fehler.toStdString();
        EXPECT_EQ(LiesDatei(ziel), QByteArray("lang")) << laenge;
        EXPECT_EQ(DateienIn(ordner), QStringList{name}) << laenge;
        QFile::remove(ziel);
    }
    // One byte more is the system's own refusal, and nothing stays behind.
    QString fehler;
    EXPECT_FALSE(SchreibeSicher(QDir(ordner).filePath(QString(grenze + 1, QLatin1Char('n'))), "x", &fehler));
    EXPECT_EQ(fehler, SystemFehlerText(ENAMETOOLONG));
    EXPECT_TRUE(DateienIn(ordner).isEmpty()) << DateienIn(ordner).join(' ').toStdString();
}

TEST(SichereDatei, ScheiterndesAbschliessenRaeumtDieTemporaereDateiAuf) {
    // The target becomes a folder while the file is written: the rename fails, and the
    // temporary file goes with it.
    const QString ordner = TestVerzeichnis();
    const QString ziel = Pfad(ordner, "ziel.mzf");
    TSichereDatei datei;
    ASSERT_TRUE(datei.Oeffnen(ziel));
    ASSERT_TRUE(datei.Schreibe("inhalt", 6));
    ASSERT_EQ(DateienIn(ordner).size(), 1);
    ASSERT_TRUE(QDir().mkdir(ziel));
    EXPECT_FALSE(datei.Abschliessen());
    EXPECT_EQ(datei.Fehlertext(), SystemFehlerText(EISDIR));
    EXPECT_FALSE(datei.IstOffen());
    EXPECT_EQ(DateienIn(ordner), QStringList{QStringLiteral("ziel.mzf")});
    EXPECT_TRUE(QFileInfo(ziel).isDir());
}

TEST(SichereDatei, GroessenGrenzeMeldetDenGrundUndLaesstDasZielStehen) {
    const QString ordner = TestVerzeichnis();
    const QString ziel = Pfad(ordner, "gross.wav");
    SchreibeDatei(ziel, "alt");
    const QByteArray inhalt(64 * 1024, 'x');
    const int status = ImKindprozess([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit grenze{8192, 8192};
        ::setrlimit(RLIMIT_FSIZE, &grenze);
        QString fehler;
        if (SchreibeSicher(ziel, inhalt, &fehler))
            return 1;
        return fehler == SystemFehlerText(EFBIG) ? 0 : 2;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(LiesDatei(ziel), QByteArray("alt"));
    EXPECT_EQ(DateienIn(ordner), QStringList{QStringLiteral("gross.wav")});
}

TEST(SichereDatei, UnterbrechungEntferntDieTemporaereDatei) {
    const int signale[] = {SIGINT, SIGTERM, SIGHUP};
    for (const int signal : signale) {
        const QString ordner = TestVerzeichnis();
        const QString ziel = Pfad(ordner, "export.wav");
        SchreibeDatei(ziel, "alt");
        const int status = ImKindprozess([&] {
            TemporaereDateien::InstalliereSignalbehandlung();
            TSichereDatei datei;
            if (!datei.Oeffnen(ziel) || !datei.Schreibe("halb", 4))
                return 1;
            std::raise(signal);
            return 2; // not reached: the signal ends the process
        });
        EXPECT_EQ(status, 128 + signal);
        EXPECT_EQ(LiesDatei(ziel), QByteArray("alt"));
        EXPECT_EQ(DateienIn(ordner), QStringList{QStringLiteral("export.wav")});
    }
}

TEST(SichereDatei, ZweiSchreiberAufEinZielHinterlassenEinenGanzenInhalt) {
    const QString ordner = TestVerzeichnis();
    const QString ziel = Pfad(ordner, "ziel.mzt");
    const QByteArray a(200000, 'a');
    const QByteArray b(300000, 'b');
    TSichereDatei erster;
    TSichereDatei zweiter;
    ASSERT_TRUE(erster.Oeffnen(ziel));
    ASSERT_TRUE(zweiter.Oeffnen(ziel));
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(erster.Schreibe(a.constData() + i * 2000, 2000));
        ASSERT_TRUE(zweiter.Schreibe(b.constData() + i * 3000, 3000));
    }
    ASSERT_TRUE(zweiter.Abschliessen());
    EXPECT_EQ(LiesDatei(ziel), b);
    ASSERT_TRUE(erster.Abschliessen());
    EXPECT_EQ(LiesDatei(ziel), a);
    EXPECT_EQ(DateienIn(ordner), QStringList{QStringLiteral("ziel.mzt")});
}

TEST(SichereDatei, NamenMitBytesAusserhalbVonUtf8) {
    const QString ordner = TestVerzeichnis();
    const QString ziel = PfadAusBytes(QFile::encodeName(ordner) + "/a\xff"
                                                                  "b.mzf");
    ASSERT_TRUE(SchreibeSicher(ziel, "inhalt"));
    QFile datei;
    QString fehler;
    ASSERT_TRUE(OeffneZumLesen(datei, ziel, {}, fehler)) << fehler.toStdString();
    EXPECT_EQ(datei.readAll(), QByteArray("inhalt"));
    EXPECT_EQ(HolePfadInfo(ziel).groesse, 6);
    // On disk the name holds the byte itself; it is removed by that name, which the clean-up of
    // the test folder cannot spell.
    const QByteArray roh = QFile::encodeName(ordner) + QByteArray("/a\xff") + QByteArray("b.mzf");
    EXPECT_EQ(::unlink(roh.constData()), 0);
}

} // namespace
