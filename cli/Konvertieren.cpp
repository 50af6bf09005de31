// Konvertieren
