// Temporary files that must not outlive the process. While a file is written beside its target
// it is registered here; a signal that ends the process (interrupt, terminate, hang-up) or an
// immediate exit removes every registered file first, so that no half-written file stays behind.
#pragma once

#include <QByteArray>
#include <csignal>

namespace TemporaereDateien {

// Registers a file by the bytes of its name; the answer is the handle for Abmelden, or -1 when
// every place is taken (the file is then only removed by its writer).
int Anmelden(const QByteArray& pfad);
void Abmelden(int platz);
// Removes every registered file. Safe inside a signal handler.
void RaeumeAuf();
// Holds back interrupt, terminate and hang-up for its lifetime (they come when it ends), so that
// making a temporary file and registering it happen as one step.
class TSignaleAufhalten {
public:
    TSignaleAufhalten();
    ~TSignaleAufhalten();
    TSignaleAufhalten(const TSignaleAufhalten&) = delete;
    TSignaleAufhalten& operator=(const TSignaleAufhalten&) = delete;

private:
    sigset_t m_vorher;
};

// Interrupt, terminate and hang-up remove the registered files, then end the process as the
// signal would have; a write beyond the process's file size limit fails with an error instead of
// ending the process. Called once by each program at its start.
void InstalliereSignalbehandlung();

} // namespace TemporaereDateien
