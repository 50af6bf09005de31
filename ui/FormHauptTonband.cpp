// The main window's tape deck commands: record from a cassette, play to a real MZ.
#include "FormAbspielenUnit.h"
#include "FormAufnahmeUnit.h"
#include "FormHauptUnit.h"
#include "MZFDatei.h"

void TFormHaupt::MenueHaupt_ImportExport_AufnahmeClick() {
    TFormAufnahme fenster(this, [this](const TMZFDatei& datei) { return UebernimmDatei(datei); });
    fenster.exec();
}

void TFormHaupt::MenueHaupt_ImportExport_AbspielenClick() {
    if (!HoleDatei().IstGeladen())
        return;
    TFormAbspielen fenster(this, HoleDatei());
    fenster.exec();
}
