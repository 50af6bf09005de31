// The steps of the entry sequence that run without an application of their own: module start-up,
// the disclaimer, the two last-resort messages.
#include "FormHauptUnit.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "Start.h"
#include "TestUmgebung.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
const QString Frage = QStringLiteral("Disclaimer:\r\nThe author of this program (Feldmark) is NOT liable for "
                                     "any kind of damage in connection with "
                                     "this program.\r\nHe also does NOT guarantee anything in connection "
                                     "with this program.\r\n\r\nDo you agree "
                                     "with this?");
const QString NichtAkzeptiert =
    QStringLiteral("Sorry, but you must not use this program, if you don't agree with "
                   "the disclaimer!\r\n\r\nTherefore the program ends now.");

class Start : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        TestSprache(true);
    }
    TPlattformSkript skript;
};

TEST_F(Start, HaftungsausschlussAngenommenWirdNieWiederGefragt) {
    skript.Antworte(TAntwort::Ja);
    EXPECT_TRUE(HaftungsAusschlussAbfragen());
    ASSERT_EQ(skript.nachrichten.size(), 1);
    EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Bestaetigung);
    EXPECT_TRUE(skript.nachrichten[0].frage);
    EXPECT_EQ(skript.nachrichten[0].text, Frage);
    EXPECT_TRUE(LiesHaftungsAusschlussAkzeptiert());
    // Second start: no question at all (an unexpected one would fail the test).
    EXPECT_TRUE(HaftungsAusschlussAbfragen());
    EXPECT_EQ(skript.nachrichten.size(), 1);
}

TEST_F(Start, HaftungsausschlussAbgelehntEndetUndFragtBeimNaechstenStartWieder) {
    skript.Antworte(TAntwort::Nein);
    EXPECT_FALSE(HaftungsAusschlussAbfragen());
    ASSERT_EQ(skript.nachrichten.size(), 2);
    EXPECT_EQ(skript.nachrichten[1].art, TNachrichtArt::Information);
    EXPECT_EQ(skript.nachrichten[1].text, NichtAkzeptiert);
    EXPECT_FALSE(LiesHaftungsAusschlussAkzeptiert());
    skript.Antworte(TAntwort::Abbrechen); // a closed box is no Yes either
    EXPECT_FALSE(HaftungsAusschlussAbfragen());
    EXPECT_EQ(skript.nachrichten.size(), 4);
    EXPECT_EQ(skript.nachrichten[2].text, Frage);
}

TEST_F(Start, HaftungsausschlussAufDeutsch) {
    TestSprache(false);
    skript.Antworte(TAntwort::Nein);
    EXPECT_FALSE(HaftungsAusschlussAbfragen());
    EXPECT_TRUE(skript.nachrichten[0].text.startsWith(QStringLiteral("Haftungsausschluss:\r\nDer Autor")));
    EXPECT_TRUE(skript.nachrichten[0].text.endsWith(QStringLiteral("\r\n\r\nSind Sie damit einverstanden?")));
    EXPECT_TRUE(skript.nachrichten[1].text.startsWith(QStringLiteral("Leider dürfen Sie")));
}

TEST_F(Start, FesteZweisprachigeTexte) {
    EXPECT_EQ(
        StartFehlerText(QStringLiteral("boom")),
        QStringLiteral("An error occured during the start of the application!\r\nEs ist ein Fehler beim "
                       "Starten der Anwendung aufgetreten!\r\n\r\nError-description / Fehlerbeschreibung: "
                       "\r\nboom"));
    EXPECT_EQ(
        LaufzeitFehlerText(QStringLiteral("boom")),
        QStringLiteral("An application-error occured!\r\nEs ist ein Anwendungs-Fehler aufgetreten!\r\n\r\n"
                       "Error-description / Fehlerbeschreibung: \r\nboom"));
    EXPECT_EQ(AusnahmeText(TEinstellungenFehler()), SpeicherFehlerText());
    EXPECT_EQ(AusnahmeText(std::runtime_error("kaputt")), QStringLiteral("kaputt"));
}

TEST_F(Start, StartFehlerMeldetUndEndetSofort) {
    try {
        StartAbbrechen(AusnahmeText(TEinstellungenFehler()));
        ADD_FAILURE() << "the process should have ended";
    } catch (const TProzessBeendet& ende) {
        EXPECT_NE(ende.status, 0);
    }
    ASSERT_EQ(skript.nachrichten.size(), 1);
    EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Fehler);
    EXPECT_EQ(skript.nachrichten[0].text, StartFehlerText(SpeicherFehlerText()));
}

TEST_F(Start, LaufzeitFehlerMeldetUndBeendetDieSchleife) {
    // The handler asks the loop to end: a loop started afterwards returns at once.
    QTimer sicherung;
    sicherung.setSingleShot(true);
    QObject::connect(&sicherung, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    sicherung.start(5000);
    BehandleException(QStringLiteral("kaputt"));
    EXPECT_NE(QCoreApplication::exec(), 99);
    ASSERT_EQ(skript.nachrichten.size(), 1);
    EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Fehler);
    EXPECT_EQ(skript.nachrichten[0].text, LaufzeitFehlerText(QStringLiteral("kaputt")));
}

TEST_F(Start, AusnahmeAusEinemEreignisWirdGemeldet) {
    EXPECT_TRUE(BehandleAusnahmenVon([] { return true; }));
    EXPECT_TRUE(skript.nachrichten.isEmpty());
    EXPECT_FALSE(BehandleAusnahmenVon([]() -> bool { throw TEinstellungenFehler(); }));
    EXPECT_FALSE(BehandleAusnahmenVon([]() -> bool { throw 42; }));
    ASSERT_EQ(skript.Fehler().size(), 2);
    EXPECT_EQ(skript.Fehler()[0], LaufzeitFehlerText(SpeicherFehlerText()));
    EXPECT_TRUE(skript.Fehler()[1].startsWith(LaufzeitFehlerText(QString())));
    // Both asked the loop to end: a loop started now returns at once.
    QTimer sicherung;
    sicherung.setSingleShot(true);
    QObject::connect(&sicherung, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    sicherung.start(5000);
    EXPECT_NE(QCoreApplication::exec(), 99);
}

// The desktop program's command line. Qt's own options are still in the list when --help and
// --version are looked for (before the application object exists): they must not be mistaken
// for ours (-reverse is no -v) nor hide ours.
struct TStartFall {
    QStringList argumente; // after the program's name
    bool hilfe;
    bool version;
    QStringList dateien;
    QString unbekannt; // the option named in the error, or empty
};

const TStartFall StartFaelle[] = {
    {{}, false, false, {}, {}},
    {{QStringLiteral("game.mzf")}, false, false, {QStringLiteral("game.mzf")}, {}},
    {{QStringLiteral("a.mzf"), QStringLiteral("b.mzf")},
     false,
     false,
     {QStringLiteral("a.mzf"), QStringLiteral("b.mzf")},
     {}},
    {{QStringLiteral("--help")}, true, false, {}, {}},
    {{QStringLiteral("-h")}, true, false, {}, {}},
    {{QStringLiteral("--version")}, false, true, {}, {}},
    {{QStringLiteral("-v")}, false, true, {}, {}},
    {{QStringLiteral("game.mzf"), QStringLiteral("--version")},
     false,
     true,
     {QStringLiteral("game.mzf")},
     {}},
    {{QStringLiteral("-reverse")}, false, false, {}, QStringLiteral("reverse")},
    {{QStringLiteral("-stylesheet"), QStringLiteral("x.qss")},
     false,
     false,
     {QStringLiteral("x.qss")},
     QStringLiteral("stylesheet")},
    {{QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--help")},
     true,
     false,
     {QStringLiteral("offscreen")},
     QStringLiteral("platform")},
    {{QStringLiteral("--"), QStringLiteral("--help")}, false, false, {QStringLiteral("--help")}, {}},
    {{QStringLiteral("--bogus"), QStringLiteral("game.mzf")},
     false,
     false,
     {QStringLiteral("game.mzf")},
     QStringLiteral("bogus")},
};

TEST(StartAufruf, OptionenUndDateien) {
    for (const TStartFall& fall : StartFaelle) {
        SCOPED_TRACE(fall.argumente.join(QLatin1Char(' ')).toStdString());
        const TStartAufruf aufruf =
            ZerlegeStartAufruf(QStringList{QStringLiteral("bandwerk")} + fall.argumente);
        EXPECT_EQ(aufruf.hilfe, fall.hilfe);
        EXPECT_EQ(aufruf.version, fall.version);
        EXPECT_EQ(aufruf.dateien, fall.dateien);
        if (fall.unbekannt.isEmpty())
            EXPECT_TRUE(aufruf.fehler.isEmpty()) << aufruf.fehler.toStdString();
        else
            EXPECT_TRUE(aufruf.fehler.contains(QLatin1Char('\'') + fall.unbekannt + QLatin1Char('\'')))
                << aufruf.fehler.toStdString();
    }
}

TEST(StartAufruf, HilfeUndVersion) {
    const QString hilfe = StartHilfeText();
    EXPECT_TRUE(hilfe.startsWith(QStringLiteral("Usage: "))) << hilfe.toStdString();
    EXPECT_TRUE(hilfe.contains(QStringLiteral("[options] [FILE]")));
    EXPECT_TRUE(hilfe.contains(QStringLiteral("-h, --help")));
    EXPECT_TRUE(hilfe.contains(QStringLiteral("-v, --version")));
    EXPECT_EQ(StartVersionText(), QStringLiteral("Bandwerk 2.4"));
}

TEST_F(Start, ModuleStartenLaedtDieGespeicherteSprache) {
    SchreibeSprache(false);
    ModuleStarten();
    EXPECT_EQ(HoleText(QStringLiteral("MenueHaupt_Datei")), QStringLiteral("&Datei"));
    SchreibeSprache(true);
    ModuleStarten();
    EXPECT_EQ(HoleText(QStringLiteral("MenueHaupt_Datei")), QStringLiteral("&File"));
    EXPECT_EQ(TextTabelleInhalt().size(), AnzahlTextSchluessel);
}
} // namespace
