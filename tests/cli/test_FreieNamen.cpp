// The names of extract: NAME.mzf, NAME-2.mzf, ... past every name taken, in a folder held in
// memory that counts how often it was looked at.
#include "FreieNamen.h"

#include <QSet>
#include <gtest/gtest.h>
#include <utility>

namespace {

struct TOrdner {
    QSet<QString> belegt;
    int blicke = 0;
    TFreieNamen::TBelegt Frage() {
        return [this](const QString& pfad) {
            ++blicke;
            return belegt.contains(pfad);
        };
    }
};

TEST(FreieNamen, JedeDateiBekommtDenErstenFreienNamen) {
    TOrdner ordner;
    ordner.belegt = {QStringLiteral("/d/A.mzf"), QStringLiteral("/d/A-3.mzf"), QStringLiteral("/d/B-2.mzf")};
    TFreieNamen namen(QStringLiteral("/d"), ordner.Frage());
    // In the order extract meets the files; each name is written before the next is asked for.
    const std::pair<const char*, const char*> faelle[] = {
        {"A", "/d/A-2.mzf"}, {"B", "/d/B.mzf"},       {"A", "/d/A-4.mzf"},
        {"B", "/d/B-3.mzf"}, {"A-5", "/d/A-5.mzf"},   {"A", "/d/A-6.mzf"},
        {"a", "/d/a.mzf"},   {"A-5", "/d/A-5-2.mzf"}, {"unnamed", "/d/unnamed.mzf"},
    };
    for (const auto& [name, erwartet] : faelle) {
        const QString pfad = namen.Naechster(QLatin1String(name));
        EXPECT_EQ(pfad, QLatin1String(erwartet)) << name;
        ordner.belegt.insert(pfad);
    }
}

TEST(FreieNamen, VieleDateienEinesNamensKostenJeEinenBlick) {
    TOrdner ordner;
    ordner.belegt = {QStringLiteral("/d/X.mzf"), QStringLiteral("/d/X-3.mzf")};
    TFreieNamen namen(QStringLiteral("/d"), ordner.Frage());
    constexpr int Anzahl = 8000;
    QString pfad;
    for (int i = 0; i < Anzahl; ++i) {
        pfad = namen.Naechster(QStringLiteral("X"));
        ordner.belegt.insert(pfad);
    }
    // One look for each file written, and one for each of the two names in the way.
    EXPECT_EQ(ordner.blicke, Anzahl + 2);
    EXPECT_EQ(pfad, QStringLiteral("/d/X-%1.mzf").arg(Anzahl + 2));
}

} // namespace
