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

} // namespace

std::string TMZFDatei::ErzeugeBandBits(bool pv_verkuerzt,
                                       const std::vector<const TMZFDatei*>& pv_weitere) const {
    std::string bits = ErzeugeTonbandBits(pv_verkuerzt);
    for (const TMZFDatei* datei : pv_weitere)
        if (datei)
            bits += datei->ErzeugeTonbandBits(pv_verkuerzt);
    return bits;
}

bool TMZFDatei::ExportWAV(const QString& pv_dateiName, const std::vector<const TMZFDatei*>& pv_weitere) {
    if (!IstGeladen()) {
        ZeigeFehler(HoleText(QStringLiteral("Fehler_KeineMZFDateiGeladen")));
        return false;
    }
    if (BeiBeginn)
        BeiBeginn(this);
    // Destroyed in reverse order: the writer first, then the cursor, then BeiEnde.
    const TEndeMelden endeMelden(this);
    const TSanduhr sanduhr;

    const std::string bits = ErzeugeBandBits(LiesExportWAVVerkuerztesMZTonbandFormat(), pv_weitere);
    const auto schreiber = std::make_unique<TMZWAVDateiSchreiber>();
    if (!schreiber->Oeffnen(pv_dateiName))
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
