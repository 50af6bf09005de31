// Feeds arbitrary bytes to the MZF loader as a file, builds the body view, and checks that a
// loaded file saves and reloads to the same record.
#include "FuzzHilfe.h"
#include "MZFDatei.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    FuzzHilfe::StummSchalten();
    static const QString eingabe = FuzzHilfe::TempPfad("fuzz_mzf", "ein.mzf");
    static const QString ausgabe = FuzzHilfe::TempPfad("fuzz_mzf", "aus.mzf");
    if (!FuzzHilfe::SchreibeDatei(eingabe, daten, groesse))
        return 0;

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
