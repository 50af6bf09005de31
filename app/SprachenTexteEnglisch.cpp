// The English texts, in table order.
#include "SprachenTexte.h"

void FuelleTabelleEnglisch() {
    FuegeTextHinzu(QStringLiteral("Fehler_DateiLesen"), QStringLiteral("Error reading the file ~!\r\n\r\nError-description: ~"));
}
