// The tape bit text: one character per pulse of a cassette recording, '1' for a long pulse and
// '0' for a short one. A file on tape is a long gap and mark, the header block twice, a short gap
// and mark, and the body block twice; every byte is a start bit followed by its 8 bits.
#include "MZFDatei.h"

#include "AnsiStringErzeuger.h"
#include "LittleEndian.h"
#include "MZModellZeiten.h"
#include "TonbandSuche.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <vector>

namespace {
constexpr char Eins = '1';
constexpr char Null = '0';

// Segment lengths of one file on tape, in pulses. The longest gap any model writes: a run of zeros the bit
// text is cut from.
constexpr int LaengsteLuecke = 22000;
static_assert(std::all_of(MZModellZeiten::Tabelle.begin(), MZModellZeiten::Tabelle.end(),
                          [](const TMZModellZeiten& z) {
                              return z.langeLuecke <= LaengsteLuecke && z.kurzeLuecke <= LaengsteLuecke;
                          }));
constexpr int LangeMarkeEinsen = TMZFDatei::LangeMarkeImpulse;
constexpr int LangeMarkeNullen = TMZFDatei::LangeMarkeImpulse;
constexpr int KurzeMarkeEinsen = TMZFDatei::KurzeMarkeImpulse;
constexpr int KurzeMarkeNullen = TMZFDatei::KurzeMarkeImpulse;
constexpr int KopieLuecke = TMZFDatei::KopieLueckeImpulse;

constexpr int BitsProByte = 9; // start bit and 8 data bits, most significant first
constexpr int DatenBits = 8;

std::string Wiederholt(char zeichen, int anzahl) {
    return std::string(static_cast<std::size_t>(anzahl), zeichen);
}

// A pattern with its prefix table (Knuth-Morris-Pratt), for searches of any pattern: a search looks
// at every character of the text once, whatever the text and the pattern hold.
struct TAllgemeinesMuster {
    std::string_view text;
    std::vector<std::size_t> praefix; // praefix[i]: longest proper prefix of text[0..i] that ends there

    explicit TAllgemeinesMuster(std::string_view muster) : text(muster), praefix(text.size(), 0) {
        std::size_t k = 0;
        for (std::size_t i = 1; i < text.size(); ++i) {
            while (k > 0 && text[i] != text[k])
                k = praefix[k - 1];
            if (text[i] == text[k])
                ++k;
            praefix[i] = k;
        }
    }

    // One step of the automaton: the length of the pattern's prefix that ends at this character.
    std::size_t Weiter(std::size_t zustand, char zeichen) const {
        if (zustand == text.size())
            zustand = praefix[zustand - 1];
        while (zustand > 0 && text[zustand] != zeichen)
            zustand = praefix[zustand - 1];
        return text[zustand] == zeichen ? zustand + 1 : 0;
    }
};

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

void HaengeBlockAn(TAnsiStringErzeuger& text, const std::uint8_t* bytes, std::size_t anzahl,
                   std::uint16_t pruefsumme) {
    for (std::size_t i = 0; i < anzahl; ++i)
        text.Anhaengen(BitsVon(bytes[i]));
    text.Anhaengen(BitsVon(static_cast<std::uint8_t>(pruefsumme >> 8)));
    text.Anhaengen(BitsVon(static_cast<std::uint8_t>(pruefsumme & 0xFF)));
}

void HaengeWiederholtAn(TAnsiStringErzeuger& text, char zeichen, int anzahl) {
    // Longest run of one character on tape: the full long gap.
    static const std::string nullen = Wiederholt(Null, LaengsteLuecke);
    static const std::string einsen = Wiederholt(Eins, LangeMarkeEinsen);
    const std::string& quelle = zeichen == Null ? nullen : einsen;
    text.Anhaengen(std::string_view(quelle.data(), static_cast<std::size_t>(anzahl)));
}

std::uint16_t LiesGroesse(const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& kopf) {
    return LittleEndian::Lies16(kopf.data() + TMZFDatei::OffsetGroesse);
}

} // namespace

std::string TMZFDatei::ByteAlsBits(std::uint8_t byte) {
    return std::string(BitsVon(byte));
}

int TMZFDatei::AnzahlEinsBits(std::uint8_t byte) {
    return std::popcount(byte);
}

std::uint16_t TMZFDatei::PruefsummeKopf() const {
    return m_geladen ? TonbandPruefsumme(m_kopf.data(), m_kopf.size()) : 0;
}

std::uint16_t TMZFDatei::PruefsummeRumpf() const {
    return m_geladen ? TonbandPruefsumme(m_rumpf.data(), LiesGroesse(m_kopf)) : 0;
}

bool TMZFDatei::SucheMuster(std::string_view text, std::string_view muster, int& position) {
    if (muster.empty() || text.empty())
        return false;
    const std::size_t start = position < 1 ? 0 : static_cast<std::size_t>(position) - 1;
    if (start >= text.size())
        return false;
    const TAllgemeinesMuster suche(muster);
    std::size_t zustand = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        zustand = suche.Weiter(zustand, text[i]);
        if (zustand == muster.size()) {
            position = static_cast<int>(i + 1); // the pattern's last character, counted from 1
            return true;
        }
    }
    return false;
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

std::string TMZFDatei::ErzeugeTonbandBits(const TBandEinstellungen& pv_einstellungen) const {
    if (!m_geladen)
        return {};
    const std::uint16_t groesse = LiesGroesse(m_kopf);
    const std::uint16_t kopfSumme = PruefsummeKopf();
    const std::uint16_t rumpfSumme = PruefsummeRumpf();
    const bool verkuerzt = pv_einstellungen.verkuerzt;
    const TMZModellZeiten& zeiten = MZModellZeiten::Von(pv_einstellungen.modell);
    const int langeLuecke = verkuerzt ? MZModellZeiten::LangeLueckeVerkuerzt : zeiten.langeLuecke;

    TAnsiStringErzeuger text;
    HaengeWiederholtAn(text, Null, langeLuecke);
    HaengeWiederholtAn(text, Eins, LangeMarkeEinsen);
    HaengeWiederholtAn(text, Null, LangeMarkeNullen);
    text.Anhaengen(Eins);
    HaengeBlockAn(text, m_kopf.data(), m_kopf.size(), kopfSumme);
    text.Anhaengen(Eins);
    if (!verkuerzt) {
        HaengeWiederholtAn(text, Null, KopieLuecke);
        HaengeBlockAn(text, m_kopf.data(), m_kopf.size(), kopfSumme);
        text.Anhaengen(Eins);
    }
    HaengeWiederholtAn(text, Null, zeiten.kurzeLuecke);
    HaengeWiederholtAn(text, Eins, KurzeMarkeEinsen);
    HaengeWiederholtAn(text, Null, KurzeMarkeNullen);
    text.Anhaengen(Eins);
    HaengeBlockAn(text, m_rumpf.data(), groesse, rumpfSumme);
    text.Anhaengen(Eins);
    if (!verkuerzt) {
        HaengeWiederholtAn(text, Null, KopieLuecke);
        HaengeBlockAn(text, m_rumpf.data(), groesse, rumpfSumme);
        text.Anhaengen(Eins);
    }
    return text.HoleErgebnis();
}

bool TMZFDatei::LeseAusTonbandBits(std::string_view pv_bits, int pv_start, bool pv_fortschrittMelden,
                                   double pv_fortschritt, int& pv_ende,
                                   const TTonbandBeobachter* pv_beobachter) {
    if (m_geladen)
        Schliessen();
    // Positions are ints counted from 1; a text they cannot address is not searched.
    if (pv_bits.empty() || pv_bits.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return false;
    TTonbandSuche suche(pv_start);
    std::function<void()> melde;
    if (pv_fortschrittMelden)
        melde = [this, pv_fortschritt] { RaiseFortschritt(pv_fortschritt); };
    std::int64_t ende = 0;
    if (suche.Weiter(TBitFenster{pv_bits, 1, true}, ende, pv_beobachter, melde) !=
        TTonbandSuche::TErgebnis::Gefunden)
        return false;
    Uebernimm(suche.HoleKopf(), suche.HoleRumpf());
    pv_ende = static_cast<int>(ende);
    return true;
}

void TMZFDatei::Uebernimm(const std::array<std::uint8_t, KopfGroesse>& kopf,
                          const std::vector<std::uint8_t>& rumpf) {
    m_kopf = kopf;
    m_rumpf = rumpf;
    m_befund = TDateiBefund();
    m_geaendert = true;
    m_dateiPfad.clear();
    m_geladen = true;
}
