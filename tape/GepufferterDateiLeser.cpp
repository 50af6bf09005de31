#include "GepufferterDateiLeser.h"

#include "DateiFehler.h"
#include "LittleEndian.h"

#include <algorithm>
#include <cstring>
#include <limits>

using namespace DateiFehler;

namespace {
constexpr int WortWertebereich = 65536;
constexpr int GroessterPositiverWortWert = 32767;
} // namespace

bool TGepufferterDateiLeser::Oeffnen(const QString& pv_dateiName) {
    // Unbuffered: this class reads whole blocks itself.
    m_fehler = OeffneZumLesenPruefend(m_datei, pv_dateiName, m_geoeffnet, QIODevice::Unbuffered);
    if (!m_fehler.IstOk())
        return false;
    // Size and position are 32-bit counters; a file they cannot count is refused.
    const qint64 groesse = m_datei.size();
    if (groesse > std::numeric_limits<std::int32_t>::max()) {
        m_datei.close();
        m_fehler = TBandFehler::Von(TBandFehler::TArt::ZuGross, pv_dateiName);
        return false;
    }
    m_dateiName = pv_dateiName;
    m_dateiGroesse = static_cast<std::int32_t>(groesse);
    m_position = 0;
    m_pufferIndex = PufferGroesse;
    m_geoeffnet = true;
    return true;
}

void TGepufferterDateiLeser::Schliessen() {
    if (!m_geoeffnet)
        return;
    m_datei.close();
    m_geoeffnet = false;
}

QString TGepufferterDateiLeser::HoleDateiName() const {
    return m_geoeffnet ? m_dateiName : QString();
}

std::int32_t TGepufferterDateiLeser::HoleGroesse() const {
    return m_geoeffnet ? m_dateiGroesse : -1;
}

std::int32_t TGepufferterDateiLeser::HolePosition() const {
    return m_geoeffnet ? m_position : -1;
}

bool TGepufferterDateiLeser::IstDateiEnde() const {
    return !m_geoeffnet || HolePosition() >= HoleGroesse();
}

bool TGepufferterDateiLeser::LeseByte(std::uint8_t& pv_byte) {
    if (!m_geoeffnet)
        return Fehler(TextUnbekannt, TextNichtGeoeffnet);
    if (IstDateiEnde())
        return Fehler(m_dateiName, TextDateiEnde);
    if (m_pufferIndex >= PufferGroesse) {
        const std::int32_t rest = m_dateiGroesse - m_position;
        const std::int32_t anzahl = rest >= PufferGroesse ? PufferGroesse : rest;
        const qint64 gelesen = m_datei.read(reinterpret_cast<char*>(m_puffer.data()), anzahl);
        if (gelesen != anzahl) {
            const QString fehler = m_datei.errorString();
            // Back to where the buffer would have started, so that the fields still describe the file.
            m_datei.seek(m_position);
            return Fehler(m_dateiName, fehler);
        }
        m_pufferIndex = 0;
    }
    pv_byte = m_puffer[static_cast<std::size_t>(m_pufferIndex)];
    ++m_pufferIndex;
    ++m_position;
    return true;
}

bool TGepufferterDateiLeser::Lese16BitWert(std::int16_t& pv_wert) {
    if (!m_geoeffnet)
        return Fehler(TextUnbekannt, TextNichtGeoeffnet);
    if (m_dateiGroesse - m_position <= 1)
        return Fehler(m_dateiName, TextDateiEnde);
    std::uint8_t bytes[2] = {};
    if (!LeseByte(bytes[0]) || !LeseByte(bytes[1]))
        return false;
    int ergebnis = LittleEndian::Lies16(bytes);
    if (ergebnis > GroessterPositiverWortWert)
        ergebnis -= WortWertebereich;
    pv_wert = static_cast<std::int16_t>(ergebnis);
    return true;
}

bool TGepufferterDateiLeser::LeseBytes(std::uint8_t* pv_ziel, std::int32_t pv_anzahl) {
    if (!m_geoeffnet)
        return Fehler(TextUnbekannt, TextNichtGeoeffnet);
    if (pv_anzahl < 0 || m_dateiGroesse - m_position < pv_anzahl)
        return Fehler(m_dateiName, TextDateiEnde);
    // First what the buffer still holds. A block that ends before the buffer does ends at the end
    // of the file, so at most `pv_anzahl` of it is taken here and the rest comes from full blocks.
    const std::int32_t imPuffer = std::min(PufferGroesse - m_pufferIndex, pv_anzahl);
    const std::int32_t rest = pv_anzahl - imPuffer;
    if (rest == 0) {
        std::memcpy(pv_ziel, m_puffer.data() + m_pufferIndex, static_cast<std::size_t>(imPuffer));
        m_pufferIndex += imPuffer;
        m_position += imPuffer;
        return true;
    }
    // The buffer is used up; the file stands at the first byte after it.
    const std::int32_t weiter = m_position + imPuffer;
    if (rest >= PufferGroesse) {
        const qint64 gelesen = m_datei.read(reinterpret_cast<char*>(pv_ziel) + imPuffer, rest);
        if (gelesen != rest) {
            const QString fehler = m_datei.errorString();
            m_datei.seek(m_position);
            m_pufferIndex = PufferGroesse;
            return Fehler(m_dateiName, fehler);
        }
        std::memcpy(pv_ziel, m_puffer.data() + m_pufferIndex, static_cast<std::size_t>(imPuffer));
        m_pufferIndex = PufferGroesse;
    } else {
        const std::int32_t block = std::min(PufferGroesse, m_dateiGroesse - weiter);
        std::memcpy(pv_ziel, m_puffer.data() + m_pufferIndex, static_cast<std::size_t>(imPuffer));
        const qint64 gelesen = m_datei.read(reinterpret_cast<char*>(m_puffer.data()), block);
        if (gelesen != block) {
            const QString fehler = m_datei.errorString();
            m_datei.seek(m_position);
            m_pufferIndex = PufferGroesse;
            return Fehler(m_dateiName, fehler);
        }
        std::memcpy(pv_ziel + imPuffer, m_puffer.data(), static_cast<std::size_t>(rest));
        m_pufferIndex = rest;
    }
    m_position += pv_anzahl;
    return true;
}

bool TGepufferterDateiLeser::Ueberspringen(std::int32_t pv_anzahl) {
    if (!m_geoeffnet)
        return Fehler(TextUnbekannt, TextNichtGeoeffnet);
    if (pv_anzahl < 0)
        return Fehler(TextUnbekannt, TextRueckwaerts);
    // In 64 bits: position and count may each come close to the 32-bit limit.
    if (static_cast<qint64>(m_position) + pv_anzahl > m_dateiGroesse)
        return Fehler(TextUnbekannt, TextHinterDemEnde);
    if (static_cast<qint64>(m_pufferIndex) + pv_anzahl > PufferGroesse) {
        if (!m_datei.seek(static_cast<qint64>(m_position) + pv_anzahl))
            return Fehler(m_dateiName, m_datei.errorString());
        m_pufferIndex = PufferGroesse;
    } else {
        m_pufferIndex += pv_anzahl;
    }
    m_position += pv_anzahl;
    return true;
}

bool TGepufferterDateiLeser::Springe(std::int32_t pv_position) {
    if (!m_geoeffnet)
        return Fehler(TextUnbekannt, TextNichtGeoeffnet);
    if (pv_position < 0 || pv_position > m_dateiGroesse)
        return Fehler(m_dateiName, TextHinterDemEnde);
    if (!m_datei.seek(pv_position))
        return Fehler(m_dateiName, m_datei.errorString());
    m_position = pv_position;
    m_pufferIndex = PufferGroesse;
    return true;
}
