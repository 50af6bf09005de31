// The file layer's fixed phrases, and the start of every file read by name, with its failure as
// a value.
#pragma once

#include "BandFehler.h"
#include "DateiPfad.h"

#include <QFile>
#include <QString>

namespace DateiFehler {

// Fixed phrases of the file layer; they are not translated.
inline const QString TextBereitsGeoeffnet = QStringLiteral("File ist already open");
inline const QString TextNichtGeoeffnet = QStringLiteral("File is not open");
inline const QString TextDateiEnde = QStringLiteral("End of file is reached");
inline const QString TextRueckwaerts = QStringLiteral("Cannot seek backward");
inline const QString TextHinterDemEnde = QStringLiteral("Cannot seek beyond the end of file");
// A FIFO or device in place of a file: opening it for reading could wait for a writer forever.
inline const QString TextKeineNormaleDatei = QStringLiteral("Not a regular file");
// Stands for the file name where no file is open.
inline const QString TextUnbekannt = QStringLiteral("<Unknown>");

// A second open is refused, so is an empty name and anything but a regular file; then the file
// is opened for reading in the given extra modes.
inline TBandFehler OeffneZumLesenPruefend(QFile& datei, const QString& dateiName, bool bereitsGeoeffnet,
                                          QIODevice::OpenMode zusatz) {
    if (bereitsGeoeffnet)
        return TBandFehler::Lesen(dateiName, TextBereitsGeoeffnet);
    if (dateiName.isEmpty())
        return TBandFehler::Von(TBandFehler::TArt::UngueltigerName, dateiName);
    // A pipe or a device would keep the reader waiting or hand out something else each time.
    const TPfadInfo info = HolePfadInfo(dateiName);
    if (info.existiert && !info.istRegulaer && !info.istVerzeichnis)
        return TBandFehler::Lesen(dateiName, TextKeineNormaleDatei);
    QString fehler;
    if (!OeffneZumLesen(datei, dateiName, zusatz, fehler))
        return TBandFehler::Lesen(dateiName, fehler);
    return {};
}

} // namespace DateiFehler
