#include "WAVKopf.h"

#include "LittleEndian.h"

namespace {

using namespace WAVAufbau;
constexpr int OffsetFmtKennung = RiffKopfGroesse;
constexpr int OffsetFmtGroesse = OffsetFmtKennung + OffsetChunkGroesse;
constexpr int OffsetFmt = KanonischFmtDaten;
constexpr int OffsetDataKennung = KanonischData;
constexpr int OffsetDataGroesse = OffsetDataKennung + OffsetChunkGroesse;
constexpr std::uint16_t BitsProByte = 8;

void SetzeKennung(TWAVKopf& kopf, int offset, const char* kennung) {
    for (int i = 0; i < KennungLaenge; ++i)
        kopf[offset + i] = kennung[i];
}

} // namespace

TWAVKopf KanonischerWAVKopf(std::uint32_t pv_datenBytes, std::uint32_t pv_sampleRate,
                            std::uint16_t pv_kanaele, std::uint16_t pv_bitsProSample) {
    TWAVKopf kopf{};
    const auto blockGroesse = static_cast<std::uint16_t>(pv_kanaele * (pv_bitsProSample / BitsProByte));
    SetzeKennung(kopf, 0, "RIFF");
    LittleEndian::Schreibe32(kopf.data() + OffsetRiffGroesse,
                             pv_datenBytes + KanonischKopfGroesse - RiffGroesseAbzug);
    SetzeKennung(kopf, OffsetWave, "WAVE");
    SetzeKennung(kopf, OffsetFmtKennung, "fmt ");
    LittleEndian::Schreibe32(kopf.data() + OffsetFmtGroesse, FmtGroesse);
    LittleEndian::Schreibe16(kopf.data() + OffsetFmt + OffsetFormat, FormatPCM);
    LittleEndian::Schreibe16(kopf.data() + OffsetFmt + OffsetKanaele, pv_kanaele);
    LittleEndian::Schreibe32(kopf.data() + OffsetFmt + OffsetSampleRate, pv_sampleRate);
    LittleEndian::Schreibe32(kopf.data() + OffsetFmt + OffsetBytesProSekunde, pv_sampleRate * blockGroesse);
    LittleEndian::Schreibe16(kopf.data() + OffsetFmt + OffsetBlockGroesse, blockGroesse);
    LittleEndian::Schreibe16(kopf.data() + OffsetFmt + OffsetBitsProSample, pv_bitsProSample);
    SetzeKennung(kopf, OffsetDataKennung, "data");
    LittleEndian::Schreibe32(kopf.data() + OffsetDataGroesse, pv_datenBytes);
    return kopf;
}
