// WAV export of the largest MZ file (65,535 body bytes, full tape format, MZ-700 timing, 44100 Hz):
// about 1.2 million pulses and 36 MB of WAV. Reports the WAV bytes written per second.
#include "MZFDatei.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

namespace {

constexpr int RumpfGroesse = 65535;
constexpr quint16 SampleRate = 44100;

QByteArray GrossesMZF() {
    QByteArray b(TMZFDatei::KopfGroesse, static_cast<char>(TMZFDatei::Ende));
    b[TMZFDatei::OffsetAttribut] = 0x01; // machine code program
    b.replace(TMZFDatei::OffsetName, 3, "BIG");
    constexpr std::uint16_t Adresse = 0x1200;
    const auto setze16 = [&b](int offset, std::uint16_t wert) {
        b[offset] = static_cast<char>(wert & 0xFF);
        b[offset + 1] = static_cast<char>(wert >> 8);
    };
    setze16(TMZFDatei::OffsetGroesse, RumpfGroesse);
    setze16(TMZFDatei::OffsetLadeAdresse, Adresse);
    setze16(TMZFDatei::OffsetStartAdresse, Adresse);
    std::mt19937 zufall(4711);
    for (int i = 0; i < RumpfGroesse; ++i)
        b.append(static_cast<char>(zufall() & 0xFF));
    return b;
}

void BM_ExportWAV(benchmark::State& state) {
    QTemporaryDir dir(QStringLiteral("/tmp/bandwerk-bench-XXXXXX"));
    const QString mzf = dir.filePath(QStringLiteral("gross.mzf"));
    const QString wav = dir.filePath(QStringLiteral("gross.wav"));
    {
        QFile f(mzf);
        if (!f.open(QIODevice::WriteOnly) || f.write(GrossesMZF()) != TMZFDatei::KopfGroesse + RumpfGroesse) {
            state.SkipWithError("cannot write the MZF file");
            return;
        }
    }
    // The settings as a value: the benchmark never touches the user's settings store.
    const TBandEinstellungen einstellungen{.modell = MZ700, .sampleRate = SampleRate};
    TMZFDatei datei;
    if (!datei.Laden(mzf)) {
        state.SkipWithError("cannot load the MZF file");
        return;
    }
    qint64 bytes = 0;
    for (auto _ : state) {
        if (!datei.ExportWAV(wav, einstellungen)) {
            state.SkipWithError("export failed");
            return;
        }
        bytes += QFileInfo(wav).size();
    }
    state.SetBytesProcessed(bytes);
    state.counters["WAV_MB"] = static_cast<double>(QFileInfo(wav).size()) / 1e6;
}
BENCHMARK(BM_ExportWAV)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
