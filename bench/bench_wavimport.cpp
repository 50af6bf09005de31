// Importing a ten-minute recording (44100 Hz, 16-bit stereo, about 106 MB, 26.46 million frames):
// two MZ files back to back, a 65,535-byte one and a 20,000-byte one, exported for an MZ-700 in
// the shortened format, with a little noise on each channel, and silence up to ten minutes. The
// whole import with the MZ-700 setting (four passes), with the extended decoding too (its adaptive
// pass after the four), the multi-pass decoder alone with four passes, with one, with the adaptive
// pass alone and with all five, the reader decoding one pass frame by frame, and reading the file
// alone. Reports frames per second.
#include "BenchDatei.h"
#include "GepufferterDateiLeser.h"
#include "LittleEndian.h"
#include "MZFDatei.h"
#include "MZWAVDateiLeser.h"
#include "MZWAVMehrfachDekoder.h"
#include "Plattform.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t SampleRate = 44100;
constexpr std::int32_t Frames = SampleRate * 600;
constexpr int BytesProFrame = 4;
constexpr int Amplitude = 20000;
// MZ-700 pulses at 44100 Hz: samples of the low and the high part.
constexpr int LangTief = 20, LangHoch = 22, KurzTief = 6, KurzHoch = 16;

void Le16(std::vector<char>& d, std::size_t o, std::uint16_t v) {
    LittleEndian::Schreibe16(d.data() + o, v);
}
void Le32(std::vector<char>& d, std::size_t o, std::uint32_t v) {
    LittleEndian::Schreibe32(d.data() + o, v);
}

struct TAufnahme {
    QTemporaryDir ordner{QStringLiteral("/tmp/bandwerk-bench-XXXXXX")};
    QString pfad;
    TAufnahme() {
        pfad = ordner.filePath(QStringLiteral("zehn-minuten.wav"));
        constexpr std::uint32_t datenBytes = static_cast<std::uint32_t>(Frames) * BytesProFrame;
        std::vector<char> d(44 + static_cast<std::size_t>(datenBytes));
        std::copy_n("RIFF", 4, d.begin());
        Le32(d, 4, 36 + datenBytes);
        std::copy_n("WAVEfmt ", 8, d.begin() + 8);
        Le32(d, 16, 16);
        Le16(d, 20, 1);
        Le16(d, 22, 2);
        Le32(d, 24, SampleRate);
        Le32(d, 28, SampleRate * BytesProFrame);
        Le16(d, 32, BytesProFrame);
        Le16(d, 34, 16);
        std::copy_n("data", 4, d.begin() + 36);
        Le32(d, 40, datenBytes);
        // The tape of the two files; each channel gets its own small noise.
        std::string bits;
        // The gaps of the first model; the pulses are drawn below.
        for (const int groesse : {65535, 20000})
            bits += BenchTonbandBits(ordner, "GROSS", groesse, {.modell = MZ80K, .verkuerzt = true});
        std::uint32_t zufall = 12345;
        const auto naechste = [&zufall] {
            zufall = zufall * 1664525u + 1013904223u;
            return zufall >> 8;
        };
        std::int32_t frame = 0;
        const auto schreibe = [&](int pegel) {
            const std::size_t o = 44 + static_cast<std::size_t>(frame) * BytesProFrame;
            Le16(d, o, static_cast<std::uint16_t>(pegel + static_cast<int>(naechste() % 2001) - 1000));
            Le16(d, o + 2, static_cast<std::uint16_t>(pegel + static_cast<int>(naechste() % 2001) - 1000));
            ++frame;
        };
        for (const char bit : bits) {
            const bool lang = bit == '1';
            const int tief = lang ? LangTief : KurzTief;
            const int hoch = lang ? LangHoch : KurzHoch;
            for (int i = 0; i < tief + hoch && frame < Frames; ++i)
                schreibe(i < tief ? -Amplitude : Amplitude);
        }
        if (frame >= Frames) // the files must fit, or the import would find less than they hold
            std::abort();
        while (frame < Frames)
            schreibe(0);
        QFile f(pfad);
        if (!f.open(QIODevice::WriteOnly) ||
            f.write(d.data(), static_cast<qint64>(d.size())) != static_cast<qint64>(d.size()))
            std::abort();
    }
};

// The recording is decoded with the MZ-700's passes.
const TBandEinstellungen Einstellungen{.modell = MZ700};

const TAufnahme& Aufnahme() {
    static const TAufnahme a;
    return a;
}

// The whole import, as the window runs it: four passes, parsing, comparing; both files found.
void ImportWAV(benchmark::State& state, bool erweitert) {
    const QString pfad = Aufnahme().pfad;
    TBandEinstellungen einstellungen = Einstellungen;
    einstellungen.erweitert = erweitert;
    for (auto _ : state) {
        TMZFDatei datei;
        std::size_t gefunden = 0;
        const bool ok =
            datei.ImportWAV(pfad, einstellungen, [&](const std::vector<std::unique_ptr<TMZFDatei>>& liste) {
                gefunden = liste.size();
                return 0;
            });
        if (!ok || gefunden != 2)
            state.SkipWithError("the two files were not found");
    }
    state.SetItemsProcessed(state.iterations() * Frames);
    // Frames each of the four passes decodes per second.
    state.counters["frames_per_pass_per_s"] =
        benchmark::Counter(static_cast<double>(Frames) * 4, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK_CAPTURE(ImportWAV, standard, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportWAV, erweitert, true)->Unit(benchmark::kMillisecond);

void MehrfachDekoder(benchmark::State& state, std::vector<TDekodierDurchgang> durchgaenge, bool adaptiv) {
    const QString pfad = Aufnahme().pfad;
    std::size_t bits = 0;
    TBandEinstellungen einstellungen = Einstellungen;
    einstellungen.erweitert = adaptiv;
    for (auto _ : state) {
        TMZWAVMehrfachDekoder dekoder;
        if (!dekoder.Dekodiere(pfad, einstellungen, durchgaenge).IstOk())
            state.SkipWithError("decoding failed");
        bits = durchgaenge.empty() ? dekoder.HoleAdaptivenBitText(0).size() : dekoder.HoleBitText(0).size();
    }
    state.SetItemsProcessed(state.iterations() * Frames);
    state.counters["bits_pass1"] = static_cast<double>(bits);
}
const std::vector<TDekodierDurchgang> VierDurchgaenge = {
    {false, false}, {false, true}, {true, false}, {true, true}};
BENCHMARK_CAPTURE(MehrfachDekoder, vier_Durchgaenge, VierDurchgaenge, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MehrfachDekoder, zwei_Durchgaenge,
                  std::vector<TDekodierDurchgang>{{false, false}, {true, false}}, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MehrfachDekoder, ein_Durchgang, std::vector<TDekodierDurchgang>{{false, false}}, false)
    ->Unit(benchmark::kMillisecond);
// The extended decoding's own cost: the adaptive pass alone, and the four with it.
BENCHMARK_CAPTURE(MehrfachDekoder, adaptiv_allein, std::vector<TDekodierDurchgang>{}, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MehrfachDekoder, vier_und_adaptiv, VierDurchgaenge, true)->Unit(benchmark::kMillisecond);

// The floor: the sample data read in the same blocks, nothing decoded.
void NurLesen(benchmark::State& state) {
    const QString pfad = Aufnahme().pfad;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(TMZWAVMehrfachDekoder::BlockFrames) *
                                    BytesProFrame);
    for (auto _ : state) {
        TGepufferterDateiLeser leser;
        TWAVFormat format;
        if (!TMZWAVDateiLeser::OeffneWAV(leser, pfad, format).IstOk())
            state.SkipWithError("not opened");
        for (std::int32_t gelesen = 0; gelesen < format.anzahlFrames;) {
            const std::int32_t anzahl =
                std::min(TMZWAVMehrfachDekoder::BlockFrames, format.anzahlFrames - gelesen);
            if (!leser.LeseBytes(block.data(), anzahl * BytesProFrame))
                state.SkipWithError("read failed");
            gelesen += anzahl;
        }
        leser.Schliessen();
        benchmark::DoNotOptimize(block.data());
    }
    state.SetItemsProcessed(state.iterations() * Frames);
}
BENCHMARK(NurLesen)->Unit(benchmark::kMillisecond);

// One pass the way the reader hands out bits: a frame at a time through the buffered reader.
void LeserEinDurchgang(benchmark::State& state) {
    const QString pfad = Aufnahme().pfad;
    for (auto _ : state) {
        TMZWAVDateiLeser leser;
        if (!leser.Oeffnen(pfad, Einstellungen, false, false))
            state.SkipWithError("not opened");
        bool bit = false;
        std::size_t bits = 0;
        while (!leser.IstDateiEnde() && leser.LeseBit(bit))
            ++bits;
        leser.Schliessen();
        benchmark::DoNotOptimize(bits);
    }
    state.SetItemsProcessed(state.iterations() * Frames);
}
BENCHMARK(LeserEinDurchgang)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
