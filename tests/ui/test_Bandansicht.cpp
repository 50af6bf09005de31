#include "BandFlaeche.h"
#include "FormBandansichtUnit.h"
#include "FormHauptTestBasis.h"
#include "TestBand.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>

namespace {

// Calls `tun` with the tape view once it runs modally (a timer looks until it does).
void BeiAnsicht(const std::function<void(TFormBandansicht*)>& tun) {
    QTimer::singleShot(10, [tun] {
        if (auto* fenster = qobject_cast<TFormBandansicht*>(QApplication::activeModalWidget()))
            tun(fenster);
        else
            BeiAnsicht(tun);
    });
}

class BandansichtTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        EinstellungenLeeren();
        // The pulses of the recordings built here are the MZ-80K's.
        SchreibeImportExportEinstellungen(MZ80K, false, StandardSampleRate, false);
    }
    // Two files on a recording; with `kippen` the first body copy of that file fails.
    QString Aufnahme(int kippen = -1) {
        band = TestBand::Baue(
            {ProgrammMZF("FIRST", RumpfMitBytes(300)), ProgrammMZF("SECOND", RumpfMitBytes(40, 9))}, kippen);
        return SchreibeTestDatei(band.wav, QStringLiteral("band.wav"));
    }
    std::unique_ptr<TFormBandansicht> Fenster(const QString& pfad) {
        auto fenster = std::make_unique<TFormBandansicht>(nullptr, [this](const TMZFDatei& datei) {
            importiert = datei.HoleMZDateiName();
            return true;
        });
        fenster->resize(1000, 700);
        fenster->show();
        EXPECT_TRUE(fenster->LiesAufnahme(pfad));
        return fenster;
    }
    static void KlickeZeile(QTreeWidget* liste, int zeile) {
        const QRect ort = liste->visualItemRect(liste->topLevelItem(zeile));
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, ort.center());
    }
    // The colour in the middle of a block's band, the picture showing the block and its
    // surroundings.
    static QColor FarbeDesBlocks(TFormBandansicht& fenster, const TBandBlock& b) {
        TBandFlaeche& f = *fenster.Flaeche;
        f.SetzeAusschnitt(b.beginn - (b.ende - b.beginn), b.ende + (b.ende - b.beginn));
        const QImage bild = f.Bild();
        const QRect lane = TBandBild::Bloecke(f.Flaeche());
        const double mitte = 0.5 * (TBandBild::XBei(f.Flaeche(), f.Ausschnitt(), b.beginn) +
                                    TBandBild::XBei(f.Flaeche(), f.Ausschnitt(), b.ende));
        // Right of the middle: the label sits on the left.
        return bild.pixelColor(static_cast<int>(mitte) + 20, lane.center().y());
    }

    TPlattformSkript plattform;
    TestBand::TBand band;
    QString importiert;
};

TEST_F(BandansichtTest, KatalogZeigtDieGefundenenDateien) {
    const auto fenster = Fenster(Aufnahme());
    QTreeWidget* k = fenster->Katalog;
    ASSERT_EQ(k->topLevelItemCount(), 2);
    const QStringList erwartet[] = {
        {"$01 Machine-language-program", "FIRST", "300", "$1200", "$1200", "intact"},
        {"$01 Machine-language-program", "SECOND", "40", "$1200", "$1200", "intact"}};
    for (int zeile = 0; zeile < 2; ++zeile)
        for (int spalte = 0; spalte < 6; ++spalte)
            EXPECT_EQ(k->topLevelItem(zeile)->text(spalte), erwartet[zeile][spalte]) << zeile << spalte;
    // The first file is chosen at once, its header's bytes shown: the name from byte 1 on.
    EXPECT_EQ(fenster->GewaehlterEintrag(), 0);
    EXPECT_TRUE(
        fenster->MemoBytes->toPlainText().startsWith(QStringLiteral("$0000  $01 $46 $49 $52 $53 $54")));
    EXPECT_TRUE(fenster->LabelStatus->text().contains(QStringLiteral("22050 Hz")));
    EXPECT_TRUE(plattform.nachrichten.isEmpty());
}

TEST_F(BandansichtTest, EintragWaehltSeineBloecke) {
    const auto fenster = Fenster(Aufnahme());
    KlickeZeile(fenster->Katalog, 1);
    ASSERT_EQ(fenster->GewaehlterEintrag(), 1);
    const TKatalogEintrag& e = fenster->Band().Katalog()[1];
    EXPECT_EQ(fenster->Flaeche->GewaehlterBlock(), e.bloecke.front());
    // Its blocks are in view.
    const TBandBlock& kopf = fenster->Band().Bloecke()[static_cast<std::size_t>(e.bloecke.front())];
    const TBandBlock& rumpf = fenster->Band().Bloecke()[static_cast<std::size_t>(e.bloecke.back())];
    EXPECT_NEAR(kopf.beginn, band.orte[1].kopf, 1.0);
    EXPECT_LE(fenster->Flaeche->Ausschnitt().von, kopf.beginn);
    EXPECT_GE(fenster->Flaeche->Ausschnitt().bis, rumpf.ende);
    // A click on the body's band chooses it and shows its bytes from the load address.
    const TBandFlaeche& f = *fenster->Flaeche;
    const double x = TBandBild::XBei(f.Flaeche(), f.Ausschnitt(), 0.5 * (rumpf.beginn + rumpf.ende));
    QTest::mouseClick(fenster->Flaeche, Qt::LeftButton, {},
                      QPoint(static_cast<int>(x), TBandBild::Bloecke(f.Flaeche()).center().y()));
    EXPECT_EQ(fenster->Flaeche->GewaehlterBlock(), e.bloecke.back());
    EXPECT_TRUE(fenster->MemoBytes->toPlainText().startsWith(QStringLiteral("$1200  $09 $0A $0B")));
}

TEST_F(BandansichtTest, ZoomHaeltDieZeitUnterDerMaus) {
    const auto fenster = Fenster(Aufnahme());
    TBandFlaeche* f = fenster->Flaeche;
    EXPECT_DOUBLE_EQ(f->Ausschnitt().von, 0.0);
    EXPECT_DOUBLE_EQ(f->Ausschnitt().bis, static_cast<double>(band.frames));
    const double spalten[] = {50.0, 431.0, 900.0};
    for (const double x : spalten)
        for (const int rasten : {3, 2, -1, 4, -2}) {
            const double vorher = TBandBild::FrameBei(f->Flaeche(), f->Ausschnitt(), x);
            const double breite = f->Ausschnitt().Breite();
            QWheelEvent rad(QPointF(x, 100), f->mapToGlobal(QPointF(x, 100)), QPoint(),
                            QPoint(0, 120 * rasten), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(f, &rad);
            EXPECT_NEAR(TBandBild::FrameBei(f->Flaeche(), f->Ausschnitt(), x), vorher, 1e-6 * breite)
                << x << rasten;
            EXPECT_NEAR(f->Ausschnitt().Breite(), breite / std::pow(TBandFlaeche::ZoomSchritt, rasten),
                        1e-6 * breite);
        }
    // The keys move by a tenth of the stretch shown; Home shows all.
    const TBandAusschnitt vorher = f->Ausschnitt();
    QTest::keyClick(f, Qt::Key_Right);
    EXPECT_NEAR(f->Ausschnitt().von, vorher.von + 0.1 * vorher.Breite(), 1e-6);
    QTest::keyClick(f, Qt::Key_Left);
    QTest::keyClick(f, Qt::Key_Left);
    EXPECT_NEAR(f->Ausschnitt().von, vorher.von - 0.1 * vorher.Breite(), 1e-6);
    // The scroll bar follows, and moves the picture.
    EXPECT_EQ(fenster->Leiste->value(), static_cast<int>(f->Ausschnitt().von));
    fenster->Leiste->setValue(1000);
    EXPECT_DOUBLE_EQ(f->Ausschnitt().von, 1000.0);
    QTest::keyClick(f, Qt::Key_Home);
    EXPECT_DOUBLE_EQ(f->Ausschnitt().Breite(), static_cast<double>(band.frames));
}

TEST_F(BandansichtTest, SampleZoomZeichnetDieFrames) {
    const auto fenster = Fenster(Aufnahme());
    TBandFlaeche* f = fenster->Flaeche;
    // 100 frames from the first header on: each frame a dot where its level is.
    const auto von = static_cast<double>(band.orte[0].kopf);
    f->SetzeAusschnitt(von, von + 100);
    ASSERT_TRUE(TBandBild::IstSampleZoom(f->Flaeche(), f->Ausschnitt()));
    const QImage bild = f->Bild();
    const QRect welle = TBandBild::Welle(f->Flaeche());
    const QColor farbe = TBandBildFarben::AusPalette(f->palette()).welle;
    // The table's low level is 64 of 255, the high one 192.
    for (int i = 2; i < 98; i += 7) {
        const auto sample = static_cast<std::uint8_t>(band.wav.at(44 + static_cast<int>(von) + i));
        const int x = static_cast<int>(TBandBild::XBei(f->Flaeche(), f->Ausschnitt(), von + i));
        const int y =
            welle.top() + static_cast<int>(std::lround((255 - sample) * (welle.height() - 1) / 255.0));
        EXPECT_EQ(bild.pixelColor(x, y), farbe) << i;
    }
    // At the foot the pulses: the header's start bit long (21 frames), the first data bit short.
    const TBandBildFarben farben = TBandBildFarben::AusPalette(f->palette());
    const int fuss = welle.bottom() - TBandBild::ImpulsHoehe / 2;
    EXPECT_EQ(
        bild.pixelColor(static_cast<int>(TBandBild::XBei(f->Flaeche(), f->Ausschnitt(), von + 10)), fuss),
        farben.lang);
    EXPECT_EQ(
        bild.pixelColor(static_cast<int>(TBandBild::XBei(f->Flaeche(), f->Ausschnitt(), von + 21 + 5)), fuss),
        farben.kurz);
}

TEST_F(BandansichtTest, FehlerhafterBlockInDerFehlerfarbe) {
    const auto fenster = Fenster(Aufnahme(0));
    const TBandaufzeichnung& a = fenster->Band();
    const TBandBildFarben farben = TBandBildFarben::AusPalette(fenster->Flaeche->palette());
    int fehler = 0;
    int gut = 0;
    for (const TBandBlock& b : a.Bloecke()) {
        const QColor erwartet = b.zustand == TBlockZustand::Fehler ? farben.fehler : farben.gut;
        EXPECT_EQ(FarbeDesBlocks(*fenster, b), erwartet) << b.beginn;
        (b.zustand == TBlockZustand::Fehler ? fehler : gut) += 1;
    }
    // The first body copy of the first file, and nothing else.
    EXPECT_EQ(fehler, 1);
    EXPECT_EQ(gut, 4);
}

TEST_F(BandansichtTest, SpeichernSchreibtByteGenau) {
    const auto fenster = Fenster(Aufnahme());
    const QString ordner = TestVerzeichnis();
    KlickeZeile(fenster->Katalog, 1);
    plattform.WaehleDatei(QDir(ordner).filePath(QStringLiteral("second.mzf")));
    fenster->ButtonSpeichern->click();
    EXPECT_EQ(LiesDatei(QDir(ordner).filePath(QStringLiteral("second.mzf"))),
              ProgrammMZF("SECOND", RumpfMitBytes(40, 9)));
    // All of them: each under its MZ name, beside a file already there.
    SchreibeDatei(QDir(ordner).filePath(QStringLiteral("FIRST.mzf")), "old");
    plattform.WaehleDatei(QDir(ordner).filePath(QStringLiteral("whatever.mzf")));
    fenster->ButtonAlleSpeichern->click();
    EXPECT_EQ(LiesDatei(QDir(ordner).filePath(QStringLiteral("FIRST.mzf"))), QByteArray("old"));
    EXPECT_EQ(LiesDatei(QDir(ordner).filePath(QStringLiteral("FIRST-2.mzf"))),
              ProgrammMZF("FIRST", RumpfMitBytes(300)));
    EXPECT_EQ(LiesDatei(QDir(ordner).filePath(QStringLiteral("SECOND.mzf"))),
              ProgrammMZF("SECOND", RumpfMitBytes(40, 9)));
    EXPECT_FALSE(QFile::exists(QDir(ordner).filePath(QStringLiteral("whatever.mzf"))));
    EXPECT_TRUE(plattform.Fehler().isEmpty());
}

TEST_F(BandansichtTest, ImportNimmtDieGewaehlteDatei) {
    const auto fenster = Fenster(Aufnahme());
    KlickeZeile(fenster->Katalog, 1);
    fenster->ButtonImport->click();
    EXPECT_EQ(importiert, QStringLiteral("SECOND"));
    EXPECT_EQ(fenster->result(), QDialog::Accepted);
}

TEST_F(BandansichtTest, KaputteAufnahmeWirdGemeldet) {
    TFormBandansicht fenster(nullptr, {});
    EXPECT_FALSE(fenster.LiesAufnahme(SchreibeTestDatei("RIFF", QStringLiteral("kaputt.wav"))));
    ASSERT_EQ(plattform.Fehler().size(), 1);
    EXPECT_EQ(fenster.Katalog->topLevelItemCount(), 0);
    EXPECT_FALSE(fenster.ButtonAlleSpeichern->isEnabled());
}

TEST_F(BandansichtTest, JederKnopfHatEineKurzwahl) {
    for (const bool englisch : {true, false}) {
        TestSprache(englisch);
        TFormBandansicht fenster(nullptr, {});
        fenster.SetzeTexte();
        QStringList tasten;
        for (QPushButton* knopf : fenster.findChildren<QPushButton*>()) {
            const QString text = knopf->text();
            const qsizetype stelle = text.indexOf(QLatin1Char('&'));
            ASSERT_GE(stelle, 0) << text.toStdString();
            if (knopf != fenster.ButtonAbbrechen)
                tasten << text.mid(stelle + 1, 1).toLower();
        }
        for (QLabel* label : {fenster.LabelKatalog, fenster.LabelBytes})
            tasten << label->text().mid(label->text().indexOf(QLatin1Char('&')) + 1, 1).toLower();
        // No two controls shown together share a key.
        tasten.removeDuplicates();
        EXPECT_EQ(tasten.size(), 9) << englisch;
    }
}

TEST_F(BandansichtTest, BandbildZeigtDenKatalogMitAllesSpeichern) {
    std::vector<std::unique_ptr<TMZFDatei>> dateien;
    for (const char* name : {"ONE", "TWO"}) {
        dateien.push_back(std::make_unique<TMZFDatei>());
        ASSERT_TRUE(dateien.back()->Laden(SchreibeTestDatei(ProgrammMZF(name, RumpfMitBytes(5)))));
    }
    int wahl = -2;
    const QString ordner = TestVerzeichnis();
    BeiAnsicht([&](TFormBandansicht* fenster) {
        EXPECT_EQ(fenster->Katalog->topLevelItemCount(), 2);
        EXPECT_TRUE(fenster->Flaeche->isHidden());
        plattform.WaehleDatei(QDir(ordner).filePath(QStringLiteral("x.mzf")));
        fenster->ButtonAlleSpeichern->click();
        KlickeZeile(fenster->Katalog, 1);
        fenster->ButtonImport->click();
    });
    wahl = KatalogAuswahl(nullptr, QStringLiteral("tape.mzt"))(dateien);
    EXPECT_EQ(wahl, 1);
    EXPECT_EQ(DateienIn(ordner), QStringList({QStringLiteral("ONE.mzf"), QStringLiteral("TWO.mzf")}));
}

using BandansichtMenueTest = FormHauptBasis;

TEST_F(BandansichtMenueTest, MenueOeffnetDieAufnahme) {
    const auto form = NeueForm();
    EXPECT_EQ(Eintrag(form.get(), "MenueHaupt_ImportExport_Bandansicht")->text(),
              QStringLiteral("S&how recording..."));
    skript.WaehleDatei(KorpusPfad(QStringLiteral("gunterhager-mz-800-emulator/TestHalt.wav")));
    int zeilen = -1;
    BeiAnsicht([&](TFormBandansicht* fenster) {
        zeilen = fenster->Katalog->topLevelItemCount();
        fenster->ButtonImport->click();
    });
    Waehle(form.get(), "MenueHaupt_ImportExport_Bandansicht");
    EXPECT_EQ(zeilen, 1);
    EXPECT_TRUE(form->HoleDatei().IstGeladen());
    TMZFDatei erwartet;
    ASSERT_TRUE(erwartet.Laden(KorpusPfad(QStringLiteral("gunterhager-mz-800-emulator/TestHalt.mzf"))));
    EXPECT_TRUE(form->HoleDatei().IstGleich(erwartet));
}

} // namespace

namespace {

// A recording that gives nothing: after the message the tape view is offered; taken, it opens on
// the recording.
TEST_F(BandansichtMenueTest, LeereAufnahmeBietetDieAnsichtAn) {
    const auto form = NeueForm();
    const QString wav = TestVerzeichnis() + QStringLiteral("/still.wav");
    SchreibeDatei(wav, WAVBau::Wav(1, 22050, 8, QByteArray(22050, '\x80')));
    for (const TAntwort antwort : {TAntwort::Nein, TAntwort::Ja}) {
        skript.Leeren();
        skript.WaehleDatei(wav);
        skript.Antworte(antwort);
        int zeilen = -1;
        if (antwort == TAntwort::Ja)
            BeiAnsicht([&](TFormBandansicht* fenster) {
                zeilen = fenster->Katalog->topLevelItemCount();
                fenster->ButtonSchliessen->click();
            });
        Waehle(form.get(), "MenueHaupt_ImportExport_ImportWAV");
        ASSERT_EQ(skript.nachrichten.size(), 2);
        EXPECT_TRUE(skript.nachrichten[1].frage);
        EXPECT_EQ(skript.nachrichten[1].text, HoleText(QStringLiteral("Frage_Bandansicht")));
        EXPECT_EQ(zeilen, antwort == TAntwort::Ja ? 0 : -1);
        EXPECT_FALSE(form->HoleDatei().IstGeladen());
    }
}

} // namespace

namespace {

// The platform of the tests, doing something whenever the window lets events through while it
// reads.
struct TPlattformMitEreignissen : TPlattformSkript {
    std::function<void()> beiEreignissen;
    void VerarbeiteEreignisse() override {
        TPlattformSkript::VerarbeiteEreignisse();
        if (beiEreignissen)
            beiEreignissen();
    }
};

TEST_F(BandansichtTest, AbbrechenUndSchliessenWaehrendDesLesens) {
    // Long enough for several blocks of frames.
    const std::vector<QByteArray> mzfs = TestBand::Programme(4, 3000);
    const QString pfad = SchreibeTestDatei(TestBand::Baue(mzfs).wav, QStringLiteral("lang.wav"));
    TPlattformMitEreignissen ereignisse;
    {
        // Cancel: what was read stays shown, and says so.
        TFormBandansicht fenster(nullptr, {});
        fenster.show();
        ereignisse.beiEreignissen = [&] { fenster.ButtonAbbrechen->click(); };
        EXPECT_TRUE(fenster.LiesAufnahme(pfad));
        EXPECT_TRUE(fenster.Band().IstAbgebrochen());
        EXPECT_LT(fenster.Katalog->topLevelItemCount(), 4);
        EXPECT_TRUE(
            fenster.LabelStatus->text().endsWith(HoleText(QStringLiteral("FormBandansicht_Abgebrochen"))));
        EXPECT_FALSE(fenster.ButtonAbbrechen->isVisible());
    }
    {
        // Closed: the reading stops, the window closes.
        TFormBandansicht fenster(nullptr, {});
        fenster.show();
        ereignisse.beiEreignissen = [&] { fenster.ButtonSchliessen->click(); };
        EXPECT_FALSE(fenster.LiesAufnahme(pfad));
        EXPECT_TRUE(fenster.Band().IstAbgebrochen());
        EXPECT_FALSE(fenster.isVisible());
        EXPECT_EQ(fenster.result(), QDialog::Rejected);
    }
    EXPECT_TRUE(ereignisse.Fehler().isEmpty());
}

// While the decoders read, the waveform is there already: it can be zoomed, the first pass's
// blocks join it, the progress names the phase; the zoom chosen meanwhile stays at the end.
TEST_F(BandansichtTest, DieWelleSchonWaehrendDesLesens) {
    const std::vector<QByteArray> mzfs = TestBand::Programme(4, 3000);
    const TestBand::TBand lang = TestBand::Baue(mzfs);
    const QString pfad = SchreibeTestDatei(lang.wav, QStringLiteral("lang.wav"));
    TPlattformMitEreignissen ereignisse;
    TFormBandansicht fenster(nullptr, {});
    fenster.resize(1000, 700);
    fenster.show();
    bool welleOhneBand = false;
    bool gezoomt = false;
    std::size_t bloecke = 0;
    QStringList phasen;
    ereignisse.beiEreignissen = [&] {
        if (!fenster.LiestGerade())
            return;
        if (!phasen.contains(fenster.Fortschritt->format()))
            phasen << fenster.Fortschritt->format();
        if (!fenster.Flaeche->Band()) {
            welleOhneBand = welleOhneBand || fenster.ButtonVergroessern->isEnabled();
            return;
        }
        bloecke = std::max(bloecke, fenster.Band().Bloecke().size());
        if (!gezoomt) {
            gezoomt = true;
            EXPECT_TRUE(fenster.ButtonVergroessern->isEnabled());
            EXPECT_EQ(fenster.Band().Huelle().Frames(), lang.frames);
            fenster.Flaeche->SetzeAusschnitt(1000.0, 60000.0);
        }
    };
    ASSERT_TRUE(fenster.LiesAufnahme(pfad));
    EXPECT_TRUE(gezoomt);
    EXPECT_FALSE(welleOhneBand);
    EXPECT_GE(bloecke, 2U);
    EXPECT_EQ(phasen, QStringList({HoleText(QStringLiteral("FormBandansicht_Fortschritt_Huelle")),
                                   HoleText(QStringLiteral("FormBandansicht_Fortschritt_Dekodierung"))}));
    EXPECT_DOUBLE_EQ(fenster.Flaeche->Ausschnitt().von, 1000.0);
    EXPECT_DOUBLE_EQ(fenster.Flaeche->Ausschnitt().bis, 60000.0);
    EXPECT_EQ(fenster.Katalog->topLevelItemCount(), 4);
    EXPECT_TRUE(ereignisse.Fehler().isEmpty());
}

// With the extended decoding the adaptive pass's pulses stand above the fixed pass's, in the
// colours of their classes and, on a clean recording, at least half as high as their strip; the
// level plot shows the square wave at half of full scale (-6 dB) and the silence before it at the
// foot.
TEST_F(BandansichtTest, AdaptiveImpulseUndPegelImBild) {
    SchreibeImportErweiterteDekodierung(true);
    const auto fenster = Fenster(Aufnahme());
    TBandFlaeche* f = fenster->Flaeche;
    const TBandBildFarben farben = TBandBildFarben::AusPalette(f->palette());
    const auto von = static_cast<double>(band.orte[0].kopf);
    f->SetzeAusschnitt(von, von + 100);
    QImage bild = f->Bild();
    const QRect streifen = TBandBild::AdaptiveImpulse(f->Flaeche());
    const auto spalte = [&](double frame) {
        return static_cast<int>(TBandBild::XBei(f->Flaeche(), f->Ausschnitt(), frame));
    };
    // The start bit long (21 frames), the first data bit short (11 frames).
    for (const int zeile : {streifen.bottom(), streifen.bottom() - streifen.height() / 2 + 1}) {
        EXPECT_EQ(bild.pixelColor(spalte(von + 10), zeile), farben.lang) << zeile;
        EXPECT_EQ(bild.pixelColor(spalte(von + 21 + 5), zeile), farben.kurz) << zeile;
    }
    // Beneath, the fixed pass's as before.
    const int fuss = TBandBild::FesteImpulse(f->Flaeche()).center().y();
    EXPECT_EQ(bild.pixelColor(spalte(von + 10), fuss), farben.lang);
    // The level: 20 log10(0.5) = -6 dB of 48 from the top of the plot.
    f->ZeigeAlles();
    bild = f->Bild();
    const QRect pegel = TBandBild::Pegel(f->Flaeche());
    const int inDerMitte = spalte(0.5 * (band.orte[0].kopf + band.orte[0].rumpf));
    const int halb = static_cast<int>(std::lround(TBandBild::PegelY(f->Flaeche(), 0.5)));
    EXPECT_LT(halb, pegel.top() + pegel.height() / 4);
    EXPECT_EQ(bild.pixelColor(inDerMitte, halb), farben.pegel);
    EXPECT_NE(bild.pixelColor(inDerMitte, pegel.bottom() - 4), farben.pegel);
    const int still = spalte(500.0);
    EXPECT_NE(bild.pixelColor(still, halb), farben.pegel);
    EXPECT_EQ(bild.pixelColor(still, static_cast<int>(std::lround(TBandBild::PegelY(f->Flaeche(), 0.0)))),
              farben.pegel);
}

} // namespace
