#include "GepufferterDateiSchreiber.h"

#include "DateiFehler.h"
#include "Plattform.h"
#include "SprachenTexte.h"

#include <limits>

using namespace DateiFehler;

bool TGepufferterDateiSchreiber::Oeffnen(const QString& pv_dateiName) {
    // Unbuffered: this class is the buffer, so what lies on disk is exactly the blocks written.
    if (!OeffneDatei(m_datei, pv_dateiName, m_geoeffnet,
                     QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered, MeldeSchreibfehler))
        return false;
    m_dateiName = pv_dateiName;
    m_anzahlBytes = 0;
    m_pufferFuellung = 0;
    m_geoeffnet = true;
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
    if (m_pufferFuellung >= PufferGroesse) {
        const qint64 geschrieben =
            m_datei.write(reinterpret_cast<const char*>(m_puffer.data()), PufferGroesse);
        if (geschrieben != PufferGroesse) {
            MeldeSchreibfehler(m_dateiName, m_datei.errorString());
            return false;
        }
        m_pufferFuellung = 0;
    }
    m_puffer[static_cast<std::size_t>(m_pufferFuellung)] = byte;
    ++m_pufferFuellung;
    ++m_anzahlBytes;
    return true;
}

bool TGepufferterDateiSchreiber::Schliessen() {
    if (!m_geoeffnet)
        return true;
    if (m_pufferFuellung > 0) {
        const qint64 geschrieben =
            m_datei.write(reinterpret_cast<const char*>(m_puffer.data()), m_pufferFuellung);
        if (geschrieben != m_pufferFuellung) {
            MeldeSchreibfehler(m_dateiName, m_datei.errorString());
            return false;
        }
        m_pufferFuellung = 0;
    }
    // QFile closes the handle even when closing fails, so the writer counts as closed either way.
    m_datei.unsetError();
    m_datei.close();
    m_geoeffnet = false;
    if (m_datei.error() != QFileDevice::NoError) {
        MeldeSchreibfehler(m_dateiName, m_datei.errorString());
        return false;
    }
    return true;
}

void TGepufferterDateiSchreiber::Abbrechen() {
    if (m_geoeffnet)
        m_datei.close();
    m_pufferFuellung = 0;
    m_geoeffnet = false;
}

QString TGepufferterDateiSchreiber::HoleDateiName() const {
    return m_geoeffnet ? m_dateiName : QString();
}

std::int32_t TGepufferterDateiSchreiber::HoleAnzahlBytes() const {
    return m_geoeffnet ? m_anzahlBytes : -1;
}
