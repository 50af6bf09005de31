// The rescue along the tape: per polarity the marks found, the copies of a file's header and body
// looked for after them, each block read (BlockLesen.cpp) and each file finished; the polarities'
// files joined at the end.
#include "BandPolaritaet.h"

#include <algorithm>
#include <cmath>

namespace {

using KopieRahmen::BitsProByte; // start bit and 8 data bits
using RetterTeile::Groesse;
using RetterTeile::KopfBytes;
using RetterTeile::PruefsummeBytes;
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
// A body's length measured on the tape, in bytes, as near as a size read uncertainly must come.
constexpr int GroesseUngefaehr = 4;

} // namespace

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
    else if (m_datei.mitRumpf && unlesbare.size() < GroessteAnzahlUnlesbare)
        unlesbare.push_back({m_datei.beginn, m_datei.ende, std::move(m_datei.rumpf), m_datei.befund,
                             m_datei.kopfBericht, m_datei.rumpfBericht});
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
    m_datei.gemesseneGroesse = static_cast<int>(gemessen);
    // A size read near the length measured stays: the copy lost or gained pulses, not the header
    // its bits (on a copy heard in hiss the count is off by a byte in a hundred).
    if (std::abs(Groesse(m_datei.kopf) - gemessen) <= gemessen / TBandRetter::GroesseNahe)
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
            // A header put together with a checksum that agrees, where bytes of it rest on the
            // framing alone or on weak bits: a stretch a byte off within runs of zeros leaves the
            // checksum as it is, so the body's length is measured as well (see Entscheide).
            bool ungestuetzt = false;
            for (int i = 0; kopf.gut && i < KopfBytes; ++i)
                ungestuetzt = ungestuetzt || kopf.unsicher[static_cast<std::size_t>(i)] ||
                              m_datei.kopfBelege.Unbestaetigt(i);
            m_groesseVomBand = m_datei.sauberKopf.empty() &&
                               ((!kopf.gut && kopf.unsicher[TMZFDatei::OffsetGroesse + 1]) || ungestuetzt);
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
    std::vector<TUnlesbarerKopf> unlesbare;
    for (auto& p : m_polaritaeten) {
        p->Weiter(true);
        for (TGeretteteDatei& d : p->ergebnisse)
            alle.push_back(std::move(d));
        p->ergebnisse.clear();
        for (TUnlesbarerKopf& u : p->unlesbare)
            unlesbare.push_back(std::move(u));
        p->unlesbare.clear();
    }
    // A file the other polarity read, or the same unreadable one read in both: told once, or as
    // the file it is.
    std::stable_sort(unlesbare.begin(), unlesbare.end(),
                     [](const TUnlesbarerKopf& a, const TUnlesbarerKopf& b) { return a.beginn < b.beginn; });
    const auto ueberlappt = [](const auto& a, const auto& b) {
        return a.beginn <= b.ende && b.beginn <= a.ende;
    };
    m_unlesbare.clear();
    for (TUnlesbarerKopf& u : unlesbare)
        if (std::none_of(alle.begin(), alle.end(),
                         [&](const TGeretteteDatei& d) { return ueberlappt(d, u); }) &&
            (m_unlesbare.empty() || !ueberlappt(m_unlesbare.back(), u)))
            m_unlesbare.push_back(std::move(u));
    return BeidePolaritaeten(std::move(alle));
}
