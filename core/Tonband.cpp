// The tape bit text: one character per pulse of a cassette recording, '1' for a long pulse and
// '0' for a short one. A file on tape is a long gap and mark, the header block twice, a short gap
// and mark, and the body block twice; every byte is a start bit followed by its 8 bits.
#include "MZFDatei.h"

#include "AnsiStringErzeuger.h"
#include "LittleEndian.h"
#include "ProgrammEinstellungen.h"

#include <array>
#include <bit>
#include <limits>

namespace {
constexpr char Eins = '1';
constexpr char Null = '0';

// Segment lengths of one file on tape, in pulses.
constexpr int LangeLueckeVoll = 22000;
constexpr int LangeLueckeMZ80B = 10000; // the MZ-80B loads with a shorter leader
constexpr int LangeLueckeVerkuerzt = 5000;
constexpr int LangeMarkeEinsen = 40;
constexpr int LangeMarkeNullen = 40;
constexpr int KurzeLuecke = 11000;
constexpr int KurzeMarkeEinsen = 20;
constexpr int KurzeMarkeNullen = 20;
constexpr int KopieLuecke = 256; // between a block and its copy
constexpr int Trennbit = 1;

constexpr int BitsProByte = 9; // start bit and 8 data bits, most significant first
constexpr int DatenBits = 8;
constexpr int PruefsummeBytes = 2; // high byte first
constexpr int KopfBlockBytes = TMZFDatei::KopfGroesse + PruefsummeBytes;

// What the parser looks for: only the end of a gap takes part, so any gap of this length or more
// is accepted; each pattern ends on the start bit of the first byte that follows it.
constexpr int MusterLueckenende = 1000;
constexpr int MusterKopieNullen = 100;

std::string Wiederholt(char zeichen, int anzahl) {
    return std::string(static_cast<std::size_t>(anzahl), zeichen);
}

const std::string& LangeMarkeMuster() {
    static const std::string muster = Wiederholt(Null, MusterLueckenende) +
                                      Wiederholt(Eins, LangeMarkeEinsen) +
                                      Wiederholt(Null, LangeMarkeNullen) + Eins + Eins;
    return muster;
}

const std::string& KurzeMarkeMuster() {
    static const std::string muster = Wiederholt(Null, MusterLueckenende) +
                                      Wiederholt(Eins, KurzeMarkeEinsen) +
                                      Wiederholt(Null, KurzeMarkeNullen) + Eins + Eins;
    return muster;
}

const std::string& KopieMuster() {
    static const std::string muster = Wiederholt(Null, MusterKopieNullen) + Eins;
    return muster;
}

// The 9 characters of every byte value, built once.
using TByteBits = std::array<char, BitsProByte>;
const std::array<TByteBits, 256>& ByteBitsTabelle() {
    static const std::array<TByteBits, 256> tabelle = [] {
        std::array<TByteBits, 256> t{};
        for (int wert = 0; wert < 256; ++wert) {
            t[wert][0] = Eins;
            for (int bit = 0; bit < DatenBits; ++bit)
                t[wert][bit + 1] = (wert >> (DatenBits - 1 - bit)) & 1 ? Eins : Null;
        }
        return t;
    }();
    return tabelle;
}

std::string_view BitsVon(std::uint8_t byte) {
    const TByteBits& bits = ByteBitsTabelle()[byte];
    return std::string_view(bits.data(), bits.size());
}

std::uint16_t Pruefsumme(const std::uint8_t* bytes, std::size_t anzahl) {
    unsigned summe = 0;
    for (std::size_t i = 0; i < anzahl; ++i)
        summe += static_cast<unsigned>(std::popcount(bytes[i]));
    return static_cast<std::uint16_t>(summe); // modulo 65,536
}

void HaengeBlockAn(TAnsiStringErzeuger& text, const std::uint8_t* bytes, std::size_t anzahl,
                   std::uint16_t pruefsumme) {
    for (std::size_t i = 0; i < anzahl; ++i)
        text.Anhaengen(BitsVon(bytes[i]));
    text.Anhaengen(BitsVon(static_cast<std::uint8_t>(pruefsumme >> 8)));
    text.Anhaengen(BitsVon(static_cast<std::uint8_t>(pruefsumme & 0xFF)));
}

void HaengeWiederholtAn(TAnsiStringErzeuger& text, char zeichen, int anzahl) {
    // Longest run of one character on tape: the full long gap.
    static const std::string nullen = Wiederholt(Null, LangeLueckeVoll);
    static const std::string einsen = Wiederholt(Eins, LangeMarkeEinsen);
    const std::string& quelle = zeichen == Null ? nullen : einsen;
    text.Anhaengen(std::string_view(quelle.data(), static_cast<std::size_t>(anzahl)));
}

std::uint16_t LiesGroesse(const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& kopf) {
    return LittleEndian::Lies16(kopf.data() + TMZFDatei::OffsetGroesse);
}

// Reads `anzahl` bytes into ziel from position p on, 9 characters each; p ends on the first byte
// that could not be read, or after the last one.
bool LeseBytes(std::string_view bits, int& p, std::uint8_t* ziel, int anzahl) {
    for (int i = 0; i < anzahl; ++i) {
        if (!TMZFDatei::LeseByteAusBits(bits, p, ziel[i]))
            return false;
        p += BitsProByte;
    }
    return true;
}

bool PruefsummeStimmt(const std::uint8_t* summe, std::uint16_t erwartet) {
    return 256 * summe[0] + summe[1] == erwartet;
}
} // namespace

std::string TMZFDatei::ByteAlsBits(std::uint8_t byte) {
    return std::string(BitsVon(byte));
}

int TMZFDatei::AnzahlEinsBits(std::uint8_t byte) {
    return std::popcount(byte);
}

std::uint16_t TMZFDatei::PruefsummeKopf() const {
    return m_geladen ? Pruefsumme(m_kopf.data(), m_kopf.size()) : 0;
}

std::uint16_t TMZFDatei::PruefsummeRumpf() const {
    return m_geladen ? Pruefsumme(m_rumpf.data(), LiesGroesse(m_kopf)) : 0;
}

bool TMZFDatei::SucheMuster(std::string_view text, std::string_view muster, int& position) {
    if (muster.empty() || text.empty())
        return false;
    const std::size_t start = position < 1 ? 0 : static_cast<std::size_t>(position) - 1;
    if (start >= text.size())
        return false;
    const std::size_t fund = text.find(muster, start);
    if (fund == std::string_view::npos)
        return false;
    position = static_cast<int>(fund + muster.size()); // the pattern's last character, counted from 1
    return true;
}

bool TMZFDatei::LeseByteAusBits(std::string_view text, int position, std::uint8_t& byte) {
    const std::size_t start = position < 1 ? 0 : static_cast<std::size_t>(position) - 1;
    if (text.size() < start + BitsProByte || text[start] != Eins)
        return false;
    unsigned wert = 0;
    for (int bit = 1; bit <= DatenBits; ++bit) {
        const char zeichen = text[start + static_cast<std::size_t>(bit)];
        if (zeichen != Eins && zeichen != Null)
            return false;
        wert = (wert << 1) | (zeichen == Eins ? 1u : 0u);
    }
    byte = static_cast<std::uint8_t>(wert);
    return true;
}

std::string TMZFDatei::ErzeugeTonbandBits(bool pv_verkuerzt) const {
    if (!m_geladen)
        return {};
    const std::uint16_t groesse = LiesGroesse(m_kopf);
    const std::uint16_t kopfSumme = PruefsummeKopf();
    const std::uint16_t rumpfSumme = PruefsummeRumpf();
    int langeLuecke = LangeLueckeVoll;
    if (pv_verkuerzt)
        langeLuecke = LangeLueckeVerkuerzt;
    else if (HoleImportExportMZModell() == MZ80B)
        langeLuecke = LangeLueckeMZ80B;

    TAnsiStringErzeuger text;
    HaengeWiederholtAn(text, Null, langeLuecke);
    HaengeWiederholtAn(text, Eins, LangeMarkeEinsen);
    HaengeWiederholtAn(text, Null, LangeMarkeNullen);
    text.Anhaengen(Eins);
    HaengeBlockAn(text, m_kopf.data(), m_kopf.size(), kopfSumme);
    text.Anhaengen(Eins);
    if (!pv_verkuerzt) {
        HaengeWiederholtAn(text, Null, KopieLuecke);
        HaengeBlockAn(text, m_kopf.data(), m_kopf.size(), kopfSumme);
        text.Anhaengen(Eins);
    }
    HaengeWiederholtAn(text, Null, KurzeLuecke);
    HaengeWiederholtAn(text, Eins, KurzeMarkeEinsen);
    HaengeWiederholtAn(text, Null, KurzeMarkeNullen);
    text.Anhaengen(Eins);
    HaengeBlockAn(text, m_rumpf.data(), groesse, rumpfSumme);
    text.Anhaengen(Eins);
    if (!pv_verkuerzt) {
        HaengeWiederholtAn(text, Null, KopieLuecke);
        HaengeBlockAn(text, m_rumpf.data(), groesse, rumpfSumme);
        text.Anhaengen(Eins);
    }
    return text.HoleErgebnis();
}

bool TMZFDatei::LeseAusTonbandBits(std::string_view pv_bits, int pv_start, bool pv_fortschrittMelden,
                                   double pv_fortschritt, int& pv_ende) {
    static_assert(Trennbit == 1);
    if (m_geladen)
        Schliessen();
    // Positions are ints counted from 1; a text they cannot address is not searched.
    if (pv_bits.empty() || pv_bits.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return false;
    const int laenge = static_cast<int>(pv_bits.size());
    int p = pv_start < 1 ? 1 : pv_start;
    if (laenge < p)
        return false;
    const auto melde = [&] {
        if (pv_fortschrittMelden)
            RaiseFortschritt(pv_fortschritt);
    };

    std::array<std::uint8_t, KopfBlockBytes> kopfBlock{};
    std::array<std::uint8_t, PruefsummeBytes> rumpfSumme{};
    bool gefunden = false;
    int m = 0; // last character of the long mark in use; 0 while none was searched
    while (true) {
        melde();
        if (m == 0)
            m = p;
        if (!SucheMuster(pv_bits, LangeMarkeMuster(), m)) {
            p = laenge + 1;
            break;
        }
        p = m;

        // Header: the first copy, and only if that fails the second one.
        bool kopfGut = false;
        for (int versuch = 0; versuch < 2 && !kopfGut; ++versuch) {
            if (versuch == 1 && !SucheMuster(pv_bits, KopieMuster(), p))
                break;
            if (!LeseBytes(pv_bits, p, kopfBlock.data(), KopfBlockBytes))
                continue;
            std::copy_n(kopfBlock.begin(), KopfGroesse, m_kopf.begin());
            kopfGut =
                PruefsummeStimmt(kopfBlock.data() + KopfGroesse, Pruefsumme(m_kopf.data(), KopfGroesse));
        }

        if (kopfGut) {
            melde();
            if (SucheMuster(pv_bits, KurzeMarkeMuster(), p)) {
                const std::uint16_t groesse = LiesGroesse(m_kopf);
                bool rumpfGut = false;
                for (int versuch = 0; versuch < 2 && !rumpfGut; ++versuch) {
                    if (versuch == 1 && !SucheMuster(pv_bits, KopieMuster(), p))
                        break;
                    if (!LeseBytes(pv_bits, p, m_rumpf.data(), groesse) ||
                        !LeseBytes(pv_bits, p, rumpfSumme.data(), PruefsummeBytes))
                        continue;
                    rumpfGut = PruefsummeStimmt(rumpfSumme.data(), Pruefsumme(m_rumpf.data(), groesse));
                }
                if (rumpfGut) {
                    melde();
                    gefunden = true;
                    break;
                }
            }
        }
        // The next pass searches on from this long mark, so it finds the next one after it.
        if (laenge < p)
            break;
    }

    melde();
    if (!gefunden)
        return false;
    m_geaendert = true;
    m_dateiPfad.clear();
    m_geladen = true;
    pv_ende = p - 1;
    return true;
}
