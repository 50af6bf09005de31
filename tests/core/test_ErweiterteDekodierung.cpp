// Recordings as worn cassettes and today's recorders give them, made here from the program's own
// export of a real MZ-700 file: hiss, DC, a motor off its speed, dull treble, hum, a low level,
// and the containers of 24 bits, floating point, more channels and higher rates. Each must give
// the file back with the extended decoding on, and the adaptive pass must find it on its own.
#include "MZFDatei.h"
#include "MZWAVMehrfachDekoder.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"
#include "WAVBau.h"

#include <QDir>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <random>
#include <thread>

namespace {

using namespace WAVBau;

constexpr std::uint32_t ExportRate = 44100;
constexpr unsigned Startwert = 20261208;
const char* const KorpusMZF = "psychotimmy-Sharp-MZ-700/advent 2021-25 7.mzf";

// A recording as numbers, full scale +-1.
struct TSignal {
    std::vector<double> werte;
    double rate = ExportRate;
};

double Effektivwert(const std::vector<double>& werte) {
    double summe = 0.0;
    for (double w : werte)
        summe += w * w;
    return std::sqrt(summe / static_cast<double>(werte.size()));
}

// Degradations, each as a tape or a recorder would do it.
void Rauschen(TSignal& s, double snrDb, unsigned startwert = Startwert) {
    std::mt19937 zufall(startwert);
    std::normal_distribution<double> normal(0.0, Effektivwert(s.werte) * std::pow(10.0, -snrDb / 20.0));
    for (double& w : s.werte)
        w += normal(zufall);
}
void Gleichanteil(TSignal& s, double versatz) {
    for (double& w : s.werte)
        w += versatz;
}
void Brumm(TSignal& s, double amplitude) {
    for (std::size_t i = 0; i < s.werte.size(); ++i)
        s.werte[i] += amplitude * std::sin(2.0 * std::numbers::pi * 50.0 * static_cast<double>(i) / s.rate);
}
void Pegel(TSignal& s, double db) {
    for (double& w : s.werte)
        w *= std::pow(10.0, db / 20.0);
}
// Linear interpolation at a new rate: `faktor` > 1 plays the tape faster (shorter pulses).
void NeuAbgetastet(TSignal& s, double faktor, double neueRate) {
    const double schritt = faktor * s.rate / neueRate;
    std::vector<double> neu;
    for (double t = 0.0; t + 1.0 < static_cast<double>(s.werte.size()); t += schritt) {
        const auto i = static_cast<std::size_t>(t);
        neu.push_back(s.werte[i] + (t - static_cast<double>(i)) * (s.werte[i + 1] - s.werte[i]));
    }
    s.werte = std::move(neu);
    s.rate = neueRate;
}
void Tempo(TSignal& s, double faktor) {
    NeuAbgetastet(s, faktor, s.rate);
}
// Wow: the speed swings by `anteil` around nominal, `frequenz` times a second.
void Jaulen(TSignal& s, double anteil, double frequenz) {
    std::vector<double> neu;
    double t = 0.0;
    while (t + 1.0 < static_cast<double>(s.werte.size())) {
        const auto i = static_cast<std::size_t>(t);
        neu.push_back(s.werte[i] + (t - static_cast<double>(i)) * (s.werte[i + 1] - s.werte[i]));
        t += 1.0 +
             anteil * std::sin(2.0 * std::numbers::pi * frequenz * static_cast<double>(neu.size()) / s.rate);
    }
    s.werte = std::move(neu);
}
// An RC section, twice for the low-pass: 12 dB per octave above the corner.
void Tiefpass(TSignal& s, double grenze) {
    const double a = 1.0 - std::exp(-2.0 * std::numbers::pi * grenze / s.rate);
    for (int stufe = 0; stufe < 2; ++stufe) {
        double y = 0.0;
        for (double& w : s.werte)
            w = y += a * (w - y);
    }
}
void Hochpass(TSignal& s, double grenze) {
    const double a = std::exp(-2.0 * std::numbers::pi * grenze / s.rate);
    double xVorher = 0.0;
    double y = 0.0;
    for (double& w : s.werte) {
        y = a * (y + w - xVorher);
        xVorher = w;
        w = y;
    }
}

// Containers, written byte by byte.
enum class TArt { Pcm16, Pcm24, Pcm32, Float32, Float64, Erweiterbar24, Pcm8 };

QByteArray Sample(double w, TArt art) {
    const double c = std::clamp(w, -1.0, 1.0 - 1e-9);
    switch (art) {
    case TArt::Pcm8:
        return QByteArray(1, static_cast<char>(static_cast<std::uint8_t>(std::floor(c * 128.0 + 128.0))));
    case TArt::Pcm16:
        return Le16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::floor(c * 32768.0))));
    case TArt::Pcm24:
    case TArt::Erweiterbar24: {
        const auto v = static_cast<std::uint32_t>(static_cast<std::int32_t>(std::floor(c * 8388608.0)));
        return Le32(v).left(3);
    }
    case TArt::Pcm32:
        return Le32(static_cast<std::uint32_t>(static_cast<std::int32_t>(std::floor(c * 2147483648.0))));
    case TArt::Float32: {
        const float f = static_cast<float>(w);
        return QByteArray(reinterpret_cast<const char*>(&f), sizeof f);
    }
    case TArt::Float64:
        return QByteArray(reinterpret_cast<const char*>(&w), sizeof w);
    }
    return {};
}

int BitsVon(TArt art) {
    switch (art) {
    case TArt::Pcm8:
        return 8;
    case TArt::Pcm16:
        return 16;
    case TArt::Pcm24:
    case TArt::Erweiterbar24:
        return 24;
    case TArt::Float64:
        return 64;
    default:
        return 32;
    }
}

// The sub-format GUID of the extensible form: the tag, then the 14 bytes common to audio formats.
QByteArray Unterformat(std::uint16_t tag) {
    return Le16(tag) + QByteArray::fromHex("000000001000800000aa00389b71");
}

// A WAV of the channels, frame by frame.
QByteArray AlsWAV(const std::vector<std::vector<double>>& kanaele, std::uint32_t rate, TArt art) {
    const auto anzahl = static_cast<std::uint16_t>(kanaele.size());
    const auto bits = static_cast<std::uint16_t>(BitsVon(art));
    const auto block = static_cast<std::uint16_t>(anzahl * bits / 8);
    const bool gleitkomma = art == TArt::Float32 || art == TArt::Float64;
    QByteArray fmt;
    if (art == TArt::Erweiterbar24)
        fmt = FmtFelder(0xFFFE, anzahl, rate, rate * block, block, bits) + Le16(22) + Le16(bits) + Le32(0) +
              Unterformat(1);
    else
        fmt = FmtFelder(gleitkomma ? 3 : 1, anzahl, rate, rate * block, block, bits);
    QByteArray daten;
    daten.reserve(static_cast<qsizetype>(kanaele[0].size()) * block);
    for (std::size_t i = 0; i < kanaele[0].size(); ++i)
        for (const auto& k : kanaele)
            daten += Sample(k[i], art);
    return Riff(Chunk("fmt ", fmt) + Chunk("data", daten));
}

QByteArray AlsWAV(const TSignal& s, TArt art) {
    return AlsWAV(std::vector<std::vector<double>>{s.werte}, static_cast<std::uint32_t>(s.rate), art);
}

class ErweiterteDekodierung : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        ordner = TestVerzeichnis();
        ASSERT_TRUE(original.Laden(KorpusPfad(QString::fromUtf8(KorpusMZF))));
    }
    void TearDown() override { EinstellungenLeeren(); }
    // What the import and the export here work with: the MZ-700, the extended decoding on.
    TBandEinstellungen einstellungen{.modell = MZ700, .sampleRate = ExportRate, .erweitert = true};
    // The same for a decoder that must run the adaptive pass.
    TBandEinstellungen Adaptiv() const {
        TBandEinstellungen e = einstellungen;
        e.erweitert = true;
        return e;
    }

    // The program's own export of the corpus file, once for all tests.
    TSignal Export() {
        static std::vector<double> werte;
        if (werte.empty()) {
            const QString pfad = QDir(ordner).filePath(QStringLiteral("export.wav"));
            EXPECT_TRUE(original.ExportWAV(pfad, einstellungen));
            const QByteArray wav = LiesDatei(pfad);
            constexpr int KopfGroesse = 44;
            for (qsizetype i = KopfGroesse; i < wav.size(); ++i)
                werte.push_back((static_cast<std::uint8_t>(wav[i]) - 128.0) / 128.0);
        }
        return TSignal{werte, ExportRate};
    }

    QString Schreibe(const QByteArray& inhalt) {
        const QString pfad = QDir(ordner).filePath(QStringLiteral("band.wav"));
        SchreibeDatei(pfad, inhalt);
        return pfad;
    }

    // The import with the setting on gives the file, and exactly once.
    void ErwarteGefunden(const QString& pfad) {
        TMZFDatei datei;
        std::vector<std::unique_ptr<TMZFDatei>> gefunden;
        EXPECT_TRUE(datei.LeseAlleAusWAV(pfad, einstellungen, gefunden))
            << skript.Texte().join(QLatin1Char('\n')).toStdString();
        ASSERT_EQ(gefunden.size(), 1U);
        EXPECT_TRUE(gefunden[0]->IstGleich(original));
    }

    // The adaptive pass alone (no fixed pass at all) finds the file in one of its polarities.
    bool AdaptivAllein(const QString& pfad) {
        TMZWAVMehrfachDekoder dekoder;
        TErweiterteDekodierung erweitert;
        if (!dekoder.Dekodiere(pfad, Adaptiv(), {}, {}, erweitert).IstOk())
            return false;
        for (int polaritaet = 0; polaritaet < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++polaritaet) {
            TMZFDatei datei;
            int ende = 0;
            if (datei.LeseAusTonbandBits(dekoder.HoleAdaptivenBitText(polaritaet), 1, false, 0.0, ende) &&
                datei.IstGleich(original))
                return true;
        }
        return false;
    }

    TPlattformSkript skript;
    QString ordner;
    TMZFDatei original;
};

struct TFall {
    const char* name;
    std::function<void(TSignal&)> verschlechtere;
    TArt art;
};

TEST_F(ErweiterteDekodierung, DegradedRecordingsDecode) {
    const std::vector<TFall> faelle = {
        {"noise 12 dB", [](TSignal& s) { Rauschen(s, 12.0); }, TArt::Pcm16},

        {"DC offset", [](TSignal& s) { Gleichanteil(s, 0.4); }, TArt::Pcm16},
        {"12 % fast", [](TSignal& s) { Tempo(s, 1.12); }, TArt::Pcm16},
        {"12 % slow", [](TSignal& s) { Tempo(s, 0.88); }, TArt::Pcm16},
        {"25 % fast", [](TSignal& s) { Tempo(s, 1.25); }, TArt::Pcm16},
        {"25 % slow", [](TSignal& s) { Tempo(s, 0.75); }, TArt::Pcm16},
        {"low-pass 1.5 kHz", [](TSignal& s) { Tiefpass(s, 1500.0); }, TArt::Pcm16},
        {"high-pass 150 Hz", [](TSignal& s) { Hochpass(s, 150.0); }, TArt::Pcm16},
        {"hum 50 Hz at twice the pulses' amplitude", [](TSignal& s) { Brumm(s, 1.0); }, TArt::Pcm16},
        {"-28 dB", [](TSignal& s) { Pegel(s, -28.0); }, TArt::Pcm16},
        {"-60 dB", [](TSignal& s) { Pegel(s, -60.0); }, TArt::Pcm16},
        {"all at once",
         [](TSignal& s) {
             Tempo(s, 1.08);
             Tiefpass(s, 2000.0);
             Hochpass(s, 150.0);
             Brumm(s, 0.2);
             Rauschen(s, 20.0);
             Gleichanteil(s, 0.1);
             Pegel(s, -20.0);
         },
         TArt::Pcm16},
        {"24-bit at 48 kHz", [](TSignal& s) { NeuAbgetastet(s, 1.0, 48000.0); }, TArt::Pcm24},
        {"extensible 24-bit", [](TSignal& s) { Rauschen(s, 20.0); }, TArt::Erweiterbar24},
        {"32-bit", [](TSignal& s) { Tempo(s, 0.95); }, TArt::Pcm32},
        {"float at 96 kHz", [](TSignal& s) { NeuAbgetastet(s, 1.05, 96000.0); }, TArt::Float32},
        {"double", [](TSignal& s) { Pegel(s, 6.0); }, TArt::Float64},
    };
    for (const TFall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        TSignal signal = Export();
        fall.verschlechtere(signal);
        const QString pfad = Schreibe(AlsWAV(signal, fall.art));
        ErwarteGefunden(pfad);
        EXPECT_TRUE(AdaptivAllein(pfad));
    }
}

// The tape on one channel of a stereo recording, hum on the other: the tape channel is taken.
TEST_F(ErweiterteDekodierung, TheChannelWithTheTapeIsTaken) {
    TSignal band = Export();
    Rauschen(band, 20.0);
    TSignal brumm{std::vector<double>(band.werte.size(), 0.0), band.rate};
    Brumm(brumm, 0.5);
    Rauschen(brumm, 10.0, Startwert + 1);
    const QString pfad = Schreibe(AlsWAV({brumm.werte, band.werte}, ExportRate, TArt::Pcm16));
    ErwarteGefunden(pfad);
    TMZWAVMehrfachDekoder dekoder;
    TErweiterteDekodierung erweitert;
    ASSERT_TRUE(dekoder.Dekodiere(pfad, Adaptiv(), {}, {}, erweitert).IstOk());
    EXPECT_EQ(dekoder.HoleKanalGewichte(), (std::vector<float>{0.0F, 1.0F}));

    // Six channels, the tape on the fourth and, inverted, on the sixth: both are taken.
    std::vector<double> invertiert = band.werte;
    for (double& w : invertiert)
        w = -w;
    const std::vector<double> stille(band.werte.size(), 0.0);
    const QString sechs = Schreibe(AlsWAV({stille, brumm.werte, stille, band.werte, brumm.werte, invertiert},
                                          ExportRate, TArt::Float32));
    ASSERT_TRUE(dekoder.Dekodiere(sechs, Adaptiv(), {}, {}, erweitert).IstOk());
    EXPECT_EQ(dekoder.HoleKanalGewichte(), (std::vector<float>{0.0F, 0.0F, 0.0F, 1.0F, 0.0F, -1.0F}));
    ErwarteGefunden(sechs);
}

// White noise as loud as the tape, and twice as loud, on the left channel: it changes far more from
// sample to sample than the tape does, yet the tape's channel is taken and its files found.
TEST_F(ErweiterteDekodierung, HissBesideTheTapeDoesNotWinTheChannel) {
    const TSignal band = Export();
    for (const double db : {0.0, 6.0}) {
        SCOPED_TRACE(db);
        TSignal rauschen{band.werte, band.rate};
        Rauschen(rauschen, -db, Startwert + 2);
        for (std::size_t i = 0; i < rauschen.werte.size(); ++i)
            rauschen.werte[i] -= band.werte[i];
        const QString pfad = Schreibe(AlsWAV({rauschen.werte, band.werte}, ExportRate, TArt::Pcm16));
        TMZWAVMehrfachDekoder dekoder;
        TErweiterteDekodierung erweitert;
        ASSERT_TRUE(dekoder.Dekodiere(pfad, Adaptiv(), {}, {}, erweitert).IstOk());
        EXPECT_EQ(dekoder.HoleKanalGewichte(), (std::vector<float>{0.0F, 1.0F}));
        ErwarteGefunden(pfad);
    }
}

// The corpus: the 48 kHz recordings give their ".mzt" files (MZF layout), the two analog
// recordings of real cassettes still their MZF under every model, and the adaptive pass finds
// those on its own too.
TEST_F(ErweiterteDekodierung, CorpusRecordings) {
    for (const char* name : {"8253-test", "Baryon-3", "memory-dirtinizer", "ram-check", "sound-test1"}) {
        SCOPED_TRACE(name);
        const QString ordner = KorpusPfad(QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject"));
        std::vector<std::unique_ptr<TMZFDatei>> erwartet;
        ASSERT_TRUE(TMZFDatei::LeseAlleAusMZT(
            ordner + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".mzt"), erwartet));
        TMZFDatei datei;
        std::vector<std::unique_ptr<TMZFDatei>> gefunden;
        ASSERT_TRUE(
            datei.LeseAlleAusWAV(ordner + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".wav"),
                                 einstellungen, gefunden));
        ASSERT_EQ(gefunden.size(), erwartet.size());
        for (std::size_t i = 0; i < gefunden.size(); ++i)
            EXPECT_TRUE(gefunden[i]->IstGleich(*erwartet[i]));
    }
    for (const char* name : {"GNU BLAT 2000", "Moonlander v4"}) {
        SCOPED_TRACE(name);
        const QString stamm = KorpusPfad(QStringLiteral("psychotimmy-Sharp-MZ-700/")) + QLatin1String(name);
        ASSERT_TRUE(original.Laden(stamm + QStringLiteral(".mzf")));
        for (quint8 modell : {MZ80K, MZ80C, MZ80A, MZ700, MZ800}) {
            einstellungen.modell = modell;
            ErwarteGefunden(stamm + QStringLiteral(".wav"));
        }
        einstellungen.modell = MZ700;
        EXPECT_TRUE(AdaptivAllein(stamm + QStringLiteral(".wav")));
    }
}

// Whatever the fixed passes find comes first, in their order, with the setting on as well.
TEST_F(ErweiterteDekodierung, TheFixedPassesFindsComeFirst) {
    QStringList wavs;
    for (const char* ordner : {"gunterhager-mz-800-emulator", "psychotimmy-Sharp-MZ-700"})
        for (const QString& name :
             QDir(KorpusPfad(QLatin1String(ordner))).entryList({QStringLiteral("*.wav")}))
            wavs << KorpusPfad(QLatin1String(ordner)) + QLatin1Char('/') + name;
    ASSERT_EQ(wavs.size(), 7);
    for (const QString& wav : wavs) {
        for (quint8 modell : {MZ80K, MZ700}) {
            SCOPED_TRACE(wav.toStdString());
            einstellungen.modell = modell;
            std::vector<std::unique_ptr<TMZFDatei>> aus;
            std::vector<std::unique_ptr<TMZFDatei>> an;
            TMZFDatei datei;
            einstellungen.erweitert = false;
            ASSERT_TRUE(datei.LeseAlleAusWAV(wav, einstellungen, aus));
            einstellungen.erweitert = true;
            ASSERT_TRUE(datei.LeseAlleAusWAV(wav, einstellungen, an));
            ASSERT_GE(an.size(), aus.size());
            for (std::size_t i = 0; i < aus.size(); ++i)
                EXPECT_TRUE(an[i]->IstGleich(*aus[i]));
        }
    }
}

// Hiss alone never turns into a file.
TEST_F(ErweiterteDekodierung, HissGivesNothing) {
    TSignal zischen{std::vector<double>(static_cast<std::size_t>(ExportRate) * 20, 0.1), ExportRate};
    Rauschen(zischen, 0.0);
    TMZFDatei datei;
    std::vector<std::unique_ptr<TMZFDatei>> gefunden;
    EXPECT_FALSE(datei.LeseAlleAusWAV(Schreibe(AlsWAV(zischen, TArt::Float32)), einstellungen, gefunden));
    EXPECT_TRUE(gefunden.empty());
    ASSERT_EQ(skript.Fehler().size(), 1);
    EXPECT_TRUE(skript.Fehler()[0].contains(QStringLiteral("contains no valid MZ-file")));
}

// The window's no-file message tells of the extended decoding while it is off.
TEST_F(ErweiterteDekodierung, TheNoFileMessageTellsOfTheExtendedDecoding) {
    const QString pfad = Schreibe(WAVBau::Wav(1, 22050, 8, QByteArray(22050, '\x80')));
    const QString keinMZ = QStringLiteral("The WAV-file %1 contains no valid MZ-file!").arg(pfad);
    for (const bool an : {false, true}) {
        einstellungen.erweitert = an;
        skript.Leeren();
        TMZFDatei datei;
        EXPECT_FALSE(datei.ImportWAV(pfad, einstellungen, [](const auto&) { return 0; }));
        ASSERT_EQ(skript.Fehler().size(), 1);
        if (an)
            EXPECT_EQ(skript.Fehler()[0], keinMZ);
        else
            EXPECT_TRUE(skript.Fehler()[0].startsWith(
                keinMZ + QStringLiteral("\r\n\r\nHint: The extended decoding "
                                        "(Extras, Settings, Import and export)")));
    }
}

// The same recording gives the same result every time, however the reading thread and the
// adaptive pass's thread happen to run against each other: here the reading thread is held up
// for a random while after each block, so that the adaptive pass is now ahead, now behind.
TEST_F(ErweiterteDekodierung, SameInputSameResultWhateverTheThreadsDo) {
    TSignal jaulend = Export();
    Jaulen(jaulend, 0.015, 0.7);
    Rauschen(jaulend, 16.0);
    const QString aufnahmen[] = {Schreibe(AlsWAV(jaulend, TArt::Pcm16)),
                                 KorpusPfad(QStringLiteral("psychotimmy-Sharp-MZ-700/GNU BLAT 2000.wav"))};
    const std::vector<TDekodierDurchgang> durchgaenge{
        {false, false}, {false, true}, {true, false}, {true, true}};
    std::mt19937 zufall(Startwert);
    for (const QString& pfad : aufnahmen) {
        SCOPED_TRACE(pfad.toStdString());
        std::vector<std::string> ersteTexte;
        QByteArray ersteFunde;
        for (int lauf = 0; lauf < 8; ++lauf) {
            TMZWAVMehrfachDekoder dekoder;
            TErweiterteDekodierung erweitert;
            erweitert.mitPositionen = true;
            const int warten = static_cast<int>(zufall() % 3);
            ASSERT_TRUE(dekoder
                            .Dekodiere(
                                pfad, Adaptiv(), durchgaenge,
                                [&](const TMZWAVMehrfachDekoder&) {
                                    if (warten > 0)
                                        std::this_thread::sleep_for(
                                            std::chrono::microseconds(zufall() % (700 * warten)));
                                },
                                erweitert)
                            .IstOk());
            std::vector<std::string> texte;
            for (std::size_t i = 0; i < durchgaenge.size(); ++i)
                texte.push_back(dekoder.HoleBitText(i));
            for (int p = 0; p < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++p) {
                texte.push_back(dekoder.HoleAdaptivenBitText(p));
                const auto& positionen = dekoder.HoleAdaptivePositionen(p);
                texte.emplace_back(reinterpret_cast<const char*>(positionen.data()),
                                   positionen.size() * sizeof positionen[0]);
            }
            TMZFDatei datei;
            std::vector<std::unique_ptr<TMZFDatei>> gefunden;
            ASSERT_TRUE(datei.LeseAlleAusWAV(pfad, einstellungen, gefunden));
            QByteArray funde;
            for (const auto& d : gefunden)
                funde += QByteArray(reinterpret_cast<const char*>(d->Kopf().data()), TMZFDatei::KopfGroesse) +
                         QByteArray(reinterpret_cast<const char*>(d->Rumpf()), d->HoleMZDateiGroesse());
            if (lauf == 0) {
                ersteTexte = texte;
                ersteFunde = funde;
                EXPECT_FALSE(gefunden.empty());
                continue;
            }
            ASSERT_EQ(texte.size(), ersteTexte.size());
            for (std::size_t i = 0; i < texte.size(); ++i)
                EXPECT_TRUE(texte[i] == ersteTexte[i]) << "run " << lauf << ", text " << i;
            EXPECT_TRUE(funde == ersteFunde) << "run " << lauf;
        }
    }
}

} // namespace
