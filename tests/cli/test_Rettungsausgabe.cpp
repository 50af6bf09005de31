// What bandwerk-cli tells of files the extended decoding could not read whole from a worn tape:
// the state in list, damaged files left out of extract unless --keep-damaged (then with their
// map of uncertain bytes), the rescue per block in scan, and several recordings of one tape read
// as one. The recordings are made here pulse by pulse from the tape format and damaged where the
// test wants: a flipped pulse, or silence over the pulses of some bytes in both copies.
#include "BandBau.h"
#include "CliLauf.h"
#include "DateiBefund.h"
#include "Entpacken.h"
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "TestUmgebung.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

constexpr int Groesse = 64;
// The bytes that a dropout silences in both copies of the body.
constexpr int StilleVon = 20;
constexpr int StilleBis = 26;
// Of the bytes framed just before the framing is lost, a few may count as uncertain too.
constexpr int Spielraum = 4;
const QString Zeile = QStringLiteral("$01  WORN                 64  $1200  $1200");

QByteArray Rumpf() {
    QByteArray r;
    for (int i = 0; i < Groesse; ++i)
        r.append(static_cast<char>((i * 37 + 11) & 0xFF));
    return r;
}

QByteArray Mzf() {
    return ProgrammMZF("WORN", Rumpf());
}

void KippeEins(BandBau::TBand& band, int kopie, int byte) {
    band.KippeEins(kopie, byte, static_cast<std::uint8_t>(Rumpf()[byte]));
}

QJsonObject Json(const QString& text) {
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

class Rettungsausgabe : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        SchreibeSprache(true);
        ordner = QDir(TestVerzeichnis());
    }
    QString Schreibe(const QString& name, const BandBau::TBand& band,
                     const std::vector<std::pair<std::size_t, std::size_t>>& stille = {}) {
        const QString pfad = ordner.filePath(name);
        SchreibeDatei(pfad, BandBau::WAV(band.bits, stille));
        return pfad;
    }
    // Each copy of the body with another byte wrong: the standard decoding finds nothing.
    QString Repariert() {
        BandBau::TBand band(Mzf());
        KippeEins(band, 0, 10);
        KippeEins(band, 1, 30);
        return Schreibe(QStringLiteral("repariert.wav"), band);
    }
    // Both copies of the body silent over the same bytes.
    QString Beschaedigt() {
        BandBau::TBand band(Mzf());
        return Schreibe(QStringLiteral("beschaedigt.wav"), band,
                        band.RumpfInBeidenKopien(StilleVon, StilleBis));
    }
    QString NeuerOrdner(const QString& name) {
        EXPECT_TRUE(ordner.mkdir(name));
        return ordner.filePath(name);
    }
    TPlattformSkript skript;
    QDir ordner;
};

TEST_F(Rettungsausgabe, EinReparierterRumpfStehtInDerListeUndWirdByteGenauGeschrieben) {
    const QString wav = Repariert();
    const TCliLauf standard = StarteCli({QStringLiteral("list"), QStringLiteral("--standard"), wav});
    EXPECT_EQ(standard.status, 1) << "each copy fails its checksum";
    skript.Leeren();

    const TCliLauf liste = StarteCli({QStringLiteral("list"), QStringLiteral("--extended"), wav});
    ASSERT_EQ(liste.status, 0) << liste.fehler.toStdString();
    const QStringList zeilen = liste.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(zeilen.size(), 1) << liste.aus.toStdString();
    EXPECT_TRUE(zeilen[0].startsWith(Zeile + QStringLiteral("  repaired ("))) << zeilen[0].toStdString();
    EXPECT_TRUE(zeilen[0].endsWith(QStringLiteral("body)"))) << zeilen[0].toStdString();

    const TCliLauf json =
        StarteCli({QStringLiteral("list"), QStringLiteral("--extended"), QStringLiteral("--json"), wav});
    const QJsonObject datei = QJsonDocument::fromJson(json.aus.toUtf8()).array()[0].toObject();
    EXPECT_EQ(datei[QStringLiteral("state")].toString(), QStringLiteral("repaired"));
    EXPECT_TRUE(datei[QStringLiteral("repaired")].toArray().contains(QStringLiteral("body")));
    EXPECT_FALSE(datei.contains(QStringLiteral("uncertainBytes")));

    // A repaired file is no damaged one: written as any other, byte for byte the source.
    const QString aus = NeuerOrdner(QStringLiteral("aus"));
    const TCliLauf extract = StarteCli({QStringLiteral("extract"), QStringLiteral("--extended"), wav, aus});
    EXPECT_EQ(extract.status, 0) << extract.fehler.toStdString();
    EXPECT_EQ(QDir(aus).entryList(QDir::Files), QStringList(QStringLiteral("WORN.mzf")));
    EXPECT_EQ(LiesDatei(QDir(aus).filePath(QStringLiteral("WORN.mzf"))), Mzf());
}

TEST_F(Rettungsausgabe, ScanZeigtJeBlockWasDieRettungTat) {
    const QString wav = Repariert();
    const TCliLauf ohne = StarteCli({QStringLiteral("scan"), QStringLiteral("--standard"), wav});
    ASSERT_EQ(ohne.status, 0);
    EXPECT_FALSE(ohne.aus.contains(QStringLiteral("Rescue"))) << "the plain scan stays as it was";

    const TCliLauf text = StarteCli({QStringLiteral("scan"), QStringLiteral("--extended"), wav});
    ASSERT_EQ(text.status, 0) << text.fehler.toStdString();
    EXPECT_TRUE(text.aus.contains(QStringLiteral("Rescue (extended decoding): 1 file(s)\n")));
    EXPECT_TRUE(text.aus.contains(QStringLiteral("\"WORN\", 64 bytes: repaired\n")))
        << text.aus.toStdString();
    EXPECT_TRUE(text.aus.contains(QStringLiteral("body:   copy 1 bad, copy 2 bad; merged")))
        << text.aus.toStdString();

    const TCliLauf json =
        StarteCli({QStringLiteral("scan"), QStringLiteral("--extended"), QStringLiteral("--json"), wav});
    QList<QJsonObject> rettung;
    for (const QString& zeile : json.aus.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (Json(zeile)[QStringLiteral("event")].toString() == QStringLiteral("rescue"))
            rettung << Json(zeile);
    ASSERT_EQ(rettung.size(), 2) << json.aus.toStdString();
    EXPECT_EQ(rettung[0][QStringLiteral("block")].toString(), QStringLiteral("header"));
    EXPECT_EQ(rettung[0][QStringLiteral("checksum")].toString(), QStringLiteral("good"));
    const QJsonObject rumpf = rettung[1];
    EXPECT_EQ(rumpf[QStringLiteral("block")].toString(), QStringLiteral("body"));
    EXPECT_EQ(rumpf[QStringLiteral("name")].toString(), QStringLiteral("WORN"));
    EXPECT_EQ(rumpf[QStringLiteral("size")].toInt(), Groesse);
    EXPECT_EQ(rumpf[QStringLiteral("copies")].toArray(),
              (QJsonArray{QStringLiteral("bad"), QStringLiteral("bad")}));
    EXPECT_EQ(rumpf[QStringLiteral("taken")].toString(), QStringLiteral("merged"));
    // Two bits are in doubt, one in each copy; the checksum search flips at most these two.
    EXPECT_LE(rumpf[QStringLiteral("flipped")].toInt(), 2);
    EXPECT_EQ(rumpf[QStringLiteral("checksum")].toString(), QStringLiteral("good"));
    EXPECT_TRUE(rumpf[QStringLiteral("uncertain")].toArray().isEmpty());
    EXPECT_EQ(rumpf[QStringLiteral("state")].toString(), QStringLiteral("repaired"));
}

TEST_F(Rettungsausgabe, EineBeschaedigteDateiNurMitKeepDamagedUndMitIhrerKarte) {
    const QString wav = Beschaedigt();
    const TCliLauf liste = StarteCli({QStringLiteral("list"), QStringLiteral("--extended"), wav});
    ASSERT_EQ(liste.status, 0) << liste.fehler.toStdString();
    ASSERT_TRUE(liste.aus.startsWith(Zeile + QStringLiteral("  damaged, "))) << liste.aus.toStdString();
    ASSERT_TRUE(liste.aus.endsWith(QStringLiteral(" uncertain bytes\n")));
    const int unsicher = liste.aus.section(QLatin1Char(' '), -3, -3).toInt();
    EXPECT_GE(unsicher, StilleBis - StilleVon);
    const TCliLauf deutsch =
        StarteCli({QStringLiteral("list"), QStringLiteral("--extended"), QStringLiteral("--lang=de"), wav});
    EXPECT_EQ(deutsch.aus, Zeile + QStringLiteral("  beschädigt, %1 unsichere Bytes\n").arg(unsicher));

    // Without --keep-damaged nothing is written, and the user hears why.
    const QString leer = NeuerOrdner(QStringLiteral("leer"));
    const TCliLauf ohne = StarteCli({QStringLiteral("extract"), QStringLiteral("--extended"), wav, leer});
    EXPECT_EQ(ohne.status, 1);
    EXPECT_TRUE(ohne.aus.isEmpty());
    EXPECT_TRUE(QDir(leer).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(ohne.fehler, QStringLiteral("bandwerk-cli: 1 damaged MZ-file(s) not written; --keep-damaged "
                                          "writes them with a map of their uncertain bytes "
                                          "(NAME.damage.json).\n"));

    const QString aus = NeuerOrdner(QStringLiteral("aus"));
    const QString mzf = QDir(aus).filePath(QStringLiteral("WORN.mzf"));
    const QString karte = QDir(aus).filePath(QStringLiteral("WORN.damage.json"));
    const TCliLauf mit = StarteCli({QStringLiteral("extract"), QStringLiteral("--extended"),
                                    QStringLiteral("--keep-damaged"), wav, aus});
    EXPECT_EQ(mit.status, 0) << mit.fehler.toStdString();
    EXPECT_EQ(mit.aus, mzf + QLatin1Char('\n') + karte + QLatin1Char('\n'));
    const QByteArray geschrieben = LiesDatei(mzf);
    ASSERT_EQ(geschrieben.size(), TMZFDatei::KopfGroesse + Groesse);
    EXPECT_EQ(geschrieben.left(TMZFDatei::KopfGroesse + StilleVon - Spielraum),
              Mzf().left(TMZFDatei::KopfGroesse + StilleVon - Spielraum))
        << "the header and the body before the dropout as on tape";

    const QJsonObject o = QJsonDocument::fromJson(LiesDatei(karte)).object();
    EXPECT_EQ(o[QStringLiteral("file")].toString(), QStringLiteral("WORN.mzf"));
    EXPECT_EQ(o[QStringLiteral("name")].toString(), QStringLiteral("WORN"));
    EXPECT_EQ(o[QStringLiteral("size")].toInt(), Groesse);
    EXPECT_EQ(o[QStringLiteral("state")].toString(), QStringLiteral("damaged"));
    EXPECT_FALSE(o[QStringLiteral("headerUncertain")].toBool());
    EXPECT_EQ(o[QStringLiteral("uncertainBytes")].toInt(), unsicher);
    // The silent bytes are uncertain, and little besides them; each range in the MZF file is the
    // same range of the body after the 128 header bytes.
    std::vector<bool> markiert(Groesse, false);
    int summe = 0;
    for (const QJsonValue& v : o[QStringLiteral("ranges")].toArray()) {
        const QJsonObject b = v.toObject();
        ASSERT_EQ(b[QStringLiteral("block")].toString(), QStringLiteral("body"));
        const int von = b[QStringLiteral("bodyStart")].toInt();
        const int bis = b[QStringLiteral("bodyEnd")].toInt();
        EXPECT_EQ(b[QStringLiteral("mzfStart")].toInt(), von + TMZFDatei::KopfGroesse);
        EXPECT_EQ(b[QStringLiteral("mzfEnd")].toInt(), bis + TMZFDatei::KopfGroesse);
        EXPECT_GE(von, StilleVon - Spielraum);
        EXPECT_LE(bis, StilleBis + Spielraum);
        for (int i = std::max(0, von); i < std::min(Groesse, bis); ++i)
            markiert[static_cast<std::size_t>(i)] = true;
        summe += bis - von;
    }
    EXPECT_EQ(summe, unsicher);
    for (int i = StilleVon; i < StilleBis; ++i)
        EXPECT_TRUE(markiert[static_cast<std::size_t>(i)]) << "byte " << i;

    // Written again: beside the first pair, never over it; a map left alone takes its name too.
    SchreibeDatei(QDir(aus).filePath(QStringLiteral("WORN-2.damage.json")), "{}");
    const TCliLauf nochmal = StarteCli({QStringLiteral("extract"), QStringLiteral("--extended"),
                                        QStringLiteral("--keep-damaged"), wav, aus});
    EXPECT_EQ(nochmal.aus, QDir(aus).filePath(QStringLiteral("WORN-3.mzf")) + QLatin1Char('\n') +
                               QDir(aus).filePath(QStringLiteral("WORN-3.damage.json")) + QLatin1Char('\n'));
    EXPECT_EQ(LiesDatei(mzf), geschrieben);
    EXPECT_EQ(LiesDatei(QDir(aus).filePath(QStringLiteral("WORN-2.damage.json"))), QByteArray("{}"));
}

TEST_F(Rettungsausgabe, MehrereAufnahmenEinesBandesGebenEineDatei) {
    // The same bit wrong in both copies: alone each recording's body fails its checksum for sure.
    BandBau::TBand erstes(Mzf());
    KippeEins(erstes, 0, 10);
    KippeEins(erstes, 1, 10);
    BandBau::TBand zweites(Mzf());
    KippeEins(zweites, 0, 40);
    KippeEins(zweites, 1, 40);
    const QString a = Schreibe(QStringLiteral("a.wav"), erstes);
    const QString b = Schreibe(QStringLiteral("b.wav"), zweites);
    for (const QString& wav : {a, b}) {
        const TCliLauf allein = StarteCli({QStringLiteral("list"), QStringLiteral("--extended"), wav});
        EXPECT_TRUE(allein.aus.startsWith(Zeile + QStringLiteral("  damaged"))) << allein.aus.toStdString();
    }
    const TCliLauf beide = StarteCli({QStringLiteral("list"), QStringLiteral("--extended"), a, b});
    EXPECT_EQ(beide.status, 0) << beide.fehler.toStdString();
    EXPECT_EQ(beide.aus.count(QLatin1Char('\n')), 1) << beide.aus.toStdString();
    EXPECT_TRUE(beide.aus.startsWith(Zeile + QStringLiteral("  repaired ("))) << beide.aus.toStdString();
    const QString aus = NeuerOrdner(QStringLiteral("aus"));
    const TCliLauf extract = StarteCli({QStringLiteral("extract"), QStringLiteral("--extended"), a, b, aus});
    EXPECT_EQ(extract.status, 0) << extract.fehler.toStdString();
    EXPECT_EQ(LiesDatei(QDir(aus).filePath(QStringLiteral("WORN.mzf"))), Mzf());

    // A recording that gives the file whole: that file, intact, once.
    const QString ganz = Schreibe(QStringLiteral("ganz.wav"), BandBau::TBand(Mzf()));
    const TCliLauf mitGanzer = StarteCli({QStringLiteral("list"), QStringLiteral("--extended"), a, ganz});
    EXPECT_EQ(mitGanzer.aus, Zeile + QLatin1Char('\n'));
}

// A file whose name a dropout took in both copies of its header: no file is told of it, yet its
// marks and body were found, and it is not passed over in silence.
TEST_F(Rettungsausgabe, EineDateiOhneLesbarenKopfWirdNichtVerschwiegen) {
    BandBau::TBand band(Mzf());
    const QString kopflos =
        Schreibe(QStringLiteral("kopflos.wav"), band, band.KopfInBeidenKopien(1, TMZFDatei::NameLaenge));
    const QString ganz = Schreibe(QStringLiteral("ganz.wav"), BandBau::TBand(Mzf()));
    // The long mark begins after the leader's short pulses, a tenth of a second of silence first.
    const double marke =
        (BandBau::Rate / 10 + BandBau::Vorlauf * 2 * BandBau::KurzHalb) / static_cast<double>(BandBau::Rate);
    const QRegularExpression meldung(QStringLiteral(
        "skipped a file at 0:(\\d\\d\\.\\d\\d)( of [a-z]+\\.wav)? whose header could not be read"));

    const TCliLauf liste = StarteCli({QStringLiteral("list"), QStringLiteral("--extended"), kopflos});
    EXPECT_EQ(liste.status, 1);
    EXPECT_FALSE(liste.aus.contains(QStringLiteral("WORN"))) << liste.aus.toStdString();
    const QRegularExpressionMatch treffer = meldung.match(liste.fehler);
    ASSERT_TRUE(treffer.hasMatch()) << liste.fehler.toStdString();
    EXPECT_NEAR(treffer.captured(1).toDouble(), marke, 0.011);
    EXPECT_TRUE(treffer.captured(2).isEmpty());

    const TCliLauf scan = StarteCli({QStringLiteral("scan"), QStringLiteral("--extended"), kopflos});
    EXPECT_TRUE(scan.aus.contains(QStringLiteral("a file whose header could not be read, its body 64 bytes")))
        << scan.aus.toStdString();
    // The standard decoding tells what it told before.
    const TCliLauf standard = StarteCli({QStringLiteral("list"), kopflos});
    EXPECT_FALSE(standard.fehler.contains(QStringLiteral("header could not be read")));

    // Another recording that reads the header: the file, and nothing passed over.
    const TCliLauf mitGanzer =
        StarteCli({QStringLiteral("list"), QStringLiteral("--extended"), kopflos, ganz});
    EXPECT_EQ(mitGanzer.status, 0) << mitGanzer.fehler.toStdString();
    EXPECT_EQ(mitGanzer.aus, Zeile + QLatin1Char('\n'));
    // Two recordings that both lost the name: the one file told once, on the first of them.
    const QString auchKopflos = Schreibe(QStringLiteral("zweite.wav"), band, band.KopfInBeidenKopien(2, 9));
    const TCliLauf beide =
        StarteCli({QStringLiteral("list"), QStringLiteral("--extended"), kopflos, auchKopflos});
    EXPECT_EQ(beide.status, 1);
    EXPECT_EQ(beide.fehler.count(QStringLiteral("header could not be read")), 1)
        << beide.fehler.toStdString();
    EXPECT_EQ(meldung.match(beide.fehler).captured(2), QStringLiteral(" of kopflos.wav"));
}

TEST_F(Rettungsausgabe, MehrereEingabenNurAlsAufnahmen) {
    const QString mzf = SchreibeTestDatei(Mzf());
    const QString wav = ordner.filePath(QStringLiteral("x.wav"));
    struct TFall {
        QStringList argumente;
        QString grund;
    } const faelle[] = {
        {{QStringLiteral("list"), wav, mzf},
         QStringLiteral("list reads several files only as recordings of one tape")},
        {{QStringLiteral("extract"), mzf, wav, ordner.path()},
         QStringLiteral("extract reads several files only as recordings of one tape")},
        {{QStringLiteral("list"), QStringLiteral("--keep-damaged"), mzf},
         QStringLiteral("--keep-damaged is an option of extract only")},
    };
    for (const TFall& f : faelle) {
        const TCliLauf lauf = StarteCli(f.argumente);
        EXPECT_EQ(lauf.status, 2) << f.argumente.join(' ').toStdString();
        EXPECT_TRUE(lauf.fehler.startsWith(QStringLiteral("bandwerk-cli: ") + f.grund))
            << lauf.fehler.toStdString();
    }
}

// The words of the state and the map, from a state set by hand.
TEST_F(Rettungsausgabe, ZustandUndKarteAusEinemBefund) {
    TDateiBefund repariert;
    repariert.zustand = TDateiBefund::TZustand::Repariert;
    EXPECT_EQ(ZustandText(TDateiBefund()), QString());
    struct TFall {
        bool kopf;
        bool rumpf;
        const char* englisch;
        const char* deutsch;
    } const faelle[] = {{true, false, "repaired (header)", "repariert (Kopf)"},
                        {false, true, "repaired (body)", "repariert (Rumpf)"},
                        {true, true, "repaired (header and body)", "repariert (Kopf und Rumpf)"}};
    for (const TFall& f : faelle) {
        repariert.kopfRepariert = f.kopf;
        repariert.rumpfRepariert = f.rumpf;
        WaehleSpracheOhneSpeichern(true);
        EXPECT_EQ(ZustandText(repariert), QString::fromUtf8(f.englisch));
        WaehleSpracheOhneSpeichern(false);
        EXPECT_EQ(ZustandText(repariert), QString::fromUtf8(f.deutsch));
    }
    WaehleSpracheOhneSpeichern(true);

    TMZFDatei datei;
    ASSERT_TRUE(datei.Laden(SchreibeTestDatei(Mzf())));
    TDateiBefund befund;
    befund.zustand = TDateiBefund::TZustand::Beschaedigt;
    befund.kopfUnsicher = true;
    befund.unsichereKopfBereiche = {{24, 30}};
    befund.unsichereBereiche = {{0, 2}, {60, 64}};
    datei.SetzeBefund(befund);
    EXPECT_EQ(ZustandText(befund), QStringLiteral("damaged, header uncertain, 6 uncertain bytes"));
    const QJsonObject erwartet{
        {QStringLiteral("file"), QStringLiteral("W.mzf")},
        {QStringLiteral("name"), QStringLiteral("WORN")},
        {QStringLiteral("size"), Groesse},
        {QStringLiteral("state"), QStringLiteral("damaged")},
        {QStringLiteral("headerUncertain"), true},
        {QStringLiteral("uncertainBytes"), 6},
        {QStringLiteral("ranges"), QJsonArray{QJsonObject{{QStringLiteral("block"), QStringLiteral("header")},
                                                          {QStringLiteral("mzfStart"), 24},
                                                          {QStringLiteral("mzfEnd"), 30}},
                                              QJsonObject{{QStringLiteral("block"), QStringLiteral("body")},
                                                          {QStringLiteral("mzfStart"), 128},
                                                          {QStringLiteral("mzfEnd"), 130},
                                                          {QStringLiteral("bodyStart"), 0},
                                                          {QStringLiteral("bodyEnd"), 2}},
                                              QJsonObject{{QStringLiteral("block"), QStringLiteral("body")},
                                                          {QStringLiteral("mzfStart"), 188},
                                                          {QStringLiteral("mzfEnd"), 192},
                                                          {QStringLiteral("bodyStart"), 60},
                                                          {QStringLiteral("bodyEnd"), 64}}}}};
    EXPECT_EQ(Schadenskarte(datei, QStringLiteral("W.mzf")), erwartet);
}

} // namespace
