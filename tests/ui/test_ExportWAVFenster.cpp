#include "FormHauptUnit.h"
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// Header bits all 0 except the size 256 (0x0100); zero body: 40,622 pulses in the full format.
QByteArray NullMZF() {
    return NullBild(256).Bytes();
}

const char* const Menues[] = {"MenueHaupt_Datei", "MenueHaupt_ImportExport", "MenueHaupt_Extras",
                              "MenueHaupt_Hilfe"};

struct TZustand {
    bool beschaeftigt;
    bool menuesAn;
    bool panelAn;
    int balken;
    QString status;
};

class ExportWAVFensterTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSprache(true);
        SchreibeImportExportEinstellungen(MZ80K, false, 22050, false);
        verzeichnis = TestVerzeichnis();
        mzf = verzeichnis + QStringLiteral("/null.mzf");
        SchreibeDatei(mzf, NullMZF());
        fenster = std::make_unique<TFormHaupt>();
        fenster->show();
        ASSERT_TRUE(fenster->HoleDatei().Laden(mzf));
        fenster->AktualisiereAnzeige(true);
        skript.Leeren();
        skript.ereignisseVerarbeitet = 0;
    }
    void TearDown() override {
        fenster.reset();
        EinstellungenLeeren();
    }

    TZustand Zustand() const {
        bool menuesAn = true;
        for (const char* name : Menues)
            menuesAn = menuesAn && fenster->findChild<QMenu*>(QLatin1String(name))->menuAction()->isEnabled();
        return {fenster->IstBeschaeftigt(), menuesAn,
                fenster->findChild<QWidget*>(QStringLiteral("PanelMZFDatei"))->isEnabled(),
                fenster->findChild<QProgressBar*>(QStringLiteral("ProgressBarStatusLeiste"))->value(),
                fenster->findChild<QLabel*>(QStringLiteral("LabelStatusLeiste"))->text()};
    }
    // Runs `beobachter` after the window's own progress handler.
    void BeobachteFortschritt(std::function<void(double)> beobachter) {
        auto eigener = fenster->HoleDatei().BeiFortschritt;
        fenster->HoleDatei().BeiFortschritt = [eigener, beobachter](TMZFDatei* s, double p) {
            eigener(s, p);
            beobachter(p);
        };
    }
    void StarteExport(const QString& pfad) {
        skript.WaehleDatei(pfad);
        QAction* eintrag = fenster->findChild<QAction*>(QStringLiteral("MenueHaupt_ImportExport_ExportWAV"));
        ASSERT_NE(eintrag, nullptr);
        ASSERT_TRUE(eintrag->isEnabled());
        eintrag->trigger();
    }

    TPlattformSkript skript;
    std::unique_ptr<TFormHaupt> fenster;
    QString verzeichnis;
    QString mzf;
};

} // namespace

TEST_F(ExportWAVFensterTest, ExportThroughTheMenuShowsBusyStateAndLeavesIt) {
    std::vector<TZustand> waehrend;
    std::vector<int> ereignisseBeiFortschritt;
    BeobachteFortschritt([&](double) {
        waehrend.push_back(Zustand());
        ereignisseBeiFortschritt.push_back(skript.ereignisseVerarbeitet);
    });
    const QString wav = verzeichnis + QStringLiteral("/aus.wav");
    StarteExport(wav);

    ASSERT_EQ(skript.dialoge.size(), 1);
    EXPECT_TRUE(skript.dialoge[0].speichern);
    EXPECT_EQ(skript.dialoge[0].standardErweiterung, QStringLiteral("wav"));
    EXPECT_EQ(LiesVerzeichnisWAVDateien(), QDir(verzeichnis).absolutePath());
    // 846 x 21 + 39,776 x 11 pulse samples, two seconds of silence, the header.
    EXPECT_EQ(LiesDatei(wav).size(), 499446);
    EXPECT_TRUE(skript.nachrichten.isEmpty());

    // 40,622 pulses: progress after 10,000 ... 40,000, i.e. 24.6, 49.2, 73.9 and 98.5 percent.
    ASSERT_EQ(waehrend.size(), 4u);
    const int erwartet[] = {25, 49, 74, 98};
    for (std::size_t i = 0; i < waehrend.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(waehrend[i].beschaeftigt);
        EXPECT_FALSE(waehrend[i].menuesAn);
        EXPECT_FALSE(waehrend[i].panelAn);
        EXPECT_EQ(waehrend[i].balken, erwartet[i]);
        EXPECT_EQ(waehrend[i].status, QStringLiteral("Please wait"));
    }
    // Pending events are processed at the start and at every progress step.
    EXPECT_EQ(ereignisseBeiFortschritt, (std::vector<int>{2, 3, 4, 5}));

    const TZustand danach = Zustand();
    EXPECT_FALSE(danach.beschaeftigt);
    EXPECT_TRUE(danach.menuesAn);
    EXPECT_TRUE(danach.panelAn);
    EXPECT_EQ(danach.balken, 0);
    EXPECT_TRUE(danach.status.isEmpty());
    EXPECT_EQ(skript.sanduhrTiefe, 0);
    EXPECT_FALSE(fenster->HoleDatei().IstGeaendert());
}

TEST_F(ExportWAVFensterTest, ClosingDuringTheExportAsksTheBusyQuestion) {
    int gefragt = 0;
    BeobachteFortschritt([&](double) {
        if (gefragt++ > 0)
            return;
        skript.Antworte(TAntwort::Nein);
        EXPECT_FALSE(fenster->close());
    });
    const QString wav = verzeichnis + QStringLiteral("/zu.wav");
    StarteExport(wav);
    ASSERT_EQ(skript.nachrichten.size(), 1);
    EXPECT_TRUE(skript.nachrichten[0].frage);
    EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Warnung);
    EXPECT_FALSE(skript.nachrichten[0].mitAbbrechen);
    EXPECT_EQ(skript.nachrichten[0].text,
              QStringLiteral(
                  "Bandwerk is busy at the moment.\r\nIf the program will be terminated now, loss of data "
                  "can occur!\r\nDo you want to terminate Bandwerk now anyway?"));
    // Refused: the export ran to its end and the window stays.
    EXPECT_TRUE(fenster->isVisible());
    EXPECT_EQ(LiesDatei(wav).size(), 499446);
    EXPECT_FALSE(Zustand().beschaeftigt);
}

TEST_F(ExportWAVFensterTest, FailedExportAlsoLeavesTheBusyState) {
    const QString wav = verzeichnis + QStringLiteral("/fehlt/x.wav");
    StarteExport(wav);
    ASSERT_EQ(skript.Fehler().size(), 1);
    EXPECT_TRUE(skript.Fehler()[0].startsWith(QStringLiteral("Error writing the file ") + wav));
    const TZustand danach = Zustand();
    EXPECT_FALSE(danach.beschaeftigt);
    EXPECT_TRUE(danach.menuesAn);
    EXPECT_TRUE(danach.panelAn);
    EXPECT_TRUE(danach.status.isEmpty());
    EXPECT_EQ(skript.sanduhrTiefe, 0);
}
