// Deciding a file's blocks from the evidence the rescue gathered: each block from all readings
// and the checksum, a copy read whole where there is one, and the file's state from both; and the
// files both polarities read joined.
#include "BandRetter.h"

#include "LittleEndian.h"
#include "MZFDatei.h"

#include <algorithm>

int TDateiBefund::UnsichereBytes() const {
    int n = 0;
    for (const auto& [von, bis] : unsichereBereiche)
        n += bis - von;
    return n;
}

std::vector<bool> TDateiBefund::UnsicherJeByte(int pv_bytes) const {
    std::vector<bool> unsicher(static_cast<std::size_t>(std::max(pv_bytes, 0)), false);
    for (const auto& [von, bis] : unsichereBereiche)
        for (int i = std::max(von, 0); i < std::min(bis, pv_bytes); ++i)
            unsicher[static_cast<std::size_t>(i)] = true;
    return unsicher;
}

TDateiBefund TGeretteteDatei::Gemeldet() const {
    TDateiBefund gemeldet = befund;
    if (gemeldet.zustand == TDateiBefund::TZustand::Beschaedigt && mitRumpf && !rumpfBericht.gut &&
        gemeldet.unsichereBereiche.empty() && !rumpf.empty())
        gemeldet.unsichereBereiche = {{0, static_cast<int>(rumpf.size())}};
    return gemeldet;
}

bool TDateiBefund::KopfByteUnsicher(int pv_index) const {
    return kopfUnsicher &&
           std::any_of(unsichereKopfBereiche.begin(), unsichereKopfBereiche.end(),
                       [&](const auto& b) { return b.first <= pv_index && pv_index < b.second; });
}

namespace {

// The bytes agree outside the uncertain ranges.
bool GleichWoSicher(const std::uint8_t* a, const std::uint8_t* b, int n,
                    const std::vector<std::pair<int, int>>& unsicher) {
    int i = 0;
    for (const auto& [von, bis] : unsicher) {
        if (!std::equal(a + i, a + std::clamp(von, i, n), b + i))
            return false;
        i = std::clamp(bis, i, n);
    }
    return std::equal(a + i, a + n, b + i);
}

} // namespace

bool TDateiBefund::KopfGleichWoSicher(const std::uint8_t* pv_kopf, const std::uint8_t* pv_anderer,
                                      int pv_bytes) const {
    return GleichWoSicher(pv_kopf, pv_anderer, pv_bytes,
                          kopfUnsicher ? unsichereKopfBereiche : std::vector<std::pair<int, int>>());
}

bool TDateiBefund::RumpfGleichWoSicher(const std::uint8_t* pv_rumpf, const std::uint8_t* pv_anderer,
                                       int pv_bytes) const {
    return GleichWoSicher(pv_rumpf, pv_anderer, pv_bytes, unsichereBereiche);
}

namespace {

std::uint16_t Groesse(const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& kopf) {
    return LittleEndian::Lies16(kopf.data() + TMZFDatei::OffsetGroesse);
}

// The unsure bytes as ranges.
std::vector<std::pair<int, int>> Bereiche(const std::vector<bool>& unsicher) {
    std::vector<std::pair<int, int>> b;
    for (int i = 0; i < static_cast<int>(unsicher.size()); ++i) {
        if (!unsicher[static_cast<std::size_t>(i)])
            continue;
        if (!b.empty() && b.back().second == i)
            ++b.back().second;
        else
            b.push_back({i, i + 1});
    }
    return b;
}

// The block as decided, and whether it is a copy read whole; a copy read whole is taken over a
// block that only the checksum search made agree, and the evidence of all readings over a copy
// read whole when both agree with the checksum.
struct TBlock {
    std::vector<std::uint8_t> bytes;
    bool gut = false;
    bool sauber = false;
    int gekippt = 0;
    std::vector<bool> unsicher;
    std::vector<std::vector<std::uint8_t>> ueberstimmt;
    TDateiBefund::TWeg weg = TDateiBefund::TWeg::Vereinigt;
};

// The copy of this reading that gave the bytes whole, as it read: its copies read whole come first
// among the clean blocks, copy 1 before copy 2. A block no copy of it gave so was put together.
TDateiBefund::TWeg Kopie(const TBlockBericht& bericht, const std::vector<std::vector<std::uint8_t>>& sauber,
                         const std::vector<std::uint8_t>& bytes) {
    std::size_t i = 0;
    for (int k = 0; k < 2; ++k) {
        if (!bericht.kopieGut[k])
            continue;
        if (i < sauber.size() && sauber[i] == bytes)
            return k == 0 ? TDateiBefund::TWeg::Kopie1 : TDateiBefund::TWeg::Kopie2;
        ++i;
    }
    return TDateiBefund::TWeg::Vereinigt;
}

// Of the copies read whole, the one that all readings hold to where they differ (two bit errors
// in one copy that the checksum, a count of 1 bits, cannot see): each differing bit counts with
// its weight for the copy that reads it so. sauber.size() where the best ties with another.
std::size_t Gestuetzt(const std::vector<float>& gewichte,
                      const std::vector<std::vector<std::uint8_t>>& sauber) {
    constexpr int BitsProByte = TBlockBelege::BitsProByte;
    const std::size_t bytes = sauber.empty() ? 0 : sauber.front().size();
    // Copies of one block are all as long; anything else is no choice to make here.
    if (sauber.size() < 2 ||
        std::any_of(sauber.begin(), sauber.end(), [&](const auto& s) { return s.size() != bytes; }) ||
        std::all_of(sauber.begin(), sauber.end(), [&](const auto& s) { return s == sauber.front(); }))
        return 0;
    std::vector<double> halt(sauber.size(), 0.0);
    for (std::size_t i = 0; i < bytes; ++i) {
        bool gleich = true;
        for (const auto& s : sauber)
            gleich = gleich && s[i] == sauber.front()[i];
        if (gleich)
            continue;
        for (std::size_t k = 0; k < sauber.size(); ++k)
            for (int bit = 0; bit < BitsProByte; ++bit) {
                const std::size_t stelle = i * BitsProByte + static_cast<std::size_t>(bit);
                if (stelle < gewichte.size())
                    halt[k] += (sauber[k][i] >> (BitsProByte - 1 - bit) & 1) != 0 ? gewichte[stelle]
                                                                                  : -gewichte[stelle];
            }
    }
    std::size_t beste = 0;
    for (std::size_t k = 1; k < sauber.size(); ++k)
        if (halt[k] > halt[beste])
            beste = k;
    for (std::size_t k = 0; k < sauber.size(); ++k)
        if (k != beste && sauber[k] != sauber[beste] && halt[k] == halt[beste])
            return sauber.size();
    return beste;
}

TBlock Waehle(TBlockBelege& belege, const std::vector<std::vector<std::uint8_t>>& sauber,
              const TBlockBericht& bericht) {
    TBlock b;
    const TBlockEntscheidung e = BlockVereinigung::EntscheideMitKopien(belege);
    b.bytes = e.bytes;
    b.gut = e.gut;
    b.gekippt = e.gekippt;
    b.unsicher = e.unsicher;
    for (std::size_t i = 0; i < b.unsicher.size(); ++i)
        b.unsicher[i] = b.unsicher[i] || belege.Unbestaetigt(static_cast<int>(i)) ||
                        belege.Zweifelhaft(static_cast<int>(i));
    if (sauber.empty())
        return b;
    if (e.gut && e.gekippt == 0) {
        for (const auto& s : sauber) {
            if (s == e.bytes)
                b.sauber = true;
            else if (std::find(b.ueberstimmt.begin(), b.ueberstimmt.end(), s) == b.ueberstimmt.end())
                b.ueberstimmt.push_back(s);
        }
        if (b.sauber)
            b.weg = Kopie(bericht, sauber, b.bytes);
        return b;
    }
    const std::size_t gewaehlt = Gestuetzt(belege.Gewichte(), sauber);
    b.bytes = sauber[gewaehlt < sauber.size() ? gewaehlt : 0];
    b.weg = Kopie(bericht, sauber, b.bytes);
    b.gut = true;
    b.sauber = true;
    b.gekippt = 0;
    b.unsicher.assign(b.bytes.size(), false);
    for (const auto& s : sauber) {
        if (s == b.bytes || std::find(b.ueberstimmt.begin(), b.ueberstimmt.end(), s) != b.ueberstimmt.end())
            continue;
        b.ueberstimmt.push_back(s);
        // The evidence could not tell the copies apart: where they differ nothing is sure.
        if (gewaehlt >= sauber.size())
            for (std::size_t i = 0; i < s.size() && i < b.unsicher.size(); ++i)
                b.unsicher[i] = b.unsicher[i] || s[i] != b.bytes[i];
    }
    if (gewaehlt >= sauber.size())
        b.gut = false;
    return b;
}

} // namespace

bool TBandRetter::IstKopf(const TGeretteteDatei& pv_datei) {
    constexpr std::uint8_t ErstesZeichen = 0x20;
    const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& kopf = pv_datei.kopf;
    if (pv_datei.kopfBericht.gut || TMZFDatei::IstPlausiblerKopf(kopf.data()))
        return true;
    const TDateiBefund& befund = pv_datei.befund;
    if (!befund.kopfUnsicher)
        return false;
    // Uncertain bytes, and the runs they form (a dropout leaves one run).
    int unsicher = 0, laeufe = 0;
    const auto sicher = [&](int i) {
        const bool u = befund.KopfByteUnsicher(i);
        unsicher += u ? 1 : 0;
        laeufe += u && (i == 0 || !befund.KopfByteUnsicher(i - 1)) ? 1 : 0;
        return !u;
    };
    const auto zuViele = [&] {
        return unsicher > (laeufe == 1 ? HoechstensUnsichereKopfBytesAmStueck : HoechstensUnsichereKopfBytes);
    };
    if (sicher(TMZFDatei::OffsetAttribut) && kopf[TMZFDatei::OffsetAttribut] == 0)
        return false;
    for (int i = 0; i < TMZFDatei::NameLaenge; ++i) {
        const int stelle = TMZFDatei::OffsetName + i;
        const bool s = sicher(stelle);
        if (zuViele())
            return false;
        if (!s)
            continue;
        if (kopf[static_cast<std::size_t>(stelle)] == TMZFDatei::Ende)
            return i > 0;
        if (kopf[static_cast<std::size_t>(stelle)] < ErstesZeichen)
            return false;
    }
    return false;
}

bool TGeretteteDatei::NenntDieselbeDatei(const TGeretteteDatei& pv_andere) const {
    return NenntDieselbeDatei(pv_andere, TBandRetter::HoechstensUnsichereKopfBytesAmStueck);
}

bool TGeretteteDatei::NenntDieselbeDatei(const TGeretteteDatei& pv_andere, int pv_hoechstens) const {
    int unsicher = 0;
    for (int i = 0; i < TMZFDatei::OffsetKommentar; ++i) {
        const auto stelle = static_cast<std::size_t>(i);
        if (befund.KopfByteUnsicher(i) || pv_andere.befund.KopfByteUnsicher(i))
            ++unsicher;
        else if (kopf[stelle] != pv_andere.kopf[stelle])
            return false;
    }
    return unsicher <= pv_hoechstens;
}

int TBandRetter::HaeltZu(const TBlockBelege& pv_belege, const std::uint8_t* pv_bytes,
                         const std::uint8_t* pv_andere, std::size_t pv_anzahl) {
    const std::vector<std::vector<std::uint8_t>> beide{{pv_bytes, pv_bytes + pv_anzahl},
                                                       {pv_andere, pv_andere + pv_anzahl}};
    if (beide[0] == beide[1])
        return 0;
    const std::size_t gewaehlt = Gestuetzt(pv_belege.Gewichte(), beide);
    return gewaehlt == 0 ? 1 : gewaehlt == 1 ? -1 : 0;
}

void TBandRetter::Entscheide(TGeretteteDatei& pv_datei) {
    TBlock kopf = Waehle(pv_datei.kopfBelege, pv_datei.sauberKopf, pv_datei.kopfBericht);
    std::copy(kopf.bytes.begin(), kopf.bytes.end(), pv_datei.kopf.begin());
    // Put together from copies with bytes that rest on the framing alone or on weak bits, yet its
    // size far from the body's length on the tape: a stretch of it stands a byte off where zeros
    // on either side hide that from the checksum. Its checksum agreeing proves nothing then.
    const int laenge = pv_datei.gemesseneGroesse;
    if (kopf.gut && !kopf.sauber && laenge >= 0 &&
        std::find(kopf.unsicher.begin(), kopf.unsicher.end(), true) != kopf.unsicher.end() &&
        std::abs(Groesse(pv_datei.kopf) - laenge) > laenge / GroesseNahe)
        kopf.gut = false;
    pv_datei.kopfBericht.gut = kopf.gut;
    pv_datei.kopfBericht.gekippt = kopf.gekippt;
    TDateiBefund& befund = pv_datei.befund;
    befund = TDateiBefund();
    pv_datei.ueberstimmterKopf = kopf.ueberstimmt;
    befund.kopfRepariert = kopf.gut && (!kopf.sauber || !kopf.ueberstimmt.empty());
    befund.kopfUnsicher = !kopf.gut;
    befund.kopfWeg = kopf.weg;
    if (!kopf.gut)
        befund.unsichereKopfBereiche = Bereiche(kopf.unsicher);
    // The size's high byte read uncertainly: the body's first copy told it (see MissGroesse), and
    // the low byte too where that was read uncertainly as well.
    const int gemessen = pv_datei.rumpfBelege.Anzahl();
    constexpr int Unten = TMZFDatei::OffsetGroesse;
    if (pv_datei.mitRumpf && befund.KopfByteUnsicher(Unten + 1) &&
        (befund.KopfByteUnsicher(Unten) || (gemessen & 0xFF) == pv_datei.kopf[Unten])) {
        pv_datei.kopf[Unten] = static_cast<std::uint8_t>(gemessen & 0xFF);
        pv_datei.kopf[Unten + 1] = static_cast<std::uint8_t>(gemessen >> 8);
    }
    const int groesse = Groesse(pv_datei.kopf);
    if (!pv_datei.mitRumpf || pv_datei.rumpfBelege.Anzahl() != groesse) {
        // A header alone: the body is not known.
        pv_datei.rumpf.assign(static_cast<std::size_t>(groesse), 0);
        befund.zustand = TDateiBefund::TZustand::Beschaedigt;
        if (groesse > 0)
            befund.unsichereBereiche = {{0, groesse}};
        return;
    }
    const TBlock rumpf = Waehle(pv_datei.rumpfBelege, pv_datei.sauberRumpf, pv_datei.rumpfBericht);
    pv_datei.rumpf = rumpf.bytes;
    befund.rumpfWeg = rumpf.weg;
    pv_datei.rumpfBericht.gut = rumpf.gut;
    pv_datei.rumpfBericht.gekippt = rumpf.gekippt;
    pv_datei.ueberstimmt = rumpf.ueberstimmt;
    befund.rumpfRepariert = rumpf.gut && !rumpf.sauber;
    if (!kopf.gut || !rumpf.gut) {
        befund.zustand = TDateiBefund::TZustand::Beschaedigt;
        befund.unsichereBereiche = Bereiche(rumpf.unsicher);
        return;
    }
    befund.zustand = befund.kopfRepariert || befund.rumpfRepariert || !rumpf.ueberstimmt.empty()
                         ? TDateiBefund::TZustand::Repariert
                         : TDateiBefund::TZustand::Intakt;
    if (!rumpf.ueberstimmt.empty())
        befund.rumpfRepariert = true;
}

namespace {

// The same file with a body read damaged in both polarities: its header alike, or unconfirmed in one.
bool BeideBeschaedigt(const TGeretteteDatei& a, const TGeretteteDatei& b) {
    const auto beschaedigt = TDateiBefund::TZustand::Beschaedigt;
    return a.befund.zustand == beschaedigt && b.befund.zustand == beschaedigt && a.mitRumpf && b.mitRumpf &&
           (a.kopf == b.kopf || !(a.kopfBericht.gut && b.kopfBericht.gut)) &&
           a.rumpfBelege.Anzahl() == b.rumpfBelege.Anzahl();
}

// The same file read whole in both polarities, yet differently: one of them holds two bit errors
// that the checksum cannot see.
bool Widersprechen(const TGeretteteDatei& a, const TGeretteteDatei& b) {
    const auto beschaedigt = TDateiBefund::TZustand::Beschaedigt;
    return a.befund.zustand != beschaedigt && b.befund.zustand != beschaedigt && a.mitRumpf && b.mitRumpf &&
           a.rumpfBelege.Anzahl() == b.rumpfBelege.Anzahl() && (a.kopf != b.kopf || a.rumpf != b.rumpf);
}

// The bytes of a's damaged body that b's reading of the same file gives otherwise, where b is
// sure of them, join a's uncertain ranges: one of the two sure readings is wrong there.
void Widersprochen(TGeretteteDatei& a, const TGeretteteDatei& b) {
    std::vector<bool> unsicher = a.befund.UnsicherJeByte(static_cast<int>(a.rumpf.size()));
    const std::vector<bool> beiB = b.befund.UnsicherJeByte(static_cast<int>(b.rumpf.size()));
    for (std::size_t i = 0; i < std::min(a.rumpf.size(), b.rumpf.size()); ++i)
        unsicher[i] = unsicher[i] || (a.rumpf[i] != b.rumpf[i] && !beiB[i]);
    a.befund.unsichereBereiche = Bereiche(unsicher);
}

// The reading kept holds its header uncertain where the other read it surely: where the body kept
// is as long as that header says, the header is taken from the other reading (each block from the
// reading that holds it best); where not, the body kept was read with a length the sure header
// speaks against, and the other reading is kept instead.
void NimmSicherenKopf(TGeretteteDatei& behalten, TGeretteteDatei& andere) {
    if (!behalten.befund.kopfUnsicher || andere.befund.kopfUnsicher || !behalten.mitRumpf || !andere.mitRumpf)
        return;
    if (Groesse(andere.kopf) != behalten.rumpfBelege.Anzahl()) {
        std::swap(behalten, andere);
        return;
    }
    behalten.kopfBelege = andere.kopfBelege;
    behalten.sauberKopf = andere.sauberKopf;
    behalten.kopfBericht = andere.kopfBericht;
    TBandRetter::Entscheide(behalten);
}

} // namespace

std::vector<TGeretteteDatei> TBandRetter::BeidePolaritaeten(std::vector<TGeretteteDatei> alle) {
    std::stable_sort(alle.begin(), alle.end(),
                     [](const TGeretteteDatei& a, const TGeretteteDatei& b) { return a.beginn < b.beginn; });
    // The same file read in both polarities: the better reading stays.
    std::vector<TGeretteteDatei> ergebnis;
    for (TGeretteteDatei& d : alle) {
        if (!ergebnis.empty() && d.beginn <= ergebnis.back().ende && ergebnis.back().beginn <= d.ende) {
            TGeretteteDatei& vorher = ergebnis.back();
            const auto rang = [](const TGeretteteDatei& x) {
                return std::make_pair(-static_cast<int>(x.befund.zustand), -x.befund.UnsichereBytes());
            };
            // Both polarities left the file damaged: what each heard of every bit, together, may
            // mend it, and where it leaves no more uncertain than either alone, it holds more.
            // Both read it whole but differently: what each heard decides between their copies.
            const bool widerspruch = Widersprechen(vorher, d);
            if (widerspruch || BeideBeschaedigt(vorher, d)) {
                TGeretteteDatei beide = vorher;
                beide.gemesseneGroesse = std::max(beide.gemesseneGroesse, d.gemesseneGroesse);
                beide.kopfBelege.Mittle(d.kopfBelege);
                beide.rumpfBelege.Mittle(d.rumpfBelege);
                beide.sauberKopf.insert(beide.sauberKopf.end(), d.sauberKopf.begin(), d.sauberKopf.end());
                beide.sauberRumpf.insert(beide.sauberRumpf.end(), d.sauberRumpf.begin(), d.sauberRumpf.end());
                Entscheide(beide);
                // A header read surely in one polarity is not given up for the sake of the body.
                const bool kopfBleibt =
                    !beide.befund.kopfUnsicher || (vorher.befund.kopfUnsicher && d.befund.kopfUnsicher);
                if (widerspruch || (kopfBleibt && rang(beide) >= rang(vorher) && rang(beide) >= rang(d))) {
                    vorher = std::move(beide);
                    continue;
                }
            }
            const bool beideBeschaedigt = BeideBeschaedigt(vorher, d);
            if (rang(d) > rang(vorher))
                std::swap(vorher, d);
            NimmSicherenKopf(vorher, d);
            // Bytes the other polarity read surely and otherwise: one of the two readings is
            // wrong there, and the one kept may be the one (a polarity that framed a copy a byte
            // off reads every bit surely).
            if (beideBeschaedigt)
                Widersprochen(vorher, d);
            continue;
        }
        ergebnis.push_back(std::move(d));
    }
    return ergebnis;
}
