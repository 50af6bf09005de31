// File names as the system gives them. On Linux a name is any sequence of bytes, and a name that
// is not UTF-8 must still open the file it names: its stray bytes are kept in the text as the
// code points U+DC80 to U+DCFF (one per byte) and turned back into those bytes when the file is
// opened. Every file Bandwerk opens by a name a person gave goes through these functions.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Bytes of a name (a command-line argument, say) as text; UTF-8 where it is UTF-8.
QString PfadAusBytes(const QByteArray& bytes);
// The bytes the system needs for the name; the inverse of PfadAusBytes.
QByteArray PfadAlsBytes(const QString& pfad);

// Opens an existing file for reading (and the extra modes given, such as Unbuffered). On failure
// `fehler` holds the system's reason and the result is false.
bool OeffneZumLesen(QFile& datei, const QString& pfad, QIODevice::OpenMode zusatz, QString& fehler);

// What the file system says about a name. With `linkFolgen` false a symbolic link is described
// itself, not the file it points to.
struct TPfadInfo {
    bool existiert = false;
    bool istVerzeichnis = false;
    bool istRegulaer = false;
    bool istZeichengeraet = false;
    bool istLink = false;
    qint64 groesse = 0;
};
TPfadInfo HolePfadInfo(const QString& pfad, bool linkFolgen = true);

// The system's description of an error number, in the words the platform's file layer uses.
QString SystemFehlerText(int fehlerNummer);
