// The tape bit text of the largest MZ file (65,535 body bytes, full format: 1,215,644 pulses):
// building it, parsing it back, and the MZT export and import that rest on it.
#include "MZFDatei.h"
#include "Plattform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int GroessterRumpf = 65535;
constexpr int KopfGroesse = 128;

// The tapes here are the MZ-700's.
const TBandEinstellungen Voll{.modell = MZ700};
const TBandEinstellungen Verkuerzt{.modell = MZ700, .verkuerzt = true};

// The largest file, loaded from an MZF image written once.
struct TGrossteDatei {
    QTemporaryDir ordner;
    TMZFDatei datei;
    QString mzt;
    TGrossteDatei() {
        QByteArray mzf(KopfGroesse + GroessterRumpf, '\0');
        mzf[0] = 0x01;
        for (int i = 1; i < 18; ++i)
            mzf[i] = 0x0D;
        mzf[18] = static_cast<char>(GroessterRumpf & 0xFF);
        mzf[19] = static_cast<char>(GroessterRumpf >> 8);
        for (int i = 24; i < KopfGroesse; ++i)
            mzf[i] = 0x0D;
        for (int i = 0; i < GroessterRumpf; ++i)
            mzf[KopfGroesse + i] = static_cast<char>((i * 31 + 7) & 0xFF);
        const QString pfad = ordner.filePath(QStringLiteral("gross.mzf"));
        QFile f(pfad);
        if (!f.open(QIODevice::WriteOnly) || f.write(mzf) != mzf.size())
            std::abort();
        f.close();
        if (!datei.Laden(pfad))
            std::abort();
        mzt = ordner.filePath(QStringLiteral("gross.mzt"));
        if (!datei.ExportMZT(mzt, Voll))
            std::abort();
    }
};

TGrossteDatei& Datei() {
    static TGrossteDatei d;
    return d;
}

void TonbandBitsErzeugen(benchmark::State& state) {
    const TMZFDatei& datei = Datei().datei;
    for (auto _ : state) {
        std::string bits = datei.ErzeugeTonbandBits(Voll);
        benchmark::DoNotOptimize(bits.data());
    }
    state.SetItemsProcessed(state.iterations() * 1215644);
}
BENCHMARK(TonbandBitsErzeugen)->Unit(benchmark::kMillisecond);

void TonbandBitsLesen(benchmark::State& state) {
    const std::string bits = Datei().datei.ErzeugeTonbandBits(Voll);
    TMZFDatei ziel;
    for (auto _ : state) {
        int ende = 0;
        if (!ziel.LeseAusTonbandBits(bits, 1, false, 0.0, ende))
            state.SkipWithError("not parsed");
        benchmark::DoNotOptimize(ende);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(bits.size()));
}
BENCHMARK(TonbandBitsLesen)->Unit(benchmark::kMillisecond);

// 888 good headers and not one body, 250 KB as a tape image: every header sends the parser on a
// search for a short mark that is not there.
void NurKoepfeLesen(benchmark::State& state) {
    constexpr std::size_t LueckeVerkuerzt = 5000;
    constexpr std::size_t LueckeGenug = 1000;
    constexpr std::size_t MarkeKopfTrenner = 80 + 1 + 1170 + 1;
    constexpr int AnzahlKoepfe = 888;
    const std::string verkuerzt = Datei().datei.ErzeugeTonbandBits(Verkuerzt);
    const std::string kopf = verkuerzt.substr(LueckeVerkuerzt - LueckeGenug, LueckeGenug + MarkeKopfTrenner);
    std::string bits;
    for (int i = 0; i < AnzahlKoepfe; ++i)
        bits += kopf;
    TMZFDatei ziel;
    for (auto _ : state) {
        int ende = 0;
        if (ziel.LeseAusTonbandBits(bits, 1, false, 0.0, ende))
            state.SkipWithError("a file without a body was found");
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(bits.size()));
}
BENCHMARK(NurKoepfeLesen)->Unit(benchmark::kMillisecond);

void MZTExport(benchmark::State& state) {
    TMZFDatei& datei = Datei().datei;
    const QString pfad = Datei().ordner.filePath(QStringLiteral("export.mzt"));
    for (auto _ : state)
        if (!datei.ExportMZT(pfad, Voll))
            state.SkipWithError("export failed");
}
BENCHMARK(MZTExport)->Unit(benchmark::kMillisecond);

void MZTImport(benchmark::State& state) {
    const QString pfad = Datei().mzt;
    TMZFDatei ziel;
    for (auto _ : state)
        if (!ziel.ImportMZT(pfad))
            state.SkipWithError("import failed");
}
BENCHMARK(MZTImport)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
