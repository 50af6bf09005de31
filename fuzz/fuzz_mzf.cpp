// Feeds arbitrary bytes to the MZF loader as a file, builds the body view, and checks that a
// loaded file saves and reloads to the same record.
#include "MZFDatei.h"
#include "Plattform.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <unistd.h>

namespace {
// Keeps the loader's messages off the terminal.
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
    return QDir::tempPath() + QStringLiteral("/fuzz_mzf-%1-").arg(::getpid()) + QLatin1String(name);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    static TPlattformStumm stumm;
    static const bool installiert = (SetzePlattform(&stumm), true);
    static const QString eingabe = Pfad("ein.mzf");
    static const QString ausgabe = Pfad("aus.mzf");
    (void)installiert;

    std::FILE* f = std::fopen(QFile::encodeName(eingabe).constData(), "wb");
    if (!f)
        return 0;
    std::fwrite(daten, 1, groesse, f);
    std::fclose(f);

    TMZFDatei datei;
    if (!datei.Laden(eingabe))
        return 0;
    const QString text = datei.HoleMZDateiRumpfText();
    (void)datei.HoleMZDateiName();
    (void)datei.HoleMZKommentar();

    // The body is everything after the header (and the optional four-byte prefix).
    const bool praefix =
        groesse >= 4 && daten[0] == 'M' && daten[1] == 'Z' && daten[2] == 'F' && daten[3] == '1';
    const std::size_t rumpf = groesse - TMZFDatei::KopfGroesse - (praefix ? 4 : 0);
    if (datei.HoleMZDateiGroesse() != rumpf)
        __builtin_trap();
    if ((rumpf == 0) != text.isEmpty())
        __builtin_trap();

    if (!datei.Speichern(ausgabe))
        return 0;
    // A header that itself begins with "MZF1" (attribute 0x4D, name "ZF1...") reads back as a
    // prefixed file; the format cannot tell the two apart.
    const auto& kopf = datei.Kopf();
    if (kopf[0] == 'M' && kopf[1] == 'Z' && kopf[2] == 'F' && kopf[3] == '1')
        return 0;
    TMZFDatei zurueck;
    if (!zurueck.Laden(ausgabe) || !zurueck.IstGleich(datei) || zurueck.HoleMZDateiRumpfText() != text)
        __builtin_trap();
    return 0;
}
