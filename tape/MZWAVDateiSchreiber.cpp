#include "MZWAVDateiSchreiber.h"

#include "LittleEndian.h"
#include "MZModellZeiten.h"
#include "ProgrammEinstellungen.h"
#include "SchreibMeldung.h"
#include "WAVAufbau.h"

#include <array>

namespace {

using MZModellZeiten::HundertstelProSekunde;

// rate x duration / 1 s, the halfway case going to the even neighbour.
std::int32_t RundeZurGeraden(std::uint64_t produkt) {
    std::uint64_t q = produkt / HundertstelProSekunde;
    const std::uint64_t rest2 = 2 * (produkt % HundertstelProSekunde);
    if (rest2 > HundertstelProSekunde || (rest2 == HundertstelProSekunde && (q & 1) != 0))
        ++q;
    return static_cast<std::int32_t>(q);
}

std::int32_t RundeAuf(std::uint64_t produkt) {
    return static_cast<std::int32_t>((produkt + HundertstelProSekunde - 1) / HundertstelProSekunde);
}

std::uint8_t Pegel(std::uint8_t pegel, bool invertiert) {
    return invertiert ? static_cast<std::uint8_t>(255 - pegel) : pegel;
}

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

TMZWAVDateiSchreiber::TImpulsLaengen
TMZWAVDateiSchreiber::BerechneImpulsLaengen(int modell, std::uint32_t sampleRate, bool lang) {
    const TMZModellZeiten& d = MZModellZeiten::Von(modell);
    const std::uint64_t r = sampleRate;
    TImpulsLaengen k{RundeZurGeraden(r * (lang ? d.langErster : d.kurzErster)),
                     RundeAuf(r * (lang ? d.langZweiter : d.kurzZweiter))};
    // At very low rates a part still gets one sample, so that every pulse has both edges.
    if (k.ersterTeil == 0)
        k.ersterTeil = 1;
    if (k.zweiterTeil == 0)
        k.zweiterTeil = 1;
    return k;
}

TMZWAVDateiSchreiber::TMZWAVDateiSchreiber()
    : m_dateiSchreiber(std::make_unique<TGepufferterDateiSchreiber>()) {}

TMZWAVDateiSchreiber::~TMZWAVDateiSchreiber() = default;

bool TMZWAVDateiSchreiber::Oeffnen(const QString& pv_dateiName) {
    if (m_geoeffnet) {
        MeldeSchreibfehler(pv_dateiName, DateiFehler::TextBereitsGeoeffnet);
        return false;
    }
    if (!m_dateiSchreiber->Oeffnen(pv_dateiName))
        return false;
    // Room for the header, then one second of lead-in silence.
    if (!m_dateiSchreiber->SchreibeBytes(0, KopfGroesse) ||
        !m_dateiSchreiber->SchreibeBytes(Stille, HoleExportWAVSampleRate())) {
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
    const TImpulsLaengen k =
        BerechneImpulsLaengen(HoleImportExportMZModell(), HoleExportWAVSampleRate(), pv_lang);
    const bool invertiert = HoleExportWAVInvertiertePolaritaet();
    return m_dateiSchreiber->SchreibeBytes(Pegel(PegelErsterTeil, invertiert), k.ersterTeil) &&
           m_dateiSchreiber->SchreibeBytes(Pegel(PegelZweiterTeil, invertiert), k.zweiterTeil);
}

bool TMZWAVDateiSchreiber::Schliessen() {
    if (!m_geoeffnet)
        return true;
    const std::uint32_t sampleRate = HoleExportWAVSampleRate();
    // Trailing second of silence, then one more sample if needed for an even file length.
    if (!m_dateiSchreiber->SchreibeBytes(Stille, static_cast<std::int32_t>(sampleRate)))
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
