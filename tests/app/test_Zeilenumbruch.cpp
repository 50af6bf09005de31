// The word wrap of saved text files, worked out by hand on short widths and on the real one.
#include "Zeilenumbruch.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <vector>

namespace {
struct TFall {
    const char* name;
    const char* text;
    int spalten;
    const char* erwartet;
};

QString Sichtbar(const QString& text) {
    return QString(text)
        .replace(QStringLiteral("\r"), QStringLiteral("<CR>"))
        .replace(QStringLiteral("\n"), QStringLiteral("<LF>"));
}

void PruefeFaelle(std::initializer_list<TFall> faelle) {
    for (const TFall& f : faelle) {
        const QString ergebnis = BrichZeilenUm(QString::fromUtf8(f.text), f.spalten);
        EXPECT_EQ(Sichtbar(ergebnis).toStdString(), Sichtbar(QString::fromUtf8(f.erwartet)).toStdString())
            << f.name;
    }
}
} // namespace

TEST(Zeilenumbruch, SchneidetNachDemLetztenTrennerVorDerGrenze) {
    PruefeFaelle({
        {"empty", "", 10, ""},
        {"short line untouched", "abc def", 10, "abc def"},
        {"blank stays at the end of the line", "aaaa bbbb cccc", 10, "aaaa bbbb \r\ncccc"},
        {"hyphen stays at the end of the line", "abc-defgh-ijk", 8, "abc-\r\ndefgh-\r\nijk"},
        {"tab is a break point", "ab\tcdef", 4, "ab\t\r\ncdef"},
        {"line without a break point stays long", "abcdefghijkl", 5, "abcdefghijkl"},
        // A single character after the cut still goes to a line of its own.
        {"one character after the cut", "aaaa b", 4, "aaaa \r\nb"},
        // A cut at the very end adds no line end: the text fits up to its last column.
        {"last character on the last column", "aaa b", 5, "aaa b"},
        {"one column too many", "aaa bb", 5, "aaa \r\nbb"},
        {"trailing blanks get no line end", "aaaa    ", 4, "aaaa    "},
    });
}

TEST(Zeilenumbruch, VorhandeneUmbruecheBleibenUndBeginnenNeuZuZaehlen) {
    PruefeFaelle({
        {"existing break resets the column", "ab cd\r\nef gh ij", 6, "ab cd\r\nef gh \r\nij"},
        {"existing break after a cut", "aaaa bb\r\ncc", 5, "aaaa \r\nbb\r\ncc"},
        {"empty lines stay", "a\r\n\r\n\r\nb", 80, "a\r\n\r\n\r\nb"},
        // A lone CR is no line break and no break point.
        {"lone CR", "ab\rcd ef", 4, "ab\rcd \r\nef"},
        {"lone LF", "ab\ncd ef", 4, "ab\ncd \r\nef"},
    });
}

TEST(Zeilenumbruch, WasNachDemSchnittFolgtGehtNichtVerloren) {
    PruefeFaelle({
        // The blanks after the cut open the next line; they are no break points there.
        {"blanks carried over", "aaaa   bbbb", 5, "aaaa \r\n  bbbb"},
        // A line end passed over after a cut is kept, behind the inserted one.
        {"line end passed over", "aaaa \r\nbb", 4, "aaaa \r\n\r\nbb"},
        {"hyphens passed over", "aaaa --bb", 4, "aaaa \r\n--bb"},
        // The blank after "a" is passed over at the first cut, yet it stands in the second line
        // and takes a column there, so that line is cut in time as well.
        {"passed-over blank takes its column", "aa a a a", 4, "aa \r\na a \r\na"},
        {"count starts anew after a line end passed over", "aaaa \r\nbbb c", 4, "aaaa \r\n\r\nbbb \r\nc"},
    });
}

TEST(Zeilenumbruch, AnfuehrungenWerdenNieGeteilt) {
    PruefeFaelle({
        {"double quotes", "say \"a b c d e\" ok", 6, "say \r\n\"a b c d e\" \r\nok"},
        {"single quotes", "x 'a b c' y", 4, "x \r\n'a b c' \r\ny"},
        // The other kind of quote inside a passage neither opens nor closes it.
        {"mixed quotes", "x \"it's a b\" y", 4, "x \r\n\"it's a b\" \r\ny"},
        // No cut while a passage is open, so an unclosed one keeps the rest on its line.
        {"unclosed quote", "ab 'cd ef gh", 4, "ab 'cd ef gh"},
        // A line end inside quotes is no line break of its own.
        {"line end inside quotes", "\"a\r\nb\" cc dd", 4, "\"a\r\nb\" \r\ncc \r\ndd"},
    });
}

TEST(Zeilenumbruch, AchtzigSpalten) {
    const QString x78(78, QLatin1Char('x'));
    EXPECT_EQ(BrichZeilenUm(x78 + QStringLiteral(" yy zz")), x78 + QStringLiteral(" \r\nyy zz"));
    // Exactly 80 characters fit.
    const QString x75(75, QLatin1Char('x'));
    EXPECT_EQ(BrichZeilenUm(x75 + QStringLiteral(" abcd")), x75 + QStringLiteral(" abcd"));
    EXPECT_EQ(BrichZeilenUm(x75 + QStringLiteral(" abcde")), x75 + QStringLiteral(" \r\nabcde"));
    // Umlauts are one column each, as the reader sees them.
    const QString ae79(79, QChar(0x00E4));
    EXPECT_EQ(BrichZeilenUm(ae79 + QStringLiteral(" \u00FC")), ae79 + QStringLiteral(" \r\n\u00FC"));
}

// Whatever the text, the only change is inserted CR LF pairs.
TEST(Zeilenumbruch, NurEingefuegteZeilenenden) {
    const QString zeichen = QStringLiteral("ab -\t\"'\r\n");
    QRandomGenerator zufall(20240611);
    for (int runde = 0; runde < 2000; ++runde) {
        QString text;
        const int laenge = zufall.bounded(0, 120);
        for (int i = 0; i < laenge; ++i)
            text += zeichen[zufall.bounded(static_cast<int>(zeichen.size()))];
        const int spalten = zufall.bounded(1, 20);
        const QString ergebnis = BrichZeilenUm(text, spalten);
        // The result must be the text with CR LF pairs put in: passt[i][j] says whether the
        // text from i on and the result from j on match that way.
        const qsizetype n = text.size();
        const qsizetype m = ergebnis.size();
        std::vector<std::vector<char>> passt(n + 1, std::vector<char>(m + 1, 0));
        passt[n][m] = 1;
        for (qsizetype i = n; i >= 0; --i) {
            for (qsizetype j = m; j >= 0; --j) {
                if (i == n && j == m)
                    continue;
                const bool gleich = i < n && j < m && text[i] == ergebnis[j] && passt[i + 1][j + 1];
                const bool eingefuegt = j + 1 < m && ergebnis[j] == QLatin1Char('\r') &&
                                        ergebnis[j + 1] == QLatin1Char('\n') && passt[i][j + 2];
                passt[i][j] = gleich || eingefuegt;
            }
        }
        EXPECT_TRUE(passt[0][0]) << Sichtbar(text).toStdString() << " / " << spalten << " -> "
                                 << Sichtbar(ergebnis).toStdString();
    }
}
