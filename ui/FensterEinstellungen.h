// The tape settings as the windows hand them down, taken when a command starts: model, sample rate
// and polarity as held in memory, the tape format and the extended decoding read from the store.
#pragma once

#include "BandEinstellungen.h"

// TEinstellungenFehler when the store cannot be opened.
TBandEinstellungen LiesBandEinstellungen();
// For the tape deck's windows, which carry on when the store cannot be opened: the failure is
// shown, and the tape format is then the full one and the extended decoding off.
TBandEinstellungen LiesBandEinstellungenOderMelde();
// Only what the settings hold in memory (model, sample rate, polarity), the others as in a new
// store: enough for a tape image, which is always written in full.
TBandEinstellungen BandEinstellungenImSpeicher();
