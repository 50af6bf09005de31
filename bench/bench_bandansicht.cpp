// The tape view on an hour of tape: a 60-minute recording at 44100 Hz, 16-bit stereo (about
// 635 MB), written here from an MZ-700 tape of three files (shortened format) over and over with
// a little noise on each channel. Measured, with the standard and with the extended decoding:
// the import alone (what the view must not exceed by much), the view's reading: the first picture
// at full zoom-out (drawn as soon as the waveform is in, while the decoders have yet to run: the
// time to first picture) and the whole reading, a repaint at full zoom-out and at sample zoom
// (mean of many), the memory the view holds, and the peak memory of the import and of the view,
// each on its own (the process's high-water mark is reset before each; what the import's threads
// freed may still be held by the process, so that "-view", the view alone, tells the view's own
// peak). A plain program:
//   bench_bandansicht [MINUTES [standard|extended|both[-view] [RECORDING.wav]]]
// (default 60, both; the recording is written to a temporary folder and removed afterwards, or
// kept under the name given, and taken from there when it is there already).
#include "BandBild.h"
#include "Bandaufzeichnung.h"
#include "BenchDatei.h"
#include "LittleEndian.h"
#include "MZFDatei.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t SampleRate = 44100;
constexpr int BytesProFrame = 4;
constexpr int Amplitude = 20000;
constexpr int Rauschen = 1000;
// MZ-700 pulses at 44100 Hz: samples of the low and the high part.
constexpr int LangTief = 20, LangHoch = 22, KurzTief = 6, KurzHoch = 16;
constexpr int Wiederholungen = 50;
constexpr int KiB = 1024;
constexpr int WAVKopfBytes = 44;

using TUhr = std::chrono::steady_clock;

double Millisekunden(TUhr::time_point seit) {
    return std::chrono::duration<double, std::milli>(TUhr::now() - seit).count();
}

// The process's peak resident memory since the last reset, in MB (Linux: VmHWM).
long SpitzeMiB() {
    std::ifstream status("/proc/self/status");
    std::string zeile;
    while (std::getline(status, zeile))
        if (zeile.rfind("VmHWM:", 0) == 0)
            return std::atol(zeile.c_str() + 6) / KiB;
    return -1;
}

// Starts the peak anew from what the process holds now.
void SetzeSpitzeZurueck() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

std::string TonbandBits(const QTemporaryDir& ordner) {
    std::string bits;
    for (const int groesse : {16384, 4000, 30000})
        bits += BenchTonbandBits(ordner, "BENCH", groesse, {.modell = MZ700, .verkuerzt = true});
    return bits;
}

// Written block by block: the recording never sits in memory whole.
void SchreibeAufnahme(const QString& pfad, const std::string& bits, std::int64_t frames) {
    QFile f(pfad);
    if (!f.open(QIODevice::WriteOnly))
        std::abort();
    const auto datenBytes = static_cast<std::uint32_t>(frames * BytesProFrame);
    char kopf[WAVKopfBytes] = {};
    std::copy_n("RIFF", 4, kopf);
    LittleEndian::Schreibe32(kopf + 4, 36 + datenBytes);
    std::copy_n("WAVEfmt ", 8, kopf + 8);
    LittleEndian::Schreibe32(kopf + 16, 16);
    LittleEndian::Schreibe16(kopf + 20, 1);
    LittleEndian::Schreibe16(kopf + 22, 2);
    LittleEndian::Schreibe32(kopf + 24, SampleRate);
    LittleEndian::Schreibe32(kopf + 28, SampleRate * BytesProFrame);
    LittleEndian::Schreibe16(kopf + 32, BytesProFrame);
    LittleEndian::Schreibe16(kopf + 34, 16);
    std::copy_n("data", 4, kopf + 36);
    LittleEndian::Schreibe32(kopf + 40, datenBytes);
    f.write(kopf, sizeof kopf);
    std::uint32_t zufall = 12345;
    const auto naechste = [&zufall] {
        zufall = zufall * 1664525U + 1013904223U;
        return zufall >> 8;
    };
    std::vector<char> puffer;
    std::int64_t frame = 0;
    std::size_t bit = 0;
    int imImpuls = 0;
    while (frame < frames) {
        puffer.clear();
        for (int i = 0; i < (1 << 16) && frame < frames; ++i, ++frame) {
            const bool lang = bits[bit] == '1';
            const int tief = lang ? LangTief : KurzTief;
            const int pegel = imImpuls < tief ? -Amplitude : Amplitude;
            if (++imImpuls == tief + (lang ? LangHoch : KurzHoch)) {
                imImpuls = 0;
                bit = (bit + 1) % bits.size();
            }
            for (int k = 0; k < 2; ++k) {
                const auto s = static_cast<std::uint16_t>(
                    pegel + static_cast<int>(naechste() % (2 * Rauschen + 1)) - Rauschen);
                puffer.push_back(static_cast<char>(s & 0xFF));
                puffer.push_back(static_cast<char>(s >> 8));
            }
        }
        if (f.write(puffer.data(), static_cast<qint64>(puffer.size())) != static_cast<qint64>(puffer.size()))
            std::abort();
    }
}

void Miss(const QString& pfad, bool erweitert, bool mitImport) {
    const char* art = erweitert ? "extended" : "standard";
    const TBandEinstellungen einstellungen{.modell = MZ700, .erweitert = erweitert};
    SetzeSpitzeZurueck();
    auto beginn = TUhr::now();
    if (mitImport) {
        TMZFDatei leser;
        std::vector<std::unique_ptr<TMZFDatei>> dateien;
        leser.LeseAlleAusWAV(pfad, einstellungen, dateien);
        std::printf("%-8s import alone:                 %8.0f ms, %zu files, peak memory %ld MB\n", art,
                    Millisekunden(beginn), dateien.size(), SpitzeMiB());
    }
    const QRect flaeche(0, 0, TBandBild::BildBreite, TBandBild::BildHoehe);
    QImage bild(flaeche.size(), QImage::Format_RGB32);
    const TBandBildFarben farben = TBandBildFarben::Standard();
    SetzeSpitzeZurueck();
    beginn = TUhr::now();
    TBandaufzeichnung band;
    double erstesBild = -1.0;
    // As the window does: the first picture once the waveform is in.
    const auto fortschritt = [&](double) {
        if (erstesBild >= 0.0 || band.Phase() != TBandaufzeichnung::TPhase::Dekodierung)
            return;
        QPainter p(&bild);
        TBandBild::Zeichne(p, flaeche, band, {0.0, static_cast<double>(band.Frames())}, farben);
        erstesBild = Millisekunden(beginn);
    };
    if (!band.Lies(pfad, einstellungen, fortschritt).IstOk() || erstesBild < 0.0)
        std::abort();
    const TBandAusschnitt alles{0.0, static_cast<double>(band.Frames())};
    {
        QPainter p(&bild);
        TBandBild::Zeichne(p, flaeche, band, alles, farben);
    }
    std::printf("%-8s view, time to first picture:  %8.0f ms (the waveform, before the decoding)\n", art,
                erstesBild);
    std::printf("%-8s view, read whole:             %8.0f ms, %zu files, %zu blocks, peak memory %ld MB\n",
                art, Millisekunden(beginn), band.Katalog().size(), band.Bloecke().size(), SpitzeMiB());
    beginn = TUhr::now();
    for (int i = 0; i < Wiederholungen; ++i) {
        QPainter p(&bild);
        TBandBild::Zeichne(p, flaeche, band, alles, farben);
    }
    std::printf("%-8s repaint, full zoom-out:       %8.2f ms\n", art, Millisekunden(beginn) / Wiederholungen);
    const double mitte = 0.5 * static_cast<double>(band.Frames());
    const TBandAusschnitt nah{mitte, mitte + TBandBild::BildBreite / 4.0};
    std::vector<std::uint8_t> frames;
    beginn = TUhr::now();
    band.LeseFrames(static_cast<std::int32_t>(mitte), TBandBild::BildBreite, frames);
    const std::vector<TBandImpuls> impulse = band.Impulse(frames, static_cast<std::int64_t>(mitte));
    const std::vector<TImpulsBeleg> adaptiv = band.AdaptiveImpulse(
        static_cast<std::int64_t>(mitte), static_cast<std::int64_t>(mitte) + TBandBild::BildBreite);
    const double lesen = Millisekunden(beginn);
    TBandBildAuswahl auswahl;
    auswahl.frames = &frames;
    auswahl.framesAb = static_cast<std::int64_t>(mitte);
    auswahl.impulse = &impulse;
    auswahl.adaptiv = &adaptiv;
    beginn = TUhr::now();
    for (int i = 0; i < Wiederholungen; ++i) {
        QPainter p(&bild);
        TBandBild::Zeichne(p, flaeche, band, nah, farben, auswahl);
    }
    std::printf("%-8s repaint, sample zoom:         %8.2f ms (frames and pulses taken once: %.2f ms)\n", art,
                Millisekunden(beginn) / Wiederholungen, lesen);
    std::printf("%-8s memory held by the view:      %8.1f MB\n", art,
                static_cast<double>(band.Bytes()) / (KiB * KiB));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication anwendung(argc, argv);
    const int minuten = argc > 1 ? std::atoi(argv[1]) : 60;
    QTemporaryDir ordner(QStringLiteral("/tmp/bandwerk-bench-XXXXXX"));
    const QString pfad =
        argc > 3 ? QString::fromLocal8Bit(argv[3]) : ordner.filePath(QStringLiteral("stunde.wav"));
    const std::int64_t frames = static_cast<std::int64_t>(minuten) * 60 * SampleRate;
    if (QFileInfo(pfad).size() != WAVKopfBytes + frames * BytesProFrame)
        SchreibeAufnahme(pfad, TonbandBits(ordner), frames);
    std::printf("recording: %d min, 44100 Hz 16-bit stereo, %.0f MB\n", minuten,
                static_cast<double>(frames * BytesProFrame) / (KiB * KiB));
    // "extended-view" or "standard-view": the view alone, its peak that of a fresh process.
    QString nur = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const bool mitImport = !nur.endsWith(QLatin1String("-view"));
    nur.remove(QLatin1String("-view"));
    if (nur != QLatin1String("extended"))
        Miss(pfad, false, mitImport);
    if (nur != QLatin1String("standard"))
        Miss(pfad, true, mitImport);
    return 0;
}
