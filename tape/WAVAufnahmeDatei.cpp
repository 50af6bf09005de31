#include "WAVAufnahmeDatei.h"

#include "WAVKopf.h"

bool TWAVAufnahmeDatei::Oeffnen(const QString& pv_ziel, std::uint32_t pv_sampleRate, std::uint16_t pv_kanaele,
                                std::uint16_t pv_bitsProSample) {
    m_ziel = pv_ziel;
    m_sampleRate = pv_sampleRate;
    m_kanaele = pv_kanaele;
    m_bits = pv_bitsProSample;
    m_datenBytes = 0;
    m_fehler = false;
    const TWAVKopf leer{};
    if (m_datei.Oeffnen(pv_ziel) && m_datei.Schreibe(leer.data(), static_cast<qint64>(leer.size())))
        return true;
    m_fehler = true;
    return false;
}

bool TWAVAufnahmeDatei::Schreibe(const void* pv_daten, std::int64_t pv_bytes) {
    if (m_fehler || !m_datei.IstOffen())
        return false;
    // A longer recording than the head can count keeps its first part.
    if (m_datenBytes + pv_bytes > GroessteDatenBytes)
        return true;
    if (!m_datei.Schreibe(pv_daten, pv_bytes)) {
        m_fehler = true;
        return false;
    }
    m_datenBytes += pv_bytes;
    return true;
}

bool TWAVAufnahmeDatei::Abschliessen() {
    if (!m_datei.IstOffen())
        return false;
    // Bytes of a write that failed half-way may follow the data; the head counts only what was
    // written whole, and overwriting it takes no new room on a full disk.
    const TWAVKopf kopf =
        KanonischerWAVKopf(static_cast<std::uint32_t>(m_datenBytes), m_sampleRate, m_kanaele, m_bits);
    return m_datei.SchreibeAn(0, kopf.data(), static_cast<qint64>(kopf.size())) && m_datei.Abschliessen();
}

void TWAVAufnahmeDatei::Verwerfen() {
    m_datei.Verwerfen();
}
