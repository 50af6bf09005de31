#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <gtest/gtest.h>

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
    static void Modell(quint8 modell) {
        SetzeImportExportImSpeicher(modell, false, StandardSampleRate, false);
    }
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
    ASSERT_TRUE(datei.ExportMZT(pfad));
    const QByteArray mzt = LiesDatei(pfad);
    ASSERT_EQ(mzt.size(), 4502);
    EXPECT_EQ(mzt.left(2750), QByteArray(2750, '\0'));
    EXPECT_EQ(mzt.mid(2750, 5), QByteArray(5, '\xFF'));
    EXPECT_EQ(mzt.mid(2755, 5), QByteArray(5, '\0'));
    // The text ends with the checksum 0x0000 ("100000000" twice) and the separator "1": its last
    // six characters "000001" and two padding bits.
    EXPECT_EQ(static_cast<std::uint8_t>(mzt.back()), 0x04);
    EXPECT_EQ(mzt, Packe(datei.ErzeugeTonbandBits(false)));
    EXPECT_FALSE(datei.IstGeaendert());
    EXPECT_TRUE(plattform.Texte().isEmpty());
    EXPECT_GE(plattform.sanduhrAnzahl, 1);

    Modell(MZ80B);
    ASSERT_TRUE(datei.ExportMZT(pfad));
    EXPECT_EQ(LiesDatei(pfad).size(), 3002);
}

TEST_F(MZTTest, ExportDerGroesstenDatei) {
    TMZFBild bild;
    bild.rumpf = RumpfMitBytes(65535);
    ASSERT_TRUE(LadeBild(datei, bild));
    const QString pfad = Pfad();
    ASSERT_TRUE(datei.ExportMZT(pfad));
    EXPECT_EQ(QFileInfo(pfad).size(), 151956);
    TMZFDatei zurueck;
    ASSERT_TRUE(zurueck.ImportMZT(pfad));
    EXPECT_TRUE(zurueck.IstGleich(datei));
}

TEST_F(MZTTest, ExportOhneDateiOderAufUnmoeglichenPfad) {
    const QString pfad = Pfad();
    EXPECT_FALSE(datei.ExportMZT(pfad));
    EXPECT_EQ(plattform.Fehler(), QStringList(QStringLiteral("There is no MZF-file loaded!")));
    EXPECT_FALSE(QFileInfo::exists(pfad));
    plattform.Leeren();
    ASSERT_TRUE(LadeBild(datei, TMZFBild{}));
    const QString unmoeglich = QDir(TestVerzeichnis()).filePath(QStringLiteral("fehlt/x.mzt"));
    EXPECT_FALSE(datei.ExportMZT(unmoeglich));
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
            ASSERT_TRUE(quelle.ExportMZT(pfad));
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
    std::string bits = quelle.ErzeugeTonbandBits(false);
    bits[22000 + 80 + 1 + 9 * 20 + 3] ^= 1;
    const QString pfad = Pfad();
    SchreibeDatei(pfad, Packe(bits));
    ASSERT_TRUE(datei.ImportMZT(pfad));
    EXPECT_TRUE(datei.IstGleich(quelle));
}

TEST_F(MZTTest, ZweiDateienImBildNurDieErsteWirdImportiert) {
    TMZFDatei dateiA;
    TMZFDatei dateiB;
    ASSERT_TRUE(LadeBildMitRumpf(dateiA, RumpfMitBytes(10), "FIRST"));
    ASSERT_TRUE(LadeBildMitRumpf(dateiB, QByteArray(), "SECOND"));
    const QString pfad = Pfad();
    SchreibeDatei(pfad, Packe(dateiA.ErzeugeTonbandBits(false) + dateiB.ErzeugeTonbandBits(false)));
    int gefragt = 0;
    ASSERT_TRUE(datei.ImportMZT(pfad, [&](const auto&) { return ++gefragt, 1; }));
    EXPECT_TRUE(datei.IstGleich(dateiA));
    EXPECT_EQ(gefragt, 0);
}

TEST_F(MZTTest, NurDieErsten250001BytesWerdenDurchsucht) {
    TMZFDatei quelle;
    ASSERT_TRUE(LadeBild(quelle, TMZFBild{}));
    const QString eine = Pfad(QStringLiteral("eine.mzt"));
    ASSERT_TRUE(quelle.ExportMZT(eine));
    const QByteArray bild = LiesDatei(eine);
    ASSERT_EQ(bild.size(), 4502);

    QByteArray spaet(300000, '\0');
    spaet.replace(260000, bild.size(), bild);
    const QString pfad = Pfad();
    SchreibeDatei(pfad, spaet);
    ASSERT_EQ(LiesDatei(pfad).size(), 300000);
    EXPECT_FALSE(datei.ImportMZT(pfad));
    EXPECT_EQ(plattform.Fehler(), QStringList(KeinMZ(pfad)));
    EXPECT_FALSE(datei.IstGeladen());

    // The same image ending inside the limit is found.
    plattform.Leeren();
    QByteArray frueh(300000, '\0');
    frueh.replace(250001 - bild.size(), bild.size(), bild);
    SchreibeDatei(pfad, frueh);
    ASSERT_TRUE(datei.ImportMZT(pfad));
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
    ASSERT_TRUE(datei.ExportMZT(pfad));
    QByteArray bild = LiesDatei(pfad);
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
    // A record that does not fit ends the list; trailing bytes are ignored.
    EXPECT_EQ(TMZFDatei::LeseMZFDatensaetze(zwei.left(zwei.size() - 1)).size(), 1u);
    EXPECT_EQ(TMZFDatei::LeseMZFDatensaetze(zwei + QByteArray(127, 'x')).size(), 2u);
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
    SchreibeDatei(pfad, Packe(dateiA.ErzeugeTonbandBits(false) + dateiB.ErzeugeTonbandBits(true) +
                              dateiA.ErzeugeTonbandBits(true)));
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
