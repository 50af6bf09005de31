// The body view of the largest body, rebuilt by the main window at every refresh.
#include "MZFDatei.h"
#include "Plattform.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
void RumpfAnsicht(benchmark::State& state) {
    constexpr int Groesse = TMZFDatei::MaxRumpfGroesse;
    QByteArray bild(TMZFDatei::KopfGroesse + Groesse, '\x0D');
    for (int i = 0; i < Groesse; ++i)
        bild[TMZFDatei::KopfGroesse + i] = static_cast<char>(i * 7);
    QTemporaryDir verzeichnis;
    const QString pfad = verzeichnis.filePath(QStringLiteral("gross.mzf"));
    QFile f(pfad);
    if (!f.open(QIODevice::WriteOnly) || f.write(bild) != bild.size()) {
        state.SkipWithError("cannot write the test file");
        return;
    }
    f.close();
    TMZFDatei datei;
    if (!datei.Laden(pfad)) {
        state.SkipWithError("cannot load the test file");
        return;
    }
    for (auto _ : state) {
        QString text = datei.HoleMZDateiRumpfText();
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(RumpfAnsicht)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
