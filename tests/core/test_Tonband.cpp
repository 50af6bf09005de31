#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"

#include <gtest/gtest.h>
#include <string>

namespace {
std::string Nullen(int n) {
    return std::string(static_cast<std::size_t>(n), '0');
}
std::string Einsen(int n) {
    return std::string(static_cast<std::size_t>(n), '1');
}

// The header whose checksum is 368: attribute 1, name "A", size 16, load and start $1200.
TMZFBild Kopf368() {
    TMZFBild bild;
    bild.name = QByteArray("A") + QByteArray(16, '\x0D');
    bild.startAdresse = 0x1200;
    bild.rumpf = QByteArray(16, '\0');
    return bild;
}

class TonbandTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        Modell(MZ700);
    }
    void TearDown() override { EinstellungenLeeren(); }
    // The model whose leaders the tape texts have, in the full or the shortened format.
    void Modell(quint8 modell) { einstellungen.modell = modell; }
    TBandEinstellungen Format(bool verkuerzt) const { return ImFormat(einstellungen.modell, verkuerzt); }
    TBandEinstellungen einstellungen;
    std::string Text(const TMZFBild& bild, bool verkuerzt) {
        TMZFDatei d;
        EXPECT_TRUE(LadeBild(d, bild));
        return d.ErzeugeTonbandBits(Format(verkuerzt));
    }
    TPlattformSkript plattform;
    TMZFDatei datei;
    int ende = -1;
};

TEST_F(TonbandTest, ByteAlsBitsUndEinsBits) {
    EXPECT_EQ(TMZFDatei::ByteAlsBits(0x41), "101000001");
    EXPECT_EQ(TMZFDatei::ByteAlsBits(0x00), "100000000");
    EXPECT_EQ(TMZFDatei::ByteAlsBits(0xFF), "111111111");
    EXPECT_EQ(TMZFDatei::ByteAlsBits(0x80), "110000000");
    EXPECT_EQ(TMZFDatei::AnzahlEinsBits(0x00), 0);
    EXPECT_EQ(TMZFDatei::AnzahlEinsBits(0x0D), 3);
    EXPECT_EQ(TMZFDatei::AnzahlEinsBits(0xFF), 8);
}

TEST_F(TonbandTest, LeeresDatensatzGibtLeerenTextUndSummenNull) {
    EXPECT_EQ(datei.ErzeugeTonbandBits(Format(false)), "");
    EXPECT_EQ(datei.ErzeugeTonbandBits(Format(true)), "");
    EXPECT_EQ(datei.PruefsummeKopf(), 0);
    EXPECT_EQ(datei.PruefsummeRumpf(), 0);
}

TEST_F(TonbandTest, SegmenteEinerDateiOhneRumpf) {
    std::string kopfBlock;
    for (int i = 0; i < 130; ++i)
        kopfBlock += "100000000";
    const std::string rumpfBlock = "100000000100000000";
    const std::string voll = Nullen(22000) + Einsen(40) + Nullen(40) + "1" + kopfBlock + "1" + Nullen(256) +
                             kopfBlock + "1" + Nullen(11000) + Einsen(20) + Nullen(20) + "1" + rumpfBlock +
                             "1" + Nullen(256) + rumpfBlock + "1";
    EXPECT_EQ(voll.size(), 36014u);
    EXPECT_EQ(Text(NullBild(), false), voll);
    const std::string kurz = Nullen(5000) + Einsen(40) + Nullen(40) + "1" + kopfBlock + "1" + Nullen(11000) +
                             Einsen(20) + Nullen(20) + "1" + rumpfBlock + "1";
    EXPECT_EQ(kurz.size(), 17312u);
    EXPECT_EQ(Text(NullBild(), true), kurz);
    Modell(MZ80B);
    EXPECT_EQ(Text(NullBild(), false), Nullen(10000) + voll.substr(22000));
    EXPECT_EQ(Text(NullBild(), true), kurz); // the shortened gap is the same for every model
}

TEST_F(TonbandTest, LaengenJeFormatUndModell) {
    TMZFBild bild;
    bild.rumpf = RumpfMitBytes(16);
    EXPECT_EQ(Text(bild, false).size(), 36014u + 18 * 16);
    EXPECT_EQ(Text(bild, true).size(), 17312u + 9 * 16);
    for (quint8 m : {MZ80K, MZ80C, MZ80A, MZ700, MZ800}) {
        Modell(m);
        EXPECT_EQ(Text(TMZFBild{}, false).size(), 36014u) << int(m);
    }
    Modell(MZ80B);
    EXPECT_EQ(Text(TMZFBild{}, false).size(), 24014u);
    Modell(MZ700);
    bild.rumpf = RumpfMitBytes(65535);
    EXPECT_EQ(Text(bild, false).size(), 1215644u);
}

TEST_F(TonbandTest, PruefsummeDesBeispielkopfs) {
    ASSERT_TRUE(LadeBild(datei, Kopf368()));
    EXPECT_EQ(datei.PruefsummeKopf(), 368);
    EXPECT_EQ(datei.PruefsummeRumpf(), 0);
    const std::string text = datei.ErzeugeTonbandBits(Format(true));
    // The header block ends 1 separator after gap, mark and separator plus 1,170 characters.
    const std::size_t kopfEnde = 5000 + 80 + 1 + 1170;
    EXPECT_EQ(text.substr(kopfEnde - 18, 18), "100000001" + std::string("101110000"));
}

TEST_F(TonbandTest, RumpfSummeZaehltGesetzteBitsModulo65536) {
    TMZFBild bild;
    bild.rumpf = QByteArray(65535, '\xFF'); // 524,280 bits = 8 * 65536 + 65528
    ASSERT_TRUE(LadeBild(datei, bild));
    EXPECT_EQ(datei.PruefsummeRumpf(), 65528);
}

TEST_F(TonbandTest, RundreiseInAllenDreiFormen) {
    TMZFBild bild;
    bild.name = QByteArray("ROUND TRIP") + QByteArray(7, '\x0D');
    bild.kommentar = QByteArray("COMMENT") + QByteArray(97, '\x20');
    bild.rumpf = RumpfMitBytes(3000, 17);
    TMZFDatei quelle;
    ASSERT_TRUE(LadeBild(quelle, bild));
    for (const auto& [modell, verkuerzt] :
         {std::pair{MZ700, false}, std::pair{MZ80B, false}, std::pair{MZ700, true}}) {
        Modell(modell);
        const std::string text = quelle.ErzeugeTonbandBits(Format(verkuerzt));
        ASSERT_TRUE(datei.LeseAusTonbandBits(text, 1, false, 0.0, ende)) << int(modell) << verkuerzt;
        EXPECT_TRUE(datei.IstGleich(quelle));
        EXPECT_TRUE(datei.IstGeladen());
        EXPECT_TRUE(datei.IstGeaendert());
        EXPECT_TRUE(datei.HoleDateiPfad().isEmpty());
        EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("ROUND TRIP"));
        // The accepted body is the first copy: the end lies before the gap and the second copy.
        const int kopie = verkuerzt ? 0 : 1 + 256 + 9 * (3000 + 2);
        EXPECT_EQ(ende, static_cast<int>(text.size()) - 1 - kopie);
    }
    EXPECT_TRUE(plattform.Texte().isEmpty());
}

TEST_F(TonbandTest, BeschaedigterErsterKopfWirdAusDerKopieGelesen) {
    TMZFDatei quelle;
    ASSERT_TRUE(LadeBildMitRumpf(quelle, RumpfMitBytes(100)));
    std::string text = quelle.ErzeugeTonbandBits(Format(false));
    const std::size_t ersterKopf = 22000 + 80 + 1;
    const std::size_t zweiterKopf = ersterKopf + 1170 + 1 + 256;
    text.at(ersterKopf + 9 * 5 + 8) ^= 1; // lowest bit of name byte 5
    ASSERT_TRUE(datei.LeseAusTonbandBits(text, 1, false, 0.0, ende));
    EXPECT_TRUE(datei.IstGleich(quelle));

    text.at(zweiterKopf + 9 * 5 + 8) ^= 1; // now both copies are damaged
    EXPECT_FALSE(datei.LeseAusTonbandBits(text, 1, false, 0.0, ende));
    EXPECT_FALSE(datei.IstGeladen());

    // ... unless a later file is intact.
    TMZFDatei zweiteDatei;
    ASSERT_TRUE(LadeBildMitRumpf(zweiteDatei, RumpfMitBytes(50, 99), "SECOND"));
    text += zweiteDatei.ErzeugeTonbandBits(Format(false));
    ASSERT_TRUE(datei.LeseAusTonbandBits(text, 1, false, 0.0, ende));
    EXPECT_TRUE(datei.IstGleich(zweiteDatei));
}

TEST_F(TonbandTest, BeschaedigterErsterRumpfWirdAusDerKopieGelesenZweimalDefektWirdUebersprungen) {
    TMZFDatei quelle;
    ASSERT_TRUE(LadeBildMitRumpf(quelle, RumpfMitBytes(40)));
    std::string text = quelle.ErzeugeTonbandBits(Format(false));
    const std::size_t ersterRumpf = 22000 + 80 + 1 + 2 * 1170 + 1 + 256 + 1 + 11000 + 40 + 1;
    const std::size_t zweiterRumpf = ersterRumpf + 9 * 42 + 1 + 256;
    text.at(ersterRumpf + 9 * 3) = '0'; // start bit of the fourth body byte
    ASSERT_TRUE(datei.LeseAusTonbandBits(text, 1, false, 0.0, ende));
    EXPECT_TRUE(datei.IstGleich(quelle));
    EXPECT_EQ(ende, static_cast<int>(text.size()) - 1); // the second copy was used

    text.at(zweiterRumpf + 9 * 7 + 4) = 'x'; // a character that is no bit
    EXPECT_FALSE(datei.LeseAusTonbandBits(text, 1, false, 0.0, ende));
    TMZFDatei zweiteDatei;
    ASSERT_TRUE(LadeBildMitRumpf(zweiteDatei, RumpfMitBytes(7, 200)));
    text += zweiteDatei.ErzeugeTonbandBits(Format(true));
    ASSERT_TRUE(datei.LeseAusTonbandBits(text, 1, false, 0.0, ende));
    EXPECT_TRUE(datei.IstGleich(zweiteDatei));
}

TEST_F(TonbandTest, LueckeVon999NullenReichtNicht1000Schon) {
    TMZFDatei quelle;
    ASSERT_TRUE(LadeBild(quelle, TMZFBild{}));
    const std::string rest = quelle.ErzeugeTonbandBits(Format(true)).substr(5000);
    // Built by appending: GCC 12 at -O3 takes "1" + string for an overlapping copy (-Wrestrict).
    const auto mitLuecke = [&](int nullen) { return std::string("1").append(Nullen(nullen)).append(rest); };
    EXPECT_FALSE(datei.LeseAusTonbandBits(mitLuecke(999), 1, false, 0.0, ende));
    EXPECT_TRUE(datei.LeseAusTonbandBits(mitLuecke(1000), 1, false, 0.0, ende));
    EXPECT_TRUE(datei.IstGleich(quelle));
}

TEST_F(TonbandTest, WeiterlesenAbEndeFindetDieNaechsteDateiNieDieKopie) {
    TMZFBild a;
    a.name = QByteArray("FIRST") + QByteArray(12, '\x0D');
    a.rumpf = RumpfMitBytes(300, 1);
    TMZFBild b;
    b.name = QByteArray("SECOND") + QByteArray(11, '\x0D');
    b.rumpf = RumpfMitBytes(20, 5);
    TMZFDatei dateiA;
    TMZFDatei dateiB;
    ASSERT_TRUE(LadeBild(dateiA, a));
    ASSERT_TRUE(LadeBild(dateiB, b));
    const std::string textA = dateiA.ErzeugeTonbandBits(Format(false));
    const std::string text = textA + dateiB.ErzeugeTonbandBits(Format(false));

    ASSERT_TRUE(datei.LeseAusTonbandBits(text, 1, false, 0.0, ende));
    EXPECT_TRUE(datei.IstGleich(dateiA));
    const int endeA = ende;
    EXPECT_EQ(endeA, static_cast<int>(textA.size()) - 1 - 256 - 9 * 302 - 1);
    ASSERT_TRUE(datei.LeseAusTonbandBits(text, endeA + 1, false, 0.0, ende));
    EXPECT_TRUE(datei.IstGleich(dateiB));
    EXPECT_FALSE(datei.LeseAusTonbandBits(text, ende + 1, false, 0.0, ende));
    EXPECT_FALSE(datei.IstGeladen());
}

TEST_F(TonbandTest, StartpositionUnterEinsUndHinterDemEnde) {
    TMZFDatei quelle;
    ASSERT_TRUE(LadeBild(quelle, TMZFBild{}));
    const std::string text = quelle.ErzeugeTonbandBits(Format(true));
    for (int start : {0, -7}) {
        ASSERT_TRUE(datei.LeseAusTonbandBits(text, start, false, 0.0, ende)) << start;
        EXPECT_EQ(ende, static_cast<int>(text.size()) - 1);
    }
    ende = 4711;
    EXPECT_FALSE(datei.LeseAusTonbandBits(text, static_cast<int>(text.size()) + 1, false, 0.0, ende));
    EXPECT_FALSE(datei.LeseAusTonbandBits(text, static_cast<int>(text.size()), false, 0.0, ende));
    EXPECT_FALSE(datei.LeseAusTonbandBits("", 1, false, 0.0, ende));
    EXPECT_EQ(ende, 4711); // untouched by a failure
    // Starting one character into the gap still leaves more than 1,000 zeros.
    EXPECT_TRUE(datei.LeseAusTonbandBits(text, 2, false, 0.0, ende));
    EXPECT_FALSE(datei.LeseAusTonbandBits(text, 5000 - 998, false, 0.0, ende));
}

TEST_F(TonbandTest, FehlschlagLeertDenGeladenenDatensatz) {
    ASSERT_TRUE(LadeBild(datei, TMZFBild{}));
    ASSERT_TRUE(datei.IstGeladen());
    EXPECT_FALSE(datei.LeseAusTonbandBits(Nullen(5000), 1, false, 0.0, ende));
    EXPECT_FALSE(datei.IstGeladen());
}

TEST_F(TonbandTest, FortschrittNurAufWunschUndMitUnveraendertemWert) {
    TMZFDatei quelle;
    ASSERT_TRUE(LadeBild(quelle, TMZFBild{}));
    const std::string text = quelle.ErzeugeTonbandBits(Format(false));
    QList<double> werte;
    TMZFDatei* sender = nullptr;
    datei.BeiFortschritt = [&](TMZFDatei* s, double p) {
        sender = s;
        werte << p;
    };
    ASSERT_TRUE(datei.LeseAusTonbandBits(text, 1, false, 12.0, ende));
    EXPECT_TRUE(werte.isEmpty());
    ASSERT_TRUE(datei.LeseAusTonbandBits(text, 1, true, 42.5, ende));
    // Search pass, header found, body found, end.
    EXPECT_EQ(werte, QList<double>({42.5, 42.5, 42.5, 42.5}));
    EXPECT_EQ(sender, &datei);
    werte.clear();
    EXPECT_FALSE(datei.LeseAusTonbandBits(Nullen(100), 1, true, 7.0, ende));
    EXPECT_EQ(werte, QList<double>({7.0, 7.0})); // one pass without a mark, then the end
}

TEST_F(TonbandTest, SucheMusterRegeln) {
    int pos = 1;
    EXPECT_FALSE(TMZFDatei::SucheMuster("0011", "", pos));
    EXPECT_FALSE(TMZFDatei::SucheMuster("", "1", pos));
    pos = 5;
    EXPECT_FALSE(TMZFDatei::SucheMuster("0011", "1", pos));
    EXPECT_EQ(pos, 5);
    pos = -3;
    ASSERT_TRUE(TMZFDatei::SucheMuster("0011011", "011", pos));
    EXPECT_EQ(pos, 4); // last character of the first occurrence
    pos = 3;
    ASSERT_TRUE(TMZFDatei::SucheMuster("0011011", "011", pos));
    EXPECT_EQ(pos, 7);
    pos = 6;
    EXPECT_FALSE(TMZFDatei::SucheMuster("0011011", "011", pos));
    pos = 4;
    ASSERT_TRUE(TMZFDatei::SucheMuster("0011011", "1", pos));
    EXPECT_EQ(pos, 4); // an occurrence at the position itself counts
}

TEST_F(TonbandTest, LeseByteAusBitsRegeln) {
    std::uint8_t b = 0x99;
    ASSERT_TRUE(TMZFDatei::LeseByteAusBits("101000001", 1, b));
    EXPECT_EQ(b, 0x41);
    ASSERT_TRUE(TMZFDatei::LeseByteAusBits("101000001", 0, b));
    EXPECT_EQ(b, 0x41);
    ASSERT_TRUE(TMZFDatei::LeseByteAusBits("00111111110", 3, b));
    EXPECT_EQ(b, 0xFE);
    b = 0x99;
    EXPECT_FALSE(TMZFDatei::LeseByteAusBits("001000001", 1, b)); // start bit 0
    EXPECT_FALSE(TMZFDatei::LeseByteAusBits("1010x0001", 1, b)); // no bit character
    EXPECT_FALSE(TMZFDatei::LeseByteAusBits("10100000", 1, b));  // one character short
    EXPECT_FALSE(TMZFDatei::LeseByteAusBits("0101000001", 2 + 1, b));
    EXPECT_EQ(b, 0x99);
}
} // namespace
