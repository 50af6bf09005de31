#include "Ganzzahl.h"

std::optional<qint32> TextNachGanzzahl(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    if (i == n)
        return std::nullopt;
    bool negativ = false;
    bool hex = false;
    if (text[i] == QLatin1Char('$') || text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X')) {
        hex = true;
        ++i;
    } else if (text[i] == QLatin1Char('0') && i + 1 < n &&
               (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    } else if (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')) {
        negativ = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        return std::nullopt;
    qint64 wert = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        int ziffer = -1;
        if (c >= u'0' && c <= u'9')
            ziffer = c - u'0';
        else if (hex && c >= u'a' && c <= u'f')
            ziffer = c - u'a' + 10;
        else if (hex && c >= u'A' && c <= u'F')
            ziffer = c - u'A' + 10;
        if (ziffer < 0)
            return std::nullopt;
        wert = wert * (hex ? 16 : 10) + ziffer;
        // Hexadecimal numbers take all 32 bits ($FFFFFFFF is -1); decimal ones the signed range.
        if (hex ? wert > 0xFFFFFFFFLL : wert > (negativ ? 2147483648LL : 2147483647LL))
            return std::nullopt;
    }
    if (hex)
        return static_cast<qint32>(static_cast<quint32>(wert));
    return static_cast<qint32>(negativ ? -wert : wert);
}

QString HexZiffern(quint32 wert, int stellen) {
    return QStringLiteral("%1").arg(wert, stellen, 16, QLatin1Char('0')).toUpper();
}

QString HexMitDollar(quint32 wert, int stellen) {
    return QLatin1Char('$') + HexZiffern(wert, stellen);
}
