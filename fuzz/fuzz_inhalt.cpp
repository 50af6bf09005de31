// Feeds arbitrary bytes to the content views as a body: the first two bytes give the load
// address, the third where the machine code starts, the rest is the body. Every BASIC dialect and
// the dialect detection must end without reading outside the body; the Z80 listing must account
// for every byte exactly once.
#include "BasicListe.h"
#include "FuzzHilfe.h"
#include "Z80Disassembler.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    FuzzHilfe::StummSchalten();
    constexpr std::size_t Kopf = 3;
    if (groesse < Kopf)
        return 0;
    const std::uint16_t ladeAdresse = static_cast<std::uint16_t>(daten[0] | (daten[1] << 8));
    const std::span<const std::uint8_t> rumpf(daten + Kopf, groesse - Kopf);
    for (int d = 0; d < AnzahlBasicDialekte; ++d) {
        const TBasicListe liste = ListeBasic(rumpf, ladeAdresse, static_cast<TBasicDialekt>(d));
        // Every line costs at least five bytes; a refused body says why.
        if (static_cast<std::size_t>(liste.zeilen.size()) > rumpf.size() / 5)
            __builtin_trap();
        if (liste.gueltig != BasicFehlerText(liste, ladeAdresse).isEmpty())
            __builtin_trap();
    }
    (void)ErkenneBasicDialekt(rumpf, daten[2], ladeAdresse);

    const QString text = DisassembliereZ80(rumpf, ladeAdresse, ladeAdresse, daten[2] % (rumpf.size() + 1));
    // The bytes column of each line: two hex digits a byte, one space between.
    std::size_t bytes = 0;
    for (const QString& zeile : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        bytes += (zeile.mid(6, 11).trimmed().size() + 1) / 3;
    if (bytes != rumpf.size() || (rumpf.empty() != text.isEmpty()))
        __builtin_trap();
    return 0;
}
