#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "SprachenTexte.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
class MZFDateiTest : public ::testing::Test {
protected:
    void SetUp() override { TestSprache(true); }
    TPlattformSkript plattform;
    TMZFDatei datei;

    void Laden(const TMZFBild& bild = {}) {
        ASSERT_TRUE(LadeBild(datei, bild));
        ASSERT_FALSE(datei.IstGeaendert());
    }
    QByteArray NameBytes() const {
        return QByteArray(reinterpret_cast<const char*>(datei.Kopf().data()) + TMZFDatei::OffsetName, 17);
    }
    QByteArray KommentarBytes() const {
        return QByteArray(reinterpret_cast<const char*>(datei.Kopf().data()) + TMZFDatei::OffsetKommentar,
                          104);
    }
};

TEST_F(MZFDateiTest, NeuerDatensatzIstLeerUndNeutral) {
    EXPECT_FALSE(datei.IstGeladen());
    EXPECT_FALSE(datei.IstGeaendert());
    EXPECT_TRUE(datei.HoleDateiPfad().isEmpty());
    EXPECT_EQ(datei.HoleMZDateiAttribut(), 1);
    EXPECT_TRUE(datei.HoleMZDateiName().isEmpty());
    EXPECT_TRUE(datei.HoleMZKommentar().isEmpty());
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 0);
    EXPECT_EQ(datei.HoleMZLadeAdresse(), 0);
    EXPECT_EQ(datei.HoleMZStartAdresse(), 0);
    EXPECT_TRUE(datei.HoleMZDateiRumpfText().isEmpty());
    for (std::uint8_t b : datei.Kopf())
        ASSERT_EQ(b, 0);
    EXPECT_FALSE(datei.BeiBeginn);
    EXPECT_FALSE(datei.BeiFortschritt);
    EXPECT_FALSE(datei.BeiEnde);
}

TEST_F(MZFDateiTest, SetzerOhneGeladeneDateiTunNichts) {
    datei.SetzeMZDateiAttribut(0x05);
    datei.SetzeMZDateiName(QStringLiteral("ABC"));
    datei.SetzeMZLadeAdresse(0x1200);
    datei.SetzeMZStartAdresse(0x1200);
    datei.SetzeMZKommentar(QStringLiteral("X"));
    EXPECT_FALSE(datei.IstGeladen());
    EXPECT_FALSE(datei.IstGeaendert());
    for (std::uint8_t b : datei.Kopf())
        ASSERT_EQ(b, 0);
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
}

TEST_F(MZFDateiTest, GetterLesenDieKopfbytes) {
    TMZFBild bild;
    bild.attribut = 0xBB;
    bild.ladeAdresse = 0xABCD;
    bild.startAdresse = 0x00FF;
    bild.rumpf = RumpfMitBytes(300);
    Laden(bild);
    EXPECT_TRUE(datei.IstGeladen());
    EXPECT_EQ(datei.HoleMZDateiAttribut(), 0xBB);
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("TEST"));
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 300);
    EXPECT_EQ(datei.HoleMZLadeAdresse(), 0xABCD);
    EXPECT_EQ(datei.HoleMZStartAdresse(), 0x00FF);
    EXPECT_TRUE(datei.HoleMZKommentar().isEmpty());
}

TEST_F(MZFDateiTest, NameSetzenFuelltMitEndezeichen) {
    Laden();
    datei.SetzeMZDateiName(QStringLiteral("ABC"));
    EXPECT_TRUE(datei.IstGeaendert());
    EXPECT_EQ(NameBytes(), QByteArray("ABC") + QByteArray(14, '\x0D'));
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("ABC"));

    datei.SetzeMZDateiName(QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    EXPECT_EQ(NameBytes(), QByteArray("ABCDEFGHIJKLMNOP\x0D"));
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("ABCDEFGHIJKLMNOP"));

    datei.SetzeMZDateiName(QString());
    EXPECT_EQ(NameBytes(), QByteArray(17, '\x0D'));
    EXPECT_TRUE(datei.HoleMZDateiName().isEmpty());
}

TEST_F(MZFDateiTest, NameOhneEndezeichenZeigtSechzehnZeichen) {
    TMZFBild bild;
    bild.name = "ABCDEFGHIJKLMNOPZ"; // byte 17 is no terminator either
    Laden(bild);
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("ABCDEFGHIJKLMNOP"));
    bild.name = QByteArray("AB\x0D"
                           "CD");
    Laden(bild);
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("AB"));
}

TEST_F(MZFDateiTest, KommentarSetzenUndLesen) {
    Laden();
    datei.SetzeMZKommentar(QString(110, QLatin1Char('X')));
    EXPECT_EQ(KommentarBytes(), QByteArray(103, 'X') + '\x0D');
    EXPECT_EQ(datei.HoleMZKommentar(), QString(103, QLatin1Char('X')));
    datei.SetzeMZKommentar(QStringLiteral("hi"));
    EXPECT_EQ(KommentarBytes(), QByteArray("\x98\xA6") + QByteArray(102, '\x0D'));
    EXPECT_EQ(datei.HoleMZKommentar(), QStringLiteral("hi"));

    TMZFBild bild;
    bild.kommentar = QByteArray(104, 'K');
    Laden(bild);
    EXPECT_EQ(datei.HoleMZKommentar(), QString(103, QLatin1Char('K')));
}

TEST_F(MZFDateiTest, CodesOhneEntsprechungLesenSichAlsFragezeichenUndWerden3F) {
    TMZFBild bild;
    bild.name = QByteArray("A\x01\xFF"
                           "B\x0D");
    bild.kommentar = QByteArray("\x7F\xA1\x0D");
    Laden(bild);
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("A??B"));
    EXPECT_EQ(datei.HoleMZKommentar(), QStringLiteral("?a"));
    datei.SetzeMZDateiName(datei.HoleMZDateiName());
    datei.SetzeMZKommentar(datei.HoleMZKommentar());
    EXPECT_EQ(NameBytes(), QByteArray("A??B") + QByteArray(13, '\x0D'));
    EXPECT_EQ(KommentarBytes().left(3), QByteArray("?\xA1\x0D"));
    // Characters outside the MZ set, also outside Latin-1, become 0x3F.
    datei.SetzeMZDateiName(QString::fromUtf8("\xC3\xA9\xE2\x82\xAC\xC2\xA7"));
    EXPECT_EQ(NameBytes(), QByteArray("???") + QByteArray(14, '\x0D'));
}

TEST_F(MZFDateiTest, JederSetzerMarkiertAlsGeaendert) {
    TMZFBild bild;
    bild.ladeAdresse = 0x1200;
    Laden(bild);
    datei.SetzeMZLadeAdresse(0x1200);
    EXPECT_TRUE(datei.IstGeaendert());
    EXPECT_EQ(datei.HoleMZLadeAdresse(), 0x1200);

    const std::function<void()> setzer[] = {
        [&] { datei.SetzeMZDateiAttribut(datei.HoleMZDateiAttribut()); },
        [&] { datei.SetzeMZDateiName(datei.HoleMZDateiName()); },
        [&] { datei.SetzeMZStartAdresse(0xFFFF); },
        [&] { datei.SetzeMZKommentar(QString()); },
    };
    for (const auto& s : setzer) {
        Laden(bild);
        s();
        EXPECT_TRUE(datei.IstGeaendert());
    }
    datei.SetzeMZStartAdresse(0xFFFF);
    EXPECT_EQ(datei.Kopf()[22], 0xFF);
    EXPECT_EQ(datei.Kopf()[23], 0xFF);
    datei.SetzeMZDateiAttribut(0xC3);
    EXPECT_EQ(datei.Kopf()[0], 0xC3);
}

TEST_F(MZFDateiTest, SchliessenVerbirgtAllesUndVergisstAenderungen) {
    const QString pfad = SchreibeTestDatei(TMZFBild{}.Bytes());
    ASSERT_TRUE(datei.Laden(pfad));
    EXPECT_EQ(datei.HoleDateiPfad(), pfad);
    datei.SetzeMZDateiAttribut(7);
    ASSERT_TRUE(datei.IstGeaendert());
    datei.Schliessen();
    EXPECT_FALSE(datei.IstGeladen());
    EXPECT_FALSE(datei.IstGeaendert());
    EXPECT_TRUE(datei.HoleDateiPfad().isEmpty());
    EXPECT_EQ(datei.HoleMZDateiAttribut(), 1);
    EXPECT_TRUE(datei.HoleMZDateiName().isEmpty());
    // The bytes stay in memory.
    EXPECT_EQ(datei.Kopf()[0], 7);
}

TEST_F(MZFDateiTest, KopiereVonUebernimmtAllesAuchDieEreignisse) {
    TMZFBild bild;
    bild.rumpf = RumpfMitBytes(100, 1);
    const QString pfad = SchreibeTestDatei(bild.Bytes());
    ASSERT_TRUE(datei.Laden(pfad));
    datei.SetzeMZStartAdresse(0x4321);
    std::vector<std::pair<TMZFDatei*, double>> meldungen;
    datei.BeiBeginn = [&](TMZFDatei* s) { meldungen.push_back({s, -1}); };
    datei.BeiFortschritt = [&](TMZFDatei* s, double p) { meldungen.push_back({s, p}); };
    datei.BeiEnde = [&](TMZFDatei* s) { meldungen.push_back({s, -2}); };

    // The target held a longer body: it now holds the copied one, no byte more.
    TMZFDatei ziel;
    TMZFBild lang;
    lang.rumpf = QByteArray(200, '\x77');
    ASSERT_TRUE(LadeBild(ziel, lang));
    ziel.KopiereVon(datei);
    EXPECT_TRUE(ziel.IstGeladen());
    EXPECT_TRUE(ziel.IstGeaendert());
    EXPECT_EQ(ziel.HoleDateiPfad(), pfad);
    EXPECT_EQ(ziel.Kopf(), datei.Kopf());
    EXPECT_EQ(ziel.HoleMZDateiGroesse(), 100);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ziel.Rumpf()), 100), bild.rumpf);
    EXPECT_EQ(ziel.HoleMZDateiRumpfText(), datei.HoleMZDateiRumpfText());
    EXPECT_TRUE(ziel.IstGleich(datei));

    ASSERT_TRUE(ziel.BeiBeginn && ziel.BeiFortschritt && ziel.BeiEnde);
    ziel.BeiBeginn(&ziel);
    ziel.BeiFortschritt(&ziel, 50.0);
    ziel.BeiEnde(&ziel);
    ASSERT_EQ(meldungen.size(), 3u);
    EXPECT_EQ(meldungen[1], std::make_pair(&ziel, 50.0));

    auto kopie = TMZFDatei::CreateKopie(datei);
    EXPECT_TRUE(kopie->IstGeladen());
    EXPECT_TRUE(kopie->IstGleich(datei));
    EXPECT_EQ(kopie->HoleDateiPfad(), pfad);
}

TEST_F(MZFDateiTest, KopiereVonLeeremDatensatzLeertDasZiel) {
    Laden();
    TMZFDatei leer;
    datei.KopiereVon(leer);
    EXPECT_FALSE(datei.IstGeladen());
    EXPECT_FALSE(datei.BeiBeginn);
}

TEST_F(MZFDateiTest, KopiereVonSichSelbstAendertNichts) {
    Laden();
    datei.SetzeMZDateiName(QStringLiteral("SELBST"));
    datei.KopiereVon(datei);
    EXPECT_TRUE(datei.IstGeladen());
    EXPECT_TRUE(datei.IstGeaendert());
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("SELBST"));
}

TEST_F(MZFDateiTest, IstGleichVergleichtKopfbytesUndBenutztenRumpf) {
    EXPECT_TRUE(datei.IstGleich(datei));
    TMZFBild bild;
    bild.rumpf = RumpfMitBytes(16);
    TMZFDatei a, b;
    ASSERT_TRUE(LadeBild(a, bild));
    ASSERT_TRUE(LadeBild(b, bild));
    EXPECT_TRUE(a.IstGleich(b));
    // Flags and path are not compared.
    b.SetzeMZLadeAdresse(bild.ladeAdresse);
    EXPECT_TRUE(a.IstGleich(b));
    b.Schliessen();
    EXPECT_TRUE(a.IstGleich(b));

    // Unused body bytes do not count: load a longer body, then the shorter one again.
    TMZFBild lang = bild;
    lang.rumpf = RumpfMitBytes(16) + QByteArray(50, '\x55');
    ASSERT_TRUE(LadeBild(b, lang));
    ASSERT_TRUE(LadeBild(b, bild));
    EXPECT_TRUE(a.IstGleich(b));

    TMZFBild padding = bild;
    padding.name = QByteArray("TEST\x0D") + QByteArray(12, ' ');
    ASSERT_TRUE(LadeBild(b, padding));
    EXPECT_EQ(b.HoleMZDateiName(), a.HoleMZDateiName());
    EXPECT_FALSE(a.IstGleich(b));

    TMZFBild kommentar = bild;
    kommentar.kommentar = QByteArray(103, '\x0D') + 'X';
    ASSERT_TRUE(LadeBild(b, kommentar));
    EXPECT_FALSE(a.IstGleich(b));

    TMZFBild rumpf = bild;
    rumpf.rumpf[15] = 'X';
    ASSERT_TRUE(LadeBild(b, rumpf));
    EXPECT_FALSE(a.IstGleich(b));
}

TEST_F(MZFDateiTest, AttributNamenAusDemKatalog) {
    EXPECT_EQ(TMZFDatei::HoleMZDateiAttributText(0x01), QStringLiteral("Machine-language-program"));
    EXPECT_EQ(TMZFDatei::HoleMZDateiAttributText(0xBF), QStringLiteral("MZ-700/800 QUICKCOPY"));
    EXPECT_EQ(TMZFDatei::HoleMZDateiAttributText(0x00), QStringLiteral("Unknown"));
    EXPECT_EQ(TMZFDatei::HoleMZDateiAttributText(0xFF), QStringLiteral("Unknown"));
    const QString unbekannt = HoleText(QStringLiteral("MZDateiAttributUnbekannt"));
    int benannt = 0;
    for (int wert = 0; wert < 256; ++wert) {
        static const char ziffern[] = "0123456789ABCDEF";
        const QString key = QStringLiteral("MZDateiAttribut$") + QLatin1Char(ziffern[wert >> 4]) +
                            QLatin1Char(ziffern[wert & 15]);
        const QString text = HoleText(key);
        const QString erwartet = text == key ? unbekannt : text;
        benannt += text != key;
        EXPECT_EQ(TMZFDatei::HoleMZDateiAttributText(static_cast<std::uint8_t>(wert)), erwartet) << wert;
    }
    EXPECT_EQ(benannt, 20);
    TestSprache(false);
    EXPECT_EQ(TMZFDatei::HoleMZDateiAttributText(0x01), HoleText(QStringLiteral("MZDateiAttribut$01")));
    EXPECT_EQ(TMZFDatei::HoleMZDateiAttributText(0x06), HoleText(QStringLiteral("MZDateiAttributUnbekannt")));
}

TEST(Nuetzlich, BereinigeDateinameErsetztNeunZeichen) {
    EXPECT_EQ(BereinigeDateiname(QStringLiteral("a\\b/c:d*e?f\"g|h<i>j")),
              QStringLiteral("a_b_c_d_e_f_g_h_i_j"));
    EXPECT_EQ(BereinigeDateiname(QStringLiteral("GNU BLAT 2000.ÄÖ")), QStringLiteral("GNU BLAT 2000.ÄÖ"));
    EXPECT_EQ(BereinigeDateiname(QString()), QString());
}

TEST(Nuetzlich, HoleDateiGroesse) {
    const QString verzeichnis = TestVerzeichnis();
    EXPECT_EQ(HoleDateiGroesse(verzeichnis + QStringLiteral("/fehlt")), 0);
    EXPECT_EQ(HoleDateiGroesse(QString()), 0);
    EXPECT_EQ(HoleDateiGroesse(verzeichnis), 0);
    SchreibeDatei(verzeichnis + QStringLiteral("/drei"), QByteArray(300, 'x'));
    EXPECT_EQ(HoleDateiGroesse(verzeichnis + QStringLiteral("/drei")), 300);
}
} // namespace
