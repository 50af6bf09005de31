// A recording kept as a WAV file while it is made: integer PCM frames appended as they come, the
// head written last. The file goes through the safe writer, so the target only appears complete.
// When a write fails (a full disk), the frames written before it stay: Abschliessen still makes a
// valid file of them.
#pragma once

#include "SichereDatei.h"

#include <QString>
#include <cstdint>

class TWAVAufnahmeDatei {
public:
    // Largest data chunk: the 32-bit size fields, less the head, rounded down to whole frames.
    static constexpr std::int64_t GroessteDatenBytes = 0xFFFFFFFFLL - 64;

    // Each answers false on failure; Fehlertext() then holds the system's reason.
    bool Oeffnen(const QString& pv_ziel, std::uint32_t pv_sampleRate, std::uint16_t pv_kanaele,
                 std::uint16_t pv_bitsProSample);
    // Appends whole frames. After a failure nothing more is written, and the file keeps what
    // went before (Abschliessen makes it a file all the same).
    bool Schreibe(const void* pv_daten, std::int64_t pv_bytes);
    // Writes the head for the frames kept and puts the file in place of the target.
    bool Abschliessen();
    void Verwerfen();

    bool IstOffen() const { return m_datei.IstOffen(); }
    bool HatFehler() const { return m_fehler; }
    QString Ziel() const { return m_ziel; }
    QString Fehlertext() const { return m_datei.Fehlertext(); }
    std::int64_t DatenBytes() const { return m_datenBytes; }

private:
    TSichereDatei m_datei;
    QString m_ziel;
    std::uint32_t m_sampleRate = 0;
    std::uint16_t m_kanaele = 1;
    std::uint16_t m_bits = 0;
    std::int64_t m_datenBytes = 0;
    bool m_fehler = false;
};
