// The messages of the tape layer's failures: one place turns a failure value into the text a
// person reads, for the window and the command line alike.
#pragma once

#include "BandFehler.h"

#include <QString>

// The catalogue's message for the failure, and where the extended decoding would read a file
// the plain reader refuses, what the file holds and that it would.
QString BandFehlerText(const TBandFehler& pv_fehler);
// A time in a recording, "m:ss.ss", for the window and the command line alike.
QString ZeitInAufnahme(double pv_sekunden);
// Shows the message of a failure; true when there was none.
bool MeldeBandFehler(const TBandFehler& pv_fehler);
// Shows why a writer failed, then gives its file up: the old target stays as it was.
template <typename TSchreiber> bool MeldeUndVerwirf(TSchreiber& pv_schreiber) {
    MeldeBandFehler(pv_schreiber.HoleFehler());
    pv_schreiber.Abbrechen();
    return false;
}
