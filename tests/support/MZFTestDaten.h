// Builds MZF file images byte by byte for the tests, independent of the code under test.
#pragma once

#include "MZFDatei.h"
#include "TestUmgebung.h"

#include <QByteArray>
#include <QDir>
#include <QString>

struct TMZFBild {
    std::uint8_t attribut = 0x01;
    QByteArray name = QByteArray("TEST") + QByteArray(13, '\x0D'); // 17 bytes
    int groessenFeld = -1;                                         // -1: the body length
    std::uint16_t ladeAdresse = 0x1200;
    std::uint16_t startAdresse = 0x1234;
    QByteArray kommentar = QByteArray(104, '\x0D');
    QByteArray rumpf;

    QByteArray Bytes() const {
        QByteArray b;
        b.append(static_cast<char>(attribut));
        b.append(name.left(17).leftJustified(17, '\x0D'));
        const int g = groessenFeld < 0 ? static_cast<int>(rumpf.size()) : groessenFeld;
        b.append(static_cast<char>(g & 0xFF)).append(static_cast<char>((g >> 8) & 0xFF));
        b.append(static_cast<char>(ladeAdresse & 0xFF)).append(static_cast<char>(ladeAdresse >> 8));
        b.append(static_cast<char>(startAdresse & 0xFF)).append(static_cast<char>(startAdresse >> 8));
        b.append(kommentar.left(104).leftJustified(104, '\x0D'));
        b.append(rumpf);
        return b;
    }
};

// A header of zero bytes but for the size field, and a body of `groesse` zero bytes: every bit of
// such a file on tape is 0 except the start bits, the size and the checksums.
inline TMZFBild NullBild(int groesse = 0) {
    TMZFBild b;
    b.attribut = 0;
    b.name = QByteArray(17, '\0');
    b.ladeAdresse = 0;
    b.startAdresse = 0;
    b.kommentar = QByteArray(104, '\0');
    b.rumpf = QByteArray(groesse, '\0');
    return b;
}

// A machine-language program (attribute 1, load and start address $1200) with this name and body.
inline QByteArray ProgrammMZF(const QByteArray& name, const QByteArray& rumpf) {
    TMZFBild b;
    b.name = name.left(17).leftJustified(17, '\x0D');
    b.startAdresse = 0x1200;
    b.rumpf = rumpf;
    return b.Bytes();
}

// Writes the bytes to a fresh file in a fresh directory and answers its path.
inline QString SchreibeTestDatei(const QByteArray& inhalt, const QString& name = QStringLiteral("test.mzf")) {
    const QString pfad = QDir(TestVerzeichnis()).filePath(name);
    SchreibeDatei(pfad, inhalt);
    return pfad;
}

// Loads an image into the record through an MZF file (the only way to set the body).
inline bool LadeBild(TMZFDatei& datei, const TMZFBild& bild) {
    return datei.Laden(SchreibeTestDatei(bild.Bytes()));
}

// An image with this body and name (the rest as in TMZFBild), loaded into the record.
inline bool LadeBildMitRumpf(TMZFDatei& datei, const QByteArray& rumpf, const QByteArray& name = "TEST") {
    TMZFBild bild;
    bild.name = name.left(17).leftJustified(17, '\x0D');
    bild.rumpf = rumpf;
    return LadeBild(datei, bild);
}

// The tape settings of a model in the full or the shortened format.
inline TBandEinstellungen ImFormat(quint8 modell, bool verkuerzt) {
    TBandEinstellungen einstellungen;
    einstellungen.modell = modell;
    einstellungen.verkuerzt = verkuerzt;
    return einstellungen;
}

// Body bytes counting up from `anfang`, wrapping at 256.
inline QByteArray RumpfMitBytes(int anzahl, int anfang = 0) {
    QByteArray r(anzahl, '\0');
    for (int i = 0; i < anzahl; ++i)
        r[i] = static_cast<char>((anfang + i) & 0xFF);
    return r;
}
