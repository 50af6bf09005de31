// MZT files come in two kinds. The tape image packs the tape bit text into bytes, eight pulses a
// byte, the first pulse in the most significant bit; it has no header of its own. Many ".mzt"
// files in circulation are instead MZF records back to back. Export writes the tape image; import
// reads a tape image and, when that holds no MZ file, MZF records.
#include "MZFDatei.h"

#include "BandMeldung.h"
#include "BandProtokoll.h"
#include "DateiFehler.h"
#include "DateiPfad.h"
#include "FundListe.h"
#include "GepufferterDateiSchreiber.h"
#include "LittleEndian.h"
#include "Plattform.h"
#include "SprachenTexte.h"
#include "TonbandSuche.h"

#include <QFile>
#include <algorithm>
#include <array>

namespace {
constexpr int BitsProMZTByte = 8;
constexpr int HoechstesBit = BitsProMZTByte - 1;
// Largest MZT file read at all: 16 MiB hold more than a hundred files of the largest size on a
// tape image, and more than 250 as MZF records. Its pulses are unpacked and searched a block of
// bytes at a time, so they never take more room than the file does.
constexpr qsizetype MaxMZTBytes = 16 * 1024 * 1024;
constexpr qsizetype BildBlockBytes = 65536;

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

bool TMZFDatei::ExportMZT(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                          const std::vector<const TMZFDatei*>& pv_weitere) {
    if (!m_geladen) {
        ZeigeFehler(HoleText(QStringLiteral("Fehler_KeineMZFDateiGeladen")));
        return false;
    }
    TSanduhr sanduhr;
    // A tape image holds every block twice, whatever the format of a recording made.
    TBandEinstellungen voll = pv_einstellungen;
    voll.verkuerzt = false;
    const std::string text = ErzeugeBandBits(voll, pv_weitere);
    auto schreiber = std::make_unique<TGepufferterDateiSchreiber>();
    if (!schreiber->Oeffnen(pv_dateiName))
        return MeldeBandFehler(schreiber->HoleFehler());
    unsigned akku = 0;
    int bit = HoechstesBit;
    for (const char zeichen : text) {
        if (zeichen == '1')
            akku |= 1u << bit;
        if (--bit < 0) {
            if (!schreiber->SchreibeByte(static_cast<std::uint8_t>(akku)))
                return MeldeUndVerwirf(*schreiber);
            akku = 0;
            bit = HoechstesBit;
        }
    }
    // The last pulses fill the high bits of one more byte; the bits below them stay 0.
    if (bit < HoechstesBit && !schreiber->SchreibeByte(static_cast<std::uint8_t>(akku)))
        return MeldeUndVerwirf(*schreiber);
    return schreiber->Schliessen() || MeldeUndVerwirf(*schreiber);
}

std::vector<std::unique_ptr<TMZFDatei>>
TMZFDatei::LeseMZFDatensaetze(const QByteArray& daten, std::vector<TUebersprungenes>* pv_uebersprungen) {
    std::vector<std::unique_ptr<TMZFDatei>> datensaetze;
    std::vector<TUebersprungenes> uebersprungen;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(daten.constData());
    const qsizetype gesamt = daten.size();
    qsizetype pos = 0;
    while (pos < gesamt) {
        const qsizetype rest = gesamt - pos;
        if (rest < KopfGroesse) {
            uebersprungen.push_back({TUebersprungenes::TArt::RestBytes, QString(), pos, rest});
            break;
        }
        const std::uint8_t* kopf = bytes + pos;
        if (!TMZFDatei::IstPlausiblerKopf(kopf))
            return {};
        if (datensaetze.size() >= TFundListe::GroessteAnzahl) {
            uebersprungen.push_back({TUebersprungenes::TArt::ZuVieleDateien, QString(), pos,
                                     static_cast<qint64>(datensaetze.size())});
            break;
        }
        const int groesse = LittleEndian::Lies16(kopf + OffsetGroesse);
        if (rest - KopfGroesse < groesse) {
            uebersprungen.push_back(
                {TUebersprungenes::TArt::AbgeschnittenerDatensatz, NameAusKopf(kopf), pos, rest});
            break;
        }
        auto datei = std::make_unique<TMZFDatei>();
        std::copy_n(kopf, KopfGroesse, datei->m_kopf.begin());
        datei->m_rumpf.assign(kopf + KopfGroesse, kopf + KopfGroesse + groesse);
        datei->m_geladen = true;
        datei->m_geaendert = true;
        datensaetze.push_back(std::move(datei));
        pos += KopfGroesse + groesse;
    }
    // A cut-off piece alone is no record file.
    if (datensaetze.empty())
        return {};
    if (pv_uebersprungen)
        pv_uebersprungen->insert(pv_uebersprungen->end(), uebersprungen.begin(), uebersprungen.end());
    return datensaetze;
}

namespace {
// The pulses of bytes [von, bis) of a tape image.
void BitsAusBytes(const QByteArray& bytes, qsizetype von, qsizetype bis, std::string& bits) {
    const auto& tabelle = MZTBitsTabelle();
    bits.clear();
    for (qsizetype i = von; i < bis; ++i) {
        const TMZTBits& zeichen = tabelle[static_cast<std::uint8_t>(bytes[i])];
        bits.append(zeichen.data(), zeichen.size());
    }
}

// Every file of a tape image, in tape order, each once.
void DurchsucheBandabbild(const QByteArray& daten, TFundListe& funde, TBandProtokoll& protokoll) {
    TTonbandStrom strom(
        [&funde](const TTonbandSuche& s, std::int64_t) {
            funde.Nimm(s.HoleKopf(), s.HoleRumpf().data(), s.HoleRumpf().size());
        },
        protokoll.Beobachter());
    std::string bits;
    for (qsizetype von = 0; von < daten.size() && !funde.IstVoll(); von += BildBlockBytes) {
        BitsAusBytes(daten, von, std::min(daten.size(), von + BildBlockBytes), bits);
        strom.Haenge(bits);
    }
    strom.Abschliessen();
}

// Reads the whole file, to the end of its data: a pipe or a file of /proc reports no size, and a
// file that grows while it is read is read as far as it goes. More than MaxMZTBytes is refused.
bool LiesGanzesMZT(const QString& pfad, QByteArray& daten) {
    if (pfad.isEmpty()) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_UngueltigerDateiname"), pfad));
        return false;
    }
    QFile datei;
    QString fehler;
    if (!OeffneZumLesen(datei, pfad, {}, fehler)) {
        MeldeBandFehler(TBandFehler::Lesen(pfad, fehler));
        return false;
    }
    constexpr qint64 Block = 65536;
    while (true) {
        const qsizetype bisher = daten.size();
        daten.resize(bisher + Block);
        const qint64 gelesen = datei.read(daten.data() + bisher, Block);
        if (gelesen < 0) {
            MeldeBandFehler(TBandFehler::Lesen(pfad, datei.errorString()));
            return false;
        }
        daten.resize(bisher + gelesen);
        if (gelesen == 0)
            return true;
        if (daten.size() > MaxMZTBytes) {
            ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_DateiZuGross"), pfad));
            return false;
        }
    }
}

} // namespace

bool TMZFDatei::ImportMZT(const QString& pv_dateiName, const TAuswahl& pv_auswahl) {
    if (m_geladen)
        Schliessen();
    std::vector<std::unique_ptr<TMZFDatei>> dateien;
    if (!LeseAlleAusMZT(pv_dateiName, dateien))
        return false;
    // Like a tape holding several files: without a choice the first one is taken.
    std::size_t wahl = 0;
    if (dateien.size() > 1 && pv_auswahl) {
        const int index = pv_auswahl(dateien);
        if (index < 0 || static_cast<std::size_t>(index) >= dateien.size())
            return false;
        wahl = static_cast<std::size_t>(index);
    }
    // The chosen file's contents, flags and path (it may have been saved meanwhile); the events
    // stay those of this record.
    const TMZFDatei& quelle = *dateien[wahl];
    m_kopf = quelle.m_kopf;
    m_rumpf = quelle.m_rumpf;
    m_befund = quelle.m_befund;
    m_geaendert = quelle.m_geaendert;
    m_dateiPfad = quelle.m_dateiPfad;
    m_geladen = true;
    return true;
}

bool TMZFDatei::LeseAlleAusMZT(const QString& pv_dateiName,
                               std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                               std::vector<TUebersprungenes>* pv_uebersprungen) {
    pv_dateien.clear();
    TSanduhr sanduhr;
    QByteArray rohdaten;
    if (!LiesGanzesMZT(pv_dateiName, rohdaten))
        return false;

    TBandProtokoll protokoll(
        [](std::int64_t marke) { return static_cast<qint64>((marke - 1) / BitsProMZTByte); }, true);
    TFundListe funde;
    DurchsucheBandabbild(rohdaten, funde, protokoll);
    for (std::size_t i = 0; i < funde.Anzahl(); ++i)
        pv_dateien.push_back(funde.Datei(i));
    std::vector<TUebersprungenes> uebersprungen = protokoll.Ergebnis(pv_dateien);
    if (funde.IstVoll())
        uebersprungen.push_back(
            {TUebersprungenes::TArt::ZuVieleDateien, QString(), -1, static_cast<qint64>(funde.Anzahl())});
    if (pv_dateien.empty()) {
        std::vector<TUebersprungenes> ausDatensaetzen;
        pv_dateien = LeseMZFDatensaetze(rohdaten, &ausDatensaetzen);
        if (!pv_dateien.empty())
            uebersprungen = std::move(ausDatensaetzen);
    }
    if (pv_uebersprungen)
        *pv_uebersprungen = std::move(uebersprungen);
    if (pv_dateien.empty()) {
        ZeigeFehler(NichtsGefunden(pv_dateiName));
        return false;
    }
    return true;
}
