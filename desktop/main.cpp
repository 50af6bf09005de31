// Desktop entry: everything lives in the windows layer; this is only main.
#include "Start.h"
#include "TemporaereDateien.h"

int main(int argc, char** argv) {
    TemporaereDateien::InstalliereSignalbehandlung();
    return BandwerkStarten(argc, argv);
}
