#include "WAVSuche.h"

#include "BandProtokoll.h"
#include "BandRetter.h"
#include "FundListe.h"
#include "ProgrammEinstellungen.h"
#include "TonbandSuche.h"

#include <algorithm>

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
    explicit TDurchgang(TWAVSuche& suche)
        : m_protokoll([](std::int64_t) { return qint64{-1}; }, false),
          m_strom(
              [this, &suche](const TTonbandSuche& s, std::int64_t) {
                  if (!m_funde.Nimm(s.HoleKopf(), s.HoleRumpf().data(), s.HoleRumpf().size()) ||
                      !suche.beiNeuerDatei)
                      return;
                  const auto datei = m_funde.Datei(m_funde.Anzahl() - 1);
                  suche.Gefunden(*datei);
              },
              m_protokoll.Beobachter()) {}
    TDurchgang(const TDurchgang&) = delete;
    TDurchgang& operator=(const TDurchgang&) = delete;

    void Impulse(std::string_view pv_bits, const std::int32_t*) override {
        // A pass that holds all it may hold reads no further.
        if (!m_funde.IstVoll())
            m_strom.Haenge(pv_bits);
    }
    void Ende() {
        m_strom.Abschliessen();
        m_protokoll.TextZuEnde();
    }

    TFundListe m_funde;
    TBandProtokoll m_protokoll;

private:
    TTonbandStrom m_strom;
};

TWAVSuche::TWAVSuche(int pv_modell, bool pv_erweitert)
    : m_durchgaenge(DurchgaengeFuer(pv_modell)), m_gemeldet(std::make_unique<TFundListe>()) {
    for (std::size_t i = 0; i < m_durchgaenge.size(); ++i) {
        m_suchen.push_back(std::make_unique<TDurchgang>(*this));
        m_senken.push_back(m_suchen.back().get());
    }
    m_erweiterung.an = pv_erweitert;
    if (pv_erweitert) {
        for (int polaritaet = 0; polaritaet < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++polaritaet) {
            m_suchen.push_back(std::make_unique<TDurchgang>(*this));
            m_erweiterung.senken[polaritaet] = m_suchen.back().get();
        }
        m_retter = std::make_unique<TBandRetter>(m_durchgaenge);
        m_erweiterung.belege = m_retter.get();
        m_erweiterung.belegDurchgaenge = m_durchgaenge;
    }
}

TWAVSuche::~TWAVSuche() = default;

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

// What the rescue found besides the passes' files: a file read wrong by a pass (two errors the
// checksum could not see) is set right where it stands; a file the passes did not find comes
// after theirs, a damaged one only when no pass found a file of its header.
void FuegeGerettetHinzu(std::vector<std::unique_ptr<TMZFDatei>>& dateien,
                        const std::vector<TGeretteteDatei>& gerettet) {
    const std::size_t vonDenDurchgaengen = dateien.size();
    for (const TGeretteteDatei& g : gerettet) {
        bool da = false;
        for (std::size_t i = 0; i < vonDenDurchgaengen; ++i) {
            TMZFDatei& d = *dateien[i];
            if (GleicherInhalt(d, g, g.rumpf)) {
                da = true;
            } else if (std::any_of(g.ueberstimmt.begin(), g.ueberstimmt.end(),
                                   [&](const auto& falsch) { return GleicherInhalt(d, g, falsch); })) {
                d.Uebernimm(g.kopf, g.rumpf);
                d.SetzeBefund(g.befund);
                da = true;
            } else if (g.befund.zustand == TDateiBefund::TZustand::Beschaedigt && d.Kopf() == g.kopf) {
                da = true;
            }
        }
        for (std::size_t i = vonDenDurchgaengen; i < dateien.size() && !da; ++i)
            da = GleicherInhalt(*dateien[i], g, g.rumpf);
        if (da)
            continue;
        auto datei = std::make_unique<TMZFDatei>();
        datei->Uebernimm(g.kopf, g.rumpf);
        datei->SetzeBefund(g.befund);
        dateien.push_back(std::move(datei));
    }
}

} // namespace

void TWAVSuche::Ende(std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                     std::vector<TUebersprungenes>* pv_uebersprungen,
                     std::vector<TGeretteteDatei>* pv_gerettet) {
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
    if (m_retter) {
        std::vector<TGeretteteDatei> gerettet = m_retter->Ende();
        FuegeGerettetHinzu(pv_dateien, gerettet);
        if (pv_gerettet)
            *pv_gerettet = std::move(gerettet);
    }
    if (pv_uebersprungen) {
        *pv_uebersprungen = protokoll.Ergebnis(pv_dateien);
        if (alle.IstVoll())
            pv_uebersprungen->push_back(
                {TUebersprungenes::TArt::ZuVieleDateien, QString(), -1, static_cast<qint64>(alle.Anzahl())});
    }
}
