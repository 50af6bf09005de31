#include "BandFehlerTest.h"
#include "GepufferterDateiLeser.h"
#include "GepufferterDateiSchreiber.h"
#include "PlattformSkript.h"
#include "TestUmgebung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {
constexpr int Block = 65536;

TBandFehler LeseFehler(const QString& name, const QString& grund) {
    return TBandFehler::Lesen(name, grund);
}
TBandFehler SchreibFehler(const QString& name, const QString& grund) {
    return TBandFehler::Schreiben(name, grund);
}

QByteArray Muster(int anzahl) {
    QByteArray b(anzahl, '\0');
    for (int i = 0; i < anzahl; ++i)
        b[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    return b;
}

class GepufferteDateiTest : public ::testing::Test {
protected:
    void SetUp() override { TestSprache(true); }
    QString Datei(const QByteArray& inhalt, const QString& name = QStringLiteral("daten.bin")) {
        const QString pfad = QDir(TestVerzeichnis()).filePath(name);
        SchreibeDatei(pfad, inhalt);
        return pfad;
    }
    // Overwrites the file in place (same length), as another program would.
    static void Ueberschreibe(const QString& pfad, char wert) {
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 n = f.size();
        ASSERT_EQ(f.write(QByteArray(static_cast<int>(n), wert)), n);
    }
    TPlattformSkript plattform;
    std::unique_ptr<TGepufferterDateiLeser> leser = std::make_unique<TGepufferterDateiLeser>();
    std::unique_ptr<TGepufferterDateiSchreiber> schreiber = std::make_unique<TGepufferterDateiSchreiber>();
};

TEST_F(GepufferteDateiTest, LeserGeschlossenGibtNeutraleWerteUndMeldetZugriffe) {
    EXPECT_FALSE(leser->IstGeoeffnet());
    EXPECT_TRUE(leser->HoleDateiName().isEmpty());
    EXPECT_EQ(leser->HoleGroesse(), -1);
    EXPECT_EQ(leser->HolePosition(), -1);
    EXPECT_TRUE(leser->IstDateiEnde());
    std::uint8_t b = 0;
    std::int16_t w = 0;
    const TBandFehler erwartet = LeseFehler(QStringLiteral("<Unknown>"), QStringLiteral("File is not open"));
    EXPECT_FALSE(leser->LeseByte(b));
    EXPECT_EQ(leser->HoleFehler(), erwartet);
    EXPECT_FALSE(leser->Lese16BitWert(w));
    EXPECT_EQ(leser->HoleFehler(), erwartet);
    EXPECT_FALSE(leser->Ueberspringen(1));
    EXPECT_EQ(leser->HoleFehler(), erwartet);
    EXPECT_FALSE(leser->Springe(0));
    EXPECT_EQ(leser->HoleFehler(), erwartet);
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
}

TEST_F(GepufferteDateiTest, LeereDateiIstSofortAmEnde) {
    const QString pfad = Datei({});
    ASSERT_TRUE(leser->Oeffnen(pfad));
    EXPECT_EQ(leser->HoleGroesse(), 0);
    EXPECT_EQ(leser->HolePosition(), 0);
    EXPECT_EQ(leser->HoleDateiName(), pfad);
    EXPECT_TRUE(leser->IstDateiEnde());
    std::uint8_t b = 0;
    EXPECT_FALSE(leser->LeseByte(b));
    EXPECT_EQ(leser->HoleFehler(), LeseFehler(pfad, QStringLiteral("End of file is reached")));
    leser->Schliessen();
    EXPECT_FALSE(leser->IstGeoeffnet());
}

TEST_F(GepufferteDateiTest, LeserOeffnenFehlschlaege) {
    EXPECT_FALSE(leser->Oeffnen(QString()));
    EXPECT_EQ(leser->HoleFehler(), BandFehlerTest::UngueltigerName());
    const QString fehlt = QDir(TestVerzeichnis()).filePath(QStringLiteral("fehlt.bin"));
    EXPECT_FALSE(leser->Oeffnen(fehlt));
    EXPECT_EQ(leser->HoleFehler(), LeseFehler(fehlt, QStringLiteral("No such file or directory")));
    EXPECT_FALSE(leser->IstGeoeffnet());
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
}

TEST_F(GepufferteDateiTest, ZweitesOeffnenLaesstDieErsteDateiOffen) {
    const QString erste = Datei(QByteArray("AB"));
    const QString zweite = Datei(QByteArray("XY"), QStringLiteral("zwei.bin"));
    ASSERT_TRUE(leser->Oeffnen(erste));
    std::uint8_t b = 0;
    ASSERT_TRUE(leser->LeseByte(b));
    EXPECT_FALSE(leser->Oeffnen(zweite));
    EXPECT_EQ(leser->HoleFehler(), LeseFehler(zweite, QStringLiteral("File ist already open")));
    EXPECT_EQ(leser->HoleDateiName(), erste);
    EXPECT_EQ(leser->HolePosition(), 1);
    ASSERT_TRUE(leser->LeseByte(b));
    EXPECT_EQ(b, 'B');

    plattform.Leeren();
    ASSERT_TRUE(schreiber->Oeffnen(Datei({}, QStringLiteral("w1.bin"))));
    ASSERT_TRUE(schreiber->SchreibeByte(1));
    const QString w2 = QDir(TestVerzeichnis()).filePath(QStringLiteral("w2.bin"));
    EXPECT_FALSE(schreiber->Oeffnen(w2));
    EXPECT_EQ(schreiber->HoleFehler(), SchreibFehler(w2, QStringLiteral("File ist already open")));
    EXPECT_TRUE(plattform.Texte().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(w2));
    EXPECT_EQ(schreiber->HoleAnzahlBytes(), 1);
    EXPECT_TRUE(schreiber->Schliessen());
}

TEST_F(GepufferteDateiTest, GanzerBlockKommtMitEinerUebertragung) {
    // What the reader hands out after its first byte comes from its buffer: changing the file on
    // disk afterwards shows which bytes were fetched in the first transfer.
    const QByteArray inhalt = Muster(Block);
    const QString pfad = Datei(inhalt);
    ASSERT_TRUE(leser->Oeffnen(pfad));
    std::uint8_t b = 0;
    ASSERT_TRUE(leser->LeseByte(b));
    Ueberschreibe(pfad, '\xAA');
    for (int i = 1; i < Block; ++i) {
        ASSERT_TRUE(leser->LeseByte(b));
        ASSERT_EQ(b, static_cast<std::uint8_t>(inhalt[i])) << i;
    }
    EXPECT_TRUE(leser->IstDateiEnde());
    EXPECT_FALSE(leser->LeseByte(b));
    EXPECT_EQ(leser->HoleFehler(), LeseFehler(pfad, QStringLiteral("End of file is reached")));
}

TEST_F(GepufferteDateiTest, EinByteMehrBrauchtEineZweiteUebertragung) {
    const QByteArray inhalt = Muster(Block + 1);
    const QString pfad = Datei(inhalt);
    ASSERT_TRUE(leser->Oeffnen(pfad));
    std::uint8_t b = 0;
    ASSERT_TRUE(leser->LeseByte(b));
    Ueberschreibe(pfad, '\xAA');
    for (int i = 1; i < Block; ++i) {
        ASSERT_TRUE(leser->LeseByte(b));
        ASSERT_EQ(b, static_cast<std::uint8_t>(inhalt[i]));
    }
    ASSERT_TRUE(leser->LeseByte(b));
    EXPECT_EQ(b, 0xAA); // fetched by the second transfer
    EXPECT_EQ(leser->HolePosition(), Block + 1);
    EXPECT_TRUE(leser->IstDateiEnde());
    EXPECT_TRUE(plattform.Fehler().isEmpty());
}

TEST_F(GepufferteDateiTest, UeberspringenInnerhalbUndUeberBlockgrenzen) {
    const QByteArray inhalt = Muster(3 * Block + 10);
    ASSERT_TRUE(leser->Oeffnen(Datei(inhalt)));
    std::uint8_t b = 0;
    EXPECT_TRUE(leser->Ueberspringen(0));
    EXPECT_EQ(leser->HolePosition(), 0);
    ASSERT_TRUE(leser->LeseByte(b));
    EXPECT_EQ(b, static_cast<std::uint8_t>(inhalt[0]));
    ASSERT_TRUE(leser->Ueberspringen(100)); // inside the block
    ASSERT_TRUE(leser->LeseByte(b));
    EXPECT_EQ(b, static_cast<std::uint8_t>(inhalt[101]));
    ASSERT_TRUE(leser->Ueberspringen(Block - 102)); // exactly to the block's end
    EXPECT_EQ(leser->HolePosition(), Block);
    ASSERT_TRUE(leser->LeseByte(b));
    EXPECT_EQ(b, static_cast<std::uint8_t>(inhalt[Block]));
    ASSERT_TRUE(leser->Ueberspringen(Block + 500)); // leaves the block
    ASSERT_TRUE(leser->LeseByte(b));
    EXPECT_EQ(b, static_cast<std::uint8_t>(inhalt[2 * Block + 501]));
    std::int16_t w = 0;
    ASSERT_TRUE(leser->Lese16BitWert(w));
    EXPECT_EQ(w, static_cast<std::int16_t>(static_cast<std::uint8_t>(inhalt[2 * Block + 502]) |
                                           (static_cast<std::uint8_t>(inhalt[2 * Block + 503]) << 8)));
    const std::int32_t rest = leser->HoleGroesse() - leser->HolePosition();
    EXPECT_TRUE(leser->Ueberspringen(rest));
    EXPECT_TRUE(leser->IstDateiEnde());
    EXPECT_TRUE(plattform.Fehler().isEmpty());
}

TEST_F(GepufferteDateiTest, UeberspringenRueckwaertsOderHinterDasEnde) {
    ASSERT_TRUE(leser->Oeffnen(Datei(Muster(10))));
    EXPECT_FALSE(leser->Ueberspringen(-1));
    EXPECT_EQ(leser->HoleFehler(),
              LeseFehler(QStringLiteral("<Unknown>"), QStringLiteral("Cannot seek backward")));
    EXPECT_FALSE(leser->Ueberspringen(11));
    EXPECT_EQ(leser->HoleFehler(),
              LeseFehler(QStringLiteral("<Unknown>"), QStringLiteral("Cannot seek beyond the end of file")));
    EXPECT_EQ(leser->HolePosition(), 0);
    EXPECT_TRUE(leser->Ueberspringen(10));
    EXPECT_TRUE(leser->IstDateiEnde());
}

TEST_F(GepufferteDateiTest, LeseBytesWieEinzelneBytes) {
    const int groesse = 3 * Block + 123;
    const QByteArray inhalt = Muster(groesse);
    const QString pfad = Datei(inhalt);
    ASSERT_TRUE(leser->Oeffnen(pfad));
    std::vector<std::uint8_t> ziel(static_cast<std::size_t>(groesse) + 1);
    int erwartet = 0;
    const auto lies = [&](int anzahl) {
        ASSERT_TRUE(leser->LeseBytes(ziel.data(), anzahl));
        for (int i = 0; i < anzahl; ++i)
            ASSERT_EQ(ziel[static_cast<std::size_t>(i)], static_cast<std::uint8_t>(inhalt[erwartet + i]))
                << erwartet + i;
        erwartet += anzahl;
        EXPECT_EQ(leser->HolePosition(), erwartet);
    };
    std::uint8_t b = 0;
    ASSERT_TRUE(leser->LeseByte(b));
    erwartet = 1;
    lies(10);    // from the buffer
    lies(Block); // the rest of the buffer and a new block
    ASSERT_TRUE(leser->Ueberspringen(5));
    erwartet += 5;
    lies(2 * Block - 7); // the rest of the buffer and a long run straight from the file
    ASSERT_TRUE(leser->LeseByte(b));
    EXPECT_EQ(b, static_cast<std::uint8_t>(inhalt[erwartet]));
    ++erwartet;
    lies(0);
    const int rest = groesse - erwartet;
    EXPECT_FALSE(leser->LeseBytes(ziel.data(), rest + 1));
    EXPECT_EQ(leser->HoleFehler(), LeseFehler(pfad, QStringLiteral("End of file is reached")));
    EXPECT_FALSE(leser->LeseBytes(ziel.data(), -1));
    EXPECT_EQ(leser->HoleFehler(), LeseFehler(pfad, QStringLiteral("End of file is reached")));
    EXPECT_EQ(leser->HolePosition(), erwartet);
    lies(rest);
    EXPECT_TRUE(leser->IstDateiEnde());
    leser->Schliessen();
    EXPECT_FALSE(leser->LeseBytes(ziel.data(), 1));
    EXPECT_EQ(leser->HoleFehler(),
              LeseFehler(QStringLiteral("<Unknown>"), QStringLiteral("File is not open")));
}

TEST_F(GepufferteDateiTest, LeseBytesAusGeschrumpfterDateiBleibtStehen) {
    const QString pfad = Datei(Muster(3 * Block));
    for (const int anzahl : {100, 2 * Block}) {
        SCOPED_TRACE(anzahl);
        SchreibeDatei(pfad, Muster(3 * Block));
        ASSERT_TRUE(leser->Oeffnen(pfad));
        std::uint8_t b = 0;
        ASSERT_TRUE(leser->LeseByte(b));
        ASSERT_TRUE(QFile::resize(pfad, Block / 2));
        std::vector<std::uint8_t> ziel(static_cast<std::size_t>(2 * Block));
        // Still in the first block: served from the buffer.
        ASSERT_TRUE(leser->Ueberspringen(Block - 1 - (anzahl == 100 ? 50 : 0)));
        plattform.Leeren();
        const std::int32_t vorher = leser->HolePosition();
        EXPECT_FALSE(leser->LeseBytes(ziel.data(), anzahl));
        EXPECT_EQ(leser->HoleFehler().art, TBandFehler::TArt::Lesefehler);
        EXPECT_EQ(leser->HoleFehler().datei, pfad);
        EXPECT_EQ(leser->HolePosition(), vorher);
        leser->Schliessen();
    }
}

TEST_F(GepufferteDateiTest, Lese16BitWertMitVorzeichenUndAmEnde) {
    const QString pfad = Datei(QByteArray("\xFF\x7F\x00\x80\x34\x12\x01", 7));
    ASSERT_TRUE(leser->Oeffnen(pfad));
    std::int16_t w = 0;
    ASSERT_TRUE(leser->Lese16BitWert(w));
    EXPECT_EQ(w, 32767);
    ASSERT_TRUE(leser->Lese16BitWert(w));
    EXPECT_EQ(w, -32768);
    ASSERT_TRUE(leser->Lese16BitWert(w));
    EXPECT_EQ(w, 0x1234);
    EXPECT_FALSE(leser->Lese16BitWert(w));
    EXPECT_EQ(leser->HoleFehler(), LeseFehler(pfad, QStringLiteral("End of file is reached")));
    EXPECT_EQ(leser->HolePosition(), 6); // the single byte left was not consumed
    std::uint8_t b = 0;
    ASSERT_TRUE(leser->LeseByte(b));
    EXPECT_EQ(b, 0x01);
}

TEST_F(GepufferteDateiTest, DateiAb2GiBWirdAbgewiesen) {
    // Sparse on the file systems we run on: no 2 GiB are written.
    const QString pfad = QDir(TestVerzeichnis()).filePath(QStringLiteral("riesig.bin"));
    {
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        if (!f.resize(qint64(1) << 31))
            GTEST_SKIP() << "no sparse file possible here";
    }
    EXPECT_FALSE(leser->Oeffnen(pfad));
    EXPECT_FALSE(leser->IstGeoeffnet());
    EXPECT_EQ(leser->HoleFehler(), TBandFehler::Von(TBandFehler::TArt::ZuGross, pfad));
    QFile::remove(pfad);

    // One byte less still fits the counters.
    const QString knapp = QDir(TestVerzeichnis()).filePath(QStringLiteral("knapp.bin"));
    {
        QFile f(knapp);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize((qint64(1) << 31) - 1));
    }
    plattform.Leeren();
    ASSERT_TRUE(leser->Oeffnen(knapp));
    EXPECT_EQ(leser->HoleGroesse(), 2147483647);
    EXPECT_TRUE(leser->Ueberspringen(2147483646));
    EXPECT_FALSE(leser->Ueberspringen(2));
    std::uint8_t b = 0xFF;
    EXPECT_TRUE(leser->LeseByte(b));
    EXPECT_EQ(b, 0);
    EXPECT_TRUE(leser->IstDateiEnde());
    leser->Schliessen();
    QFile::remove(knapp);
}

TEST_F(GepufferteDateiTest, SchreiberSchreibtNurVolleBloeckeBisZumSchliessen) {
    const QString ordner = TestVerzeichnis();
    const QString pfad = QDir(ordner).filePath(QStringLiteral("aus.bin"));
    ASSERT_TRUE(schreiber->Oeffnen(pfad));
    EXPECT_EQ(schreiber->HoleDateiName(), pfad);
    EXPECT_EQ(schreiber->HoleAnzahlBytes(), 0);
    // The bytes go into one file beside the target, which appears only when it is complete.
    const QStringList inArbeit = DateienIn(ordner);
    ASSERT_EQ(inArbeit.size(), 1);
    EXPECT_TRUE(inArbeit[0].startsWith(QStringLiteral("aus.bin.")));
    const QString temporaer = QDir(ordner).filePath(inArbeit[0]);
    const QByteArray inhalt = Muster(Block + 3);
    for (int i = 0; i < Block; ++i)
        ASSERT_TRUE(schreiber->SchreibeByte(static_cast<std::uint8_t>(inhalt[i])));
    EXPECT_EQ(QFileInfo(temporaer).size(), 0);
    ASSERT_TRUE(schreiber->SchreibeByte(static_cast<std::uint8_t>(inhalt[Block])));
    EXPECT_EQ(QFileInfo(temporaer).size(), Block);
    ASSERT_TRUE(schreiber->SchreibeByte(static_cast<std::uint8_t>(inhalt[Block + 1])));
    ASSERT_TRUE(schreiber->SchreibeByte(static_cast<std::uint8_t>(inhalt[Block + 2])));
    EXPECT_EQ(schreiber->HoleAnzahlBytes(), Block + 3);
    EXPECT_EQ(QFileInfo(temporaer).size(), Block);
    EXPECT_FALSE(QFileInfo::exists(pfad));
    ASSERT_TRUE(schreiber->Schliessen());
    EXPECT_EQ(DateienIn(ordner), QStringList{QStringLiteral("aus.bin")});
    EXPECT_FALSE(schreiber->IstGeoeffnet());
    EXPECT_EQ(schreiber->HoleAnzahlBytes(), -1);
    EXPECT_TRUE(schreiber->HoleDateiName().isEmpty());
    EXPECT_EQ(LiesDatei(pfad), inhalt);
    EXPECT_TRUE(plattform.Fehler().isEmpty());
}

TEST_F(GepufferteDateiTest, SchreiberLaesstVorhandeneDateiBisZumSchliessenStehen) {
    const QString pfad = Datei(Muster(5000));
    ASSERT_TRUE(schreiber->Oeffnen(pfad));
    EXPECT_EQ(LiesDatei(pfad), Muster(5000));
    for (int i = 0; i < 3 * Block; ++i)
        ASSERT_TRUE(schreiber->SchreibeByte(0x55));
    EXPECT_EQ(LiesDatei(pfad), Muster(5000));
    schreiber->Abbrechen();
    EXPECT_FALSE(schreiber->IstGeoeffnet());
    // Given up: the old file is as it was and nothing else stays in its folder.
    EXPECT_EQ(LiesDatei(pfad), Muster(5000));
    EXPECT_EQ(DateienIn(QFileInfo(pfad).path()), QStringList{QStringLiteral("daten.bin")});
    EXPECT_TRUE(plattform.Texte().isEmpty());
    // Can be opened again after it was closed.
    ASSERT_TRUE(schreiber->Oeffnen(pfad));
    ASSERT_TRUE(schreiber->SchreibeByte(0x42));
    ASSERT_TRUE(schreiber->Schliessen());
    EXPECT_EQ(LiesDatei(pfad), QByteArray("B"));
}

TEST_F(GepufferteDateiTest, SchreiberFehlschlaege) {
    EXPECT_TRUE(schreiber->Schliessen()); // not open: nothing to do, nothing shown
    EXPECT_TRUE(plattform.Texte().isEmpty());
    EXPECT_FALSE(schreiber->SchreibeByte(1));
    EXPECT_EQ(schreiber->HoleFehler(),
              SchreibFehler(QStringLiteral("<Unknown>"), QStringLiteral("File is not open")));
    EXPECT_FALSE(schreiber->Oeffnen(QString()));
    EXPECT_EQ(schreiber->HoleFehler(), BandFehlerTest::UngueltigerName());
    const QString unmoeglich = QDir(TestVerzeichnis()).filePath(QStringLiteral("fehlt/aus.bin"));
    EXPECT_FALSE(schreiber->Oeffnen(unmoeglich));
    EXPECT_EQ(schreiber->HoleFehler().art, TBandFehler::TArt::Schreibfehler);
    EXPECT_EQ(schreiber->HoleFehler().datei, unmoeglich);
    EXPECT_FALSE(schreiber->HoleFehler().text.isEmpty());
    // The tape layer says what went wrong and shows nothing.
    EXPECT_TRUE(plattform.Texte().isEmpty());
    EXPECT_FALSE(schreiber->IstGeoeffnet());
}

TEST_F(GepufferteDateiTest, VollerPufferAufVollemDatentraegerBleibtVoll) {
    // /dev/full accepts the open and refuses every write.
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    ASSERT_TRUE(schreiber->Oeffnen(QStringLiteral("/dev/full")));
    for (int i = 0; i < Block; ++i)
        ASSERT_TRUE(schreiber->SchreibeByte(1));
    EXPECT_FALSE(schreiber->SchreibeByte(2));
    EXPECT_EQ(schreiber->HoleAnzahlBytes(), Block); // the refused byte was not counted
    const QString platzFehlt = QString::fromLocal8Bit(std::strerror(ENOSPC));
    EXPECT_EQ(schreiber->HoleFehler(), SchreibFehler(QStringLiteral("/dev/full"), platzFehlt));
    EXPECT_FALSE(schreiber->Schliessen());
    EXPECT_EQ(schreiber->HoleFehler(), SchreibFehler(QStringLiteral("/dev/full"), platzFehlt));
    schreiber->Abbrechen();
    EXPECT_FALSE(schreiber->IstGeoeffnet());
    EXPECT_TRUE(plattform.Texte().isEmpty());
}
} // namespace
