// Recordings read with the tape settings handed in: two readings with different values in one
// process, even interleaved block by block, each read as its own values say, whatever the settings
// store holds.
#include "Bandaufzeichnung.h"
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"
#include "WAVSuche.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

constexpr int WAVKopf = 44;
constexpr quint16 Rate = 22050;

// MZ-80B pulses (a long one 333 + 334 us) are high again 368 us after their edge, where the
// MZ-80K's passes look; the MZ-80B's passes look after 255 us. So this recording is read by the
// MZ-80B's passes and by no pass of the MZ-80K.
const TBandEinstellungen MZ80BWerte{.modell = MZ80B, .sampleRate = Rate};
const TBandEinstellungen MZ80KWerte{.modell = MZ80K, .sampleRate = Rate};

class Einstellungswerte : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        EinstellungenLeeren();
        // The store says MZ-80K and the extended decoding: neither may reach the readings below.
        SchreibeImportExportEinstellungen(MZ80K, false, Rate, false);
        SchreibeImportErweiterteDekodierung(true);
        ordner = QDir(TestVerzeichnis());
        const QString mzf = ordner.filePath(QStringLiteral("quelle.mzf"));
        SchreibeDatei(mzf, ProgrammMZF("ACHTZIG B", RumpfMitBytes(120)));
        ASSERT_TRUE(quelle.Laden(mzf));
        wav = ordner.filePath(QStringLiteral("mz80b.wav"));
        ASSERT_TRUE(quelle.ExportWAV(wav, MZ80BWerte));
        skript.Leeren();
    }
    void TearDown() override { EinstellungenLeeren(); }

    TPlattformSkript skript;
    QDir ordner;
    TMZFDatei quelle;
    QString wav;
};

// One search of the recording's frames, pushed piece by piece as a sound card hands them out.
struct TSuchlauf {
    explicit TSuchlauf(const TBandEinstellungen& einstellungen, std::int32_t frames) : suche(einstellungen) {
        TWAVFormat format;
        format.sampleRate = Rate;
        format.anzahlFrames = frames;
        dekoder.Starte(format, suche.Einstellungen(), suche.Durchgaenge(), suche.Erweiterung(),
                       suche.Senken());
    }
    std::vector<std::unique_ptr<TMZFDatei>> Ende() {
        dekoder.Beende();
        std::vector<std::unique_ptr<TMZFDatei>> dateien;
        suche.Ende(dateien, nullptr);
        return dateien;
    }
    TWAVSuche suche;
    TMZWAVMehrfachDekoder dekoder;
};

} // namespace

TEST_F(Einstellungswerte, ZweiSuchenImWechselStoerenSichNicht) {
    const QByteArray inhalt = LiesDatei(wav);
    ASSERT_GT(inhalt.size(), WAVKopf);
    const auto* frames = reinterpret_cast<const std::uint8_t*>(inhalt.constData()) + WAVKopf;
    const auto anzahl = static_cast<std::int32_t>(inhalt.size() - WAVKopf);
    TSuchlauf b(MZ80BWerte, anzahl);
    TSuchlauf k(MZ80KWerte, anzahl);
    constexpr std::int32_t Stueck = 3000;
    for (std::int32_t i = 0; i < anzahl; i += Stueck) {
        const std::int32_t n = std::min(Stueck, anzahl - i);
        b.dekoder.Verarbeite(frames + i, n);
        k.dekoder.Verarbeite(frames + i, n);
    }
    const auto vonB = b.Ende();
    const auto vonK = k.Ende();
    ASSERT_EQ(vonB.size(), 1u);
    EXPECT_TRUE(vonB[0]->IstGleich(quelle));
    EXPECT_TRUE(vonK.empty());
}

TEST_F(Einstellungswerte, ImportNachImportMitAnderenWerten) {
    const struct {
        const TBandEinstellungen* werte;
        bool gefunden;
    } faelle[] = {{&MZ80BWerte, true}, {&MZ80KWerte, false}, {&MZ80BWerte, true}, {&MZ80KWerte, false}};
    for (const auto& fall : faelle) {
        SCOPED_TRACE(MZModellName(fall.werte->modell).toStdString());
        skript.Leeren();
        TMZFDatei leser;
        std::vector<std::unique_ptr<TMZFDatei>> dateien;
        EXPECT_EQ(leser.LeseAlleAusWAV(wav, *fall.werte, dateien), fall.gefunden);
        ASSERT_EQ(dateien.size(), fall.gefunden ? 1u : 0u);
        if (fall.gefunden) {
            EXPECT_TRUE(dateien[0]->IstGleich(quelle));
        } else {
            EXPECT_EQ(skript.Fehler().size(), 1);
        }
    }
}

// The tape view reads with the model it is given, also where the settings hold another one.
TEST_F(Einstellungswerte, BandansichtLiestMitDemGegebenenModell) {
    for (const auto& [werte, anzahl] :
         {std::pair{MZ80BWerte, std::size_t{1}}, std::pair{MZ80KWerte, std::size_t{0}}}) {
        SCOPED_TRACE(MZModellName(werte.modell).toStdString());
        TBandaufzeichnung band;
        ASSERT_TRUE(band.Lies(wav, werte).IstOk());
        EXPECT_FALSE(band.IstErweitert());
        ASSERT_EQ(band.Katalog().size(), anzahl);
        if (anzahl > 0) {
            EXPECT_TRUE(band.Katalog()[0].datei->IstGleich(quelle));
        }
    }
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}
