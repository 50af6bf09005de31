// The adaptive decoder on signals made here sample by sample: MZ-80K pulses at 44100 Hz (long
// 464 + 494 us, short 240 + 264 us) with a disturbance that one of its steps is there for. Each
// must come out as the pulses that went in.
#include "MZAdaptiverDekoder.h"
#include "ProgrammEinstellungen.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double Rate = 44100.0;
constexpr double Amplitude = 0.5;

int Frames(double mikrosekunden) {
    return static_cast<int>(mikrosekunden * Rate / 1e6 + 0.5);
}

// A leader of short pulses to learn from, then random pulses, then a few short ones to end on.
std::string Impulsfolge() {
    std::mt19937 zufall(20261208);
    std::string bits(3000, '0');
    for (int i = 0; i < 4000; ++i)
        bits += zufall() % 2 ? '1' : '0';
    return bits + std::string(10, '0');
}

// What to do inside each pulse: the frames of its low and its high part, from its first frame on.
using TStoerung = void (*)(std::vector<float>& signal, std::size_t anfang, int tief, int hoch);

std::vector<float> Signal(const std::string& bits, TStoerung stoerung) {
    std::vector<float> signal(static_cast<std::size_t>(Frames(20000)), 0.0F);
    for (const char bit : bits) {
        const int tief = Frames(bit == '1' ? 464 : 240);
        const int hoch = Frames(bit == '1' ? 494 : 264);
        const std::size_t anfang = signal.size();
        signal.insert(signal.end(), static_cast<std::size_t>(tief), -Amplitude);
        signal.insert(signal.end(), static_cast<std::size_t>(hoch), Amplitude);
        if (stoerung)
            stoerung(signal, anfang, tief, hoch);
    }
    signal.insert(signal.end(), static_cast<std::size_t>(Frames(20000)), 0.0F);
    return signal;
}

// The decoded pulses hold the pulses that went in, all but the first few (while the filters and
// the peak followers settle on the leader); the step into the silence after the last one ends it.
::testing::AssertionResult Enthaelt(const std::string& dekodiert, const std::string& bits) {
    constexpr std::size_t Einschwingen = 50;
    const std::string kern = bits.substr(Einschwingen);
    const std::size_t stelle = dekodiert.find(kern);
    if (stelle == std::string::npos)
        return ::testing::AssertionFailure()
               << "the pulses are not there; " << dekodiert.size() << " decoded of " << bits.size()
               << ", first difference at "
               << std::mismatch(kern.begin(), kern.end(),
                                dekodiert.begin() + std::min(dekodiert.size(), Einschwingen))
                          .first -
                      kern.begin();
    if (dekodiert.size() - stelle != kern.size())
        return ::testing::AssertionFailure()
               << (dekodiert.size() - stelle - kern.size()) << " pulses too many at the end";
    return ::testing::AssertionSuccess();
}

std::string Normal(const std::vector<float>& signal) {
    TMZAdaptiverDekoder dekoder;
    dekoder.Starte(static_cast<std::uint32_t>(Rate), MZ80K);
    std::string bits;
    auto senke = [&bits](int polaritaet, bool lang, double) {
        if (polaritaet == TMZAdaptiverDekoder::Normal)
            bits += lang ? '1' : '0';
    };
    dekoder.Verarbeite(signal.data(), signal.data() + signal.size(), senke);
    return bits;
}

TEST(AdaptiverDekoder, SaubereImpulse) {
    const std::string bits = Impulsfolge();
    // Every pulse but the last, which no falling edge ends.
    EXPECT_TRUE(Enthaelt(Normal(Signal(bits, nullptr)), bits));
}

TEST(AdaptiverDekoder, RauschenNahDerNulllinieIstKeineFlanke) {
    // A tape with weak bass: the flat halves of the pulses sag toward the zero line (a high-pass at
    // 400 Hz, a long pulse's halves end at a third of their step), and a little hiss (+-2 % of the
    // swing) rides on them. Without the hysteresis the hiss would cross the zero line where the
    // halves have sagged, in the middle of a pulse.
    const std::string bits = Impulsfolge();
    std::vector<float> signal = Signal(bits, nullptr);
    const double a = std::exp(-2.0 * std::numbers::pi * 400.0 / Rate);
    double vorher = 0.0;
    double y = 0.0;
    std::mt19937 zufall(8122026);
    std::uniform_real_distribution<float> zischen(-0.02F, 0.02F);
    for (float& w : signal) {
        y = a * (y + w - vorher);
        vorher = w;
        w = static_cast<float>(y) + zischen(zufall);
    }
    EXPECT_TRUE(Enthaelt(Normal(signal), bits));
}

TEST(AdaptiverDekoder, EinKnackserImTiefenTeilIstKeinImpuls) {
    // 100 us into every low part a click throws the level to full positive for 90 us: a rising and
    // a falling edge that pass the hysteresis, but the pulse it would start is far too short to
    // be one, so the pulse in hand goes on.
    const std::string bits = Impulsfolge();
    const auto knacks = [](std::vector<float>& s, std::size_t anfang, int, int) {
        const std::size_t von = anfang + static_cast<std::size_t>(Frames(100));
        for (std::size_t i = von; i < von + static_cast<std::size_t>(Frames(90)); ++i)
            s[i] = 1.0F;
    };
    EXPECT_TRUE(Enthaelt(Normal(Signal(bits, knacks)), bits));
}

} // namespace
