// The file layer's fixed phrases and its two ways of reporting a failure: the catalogue text for
// reading or writing, with the file name and what went wrong.
#pragma once

#include "DateiPfad.h"
#include "Plattform.h"
#include "SprachenTexte.h"

#include <QFile>
#include <QFileInfo>
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

inline void MeldeLesefehler(const QString& dateiName, const QString& beschreibung) {
    ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_DateiLesen"), dateiName, beschreibung));
}

inline void MeldeSchreibfehler(const QString& dateiName, const QString& beschreibung) {
    ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_DateiSchreiben"), dateiName, beschreibung));
}

// The start of every file read by name: a second open is refused, so is an empty name, then the
// file is opened for reading in the given extra modes. Each failure is reported; the result says
// whether it is open.
inline bool OeffneZumLesenMitMeldung(QFile& datei, const QString& dateiName, bool bereitsGeoeffnet,
                                     QIODevice::OpenMode zusatz) {
    if (bereitsGeoeffnet) {
        MeldeLesefehler(dateiName, TextBereitsGeoeffnet);
        return false;
    }
    if (dateiName.isEmpty()) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_UngueltigerDateiname"), dateiName));
        return false;
    }
    // A pipe or a device would keep the reader waiting or hand out something else each time.
    const TPfadInfo info = HolePfadInfo(dateiName);
    if (info.existiert && !info.istRegulaer && !info.istVerzeichnis) {
        MeldeLesefehler(dateiName, TextKeineNormaleDatei);
        return false;
    }
    QString fehler;
    if (!OeffneZumLesen(datei, dateiName, zusatz, fehler)) {
        MeldeLesefehler(dateiName, fehler);
        return false;
    }
    return true;
}

} // namespace DateiFehler
