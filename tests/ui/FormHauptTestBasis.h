// The main window as the tests drive it: a fresh window on a private store with English texts,
// the menu entries by name, corpus copies, and modal dialogs answered from a timer.
#pragma once

#include "FormHauptUnit.h"
#include "MZFDatei.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "TestUmgebung.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

inline const QString TestHalt = QStringLiteral("gunterhager-mz800-emuz/TestHalt.mzf");

class FormHauptBasis : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        TestSprache(true);
        FormHauptModulStarten();
        SetzeKommandozeile({});
    }
    void TearDown() override { SetzeKommandozeile({}); }

    std::unique_ptr<TFormHaupt> NeueForm() {
        auto form = std::make_unique<TFormHaupt>();
        form->show();
        return form;
    }
    template <typename T> static T* Kind(QWidget* w, const char* name) {
        T* kind = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(kind, nullptr) << name;
        return kind;
    }
    static QAction* Eintrag(QWidget* w, const char* name) { return Kind<QAction>(w, name); }
    static QString Text(QWidget* w, const char* name) { return Kind<QLineEdit>(w, name)->text(); }
    static void Waehle(QWidget* w, const char* eintrag) { Eintrag(w, eintrag)->trigger(); }
    static bool IstSichtbar(QWidget* w, const char* name) { return !Kind<QWidget>(w, name)->isHidden(); }

    // A copy of a corpus file in a fresh directory.
    static QString Kopie(const QString& korpus, const QString& name) {
        const QString pfad = TestVerzeichnis() + QLatin1Char('/') + name;
        QFile::copy(KorpusPfad(korpus), pfad);
        QFile(pfad).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return pfad;
    }
    void Oeffne(TFormHaupt& form, const QString& pfad) {
        skript.WaehleDatei(pfad);
        Waehle(&form, "MenueHaupt_Datei_Oeffnen");
        ASSERT_TRUE(form.HoleDatei().IstGeladen()) << skript.Texte().join(QLatin1Char('|')).toStdString();
    }
    // TestHalt through an MZT export and import: loaded, changed, without a path.
    void LadeOhnePfad(TFormHaupt& form) {
        const QString mzt = TestVerzeichnis() + QStringLiteral("/x.mzt");
        Oeffne(form, Kopie(TestHalt, QStringLiteral("halt.mzf")));
        skript.WaehleDatei(mzt);
        Waehle(&form, "MenueHaupt_ImportExport_ExportMZT");
        Waehle(&form, "MenueHaupt_Datei_Schliessen");
        skript.WaehleDatei(mzt);
        Waehle(&form, "MenueHaupt_ImportExport_ImportMZT");
        ASSERT_TRUE(form.HoleDatei().IstGeladen()) << skript.Texte().join(QLatin1Char('|')).toStdString();
    }
    // Runs `handeln` on the modal dialog that the click opens.
    static void MitModalemDialog(const std::function<void(QWidget*)>& handeln,
                                 const std::function<void()>& oeffnen) {
        bool gesehen = false;
        // A timer of this scope: it cannot fire after the test has moved on.
        QTimer zeitgeber;
        zeitgeber.setSingleShot(true);
        QObject::connect(&zeitgeber, &QTimer::timeout, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            gesehen = true;
            handeln(dialog);
        });
        zeitgeber.start(0);
        oeffnen();
        EXPECT_TRUE(gesehen);
    }

    TPlattformSkript skript;
};
