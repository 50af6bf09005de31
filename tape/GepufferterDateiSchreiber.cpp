#include "GepufferterDateiSchreiber.h"

#include "Plattform.h"
#include "SchreibMeldung.h"
#include "SprachenTexte.h"

#include <limits>

using namespace DateiFehler;

bool TGepufferterDateiSchreiber::Oeffnen(const QString& pv_dateiName) {
    if (m_geoeffnet) {
        MeldeSchreibfehler(pv_dateiName, TextBereitsGeoeffnet);
        return false;
    }
    if (pv_dateiName.isEmpty()) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_UngueltigerDateiname"), pv_dateiName));
        return false;
    }
    if (!m_datei.Oeffnen(pv_dateiName)) {
        MeldeSchreibfehler(pv_dateiName, m_datei.Fehlertext());
        return false;
    }
    m_dateiName = pv_dateiName;
    m_anzahlBytes = 0;
    m_pufferFuellung = 0;
    m_geoeffnet = true;
    return true;
}

bool TGepufferterDateiSchreiber::SchreibePuffer() {
    if (!m_datei.Schreibe(m_puffer.data(), m_pufferFuellung)) {
        MeldeSchreibfehler(m_dateiName, m_datei.Fehlertext());
        return false;
    }
    m_pufferFuellung = 0;
    return true;
}

bool TGepufferterDateiSchreiber::SchreibeByte(std::uint8_t byte) {
    if (!m_geoeffnet) {
        MeldeSchreibfehler(TextUnbekannt, TextNichtGeoeffnet);
        return false;
    }
    // The byte counter is 32 bits wide: a file that would pass it is refused, not overflowed.
    if (m_anzahlBytes == std::numeric_limits<std::int32_t>::max()) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_DateiZuGross"), m_dateiName));
        return false;
    }
    // A full buffer goes out only when the next byte arrives; if that fails it stays full.
    if (m_pufferFuellung >= PufferGroesse && !SchreibePuffer())
        return false;
    m_puffer[static_cast<std::size_t>(m_pufferFuellung)] = byte;
    ++m_pufferFuellung;
    ++m_anzahlBytes;
    return true;
}

bool TGepufferterDateiSchreiber::UeberschreibeAnfang(const std::uint8_t* daten, std::int32_t anzahl) {
    if (!m_geoeffnet) {
        MeldeSchreibfehler(TextUnbekannt, TextNichtGeoeffnet);
        return false;
    }
    if (m_pufferFuellung > 0 && !SchreibePuffer())
        return false;
    if (!m_datei.SchreibeAn(0, daten, anzahl)) {
        MeldeSchreibfehler(m_dateiName, m_datei.Fehlertext());
        return false;
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
        MeldeSchreibfehler(m_dateiName, m_datei.Fehlertext());
        return false;
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
