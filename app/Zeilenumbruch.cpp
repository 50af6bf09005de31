#include "Zeilenumbruch.h"

namespace {
constexpr QChar CR = QLatin1Char('\r');
constexpr QChar LF = QLatin1Char('\n');

bool IstUmbruchZeichen(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('-') || c == QLatin1Char('\t');
}

bool IstAnfuehrungszeichen(QChar c) {
    return c == QLatin1Char('\'') || c == QLatin1Char('"');
}
} // namespace

// Positions count from 1, as in the description of the platform's wrap: p is the next character
// to look at, s the start of the line being collected, b the last break point (0: none).
QString BrichZeilenUm(const QString& text, int maxSpalte) {
    const qsizetype n = text.size();
    const auto zeichen = [&](qsizetype position) { return text[position - 1]; };
    // T[von..bis], both included.
    const auto stueck = [&](qsizetype von, qsizetype bis) { return text.mid(von - 1, bis - von + 1); };

    QString ergebnis;
    ergebnis.reserve(n + n / maxSpalte * 2 + 2);
    qsizetype spalte = 1;
    qsizetype p = 1;
    qsizetype s = 1;
    qsizetype b = 0;
    QChar anfuehrung; // the open quotation mark, or none
    bool vorhandenerUmbruch = false;
    while (p <= n) {
        const QChar ch = zeichen(p);
        if (ch == CR && anfuehrung.isNull()) {
            vorhandenerUmbruch = p < n && zeichen(p + 1) == LF;
            if (vorhandenerUmbruch) {
                ++p; // onto the LF
                b = p;
            }
        } else if (IstUmbruchZeichen(ch) && anfuehrung.isNull()) {
            b = p;
        } else if (IstAnfuehrungszeichen(ch)) {
            if (ch == anfuehrung)
                anfuehrung = QChar();
            else if (anfuehrung.isNull())
                anfuehrung = ch;
        }
        ++p;
        ++spalte;
        if (anfuehrung.isNull() && (vorhandenerUmbruch || (spalte > maxSpalte && b > s))) {
            spalte = p - b;
            ergebnis += stueck(s, b);
            // Blanks and line ends after the cut begin the next piece; they neither count towards
            // the column nor serve as break points.
            if (!IstAnfuehrungszeichen(ch))
                while (p <= n && (IstUmbruchZeichen(zeichen(p)) || zeichen(p) == CR || zeichen(p) == LF))
                    ++p;
            if (!vorhandenerUmbruch && p < n)
                ergebnis += QStringLiteral("\r\n");
            ++b;
            s = b;
            vorhandenerUmbruch = false;
        }
    }
    ergebnis += stueck(s, n);
    return ergebnis;
}
