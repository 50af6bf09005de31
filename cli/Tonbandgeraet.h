// The tape deck on the command line: play and record through the sound devices. A build without
// Qt Multimedia has these too, and they say that it cannot play or record.
#pragma once

#include "BandEinstellungen.h"

#include <QString>
#include <QTextStream>
#include <vector>

class TMZFDatei;

struct TAufnahmeOptionen {
    QString geraet;                   // empty: the system's default input
    int sekunden = 0;                 // 0: until interrupted
    QString wavDatei;                 // empty: the recording is not kept
    TBandEinstellungen einstellungen; // the model whose passes decode, the extended decoding
};

// Plays the tape of `erste` and then each of `weitere` on the output device, with the model,
// format, rate and polarity of `einstellungen`, as a WAV export writes it. The exit status.
int SpieleBandAb(const TMZFDatei& erste, const std::vector<const TMZFDatei*>& weitere,
                 const TBandEinstellungen& einstellungen, const QString& geraet, QTextStream& aus,
                 QTextStream& fehler);
// Records from the input device, writing each MZ file into `ordner` as soon as it is found and
// printing its path; Ctrl+C (or the end of the seconds) stops. The exit status.
int NimmBandAuf(const QString& ordner, const TAufnahmeOptionen& optionen, QTextStream& aus,
                QTextStream& fehler);
// Whether this build has the tape deck.
bool TonbandgeraetEingebaut();
// One line per sound device (without the tape deck: that this build has none). The exit status.
int ZeigeAudioGeraete(QTextStream& aus, QTextStream& fehler);
