#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "MZWAVDateiLeser.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"
#include "WAVBau.h"
#include "WAVSuche.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using WAVBau::WAVAusBits;

QStringList KorpusDateien(const QString& ordner, const QString& muster) {
    QStringList ergebnis;
    QDirIterator it(KorpusPfad(ordner), {muster}, QDir::Files);
    while (it.hasNext())
        ergebnis << it.next();
    ergebnis.sort();
    return ergebnis;
}

// The record's header and body as the bytes of an MZF file.
QByteArray AlsMZF(const TMZFDatei& d) {
    return QByteArray(reinterpret_cast<const char*>(d.Kopf().data()), TMZFDatei::KopfGroesse) +
           QByteArray(reinterpret_cast<const char*>(d.Rumpf()), d.HoleMZDateiGroesse());
}

class WAVImport : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        Modell(MZ80K);
        ordner = TestVerzeichnis();
        datei.BeiBeginn = [this](TMZFDatei*) {
            ++beginn;
            sanduhrBeimBeginn = skript.sanduhrTiefe;
        };
        datei.BeiFortschritt = [this](TMZFDatei*, double p) { fortschritte.push_back(p); };
        datei.BeiEnde = [this](TMZFDatei*) {
            ++ende;
            sanduhrBeimEnde = skript.sanduhrTiefe;
        };
    }
    void TearDown() override {
        EinstellungenLeeren();
        EXPECT_EQ(skript.sanduhrTiefe, 0);
    }
    // The model the import reads with, and whose tape texts Bits builds.
    void Modell(quint8 modell) { einstellungen.modell = modell; }
    TBandEinstellungen einstellungen;
    QString Wav(const QByteArray& inhalt, const char* name = "band.wav") {
        const QString pfad = QDir(ordner).filePath(QLatin1String(name));
        SchreibeDatei(pfad, inhalt);
        return pfad;
    }
    // A chooser that notes what it was offered and answers `wahl`.
    TMZFDatei::TAuswahl Waehle(int wahl) {
        return [this, wahl](const std::vector<std::unique_ptr<TMZFDatei>>& liste) {
            angeboten.clear();
            for (const auto& d : liste)
                angeboten << d->HoleMZDateiName();
            endeVorDerAuswahl = ende;
            sanduhrBeiDerAuswahl = skript.sanduhrTiefe;
            return wahl;
        };
    }
    // The bit text of an MZ file with this name, body and comment.
    std::string Bits(const QByteArray& name, int groesse, bool verkuerzt = true,
                     const QByteArray& kommentar = QByteArray()) const {
        TMZFBild bild;
        bild.name = name.left(17).leftJustified(17, '\x0D');
        bild.rumpf = RumpfMitBytes(groesse, groesse);
        if (!kommentar.isEmpty())
            bild.kommentar = kommentar.leftJustified(104, '\x0D');
        TMZFDatei d;
        EXPECT_TRUE(LadeBild(d, bild));
        TBandEinstellungen format = einstellungen;
        format.verkuerzt = verkuerzt;
        return d.ErzeugeTonbandBits(format);
    }

    TPlattformSkript skript;
    TMZFDatei datei;
    QString ordner;
    int beginn = 0;
    int ende = 0;
    int sanduhrBeimBeginn = -1;
    int sanduhrBeimEnde = -1;
    int endeVorDerAuswahl = -1;
    int sanduhrBeiDerAuswahl = -1;
    std::vector<double> fortschritte;
    QStringList angeboten;
};

TEST_F(WAVImport, DieKassettenaufnahmenDesKorpusGebenIhreMZFBytegenau) {
    // MZ-700 pulses, some 5 to 10 % fast, with hiss, inverted: every model that shares the
    // MZ-80K sampling delay reads them, and so does the MZ-800's.
    for (const char* name : {"GNU BLAT 2000", "Moonlander v4"}) {
        const QString wav =
            KorpusPfad(QStringLiteral("psychotimmy-Sharp-MZ-700/%1.wav").arg(QLatin1String(name)));
        const QByteArray mzf =
            LiesDatei(KorpusPfad(QStringLiteral("psychotimmy-Sharp-MZ-700/%1.mzf").arg(QLatin1String(name))));
        for (const quint8 modell : {MZ80K, MZ80C, MZ80A, MZ700, MZ800}) {
            Modell(modell);
            ASSERT_TRUE(datei.ImportWAV(wav, einstellungen, Waehle(-1))) << name << " model " << int(modell);
            EXPECT_EQ(AlsMZF(datei), mzf) << name << " model " << int(modell);
            EXPECT_TRUE(datei.IstGeaendert());
            EXPECT_TRUE(datei.HoleDateiPfad().isEmpty());
        }
    }
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(WAVImport, DieEmulatoraufnahmenDesKorpusWieBeschrieben) {
    // TestHalt and TestCharacters hold their MZF; the three others an older build of theirs.
    const QString ordnerName = QStringLiteral("gunterhager-mz-800-emulator");
    for (const QString& wav : KorpusDateien(ordnerName, QStringLiteral("*.wav"))) {
        const QString name = QFileInfo(wav).completeBaseName();
        ASSERT_TRUE(datei.ImportWAV(wav, einstellungen, Waehle(-1))) << name.toStdString();
        EXPECT_EQ(datei.HoleMZDateiName(), name);
        const QByteArray mzf =
            LiesDatei(KorpusPfad(ordnerName + QLatin1Char('/') + name + QStringLiteral(".mzf")));
        const bool gleich = AlsMZF(datei) == mzf;
        EXPECT_EQ(gleich, name == QLatin1String("TestHalt") || name == QLatin1String("TestCharacters"))
            << name.toStdString();
    }
    // The 48000 Hz recordings are refused with the sample-rate message, which tells that the
    // extended decoding reads them and offers to do so at once: No leaves nothing loaded, Yes
    // imports the first file of the ".mzt" of the same name.
    const QString frage = QStringLiteral(
        "Invalid sample-rate!\r\n\r\nThe sample-rate must have a value between 8000 Hz and 45000 Hz!\r\n\r\n"
        "The file has a sample-rate of 48000 Hz, which the extended decoding reads.\r\n\r\n"
        "Read it with the extended decoding now? The setting stays as it is.");
    for (const QString& wav :
         KorpusDateien(QStringLiteral("SnailBarbarianMacho-MZ-700GamesProject"), QStringLiteral("*.wav"))) {
        SCOPED_TRACE(wav.toStdString());
        skript.Leeren();
        beginn = ende = 0;
        skript.Antworte(TAntwort::Nein);
        EXPECT_FALSE(datei.ImportWAV(wav, einstellungen, Waehle(-1)));
        ASSERT_EQ(skript.nachrichten.size(), 1);
        EXPECT_TRUE(skript.nachrichten[0].frage);
        EXPECT_EQ(skript.nachrichten[0].text, frage);
        EXPECT_EQ(beginn, 1);
        EXPECT_EQ(ende, 1);
        EXPECT_FALSE(datei.IstGeladen());

        skript.Leeren();
        skript.Antworte(TAntwort::Ja);
        ASSERT_TRUE(datei.ImportWAV(wav, einstellungen, Waehle(0)));
        const QByteArray mzt = LiesDatei(wav.left(wav.size() - 3) + QStringLiteral("mzt"));
        const int groesse = static_cast<std::uint8_t>(mzt[18]) | static_cast<std::uint8_t>(mzt[19]) << 8;
        EXPECT_EQ(AlsMZF(datei), mzt.left(128 + groesse));
        EXPECT_FALSE(LiesImportErweiterteDekodierung()) << "the setting stays as it was";
    }
}

TEST_F(WAVImport, JedeExportierteAufnahmeKommtZurueck) {
    // Every combination of model, polarity, format and rate with one small corpus file, and every
    // corpus MZF file with one combination in turn.
    struct TArt {
        quint8 modell;
        bool invertiert;
        bool verkuerzt;
        quint16 rate;
    };
    std::vector<TArt> arten;
    for (quint8 modell = 0; modell < AnzahlMZModelle; ++modell)
        for (const bool invertiert : {false, true})
            for (const bool verkuerzt : {false, true})
                for (const quint16 rate : {quint16{8000}, quint16{22050}, quint16{44100}})
                    arten.push_back({modell, invertiert, verkuerzt, rate});
    QStringList mzfs;
    QDirIterator it(KorpusPfad(QString()), {QStringLiteral("*.mzf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        mzfs << it.next();
    mzfs.sort();
    ASSERT_GE(mzfs.size(), 20);
    const QString klein = KorpusPfad(QStringLiteral("gunterhager-mz800-emuz/TestHalt.mzf"));
    std::vector<std::pair<QString, TArt>> faelle;
    for (const TArt& art : arten)
        faelle.push_back({klein, art});
    for (qsizetype i = 0; i < mzfs.size(); ++i)
        faelle.push_back({mzfs[i], arten[static_cast<std::size_t>(i * 7) % arten.size()]});

    const QString wav = QDir(ordner).filePath(QStringLiteral("rund.wav"));
    for (const auto& [mzf, art] : faelle) {
        SchreibeImportExportEinstellungen(art.modell, art.verkuerzt, art.rate, art.invertiert);
        Modell(art.modell);
        TMZFDatei quelle;
        ASSERT_TRUE(quelle.Laden(mzf));
        ASSERT_TRUE(quelle.ExportWAV(wav));
        ASSERT_TRUE(datei.ImportWAV(wav, einstellungen, Waehle(-1)))
            << mzf.toStdString() << " model " << int(art.modell) << " inverted " << art.invertiert
            << " short " << art.verkuerzt << " rate " << art.rate;
        EXPECT_TRUE(datei.IstGleich(quelle)) << mzf.toStdString();
    }
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

TEST_F(WAVImport, FortschrittNachDenGelesenenFrames) {
    // Every pass searches while the file is read: after each block of 65,536 frames the share read,
    // then 100 at the end, whatever the model.
    const QByteArray inhalt = WAVAusBits({{Bits("P", 40), false}});
    const QString wav = Wav(inhalt);
    const qsizetype frames = inhalt.size() - 44; // 8-bit mono after the canonical 44-byte head
    ASSERT_GT(frames, 3 * 65536);
    ASSERT_LT(frames, 4 * 65536);
    const std::vector<double> erwartet{100.0 * 65536 / frames, 100.0 * 131072 / frames,
                                       100.0 * 196608 / frames, 100.0, 100.0};
    for (const quint8 modell : {MZ700, MZ80K, MZ800}) {
        Modell(modell);
        fortschritte.clear();
        ASSERT_TRUE(datei.ImportWAV(wav, einstellungen, Waehle(-1)));
        ASSERT_EQ(fortschritte.size(), erwartet.size()) << int(modell);
        for (std::size_t i = 0; i < erwartet.size(); ++i)
            EXPECT_DOUBLE_EQ(fortschritte[i], erwartet[i]) << int(modell) << " event " << i;
    }
}

TEST_F(WAVImport, EineDateiWirdOhneAuswahlGenommen) {
    const std::string bits = Bits("EINE", 300);
    ASSERT_TRUE(datei.ImportWAV(Wav(WAVAusBits({{bits, false}, {bits, false}})), einstellungen, Waehle(-1)));
    EXPECT_TRUE(angeboten.isEmpty()) << "twice the same file is one file";
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("EINE"));
    EXPECT_EQ(datei.HoleMZDateiGroesse(), 300);
    EXPECT_EQ(beginn, 1);
    EXPECT_EQ(ende, 1);
    EXPECT_EQ(sanduhrBeimBeginn, 0) << "BeiBeginn comes before the hourglass";
    EXPECT_EQ(sanduhrBeimEnde, 1) << "BeiEnde comes while the hourglass is still on";
}

TEST_F(WAVImport, MehrereDateienInDerReihenfolgeIhresErstenFunds) {
    // The same program twice with different comments is two files; the recording order counts.
    const std::string a = Bits("PROG", 50, true, "EINS");
    const std::string b = Bits("PROG", 50, true, "ZWEI");
    const QString wav = Wav(WAVAusBits({{a, false}, {b, false}}));
    ASSERT_TRUE(datei.ImportWAV(wav, einstellungen, Waehle(1)));
    EXPECT_EQ(angeboten, (QStringList{QStringLiteral("PROG"), QStringLiteral("PROG")}));
    EXPECT_EQ(datei.HoleMZKommentar(), QStringLiteral("ZWEI"));
    EXPECT_EQ(endeVorDerAuswahl, 1) << "the busy state ends before the choice";
    EXPECT_EQ(sanduhrBeiDerAuswahl, 0);
    EXPECT_EQ(ende, 1);

    // A file that only the inverted pass finds comes after the files of the normal pass, even
    // when it comes first on the tape. Pulses whose second parts are all as long as a long
    // pulse's first part read as "1" in the pass of the other polarity: each file is found in one
    // pass only.
    WAVBau::TImpulsFolge einseitig;
    einseitig.langTief = 12;
    einseitig.langHoch = 12;
    einseitig.kurzTief = 4;
    einseitig.kurzHoch = 12;
    const QString gemischt =
        Wav(WAVAusBits({{Bits("UMGEKEHRT", 9), true}, {Bits("NORMAL", 9), false}}, einseitig), "m.wav");
    ASSERT_TRUE(datei.ImportWAV(gemischt, einstellungen, Waehle(0)));
    EXPECT_EQ(angeboten, (QStringList{QStringLiteral("NORMAL"), QStringLiteral("UMGEKEHRT")}));
    EXPECT_EQ(datei.HoleMZDateiName(), QStringLiteral("NORMAL"));
}

TEST_F(WAVImport, AbbrechenLaesstDenDatensatzLeer) {
    ASSERT_TRUE(LadeBild(datei, TMZFBild{}));
    const QString wav = Wav(WAVAusBits({{Bits("A", 5), false}, {Bits("B", 5), false}}));
    EXPECT_FALSE(datei.ImportWAV(wav, einstellungen, Waehle(-1)));
    EXPECT_FALSE(datei.IstGeladen());
    EXPECT_TRUE(skript.nachrichten.isEmpty());
    EXPECT_EQ(ende, 1);
}

TEST_F(WAVImport, OhneAufruferGeschiehtNichtsAlsDieMeldung) {
    ASSERT_TRUE(LadeBild(datei, TMZFBild{}));
    EXPECT_FALSE(datei.ImportWAV(Wav(WAVAusBits({{Bits("A", 5), false}})), einstellungen, {}));
    EXPECT_EQ(skript.Fehler(), QStringList(QStringLiteral("Invalid value for parameter pv_aufruferForm!")));
    EXPECT_TRUE(datei.IstGeladen()) << "the record is untouched";
    EXPECT_EQ(beginn, 0);
    EXPECT_EQ(ende, 0);
}

TEST_F(WAVImport, SchlechteEingabenEndenMitIhrerMeldung) {

    const QByteArray gut = WAVAusBits({{Bits("A", 5), false}});
    const QString keinMZ = QStringLiteral("The WAV-file %1 contains no valid MZ-file!");
    const QString kaputt = QStringLiteral("The file %1 is corrupted or contains a not-supported format!");
    const QString verzeichnis = QDir(ordner).filePath(QStringLiteral("ordner.wav"));
    ASSERT_TRUE(QDir().mkpath(verzeichnis));
    const QString rohr = QDir(ordner).filePath(QStringLiteral("rohr.wav"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(rohr).constData(), 0600), 0);
    QByteArray riesig = gut;
    riesig.replace(40, 4, WAVBau::Le32(0xFFFFFFF0u)); // a data chunk of 4 GB in a small file
    // What the extended decoding reads is offered to be read that way (here declined).
    const QString erweitertListFormat =
        QStringLiteral("\r\n\r\nThe file holds 24-bit PCM in 1 channel(s) at 22050 Hz, which the extended "
                       "decoding reads.\r\n\r\nRead it with the extended decoding now?");
    const QString erweitertLiestRate = QStringLiteral(
        "\r\n\r\nThe file holds 8-bit PCM in 1 channel(s) at 22050 Hz, which the extended decoding "
        "reads.");
    struct TFall {
        const char* was;
        QString pfad;
        QString meldungAnfang;
        QString erweitert; // what the question adds; empty: no question
    };
    const TFall faelle[] = {
        {"silence", Wav(WAVBau::Wav(1, 22050, 8, QByteArray(44100, '\x80')), "stille.wav"), keinMZ, {}},
        {"empty data", Wav(WAVBau::Wav(1, 22050, 8, QByteArray()), "leer.wav"), keinMZ, {}},
        {"24 bits", Wav(WAVBau::Wav(1, 22050, 24, QByteArray(300, '\x10')), "24.wav"), kaputt,
         erweitertListFormat},
        {"cut short", Wav(gut.left(gut.size() / 2), "halb.wav"), kaputt, erweitertLiestRate},
        {"4 GB data", Wav(riesig, "riesig.wav"), kaputt, erweitertLiestRate},
        {"a directory", verzeichnis, QStringLiteral("Error reading the file %1!"), {}},
        {"a pipe", rohr, QStringLiteral("Error reading the file %1!"), {}},
    };
    for (const TFall& fall : faelle) {
        ASSERT_TRUE(LadeBild(datei, TMZFBild{}));
        skript.Leeren();
        beginn = ende = 0;
        if (!fall.erweitert.isEmpty())
            skript.Antworte(TAntwort::Nein);
        EXPECT_FALSE(datei.ImportWAV(fall.pfad, einstellungen, Waehle(0))) << fall.was;
        ASSERT_EQ(skript.nachrichten.size(), 1) << fall.was << ": " << skript.Texte().join('|').toStdString();
        const QString text = skript.nachrichten[0].text;
        EXPECT_TRUE(text.startsWith(fall.meldungAnfang.arg(fall.pfad))) << text.toStdString();
        EXPECT_EQ(skript.nachrichten[0].frage, !fall.erweitert.isEmpty()) << fall.was;
        if (!fall.erweitert.isEmpty()) {
            EXPECT_TRUE(text.contains(fall.erweitert)) << text.toStdString();
        }
        EXPECT_FALSE(datei.IstGeladen()) << fall.was;
        EXPECT_EQ(beginn, 1) << fall.was;
        EXPECT_EQ(ende, 1) << fall.was;
    }
}

TEST_F(WAVImport, EineDateiDieWaehrendDesImportsSchrumpft) {
    // Another program cuts the recording while the first blocks are decoded.
    const QString wav = Wav(WAVAusBits({{Bits("LANG", 2000, false), false}}));
    bool gekuerzt = false;
    datei.BeiFortschritt = [&](TMZFDatei*, double) {
        if (!gekuerzt)
            gekuerzt = QFile::resize(wav, 100000);
    };
    EXPECT_FALSE(datei.ImportWAV(wav, einstellungen, Waehle(0)));
    EXPECT_TRUE(gekuerzt);
    ASSERT_EQ(skript.Fehler().size(), 1) << skript.Texte().join('|').toStdString();
    EXPECT_TRUE(skript.Fehler()[0].startsWith(QStringLiteral("Error reading the file %1!").arg(wav)));
    EXPECT_FALSE(datei.IstGeladen());
    EXPECT_EQ(ende, 1);
}

TEST_F(WAVImport, AlleDateienFuerDieKommandozeileMitDemUebersprungenen) {
    // KAPUTT's body fails in every pass (one copy, one flipped bit); GUT is found. Given as two
    // recordings of the tape, KAPUTT is told once, not once a recording.
    std::string kaputt = Bits("KAPUTT", 40);
    kaputt[kaputt.size() - 30] = kaputt[kaputt.size() - 30] == '0' ? '1' : '0';
    const QString wav = Wav(WAVAusBits({{Bits("GUT", 40), false}, {kaputt, false}}));
    for (const QStringList& aufnahmen : {QStringList{wav}, QStringList{wav, wav}}) {
        SCOPED_TRACE(aufnahmen.size());
        std::vector<std::unique_ptr<TMZFDatei>> liste;
        std::vector<TUebersprungenes> uebersprungen;
        ASSERT_TRUE(datei.LeseAlleAusWAV(aufnahmen, einstellungen, liste, &uebersprungen));
        ASSERT_EQ(liste.size(), 1u);
        EXPECT_EQ(liste[0]->HoleMZDateiName(), QStringLiteral("GUT"));
        ASSERT_EQ(uebersprungen.size(), 1u);
        EXPECT_EQ(uebersprungen[0].art, TUebersprungenes::TArt::BeschaedigterRumpf);
        EXPECT_EQ(uebersprungen[0].name, QStringLiteral("KAPUTT"));
        EXPECT_FALSE(datei.IstGeladen());
    }
    EXPECT_EQ(beginn, 2);
    EXPECT_EQ(ende, 2);
    // A second recording that holds KAPUTT whole: it is found, and nothing is told missing.
    const QString ganz = Wav(WAVAusBits({{Bits("GUT", 40), false}, {Bits("KAPUTT", 40), false}}), "ganz.wav");
    for (const QStringList& aufnahmen : {QStringList{wav, ganz}, QStringList{ganz, wav}}) {
        SCOPED_TRACE(aufnahmen.join(QStringLiteral(", ")).toStdString());
        std::vector<std::unique_ptr<TMZFDatei>> liste;
        std::vector<TUebersprungenes> uebersprungen;
        ASSERT_TRUE(datei.LeseAlleAusWAV(aufnahmen, einstellungen, liste, &uebersprungen));
        QStringList namen;
        for (const auto& d : liste)
            namen << d->HoleMZDateiName();
        EXPECT_EQ(namen, (QStringList{QStringLiteral("GUT"), QStringLiteral("KAPUTT")}));
        EXPECT_TRUE(uebersprungen.empty());
    }
}

// Four recordings of one MZ-700 file, each readable by exactly one of the MZ-700 setting's four
// passes, so that every pass is needed. At 22050 Hz (45.35 us a frame; the falling edge lies half
// a frame before the first low frame) the moment at 368 us falls 7.61 frames into a pulse, the one
// at 286.22 us 5.81 frames:
// - 7 low + 12 high frames for a short pulse, 10 + 12 for a long one: at 286 us every pulse is
//   still low, at 368 us the short one is high. The other polarity sees 12 high frames after
//   every rising edge: all long.
// - 5 low + 2 high frames short, 10 + 2 long: at 286 us the short pulse is high, at 368 us the
//   next pulse's low part has begun. The other polarity sees 2 high frames and then the next low
//   part: short at 286 us; at 368 us it tells the next pulse, not this one.
// Inverted, only the passes of the other polarity read them.
TEST_F(WAVImport, JederDerVierMZ700DurchgaengeWirdGebraucht) {
    Modell(MZ700);
    const std::string bits = Bits("VIER", 30);
    TMZFDatei quelle;
    int ende = 0;
    ASSERT_TRUE(quelle.LeseAusTonbandBits(bits, 1, false, 0.0, ende));
    struct TFall {
        const char* name;
        int kurzTief, kurzHoch, langTief, langHoch;
        bool invertiert, alternativ;
    };
    const TFall faelle[] = {
        {"normal, 368 us", 7, 12, 10, 12, false, false},
        {"normal, 286.22 us", 5, 2, 10, 2, false, true},
        {"inverted, 368 us", 7, 12, 10, 12, true, false},
        {"inverted, 286.22 us", 5, 2, 10, 2, true, true},
    };
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        WAVBau::TImpulsFolge folge;
        folge.kurzTief = f.kurzTief;
        folge.kurzHoch = f.kurzHoch;
        folge.langTief = f.langTief;
        folge.langHoch = f.langHoch;
        const QString wav = Wav(WAVAusBits({{bits, f.invertiert}}, folge), "vier.wav");
        // The premise: of the four passes alone, only the one named reads the file.
        for (const bool invertiert : {false, true})
            for (const bool alternativ : {false, true}) {
                TMZWAVDateiLeser leser;
                ASSERT_TRUE(leser.Oeffnen(wav, einstellungen, invertiert, alternativ));
                std::string gelesen;
                bool bit = false;
                while (!leser.IstDateiEnde() && leser.LeseBit(bit))
                    gelesen += bit ? '1' : '0';
                TMZFDatei d;
                const bool gefunden =
                    d.LeseAusTonbandBits(gelesen, 1, false, 0.0, ende) && d.IstGleich(quelle);
                EXPECT_EQ(gefunden, invertiert == f.invertiert && alternativ == f.alternativ)
                    << "pass " << invertiert << alternativ;
            }
        ASSERT_TRUE(datei.ImportWAV(wav, einstellungen, Waehle(-1)));
        EXPECT_TRUE(datei.IstGleich(quelle));
    }
}

// Frames pushed as a sound card hands them out: each file is told as soon as its body is in,
// once, whichever pass finds it first, and the end gives them all in order.
TEST_F(WAVImport, DateienSobaldIhrRumpfGelesenIst) {
    Modell(MZ700);
    const std::string a = Bits("ERSTE", 200);
    const std::string b = Bits("ZWEITE", 300);
    std::vector<std::uint8_t> samples;
    WAVBau::HaengeImpulseAn(samples, a, false);
    const std::size_t ersteEnde = samples.size();
    WAVBau::HaengeImpulseAn(samples, b, false);

    TWAVSuche suche({.modell = MZ700, .erweitert = true});
    std::vector<std::pair<QString, std::size_t>> gemeldet;
    std::size_t geschoben = 0;
    suche.beiNeuerDatei = [&](const TMZFDatei& d) { gemeldet.push_back({d.HoleMZDateiName(), geschoben}); };
    TWAVFormat format;
    format.sampleRate = 22050;
    format.anzahlFrames = static_cast<std::int32_t>(samples.size());
    TMZWAVMehrfachDekoder dekoder;
    dekoder.Starte(format, suche.Einstellungen(), suche.Durchgaenge(), suche.Erweiterung(), suche.Senken());
    constexpr std::size_t Stueck = 4096;
    for (; geschoben < samples.size();) {
        const std::size_t n = std::min(Stueck, samples.size() - geschoben);
        dekoder.Verarbeite(samples.data() + geschoben, static_cast<std::int32_t>(n));
        geschoben += n;
    }
    dekoder.Beende();
    std::vector<std::unique_ptr<TMZFDatei>> dateien;
    suche.Ende(dateien, nullptr);
    ASSERT_EQ(gemeldet.size(), 2u);
    EXPECT_EQ(gemeldet[0].first, QStringLiteral("ERSTE"));
    EXPECT_EQ(gemeldet[1].first, QStringLiteral("ZWEITE"));
    // The first file is told while the second is still being pushed (the adaptive pass's thread
    // may be a few blocks behind the pushing).
    EXPECT_LT(gemeldet[0].second, ersteEnde + 4 * TMZWAVMehrfachDekoder::BlockFrames);
    EXPECT_LT(gemeldet[0].second, samples.size());
    ASSERT_EQ(dateien.size(), 2u);
    EXPECT_EQ(dateien[0]->HoleMZDateiName(), QStringLiteral("ERSTE"));
    EXPECT_EQ(dateien[1]->HoleMZDateiName(), QStringLiteral("ZWEITE"));
}

} // namespace
