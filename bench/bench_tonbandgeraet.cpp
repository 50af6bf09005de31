// The tape deck through a real sound server (PULSE_SERVER, e.g. from tools/tonserver): the CPU
// time the process spends playing a tape and recording one, per minute of tape, and the latency
// from the end of a body on the input to the file appearing in the recorder's list. Each
// benchmark makes a null sink of its own and offers its monitor as an input. The pulse generator
// and the live decoding alone (no sound server) are measured too, per minute of tape.
#include "BandAbspieler.h"
#include "BandAufnahme.h"
#include "MZFDatei.h"
#include "MZImpulsGenerator.h"
#include "MZWAVMehrfachDekoder.h"
#include "WAVSuche.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>

namespace {

constexpr double SekundenProMinute = 60.0;
constexpr std::uint32_t Rate = 22050;
constexpr int AufnahmeRate = TBandAufnahme::SampleRate;
const char* const Korpus = BANDWERK_KORPUS "/gunterhager-mz800-emuz/TestHalt.mzf";

double ProzessCpuSekunden() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

std::optional<QString> Pactl(const QStringList& argumente) {
    QProcess p;
    p.start(QStringLiteral("pactl"), argumente);
    if (!p.waitForFinished() || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// Seconds into a 16-bit mono WAV file of its last sample louder than a quarter of its loudest.
double LetzterImpuls(const QString& wav) {
    QFile f(wav);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray d = f.readAll().mid(44);
    const auto* s = reinterpret_cast<const std::int16_t*>(d.constData());
    const qsizetype n = d.size() / 2;
    int spitze = 0;
    for (qsizetype i = 0; i < n; ++i)
        spitze = std::max(spitze, std::abs(static_cast<int>(s[i])));
    for (qsizetype i = n - 1; i >= 0; --i)
        if (std::abs(static_cast<int>(s[i])) * 4 > spitze)
            return static_cast<double>(i) / AufnahmeRate;
    return -1;
}

// A null sink "name" and its monitor as the input "name_eingang", for one benchmark.
struct TGeraet {
    QString name;
    QStringList module;
    explicit TGeraet(const QString& n) : name(n) {
        for (const QStringList& a :
             {QStringList{QStringLiteral("module-null-sink"), QStringLiteral("sink_name=") + n},
              QStringList{QStringLiteral("module-remap-source"), QStringLiteral("master=%1.monitor").arg(n),
                          QStringLiteral("source_name=%1_eingang").arg(n)}})
            if (const auto m = Pactl(QStringList{QStringLiteral("load-module")} + a))
                module << *m;
    }
    ~TGeraet() {
        for (const QString& m : module)
            Pactl({QStringLiteral("unload-module"), m});
    }
    bool Ok() const { return module.size() == 2; }
};

// The tape of the small corpus program, MZ-700, shortened format.
const TBandEinstellungen Band{.modell = MZ700, .sampleRate = Rate, .verkuerzt = true};
std::string Bits() {
    TMZFDatei datei;
    datei.Laden(QString::fromUtf8(Korpus));
    return datei.ErzeugeTonbandBits(Band);
}

bool ServerDa(benchmark::State& state) {
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER") || !Pactl({QStringLiteral("info")})) {
        state.SkipWithError("no sound server (start one with tools/tonserver and set PULSE_SERVER)");
        return false;
    }
    return true;
}

// Playing: CPU seconds of the whole process per minute of tape played, and in per cent of one core.
void BM_AbspielenCpu(benchmark::State& state) {
    if (!ServerDa(state))
        return;
    TGeraet geraet(QStringLiteral("bench_abspielen"));
    const std::string bits = Bits();
    for (auto _ : state) {
        TBandAbspieler spieler;
        QEventLoop schleife;
        QObject::connect(&spieler, &TBandAbspieler::Beendet, &schleife, &QEventLoop::quit);
        const double cpu = ProzessCpuSekunden();
        QElapsedTimer uhr;
        uhr.start();
        spieler.Starte(std::make_unique<TMZTonbandSignal>(bits, TMZImpulsGenerator(MZ700, Rate, false)),
                       geraet.name);
        schleife.exec();
        const double sekunden = static_cast<double>(uhr.elapsed()) / 1000.0;
        const double verbraucht = ProzessCpuSekunden() - cpu;
        state.SetIterationTime(sekunden);
        state.counters["cpu_s_per_tape_min"] = verbraucht * SekundenProMinute / sekunden;
        state.counters["cpu_percent_of_core"] = verbraucht / sekunden * 100.0;
        state.counters["underruns"] = spieler.Unterlaeufe();
    }
}
BENCHMARK(BM_AbspielenCpu)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// Recording: while the server's own player (paplay) plays the tape into the input, this process
// records, decodes (MZ-700: four passes) and keeps the WAV file. CPU per minute of tape, and how
// far the recording had got past the body's end when the file appeared: the end of the body is the
// last pulse in the kept recording. The input's own buffer (TBandAufnahme: 50 ms) and the read
// cycle (20 ms) come on top of it.
void BM_AufnahmeCpuUndLatenz(benchmark::State& state) {
    if (!ServerDa(state))
        return;
    TGeraet geraet(QStringLiteral("bench_aufnahme"));
    const std::string bits = Bits();
    QTemporaryDir ordner;
    const QString band = ordner.filePath(QStringLiteral("band.wav"));
    const QString behalten = ordner.filePath(QStringLiteral("ganz.wav"));
    {
        TMZFDatei datei;
        datei.Laden(QString::fromUtf8(Korpus));
        datei.ExportWAV(band, Band);
    }
    for (auto _ : state) {
        TBandAufnahme aufnahme;
        QEventLoop schleife;
        qint64 gefundenMs = -1;
        QObject::connect(&aufnahme, &TBandAufnahme::DateiGefunden, &schleife, [&](int) {
            gefundenMs = aufnahme.AufgenommenMs();
            aufnahme.Stoppe();
        });
        QObject::connect(&aufnahme, &TBandAufnahme::Beendet, &schleife, &QEventLoop::quit);
        QElapsedTimer uhr;
        uhr.start();
        const double cpu = ProzessCpuSekunden();
        aufnahme.Starte({geraet.name + QStringLiteral("_eingang"), {.modell = MZ700}, behalten, 60'000});
        QProcess spieler;
        spieler.start(QStringLiteral("paplay"), {QStringLiteral("--device=") + geraet.name, band});
        schleife.exec();
        const double sekunden = static_cast<double>(uhr.elapsed()) / 1000.0;
        const double verbraucht = ProzessCpuSekunden() - cpu;
        spieler.kill();
        spieler.waitForFinished();
        state.SetIterationTime(sekunden);
        state.counters["cpu_s_per_tape_min"] = verbraucht * SekundenProMinute / sekunden;
        state.counters["cpu_percent_of_core"] = verbraucht / sekunden * 100.0;
        state.counters["behind_body_end_s"] =
            static_cast<double>(gefundenMs) / 1000.0 - LetzterImpuls(behalten);
    }
}
BENCHMARK(BM_AufnahmeCpuUndLatenz)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// The decoding alone, as the recorder feeds it: a minute of tape at 44100 Hz, 16-bit mono, pushed
// in pieces of 20 ms. CPU seconds per minute of tape.
void BM_LiveDekodierungProMinute(benchmark::State& state) {
    // A minute of repeated tapes, as 16-bit samples.
    const std::string bits = Bits();
    std::vector<std::int16_t> minute;
    while (minute.size() < static_cast<std::size_t>(AufnahmeRate) * 60) {
        TMZTonbandSignal signal(bits, TMZImpulsGenerator(MZ700, AufnahmeRate, false));
        std::vector<std::uint8_t> pegel(static_cast<std::size_t>(signal.AnzahlSamples()));
        signal.Fuelle(pegel.data(), signal.AnzahlSamples());
        for (const std::uint8_t p : pegel)
            minute.push_back(static_cast<std::int16_t>((p - 128) * 200));
    }
    minute.resize(static_cast<std::size_t>(AufnahmeRate) * 60);
    constexpr int Stueck = AufnahmeRate / 50;
    for (auto _ : state) {
        TWAVSuche suche({.modell = MZ700, .erweitert = state.range(0) != 0});
        TWAVFormat format;
        format.sampleRate = AufnahmeRate;
        format.sechzehnBit = true;
        format.bytesProSample = 2;
        format.anzahlFrames = static_cast<std::int32_t>(minute.size());
        TMZWAVMehrfachDekoder dekoder;
        dekoder.Starte(format, suche.Einstellungen(), suche.Durchgaenge(), suche.Erweiterung(),
                       suche.Senken());
        for (std::size_t i = 0; i < minute.size(); i += Stueck)
            dekoder.Verarbeite(reinterpret_cast<const std::uint8_t*>(minute.data() + i),
                               static_cast<std::int32_t>(std::min<std::size_t>(Stueck, minute.size() - i)));
        dekoder.Beende();
        std::vector<std::unique_ptr<TMZFDatei>> dateien;
        suche.Ende(dateien, nullptr);
        benchmark::DoNotOptimize(dateien.size());
    }
}
BENCHMARK(BM_LiveDekodierungProMinute)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The pulse generator alone: a minute of tape at 22050 Hz into buffers of 20 ms.
void BM_GeneratorProMinute(benchmark::State& state) {
    const std::string bits = Bits();
    std::vector<std::uint8_t> puffer(Rate / 50);
    for (auto _ : state) {
        std::int64_t n = 0;
        while (n < static_cast<std::int64_t>(Rate) * 60) {
            TMZTonbandSignal signal(bits, TMZImpulsGenerator(MZ700, Rate, false));
            while (const std::int64_t k =
                       signal.Fuelle(puffer.data(), static_cast<std::int64_t>(puffer.size())))
                n += k;
        }
        benchmark::DoNotOptimize(puffer.data());
    }
}
BENCHMARK(BM_GeneratorProMinute)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication anwendung(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
