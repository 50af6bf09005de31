#include "BandProtokoll.h"

#include <algorithm>

TBandProtokoll::TBandProtokoll(std::function<qint64(std::int64_t marke)> position, bool mitKoepfen)
    : m_position(std::move(position)), m_mitKoepfen(mitKoepfen) {
    m_beobachter.beiLangerMarke = [this](std::int64_t marke) {
        TextZuEnde();
        m_offen = true;
        m_marke = marke;
        m_kopfGut = false;
        m_rumpfGut = false;
    };
    m_beobachter.beiKopf = [this](std::int64_t, int, const std::uint8_t* kopf, bool gut) {
        if (gut) {
            m_kopfGut = true;
            std::copy_n(kopf, TMZFDatei::KopfGroesse, m_kopf.begin());
        }
    };
    m_beobachter.beiRumpf = [this](std::int64_t, int, bool gut) { m_rumpfGut = m_rumpfGut || gut; };
}

void TBandProtokoll::Neu(const TUebersprungenes& was, const TKopf& kopf) {
    // A damaged file met again (in another pass) is told once.
    if (was.art == TUebersprungenes::TArt::BeschaedigterRumpf && !m_beschaedigteRuempfe.insert(kopf).second)
        return;
    if (m_uebersprungen.size() < GroessteAnzahl)
        m_uebersprungen.push_back({was, kopf});
    else
        ++m_weitere;
}

void TBandProtokoll::TextZuEnde() {
    if (!m_offen)
        return;
    m_offen = false;
    const qint64 position = m_position(m_marke);
    if (!m_kopfGut) {
        if (m_mitKoepfen)
            Neu({TUebersprungenes::TArt::BeschaedigterKopf, QString(), position, 0}, {});
        return;
    }
    if (!m_rumpfGut)
        Neu({TUebersprungenes::TArt::BeschaedigterRumpf, TMZFDatei::NameAusKopf(m_kopf.data()), position, 0},
            m_kopf);
}

void TBandProtokoll::HaengeAn(TBandProtokoll& pv_spaeter) {
    pv_spaeter.TextZuEnde();
    TextZuEnde();
    for (const auto& [was, kopf] : pv_spaeter.m_uebersprungen)
        Neu(was, kopf);
    m_weitere += pv_spaeter.m_weitere;
}

std::vector<TUebersprungenes>
TBandProtokoll::Ergebnis(const std::vector<std::unique_ptr<TMZFDatei>>& gefunden) {
    TextZuEnde();
    std::vector<TUebersprungenes> ergebnis;
    for (const auto& [eintrag, kopf] : m_uebersprungen) {
        ergebnis.push_back(eintrag);
        if (eintrag.art == TUebersprungenes::TArt::BeschaedigterRumpf)
            ergebnis.back().kopf =
                QByteArray(reinterpret_cast<const char*>(kopf.data()), TMZFDatei::KopfGroesse);
    }
    ergebnis = OhneGefundene(std::move(ergebnis), gefunden);
    if (m_weitere > 0)
        ergebnis.push_back({TUebersprungenes::TArt::Weitere, QString(), -1, static_cast<qint64>(m_weitere)});
    return ergebnis;
}

std::vector<TUebersprungenes>
TBandProtokoll::OhneGefundene(std::vector<TUebersprungenes> pv_uebersprungen,
                              const std::vector<std::unique_ptr<TMZFDatei>>& gefunden) {
    const auto gefundenWorden = [&](const TUebersprungenes& eintrag) {
        if (eintrag.art != TUebersprungenes::TArt::BeschaedigterRumpf ||
            eintrag.kopf.size() != TMZFDatei::KopfGroesse)
            return false;
        const auto* kopf = reinterpret_cast<const std::uint8_t*>(eintrag.kopf.constData());
        return std::any_of(gefunden.begin(), gefunden.end(), [&](const auto& d) {
            const TDateiBefund& befund = d->HoleBefund();
            // A file the rescue put together, its header uncertain: a header a pass read whole that
            // agrees with it wherever it is sure names that file.
            return std::equal(kopf, kopf + TMZFDatei::KopfGroesse, d->Kopf().begin()) ||
                   (befund.kopfUnsicher &&
                    befund.KopfGleichWoSicher(d->Kopf().data(), kopf, TMZFDatei::OffsetKommentar));
        });
    };
    std::erase_if(pv_uebersprungen, gefundenWorden);
    return pv_uebersprungen;
}
