// `bandwerk-cli scan`: what the decoder saw on a recording, one line per event in recording order,
// or one JSON object per line.
#pragma once

#include "BandEinstellungen.h"

#include <QString>
#include <QTextStream>

struct TBandAnalyse;

void ZeigeBandbericht(const TBandAnalyse& analyse, bool json, QTextStream& aus);

// `scan --plot`: the tape view's picture of the recording (PNG, or SVG for a name ending in .svg),
// of the seconds [von, bis) where they are not negative, read with the model and decoding of
// pv_einstellungen. The exit status; a failure is told.
int ZeichneBandbild(const QString& pv_aufnahme, const TBandEinstellungen& pv_einstellungen,
                    const QString& pv_bild, double pv_von, double pv_bis, QTextStream& fehler);
