// Desktop entry: everything lives in the windows layer; this is only main.
#include "Start.h"

int main(int argc, char** argv) {
    return BandwerkStarten(argc, argv);
}
