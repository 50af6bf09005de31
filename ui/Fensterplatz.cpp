// Fensterplatz
