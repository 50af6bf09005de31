// Creates a file and writes it front to back through a 64 KiB buffer; only full blocks are
// written, except the last one in Schliessen. Every failure is shown through the platform layer
// with the catalogue text, then the operation returns false.
#pragma once

#include <QFile>
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
    bool Schliessen();
    // Closes without writing what is buffered and without any message.
    void Abbrechen();
    bool IstGeoeffnet() const { return m_geoeffnet; }
    QString HoleDateiName() const;
    std::int32_t HoleAnzahlBytes() const;

private:
    bool m_geoeffnet = false;
    QString m_dateiName;
    QFile m_datei;
    std::array<std::uint8_t, PufferGroesse> m_puffer{};
    std::int32_t m_anzahlBytes = 0;
    std::int32_t m_pufferFuellung = 0;
};
