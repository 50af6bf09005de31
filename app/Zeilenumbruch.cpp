#include "Zeilenumbruch.h"

namespace {
const QChar CR = QLatin1Char('\r');
const QChar LF = QLatin1Char('\n');
const QString ZeilenEnde = QStringLiteral("\r\n");

bool IstTrenner(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('-') || c == QLatin1Char('\t');
}

bool IstAnfuehrung(QChar c) {
    return c == QLatin1Char('\'') || c == QLatin1Char('"');
}
} // namespace

QString BrichZeilenUm(const QString& pv_text, int pv_maxSpalte) {
    const qsizetype laenge = pv_text.size();
    QString ergebnis;
    ergebnis.reserve(laenge + laenge / qMax(pv_maxSpalte, 1) * ZeilenEnde.size());
    // All positions are indexes into the text; `bruch` is the last break character seen (-1: none).
    qsizetype spalte = 1;
    qsizetype pos = 0;
    qsizetype zeilenAnfang = 0;
    qsizetype bruch = -1;
    QChar anfuehrung; // null: outside quotes
    bool vorhandenerUmbruch = false;
    while (pos < laenge) {
        const QChar c = pv_text[pos];
        if (c == CR && anfuehrung.isNull()) {
            vorhandenerUmbruch = pos + 1 < laenge && pv_text[pos + 1] == LF;
            if (vorhandenerUmbruch) {
                ++pos; // onto the LF, which ends the line
                bruch = pos;
            }
        } else if (IstTrenner(c) && anfuehrung.isNull()) {
            bruch = pos;
        } else if (IstAnfuehrung(c)) {
            if (c == anfuehrung)
                anfuehrung = QChar();
            else if (anfuehrung.isNull())
                anfuehrung = c;
        }
        ++pos;
        ++spalte;
        if (anfuehrung.isNull() && (vorhandenerUmbruch || (spalte > pv_maxSpalte && bruch > zeilenAnfang))) {
            // The break character (or the CR LF) stays at the end of the piece.
            ergebnis += QStringView(pv_text).sliced(zeilenAnfang, bruch - zeilenAnfang + 1);
            // The blanks, hyphens, tabs and line ends that follow are not looked at for breaks.
            if (!IstAnfuehrung(c)) {
                while (pos < laenge && (IstTrenner(pv_text[pos]) || pv_text[pos] == CR || pv_text[pos] == LF))
                    ++pos;
            }
            // Everything after the break opens the next line and takes its columns there, the
            // characters passed over as well; after a line end among them the count starts anew.
            spalte = pos - bruch;
            for (qsizetype k = pos - 1; k > bruch; --k) {
                if (pv_text[k] == LF) {
                    spalte = pos - k;
                    break;
                }
            }
            // A line end only when text follows, so that the file does not end with an empty line.
            if (!vorhandenerUmbruch && pos < laenge)
                ergebnis += ZeilenEnde;
            zeilenAnfang = bruch + 1;
            vorhandenerUmbruch = false;
        }
    }
    ergebnis += QStringView(pv_text).sliced(zeilenAnfang);
    return ergebnis;
}
