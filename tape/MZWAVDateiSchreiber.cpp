#include "MZWAVDateiSchreiber.h"
