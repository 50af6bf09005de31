// The distinct MZ files found in one source, in the order they were found, kept compactly: a
// tape image or a recording may hold thousands of small files, and each costs its header and its
// body and little more. A source gives at most GroessteAnzahl files and GroessteBytes of them;
// what comes after is not taken, and the list says so.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class TMZFDatei;

class TFundListe {
public:
    static constexpr std::size_t GroessteAnzahl = 65536;
    static constexpr std::size_t GroessteBytes = std::size_t{16} << 20;
    static constexpr int KopfGroesse = 128;

    using TKopf = std::array<std::uint8_t, KopfGroesse>;

    // Takes a file unless the same one is there already: true when it is new. A file that would
    // pass the limits is not taken, and the list is full from then on.
    bool Nimm(const TKopf& pv_kopf, const std::uint8_t* pv_rumpf, std::size_t pv_groesse);
    // Takes the files of a later list that this one does not hold yet, in their order.
    void NimmAlle(const TFundListe& pv_spaeter);

    std::size_t Anzahl() const { return m_eintraege.size(); }
    bool IstVoll() const { return m_voll; }
    const std::uint8_t* Kopf(std::size_t pv_index) const {
        return m_daten.data() + m_eintraege[pv_index].anfang;
    }
    const std::uint8_t* Rumpf(std::size_t pv_index) const { return Kopf(pv_index) + KopfGroesse; }
    std::size_t Groesse(std::size_t pv_index) const { return m_eintraege[pv_index].groesse; }
    // The file as a record: loaded, changed, without a path.
    std::unique_ptr<TMZFDatei> Datei(std::size_t pv_index) const;

private:
    struct TEintrag {
        std::size_t anfang;
        std::uint32_t groesse;
    };
    bool IstDa(std::uint64_t schluessel, const std::uint8_t* kopf, const std::uint8_t* rumpf,
               std::size_t groesse) const;

    std::vector<std::uint8_t> m_daten; // header and body of each file, one after the other
    std::vector<TEintrag> m_eintraege;
    std::unordered_multimap<std::uint64_t, std::uint32_t> m_schluessel;
    bool m_voll = false;
};
