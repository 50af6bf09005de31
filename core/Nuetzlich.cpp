#include "MZFDatei.h"

#include "DateiPfad.h"

QString BereinigeDateiname(const QString& text) {
    static constexpr char16_t Verboten[] = u"\\/:*?\"|<>";
    QString ergebnis = text;
    for (QChar& c : ergebnis)
        for (char16_t v : std::u16string_view(Verboten))
            if (c == QChar(v))
                c = QLatin1Char('_');
    return ergebnis;
}

qint64 HoleDateiGroesse(const QString& pfad) {
    if (pfad.isEmpty())
        return 0;
    const TPfadInfo info = HolePfadInfo(pfad);
    // A directory entry matches too, but carries no size.
    if (!info.existiert || info.istVerzeichnis)
        return 0;
    return info.groesse;
}
