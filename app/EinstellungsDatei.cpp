#include "EinstellungsDatei.h"

#include <QSaveFile>
#include <QStringEncoder>
#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace {
bool IstHexZiffer(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The escapes of the INI format: control characters as \n, \t ... or \x with the code in hex;
// a hex digit right after a \x or \0 escape is escaped too, so that it does not extend the code.
// A text with ";", "," or "=" or with a blank at either end stands in double quotes.
QByteArray EscapeText(const QString& text) {
    QByteArray ergebnis;
    bool inAnfuehrung = false;
    bool hexFolgtNicht = false;
    QStringEncoder utf8(QStringEncoder::Utf8);
    for (const QChar zeichen : text) {
        const char16_t c = zeichen.unicode();
        if (c == u';' || c == u',' || c == u'=')
            inAnfuehrung = true;
        if (hexFolgtNicht && IstHexZiffer(c)) {
            ergebnis += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        hexFolgtNicht = false;
        switch (c) {
        case u'\0':
            ergebnis += "\\0";
            hexFolgtNicht = true;
            break;
        case u'\a':
            ergebnis += "\\a";
            break;
        case u'\b':
            ergebnis += "\\b";
            break;
        case u'\f':
            ergebnis += "\\f";
            break;
        case u'\n':
            ergebnis += "\\n";
            break;
        case u'\r':
            ergebnis += "\\r";
            break;
        case u'\t':
            ergebnis += "\\t";
            break;
        case u'\v':
            ergebnis += "\\v";
            break;
        case u'"':
        case u'\\':
            ergebnis += '\\';
            ergebnis += static_cast<char>(c);
            break;
        default:
            if (c <= 0x1F) {
                ergebnis += "\\x" + QByteArray::number(c, 16);
                hexFolgtNicht = true;
            } else {
                // One code unit at a time: the encoder keeps the first half of a surrogate pair.
                ergebnis += utf8.encode(QStringView(&zeichen, 1));
            }
        }
    }
    if (inAnfuehrung || (!ergebnis.isEmpty() && (ergebnis.front() == ' ' || ergebnis.back() == ' ')))
        ergebnis = '"' + ergebnis + '"';
    return ergebnis;
}

// One line of the file as the INI reader sees it: a line break inside double quotes or after a
// backslash does not end it, and after a ";" outside quotes the rest of the line is a comment.
struct TZeile {
    qsizetype anfang;
    qsizetype ende;     // before the line break
    qsizetype naechste; // after it
};

std::vector<TZeile> Zeilen(const QByteArray& d) {
    std::vector<TZeile> zeilen;
    const qsizetype n = d.size();
    qsizetype pos = 0;
    while (pos < n) {
        qsizetype i = pos;
        bool inAnfuehrung = false;
        while (i < n) {
            const char c = d[i];
            if (c == '\n' || c == '\r') {
                if (!inAnfuehrung)
                    break;
                ++i;
            } else if (c == '\\') {
                i += 2;
                // An escaped CR LF (or LF CR) counts as one.
                if (i < n && i - 1 < n &&
                    ((d[i - 1] == '\r' && d[i] == '\n') || (d[i - 1] == '\n' && d[i] == '\r')))
                    ++i;
            } else if (c == '"') {
                inAnfuehrung = !inAnfuehrung;
                ++i;
            } else if (c == ';' && !inAnfuehrung) {
                while (i < n && d[i] != '\n' && d[i] != '\r')
                    ++i;
            } else {
                ++i;
            }
        }
        const qsizetype ende = std::min(i, n);
        qsizetype naechste = ende;
        if (naechste < n)
            naechste += (d[naechste] == '\r' && naechste + 1 < n && d[naechste + 1] == '\n') ? 2 : 1;
        zeilen.push_back({pos, ende, naechste});
        pos = naechste;
    }
    return zeilen;
}

QByteArray OhneLeerraum(const QByteArray& d) {
    return d.trimmed();
}

// The group of a section line ("[V2.4]"), or nothing for any other line.
std::optional<QByteArray> Gruppe(const QByteArray& zeile) {
    const QByteArray t = OhneLeerraum(zeile);
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype schluss = t.indexOf(']');
    return OhneLeerraum(t.mid(1, schluss < 0 ? -1 : schluss - 1));
}

// The name of a value line ("Sprache=E"), or nothing.
std::optional<QByteArray> Name(const QByteArray& zeile) {
    bool inAnfuehrung = false;
    for (qsizetype i = 0; i < zeile.size(); ++i) {
        if (zeile[i] == '\\')
            ++i;
        else if (zeile[i] == '"')
            inAnfuehrung = !inAnfuehrung;
        else if (zeile[i] == '=' && !inAnfuehrung)
            return OhneLeerraum(zeile.left(i));
    }
    return std::nullopt;
}
} // namespace

QByteArray IniWert(const QVariant& wert) {
    QString text = wert.toString();
    // A text that could be taken for a value of another type is marked as a text.
    if (wert.typeId() == QMetaType::QString) {
        if (text.contains(QChar::Null))
            text = QStringLiteral("@String(") + text + QLatin1Char(')');
        else if (text.startsWith(QLatin1Char('@')))
            text.prepend(QLatin1Char('@'));
    }
    return EscapeText(text);
}

QByteArray SetzeIniWerte(const QByteArray& inhalt, const QString& gruppe, const TEinstellungsWerte& werte) {
    // Sorted by name, as the INI writer orders a group; a later value of the same name wins.
    std::map<QByteArray, QByteArray> neu;
    for (const auto& [name, wert] : werte)
        neu[name.toLatin1()] = name.toLatin1() + '=' + IniWert(wert);

    const std::vector<TZeile> zeilen = Zeilen(inhalt);
    const QByteArray gesucht = gruppe.toLatin1();
    auto text = [&](const TZeile& z) { return inhalt.mid(z.anfang, z.ende - z.anfang); };

    // The group's header and its value lines (the first group of that name counts).
    std::optional<std::size_t> kopf;
    std::vector<std::pair<std::size_t, QByteArray>> namen;
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        if (const auto g = Gruppe(text(zeilen[i]))) {
            if (kopf)
                break;
            if (*g == gesucht)
                kopf = i;
        } else if (kopf) {
            if (const auto name = Name(text(zeilen[i])))
                namen.emplace_back(i, *name);
        }
    }

    // Where each new line goes: before a line, or after the group's last value.
    std::map<std::size_t, QByteArray> davor;
    QByteArray danach;
    std::map<std::size_t, QByteArray> ersetzt;
    for (const auto& [name, zeile] : neu) {
        bool vorhanden = false;
        for (const auto& [index, n] : namen) {
            if (n == name) {
                ersetzt[index] = zeile;
                vorhanden = true;
            }
        }
        if (vorhanden || !kopf)
            continue;
        const QString neuerName = QString::fromLatin1(name);
        const auto groesser = std::find_if(namen.begin(), namen.end(), [&](const auto& n) {
            return QString::fromLatin1(n.second) > neuerName;
        });
        if (groesser != namen.end())
            davor[groesser->first] += zeile + '\n';
        else
            danach += zeile + '\n';
    }
    const std::size_t letzte = namen.empty() ? (kopf ? *kopf : 0) : namen.back().first;

    QByteArray ergebnis;
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        const TZeile& z = zeilen[i];
        if (const auto it = davor.find(i); it != davor.end())
            ergebnis += it->second;
        const auto it = ersetzt.find(i);
        ergebnis += it != ersetzt.end() ? it->second : text(z);
        ergebnis += inhalt.mid(z.ende, z.naechste - z.ende);
        if (kopf && i == letzte && !danach.isEmpty()) {
            if (z.naechste == z.ende)
                ergebnis += '\n';
            ergebnis += danach;
        }
    }
    if (!kopf) {
        if (!ergebnis.isEmpty()) {
            if (!ergebnis.endsWith('\n') && !ergebnis.endsWith('\r'))
                ergebnis += '\n';
            ergebnis += '\n';
        }
        ergebnis += '[' + gesucht + "]\n";
        for (const auto& [name, zeile] : neu)
            ergebnis += zeile + '\n';
    }
    return ergebnis;
}

bool SchreibeDateiGanz(const QString& pfad, const QByteArray& inhalt, QString& fehler) {
    QSaveFile datei(pfad);
    // Unbuffered: a write that the system takes only in part shows at once, with its reason.
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fehler = datei.errorString();
        return false;
    }
    qsizetype geschrieben = 0;
    while (geschrieben < inhalt.size()) {
        const qint64 n = datei.write(inhalt.constData() + geschrieben, inhalt.size() - geschrieben);
        if (n <= 0) {
            fehler = datei.errorString();
            datei.cancelWriting();
            return false;
        }
        geschrieben += n;
    }
    if (!datei.commit()) {
        fehler = datei.errorString();
        return false;
    }
    return true;
}
