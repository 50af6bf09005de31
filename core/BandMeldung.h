// The messages of the tape layer's failures: one place turns a failure value into the text a
// person reads, for the window and the command line alike.
#pragma once

#include "BandFehler.h"

#include <QString>

// The catalogue's message for the failure, and where the extended decoding would read a file
// the plain reader refuses, what the file holds and that it would.
QString BandFehlerText(const TBandFehler& pv_fehler);
// Shows the message of a failure; true when there was none.
bool MeldeBandFehler(const TBandFehler& pv_fehler);
