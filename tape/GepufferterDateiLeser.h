// Reads a file front to back through a 64 KiB buffer and can skip forward. Skips inside the
// buffered block are index arithmetic; leaving the block costs one seek. A failed operation
// returns false and leaves its reason in HoleFehler.
#pragma once

#include "ByteQuelle.h"

#include <QFile>
#include <QString>
#include <array>
#include <cstdint>

class TGepufferterDateiLeser : public TByteQuelle {
public:
    static constexpr std::int32_t PufferGroesse = 65536;

    TGepufferterDateiLeser() = default;
    bool Oeffnen(const QString& pv_dateiName);
    void Schliessen();
    bool IstGeoeffnet() const { return m_geoeffnet; }
    QString HoleDateiName() const;
    std::int32_t HoleGroesse() const override;
    std::int32_t HolePosition() const override;
    bool IstDateiEnde() const;
    bool LeseByte(std::uint8_t& pv_byte);
    bool Lese16BitWert(std::int16_t& pv_wert);
    // The next `pv_anzahl` bytes into `pv_ziel`, as many LeseByte calls would hand them out; long
    // runs go from the file straight into `pv_ziel`. Fewer bytes left than asked for is "End of file is
    // reached" before anything is read; a failed read leaves the position where it was.
    bool LeseBytes(std::uint8_t* pv_ziel, std::int32_t pv_anzahl) override;
    bool Ueberspringen(std::int32_t pv_anzahl) override;
    bool Springe(std::int32_t pv_position) override;
    QString HoleName() const override { return m_dateiName; }
    const TBandFehler& HoleFehler() const override { return m_fehler; }

private:
    bool Fehler(const QString& dateiName, const QString& text) {
        m_fehler = TBandFehler::Lesen(dateiName, text);
        return false;
    }

    TBandFehler m_fehler;
    bool m_geoeffnet = false;
    QFile m_datei;
    QString m_dateiName;
    std::int32_t m_dateiGroesse = 0;
    std::array<std::uint8_t, PufferGroesse> m_puffer{};
    std::int32_t m_position = 0;
    std::int32_t m_pufferIndex = PufferGroesse;
};
