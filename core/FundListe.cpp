#include "FundListe.h"

#include "MZFDatei.h"

#include <algorithm>
#include <cstring>

namespace {
// FNV-1a over header and body: files that differ are told apart by comparing them whole, the key
// only sorts them into buckets.
constexpr std::uint64_t FnvAnfang = 14695981039346656037ULL;
constexpr std::uint64_t FnvFaktor = 1099511628211ULL;

std::uint64_t Schluessel(const std::uint8_t* kopf, const std::uint8_t* rumpf, std::size_t groesse) {
    std::uint64_t h = FnvAnfang;
    for (std::size_t i = 0; i < TFundListe::KopfGroesse; ++i)
        h = (h ^ kopf[i]) * FnvFaktor;
    for (std::size_t i = 0; i < groesse; ++i)
        h = (h ^ rumpf[i]) * FnvFaktor;
    return h;
}
} // namespace

bool TFundListe::IstDa(std::uint64_t schluessel, const std::uint8_t* kopf, const std::uint8_t* rumpf,
                       std::size_t groesse) const {
    const auto [von, bis] = m_schluessel.equal_range(schluessel);
    return std::any_of(von, bis, [&](const auto& eintrag) {
        const std::size_t i = eintrag.second;
        return Groesse(i) == groesse && std::memcmp(Kopf(i), kopf, KopfGroesse) == 0 &&
               (groesse == 0 || std::memcmp(Rumpf(i), rumpf, groesse) == 0);
    });
}

bool TFundListe::Nimm(const TKopf& pv_kopf, const std::uint8_t* pv_rumpf, std::size_t pv_groesse) {
    if (m_voll)
        return false;
    const std::uint64_t schluessel = Schluessel(pv_kopf.data(), pv_rumpf, pv_groesse);
    if (IstDa(schluessel, pv_kopf.data(), pv_rumpf, pv_groesse))
        return false;
    if (m_eintraege.size() >= GroessteAnzahl || m_daten.size() + KopfGroesse + pv_groesse > GroessteBytes) {
        m_voll = true;
        return false;
    }
    const std::size_t anfang = m_daten.size();
    m_daten.insert(m_daten.end(), pv_kopf.begin(), pv_kopf.end());
    m_daten.insert(m_daten.end(), pv_rumpf, pv_rumpf + pv_groesse);
    m_eintraege.push_back({anfang, static_cast<std::uint32_t>(pv_groesse)});
    m_schluessel.emplace(schluessel, static_cast<std::uint32_t>(m_eintraege.size() - 1));
    return true;
}

void TFundListe::NimmAlle(const TFundListe& pv_spaeter) {
    for (std::size_t i = 0; i < pv_spaeter.Anzahl(); ++i) {
        TKopf kopf;
        std::copy_n(pv_spaeter.Kopf(i), KopfGroesse, kopf.begin());
        Nimm(kopf, pv_spaeter.Rumpf(i), pv_spaeter.Groesse(i));
    }
    m_voll = m_voll || pv_spaeter.m_voll;
}

std::unique_ptr<TMZFDatei> TFundListe::Datei(std::size_t pv_index) const {
    auto datei = std::make_unique<TMZFDatei>();
    TKopf kopf;
    std::copy_n(Kopf(pv_index), KopfGroesse, kopf.begin());
    datei->Uebernimm(kopf, std::vector<std::uint8_t>(Rumpf(pv_index), Rumpf(pv_index) + Groesse(pv_index)));
    return datei;
}
