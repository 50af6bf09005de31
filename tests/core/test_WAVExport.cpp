#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace {

constexpr int Kopf = 44;

struct TEreignisse {
    int beginn = 0;
    int ende = 0;
    std::vector<double> fortschritt;
    int sanduhrBeimBeginn = -1;
    int sanduhrBeimEnde = -1;
    int sanduhrImFortschritt = -1;
};

class WAVExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        verzeichnis = TestVerzeichnis();
    }
    void TearDown() override { EinstellungenLeeren(); }

    void Lade(int groesse) {
        ASSERT_TRUE(LadeBild(datei, NullBild(groesse)));
        skript.Leeren();
        skript.sanduhrAnzahl = 0;
    }
    void BindeEreignisse() {
        datei.BeiBeginn = [this](TMZFDatei* s) {
            EXPECT_EQ(s, &datei);
            ++ereignisse.beginn;
            ereignisse.sanduhrBeimBeginn = skript.sanduhrTiefe;
        };
        datei.BeiFortschritt = [this](TMZFDatei* s, double p) {
            EXPECT_EQ(s, &datei);
            ereignisse.fortschritt.push_back(p);
            ereignisse.sanduhrImFortschritt = skript.sanduhrTiefe;
        };
        datei.BeiEnde = [this](TMZFDatei* s) {
            EXPECT_EQ(s, &datei);
            ++ereignisse.ende;
            ereignisse.sanduhrBeimEnde = skript.sanduhrTiefe;
        };
    }
    QString Pfad(const QString& name) const { return verzeichnis + QLatin1Char('/') + name; }

    TPlattformSkript skript;
    TMZFDatei datei;
    TEreignisse ereignisse;
    QString verzeichnis;
};

} // namespace

// Sizes below: N = 44 + 2 x rate + ones x long pulse + zeros x short pulse (+1 if odd). A 256-byte
// zero body gives 846 ones in 36,014 + 18 x 256 = 40,622 characters: the marks 40 + 20, six
// separators, two header blocks of 132 (130 start bits, the size's high byte 0x01, the checksum's
// low byte 0x01) and two body blocks of 258 start bits.
TEST_F(WAVExportTest, GroesseDesVollenFormatsFolgtDerLaengeDesBitTexts) {
    Lade(256);
    SchreibeImportExportEinstellungen(MZ80K, false, 22050, false);
    ASSERT_TRUE(datei.ExportWAV(Pfad(QStringLiteral("a.wav"))));
    const QByteArray f = LiesDatei(Pfad(QStringLiteral("a.wav")));
    // 846 x 21 + 39,776 x 11 = 455,302 samples of pulses.
    ASSERT_EQ(f.size(), 499446);
    EXPECT_EQ(f.left(4), "RIFF");
    EXPECT_EQ(Le32(f, 4), 499438u);
    EXPECT_EQ(Le32(f, 24), 22050u);
    EXPECT_EQ(Le32(f, 40), 499402u);
    // Lead-in, then the long gap: 22,000 short pulses of 5 x 64 and 6 x 192, then the long mark.
    EXPECT_EQ(f.mid(Kopf, 22050), QByteArray(22050, '\x80'));
    const QByteArray kurz = QByteArray(5, '\x40') + QByteArray(6, '\xC0');
    const QByteArray lang = QByteArray(10, '\x40') + QByteArray(11, '\xC0');
    EXPECT_EQ(f.mid(Kopf + 22050, 11), kurz);
    EXPECT_EQ(f.mid(Kopf + 22050 + 21999 * 11, 11), kurz);
    EXPECT_EQ(f.mid(Kopf + 22050 + 22000 * 11, 21), lang);
    EXPECT_EQ(f.right(22050), QByteArray(22050, '\x80'));
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(WAVExportTest, GroessenJeModellFormatUndRate) {
    struct TFall {
        int groesse;
        quint8 modell;
        bool verkuerzt;
        quint16 rate;
        int n;
    };
    const TFall faelle[] = {
        // shortened: 17,312 + 9 x 256 = 19,616 characters, 454 ones: 454 x 21 + 19,162 x 11 = 220,316
        {256, MZ80K, true, 22050, 264460},
        // MZ-80B gap: 24,014 + 4,608 = 28,622 characters: 846 x 15 + 27,776 x 8 = 234,898
        {256, MZ80B, false, 22050, 279042},
        // MZ-700 at 44100: 846 x 42 + 39,776 x 22 = 910,604
        {256, MZ700, false, 44100, 998848},
        // MZ-800 at 8000: 846 x 8 + 39,776 x 5 = 205,648
        {256, MZ800, false, 8000, 221692},
        // empty body: 36,014 characters, 330 ones: 330 x 21 + 35,684 x 11 = 399,454
        {0, MZ80C, false, 22050, 443598},
        // MZ-80B shortened at 8000 (the gap only changes the full format): 454 x 6 + 19,162 x 3 = 60,210
        {256, MZ80B, true, 8000, 76254},
    };
    Lade(256);
    for (const TFall& fall : faelle) {
        SCOPED_TRACE(testing::Message() << "model " << int(fall.modell) << " rate " << fall.rate);
        if (datei.HoleMZDateiGroesse() != fall.groesse)
            Lade(fall.groesse);
        SchreibeImportExportEinstellungen(fall.modell, fall.verkuerzt, fall.rate, false);
        const QString pfad = Pfad(QStringLiteral("g.wav"));
        ASSERT_TRUE(datei.ExportWAV(pfad));
        const QByteArray f = LiesDatei(pfad);
        EXPECT_EQ(f.size(), fall.n);
        EXPECT_EQ(Le32(f, 40), static_cast<std::uint32_t>(fall.n - 44));
        EXPECT_EQ(Le32(f, 28), fall.rate);
    }
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(WAVExportTest, InvertierterExportNutztGespiegeltePegel) {
    Lade(0);
    SchreibeImportExportEinstellungen(MZ80K, false, 22050, true);
    ASSERT_TRUE(datei.ExportWAV(Pfad(QStringLiteral("i.wav"))));
    const QByteArray f = LiesDatei(Pfad(QStringLiteral("i.wav")));
    ASSERT_EQ(f.size(), 443598);
    EXPECT_EQ(f.mid(Kopf + 22050, 11), QByteArray(5, '\xBF') + QByteArray(6, '\x3F'));
    for (int j = Kopf; j < f.size(); ++j) {
        const auto s = static_cast<std::uint8_t>(f[j]);
        ASSERT_TRUE(s == 63 || s == 128 || s == 191) << "offset " << j;
    }
}

TEST_F(WAVExportTest, EreignisseSanduhrUndFortschrittAlleZehntausendPulse) {
    Lade(256);
    SchreibeImportExportEinstellungen(MZ80K, false, 22050, false);
    BindeEreignisse();
    skript.sanduhrAnzahl = 0;
    ASSERT_TRUE(datei.ExportWAV(Pfad(QStringLiteral("e.wav"))));
    EXPECT_EQ(ereignisse.beginn, 1);
    EXPECT_EQ(ereignisse.ende, 1);
    EXPECT_EQ(ereignisse.sanduhrBeimBeginn, 0); // raised before the hourglass
    EXPECT_EQ(ereignisse.sanduhrImFortschritt, 1);
    EXPECT_EQ(ereignisse.sanduhrBeimEnde, 0); // cursor restored first
    EXPECT_EQ(skript.sanduhrAnzahl, 1);
    // 40,622 pulses: after 10,000, 20,000, 30,000 and 40,000.
    ASSERT_EQ(ereignisse.fortschritt.size(), 4u);
    EXPECT_NEAR(ereignisse.fortschritt[0], 24.617203, 1e-6);
    EXPECT_NEAR(ereignisse.fortschritt[1], 49.234405, 1e-6);
    EXPECT_NEAR(ereignisse.fortschritt[2], 73.851608, 1e-6);
    EXPECT_NEAR(ereignisse.fortschritt[3], 98.468810, 1e-6);
}

TEST_F(WAVExportTest, FortschrittErreichtGenauHundertBeiVielfacherLaenge) {
    // 36,014 + 18 x 777 = 50,000 pulses.
    Lade(777);
    SchreibeImportExportEinstellungen(MZ80K, false, 8000, false);
    BindeEreignisse();
    ASSERT_TRUE(datei.ExportWAV(Pfad(QStringLiteral("h.wav"))));
    EXPECT_EQ(ereignisse.fortschritt, (std::vector<double>{20.0, 40.0, 60.0, 80.0, 100.0}));
}

TEST_F(WAVExportTest, NichtsGeladenMeldetOhneDateiUndOhneEreignis) {
    BindeEreignisse();
    skript.sanduhrAnzahl = 0;
    const QString pfad = Pfad(QStringLiteral("n.wav"));
    EXPECT_FALSE(datei.ExportWAV(pfad));
    EXPECT_EQ(skript.Fehler(), QStringList{QStringLiteral("There is no MZF-file loaded!")});
    EXPECT_FALSE(QFile::exists(pfad));
    EXPECT_EQ(ereignisse.beginn, 0);
    EXPECT_EQ(ereignisse.ende, 0);
    EXPECT_TRUE(ereignisse.fortschritt.empty());
    EXPECT_EQ(skript.sanduhrAnzahl, 0);
}

TEST_F(WAVExportTest, UnerzeugbaresZielZeigtNurDieMeldungDesSchreibers) {
    Lade(16);
    BindeEreignisse();
    const QString pfad = Pfad(QStringLiteral("fehlt/x.wav"));
    EXPECT_FALSE(datei.ExportWAV(pfad));
    ASSERT_EQ(skript.nachrichten.size(), 1);
    EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Fehler);
    EXPECT_TRUE(skript.nachrichten[0].text.startsWith(QStringLiteral("Error writing the file ") + pfad +
                                                      QStringLiteral("!\r\n")));
    EXPECT_EQ(ereignisse.beginn, 1);
    EXPECT_EQ(ereignisse.ende, 1);
    EXPECT_EQ(ereignisse.sanduhrBeimEnde, 0);
    EXPECT_EQ(skript.sanduhrAnzahl, 1);
    EXPECT_TRUE(ereignisse.fortschritt.empty());
    EXPECT_FALSE(QFile::exists(pfad));
}

TEST_F(WAVExportTest, ScheiterndesSchreibenHaeltAnUndRaeumtAuf) {
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    Lade(256);
    SchreibeImportExportEinstellungen(MZ80K, false, 22050, false);
    BindeEreignisse();
    EXPECT_FALSE(datei.ExportWAV(QStringLiteral("/dev/full")));
    ASSERT_EQ(skript.Fehler().size(), 1);
    EXPECT_TRUE(skript.Fehler()[0].startsWith(QStringLiteral("Error writing the file /dev/full!")));
    EXPECT_EQ(ereignisse.beginn, 1);
    EXPECT_EQ(ereignisse.ende, 1);
    // The first block fails with pulse 3,950 of the gap, before any progress report.
    EXPECT_TRUE(ereignisse.fortschritt.empty());
    EXPECT_EQ(ereignisse.sanduhrBeimEnde, 0);
    EXPECT_FALSE(datei.IstGeaendert());
}

TEST_F(WAVExportTest, VerkuerztWirdBeiJedemExportGelesen) {
    Lade(256);
    SchreibeImportExportEinstellungen(MZ80K, false, 22050, false);
    ASSERT_TRUE(datei.ExportWAV(Pfad(QStringLiteral("1.wav"))));
    SchreibeImportExportEinstellungen(MZ80K, true, 22050, false);
    ASSERT_TRUE(datei.ExportWAV(Pfad(QStringLiteral("2.wav"))));
    SchreibeImportExportEinstellungen(MZ80K, false, 22050, false);
    ASSERT_TRUE(datei.ExportWAV(Pfad(QStringLiteral("3.wav"))));
    EXPECT_EQ(LiesDatei(Pfad(QStringLiteral("1.wav"))).size(), 499446);
    EXPECT_EQ(LiesDatei(Pfad(QStringLiteral("2.wav"))).size(), 264460);
    EXPECT_EQ(LiesDatei(Pfad(QStringLiteral("3.wav"))).size(), 499446);
}

TEST_F(WAVExportTest, ZweiExporteGleichUndDatensatzUnberuehrt) {
    TMZFBild bild;
    bild.rumpf = RumpfMitBytes(3000, 7);
    ASSERT_TRUE(LadeBild(datei, bild));
    const QString pfadVorher = datei.HoleDateiPfad();
    SchreibeImportExportEinstellungen(MZ700, false, 31250, true);
    ASSERT_TRUE(datei.ExportWAV(Pfad(QStringLiteral("x.wav"))));
    ASSERT_TRUE(datei.ExportWAV(Pfad(QStringLiteral("y.wav"))));
    const QByteArray x = LiesDatei(Pfad(QStringLiteral("x.wav")));
    EXPECT_GT(x.size(), 1000000);
    EXPECT_EQ(x, LiesDatei(Pfad(QStringLiteral("y.wav"))));
    EXPECT_FALSE(datei.IstGeaendert());
    EXPECT_EQ(datei.HoleDateiPfad(), pfadVorher);
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 3000);
}

TEST_F(WAVExportTest, VorhandenesZielWirdErsetzt) {
    Lade(0);
    SchreibeImportExportEinstellungen(MZ80K, false, 22050, false);
    const QString pfad = Pfad(QStringLiteral("alt.wav"));
    SchreibeDatei(pfad, QByteArray(2'000'000, 'x'));
    ASSERT_TRUE(datei.ExportWAV(pfad));
    EXPECT_EQ(LiesDatei(pfad).size(), 443598);
}

TEST_F(WAVExportTest, AusnahmeAusDemFortschrittRaeumtTrotzdemAuf) {
    Lade(256);
    SchreibeImportExportEinstellungen(MZ80K, false, 22050, false);
    BindeEreignisse();
    datei.BeiFortschritt = [](TMZFDatei*, double) { throw std::runtime_error("stop"); };
    const QString pfad = Pfad(QStringLiteral("w.wav"));
    EXPECT_THROW(datei.ExportWAV(pfad), std::runtime_error);
    EXPECT_EQ(ereignisse.beginn, 1);
    EXPECT_EQ(ereignisse.ende, 1);
    EXPECT_EQ(ereignisse.sanduhrBeimEnde, 0);
    EXPECT_EQ(skript.sanduhrTiefe, 0);
    // Stopped after 10,000 pulses: the half-written file went with the writer, nothing is left.
    EXPECT_TRUE(DateienIn(QFileInfo(pfad).path()).isEmpty());
}
