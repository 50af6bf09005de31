// Reads a file front to back through a 64 KiB buffer and can skip forward. Skips inside the
// buffered block are index arithmetic; leaving the block costs one seek. Every failure is shown
// through the platform layer with the catalogue text, then the operation returns false.
#pragma once

#include <QFile>
#include <QString>
#include <array>
#include <cstdint>

class TGepufferterDateiLeser {
public:
    static constexpr std::int32_t PufferGroesse = 65536;

    TGepufferterDateiLeser() = default;
    bool Oeffnen(const QString& pv_dateiName);
    void Schliessen();
    bool IstGeoeffnet() const { return m_geoeffnet; }
    QString HoleDateiName() const;
    std::int32_t HoleGroesse() const;
    std::int32_t HolePosition() const;
    bool IstDateiEnde() const;
    bool LeseByte(std::uint8_t& byte);
    bool Lese16BitWert(std::int16_t& wert);
    // The next `anzahl` bytes into `ziel`, as many LeseByte calls would hand them out; long runs go
    // from the file straight into `ziel`. Fewer bytes left than asked for is "End of file is
    // reached" before anything is read; a failed read leaves the position where it was.
    bool LeseBytes(std::uint8_t* ziel, std::int32_t anzahl);
    bool Ueberspringen(std::int32_t pv_anzahl);

private:
    bool m_geoeffnet = false;
    QFile m_datei;
    QString m_dateiName;
    std::int32_t m_dateiGroesse = 0;
    std::array<std::uint8_t, PufferGroesse> m_puffer{};
    std::int32_t m_position = 0;
    std::int32_t m_pufferIndex = PufferGroesse;
};
