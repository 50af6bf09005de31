// The pulses the rescue holds: appended in pieces, forgotten from the front, counted over any
// stretch held. Every count is checked against a plain count over the test's own list.
#include "BelegFolge.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A pulse every 20 frames; long, surely short or unknown by a fixed rule of its number, so that
// the counts differ from stretch to stretch.
std::vector<TImpulsBeleg> Folge(int anzahl) {
    std::vector<TImpulsBeleg> v;
    for (int i = 0; i < anzahl; ++i) {
        const int art = (i * 7 + i / 3) % 5;
        const std::int8_t wert = art < 2 ? 64 : (art < 4 ? -64 : 0);
        v.push_back({i * 20, wert});
    }
    return v;
}

std::int64_t ZaehleLange(const std::vector<TImpulsBeleg>& v, std::int64_t von, std::int64_t bis) {
    std::int64_t n = 0;
    for (std::int64_t i = von; i < bis; ++i)
        n += v[static_cast<std::size_t>(i)].wert > 0 ? 1 : 0;
    return n;
}

std::int64_t ZaehleKurze(const std::vector<TImpulsBeleg>& v, std::int64_t von, std::int64_t bis) {
    std::int64_t n = 0;
    for (std::int64_t i = von; i < bis; ++i)
        n += v[static_cast<std::size_t>(i)].wert < 0 ? 1 : 0;
    return n;
}

// Every stretch [von, bis) of what is held, from its start to its end included.
void PruefeAlles(const TBelegFolge& f, const std::vector<TImpulsBeleg>& v) {
    for (std::int64_t von = f.Anfang(); von <= f.Ende(); von += 7)
        for (std::int64_t bis = von; bis <= f.Ende(); bis += 13) {
            ASSERT_EQ(f.Lange(von, bis), ZaehleLange(v, von, bis)) << von << ".." << bis;
            ASSERT_EQ(f.Kurze(von, bis), ZaehleKurze(v, von, bis)) << von << ".." << bis;
        }
    ASSERT_EQ(f.Lange(f.Anfang(), f.Ende()), ZaehleLange(v, f.Anfang(), f.Ende()));
    for (std::int64_t i = f.Anfang(); i < f.Ende(); ++i) {
        ASSERT_EQ(f[i].beginn, v[static_cast<std::size_t>(i)].beginn);
        ASSERT_EQ(f[i].wert, v[static_cast<std::size_t>(i)].wert);
    }
}

} // namespace

// Appended in pieces of different sizes, with forgetting in between: the forgotten part is moved
// out only once it is the larger, and what is held keeps its numbers and counts either way.
TEST(BelegFolge, CountsHoldAcrossAppendingAndForgetting) {
    const std::vector<TImpulsBeleg> v = Folge(1000);
    struct TSchritt {
        int anhaengen;        // pulses appended
        std::int64_t vergiss; // then forgotten before this number
        std::int64_t anfang;  // the first pulse held afterwards
    };
    // 150 held, forgetting 40 moves nothing (less than half); forgetting 100 does.
    const TSchritt schritte[] = {{150, 40, 0},    {0, 100, 100}, {1, 0, 100},     {349, 120, 100},
                                 {200, 450, 450}, {0, 451, 450}, {300, 999, 999}, {0, 1000, 1000}};
    TBelegFolge f;
    std::size_t gehaengt = 0;
    for (const TSchritt& s : schritte) {
        f.Haenge(v.data() + gehaengt, static_cast<std::size_t>(s.anhaengen));
        gehaengt += static_cast<std::size_t>(s.anhaengen);
        f.Vergiss(s.vergiss);
        EXPECT_EQ(f.Anfang(), s.anfang);
        EXPECT_EQ(f.Ende(), static_cast<std::int64_t>(gehaengt));
        PruefeAlles(f, v);
    }
}

// The first pulse at or after a frame: by the pulses' beginnings (every 20 frames), after the
// front was forgotten too.
TEST(BelegFolge, FirstPulseFromAFrame) {
    const std::vector<TImpulsBeleg> v = Folge(100);
    TBelegFolge f;
    f.Haenge(v.data(), v.size());
    f.Vergiss(60);
    struct TFall {
        std::int64_t frame;
        std::int64_t erwartet;
    };
    for (const TFall fall : {TFall{0, 60}, TFall{1200, 60}, TFall{1201, 61}, TFall{1219, 61}, TFall{1980, 99},
                             TFall{1981, 100}, TFall{100000, 100}})
        EXPECT_EQ(f.ErsterAb(fall.frame), fall.erwartet) << fall.frame;
}
