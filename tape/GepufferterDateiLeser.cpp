#include "GepufferterDateiLeser.h"
