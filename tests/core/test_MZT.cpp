#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Packs a bit text eight characters to a byte, first character in the high bit.
QByteArray Packe(const std::string& bits) {
    QByteArray b((static_cast<qsizetype>(bits.size()) + 7) / 8, '\0');
    for (std::size_t i = 0; i < bits.size(); ++i)
        if (bits[i] == '1')
            b[static_cast<qsizetype>(i / 8)] =
                static_cast<char>(b[static_cast<qsizetype>(i / 8)] | (0x80 >> (i % 8)));
    return b;
}

QStringList KorpusDateien(const QStringList& muster) {
    QStringList ergebnis;
    QDirIterator it(KorpusPfad(QString()), muster, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        ergebnis << it.next();
    ergebnis.sort();
    return ergebnis;
}

class MZTTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        Modell(MZ700);
    }
    void TearDown() override {
        EinstellungenLeeren();
        EXPECT_EQ(plattform.sanduhrTiefe, 0);
    }
    // The model whose leaders the tape texts have, in the full or the shortened format.
    void Modell(quint8 modell) { einstellungen.modell = modell; }
    TBandEinstellungen Format(bool verkuerzt) const { return ImFormat(einstellungen.modell, verkuerzt); }
    TBandEinstellungen einstellungen;
    QString Pfad(const QString& name = QStringLiteral("band.mzt")) {
        return QDir(TestVerzeichnis()).filePath(name);
    }
    QString KeinMZ(const QString& pfad) {
        return QStringLiteral("The MZT-file ") + pfad + QStringLiteral(" contains no valid MZ-file!");
    }
    TPlattformSkript plattform;
    TMZFDatei datei;
};

TEST_F(MZTTest, ExportEinerDateiOhneRumpfByteFuerByte) {
    ASSERT_TRUE(LadeBild(datei, TMZFBild{}));
    const QString pfad = Pfad();
    ASSERT_TRUE(datei.ExportMZT(pfad, einstellungen));
    const QByteArray mzt = LiesDatei(pfad);
    ASSERT_EQ(mzt.size(), 4502);
    EXPECT_EQ(mzt.left(2750), QByteArray(2750, '\0'));
    EXPECT_EQ(mzt.mid(2750, 5), QByteArray(5, '\xFF'));
    EXPECT_EQ(mzt.mid(2755, 5), QByteArray(5, '\0'));
    // The text ends with the checksum 0x0000 ("100000000" twice) and the separator "1": its last
    // six characters "000001" and two padding bits.
    EXPECT_EQ(static_cast<std::uint8_t>(mzt.back()), 0x04);
    EXPECT_EQ(mzt, Packe(datei.ErzeugeTonbandBits(Format(false))));
    EXPECT_FALSE(datei.IstGeaendert());
    EXPECT_TRUE(plattform.Texte().isEmpty());
    EXPECT_GE(plattform.sanduhrAnzahl, 1);

    Modell(MZ80B);
    ASSERT_TRUE(datei.ExportMZT(pfad, einstellungen));
    EXPECT_EQ(LiesDatei(pfad).size(), 3002);
}

TEST_F(MZTTest, ExportDerGroesstenDatei) {
    TMZFBild bild;
    bild.rumpf = RumpfMitBytes(65535);
    ASSERT_TRUE(LadeBild(datei, bild));
    const QString pfad = Pfad();
    ASSERT_TRUE(datei.ExportMZT(pfad, einstellungen));
    EXPECT_EQ(QFileInfo(pfad).size(), 151956);
    TMZFDatei zurueck;
    ASSERT_TRUE(zurueck.ImportMZT(pfad));
    EXPECT_TRUE(zurueck.IstGleich(datei));
}

TEST_F(MZTTest, ExportOhneDateiOderAufUnmoeglichenPfad) {
    const QString pfad = Pfad();
    EXPECT_FALSE(datei.ExportMZT(pfad, einstellungen));
    EXPECT_EQ(plattform.Fehler(), QStringList(QStringLiteral("There is no MZF-file loaded!")));
    EXPECT_FALSE(QFileInfo::exists(pfad));
    plattform.Leeren();
    ASSERT_TRUE(LadeBild(datei, TMZFBild{}));
    const QString unmoeglich = QDir(TestVerzeichnis()).filePath(QStringLiteral("fehlt/x.mzt"));
    EXPECT_FALSE(datei.ExportMZT(unmoeglich, einstellungen));
    ASSERT_EQ(plattform.Fehler().size(), 1);
    EXPECT_TRUE(plattform.Fehler()[0].startsWith(QStringLiteral("Error writing the file ") + unmoeglich));
    EXPECT_TRUE(datei.IstGeladen());
    EXPECT_FALSE(datei.IstGeaendert());
}

TEST_F(MZTTest, RundreiseJederKorpusMZFInJedemModell) {
    const QStringList mzfs = KorpusDateien({QStringLiteral("*.mzf"), QStringLiteral("*.m12")});
    ASSERT_GE(mzfs.size(), 20);
    const QString pfad = Pfad();
    for (quint8 modell = 0; modell < AnzahlMZModelle; ++modell) {
        Modell(modell);
        for (const QString& mzf : mzfs) {
            TMZFDatei quelle;
            ASSERT_TRUE(quelle.Laden(mzf)) << mzf.toStdString();
            ASSERT_TRUE(quelle.ExportMZT(pfad, einstellungen));
            const qint64 zeichen =
                (modell == MZ80B ? 24014 : 36014) + 18 * qint64(quelle.HoleMZDateiGroesse());
            EXPECT_EQ(QFileInfo(pfad).size(), (zeichen + 7) / 8);
            ASSERT_TRUE(datei.ImportMZT(pfad)) << mzf.toStdString() << " model " << int(modell);
            EXPECT_TRUE(datei.IstGleich(quelle)) << mzf.toStdString();
            EXPECT_TRUE(datei.IstGeaendert());
            EXPECT_TRUE(datei.HoleDateiPfad().isEmpty());
        }
    }
    EXPECT_TRUE(plattform.Texte().isEmpty());
}

TEST_F(MZTTest, BeschaedigterErsterKopfImportiertTrotzdem) {
    TMZFDatei quelle;
    ASSERT_TRUE(LadeBildMitRumpf(quelle, RumpfMitBytes(77)));
    std::string bits = quelle.ErzeugeTonbandBits(Format(false));
    bits.at(22000 + 80 + 1 + 9 * 20 + 3) ^= 1;
    const QString pfad = Pfad();
    SchreibeDatei(pfad, Packe(bits));
    ASSERT_TRUE(datei.ImportMZT(pfad));
    EXPECT_TRUE(datei.IstGleich(quelle));
}

TEST_F(MZTTest, MehrereDateienImBildWerdenZurWahlAngeboten) {
    TMZFDatei dateiA;
    TMZFDatei dateiB;
    ASSERT_TRUE(LadeBildMitRumpf(dateiA, RumpfMitBytes(10), "FIRST"));
    ASSERT_TRUE(LadeBildMitRumpf(dateiB, QByteArray(), "SECOND"));
    const QString pfad = Pfad();
    SchreibeDatei(pfad,
                  Packe(dateiA.ErzeugeTonbandBits(Format(false)) + dateiB.ErzeugeTonbandBits(Format(false))));
    QStringList angeboten;
    const auto waehle = [&angeboten](int wahl) {
        return [&angeboten, wahl](const std::vector<std::unique_ptr<TMZFDatei>>& liste) {
            angeboten.clear();
            for (const auto& d : liste)
                angeboten << d->HoleMZDateiName();
            return wahl;
        };
    };
    ASSERT_TRUE(datei.ImportMZT(pfad, waehle(1)));
    EXPECT_EQ(angeboten, (QStringList{QStringLiteral("FIRST"), QStringLiteral("SECOND")}));
    EXPECT_TRUE(datei.IstGleich(dateiB));
    EXPECT_TRUE(datei.IstGeaendert());
    // Cancelled: nothing is loaded; without a chooser the first file is taken, as from a tape.
    EXPECT_FALSE(datei.ImportMZT(pfad, waehle(-1)));
    EXPECT_FALSE(datei.IstGeladen());
    ASSERT_TRUE(datei.ImportMZT(pfad));
    EXPECT_TRUE(datei.IstGleich(dateiA));
    EXPECT_TRUE(plattform.Texte().isEmpty());
}

TEST_F(MZTTest, DasGanzeBildWirdDurchsucht) {
    // Five files of a large tape image, the last ones far beyond the first quarter megabyte: the
    // window offers all five, as the command line lists them.
    std::string bits;
    QStringList namen;
    for (int i = 0; i < 5; ++i) {
        TMZFDatei quelle;
        const QString name = QStringLiteral("TEIL%1").arg(i);
        ASSERT_TRUE(LadeBildMitRumpf(quelle, RumpfMitBytes(60000, i), name.toLatin1().constData()));
        bits += quelle.ErzeugeTonbandBits(Format(false));
        namen << name;
    }
    const QByteArray bild = Packe(bits);
    ASSERT_GT(bild.size(), 600000);
    const QString pfad = Pfad();
    SchreibeDatei(pfad, bild);
    QStringList angeboten;
    ASSERT_TRUE(datei.ImportMZT(pfad, [&](const std::vector<std::unique_ptr<TMZFDatei>>& liste) {
        for (const auto& d : liste)
            angeboten << d->HoleMZDateiName();
        return 4;
    }));
    EXPECT_EQ(angeboten, namen);
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("TEIL4"));

    // One file at 260,000 bytes into a file of zeros is found, alone, without a question.
    TMZFDatei quelle;
    ASSERT_TRUE(LadeBild(quelle, TMZFBild{}));
    const QString eine = Pfad(QStringLiteral("eine.mzt"));
    ASSERT_TRUE(quelle.ExportMZT(eine, einstellungen));
    QByteArray spaet(300000, '\0');
    spaet.replace(260000, LiesDatei(eine).size(), LiesDatei(eine));
    SchreibeDatei(pfad, spaet);
    ASSERT_TRUE(datei.ImportMZT(pfad, [](const auto&) { return -1; }));
    EXPECT_TRUE(datei.IstGleich(quelle));
    EXPECT_TRUE(plattform.Texte().isEmpty());
}

TEST_F(MZTTest, LeereDateiLeererPfadUndFehlendeDatei) {
    ASSERT_TRUE(LadeBild(datei, TMZFBild{}));
    const QString leer = Pfad();
    SchreibeDatei(leer, {});
    EXPECT_FALSE(datei.ImportMZT(leer));
    EXPECT_FALSE(datei.IstGeladen());
    EXPECT_EQ(plattform.Fehler(), QStringList(KeinMZ(leer)));

    plattform.Leeren();
    ASSERT_TRUE(LadeBild(datei, TMZFBild{}));
    EXPECT_FALSE(datei.ImportMZT(QString()));
    EXPECT_EQ(plattform.Fehler(), QStringList(QStringLiteral("Invalid filename: ")));
    EXPECT_FALSE(datei.IstGeladen());

    plattform.Leeren();
    const QString fehlt = Pfad(QStringLiteral("fehlt.mzt"));
    EXPECT_FALSE(datei.ImportMZT(fehlt));
    ASSERT_EQ(plattform.Fehler().size(), 1);
    EXPECT_TRUE(plattform.Fehler()[0].startsWith(QStringLiteral("Error reading the file ") + fehlt));
}

TEST_F(MZTTest, BeschaedigtesBandbildIstKeinHaufenLeererDatensaetze) {
    // A tape image whose marks are damaged: its leader of 0x00 bytes is no MZF record.
    ASSERT_TRUE(LadeBild(datei, TMZFBild{}));
    const QString pfad = Pfad();
    ASSERT_TRUE(datei.ExportMZT(pfad, einstellungen));
    QByteArray bild = LiesDatei(pfad);
    ASSERT_GT(bild.size(), 2752);
    bild[2752] = 0; // inside the long tape mark
    SchreibeDatei(pfad, bild);
    EXPECT_FALSE(datei.ImportMZT(pfad, [](const auto&) -> int {
        ADD_FAILURE() << "no choice expected";
        return 0;
    }));
    EXPECT_EQ(plattform.Fehler(), QStringList(KeinMZ(pfad)));
}

TEST_F(MZTTest, JedesKorpusMZTImportiert) {
    const QStringList mzts = KorpusDateien({QStringLiteral("*.mzt"), QStringLiteral("*.MZT")});
    ASSERT_GE(mzts.size(), 15);
    for (const QString& mzt : mzts) {
        ASSERT_TRUE(datei.ImportMZT(mzt, [](const auto&) { return 0; })) << mzt.toStdString();
        EXPECT_TRUE(datei.IstGeaendert());
        EXPECT_TRUE(datei.HoleDateiPfad().isEmpty());
        // The record's header and body are the file's first bytes.
        const QByteArray roh = LiesDatei(mzt);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(datei.Kopf().data()), 128), roh.left(128));
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(datei.Rumpf()), datei.HoleMZDateiGroesse()),
                  roh.mid(128, datei.HoleMZDateiGroesse()));
    }
    EXPECT_TRUE(plattform.Texte().isEmpty());
    ASSERT_TRUE(datei.ImportMZT(KorpusPfad(QStringLiteral("yanataka60-MZ80K_SD/FT.MZT"))));
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("FD PATCH START"));
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 93);
}

TEST_F(MZTTest, BaryonBietetDreiDatensaetzeZurAuswahl) {
    const QString pfad = KorpusPfad(QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject/Baryon.mzt"));
    QStringList namen;
    QList<int> groessen;
    auto waehle = [&](int index) {
        return [&, index](const std::vector<std::unique_ptr<TMZFDatei>>& liste) {
            namen.clear();
            groessen.clear();
            for (const auto& d : liste) {
                namen << d->HoleMZDateiName();
                groessen << d->HoleMZDateiGroesse();
                EXPECT_TRUE(d->IstGeaendert());
                EXPECT_TRUE(d->HoleDateiPfad().isEmpty());
            }
            return index;
        };
    };
    ASSERT_TRUE(datei.ImportMZT(pfad, waehle(1)));
    EXPECT_EQ(namen, QStringList(
                         {QStringLiteral("BARYON"), QStringLiteral("BARYON-B"), QStringLiteral("BARYON-C")}));
    EXPECT_EQ(groessen, QList<int>({3409, 25435, 2862}));
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("BARYON-B"));
    EXPECT_EQ(datei.HoleMZLadeAdresse(), 0x1900);
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 25435);
    const QByteArray roh = LiesDatei(pfad);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(datei.Rumpf()), 25435),
              roh.mid(128 + 3409 + 128, 25435));
    EXPECT_TRUE(datei.IstGeaendert());

    // Cancel: nothing shown, record empty.
    EXPECT_FALSE(datei.ImportMZT(pfad, waehle(-1)));
    EXPECT_FALSE(datei.IstGeladen());
    EXPECT_FALSE(datei.ImportMZT(pfad, waehle(3))); // no such entry
    EXPECT_FALSE(datei.IstGeladen());
    EXPECT_TRUE(plattform.Texte().isEmpty());

    // Without a choice the first is taken, as from a tape.
    ASSERT_TRUE(datei.ImportMZT(pfad));
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("BARYON"));
}

TEST_F(MZTTest, AuswahlBehaeltDieEreignisseDesDatensatzes) {
    int beginn = 0;
    datei.BeiBeginn = [&](TMZFDatei*) { ++beginn; };
    ASSERT_TRUE(
        datei.ImportMZT(KorpusPfad(QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject/Baryon.mzt")),
                        [](const auto&) { return 2; }));
    ASSERT_TRUE(static_cast<bool>(datei.BeiBeginn));
    datei.BeiBeginn(&datei);
    EXPECT_EQ(beginn, 1);
}

TEST_F(MZTTest, MZFDatensaetzeAusBytes) {
    TMZFBild a;
    a.rumpf = RumpfMitBytes(5);
    TMZFBild b;
    b.attribut = 0x05;
    b.rumpf = RumpfMitBytes(300, 9);
    const QByteArray zwei = a.Bytes() + b.Bytes();
    auto liste = TMZFDatei::LeseMZFDatensaetze(zwei);
    ASSERT_EQ(liste.size(), 2u);
    EXPECT_EQ(liste[0]->HoleMZDateiGroesse(), 5);
    EXPECT_EQ(liste[1]->HoleMZDateiAttribut(), 0x05);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(liste[1]->Rumpf()), 300), b.rumpf);
    EXPECT_TRUE(liste[1]->IstGeladen());
    // A record that does not fit ends the list and is told by name; so are bytes too few for a header.
    std::vector<TUebersprungenes> uebersprungen;
    EXPECT_EQ(TMZFDatei::LeseMZFDatensaetze(zwei.left(zwei.size() - 1), &uebersprungen).size(), 1u);
    ASSERT_EQ(uebersprungen.size(), 1u);
    EXPECT_EQ(uebersprungen[0].art, TUebersprungenes::TArt::AbgeschnittenerDatensatz);
    EXPECT_EQ(uebersprungen[0].name, QStringLiteral("TEST"));
    EXPECT_EQ(uebersprungen[0].position, 133);
    EXPECT_EQ(uebersprungen[0].laenge, 427);
    uebersprungen.clear();
    EXPECT_EQ(TMZFDatei::LeseMZFDatensaetze(zwei + QByteArray(127, 'x'), &uebersprungen).size(), 2u);
    ASSERT_EQ(uebersprungen.size(), 1u);
    EXPECT_EQ(uebersprungen[0].art, TUebersprungenes::TArt::RestBytes);
    EXPECT_EQ(uebersprungen[0].position, zwei.size());
    EXPECT_EQ(uebersprungen[0].laenge, 127);
    // Bytes after the records that are no record make the whole file no record file.
    EXPECT_EQ(TMZFDatei::LeseMZFDatensaetze(zwei + QByteArray(128, 'x')).size(), 0u);
    EXPECT_EQ(TMZFDatei::LeseMZFDatensaetze(a.Bytes().left(132)).size(), 0u);
    EXPECT_EQ(TMZFDatei::LeseMZFDatensaetze(QByteArray()).size(), 0u);
    TMZFBild null;
    null.attribut = 0;
    EXPECT_EQ(TMZFDatei::LeseMZFDatensaetze(null.Bytes() + a.Bytes()).size(), 0u);
    // The size field decides, not the file: a record of size 0 is 128 bytes.
    TMZFBild leer;
    leer.groessenFeld = 0;
    EXPECT_EQ(TMZFDatei::LeseMZFDatensaetze(leer.Bytes() + leer.Bytes() + leer.Bytes()).size(), 3u);
}
} // namespace

namespace {
TEST_F(MZTTest, AlleDateienEinesBandbildsOhneDoppelte) {
    TMZFBild b;
    b.kommentar = QByteArray("OTHER") + QByteArray(99, '\x0D');
    TMZFDatei dateiA;
    TMZFDatei dateiB;
    ASSERT_TRUE(LadeBildMitRumpf(dateiA, RumpfMitBytes(9)));
    ASSERT_TRUE(LadeBild(dateiB, b));
    const QString pfad = Pfad();
    SchreibeDatei(pfad,
                  Packe(dateiA.ErzeugeTonbandBits(Format(false)) + dateiB.ErzeugeTonbandBits(Format(true)) +
                        dateiA.ErzeugeTonbandBits(Format(true))));
    std::vector<std::unique_ptr<TMZFDatei>> liste;
    ASSERT_TRUE(TMZFDatei::LeseAlleAusMZT(pfad, liste));
    ASSERT_EQ(liste.size(), 2u);
    EXPECT_TRUE(liste[0]->IstGleich(dateiA));
    EXPECT_TRUE(liste[1]->IstGleich(dateiB));
    EXPECT_TRUE(liste[1]->IstGeaendert());

    ASSERT_TRUE(TMZFDatei::LeseAlleAusMZT(
        KorpusPfad(QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject/Baryon.mzt")), liste));
    EXPECT_EQ(liste.size(), 3u);
    SchreibeDatei(pfad, QByteArray(500, '\0'));
    EXPECT_FALSE(TMZFDatei::LeseAlleAusMZT(pfad, liste));
    EXPECT_TRUE(liste.empty());
    EXPECT_EQ(plattform.Fehler(), QStringList(KeinMZ(pfad)));
}
} // namespace

namespace {
// Random bytes of random length: some are taken for a chain of MZF records only when every header
// in the chain is plausible and the chain fills the bytes, which chance does not make.
TEST_F(MZTTest, ZufallsbytesSindKeineDatensaetze) {
    std::mt19937 zufall(4711);
    int gepruefte = 0;
    for (int fall = 0; fall < 5000; ++fall) {
        const int laenge = static_cast<int>(zufall() % (fall < 4000 ? 2000 : 300000));
        QByteArray bytes(laenge, '\0');
        for (char& b : bytes)
            b = static_cast<char>(zufall());
        ASSERT_TRUE(TMZFDatei::LeseMZFDatensaetze(bytes).empty()) << "case " << fall;
        ++gepruefte;
    }
    EXPECT_EQ(gepruefte, 5000);
    // Runs of one value, which a tape image or a sound file is full of.
    for (const char wert : {'\x00', '\x0D', '\x20', '\x80', '\xFF'})
        EXPECT_TRUE(TMZFDatei::LeseMZFDatensaetze(QByteArray(1024 * 1024, wert)).empty()) << int(wert);
}

TEST_F(MZTTest, KeinSchrottWirdAlsMZDateiImportiert) {
    struct TFall {
        const char* was;
        QByteArray bytes;
    };
    std::mt19937 zufall(815);
    QByteArray zufallsbytes(250000, '\0');
    for (char& b : zufallsbytes)
        b = static_cast<char>(zufall());
    // A tape image whose leader is one zero too short, behind a "1": no tape file, and its bytes
    // ($80 and zeros) are no MZF record either.
    ASSERT_TRUE(LadeBildMitRumpf(datei, RumpfMitBytes(16)));
    const std::string voll = datei.ErzeugeTonbandBits(Format(false));
    // Built by appending: GCC 12 at -O3 takes "1" + string for an overlapping copy (-Wrestrict).
    const std::string kurzerVorspann = std::string("1").append(voll, 22000 - 999);
    const TFall faelle[] = {
        {"random bytes", zufallsbytes},
        {"1 MB of 0xFF", QByteArray(1024 * 1024, '\xFF')},
        {"a recording", LiesDatei(KorpusPfad(QStringLiteral("gunterhager-mz-800-emulator/TestHalt.wav")))},
        {"a leader of 999 pulses", Packe(kurzerVorspann)},
    };
    for (const TFall& fall : faelle) {
        ASSERT_FALSE(fall.bytes.isEmpty()) << fall.was;
        const QString pfad = Pfad();
        SchreibeDatei(pfad, fall.bytes);
        plattform.Leeren();
        EXPECT_FALSE(datei.ImportMZT(pfad, [](const auto&) { return 0; })) << fall.was;
        EXPECT_FALSE(datei.IstGeladen()) << fall.was;
        std::vector<std::unique_ptr<TMZFDatei>> liste;
        EXPECT_FALSE(TMZFDatei::LeseAlleAusMZT(pfad, liste)) << fall.was;
        EXPECT_TRUE(liste.empty()) << fall.was;
        EXPECT_EQ(plattform.Fehler(), QStringList({KeinMZ(pfad), KeinMZ(pfad)})) << fall.was;
    }
}

TEST_F(MZTTest, JedesKorpusMZTLiefertSeineDatensaetzeGanz) {
    // The records, walked here by hand: header, size field, body, next header.
    for (const QString& mzt : KorpusDateien({QStringLiteral("*.mzt"), QStringLiteral("*.MZT")})) {
        const QByteArray roh = LiesDatei(mzt);
        std::vector<std::unique_ptr<TMZFDatei>> liste;
        std::vector<TUebersprungenes> uebersprungen;
        ASSERT_TRUE(TMZFDatei::LeseAlleAusMZT(mzt, liste, &uebersprungen)) << mzt.toStdString();
        EXPECT_TRUE(uebersprungen.empty()) << mzt.toStdString();
        qsizetype pos = 0;
        for (const auto& d : liste) {
            const int groesse =
                static_cast<std::uint8_t>(roh[pos + 18]) | static_cast<std::uint8_t>(roh[pos + 19]) << 8;
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(d->Kopf().data()), 128), roh.mid(pos, 128));
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(d->Rumpf()), groesse),
                      roh.mid(pos + 128, groesse));
            pos += 128 + groesse;
        }
        EXPECT_EQ(pos, roh.size()) << mzt.toStdString();
    }
}

TEST_F(MZTTest, AlleDateienLangerBandbilderWerdenGelesen) {
    // Four tape images of the largest size, one after the other: 607,824 bytes, far more than the
    // window's import searches.
    std::string band;
    std::vector<std::unique_ptr<TMZFDatei>> erwartet;
    for (int i = 0; i < 4; ++i) {
        auto d = std::make_unique<TMZFDatei>();
        ASSERT_TRUE(LadeBildMitRumpf(*d, RumpfMitBytes(65535, i * 50), QByteArray("GROSS") + char('1' + i)));
        band += d->ErzeugeTonbandBits(Format(false));
        band.resize((band.size() + 7) / 8 * 8, '0'); // each image ends on a whole byte
        erwartet.push_back(std::move(d));
    }
    const QString pfad = Pfad();
    SchreibeDatei(pfad, Packe(band));
    std::vector<std::unique_ptr<TMZFDatei>> liste;
    std::vector<TUebersprungenes> uebersprungen;
    ASSERT_TRUE(TMZFDatei::LeseAlleAusMZT(pfad, liste, &uebersprungen));
    ASSERT_EQ(liste.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(liste[i]->IstGleich(*erwartet[i])) << i;
    EXPECT_TRUE(uebersprungen.empty());
}

TEST_F(MZTTest, EinePipeWirdBisZumEndeGelesen) {
    TMZFDatei a;
    TMZFDatei b;
    ASSERT_TRUE(LadeBildMitRumpf(a, RumpfMitBytes(3000), "ROHR-A"));
    ASSERT_TRUE(LadeBildMitRumpf(b, RumpfMitBytes(100), "ROHR-B"));
    const QByteArray bild = Packe(a.ErzeugeTonbandBits(Format(false)) + b.ErzeugeTonbandBits(Format(true)));
    const QString rohr = Pfad(QStringLiteral("rohr.mzt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(rohr).constData(), 0600), 0);
    const pid_t schreiber = ::fork();
    if (schreiber == 0) {
        QFile f(rohr);
        const bool ok = f.open(QIODevice::WriteOnly) && f.write(bild) == bild.size();
        f.close();
        ::_exit(ok ? 0 : 1);
    }
    std::vector<std::unique_ptr<TMZFDatei>> liste;
    const bool ok = TMZFDatei::LeseAlleAusMZT(rohr, liste);
    int status = 0;
    ::waitpid(schreiber, &status, 0);
    ASSERT_TRUE(ok);
    ASSERT_EQ(liste.size(), 2u);
    EXPECT_TRUE(liste[0]->IstGleich(a));
    EXPECT_TRUE(liste[1]->IstGleich(b));
}

TEST_F(MZTTest, UebersprungeneBandstellenWerdenGenannt) {
    TMZFDatei gut;
    TMZFDatei kaputt;
    ASSERT_TRUE(LadeBildMitRumpf(gut, RumpfMitBytes(40), "GUT"));
    ASSERT_TRUE(LadeBildMitRumpf(kaputt, RumpfMitBytes(40, 7), "KAPUTT"));
    // Shortened format: one copy of each block, so one flipped bit ruins it.
    const std::string a = gut.ErzeugeTonbandBits(Format(true));
    std::string b = kaputt.ErzeugeTonbandBits(Format(true));
    std::string c = gut.ErzeugeTonbandBits(Format(true));
    b[b.size() - 50] = b[b.size() - 50] == '0' ? '1' : '0';   // in the body's checksum
    c[5000 + 82 + 20] = c[5000 + 82 + 20] == '0' ? '1' : '0'; // in the header
    const std::string band = a + b + c + a;
    const QString pfad = Pfad();
    SchreibeDatei(pfad, Packe(band));
    std::vector<std::unique_ptr<TMZFDatei>> liste;
    std::vector<TUebersprungenes> uebersprungen;
    ASSERT_TRUE(TMZFDatei::LeseAlleAusMZT(pfad, liste, &uebersprungen));
    ASSERT_EQ(liste.size(), 1u); // GUT, found twice, listed once
    EXPECT_TRUE(liste[0]->IstGleich(gut));
    ASSERT_EQ(uebersprungen.size(), 2u);
    EXPECT_EQ(uebersprungen[0].art, TUebersprungenes::TArt::BeschaedigterRumpf);
    EXPECT_EQ(uebersprungen[0].name, QStringLiteral("KAPUTT"));
    // The long mark ends 5,082 pulses into its file; the position is the byte holding that pulse.
    EXPECT_EQ(uebersprungen[0].position, static_cast<qint64>((a.size() + 5082 - 1) / 8));
    EXPECT_EQ(uebersprungen[1].art, TUebersprungenes::TArt::BeschaedigterKopf);
    EXPECT_TRUE(uebersprungen[1].name.isEmpty());
    EXPECT_EQ(uebersprungen[1].position, static_cast<qint64>((a.size() + b.size() + 5082 - 1) / 8));
}
} // namespace
