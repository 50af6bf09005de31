#include "BandFehlerTest.h"
#include "MZWAVDateiSchreiber.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr int Kopf = 44;
const TBandFehler NichtOffen =
    TBandFehler::Schreiben(QStringLiteral("<Unknown>"), QStringLiteral("File is not open"));
// A write refused for want of room, as /dev/full refuses every one.
TBandFehler KeinPlatz() {
    return TBandFehler::Schreiben(QStringLiteral("/dev/full"), QString::fromLocal8Bit(std::strerror(ENOSPC)));
}

struct TPaar {
    int k1, k2;
};
// Samples per part as worked out by hand: rate -> model -> (long, short).
struct TZeile {
    int rate;
    TPaar lang[AnzahlMZModelle];
    TPaar kurz[AnzahlMZModelle];
};
const TZeile HandTabelle[] = {
    {8000,
     {{4, 4}, {4, 4}, {4, 4}, {3, 3}, {4, 4}, {4, 4}},
     {{2, 3}, {2, 3}, {2, 3}, {1, 2}, {1, 3}, {2, 3}}},
    {22050,
     {{10, 11}, {10, 11}, {10, 11}, {7, 8}, {10, 11}, {10, 11}},
     {{5, 6}, {5, 6}, {5, 6}, {4, 4}, {3, 8}, {5, 7}}},
    {44100,
     {{20, 22}, {20, 22}, {20, 22}, {15, 15}, {20, 22}, {21, 22}},
     {{11, 12}, {11, 12}, {11, 12}, {7, 8}, {6, 16}, {11, 13}}},
};

// Writes one WAV with the given settings and bit text; the file's contents.
QByteArray SchreibeWAV(int modell, int rate, bool invertiert, const std::string& bits) {
    SchreibeImportExportEinstellungen(static_cast<quint8>(modell), false, static_cast<quint16>(rate),
                                      invertiert);
    const QString pfad = TestVerzeichnis() + QStringLiteral("/t.wav");
    TMZWAVDateiSchreiber w;
    EXPECT_TRUE(w.Oeffnen(pfad));
    for (char c : bits)
        EXPECT_TRUE(w.SchreibeImpuls(c == '1'));
    EXPECT_TRUE(w.Schliessen());
    EXPECT_FALSE(w.IstGeoeffnet());
    return LiesDatei(pfad);
}

QByteArray Lauf(int anzahl, int wert) {
    return QByteArray(anzahl, static_cast<char>(wert));
}

// The data of a file as the writer must produce it, from per-pulse sample counts.
QByteArray ErwarteteDaten(int rate, TPaar lang, TPaar kurz, bool invertiert, const std::string& bits) {
    const int erster = invertiert ? 191 : 64;
    const int zweiter = invertiert ? 63 : 192;
    QByteArray d = Lauf(rate, 128);
    for (char c : bits) {
        const TPaar p = c == '1' ? lang : kurz;
        d += Lauf(p.k1, erster);
        d += Lauf(p.k2, zweiter);
    }
    d += Lauf(rate, 128);
    if ((Kopf + d.size()) % 2 != 0)
        d += Lauf(1, 128);
    return d;
}

void PruefeKopf(const QByteArray& f, std::uint32_t rate) {
    ASSERT_GE(f.size(), Kopf);
    const auto n = static_cast<std::uint32_t>(f.size());
    EXPECT_EQ(f.left(4), "RIFF");
    EXPECT_EQ(Le32(f, 4), n - 8);
    EXPECT_EQ(f.mid(8, 4), "WAVE");
    EXPECT_EQ(f.mid(12, 4), "fmt ");
    EXPECT_EQ(Le32(f, 16), 16u);
    EXPECT_EQ(Le16(f, 20), 1);
    EXPECT_EQ(Le16(f, 22), 1);
    EXPECT_EQ(Le32(f, 24), rate);
    EXPECT_EQ(Le32(f, 28), rate);
    EXPECT_EQ(Le16(f, 32), 1);
    EXPECT_EQ(Le16(f, 34), 8);
    EXPECT_EQ(f.mid(36, 4), "data");
    EXPECT_EQ(Le32(f, 40), n - 44);
}

class MZWAVDateiSchreiberTest : public ::testing::Test {
protected:
    void SetUp() override { TestSprache(true); }
    void TearDown() override { EinstellungenLeeren(); }
    TPlattformSkript skript;
};

} // namespace

TEST_F(MZWAVDateiSchreiberTest, LeererBitTextGibtKopfUndZweiSekundenStille) {
    const QByteArray f = SchreibeWAV(MZ80K, 22050, false, "");
    ASSERT_EQ(f.size(), 44144);
    PruefeKopf(f, 22050);
    EXPECT_EQ(Le32(f, 4), 44136u);
    EXPECT_EQ(Le32(f, 40), 44100u);
    EXPECT_EQ(f.mid(Kopf), Lauf(44100, 128));
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(MZWAVDateiSchreiberTest, EinLangerPulsBeimMZ80KMitFuellSample) {
    const QByteArray f = SchreibeWAV(MZ80K, 22050, false, "1");
    ASSERT_EQ(f.size(), 44166);
    PruefeKopf(f, 22050);
    EXPECT_EQ(Le32(f, 4), 44158u);
    EXPECT_EQ(Le32(f, 40), 44122u);
    const QByteArray erwartet =
        Lauf(22050, 128) + Lauf(10, 64) + Lauf(11, 192) + Lauf(22050, 128) + Lauf(1, 128);
    EXPECT_EQ(f.mid(Kopf), erwartet);

    const QByteArray inv = SchreibeWAV(MZ80K, 22050, true, "1");
    EXPECT_EQ(inv.mid(Kopf), Lauf(22050, 128) + Lauf(10, 191) + Lauf(11, 63) + Lauf(22051, 128));
    EXPECT_EQ(inv.left(Kopf), f.left(Kopf));
}

TEST_F(MZWAVDateiSchreiberTest, DateienFolgenDerHandtabelleJedesModellsJederRateUndPolaritaet) {
    const std::string bits = "0110100x1";
    for (const TZeile& z : HandTabelle)
        for (int m = 0; m < AnzahlMZModelle; ++m)
            for (bool inv : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << "rate " << z.rate << " model " << m << " inverted " << inv);
                const QByteArray f = SchreibeWAV(m, z.rate, inv, bits);
                PruefeKopf(f, static_cast<std::uint32_t>(z.rate));
                EXPECT_EQ(f.mid(Kopf), ErwarteteDaten(z.rate, z.lang[m], z.kurz[m], inv, bits));
            }
}

TEST_F(MZWAVDateiSchreiberTest, SampleZahlenBeiDenRatenDerHandtabelle) {
    for (const TZeile& z : HandTabelle)
        for (int m = 0; m < AnzahlMZModelle; ++m) {
            SCOPED_TRACE(testing::Message() << "rate " << z.rate << " model " << m);
            const auto l =
                TMZWAVDateiSchreiber::BerechneImpulsLaengen(m, static_cast<std::uint32_t>(z.rate), true);
            const auto k =
                TMZWAVDateiSchreiber::BerechneImpulsLaengen(m, static_cast<std::uint32_t>(z.rate), false);
            EXPECT_EQ(l.ersterTeil, z.lang[m].k1);
            EXPECT_EQ(l.zweiterTeil, z.lang[m].k2);
            EXPECT_EQ(k.ersterTeil, z.kurz[m].k1);
            EXPECT_EQ(k.zweiterTeil, z.kurz[m].k2);
        }
    // A model index outside 0..5 times like the MZ-80K.
    const auto fremd = TMZWAVDateiSchreiber::BerechneImpulsLaengen(9, 44100, false);
    EXPECT_EQ(fremd.ersterTeil, 11);
    EXPECT_EQ(fremd.zweiterTeil, 12);
}

TEST_F(MZWAVDateiSchreiberTest, HalbeErsteTeileRundenZumGeradenNachbarn) {
    using S = TMZWAVDateiSchreiber;
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ80K, 31250, true).ersterTeil, 14);  // 14.5
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ80K, 18750, false).ersterTeil, 4);  // 4.5
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ80K, 43750, false).ersterTeil, 10); // 10.5
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ80K, 31250, false).ersterTeil, 8);  // 7.5
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ800, 50000, true).ersterTeil, 24);  // 23.5
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ800, 18750, false).ersterTeil, 4);  // 4.5
    // Second parts are rounded up, also when the product is exact: 31250 x 264 us = 8.25, 18750 x 494 us
    // = 9.2625.
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ80K, 31250, false).zweiterTeil, 9);
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ80K, 18750, true).zweiterTeil, 10);
    // 25000 x 264 us = 6.6 -> 7
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ80K, 25000, false).zweiterTeil, 7);
    // 12500 x 240 us = 3 exactly: no rounding up of an integral value.
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ80K, 12500, false).ersterTeil, 3);
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ80B, 40000, true).zweiterTeil, 14);  // 13.36 -> 14
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ80B, 12000, false).zweiterTeil, 2);  // 1.992 -> 2
    EXPECT_EQ(S::BerechneImpulsLaengen(MZ700, 25000, false).zweiterTeil, 10); // 9.02225 -> 10

    // Written out, the halfway rates give exactly these runs.
    const QByteArray f = SchreibeWAV(MZ80K, 31250, false, "10");
    EXPECT_EQ(f.mid(Kopf), Lauf(31250, 128) + Lauf(14, 64) + Lauf(16, 192) + Lauf(8, 64) + Lauf(9, 192) +
                               Lauf(31251, 128));
    const QByteArray g = SchreibeWAV(MZ80K, 18750, false, "0");
    EXPECT_EQ(g.mid(Kopf), Lauf(18750, 128) + Lauf(4, 64) + Lauf(5, 192) + Lauf(18750, 128) + Lauf(1, 128));
    const QByteArray h = SchreibeWAV(MZ80K, 43750, true, "0");
    EXPECT_EQ(h.mid(Kopf), Lauf(43750, 128) + Lauf(10, 191) + Lauf(12, 63) + Lauf(43750, 128));
}

TEST_F(MZWAVDateiSchreiberTest, JedeRateVon8000Bis45000RundetWieFestgelegt) {
    // Durations in hundredths of a microsecond, per model: long first, long second, short first, short
    // second.
    const std::uint64_t dauer[AnzahlMZModelle][4] = {
        {46400, 49400, 24000, 26400}, {46400, 49400, 24000, 26400}, {46400, 49400, 24000, 26400},
        {33300, 33400, 16675, 16600}, {46400, 49400, 14311, 36089}, {47000, 49400, 24000, 27800}};
    constexpr std::uint64_t E = 100'000'000; // one second in hundredths of a microsecond
    int fehler = 0;
    for (std::uint32_t r = 8000; r <= 45000 && fehler < 10; ++r)
        for (int m = 0; m < AnzahlMZModelle; ++m)
            for (bool lang : {true, false}) {
                const auto k = TMZWAVDateiSchreiber::BerechneImpulsLaengen(m, r, lang);
                const std::uint64_t p1 = r * dauer[m][lang ? 0 : 2];
                const std::uint64_t p2 = r * dauer[m][lang ? 1 : 3];
                const auto k1 = static_cast<std::uint64_t>(k.ersterTeil);
                const auto k2 = static_cast<std::uint64_t>(k.zweiterTeil);
                // |k1 - p1/E| <= 1/2, ties only to an even k1.
                const bool k1gut = 2 * k1 * E + E >= 2 * p1 && 2 * p1 + E >= 2 * k1 * E &&
                                   (2 * p1 != 2 * k1 * E + E || k1 % 2 == 0) &&
                                   (2 * p1 + E != 2 * k1 * E || k1 % 2 == 0);
                // k2 is the least integer not below p2/E.
                const bool k2gut = k2 * E >= p2 && (k2 - 1) * E < p2;
                if (!k1gut || !k2gut) {
                    ++fehler;
                    ADD_FAILURE() << "rate " << r << " model " << m << " long " << lang << ": " << k1 << ", "
                                  << k2;
                }
            }
}

TEST_F(MZWAVDateiSchreiberTest, NiedrigeRatenBehaltenMindestensEinSampleJeTeil) {
    for (int m = 0; m < AnzahlMZModelle; ++m)
        for (bool lang : {true, false}) {
            const auto k = TMZWAVDateiSchreiber::BerechneImpulsLaengen(m, 1, lang);
            EXPECT_EQ(k.ersterTeil, 1);
            EXPECT_EQ(k.zweiterTeil, 1);
        }
    // 1000 Hz: MZ-700 short first part 0.14311 samples -> 0 -> 1; second part 0.36089 -> 1.
    const QByteArray f = SchreibeWAV(MZ700, 1000, false, "0");
    EXPECT_EQ(f.mid(Kopf), Lauf(1000, 128) + Lauf(1, 64) + Lauf(1, 192) + Lauf(1000, 128));
}

TEST_F(MZWAVDateiSchreiberTest, AndereZeichenSindKurzePulse) {
    const QByteArray a = SchreibeWAV(MZ80A, 44100, false, "0a2 ");
    const QByteArray b = SchreibeWAV(MZ80A, 44100, false, "0000");
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.size(), 44 + 88200 + 4 * 23);
}

TEST_F(MZWAVDateiSchreiberTest, NormalePolaritaetBeginntJedenPulsMitFallenderFlanke) {
    std::string bits;
    for (int i = 0; i < 300; ++i)
        bits += (i * 7 % 3 == 0) ? '1' : '0';
    for (int m = 0; m < AnzahlMZModelle; ++m)
        for (int rate : {8000, 11025, 31250, 45000}) {
            SCOPED_TRACE(testing::Message() << "rate " << rate << " model " << m);
            const QByteArray f = SchreibeWAV(m, rate, false, bits);
            int abwaerts = 0;
            int aufwaerts = 0;
            for (int j = Kopf + 1; j < f.size(); ++j) {
                const auto a = static_cast<std::uint8_t>(f[j - 1]);
                const auto b = static_cast<std::uint8_t>(f[j]);
                ASSERT_TRUE(b == 64 || b == 128 || b == 192) << "offset " << j;
                if (a >= 128 && b < 128)
                    ++abwaerts;
                if (a < 128 && b >= 128) {
                    ++aufwaerts;
                    EXPECT_EQ(b, 192) << "offset " << j; // the first part always rises into the second
                }
            }
            EXPECT_EQ(abwaerts, 300);
            EXPECT_EQ(aufwaerts, 300);
        }
}

TEST_F(MZWAVDateiSchreiberTest, GeschlossenerSchreiberLehntPulseAbUndSchliesstStill) {
    TMZWAVDateiSchreiber w;
    EXPECT_FALSE(w.IstGeoeffnet());
    EXPECT_TRUE(w.Schliessen());
    EXPECT_TRUE(skript.nachrichten.isEmpty());
    EXPECT_FALSE(w.SchreibeImpuls(true));
    EXPECT_EQ(w.HoleFehler(), NichtOffen);
    w.Abbrechen(); // nothing open: nothing to give up
    EXPECT_EQ(w.HoleFehler(), NichtOffen);
    // The tape layer says what went wrong and shows nothing.
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(MZWAVDateiSchreiberTest, ZweitesOeffnenAbgelehntErsteDateiBleibtHeil) {
    SchreibeImportExportEinstellungen(MZ80K, false, 22050, false);
    const QString dir = TestVerzeichnis();
    const QString erste = dir + QStringLiteral("/a.wav");
    const QString zweite = dir + QStringLiteral("/b.wav");
    TMZWAVDateiSchreiber w;
    ASSERT_TRUE(w.Oeffnen(erste));
    EXPECT_FALSE(w.Oeffnen(zweite));
    EXPECT_EQ(w.HoleFehler(), TBandFehler::Schreiben(zweite, QStringLiteral("File ist already open")));
    EXPECT_TRUE(skript.nachrichten.isEmpty());
    EXPECT_FALSE(QFile::exists(zweite));
    EXPECT_TRUE(w.IstGeoeffnet());
    EXPECT_TRUE(w.SchreibeImpuls(true));
    EXPECT_TRUE(w.Schliessen());
    EXPECT_EQ(LiesDatei(erste).size(), 44166);
}

TEST_F(MZWAVDateiSchreiberTest, SchreiberOeffnetNachDemSchliessenWieder) {
    SchreibeImportExportEinstellungen(MZ80K, false, 8000, false);
    const QString dir = TestVerzeichnis();
    TMZWAVDateiSchreiber w;
    ASSERT_TRUE(w.Oeffnen(dir + QStringLiteral("/a.wav")));
    ASSERT_TRUE(w.Schliessen());
    ASSERT_TRUE(w.Oeffnen(dir + QStringLiteral("/b.wav")));
    ASSERT_TRUE(w.SchreibeImpuls(false));
    ASSERT_TRUE(w.Schliessen());
    EXPECT_EQ(LiesDatei(dir + QStringLiteral("/a.wav")).size(), 16044);
    EXPECT_EQ(LiesDatei(dir + QStringLiteral("/b.wav")).mid(Kopf),
              Lauf(8000, 128) + Lauf(2, 64) + Lauf(3, 192) + Lauf(8001, 128));
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(MZWAVDateiSchreiberTest, UnerzeugbaresZielLaesstSchreiberGeschlossen) {
    SchreibeImportExportEinstellungen(MZ80K, false, 22050, false);
    const QString pfad = TestVerzeichnis() + QStringLiteral("/fehlt/x.wav");
    TMZWAVDateiSchreiber w;
    EXPECT_FALSE(w.Oeffnen(pfad));
    EXPECT_FALSE(w.IstGeoeffnet());
    EXPECT_EQ(w.HoleFehler(), TBandFehler::Schreiben(pfad, QString::fromLocal8Bit(std::strerror(ENOENT))));
    EXPECT_TRUE(skript.nachrichten.isEmpty());
    EXPECT_FALSE(QFile::exists(pfad));
}

TEST_F(MZWAVDateiSchreiberTest, AufgegebeneDateiLaesstAlteAufnahmeStehen) {
    // 44 + 30000 + pulses: the first 65536 bytes reach the disk when the 65537th arrives.
    SchreibeImportExportEinstellungen(MZ80K, false, 30000, false);
    const QString ordner = TestVerzeichnis();
    const QString pfad = ordner + QStringLiteral("/x.wav");
    const QByteArray alt("RIFF an older recording");
    SchreibeDatei(pfad, alt);
    TMZWAVDateiSchreiber w;
    ASSERT_TRUE(w.Oeffnen(pfad));
    for (int i = 0; i < 3000; ++i) // 3000 long pulses of 14 + 15 samples
        ASSERT_TRUE(w.SchreibeImpuls(true));
    w.Abbrechen();
    EXPECT_FALSE(w.IstGeoeffnet());
    EXPECT_EQ(LiesDatei(pfad), alt);
    EXPECT_EQ(DateienIn(ordner), QStringList{QStringLiteral("x.wav")});
    EXPECT_TRUE(w.Schliessen()); // no longer open
    EXPECT_EQ(LiesDatei(pfad), alt);
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(MZWAVDateiSchreiberTest, VollerDatentraegerWirdGesagtUndAbbrechenSchliesst) {
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    SchreibeImportExportEinstellungen(MZ80K, false, 22050, false);
    TMZWAVDateiSchreiber w;
    ASSERT_TRUE(w.Oeffnen(QStringLiteral("/dev/full"))); // nothing reaches the device yet
    bool ok = true;
    int impulse = 0;
    while (ok && impulse < 10000) {
        ok = w.SchreibeImpuls(false);
        ++impulse;
    }
    EXPECT_FALSE(ok);
    // 44 + 22050 + 11 x 3949 = 65533 bytes fit; the pulse that brings byte 65537 fails.
    EXPECT_EQ(impulse, 3950);
    EXPECT_EQ(w.HoleFehler(), KeinPlatz());
    EXPECT_TRUE(w.IstGeoeffnet());
    w.Abbrechen();
    EXPECT_FALSE(w.IstGeoeffnet());
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(MZWAVDateiSchreiberTest, GescheiterterVorlaufLaesstKeineDateiOffen) {
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    // 44 + 65535 bytes of header room and lead-in: the first block goes out inside Oeffnen and fails.
    SchreibeImportExportEinstellungen(MZ80K, false, 65535, false);
    TMZWAVDateiSchreiber w;
    EXPECT_FALSE(w.Oeffnen(QStringLiteral("/dev/full")));
    EXPECT_FALSE(w.IstGeoeffnet());
    // The failed block says why; the file is given up.
    EXPECT_EQ(w.HoleFehler(), KeinPlatz());
    EXPECT_TRUE(skript.nachrichten.isEmpty());
    // The buffered writer was closed too, so the same writer opens the next file.
    skript.Leeren();
    SchreibeImportExportEinstellungen(MZ80K, false, 8000, false);
    const QString pfad = TestVerzeichnis() + QStringLiteral("/danach.wav");
    ASSERT_TRUE(w.Oeffnen(pfad));
    ASSERT_TRUE(w.Schliessen());
    EXPECT_EQ(LiesDatei(pfad).size(), 16044);
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}
