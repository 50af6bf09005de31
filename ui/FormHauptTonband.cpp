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

bool TFormHaupt::UebernimmDatei(const TMZFDatei& pv_datei) {
    // Closing asks about unsaved changes as the menu command does.
    if (HoleDatei().IstGeladen())
        MenueHaupt_Datei_SchliessenClick();
    if (HoleDatei().IstGeladen())
        return false;
    // The window's record keeps its events: only the file is taken.
    HoleDatei().Uebernimm(
        pv_datei.Kopf(),
        std::vector<std::uint8_t>(pv_datei.Rumpf(), pv_datei.Rumpf() + pv_datei.HoleMZDateiGroesse()));
    AktualisiereAnzeige(true);
    return true;
}
