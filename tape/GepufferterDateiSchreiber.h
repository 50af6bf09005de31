// Creates a file and writes it front to back through a 64 KiB buffer; only full blocks are
// written, except the last one in Schliessen. The file is written safely (TSichereDatei): the
// target changes only when Schliessen completes it; Abbrechen and every failure leave it as it
// was. Every failure is shown through the platform layer with the catalogue text, then the
// operation returns false.
#pragma once

#include "SichereDatei.h"

#include <QString>
#include <array>
#include <cstdint>

class TGepufferterDateiSchreiber {
public:
    static constexpr std::int32_t PufferGroesse = 65536;

    TGepufferterDateiSchreiber() = default;
    bool Oeffnen(const QString& pv_dateiName);
    bool SchreibeByte(std::uint8_t byte);
    // Same as `anzahl` calls of SchreibeByte(wert), but filling the buffer a block at a time.
    bool SchreibeBytes(std::uint8_t wert, std::int32_t anzahl);
    // Writes what is buffered, then replaces the first bytes of the file (a header that is known
    // only at the end); the file stays open.
    bool UeberschreibeAnfang(const std::uint8_t* daten, std::int32_t anzahl);
    bool Schliessen();
    // Gives the file up without writing what is buffered and without any message.
    void Abbrechen();
    bool IstGeoeffnet() const { return m_geoeffnet; }
    QString HoleDateiName() const;
    std::int32_t HoleAnzahlBytes() const;

private:
    bool SchreibePuffer();

    bool m_geoeffnet = false;
    QString m_dateiName;
    TSichereDatei m_datei;
    std::array<std::uint8_t, PufferGroesse> m_puffer{};
    std::int32_t m_anzahlBytes = 0;
    std::int32_t m_pufferFuellung = 0;
};
