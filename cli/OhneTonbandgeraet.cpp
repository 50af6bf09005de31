// The tape deck of a build without Qt Multimedia: every other command works as before.
#include "Kommandozeile.h"
#include "Tonbandgeraet.h"

namespace {
int NichtEingebaut(QTextStream& fehler) {
    fehler << "bandwerk-cli: this build cannot play or record (it was built without Qt Multimedia)\n";
    return ExitFehler;
}
} // namespace

int SpieleBandAb(const TMZFDatei&, const std::vector<const TMZFDatei*>&, const TBandEinstellungen&,
                 const QString&, QTextStream&, QTextStream& fehler) {
    return NichtEingebaut(fehler);
}

int NimmBandAuf(const QString&, const TAufnahmeOptionen&, QTextStream&, QTextStream& fehler) {
    return NichtEingebaut(fehler);
}

bool TonbandgeraetEingebaut() {
    return false;
}

int ZeigeAudioGeraete(QTextStream&, QTextStream& fehler) {
    return NichtEingebaut(fehler);
}
