// What the passes passed over: a file whose header a pass read whole and whose body never agreed
// with its checksum is told as skipped, unless it was found after all, whole or as the rescue put
// it together (then it is listed, damaged or not, and not told twice).
#include "BandBau.h"
#include "BandProtokoll.h"
#include "MZFDatei.h"

#include <gtest/gtest.h>

namespace {

constexpr int RumpfBytes = 16;
// 'ABC', then the end mark 0x0D at byte 4.
constexpr int NamensEnde = 4;
constexpr int ImKommentar = 60;

std::array<std::uint8_t, TMZFDatei::KopfGroesse> Kopf() {
    const QByteArray k = BandBau::Kopf("ABC", RumpfBytes);
    std::array<std::uint8_t, TMZFDatei::KopfGroesse> kopf{};
    std::copy(k.begin(), k.begin() + TMZFDatei::KopfGroesse, kopf.begin());
    return kopf;
}

} // namespace

TEST(BandProtokoll, AFileSkippedByThePassesIsNotToldWhereItIsListed) {
    struct TFall {
        const char* name;
        bool gefunden;             // a file is listed at all
        int unsicher;              // its header byte read uncertainly and differently, -1: none
        int falsch;                // a sure header byte read differently, -1: none
        std::size_t uebersprungen; // places told
    };
    const TFall faelle[] = {
        {"nothing listed", false, -1, -1, 1},
        {"listed whole with this header", true, -1, -1, 0},
        {"listed damaged, the name's end uncertain", true, NamensEnde, -1, 0},
        {"listed damaged, the name's end uncertain, a sure byte differs", true, NamensEnde, NamensEnde + 1,
         1},
        {"listed damaged, a sure name byte differs", true, -1, 2, 1},
        {"listed damaged, only the comment uncertain", true, ImKommentar, -1, 0},
    };
    const auto kopf = Kopf();
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        TBandProtokoll protokoll([](std::int64_t marke) { return static_cast<qint64>(marke); }, false);
        const TTonbandBeobachter& b = *protokoll.Beobachter();
        b.beiLangerMarke(100);
        b.beiKopf(100, 0, kopf.data(), true);
        b.beiRumpf(200, 0, false);
        protokoll.TextZuEnde();
        std::vector<std::unique_ptr<TMZFDatei>> gefunden;
        if (f.gefunden) {
            auto gelesen = kopf;
            TDateiBefund befund;
            if (f.unsicher >= 0 || f.falsch >= 0) {
                befund.zustand = TDateiBefund::TZustand::Beschaedigt;
                befund.kopfUnsicher = f.unsicher >= 0;
                if (f.unsicher >= 0) {
                    gelesen[static_cast<std::size_t>(f.unsicher)] = 'X';
                    befund.unsichereKopfBereiche = {{f.unsicher, f.unsicher + 1}};
                }
                if (f.falsch >= 0)
                    gelesen[static_cast<std::size_t>(f.falsch)] = 'Y';
            }
            auto d = std::make_unique<TMZFDatei>();
            d->Uebernimm(gelesen, std::vector<std::uint8_t>(RumpfBytes, 0));
            d->SetzeBefund(befund);
            gefunden.push_back(std::move(d));
        }
        const std::vector<TUebersprungenes> ergebnis = protokoll.Ergebnis(gefunden);
        ASSERT_EQ(ergebnis.size(), f.uebersprungen);
        if (!ergebnis.empty()) {
            EXPECT_EQ(ergebnis.front().art, TUebersprungenes::TArt::BeschaedigterRumpf);
            EXPECT_EQ(ergebnis.front().name, QStringLiteral("ABC"));
        }
    }
}
