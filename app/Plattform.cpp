#include "Plattform.h"
#include "PlattformKonsole.h"

#include <QRegularExpression>

TPlattform::~TPlattform() = default;

QStringList TPlattform::DateienDialogZeigen(const TDateiDialog& dialog) {
    const std::optional<QString> pfad = DateiDialogZeigen(dialog);
    return pfad ? QStringList(*pfad) : QStringList();
}

namespace {
TPlattformKonsole& Konsole() {
    static TPlattformKonsole konsole;
    return konsole;
}
TPlattform* g_plattform = nullptr;
} // namespace

TPlattform& Plattform() {
    return g_plattform ? *g_plattform : Konsole();
}

TPlattform* SetzePlattform(TPlattform* plattform) {
    TPlattform* vorher = g_plattform;
    g_plattform = plattform;
    return vorher;
}

void ZeigeFehler(const QString& text) {
    Plattform().ZeigeNachricht(TNachrichtArt::Fehler, text);
}
void ZeigeInfo(const QString& text) {
    Plattform().ZeigeNachricht(TNachrichtArt::Information, text);
}
TAntwort FrageWarnung(const QString& text, bool mitAbbrechen) {
    return Plattform().Frage(TNachrichtArt::Warnung, text, mitAbbrechen);
}
TAntwort FrageBestaetigung(const QString& text) {
    return Plattform().Frage(TNachrichtArt::Bestaetigung, text, false);
}

QStringList QtDateiFilter(const QString& katalogFilter) {
    const QStringList teile = katalogFilter.split(QLatin1Char('|'));
    QStringList ergebnis;
    for (qsizetype i = 0; i + 1 < teile.size(); i += 2) {
        QString beschreibung = teile[i];
        QStringList muster;
        for (const QString& m : teile[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString t = m.trimmed();
            if (t == QLatin1String("*.*")) {
                muster = {QStringLiteral("*")};
                break;
            }
            muster << t.toLower();
            if (t.toUpper() != t.toLower())
                muster << t.toUpper();
        }
        // Qt reads the patterns from the last parentheses, so the description keeps its own text
        // and the patterns follow in a group of their own when they differ from what it shows.
        static const QRegularExpression klammern(QStringLiteral("\\(([^()]*)\\)\\s*$"));
        const auto treffer = klammern.match(beschreibung);
        if (treffer.hasMatch())
            beschreibung.truncate(treffer.capturedStart());
        ergebnis << beschreibung.trimmed() + QStringLiteral(" (") + muster.join(QLatin1Char(' ')) +
                        QLatin1Char(')');
    }
    return ergebnis;
}
