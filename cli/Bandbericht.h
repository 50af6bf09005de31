// `bandwerk-cli scan`: what the decoder saw on a recording, one line per event in recording order,
// or one JSON object per line.
#pragma once

#include <QString>
#include <QTextStream>

struct TBandAnalyse;

void ZeigeBandbericht(const TBandAnalyse& analyse, bool json, QTextStream& aus);
