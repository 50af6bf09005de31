#include "TonbandSuche.h"

#include "MZFDatei.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace {
constexpr char Eins = '1';
constexpr char Null = '0';
constexpr int BitsProByte = 9; // start bit and 8 data bits, most significant first
constexpr int DatenBits = 8;
constexpr int KopfBlockBytes = TTonbandSuche::KopfGroesse + TTonbandSuche::PruefsummeBytes;
// Where nothing limits a search.
constexpr std::int64_t OhneGrenze = std::numeric_limits<std::int64_t>::max();

// What the parser looks for: only the end of a gap takes part, so any gap of this length or more
// is accepted; each pattern ends on the start bit of the first byte that follows it.
constexpr std::size_t MusterLueckenende = 1000;
constexpr std::size_t MusterKopieNullen = 100;

std::string MarkenRest(int impulse) {
    const auto n = static_cast<std::size_t>(impulse);
    return std::string(n, Eins) + std::string(n, Null) + Eins + Eins;
}

bool PruefsummeStimmt(const std::uint8_t* summe, std::uint16_t erwartet) {
    return 256 * summe[0] + summe[1] == erwartet;
}
} // namespace

std::uint16_t TonbandPruefsumme(const std::uint8_t* bytes, std::size_t anzahl) {
    unsigned summe = 0;
    for (std::size_t i = 0; i < anzahl; ++i)
        summe += static_cast<unsigned>(std::popcount(bytes[i]));
    return static_cast<std::uint16_t>(summe); // modulo 65,536
}

TMusterSucher::TMusterSucher(std::size_t nullen, std::string rest, std::int64_t anfang)
    : m_nullen(nullen), m_rest(std::move(rest)), m_gelesen(anfang) {}

std::string TMusterSucher::Text() const {
    return std::string(m_nullen, Null) + m_rest;
}

// Goes on from m_gelesen to the end of the text shown, noting every occurrence, and stops early
// once one that starts at or after `halt` has been noted.
void TMusterSucher::Scanne(const TBitFenster& f, std::int64_t halt) {
    const char* const t = f.text.data();
    const std::int64_t a = f.anfang;
    const std::int64_t e = f.Ende();
    // Text the caller has forgotten is never looked at: the scan goes on where the text begins.
    if (m_gelesen < a) {
        m_gelesen = a;
        m_laufAnfang = m_laufEnde = -1;
    }
    std::int64_t pos = m_gelesen;
    while (true) {
        if (m_laufAnfang < 0) {
            if (pos >= e)
                break;
            const void* null = std::memchr(t + (pos - a), Null, static_cast<std::size_t>(e - pos));
            if (!null) {
                pos = e;
                break;
            }
            pos = a + (static_cast<const char*>(null) - t);
            m_laufAnfang = pos;
        }
        if (m_laufEnde < 0) {
            while (pos < e && t[pos - a] == Null)
                ++pos;
            if (pos >= e)
                break; // the run may go on in the next piece of text
            m_laufEnde = pos;
        }
        bool angehalten = false;
        if (static_cast<std::size_t>(m_laufEnde - m_laufAnfang) >= m_nullen) {
            if (m_laufEnde + static_cast<std::int64_t>(m_rest.size()) > e) {
                if (!f.vollstaendig)
                    break; // the tail is not complete yet
            } else if (std::memcmp(t + (m_laufEnde - a), m_rest.data(), m_rest.size()) == 0) {
                const std::int64_t fund = m_laufEnde - static_cast<std::int64_t>(m_nullen);
                m_funde.push_back(fund);
                angehalten = fund >= halt;
            }
        }
        pos = m_laufEnde;
        m_laufAnfang = m_laufEnde = -1;
        if (angehalten)
            break;
    }
    m_gelesen = pos;
}

TMusterSucher::TFund TMusterSucher::Finde(const TBitFenster& f, std::int64_t von, std::int64_t grenze,
                                          std::int64_t& fund) {
    const auto erste = [&] {
        return std::lower_bound(m_funde.begin() + static_cast<std::ptrdiff_t>(m_vergessen), m_funde.end(),
                                von);
    };
    auto treffer = erste();
    if (treffer == m_funde.end()) {
        Scanne(f, von);
        treffer = erste();
    }
    if (treffer != m_funde.end()) {
        if (*treffer + static_cast<std::int64_t>(Laenge()) > grenze)
            return TFund::Keiner;
        fund = *treffer;
        return TFund::Gefunden;
    }
    // None up to the end of the text shown; one found later would end beyond it.
    return f.vollstaendig || f.Ende() >= grenze ? TFund::Keiner : TFund::BrauchtMehr;
}

void TMusterSucher::ScanneBis(const TBitFenster& pv_fenster) {
    Scanne(pv_fenster, OhneGrenze);
}

void TMusterSucher::Vergiss(std::int64_t bis) {
    while (m_vergessen < m_funde.size() && m_funde[m_vergessen] < bis)
        ++m_vergessen;
    // Forgotten entries are dropped once they are the larger part, so each is moved about once.
    if (m_vergessen > m_funde.size() / 2) {
        m_funde.erase(m_funde.begin(), m_funde.begin() + static_cast<std::ptrdiff_t>(m_vergessen));
        m_vergessen = 0;
    }
}

TTonbandSuche::TTonbandSuche(std::int64_t pv_start)
    : m_start(std::max<std::int64_t>(1, pv_start)),
      m_lange(MusterLueckenende, MarkenRest(TMZFDatei::LangeMarkeImpulse), m_start),
      m_kurze(MusterLueckenende, MarkenRest(TMZFDatei::KurzeMarkeImpulse), m_start),
      m_kopie(MusterKopieNullen, std::string(1, Eins), m_start) {}

std::int64_t TTonbandSuche::NoetigAb() const {
    std::int64_t ab = std::min({m_lange.NoetigAb(), m_kurze.NoetigAb(), m_kopie.NoetigAb()});
    // The file in hand is read from its mark's pulses on (its gap is never looked at again).
    if (m_marke > 0)
        ab = std::min(ab, m_marke - static_cast<std::int64_t>(m_lange.RestLaenge()) + 1);
    return ab;
}

void TTonbandSuche::ScanneBis(const TBitFenster& pv_fenster) {
    m_lange.ScanneBis(pv_fenster);
    m_kurze.ScanneBis(pv_fenster);
    m_kopie.ScanneBis(pv_fenster);
}

void TTonbandSuche::Vergiss(std::int64_t bis) {
    // The long mark in hand is looked for again when its file is read anew: its start is kept,
    // though its gap is gone.
    m_lange.Vergiss(m_marke > 0 ? std::min(bis, m_marke - static_cast<std::int64_t>(m_lange.Laenge()) + 1)
                                : bis);
    m_kurze.Vergiss(bis);
    m_kopie.Vergiss(bis);
}

TTonbandSuche::TLesen TTonbandSuche::LeseBytes(const TBitFenster& f, std::int64_t& p, std::uint8_t* ziel,
                                               int anzahl, std::int64_t grenze) {
    const std::int64_t ende = std::min(f.Ende(), grenze);
    const std::int64_t anfang = p;
    int i = 0;
    // A read into another buffer (the header's, while the body's waits) leaves the state alone;
    // this one either goes on with it or overwrites what it kept.
    if (m_leseStand.ziel == ziel) {
        if (m_leseStand.anfang == anfang && m_leseStand.anzahl == anzahl) {
            i = m_leseStand.gelesen;
            p = m_leseStand.p;
        }
        m_leseStand = TLeseStand();
    }
    for (; i < anzahl; ++i) {
        if (p + BitsProByte > ende) {
            if (f.vollstaendig || p + BitsProByte > grenze)
                return TLesen::Fehlt;
            m_leseStand = {ziel, anfang, anzahl, p, i};
            return TLesen::BrauchtMehr;
        }
        if (f.Zeichen(p) != Eins)
            return TLesen::Fehlt;
        unsigned wert = 0;
        for (int bit = 1; bit <= DatenBits; ++bit) {
            const char zeichen = f.Zeichen(p + bit);
            if (zeichen != Eins && zeichen != Null)
                return TLesen::Fehlt;
            wert = (wert << 1) | (zeichen == Eins ? 1u : 0u);
        }
        ziel[i] = static_cast<std::uint8_t>(wert);
        p += BitsProByte;
    }
    return TLesen::Gelesen;
}

TMusterSucher::TFund TTonbandSuche::Suche(TMusterSucher& sucher, const TBitFenster& f, std::int64_t& p,
                                          std::int64_t grenze) {
    std::int64_t fund = 0;
    const TMusterSucher::TFund ergebnis = sucher.Finde(f, p, grenze, fund);
    if (ergebnis == TMusterSucher::TFund::Gefunden)
        p = fund + static_cast<std::int64_t>(sucher.Laenge()) - 1; // the pattern's last character
    return ergebnis;
}

// One long mark's way: its header, its short mark and its body, each from the first copy and,
// when that fails, from the second.
TTonbandSuche::TErgebnis TTonbandSuche::Kandidat(const TBitFenster& f, std::int64_t& p, bool& gefunden,
                                                 const std::function<void()>& melde) {
    using TFund = TMusterSucher::TFund;
    const std::int64_t grenze = m_marke + GroessteDateiSpanne;
    bool kopfGut = false;
    for (int versuch = 0; versuch < 2 && !kopfGut; ++versuch) {
        if (versuch == 1) {
            const TFund kopie = Suche(m_kopie, f, p, grenze);
            if (kopie == TFund::BrauchtMehr)
                return TErgebnis::BrauchtMehr;
            if (kopie == TFund::Keiner)
                break;
        }
        const std::int64_t anfangDerKopie = p;
        const TLesen gelesen = LeseBytes(f, p, m_kopfBlock.data(), KopfBlockBytes, grenze);
        if (gelesen == TLesen::BrauchtMehr)
            return TErgebnis::BrauchtMehr;
        TEreignis e{TEreignis::TArt::Kopf, anfangDerKopie, versuch + 1};
        if (gelesen == TLesen::Gelesen) {
            std::copy_n(m_kopfBlock.begin(), KopfGroesse, m_kopf.begin());
            kopfGut = PruefsummeStimmt(m_kopfBlock.data() + KopfGroesse,
                                       TonbandPruefsumme(m_kopf.data(), KopfGroesse));
            e.kopfGelesen = true;
            e.kopf = m_kopf;
        }
        e.gut = kopfGut;
        m_ereignisse.push_back(e);
    }
    if (!kopfGut)
        return TErgebnis::Ende;

    if (melde)
        melde();
    const TFund kurz = Suche(m_kurze, f, p, grenze);
    if (kurz == TFund::BrauchtMehr)
        return TErgebnis::BrauchtMehr;
    if (kurz == TFund::Keiner)
        return TErgebnis::Ende;
    m_ereignisse.push_back({TEreignis::TArt::KurzeMarke, p});
    const int groesse = m_kopf[TMZFDatei::OffsetGroesse] | m_kopf[TMZFDatei::OffsetGroesse + 1] << 8;
    m_rumpfBlock.resize(static_cast<std::size_t>(groesse) + PruefsummeBytes);
    bool rumpfGut = false;
    for (int versuch = 0; versuch < 2 && !rumpfGut; ++versuch) {
        if (versuch == 1) {
            const TFund kopie = Suche(m_kopie, f, p, grenze);
            if (kopie == TFund::BrauchtMehr)
                return TErgebnis::BrauchtMehr;
            if (kopie == TFund::Keiner)
                break;
        }
        const std::int64_t anfangDerKopie = p;
        const TLesen gelesen = LeseBytes(f, p, m_rumpfBlock.data(), groesse + PruefsummeBytes, grenze);
        if (gelesen == TLesen::BrauchtMehr)
            return TErgebnis::BrauchtMehr;
        rumpfGut =
            gelesen == TLesen::Gelesen &&
            PruefsummeStimmt(m_rumpfBlock.data() + groesse,
                             TonbandPruefsumme(m_rumpfBlock.data(), static_cast<std::size_t>(groesse)));
        m_ereignisse.push_back({TEreignis::TArt::Rumpf, anfangDerKopie, versuch + 1, rumpfGut});
    }
    if (rumpfGut) {
        if (melde)
            melde();
        m_rumpf.assign(m_rumpfBlock.begin(), m_rumpfBlock.begin() + groesse);
        gefunden = true;
    }
    return TErgebnis::Ende;
}

void TTonbandSuche::Melde(const TTonbandBeobachter* b) {
    if (b) {
        for (const TEreignis& e : m_ereignisse) {
            switch (e.art) {
            case TEreignis::TArt::LangeMarke:
                if (b->beiLangerMarke)
                    b->beiLangerMarke(e.position);
                break;
            case TEreignis::TArt::Kopf:
                if (b->beiKopf)
                    b->beiKopf(e.position, e.kopie, e.kopfGelesen ? e.kopf.data() : nullptr, e.gut);
                break;
            case TEreignis::TArt::KurzeMarke:
                if (b->beiKurzerMarke)
                    b->beiKurzerMarke(e.position);
                break;
            case TEreignis::TArt::Rumpf:
                if (b->beiRumpf)
                    b->beiRumpf(e.position, e.kopie, e.gut);
                break;
            }
        }
    }
    m_ereignisse.clear();
}

TTonbandSuche::TErgebnis TTonbandSuche::Weiter(const TBitFenster& pv_fenster, std::int64_t& ende,
                                               const TTonbandBeobachter* pv_beobachter,
                                               const std::function<void()>& pv_melde) {
    const TBitFenster& f = pv_fenster;
    if (m_markeSuche == 0 && m_start >= f.Ende())
        return f.vollstaendig ? TErgebnis::Ende : TErgebnis::BrauchtMehr;
    while (true) {
        if (pv_melde)
            pv_melde();
        if (m_markeSuche == 0)
            m_markeSuche = m_start;
        std::int64_t m = m_markeSuche;
        const TMusterSucher::TFund marke = Suche(m_lange, f, m, OhneGrenze);
        if (marke == TMusterSucher::TFund::BrauchtMehr)
            return TErgebnis::BrauchtMehr;
        if (marke == TMusterSucher::TFund::Keiner)
            break;
        m_marke = m;
        m_ereignisse.clear();
        m_ereignisse.push_back({TEreignis::TArt::LangeMarke, m});
        std::int64_t p = m;
        bool gefunden = false;
        if (Kandidat(f, p, gefunden, pv_melde) == TErgebnis::BrauchtMehr) {
            m_ereignisse.clear();
            return TErgebnis::BrauchtMehr;
        }
        if (gefunden) {
            Melde(pv_beobachter);
            if (pv_melde)
                pv_melde();
            ende = p - 1;
            m_start = p;
            m_markeSuche = 0;
            m_marke = 0;
            return TErgebnis::Gefunden;
        }
        // A search that ran to the end of the text stops there; whether it did is known only
        // once the text is whole.
        if (p >= f.Ende() && !f.vollstaendig) {
            m_ereignisse.clear();
            return TErgebnis::BrauchtMehr;
        }
        Melde(pv_beobachter);
        m_marke = 0;
        // The next long mark is looked for from this one on.
        m_markeSuche = m;
        if (p >= f.Ende())
            break;
    }
    if (pv_melde)
        pv_melde();
    return TErgebnis::Ende;
}

TTonbandStrom::TTonbandStrom(TBeiFund pv_beiFund, const TTonbandBeobachter* pv_beobachter)
    : m_beiFund(std::move(pv_beiFund)), m_beobachter(pv_beobachter) {}

void TTonbandStrom::Haenge(std::string_view pv_bits) {
    m_text.append(pv_bits);
    Suche(false);
}

void TTonbandStrom::Haenge(std::string_view pv_bits, const std::int32_t* pv_positionen) {
    m_text.append(pv_bits);
    m_positionen.insert(m_positionen.end(), pv_positionen, pv_positionen + pv_bits.size());
    Suche(false);
}

void TTonbandStrom::Abschliessen() {
    if (!m_ende)
        Suche(true);
    m_ende = true;
}

std::int32_t TTonbandStrom::HolePosition(std::int64_t pv_impuls) const {
    const std::int64_t i = pv_impuls - m_anfang;
    return i >= 0 && i < static_cast<std::int64_t>(m_positionen.size())
               ? m_positionen[static_cast<std::size_t>(i)]
               : -1;
}

void TTonbandStrom::Suche(bool vollstaendig) {
    const TBitFenster fenster{m_text, m_anfang, vollstaendig};
    std::int64_t ende = 0;
    while (m_suche.Weiter(fenster, ende, m_beobachter) == TTonbandSuche::TErgebnis::Gefunden)
        m_beiFund(m_suche, ende);
    if (vollstaendig)
        return;
    // What lies before the search's needs is dropped once it is the larger part of the text, so
    // each pulse is moved about once.
    m_suche.ScanneBis(fenster);
    const std::int64_t bis = std::min(m_suche.NoetigAb(), fenster.Ende());
    if (bis <= m_anfang)
        return;
    const auto weg = static_cast<std::size_t>(bis - m_anfang);
    if (weg >= m_text.size() / 2) {
        m_text.erase(0, weg);
        if (!m_positionen.empty())
            m_positionen.erase(m_positionen.begin(), m_positionen.begin() + static_cast<std::ptrdiff_t>(weg));
        m_anfang = bis;
        m_suche.Vergiss(bis);
    }
}
