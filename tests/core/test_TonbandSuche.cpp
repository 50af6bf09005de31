// The tape parser must find exactly what a plain search finds, in time linear in the text. The
// reference below is the parser written the obvious way (each search a fresh scan of the rest of
// the text); random texts made of tape pieces must give the same answers from both.
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TonbandSuche.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

const std::string LangeMarke = std::string(1000, '0') + std::string(40, '1') + std::string(40, '0') + "11";
const std::string KurzeMarke = std::string(1000, '0') + std::string(20, '1') + std::string(20, '0') + "11";
const std::string Kopie = std::string(100, '0') + "1";

bool Suche(const std::string& text, const std::string& muster, int& p) {
    const std::size_t von = p < 1 ? 0 : static_cast<std::size_t>(p) - 1;
    if (von >= text.size())
        return false;
    const std::size_t fund = text.find(muster, von);
    if (fund == std::string::npos)
        return false;
    p = static_cast<int>(fund + muster.size());
    return true;
}

bool Bytes(const std::string& t, int& p, std::vector<int>& ziel, int anzahl) {
    ziel.clear();
    for (int i = 0; i < anzahl; ++i) {
        const std::size_t a = static_cast<std::size_t>(p) - 1;
        if (t.size() < a + 9 || t[a] != '1')
            return false;
        int wert = 0;
        for (std::size_t b = 1; b <= 8; ++b) {
            if (t[a + b] != '0' && t[a + b] != '1')
                return false;
            wert = wert * 2 + (t[a + b] == '1');
        }
        ziel.push_back(wert);
        p += 9;
    }
    return true;
}

int Summe(const std::vector<int>& bytes, std::size_t anzahl) {
    int s = 0;
    for (std::size_t i = 0; i < anzahl; ++i)
        s += __builtin_popcount(static_cast<unsigned>(bytes[i]));
    return s & 0xFFFF;
}

struct TReferenz {
    bool gefunden = false;
    int ende = 0;
    std::vector<int> kopf;
    std::vector<int> rumpf;
};

// The parser as the tape format describes it, each search a plain scan.
TReferenz Referenz(const std::string& t, int start) {
    TReferenz r;
    const int laenge = static_cast<int>(t.size());
    int p = start < 1 ? 1 : start;
    if (t.empty() || laenge < p)
        return r;
    int m = 0;
    while (true) {
        if (m == 0)
            m = p;
        if (!Suche(t, LangeMarke, m)) {
            p = laenge + 1;
            break;
        }
        p = m;
        bool kopfGut = false;
        std::vector<int> block;
        for (int v = 0; v < 2 && !kopfGut; ++v) {
            if (v == 1 && !Suche(t, Kopie, p))
                break;
            if (!Bytes(t, p, block, 130))
                continue;
            kopfGut = 256 * block[128] + block[129] == Summe(block, 128);
        }
        if (kopfGut) {
            r.kopf.assign(block.begin(), block.begin() + 128);
            const int groesse = r.kopf[18] + 256 * r.kopf[19];
            if (Suche(t, KurzeMarke, p)) {
                bool rumpfGut = false;
                for (int v = 0; v < 2 && !rumpfGut; ++v) {
                    if (v == 1 && !Suche(t, Kopie, p))
                        break;
                    if (!Bytes(t, p, block, groesse + 2))
                        continue;
                    rumpfGut = 256 * block[static_cast<std::size_t>(groesse)] +
                                   block[static_cast<std::size_t>(groesse) + 1] ==
                               Summe(block, static_cast<std::size_t>(groesse));
                }
                if (rumpfGut) {
                    r.rumpf.assign(block.begin(), block.begin() + groesse);
                    r.gefunden = true;
                    break;
                }
            }
        }
        if (laenge < p)
            break;
    }
    r.ende = p - 1;
    return r;
}

// The tape texts searched here are the MZ-700's.
const TBandEinstellungen Voll{.modell = MZ700};
const TBandEinstellungen Verkuerzt{.modell = MZ700, .verkuerzt = true};

class TonbandSuche : public ::testing::Test {
protected:
    void SetUp() override { TestSprache(true); }
    void TearDown() override { EinstellungenLeeren(); }
    TPlattformSkript plattform;
};

TEST_F(TonbandSuche, ZufaelligeBandstueckeGebenDasSelbeWieEineEinfacheSuche) {
    // Pieces of real tape text: whole files in both formats, files cut short, headers alone,
    // gaps of every length around 1000, single flipped bits, and noise.
    std::vector<std::string> stuecke;
    for (int groesse : {0, 1, 7, 40}) {
        TMZFDatei d;
        ASSERT_TRUE(LadeBildMitRumpf(d, RumpfMitBytes(groesse, groesse * 3), "STUECK"));
        const std::string voll = d.ErzeugeTonbandBits(Voll);
        const std::string kurz = d.ErzeugeTonbandBits(Verkuerzt);
        stuecke.push_back(voll.substr(21000));
        stuecke.push_back(kurz.substr(4000));
        stuecke.push_back(kurz.substr(4000, 1000 + 82 + 1170 + 1)); // a header and nothing else
        stuecke.push_back(kurz.substr(kurz.size() / 2));
    }
    for (int n : {99, 100, 101, 999, 1000, 1001})
        stuecke.push_back(std::string(static_cast<std::size_t>(n), '0'));
    stuecke.push_back("1");
    stuecke.push_back(std::string(40, '1'));

    std::mt19937 zufall(20261208);
    int gefunden = 0;
    for (int fall = 0; fall < 400; ++fall) {
        std::string text;
        const int anzahl = 1 + static_cast<int>(zufall() % 8);
        for (int i = 0; i < anzahl; ++i)
            text += stuecke[zufall() % stuecke.size()];
        for (int kippen = static_cast<int>(zufall() % 4); kippen > 0; --kippen) {
            char& c = text[zufall() % text.size()];
            c = c == '0' ? '1' : (zufall() % 8 == 0 ? 'x' : '0');
        }
        const int start = static_cast<int>(zufall() % 3000) - 5;
        const TReferenz erwartet = Referenz(text, start);
        TMZFDatei datei;
        int ende = -1;
        const bool ok = datei.LeseAusTonbandBits(text, start, false, 0.0, ende);
        ASSERT_EQ(ok, erwartet.gefunden) << "case " << fall;
        if (!ok)
            continue;
        ++gefunden;
        EXPECT_EQ(ende, erwartet.ende) << "case " << fall;
        for (int i = 0; i < 128; ++i)
            ASSERT_EQ(datei.Kopf()[static_cast<std::size_t>(i)], erwartet.kopf[static_cast<std::size_t>(i)]);
        ASSERT_EQ(static_cast<std::size_t>(datei.HoleMZDateiGroesse()), erwartet.rumpf.size());
        for (std::size_t i = 0; i < erwartet.rumpf.size(); ++i)
            ASSERT_EQ(datei.Rumpf()[i], erwartet.rumpf[i]);
    }
    // The pieces make files often enough that both outcomes are compared many times.
    EXPECT_GT(gefunden, 50);
    EXPECT_LT(gefunden, 350);
}

TEST_F(TonbandSuche, SucheMusterFindetDasErsteVorkommenAuchInLangenNullfolgen) {
    const std::string text = std::string(5000, '0') + LangeMarke + std::string(3000, '0') + LangeMarke;
    int p = 1;
    ASSERT_TRUE(TMZFDatei::SucheMuster(text, LangeMarke, p));
    EXPECT_EQ(p, 5000 + static_cast<int>(LangeMarke.size()));
    ++p;
    ASSERT_TRUE(TMZFDatei::SucheMuster(text, LangeMarke, p));
    EXPECT_EQ(p, static_cast<int>(text.size()));
    ++p;
    EXPECT_FALSE(TMZFDatei::SucheMuster(text, LangeMarke, p));
    // Overlapping candidates: "0001" in "00001" starts at the second character.
    p = 1;
    ASSERT_TRUE(TMZFDatei::SucheMuster("00001", "0001", p));
    EXPECT_EQ(p, 5);
}

TEST_F(TonbandSuche, TausendeKoepfeOhneRumpfSindSchnellDurchsucht) {
    // Each good header sends the parser looking for a short mark that never comes. A search
    // that starts again from each header would read this 11-million-character text thousands of
    // times; read once, it is done at once.
    TMZFDatei d;
    ASSERT_TRUE(LadeBildMitRumpf(d, RumpfMitBytes(4), "KOPF"));
    const std::string kurz = d.ErzeugeTonbandBits(Verkuerzt);
    const std::string kopf = kurz.substr(4000, 1000 + 82 + 1170 + 1);
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += kopf;
    TMZFDatei datei;
    int ende = -1;
    EXPECT_FALSE(datei.LeseAusTonbandBits(text, 1, false, 0.0, ende));
    // The same headers followed by one body: the file is the last header's.
    const std::string mitRumpf = text + kurz.substr(kopf.size() + 4000);
    ASSERT_TRUE(datei.LeseAusTonbandBits(mitRumpf, 1, false, 0.0, ende));
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("KOPF"));
    EXPECT_EQ(ende, static_cast<int>(mitRumpf.size()) - 1);
}

// Every file of a text, as the import takes them: each search from the end of the last file.
std::vector<TReferenz> AlleReferenz(const std::string& text) {
    std::vector<TReferenz> alle;
    int start = 1;
    while (true) {
        TReferenz r = Referenz(text, start);
        if (!r.gefunden)
            return alle;
        start = r.ende + 1;
        alle.push_back(std::move(r));
    }
}

// What an observer hears, one line per event.
struct TProtokoll {
    std::vector<std::string> zeilen;
    TTonbandBeobachter beobachter;
    // The letter appended to, not prepended: GCC 12 at -O3 takes the prepending operator+ for an
    // overlapping copy and warns.
    TProtokoll() {
        beobachter.beiLangerMarke = [this](std::int64_t p) {
            zeilen.push_back(std::string("L").append(std::to_string(p)));
        };
        beobachter.beiKurzerMarke = [this](std::int64_t p) {
            zeilen.push_back(std::string("K").append(std::to_string(p)));
        };
        beobachter.beiKopf = [this](std::int64_t p, int kopie, const std::uint8_t* kopf, bool gut) {
            zeilen.push_back(std::string("H").append(std::to_string(p)) + "/" + std::to_string(kopie) +
                             (kopf ? "r" : "-") + (gut ? "g" : "b"));
        };
        beobachter.beiRumpf = [this](std::int64_t p, int kopie, bool gut) {
            zeilen.push_back(std::string("B").append(std::to_string(p)) + "/" + std::to_string(kopie) +
                             (gut ? "g" : "b"));
        };
    }
};

TEST_F(TonbandSuche, StueckweiseGelesenFindetSichDasSelbeWieImGanzenText) {
    // The pieces of the first test, fed to the stream in pieces of random length: the same files
    // in the same order as the plain search, and the observer hears the same events as when the
    // whole text is searched at once. A body of 1500 bytes spans several pieces: its read goes on
    // where it stopped, through flipped bits too.
    std::vector<std::string> stuecke;
    for (int groesse : {0, 3, 40, 1500}) {
        TMZFDatei d;
        ASSERT_TRUE(LadeBildMitRumpf(d, RumpfMitBytes(groesse, groesse * 5), "STROM"));
        const std::string voll = d.ErzeugeTonbandBits(Voll);
        const std::string kurz = d.ErzeugeTonbandBits(Verkuerzt);
        stuecke.push_back(voll.substr(21000));
        stuecke.push_back(kurz.substr(4000));
        stuecke.push_back(kurz.substr(4000, 1000 + 82 + 1170 + 1));
        stuecke.push_back(kurz.substr(kurz.size() / 2));
    }
    for (int n : {99, 100, 101, 1000, 1001})
        stuecke.push_back(std::string(static_cast<std::size_t>(n), '0'));
    stuecke.push_back(std::string(40, '1'));

    std::mt19937 zufall(8122026);
    std::size_t dateien = 0;
    for (int fall = 0; fall < 300; ++fall) {
        std::string text;
        const int anzahl = 1 + static_cast<int>(zufall() % 10);
        for (int i = 0; i < anzahl; ++i)
            text += stuecke[zufall() % stuecke.size()];
        for (int kippen = static_cast<int>(zufall() % 4); kippen > 0; --kippen) {
            char& c = text[zufall() % text.size()];
            c = c == '0' ? '1' : '0';
        }
        const std::vector<TReferenz> erwartet = AlleReferenz(text);

        TProtokoll ganz;
        TMZFDatei datei;
        int start = 1;
        int ende = 0;
        while (datei.LeseAusTonbandBits(text, start, false, 0.0, ende, &ganz.beobachter))
            start = ende + 1;

        TProtokoll stueckweise;
        std::vector<TReferenz> gefunden;
        TTonbandStrom strom(
            [&](const TTonbandSuche& s, std::int64_t e) {
                TReferenz r;
                r.gefunden = true;
                r.ende = static_cast<int>(e);
                r.kopf.assign(s.HoleKopf().begin(), s.HoleKopf().end());
                r.rumpf.assign(s.HoleRumpf().begin(), s.HoleRumpf().end());
                gefunden.push_back(std::move(r));
            },
            &stueckweise.beobachter);
        for (std::size_t p = 0; p < text.size();) {
            const std::size_t n = std::min<std::size_t>(text.size() - p, 1 + zufall() % 3000);
            strom.Haenge(std::string_view(text).substr(p, n));
            p += n;
        }
        strom.Abschliessen();

        ASSERT_EQ(gefunden.size(), erwartet.size()) << "case " << fall;
        for (std::size_t i = 0; i < erwartet.size(); ++i) {
            EXPECT_EQ(gefunden[i].ende, erwartet[i].ende) << "case " << fall << " file " << i;
            EXPECT_EQ(gefunden[i].kopf, erwartet[i].kopf) << "case " << fall << " file " << i;
            EXPECT_EQ(gefunden[i].rumpf, erwartet[i].rumpf) << "case " << fall << " file " << i;
        }
        EXPECT_EQ(stueckweise.zeilen, ganz.zeilen) << "case " << fall;
        dateien += erwartet.size();
    }
    EXPECT_GT(dateien, 200u);
}

TEST_F(TonbandSuche, DerStromHaeltNurWasDieSucheNochBraucht) {
    // A good header whose body never comes, then hours of gap: the stream holds no more than the
    // longest stretch a file may take, and still finds the file that follows.
    TMZFDatei d;
    ASSERT_TRUE(LadeBildMitRumpf(d, RumpfMitBytes(12), "SPAETER"));
    const std::string kurz = d.ErzeugeTonbandBits(Verkuerzt);
    const std::string kopf = kurz.substr(4000, 1000 + 82 + 1170 + 1);
    std::vector<std::string> namen;
    TTonbandStrom strom([&](const TTonbandSuche& s, std::int64_t) {
        namen.push_back(TMZFDatei::NameAusKopf(s.HoleKopf().data()).toStdString());
    });
    strom.Haenge(kopf);
    const std::string luecke(1 << 20, '0');
    std::size_t hoechstens = 0;
    for (int i = 0; i < 12; ++i) {
        strom.Haenge(luecke);
        hoechstens = std::max(hoechstens, strom.HoleGehalten());
    }
    strom.Haenge(kurz);
    strom.Abschliessen();
    EXPECT_EQ(namen, std::vector<std::string>{"SPAETER"});
    EXPECT_LE(hoechstens, static_cast<std::size_t>(TTonbandSuche::GroessteDateiSpanne) + luecke.size());
    // A long stretch of short pulses holds nearly nothing.
    TTonbandStrom leer([](const TTonbandSuche&, std::int64_t) {});
    for (int i = 0; i < 12; ++i)
        leer.Haenge(luecke);
    EXPECT_LT(leer.HoleGehalten(), 2000u);
}

} // namespace
