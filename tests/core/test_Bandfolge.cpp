// Several MZ files on one tape: written one after another as a machine saves them in turn, and
// read back in that order.
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "MZImpulsGenerator.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

class Bandfolge : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        ordner = TestVerzeichnis();
        const char* namen[] = {"ERSTE", "ZWEITE", "DRITTE"};
        for (int i = 0; i < 3; ++i) {
            dateien.push_back(std::make_unique<TMZFDatei>());
            ASSERT_TRUE(LadeBildMitRumpf(*dateien.back(), RumpfMitBytes(40 + 30 * i, i), namen[i]));
        }
        skript.Leeren();
    }
    void TearDown() override { EinstellungenLeeren(); }

    std::vector<const TMZFDatei*> Weitere() const { return {dateien[1].get(), dateien[2].get()}; }
    void PruefeReihenfolge(const std::vector<std::unique_ptr<TMZFDatei>>& gelesen) {
        ASSERT_EQ(gelesen.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_TRUE(gelesen[i]->IstGleich(*dateien[i])) << i;
    }

    TPlattformSkript skript;
    QString ordner;
    std::vector<std::unique_ptr<TMZFDatei>> dateien;
};

} // namespace

// The tape's bit text is each file's in turn; each file begins with its own gap (22000 short
// pulses on an MZ-80K in the full format), so the gap stands between them.
TEST_F(Bandfolge, BitsSindJedeDateiNacheinanderMitLueckeDazwischen) {
    const TBandEinstellungen voll{.modell = MZ80K};
    const TBandEinstellungen verkuerzt{.modell = MZ80K, .verkuerzt = true};
    const std::string a = dateien[0]->ErzeugeTonbandBits(voll);
    const std::string b = dateien[1]->ErzeugeTonbandBits(voll);
    const std::string band = dateien[0]->ErzeugeBandBits(voll, {dateien[1].get()});
    EXPECT_EQ(band, a + b);
    EXPECT_EQ(a.back(), '1');
    EXPECT_EQ(band.substr(a.size(), 22000), std::string(22000, '0'));
    EXPECT_EQ(band[a.size() + 22000], '1'); // the long mark
    EXPECT_EQ(dateien[0]->ErzeugeBandBits(verkuerzt, {}), dateien[0]->ErzeugeTonbandBits(verkuerzt));
}

TEST_F(Bandfolge, MZTDreierDateienLiestSichInReihenfolgeZurueck) {
    const QString pfad = ordner + QStringLiteral("/band.mzt");
    ASSERT_TRUE(dateien[0]->ExportMZT(pfad, {.modell = MZ80K}, Weitere()));
    // Eight pulses a byte, the last byte filled with zero bits.
    const std::string bits = dateien[0]->ErzeugeBandBits({.modell = MZ80K}, Weitere());
    EXPECT_EQ(HoleDateiGroesse(pfad), static_cast<qint64>((bits.size() + 7) / 8));
    std::vector<std::unique_ptr<TMZFDatei>> gelesen;
    ASSERT_TRUE(TMZFDatei::LeseAlleAusMZT(pfad, gelesen));
    PruefeReihenfolge(gelesen);
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(Bandfolge, WAVDreierDateienLiestSichInReihenfolgeZurueck) {
    for (const int modell : {MZ80K, MZ700}) {
        SchreibeImportExportEinstellungen(static_cast<quint8>(modell), true, StandardSampleRate, false);
        const QString pfad = ordner + QStringLiteral("/band.wav");
        ASSERT_TRUE(dateien[0]->ExportWAV(pfad, Weitere()));
        TMZFDatei arbeit;
        std::vector<std::unique_ptr<TMZFDatei>> gelesen;
        ASSERT_TRUE(arbeit.LeseAlleAusWAV(pfad, {.modell = static_cast<quint8>(modell)}, gelesen));
        PruefeReihenfolge(gelesen);
    }
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

// The WAV export and the signal the tape deck plays are the same samples: a real program,
// exported, against the generator's stream of its bit text.
TEST_F(Bandfolge, ExportierteWAVIstDasSignalDesGenerators) {
    TMZFDatei datei;
    ASSERT_TRUE(datei.Laden(KorpusPfad(QStringLiteral("psychotimmy-Sharp-MZ-700/GNU BLAT 2000.mzf"))));
    SchreibeImportExportEinstellungen(MZ700, false, 44100, true);
    const QString pfad = ordner + QStringLiteral("/blat.wav");
    ASSERT_TRUE(datei.ExportWAV(pfad, {dateien[0].get()}));
    const QByteArray wav = LiesDatei(pfad);
    TMZTonbandSignal signal(datei.ErzeugeBandBits({.modell = MZ700}, {dateien[0].get()}),
                            TMZImpulsGenerator(MZ700, 44100, true));
    QByteArray erwartet(static_cast<qsizetype>(signal.AnzahlSamples()), '\0');
    ASSERT_EQ(signal.Fuelle(reinterpret_cast<std::uint8_t*>(erwartet.data()), erwartet.size()),
              erwartet.size());
    EXPECT_EQ(signal.Fuelle(reinterpret_cast<std::uint8_t*>(erwartet.data()), 1), 0);
    // The file: 44 bytes of header, the samples, and one pad sample when the length is odd.
    ASSERT_EQ(wav.size(), 44 + erwartet.size() + (erwartet.size() % 2));
    EXPECT_TRUE(wav.mid(44, erwartet.size()) == erwartet);
}
