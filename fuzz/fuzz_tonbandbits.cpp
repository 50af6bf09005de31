// Feeds arbitrary text to the tape bit parser, from position 1 and again after each file found,
// and checks that every file it accepts builds a text that parses back to the same file.
#include "MZFDatei.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    // Most inputs are mapped onto the two bit characters, so that marks and bytes can appear;
    // the first byte decides whether the raw text is taken instead.
    if (groesse == 0)
        return 0;
    std::string text(reinterpret_cast<const char*>(daten) + 1, groesse - 1);
    if (daten[0] & 1)
        for (char& c : text)
            c = (static_cast<unsigned char>(c) & 1) ? '1' : '0';

    TMZFDatei datei;
    int start = daten[0] >> 1; // also positions below and around 1
    start -= 64;
    int ende = 0;
    int gefunden = 0;
    while (datei.LeseAusTonbandBits(text, start, (daten[0] & 2) != 0, 1.0, ende)) {
        if (ende < start || ende > static_cast<int>(text.size()) || ++gefunden > 1000)
            __builtin_trap();
        TMZFDatei kopie;
        int kopieEnde = 0;
        if (!kopie.LeseAusTonbandBits(datei.ErzeugeTonbandBits({.modell = MZ80K, .verkuerzt = true}), 1,
                                      false, 0.0, kopieEnde) ||
            !kopie.IstGleich(datei))
            __builtin_trap();
        start = ende + 1;
    }
    if (datei.IstGeladen())
        __builtin_trap();
    return 0;
}
