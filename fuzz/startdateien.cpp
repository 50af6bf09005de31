// Writes the starting inputs of the fuzz targets, so that they begin from real tape texts, tape
// images and MZF files instead of from nothing:
//   fuzz_startdateien DIR      makes DIR/tonbandbits, DIR/mzt and DIR/mzf
// The MZF files of the shared corpus can be added to DIR/mzf by hand.
#include "FuzzHilfe.h"
#include "MZFDatei.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <string>

namespace {
constexpr int KopfGroesse = 128;

// An MZF image: machine code named `name` with `groesse` body bytes.
QByteArray MZF(const char* name, int groesse) {
    QByteArray b(KopfGroesse + groesse, '\0');
    b[0] = 0x01;
    const QByteArray n(name);
    for (int i = 0; i < 17; ++i)
        b[1 + i] = i < n.size() ? n[i] : '\x0D';
    b[18] = static_cast<char>(groesse & 0xFF);
    b[19] = static_cast<char>(groesse >> 8);
    b[20] = b[22] = 0x00;
    b[21] = b[23] = 0x12;
    for (int i = 24; i < KopfGroesse; ++i)
        b[i] = 0x0D;
    for (int i = 0; i < groesse; ++i)
        b[KopfGroesse + i] = static_cast<char>((i * 37 + 11) & 0xFF);
    return b;
}

bool Schreibe(const QDir& ordner, const QString& name, const QByteArray& inhalt) {
    QFile f(ordner.filePath(name));
    const bool ok = f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "FAILED", qPrintable(f.fileName()));
    return ok;
}

QByteArray Packe(const std::string& bits) {
    QByteArray b((static_cast<qsizetype>(bits.size()) + 7) / 8, '\0');
    for (std::size_t i = 0; i < bits.size(); ++i)
        if (bits[i] == '1')
            b[static_cast<qsizetype>(i / 8)] =
                static_cast<char>(b[static_cast<qsizetype>(i / 8)] | (0x80 >> (i % 8)));
    return b;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    FuzzHilfe::StummSchalten();
    const QDir basis(QFile::decodeName(argv[1]));
    for (const char* teil : {"tonbandbits", "mzt", "mzf"})
        if (!basis.mkpath(QLatin1String(teil)))
            return 1;
    const QDir bits(basis.filePath(QStringLiteral("tonbandbits")));
    const QDir mzt(basis.filePath(QStringLiteral("mzt")));
    const QDir mzf(basis.filePath(QStringLiteral("mzf")));

    bool ok = true;
    std::string voll;
    std::string verkuerzt;
    std::string koepfe;
    for (const int groesse : {0, 9, 300}) {
        const QByteArray bild = MZF("START", groesse);
        ok = Schreibe(mzf, QStringLiteral("start-%1.mzf").arg(groesse), bild) && ok;
        TMZFDatei datei;
        if (!datei.Laden(mzf.filePath(QStringLiteral("start-%1.mzf").arg(groesse))))
            return 1;
        voll = datei.ErzeugeTonbandBits({.modell = MZ700});
        verkuerzt = datei.ErzeugeTonbandBits({.modell = MZ700, .verkuerzt = true});
        // The first byte of a bit-text input chooses: even takes the text as it is, from position 1.
        const std::string textInput = std::string(1, '\x80');
        ok = Schreibe(bits, QStringLiteral("voll-%1").arg(groesse),
                      QByteArray::fromStdString(textInput + voll)) &&
             ok;
        ok = Schreibe(bits, QStringLiteral("verkuerzt-%1").arg(groesse),
                      QByteArray::fromStdString(textInput + verkuerzt)) &&
             ok;
        ok = Schreibe(mzt, QStringLiteral("band-%1.mzt").arg(groesse), Packe(voll)) && ok;
        ok = Schreibe(mzt, QStringLiteral("datensaetze-%1.mzt").arg(groesse), bild + MZF("ZWEITE", 5)) && ok;
    }
    // Forty good headers and not one body: the input that once made the parser slow.
    constexpr std::size_t LueckeVerkuerzt = 5000;
    constexpr std::size_t LueckeGenug = 1000;
    constexpr std::size_t MarkeKopfTrenner = 80 + 1 + 1170 + 1;
    const std::string kopf = verkuerzt.substr(LueckeVerkuerzt - LueckeGenug, LueckeGenug + MarkeKopfTrenner);
    for (int i = 0; i < 40; ++i)
        koepfe += kopf;
    ok =
        Schreibe(bits, QStringLiteral("koepfe-ohne-rumpf"), QByteArray::fromStdString("\x80" + koepfe)) && ok;
    ok = Schreibe(mzt, QStringLiteral("koepfe-ohne-rumpf.mzt"), Packe(koepfe)) && ok;
    return ok ? 0 : 1;
}
