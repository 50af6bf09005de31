#include "CliLauf.h"
#include "Fortschrittsbalken.h"
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

constexpr int Kopf = 44;

// An MZF image whose header bits are all 0 except the size field (256 = 0x0100), with a zero body:
// its tape bit text has 454 ones in 19,616 characters (shortened) or 846 in 40,622 (full).
QByteArray NullMZF() {
    return NullBild(256).Bytes();
}

class WAVKonvertierenTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        verzeichnis = TestVerzeichnis();
        mzf = verzeichnis + QStringLiteral("/null.mzf");
        SchreibeDatei(mzf, NullMZF());
    }
    void TearDown() override { EinstellungenLeeren(); }
    QString Pfad(const QString& name) const { return verzeichnis + QLatin1Char('/') + name; }

    TPlattformSkript skript;
    QString verzeichnis;
    QString mzf;
};

} // namespace

TEST_F(WAVKonvertierenTest, OptionsChooseRateFormatAndPolarity) {
    const QString wav = Pfad(QStringLiteral("a.wav"));
    const TCliLauf l =
        StarteCli({QStringLiteral("convert"), mzf, wav, QStringLiteral("--rate"), QStringLiteral("8000"),
                   QStringLiteral("--short"), QStringLiteral("--inverted")});
    EXPECT_EQ(l.status, ExitErfolg) << l.fehler.toStdString();
    const QByteArray f = LiesDatei(wav);
    // MZ-80K at 8000 Hz: long 4 + 4, short 2 + 3: 454 x 8 + 19,162 x 5 = 99,442 pulse samples.
    ASSERT_EQ(f.size(), 115486);
    EXPECT_EQ(Le32(f, 24), 8000u);
    EXPECT_EQ(f.mid(Kopf + 8000, 5), QByteArray(2, '\xBF') + QByteArray(3, '\x3F'));
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(WAVKonvertierenTest, StoredSettingsAreDefaultsAndStayUnwritten) {
    SchreibeImportExportEinstellungen(MZ700, true, 11025, true);
    const QString wav = Pfad(QStringLiteral("b.wav"));
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), mzf, wav}).status, ExitErfolg);
    // MZ-700 at 11025 Hz: long 5 + 6, short 2 + 4: 454 x 11 + 19,162 x 6 = 119,966.
    const QByteArray f = LiesDatei(wav);
    ASSERT_EQ(f.size(), 142060);
    EXPECT_EQ(Le32(f, 28), 11025u);
    EXPECT_EQ(f.mid(Kopf + 11025, 6), QByteArray(2, '\xBF') + QByteArray(4, '\x3F'));

    // Options for one run do not reach the store.
    const QString wav2 = Pfad(QStringLiteral("c.wav"));
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), mzf, wav2, QStringLiteral("--rate=22050")}).status,
              ExitErfolg);
    EXPECT_EQ(Le32(LiesDatei(wav2), 24), 22050u);

    // --full and --normal switch a stored shortened format and inverted polarity off for one run:
    // 846 x 11 + 39,776 x 6 = 247,962 pulse samples at 11025 Hz.
    const QString wav3 = Pfad(QStringLiteral("c3.wav"));
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), mzf, wav3, QStringLiteral("--full"),
                         QStringLiteral("--normal")})
                  .status,
              ExitErfolg);
    const QByteArray f3 = LiesDatei(wav3);
    ASSERT_EQ(f3.size(), 270056);
    EXPECT_EQ(f3.mid(Kopf + 11025, 6), QByteArray(2, '\x40') + QByteArray(4, '\xC0'));
    LadeEinstellungen();
    EXPECT_EQ(HoleImportExportMZModell(), MZ700);
    EXPECT_EQ(HoleExportWAVSampleRate(), 11025);
    EXPECT_TRUE(HoleExportWAVInvertiertePolaritaet());
    EXPECT_TRUE(LiesExportWAVVerkuerztesMZTonbandFormat());
}

TEST_F(WAVKonvertierenTest, FullFormatNormalPolarityByDefault) {
    const QString wav = Pfad(QStringLiteral("d.WAV"));
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), mzf, wav}).status, ExitErfolg);
    // 22050 Hz, MZ-80K: 846 x 21 + 39,776 x 11 = 455,302.
    const QByteArray f = LiesDatei(wav);
    ASSERT_EQ(f.size(), 499446);
    EXPECT_EQ(f.mid(Kopf + 22050, 11), QByteArray(5, '\x40') + QByteArray(6, '\xC0'));
}

TEST_F(WAVKonvertierenTest, RateOutsideTheRangeIsAUsageError) {
    const QString wav = Pfad(QStringLiteral("e.wav"));
    for (const QStringList& rate : {QStringList{QStringLiteral("--rate"), QStringLiteral("7999")},
                                    QStringList{QStringLiteral("--rate=45001")},
                                    QStringList{QStringLiteral("--rate"), QStringLiteral("fast")},
                                    QStringList{QStringLiteral("--rate=")}}) {
        SCOPED_TRACE(rate.join(QLatin1Char(' ')).toStdString());
        const TCliLauf l = StarteCli(QStringList{QStringLiteral("convert"), mzf, wav} + rate);
        EXPECT_EQ(l.status, ExitAufruf);
        EXPECT_TRUE(l.fehler.contains(QStringLiteral("from 8000 to 45000 Hz"))) << l.fehler.toStdString();
        EXPECT_FALSE(QFile::exists(wav));
    }
    const TCliLauf ohne = StarteCli({QStringLiteral("convert"), mzf, wav, QStringLiteral("--rate")});
    EXPECT_EQ(ohne.status, ExitAufruf);
    EXPECT_TRUE(ohne.fehler.contains(QStringLiteral("Missing value after '--rate'")))
        << ohne.fehler.toStdString();

    for (const char* grenze : {"8000", "45000"}) {
        EXPECT_EQ(
            StarteCli({QStringLiteral("convert"), mzf, wav, QStringLiteral("--rate"), QLatin1String(grenze)})
                .status,
            ExitErfolg);
        EXPECT_EQ(Le32(LiesDatei(wav), 24), QByteArray(grenze).toUInt());
    }
}

TEST_F(WAVKonvertierenTest, WAVOptionsBelongToWAVOutputOnly) {
    for (const QStringList& a : {QStringList{QStringLiteral("info"), mzf, QStringLiteral("--short")},
                                 QStringList{QStringLiteral("convert"), mzf, Pfad(QStringLiteral("x.mzf")),
                                             QStringLiteral("--inverted")}}) {
        const TCliLauf l = StarteCli(a);
        EXPECT_EQ(l.status, ExitAufruf);
        EXPECT_TRUE(l.fehler.contains(QStringLiteral("options of convert to a .wav file")));
    }
    EXPECT_FALSE(QFile::exists(Pfad(QStringLiteral("x.mzf"))));
}

TEST_F(WAVKonvertierenTest, ARecordingConvertsBackToTheFile) {
    const QString wav = Pfad(QStringLiteral("f.wav"));
    ASSERT_EQ(StarteCli({QStringLiteral("convert"), mzf, wav}).status, ExitErfolg);
    const TCliLauf l = StarteCli({QStringLiteral("convert"), wav, Pfad(QStringLiteral("f.mzf"))});
    EXPECT_EQ(l.status, ExitErfolg) << l.fehler.toStdString();
    EXPECT_EQ(LiesDatei(Pfad(QStringLiteral("f.mzf"))), NullMZF());
}

TEST_F(WAVKonvertierenTest, UnwritableTargetFailsWithTheWritersMessage) {
    const QString wav = Pfad(QStringLiteral("fehlt/g.wav"));
    EXPECT_EQ(StarteCli({QStringLiteral("convert"), mzf, wav}).status, ExitFehler);
    ASSERT_EQ(skript.Fehler().size(), 1);
    EXPECT_TRUE(skript.Fehler()[0].startsWith(QStringLiteral("Error writing the file ") + wav));
}

TEST_F(WAVKonvertierenTest, ProgressBarDrawsOnATerminalAndClearsAtTheEnd) {
    TMZFDatei datei;
    ASSERT_TRUE(datei.Laden(mzf));
    SchreibeImportExportEinstellungen(MZ80K, false, 8000, false);
    QString text;
    QTextStream strom(&text);
    {
        const TFortschrittsbalken balken(datei, strom, true);
        ASSERT_TRUE(datei.ExportWAV(Pfad(QStringLiteral("h.wav"))));
    }
    EXPECT_FALSE(datei.BeiFortschritt) << "events stay bound after the bar is gone";
    // 40,622 pulses: 0 at the start, then 24, 49, 73 and 98 percent, then the line is wiped.
    const QRegularExpression bild(QStringLiteral("\r\\[([#.]{40})\\] +(\\d+)%"));
    QList<int> prozente;
    auto treffer = bild.globalMatch(text);
    while (treffer.hasNext()) {
        const auto m = treffer.next();
        const int p = m.captured(2).toInt();
        prozente << p;
        EXPECT_EQ(m.captured(1).count(QLatin1Char('#')), p * 40 / 100);
    }
    EXPECT_EQ(prozente, (QList<int>{0, 24, 49, 73, 98}));
    EXPECT_TRUE(text.endsWith(QLatin1Char('\r') + QString(47, QLatin1Char(' ')) + QLatin1Char('\r')));
}

TEST_F(WAVKonvertierenTest, NoBarWhenInactive) {
    TMZFDatei datei;
    ASSERT_TRUE(datei.Laden(mzf));
    QString text;
    QTextStream strom(&text);
    {
        const TFortschrittsbalken balken(datei, strom, false);
        EXPECT_FALSE(datei.BeiBeginn);
        ASSERT_TRUE(datei.ExportWAV(Pfad(QStringLiteral("i.wav"))));
    }
    EXPECT_TRUE(text.isEmpty());
}

TEST_F(WAVKonvertierenTest, RedirectedStandardErrorStaysEmpty) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), verzeichnis);
    p.setProcessEnvironment(env);
    const QString wav = Pfad(QStringLiteral("j.wav"));
    p.start(QStringLiteral(BANDWERK_CLI_PFAD),
            {QStringLiteral("convert"), mzf, wav, QStringLiteral("--rate"), QStringLiteral("44100")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardError().isEmpty());
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    EXPECT_EQ(Le32(LiesDatei(wav), 24), 44100u);
}

TEST_F(WAVKonvertierenTest, ModelOptionSetsThePulseTiming) {
    const QString wav = Pfad(QStringLiteral("k.wav"));
    ASSERT_EQ(
        StarteCli({QStringLiteral("convert"), mzf, wav, QStringLiteral("--model"), QStringLiteral("MZ-80B"),
                   QStringLiteral("--rate"), QStringLiteral("8000"), QStringLiteral("--short")})
            .status,
        ExitErfolg);
    // MZ-80B at 8000 Hz: long 3 + 3, short 1 + 2: 454 x 6 + 19,162 x 3 = 60,210.
    const QByteArray f = LiesDatei(wav);
    ASSERT_EQ(f.size(), 76254);
    EXPECT_EQ(f.mid(Kopf + 8000, 3), QByteArray(1, '\x40') + QByteArray(2, '\xC0'));
}
