#include "BandRetter.h"
#include "FesteEichung.h"
#include "KopieRahmen.h"

#include "BandMarken.h"
#include "BelegFolge.h"
#include "LittleEndian.h"
#include "MZFDatei.h"
#include "TonbandSuche.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

using KopieRahmen::BitsProByte; // start bit and 8 data bits
using KopieRahmen::DatenBits;
constexpr int KopfBytes = TMZFDatei::KopfGroesse;
constexpr int PruefsummeBytes = TBlockBelege::PruefsummeBytes;
constexpr int LangeMarke = TMZFDatei::LangeMarkeImpulse;
constexpr int KurzeMarke = TMZFDatei::KurzeMarkeImpulse;

using BandMarken::KurzeMarkenFehler;
using BandMarken::MarkenEnde;
using BandMarken::MarkenFehler;
using BandMarken::SucheMarke;
using BandMarken::VorlaufProbe;
// The gap between a block and its copy: of this many pulses before the copy at most so many long.
// No block holds such a run (every byte begins with a long pulse), and a gap longer than
// LaengsteKopieLuecke is the leader of a mark: then there is no copy (the shortened format).
constexpr int LueckenProbe = 150;
constexpr int LueckenFehler = 4;
constexpr int LaengsteKopieLuecke = 1000;
// Where the second byte's start bit of a copy was read short, yet not clearly (as a click leaves
// it, weaker than StartKlarKurz), of the next StartProbe start bits at least StartMindestens must
// be long.
constexpr int StartKlarKurz = -32;
constexpr int StartProbe = 8;
constexpr int StartMindestens = 6;
// A block is read once this many pulses after its nominal end are held: room for pulses gained.
constexpr int NeuRahmenFenster = 400;
// Pulses of the other passes belong to a pulse of the adaptive pass when they begin within this
// share of a short pulse of it.
constexpr double Gleichzeitig = 0.4;
// How the fixed passes read is learned from this many bytes of each copy known whole at most: a
// header's worth and more, and a tape read cleanly costs little for it.
constexpr std::size_t EichBytes = 256;
// A body's length measured on the tape, in bytes, as near as a size read uncertainly must come.
constexpr int GroesseUngefaehr = 4;
// A size read within this share of the length measured is taken as read.
constexpr int GroesseNahe = 8;

std::uint16_t Groesse(const std::array<std::uint8_t, KopfBytes>& kopf) {
    return LittleEndian::Lies16(kopf.data() + TMZFDatei::OffsetGroesse);
}

bool PruefsummeGut(const std::vector<std::uint8_t>& block) {
    const std::size_t n = block.size() - PruefsummeBytes;
    return TonbandPruefsumme(block.data(), n) == (block[n] << 8 | block[n + 1]);
}

} // namespace

// One polarity: its adaptive pass frames, its fixed passes vote.
class TBandRetter::TPolaritaet {
public:
    TPolaritaet(int polaritaet, std::size_t sekundaere, std::vector<TGanzeKopie>& ganze)
        : m_polaritaet(polaritaet), m_ganze(ganze), m_sekundaer(sekundaere), m_eichung(sekundaere) {}

    TBelegFolge& Primaer() { return m_primaer; }
    TBelegFolge& Sekundaer(std::size_t i) { return m_sekundaer[i]; }

    // Goes as far as the pulses held allow; at the end of the recording, to the end.
    void Weiter(bool ende);
    std::int64_t Gehalten() const { return m_primaer.Ende() - m_primaer.Anfang(); }

    std::vector<TGeretteteDatei> ergebnisse;

private:
    enum class TPhase { Marke, KopfKopie, Kopf, KurzeMarke, Rumpf };

    bool IstLang(std::int64_t i) const { return m_primaer[i].wert > 0; }
    bool NachPause(std::int64_t anfang) const;
    bool Hat(std::int64_t bis, bool ende) const { return ende || m_primaer.Ende() > bis; }
    // Goes on where the last call for the same block stopped: a body's pulses come over hundreds
    // of pieces.
    std::int64_t SucheKopie(std::int64_t von, bool ende, bool& fertig);
    void LernePulse(std::int64_t vorlaufEnde);
    // Where no copy read whole: the block as both copies decide it (bytes empty otherwise).
    TBlockEntscheidung LiesBlock(const std::int64_t (&anfang)[2], TBlockBelege& belege,
                                 TBlockBericht& bericht, std::vector<std::vector<std::uint8_t>>& sauber);
    bool LiesGlatt(std::int64_t anfang, int bytes, std::vector<KopieRahmen::TByte>& rahmen,
                   std::vector<std::uint8_t>& gelesen) const;
    void StimmeAb(std::int64_t j, int kopie, int index, TBlockBelege& belege);
    // What fixed pass p read of the data bits of the byte whose start bit is the adaptive pass's
    // pulse j, 0 where its pulse does not begin where the adaptive pass's does; false when it read
    // no such byte.
    bool FesteBits(std::size_t p, std::int64_t j, std::int8_t (&bits)[DatenBits]) const;
    // Learns how the fixed passes read the bytes of a copy whose values are known.
    void Eiche(const std::vector<KopieRahmen::TByte>& rahmen, const std::vector<std::uint8_t>& bytes);
    void Fertig(std::int64_t weiterAb);
    void MissGroesse();
    void Vergiss();

    const TGanzeKopie* AndereGanz(std::int64_t anfang, int bytes) const;
    void MerkeGanz(std::int64_t anfang, const std::vector<std::uint8_t>& bytes);

    int m_polaritaet;
    std::vector<TGanzeKopie>& m_ganze; // shared by both polarities
    TBelegFolge m_primaer;
    std::vector<TBelegFolge> m_sekundaer;
    std::vector<TEichung> m_eichung; // per fixed pass
    TPhase m_phase = TPhase::Marke;
    std::int64_t m_suche = VorlaufProbe;
    double m_kurz = 0.0; // frames of a short pulse, from the last leader
    TGeretteteDatei m_datei;
    std::int64_t m_kopf[2] = {-1, -1};
    std::int64_t m_rumpf[2] = {-1, -1};
    // The header's size was read uncertainly in its high byte: the body's first copy tells it.
    bool m_groesseVomBand = false;
    bool m_untenSicher = false; // and its low byte surely
    // Where a dropout cut off the mark before a block, the first pulse after it: the block's first
    // copy is lost, its second is looked for from there. -1 after a whole mark.
    std::int64_t m_nachPause = -1;
    struct TKopieSuche {
        std::int64_t von = -1; // where the search began
        std::int64_t j = 0;    // the next pulse to look at
        std::int64_t luecke = -1;
    };
    TKopieSuche m_kopieSuche;
};

// The first pulse of a copy: after the first gap of short pulses from pv_von on, if that gap is
// no leader. `fertig` tells whether the search could decide with the pulses held.
std::int64_t TBandRetter::TPolaritaet::SucheKopie(std::int64_t von, bool ende, bool& fertig) {
    const TBelegFolge& q = m_primaer;
    TKopieSuche& s = m_kopieSuche;
    if (s.von != von)
        s = {von, std::max(von, q.Anfang() + LueckenProbe), -1};
    fertig = true;
    // A copy is told by the pulse 9 after its first (or, where a click spoilt that, by the start
    // bits after it): the search waits at the last pulses held until those have come, and what it
    // passed depends on nothing later.
    const std::int64_t bis = ende ? q.Ende() : q.Ende() - BitsProByte;
    for (std::int64_t& j = s.j; j < bis; ++j) {
        if (s.luecke < 0) {
            if (q.Lange(j - LueckenProbe, j) <= LueckenFehler)
                s.luecke = j - LueckenProbe;
            continue;
        }
        if (IstLang(j) && q.Lange(j - LueckenProbe, j) > LueckenFehler / 2)
            return -1; // the gap ended in something that is no block
        if (j - s.luecke > LaengsteKopieLuecke)
            return -1; // a leader: no copy follows
        if (!IstLang(j))
            continue;
        if (q.Hat(j + BitsProByte) && IstLang(j + BitsProByte))
            return j;
        if (q.Hat(j + BitsProByte) && q[j + BitsProByte].wert <= StartKlarKurz)
            continue;
        // A click on the second byte's start bit: most start bits after it tell the copy.
        if (!q.Hat(j + (StartProbe + 1) * BitsProByte)) {
            if (ende)
                continue;
            fertig = false;
            return -1;
        }
        int lang = 0;
        for (int k = 2; k <= StartProbe + 1; ++k)
            lang += IstLang(j + k * BitsProByte) ? 1 : 0;
        if (lang >= StartMindestens)
            return j;
    }
    fertig = ende;
    return -1;
}

// The length of a short pulse, from the leader before a mark.
void TBandRetter::TPolaritaet::LernePulse(std::int64_t vorlaufEnde) {
    const std::int64_t von = std::max(m_primaer.Anfang(), vorlaufEnde - VorlaufProbe);
    if (vorlaufEnde - von > 1)
        m_kurz = static_cast<double>(m_primaer[vorlaufEnde - 1].beginn - m_primaer[von].beginn) /
                 static_cast<double>(vorlaufEnde - 1 - von);
}

bool TBandRetter::TPolaritaet::FesteBits(std::size_t p, std::int64_t j,
                                         std::int8_t (&bits)[DatenBits]) const {
    const double toleranz = Gleichzeitig * m_kurz;
    const TBelegFolge& s = m_sekundaer[p];
    const std::int64_t k = s.ErsterAb(static_cast<std::int64_t>(m_primaer[j].beginn - toleranz));
    if (!s.Hat(k + DatenBits) || std::abs(s[k].beginn - m_primaer[j].beginn) > toleranz || !s[k].IstLang())
        return false;
    for (int b = 1; b <= DatenBits; ++b)
        bits[b - 1] = std::abs(s[k + b].beginn - m_primaer[j + b].beginn) <= toleranz ? s[k + b].wert : 0;
    return true;
}

void TBandRetter::TPolaritaet::Eiche(const std::vector<KopieRahmen::TByte>& rahmen,
                                     const std::vector<std::uint8_t>& bytes) {
    std::int8_t bits[DatenBits];
    const std::size_t n = std::min({rahmen.size(), bytes.size(), EichBytes});
    for (std::size_t i = 0; i < n; ++i) {
        if (rahmen[i].start < 0)
            continue;
        for (std::size_t p = 0; p < m_sekundaer.size(); ++p) {
            if (!FesteBits(p, rahmen[i].start, bits))
                continue;
            // The bit before the first data bit is the start bit, long.
            bool vorher = true;
            for (int b = 0; b < DatenBits; ++b) {
                const bool lang = (bytes[i] >> (DatenBits - 1 - b) & 1) != 0;
                if (bits[b] != 0)
                    m_eichung[p].Nimm(vorher, lang, bits[b]);
                vorher = lang;
            }
        }
    }
    for (TEichung& e : m_eichung)
        e.Stelle();
}

// What the fixed passes say of the byte whose start bit is the adaptive pass's pulse j: each pass
// whose pulses begin where the adaptive pass's do, counted from where its classes lie after the
// pulse before as the adaptive pass read it.
void TBandRetter::TPolaritaet::StimmeAb(std::int64_t j, int kopie, int index, TBlockBelege& belege) {
    std::int8_t bits[DatenBits];
    for (std::size_t p = 0; p < m_sekundaer.size(); ++p) {
        if (!FesteBits(p, j, bits))
            continue;
        for (int b = 0; b < DatenBits; ++b) {
            const int vorher = m_primaer[j + b].wert;
            if (bits[b] != 0 && vorher != 0)
                bits[b] = static_cast<std::int8_t>(m_eichung[p].Wert(vorher > 0, bits[b]));
        }
        belege.Lies(kopie, index, bits);
    }
}

// A copy that reads cleanly as it stands: every pulse known, every ninth one long, no pulse so long
// that pulses were lost in it, and the checksum agrees. The framing as a whole would lay it on the
// pattern just so; it is the most common case by far and costs a pass over its pulses.
bool TBandRetter::TPolaritaet::LiesGlatt(std::int64_t anfang, int bytes,
                                         std::vector<KopieRahmen::TByte>& rahmen,
                                         std::vector<std::uint8_t>& gelesen) const {
    const std::int64_t ende = anfang + static_cast<std::int64_t>(bytes) * BitsProByte;
    if (!m_primaer.Hat(anfang) || !m_primaer.Hat(ende))
        return false;
    const double luecke = KopieRahmen::LueckenGrenze * KopieRahmen::LangZuKurz * m_kurz;
    for (std::int64_t j = anfang; j < ende; ++j)
        if (m_primaer[j].wert == 0 || m_primaer[j + 1].beginn - m_primaer[j].beginn > luecke)
            return false;
    gelesen.assign(static_cast<std::size_t>(bytes), 0);
    for (int i = 0; i < bytes; ++i) {
        const std::int64_t start = anfang + static_cast<std::int64_t>(i) * BitsProByte;
        if (!IstLang(start)) {
            gelesen.clear();
            return false;
        }
        std::uint8_t wert = 0;
        for (int bit = 1; bit <= DatenBits; ++bit)
            wert = static_cast<std::uint8_t>(wert << 1 | (IstLang(start + bit) ? 1 : 0));
        gelesen[static_cast<std::size_t>(i)] = wert;
    }
    if (!PruefsummeGut(gelesen)) {
        gelesen.clear();
        return false;
    }
    rahmen.assign(static_cast<std::size_t>(bytes), {});
    for (int i = 0; i < bytes; ++i)
        rahmen[static_cast<std::size_t>(i)].start = anfang + static_cast<std::int64_t>(i) * BitsProByte;
    return true;
}

// A copy the other polarity read whole that begins where this one does: the other polarity's
// pulses begin half a pulse off, so within a long pulse.
const TBandRetter::TGanzeKopie* TBandRetter::TPolaritaet::AndereGanz(std::int64_t anfang, int bytes) const {
    const double toleranz = KopieRahmen::LangZuKurz * m_kurz;
    for (const TGanzeKopie& g : m_ganze)
        if (g.polaritaet != m_polaritaet && static_cast<int>(g.bytes.size()) == bytes - PruefsummeBytes &&
            std::abs(g.beginn - m_primaer[anfang].beginn) <= toleranz)
            return &g;
    return nullptr;
}

void TBandRetter::TPolaritaet::MerkeGanz(std::int64_t anfang, const std::vector<std::uint8_t>& bytes) {
    if (m_ganze.size() == GemerkteKopien)
        m_ganze.erase(m_ganze.begin());
    m_ganze.push_back({m_polaritaet, m_primaer[anfang].beginn, bytes});
}

// Reads both copies of a block: each framed on its start bits as a whole (a copy framed whole, no
// pulse unknown, with a good checksum is a copy read whole), the stretches after long dropouts
// placed by the other copy, then every byte's bits from the adaptive pass and the fixed passes.
TBlockEntscheidung TBandRetter::TPolaritaet::LiesBlock(const std::int64_t (&anfang)[2], TBlockBelege& belege,
                                                       TBlockBericht& bericht,
                                                       std::vector<std::vector<std::uint8_t>>& sauber) {
    const int bytes = belege.Bytes();
    std::vector<KopieRahmen::TByte> rahmen[2];
    int ganz[2] = {-1, -1}; // the copy read whole, in `sauber`
    for (int k = 0; k < 2; ++k) {
        if (anfang[k] < 0) {
            rahmen[k].assign(static_cast<std::size_t>(bytes), {});
            continue;
        }
        bericht.kopieGefunden[k] = true;
        bericht.beginn[k] = m_primaer.Hat(anfang[k]) ? m_primaer[anfang[k]].beginn : -1;
        bericht.lesungen += 1;
        std::vector<std::uint8_t> gelesen;
        const TGanzeKopie* andere = nullptr;
        if (LiesGlatt(anfang[k], bytes, rahmen[k], gelesen)) {
            MerkeGanz(anfang[k], gelesen);
        } else if ((andere = AndereGanz(anfang[k], bytes)) != nullptr) {
            // The other polarity read this very copy whole: framing it here could add nothing, and
            // its bytes are this copy's evidence.
            rahmen[k].assign(static_cast<std::size_t>(bytes), {});
            gelesen = andere->bytes;
            for (int index = 0; index < bytes; ++index) {
                std::int8_t bits[DatenBits];
                for (int bit = 0; bit < DatenBits; ++bit)
                    bits[bit] = (gelesen[static_cast<std::size_t>(index)] >> (DatenBits - 1 - bit) & 1) != 0
                                    ? TImpulsBeleg::Sicher
                                    : -TImpulsBeleg::Sicher;
                belege.Lies(k, index, bits);
                belege.Bestaetige(index);
            }
        }
        if (!gelesen.empty()) {
            bericht.kopieGut[k] = true;
            gelesen.resize(static_cast<std::size_t>(bytes - PruefsummeBytes));
            ganz[k] = static_cast<int>(sauber.size());
            sauber.push_back(std::move(gelesen));
            continue;
        }
        rahmen[k] = KopieRahmen::Rahme(m_primaer, anfang[k], bytes, m_kurz);
        for (const KopieRahmen::TByte& b : rahmen[k]) {
            if (b.start < 0 || b.abschnitt != 0)
                break;
            std::uint8_t wert = 0;
            bool bekannt = true;
            for (int bit = 1; bit <= DatenBits; ++bit) {
                wert = static_cast<std::uint8_t>(wert << 1 | (IstLang(b.start + bit) ? 1 : 0));
                bekannt = bekannt && m_primaer[b.start + bit].wert != 0;
            }
            if (!bekannt)
                break;
            gelesen.push_back(wert);
        }
        if (static_cast<int>(gelesen.size()) == bytes && PruefsummeGut(gelesen)) {
            bericht.kopieGut[k] = true;
            MerkeGanz(anfang[k], gelesen);
            gelesen.resize(static_cast<std::size_t>(bytes - PruefsummeBytes));
            ganz[k] = static_cast<int>(sauber.size());
            sauber.push_back(std::move(gelesen));
        } else if (k == 1 && NachPause(anfang[k])) {
            // The second copy, found just after a dropout that may have swallowed its first bytes
            // (the first copy's place the mark gives): where they lie in the block is known only to
            // a few bytes, as after a dropout within it.
            for (KopieRahmen::TByte& b : rahmen[k])
                ++b.abschnitt;
        }
    }
    // A second copy found a byte or more off reads as the first only moved (the first copy's start
    // rests on the mark, a surer place): it is framed anew from where its bytes say it begins, and
    // taken so where it then reads as the first copy where it stands.
    if (ganz[0] < 0 && ganz[1] < 0 && anfang[0] >= 0 && anfang[1] >= 0) {
        const std::optional<int> versatz = KopieRahmen::Versatz(m_primaer, rahmen);
        const std::int64_t neu = anfang[1] + static_cast<std::int64_t>(versatz.value_or(0)) * BitsProByte;
        if (versatz.value_or(0) != 0 && m_primaer.Hat(neu) && neu > anfang[0]) {
            std::vector<KopieRahmen::TByte> neuGerahmt[2] = {
                rahmen[0], KopieRahmen::Rahme(m_primaer, neu, bytes, m_kurz)};
            if (KopieRahmen::Versatz(m_primaer, neuGerahmt) == 0) {
                rahmen[1] = std::move(neuGerahmt[1]);
                bericht.beginn[1] = m_primaer[neu].beginn;
            }
        }
    }
    KopieRahmen::Ordne(m_primaer, rahmen);
    KopieRahmen::Ruecke(m_primaer, rahmen);
    for (int k = 0; k < 2; ++k)
        if (ganz[k] >= 0)
            Eiche(rahmen[k], sauber[static_cast<std::size_t>(ganz[k])]);
    for (int k = 0; k < 2; ++k) {
        const std::vector<bool> weicht = KopieRahmen::Weichende(m_primaer, rahmen, k);
        for (int index = 0; index < bytes; ++index) {
            const KopieRahmen::TByte& b = rahmen[k][static_cast<std::size_t>(index)];
            if (b.start < 0 || weicht[static_cast<std::size_t>(index)])
                continue;
            std::int8_t bits[DatenBits];
            for (int bit = 0; bit < DatenBits; ++bit)
                bits[bit] = m_primaer[b.start + 1 + bit].wert;
            belege.Lies(k, index, bits);
            // A byte whose place only the framing gave counts in full for the checksum (a place a
            // byte off changes the bytes, which the checksum sees), yet stays uncertain in a damaged
            // block unless another reading confirms its place.
            if (!b.unbestaetigt)
                belege.Bestaetige(index);
            StimmeAb(b.start, k, index, belege);
        }
    }
    if (ganz[0] >= 0 || ganz[1] >= 0)
        return {};
    // Put together whole from both copies: its bytes are known now, for the blocks that follow.
    TBlockEntscheidung e = BlockVereinigung::EntscheideMitKopien(belege);
    if (e.gut)
        for (int k = 0; k < 2; ++k)
            Eiche(rahmen[k], e.bytes);
    return e;
}

bool TBandRetter::TPolaritaet::NachPause(std::int64_t anfang) const {
    for (std::int64_t i = std::max(m_primaer.Anfang() + 1, anfang - KopieRahmen::BitsProByte); i <= anfang;
         ++i)
        if (m_primaer[i].beginn - m_primaer[i - 1].beginn > BandMarken::PauseKurze * m_kurz)
            return true;
    return false;
}

void TBandRetter::TPolaritaet::Fertig(std::int64_t weiterAb) {
    TBandRetter::Entscheide(m_datei);
    m_datei.kopfBelege.Verdichte();
    m_datei.rumpfBelege.Verdichte();
    m_datei.polaritaet = m_polaritaet;
    const std::int64_t letzter = std::min(weiterAb, m_primaer.Ende()) - 1;
    m_datei.ende = m_primaer.Hat(letzter) ? m_primaer[letzter].beginn : m_datei.beginn;
    if (IstKopf(m_datei))
        ergebnisse.push_back(std::move(m_datei));
    m_datei = TGeretteteDatei();
    m_kopf[0] = m_kopf[1] = m_rumpf[0] = m_rumpf[1] = -1;
    m_phase = TPhase::Marke;
    m_suche = std::max(m_suche, weiterAb);
    // The next file's mark may be held already (the search for a copy waited for it): what lies
    // before it is done with all the same.
    Vergiss();
}

void TBandRetter::TPolaritaet::Vergiss() {
    // Nothing before the file in hand, or before the leader the next mark is looked for after.
    std::int64_t bis = m_phase == TPhase::Marke ? m_suche - VorlaufProbe - 1 : m_kopf[0] - VorlaufProbe - 1;
    bis = std::min(bis, m_primaer.Ende() - 1);
    if (bis <= m_primaer.Anfang())
        return;
    const std::int32_t frame = m_primaer[bis].beginn;
    m_primaer.Vergiss(bis);
    for (TBelegFolge& s : m_sekundaer)
        s.Vergiss(s.ErsterAb(frame) - 1);
}

// A header whose size was read uncertainly in its high byte: the body's first copy, from its first
// start bit to the gap before the second, holds nine pulses a byte, with the checksum and the stop
// bit. Of the sizes the low byte allows (256 apart) the nearest is taken, where it lies within a
// quarter of that step (dropouts cost a copy some pulses, hardly a byte in eight). Where the low
// byte was read uncertainly as well (a dropout just before the high byte lasts into it), only where
// it lies within a few bytes of what was measured; else the length measured is taken. The body's
// checksum then tells whether it was right.
void TBandRetter::TPolaritaet::MissGroesse() {
    if (m_rumpf[0] < 0 || m_rumpf[1] < 0)
        return;
    const std::int64_t impulse = m_rumpf[1] - m_rumpf[0] - TMZFDatei::KopieLueckeImpulse - 1;
    const std::int64_t gemessen = impulse / BitsProByte - PruefsummeBytes;
    constexpr int Schritt = 256;
    if (gemessen < 0 || gemessen >= Schritt * Schritt)
        return;
    // A size read near the length measured stays: the copy lost or gained pulses, not the header
    // its bits (on a copy heard in hiss the count is off by a byte in a hundred).
    if (std::abs(Groesse(m_datei.kopf) - gemessen) <= gemessen / GroesseNahe)
        return;
    const int unten = m_datei.kopf[TMZFDatei::OffsetGroesse];
    const std::int64_t oben =
        std::clamp<std::int64_t>((gemessen - unten + Schritt / 2) / Schritt, 0, Schritt - 1);
    std::int64_t groesse = unten + oben * Schritt;
    if (std::abs(groesse - gemessen) > (m_untenSicher ? Schritt / 4 : GroesseUngefaehr)) {
        if (m_untenSicher)
            return;
        // The low byte was heard no better than the high one: the length measured is the size.
        groesse = gemessen;
    }
    if (groesse == Groesse(m_datei.kopf))
        return;
    m_datei.kopf[TMZFDatei::OffsetGroesse] = static_cast<std::uint8_t>(groesse & 0xFF);
    m_datei.kopf[TMZFDatei::OffsetGroesse + 1] = static_cast<std::uint8_t>(groesse >> 8);
    m_datei.rumpfBelege = TBlockBelege(static_cast<int>(groesse));
}

void TBandRetter::TPolaritaet::Weiter(bool ende) {
    const std::int64_t kopfSpanne = static_cast<std::int64_t>(KopfBytes + PruefsummeBytes) * BitsProByte + 1;
    for (;;) {
        switch (m_phase) {
        case TPhase::Marke: {
            std::int64_t markenEnde = -1;
            const std::int64_t marke = SucheMarke(m_primaer, m_suche, m_primaer.Ende(), LangeMarke,
                                                  MarkenFehler, &m_nachPause, &markenEnde);
            if (marke < 0) {
                m_suche =
                    std::max(m_suche, m_primaer.Ende() - BandMarken::Vorschau(LangeMarke, MarkenFehler));
                Vergiss();
                return;
            }
            LernePulse(marke);
            m_datei = TGeretteteDatei();
            m_datei.beginn = m_primaer[marke].beginn;
            if (markenEnde < 0 && m_nachPause < 0)
                markenEnde = MarkenEnde(m_primaer, marke, LangeMarke);
            m_kopf[0] = m_nachPause < 0 ? markenEnde + 1 : -1;
            m_suche = m_nachPause < 0 ? m_kopf[0] : m_nachPause;
            m_phase = TPhase::KopfKopie;
            break;
        }
        case TPhase::KopfKopie: {
            bool fertig = false;
            m_kopf[1] = SucheKopie(m_nachPause < 0 ? m_kopf[0] + kopfSpanne / 2 : m_nachPause, ende, fertig);
            if (!fertig)
                return;
            if (m_kopf[0] < 0 && m_kopf[1] < 0) {
                // The mark cut off and no copy after it: no header to read.
                m_phase = TPhase::Marke;
                break;
            }
            m_phase = TPhase::Kopf;
            break;
        }
        case TPhase::Kopf: {
            const std::int64_t bis = std::max(m_kopf[0], m_kopf[1]) + kopfSpanne + NeuRahmenFenster;
            if (!Hat(bis, ende))
                return;
            const TBlockEntscheidung kopf =
                LiesBlock(m_kopf, m_datei.kopfBelege, m_datei.kopfBericht, m_datei.sauberKopf);
            m_datei.kopfBericht.gelesen = true;
            const std::vector<std::uint8_t>& bytes =
                m_datei.sauberKopf.empty() ? kopf.bytes : m_datei.sauberKopf.front();
            std::copy(bytes.begin(), bytes.end(), m_datei.kopf.begin());
            m_datei.rumpfBelege = TBlockBelege(Groesse(m_datei.kopf));
            m_groesseVomBand =
                m_datei.sauberKopf.empty() && !kopf.gut && kopf.unsicher[TMZFDatei::OffsetGroesse + 1];
            m_untenSicher = m_groesseVomBand && !kopf.unsicher[TMZFDatei::OffsetGroesse];
            m_suche = std::max(m_kopf[0], m_kopf[1]) + kopfSpanne;
            m_phase = TPhase::KurzeMarke;
            break;
        }
        case TPhase::KurzeMarke: {
            // Looked for until the next file's long mark, or as far as the longest file goes.
            const std::int64_t grenze =
                (m_kopf[0] >= 0 ? m_kopf[0] : m_kopf[1]) + TTonbandSuche::GroessteDateiSpanne;
            std::int64_t markenEnde = -1;
            const std::int64_t kurz = SucheMarke(m_primaer, m_suche, grenze, KurzeMarke, KurzeMarkenFehler,
                                                 &m_nachPause, &markenEnde);
            const std::int64_t lang =
                SucheMarke(m_primaer, m_suche, kurz >= 0 ? kurz : grenze, LangeMarke, MarkenFehler);
            if (lang >= 0 || (kurz < 0 && (ende || m_primaer.Ende() >= grenze))) {
                // A header without its body.
                Fertig(lang >= 0 ? lang - VorlaufProbe : m_suche);
                break;
            }
            if (kurz < 0) {
                m_suche =
                    std::max(m_suche, m_primaer.Ende() - BandMarken::Vorschau(LangeMarke, MarkenFehler));
                return;
            }
            if (markenEnde < 0 && m_nachPause < 0)
                markenEnde = MarkenEnde(m_primaer, kurz, KurzeMarke);
            m_rumpf[0] = m_nachPause < 0 ? markenEnde + 1 : -1;
            m_datei.mitRumpf = true;
            m_phase = TPhase::Rumpf;
            break;
        }
        case TPhase::Rumpf: {
            const std::int64_t spanne =
                static_cast<std::int64_t>(m_datei.rumpfBelege.Bytes()) * BitsProByte + 1;
            bool fertig = false;
            // With its size uncertain the copy may be far shorter than the header says.
            const bool messen = m_groesseVomBand && m_nachPause < 0;
            m_rumpf[1] = SucheKopie(m_nachPause >= 0 ? m_nachPause : m_rumpf[0] + (messen ? 0 : spanne / 2),
                                    ende, fertig);
            if (!fertig)
                return;
            if (messen) {
                m_groesseVomBand = false;
                MissGroesse();
                break;
            }
            if (!Hat(std::max(m_rumpf[0], m_rumpf[1]) + spanne + NeuRahmenFenster, ende))
                return;
            if (m_rumpf[0] < 0 && m_rumpf[1] < 0) {
                // The short mark cut off and no copy after it: a header without its body.
                m_datei.mitRumpf = false;
                Fertig(m_nachPause);
                break;
            }
            LiesBlock(m_rumpf, m_datei.rumpfBelege, m_datei.rumpfBericht, m_datei.sauberRumpf);
            m_datei.rumpfBericht.gelesen = true;
            Fertig(std::max(m_rumpf[0], m_rumpf[1]) + spanne);
            break;
        }
        }
    }
}

TBandRetter::TBandRetter(const std::vector<TDekodierDurchgang>& pv_festeDurchgaenge) {
    std::size_t proPolaritaet[2] = {};
    for (const TDekodierDurchgang& d : pv_festeDurchgaenge)
        ++proPolaritaet[d.invertiertePolaritaet ? 1 : 0];
    for (int p = 0; p < 2; ++p)
        m_polaritaeten[p] = std::make_unique<TPolaritaet>(p, proPolaritaet[p], m_ganzeKopien);
    m_quellen.push_back({0, -1});
    m_quellen.push_back({1, -1});
    std::size_t naechste[2] = {};
    for (const TDekodierDurchgang& d : pv_festeDurchgaenge) {
        const int p = d.invertiertePolaritaet ? 1 : 0;
        m_quellen.push_back({p, static_cast<int>(naechste[p]++)});
    }
}

TBandRetter::~TBandRetter() = default;

void TBandRetter::Belege(int pv_quelle, const TImpulsBeleg* pv_belege, std::size_t pv_anzahl) {
    if (pv_quelle < 0 || static_cast<std::size_t>(pv_quelle) >= m_quellen.size())
        return;
    const auto [polaritaet, sekundaer] = m_quellen[static_cast<std::size_t>(pv_quelle)];
    TPolaritaet& p = *m_polaritaeten[polaritaet];
    (sekundaer < 0 ? p.Primaer() : p.Sekundaer(static_cast<std::size_t>(sekundaer)))
        .Haenge(pv_belege, pv_anzahl);
}

void TBandRetter::NachBlock(std::int64_t) {
    for (auto& p : m_polaritaeten)
        p->Weiter(false);
}

std::int64_t TBandRetter::GehalteneImpulse() const {
    return std::max(m_polaritaeten[0]->Gehalten(), m_polaritaeten[1]->Gehalten());
}

std::vector<TGeretteteDatei> TBandRetter::Ende() {
    std::vector<TGeretteteDatei> alle;
    for (auto& p : m_polaritaeten) {
        p->Weiter(true);
        for (TGeretteteDatei& d : p->ergebnisse)
            alle.push_back(std::move(d));
        p->ergebnisse.clear();
    }
    return BeidePolaritaeten(std::move(alle));
}
