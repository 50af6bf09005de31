#include "BandHuelle.h"
#include "BelegSpur.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Levels worked out by hand: a square wave 64 steps either side of the zero line (128) is half
// of full scale, 32 steps a quarter; the zero line itself nothing.
TEST(PegelTest, EffektivwertJeAbschnitt) {
    std::vector<std::uint8_t> frames;
    for (int i = 0; i < 2048; ++i)
        frames.push_back(i % 2 == 0 ? 64 : 192);
    frames.insert(frames.end(), 1024, 128);
    for (int i = 0; i < 500; ++i)
        frames.push_back(i % 5 < 2 ? 96 : 160);
    TPegel pegel;
    // In pieces that cut the stretches anywhere.
    for (std::size_t von = 0; von < frames.size(); von += 300)
        pegel.Nimm(frames.data() + von,
                   static_cast<std::int32_t>(std::min<std::size_t>(300, frames.size() - von)));
    pegel.Schliesse();
    EXPECT_EQ(pegel.Frames(), 3572);
    const struct {
        std::int64_t von, bis;
        float tief, hoch;
    } faelle[] = {
        {0, 2048, 0.5F, 0.5F},      // the loud square wave
        {2048, 3072, 0.0F, 0.0F},   // silence
        {3072, 3572, 0.25F, 0.25F}, // the last, shorter stretch on its own
        {1000, 2100, 0.0F, 0.5F},   // across: the quietest and the loudest stretch
        {0, 100000, 0.0F, 0.5F},    // beyond the end: cut to it
    };
    for (const auto& f : faelle) {
        const TPegel::TBereich b = pegel.Bereich(f.von, f.bis);
        ASSERT_FALSE(b.leer) << f.von;
        EXPECT_FLOAT_EQ(b.tief, f.tief) << f.von << ".." << f.bis;
        EXPECT_FLOAT_EQ(b.hoch, f.hoch) << f.von << ".." << f.bis;
    }
    EXPECT_TRUE(pegel.Bereich(3572, 5000).leer);
    EXPECT_TRUE(pegel.Bereich(-100, 0).leer);
}

// The pulses a stretch holds, as the list they were taken from has them: steps of every size
// (beyond a byte, long silences, none at all), over many anchors.
TEST(BelegSpurTest, AusschnitteWieInDerListe) {
    std::vector<TImpulsBeleg> alle;
    std::int32_t beginn = 17;
    for (int i = 0; i < 3000; ++i) {
        const int schritt = i % 997 == 500 ? 70000 : i % 331 == 7 ? 256 : i == 1234 ? 0 : 11 + i % 29;
        beginn += schritt;
        alle.push_back({beginn, static_cast<std::int8_t>(i % 255 - 127)});
    }
    TBelegSpur spur;
    spur.Nimm(alle.data(), 1000);
    spur.Nimm(alle.data() + 1000, alle.size() - 1000);
    spur.Schliesse();
    EXPECT_EQ(spur.Anzahl(), alle.size());
    // Two bytes a pulse, and an anchor every few hundred.
    EXPECT_LT(spur.Bytes(), alle.size() * 2 + alle.size() / 16 * sizeof(std::int64_t) * 2);
    const std::pair<std::int64_t, std::int64_t> stellen[] = {{0, 100},
                                                             {0, 1000},
                                                             {alle[300].beginn, alle[900].beginn + 1},
                                                             {alle[499].beginn + 5, alle[502].beginn},
                                                             {alle[1230].beginn - 50, alle[1240].beginn},
                                                             {alle[2990].beginn, 1 << 30},
                                                             {1 << 30, (1 << 30) + 10},
                                                             {alle[700].beginn + 1, alle[700].beginn + 3}};
    for (const auto& [von, bis] : stellen) {
        // By hand: every pulse that begins in the stretch, with the one before and the one after
        // (where there are such), so that even a stretch within one pulse has that pulse.
        std::size_t erster = 0;
        while (erster < alle.size() && alle[erster].beginn < von)
            ++erster;
        std::size_t letzter = erster; // one past the last in the stretch
        while (letzter < alle.size() && alle[letzter].beginn < bis)
            ++letzter;
        const std::size_t ab = erster > 0 ? erster - 1 : 0;
        const std::size_t bisEinschliesslich = std::min(letzter, alle.size() - 1);
        std::vector<std::size_t> erwartet;
        for (std::size_t i = ab; i <= bisEinschliesslich; ++i)
            erwartet.push_back(i);
        const std::vector<TImpulsBeleg> ausschnitt = spur.Zwischen(von, bis);
        ASSERT_EQ(ausschnitt.size(), erwartet.size()) << von << ".." << bis;
        for (std::size_t k = 0; k < erwartet.size(); ++k) {
            EXPECT_EQ(ausschnitt[k].beginn, alle[erwartet[k]].beginn) << von << " " << k;
            EXPECT_EQ(ausschnitt[k].wert, alle[erwartet[k]].wert) << von << " " << k;
        }
    }
}

} // namespace
