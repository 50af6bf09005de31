#include "DateiArt.h"

#include <QFileInfo>
#include <QStringList>

namespace {
struct TEndung {
    const char* endung; // lower case, without the dot
    TDateiArt art;
};

constexpr TEndung Endungen[] = {
    {"mzf", TDateiArt::MZF},
    {"m12", TDateiArt::MZF},
    {"mzt", TDateiArt::MZT},
    {"wav", TDateiArt::WAV},
};
} // namespace

TDateiArt DateiArtVonEndung(const QString& pfad) {
    const QString endung = QFileInfo(pfad).suffix().toLower();
    for (const auto& e : Endungen)
        if (endung == QLatin1String(e.endung))
            return e.art;
    return TDateiArt::Unbekannt;
}

QString BekannteEndungen() {
    QStringList liste;
    for (const auto& e : Endungen)
        liste << QLatin1Char('.') + QLatin1String(e.endung);
    return liste.join(QStringLiteral(", "));
}
