// Kommandozeile
