// The settings dialog driven as the user drives it: what it shows, what OK refuses, what it
// stores, and that Cancel, a refused rate or closing the window store nothing.
#include "FormEinstellungenUnit.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "TestUmgebung.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {
const QString UngueltigeZahl = QStringLiteral("Invalid number: ");
const QString RateUngueltig = QStringLiteral(
    "Invalid sample-rate!\r\n\r\nThe sample-rate must have a value between 8000 Hz and 45000 Hz!");

// Everything the dialog can change, as the store and memory hold it.
struct TStand {
    bool englisch;
    QString text; // a catalogue text, to see which table is loaded
    quint8 modell;
    bool verkuerzt;
    quint16 rate;
    bool invertiert;
    bool erweitert;
    QString gespeichertesModell;
    qint64 gespeicherteRate;

    bool operator==(const TStand&) const = default;
};

TStand Stand() {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Feldmark"),
                QStringLiteral("Bandwerk"));
    return {LiesSprache(),
            HoleText(QStringLiteral("FormEinstellungen")),
            HoleImportExportMZModell(),
            LiesExportWAVVerkuerztesMZTonbandFormat(),
            HoleExportWAVSampleRate(),
            HoleExportWAVInvertiertePolaritaet(),
            LiesImportErweiterteDekodierung(),
            s.value(QStringLiteral("V2.4/ImportExportMZModell")).toString(),
            s.value(QStringLiteral("V2.4/ExportWAVSampleRate")).toLongLong()};
}

class FormEinstellungen : public ::testing::Test {
protected:
    void SetUp() override {
        EinstellungenLeeren();
        TestSprache(true);
        SchreibeImportExportEinstellungen(MZ80A, false, 44100, false);
    }
    void TearDown() override { EinstellungenLeeren(); }

    // Changes every field away from what SetUp stored.
    static void AendereAlles(TFormEinstellungen& d) {
        d.RadioGroupSpracheItems->button(0)->click();
        d.RadioGroupMZModellItems->button(MZ800)->click();
        d.EditSampleRate->setText(QStringLiteral("11025"));
        d.RadioGroupMZTonbandFormatItems->button(1)->click();
        d.RadioGroupPolaritaetItems->button(1)->click();
        d.CheckBoxErweiterteDekodierung->click();
    }

    TPlattformSkript skript;
    QWidget owner;
};

TEST_F(FormEinstellungen, TexteInBeidenSprachen) {
    for (const bool englisch : {true, false}) {
        TestSprache(englisch);
        TFormEinstellungen d(&owner);
        d.show();
        EXPECT_EQ(d.windowTitle(), englisch ? QStringLiteral("Settings") : QStringLiteral("Einstellungen"));
        QTabWidget* seiten = d.PageControlEinstellungen;
#ifdef BANDWERK_AUDIO
        ASSERT_EQ(seiten->count(), 4);
        EXPECT_EQ(seiten->tabText(3),
                  englisch ? QStringLiteral("Tape deck") : QStringLiteral("Bandger\u00e4t"));
#else
        ASSERT_EQ(seiten->count(), 3);
#endif
        EXPECT_EQ(seiten->tabText(0), englisch ? QStringLiteral("General") : QStringLiteral("Allgemein"));
        EXPECT_EQ(seiten->tabText(1),
                  englisch ? QStringLiteral("Import and export") : QStringLiteral("Import und Export"));
        EXPECT_EQ(seiten->tabText(2), englisch ? QStringLiteral("WAV-export") : QStringLiteral("WAV-Export"));
        EXPECT_EQ(d.RadioGroupSprache->title(),
                  englisch ? QStringLiteral("Language") : QStringLiteral("Sprache"));
        // The two language names are never translated.
        EXPECT_EQ(d.RadioGroupSpracheItems->button(0)->text(), QStringLiteral("Deutsch"));
        EXPECT_EQ(d.RadioGroupSpracheItems->button(1)->text(), QStringLiteral("English"));
        EXPECT_EQ(d.RadioGroupMZModell->title(),
                  englisch ? QStringLiteral("MZ-model") : QStringLiteral("MZ-Modell"));
        EXPECT_EQ(d.LabelSampleRate->text(),
                  englisch ? QStringLiteral("Sample-rate (Hz)") : QStringLiteral("Sample-Rate (Hz)"));
        EXPECT_EQ(d.ButtonDefaultSampleRate->text(), englisch ? QStringLiteral("Set to default-value")
                                                              : QStringLiteral("Standard-Wert eintragen"));
        EXPECT_EQ(d.RadioGroupMZTonbandFormat->title(),
                  englisch ? QStringLiteral("MZ-tape-format") : QStringLiteral("MZ-Tonband-Format"));
        EXPECT_EQ(d.RadioGroupMZTonbandFormatItems->button(1)->text(),
                  englisch ? QStringLiteral("Shortend (smaller WAV-files, without redundancies)")
                           : QStringLiteral("Verkürzt (kleinere WAV-Dateien, ohne Redundanzen)"));
        EXPECT_EQ(
            d.RadioGroupPolaritaet->title(),
            englisch
                ? QStringLiteral("Polarity (According to the polarity-switch on the mainboard of some MZs)")
                : QStringLiteral("Polarität (Entspricht dem Polaritätsschalter auf der Hauptplatine "
                                 "mancher MZs)"));
        EXPECT_EQ(d.RadioGroupPolaritaetItems->button(1)->text(),
                  englisch ? QStringLiteral("Inverted") : QStringLiteral("Invertiert"));
        EXPECT_EQ(d.ButtonOK->text(), QStringLiteral("&OK"));
        EXPECT_EQ(d.ButtonAbbrechen->text(),
                  englisch ? QStringLiteral("&Cancel") : QStringLiteral("&Abbrechen"));
        EXPECT_TRUE(d.ButtonOK->isDefault());
        // At least the designed size, fixed.
        EXPECT_GE(d.width(), 489);
        EXPECT_GE(d.height(), 273);
        EXPECT_EQ(d.minimumSize(), d.maximumSize());
    }
}

TEST_F(FormEinstellungen, ZeigtDieGespeichertenWerte) {
    SetzeSprache(false);
    SchreibeImportExportEinstellungen(MZ700, true, 8000, true);
    TFormEinstellungen d(&owner);
    d.show();
    EXPECT_EQ(d.PageControlEinstellungen->currentWidget(), d.TabSheetAllgemein);
    EXPECT_EQ(d.RadioGroupSpracheItems->checkedId(), 0);
    const QStringList modelle = {QStringLiteral("MZ-80K"), QStringLiteral("MZ-80C"),
                                 QStringLiteral("MZ-80A"), QStringLiteral("MZ-80B"),
                                 QStringLiteral("MZ-700"), QStringLiteral("MZ-800")};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(d.RadioGroupMZModellItems->button(i)->text(), modelle[i]);
    EXPECT_EQ(d.RadioGroupMZModellItems->checkedId(), MZ700);
    EXPECT_EQ(d.EditSampleRate->text(), QStringLiteral("8000"));
    EXPECT_EQ(d.RadioGroupMZTonbandFormatItems->checkedId(), 1);
    EXPECT_EQ(d.RadioGroupPolaritaetItems->checkedId(), 1);
}

TEST_F(FormEinstellungen, UnbekanntesModellIstDasErste) {
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Feldmark"),
                    QStringLiteral("Bandwerk"));
        s.setValue(QStringLiteral("V2.4/ImportExportMZModell"), QStringLiteral("MZ-900"));
    }
    LadeEinstellungen();
    TFormEinstellungen d(&owner);
    d.show();
    EXPECT_EQ(d.RadioGroupMZModellItems->checkedId(), 0);
    EXPECT_EQ(d.RadioGroupMZModellItems->checkedButton()->text(), QStringLiteral("MZ-80K"));
    EXPECT_EQ(d.RadioGroupSpracheItems->checkedId(), 1);
}

TEST_F(FormEinstellungen, StandardWertWirdNurEingetragen) {
    TFormEinstellungen d(&owner);
    d.show();
    const TStand vorher = Stand();
    d.ButtonDefaultSampleRate->click();
    EXPECT_EQ(d.EditSampleRate->text(), QStringLiteral("22050"));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(Stand(), vorher);
}

// Typed rate, OK pressed, with every other field changed: either all is stored, or nothing.
TEST_F(FormEinstellungen, OKPrueftDieSampleRate) {
    struct TFall {
        QString eingabe;
        std::optional<quint16> gespeichert;
        QString meldung;
    };
    const TFall faelle[] = {
        {QStringLiteral("8000"), 8000, {}},
        {QStringLiteral("45000"), 45000, {}},
        {QStringLiteral("$5622"), 22050, {}},
        {QStringLiteral("  22050"), 22050, {}},
        {QStringLiteral("+11025"), 11025, {}},
        {QStringLiteral("7999"), std::nullopt, RateUngueltig},
        {QStringLiteral("45001"), std::nullopt, RateUngueltig},
        {QStringLiteral("-22050"), std::nullopt, RateUngueltig},
        {QStringLiteral("$FFFFFFFF"), std::nullopt, RateUngueltig},
        {QString(), std::nullopt, UngueltigeZahl},
        {QStringLiteral("22050 "), std::nullopt, UngueltigeZahl + QStringLiteral("22050 ")},
        {QStringLiteral("22,050"), std::nullopt, UngueltigeZahl + QStringLiteral("22,050")},
        {QStringLiteral("99999999999"), std::nullopt, UngueltigeZahl + QStringLiteral("99999999999")},
    };
    for (const TFall& fall : faelle) {
        SCOPED_TRACE(fall.eingabe.toStdString());
        SetUp();
        skript.Leeren();
        const TStand vorher = Stand();
        TFormEinstellungen d(&owner);
        d.show();
        AendereAlles(d);
        d.EditSampleRate->setText(fall.eingabe);
        // The refusal shows the WAV page even when another one is in front.
        d.PageControlEinstellungen->setCurrentWidget(d.TabSheetImportExport);
        d.ButtonOK->click();
        if (fall.gespeichert) {
            EXPECT_TRUE(skript.nachrichten.isEmpty());
            EXPECT_EQ(d.result(), QDialog::Accepted);
            EXPECT_FALSE(d.isVisible());
            const TStand nachher = Stand();
            EXPECT_FALSE(nachher.englisch);
            EXPECT_EQ(nachher.text, QStringLiteral("Einstellungen"));
            EXPECT_EQ(nachher.modell, MZ800);
            EXPECT_EQ(nachher.gespeichertesModell, QStringLiteral("MZ-800"));
            EXPECT_TRUE(nachher.verkuerzt);
            EXPECT_EQ(nachher.rate, *fall.gespeichert);
            EXPECT_EQ(nachher.gespeicherteRate, *fall.gespeichert);
            EXPECT_TRUE(nachher.invertiert);
            EXPECT_TRUE(nachher.erweitert);
        } else {
            ASSERT_EQ(skript.nachrichten.size(), 1);
            EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Fehler);
            EXPECT_EQ(skript.nachrichten[0].text, fall.meldung);
            EXPECT_TRUE(d.isVisible());
            EXPECT_NE(d.result(), QDialog::Accepted);
            EXPECT_EQ(d.PageControlEinstellungen->currentWidget(), d.TabSheetExportWAV);
            EXPECT_EQ(d.focusWidget(), d.EditSampleRate);
            EXPECT_EQ(d.EditSampleRate->text(), fall.eingabe);
            EXPECT_EQ(Stand(), vorher);
        }
    }
}

TEST_F(FormEinstellungen, AbgelehnteRateDannKorrigiert) {
    TFormEinstellungen d(&owner);
    d.show();
    AendereAlles(d);
    d.EditSampleRate->setText(QStringLiteral("7999"));
    d.ButtonOK->click();
    EXPECT_TRUE(LiesSprache());
    EXPECT_EQ(HoleExportWAVSampleRate(), 44100);
    d.EditSampleRate->setText(QStringLiteral("8000"));
    d.ButtonOK->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(LiesSprache());
    EXPECT_EQ(HoleExportWAVSampleRate(), 8000);
    EXPECT_EQ(HoleImportExportMZModell(), MZ800);
}

TEST_F(FormEinstellungen, AbbrechenUndSchliessenSpeichernNichts) {
    const std::function<void(TFormEinstellungen&)> wege[] = {
        [](TFormEinstellungen& d) { d.ButtonAbbrechen->click(); },
        [](TFormEinstellungen& d) { d.close(); },
        [](TFormEinstellungen& d) { d.reject(); },
    };
    for (const auto& weg : wege) {
        const TStand vorher = Stand();
        TFormEinstellungen d(&owner);
        d.show();
        AendereAlles(d);
        weg(d);
        EXPECT_FALSE(d.isVisible());
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_EQ(Stand(), vorher);
        EXPECT_TRUE(skript.nachrichten.isEmpty());
    }
}

TEST_F(FormEinstellungen, EnglischIstJedesAndereItem) {
    SetzeSprache(false);
    TFormEinstellungen d(&owner);
    d.show();
    // No language item chosen at all counts as English.
    d.RadioGroupSpracheItems->setExclusive(false);
    d.RadioGroupSpracheItems->button(0)->setChecked(false);
    ASSERT_EQ(d.RadioGroupSpracheItems->checkedId(), -1);
    d.ButtonOK->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(LiesSprache());
    EXPECT_EQ(HoleText(QStringLiteral("FormEinstellungen")), QStringLiteral("Settings"));
}

TEST_F(FormEinstellungen, SchreibfehlerWirdGemeldetUndDerDialogBleibtOffen) {
    TFormEinstellungen d(&owner);
    d.show();
    AendereAlles(d);
    EinstellungsSpeicherZerstoeren();
    d.ButtonOK->click();
    EXPECT_EQ(skript.Fehler(), QStringList{SpeicherFehlerText()});
    EXPECT_TRUE(d.isVisible());
    EXPECT_NE(d.result(), QDialog::Accepted);
    // Neither the language nor the values in memory changed.
    EXPECT_EQ(HoleText(QStringLiteral("FormEinstellungen")), QStringLiteral("Settings"));
    EXPECT_EQ(HoleImportExportMZModell(), MZ80A);
    EXPECT_EQ(HoleExportWAVSampleRate(), 44100);
    EXPECT_FALSE(HoleExportWAVInvertiertePolaritaet());
    d.ButtonAbbrechen->click();
    EinstellungsSpeicherReparieren();
}
// A store that cannot be read when the dialog opens: told once, the dialog still works.
TEST_F(FormEinstellungen, UnlesbarerSpeicherBeimOeffnen) {
    EinstellungsSpeicherZerstoeren();
    {
        TFormEinstellungen d(&owner);
        d.show();
        EXPECT_EQ(skript.Fehler(), QStringList{SpeicherFehlerText()});
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.RadioGroupMZTonbandFormatItems->checkedId(), 0);
        EXPECT_EQ(d.EditSampleRate->text(), QStringLiteral("44100"));
        EXPECT_EQ(d.RadioGroupMZModellItems->checkedId(), MZ80A);
        d.ButtonAbbrechen->click();
    }
    EinstellungsSpeicherReparieren();
}
} // namespace
