// The rescue's room on a long recording: files in the shortened format (no copies) one after the
// other, fed as pulses of the adaptive pass. Each file's search for a copy waits for the next
// file's mark; what lies before that is done with and must not be held on to.
#include "BandBau.h"
#include "BandRetter.h"

#include <gtest/gtest.h>

namespace {

constexpr int Dateien = 12;
constexpr int RumpfBytes = 2000;
constexpr std::int32_t KurzFrames = 20;
constexpr std::int32_t LangFrames = 38;

QByteArray Mzf(int nummer) {
    const QByteArray kopf = BandBau::Kopf("DATEI" + QByteArray::number(nummer), RumpfBytes);
    QByteArray rumpf(RumpfBytes, '\0');
    for (int i = 0; i < RumpfBytes; ++i)
        rumpf[i] = static_cast<char>((i * 7 + nummer) & 0xFF);
    return kopf + rumpf;
}

// Leader, long mark, the header once, short leader, short mark, the body once.
std::string KurzesFormat(const QByteArray& mzf) {
    using namespace BandBau;
    return std::string(Vorlauf, '0') + std::string(LangeMarke, '1') + std::string(LangeMarke, '0') + '1' +
           Block(mzf.left(KopfBytes)) + '1' + std::string(KurzerVorlauf, '0') + std::string(KurzeMarke, '1') +
           std::string(KurzeMarke, '0') + '1' + Block(mzf.mid(KopfBytes)) + '1';
}

} // namespace

TEST(BandRetterSpeicher, HoldsAboutOneFileWhateverTheRecordingsLength) {
    std::string bits;
    std::size_t eineDatei = 0;
    for (int i = 0; i < Dateien; ++i) {
        const std::string datei = KurzesFormat(Mzf(i));
        eineDatei = datei.size();
        bits += datei;
    }
    bits += std::string(BandBau::Vorlauf, '0');

    TBandRetter retter({});
    std::vector<TImpulsBeleg> belege(bits.size());
    std::int32_t frame = 0;
    for (std::size_t i = 0; i < bits.size(); ++i) {
        const bool lang = bits[i] == '1';
        belege[i] = {frame, static_cast<std::int8_t>(lang ? 100 : -100)};
        frame += lang ? LangFrames : KurzFrames;
    }
    constexpr std::size_t Block = 4096;
    std::int64_t hoechstens = 0;
    for (std::size_t von = 0; von < belege.size(); von += Block) {
        retter.Belege(0, belege.data() + von, std::min(Block, belege.size() - von));
        retter.NachBlock(belege[std::min(von + Block, belege.size()) - 1].beginn);
        hoechstens = std::max(hoechstens, retter.GehalteneImpulse());
    }
    const std::vector<TGeretteteDatei> dateien = retter.Ende();

    ASSERT_EQ(dateien.size(), static_cast<std::size_t>(Dateien));
    for (int i = 0; i < Dateien; ++i) {
        const QByteArray mzf = Mzf(i);
        EXPECT_EQ(dateien[static_cast<std::size_t>(i)].befund.zustand, TDateiBefund::TZustand::Intakt) << i;
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(dateien[static_cast<std::size_t>(i)].rumpf.data()),
                             RumpfBytes),
                  mzf.mid(BandBau::KopfBytes))
            << i;
    }
    // A file and the next one's leader, and a block of pulses in hand: not the whole recording.
    EXPECT_LT(hoechstens, static_cast<std::int64_t>(2 * eineDatei + Block))
        << "of " << bits.size() << " pulses";
}
