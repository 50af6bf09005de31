// The content views of the largest body (65,535 bytes): a BASIC listing, with and without finding
// the dialect first (the window does both at every refresh), and a Z80 disassembly.
#include "BasicListe.h"
#include "MZFDatei.h"
#include "Z80Disassembler.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {
constexpr int Groesse = TMZFDatei::MaxRumpfGroesse;
constexpr std::uint16_t LadeAdresse = 0x6BCF;

void HaengeAn(std::vector<std::uint8_t>& rumpf, std::initializer_list<std::uint8_t> bytes) {
    rumpf.insert(rumpf.end(), bytes);
}

// An MZ-700 program filling the body to the last byte: lines with keywords, a line reference, a
// float, a hexadecimal constant and a string; the last line takes what is left before the end mark.
std::vector<std::uint8_t> BasicProgramm() {
    std::vector<std::uint8_t> rumpf;
    rumpf.reserve(Groesse);
    int nummer = 10;
    for (;;) {
        std::vector<std::uint8_t> text = {
            0x8F, 0x20, 0x22, 0x48, 0x41, 0x4C, 0x4C, 0x4F, 0x22, 0x3A, // PRINT "HALLO":
            0x41, 0xF4, 0x15, 0x90, 0x52, 0x06, 0x00, 0x00, 0xFC, 0x11,
            0x3A, 0x0A, 0x3A, 0x80, 0x20, 0x0B, 0x0A, 0x00}; // A=53766*$A3A:GOTO 10
        const int rest = Groesse - static_cast<int>(rumpf.size()) - 2;
        const int laenge = 4 + static_cast<int>(text.size()) + 1;
        if (rest < 2 * laenge) {
            text.assign(rest - 5, 0x41); // AAAA...
        }
        const int zeile = 4 + static_cast<int>(text.size()) + 1;
        HaengeAn(rumpf, {static_cast<std::uint8_t>(zeile & 0xFF), static_cast<std::uint8_t>(zeile >> 8),
                         static_cast<std::uint8_t>(nummer & 0xFF), static_cast<std::uint8_t>(nummer >> 8)});
        rumpf.insert(rumpf.end(), text.begin(), text.end());
        rumpf.push_back(0x00);
        nummer += 10;
        if (rest < 2 * laenge)
            break;
    }
    HaengeAn(rumpf, {0x00, 0x00});
    return rumpf;
}

void BasicListing(benchmark::State& state) {
    const std::vector<std::uint8_t> rumpf = BasicProgramm();
    if (rumpf.size() != Groesse || !ListeBasic(rumpf, LadeAdresse, TBasicDialekt::MZ700).gueltig) {
        state.SkipWithError("the test program is not a 65,535-byte program");
        return;
    }
    for (auto _ : state) {
        TBasicListe liste = ListeBasic(rumpf, LadeAdresse, TBasicDialekt::MZ700);
        benchmark::DoNotOptimize(liste);
    }
}
BENCHMARK(BasicListing)->Unit(benchmark::kMillisecond);

void BasicListingMitDialekt(benchmark::State& state) {
    const std::vector<std::uint8_t> rumpf = BasicProgramm();
    for (auto _ : state) {
        TBasicListe liste = ListeBasic(rumpf, LadeAdresse, ErkenneBasicDialekt(rumpf, 0x05, LadeAdresse));
        benchmark::DoNotOptimize(liste);
    }
}
BENCHMARK(BasicListingMitDialekt)->Unit(benchmark::kMillisecond);

void Z80Disassembly(benchmark::State& state) {
    std::vector<std::uint8_t> rumpf(Groesse);
    std::mt19937 zufall(1200);
    for (std::uint8_t& b : rumpf)
        b = static_cast<std::uint8_t>(zufall());
    for (auto _ : state) {
        QString zeilen = DisassembliereZ80(rumpf, 0x1200, 0x1200, 0);
        benchmark::DoNotOptimize(zeilen);
    }
}
BENCHMARK(Z80Disassembly)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
