// Where the bytes of a recording come from: a file through the buffered reader, or a piece of
// memory (the fuzz targets and the tests build recordings there). The container walk and the
// decoders read through this and nothing else.
#pragma once

#include "BandFehler.h"
#include "DateiFehler.h"

#include <cstdint>
#include <cstring>

class TByteQuelle {
public:
    virtual ~TByteQuelle() = default;
    // The next `anzahl` bytes into `ziel`, all of them or none: fewer left than asked for is
    // "End of file is reached" before anything is read.
    virtual bool LeseBytes(std::uint8_t* ziel, std::int32_t anzahl) = 0;
    // Passes over bytes forward, never beyond the end.
    virtual bool Ueberspringen(std::int32_t anzahl) = 0;
    // Goes to a byte from the start, which may lie behind.
    virtual bool Springe(std::int32_t position) = 0;
    virtual std::int32_t HolePosition() const = 0;
    virtual std::int32_t HoleGroesse() const = 0;
    // The name that messages give (the file's path, or what the caller chose).
    virtual QString HoleName() const = 0;
    // Why the last operation failed.
    virtual const TBandFehler& HoleFehler() const = 0;
};

// Bytes held in memory, which the caller keeps while the source is read.
class TSpeicherQuelle : public TByteQuelle {
public:
    TSpeicherQuelle(const std::uint8_t* pv_daten, std::int32_t pv_groesse, QString pv_name = {})
        : m_daten(pv_daten), m_groesse(pv_groesse), m_name(std::move(pv_name)) {}

    bool LeseBytes(std::uint8_t* ziel, std::int32_t anzahl) override {
        if (anzahl < 0 || m_groesse - m_position < anzahl)
            return Fehler(DateiFehler::TextDateiEnde);
        if (anzahl > 0)
            std::memcpy(ziel, m_daten + m_position, static_cast<std::size_t>(anzahl));
        m_position += anzahl;
        return true;
    }
    bool Ueberspringen(std::int32_t anzahl) override {
        if (anzahl < 0 || m_groesse - m_position < anzahl)
            return Fehler(DateiFehler::TextHinterDemEnde);
        m_position += anzahl;
        return true;
    }
    bool Springe(std::int32_t position) override {
        if (position < 0 || position > m_groesse)
            return Fehler(DateiFehler::TextHinterDemEnde);
        m_position = position;
        return true;
    }
    std::int32_t HolePosition() const override { return m_position; }
    std::int32_t HoleGroesse() const override { return m_groesse; }
    QString HoleName() const override { return m_name; }
    const TBandFehler& HoleFehler() const override { return m_fehler; }

private:
    bool Fehler(const QString& text) {
        m_fehler = TBandFehler::Lesen(m_name, text);
        return false;
    }

    const std::uint8_t* m_daten;
    std::int32_t m_groesse;
    QString m_name;
    std::int32_t m_position = 0;
    TBandFehler m_fehler;
};
