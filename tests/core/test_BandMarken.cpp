// Marks cut off by a dropout: the pulses of a file in the full format as the adaptive pass reads
// them, with pulses swallowed (none for as long as they would have lasted). Where the dropout took
// the end of a mark's short run and the first pulses of the block after it, the block's first copy
// is lost with them and the file is read from the second; where it took most of the mark but left
// its last short pulses, the first copy is read after them.
#include "BandBau.h"
#include "BandRetter.h"

#include <functional>
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

// The files the rescue finds in the band's pulses as the adaptive pass reads them, with the pulses
// for which `weg` holds swallowed.
std::vector<TGeretteteDatei> Rette(const BandBau::TBand& band, const std::function<bool(std::size_t)>& weg) {
    std::vector<TImpulsBeleg> belege;
    std::int32_t frame = 0;
    for (std::size_t i = 0; i < band.bits.size(); ++i) {
        const bool lang = band.bits[i] == '1';
        if (!weg(i))
            belege.push_back({frame, static_cast<std::int8_t>(lang ? 100 : -100)});
        frame += lang ? LangFrames : KurzFrames;
    }
    TBandRetter retter({});
    retter.Belege(0, belege.data(), belege.size());
    retter.NachBlock(frame);
    return retter.Ende();
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
        const std::vector<TGeretteteDatei> dateien =
            Rette(band, [&](std::size_t i) { return i >= von && i < bis; });
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

// A dropout took a mark's long run but for its first pulses and most of its short run; the last
// short pulses and the long one before the block are left. The first copy is read after them.
// And the second copy of the body begins in a dropout that swallowed the end of the gap and the
// copy's first two bytes, while the first copy lost bytes 100 to 104: the second copy's bytes go
// where they belong in the block, and the two copies give the file whole.
TEST(BandMarken, AMarkWhoseLongRunADropoutTookStillGivesTheFirstCopy) {
    using namespace BandBau;
    struct TFall {
        const char* name;
        bool kopf;       // the mark before the header (else the one before the body)
        int langeDavor;  // long pulses of the mark left before the dropout
        int kurzeDanach; // short pulses of the mark left after it
    };
    const TFall faelle[] = {
        {"the long mark, three long and five short pulses left", true, 3, 5},
        {"the long mark, one long and two short pulses left", true, 1, 2},
        {"the short mark, two long and four short pulses left", false, 2, 4},
    };
    const QByteArray mzf = Mzf();
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        const TBand band(mzf);
        const std::size_t marke =
            f.kopf ? band.kopf[0] - 1 - 2 * LangeMarke : band.rumpf[0] - 1 - 2 * KurzeMarke;
        const std::size_t von = marke + static_cast<std::size_t>(f.langeDavor);
        const std::size_t bis =
            (f.kopf ? band.kopf[0] : band.rumpf[0]) - 1 - static_cast<std::size_t>(f.kurzeDanach);
        const std::vector<TGeretteteDatei> dateien =
            Rette(band, [&](std::size_t i) { return i >= von && i < bis; });
        ASSERT_EQ(dateien.size(), 1U);
        const TGeretteteDatei& d = dateien.front();
        EXPECT_EQ(d.befund.zustand, TDateiBefund::TZustand::Intakt);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(d.rumpf.data()), static_cast<int>(d.rumpf.size())),
                  mzf.mid(KopfBytes));
        const TBlockBericht& geschnitten = f.kopf ? d.kopfBericht : d.rumpfBericht;
        EXPECT_TRUE(geschnitten.kopieGefunden[0] && geschnitten.kopieGut[0]);
    }

    const TBand band(mzf);
    constexpr std::size_t LueckenRest = 10;
    constexpr std::size_t ErsteBytes = 2;
    const std::vector<TGeretteteDatei> dateien = Rette(band, [&](std::size_t i) {
        const bool kopie2 = i + LueckenRest >= band.rumpf[1] && i < band.rumpf[1] + ErsteBytes * ByteImpulse;
        const bool kopie1 = i >= band.rumpf[0] + 100 * ByteImpulse && i < band.rumpf[0] + 105 * ByteImpulse;
        return kopie1 || kopie2;
    });
    ASSERT_EQ(dateien.size(), 1U);
    EXPECT_NE(dateien.front().befund.zustand, TDateiBefund::TZustand::Beschaedigt);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(dateien.front().rumpf.data()), RumpfBytes),
              mzf.mid(KopfBytes));
}
