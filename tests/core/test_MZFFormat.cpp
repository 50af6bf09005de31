#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "SprachenTexte.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
class MZFFormatTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        plattform.sanduhrAnzahl = 0; // storing the language shows the hourglass too
    }
    void TearDown() override { EXPECT_EQ(plattform.sanduhrTiefe, 0); }

    // Loads the file and expects exactly one error with the given text.
    void ErwarteLadefehler(const QString& pfad, const QString& text) {
        plattform.Leeren();
        EXPECT_FALSE(datei.Laden(pfad));
        EXPECT_FALSE(datei.IstGeladen());
        EXPECT_EQ(plattform.Fehler(), QStringList{text});
    }
    void ErwarteBeschaedigt(const QByteArray& inhalt) {
        const QString pfad = SchreibeTestDatei(inhalt);
        ErwarteLadefehler(pfad, HoleTextMitParametern(QStringLiteral("Fehler_DateiBeschaedigt"), pfad));
    }

    TPlattformSkript plattform;
    TMZFDatei datei;
};

QByteArray Kopf(const TMZFDatei& d) {
    return QByteArray(reinterpret_cast<const char*>(d.Kopf().data()), 128);
}

TEST_F(MZFFormatTest, LeererPfad) {
    ErwarteLadefehler(QString(),
                      HoleTextMitParametern(QStringLiteral("Fehler_UngueltigerDateiname"), QString()));
    EXPECT_EQ(plattform.Fehler().first(), QStringLiteral("Invalid filename: "));
    EXPECT_EQ(plattform.sanduhrAnzahl, 0);
}

TEST_F(MZFFormatTest, ZuGrosseDateiWirdVorDemLesenAbgewiesen) {
    const QString pfad = SchreibeTestDatei(QByteArray(102401, '\0'));
    ErwarteLadefehler(pfad, HoleTextMitParametern(QStringLiteral("Fehler_DateiZuGross"), pfad));
    EXPECT_EQ(plattform.Fehler().first(), QStringLiteral("The file %1 is too large!").arg(pfad));
    EXPECT_EQ(plattform.sanduhrAnzahl, 1);

    // 102,400 bytes pass the size check, then the body is too long.
    ErwarteBeschaedigt(QByteArray(102400, '\0'));

    // Past 4 GiB a 32-bit size would wrap to 200 bytes; a sparse file costs no disk.
    const QString riesig = SchreibeTestDatei(QByteArray(10, '\0'));
    {
        QFile f(riesig);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        if (!f.resize((qint64(1) << 32) + 200))
            GTEST_SKIP() << "no sparse file here";
    }
    ErwarteLadefehler(riesig, HoleTextMitParametern(QStringLiteral("Fehler_DateiZuGross"), riesig));
    QFile::remove(riesig);
}

TEST_F(MZFFormatTest, NichtLesbareDatei) {
    const QString fehlt = TestVerzeichnis() + QStringLiteral("/fehlt.mzf");
    QFile probe(fehlt);
    ASSERT_FALSE(probe.open(QIODevice::ReadOnly));
    ErwarteLadefehler(fehlt,
                      HoleTextMitParametern(QStringLiteral("Fehler_DateiLesen"), fehlt, probe.errorString()));
    EXPECT_TRUE(plattform.Fehler().first().startsWith(
        QStringLiteral("Error reading the file %1!\r\n\r\nError-description: ").arg(fehlt)));
    EXPECT_GT(plattform.Fehler().first().size(),
              HoleTextMitParametern(QStringLiteral("Fehler_DateiLesen"), fehlt, {}).size());

    const QString verzeichnis = TestVerzeichnis();
    plattform.Leeren();
    EXPECT_FALSE(datei.Laden(verzeichnis));
    ASSERT_EQ(plattform.Fehler().size(), 1);
    EXPECT_TRUE(plattform.Fehler().first().startsWith(
        HoleTextMitParametern(QStringLiteral("Fehler_DateiLesen"), verzeichnis, QString())));
}

TEST_F(MZFFormatTest, ZuKurzeDateien) {
    ErwarteBeschaedigt(QByteArray());
    ErwarteBeschaedigt(QByteArray(127, '\x01'));
    const QString pfad = SchreibeTestDatei(QByteArray("MZF1") + QByteArray(127, '\x01'));
    ErwarteLadefehler(pfad, HoleTextMitParametern(QStringLiteral("Fehler_DateiBeschaedigt"), pfad));
    EXPECT_EQ(plattform.Fehler().first(),
              QStringLiteral("The file %1 is corrupted or contains a not-supported format!").arg(pfad));
}

TEST_F(MZFFormatTest, RumpfGrenzen) {
    TMZFBild bild;
    bild.rumpf = RumpfMitBytes(65535, 3);
    ASSERT_TRUE(LadeBild(datei, bild));
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 65535);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(datei.Rumpf()), 65535), bild.rumpf);

    bild.rumpf.append('\0');
    ErwarteBeschaedigt(bild.Bytes());
    ErwarteBeschaedigt(QByteArray("MZF1") + bild.Bytes());
    bild.rumpf.chop(1);
    ASSERT_TRUE(datei.Laden(SchreibeTestDatei(QByteArray("MZF1") + bild.Bytes())));
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 65535);
}

TEST_F(MZFFormatTest, NurKopfGibtLeerenRumpfWasAuchImGroessenfeldSteht) {
    TMZFBild bild;
    bild.groessenFeld = 0x1234;
    bild.attribut = 0x05;
    ASSERT_TRUE(LadeBild(datei, bild));
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 0);
    EXPECT_EQ(datei.HoleMZDateiAttribut(), 0x05);
    EXPECT_TRUE(datei.HoleMZDateiRumpfText().isEmpty());
    EXPECT_FALSE(datei.IstGeaendert());
    EXPECT_EQ(plattform.sanduhrAnzahl, 1);
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
}

TEST_F(MZFFormatTest, MZF1Praefix) {
    TMZFBild bild;
    bild.attribut = 0x02;
    bild.name = "PRAEFIX\x0D";
    bild.ladeAdresse = 0x4000;
    bild.groessenFeld = 0x9999;
    ASSERT_TRUE(datei.Laden(SchreibeTestDatei(QByteArray("MZF1") + bild.Bytes())));
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 0);
    EXPECT_EQ(datei.HoleMZDateiAttribut(), 0x02);
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("PRAEFIX"));
    EXPECT_EQ(datei.HoleMZLadeAdresse(), 0x4000);

    // A plain header whose first bytes spell "MZF1" is taken as prefixed: read from offset 4.
    TMZFBild tarnung;
    tarnung.attribut = 0x4D;
    tarnung.name = QByteArray("ZF1") + QByteArray(14, 'A');
    tarnung.rumpf = RumpfMitBytes(10);
    const QByteArray bytes = tarnung.Bytes();
    ASSERT_TRUE(datei.Laden(SchreibeTestDatei(bytes)));
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 6);
    EXPECT_EQ(Kopf(datei).mid(0, 18), bytes.mid(4, 18));
    EXPECT_EQ(Kopf(datei).mid(20), bytes.mid(24, 108));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(datei.Rumpf()), 6), bytes.mid(132));
}

TEST_F(MZFFormatTest, GroesseKommtAusDerDateilaenge) {
    TMZFBild bild;
    bild.groessenFeld = 0x1000;
    bild.rumpf = RumpfMitBytes(0x0800);
    ASSERT_TRUE(LadeBild(datei, bild));
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 0x0800);
    const QString ziel = TestVerzeichnis() + QStringLiteral("/ziel.mzf");
    ASSERT_TRUE(datei.Speichern(ziel));
    const QByteArray geschrieben = LiesDatei(ziel);
    ASSERT_EQ(geschrieben.size(), 128 + 0x0800);
    EXPECT_EQ(geschrieben.mid(18, 2), QByteArray("\x00\x08", 2));

    // Bytes appended after the body become part of it.
    TMZFBild angehaengt;
    angehaengt.rumpf = RumpfMitBytes(100);
    ASSERT_TRUE(datei.Laden(SchreibeTestDatei(angehaengt.Bytes() + "JUNK")));
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 104);
    EXPECT_EQ(datei.Rumpf()[103], 'K');
}

TEST_F(MZFFormatTest, LadenUndSpeichernErhaeltJedesByte) {
    TMZFBild bild;
    bild.attribut = 0xEE;
    bild.name = QByteArray("NAME\x0D") + QByteArray(12, '\xAA'); // padding after the terminator
    bild.kommentar = QByteArray(104, '\x11');                    // no terminator at all
    bild.ladeAdresse = 0xFFF0;
    bild.startAdresse = 0x0102;
    bild.rumpf = RumpfMitBytes(1000, 7);
    const QByteArray bytes = bild.Bytes();
    const QString quelle = SchreibeTestDatei(QByteArray("MZF1") + bytes);
    ASSERT_TRUE(datei.Laden(quelle));
    EXPECT_EQ(datei.HoleDateiPfad(), quelle);
    const QString ziel = TestVerzeichnis() + QStringLiteral("/kopie.mzf");
    ASSERT_TRUE(datei.Speichern(ziel));
    EXPECT_EQ(LiesDatei(ziel), bytes);
    EXPECT_EQ(datei.HoleDateiPfad(), ziel);
    EXPECT_EQ(plattform.sanduhrAnzahl, 2);
}

TEST_F(MZFFormatTest, SpeichernSetztFlagsUndPfad) {
    const QString quelle = SchreibeTestDatei(TMZFBild{}.Bytes());
    ASSERT_TRUE(datei.Laden(quelle));
    datei.SetzeMZDateiName(QStringLiteral("NEU"));
    ASSERT_TRUE(datei.IstGeaendert());
    const QString ziel = TestVerzeichnis() + QStringLiteral("/neu.mzf");
    ASSERT_TRUE(datei.Speichern(ziel));
    EXPECT_FALSE(datei.IstGeaendert());
    EXPECT_EQ(datei.HoleDateiPfad(), ziel);
    EXPECT_EQ(LiesDatei(ziel).mid(1, 17), QByteArray("NEU") + QByteArray(14, '\x0D'));
    // Saving over an existing file replaces it entirely.
    TMZFBild lang;
    lang.rumpf = QByteArray(5000, 'L');
    SchreibeDatei(ziel, lang.Bytes());
    ASSERT_TRUE(datei.Speichern(ziel));
    EXPECT_EQ(LiesDatei(ziel).size(), 128);
}

TEST_F(MZFFormatTest, SpeichernOhneDateiOderPfad) {
    const QString ziel = TestVerzeichnis() + QStringLiteral("/nichts.mzf");
    EXPECT_FALSE(datei.Speichern(ziel));
    EXPECT_EQ(plattform.Fehler(), QStringList{HoleText(QStringLiteral("Fehler_KeineMZFDateiGeladen"))});
    EXPECT_EQ(plattform.Fehler().first(), QStringLiteral("There is no MZF-file loaded!"));
    EXPECT_FALSE(QFile::exists(ziel));

    const QString quelle = SchreibeTestDatei(TMZFBild{}.Bytes());
    ASSERT_TRUE(datei.Laden(quelle));
    datei.SetzeMZStartAdresse(1);
    plattform.Leeren();
    EXPECT_FALSE(datei.Speichern(QString()));
    EXPECT_EQ(plattform.Fehler(),
              QStringList{HoleTextMitParametern(QStringLiteral("Fehler_UngueltigerDateiname"), QString())});
    EXPECT_TRUE(datei.IstGeaendert());
    EXPECT_EQ(datei.HoleDateiPfad(), quelle);
}

TEST_F(MZFFormatTest, FehlgeschlagenesSpeichernLaesstDatensatzUndZielUnveraendert) {
    const QString quelle = SchreibeTestDatei(TMZFBild{}.Bytes());
    ASSERT_TRUE(datei.Laden(quelle));
    datei.SetzeMZStartAdresse(0x2000);
    const QString verzeichnis = TestVerzeichnis();

    const QString ohneOrdner = verzeichnis + QStringLiteral("/fehlt/x.mzf");
    plattform.Leeren();
    EXPECT_FALSE(datei.Speichern(ohneOrdner));
    ASSERT_EQ(plattform.Fehler().size(), 1);
    EXPECT_TRUE(plattform.Fehler().first().startsWith(
        QStringLiteral("Error writing the file %1!\r\n\r\nError-description: ").arg(ohneOrdner)));
    EXPECT_TRUE(plattform.Fehler().first().startsWith(
        HoleTextMitParametern(QStringLiteral("Fehler_DateiSchreiben"), ohneOrdner, QString())));
    EXPECT_TRUE(datei.IstGeaendert());
    EXPECT_EQ(datei.HoleDateiPfad(), quelle);
    EXPECT_FALSE(QFileInfo::exists(verzeichnis + QStringLiteral("/fehlt")));

    // A directory as target: it stays a directory with its contents.
    const QString ordner = verzeichnis + QStringLiteral("/ordner.mzf");
    ASSERT_TRUE(QDir().mkpath(ordner));
    SchreibeDatei(ordner + QStringLiteral("/drin"), "alt");
    plattform.Leeren();
    EXPECT_FALSE(datei.Speichern(ordner));
    EXPECT_EQ(plattform.Fehler().size(), 1);
    EXPECT_TRUE(QFileInfo(ordner).isDir());
    EXPECT_EQ(LiesDatei(ordner + QStringLiteral("/drin")), QByteArray("alt"));
    EXPECT_TRUE(datei.IstGeaendert());
    EXPECT_EQ(QDir(verzeichnis).entryList(QDir::Files | QDir::Hidden).size(), 0) << "no temporary file left";
}

TEST_F(MZFFormatTest, SpeichernUeberschreibtDieAlteDateiNieAnOrtUndStelle) {
    const QString verzeichnis = TestVerzeichnis();
    const QString ziel = verzeichnis + QStringLiteral("/alt.mzf");
    TMZFBild alt;
    alt.rumpf = QByteArray(2000, 'A');
    SchreibeDatei(ziel, alt.Bytes());
    // A second name of the same old file keeps the old contents when the new file is renamed in.
    const QString zweiterName = verzeichnis + QStringLiteral("/link.mzf");
    ASSERT_EQ(::link(QFile::encodeName(ziel).constData(), QFile::encodeName(zweiterName).constData()), 0);

    TMZFBild neu;
    neu.rumpf = QByteArray(5000, 'N');
    ASSERT_TRUE(LadeBild(datei, neu));
    ASSERT_TRUE(datei.Speichern(ziel));
    EXPECT_EQ(LiesDatei(ziel), neu.Bytes());
    EXPECT_EQ(LiesDatei(zweiterName), alt.Bytes());

    // A write that fails half way (file size limit, which binds root too) leaves the old file.
    SchreibeDatei(ziel, alt.Bytes());
    rlimit vorher{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &vorher), 0);
    const auto alterHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit eng = vorher;
    eng.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &eng), 0);
    plattform.Leeren();
    const bool ergebnis = datei.Speichern(ziel);
    setrlimit(RLIMIT_FSIZE, &vorher);
    std::signal(SIGXFSZ, alterHandler);
    EXPECT_FALSE(ergebnis);
    ASSERT_EQ(plattform.Fehler().size(), 1);
    EXPECT_TRUE(plattform.Fehler().first().startsWith(
        HoleTextMitParametern(QStringLiteral("Fehler_DateiSchreiben"), ziel, QString())));
    EXPECT_EQ(LiesDatei(ziel), alt.Bytes());
    EXPECT_EQ(QDir(verzeichnis).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file left";
}

TEST_F(MZFFormatTest, InEinemGesperrtenOrdnerBleibtDieAlteDateiGanz) {
    // The folder takes no new file, the file itself may be written: saving is refused rather
    // than done in place, where a failure half-way would cut the only copy.
    TMZFBild neu;
    neu.rumpf = QByteArray(300, 'N');
    ASSERT_TRUE(LadeBild(datei, neu));
    const QString ziel = GesperrterOrdnerMitDatei(QStringLiteral("spiel.mzf"), "alt");
    ASSERT_FALSE(ziel.isEmpty());
    const int status = ImKindprozess([&] { return datei.Speichern(ziel) ? 0 : 1; }, true);
    Entsperre(ziel);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(LiesDatei(ziel), QByteArray("alt"));
}

TEST_F(MZFFormatTest, FehlgeschlagenesLadenLeertDenDatensatz) {
    ASSERT_TRUE(LadeBild(datei, TMZFBild{}));
    datei.SetzeMZDateiName(QStringLiteral("UNGESPEICHERT"));
    ErwarteBeschaedigt(QByteArray(10, 'x'));
    EXPECT_FALSE(datei.IstGeaendert());
    EXPECT_TRUE(datei.HoleDateiPfad().isEmpty());
    EXPECT_TRUE(datei.HoleMZDateiName().isEmpty());

    ASSERT_TRUE(LadeBild(datei, TMZFBild{}));
    ErwarteLadefehler(QString(),
                      HoleTextMitParametern(QStringLiteral("Fehler_UngueltigerDateiname"), QString()));
}

TEST_F(MZFFormatTest, JedeMZFDesKorpusLaedtMitIhrenKopfbytes) {
    QDirIterator it(QStringLiteral(BANDWERK_KORPUS), {QStringLiteral("*.mzf"), QStringLiteral("*.MZF")},
                    QDir::Files, QDirIterator::Subdirectories);
    int anzahl = 0;
    while (it.hasNext()) {
        const QString pfad = it.next();
        const QByteArray bytes = LiesDatei(pfad);
        ASSERT_GE(bytes.size(), 128) << pfad.toStdString();
        ASSERT_TRUE(datei.Laden(pfad)) << pfad.toStdString();
        const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        EXPECT_EQ(datei.HoleMZDateiAttribut(), b[0]);
        EXPECT_EQ(datei.HoleMZDateiGroesse(), bytes.size() - 128);
        EXPECT_EQ(datei.HoleMZLadeAdresse(), b[20] | (b[21] << 8));
        EXPECT_EQ(datei.HoleMZStartAdresse(), b[22] | (b[23] << 8));
        EXPECT_EQ(Kopf(datei).mid(0, 18), bytes.mid(0, 18));
        EXPECT_EQ(Kopf(datei).mid(20), bytes.mid(20, 108));
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(datei.Rumpf()), bytes.size() - 128),
                  bytes.mid(128));
        ++anzahl;
    }
    EXPECT_GE(anzahl, 20);
    EXPECT_TRUE(plattform.nachrichten.isEmpty());

    ASSERT_TRUE(datei.Laden(KorpusPfad(QStringLiteral("gunterhager-mz800-emuz/TestWriteCharacters.mzf"))));
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("TESTWRITECHARACT"));
    ASSERT_TRUE(datei.Laden(KorpusPfad(QStringLiteral("psychotimmy-Sharp-MZ-700/GNU BLAT 2000.mzf"))));
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("GNU BLAT 2000"));
    EXPECT_EQ(datei.HoleMZDateiAttribut(), 0x05);
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 10936);
}
} // namespace
