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

void TBandProtokoll::TextZuEnde() {
    if (!m_offen)
        return;
    m_offen = false;
    const qint64 position = m_position(m_marke);
    if (!m_kopfGut) {
        if (m_mitKoepfen)
            m_uebersprungen.push_back(
                {{TUebersprungenes::TArt::BeschaedigterKopf, QString(), position, 0}, {}});
        return;
    }
    if (m_rumpfGut)
        return;
    // A damaged file met again (in another pass) is told once.
    const bool schonDa = std::any_of(m_uebersprungen.begin(), m_uebersprungen.end(),
                                     [&](const auto& eintrag) { return eintrag.second == m_kopf; });
    if (!schonDa)
        m_uebersprungen.push_back(
            {{TUebersprungenes::TArt::BeschaedigterRumpf, TMZFDatei::NameAusKopf(m_kopf.data()), position, 0},
             m_kopf});
}

std::vector<TUebersprungenes>
TBandProtokoll::Ergebnis(const std::vector<std::unique_ptr<TMZFDatei>>& gefunden) {
    TextZuEnde();
    std::vector<TUebersprungenes> ergebnis;
    for (const auto& [eintrag, kopf] : m_uebersprungen) {
        const TKopf& k = kopf; // named, so that the lambda may take it
        const bool gefundenWorden =
            eintrag.art == TUebersprungenes::TArt::BeschaedigterRumpf &&
            std::any_of(gefunden.begin(), gefunden.end(), [&](const auto& d) { return d->Kopf() == k; });
        if (!gefundenWorden)
            ergebnis.push_back(eintrag);
    }
    return ergebnis;
}
