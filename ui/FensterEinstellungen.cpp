#include "FensterEinstellungen.h"

#include "Plattform.h"
#include "ProgrammEinstellungen.h"

TBandEinstellungen BandEinstellungenImSpeicher() {
    TBandEinstellungen einstellungen;
    einstellungen.modell = HoleImportExportMZModell();
    einstellungen.sampleRate = HoleExportWAVSampleRate();
    einstellungen.invertiert = HoleExportWAVInvertiertePolaritaet();
    return einstellungen;
}

TBandEinstellungen LiesBandEinstellungen() {
    TBandEinstellungen einstellungen = BandEinstellungenImSpeicher();
    einstellungen.verkuerzt = LiesExportWAVVerkuerztesMZTonbandFormat();
    einstellungen.erweitert = LiesImportErweiterteDekodierung();
    return einstellungen;
}

TBandEinstellungen LiesBandEinstellungenOderMelde() {
    try {
        return LiesBandEinstellungen();
    } catch (const TEinstellungenFehler& fehler) {
        ZeigeFehler(fehler.Text());
    }
    return BandEinstellungenImSpeicher();
}
