#include "WAVSuche.h"

#include "BandProtokoll.h"
#include "BandRetter.h"
#include "FundListe.h"
#include "LittleEndian.h"
#include "TonbandSuche.h"

#include <algorithm>
#include <bit>

std::vector<TDekodierDurchgang> TWAVSuche::DurchgaengeFuer(int pv_modell) {
    if (pv_modell == MZ700)
        return {{false, false}, {false, true}, {true, false}, {true, true}};
    return {{false, false}, {true, false}};
}

// One pass: its pulses searched as they come, each distinct file it finds kept once in the order
// it found them, and what it passed over noted. The adaptive passes run on the decoder's own
// thread; each pass touches only what is its own, but for the announcement of a new file.
class TWAVSuche::TDurchgang : public TImpulsSenke {
public:
    TDurchgang(TWAVSuche& suche, int nummer)
        : m_protokoll([](std::int64_t) { return qint64{-1}; }, false), m_suche(suche), m_nummer(nummer),
          m_strom(
              [this, &suche](const TTonbandSuche& s, std::int64_t) {
                  if (!m_funde.Nimm(s.HoleKopf(), s.HoleRumpf().data(), s.HoleRumpf().size()) ||
                      !suche.beiNeuerDatei)
                      return;
                  const auto datei = m_funde.Datei(m_funde.Anzahl() - 1);
                  suche.Gefunden(*datei);
              },
              &m_beobachter) {
        // The protocol's observer, and where asked for the places of what the pass met. (The
        // functions point to this object: it is never copied.)
        const TTonbandBeobachter& p = *m_protokoll.Beobachter();
        m_beobachter.beiLangerMarke = [this, &p](std::int64_t pos) {
            if (p.beiLangerMarke)
                p.beiLangerMarke(pos);
            Marke(TBandStelle::TArt::LangeMarke, pos, TMZFDatei::LangeMarkeImpulse);
        };
        m_beobachter.beiKurzerMarke = [this, &p](std::int64_t pos) {
            if (p.beiKurzerMarke)
                p.beiKurzerMarke(pos);
            Marke(TBandStelle::TArt::KurzeMarke, pos, TMZFDatei::KurzeMarkeImpulse);
        };
        m_beobachter.beiKopf = [this, &p](std::int64_t pos, int kopie, const std::uint8_t* kopf, bool gut) {
            if (p.beiKopf)
                p.beiKopf(pos, kopie, kopf, gut);
            if (kopf)
                std::copy_n(kopf, TMZFDatei::KopfGroesse, m_kopf.begin());
            TBandStelle s = Block(TBandStelle::TArt::Kopf, pos, kopie, gut, TMZFDatei::KopfGroesse);
            s.kopfGelesen = kopf != nullptr;
            if (kopf)
                s.kopf = m_kopf;
            Melde(s);
        };
        m_beobachter.beiRumpf = [this, &p](std::int64_t pos, int kopie, bool gut) {
            if (p.beiRumpf)
                p.beiRumpf(pos, kopie, gut);
            const int groesse = LittleEndian::Lies16(m_kopf.data() + TMZFDatei::OffsetGroesse);
            Melde(Block(TBandStelle::TArt::Rumpf, pos, kopie, gut, groesse));
        };
    }
    TDurchgang(const TDurchgang&) = delete;
    TDurchgang& operator=(const TDurchgang&) = delete;

    void Impulse(std::string_view pv_bits, const std::int32_t* pv_positionen) override {
        // A pass that holds all it may hold reads no further.
        if (m_funde.IstVoll())
            return;
        if (pv_positionen && m_suche.m_beiStelle) {
            FolgeVorlauf(pv_bits, pv_positionen);
            m_strom.Haenge(pv_bits, pv_positionen);
        } else
            m_strom.Haenge(pv_bits);
    }
    bool MitPositionen() const override { return static_cast<bool>(m_suche.m_beiStelle); }
    void Ende() {
        m_strom.Abschliessen();
        m_protokoll.TextZuEnde();
    }

    TFundListe m_funde;
    TBandProtokoll m_protokoll;

private:
    // A leader: a run of short pulses before a mark, a stray long pulse in it now and then (a
    // misread one) tolerated. Followed as the pulses come, so that its beginning is known though
    // the parser no longer holds it when the mark is found.
    struct TLauf {
        std::int64_t erstes = 0; // pulse number of its first short pulse
        std::int64_t ende = 0;   // the first long pulse after it
        std::int32_t beginn = 0; // frame of its first pulse
    };
    static constexpr int VorlaufKleinsteLaenge = 200;
    static constexpr int VorlaufFehlerAbstand = 16; // pulses between two stray long ones at least
    static constexpr std::size_t GemerkteLaeufe = 4;
    static constexpr std::int64_t VorlaufPause = 4;        // times the run's mean pulse
    static constexpr std::int64_t VorlaufPauseMessung = 8; // pulses of the run that give the mean

    void FolgeVorlauf(std::string_view bits, const std::int32_t* positionen) {
        std::int64_t nummer = m_strom.HoleAnzahl() + 1;
        for (std::size_t k = 0; k < bits.size(); ++k, ++nummer) {
            // A pulse far longer than the run's others was a pause: what follows is a new run.
            const std::int64_t gezaehlt = nummer - 1 - m_lauf.erstes;
            const std::int32_t dauer = positionen[k] - m_letztePosition; // of the pulse before
            if (m_imLauf && gezaehlt >= VorlaufPauseMessung &&
                dauer * gezaehlt > VorlaufPause * (m_letztePosition - m_lauf.beginn))
                m_imLauf = false;
            // A young run that began with pauses (silence before the tape, the end of the file
            // before) begins with its first pulse of the run's length.
            if (m_imLauf && gezaehlt < VorlaufPauseMessung && m_vorigeDauer > VorlaufPause * dauer) {
                m_lauf.erstes = nummer - 1;
                m_lauf.beginn = m_letztePosition;
            }
            m_vorigeDauer = dauer;
            m_letztePosition = positionen[k];
            if (bits[k] == '0') {
                if (!m_imLauf) {
                    m_imLauf = true;
                    m_lauf = {nummer, 0, positionen[k]};
                    m_letzteEins = nummer - VorlaufFehlerAbstand - 1;
                }
                continue;
            }
            if (!m_imLauf)
                continue;
            if (nummer - m_letzteEins > VorlaufFehlerAbstand) {
                m_letzteEins = nummer;
                continue;
            }
            // Two long pulses close together: the run ended with the first of them.
            m_imLauf = false;
            m_lauf.ende = m_letzteEins;
            if (m_lauf.ende - m_lauf.erstes >= VorlaufKleinsteLaenge) {
                if (m_laeufe.size() == GemerkteLaeufe)
                    m_laeufe.erase(m_laeufe.begin());
                m_laeufe.push_back(m_lauf);
            }
        }
    }

    // A mark's pulses, counted back from the start bit where the parser reports it: before it one
    // long pulse, the mark's short pulses, and before them its long ones; before those its leader.
    void Marke(TBandStelle::TArt art, std::int64_t startbit, int anzahl) {
        if (!m_suche.m_beiStelle)
            return;
        const std::int64_t erstesKurzes = startbit - 1 - anzahl;
        const std::int64_t erstesLanges = erstesKurzes - anzahl;
        for (const TLauf& l : m_laeufe)
            if (l.ende == erstesLanges) {
                TBandStelle v;
                v.art = TBandStelle::TArt::Vorlauf;
                v.durchgang = m_nummer;
                v.beginn = l.beginn;
                v.ende = m_strom.HolePosition(erstesLanges);
                if (v.ende >= 0)
                    m_suche.m_beiStelle(v);
            }
        TBandStelle s;
        s.art = art;
        s.durchgang = m_nummer;
        s.beginn = m_strom.HolePosition(erstesLanges);
        s.ende = m_strom.HolePosition(startbit);
        const std::int32_t mitte = m_strom.HolePosition(erstesKurzes);
        if (s.beginn >= 0 && mitte >= 0 && s.ende >= 0) {
            s.langFrames = static_cast<double>(mitte - s.beginn) / anzahl;
            s.kurzFrames = static_cast<double>(m_strom.HolePosition(startbit - 1) - mitte) / anzahl;
        }
        m_suche.m_beiStelle(s);
    }
    // A block of `bytes` bytes and its checksum: a start bit and eight data bits a byte.
    TBandStelle Block(TBandStelle::TArt art, std::int64_t anfang, int kopie, bool gut, int bytes) const {
        constexpr int ImpulseJeByte = 9;
        TBandStelle s;
        s.art = art;
        s.durchgang = m_nummer;
        s.kopie = kopie;
        s.gut = gut;
        s.beginn = m_strom.HolePosition(anfang);
        const std::int64_t letztes =
            anfang + static_cast<std::int64_t>(bytes + TTonbandSuche::PruefsummeBytes) * ImpulseJeByte;
        s.ende = m_strom.HolePosition(std::min(letztes, m_strom.HoleAnzahl()));
        return s;
    }
    void Melde(const TBandStelle& s) const {
        if (m_suche.m_beiStelle)
            m_suche.m_beiStelle(s);
    }

    TWAVSuche& m_suche;
    int m_nummer;
    bool m_imLauf = false;
    TLauf m_lauf;
    std::int64_t m_letzteEins = 0;
    std::int32_t m_letztePosition = 0;
    std::int32_t m_vorigeDauer = 0;
    std::vector<TLauf> m_laeufe;                               // the last runs long enough for a leader
    std::array<std::uint8_t, TMZFDatei::KopfGroesse> m_kopf{}; // the last header read whole
    TTonbandBeobachter m_beobachter;
    TTonbandStrom m_strom;
};

TWAVSuche::TWAVSuche(const TBandEinstellungen& pv_einstellungen)
    : m_einstellungen(pv_einstellungen), m_durchgaenge(DurchgaengeFuer(pv_einstellungen.modell)),
      m_gemeldet(std::make_unique<TFundListe>()) {
    for (std::size_t i = 0; i < m_durchgaenge.size(); ++i) {
        m_suchen.push_back(std::make_unique<TDurchgang>(*this, static_cast<int>(i)));
        m_senken.push_back(m_suchen.back().get());
    }
    if (pv_einstellungen.erweitert) {
        for (int polaritaet = 0; polaritaet < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++polaritaet) {
            m_suchen.push_back(std::make_unique<TDurchgang>(*this, static_cast<int>(m_suchen.size())));
            m_erweiterung.senken[polaritaet] = m_suchen.back().get();
        }
        m_retter = std::make_unique<TBandRetter>(m_durchgaenge);
        m_erweiterung.belege = m_retter.get();
        m_erweiterung.belegDurchgaenge = m_durchgaenge;
    }
}

// Hands the rescue's pulses to the rescue and to an observer.
class TBelegVerteiler : public TBelegEmpfaenger {
public:
    TBelegVerteiler(TBelegEmpfaenger& retter, TBelegEmpfaenger& beobachter)
        : m_retter(retter), m_beobachter(beobachter) {}
    void Belege(int pv_quelle, const TImpulsBeleg* pv_belege, std::size_t pv_anzahl) override {
        m_retter.Belege(pv_quelle, pv_belege, pv_anzahl);
        m_beobachter.Belege(pv_quelle, pv_belege, pv_anzahl);
    }
    void NachBlock(std::int64_t pv_frames) override {
        m_retter.NachBlock(pv_frames);
        m_beobachter.NachBlock(pv_frames);
    }

private:
    TBelegEmpfaenger& m_retter;
    TBelegEmpfaenger& m_beobachter;
};

TWAVSuche::~TWAVSuche() = default;

void TWAVSuche::SetzeBelegBeobachter(TBelegEmpfaenger* pv_beobachter) {
    if (!m_retter || !pv_beobachter)
        return;
    m_verteiler = std::make_unique<TBelegVerteiler>(*m_retter, *pv_beobachter);
    m_erweiterung.belege = m_verteiler.get();
}

void TWAVSuche::SetzeBeiStelle(std::function<void(const TBandStelle&)> pv_beiStelle) {
    m_beiStelle = std::move(pv_beiStelle);
    m_erweiterung.mitPositionen = static_cast<bool>(m_beiStelle);
}

void TWAVSuche::Gefunden(const TMZFDatei& datei) {
    const std::lock_guard<std::mutex> sperre(m_sperre);
    std::vector<std::uint8_t> rumpf(datei.Rumpf(), datei.Rumpf() + datei.HoleMZDateiGroesse());
    if (m_gemeldet->Nimm(datei.Kopf(), rumpf.data(), rumpf.size()))
        beiNeuerDatei(datei);
}

void TWAVSuche::Ende(std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                     std::vector<TUebersprungenes>* pv_uebersprungen) {
    Ende(pv_dateien, pv_uebersprungen, nullptr);
}

namespace {

bool GleicherInhalt(const TMZFDatei& d, const TGeretteteDatei& g, const std::vector<std::uint8_t>& rumpf) {
    return d.Kopf() == g.kopf && d.HoleMZDateiGroesse() == rumpf.size() &&
           std::equal(rumpf.begin(), rumpf.end(), d.Rumpf());
}

// A pass's file is a version of what the rescue put together that the evidence overruled: its
// header and its body each the rescue's or one it overruled, and not both the rescue's.
bool Ueberstimmt(const TMZFDatei& d, const TGeretteteDatei& g) {
    const auto rumpfGleich = [&](const std::vector<std::uint8_t>& rumpf) {
        return d.HoleMZDateiGroesse() == rumpf.size() && std::equal(rumpf.begin(), rumpf.end(), d.Rumpf());
    };
    const bool kopf = d.Kopf() == g.kopf || g.KopfUeberstimmt(d.Kopf());
    const bool rumpf =
        rumpfGleich(g.rumpf) || std::any_of(g.ueberstimmt.begin(), g.ueberstimmt.end(), rumpfGleich);
    return kopf && rumpf && !GleicherInhalt(d, g, g.rumpf);
}

// Two readings of one block of a recording with good checksums differ in two bits that hide each
// other from the checksum, or in a few more where a click struck; versions further apart are other
// files, not readings of one.
constexpr int GroessteWiderlegteAbweichung = 8;

int AbweichendeBits(const std::uint8_t* a, const std::uint8_t* b, std::size_t n) {
    int bits = 0;
    for (std::size_t i = 0; i < n; ++i)
        bits += std::popcount(static_cast<unsigned>(a[i] ^ b[i]));
    return bits;
}

// Where a pass read a file whole with a good checksum and the rescue put the same file together
// otherwise, a few bits apart (the rescue never read the pass's version whole, so it could not
// outvote it): which of the two the rescue's evidence holds to, 1 the rescue's, -1 the pass's, 0
// neither or no such pair. Only for a file the rescue found once: one saved twice with different
// contents is two files.
int Widerlegt(const TMZFDatei& d, const TGeretteteDatei& g, const std::vector<TGeretteteDatei>& gerettet) {
    const std::size_t groesse = g.rumpf.size();
    if (g.befund.zustand == TDateiBefund::TZustand::Beschaedigt || !g.mitRumpf ||
        d.HoleMZDateiGroesse() != groesse || GleicherInhalt(d, g, g.rumpf) ||
        AbweichendeBits(d.Kopf().data(), g.kopf.data(), g.kopf.size()) +
                AbweichendeBits(d.Rumpf(), g.rumpf.data(), groesse) >
            GroessteWiderlegteAbweichung ||
        std::count_if(gerettet.begin(), gerettet.end(),
                      [&](const TGeretteteDatei& h) { return h.kopf == g.kopf || h.kopf == d.Kopf(); }) != 1)
        return 0;
    const int kopf = TBandRetter::HaeltZu(g.kopfBelege, g.kopf.data(), d.Kopf().data(), g.kopf.size());
    const int rumpf = TBandRetter::HaeltZu(g.rumpfBelege, g.rumpf.data(), d.Rumpf(), groesse);
    if (kopf * rumpf < 0)
        return 0;
    return kopf + rumpf > 0 ? 1 : kopf + rumpf < 0 ? -1 : 0;
}

// The rescue's state of a file, for a pass's version of it the evidence overruled.
TDateiBefund AlsRepariert(const TMZFDatei& d, const TGeretteteDatei& g) {
    TDateiBefund befund = g.befund;
    befund.zustand = TDateiBefund::TZustand::Repariert;
    befund.kopfRepariert = befund.kopfRepariert || d.Kopf() != g.kopf;
    befund.rumpfRepariert = befund.rumpfRepariert || !std::equal(g.rumpf.begin(), g.rumpf.end(), d.Rumpf());
    return befund;
}

} // namespace

bool IstBeschaedigteLesung(const TMZFDatei& pv_datei, const TGeretteteDatei& pv_gerettet) {
    const TDateiBefund& befund = pv_gerettet.befund;
    if (befund.zustand != TDateiBefund::TZustand::Beschaedigt ||
        !befund.KopfGleichWoSicher(pv_gerettet.kopf.data(), pv_datei.Kopf().data(),
                                   TMZFDatei::OffsetKommentar))
        return false;
    // What names the file is all before the comment.
    if (!befund.kopfUnsicher ||
        std::all_of(befund.unsichereKopfBereiche.begin(), befund.unsichereKopfBereiche.end(),
                    [](const auto& b) { return b.first >= TMZFDatei::OffsetKommentar; }))
        return true;
    // A name read uncertainly says too little: the body must say it too.
    return pv_gerettet.mitRumpf && IstRumpfVon(pv_datei, pv_gerettet.rumpf, befund);
}

bool IstRumpfVon(const TMZFDatei& pv_datei, const std::vector<std::uint8_t>& pv_rumpf,
                 const TDateiBefund& pv_befund) {
    const auto groesse = static_cast<int>(pv_rumpf.size());
    return pv_datei.HoleMZDateiGroesse() == pv_rumpf.size() && 2 * pv_befund.UnsichereBytes() < groesse &&
           pv_befund.RumpfGleichWoSicher(pv_rumpf.data(), pv_datei.Rumpf(), groesse);
}

void FuegeGerettetHinzu(std::vector<std::unique_ptr<TMZFDatei>>& dateien,
                        std::vector<TGeretteteDatei>& gerettet) {
    const std::size_t vonDenDurchgaengen = dateien.size();
    // A pass's version set right that another pass read right already is no file of its own.
    std::vector<bool> doppelt(vonDenDurchgaengen, false);
    // A pass's file the rescue read exactly so somewhere: a damaged reading elsewhere on the tape
    // is another save of it (the same name, other contents), not a reading of it.
    std::vector<bool> gelesen(vonDenDurchgaengen, false);
    for (std::size_t i = 0; i < vonDenDurchgaengen; ++i)
        gelesen[i] = std::any_of(gerettet.begin(), gerettet.end(), [&](const TGeretteteDatei& g) {
            return GleicherInhalt(*dateien[i], g, g.rumpf);
        });
    for (TGeretteteDatei& g : gerettet) {
        bool da = false;
        for (std::size_t i = 0; i < vonDenDurchgaengen; ++i) {
            TMZFDatei& d = *dateien[i];
            if (GleicherInhalt(d, g, g.rumpf)) {
                da = true;
                continue;
            }
            const int widerlegt = Widerlegt(d, g, gerettet);
            if (Ueberstimmt(d, g) || widerlegt > 0) {
                for (std::size_t j = 0; j < vonDenDurchgaengen; ++j)
                    doppelt[i] = doppelt[i] || (j != i && GleicherInhalt(*dateien[j], g, g.rumpf));
                // The rescue's file is then repaired too: a version of it was overruled.
                if (widerlegt > 0)
                    g.befund = AlsRepariert(d, g);
                d.Uebernimm(g.kopf, g.rumpf);
                d.SetzeBefund(g.Gemeldet());
                da = true;
            } else if (widerlegt < 0 || (!gelesen[i] && IstBeschaedigteLesung(d, g))) {
                da = true;
            }
        }
        for (std::size_t i = vonDenDurchgaengen; i < dateien.size() && !da; ++i)
            da = GleicherInhalt(*dateien[i], g, g.rumpf);
        if (da)
            continue;
        auto datei = std::make_unique<TMZFDatei>();
        datei->Uebernimm(g.kopf, g.rumpf);
        datei->SetzeBefund(g.Gemeldet());
        dateien.push_back(std::move(datei));
    }
    std::size_t behalten = 0;
    for (std::size_t i = 0; i < dateien.size(); ++i)
        if (i >= vonDenDurchgaengen || !doppelt[i])
            dateien[behalten++] = std::move(dateien[i]);
    dateien.resize(behalten);
}

void TWAVSuche::Ende(std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                     std::vector<TUebersprungenes>* pv_uebersprungen,
                     std::vector<TGeretteteDatei>* pv_gerettet, std::uint32_t pv_rate,
                     std::vector<TUnlesbarerKopf>* pv_unlesbar) {
    TFundListe alle;
    TBandProtokoll& protokoll = m_suchen.front()->m_protokoll;
    for (const auto& suche : m_suchen) {
        suche->Ende();
        alle.NimmAlle(suche->m_funde);
        if (suche.get() != m_suchen.front().get())
            protokoll.HaengeAn(suche->m_protokoll);
    }
    for (std::size_t i = 0; i < alle.Anzahl(); ++i)
        pv_dateien.push_back(alle.Datei(i));
    std::vector<TUnlesbarerKopf> unlesbare;
    if (m_retter) {
        std::vector<TGeretteteDatei> gerettet = m_retter->Ende();
        FuegeGerettetHinzu(pv_dateien, gerettet);
        if (pv_gerettet)
            *pv_gerettet = std::move(gerettet);
        unlesbare = m_retter->Unlesbare();
        std::erase_if(unlesbare, [&](const TUnlesbarerKopf& u) {
            return std::any_of(pv_dateien.begin(), pv_dateien.end(),
                               [&](const auto& d) { return IstRumpfVon(*d, u.rumpf, u.befund); });
        });
    }
    if (pv_uebersprungen) {
        *pv_uebersprungen = protokoll.Ergebnis(pv_dateien);
        for (const TUnlesbarerKopf& u : unlesbare)
            pv_uebersprungen->push_back({TUebersprungenes::TArt::UnlesbarerKopf,
                                         QString(),
                                         -1,
                                         0,
                                         {},
                                         pv_rate > 0 ? u.beginn / static_cast<double>(pv_rate) : -1.0});
        if (alle.IstVoll())
            pv_uebersprungen->push_back(
                {TUebersprungenes::TArt::ZuVieleDateien, QString(), -1, static_cast<qint64>(alle.Anzahl())});
    }
    if (pv_unlesbar)
        *pv_unlesbar = std::move(unlesbare);
}

TBandFehler DurchsucheAufnahme(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                               const TAufnahmeBeobachter& pv_beobachter,
                               std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                               std::vector<TUebersprungenes>* pv_uebersprungen,
                               std::vector<TGeretteteDatei>* pv_gerettet,
                               std::vector<TUnlesbarerKopf>* pv_unlesbar) {
    TWAVSuche suche(pv_einstellungen);
    if (pv_beobachter.beiStelle)
        suche.SetzeBeiStelle(pv_beobachter.beiStelle);
    suche.SetzeBelegBeobachter(pv_beobachter.belege);
    TMZWAVMehrfachDekoder dekoder;
    if (pv_beobachter.beiFrames)
        dekoder.SetzeBeiFrames(pv_beobachter.beiFrames);
    const auto nachBlock = [&pv_beobachter, &dekoder](const TMZWAVMehrfachDekoder& d) {
        if (pv_beobachter.format)
            *pv_beobachter.format = d.HoleFormat();
        if (pv_beobachter.nachBlock)
            pv_beobachter.nachBlock(d);
        if (pv_beobachter.abbruch && pv_beobachter.abbruch->load())
            dekoder.Abbrechen();
    };
    const TBandFehler fehler = dekoder.Dekodiere(pv_dateiName, suche.Einstellungen(), suche.Durchgaenge(),
                                                 nachBlock, suche.Erweiterung(), suche.Senken());
    if (pv_beobachter.format)
        *pv_beobachter.format = dekoder.HoleFormat();
    if (!fehler.IstOk())
        return fehler;
    suche.Ende(pv_dateien, pv_uebersprungen, pv_gerettet, dekoder.HoleFormat().sampleRate, pv_unlesbar);
    return {};
}
