#include "Bandaufzeichnung.h"
#include "MZAdaptiverDekoder.h"
#include "MZFDatei.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestBand.h"
#include "TestUmgebung.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// The rate of the recordings TestBand builds, and its pulses in frames (MZ-80K table).
constexpr double Rate = 22050.0;
constexpr double KurzFrames = 11.0;
constexpr double LangFrames = 21.0;

class BandaufzeichnungTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        EinstellungenLeeren();
    }
    // The pulses of the recordings built here are the MZ-80K's.
    const TBandEinstellungen mz80k{.modell = MZ80K};
    QString Aufnahme(const TestBand::TBand& band) {
        return SchreibeTestDatei(band.wav, QStringLiteral("band.wav"));
    }
    TPlattformSkript plattform;
};

TEST(HuelleTest, SpannenStimmenMitDenFramesUeberein) {
    // Frames whose lowest and highest value in any stretch is known only by looking at them all.
    std::vector<std::uint8_t> frames(100000);
    for (std::size_t i = 0; i < frames.size(); ++i)
        frames[i] = static_cast<std::uint8_t>((i * 7919 + i / 1000) % 251);
    THuelle huelle;
    // In pieces of odd sizes, as blocks come.
    for (std::size_t von = 0; von < frames.size(); von += 777)
        huelle.Nimm(frames.data() + von,
                    static_cast<std::int32_t>(std::min<std::size_t>(777, frames.size() - von)));
    huelle.Schliesse();
    EXPECT_EQ(huelle.Frames(), 100000);
    // Stretches on entry boundaries of several levels: exact.
    const std::pair<std::int64_t, std::int64_t> stretches[] = {
        {0, 16}, {16, 48}, {64, 320}, {1024, 5120}, {0, 65536}, {0, 100000}, {98304, 100000}};
    for (const auto& [von, bis] : stretches) {
        const auto [tief, hoch] = std::minmax_element(frames.begin() + von, frames.begin() + bis);
        const THuelle::TSpanne s = huelle.Spanne(von, bis);
        EXPECT_EQ(s.tief, *tief) << von << ".." << bis;
        EXPECT_EQ(s.hoch, *hoch) << von << ".." << bis;
    }
    // Outside the recording nothing; a stretch reaching beyond it ends with it.
    EXPECT_TRUE(huelle.Spanne(100000, 200000).Leer());
    EXPECT_TRUE(huelle.Spanne(-50, 0).Leer());
    EXPECT_FALSE(huelle.Spanne(99990, 200000).Leer());
}

TEST_F(BandaufzeichnungTest, BloeckeUndMarkenStehenWoSieAufgenommenSind) {
    const TestBand::TBand band = TestBand::Baue(
        {ProgrammMZF("FIRST", RumpfMitBytes(300)), ProgrammMZF("SECOND", RumpfMitBytes(40, 9))});
    ASSERT_EQ(band.orte.size(), 2U);
    TBandaufzeichnung a;
    ASSERT_TRUE(a.Lies(Aufnahme(band), mz80k).IstOk());
    EXPECT_EQ(a.Frames(), band.frames);
    EXPECT_EQ(a.Format().sampleRate, 22050U);
    ASSERT_EQ(a.Katalog().size(), 2U);
    EXPECT_EQ(a.Katalog()[0].datei->HoleMZDateiName(), QStringLiteral("FIRST"));
    EXPECT_EQ(a.Katalog()[1].datei->HoleMZDateiName(), QStringLiteral("SECOND"));
    for (std::size_t i = 0; i < 2; ++i) {
        const TKatalogEintrag& e = a.Katalog()[i];
        // A good first copy is all the parser reads of a block.
        ASSERT_EQ(e.bloecke.size(), 2U) << i;
        const TBandBlock& kopf = a.Bloecke()[static_cast<std::size_t>(e.bloecke[0])];
        const TBandBlock& rumpf = a.Bloecke()[static_cast<std::size_t>(e.bloecke[1])];
        EXPECT_TRUE(kopf.kopf);
        EXPECT_FALSE(rumpf.kopf);
        EXPECT_EQ(kopf.kopie, 1);
        EXPECT_EQ(rumpf.kopie, 1);
        // The pulse begins where the level falls through the zero line: at most a frame off.
        EXPECT_NEAR(kopf.beginn, band.orte[i].kopf, 1.0) << i;
        EXPECT_NEAR(rumpf.beginn, band.orte[i].rumpf, 1.0) << i;
        EXPECT_EQ(kopf.zustand, TBlockZustand::Gut);
        EXPECT_EQ(rumpf.zustand, TBlockZustand::Gut);
        EXPECT_EQ(kopf.eintrag, static_cast<int>(i));
        EXPECT_EQ(rumpf.groesse, a.Katalog()[i].datei->HoleMZDateiGroesse());
        // A block lasts its bytes and checksum, nine pulses each, between all short and all long.
        const double impulse = (kopf.groesse + 2) * 9.0;
        EXPECT_GE(kopf.ende - kopf.beginn, impulse * KurzFrames - 1) << i;
        EXPECT_LE(kopf.ende - kopf.beginn, impulse * LangFrames + 1) << i;
    }
    // Two marks a file; their pulses as the table has them.
    ASSERT_EQ(a.Marken().size(), 4U);
    for (const TBandMarke& m : a.Marken()) {
        EXPECT_NEAR(m.kurzMikrosekunden, KurzFrames / Rate * 1e6, 1.0);
        EXPECT_NEAR(m.langMikrosekunden, LangFrames / Rate * 1e6, 1.0);
    }
    EXPECT_TRUE(a.Marken()[0].lang);
    EXPECT_FALSE(a.Marken()[1].lang);
    EXPECT_LT(a.Marken()[0].ende, band.orte[0].kopf + 1);

    // Before each mark its leader, as long as the tape's run of short pulses there, ending where
    // the mark begins.
    TMZFDatei erste;
    ASSERT_TRUE(
        erste.Laden(SchreibeTestDatei(ProgrammMZF("FIRST", RumpfMitBytes(300)), QStringLiteral("l.mzf"))));
    const std::string bits = erste.ErzeugeTonbandBits({.modell = MZ80K});
    const std::size_t langeMarke = bits.find(std::string(TMZFDatei::LangeMarkeImpulse, '1'));
    const std::size_t kurzeMarke = bits.find(std::string(TMZFDatei::KurzeMarkeImpulse, '1') +
                                                 std::string(TMZFDatei::KurzeMarkeImpulse, '0') + '1',
                                             langeMarke + 2 * TMZFDatei::LangeMarkeImpulse + 1);
    const std::size_t kurzerVorlauf = kurzeMarke - bits.rfind('1', kurzeMarke - 1) - 1;
    ASSERT_EQ(a.Vorlaeufe().size(), a.Marken().size());
    for (std::size_t i = 0; i < a.Marken().size(); ++i) {
        const auto [von, bis] = a.Vorlaeufe()[i];
        EXPECT_NEAR(bis, a.Marken()[i].beginn, 1.0) << i;
        const double impulse = a.Marken()[i].lang ? static_cast<double>(langeMarke) : kurzerVorlauf;
        EXPECT_NEAR((bis - von) / KurzFrames, impulse, 2.0) << i;
    }
}

TEST_F(BandaufzeichnungTest, EinGekippterRumpfZeigtSeineZweiteKopie) {
    const TestBand::TBand band = TestBand::Baue({ProgrammMZF("WORN", RumpfMitBytes(200))}, 0);
    TBandaufzeichnung a;
    ASSERT_TRUE(a.Lies(Aufnahme(band), mz80k).IstOk());
    ASSERT_EQ(a.Katalog().size(), 1U);
    // The file comes whole from the second copy.
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(a.Katalog()[0].datei->Rumpf()), 200),
              RumpfMitBytes(200));
    const std::vector<int>& bloecke = a.Katalog()[0].bloecke;
    ASSERT_EQ(bloecke.size(), 3U);
    const TBandBlock& erste = a.Bloecke()[static_cast<std::size_t>(bloecke[1])];
    const TBandBlock& zweite = a.Bloecke()[static_cast<std::size_t>(bloecke[2])];
    EXPECT_FALSE(erste.kopf);
    EXPECT_EQ(erste.kopie, 1);
    EXPECT_EQ(erste.zustand, TBlockZustand::Fehler);
    EXPECT_NEAR(erste.beginn, band.orte[0].rumpf, 1.0);
    EXPECT_EQ(zweite.kopie, 2);
    EXPECT_EQ(zweite.zustand, TBlockZustand::Gut);
    EXPECT_GT(zweite.beginn, erste.ende);
}

// What the view finds is what Import WAV finds with the same settings: the same files in the same
// order, with the same state.
TEST_F(BandaufzeichnungTest, FindetWasDerImportFindet) {
    const char* const aufnahmen[] = {"psychotimmy-Sharp-MZ-700/GNU BLAT 2000.wav",
                                     "gunterhager-mz-800-emulator/TestHalt.wav"};
    for (const char* relativ : aufnahmen)
        for (const bool erweitert : {false, true}) {
            const TBandEinstellungen einstellungen{.modell = MZ80K, .erweitert = erweitert};
            const QString pfad = KorpusPfad(QString::fromUtf8(relativ));
            TMZFDatei leser;
            std::vector<std::unique_ptr<TMZFDatei>> importiert;
            ASSERT_TRUE(leser.LeseAlleAusWAV(pfad, einstellungen, importiert)) << relativ;
            TBandaufzeichnung a;
            ASSERT_TRUE(a.Lies(pfad, einstellungen).IstOk());
            ASSERT_EQ(a.Katalog().size(), importiert.size()) << relativ << erweitert;
            for (std::size_t i = 0; i < importiert.size(); ++i) {
                EXPECT_TRUE(a.Katalog()[i].datei->IstGleich(*importiert[i])) << relativ << erweitert << i;
                EXPECT_EQ(a.Katalog()[i].datei->HoleBefund().zustand, importiert[i]->HoleBefund().zustand);
                EXPECT_FALSE(a.Katalog()[i].bloecke.empty()) << relativ << erweitert << i;
            }
            EXPECT_TRUE(plattform.Fehler().isEmpty());
        }
}

TEST_F(BandaufzeichnungTest, AbbruchBehaeltDasGeleseneOhneMeldung) {
    const std::vector<QByteArray> mzfs = TestBand::Programme(6, 4000);
    const TestBand::TBand band = TestBand::Baue(mzfs);
    std::atomic<bool> abbruch{false};
    int meldungen = 0;
    TBandaufzeichnung a;
    ASSERT_TRUE(a.Lies(
                     Aufnahme(band), mz80k,
                     [&](double) {
                         ++meldungen;
                         abbruch = true;
                     },
                     &abbruch)
                    .IstOk());
    EXPECT_EQ(meldungen, 1);
    EXPECT_TRUE(a.IstAbgebrochen());
    EXPECT_LT(a.Katalog().size(), mzfs.size());
    EXPECT_EQ(a.Huelle().Frames(), 65536);
}

// The waveform comes first, whole, before the decoders have found anything; then the first pass's
// marks and blocks join it while it reads.
TEST_F(BandaufzeichnungTest, ErstDieWelleDannDieBloeckeWaehrendDesLesens) {
    const std::vector<QByteArray> mzfs = TestBand::Programme(4, 3000);
    const TestBand::TBand band = TestBand::Baue(mzfs);
    TBandaufzeichnung a;
    int wellenMeldungen = 0;
    bool ersteDekodierung = true;
    std::size_t bloeckeWaehrenddessen = 0;
    ASSERT_TRUE(a.Lies(Aufnahme(band), mz80k, [&](double prozent) {
                     if (a.Phase() == TBandaufzeichnung::TPhase::Huelle) {
                         ++wellenMeldungen;
                         EXPECT_TRUE(a.Bloecke().empty());
                         return;
                     }
                     ASSERT_EQ(a.Phase(), TBandaufzeichnung::TPhase::Dekodierung);
                     if (ersteDekodierung) {
                         ersteDekodierung = false;
                         EXPECT_EQ(prozent, 0.0);
                         EXPECT_EQ(a.Huelle().Frames(), band.frames);
                         EXPECT_EQ(a.Pegel().Frames(), band.frames);
                         EXPECT_TRUE(a.Bloecke().empty());
                     }
                     if (prozent < 100.0)
                         bloeckeWaehrenddessen = std::max(bloeckeWaehrenddessen, a.Bloecke().size());
                 }).IstOk());
    EXPECT_EQ(a.Phase(), TBandaufzeichnung::TPhase::Fertig);
    // 64 KiB frames at a time: the recording's frames rounded up.
    EXPECT_EQ(wellenMeldungen, (band.frames + 65535) / 65536);
    EXPECT_FALSE(ersteDekodierung);
    EXPECT_GE(bloeckeWaehrenddessen, 2U);
    ASSERT_EQ(a.Katalog().size(), 4U);
    for (const TBandBlock& b : a.Bloecke())
        EXPECT_GE(b.eintrag, 0);
}

TEST_F(BandaufzeichnungTest, AbbruchBeimDekodierenBehaeltDieGanzeWelle) {
    const std::vector<QByteArray> mzfs = TestBand::Programme(6, 4000);
    const TestBand::TBand band = TestBand::Baue(mzfs);
    std::atomic<bool> abbruch{false};
    TBandaufzeichnung a;
    ASSERT_TRUE(a.Lies(
                     Aufnahme(band), mz80k,
                     [&](double) { abbruch = a.Phase() == TBandaufzeichnung::TPhase::Dekodierung; }, &abbruch)
                    .IstOk());
    EXPECT_TRUE(a.IstAbgebrochen());
    EXPECT_LT(a.Katalog().size(), mzfs.size());
    EXPECT_EQ(a.Huelle().Frames(), band.frames);
}

// The level: the recording's square wave 64 steps either side of the zero line is half of full
// scale; the silence before the first file (2205 frames) nothing.
TEST_F(BandaufzeichnungTest, PegelEntlangDesBandes) {
    const TestBand::TBand band = TestBand::Baue({ProgrammMZF("LEVEL", RumpfMitBytes(500))});
    TBandaufzeichnung a;
    ASSERT_TRUE(a.Lies(Aufnahme(band), mz80k).IstOk());
    const TPegel::TBereich still = a.Pegel().Bereich(0, 2048);
    EXPECT_FLOAT_EQ(still.hoch, 0.0F);
    const TPegel::TBereich kopf = a.Pegel().Bereich(band.orte[0].kopf + 1024, band.orte[0].kopf + 3072);
    EXPECT_FLOAT_EQ(kopf.tief, 0.5F);
    EXPECT_FLOAT_EQ(kopf.hoch, 0.5F);
}

// The adaptive pass's pulses on a clean recording: the header's first bytes, $01 and "F", each a
// long start bit and eight data bits, where the pulses begin, every one of them as sure as a pulse
// of its class's learned length; none with
// the standard decoding.
TEST_F(BandaufzeichnungTest, AdaptiveImpulseMitIhrerSicherheit) {
    const TestBand::TBand band = TestBand::Baue({ProgrammMZF("F", RumpfMitBytes(10))});
    const QString pfad = Aufnahme(band);
    TBandaufzeichnung standard;
    ASSERT_TRUE(standard.Lies(pfad, mz80k).IstOk());
    EXPECT_FALSE(standard.HatAdaptiveImpulse());
    EXPECT_TRUE(standard.AdaptiveImpulse(0, band.frames).empty());
    TBandaufzeichnung a;
    ASSERT_TRUE(a.Lies(pfad, TBandEinstellungen{.modell = MZ80K, .erweitert = true}).IstOk());
    ASSERT_TRUE(a.HatAdaptiveImpulse());
    const std::int64_t kopf = band.orte[0].kopf;
    const std::vector<TImpulsBeleg> impulse = a.AdaptiveImpulse(kopf - 2, kopf + 400);
    const auto erster = std::find_if(impulse.begin(), impulse.end(),
                                     [&](const TImpulsBeleg& i) { return std::abs(i.beginn - kopf) <= 1; });
    ASSERT_NE(erster, impulse.end());
    const std::string erwartet = "100000001"
                                 "101000110";
    ASSERT_GE(impulse.end() - erster, static_cast<std::ptrdiff_t>(erwartet.size()));
    double frame = static_cast<double>(kopf);
    for (std::size_t i = 0; i < erwartet.size(); ++i) {
        const TImpulsBeleg& imp = erster[static_cast<std::ptrdiff_t>(i)];
        EXPECT_EQ(imp.IstLang(), erwartet[i] == '1') << i;
        EXPECT_NEAR(imp.beginn, frame, 1.0) << i;
        // As long as the pass learned its class: about Typisch.
        EXPECT_GE(std::abs(imp.wert), TMZAdaptiverDekoder::Typisch * 3 / 4) << i;
        frame += erwartet[i] == '1' ? LangFrames : KurzFrames;
    }
}

TEST_F(BandaufzeichnungTest, KaputteDateienGebenEinenFehler) {
    const QByteArray inhalte[] = {QByteArray(), QByteArray("RIFF\x10\0\0\0WAVEfmt ", 16),
                                  QByteArray(5000, 'x')};
    for (const QByteArray& inhalt : inhalte) {
        TBandaufzeichnung a;
        EXPECT_FALSE(a.Lies(SchreibeTestDatei(inhalt, QStringLiteral("kaputt.wav")),
                            {.modell = MZ80K, .erweitert = true})
                         .IstOk());
        EXPECT_FALSE(a.HatAufnahme());
        EXPECT_TRUE(a.Katalog().empty());
    }
}

TEST_F(BandaufzeichnungTest, SampleZoomLiestDieFramesDerAufnahme) {
    const TestBand::TBand band = TestBand::Baue({ProgrammMZF("ZOOM", RumpfMitBytes(10))});
    TBandaufzeichnung a;
    ASSERT_TRUE(a.Lies(Aufnahme(band), mz80k).IstOk());
    std::vector<std::uint8_t> frames;
    // The samples of 8-bit mono are the frames; the data chunk starts at byte 44.
    const auto von = static_cast<std::int32_t>(band.orte[0].kopf);
    ASSERT_TRUE(a.LeseFrames(von, 64, frames));
    ASSERT_EQ(frames.size(), 64U);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(frames.data()), 64), band.wav.mid(44 + von, 64));
    // Beyond the end: cut to what is there.
    ASSERT_TRUE(a.LeseFrames(static_cast<std::int32_t>(band.frames - 10), 64, frames));
    EXPECT_EQ(frames.size(), 10U);
}

// The pulses of a stretch as the fixed pass reads them: the header's first bytes, $01 and "F"
// ($46), each a long start bit and eight data bits.
TEST_F(BandaufzeichnungTest, ImpulseEinesAusschnitts) {
    const TestBand::TBand band = TestBand::Baue({ProgrammMZF("F", RumpfMitBytes(10))});
    TBandaufzeichnung a;
    ASSERT_TRUE(a.Lies(Aufnahme(band), mz80k).IstOk());
    std::vector<std::uint8_t> frames;
    const std::int64_t ab = band.orte[0].kopf - 500;
    ASSERT_TRUE(a.LeseFrames(static_cast<std::int32_t>(ab), 2000, frames));
    const std::vector<TBandImpuls> impulse = a.Impulse(frames, ab);
    const auto erster = std::find_if(impulse.begin(), impulse.end(), [&](const TBandImpuls& i) {
        return std::fabs(i.beginn - static_cast<double>(band.orte[0].kopf)) <= 1.0;
    });
    ASSERT_NE(erster, impulse.end());
    const std::string erwartet = "100000001"
                                 "101000110";
    ASSERT_GE(impulse.end() - erster, static_cast<std::ptrdiff_t>(erwartet.size()));
    double frame = static_cast<double>(band.orte[0].kopf);
    for (std::size_t i = 0; i < erwartet.size(); ++i) {
        const TBandImpuls& imp = erster[static_cast<std::ptrdiff_t>(i)];
        EXPECT_EQ(imp.lang, erwartet[i] == '1') << i;
        EXPECT_NEAR(imp.beginn, frame, 1.0) << i;
        EXPECT_GT(imp.abtastung, imp.beginn);
        EXPECT_LT(imp.abtastung, imp.beginn + (imp.lang ? LangFrames : KurzFrames));
        frame += erwartet[i] == '1' ? LangFrames : KurzFrames;
    }
}

TEST_F(BandaufzeichnungTest, BandbildZeigtNurDenKatalog) {
    std::vector<std::unique_ptr<TMZFDatei>> dateien;
    for (const char* name : {"ONE", "TWO"}) {
        dateien.push_back(std::make_unique<TMZFDatei>());
        ASSERT_TRUE(dateien.back()->Laden(SchreibeTestDatei(ProgrammMZF(name, RumpfMitBytes(5)))));
    }
    TBandaufzeichnung a;
    a.NimmDateien(std::move(dateien));
    EXPECT_FALSE(a.HatAufnahme());
    ASSERT_EQ(a.Katalog().size(), 2U);
    EXPECT_EQ(a.Katalog()[1].datei->HoleMZDateiName(), QStringLiteral("TWO"));
    EXPECT_TRUE(a.Bloecke().empty());
}

} // namespace
