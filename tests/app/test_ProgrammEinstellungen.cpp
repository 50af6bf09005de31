#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// The store as another program (or an older run) left it.
class TRohSpeicher {
public:
    TRohSpeicher()
        : m_s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Feldmark"),
              QStringLiteral("Bandwerk")) {
        m_s.beginGroup(QStringLiteral("V2.4"));
    }
    ~TRohSpeicher() { m_s.sync(); }
    void Setze(const QString& name, const QVariant& wert) { m_s.setValue(name, wert); }
    QVariant Wert(const QString& name) const { return m_s.value(name); }

private:
    QSettings m_s;
};

void SchreibeRoh(const QString& name, const QVariant& wert) {
    TRohSpeicher roh;
    roh.Setze(name, wert);
}

QVariant LiesRoh(const QString& name) {
    return TRohSpeicher().Wert(name);
}

class ProgrammEinstellungen : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        skript.sanduhrAnzahl = 0;
    }
    void TearDown() override {
        // A test that broke the store puts a plain file back.
        const QFileInfo datei(EinstellungsDatei());
        if (datei.isDir())
            QDir(datei.filePath()).removeRecursively();
        EinstellungenLeeren();
    }
    TPlattformSkript skript;
};
} // namespace

TEST_F(ProgrammEinstellungen, ErsterStartGibtDieVorgaben) {
    EXPECT_EQ(LiesSprache(), StandardSpracheIstEnglisch());
    EXPECT_FALSE(LiesHaftungsAusschlussAkzeptiert());
    int x = -1, y = -1;
    LiesFormHauptPosition(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(LiesVerzeichnisMZFDateien(), QDir::currentPath());
    EXPECT_EQ(LiesVerzeichnisWAVDateien(), QDir::currentPath());
    EXPECT_EQ(LiesVerzeichnisMZTDateien(), QDir::currentPath());
    EXPECT_FALSE(LiesExportWAVVerkuerztesMZTonbandFormat());
    LadeEinstellungen();
    EXPECT_EQ(HoleImportExportMZModell(), MZ80K);
    EXPECT_EQ(HoleExportWAVSampleRate(), 22050);
    EXPECT_FALSE(HoleExportWAVInvertiertePolaritaet());
    // Reading only: no message, and the hourglass only around loading.
    EXPECT_TRUE(skript.nachrichten.isEmpty());
    EXPECT_EQ(skript.sanduhrAnzahl, 1);
}

TEST_F(ProgrammEinstellungen, VerzeichnisFolgtDemAktuellenVerzeichnis) {
    const QString vorher = QDir::currentPath();
    const QString anderes = TestVerzeichnis();
    ASSERT_TRUE(QDir::setCurrent(anderes));
    const QString gelesen = LiesVerzeichnisWAVDateien();
    QDir::setCurrent(vorher);
    EXPECT_EQ(QFileInfo(gelesen).canonicalFilePath(), QFileInfo(anderes).canonicalFilePath());
}

TEST_F(ProgrammEinstellungen, ModellNamenUndIndizes) {
    const char* const namen[] = {"MZ-80K", "MZ-80C", "MZ-80A", "MZ-80B", "MZ-700", "MZ-800"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(MZModellName(i), QLatin1String(namen[i]));
        EXPECT_EQ(MZModellIndex(QLatin1String(namen[i])), i);
    }
    EXPECT_EQ(MZModellName(6), QStringLiteral("?"));
    EXPECT_EQ(MZModellName(-1), QStringLiteral("?"));
    EXPECT_EQ(MZModellIndex(QStringLiteral("mz-80b")), 3);
    EXPECT_EQ(MZModellIndex(QStringLiteral("MZ-900")), 0);
    EXPECT_EQ(MZModellIndex(QStringLiteral(" MZ-700")), 0);
    EXPECT_EQ(MZModellIndex(QString()), 0);
}

TEST_F(ProgrammEinstellungen, GespeichertesModellWirdGeladen) {
    SchreibeRoh(QStringLiteral("ImportExportMZModell"), QStringLiteral("mz-700"));
    LadeEinstellungen();
    EXPECT_EQ(HoleImportExportMZModell(), MZ700);

    SchreibeRoh(QStringLiteral("ImportExportMZModell"), QStringLiteral("MZ-900"));
    LadeEinstellungen();
    EXPECT_EQ(HoleImportExportMZModell(), MZ80K);

    SchreibeRoh(QStringLiteral("ImportExportMZModell"), QStringLiteral("MZ-800"));
    LadeEinstellungen();
    EXPECT_EQ(HoleImportExportMZModell(), MZ800);

    SchreibeRoh(QStringLiteral("ImportExportMZModell"), QString());
    LadeEinstellungen();
    EXPECT_EQ(HoleImportExportMZModell(), MZ80K);
}

TEST_F(ProgrammEinstellungen, SampleRateAusDemSpeicher) {
    const struct {
        QVariant gespeichert;
        quint16 erwartet;
    } faelle[] = {
        // A rate the settings dialog would not take reads as missing: a WAV of 0 Hz or of
        // 5000 Hz is no recording any MZ or Bandwerk reads.
        {70000, 22050},
        {5000, 22050},
        {-1, 22050},
        {65535, 22050},
        {65536, 22050},
        {0, 22050},
        {7999, 22050},
        {8000, 8000},
        {45000, 45000},
        {45001, 22050},
        {44100, 44100},
        {QStringLiteral("viel"), 22050},
        {QStringLiteral("4294967296"), 22050}, // beyond 32 bits: unreadable
    };
    for (const auto& f : faelle) {
        SchreibeRoh(QStringLiteral("ExportWAVSampleRate"), f.gespeichert);
        LadeEinstellungen();
        EXPECT_EQ(HoleExportWAVSampleRate(), f.erwartet) << f.gespeichert.toString().toStdString();
    }
}

TEST_F(ProgrammEinstellungen, ErweiterteDekodierungIstAusBisSieGewaehltWird) {
    EXPECT_FALSE(LiesImportErweiterteDekodierung());
    SchreibeImportErweiterteDekodierung(true);
    EXPECT_TRUE(LiesImportErweiterteDekodierung());
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Feldmark"),
                QStringLiteral("Bandwerk"));
    EXPECT_EQ(s.value(QStringLiteral("V2.4/ImportErweiterteDekodierung")).toInt(), 1);
    // Loading the settings again reads the same value.
    LadeEinstellungen();
    EXPECT_TRUE(LiesImportErweiterteDekodierung());
    SchreibeRoh(QStringLiteral("ImportErweiterteDekodierung"), QStringLiteral("kaputt"));
    EXPECT_FALSE(LiesImportErweiterteDekodierung());
}

TEST_F(ProgrammEinstellungen, PolaritaetUndVerkuerztJederNichtNullWertIstWahr) {
    SchreibeRoh(QStringLiteral("ExportWAVInvertiertePolaritaet"), 7);
    SchreibeRoh(QStringLiteral("ExportWAVVerkuerztesMZTonbandFormat"), -1);
    LadeEinstellungen();
    EXPECT_TRUE(HoleExportWAVInvertiertePolaritaet());
    EXPECT_TRUE(LiesExportWAVVerkuerztesMZTonbandFormat());

    SchreibeRoh(QStringLiteral("ExportWAVInvertiertePolaritaet"), 0);
    SchreibeRoh(QStringLiteral("ExportWAVVerkuerztesMZTonbandFormat"), QStringLiteral("ja"));
    LadeEinstellungen();
    EXPECT_FALSE(HoleExportWAVInvertiertePolaritaet());
    EXPECT_FALSE(LiesExportWAVVerkuerztesMZTonbandFormat());
}

TEST_F(ProgrammEinstellungen, ImSpeicherBleibtBisZumNaechstenLaden) {
    SchreibeRoh(QStringLiteral("ImportExportMZModell"), QStringLiteral("MZ-80A"));
    SchreibeRoh(QStringLiteral("ExportWAVSampleRate"), 11025);
    SchreibeRoh(QStringLiteral("ExportWAVInvertiertePolaritaet"), 1);
    // Not loaded yet: the in-memory values never read the store.
    EXPECT_EQ(HoleImportExportMZModell(), MZ80K);
    EXPECT_EQ(HoleExportWAVSampleRate(), 22050);
    EXPECT_FALSE(HoleExportWAVInvertiertePolaritaet());
    LadeEinstellungen();
    EXPECT_EQ(HoleImportExportMZModell(), MZ80A);
    EXPECT_EQ(HoleExportWAVSampleRate(), 11025);
    EXPECT_TRUE(HoleExportWAVInvertiertePolaritaet());
    EXPECT_EQ(skript.sanduhrTiefe, 0);
}

TEST_F(ProgrammEinstellungen, PositionNurWennBeideWerteLesbarSind) {
    int x = -1, y = -1;
    SchreibeRoh(QStringLiteral("FormHauptXPos"), 300);
    LiesFormHauptPosition(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);

    SchreibeRoh(QStringLiteral("FormHauptYPos"), QStringLiteral("oben"));
    LiesFormHauptPosition(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);

    SchreibeRoh(QStringLiteral("FormHauptYPos"), -20);
    LiesFormHauptPosition(x, y);
    EXPECT_EQ(x, 300);
    EXPECT_EQ(y, -20);
}

TEST_F(ProgrammEinstellungen, SpracheGenauD) {
    SchreibeRoh(QStringLiteral("Sprache"), QStringLiteral("D"));
    EXPECT_FALSE(LiesSprache());
    SchreibeRoh(QStringLiteral("Sprache"), QStringLiteral("E"));
    EXPECT_TRUE(LiesSprache());
    SchreibeRoh(QStringLiteral("Sprache"), QStringLiteral("d"));
    EXPECT_TRUE(LiesSprache());
    SchreibeRoh(QStringLiteral("Sprache"), QStringLiteral("Deutsch"));
    EXPECT_TRUE(LiesSprache());
}

TEST_F(ProgrammEinstellungen, LeererOderFremdTypisierterTextGiltAlsFehlend) {
    SchreibeRoh(QStringLiteral("Sprache"), QString());
    EXPECT_EQ(LiesSprache(), StandardSpracheIstEnglisch());
    // The INI file keeps no types; a list is the one other type it can hold for a text value.
    SchreibeRoh(QStringLiteral("Sprache"), QStringList({QStringLiteral("D"), QStringLiteral("E")}));
    EXPECT_EQ(LiesSprache(), StandardSpracheIstEnglisch());

    SchreibeRoh(QStringLiteral("VerzeichnisMZFDateien"), QString());
    EXPECT_EQ(LiesVerzeichnisMZFDateien(), QDir::currentPath());
    SchreibeRoh(QStringLiteral("VerzeichnisMZTDateien"),
                QStringList({QStringLiteral("/a"), QStringLiteral("/b")}));
    EXPECT_EQ(LiesVerzeichnisMZTDateien(), QDir::currentPath());
}

TEST_F(ProgrammEinstellungen, SchreibenUndLesen) {
    SchreibeSprache(false);
    EXPECT_FALSE(LiesSprache());
    EXPECT_EQ(LiesRoh(QStringLiteral("Sprache")).toString(), QStringLiteral("D"));
    SchreibeSprache(true);
    EXPECT_TRUE(LiesSprache());
    EXPECT_EQ(LiesRoh(QStringLiteral("Sprache")).toString(), QStringLiteral("E"));

    SchreibeHaftungsAusschlussAkzeptiert(true);
    EXPECT_TRUE(LiesHaftungsAusschlussAkzeptiert());
    EXPECT_EQ(LiesRoh(QStringLiteral("HaftungsAusschlussAkzeptiert")).toInt(), 1);
    SchreibeHaftungsAusschlussAkzeptiert(false);
    EXPECT_FALSE(LiesHaftungsAusschlussAkzeptiert());

    SchreibeFormHauptPosition(-8, 1234);
    int x = 0, y = 0;
    LiesFormHauptPosition(x, y);
    EXPECT_EQ(x, -8);
    EXPECT_EQ(y, 1234);

    // Paths with characters that the INI file has to escape come back unchanged.
    const QString mzf = QStringLiteral("/home/mz/Bänder, alt;[1]=\"x\"");
    SchreibeVerzeichnisMZFDateien(mzf);
    SchreibeVerzeichnisWAVDateien(QStringLiteral("/wav"));
    SchreibeVerzeichnisMZTDateien(QStringLiteral("C:\\mzt"));
    EXPECT_EQ(LiesVerzeichnisMZFDateien(), mzf);
    EXPECT_EQ(LiesVerzeichnisWAVDateien(), QStringLiteral("/wav"));
    EXPECT_EQ(LiesVerzeichnisMZTDateien(), QStringLiteral("C:\\mzt"));

    // Every write shows the hourglass and restores it.
    EXPECT_EQ(skript.sanduhrAnzahl, 8);
    EXPECT_EQ(skript.sanduhrTiefe, 0);
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(ProgrammEinstellungen, ImportExportEinstellungenSchreiben) {
    SchreibeImportExportEinstellungen(MZ700, true, 44100, true);
    // In memory at once, without loading.
    EXPECT_EQ(HoleImportExportMZModell(), MZ700);
    EXPECT_EQ(HoleExportWAVSampleRate(), 44100);
    EXPECT_TRUE(HoleExportWAVInvertiertePolaritaet());
    // The shortened flag is read from the store.
    EXPECT_TRUE(LiesExportWAVVerkuerztesMZTonbandFormat());
    EXPECT_EQ(LiesRoh(QStringLiteral("ImportExportMZModell")).toString(), QStringLiteral("MZ-700"));
    EXPECT_EQ(LiesRoh(QStringLiteral("ExportWAVSampleRate")).toInt(), 44100);
    EXPECT_EQ(LiesRoh(QStringLiteral("ExportWAVInvertiertePolaritaet")).toInt(), 1);
    EXPECT_EQ(LiesRoh(QStringLiteral("ExportWAVVerkuerztesMZTonbandFormat")).toInt(), 1);
    EXPECT_EQ(skript.sanduhrAnzahl, 1);

    SchreibeRoh(QStringLiteral("ExportWAVVerkuerztesMZTonbandFormat"), 0);
    EXPECT_FALSE(LiesExportWAVVerkuerztesMZTonbandFormat());

    // What was written loads back the same.
    SchreibeImportExportEinstellungen(MZ80B, false, 8000, false);
    LadeEinstellungen();
    EXPECT_EQ(HoleImportExportMZModell(), MZ80B);
    EXPECT_EQ(HoleExportWAVSampleRate(), 8000);
    EXPECT_FALSE(HoleExportWAVInvertiertePolaritaet());
    EXPECT_FALSE(LiesExportWAVVerkuerztesMZTonbandFormat());
}

TEST_F(ProgrammEinstellungen, ModellAusserhalbDerTabelleGiltAlsMZ80K) {
    SchreibeImportExportEinstellungen(9, false, 22050, false);
    EXPECT_EQ(LiesRoh(QStringLiteral("ImportExportMZModell")).toString(), QStringLiteral("?"));
    EXPECT_EQ(HoleImportExportMZModell(), MZ80K);
    LadeEinstellungen();
    EXPECT_EQ(HoleImportExportMZModell(), MZ80K);
}

TEST_F(ProgrammEinstellungen, UnbrauchbarerSpeicherMeldetDenFestenText) {
    SchreibeSprache(true); // the file exists and has been read once
    const QString datei = EinstellungsDatei();
    ASSERT_TRUE(QFile::remove(datei));
    // A directory in place of the file: neither readable nor writable, even for root.
    ASSERT_TRUE(QDir().mkpath(datei));

    try {
        SchreibeHaftungsAusschlussAkzeptiert(true);
        ADD_FAILURE() << "no error on writing";
    } catch (const TEinstellungenFehler& e) {
        EXPECT_EQ(e.Text(), SpeicherFehlerText());
        EXPECT_EQ(QString::fromUtf8(e.what()), SpeicherFehlerText());
    }
    EXPECT_EQ(skript.sanduhrTiefe, 0) << "hourglass left on after the failure";
    EXPECT_GE(skript.sanduhrAnzahl, 2);

    EXPECT_THROW(LiesSprache(), TEinstellungenFehler);
    EXPECT_THROW(LadeEinstellungen(), TEinstellungenFehler);
    EXPECT_THROW(SchreibeImportExportEinstellungen(MZ700, true, 8000, true), TEinstellungenFehler);
    // A failed write leaves the in-memory values as they were.
    EXPECT_EQ(HoleImportExportMZModell(), MZ80K);
    EXPECT_EQ(HoleExportWAVSampleRate(), 22050);
    EXPECT_EQ(skript.sanduhrTiefe, 0);
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(ProgrammEinstellungen, OrdnerDesSpeichersNichtAnlegbar) {
    // The store's folder is taken by a file: the key cannot be created, also when only reading.
    const QString ordner = QFileInfo(EinstellungsDatei()).absolutePath();
    ASSERT_TRUE(QDir(ordner).removeRecursively());
    SchreibeDatei(ordner, "kein Ordner");
    EXPECT_THROW(LiesHaftungsAusschlussAkzeptiert(), TEinstellungenFehler);
    EXPECT_THROW(SchreibeFormHauptPosition(1, 2), TEinstellungenFehler);
    EXPECT_EQ(skript.sanduhrTiefe, 0);
    QFile::remove(ordner);
}

// Run in a child process with a chosen locale, see below.
TEST(ProgrammEinstellungenKind, DISABLED_StandardSprache) {
    const QByteArray erwartet = qgetenv("BANDWERK_TEST_SPRACHE");
    ASSERT_FALSE(erwartet.isEmpty());
    EXPECT_EQ(StandardSpracheIstEnglisch(), erwartet == "E");
    // With nothing stored the language comes from the user's locale.
    EXPECT_EQ(LiesSprache(), erwartet == "E");
}

TEST(ProgrammEinstellungenSprache, StandardSpracheFolgtDemBenutzerGebietsschema) {
    const QString programm = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    ASSERT_FALSE(programm.isEmpty());
    const struct {
        const char* gebiet;
        const char* erwartet;
    } faelle[] = {
        {"de_DE.UTF-8", "D"}, {"de_AT.UTF-8", "D"}, {"en_US.UTF-8", "E"}, {"fr_FR.UTF-8", "E"}, {"C", "E"}};
    for (const auto& f : faelle) {
        QProcess kind;
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(QStringLiteral("LC_ALL"), QLatin1String(f.gebiet));
        umgebung.insert(QStringLiteral("LANG"), QLatin1String(f.gebiet));
        umgebung.remove(QStringLiteral("LANGUAGE"));
        umgebung.insert(QStringLiteral("BANDWERK_TEST_SPRACHE"), QLatin1String(f.erwartet));
        kind.setProcessEnvironment(umgebung);
        kind.setProcessChannelMode(QProcess::MergedChannels);
        kind.start(programm,
                   {QStringLiteral("--gtest_also_run_disabled_tests"),
                    QStringLiteral("--gtest_filter=ProgrammEinstellungenKind.DISABLED_StandardSprache")});
        ASSERT_TRUE(kind.waitForFinished(60000)) << f.gebiet;
        const QByteArray ausgabe = kind.readAll();
        EXPECT_EQ(kind.exitCode(), 0) << f.gebiet << "\n" << ausgabe.toStdString();
        EXPECT_TRUE(ausgabe.contains("[  PASSED  ] 1 test")) << f.gebiet << "\n" << ausgabe.toStdString();
    }
}
