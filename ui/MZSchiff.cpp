// MZSchiff
