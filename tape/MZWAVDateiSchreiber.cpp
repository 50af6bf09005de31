#include "MZWAVDateiSchreiber.h"

#include "LittleEndian.h"
#include "ProgrammEinstellungen.h"
#include "SchreibMeldung.h"
#include "WAVAufbau.h"

#include <array>

namespace {

// The canonical head of an 8-bit mono PCM file, one "fmt " and one "data" chunk.
static_assert(WAVAufbau::KanonischKopfGroesse == TMZWAVDateiSchreiber::KopfGroesse);
constexpr int OffsetFmtKennung = WAVAufbau::RiffKopfGroesse;
constexpr int OffsetFmtGroesse = OffsetFmtKennung + WAVAufbau::OffsetChunkGroesse;
constexpr int OffsetFmt = WAVAufbau::KanonischFmtDaten;
constexpr int OffsetDataKennung = WAVAufbau::KanonischData;
constexpr int OffsetDataGroesse = OffsetDataKennung + WAVAufbau::OffsetChunkGroesse;
constexpr std::uint16_t Kanaele = 1;
constexpr std::uint16_t BlockAusrichtung = 1;
constexpr std::uint16_t BitsProSample = 8;

void Setze16(std::array<char, TMZWAVDateiSchreiber::KopfGroesse>& kopf, int offset, std::uint16_t wert) {
    LittleEndian::Schreibe16(kopf.data() + offset, wert);
}

void Setze32(std::array<char, TMZWAVDateiSchreiber::KopfGroesse>& kopf, int offset, std::uint32_t wert) {
    LittleEndian::Schreibe32(kopf.data() + offset, wert);
}

void SetzeKennung(std::array<char, TMZWAVDateiSchreiber::KopfGroesse>& kopf, int offset,
                  const char* kennung) {
    for (int i = 0; i < WAVAufbau::KennungLaenge; ++i)
        kopf[offset + i] = kennung[i];
}

std::array<char, TMZWAVDateiSchreiber::KopfGroesse> BaueKopf(std::uint32_t dateiLaenge,
                                                             std::uint32_t sampleRate) {
    std::array<char, TMZWAVDateiSchreiber::KopfGroesse> kopf{};
    using namespace WAVAufbau;
    SetzeKennung(kopf, 0, "RIFF");
    Setze32(kopf, OffsetRiffGroesse, dateiLaenge - RiffGroesseAbzug);
    SetzeKennung(kopf, OffsetWave, "WAVE");
    SetzeKennung(kopf, OffsetFmtKennung, "fmt ");
    Setze32(kopf, OffsetFmtGroesse, FmtGroesse);
    Setze16(kopf, OffsetFmt + OffsetFormat, FormatPCM);
    Setze16(kopf, OffsetFmt + OffsetKanaele, Kanaele);
    Setze32(kopf, OffsetFmt + OffsetSampleRate, sampleRate);
    Setze32(kopf, OffsetFmt + OffsetBytesProSekunde, sampleRate); // one byte per sample
    Setze16(kopf, OffsetFmt + OffsetBlockGroesse, BlockAusrichtung);
    Setze16(kopf, OffsetFmt + OffsetBitsProSample, BitsProSample);
    SetzeKennung(kopf, OffsetDataKennung, "data");
    Setze32(kopf, OffsetDataGroesse, dateiLaenge - TMZWAVDateiSchreiber::KopfGroesse);
    return kopf;
}

} // namespace

using DateiFehler::MeldeSchreibfehler;

TMZWAVDateiSchreiber::TMZWAVDateiSchreiber()
    : m_dateiSchreiber(std::make_unique<TGepufferterDateiSchreiber>()) {}

TMZWAVDateiSchreiber::~TMZWAVDateiSchreiber() = default;

bool TMZWAVDateiSchreiber::Oeffnen(const QString& pv_dateiName) {
    return Oeffnen(pv_dateiName, TMZImpulsGenerator(HoleImportExportMZModell(), HoleExportWAVSampleRate(),
                                                    HoleExportWAVInvertiertePolaritaet()));
}

bool TMZWAVDateiSchreiber::Oeffnen(const QString& pv_dateiName, const TMZImpulsGenerator& pv_generator) {
    if (m_geoeffnet) {
        MeldeSchreibfehler(pv_dateiName, DateiFehler::TextBereitsGeoeffnet);
        return false;
    }
    if (!m_dateiSchreiber->Oeffnen(pv_dateiName))
        return false;
    // Room for the header, then one second of lead-in silence.
    m_generator = pv_generator;
    if (!m_dateiSchreiber->SchreibeBytes(0, KopfGroesse) || !SchreibeLauf(m_generator->Stillelauf())) {
        // Nothing of a file that never began stays behind; the old target is kept.
        m_dateiSchreiber->Abbrechen();
        return false;
    }
    m_geoeffnet = true;
    return true;
}

bool TMZWAVDateiSchreiber::SchreibeImpuls(bool pv_lang) {
    if (!m_geoeffnet) {
        MeldeSchreibfehler(DateiFehler::TextUnbekannt, DateiFehler::TextNichtGeoeffnet);
        return false;
    }
    const auto& impuls = m_generator->Impuls(pv_lang);
    return SchreibeLauf(impuls[0]) && SchreibeLauf(impuls[1]);
}

bool TMZWAVDateiSchreiber::SchreibeLauf(const TMZImpulsGenerator::TLauf& pv_lauf) {
    return m_dateiSchreiber->SchreibeBytes(pv_lauf.pegel, pv_lauf.anzahl);
}

bool TMZWAVDateiSchreiber::Schliessen() {
    if (!m_geoeffnet)
        return true;
    const std::uint32_t sampleRate = m_generator->SampleRate();
    // Trailing second of silence, then one more sample if needed for an even file length.
    if (!SchreibeLauf(m_generator->Stillelauf()))
        return false;
    if (m_dateiSchreiber->HoleAnzahlBytes() % 2 != 0 && !m_dateiSchreiber->SchreibeByte(Stille))
        return false;
    const auto dateiLaenge = static_cast<std::uint32_t>(m_dateiSchreiber->HoleAnzahlBytes());
    // The header goes over the room left for it before the file replaces its target; if that or
    // the completion fails, the writer has said why and the caller's Abbrechen gives the file up.
    const auto kopf = BaueKopf(dateiLaenge, sampleRate);
    if (!m_dateiSchreiber->UeberschreibeAnfang(reinterpret_cast<const std::uint8_t*>(kopf.data()),
                                               KopfGroesse))
        return false;
    if (!m_dateiSchreiber->Schliessen())
        return false;
    m_geoeffnet = false;
    return true;
}

void TMZWAVDateiSchreiber::Abbrechen() {
    if (!m_geoeffnet)
        return;
    m_dateiSchreiber->Abbrechen();
    m_geoeffnet = false;
}
