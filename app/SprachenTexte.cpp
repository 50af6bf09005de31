#include "SprachenTexte.h"

#include "ProgrammEinstellungen.h"

namespace {
QList<QPair<QString, QString>> g_textTabelle;
bool g_englisch = false;

// The language tables, one call of FuegeTextHinzu per key, in table order.
} // namespace

void FuelleTabelleDeutsch();
void FuelleTabelleEnglisch();

void FuegeTextHinzu(const QString& key, const QString& text) {
    g_textTabelle.append({key.toUpper(), text});
}

void LeereTextTabelle() {
    g_textTabelle.clear();
}

bool IstTabelleEnglisch() {
    return g_englisch;
}

QList<QPair<QString, QString>> TextTabelleInhalt() {
    return g_textTabelle;
}

void SetzeSprache(bool englisch) {
    SchreibeSprache(englisch); // first: a failing store leaves the table as it was
    WaehleSpracheOhneSpeichern(englisch);
}

void WaehleSpracheOhneSpeichern(bool englisch) {
    g_textTabelle.clear();
    g_textTabelle.reserve(AnzahlTextSchluessel);
    g_englisch = englisch;
    if (englisch)
        FuelleTabelleEnglisch();
    else
        FuelleTabelleDeutsch();
}

namespace {
QString Suche(const QString& key, const QString* p1, const QString* p2, const QString* p3) {
    const QString gross = key.toUpper();
    for (const auto& [k, text] : g_textTabelle) {
        if (k != gross)
            continue;
        if (text.isEmpty())
            return key;
        // Only the "~" of the stored text are placeholders; inserted parameters are copied as they are.
        const QString* parameter[3] = {p1, p2, p3};
        QString ergebnis;
        ergebnis.reserve(text.size() + 64);
        int gefuellt = 0;
        for (const QChar c : text) {
            if (c == QLatin1Char('~') && gefuellt < 3) {
                if (parameter[gefuellt])
                    ergebnis += *parameter[gefuellt];
                ++gefuellt;
            } else {
                ergebnis += c;
            }
        }
        return ergebnis;
    }
    return key;
}
} // namespace

QString HoleText(const QString& key) {
    return Suche(key, nullptr, nullptr, nullptr);
}
QString HoleTextMitParametern(const QString& key, const QString& p1) {
    return Suche(key, &p1, nullptr, nullptr);
}
QString HoleTextMitParametern(const QString& key, const QString& p1, const QString& p2) {
    return Suche(key, &p1, &p2, nullptr);
}
QString HoleTextMitParametern(const QString& key, const QString& p1, const QString& p2, const QString& p3) {
    return Suche(key, &p1, &p2, &p3);
}
