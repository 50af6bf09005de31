// How the adaptive pass's readings in a block are counted from where its classes lie between which
// neighbours: readings fed in by hand, the values that follow worked out by hand.
#include "NachbarEichung.h"

#include <gtest/gtest.h>

namespace {

// A pulse with the pulses on either side, `anzahl` times.
struct TDrei {
    int vorher;
    int wert;
    int nachher;
    bool letztes; // a byte's last data bit: a start bit follows, whatever was read of it
    int anzahl = 1;
};

constexpr int Lang = 100;
constexpr int Kurz = -100;

} // namespace

TEST(NachbarEichung, ReadingsCountFromTheMiddleBetweenTheirNeighbours) {
    struct TFall {
        const char* name;
        std::vector<TDrei> block; // the block's pulses learned from
        TDrei probe;
        int erwartet;
    };
    // Every byte's last bit: short ones read at -30, long ones at +100: the middle (-30 + 100) / 2
    // = 35, so a last bit read a little long (+10) is short, -25.
    const std::vector<TDrei> vorStartbit = {{Lang, -30, Kurz, true, 100}, {Lang, 100, Kurz, true, 100}};
    const TFall faelle[] = {
        {"before a start bit", vorStartbit, {Lang, 10, Kurz, true}, -25},
        {"before a start bit, short", vorStartbit, {Lang, -30, Kurz, true}, -65},
        // The same readings before a long data bit: the same kind of neighbours.
        {"before a long data bit", vorStartbit, {Lang, 10, Lang, false}, -25},
        // Nothing learned before a short pulse, nor after a short one: as read.
        {"before a short pulse", vorStartbit, {Lang, 10, Kurz, false}, 10},
        {"after a short pulse", vorStartbit, {Kurz, 10, Lang, false}, 10},
        // The pulse after read too faintly (below 32) to tell its class: as read.
        {"the pulse after unclear", vorStartbit, {Lang, 10, 31, false}, 10},
        // Nothing known of the pulse itself: nothing.
        {"nothing known", vorStartbit, {Lang, 0, Kurz, true}, 0},
        // 63 short pulses, 64 needed: as read.
        {"too few", {{Lang, -30, Kurz, true, 63}, {Lang, 100, Kurz, true, 100}}, {Lang, 10, Kurz, true}, 10},
        // More than half the long ones as sure as can be (127): the middle is not known, as read.
        {"long ones sure",
         {{Lang, -30, Kurz, true, 100}, {Lang, 127, Kurz, true, 60}, {Lang, 90, Kurz, true, 40}},
         {Lang, 10, Kurz, true},
         10},
        // Medians, not means: short -40 (three in five) though two in five read -120; long +60.
        // The middle 10; a reading of -120 stays within a sure one's -127, -130 would not.
        {"medians and clamped",
         {{Lang, -40, Kurz, true, 60}, {Lang, -120, Kurz, true, 40}, {Lang, 60, Kurz, true, 100}},
         {Lang, -120, Kurz, true},
         -127},
        // Pulses before whose neighbour nothing is known are not learned from.
        {"neighbour unknown",
         {{Lang, -30, 0, false, 100}, {0, 100, Kurz, true, 100}, {Lang, 100, Kurz, true, 100}},
         {Lang, 10, Kurz, true},
         10},
    };
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        TBelegFolge q;
        std::vector<std::pair<std::int64_t, bool>> gelernt;
        const auto haenge = [&](const TDrei& d) {
            const TImpulsBeleg drei[3] = {{0, static_cast<std::int8_t>(d.vorher)},
                                          {0, static_cast<std::int8_t>(d.wert)},
                                          {0, static_cast<std::int8_t>(d.nachher)}};
            q.Haenge(drei, 3);
            return q.Ende() - 2;
        };
        for (const TDrei& d : f.block)
            for (int i = 0; i < d.anzahl; ++i)
                gelernt.push_back({haenge(d), d.letztes});
        const std::int64_t probe = haenge(f.probe);
        TNachbarEichung eichung;
        for (const auto& [j, letztes] : gelernt)
            eichung.Nimm(q, j, letztes);
        eichung.Stelle();
        EXPECT_EQ(eichung.Wert(q, probe, f.probe.letztes), f.erwartet);
    }
}
