// Feeds arbitrary bytes to the MZT import as a file, with a choice that varies, and checks that an
// imported file exports and imports again to the same record.
#include "MZFDatei.h"
#include "Plattform.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <unistd.h>

namespace {
// Keeps the import's messages off the terminal.
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

QString Pfad(const char* name) {
    return QDir::tempPath() + QStringLiteral("/fuzz_mzt-%1-").arg(::getpid()) + QLatin1String(name);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    static TPlattformStumm stumm;
    static const bool installiert = (SetzePlattform(&stumm), true);
    static const QString eingabe = Pfad("ein.mzt");
    static const QString ausgabe = Pfad("aus.mzt");
    (void)installiert;

    std::FILE* f = std::fopen(QFile::encodeName(eingabe).constData(), "wb");
    if (!f)
        return 0;
    std::fwrite(daten, 1, groesse, f);
    std::fclose(f);

    const int wahl = groesse > 0 ? static_cast<int>(daten[groesse - 1] % 5) - 1 : 0;
    TMZFDatei datei;
    const bool ok = datei.ImportMZT(eingabe, [&](const std::vector<std::unique_ptr<TMZFDatei>>& liste) {
        if (liste.size() < 2)
            __builtin_trap();
        return wahl;
    });
    if (ok != datei.IstGeladen())
        __builtin_trap();
    std::vector<std::unique_ptr<TMZFDatei>> alle;
    const bool alleOk = TMZFDatei::LeseAlleAusMZT(eingabe, alle);
    if (alleOk == alle.empty())
        __builtin_trap();
    if (!ok)
        return 0;
    if (!datei.IstGeaendert() || !datei.HoleDateiPfad().isEmpty())
        __builtin_trap();
    // The round trip of a large body costs much time under the sanitizers; small ones show the same.
    constexpr int GroesseFuerRundreise = 4096;
    if (datei.HoleMZDateiGroesse() > GroesseFuerRundreise || !datei.ExportMZT(ausgabe))
        return 0;
    TMZFDatei zurueck;
    if (!zurueck.ImportMZT(ausgabe) || !zurueck.IstGleich(datei))
        __builtin_trap();
    return 0;
}
