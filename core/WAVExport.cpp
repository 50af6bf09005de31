// The loaded MZ file as a cassette recording: its tape bit text, one pulse per character.
#include "MZFDatei.h"

#include "BandMeldung.h"
#include "MZWAVDateiSchreiber.h"
#include "Plattform.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include <memory>

namespace {

// Pulses between two progress reports.
constexpr std::size_t ImpulseProFortschritt = 10'000;

// Raises BeiEnde when the export leaves, on every way out, so the window leaves its busy state.
class TEndeMelden {
public:
    explicit TEndeMelden(TMZFDatei* datei) : m_datei(datei) {}
    ~TEndeMelden() {
        if (m_datei->BeiEnde)
            m_datei->BeiEnde(m_datei);
    }
    TEndeMelden(const TEndeMelden&) = delete;
    TEndeMelden& operator=(const TEndeMelden&) = delete;

private:
    TMZFDatei* m_datei;
};

// An export without settings given asks them itself, as the WAV writer does: the tape format from
// the store at every export, the model (whose leaders the bit text has) as held in memory.
TBandEinstellungen EinstellungenDerAusgabe() {
    TBandEinstellungen einstellungen;
    einstellungen.modell = HoleImportExportMZModell();
    einstellungen.sampleRate = HoleExportWAVSampleRate();
    einstellungen.invertiert = HoleExportWAVInvertiertePolaritaet();
    einstellungen.verkuerzt = LiesExportWAVVerkuerztesMZTonbandFormat();
    return einstellungen;
}

} // namespace

std::string TMZFDatei::ErzeugeBandBits(const TBandEinstellungen& pv_einstellungen,
                                       const std::vector<const TMZFDatei*>& pv_weitere) const {
    std::string bits = ErzeugeTonbandBits(pv_einstellungen);
    for (const TMZFDatei* datei : pv_weitere)
        if (datei)
            bits += datei->ErzeugeTonbandBits(pv_einstellungen);
    return bits;
}

bool TMZFDatei::ExportWAV(const QString& pv_dateiName, const std::vector<const TMZFDatei*>& pv_weitere) {
    return ExportiereWAV(pv_dateiName, nullptr, pv_weitere);
}

bool TMZFDatei::ExportWAV(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                          const std::vector<const TMZFDatei*>& pv_weitere) {
    return ExportiereWAV(pv_dateiName, &pv_einstellungen, pv_weitere);
}

bool TMZFDatei::ExportiereWAV(const QString& pv_dateiName, const TBandEinstellungen* pv_einstellungen,
                              const std::vector<const TMZFDatei*>& pv_weitere) {
    if (!IstGeladen()) {
        ZeigeFehler(HoleText(QStringLiteral("Fehler_KeineMZFDateiGeladen")));
        return false;
    }
    if (BeiBeginn)
        BeiBeginn(this);
    // Destroyed in reverse order: the writer first, then the cursor, then BeiEnde.
    const TEndeMelden endeMelden(this);
    const TSanduhr sanduhr;

    const TBandEinstellungen einstellungen = pv_einstellungen ? *pv_einstellungen : EinstellungenDerAusgabe();
    const std::string bits = ErzeugeBandBits(einstellungen, pv_weitere);
    const auto schreiber = std::make_unique<TMZWAVDateiSchreiber>();
    // Without settings given, the writer asks the settings for its model, rate and polarity.
    const bool offen = pv_einstellungen
                           ? schreiber->Oeffnen(pv_dateiName, TMZImpulsGenerator(einstellungen.modell,
                                                                                 einstellungen.sampleRate,
                                                                                 einstellungen.invertiert))
                           : schreiber->Oeffnen(pv_dateiName);
    if (!offen)
        return MeldeBandFehler(schreiber->HoleFehler());

    const std::size_t laenge = bits.size();
    for (std::size_t i = 1; i <= laenge; ++i) {
        if (!schreiber->SchreibeImpuls(bits[i - 1] == '1'))
            return MeldeUndVerwirf(*schreiber);
        if (i % ImpulseProFortschritt == 0)
            RaiseFortschritt(static_cast<double>(i) / static_cast<double>(laenge) * 100.0);
    }
    return schreiber->Schliessen() || MeldeUndVerwirf(*schreiber);
}
