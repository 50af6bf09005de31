#include "GepufferterDateiSchreiber.h"

#include "DateiFehler.h"

#include <limits>

using namespace DateiFehler;

bool TGepufferterDateiSchreiber::Oeffnen(const QString& pv_dateiName) {
    if (m_geoeffnet) {
        return Fehler(TBandFehler::Schreiben(pv_dateiName, TextBereitsGeoeffnet));
    }
    if (pv_dateiName.isEmpty()) {
        return Fehler(TBandFehler::Von(TBandFehler::TArt::UngueltigerName, pv_dateiName));
    }
    if (!m_datei.Oeffnen(pv_dateiName)) {
        return Fehler(TBandFehler::Schreiben(pv_dateiName, m_datei.Fehlertext()));
    }
    m_dateiName = pv_dateiName;
    m_anzahlBytes = 0;
    m_pufferFuellung = 0;
    m_geoeffnet = true;
    return true;
}

bool TGepufferterDateiSchreiber::SchreibePuffer() {
    if (!m_datei.Schreibe(m_puffer.data(), m_pufferFuellung)) {
        return Fehler(TBandFehler::Schreiben(m_dateiName, m_datei.Fehlertext()));
    }
    m_pufferFuellung = 0;
    return true;
}

bool TGepufferterDateiSchreiber::SchreibeByte(std::uint8_t pv_byte) {
    if (!m_geoeffnet) {
        return Fehler(TBandFehler::Schreiben(TextUnbekannt, TextNichtGeoeffnet));
    }
    // The pv_byte counter is 32 bits wide: a file that would pass it is refused, not overflowed.
    if (m_anzahlBytes == std::numeric_limits<std::int32_t>::max()) {
        return Fehler(TBandFehler::Von(TBandFehler::TArt::ZuGross, m_dateiName));
    }
    // A full buffer goes out only when the next pv_byte arrives; if that fails it stays full.
    if (m_pufferFuellung >= PufferGroesse && !SchreibePuffer())
        return false;
    m_puffer[static_cast<std::size_t>(m_pufferFuellung)] = pv_byte;
    ++m_pufferFuellung;
    ++m_anzahlBytes;
    return true;
}

bool TGepufferterDateiSchreiber::UeberschreibeAnfang(const std::uint8_t* pv_daten, std::int32_t pv_anzahl) {
    if (!m_geoeffnet) {
        return Fehler(TBandFehler::Schreiben(TextUnbekannt, TextNichtGeoeffnet));
    }
    if (m_pufferFuellung > 0 && !SchreibePuffer())
        return false;
    if (!m_datei.SchreibeAn(0, pv_daten, pv_anzahl)) {
        return Fehler(TBandFehler::Schreiben(m_dateiName, m_datei.Fehlertext()));
    }
    return true;
}

bool TGepufferterDateiSchreiber::Schliessen() {
    if (!m_geoeffnet)
        return true;
    if (m_pufferFuellung > 0 && !SchreibePuffer())
        return false;
    // Completing the file may still fail (the disk, the rename); then it is gone and the target
    // unchanged, so the writer counts as closed either way.
    m_geoeffnet = false;
    if (!m_datei.Abschliessen()) {
        return Fehler(TBandFehler::Schreiben(m_dateiName, m_datei.Fehlertext()));
    }
    return true;
}

void TGepufferterDateiSchreiber::Abbrechen() {
    m_datei.Verwerfen();
    m_pufferFuellung = 0;
    m_geoeffnet = false;
}

QString TGepufferterDateiSchreiber::HoleDateiName() const {
    return m_geoeffnet ? m_dateiName : QString();
}

std::int32_t TGepufferterDateiSchreiber::HoleAnzahlBytes() const {
    return m_geoeffnet ? m_anzahlBytes : -1;
}
