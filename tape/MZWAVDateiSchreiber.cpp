#include "MZWAVDateiSchreiber.h"

#include "DateiFehler.h"
#include "ProgrammEinstellungen.h"
#include "WAVKopf.h"

namespace {

static_assert(WAVAufbau::KanonischKopfGroesse == TMZWAVDateiSchreiber::KopfGroesse);
constexpr std::uint16_t Kanaele = 1;
constexpr std::uint16_t BitsProSample = 8;

} // namespace

TMZWAVDateiSchreiber::TMZWAVDateiSchreiber()
    : m_dateiSchreiber(std::make_unique<TGepufferterDateiSchreiber>()) {}

TMZWAVDateiSchreiber::~TMZWAVDateiSchreiber() = default;

bool TMZWAVDateiSchreiber::Oeffnen(const QString& pv_dateiName) {
    return Oeffnen(pv_dateiName, TMZImpulsGenerator(HoleImportExportMZModell(), HoleExportWAVSampleRate(),
                                                    HoleExportWAVInvertiertePolaritaet()));
}

bool TMZWAVDateiSchreiber::Oeffnen(const QString& pv_dateiName, const TMZImpulsGenerator& pv_generator) {
    if (m_geoeffnet) {
        m_fehler = TBandFehler::Schreiben(pv_dateiName, DateiFehler::TextBereitsGeoeffnet);
        return false;
    }
    if (!m_dateiSchreiber->Oeffnen(pv_dateiName))
        return UebernimmDateiFehler();
    // Room for the header, then one second of lead-in silence.
    m_generator = pv_generator;
    if (!m_dateiSchreiber->SchreibeBytes(0, KopfGroesse) || !SchreibeLauf(m_generator->Stillelauf())) {
        // Nothing of a file that never began stays behind; the old target is kept.
        UebernimmDateiFehler();
        m_dateiSchreiber->Abbrechen();
        return false;
    }
    m_geoeffnet = true;
    return true;
}

bool TMZWAVDateiSchreiber::SchreibeImpuls(bool pv_lang) {
    if (!m_geoeffnet) {
        m_fehler = TBandFehler::Schreiben(DateiFehler::TextUnbekannt, DateiFehler::TextNichtGeoeffnet);
        return false;
    }
    const auto& impuls = m_generator->Impuls(pv_lang);
    return SchreibeLauf(impuls[0]) && SchreibeLauf(impuls[1]);
}

bool TMZWAVDateiSchreiber::SchreibeLauf(const TMZImpulsGenerator::TLauf& pv_lauf) {
    return m_dateiSchreiber->SchreibeBytes(pv_lauf.pegel, pv_lauf.anzahl) || UebernimmDateiFehler();
}

bool TMZWAVDateiSchreiber::Schliessen() {
    if (!m_geoeffnet)
        return true;
    const std::uint32_t sampleRate = m_generator->SampleRate();
    // Trailing second of silence, then one more sample if needed for an even file length.
    if (!SchreibeLauf(m_generator->Stillelauf()))
        return false;
    if (m_dateiSchreiber->HoleAnzahlBytes() % 2 != 0 && !m_dateiSchreiber->SchreibeByte(Stille))
        return UebernimmDateiFehler();
    const auto dateiLaenge = static_cast<std::uint32_t>(m_dateiSchreiber->HoleAnzahlBytes());
    // The header goes over the room left for it before the file replaces its target; if that or
    // the completion fails, HoleFehler says why and the caller's Abbrechen gives the file up.
    const TWAVKopf kopf = KanonischerWAVKopf(dateiLaenge - KopfGroesse, sampleRate, Kanaele, BitsProSample);
    if (!m_dateiSchreiber->UeberschreibeAnfang(reinterpret_cast<const std::uint8_t*>(kopf.data()),
                                               KopfGroesse))
        return UebernimmDateiFehler();
    if (!m_dateiSchreiber->Schliessen())
        return UebernimmDateiFehler();
    m_geoeffnet = false;
    return true;
}

void TMZWAVDateiSchreiber::Abbrechen() {
    if (!m_geoeffnet)
        return;
    m_dateiSchreiber->Abbrechen();
    m_geoeffnet = false;
}
