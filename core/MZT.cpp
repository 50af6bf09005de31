// MZT files come in two kinds. The tape image packs the tape bit text into bytes, eight pulses a
// byte, the first pulse in the most significant bit; it has no header of its own. Many ".mzt"
// files in circulation are instead MZF records back to back. Export writes the tape image; import
// reads a tape image and, when that holds no MZ file, MZF records.
#include "MZFDatei.h"

#include "AnsiStringErzeuger.h"
#include "GepufferterDateiLeser.h"
#include "GepufferterDateiSchreiber.h"
#include "LittleEndian.h"
#include "Plattform.h"
#include "SprachenTexte.h"

#include <algorithm>
#include <array>

namespace {
constexpr int BitsProMZTByte = 8;
constexpr int HoechstesBit = BitsProMZTByte - 1;
// A tape image is read only as far as this many pulses; longer files are not searched further.
constexpr std::size_t MaxBitZeichen = 2000000;
// MZF records are read from at most this many bytes: 64 records of the largest size.
constexpr qsizetype MaxDatensatzBytes = 64 * (TMZFDatei::KopfGroesse + TMZFDatei::MaxRumpfGroesse);

using TMZTBits = std::array<char, BitsProMZTByte>;
const std::array<TMZTBits, 256>& MZTBitsTabelle() {
    static const std::array<TMZTBits, 256> tabelle = [] {
        std::array<TMZTBits, 256> t{};
        for (int wert = 0; wert < 256; ++wert)
            for (int bit = 0; bit < BitsProMZTByte; ++bit)
                t[wert][bit] = (wert >> (HoechstesBit - bit)) & 1 ? '1' : '0';
        return t;
    }();
    return tabelle;
}

QString NichtsGefunden(const QString& pfad) {
    return HoleTextMitParametern(QStringLiteral("Fehler_ImportVonMZT_KeineGueltigeMZDateiGefunden"), pfad);
}
} // namespace

bool TMZFDatei::ExportMZT(const QString& pv_dateiName) {
    if (!m_geladen) {
        ZeigeFehler(HoleText(QStringLiteral("Fehler_KeineMZFDateiGeladen")));
        return false;
    }
    TSanduhr sanduhr;
    const std::string text = ErzeugeTonbandBits(false);
    auto schreiber = std::make_unique<TGepufferterDateiSchreiber>();
    if (!schreiber->Oeffnen(pv_dateiName))
        return false;
    unsigned akku = 0;
    int bit = HoechstesBit;
    for (const char zeichen : text) {
        if (zeichen == '1')
            akku |= 1u << bit;
        if (--bit < 0) {
            if (!schreiber->SchreibeByte(static_cast<std::uint8_t>(akku))) {
                schreiber->Abbrechen();
                return false;
            }
            akku = 0;
            bit = HoechstesBit;
        }
    }
    // The last pulses fill the high bits of one more byte; the bits below them stay 0.
    if (bit < HoechstesBit && !schreiber->SchreibeByte(static_cast<std::uint8_t>(akku))) {
        schreiber->Abbrechen();
        return false;
    }
    if (!schreiber->Schliessen()) {
        schreiber->Abbrechen();
        return false;
    }
    return true;
}

std::vector<std::unique_ptr<TMZFDatei>> TMZFDatei::LeseMZFDatensaetze(const QByteArray& daten) {
    std::vector<std::unique_ptr<TMZFDatei>> datensaetze;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(daten.constData());
    const qsizetype gesamt = daten.size();
    qsizetype pos = 0;
    while (gesamt - pos >= KopfGroesse) {
        const std::uint8_t* kopf = bytes + pos;
        // No MZ file type is 0, while a tape image begins with its leader of 0x00 bytes: such a
        // header is no record, so a damaged tape image does not turn into a heap of empty files.
        if (kopf[OffsetAttribut] == 0)
            break;
        const int groesse = LittleEndian::Lies16(kopf + OffsetGroesse);
        if (gesamt - pos - KopfGroesse < groesse)
            break;
        auto datei = std::make_unique<TMZFDatei>();
        std::copy_n(kopf, KopfGroesse, datei->m_kopf.begin());
        std::copy_n(kopf + KopfGroesse, groesse, datei->m_rumpf.begin());
        datei->m_geladen = true;
        datei->m_geaendert = true;
        datensaetze.push_back(std::move(datei));
        pos += KopfGroesse + groesse;
    }
    return datensaetze;
}

namespace {
// Reads the file once: its pulses (up to the limit) for the tape image, its bytes (up to their own
// limit) for MZF records. The reader shows its failures.
bool LiesMZT(const QString& pfad, TAnsiStringErzeuger& bits, QByteArray& rohdaten) {
    auto leser = std::make_unique<TGepufferterDateiLeser>();
    if (!leser->Oeffnen(pfad))
        return false;
    rohdaten.reserve(std::min<qsizetype>(leser->HoleGroesse(), MaxDatensatzBytes));
    while (!leser->IstDateiEnde() &&
           (bits.Laenge() <= MaxBitZeichen || rohdaten.size() < MaxDatensatzBytes)) {
        std::uint8_t byte = 0;
        if (!leser->LeseByte(byte)) {
            leser->Schliessen();
            return false;
        }
        if (rohdaten.size() < MaxDatensatzBytes)
            rohdaten.append(static_cast<char>(byte));
        if (bits.Laenge() <= MaxBitZeichen) {
            const TMZTBits& zeichen = MZTBitsTabelle()[byte];
            bits.Anhaengen(std::string_view(zeichen.data(), zeichen.size()));
        }
    }
    leser->Schliessen();
    return true;
}
} // namespace

bool TMZFDatei::ImportMZT(const QString& pv_dateiName, const TAuswahl& pv_auswahl) {
    if (m_geladen)
        Schliessen();
    TSanduhr sanduhr;
    TAnsiStringErzeuger bits;
    QByteArray rohdaten;
    if (!LiesMZT(pv_dateiName, bits, rohdaten))
        return false;

    int ende = 0;
    if (LeseAusTonbandBits(bits.Ansicht(), 1, false, 0.0, ende))
        return true;

    const auto datensaetze = LeseMZFDatensaetze(rohdaten);
    if (datensaetze.empty()) {
        ZeigeFehler(NichtsGefunden(pv_dateiName));
        return false;
    }
    // Like a tape holding several files: without a choice the first one is taken.
    std::size_t wahl = 0;
    if (datensaetze.size() > 1 && pv_auswahl) {
        const int index = pv_auswahl(datensaetze);
        if (index < 0 || static_cast<std::size_t>(index) >= datensaetze.size())
            return false;
        wahl = static_cast<std::size_t>(index);
    }
    // The chosen record's contents, flags and path (it may have been saved meanwhile); the events
    // stay those of this record.
    const TMZFDatei& quelle = *datensaetze[wahl];
    m_kopf = quelle.m_kopf;
    std::copy_n(quelle.m_rumpf.begin(), quelle.HoleMZDateiGroesse(), m_rumpf.begin());
    m_geaendert = quelle.m_geaendert;
    m_dateiPfad = quelle.m_dateiPfad;
    m_geladen = true;
    return true;
}

bool TMZFDatei::LeseAlleAusMZT(const QString& pv_dateiName,
                               std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien) {
    pv_dateien.clear();
    TSanduhr sanduhr;
    TAnsiStringErzeuger bits;
    QByteArray rohdaten;
    if (!LiesMZT(pv_dateiName, bits, rohdaten))
        return false;

    TMZFDatei datei;
    int start = 1;
    int ende = 0;
    while (datei.LeseAusTonbandBits(bits.Ansicht(), start, false, 0.0, ende)) {
        start = ende + 1;
        const bool schonDa = std::any_of(pv_dateien.begin(), pv_dateien.end(),
                                         [&](const auto& gefunden) { return gefunden->IstGleich(datei); });
        if (!schonDa)
            pv_dateien.push_back(CreateKopie(datei));
    }
    if (pv_dateien.empty())
        pv_dateien = LeseMZFDatensaetze(rohdaten);
    if (pv_dateien.empty()) {
        ZeigeFehler(NichtsGefunden(pv_dateiName));
        return false;
    }
    return true;
}
