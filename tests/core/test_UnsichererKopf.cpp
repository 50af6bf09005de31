// A header whose checksum fails names its file all the same where it looks like a header (a file
// type, then characters up to the $0D that ends the name) wherever it was read surely: a byte
// nothing was heard of may have been any character. Headers uncertain all over are hiss.
#include "BandBau.h"
#include "BandRetter.h"
#include "MZFDatei.h"
#include "SichereBelege.h"

#include <gtest/gtest.h>

namespace {

constexpr int RumpfBytes = 48;

// The pulses of header byte `byte` (its eight data bits) in both copies: nothing heard of them.
void Ueberhoert(const BandBau::TBand& band, std::vector<TImpulsBeleg>& belege, int byte) {
    for (const std::size_t kopie : band.kopf)
        for (std::size_t bit = 1; bit <= 8; ++bit)
            belege[kopie + BandBau::ByteImpulse * static_cast<std::size_t>(byte) + bit].wert = 0;
}

} // namespace

TEST(UnsichererKopf, AFewBytesNothingWasHeardOfLeaveTheFileNamed) {
    struct TFall {
        const char* name;
        std::vector<int> ueberhoert; // header bytes nothing was heard of, in both copies
        bool genannt;                // the file is told
    };
    // The name runs from byte 1 to the $0D at byte 11; the size at 18, the load address at 20.
    const TFall faelle[] = {
        {"a character of the name", {8}, true},
        {"two characters", {3, 8}, true},
        {"the file type and a character", {0, 5}, true},
        {"the first character", {1}, true},
        {"the load address, beyond the name", {21}, true},
        {"three characters in a row, as a dropout takes them", {3, 4, 5}, true},
        {"three characters", {3, 5, 8}, false},
        {"four characters in a row", {3, 4, 5, 6}, false},
        {"the file type and two characters", {0, 2, 9}, false},
    };
    QByteArray mzf = BandBau::Kopf("LIFEGAMEMZ", RumpfBytes);
    for (int i = 0; i < RumpfBytes; ++i)
        mzf += static_cast<char>((i * 29 + 7) & 0xFF);
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        const std::vector<TGeretteteDatei> dateien =
            BeidePolaritaeten(mzf, [&](const BandBau::TBand& band, std::vector<TImpulsBeleg>& belege, int) {
                for (const int byte : f.ueberhoert)
                    Ueberhoert(band, belege, byte);
            });
        ASSERT_EQ(dateien.size(), f.genannt ? 1U : 0U);
        if (!f.genannt)
            continue;
        const TGeretteteDatei& d = dateien.front();
        EXPECT_EQ(d.befund.zustand, TDateiBefund::TZustand::Beschaedigt);
        EXPECT_TRUE(d.befund.kopfUnsicher);
        std::vector<std::pair<int, int>> erwartet;
        for (const int byte : f.ueberhoert) {
            if (!erwartet.empty() && erwartet.back().second == byte)
                ++erwartet.back().second;
            else
                erwartet.push_back({byte, byte + 1});
        }
        EXPECT_EQ(d.befund.unsichereKopfBereiche, erwartet);
        for (int i = 0; i < TMZFDatei::KopfGroesse; ++i) {
            if (std::find(f.ueberhoert.begin(), f.ueberhoert.end(), i) == f.ueberhoert.end()) {
                EXPECT_EQ(d.kopf[static_cast<std::size_t>(i)], static_cast<std::uint8_t>(mzf[i])) << i;
            }
        }
        // The body was heard whole: it is the file's, byte for byte.
        EXPECT_EQ(d.rumpf, std::vector<std::uint8_t>(mzf.begin() + TMZFDatei::KopfGroesse, mzf.end()));
    }
}
