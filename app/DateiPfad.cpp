#include "DateiPfad.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr char16_t EscapeBasis = 0xDC00; // U+DC80..U+DCFF carry the bytes 0x80..0xFF
constexpr char16_t EscapeErstes = 0xDC80;
constexpr char16_t EscapeLetztes = 0xDCFF;

// Length of the valid UTF-8 sequence at p (1 to 4), or 0 when the bytes there are not one.
int Utf8Laenge(const unsigned char* p, qsizetype rest) {
    const unsigned char b = p[0];
    if (b < 0x80)
        return 1;
    int laenge = 0;
    char32_t wert = 0;
    char32_t minimum = 0;
    if ((b & 0xE0) == 0xC0) {
        laenge = 2;
        wert = b & 0x1F;
        minimum = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        laenge = 3;
        wert = b & 0x0F;
        minimum = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        laenge = 4;
        wert = b & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (rest < laenge)
        return 0;
    for (int i = 1; i < laenge; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        wert = (wert << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are no UTF-8.
    if (wert < minimum || wert > 0x10FFFF || (wert >= 0xD800 && wert <= 0xDFFF))
        return 0;
    return laenge;
}

bool IstEscape(char16_t c) {
    return c >= EscapeErstes && c <= EscapeLetztes;
}
} // namespace

QString PfadAusBytes(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const int laenge = Utf8Laenge(p + i, n - i);
        if (laenge == 0) {
            text.append(QChar(static_cast<char16_t>(EscapeBasis + p[i])));
            ++i;
            continue;
        }
        text.append(QString::fromUtf8(reinterpret_cast<const char*>(p + i), laenge));
        i += laenge;
    }
    return text;
}

QByteArray PfadAlsBytes(const QString& pfad) {
    QByteArray bytes;
    bytes.reserve(pfad.size());
    qsizetype anfang = 0; // start of the run of ordinary text not yet converted
    const qsizetype n = pfad.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = pfad[i].unicode();
        // A low surrogate that follows a high one is half of an ordinary character.
        if (!IstEscape(c) || (i > 0 && pfad[i - 1].isHighSurrogate()))
            continue;
        bytes.append(pfad.mid(anfang, i - anfang).toUtf8());
        bytes.append(static_cast<char>(c - EscapeBasis));
        anfang = i + 1;
    }
    bytes.append(pfad.mid(anfang).toUtf8());
    return bytes;
}

QString SystemFehlerText(int fehlerNummer) {
    return QString::fromLocal8Bit(std::strerror(fehlerNummer));
}

bool OeffneZumLesen(QFile& datei, const QString& pfad, QIODevice::OpenMode zusatz, QString& fehler) {
    const QByteArray bytes = PfadAlsBytes(pfad);
    // Names Qt can spell itself are opened by name, so that the file keeps its name.
    if (QFile::encodeName(QFile::decodeName(bytes)) == bytes) {
        datei.setFileName(QFile::decodeName(bytes));
        if (datei.open(QIODevice::ReadOnly | zusatz))
            return true;
        fehler = datei.errorString();
        return false;
    }
    const int handle = ::open(bytes.constData(), O_RDONLY | O_CLOEXEC);
    if (handle < 0) {
        fehler = SystemFehlerText(errno);
        return false;
    }
    if (!datei.open(handle, QIODevice::ReadOnly | zusatz, QFileDevice::AutoCloseHandle)) {
        fehler = datei.errorString();
        ::close(handle);
        return false;
    }
    return true;
}

TPfadInfo HolePfadInfo(const QString& pfad, bool linkFolgen) {
    TPfadInfo info;
    const QByteArray bytes = PfadAlsBytes(pfad);
    struct stat eintrag {};
    if (::lstat(bytes.constData(), &eintrag) != 0)
        return info;
    info.istLink = S_ISLNK(eintrag.st_mode);
    if (info.istLink && linkFolgen && ::stat(bytes.constData(), &eintrag) != 0) {
        info.existiert = false; // a link whose target is missing
        return info;
    }
    info.existiert = true;
    info.istVerzeichnis = S_ISDIR(eintrag.st_mode);
    info.istRegulaer = S_ISREG(eintrag.st_mode);
    info.istZeichengeraet = S_ISCHR(eintrag.st_mode);
    info.groesse = static_cast<qint64>(eintrag.st_size);
    return info;
}
