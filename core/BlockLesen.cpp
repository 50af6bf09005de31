// Reading a block's two copies in one polarity: a copy read whole as it stands or by the other
// polarity, else both framed on their start bits, put in order by each other, and every byte's bits
// weighed from the adaptive pass and the fixed passes.
#include "BandPolaritaet.h"
#include "KopieLuecken.h"
#include "NachbarEichung.h"

#include <algorithm>
#include <cmath>

namespace {

using KopieRahmen::BitsProByte;
using KopieRahmen::DatenBits;
using RetterTeile::PruefsummeBytes;
using RetterTeile::PruefsummeGut;

// Pulses of the other passes belong to a pulse of the adaptive pass when they begin within this
// share of a short pulse of it.
constexpr double Gleichzeitig = 0.4;
// How the fixed passes read is learned from this many bytes of each copy known whole at most: a
// header's worth and more, and a tape read cleanly costs little for it.
constexpr std::size_t EichBytes = 256;
// How surely a bit of a byte filled from a copy's lost stretch weighs (of 127): half a typical
// reading.
constexpr std::int8_t Gefuellt = 32;

std::ptrdiff_t Unsicher(const TBlockEntscheidung& e) {
    return std::count(e.unsicher.begin(), e.unsicher.end(), true);
}

// How a byte near one the copy lost may be framed a pulse off (see ZweifelNahVerlust).
enum TZweifel : std::uint8_t { Keiner = 0, NachVerlustFrueh = 1, NahVerlust = 2 };

// Near a byte the copy lost, its neighbours may be framed a pulse off: a byte framed at s reads as
// well a pulse later where its first bit is long, and a pulse earlier where the pulse before its
// start is long. A loss is found where the framing stumbles, before or after the pulse that was
// lost or gained, so each way holds on both sides of it, byte by byte away from it, until a pulse
// there is short. After the loss, framed early, marks the byte NachVerlustFrueh as well.
std::vector<std::uint8_t> ZweifelNahVerlust(const TBelegFolge& q,
                                            const std::vector<KopieRahmen::TByte>& kopie) {
    const auto n = static_cast<std::ptrdiff_t>(kopie.size());
    std::vector<std::uint8_t> zweifel(kopie.size(), Keiner);
    const auto gehe = [&](std::ptrdiff_t von, std::ptrdiff_t schritt) {
        bool spaeter = false, frueher = false;
        for (std::ptrdiff_t i = von; i >= 0 && i < n; i += schritt) {
            const std::int64_t s = kopie[static_cast<std::size_t>(i)].start;
            if (s < 0) {
                spaeter = frueher = true;
                continue;
            }
            const int erstes = q[s + 1].wert, davor = q.Hat(s - 1) ? q[s - 1].wert : 0;
            auto& z = zweifel[static_cast<std::size_t>(i)];
            if ((spaeter && erstes > 0) || (frueher && davor > 0))
                z |= NahVerlust;
            if (spaeter && erstes > 0 && schritt > 0)
                z |= NachVerlustFrueh;
            spaeter = spaeter && erstes >= 0;
            frueher = frueher && davor >= 0;
        }
    };
    gehe(0, 1);
    gehe(n - 1, -1);
    return zweifel;
}

// Bytes no reading of this polarity holds: where the ways every copy that lost one could have
// read it agree on one value, that value is read, faintly and unconfirmed (see KopieLuecken).
void FuelleLuecken(const TBelegFolge& q, const std::vector<KopieRahmen::TByte> (&rahmen)[2], double kurz,
                   TBlockBelege& belege) {
    const std::vector<KopieLuecken::TKandidaten> kandidaten[2] = {KopieLuecken::Finde(q, rahmen[0], kurz),
                                                                  KopieLuecken::Finde(q, rahmen[1], kurz)};
    for (const KopieLuecken::TFuellung& f : KopieLuecken::Einig(kandidaten)) {
        if (f.index >= belege.Bytes() || belege.Lesungen(f.index) != 0)
            continue;
        std::int8_t bits[DatenBits];
        for (int bit = 0; bit < DatenBits; ++bit)
            bits[bit] = (f.wert >> (DatenBits - 1 - bit) & 1) != 0 ? Gefuellt : -Gefuellt;
        for (int k = 0; k < 2; ++k)
            if (f.kopie[k])
                belege.Lies(k, f.index, bits);
    }
    // The bits on either side of a dropout, for the bytes still unread: where both copies lost one,
    // each in another part of it, and they agree on the bits both hold, the two may hold the whole
    // byte (the checksum decides the rest). One copy's alone could rest on a pulse the framing
    // put in the wrong byte.
    const std::vector<KopieLuecken::TRand> raender[2] = {KopieLuecken::Raender(q, rahmen[0], kurz, Gefuellt),
                                                         KopieLuecken::Raender(q, rahmen[1], kurz, Gefuellt)};
    std::size_t j = 0;
    for (const KopieLuecken::TRand& r : raender[0]) {
        while (j < raender[1].size() && raender[1][j].index < r.index)
            ++j;
        if (j == raender[1].size())
            break;
        const KopieLuecken::TRand& t = raender[1][j];
        if (t.index != r.index || r.index >= belege.Bytes() || belege.Lesungen(r.index) != 0)
            continue;
        int gemeinsam = 0;
        bool einig = true;
        for (int bit = 0; bit < DatenBits; ++bit)
            if (r.bits[bit] != 0 && t.bits[bit] != 0) {
                ++gemeinsam;
                einig = einig && (r.bits[bit] > 0) == (t.bits[bit] > 0);
            }
        if (gemeinsam == 0 || !einig)
            continue;
        belege.Lies(0, r.index, r.bits);
        belege.Lies(1, t.index, t.bits);
    }
}

} // namespace

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

// How the fixed passes read the pulses of this block as the adaptive pass read them. Where a click
// or a smear moved the edges of this polarity in one stretch of tape, a pass that looks at a fixed
// time after the edge may read the short pulses after a long one there as long, although it read
// the blocks it learned from right: where its classes cannot be told apart in this block, it has
// no vote here. A header is too short to tell that from the adaptive pass's own errors; a block
// with a copy read whole needs no more.
void TBandRetter::TPolaritaet::EicheAmBlock(const std::vector<KopieRahmen::TByte> (&rahmen)[2]) {
    m_blockEichung.assign(m_sekundaer.size(), TEichung{});
    if (rahmen[0].size() < EichBytes)
        return;
    std::int8_t bits[DatenBits];
    for (const std::vector<KopieRahmen::TByte>& kopie : rahmen)
        for (const KopieRahmen::TByte& b : kopie) {
            if (b.start < 0)
                continue;
            for (std::size_t p = 0; p < m_sekundaer.size(); ++p) {
                if (!FesteBits(p, b.start, bits))
                    continue;
                for (int bit = 0; bit < DatenBits; ++bit) {
                    const int wert = m_primaer[b.start + 1 + bit].wert;
                    const int vorher = m_primaer[b.start + bit].wert;
                    if (bits[bit] != 0 && vorher != 0 && wert != 0)
                        m_blockEichung[p].Nimm(vorher > 0, wert > 0, bits[bit]);
                }
            }
        }
    for (TEichung& e : m_blockEichung)
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
                bits[b] = m_blockEichung[p].art[vorher > 0] == TEichung::TArt::Stumm
                              ? 0
                              : static_cast<std::int8_t>(m_eichung[p].Wert(vorher > 0, bits[b]));
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
    if (ganz[0] >= 0 || ganz[1] >= 0) {
        OrdneKopien(rahmen);
        m_blockEichung.assign(m_sekundaer.size(), TEichung{});
        for (int k = 0; k < 2; ++k)
            if (ganz[k] >= 0)
                Eiche(rahmen[k], sauber[static_cast<std::size_t>(ganz[k])]);
        Wiege(rahmen, belege);
        return {};
    }
    // Put together whole from both copies: its bytes are known now, for the blocks that follow.
    std::vector<KopieRahmen::TByte> geteilt[2] = {rahmen[0], rahmen[1]};
    const bool teilbar = KopieRahmen::Teile(geteilt);
    const TBlockBelege vorher = teilbar ? belege : TBlockBelege();
    OrdneKopien(rahmen);
    EicheAmBlock(rahmen);
    Wiege(rahmen, belege);
    TBlockEntscheidung e = BlockVereinigung::EntscheideMitKopien(belege);
    // Where the framing lost bytes within a stretch, it may have miscounted them by a byte and put
    // the rest of the stretch a byte off. Put in order again with a stretch after each such loss,
    // the copies place those pieces by each other; the reading that leaves fewer bytes uncertain is
    // taken (a piece in the wrong place makes the copies disagree).
    if (!e.gut && teilbar) {
        TBlockBelege andere = vorher;
        OrdneKopien(geteilt);
        EicheAmBlock(geteilt);
        Wiege(geteilt, andere);
        TBlockEntscheidung f = BlockVereinigung::EntscheideMitKopien(andere);
        if (f.gut || Unsicher(f) < Unsicher(e)) {
            belege = std::move(andere);
            e = std::move(f);
            rahmen[0] = std::move(geteilt[0]);
            rahmen[1] = std::move(geteilt[1]);
        }
    }
    if (e.gut)
        for (int k = 0; k < 2; ++k)
            Eiche(rahmen[k], e.bytes);
    return e;
}

void TBandRetter::TPolaritaet::OrdneKopien(std::vector<KopieRahmen::TByte> (&rahmen)[2]) const {
    KopieRahmen::Ordne(m_primaer, rahmen);
    KopieRahmen::Ruecke(m_primaer, rahmen);
}

namespace {

// Copy k alone framed byte `index` (the other copy lost it), and lost the byte before or after it:
// the pulses it lost may lie partly in this one, and nothing confirms its place.
bool AlleinBeimVerlust(const std::vector<KopieRahmen::TByte> (&rahmen)[2], int k, int index) {
    const std::vector<KopieRahmen::TByte>& kopie = rahmen[k];
    const std::vector<KopieRahmen::TByte>& andere = rahmen[1 - k];
    const auto i = static_cast<std::size_t>(index);
    if (i < andere.size() && andere[i].start >= 0)
        return false;
    return (i > 0 && kopie[i - 1].start < 0) || (i + 1 < kopie.size() && kopie[i + 1].start < 0);
}

// The bytes where one copy's clear reading gave way to the other copy's clear reading of another
// value: which of the two is right only the framing near a loss judged.
std::vector<bool> Gewichen(const TBelegFolge& q, const std::vector<KopieRahmen::TByte> (&rahmen)[2],
                           const std::vector<bool> (&weichen)[2]) {
    std::vector<bool> gewichen(std::max(rahmen[0].size(), rahmen[1].size()), false);
    for (std::size_t i = 0; i < rahmen[0].size() && i < rahmen[1].size(); ++i) {
        if (!(weichen[0][i] || weichen[1][i]) || rahmen[0][i].start < 0 || rahmen[1][i].start < 0)
            continue;
        const int a = KopieRahmen::KlarerWert(q, rahmen[0][i].start);
        const int b = KopieRahmen::KlarerWert(q, rahmen[1][i].start);
        gewichen[i] = a >= 0 && b >= 0 && a != b;
    }
    return gewichen;
}

} // namespace

// Every byte's bits of both copies, put in order, weighed from the adaptive pass (counted from where
// its classes lie in this block between such neighbours) and the fixed passes.
void TBandRetter::TPolaritaet::Wiege(const std::vector<KopieRahmen::TByte> (&rahmen)[2],
                                     TBlockBelege& belege) {
    TNachbarEichung nachbarn;
    if (rahmen[0].size() >= EichBytes) {
        for (const std::vector<KopieRahmen::TByte>& kopie : rahmen)
            for (const KopieRahmen::TByte& b : kopie)
                if (b.start >= 0)
                    for (int bit = 0; bit < DatenBits; ++bit)
                        nachbarn.Nimm(m_primaer, b.start + 1 + bit, bit == DatenBits - 1);
    }
    nachbarn.Stelle();
    const std::vector<bool> weichen[2] = {KopieRahmen::Weichende(m_primaer, rahmen, 0),
                                          KopieRahmen::Weichende(m_primaer, rahmen, 1)};
    const std::vector<bool> gewichen = Gewichen(m_primaer, rahmen, weichen);
    for (int k = 0; k < 2; ++k) {
        const std::vector<bool>& weicht = weichen[k];
        const std::vector<std::uint8_t> zweifel = ZweifelNahVerlust(m_primaer, rahmen[k]);
        for (int index = 0; index < static_cast<int>(rahmen[k].size()); ++index) {
            const KopieRahmen::TByte& b = rahmen[k][static_cast<std::size_t>(index)];
            if (b.start < 0)
                continue;
            const std::uint8_t z = zweifel[static_cast<std::size_t>(index)];
            if ((z & NachVerlustFrueh) != 0)
                belege.Mehrdeutig(k, index);
            if ((z & NahVerlust) != 0)
                belege.NahVerlust(k, index);
            if (weicht[static_cast<std::size_t>(index)])
                continue;
            std::int8_t bits[DatenBits];
            for (int bit = 0; bit < DatenBits; ++bit)
                bits[bit] = nachbarn.Wert(m_primaer, b.start + 1 + bit, bit == DatenBits - 1);
            belege.Lies(k, index, bits);
            // A byte whose place only the framing gave counts in full for the checksum (a place a
            // byte off changes the bytes, which the checksum sees), yet stays uncertain in a damaged
            // block unless another reading confirms its place; so does one copy's byte beside its
            // loss that the other copy lost, and a byte where one copy's clear reading gave way.
            if (!b.unbestaetigt && !AlleinBeimVerlust(rahmen, k, index) &&
                !gewichen[static_cast<std::size_t>(index)])
                belege.Bestaetige(index);
            StimmeAb(b.start, k, index, belege);
        }
    }
    FuelleLuecken(m_primaer, rahmen, m_kurz, belege);
}
