// The settings file written by the program itself must be the file QSettings would write: QSettings
// is the oracle, writing the same values into a copy of the same file.
#include "EinstellungsDatei.h"
#include "TestUmgebung.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {
const QString Gruppe = QStringLiteral("V2.4");

// What QSettings makes of `vorher` when it sets `werte` in `gruppe`.
QByteArray QtSchreibt(const QByteArray& vorher, const TEinstellungsWerte& werte,
                      const QString& gruppe = Gruppe) {
    const QString pfad = TestVerzeichnis() + QStringLiteral("/qt.ini");
    SchreibeDatei(pfad, vorher);
    {
        QSettings s(pfad, QSettings::IniFormat);
        s.beginGroup(gruppe);
        for (const auto& [name, wert] : werte)
            s.setValue(name, wert);
        s.endGroup();
        s.sync();
        EXPECT_EQ(s.status(), QSettings::NoError);
    }
    return LiesDatei(pfad);
}

// What QSettings reads from `inhalt`.
QVariant QtLiest(const QByteArray& inhalt, const QString& name) {
    const QString pfad = TestVerzeichnis() + QStringLiteral("/gelesen.ini");
    SchreibeDatei(pfad, inhalt);
    return QSettings(pfad, QSettings::IniFormat).value(Gruppe + QLatin1Char('/') + name);
}

TEST(EinstellungsDatei, TexteUndZahlenWieQSettingsSieSchreibt) {
    const QString texte[] = {
        QString(),
        QStringLiteral("D"),
        QStringLiteral("MZ-700"),
        QStringLiteral("/home/anna/MZ Spiele/band 1"),
        QStringLiteral("C:\\mz\\spiele"),
        QStringLiteral(" vorne"),
        QStringLiteral("hinten "),
        QStringLiteral("a,b"),
        QStringLiteral("a;b"),
        QStringLiteral("a=b"),
        QStringLiteral("mit \"Anf\u00fchrung\""),
        QStringLiteral("@Variant(x)"),
        QStringLiteral("@"),
        QStringLiteral("#kein Kommentar"),
        QStringLiteral("Tab\tZeile\nWagen\rGlocke\aRueck\bSeite\fVert\v"),
        QString::fromUtf16(u"Steuer\u0001Ziffer\u00011a"),
        QString::fromUtf16(u"Null\u0000"
                           u"5 folgt",
                           12),
        QStringLiteral("Umlaute \u00e4\u00f6\u00fc\u00df \u20ac"),
        QString::fromUtf16(u"Ende \U0001F600 Bild"),
        QString::fromUtf16(u"Loeschen \u007f"),
        QStringLiteral("/pfad/mit/%25/und/%"),
    };
    for (const QString& text : texte) {
        const TEinstellungsWerte werte{{QStringLiteral("Wert"), text}};
        const QByteArray unsere = SetzeIniWerte({}, Gruppe, werte);
        EXPECT_EQ(unsere, QtSchreibt({}, werte)) << text.toStdString();
        EXPECT_EQ(QtLiest(unsere, QStringLiteral("Wert")).toString(), text) << text.toStdString();
    }
    for (const int zahl : {0, 1, -1, 22050, 65535, 2147483647, -2147483647 - 1}) {
        const TEinstellungsWerte werte{{QStringLiteral("Zahl"), zahl}};
        const QByteArray unsere = SetzeIniWerte({}, Gruppe, werte);
        EXPECT_EQ(unsere, QtSchreibt({}, werte)) << zahl;
        EXPECT_EQ(QtLiest(unsere, QStringLiteral("Zahl")).toInt(), zahl);
    }
}

// Files as QSettings left them, changed by both: the result is the same byte for byte.
TEST(EinstellungsDatei, AendernWieQSettings) {
    const QByteArray nurUnsere =
        QtSchreibt({}, {{QStringLiteral("HaftungsAusschlussAkzeptiert"), 1},
                        {QStringLiteral("Sprache"), QStringLiteral("E")},
                        {QStringLiteral("VerzeichnisWAVDateien"), QStringLiteral("/b")}});
    const QByteArray mitAnderen = QtSchreibt(
        QtSchreibt(nurUnsere, {{QStringLiteral("Fenster"), QStringLiteral("x, y")}}, QStringLiteral("V3.0")),
        {{QStringLiteral("Alt"), 7}}, QStringLiteral("Aaa"));
    const QByteArray nurAndere = QtSchreibt({}, {{QStringLiteral("Wert"), 2}}, QStringLiteral("Andere"));
    const struct {
        const char* fall;
        QByteArray vorher;
        TEinstellungsWerte werte;
    } faelle[] = {
        {"leere Datei",
         {},
         {{QStringLiteral("Sprache"), QStringLiteral("D")}, {QStringLiteral("FormHauptXPos"), 3}}},
        {"ersetzen", nurUnsere, {{QStringLiteral("Sprache"), QStringLiteral("D")}}},
        {"davor", nurUnsere, {{QStringLiteral("ExportWAVSampleRate"), 44100}}},
        {"dazwischen", nurUnsere, {{QStringLiteral("ImportExportMZModell"), QStringLiteral("MZ-800")}}},
        {"dahinter", nurUnsere, {{QStringLiteral("VerzeichnisZ"), QStringLiteral("/z")}}},
        {"gross vor klein", nurUnsere, {{QStringLiteral("sprache"), QStringLiteral("x")}}},
        {"alles zugleich",
         nurUnsere,
         {{QStringLiteral("VerzeichnisMZFDateien"), QStringLiteral("/a, b")},
          {QStringLiteral("Sprache"), QStringLiteral("E")},
          {QStringLiteral("ExportWAVInvertiertePolaritaet"), 0},
          {QStringLiteral("ZZ"), 1}}},
        {"andere Gruppen bleiben",
         mitAnderen,
         {{QStringLiteral("Sprache"), QStringLiteral("D")}, {QStringLiteral("FormHauptYPos"), -20}}},
        {"Gruppe kommt dazu", nurAndere, {{QStringLiteral("Sprache"), QStringLiteral("E")}}},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(SetzeIniWerte(f.vorher, Gruppe, f.werte), QtSchreibt(f.vorher, f.werte)) << f.fall;
}

// A file edited by hand keeps every byte that is not one of the values set: comments, CR LF line
// ends, a last line without a line end, a quoted value running over two lines.
TEST(EinstellungsDatei, VonHandGeschriebenesBleibt) {
    const QByteArray vorher = "; meine Einstellungen\r\n"
                              "[V2.4]\r\n"
                              "Sprache = D\r\n"
                              "Notiz=\"zwei\r\nSprache=Zeilen\"\r\n"
                              "  ; Kommentar\r\n"
                              "VerzeichnisMZFDateien=/a\\\r\nb\r\n"
                              "\r\n"
                              "[Andere]\r\n"
                              "Sprache=X";
    const QByteArray nachher = SetzeIniWerte(vorher, Gruppe,
                                             {{QStringLiteral("Sprache"), QStringLiteral("E")},
                                              {QStringLiteral("VerzeichnisMZFDateien"), QStringLiteral("/c")},
                                              {QStringLiteral("FormHauptXPos"), 5}});
    EXPECT_EQ(nachher, QByteArray("; meine Einstellungen\r\n"
                                  "[V2.4]\r\n"
                                  "FormHauptXPos=5\n"
                                  "Sprache=E\r\n"
                                  "Notiz=\"zwei\r\nSprache=Zeilen\"\r\n"
                                  "  ; Kommentar\r\n"
                                  "VerzeichnisMZFDateien=/c\r\n"
                                  "\r\n"
                                  "[Andere]\r\n"
                                  "Sprache=X"));
    EXPECT_EQ(QtLiest(nachher, QStringLiteral("Notiz")).toString(), QStringLiteral("zwei\r\nSprache=Zeilen"));
    EXPECT_EQ(QtLiest(nachher, QStringLiteral("VerzeichnisMZFDateien")).toString(), QStringLiteral("/c"));

    // The group as the last line, without a line end.
    EXPECT_EQ(SetzeIniWerte("[V2.4]", Gruppe, {{QStringLiteral("A"), 1}}), QByteArray("[V2.4]\nA=1\n"));
    EXPECT_EQ(SetzeIniWerte("[X]\nB=2", Gruppe, {{QStringLiteral("A"), 1}}),
              QByteArray("[X]\nB=2\n\n[V2.4]\nA=1\n"));
}

TEST(EinstellungsDatei, SchreibtGanzOderGarNicht) {
    const QString ordner = TestVerzeichnis();
    const QString pfad = ordner + QStringLiteral("/x.conf");
    QString fehler;
    ASSERT_TRUE(SchreibeDateiGanz(pfad, "[V2.4]\nSprache=E\n", fehler)) << fehler.toStdString();
    EXPECT_EQ(LiesDatei(pfad), QByteArray("[V2.4]\nSprache=E\n"));
    // A folder in place of the file's folder: the system's reason, nothing written.
    SchreibeDatei(ordner + QStringLiteral("/datei"), "kein Ordner");
    EXPECT_FALSE(SchreibeDateiGanz(ordner + QStringLiteral("/datei/x.conf"), "z", fehler));
    EXPECT_EQ(fehler, QStringLiteral("Not a directory"));
    EXPECT_EQ(LiesDatei(ordner + QStringLiteral("/datei")), QByteArray("kein Ordner"));
    EXPECT_EQ(DateienIn(ordner), (QStringList{QStringLiteral("datei"), QStringLiteral("x.conf")}));
}
} // namespace
