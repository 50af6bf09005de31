// The MZ files the benchmarks put on tape: a machine-code program of the size given, its body a
// simple pattern, written as an MZF file and read back, so that its bit text is the program's own.
#pragma once

#include "LittleEndian.h"
#include "MZFDatei.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>
#include <vector>

inline std::string BenchTonbandBits(const QTemporaryDir& ordner, const char* name, int groesse,
                                    const TBandEinstellungen& einstellungen) {
    constexpr int KopfBytes = 128;
    std::vector<char> bild(KopfBytes + static_cast<std::size_t>(groesse), 0x0D);
    bild[0] = 0x01;
    for (std::size_t i = 0; name[i] != '\0' && i < 16; ++i)
        bild[1 + i] = name[i];
    LittleEndian::Schreibe16(bild.data() + 18, static_cast<std::uint16_t>(groesse));
    LittleEndian::Schreibe16(bild.data() + 20, 0x1200);
    LittleEndian::Schreibe16(bild.data() + 22, 0x1200);
    for (int i = 0; i < groesse; ++i)
        bild[KopfBytes + static_cast<std::size_t>(i)] = static_cast<char>((i * 131 + groesse) >> 3);
    const QString mzf = ordner.filePath(QStringLiteral("datei.mzf"));
    QFile f(mzf);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(bild.data(), static_cast<qint64>(bild.size())) != static_cast<qint64>(bild.size()))
        std::abort();
    f.close();
    TMZFDatei datei;
    if (!datei.Laden(mzf))
        std::abort();
    return datei.ErzeugeTonbandBits(einstellungen);
}
