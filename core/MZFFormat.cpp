// MZF files: the 128-byte MZ header followed by the body, nothing else. Reading also accepts the
// same layout behind the four bytes "MZF1"; writing never adds them.
#include "MZFDatei.h"

#include "BandMeldung.h"
#include "DateiFehler.h"
#include "LittleEndian.h"
#include "Plattform.h"
#include "SichereDatei.h"
#include "SprachenTexte.h"

#include <QByteArray>
#include <QFile>
#include <algorithm>

namespace {
constexpr qint64 MaxMZFDateiGroesse = 102400;
constexpr char MZF1Praefix[] = {'M', 'Z', 'F', '1'};
constexpr int MZF1PraefixLaenge = sizeof(MZF1Praefix);

void MeldeBeschaedigt(const QString& pfad) {
    ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_DateiBeschaedigt"), pfad));
}
} // namespace

bool TMZFDatei::Laden(const QString& pv_dateiName) {
    if (m_geladen)
        Schliessen();
    if (pv_dateiName.isEmpty()) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_UngueltigerDateiname"), pv_dateiName));
        return false;
    }
    TSanduhr sanduhr;

    if (HoleDateiGroesse(pv_dateiName) > MaxMZFDateiGroesse) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_DateiZuGross"), pv_dateiName));
        return false;
    }

    QFile datei;
    QString fehler;
    if (!OeffneZumLesen(datei, pv_dateiName, {}, fehler)) {
        MeldeBandFehler(TBandFehler::Lesen(pv_dateiName, fehler));
        return false;
    }
    // Read one byte more than allowed: a file that grew after the size check, or a device that
    // reports no size, must not be read without bound.
    const QByteArray inhalt = datei.read(MaxMZFDateiGroesse + 1);
    if (datei.error() != QFileDevice::NoError) {
        MeldeBandFehler(TBandFehler::Lesen(pv_dateiName, datei.errorString()));
        return false;
    }
    datei.close();
    if (inhalt.size() > MaxMZFDateiGroesse) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_DateiZuGross"), pv_dateiName));
        return false;
    }

    m_dateiPfad = pv_dateiName;
    if (inhalt.size() < KopfGroesse) {
        MeldeBeschaedigt(pv_dateiName);
        return false;
    }
    int kopfAnfang = 0;
    if (inhalt.startsWith(QByteArrayView(MZF1Praefix, MZF1PraefixLaenge))) {
        if (inhalt.size() < MZF1PraefixLaenge + KopfGroesse) {
            MeldeBeschaedigt(pv_dateiName);
            return false;
        }
        kopfAnfang = MZF1PraefixLaenge;
    }
    const auto* kopf = reinterpret_cast<const std::uint8_t*>(inhalt.constData()) + kopfAnfang;
    const qsizetype rumpfGroesse = inhalt.size() - kopfAnfang - KopfGroesse;
    if (rumpfGroesse > MaxRumpfGroesse) {
        MeldeBeschaedigt(pv_dateiName);
        return false;
    }

    // The size field of the file is not trusted: the body is whatever follows the header.
    std::copy_n(kopf, KopfGroesse, m_kopf.begin());
    LittleEndian::Schreibe16(m_kopf.data() + OffsetGroesse, static_cast<std::uint16_t>(rumpfGroesse));
    m_rumpf.assign(kopf + KopfGroesse, kopf + KopfGroesse + rumpfGroesse);
    m_befund = TDateiBefund();

    m_geaendert = false;
    m_geladen = true;
    return true;
}

bool TMZFDatei::Speichern(const QString& pv_dateiName) {
    if (!m_geladen) {
        ZeigeFehler(HoleText(QStringLiteral("Fehler_KeineMZFDateiGeladen")));
        return false;
    }
    if (pv_dateiName.isEmpty()) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_UngueltigerDateiname"), QString()));
        return false;
    }
    TSanduhr sanduhr;

    const int groesse = HoleMZDateiGroesse();
    QByteArray abbild;
    abbild.reserve(KopfGroesse + groesse);
    abbild.append(reinterpret_cast<const char*>(m_kopf.data()), KopfGroesse);
    abbild.append(reinterpret_cast<const char*>(m_rumpf.data()), groesse);

    // Written beside the target and renamed over it only when complete, so a failed save never
    // leaves the old file half overwritten.
    TSichereDatei datei;
    if (!datei.Oeffnen(pv_dateiName) || !datei.Schreibe(abbild.constData(), abbild.size()) ||
        !datei.Abschliessen()) {
        MeldeBandFehler(TBandFehler::Schreiben(pv_dateiName, datei.Fehlertext()));
        return false;
    }
    m_geaendert = false;
    m_dateiPfad = pv_dateiName;
    return true;
}
