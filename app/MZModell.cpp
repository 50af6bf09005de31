#include "MZModell.h"

namespace {

const char* const ModellNamen[AnzahlMZModelle] = {"MZ-80K", "MZ-80C", "MZ-80A", "MZ-80B", "MZ-700", "MZ-800"};

} // namespace

QString MZModellName(int index) {
    if (index < 0 || index >= AnzahlMZModelle)
        return QStringLiteral("?");
    return QString::fromLatin1(ModellNamen[index]);
}

int MZModellIndex(const QString& name) {
    const QString gross = name.toUpper();
    for (int i = 0; i < AnzahlMZModelle; ++i)
        if (gross == QLatin1String(ModellNamen[i]))
            return i;
    return 0;
}
