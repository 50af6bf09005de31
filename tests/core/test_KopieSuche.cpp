// Where the rescue finds a block's second copy after the gap: at its first start bit, also where a
// click left the start bit of the copy's second byte reading short, or nothing of its first (its
// first byte 0x00: the copy seems to begin a byte late, and only the first copy's bytes tell).
// Found a byte late, every byte of the copy would be laid a byte off.
#include "BandBau.h"
#include "BandRetter.h"
#include "SichereBelege.h"

#include <gtest/gtest.h>

TEST(KopieSuche, ASecondCopyWhoseFirstStartBitsAClickSpoiltIsFoundAtItsStart) {
    constexpr int RumpfBytes = 96;
    struct TFall {
        const char* name;
        std::uint8_t erstesByte;
        std::vector<int> kurz;      // bytes of copy 2 whose start bit reads short
        std::vector<int> unbekannt; // bytes of copy 2 whose start bit nothing was heard of
    };
    const TFall faelle[] = {
        {"the second start bit", 0x00, {1}, {}},
        {"the second start bit, the first byte holding ones", 0x5a, {1}, {}},
        {"the second and two start bits more", 0x00, {1, 4, 7}, {}},
        {"nothing of the first start bit", 0x00, {}, {0}},
    };
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        QByteArray mzf = BandBau::Kopf("KLICK", RumpfBytes);
        mzf += static_cast<char>(f.erstesByte);
        for (int i = 1; i < RumpfBytes; ++i)
            mzf += static_cast<char>((i * 53 + 17) & 0xFF);
        const BandBau::TBand band(mzf);
        const std::vector<TGeretteteDatei> dateien =
            BeidePolaritaeten(mzf, [&](const BandBau::TBand& b, std::vector<TImpulsBeleg>& belege, int) {
                // Copy 1 fails its checksum: a data bit of byte 10 read the other way.
                TImpulsBeleg& falsch = belege[b.RumpfBit(0, 10, 3)];
                falsch.wert = static_cast<std::int8_t>(-falsch.wert);
                // A click's weak short reading where a start bit of copy 2 lies.
                for (const int byte : f.kurz)
                    belege[b.RumpfBit(1, byte, 0) - 1].wert = -23;
                for (const int byte : f.unbekannt)
                    belege[b.RumpfBit(1, byte, 0) - 1].wert = 0;
            });
        ASSERT_EQ(dateien.size(), 1U);
        const TGeretteteDatei& d = dateien.front();
        EXPECT_EQ(d.rumpfBericht.beginn[1], SichereBelege(band, d.polaritaet)[band.rumpf[1]].beginn);
        EXPECT_EQ(d.rumpf, std::vector<std::uint8_t>(mzf.begin() + BandBau::KopfBytes, mzf.end()));
        EXPECT_NE(d.befund.zustand, TDateiBefund::TZustand::Beschaedigt);
    }
}
