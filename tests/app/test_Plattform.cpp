#include "Plattform.h"
#include "PlattformKonsole.h"
#include "PlattformSkript.h"

#include <QRegularExpression>
#include <QTemporaryFile>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <unistd.h>

namespace {
// Runs `aktion` with file descriptor 2 redirected into a temporary file and returns what arrived.
QByteArray FangeStandardfehler(const std::function<void()>& aktion) {
    QTemporaryFile datei;
    if (!datei.open())
        return "<no temporary file>";
    std::fflush(stderr);
    const int vorher = dup(2);
    dup2(datei.handle(), 2);
    aktion();
    std::fflush(stderr);
    dup2(vorher, 2);
    close(vorher);
    datei.seek(0);
    return datei.readAll();
}

bool Passt(const QString& qtFilter, const QString& dateiName) {
    // Patterns stand in the last parentheses, separated by blanks.
    const auto treffer = QRegularExpression(QStringLiteral("\\(([^()]*)\\)$")).match(qtFilter);
    if (!treffer.hasMatch())
        return false;
    for (const QString& muster : treffer.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(muster));
        if (re.match(dateiName).hasMatch())
            return true;
    }
    return false;
}
} // namespace

TEST(PlattformKonsole, NachrichtenGehenNachStandardfehlerMitUnixZeilen) {
    TPlattformKonsole konsole;
    const QByteArray ausgabe = FangeStandardfehler([&] {
        konsole.ZeigeNachricht(TNachrichtArt::Fehler, QStringLiteral("Fehler beim Lesen\r\nZeile 2 äöü"));
    });
    EXPECT_EQ(ausgabe, QByteArray("Fehler beim Lesen\nZeile 2 \xc3\xa4\xc3\xb6\xc3\xbc\n"));
}

TEST(PlattformKonsole, FragenWerdenMitNeinBeantwortet) {
    TPlattformKonsole konsole;
    TAntwort mitAbbrechen = TAntwort::Ja;
    TAntwort ohneAbbrechen = TAntwort::Ja;
    TAntwort bestaetigung = TAntwort::Ja;
    const QByteArray ausgabe = FangeStandardfehler([&] {
        mitAbbrechen = konsole.Frage(TNachrichtArt::Warnung, QStringLiteral("Speichern?"), true);
        ohneAbbrechen = konsole.Frage(TNachrichtArt::Warnung, QStringLiteral("Weiter?"), false);
        bestaetigung = konsole.Frage(TNachrichtArt::Bestaetigung, QStringLiteral("Einverstanden?"), false);
    });
    EXPECT_EQ(mitAbbrechen, TAntwort::Nein);
    EXPECT_EQ(ohneAbbrechen, TAntwort::Nein);
    EXPECT_EQ(bestaetigung, TAntwort::Nein);
    // The question itself is still shown, so that a log tells why the CLI declined.
    EXPECT_EQ(ausgabe, QByteArray("Speichern?\nWeiter?\nEinverstanden?\n"));
}

TEST(PlattformKonsole, KeinDateiDialog) {
    TPlattformKonsole konsole;
    TDateiDialog dialog;
    dialog.titel = QStringLiteral("Open");
    EXPECT_FALSE(konsole.DateiDialogZeigen(dialog).has_value());
}

TEST(PlattformKonsole, OhneInstallierteBindungDientDieKonsole) {
    TPlattform* vorher = SetzePlattform(nullptr);
    EXPECT_NE(dynamic_cast<TPlattformKonsole*>(&Plattform()), nullptr);
    const QByteArray ausgabe = FangeStandardfehler([] { ZeigeInfo(QStringLiteral("Hallo")); });
    EXPECT_EQ(ausgabe, QByteArray("Hallo\n"));
    SetzePlattform(vorher);
}

TEST(PlattformSkript, AntwortenInReihenfolgeUndProtokoll) {
    TPlattformSkript skript;
    skript.Antworte(TAntwort::Ja);
    skript.Antworte(TAntwort::Abbrechen);
    skript.Antworte(TAntwort::Nein);
    ZeigeFehler(QStringLiteral("kaputt"));
    EXPECT_EQ(FrageWarnung(QStringLiteral("w1"), true), TAntwort::Ja);
    ZeigeInfo(QStringLiteral("info"));
    EXPECT_EQ(FrageWarnung(QStringLiteral("w2"), true), TAntwort::Abbrechen);
    EXPECT_EQ(FrageBestaetigung(QStringLiteral("b")), TAntwort::Nein);

    ASSERT_EQ(skript.nachrichten.size(), 5);
    EXPECT_EQ(skript.Texte(), QStringList({"kaputt", "w1", "info", "w2", "b"}));
    EXPECT_EQ(skript.Fehler(), QStringList({"kaputt"}));
    EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Fehler);
    EXPECT_FALSE(skript.nachrichten[0].frage);
    EXPECT_EQ(skript.nachrichten[1].art, TNachrichtArt::Warnung);
    EXPECT_TRUE(skript.nachrichten[1].frage);
    EXPECT_TRUE(skript.nachrichten[1].mitAbbrechen);
    EXPECT_EQ(skript.nachrichten[2].art, TNachrichtArt::Information);
    EXPECT_EQ(skript.nachrichten[4].art, TNachrichtArt::Bestaetigung);
    EXPECT_FALSE(skript.nachrichten[4].mitAbbrechen);
}

TEST(PlattformSkript, DateiDialogeNehmenVorgemerktePfade) {
    TPlattformSkript skript;
    skript.WaehleDatei(QStringLiteral("/tmp/a.mzf"));
    skript.BrichDateiDialogAb();
    TDateiDialog dialog;
    dialog.titel = QStringLiteral("Open MZF");
    dialog.standardErweiterung = QStringLiteral("mzf");
    EXPECT_EQ(Plattform().DateiDialogZeigen(dialog), std::optional<QString>(QStringLiteral("/tmp/a.mzf")));
    EXPECT_EQ(Plattform().DateiDialogZeigen(dialog), std::nullopt);
    ASSERT_EQ(skript.dialoge.size(), 2);
    EXPECT_EQ(skript.dialoge[0].titel, QStringLiteral("Open MZF"));
    EXPECT_EQ(skript.dialoge[1].standardErweiterung, QStringLiteral("mzf"));
}

TEST(PlattformSkript, InstalliertSichUndStelltDieVorherigeBindungWiederHer) {
    TPlattform* aussen = &Plattform();
    {
        TPlattformSkript skript;
        EXPECT_EQ(&Plattform(), &skript);
        {
            TPlattformSkript innen;
            EXPECT_EQ(&Plattform(), &innen);
        }
        EXPECT_EQ(&Plattform(), &skript);
    }
    EXPECT_EQ(&Plattform(), aussen);
}

TEST(PlattformSkript, SanduhrWirdAufJedemWegZurueckgesetzt) {
    TPlattformSkript skript;
    {
        TSanduhr aussen;
        EXPECT_EQ(skript.sanduhrTiefe, 1);
        {
            TSanduhr innen;
            EXPECT_EQ(skript.sanduhrTiefe, 2);
        }
        EXPECT_EQ(skript.sanduhrTiefe, 1);
    }
    EXPECT_EQ(skript.sanduhrTiefe, 0);

    const auto frueheRueckkehr = [](bool frueh) {
        TSanduhr sanduhr;
        if (frueh)
            return 1;
        return 2;
    };
    EXPECT_EQ(frueheRueckkehr(true), 1);
    EXPECT_EQ(skript.sanduhrTiefe, 0);

    EXPECT_THROW(
        {
            TSanduhr sanduhr;
            throw std::runtime_error("Abbruch");
        },
        std::runtime_error);
    EXPECT_EQ(skript.sanduhrTiefe, 0);
    EXPECT_EQ(skript.sanduhrAnzahl, 4);
}

TEST(PlattformSkript, BeendeSofortWirdSichtbar) {
    TPlattformSkript skript;
    try {
        Plattform().BeendeSofort(3);
        FAIL() << "BeendeSofort returned";
    } catch (const TProzessBeendet& e) {
        EXPECT_EQ(e.status, 3);
    }
}

TEST(QtDateiFilter, KatalogFilterWirdZuQtFiltern) {
    const QStringList filter =
        QtDateiFilter(QStringLiteral("MZF-files (*.mzf)|*.mzf|M12-files (*.m12)|*.m12|All files (*.*)|*.*"));
    ASSERT_EQ(filter.size(), 3);
    EXPECT_TRUE(filter[0].startsWith(QStringLiteral("MZF-files")));
    EXPECT_TRUE(filter[1].startsWith(QStringLiteral("M12-files")));
    EXPECT_TRUE(filter[2].startsWith(QStringLiteral("All files")));

    // Name patterns match regardless of case.
    EXPECT_TRUE(Passt(filter[0], QStringLiteral("GAME.MZF")));
    EXPECT_TRUE(Passt(filter[0], QStringLiteral("game.mzf")));
    EXPECT_FALSE(Passt(filter[0], QStringLiteral("game.m12")));
    EXPECT_FALSE(Passt(filter[0], QStringLiteral("game.mzt")));
    EXPECT_TRUE(Passt(filter[1], QStringLiteral("GAME.M12")));
    EXPECT_TRUE(Passt(filter[1], QStringLiteral("game.m12")));
    EXPECT_FALSE(Passt(filter[1], QStringLiteral("game.mzf")));

    // "*.*" stands for every file, also one without an extension.
    EXPECT_TRUE(filter[2].endsWith(QStringLiteral("(*)")));
    EXPECT_TRUE(Passt(filter[2], QStringLiteral("README")));
    EXPECT_TRUE(Passt(filter[2], QStringLiteral("game.wav")));
}

TEST(QtDateiFilter, MehrereMusterUndRandfaelle) {
    const QStringList filter = QtDateiFilter(QStringLiteral("Tape files|*.mzf;*.mzt"));
    ASSERT_EQ(filter.size(), 1);
    EXPECT_TRUE(Passt(filter[0], QStringLiteral("A.MZT")));
    EXPECT_TRUE(Passt(filter[0], QStringLiteral("a.mzf")));
    EXPECT_FALSE(Passt(filter[0], QStringLiteral("a.wav")));

    EXPECT_TRUE(QtDateiFilter(QString()).isEmpty());
    // A description without a pattern is dropped rather than offered without a filter.
    EXPECT_EQ(QtDateiFilter(QStringLiteral("WAV-files (*.wav)|*.wav|Orphan")).size(), 1);
}
