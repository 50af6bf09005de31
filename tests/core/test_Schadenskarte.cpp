// The map of a damaged file's uncertain bytes, from a tape built bit by bit and read surely in both
// polarities but for what a test takes away: every byte that could be wrong is in it.
#include "BandBau.h"
#include "SichereBelege.h"

#include <gtest/gtest.h>

namespace {

constexpr int RumpfBytes = 64;
// Nothing was heard of this byte in either copy (0xD3: five 1 bits, more than the checksum search
// flips): the file stays damaged.
constexpr int Ungehoert = 40;

QByteArray Mzf() {
    QByteArray rumpf(RumpfBytes, '\0');
    for (int i = 0; i < RumpfBytes; ++i)
        rumpf[i] = static_cast<char>((i * 53 + 7) & 0xFF);
    rumpf[Ungehoert] = static_cast<char>(0xD3);
    return BandBau::Kopf(QByteArrayLiteral("MAP"), RumpfBytes) + rumpf;
}

void Ueberhoere(const BandBau::TBand& band, std::vector<TImpulsBeleg>& belege) {
    for (int kopie = 0; kopie < 2; ++kopie)
        for (int bit = 0; bit < 8; ++bit)
            belege[band.RumpfBit(kopie, Ungehoert, bit)].wert = 0;
}

// The pulses of body byte `byte` of copy `kopie` are not there; the time they lasted is.
void Verliere(const BandBau::TBand& band, std::vector<TImpulsBeleg>& belege, int kopie, int byte) {
    const auto start = static_cast<std::ptrdiff_t>(band.RumpfBit(kopie, byte, 0) - 1);
    belege.erase(belege.begin() + start,
                 belege.begin() + start + static_cast<std::ptrdiff_t>(BandBau::ByteImpulse));
}

// The one file read where both polarities were spoiled alike: damaged, its map as given.
template <typename TVerderbe>
TGeretteteDatei Beschaedigt(const QByteArray& mzf, const TVerderbe& verderbe,
                            const std::vector<std::pair<int, int>>& unsicher) {
    std::vector<TGeretteteDatei> dateien =
        BeidePolaritaeten(mzf, [&](const BandBau::TBand& band, std::vector<TImpulsBeleg>& belege, int) {
            Ueberhoere(band, belege);
            verderbe(band, belege);
        });
    EXPECT_EQ(dateien.size(), 1U);
    if (dateien.empty())
        return TGeretteteDatei();
    EXPECT_EQ(dateien.front().befund.zustand, TDateiBefund::TZustand::Beschaedigt);
    EXPECT_EQ(dateien.front().befund.unsichereBereiche, unsicher);
    EXPECT_EQ(dateien.front().rumpf.size(), static_cast<std::size_t>(RumpfBytes));
    dateien.front().rumpf.resize(RumpfBytes);
    return std::move(dateien.front());
}

} // namespace

// Each row spoils the tape in both polarities alike (a dropout takes a byte's pulses, not the time
// they lasted; the top bit of a byte heard the wrong way, surely), and byte 40 stays unheard.
//  - A dropout took byte 20 from the first copy and byte 22 from the second; each copy also gives
//    up the byte before its dropout, into which the pulse before it may last. Bytes 20 and 21 then
//    rest on one copy alone, each read beside a byte that copy lost: the pulses lost may lie partly
//    in it, and nothing confirms it. Both are uncertain, though read right; bytes 19 and 22, read
//    by one copy alone clear of its losses, are not.
//  - A dropout took byte 20 from the first copy, and the second heard byte 21's top bit the wrong
//    way. Right after its loss a copy is often framed a pulse off, so the first copy's clear
//    reading of byte 21 gives way to the second's, the wrong one here. Which of the two is right
//    the framing alone judged: byte 21 is uncertain. Where the copies agree, it is not.
TEST(Schadenskarte, TheMapHoldsEveryByteThatCouldBeWrong) {
    struct TFall {
        const char* name;
        std::vector<std::pair<int, int>> verloren; // (copy, byte), the later copy first
        int verhoert;                              // byte of the second copy; -1: none
        std::vector<std::pair<int, int>> unsicher;
        std::vector<std::pair<int, std::uint8_t>> kippe; // bytes checked: (byte, XOR with the right value)
    };
    const std::pair<int, int> ungehoert{Ungehoert, Ungehoert + 1};
    const TFall faelle[] = {
        {"bytes lost beside each other in the two copies",
         {{1, 22}, {0, 20}},
         -1,
         {{20, 22}, ungehoert},
         {{19, 0}, {20, 0}, {21, 0}, {22, 0}}},
        {"nothing lost", {}, -1, {ungehoert}, {{20, 0}, {21, 0}}},
        {"a byte after a loss read differently by the other copy",
         {{0, 20}},
         21,
         {{21, 22}, ungehoert},
         {{21, 0x80}}},
        {"a byte after a loss read alike", {{0, 20}}, -1, {ungehoert}, {{21, 0}}},
    };
    const QByteArray mzf = Mzf();
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        const TGeretteteDatei d = Beschaedigt(
            mzf,
            [&f](const BandBau::TBand& band, std::vector<TImpulsBeleg>& belege) {
                if (f.verhoert >= 0) {
                    TImpulsBeleg& b = belege[band.RumpfBit(1, f.verhoert, 0)];
                    b.wert = static_cast<std::int8_t>(-b.wert);
                }
                for (const auto& [kopie, byte] : f.verloren)
                    Verliere(band, belege, kopie, byte);
            },
            f.unsicher);
        for (const auto& [byte, kipp] : f.kippe)
            EXPECT_EQ(d.rumpf[static_cast<std::size_t>(byte)],
                      static_cast<std::uint8_t>(mzf[128 + byte]) ^ kipp)
                << byte;
    }
}
