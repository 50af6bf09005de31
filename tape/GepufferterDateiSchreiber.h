// Creates a file and writes it front to back through a 64 KiB buffer; only full blocks are
// written, except the last one in Schliessen. The file is written safely (TSichereDatei): the
// target changes only when Schliessen completes it; Abbrechen and every failure leave it as it
// was. A failed operation returns false and leaves its reason in HoleFehler; the layers above
// turn it into the message.
#pragma once

#include "BandFehler.h"
#include "SichereDatei.h"

#include <QString>
#include <array>
#include <cstdint>

class TGepufferterDateiSchreiber {
public:
    static constexpr std::int32_t PufferGroesse = 65536;

    TGepufferterDateiSchreiber() = default;
    bool Oeffnen(const QString& pv_dateiName);
    bool SchreibeByte(std::uint8_t pv_byte);
    // Same as `pv_anzahl` calls of SchreibeByte(pv_wert), but filling the buffer a block at a time.
    bool SchreibeBytes(std::uint8_t pv_wert, std::int32_t pv_anzahl);
    // Writes what is buffered, then replaces the first bytes of the file (a header that is known
    // only at the end); the file stays open.
    bool UeberschreibeAnfang(const std::uint8_t* pv_daten, std::int32_t pv_anzahl);
    bool Schliessen();
    // Gives the file up without writing what is buffered; never fails.
    void Abbrechen();
    bool IstGeoeffnet() const { return m_geoeffnet; }
    QString HoleDateiName() const;
    std::int32_t HoleAnzahlBytes() const;
    const TBandFehler& HoleFehler() const { return m_fehler; }

private:
    bool SchreibePuffer();
    bool Fehler(const TBandFehler& fehler) {
        m_fehler = fehler;
        return false;
    }

    TBandFehler m_fehler;

    bool m_geoeffnet = false;
    QString m_dateiName;
    TSichereDatei m_datei;
    std::array<std::uint8_t, PufferGroesse> m_puffer{};
    std::int32_t m_anzahlBytes = 0;
    std::int32_t m_pufferFuellung = 0;
};
