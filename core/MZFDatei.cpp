#include "MZFDatei.h"

#include "Ganzzahl.h"
#include "LittleEndian.h"
#include "SprachenTexte.h"

#include <algorithm>

namespace {
std::uint16_t LiesWort(const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& kopf, int offset) {
    return LittleEndian::Lies16(kopf.data() + offset);
}

void SchreibeWort(std::array<std::uint8_t, TMZFDatei::KopfGroesse>& kopf, int offset, std::uint16_t wert) {
    LittleEndian::Schreibe16(kopf.data() + offset, wert);
}

// MZ text field (name or comment) as shown: stops before the terminator or after maxZeichen.
QString TextAusFeld(const std::uint8_t* feld, int maxZeichen) {
    QString text;
    text.reserve(maxZeichen);
    for (int i = 0; i < maxZeichen && feld[i] != TMZFDatei::Ende; ++i)
        text += TMZFDatei::MZZeichenNachAnsi(feld[i]);
    return text;
}

// Text into an MZ field of `laenge` bytes; the rest, and always the last byte, is the terminator.
void TextInFeld(const QString& text, std::uint8_t* feld, int laenge) {
    const int zeichen = std::min<int>(static_cast<int>(text.size()), laenge - 1);
    for (int i = 0; i < laenge; ++i)
        feld[i] = i < zeichen ? TMZFDatei::AnsiNachMZZeichen(text[i]) : TMZFDatei::Ende;
}
} // namespace

TMZFDatei::TMZFDatei() = default;

std::unique_ptr<TMZFDatei> TMZFDatei::CreateKopie(const TMZFDatei& pv_mzfDatei) {
    auto kopie = std::make_unique<TMZFDatei>();
    kopie->KopiereVon(pv_mzfDatei);
    return kopie;
}

QString TMZFDatei::HoleDateiPfad() const {
    return m_geladen ? m_dateiPfad : QString();
}

std::uint8_t TMZFDatei::HoleMZDateiAttribut() const {
    return m_geladen ? m_kopf[OffsetAttribut] : 1;
}

void TMZFDatei::SetzeMZDateiAttribut(std::uint8_t attribut) {
    if (!m_geladen)
        return;
    m_kopf[OffsetAttribut] = attribut;
    m_geaendert = true;
}

QString TMZFDatei::HoleMZDateiName() const {
    return m_geladen ? NameAusKopf(m_kopf.data()) : QString();
}

QString TMZFDatei::NameAusKopf(const std::uint8_t* kopf) {
    return TextAusFeld(kopf + OffsetName, NameMaxZeichen);
}

void TMZFDatei::SetzeMZDateiName(const QString& name) {
    if (!m_geladen)
        return;
    TextInFeld(name, m_kopf.data() + OffsetName, NameLaenge);
    m_geaendert = true;
}

std::uint16_t TMZFDatei::HoleMZDateiGroesse() const {
    return m_geladen ? LiesWort(m_kopf, OffsetGroesse) : 0;
}

std::uint16_t TMZFDatei::HoleMZLadeAdresse() const {
    return m_geladen ? LiesWort(m_kopf, OffsetLadeAdresse) : 0;
}

void TMZFDatei::SetzeMZLadeAdresse(std::uint16_t adresse) {
    if (!m_geladen)
        return;
    SchreibeWort(m_kopf, OffsetLadeAdresse, adresse);
    m_geaendert = true;
}

std::uint16_t TMZFDatei::HoleMZStartAdresse() const {
    return m_geladen ? LiesWort(m_kopf, OffsetStartAdresse) : 0;
}

void TMZFDatei::SetzeMZStartAdresse(std::uint16_t adresse) {
    if (!m_geladen)
        return;
    SchreibeWort(m_kopf, OffsetStartAdresse, adresse);
    m_geaendert = true;
}

QString TMZFDatei::HoleMZKommentar() const {
    return m_geladen ? TextAusFeld(m_kopf.data() + OffsetKommentar, KommentarMaxZeichen) : QString();
}

void TMZFDatei::SetzeMZKommentar(const QString& kommentar) {
    if (!m_geladen)
        return;
    TextInFeld(kommentar, m_kopf.data() + OffsetKommentar, KommentarLaenge);
    m_geaendert = true;
}

void TMZFDatei::KopiereVon(const TMZFDatei& pv_mzfDatei) {
    // Copying a record onto itself would otherwise close it and copy the closed state back.
    if (&pv_mzfDatei == this)
        return;
    if (m_geladen)
        Schliessen();
    m_geaendert = pv_mzfDatei.m_geaendert;
    m_dateiPfad = pv_mzfDatei.m_dateiPfad;
    m_kopf = pv_mzfDatei.m_kopf;
    m_rumpf = pv_mzfDatei.m_rumpf;
    BeiBeginn = pv_mzfDatei.BeiBeginn;
    BeiFortschritt = pv_mzfDatei.BeiFortschritt;
    BeiEnde = pv_mzfDatei.BeiEnde;
    m_geladen = pv_mzfDatei.m_geladen;
}

bool TMZFDatei::IstGleich(const TMZFDatei& pv_mzfDatei) const {
    if (&pv_mzfDatei == this)
        return true;
    return m_kopf == pv_mzfDatei.m_kopf && m_rumpf == pv_mzfDatei.m_rumpf;
}

QString TMZFDatei::HoleMZDateiAttributText(std::uint8_t attribut) {
    const QString key = QStringLiteral("MZDateiAttribut") + HexMitDollar(attribut, 2);
    const QString text = HoleText(key);
    return text == key ? HoleText(QStringLiteral("MZDateiAttributUnbekannt")) : text;
}
