#include "Zeilenumbruch.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <random>

namespace {

struct TFall {
    const char* was;
    QString text;
    int spalten;
    QString erwartet; // worked out by hand, column by column
};

TEST(Zeilenumbruch, FaelleVonHand) {
    const QString a80 = QString(78, QLatin1Char('a'));
    const TFall faelle[] = {
        {"short line", QStringLiteral("aaa bbb"), 80, QStringLiteral("aaa bbb")},
        {"cut after the last blank, which stays", QStringLiteral("aaa bbb ccc ddd"), 10,
         QStringLiteral("aaa bbb \r\nccc ddd")},
        {"hyphen and blank are break points", QStringLiteral("abc-defgh ij"), 6,
         QStringLiteral("abc-\r\ndefgh \r\nij")},
        {"a quoted passage is never cut", QStringLiteral("ab \"cd ef gh\" ij"), 6,
         QStringLiteral("ab \r\n\"cd ef gh\" \r\nij")},
        {"single quotes too", QStringLiteral("ab 'cd ef gh' ij"), 6,
         QStringLiteral("ab \r\n'cd ef gh' \r\nij")},
        {"existing breaks and empty lines stay", QStringLiteral("abc\r\n\r\ndef"), 80,
         QStringLiteral("abc\r\n\r\ndef")},
        {"a line without a break point stays long", QString(12, QLatin1Char('a')), 6,
         QString(12, QLatin1Char('a'))},
        {"blanks after the cut begin the next line", QStringLiteral("aaaa   bb"), 5,
         QStringLiteral("aaaa \r\n  bb")},
        {"a single last character stays on the line", QStringLiteral("aaa b"), 4, QStringLiteral("aaa b")},
        {"a lone CR is no line break", QStringLiteral("aa\rbb cc"), 5, QStringLiteral("aa\rbb \r\ncc")},
        {"80 columns", a80 + QStringLiteral(" bb cc"), 80, a80 + QStringLiteral(" \r\nbb cc")},
    };
    for (const TFall& fall : faelle)
        EXPECT_EQ(BrichZeilenUm(fall.text, fall.spalten), fall.erwartet) << fall.was;
}

TEST(Zeilenumbruch, NichtsGehtVerloren) {
    // Random texts of words, blanks, hyphens, quotes and line ends.
    const QStringList teile = {QStringLiteral("wort"), QStringLiteral("x"),
                               QStringLiteral(" "),    QStringLiteral("  "),
                               QStringLiteral("-"),    QStringLiteral("\r\n"),
                               QStringLiteral("\""),   QStringLiteral("langeswortohnepause"),
                               QStringLiteral("\t")};
    std::mt19937 zufall(80);
    for (int fall = 0; fall < 500; ++fall) {
        QString text;
        const int anzahl = static_cast<int>(zufall() % 200);
        for (int i = 0; i < anzahl; ++i)
            text += teile[static_cast<qsizetype>(zufall() % teile.size())];
        const QString gebrochen = BrichZeilenUm(text, 20);
        // Taking the inserted line ends out gives the text back.
        QString ohne = gebrochen;
        QString ohneOriginal = text;
        ohne.remove(QStringLiteral("\r\n"));
        ohneOriginal.remove(QStringLiteral("\r\n"));
        ASSERT_EQ(ohne, ohneOriginal) << "case " << fall;
    }
}

} // namespace
