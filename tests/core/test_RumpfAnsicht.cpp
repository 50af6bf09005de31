#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"

#include <gtest/gtest.h>

namespace {
class RumpfAnsichtTest : public ::testing::Test {
protected:
    QStringList Zeilen(std::uint16_t ladeAdresse, const QByteArray& rumpf) {
        TMZFBild bild;
        bild.ladeAdresse = ladeAdresse;
        bild.rumpf = rumpf;
        EXPECT_TRUE(LadeBild(datei, bild));
        text = datei.HoleMZDateiRumpfText();
        return text.split(QStringLiteral("\r\n"));
    }
    TPlattformSkript plattform;
    TMZFDatei datei;
    QString text;
};

TEST_F(RumpfAnsichtTest, LeerOhneDateiOderOhneRumpf) {
    EXPECT_TRUE(datei.HoleMZDateiRumpfText().isEmpty());
    Zeilen(0x1200, {});
    EXPECT_TRUE(text.isEmpty());
    // A closed record shows nothing even though its bytes are still there.
    Zeilen(0x1200, "ABCDEFGH");
    datei.Schliessen();
    EXPECT_TRUE(datei.HoleMZDateiRumpfText().isEmpty());
}

TEST_F(RumpfAnsichtTest, VolleZeile) {
    const QStringList z = Zeilen(0x1200, "ABCDEFGH");
    EXPECT_EQ(text, QStringLiteral("$1200  $41 $42 $43 $44 $45 $46 $47 $48  ABCDEFGH"));
    EXPECT_EQ(z.size(), 1);
    EXPECT_EQ(text.size(), 48);
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));
}

TEST_F(RumpfAnsichtTest, LetzteZeileWirdAufgefuellt) {
    const QStringList z = Zeilen(0x1200, "ABCDEFGHI");
    ASSERT_EQ(z.size(), 2);
    EXPECT_EQ(z[0], QStringLiteral("$1200  $41 $42 $43 $44 $45 $46 $47 $48  ABCDEFGH"));
    EXPECT_EQ(z[1], QStringLiteral("$1208  $49 ") + QString(28, QLatin1Char(' ')) + QStringLiteral(" I") +
                        QString(7, QLatin1Char(' ')));
    EXPECT_EQ(z[1].size(), 48);

    // Seven bytes: the character column starts in column 41 as on full lines.
    const QStringList sieben = Zeilen(0x0000, QByteArray("\x00\x0D\xA1\xAE\x7F\x20\x5D", 7));
    ASSERT_EQ(sieben.size(), 1);
    EXPECT_EQ(sieben[0], QString::fromUtf8("$0000  $00 $0D $A1 $AE $7F $20 $5D      ?\?a\xC3\x9F? ] "));
    EXPECT_EQ(sieben[0].size(), 48);
}

TEST_F(RumpfAnsichtTest, ZeichenspalteNutztDenMZZeichensatz) {
    const QStringList z = Zeilen(0xA000, QByteArray("\x00\x0D\xA1\xAE\xB9\x3F\x92\xFF", 8));
    ASSERT_EQ(z.size(), 1);
    EXPECT_EQ(z[0], QString::fromUtf8("$A000  $00 $0D $A1 $AE $B9 $3F $92 $FF  ?\?a\xC3\x9F\xC3\x84?e?"));
}

TEST_F(RumpfAnsichtTest, AdressenUeberFFFFHabenFuenfStellen) {
    const QStringList z = Zeilen(0xFFF8, RumpfMitBytes(0x10));
    ASSERT_EQ(z.size(), 2);
    EXPECT_TRUE(z[0].startsWith(QStringLiteral("$FFF8  $00 $01")));
    EXPECT_EQ(z[0].size(), 48);
    EXPECT_EQ(z[1], QStringLiteral("$10000  $08 $09 $0A $0B $0C $0D $0E $0F  ????????"));
    EXPECT_EQ(z[1].size(), 49);

    const QStringList rest = Zeilen(0xFFFF, RumpfMitBytes(65535));
    EXPECT_TRUE(rest.last().startsWith(QStringLiteral("$1FFF7  $F8 $F9 $FA $FB $FC $FD $FE ")));
    EXPECT_EQ(rest.last().size(), 49);
}

TEST_F(RumpfAnsichtTest, GroessterRumpf) {
    const QStringList z = Zeilen(0x0000, RumpfMitBytes(65535));
    ASSERT_EQ(z.size(), 8192);
    EXPECT_EQ(text.size(), 409598);
    for (int i = 0; i < 8191; ++i) {
        ASSERT_EQ(z[i].size(), 48) << i;
        ASSERT_EQ(z[i].mid(0, 5), QStringLiteral("$%1").arg(i * 8, 4, 16, QLatin1Char('0')).toUpper()) << i;
        ASSERT_EQ(z[i][7], QLatin1Char('$')) << i;
    }
    EXPECT_EQ(z[8191], QStringLiteral("$FFF8  $F8 $F9 $FA $FB $FC $FD $FE      ??????? "));
    EXPECT_FALSE(text.endsWith(QStringLiteral("\r\n")));
}
} // namespace
