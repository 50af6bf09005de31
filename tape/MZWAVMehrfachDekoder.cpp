#include "MZWAVMehrfachDekoder.h"

#include "LittleEndian.h"
#include "MZSignalDekoder.h"
#include "ProgrammEinstellungen.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr double MikrosekundenProSekunde = 1000000.0;
// Reserved up front per bit text at most; a longer text grows as strings do.
constexpr std::size_t GroessteReserve = std::size_t{1} << 24;
constexpr int BytesProSample16 = 2;

// Appends one character per bit to a pass's text.
struct TTextSenke {
    std::string* text;
    void operator()(bool lang) { text->push_back(lang ? '1' : '0'); }
};

// A bit uses at least ceil(r) frames of its own, and r is at least rate x delay - 1 periods
// (never below 2): an upper bound of the bits a recording can give.
std::size_t HoechsteBitAnzahl(std::int32_t anzahlFrames, std::uint32_t sampleRate, double verzoegerung) {
    const auto perioden =
        static_cast<std::int64_t>(std::floor(sampleRate * verzoegerung / MikrosekundenProSekunde));
    const std::int64_t proBit = std::max<std::int64_t>(2, perioden - 1);
    return static_cast<std::size_t>(anzahlFrames / proBit + 1);
}

// Brings `anzahl` frames of raw sample data to the common scale.
void WandleUm(const std::uint8_t* roh, std::int32_t anzahl, const TWAVFormat& format, std::uint8_t* ziel) {
    if (!format.sechzehnBit) {
        if (!format.stereo) {
            std::copy(roh, roh + anzahl, ziel);
            return;
        }
        for (std::int32_t i = 0; i < anzahl; ++i)
            ziel[i] = WAVSkala::Stereo8(roh[2 * i], roh[2 * i + 1]);
        return;
    }
    const auto wert = [roh](std::int32_t sample) {
        return static_cast<std::int16_t>(LittleEndian::Lies16(roh + BytesProSample16 * sample));
    };
    if (!format.stereo) {
        for (std::int32_t i = 0; i < anzahl; ++i)
            ziel[i] = WAVSkala::Mono16(wert(i));
        return;
    }
    for (std::int32_t i = 0; i < anzahl; ++i)
        ziel[i] = WAVSkala::Stereo16(wert(2 * i), wert(2 * i + 1));
}

} // namespace

bool TMZWAVMehrfachDekoder::Dekodiere(const QString& pv_dateiName,
                                      const std::vector<TDekodierDurchgang>& pv_durchgaenge,
                                      const TNachBlock& pv_nachBlock) {
    m_bitTexte.assign(pv_durchgaenge.size(), std::string());
    m_geleseneFrames = 0;
    m_format = TWAVFormat();
    auto leser = std::make_unique<TGepufferterDateiLeser>();
    if (!TMZWAVDateiLeser::OeffneWAV(*leser, pv_dateiName, m_format))
        return false;

    const int modell = HoleImportExportMZModell();
    const std::int32_t anzahlFrames = m_format.anzahlFrames;
    std::vector<TMZSignalDekoder> dekoder(pv_durchgaenge.size());
    std::vector<TTextSenke> senken(pv_durchgaenge.size());
    bool invertiertGebraucht = false;
    for (std::size_t i = 0; i < pv_durchgaenge.size(); ++i) {
        const double verzoegerung =
            TMZSignalDekoder::AbtastVerzoegerung(modell, pv_durchgaenge[i].alternativeAbtastzeit);
        dekoder[i].Starte(m_format.sampleRate, verzoegerung, anzahlFrames);
        m_bitTexte[i].reserve(
            std::min(GroessteReserve, HoechsteBitAnzahl(anzahlFrames, m_format.sampleRate, verzoegerung)));
        senken[i].text = &m_bitTexte[i];
        invertiertGebraucht = invertiertGebraucht || pv_durchgaenge[i].invertiertePolaritaet;
    }

    const int blockGroesse = m_format.BlockGroesse();
    const std::int32_t blockFrames = std::min(BlockFrames, anzahlFrames);
    std::vector<std::uint8_t> roh(static_cast<std::size_t>(blockFrames) * blockGroesse);
    std::vector<std::uint8_t> normal(static_cast<std::size_t>(blockFrames));
    std::vector<std::uint8_t> invertiert(invertiertGebraucht ? static_cast<std::size_t>(blockFrames) : 0);

    const auto alleAmEnde = [&dekoder] {
        return std::all_of(dekoder.begin(), dekoder.end(),
                           [](const TMZSignalDekoder& d) { return d.IstAmEnde(); });
    };
    while (m_geleseneFrames < anzahlFrames && !alleAmEnde()) {
        const std::int32_t anzahl = std::min(blockFrames, anzahlFrames - m_geleseneFrames);
        if (!leser->LeseBytes(roh.data(), anzahl * blockGroesse)) {
            leser->Schliessen();
            return false;
        }
        WandleUm(roh.data(), anzahl, m_format, normal.data());
        if (invertiertGebraucht)
            std::transform(normal.begin(), normal.begin() + anzahl, invertiert.begin(), WAVSkala::Invertiere);
        for (std::size_t i = 0; i < dekoder.size(); ++i) {
            const std::uint8_t* frames =
                pv_durchgaenge[i].invertiertePolaritaet ? invertiert.data() : normal.data();
            dekoder[i].Verarbeite(frames, frames + anzahl, senken[i]);
        }
        m_geleseneFrames += anzahl;
        if (pv_nachBlock)
            pv_nachBlock(*this);
    }
    leser->Schliessen();
    return true;
}
