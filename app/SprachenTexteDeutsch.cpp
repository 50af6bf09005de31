// Die deutschen Texte, in Tabellenreihenfolge.
#include "SprachenTexte.h"

void FuelleTabelleDeutsch() {
    FuegeTextHinzu(QStringLiteral("Fehler_DateiLesen"), QStringLiteral("Fehler beim Lesen der Datei ~!\r\n\r\nFehlerbeschreibung: ~"));
}
