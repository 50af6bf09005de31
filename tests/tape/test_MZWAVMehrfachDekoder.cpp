// The multi-pass decoder against the WAV reader: the same bit texts for every pass on random and
// pulse-shaped recordings of every format, model and polarity; the same messages on bad files;
// its block reports; a file that shrinks while it is read.
#include "BandFehlerTest.h"
#include "MZWAVDateiLeser.h"
#include "MZWAVMehrfachDekoder.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"
#include "WAVBau.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace WAVBau;

namespace {

const std::vector<TDekodierDurchgang> AlleDurchgaenge = {
    {false, false}, {false, true}, {true, false}, {true, true}};

struct TFormatWahl {
    std::uint16_t kanaele, bits;
};
const TFormatWahl Formate[] = {{1, 8}, {2, 8}, {1, 16}, {2, 16}};
const std::uint32_t Raten[] = {8000, 11025, 22050, 32000, 44100, 45000};

// Sample data of one format from a signal in [-1, 1] per channel and frame.
template <typename TSignal> QByteArray Daten(const TFormatWahl& format, int frames, TSignal&& signal) {
    QByteArray d;
    for (int i = 0; i < frames; ++i) {
        for (int k = 0; k < format.kanaele; ++k) {
            const double x = std::clamp(signal(i, k), -1.0, 1.0);
            if (format.bits == 8)
                d.append(static_cast<char>(static_cast<int>(std::lround(127.5 + 127.5 * x))));
            else
                d += Le16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(32767.0 * x))));
        }
    }
    return d;
}

class MehrfachDekoderTest : public ::testing::Test {
protected:
    void SetUp() override { TestSprache(true); }
    void TearDown() override { EinstellungenLeeren(); }
    // The model whose sampling delays the passes use, and the extended decoding.
    TBandEinstellungen einstellungen{.modell = MZ80K};
    QString Datei(const QByteArray& inhalt) {
        const QString pfad = QDir(TestVerzeichnis()).filePath(QStringLiteral("m.wav"));
        SchreibeDatei(pfad, inhalt);
        return pfad;
    }
    // One reader per pass, read with LeseBit to the end.
    std::vector<std::string> MitDemLeser(const QString& pfad) {
        std::vector<std::string> texte;
        for (const TDekodierDurchgang& d : AlleDurchgaenge) {
            TMZWAVDateiLeser leser;
            if (!leser.Oeffnen(pfad, einstellungen, d.invertiertePolaritaet, d.alternativeAbtastzeit)) {
                texte.emplace_back("not opened");
                continue;
            }
            std::string bits;
            bool bit = false;
            while (!leser.IstDateiEnde()) {
                if (!leser.LeseBit(bit)) {
                    bits += "failed";
                    break;
                }
                bits += bit ? '1' : '0';
            }
            leser.Schliessen();
            texte.push_back(bits);
        }
        return texte;
    }
    std::vector<std::string> MitDerMaschine(const QString& pfad) {
        TMZWAVMehrfachDekoder dekoder;
        std::vector<std::string> texte;
        const bool ok = dekoder.Dekodiere(pfad, einstellungen, AlleDurchgaenge).IstOk();
        for (std::size_t i = 0; i < AlleDurchgaenge.size(); ++i)
            texte.push_back(ok ? dekoder.HoleBitText(i) : std::string("not opened"));
        return texte;
    }
    // Both ways, under every model; false at the first difference.
    void VergleicheUeberAlleModelle(const QByteArray& wav, std::size_t& bits) {
        const QString pfad = Datei(wav);
        for (int modell = 0; modell < AnzahlMZModelle; ++modell) {
            einstellungen.modell = static_cast<quint8>(modell);
            const auto erwartet = MitDemLeser(pfad);
            ASSERT_EQ(MitDerMaschine(pfad), erwartet) << "model " << modell;
            for (const std::string& t : erwartet)
                bits += t.size();
        }
    }
    TPlattformSkript plattform;
};

TEST_F(MehrfachDekoderTest, GleicheBitsWieDerLeserBeiZufallsdaten) {
    std::mt19937 zufall(7u);
    std::uniform_real_distribution<double> gleich(-1.0, 1.0);
    std::size_t bits = 0;
    for (const TFormatWahl& format : Formate) {
        for (int frames : {0, 1, 2, 3, 5, 17, 100, 2500}) {
            SCOPED_TRACE(testing::Message()
                         << format.kanaele << "x" << format.bits << ", " << frames << " frames");
            const std::uint32_t rate = Raten[zufall() % std::size(Raten)];
            VergleicheUeberAlleModelle(Wav(format.kanaele, rate, format.bits,
                                           Daten(format, frames, [&](int, int) { return gleich(zufall); })),
                                       bits);
        }
    }
    EXPECT_GT(bits, 10000u);
    EXPECT_TRUE(plattform.Fehler().isEmpty());
}

// Pulses of uneven length with noise, an offset and sometimes a dropout, near the lengths that the
// delays tell apart.
TEST_F(MehrfachDekoderTest, GleicheBitsWieDerLeserBeiImpulsfolgen) {
    std::mt19937 zufall(11u);
    std::normal_distribution<double> rauschen(0.0, 0.08);
    std::size_t bits = 0;
    for (const TFormatWahl& format : Formate) {
        for (const std::uint32_t rate : Raten) {
            SCOPED_TRACE(testing::Message() << format.kanaele << "x" << format.bits << ", " << rate << " Hz");
            // Pulse parts between 100 and 600 us, as frames at this rate.
            std::vector<int> stufen;
            int frames = 0;
            while (frames < 6000) {
                const int laenge = std::max(1, static_cast<int>(rate * (100 + zufall() % 500) / 1000000));
                stufen.push_back(laenge);
                frames += laenge;
            }
            std::vector<double> pegel(static_cast<std::size_t>(frames));
            std::size_t i = 0;
            for (std::size_t s = 0; s < stufen.size(); ++s)
                for (int k = 0; k < stufen[s]; ++k)
                    pegel[i++] = (s % 2 == 0 ? -0.6 : 0.6) + (zufall() % 50 == 0 ? 0.0 : 0.02);
            const QByteArray daten = Daten(format, frames, [&](int n, int kanal) {
                return pegel[static_cast<std::size_t>(n)] + rauschen(zufall) * (kanal + 1);
            });
            VergleicheUeberAlleModelle(Wav(format.kanaele, rate, format.bits, daten), bits);
        }
    }
    EXPECT_GT(bits, 50000u);
}

// Over several blocks of the machine and of the buffered reader: a crossing, skip or sampling
// moment may fall on any block boundary.
TEST_F(MehrfachDekoderTest, GleicheBitsUeberBlockgrenzen) {
    std::size_t bits = 0;
    for (const TFormatWahl& format : Formate) {
        SCOPED_TRACE(testing::Message() << format.kanaele << "x" << format.bits);
        const int frames = 2 * TMZWAVMehrfachDekoder::BlockFrames + 4321;
        // A slow sine under a faster one: pulse lengths drift through every phase of the blocks.
        const QByteArray daten = Daten(format, frames, [](int n, int kanal) {
            return 0.7 * std::sin(n * 0.19 + kanal) + 0.3 * std::sin(n * 0.0007);
        });
        VergleicheUeberAlleModelle(Wav(format.kanaele, 44100, format.bits, daten), bits);
    }
    EXPECT_GT(bits, 100000u);
}

TEST_F(MehrfachDekoderTest, GleicheMeldungenBeiSchlechtenDateien) {
    const QByteArray ruhe(64, static_cast<char>(128));
    const QByteArray faelle[] = {
        QByteArray(),
        Riff(Chunk("data", ruhe)),
        Wav(1, 48000, 8, ruhe),
        Riff(Chunk("fmt ", FmtPCM(1, 8000, 24)) + Chunk("data", ruhe)),
        Riff(Chunk("fmt ", FmtPCM(1, 8000, 8)) + ChunkMitGroesse("data", 0xFFFFFFF0u, ruhe, false)),
    };
    for (const QByteArray& inhalt : faelle) {
        const QString pfad = Datei(inhalt);
        plattform.Leeren();
        TMZWAVDateiLeser leser;
        EXPECT_FALSE(leser.Oeffnen(pfad, einstellungen, false, false));
        const TBandFehler vomLeser = leser.HoleFehler();
        EXPECT_FALSE(vomLeser.IstOk());
        TMZWAVMehrfachDekoder dekoder;
        int bloecke = 0;
        EXPECT_EQ(dekoder.Dekodiere(pfad, einstellungen, AlleDurchgaenge,
                                    [&](const TMZWAVMehrfachDekoder&) { ++bloecke; }),
                  vomLeser);
        EXPECT_EQ(bloecke, 0);
    }
    TMZWAVMehrfachDekoder dekoder;
    EXPECT_EQ(dekoder.Dekodiere(QString(), einstellungen, AlleDurchgaenge),
              BandFehlerTest::UngueltigerName());
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
}

TEST_F(MehrfachDekoderTest, MeldetJedenBlock) {
    einstellungen.modell = MZ700;
    const int frames = 3 * TMZWAVMehrfachDekoder::BlockFrames + 10;
    QByteArray daten;
    for (int i = 0; i < frames; ++i)
        daten.append(static_cast<char>((i / 20) % 2 == 0 ? 64 : 192));
    const QString pfad = Datei(Wav(1, 44100, 8, daten));
    TMZWAVMehrfachDekoder dekoder;
    std::vector<std::int32_t> stand;
    std::vector<std::size_t> laengen;
    ASSERT_TRUE(dekoder
                    .Dekodiere(pfad, einstellungen, AlleDurchgaenge,
                               [&](const TMZWAVMehrfachDekoder& d) {
                                   stand.push_back(d.HoleGeleseneFrames());
                                   laengen.push_back(d.HoleBitText(0).size());
                                   EXPECT_EQ(d.HoleAnzahlFrames(), frames);
                               })
                    .IstOk());
    const std::int32_t b = TMZWAVMehrfachDekoder::BlockFrames;
    EXPECT_EQ(stand, (std::vector<std::int32_t>{b, 2 * b, 3 * b, frames}));
    EXPECT_TRUE(std::is_sorted(laengen.begin(), laengen.end()));
    // A square wave of 40 frames per period: one pulse each.
    EXPECT_EQ(laengen.back(), dekoder.HoleBitText(0).size());
    EXPECT_NEAR(static_cast<double>(laengen.back()), frames / 40.0, 2.0);
    EXPECT_EQ(dekoder.HoleFormat().sampleRate, 44100);
    const std::string text = dekoder.UebernimmBitText(0);
    EXPECT_EQ(text.size(), laengen.back());
    EXPECT_TRUE(dekoder.HoleBitText(0).empty());
}

TEST_F(MehrfachDekoderTest, LeereAufnahme) {
    TMZWAVMehrfachDekoder dekoder;
    int bloecke = 0;
    ASSERT_TRUE(dekoder
                    .Dekodiere(Datei(Wav(2, 22050, 16, QByteArray())), einstellungen, AlleDurchgaenge,
                               [&](const TMZWAVMehrfachDekoder&) { ++bloecke; })
                    .IstOk());
    EXPECT_EQ(bloecke, 0);
    ASSERT_EQ(dekoder.HoleAnzahlDurchgaenge(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(dekoder.HoleBitText(i).empty());
    EXPECT_TRUE(plattform.Fehler().isEmpty());
}

TEST_F(MehrfachDekoderTest, DateiSchrumpftWaehrendDesLesens) {
    QByteArray daten;
    for (int i = 0; i < 3 * TMZWAVMehrfachDekoder::BlockFrames; ++i)
        daten.append(static_cast<char>((i / 30) % 2 == 0 ? 255 : 0));
    const QString pfad = Datei(Wav(1, 44100, 8, daten));

    // The reader with the file cut after opening.
    TMZWAVDateiLeser leser;
    ASSERT_TRUE(leser.Oeffnen(pfad, einstellungen, false, false));
    ASSERT_TRUE(QFile::resize(pfad, 44));
    bool bit = false;
    while (leser.LeseBit(bit) && !leser.IstDateiEnde()) {
    }
    leser.Schliessen();
    const TBandFehler vomLeser = leser.HoleFehler();
    ASSERT_EQ(vomLeser.art, TBandFehler::TArt::Lesefehler);

    SchreibeDatei(pfad, Wav(1, 44100, 8, daten));
    TMZWAVMehrfachDekoder dekoder;
    int bloecke = 0;
    const TBandFehler fehler =
        dekoder.Dekodiere(pfad, einstellungen, AlleDurchgaenge, [&](const TMZWAVMehrfachDekoder&) {
            if (++bloecke == 1) {
                ASSERT_TRUE(QFile::resize(pfad, 44));
            }
        });
    EXPECT_EQ(bloecke, 1);
    EXPECT_EQ(fehler, vomLeser);
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
    // What the first block held stays decoded.
    EXPECT_GT(dekoder.HoleBitText(0).size(), 1000u);
}

// Frames pushed piece by piece, as a sound card hands them out, give the same pulses as the file
// read whole, in every pass and both polarities of the adaptive pass.
TEST_F(MehrfachDekoderTest, StueckweiseGeschobenWieGanzGelesen) {
    einstellungen.modell = MZ700;
    std::mt19937 zufall(31u);
    QByteArray daten;
    for (int i = 0; i < 3 * TMZWAVMehrfachDekoder::BlockFrames + 1234; ++i) {
        const int periode = 16 + static_cast<int>((i / 997) % 17);
        daten.append(
            static_cast<char>(((i / periode) % 2 == 0 ? 60 : 190) + static_cast<int>(zufall() % 21) - 10));
    }
    const QString pfad = Datei(Wav(1, 44100, 8, daten));
    einstellungen.erweitert = true;
    const TErweiterteDekodierung erweitert;
    TMZWAVMehrfachDekoder ganz;
    ASSERT_TRUE(ganz.Dekodiere(pfad, einstellungen, AlleDurchgaenge, {}, erweitert).IstOk());

    TWAVFormat format;
    format.sampleRate = 44100;
    format.anzahlFrames = static_cast<std::int32_t>(daten.size());
    TMZWAVMehrfachDekoder geschoben;
    geschoben.Starte(format, einstellungen, AlleDurchgaenge, erweitert, {});
    const auto* roh = reinterpret_cast<const std::uint8_t*>(daten.constData());
    for (qsizetype p = 0; p < daten.size();) {
        const auto n = std::min<qsizetype>(daten.size() - p, 1 + zufall() % 9000);
        geschoben.Verarbeite(roh + p, static_cast<std::int32_t>(n));
        p += n;
    }
    geschoben.Beende();
    for (std::size_t i = 0; i < AlleDurchgaenge.size(); ++i)
        EXPECT_EQ(geschoben.HoleBitText(i), ganz.HoleBitText(i)) << "pass " << i;
    for (int p = 0; p < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++p)
        EXPECT_EQ(geschoben.HoleAdaptivenBitText(p), ganz.HoleAdaptivenBitText(p)) << "polarity " << p;
    EXPECT_GT(ganz.HoleBitText(0).size(), 1000u);
    EXPECT_GT(ganz.HoleAdaptivenBitText(0).size(), 1000u);
}

// Every pulse the rescue receives, per source, and the frames after each block.
struct TBelegProtokoll : TBelegEmpfaenger {
    std::vector<std::vector<std::pair<std::int32_t, int>>> quellen;
    std::vector<std::int64_t> bloecke;
    void Belege(int quelle, const TImpulsBeleg* belege, std::size_t anzahl) override {
        if (quellen.size() <= static_cast<std::size_t>(quelle))
            quellen.resize(static_cast<std::size_t>(quelle) + 1);
        for (std::size_t i = 0; i < anzahl; ++i)
            quellen[static_cast<std::size_t>(quelle)].emplace_back(belege[i].beginn, belege[i].wert);
    }
    void NachBlock(std::int64_t frames) override { bloecke.push_back(frames); }
};

TEST_F(MehrfachDekoderTest, DieRettungBekommtDieImpulseDerDurchgaengeWieSelbstDekodiert) {
    // Where the rescue asks for the passes that run anyway and the adaptive pass's mix is what they
    // read (one channel; two channels alike), it takes their pulses: the same, block by block, as
    // when it decodes the mix itself (no passes run beside it). Pulses with hiss, over three blocks.
    einstellungen.modell = MZ700;
    einstellungen.erweitert = true;
    for (const TFormatWahl& wahl : {TFormatWahl{1, 16}, TFormatWahl{1, 8}, TFormatWahl{2, 16}}) {
        SCOPED_TRACE(wahl.kanaele * 100 + wahl.bits);
        std::mt19937 zufall(4711u);
        std::normal_distribution<double> zischen(0.0, 0.04);
        const int frames = 3 * TMZWAVMehrfachDekoder::BlockFrames + 999;
        std::vector<double> signal(static_cast<std::size_t>(frames));
        for (int i = 0; i < frames; ++i) {
            const int periode = (i / 1500) % 3 == 0 ? 42 : 22;
            signal[static_cast<std::size_t>(i)] = (i % periode < periode / 2 ? -0.6 : 0.6) + zischen(zufall);
        }
        const QString pfad =
            Datei(Wav(wahl.kanaele, 44100, wahl.bits,
                      Daten(wahl, frames, [&](int i, int) { return signal[static_cast<std::size_t>(i)]; })));
        TBelegProtokoll uebernommen, selbst;
        for (TBelegProtokoll* protokoll : {&uebernommen, &selbst}) {
            TErweiterteDekodierung erweitert;
            erweitert.belege = protokoll;
            erweitert.belegDurchgaenge = AlleDurchgaenge;
            TMZWAVMehrfachDekoder dekoder;
            const std::vector<TDekodierDurchgang> durchgaenge =
                protokoll == &uebernommen ? AlleDurchgaenge : std::vector<TDekodierDurchgang>{};
            ASSERT_TRUE(dekoder.Dekodiere(pfad, einstellungen, durchgaenge, {}, erweitert).IstOk());
        }
        ASSERT_EQ(uebernommen.quellen.size(),
                  AlleDurchgaenge.size() + TMZAdaptiverDekoder::AnzahlPolaritaeten);
        EXPECT_EQ(uebernommen.bloecke, selbst.bloecke);
        for (std::size_t q = 0; q < uebernommen.quellen.size(); ++q) {
            EXPECT_GT(uebernommen.quellen[q].size(), 5000u) << "source " << q;
            EXPECT_EQ(uebernommen.quellen[q], selbst.quellen[q]) << "source " << q;
        }
    }
}

} // namespace
