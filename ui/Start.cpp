#include "Start.h"
// Start
int BandwerkStarten(int, char**) { return 0; }
