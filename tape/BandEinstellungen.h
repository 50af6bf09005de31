// How a tape is written and read: the MZ model whose pulses and leaders are used, the sample rate
// and polarity of a recording made, the full or shortened tape format, and whether recordings are
// read with the extended decoding. A window or the command line takes these once (from the
// settings, or its options) and hands them down; nothing below asks the settings again.
#pragma once

#include "MZModell.h"

#include <QtGlobal>

struct TBandEinstellungen {
    quint8 modell = MZ80K;
    quint16 sampleRate = StandardSampleRate;
    bool invertiert = false; // polarity of a recording made
    bool verkuerzt = false;  // each block once, with the short leader
    bool erweitert = false;  // extended decoding of recordings
};
