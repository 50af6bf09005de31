#include "MZFDatei.h"
