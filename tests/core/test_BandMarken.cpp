// Marks cut off by a dropout: the pulses of a file in the full format as the adaptive pass reads
// them, with the end of a mark's short run and the first pulses of the block after it swallowed
// (no pulses for as long as they would have lasted). The block's first copy is lost with them;
// the file is read from the second.
#include "BandBau.h"
#include "BandRetter.h"

#include <gtest/gtest.h>

namespace {

constexpr int RumpfBytes = 300;
constexpr std::int32_t KurzFrames = 20;
constexpr std::int32_t LangFrames = 38;

QByteArray Mzf() {
    const QByteArray kopf = BandBau::Kopf("MARKE", RumpfBytes);
    QByteArray rumpf(RumpfBytes, '\0');
    for (int i = 0; i < RumpfBytes; ++i)
        rumpf[i] = static_cast<char>((i * 29 + 3) & 0xFF);
    return kopf + rumpf;
}

} // namespace

TEST(BandMarken, AMarkCutOffByADropoutStillFindsTheFileFromTheSecondCopy) {
    using namespace BandBau;
    struct TFall {
        const char* name;
        bool kopf;      // the mark before the header (else the one before the body)
        int kurzeDavor; // short pulses of the mark's short run left before the dropout
        int verloren;   // pulses the dropout swallowed, from there on
    };
    const TFall faelle[] = {
        {"the long mark, ten short pulses left", true, 10, 60},
        {"the long mark, none left", true, 0, 45},
        {"the short mark, five short pulses left", false, 5, 40},
        {"no dropout", true, LangeMarke, 0},
    };
    const QByteArray mzf = Mzf();
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        const TBand band(mzf);
        // The first short pulse of the mark's short run.
        const std::size_t kurzeLauf = f.kopf ? band.kopf[0] - 1 - LangeMarke : band.rumpf[0] - 1 - KurzeMarke;
        const std::size_t von = kurzeLauf + static_cast<std::size_t>(f.kurzeDavor);
        const std::size_t bis = von + static_cast<std::size_t>(f.verloren);
        std::vector<TImpulsBeleg> belege;
        std::int32_t frame = 0;
        for (std::size_t i = 0; i < band.bits.size(); ++i) {
            const bool lang = band.bits[i] == '1';
            if (i < von || i >= bis)
                belege.push_back({frame, static_cast<std::int8_t>(lang ? 100 : -100)});
            frame += lang ? LangFrames : KurzFrames;
        }
        TBandRetter retter({});
        retter.Belege(0, belege.data(), belege.size());
        retter.NachBlock(frame);
        const std::vector<TGeretteteDatei> dateien = retter.Ende();
        ASSERT_EQ(dateien.size(), 1U);
        const TGeretteteDatei& d = dateien.front();
        EXPECT_EQ(d.befund.zustand, TDateiBefund::TZustand::Intakt);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(d.kopf.data()), KopfBytes), mzf.left(KopfBytes));
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(d.rumpf.data()), static_cast<int>(d.rumpf.size())),
                  mzf.mid(KopfBytes));
        const TBlockBericht& geschnitten = f.kopf ? d.kopfBericht : d.rumpfBericht;
        EXPECT_EQ(geschnitten.kopieGefunden[0], f.verloren == 0);
        EXPECT_TRUE(geschnitten.kopieGefunden[1]);
        EXPECT_TRUE(d.kopfBericht.kopieGut[1] && d.rumpfBericht.kopieGut[1]);
    }
}
