// Feeds arbitrary bytes to the MZT import as a file, with a choice that varies, and checks that an
// imported file exports and imports again to the same record.
#include "FuzzHilfe.h"
#include "MZFDatei.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    FuzzHilfe::StummSchalten();
    static const QString eingabe = FuzzHilfe::TempPfad("fuzz_mzt", "ein.mzt");
    static const QString ausgabe = FuzzHilfe::TempPfad("fuzz_mzt", "aus.mzt");
    if (!FuzzHilfe::SchreibeDatei(eingabe, daten, groesse))
        return 0;

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
    if (datei.HoleMZDateiGroesse() > GroesseFuerRundreise || !datei.ExportMZT(ausgabe, {.modell = MZ80K}))
        return 0;
    TMZFDatei zurueck;
    if (!zurueck.ImportMZT(ausgabe) || !zurueck.IstGleich(datei))
        __builtin_trap();
    return 0;
}
