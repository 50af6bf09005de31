#include "GepufferterDateiSchreiber.h"
