// How a fixed pass's votes are weighed from the levels it read for pulses known short or long:
// levels fed in by hand, the votes that follow worked out by hand.
#include "FesteEichung.h"

#include <gtest/gtest.h>

namespace {

struct TKlasse {
    bool lang;
    int wert;
    int anzahl;
};

} // namespace

TEST(FesteEichung, VotesFollowWhereThePassesOwnClassesLie) {
    struct TFall {
        const char* name;
        std::vector<TKlasse> nachLang; // pulses after a long one
        int gelesen;                   // a level the pass reads after a long pulse
        int erwartet;                  // the vote it gives
    };
    const TFall faelle[] = {
        // Too few pulses of a class (16 needed): as read.
        {"too few", {{false, 20, 15}, {true, 60, 40}}, 30, 30},
        // Short +10, long +70, every short one read long by the zero line: from the middle, 40.
        {"moved", {{false, 10, 20}, {true, 70, 20}}, 30, -10},
        {"moved, long", {{false, 10, 20}, {true, 70, 20}}, 100, 60},
        // Short (-127 * 10 + 7 * 10) / 20 = -60, long 127: the middle 33.5, rounded 34; clamped at
        // a sure reading's -127.
        {"moved and clamped", {{false, -127, 10}, {false, 7, 10}, {true, 127, 20}}, -120, -127},
        // Short -54, long +60, one short one in twenty read long: its zero line stays.
        {"one in twenty", {{false, -60, 19}, {false, 60, 1}, {true, 60, 20}}, 30, 30},
        // Two in twenty-one: moved, by (-1020 / 21 + 60) / 2 = 5.7, rounded 6.
        {"two in twenty-one", {{false, -60, 19}, {false, 60, 2}, {true, 60, 20}}, 30, 24},
        // Short -20, long +20: half the distance below 24, no vote.
        {"too close", {{false, -20, 20}, {true, 20, 20}}, 100, 0},
    };
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        TEichung e;
        for (const TKlasse& k : f.nachLang)
            for (int i = 0; i < k.anzahl; ++i)
                e.Nimm(true, k.lang, k.wert);
        e.Stelle();
        EXPECT_EQ(e.Wert(true, f.gelesen), f.erwartet);
        // Nothing was learned after a short pulse: those votes count as read.
        EXPECT_EQ(e.Wert(false, f.gelesen), f.gelesen);
    }
}
