// The main window's menu: its entries, and the commands that open the settings and help windows.
#include "FormHauptUnit.h"

#include "FormEinstellungenUnit.h"
#include "FormKurzanleitungUnit.h"
#include "FormUeberDiesesProgrammUnit.h"
#include "FormVersionsHistorieUnit.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

QAction* TFormHaupt::NeuerEintrag(QMenu* menue, const char* name, void (TFormHaupt::*handler)(),
                                  const QKeySequence& kurzwahl) {
    QAction* eintrag = menue->addAction(QString());
    eintrag->setObjectName(QLatin1String(name));
    eintrag->setShortcut(kurzwahl);
    // A key combination reaches an entry also while its menu is disabled: during a long operation
    // no entry may start a second one.
    connect(eintrag, &QAction::triggered, this, [this, handler] {
        if (!Beschaeftigt)
            (this->*handler)();
    });
    return eintrag;
}

void TFormHaupt::BaueMenue() {
    QMenuBar* leiste = menuBar();
    leiste->setObjectName(QStringLiteral("MenueHaupt"));
    auto neuesMenue = [&](const char* name) {
        QMenu* menue = leiste->addMenu(QString());
        menue->setObjectName(QLatin1String(name));
        menue->menuAction()->setObjectName(QLatin1String(name));
        return menue;
    };
    MenueHaupt_Datei = neuesMenue("MenueHaupt_Datei");
    MenueHaupt_Datei_Oeffnen =
        NeuerEintrag(MenueHaupt_Datei, "MenueHaupt_Datei_Oeffnen", &TFormHaupt::MenueHaupt_Datei_OeffnenClick,
                     QKeySequence(Qt::CTRL | Qt::Key_O));
    MenueHaupt_Datei_Schliessen = NeuerEintrag(MenueHaupt_Datei, "MenueHaupt_Datei_Schliessen",
                                               &TFormHaupt::MenueHaupt_Datei_SchliessenClick);
    MenueHaupt_Datei->addSeparator();
    MenueHaupt_Datei_Speichern =
        NeuerEintrag(MenueHaupt_Datei, "MenueHaupt_Datei_Speichern",
                     &TFormHaupt::MenueHaupt_Datei_SpeichernClick, QKeySequence(Qt::CTRL | Qt::Key_S));
    MenueHaupt_Datei_SpeichernUnter = NeuerEintrag(MenueHaupt_Datei, "MenueHaupt_Datei_SpeichernUnter",
                                                   &TFormHaupt::MenueHaupt_Datei_SpeichernUnterClick,
                                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    MenueHaupt_Datei->addSeparator();
    MenueHaupt_Datei_Beenden =
        NeuerEintrag(MenueHaupt_Datei, "MenueHaupt_Datei_Beenden", &TFormHaupt::MenueHaupt_Datei_BeendenClick,
                     QKeySequence(Qt::CTRL | Qt::Key_Q));

    MenueHaupt_ImportExport = neuesMenue("MenueHaupt_ImportExport");
    MenueHaupt_ImportExport_ImportMZT =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_ImportMZT",
                     &TFormHaupt::MenueHaupt_ImportExport_ImportMZTClick);
    MenueHaupt_ImportExport_ImportWAV =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_ImportWAV",
                     &TFormHaupt::MenueHaupt_ImportExport_ImportWAVClick);
    MenueHaupt_ImportExport_Bandansicht =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_Bandansicht",
                     &TFormHaupt::MenueHaupt_ImportExport_BandansichtClick);
#ifdef BANDWERK_AUDIO
    MenueHaupt_ImportExport_Aufnahme =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_Aufnahme",
                     &TFormHaupt::MenueHaupt_ImportExport_AufnahmeClick);
#endif
    MenueHaupt_ImportExport->addSeparator();
    MenueHaupt_ImportExport_ExportMZT =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_ExportMZT",
                     &TFormHaupt::MenueHaupt_ImportExport_ExportMZTClick);
    MenueHaupt_ImportExport_ExportWAV =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_ExportWAV",
                     &TFormHaupt::MenueHaupt_ImportExport_ExportWAVClick);
#ifdef BANDWERK_AUDIO
    MenueHaupt_ImportExport_Abspielen =
        NeuerEintrag(MenueHaupt_ImportExport, "MenueHaupt_ImportExport_Abspielen",
                     &TFormHaupt::MenueHaupt_ImportExport_AbspielenClick);
#endif

    MenueHaupt_Extras = neuesMenue("MenueHaupt_Extras");
    MenueHaupt_Extras_Einstellungen = NeuerEintrag(MenueHaupt_Extras, "MenueHaupt_Extras_Einstellungen",
                                                   &TFormHaupt::MenueHaupt_Extras_EinstellungenClick);

    MenueHaupt_Hilfe = neuesMenue("MenueHaupt_Hilfe");
    MenueHaupt_Hilfe_Kurzanleitung =
        NeuerEintrag(MenueHaupt_Hilfe, "MenueHaupt_Hilfe_Kurzanleitung",
                     &TFormHaupt::MenueHaupt_Hilfe_KurzanleitungClick, QKeySequence(Qt::Key_F1));
    MenueHaupt_Hilfe_VersionsHistorie = NeuerEintrag(MenueHaupt_Hilfe, "MenueHaupt_Hilfe_VersionsHistorie",
                                                     &TFormHaupt::MenueHaupt_Hilfe_VersionsHistorieClick);
    MenueHaupt_Hilfe_UeberDiesesProgramm =
        NeuerEintrag(MenueHaupt_Hilfe, "MenueHaupt_Hilfe_UeberDiesesProgramm",
                     &TFormHaupt::MenueHaupt_Hilfe_UeberDiesesProgrammClick);
}

void TFormHaupt::MenueHaupt_Extras_EinstellungenClick() {
    {
        TFormEinstellungen dialog(this);
        dialog.exec();
    }
    // Confirmed or not: the language may have changed.
    SetzeTexte();
    AktualisiereAnzeige(false);
}

void TFormHaupt::MenueHaupt_Hilfe_KurzanleitungClick() {
    TFormKurzanleitung fenster(this);
    fenster.exec();
}

void TFormHaupt::MenueHaupt_Hilfe_VersionsHistorieClick() {
    TFormVersionsHistorie fenster(this);
    fenster.exec();
}

void TFormHaupt::MenueHaupt_Hilfe_UeberDiesesProgrammClick() {
    TFormUeberDiesesProgramm fenster(this);
    fenster.exec();
}
