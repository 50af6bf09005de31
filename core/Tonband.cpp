// The tape bit text: one character per pulse of a cassette recording, '1' for a long pulse and
// '0' for a short one. A file on tape is a long gap and mark, the header block twice, a short gap
// and mark, and the body block twice; every byte is a start bit followed by its 8 bits.
#include "MZFDatei.h"

#include "AnsiStringErzeuger.h"
#include "LittleEndian.h"
#include "MZModellZeiten.h"
#include "ProgrammEinstellungen.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <vector>

namespace {
constexpr char Eins = '1';
constexpr char Null = '0';

// Segment lengths of one file on tape, in pulses.
// The longest gap any model writes: a run of zeros the bit text is cut from.
constexpr int LaengsteLuecke = 22000;
static_assert(std::all_of(MZModellZeiten::Tabelle.begin(), MZModellZeiten::Tabelle.end(),
                          [](const TMZModellZeiten& z) {
                              return z.langeLuecke <= LaengsteLuecke && z.kurzeLuecke <= LaengsteLuecke;
                          }));
constexpr int LangeMarkeEinsen = TMZFDatei::LangeMarkeImpulse;
constexpr int LangeMarkeNullen = TMZFDatei::LangeMarkeImpulse;
constexpr int KurzeMarkeEinsen = TMZFDatei::KurzeMarkeImpulse;
constexpr int KurzeMarkeNullen = TMZFDatei::KurzeMarkeImpulse;
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

// A pattern of the tape: a run of zeros (the end of a gap) followed by a tail that begins with a
// "1" (a mark, or the start bit of a byte). Any occurrence's zeros are the end of a run of zeros
// that the tail's first "1" ends, so a search only looks at the end of each run of at least that
// many zeros: every character of the text is looked at once, whatever it holds.
struct TMuster {
    std::size_t nullen;
    std::string rest;

    TMuster(int anzahlNullen, std::string tail)
        : nullen(static_cast<std::size_t>(anzahlNullen)), rest(std::move(tail)) {}
    std::size_t Laenge() const { return nullen + rest.size(); }
    std::string Text() const { return Wiederholt(Null, static_cast<int>(nullen)) + rest; }
};

const TMuster& LangeMarkeMuster() {
    static const TMuster muster(MusterLueckenende, Wiederholt(Eins, LangeMarkeEinsen) +
                                                       Wiederholt(Null, LangeMarkeNullen) + Eins + Eins);
    return muster;
}

const TMuster& KurzeMarkeMuster() {
    static const TMuster muster(MusterLueckenende, Wiederholt(Eins, KurzeMarkeEinsen) +
                                                       Wiederholt(Null, KurzeMarkeNullen) + Eins + Eins);
    return muster;
}

const TMuster& KopieMuster() {
    static const TMuster muster(MusterKopieNullen, std::string(1, Eins));
    return muster;
}

// Every occurrence of one pattern in one text from a starting index on, found lazily: the parser
// asks for the first occurrence at or after a position, again and again, and the text is read
// only once however often it asks (a text of a thousand headers without a body asks for the
// short mark a thousand times).
class TMusterSuche {
public:
    TMusterSuche(std::string_view text, const TMuster& muster, std::size_t anfang)
        : m_text(text), m_muster(muster), m_anfang(anfang), m_gelesen(anfang) {}

    // Index of the first occurrence that starts at or after `von`, or npos.
    std::size_t Finde(std::size_t von) {
        if (von < m_anfang) { // the parser never looks back; answered without the index
            int position = static_cast<int>(von) + 1;
            return TMZFDatei::SucheMuster(m_text, m_muster.Text(), position)
                       ? static_cast<std::size_t>(position) - m_muster.Laenge()
                       : std::string_view::npos;
        }
        const auto bekannt = std::lower_bound(m_funde.begin(), m_funde.end(), von);
        if (bekannt != m_funde.end())
            return *bekannt;
        // m_gelesen always stands at the end of a run of zeros, so no run is counted in halves.
        const char* const text = m_text.data();
        const std::size_t laenge = m_text.size();
        while (m_gelesen < laenge) {
            const void* null = std::memchr(text + m_gelesen, Null, laenge - m_gelesen);
            if (!null) {
                m_gelesen = laenge;
                break;
            }
            const std::size_t lauf = static_cast<std::size_t>(static_cast<const char*>(null) - text);
            std::size_t ende = lauf;
            while (ende < laenge && text[ende] == Null)
                ++ende;
            m_gelesen = ende;
            if (ende - lauf < m_muster.nullen || m_muster.rest.size() > laenge - ende ||
                std::memcmp(text + ende, m_muster.rest.data(), m_muster.rest.size()) != 0)
                continue;
            const std::size_t fund = ende - m_muster.nullen;
            m_funde.push_back(fund);
            if (fund >= von)
                return fund;
        }
        return std::string_view::npos;
    }

    // The 1-based search of the parser: from `position` on, which then holds the occurrence's
    // last character.
    bool Suche(int& position) {
        const std::size_t von = position < 1 ? 0 : static_cast<std::size_t>(position) - 1;
        if (von >= m_text.size())
            return false;
        const std::size_t fund = Finde(von);
        if (fund == std::string_view::npos)
            return false;
        position = static_cast<int>(fund + m_muster.Laenge());
        return true;
    }

private:
    std::string_view m_text;
    const TMuster& m_muster;
    std::size_t m_anfang;
    std::size_t m_gelesen; // the text is searched up to here
    std::vector<std::size_t> m_funde;
};

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
    static const std::string nullen = Wiederholt(Null, LaengsteLuecke);
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

std::string TMZFDatei::ErzeugeTonbandBits(bool pv_verkuerzt) const {
    if (!m_geladen)
        return {};
    const std::uint16_t groesse = LiesGroesse(m_kopf);
    const std::uint16_t kopfSumme = PruefsummeKopf();
    const std::uint16_t rumpfSumme = PruefsummeRumpf();
    const TMZModellZeiten& zeiten = MZModellZeiten::Von(HoleImportExportMZModell());
    const int langeLuecke = pv_verkuerzt ? MZModellZeiten::LangeLueckeVerkuerzt : zeiten.langeLuecke;

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
    HaengeWiederholtAn(text, Null, zeiten.kurzeLuecke);
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
                                   double pv_fortschritt, int& pv_ende,
                                   const TTonbandBeobachter* pv_beobachter) {
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

    const std::size_t anfang = static_cast<std::size_t>(p) - 1;
    TMusterSuche langeMarke(pv_bits, LangeMarkeMuster(), anfang);
    TMusterSuche kurzeMarke(pv_bits, KurzeMarkeMuster(), anfang);
    TMusterSuche kopie(pv_bits, KopieMuster(), anfang);
    std::array<std::uint8_t, KopfBlockBytes> kopfBlock{};
    std::array<std::uint8_t, PruefsummeBytes> rumpfSumme{};
    bool gefunden = false;
    int m = 0; // last character of the long mark in use; 0 while none was searched
    while (true) {
        melde();
        if (m == 0)
            m = p;
        if (!langeMarke.Suche(m)) {
            p = laenge + 1;
            break;
        }
        p = m;
        if (pv_beobachter && pv_beobachter->beiLangerMarke)
            pv_beobachter->beiLangerMarke(m);

        // Header: the first copy, and only if that fails the second one.
        bool kopfGut = false;
        for (int versuch = 0; versuch < 2 && !kopfGut; ++versuch) {
            if (versuch == 1 && !kopie.Suche(p))
                break;
            const int anfangDerKopie = p;
            const bool gelesen = LeseBytes(pv_bits, p, kopfBlock.data(), KopfBlockBytes);
            if (gelesen) {
                std::copy_n(kopfBlock.begin(), KopfGroesse, m_kopf.begin());
                kopfGut =
                    PruefsummeStimmt(kopfBlock.data() + KopfGroesse, Pruefsumme(m_kopf.data(), KopfGroesse));
            }
            if (pv_beobachter && pv_beobachter->beiKopf)
                pv_beobachter->beiKopf(anfangDerKopie, versuch + 1, gelesen ? m_kopf.data() : nullptr,
                                       kopfGut);
        }

        if (kopfGut) {
            melde();
            if (kurzeMarke.Suche(p)) {
                if (pv_beobachter && pv_beobachter->beiKurzerMarke)
                    pv_beobachter->beiKurzerMarke(p);
                const std::uint16_t groesse = LiesGroesse(m_kopf);
                bool rumpfGut = false;
                for (int versuch = 0; versuch < 2 && !rumpfGut; ++versuch) {
                    if (versuch == 1 && !kopie.Suche(p))
                        break;
                    const int anfangDerKopie = p;
                    if (LeseBytes(pv_bits, p, m_rumpf.data(), groesse) &&
                        LeseBytes(pv_bits, p, rumpfSumme.data(), PruefsummeBytes))
                        rumpfGut = PruefsummeStimmt(rumpfSumme.data(), Pruefsumme(m_rumpf.data(), groesse));
                    if (pv_beobachter && pv_beobachter->beiRumpf)
                        pv_beobachter->beiRumpf(anfangDerKopie, versuch + 1, rumpfGut);
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
