#include "BandMeldung.h"

#include "Plattform.h"
#include "SprachenTexte.h"

namespace {

const QString Absatz = QStringLiteral("\r\n\r\n");

QString Hinweis(const TBandFehler::TErweitert& e, TBandFehler::TArt art) {
    const QString rate = QString::number(e.sampleRate);
    // Only the rate was wrong: the rate is all there is to tell.
    if (art == TBandFehler::TArt::SampleRate && !e.gleitkomma && e.bits <= 16 && e.kanaele <= 2)
        return HoleTextMitParametern(QStringLiteral("Hinweis_ErweitertLiestRate"), rate);
    const QString format = HoleTextMitParametern(e.gleitkomma ? QStringLiteral("Format_Gleitkomma")
                                                              : QStringLiteral("Format_PCM"),
                                                 QString::number(e.bits));
    return HoleTextMitParametern(QStringLiteral("Hinweis_ErweitertLiestFormat"), format,
                                 QString::number(e.kanaele), rate);
}

} // namespace

QString BandFehlerText(const TBandFehler& pv_fehler) {
    QString text;
    switch (pv_fehler.art) {
    case TBandFehler::TArt::Keiner:
        return {};
    case TBandFehler::TArt::UngueltigerName:
        text = HoleTextMitParametern(QStringLiteral("Fehler_UngueltigerDateiname"), pv_fehler.datei);
        break;
    case TBandFehler::TArt::Lesefehler:
        text = HoleTextMitParametern(QStringLiteral("Fehler_DateiLesen"), pv_fehler.datei, pv_fehler.text);
        break;
    case TBandFehler::TArt::Schreibfehler:
        text =
            HoleTextMitParametern(QStringLiteral("Fehler_DateiSchreiben"), pv_fehler.datei, pv_fehler.text);
        break;
    case TBandFehler::TArt::ZuGross:
        text = HoleTextMitParametern(QStringLiteral("Fehler_DateiZuGross"), pv_fehler.datei);
        break;
    case TBandFehler::TArt::Beschaedigt:
        text = HoleTextMitParametern(QStringLiteral("Fehler_DateiBeschaedigt"), pv_fehler.datei);
        break;
    case TBandFehler::TArt::SampleRate:
        text =
            HoleTextMitParametern(QStringLiteral("Fehler_SampleRateUngueltig"),
                                  QString::number(pv_fehler.kleinste), QString::number(pv_fehler.groesste));
        break;
    }
    if (pv_fehler.erweitert.liest)
        text += Absatz + Hinweis(pv_fehler.erweitert, pv_fehler.art);
    return text;
}

bool MeldeBandFehler(const TBandFehler& pv_fehler) {
    if (pv_fehler.IstOk())
        return true;
    ZeigeFehler(BandFehlerText(pv_fehler));
    return false;
}

QString ZeitInAufnahme(double pv_sekunden) {
    constexpr int SekundenProMinute = 60;
    const auto minuten = static_cast<int>(pv_sekunden / SekundenProMinute);
    const double rest = pv_sekunden - minuten * SekundenProMinute;
    return QStringLiteral("%1:%2").arg(minuten).arg(rest, 5, 'f', 2, QLatin1Char('0'));
}
