// The writers' messages, shown where the failure happens.
#pragma once

#include "DateiFehler.h"
#include "Plattform.h"
#include "SprachenTexte.h"

namespace DateiFehler {

inline void MeldeSchreibfehler(const QString& dateiName, const QString& beschreibung) {
    ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_DateiSchreiben"), dateiName, beschreibung));
}

} // namespace DateiFehler
