// What the fuzz targets share: a platform binding that keeps messages off the terminal, and for
// those that load their input by file name, private temporary files.
#pragma once

#include "Plattform.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <unistd.h>

namespace FuzzHilfe {

// Answers every question with No and shows nothing.
class TPlattformStumm : public TPlattform {
public:
    void ZeigeNachricht(TNachrichtArt, const QString&) override {}
    TAntwort Frage(TNachrichtArt, const QString&, bool) override { return TAntwort::Nein; }
    std::optional<QString> DateiDialogZeigen(const TDateiDialog&) override { return std::nullopt; }
    void SanduhrAn() override {}
    void SanduhrAus() override {}
    void VerarbeiteEreignisse() override {}
    void OeffneAdresse(const QString&) override {}
    [[noreturn]] void BeendeSofort(int) override { __builtin_trap(); }
};

// Installs the silent binding on the first call.
inline void StummSchalten() {
    static TPlattformStumm stumm;
    static const bool installiert = (SetzePlattform(&stumm), true);
    (void)installiert;
}

// A file in the temporary directory of this process alone ("<ziel>-<pid>-<name>").
inline QString TempPfad(const char* ziel, const char* name) {
    return QDir::tempPath() + QStringLiteral("/%1-%2-").arg(QLatin1String(ziel)).arg(::getpid()) +
           QLatin1String(name);
}

// Writes the fuzz input to the file; false when the file cannot be created.
inline bool SchreibeDatei(const QString& pfad, const std::uint8_t* daten, std::size_t groesse) {
    std::FILE* f = std::fopen(QFile::encodeName(pfad).constData(), "wb");
    if (!f)
        return false;
    std::fwrite(daten, 1, groesse, f);
    std::fclose(f);
    return true;
}

} // namespace FuzzHilfe
