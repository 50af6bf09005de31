#include "MZImpulsGenerator.h"
#include "MZWAVDateiSchreiber.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr int Kopf = 44;

QByteArray Lauf(int anzahl, int wert) {
    return QByteArray(anzahl, static_cast<char>(wert));
}

// Every sample of a signal, read into buffers of `stueck` samples.
QByteArray Alles(TMZTonbandSignal& signal, std::int64_t stueck) {
    QByteArray alles;
    std::vector<std::uint8_t> puffer(static_cast<std::size_t>(stueck));
    while (const std::int64_t n = signal.Fuelle(puffer.data(), stueck))
        alles.append(reinterpret_cast<const char*>(puffer.data()), n);
    return alles;
}

} // namespace

// MZ-80K at 8000 Hz, worked out by hand: a long pulse is 3.712 + 3.952 samples (4 + 4), a short
// one 1.92 + 2.112 (2 + 3); one second of silence before and after.
TEST(MZImpulsGenerator, SignalEinesLangenUndEinesKurzenPulsesVonHand) {
    const TMZImpulsGenerator generator(MZ80K, 8000, false);
    const QByteArray erwartet =
        Lauf(8000, 128) + Lauf(4, 64) + Lauf(4, 192) + Lauf(2, 64) + Lauf(3, 192) + Lauf(8000, 128);
    for (const std::int64_t stueck : {1, 3, 4096, 100000}) {
        TMZTonbandSignal signal("10", generator);
        EXPECT_EQ(signal.AnzahlSamples(), erwartet.size());
        EXPECT_EQ(Alles(signal, stueck), erwartet) << stueck;
        EXPECT_TRUE(signal.IstAmEnde());
        EXPECT_EQ(signal.Position(), erwartet.size());
    }
    // Inverted: 255 - level.
    TMZTonbandSignal invertiert("1", TMZImpulsGenerator(MZ80K, 8000, true));
    EXPECT_EQ(Alles(invertiert, 10), Lauf(8000, 128) + Lauf(4, 191) + Lauf(4, 63) + Lauf(8000, 128));
    // Nothing on the tape: two seconds of silence.
    TMZTonbandSignal leer("", generator);
    EXPECT_EQ(Alles(leer, 777), Lauf(16000, 128));
}

// Runs and buffers give the same samples, also when the reading switches between them.
TEST(MZImpulsGenerator, LaeufeUndPufferStimmenUeberein) {
    const TMZImpulsGenerator generator(MZ700, 22050, false);
    const std::string bits = "0110100011101";
    TMZTonbandSignal ganz(bits, generator);
    const QByteArray erwartet = Alles(ganz, 1 << 20);
    TMZTonbandSignal gemischt(bits, generator);
    QByteArray gelesen;
    std::uint8_t puffer[5];
    TMZImpulsGenerator::TLauf lauf{};
    for (int i = 0;; ++i) {
        if (i % 2 == 0) {
            const std::int64_t n = gemischt.Fuelle(puffer, sizeof puffer);
            gelesen.append(reinterpret_cast<const char*>(puffer), n);
            if (n == 0)
                break;
        } else {
            if (!gemischt.NaechsterLauf(lauf))
                break;
            gelesen += Lauf(lauf.anzahl, lauf.pegel);
        }
    }
    EXPECT_EQ(gelesen, erwartet);
    EXPECT_EQ(gemischt.Position(), gemischt.AnzahlSamples());
}

// The file writer and the signal share the generator: the data of a written WAV file is the
// signal, sample for sample, at every model, rate and polarity (plus the file's pad sample).
TEST(MZImpulsGenerator, WAVDateiEnthaeltDasSignal) {
    TPlattformSkript skript;
    const std::string bits = "1111000010101100";
    for (int modell = 0; modell < AnzahlMZModelle; ++modell)
        for (const int rate : {MinSampleRate, 22050, 44100, MaxSampleRate})
            for (const bool invertiert : {false, true}) {
                SchreibeImportExportEinstellungen(static_cast<quint8>(modell), false,
                                                  static_cast<quint16>(rate), invertiert);
                const QString pfad = TestVerzeichnis() + QStringLiteral("/s.wav");
                TMZWAVDateiSchreiber w;
                ASSERT_TRUE(w.Oeffnen(pfad));
                for (const char c : bits)
                    ASSERT_TRUE(w.SchreibeImpuls(c == '1'));
                ASSERT_TRUE(w.Schliessen());
                TMZTonbandSignal signal(
                    bits, TMZImpulsGenerator(modell, static_cast<std::uint32_t>(rate), invertiert));
                QByteArray erwartet = Alles(signal, 1000);
                if ((Kopf + erwartet.size()) % 2 != 0)
                    erwartet += Lauf(1, 128);
                EXPECT_EQ(LiesDatei(pfad).mid(Kopf), erwartet) << modell << ' ' << rate << ' ' << invertiert;
            }
    EinstellungenLeeren();
}
