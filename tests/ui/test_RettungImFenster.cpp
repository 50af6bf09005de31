// The window and worn tapes: Import WAV takes several recordings of one tape at once, and a file
// the extended decoding could not read whole is taken only after a warning. The recordings are
// made here pulse by pulse from the tape format and damaged where the test wants.
#include "BandBau.h"
#include "FormAuswahlMZDateiUnit.h"
#include "FormHauptTestBasis.h"
#include "MZFTestDaten.h"

#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>

namespace {

QByteArray Rumpf() {
    return RumpfMitBytes(48, 0x41);
}

QByteArray Mzf() {
    return ProgrammMZF("WORN", Rumpf());
}

class RettungImFenster : public FormHauptBasis {
protected:
    void SetUp() override {
        FormHauptBasis::SetUp();
        SchreibeImportExportEinstellungen(MZ80K, false, StandardSampleRate, false);
        SchreibeImportErweiterteDekodierung(true);
        ordner = TestVerzeichnis();
    }
    QString Aufnahme(const QString& name, const BandBau::TBand& band,
                     const std::vector<std::pair<std::size_t, std::size_t>>& stille = {}) {
        const QString pfad = ordner + QLatin1Char('/') + name;
        SchreibeDatei(pfad, BandBau::WAV(band.bits, stille));
        return pfad;
    }
    QByteArray GeladenerRumpf(TFormHaupt& form) {
        const TMZFDatei& d = form.HoleDatei();
        return QByteArray(reinterpret_cast<const char*>(d.Rumpf()), d.HoleMZDateiGroesse());
    }
    QString ordner;
};

TEST_F(RettungImFenster, ImportWAVNimmtMehrereAufnahmenEinesBandes) {
    // The same bit wrong in both copies of each recording, in another byte in the other one.
    BandBau::TBand erstes(Mzf());
    erstes.KippeEins(0, 5, static_cast<std::uint8_t>(Rumpf()[5]));
    erstes.KippeEins(1, 5, static_cast<std::uint8_t>(Rumpf()[5]));
    BandBau::TBand zweites(Mzf());
    zweites.KippeEins(0, 30, static_cast<std::uint8_t>(Rumpf()[30]));
    zweites.KippeEins(1, 30, static_cast<std::uint8_t>(Rumpf()[30]));
    const QString a = Aufnahme(QStringLiteral("a.wav"), erstes);
    const QString b = Aufnahme(QStringLiteral("b.wav"), zweites);
    auto form = NeueForm();
    skript.WaehleDateien({a, b});
    Waehle(form.get(), "MenueHaupt_ImportExport_ImportWAV");
    ASSERT_EQ(skript.dialogeMehrfach.size(), 1);
    EXPECT_TRUE(skript.dialogeMehrfach.last()) << "the dialog takes several files";
    ASSERT_TRUE(form->HoleDatei().IstGeladen()) << skript.Texte().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(form->HoleDatei().HoleMZDateiName(), QStringLiteral("WORN"));
    EXPECT_EQ(GeladenerRumpf(*form), Rumpf());
    EXPECT_EQ(form->HoleDatei().HoleBefund().zustand, TDateiBefund::TZustand::Repariert);
    EXPECT_TRUE(skript.nachrichten.isEmpty()) << skript.Texte().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(LiesVerzeichnisWAVDateien(), QDir::toNativeSeparators(ordner));
}

TEST_F(RettungImFenster, EineBeschaedigteDateiNurNachDerWarnung) {
    BandBau::TBand band(Mzf());
    const QString wav = Aufnahme(QStringLiteral("still.wav"), band, band.RumpfInBeidenKopien(20, 26));
    auto form = NeueForm();
    const QString frage =
        QStringLiteral("The MZ-file WORN could not be fully recovered from the tape (damaged, ");
    skript.WaehleDatei(wav);
    skript.Antworte(TAntwort::Nein);
    Waehle(form.get(), "MenueHaupt_ImportExport_ImportWAV");
    ASSERT_EQ(skript.nachrichten.size(), 1);
    EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Warnung);
    EXPECT_TRUE(skript.nachrichten[0].frage);
    EXPECT_TRUE(skript.nachrichten[0].text.startsWith(frage)) << skript.nachrichten[0].text.toStdString();
    EXPECT_TRUE(skript.nachrichten[0].text.endsWith(
        QStringLiteral(" uncertain bytes): its uncertain bytes may be wrong. Another recording of the tape, "
                       "selected together with this one in the WAV import, may give it whole.\r\n\r\nUse it "
                       "anyway?")));
    EXPECT_FALSE(form->HoleDatei().IstGeladen());
    EXPECT_FALSE(form->IstBeschaeftigt());

    skript.Leeren();
    skript.WaehleDatei(wav);
    skript.Antworte(TAntwort::Ja);
    skript.Antworte(TAntwort::Nein); // nothing whole came back: the tape view is offered
    Waehle(form.get(), "MenueHaupt_ImportExport_ImportWAV");
    ASSERT_EQ(skript.nachrichten.size(), 2);
    EXPECT_TRUE(skript.nachrichten[1].text.startsWith(QStringLiteral("Show the recording in the tape view")));
    ASSERT_TRUE(form->HoleDatei().IstGeladen());
    EXPECT_EQ(form->HoleDatei().HoleBefund().zustand, TDateiBefund::TZustand::Beschaedigt);
    EXPECT_EQ(GeladenerRumpf(*form).left(16), Rumpf().left(16)) << "the bytes before the dropout";
}

// The selection dialog names each file's state beside it and warns before it takes or saves a
// damaged one.
TEST_F(RettungImFenster, DieAuswahlZeigtDenZustandUndWarnt) {
    std::vector<std::unique_ptr<TMZFDatei>> dateien;
    for (const char* name : {"GANZ", "HEIL", "KAPUTT"}) {
        auto d = std::make_unique<TMZFDatei>();
        ASSERT_TRUE(
            d->Laden(SchreibeTestDatei(ProgrammMZF(name, RumpfMitBytes(8)), QString::fromLatin1(name))));
        dateien.push_back(std::move(d));
    }
    TDateiBefund repariert;
    repariert.zustand = TDateiBefund::TZustand::Repariert;
    repariert.rumpfRepariert = true;
    dateien[1]->SetzeBefund(repariert);
    TDateiBefund beschaedigt;
    beschaedigt.zustand = TDateiBefund::TZustand::Beschaedigt;
    beschaedigt.unsichereBereiche = {{2, 5}};
    dateien[2]->SetzeBefund(beschaedigt);
    QWidget besitzer;
    TFormAuswahlMZDatei dialog(&besitzer, dateien);
    dialog.show();
    QStringList zeilen;
    for (int i = 0; i < dialog.ListBoxMZDateien->count(); ++i)
        zeilen << dialog.ListBoxMZDateien->item(i)->text();
    EXPECT_EQ(zeilen, (QStringList{QStringLiteral("GANZ (8 bytes)"),
                                   QStringLiteral("HEIL (8 bytes) \u2013 repaired (body)"),
                                   QStringLiteral("KAPUTT (8 bytes) \u2013 damaged, 3 uncertain bytes")}));

    // A repaired file is taken as any other.
    dialog.ListBoxMZDateien->setCurrentRow(1);
    dialog.ButtonImport->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(skript.nachrichten.isEmpty());

    // A damaged one: No keeps the dialog open and saves nothing, Yes takes it.
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    dialog.ListBoxMZDateien->setCurrentRow(2);
    skript.Antworte(TAntwort::Nein);
    dialog.ButtonSpeichernAlsMZFDatei->click();
    EXPECT_TRUE(skript.dialoge.isEmpty()) << "no save dialog after No";
    skript.Antworte(TAntwort::Nein);
    dialog.ButtonImport->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    ASSERT_EQ(skript.nachrichten.size(), 2);
    EXPECT_EQ(
        skript.nachrichten[1].text,
        QStringLiteral("The MZ-file KAPUTT could not be fully recovered from the tape (damaged, 3 uncertain "
                       "bytes): its uncertain bytes may be wrong. Another recording of the tape, selected "
                       "together with this one in the WAV import, may give it whole.\r\n\r\nUse it anyway?"));
    skript.Antworte(TAntwort::Ja);
    dialog.ButtonImport->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.AusgewaehlterIndex(), 2);
}

} // namespace

// A file whose name a dropout took in both copies of its header: no file to import, and the
// message that nothing was found tells where the file whose header could not be read lies.
TEST_F(RettungImFenster, EineDateiOhneLesbarenKopfNenntDieMeldung) {
    BandBau::TBand band(Mzf());
    const QString wav =
        Aufnahme(QStringLiteral("kopflos.wav"), band, band.KopfInBeidenKopien(1, TMZFDatei::NameLaenge));
    auto form = NeueForm();
    skript.WaehleDatei(wav);
    skript.Antworte(TAntwort::Nein); // not now to the tape view
    Waehle(form.get(), "MenueHaupt_ImportExport_ImportWAV");
    EXPECT_FALSE(form->HoleDatei().IstGeladen());
    ASSERT_EQ(skript.nachrichten.size(), 2);
    EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Fehler);
    // The long mark begins after the leader's short pulses, a tenth of a second of silence first.
    const double marke =
        (BandBau::Rate / 10 + BandBau::Vorlauf * 2 * BandBau::KurzHalb) / static_cast<double>(BandBau::Rate);
    const QRegularExpression hinweis(QStringLiteral(
        "\r\n\r\nHint: Where the extended decoding found the marks and the body of a file but could not read "
        "its header: 0:(\\d\\d\\.\\d\\d)\\. Another recording of the tape may give such a file whole "
        "\\(select several recordings at once in the WAV import\\)\\.$"));
    const QRegularExpressionMatch treffer = hinweis.match(skript.nachrichten[0].text);
    ASSERT_TRUE(treffer.hasMatch()) << skript.nachrichten[0].text.toStdString();
    EXPECT_NEAR(treffer.captured(1).toDouble(), marke, 0.011);
    EXPECT_TRUE(skript.nachrichten[0].text.startsWith(QStringLiteral("The WAV-file ")));

    // Without the extended decoding, the message is as it was: the hint to switch it on.
    SchreibeImportErweiterteDekodierung(false);
    skript.Leeren();
    skript.WaehleDatei(wav);
    skript.Antworte(TAntwort::Nein);
    Waehle(form.get(), "MenueHaupt_ImportExport_ImportWAV");
    ASSERT_EQ(skript.nachrichten.size(), 2);
    EXPECT_FALSE(skript.nachrichten[0].text.contains(QStringLiteral("could not read")));
}

// The same headless file before a whole one on one tape: the whole one is imported, and the user
// is told first of the file whose header could not be read.
TEST_F(RettungImFenster, EineDateiOhneLesbarenKopfNebenEinerGanzen) {
    const BandBau::TBand kopflos(Mzf());
    const QByteArray ganzRumpf = RumpfMitBytes(40, 0x20);
    const BandBau::TBand ganz(ProgrammMZF("WHOLE", ganzRumpf));
    const QString wav = ordner + QStringLiteral("/zwei.wav");
    SchreibeDatei(
        wav, BandBau::WAV(kopflos.bits + ganz.bits, kopflos.KopfInBeidenKopien(1, TMZFDatei::NameLaenge)));
    auto form = NeueForm();
    skript.WaehleDatei(wav);
    Waehle(form.get(), "MenueHaupt_ImportExport_ImportWAV");
    ASSERT_TRUE(form->HoleDatei().IstGeladen()) << skript.Texte().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(form->HoleDatei().HoleMZDateiName(), QStringLiteral("WHOLE"));
    EXPECT_EQ(GeladenerRumpf(*form), ganzRumpf);
    ASSERT_EQ(skript.nachrichten.size(), 1) << skript.Texte().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(skript.nachrichten[0].art, TNachrichtArt::Information);
    EXPECT_FALSE(skript.nachrichten[0].frage);
    const double marke =
        (BandBau::Rate / 10 + BandBau::Vorlauf * 2 * BandBau::KurzHalb) / static_cast<double>(BandBau::Rate);
    const QRegularExpression hinweis(QStringLiteral(
        "^Hint: Where the extended decoding found the marks and the body of a file but could not read "
        "its header: 0:(\\d\\d\\.\\d\\d)\\. Another recording of the tape"));
    const QRegularExpressionMatch treffer = hinweis.match(skript.nachrichten[0].text);
    ASSERT_TRUE(treffer.hasMatch()) << skript.nachrichten[0].text.toStdString();
    EXPECT_NEAR(treffer.captured(1).toDouble(), marke, 0.011);
    EXPECT_FALSE(form->IstBeschaeftigt());

    // The standard decoding knows nothing of such files: the whole one, without a word.
    skript.Antworte(TAntwort::Nein); // an imported file is not saved yet: not now
    Waehle(form.get(), "MenueHaupt_Datei_Schliessen");
    ASSERT_FALSE(form->HoleDatei().IstGeladen());
    SchreibeImportErweiterteDekodierung(false);
    skript.Leeren();
    skript.WaehleDatei(wav);
    Waehle(form.get(), "MenueHaupt_ImportExport_ImportWAV");
    ASSERT_TRUE(form->HoleDatei().IstGeladen());
    EXPECT_EQ(form->HoleDatei().HoleMZDateiName(), QStringLiteral("WHOLE"));
    EXPECT_TRUE(skript.nachrichten.isEmpty()) << skript.Texte().join(QLatin1Char('|')).toStdString();
}
