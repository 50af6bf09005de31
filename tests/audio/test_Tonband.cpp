// The tape deck on the command line against a real sound server: what bandwerk-cli plays comes
// out of the sound output (recorded by the server's own tool), and what the server's player puts
// into the sound input, bandwerk-cli records and decodes.
#include "MZFDatei.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"
#include "TonServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

const QString Halt = QStringLiteral("gunterhager-mz800-emuz/TestHalt.mzf");
const QString Print = QStringLiteral("gunterhager-mz800-emuz/TestPrint.mzf");
const QString GnuBlat = QStringLiteral("psychotimmy-Sharp-MZ-700/GNU BLAT 2000");
constexpr int Minute = 60'000;

class Tonband : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        ordner = TestVerzeichnis();
        // What the tests decode was made for an MZ-700.
        SchreibeImportExportEinstellungen(MZ700, false, StandardSampleRate, false);
    }
    void TearDown() override { EinstellungenLeeren(); }

    // bandwerk-cli with these arguments, started; English messages.
    std::unique_ptr<QProcess> Starte(QStringList argumente, const QStringList& umgebung = {}) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& v : umgebung)
            env.insert(v.section(QLatin1Char('='), 0, 0), v.section(QLatin1Char('='), 1));
        p->setProcessEnvironment(env);
        argumente.prepend(QStringLiteral("--lang=en"));
        p->start(QStringLiteral(BANDWERK_CLI_PFAD), argumente);
        EXPECT_TRUE(p->waitForStarted());
        return p;
    }
    // Waits until the process has printed a line on standard output; the line, or nothing.
    static QString WarteAufZeile(QProcess& p, int ms) {
        QElapsedTimer uhr;
        uhr.start();
        while (!p.canReadLine() && p.state() == QProcess::Running && uhr.elapsed() < ms)
            p.waitForReadyRead(200);
        return p.canReadLine() ? QString::fromUtf8(p.readLine()).trimmed() : QString();
    }
    static void Beende(QProcess& p, int ms = Minute) {
        EXPECT_TRUE(p.waitForFinished(ms));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    }
    // A recording of the MZ files, as the WAV export writes it (MZ-700, shortened format).
    QString Aufnahme(const QStringList& mzfs) {
        const QString pfad = ordner + QStringLiteral("/band.wav");
        QStringList argumente{QStringLiteral("convert"), QStringLiteral("--model=MZ-700"),
                              QStringLiteral("--short")};
        for (const QString& m : mzfs)
            argumente << KorpusPfad(m);
        auto p = Starte(argumente << pfad);
        Beende(*p);
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        return pfad;
    }
    // Every MZ file a recording holds, decoded as the import decodes.

    TPlattformSkript skript;
    QString ordner;
};

} // namespace

// Two files played one after another come out of the sound output; the recording of the output
// decodes to both, byte for byte, in their order.
TEST_F(Tonband, PlayedFilesComeOutOfTheSoundOutputByteExact) {
    BRAUCHT_TONSERVER();
    TEigenesTongeraet geraet(QStringLiteral("bw_abspielen"));
    const QString mitschnitt = ordner + QStringLiteral("/mitschnitt.wav");
    auto rekorder = TonServer::Mitschnitt(geraet.Ausgabe(), mitschnitt);
    QThread::msleep(300);
    auto spieler = Starte({QStringLiteral("play"), QStringLiteral("--device"), geraet.Ausgabe(),
                           QStringLiteral("--model=MZ-700"), QStringLiteral("--short"), KorpusPfad(Halt),
                           KorpusPfad(Print)});
    Beende(*spieler);
    EXPECT_EQ(spieler->exitCode(), 0) << spieler->readAllStandardError().toStdString();
    rekorder->terminate();
    Beende(*rekorder);
    const auto dateien = TonServer::Dekodiere(mitschnitt);
    ASSERT_EQ(dateien.size(), 2u);
    EXPECT_EQ(TonServer::MZFBytes(*dateien[0]), LiesDatei(KorpusPfad(Halt)));
    EXPECT_EQ(TonServer::MZFBytes(*dateien[1]), LiesDatei(KorpusPfad(Print)));
}

// A real cassette: the analog recording of a program, from its 20th second on (just before the
// header), played into the sound input. record writes the program as soon as its body has been
// read, and keeps the whole recording as a WAV file that decodes to it again.
TEST_F(Tonband, LangeAufnahmeEinerKassetteSchreibtIhreDatei) {
    BRAUCHT_TONSERVER();
    TEigenesTongeraet geraet(QStringLiteral("bw_kassette"));
    // The corpus file has the canonical 44-byte head; the new one holds its samples from 0:20 on.
    const QByteArray ganz = LiesDatei(KorpusPfad(GnuBlat + QStringLiteral(".wav")));
    ASSERT_EQ(ganz.mid(36, 4), "data");
    const QByteArray daten = ganz.mid(44 + 20 * 22050);
    QByteArray kopf = ganz.left(44);
    const auto setze32 = [&kopf](int o, quint32 w) {
        for (int i = 0; i < 4; ++i)
            kopf[o + i] = static_cast<char>((w >> (8 * i)) & 0xFF);
    };
    setze32(4, static_cast<quint32>(36 + daten.size()));
    setze32(40, static_cast<quint32>(daten.size()));
    const QString kassette = ordner + QStringLiteral("/kassette.wav");
    SchreibeDatei(kassette, kopf + daten);
    const QString ziel = ordner + QStringLiteral("/ziel");
    QDir().mkpath(ziel);
    const QString behalten = ordner + QStringLiteral("/ganz.wav");

    auto rekorder = Starte({QStringLiteral("record"), ziel, QStringLiteral("--device"), geraet.Eingabe(),
                            QStringLiteral("--model=MZ-700"), QStringLiteral("--keep-wav"), behalten});
    QThread::msleep(500);
    auto spieler = TonServer::Spiele(geraet.Ausgabe(), kassette);
    const QString zeile = WarteAufZeile(*rekorder, 3 * Minute);
    EXPECT_EQ(zeile, ziel + QStringLiteral("/GNU BLAT 2000.mzf"));
    rekorder->terminate(); // Ctrl+C or a terminate request end the recording, not the program
    Beende(*rekorder);
    spieler->kill();
    spieler->waitForFinished();
    EXPECT_EQ(rekorder->exitCode(), 0) << rekorder->readAllStandardError().toStdString();
    EXPECT_EQ(LiesDatei(ziel + QStringLiteral("/GNU BLAT 2000.mzf")),
              LiesDatei(KorpusPfad(GnuBlat + QStringLiteral(".mzf"))));
    EXPECT_EQ(DateienIn(ziel), QStringList{QStringLiteral("GNU BLAT 2000.mzf")});
    const auto wieder = TonServer::Dekodiere(behalten);
    ASSERT_EQ(wieder.size(), 1u);
    EXPECT_EQ(TonServer::MZFBytes(*wieder[0]), LiesDatei(KorpusPfad(GnuBlat + QStringLiteral(".mzf"))));
}

// The sound output is pulled out while playing: the player says so and fails.
TEST_F(Tonband, OutputRemovedWhilePlayingIsToldAndFails) {
    BRAUCHT_TONSERVER();
    TEigenesTongeraet geraet(QStringLiteral("bw_weg_aus"));
    auto spieler = Starte({QStringLiteral("play"), QStringLiteral("--device"), geraet.Ausgabe(),
                           QStringLiteral("--model=MZ-700"), QStringLiteral("--short"), KorpusPfad(Halt)});
    QThread::msleep(2000);
    ASSERT_EQ(spieler->state(), QProcess::Running);
    geraet.Entfernen();
    Beende(*spieler);
    EXPECT_EQ(spieler->exitCode(), 1);
    EXPECT_TRUE(spieler->readAllStandardError().contains("stopped working (was it unplugged?)"));
}

// The sound input is pulled out after a file was found: the recorder says so and fails, and keeps
// the file and the recording up to then.
TEST_F(Tonband, InputRemovedWhileRecordingKeepsWhatWasFound) {
    BRAUCHT_TONSERVER();
    TEigenesTongeraet geraet(QStringLiteral("bw_weg_ein"));
    const QString band = Aufnahme({Halt, Print});
    const QString behalten = ordner + QStringLiteral("/ganz.wav");
    const QString ziel = ordner + QStringLiteral("/ziel");
    QDir().mkpath(ziel);
    auto rekorder = Starte({QStringLiteral("record"), ziel, QStringLiteral("--device"), geraet.Eingabe(),
                            QStringLiteral("--model=MZ-700"), QStringLiteral("--keep-wav"), behalten});
    QThread::msleep(500);
    auto spieler = TonServer::Spiele(geraet.Ausgabe(), band);
    EXPECT_EQ(WarteAufZeile(*rekorder, Minute), ziel + QStringLiteral("/TestHalt.mzf"));
    geraet.Entfernen();
    Beende(*rekorder);
    spieler->kill();
    spieler->waitForFinished();
    EXPECT_EQ(rekorder->exitCode(), 1);
    EXPECT_TRUE(rekorder->readAllStandardError().contains("the MZ-files found so far are kept"));
    EXPECT_EQ(LiesDatei(ziel + QStringLiteral("/TestHalt.mzf")), LiesDatei(KorpusPfad(Halt)));
    const auto wieder = TonServer::Dekodiere(behalten);
    ASSERT_GE(wieder.size(), 1u);
    EXPECT_EQ(TonServer::MZFBytes(*wieder[0]), LiesDatei(KorpusPfad(Halt)));
}

// The disk fills while the recording is kept (a file size limit of 200 KiB, about two seconds):
// the WAV file is told, keeps what fitted and is a valid WAV file; recording and decoding go on.
TEST_F(Tonband, FullDiskWhileKeepingTheWAVLosesNothingRecorded) {
    BRAUCHT_TONSERVER();
    TEigenesTongeraet geraet(QStringLiteral("bw_voll"));
    const QString band = Aufnahme({Halt});
    const QString behalten = ordner + QStringLiteral("/ganz.wav");
    const QString ziel = ordner + QStringLiteral("/ziel");
    QDir().mkpath(ziel);
    // The limit holds for every file the process writes, the sound client's shared memory too:
    // without room for it the client falls back to a path no real recording takes. A pool that
    // fits under the limit keeps the client as it always is, so the limit meets the WAV file alone.
    const QString klientKonfig = ordner + QStringLiteral("/client.conf");
    QFile konfig(klientKonfig);
    ASSERT_TRUE(konfig.open(QIODevice::WriteOnly));
    konfig.write("shm-size-bytes = 131072\n");
    konfig.close();
    auto rekorder = std::make_unique<QProcess>();
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("PULSE_CLIENTCONFIG"), klientKonfig);
    rekorder->setProcessEnvironment(umgebung);
    rekorder->start(QStringLiteral("bash"),
                    {QStringLiteral("-c"), QStringLiteral("ulimit -f 200; exec \"$0\" \"$@\""),
                     QStringLiteral(BANDWERK_CLI_PFAD), QStringLiteral("--lang=en"), QStringLiteral("record"),
                     ziel, QStringLiteral("--device"), geraet.Eingabe(), QStringLiteral("--model=MZ-700"),
                     QStringLiteral("--keep-wav"), behalten});
    ASSERT_TRUE(rekorder->waitForStarted());
    QThread::msleep(500);
    auto spieler = TonServer::Spiele(geraet.Ausgabe(), band);
    EXPECT_EQ(WarteAufZeile(*rekorder, Minute), ziel + QStringLiteral("/TestHalt.mzf"));
    rekorder->terminate();
    Beende(*rekorder);
    spieler->waitForFinished();
    EXPECT_EQ(rekorder->exitCode(), 1);
    const QByteArray fehler = rekorder->readAllStandardError();
    EXPECT_TRUE(fehler.contains("The recording could not be kept whole in the file " + behalten.toUtf8()))
        << fehler.toStdString();
    EXPECT_EQ(LiesDatei(ziel + QStringLiteral("/TestHalt.mzf")), LiesDatei(KorpusPfad(Halt)));
    const QByteArray wav = LiesDatei(behalten);
    ASSERT_GT(wav.size(), 44);
    EXPECT_LE(wav.size(), 200 * 1024);
    EXPECT_EQ(wav.left(4), "RIFF");
    const quint32 datenBytes = Le32(wav, 40);
    EXPECT_GT(datenBytes, 100u * 1024);
    EXPECT_LE(datenBytes, static_cast<quint32>(wav.size() - 44));
    EXPECT_EQ(datenBytes % 2, 0u); // whole 16-bit frames
    EXPECT_EQ(Le32(wav, 24), 44100u);
}

// --seconds 1 records exactly one second (44100 frames of 16 bits) and ends by itself; a
// recording of silence holds no MZ file, which is told.
TEST_F(Tonband, RecordingEndsAfterItsSeconds) {
    BRAUCHT_TONSERVER();
    TEigenesTongeraet geraet(QStringLiteral("bw_sekunde"));
    const QString behalten = ordner + QStringLiteral("/stille.wav");
    auto rekorder = Starte({QStringLiteral("record"), ordner, QStringLiteral("--device"), geraet.Eingabe(),
                            QStringLiteral("--seconds=1"), QStringLiteral("--keep-wav"), behalten});
    Beende(*rekorder);
    EXPECT_EQ(rekorder->exitCode(), 1);
    EXPECT_TRUE(rekorder->readAllStandardError().contains("the recording held no MZ file"));
    const QByteArray wav = LiesDatei(behalten);
    EXPECT_EQ(wav.size(), 44 + 88200);
    EXPECT_EQ(Le32(wav, 40), 88200u);
    EXPECT_EQ(Le16(wav, 22), 1);
    EXPECT_EQ(Le16(wav, 34), 16);
}

// No such device, and a server without any: each told, nothing plays or records.
TEST_F(Tonband, MissingDevicesAreTold) {
    BRAUCHT_TONSERVER();
    const QString ziel = TestVerzeichnis();
    for (const QString& befehl : {QStringLiteral("play"), QStringLiteral("record")}) {
        const QString datei = befehl == QLatin1String("play") ? KorpusPfad(Halt) : ziel;
        auto p = Starte({befehl, QStringLiteral("--device=gibt_es_nicht"), datei});
        Beende(*p);
        EXPECT_EQ(p->exitCode(), 1);
        EXPECT_TRUE(p->readAllStandardError().contains("There is no sound device \"gibt_es_nicht\""));
        auto ohne =
            Starte({befehl, datei}, {QStringLiteral("PULSE_SERVER=unix:") + ziel + QStringLiteral("/kein")});
        Beende(*ohne);
        EXPECT_EQ(ohne->exitCode(), 1);
        EXPECT_TRUE(ohne->readAllStandardError().contains(
            befehl == QLatin1String("play") ? "No sound output was found" : "No sound input was found"));
    }
    EXPECT_TRUE(DateienIn(ziel).isEmpty());
}

TEST_F(Tonband, DevicesAreListedByNameAndDescription) {
    BRAUCHT_TONSERVER();
    TEigenesTongeraet geraet(QStringLiteral("bw_liste"));
    auto p = Starte({QStringLiteral("record"), QStringLiteral("--list-devices")});
    Beende(*p);
    EXPECT_EQ(p->exitCode(), 0);
    const QStringList zeilen = QString::fromUtf8(p->readAllStandardOutput()).split(QLatin1Char('\n'));
    EXPECT_TRUE(zeilen.contains(QStringLiteral("output  %1  %1").arg(geraet.Ausgabe())))
        << zeilen.join('|').toStdString();
    EXPECT_TRUE(zeilen.contains(QStringLiteral("input   %1  %1").arg(geraet.Eingabe())));
}
