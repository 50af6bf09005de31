#include "MZWAVDateiLeser.h"

#include "DateiFehler.h"
#include "LittleEndian.h"
#include "WAVAufbau.h"

#include <algorithm>
#include <cstring>

using namespace DateiFehler;

namespace {

using namespace WAVAufbau;
// The extensible "fmt " chunk: after the 16 bytes above, the size of the extension (at least 22),
// the valid bits, the channel mask and the sub-format GUID, whose first two bytes are the format
// tag and whose other 14 are the same for every audio sub-format.
constexpr int FmtGroesseErweiterbar = 40;
constexpr int OffsetErweiterungsGroesse = 16;
constexpr std::uint16_t ErweiterungsGroesse = 22;
constexpr int OffsetUnterformat = 24;
constexpr std::uint8_t UnterformatRest[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr std::uint16_t Mono = 1;
constexpr std::uint16_t Stereo = 2;
constexpr std::uint16_t AchtBit = 8;
constexpr std::uint16_t SechzehnBit = 16;

bool IstKennung(const std::uint8_t* p, const char* kennung) {
    return std::memcmp(p, kennung, KennungLaenge) == 0;
}

TBandFehler Beschaedigt(const TByteQuelle& quelle) {
    return TBandFehler::Von(TBandFehler::TArt::Beschaedigt, quelle.HoleName());
}

// Walks the chunks from the source's position to the one with the identifier and leaves the
// source at its first data byte. Every chunk must fit, with its pad byte, into what is left up to
// `ende` (the end of the file, or of the RIFF chunk); only the sought one may be longer when
// `darfUeberstehen`, and then it ends with the file at the latest.
TBandFehler SucheChunk(TByteQuelle& quelle, const char* kennung, std::int64_t& groesse, std::int64_t ende,
                       bool darfUeberstehen = false) {
    for (;;) {
        if (ende - quelle.HolePosition() < ChunkKopfGroesse)
            return Beschaedigt(quelle);
        std::uint8_t kopf[ChunkKopfGroesse];
        if (!quelle.LeseBytes(kopf, ChunkKopfGroesse))
            return quelle.HoleFehler();
        const std::int64_t n = LittleEndian::Lies32(kopf + OffsetChunkGroesse) & GroessenMaske;
        const std::int64_t gepolstert = n + (n & 1);
        if (darfUeberstehen && IstKennung(kopf, kennung) && gepolstert > ende - quelle.HolePosition()) {
            groesse = std::min(n, static_cast<std::int64_t>(quelle.HoleGroesse()) - quelle.HolePosition());
            return {};
        }
        if (gepolstert > ende - quelle.HolePosition())
            return Beschaedigt(quelle);
        if (IstKennung(kopf, kennung)) {
            groesse = n;
            return {};
        }
        // Fits into the file, so into 32 bits.
        if (!quelle.Ueberspringen(static_cast<std::int32_t>(gepolstert)))
            return quelle.HoleFehler();
    }
}

// Finds the "fmt " chunk before `ende` and reads its first 16 bytes, or up to `hoechstens` when it
// has that many, into `fmt`; the rest of the chunk is passed over. A chunk of fewer than 16 bytes
// is damage.
TBandFehler LeseFmt(TByteQuelle& quelle, std::int64_t ende, int hoechstens, std::uint8_t* fmt,
                    std::int64_t& fmtGroesse) {
    const TBandFehler suche = SucheChunk(quelle, "fmt ", fmtGroesse, ende);
    if (!suche.IstOk())
        return suche;
    if (fmtGroesse < FmtGroesse)
        return Beschaedigt(quelle);
    const int gelesen = fmtGroesse >= hoechstens ? hoechstens : FmtGroesse;
    if (!quelle.LeseBytes(fmt, gelesen))
        return quelle.HoleFehler();
    const std::int64_t rest = fmtGroesse + (fmtGroesse & 1) - gelesen;
    if (rest > 0 && !quelle.Ueberspringen(static_cast<std::int32_t>(rest)))
        return quelle.HoleFehler();
    return {};
}

TBandFehler OeffneEinfach(TByteQuelle& quelle, const std::uint8_t* riff, TWAVFormat& pv_format);
TBandFehler OeffneErweitert(TByteQuelle& quelle, const std::uint8_t* riff, TWAVFormat& pv_format);

} // namespace

TMZWAVDateiLeser::TMZWAVDateiLeser() : m_dateiLeser(std::make_unique<TGepufferterDateiLeser>()) {}

TMZWAVDateiLeser::~TMZWAVDateiLeser() = default;

TBandFehler TMZWAVDateiLeser::OeffneWAV(TByteQuelle& pv_quelle, TWAVFormat& pv_format, bool pv_erweitert) {
    if (pv_quelle.HoleGroesse() < RiffKopfGroesse)
        return Beschaedigt(pv_quelle);
    std::uint8_t riff[RiffKopfGroesse];
    if (!pv_quelle.LeseBytes(riff, RiffKopfGroesse))
        return pv_quelle.HoleFehler();
    if (pv_erweitert)
        return OeffneErweitert(pv_quelle, riff, pv_format);
    TBandFehler fehler = OeffneEinfach(pv_quelle, riff, pv_format);
    // A recording the extended reader takes (a rate of today's recorders, 24 bits, floating point,
    // more channels) is told as such, so that the user knows what to switch on.
    if (fehler.art == TBandFehler::TArt::Beschaedigt || fehler.art == TBandFehler::TArt::SampleRate) {
        TWAVFormat format;
        if (pv_quelle.Springe(RiffKopfGroesse) && OeffneErweitert(pv_quelle, riff, format).IstOk()) {
            fehler.erweitert.liest = true;
            fehler.erweitert.sampleRate = format.sampleRate;
            fehler.erweitert.bits = static_cast<std::uint16_t>(format.bytesProSample * 8);
            fehler.erweitert.kanaele = format.kanaele;
            fehler.erweitert.gleitkomma = format.gleitkomma;
        }
    }
    return fehler;
}

TBandFehler TMZWAVDateiLeser::OeffneWAV(TGepufferterDateiLeser& pv_leser, const QString& pv_dateiName,
                                        TWAVFormat& pv_format, bool pv_erweitert) {
    if (!pv_leser.Oeffnen(pv_dateiName))
        return pv_leser.HoleFehler();
    const TBandFehler fehler = OeffneWAV(static_cast<TByteQuelle&>(pv_leser), pv_format, pv_erweitert);
    if (!fehler.IstOk())
        pv_leser.Schliessen();
    return fehler;
}

namespace {

// The plain container walk: exactly the canonical RIFF chunk, PCM of 8 or 16 bits in one or two
// channels, at the rates a WAV export writes.
TBandFehler OeffneEinfach(TByteQuelle& quelle, const std::uint8_t* riff, TWAVFormat& pv_format) {
    const std::int64_t dateiGroesse = quelle.HoleGroesse();
    // Nothing may follow the RIFF chunk.
    if (!IstKennung(riff, "RIFF") ||
        (LittleEndian::Lies32(riff + OffsetRiffGroesse) & GroessenMaske) != dateiGroesse - RiffGroesseAbzug ||
        !IstKennung(riff + OffsetWave, "WAVE"))
        return Beschaedigt(quelle);

    // Whatever comes before "fmt " is passed over, a "data" chunk included.
    std::int64_t fmtGroesse = 0;
    std::uint8_t fmt[FmtGroesse];
    TBandFehler fehler = LeseFmt(quelle, dateiGroesse, FmtGroesse, fmt, fmtGroesse);
    if (!fehler.IstOk())
        return fehler;

    const std::uint16_t kanaele = LittleEndian::Lies16(fmt + OffsetKanaele);
    if (LittleEndian::Lies16(fmt + OffsetFormat) != FormatPCM || (kanaele != Mono && kanaele != Stereo))
        return Beschaedigt(quelle);
    const std::uint32_t sampleRate = LittleEndian::Lies32(fmt + OffsetSampleRate);
    if (sampleRate < TMZWAVDateiLeser::KleinsteSampleRate ||
        sampleRate > TMZWAVDateiLeser::GroessteSampleRate)
        return TBandFehler::SampleRate(quelle.HoleName(), TMZWAVDateiLeser::KleinsteSampleRate,
                                       TMZWAVDateiLeser::GroessteSampleRate);
    const std::uint16_t bits = LittleEndian::Lies16(fmt + OffsetBitsProSample);
    if (bits != AchtBit && bits != SechzehnBit)
        return Beschaedigt(quelle);
    TWAVFormat format;
    format.sampleRate = sampleRate;
    format.stereo = kanaele == Stereo;
    format.sechzehnBit = bits == SechzehnBit;
    format.kanaele = kanaele;
    format.bytesProSample = static_cast<std::uint16_t>(bits / 8);
    const auto blockGroesse = static_cast<std::uint32_t>(format.BlockGroesse());
    if (LittleEndian::Lies32(fmt + OffsetBytesProSekunde) != sampleRate * blockGroesse ||
        LittleEndian::Lies16(fmt + OffsetBlockGroesse) != blockGroesse)
        return Beschaedigt(quelle);

    // Chunks after "data" are never looked at.
    std::int64_t dataGroesse = 0;
    fehler = SucheChunk(quelle, "data", dataGroesse, dateiGroesse);
    if (!fehler.IstOk())
        return fehler;
    format.anzahlFrames = static_cast<std::int32_t>(dataGroesse / blockGroesse);
    pv_format = format;
    return {};
}

// The sample layout of an extended "fmt " chunk (the first 16 bytes, and the 40 of the extensible
// form when there are that many); false when it is none the extended reader takes.
bool LeseErweitertesFormat(const std::uint8_t* fmt, std::int64_t fmtGroesse, TWAVFormat& format) {
    std::uint16_t tag = LittleEndian::Lies16(fmt + OffsetFormat);
    if (tag == FormatErweiterbar) {
        if (fmtGroesse < FmtGroesseErweiterbar ||
            LittleEndian::Lies16(fmt + OffsetErweiterungsGroesse) < ErweiterungsGroesse ||
            std::memcmp(fmt + OffsetUnterformat + 2, UnterformatRest, sizeof UnterformatRest) != 0)
            return false;
        tag = LittleEndian::Lies16(fmt + OffsetUnterformat);
    }
    const std::uint16_t kanaele = LittleEndian::Lies16(fmt + OffsetKanaele);
    const std::uint16_t bits = LittleEndian::Lies16(fmt + OffsetBitsProSample);
    const bool ganzzahlig = tag == FormatPCM && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    const bool gleitkomma = tag == FormatGleitkomma && (bits == 32 || bits == 64);
    if ((!ganzzahlig && !gleitkomma) || kanaele < Mono ||
        kanaele > TMZWAVDateiLeser::GroessteKanalzahlErweitert)
        return false;
    format.kanaele = kanaele;
    format.bytesProSample = static_cast<std::uint16_t>(bits / 8);
    format.gleitkomma = gleitkomma;
    format.stereo = kanaele == Stereo;
    format.sechzehnBit = bits == SechzehnBit && !gleitkomma;
    // The block size must be what the layout says; the byte rate is informative only, and
    // recorders get it wrong.
    return LittleEndian::Lies16(fmt + OffsetBlockGroesse) == format.BlockGroesse();
}

// The extended container walk; the plain one's failures for everything it still refuses.
TBandFehler OeffneErweitert(TByteQuelle& quelle, const std::uint8_t* riff, TWAVFormat& pv_format) {
    const std::int64_t dateiGroesse = quelle.HoleGroesse();
    if (!IstKennung(riff, "RIFF") || !IstKennung(riff + OffsetWave, "WAVE"))
        return Beschaedigt(quelle);
    // Bytes after the RIFF chunk are not looked at; a RIFF size too large, or too small to hold
    // even the two chunk heads (a recorder that never came back to fill it in), means the file's end.
    const std::int64_t riffEnde =
        (LittleEndian::Lies32(riff + OffsetRiffGroesse) & GroessenMaske) + RiffGroesseAbzug;
    const std::int64_t ende =
        riffEnde < RiffKopfGroesse + 2 * ChunkKopfGroesse ? dateiGroesse : std::min(riffEnde, dateiGroesse);

    std::int64_t fmtGroesse = 0;
    std::uint8_t fmt[FmtGroesseErweiterbar] = {};
    TBandFehler fehler = LeseFmt(quelle, ende, FmtGroesseErweiterbar, fmt, fmtGroesse);
    if (!fehler.IstOk())
        return fehler;

    TWAVFormat format;
    if (!LeseErweitertesFormat(fmt, fmtGroesse, format))
        return Beschaedigt(quelle);
    const std::uint32_t sampleRate = LittleEndian::Lies32(fmt + OffsetSampleRate);
    if (sampleRate < TMZWAVDateiLeser::KleinsteSampleRateErweitert ||
        sampleRate > TMZWAVDateiLeser::GroessteSampleRateErweitert)
        return TBandFehler::SampleRate(quelle.HoleName(), TMZWAVDateiLeser::KleinsteSampleRateErweitert,
                                       TMZWAVDateiLeser::GroessteSampleRateErweitert);
    format.sampleRate = sampleRate;

    std::int64_t dataGroesse = 0;
    fehler = SucheChunk(quelle, "data", dataGroesse, ende, true);
    if (!fehler.IstOk())
        return fehler;
    format.anzahlFrames = static_cast<std::int32_t>(dataGroesse / format.BlockGroesse());
    pv_format = format;
    return {};
}

} // namespace

bool TMZWAVDateiLeser::Oeffnen(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                               bool pv_invertiertePolaritaet, bool pv_alternativeAbtastzeit) {
    if (m_geoeffnet)
        return Fehler(pv_dateiName, TextBereitsGeoeffnet);
    TWAVFormat format;
    m_fehler = OeffneWAV(*m_dateiLeser, pv_dateiName, format);
    if (!m_fehler.IstOk())
        return false;
    m_quelle = m_dateiLeser.get();
    if (!Beginne(pv_einstellungen.modell, pv_invertiertePolaritaet, pv_alternativeAbtastzeit, format)) {
        m_dateiLeser->Schliessen();
        return false;
    }
    return true;
}

bool TMZWAVDateiLeser::Oeffnen(TByteQuelle& pv_quelle, const TBandEinstellungen& pv_einstellungen,
                               bool pv_invertiertePolaritaet, bool pv_alternativeAbtastzeit) {
    if (m_geoeffnet)
        return Fehler(pv_quelle.HoleName(), TextBereitsGeoeffnet);
    TWAVFormat format;
    if (!pv_quelle.Springe(0))
        return Fehler(pv_quelle.HoleFehler());
    m_fehler = OeffneWAV(pv_quelle, format);
    if (!m_fehler.IstOk())
        return false;
    m_quelle = &pv_quelle;
    return Beginne(pv_einstellungen.modell, pv_invertiertePolaritaet, pv_alternativeAbtastzeit, format);
}

bool TMZWAVDateiLeser::Beginne(int pv_modell, bool pv_invertiertePolaritaet, bool pv_alternativeAbtastzeit,
                               const TWAVFormat& format) {
    m_sampleRate = static_cast<std::uint16_t>(format.sampleRate);
    m_stereo = format.stereo;
    m_sechzehnBit = format.sechzehnBit;
    m_anzahlSamples = format.anzahlFrames;
    m_geoeffnet = true;
    m_sampleIndex = 0;
    m_invertiertePolaritaet = pv_invertiertePolaritaet;
    m_alternativeAbtastzeit = pv_alternativeAbtastzeit;
    m_modell = pv_modell;
    m_letztesSample = TMZSignalDekoder::KeinSample;
    m_vorletztesSample = TMZSignalDekoder::KeinSample;
    m_dekoder.Starte(m_sampleRate, TMZSignalDekoder::AbtastVerzoegerung(m_modell, m_alternativeAbtastzeit),
                     m_anzahlSamples);
    if (!SucheNaechstesBit()) {
        m_geoeffnet = false;
        m_quelle = nullptr;
        return false;
    }
    return true;
}

void TMZWAVDateiLeser::Schliessen() {
    if (!m_geoeffnet)
        return;
    m_dateiLeser->Schliessen();
    m_quelle = nullptr;
    m_geoeffnet = false;
}

int TMZWAVDateiLeser::BlockGroesse() const {
    return (m_stereo ? 2 : 1) * (m_sechzehnBit ? 2 : 1);
}

bool TMZWAVDateiLeser::LeseSample(std::uint8_t& pv_sample) {
    if (!m_geoeffnet)
        return Fehler(TextUnbekannt, TextNichtGeoeffnet);
    if (m_sampleIndex >= m_anzahlSamples)
        return Fehler(m_quelle->HoleName(), TextDateiEnde);
    // One frame at a time: left, then right; 16-bit samples little-endian.
    std::uint8_t rahmen[Stereo * sizeof(std::int16_t)];
    if (!m_quelle->LeseBytes(rahmen, BlockGroesse()))
        return Fehler(m_quelle->HoleFehler());
    std::uint8_t v = 0;
    if (m_sechzehnBit) {
        const auto links = static_cast<std::int16_t>(LittleEndian::Lies16(rahmen));
        v = m_stereo ? WAVSkala::Stereo16(links, static_cast<std::int16_t>(
                                                     LittleEndian::Lies16(rahmen + sizeof(std::int16_t))))
                     : WAVSkala::Mono16(links);
    } else {
        v = m_stereo ? WAVSkala::Stereo8(rahmen[0], rahmen[1]) : rahmen[0];
    }
    if (m_invertiertePolaritaet)
        v = WAVSkala::Invertiere(v);
    ++m_sampleIndex;
    m_vorletztesSample = m_letztesSample;
    m_letztesSample = v;
    pv_sample = v;
    return true;
}

bool TMZWAVDateiLeser::UeberspringeSamples(std::int32_t pv_anzahl) {
    if (!m_geoeffnet)
        return Fehler(TextUnbekannt, TextNichtGeoeffnet);
    if (pv_anzahl < 0)
        return Fehler(TextUnbekannt, TextRueckwaerts);
    if (static_cast<std::int64_t>(m_sampleIndex) + pv_anzahl > m_anzahlSamples)
        return Fehler(TextUnbekannt, TextHinterDemEnde);
    m_letztesSample = TMZSignalDekoder::KeinSample;
    m_vorletztesSample = TMZSignalDekoder::KeinSample;
    // Within the data chunk, so within 32 bits.
    if (!m_quelle->Ueberspringen(
            static_cast<std::int32_t>(static_cast<std::int64_t>(pv_anzahl) * BlockGroesse())))
        return Fehler(m_quelle->HoleFehler());
    m_sampleIndex += pv_anzahl;
    return true;
}

bool TMZWAVDateiLeser::IstDateiEnde() const {
    return !m_geoeffnet || m_bitZustand == KeinBitMehr;
}

bool TMZWAVDateiLeser::LeseBit(bool& pv_bit) {
    if (!m_geoeffnet)
        return Fehler(TextUnbekannt, TextNichtGeoeffnet);
    if (m_bitZustand == KeinBitMehr)
        return Fehler(m_quelle->HoleName(), TextDateiEnde);
    pv_bit = m_bitZustand == BitEins;
    return SucheNaechstesBit();
}

namespace {
// Takes the one bit that a search decides.
struct TEinBit {
    bool gefunden = false;
    bool lang = false;
    void operator()(bool pv_lang) {
        gefunden = true;
        lang = pv_lang;
    }
};
} // namespace

bool TMZWAVDateiLeser::SucheNaechstesBit() {
    if (!m_geoeffnet)
        return Fehler(TextUnbekannt, TextNichtGeoeffnet);
    // The decoder goes on from this reader's own position and history.
    m_dekoder.SetzeStand(TMZSignalDekoder::AbtastVerzoegerung(m_modell, m_alternativeAbtastzeit),
                         m_vorletztesSample, m_letztesSample, m_sampleIndex);
    TEinBit bit;
    while (!bit.gefunden && !m_dekoder.IstAmEnde()) {
        const std::int32_t ueberspringbar = m_dekoder.HoleUeberspringbar();
        if (ueberspringbar > 0) {
            if (!UeberspringeSamples(ueberspringbar))
                return false;
            m_dekoder.Ueberspringe(ueberspringbar);
            continue;
        }
        std::uint8_t sample = 0;
        if (!LeseSample(sample))
            return false;
        m_dekoder.Verarbeite(&sample, &sample + 1, bit);
    }
    m_bitZustand = !bit.gefunden ? KeinBitMehr : bit.lang ? BitEins : BitNull;
    return true;
}
