#include "Kommandozeile.h"

#include "Fortschrittsbalken.h"
#include "Ganzzahl.h"
#include "Konvertieren.h"
#include "MZFDatei.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <exception>
#include <optional>

namespace {
const QString Version = QStringLiteral("Bandwerk " BANDWERK_VERSION);
// Sample rates a WAV export accepts, as in the settings dialog.
constexpr int MinSampleRate = 8000;
constexpr int MaxSampleRate = 45000;

struct TAufruf {
    QString befehl;
    QStringList dateien;
    std::optional<bool> englisch; // from --lang
    bool json = false;
    // WAV output; unset options keep the stored settings.
    std::optional<quint16> sampleRate;
    std::optional<bool> verkuerzt;  // --short / --full
    std::optional<bool> invertiert; // --inverted / --normal
    std::optional<quint8> modell;   // from --model; unset keeps the stored model
    bool hilfe = false;
    bool version = false;
};

QString Gebrauch() {
    return QStringLiteral(
               "Usage: bandwerk-cli [OPTIONS] COMMAND ARGUMENTS\n"
               "\n"
               "Commands:\n"
               "  info FILE         show the MZ header of an MZF file\n"
               "  dump FILE         show the body of an MZF file as a hex dump\n"
               "  convert IN OUT    convert an MZ file; the kinds follow the extensions (%1)\n"
               "  extract IN DIR    write every MZ file that IN holds as DIR/NAME.mzf\n"
               "\n"
               "Options:\n"
               "  --lang de|en      language of the messages (default: the language Bandwerk uses)\n"
               "  --json            info: print the header as one JSON object\n"
               "  --rate HZ         WAV output: sample rate, 8000 to 45000 (default: the stored rate)\n"
               "  --short, --full   WAV output: shortened or full tape format (default: the stored format)\n"
               "  --inverted, --normal\n"
               "                    WAV output: inverted or normal polarity (default: the stored polarity)\n"
               "  --model MODEL     convert: MZ model for MZT and WAV output, one of MZ-80K, MZ-80C,\n"
               "                    MZ-80A, MZ-80B, MZ-700, MZ-800 (default: the stored model)\n"
               "  --help            show this text\n"
               "  --version         show the version\n"
               "\n"
               "Exit status: 0 success, 1 failure, 2 usage error.\n")
        .arg(BekannteEndungen());
}

int Aufruffehler(QTextStream& fehler, const QString& grund) {
    fehler << "bandwerk-cli: " << grund << "\n\n" << Gebrauch();
    fehler.flush();
    return ExitAufruf;
}

// Fills `aufruf`; answers the reason of a usage error, or nothing.
std::optional<QString> Zerlege(const QStringList& argumente, TAufruf& aufruf) {
    bool nurNochDateien = false;
    QStringList positionen;
    for (qsizetype i = 0; i < argumente.size(); ++i) {
        const QString& a = argumente[i];
        if (nurNochDateien || !a.startsWith(QLatin1String("--")) || a.size() == 2) {
            if (a == QLatin1String("--") && !nurNochDateien)
                nurNochDateien = true;
            else
                positionen << a;
            continue;
        }
        if (a == QLatin1String("--help")) {
            aufruf.hilfe = true;
        } else if (a == QLatin1String("--version")) {
            aufruf.version = true;
        } else if (a == QLatin1String("--json")) {
            aufruf.json = true;
        } else if (a == QLatin1String("--short") || a == QLatin1String("--full")) {
            aufruf.verkuerzt = a == QLatin1String("--short");
        } else if (a == QLatin1String("--inverted") || a == QLatin1String("--normal")) {
            aufruf.invertiert = a == QLatin1String("--inverted");
        } else if (a == QLatin1String("--rate") || a.startsWith(QLatin1String("--rate="))) {
            QString wert;
            if (a == QLatin1String("--rate")) {
                if (i + 1 >= argumente.size())
                    return QStringLiteral("--rate needs a sample rate in Hz");
                wert = argumente[++i];
            } else {
                wert = a.mid(7);
            }
            bool ok = false;
            const int rate = wert.toInt(&ok);
            if (!ok || rate < MinSampleRate || rate > MaxSampleRate)
                return QStringLiteral("--rate: \"%1\" is not a sample rate from %2 to %3 Hz")
                    .arg(wert)
                    .arg(MinSampleRate)
                    .arg(MaxSampleRate);
            aufruf.sampleRate = static_cast<quint16>(rate);
        } else if (a == QLatin1String("--model") || a.startsWith(QLatin1String("--model="))) {
            QString name;
            if (a == QLatin1String("--model")) {
                if (i + 1 >= argumente.size())
                    return QStringLiteral("--model needs an MZ model");
                name = argumente[++i];
            } else {
                name = a.mid(8);
            }
            for (quint8 m = 0; m < AnzahlMZModelle; ++m)
                if (name.compare(MZModellName(m), Qt::CaseInsensitive) == 0)
                    aufruf.modell = m;
            if (!aufruf.modell)
                return QStringLiteral(
                           "unknown MZ model \"%1\" (MZ-80K, MZ-80C, MZ-80A, MZ-80B, MZ-700, MZ-800)")
                    .arg(name);
        } else if (a == QLatin1String("--lang") || a.startsWith(QLatin1String("--lang="))) {
            QString sprache;
            if (a == QLatin1String("--lang")) {
                if (i + 1 >= argumente.size())
                    return QStringLiteral("--lang needs de or en");
                sprache = argumente[++i];
            } else {
                sprache = a.mid(7);
            }
            sprache = sprache.toLower();
            if (sprache == QLatin1String("de"))
                aufruf.englisch = false;
            else if (sprache == QLatin1String("en"))
                aufruf.englisch = true;
            else
                return QStringLiteral("unknown language \"%1\" (de or en)").arg(sprache);
        } else {
            return QStringLiteral("unknown option %1").arg(a);
        }
    }
    if (aufruf.hilfe || aufruf.version)
        return std::nullopt;
    if (positionen.isEmpty())
        return QStringLiteral("no command given");
    aufruf.befehl = positionen.takeFirst();
    aufruf.dateien = positionen;

    qsizetype erwartet = 0;
    if (aufruf.befehl == QLatin1String("info") || aufruf.befehl == QLatin1String("dump"))
        erwartet = 1;
    else if (aufruf.befehl == QLatin1String("convert") || aufruf.befehl == QLatin1String("extract"))
        erwartet = 2;
    else
        return QStringLiteral("unknown command \"%1\"").arg(aufruf.befehl);
    if (aufruf.dateien.size() != erwartet)
        return QStringLiteral("%1 takes %2 file name(s)").arg(aufruf.befehl).arg(erwartet);
    if (aufruf.json && aufruf.befehl != QLatin1String("info"))
        return QStringLiteral("--json is an option of info only");
    if ((aufruf.sampleRate || aufruf.verkuerzt || aufruf.invertiert) &&
        (aufruf.befehl != QLatin1String("convert") || DateiArtVonEndung(aufruf.dateien[1]) != TDateiArt::WAV))
        return QStringLiteral("--rate, --short, --full, --inverted and --normal are options of convert to a "
                              ".wav file");
    if (aufruf.modell && aufruf.befehl != QLatin1String("convert"))
        return QStringLiteral("--model is an option of convert only");
    for (const QString& d : aufruf.dateien)
        if (d.isEmpty())
            return QStringLiteral("empty file name");
    return std::nullopt;
}

QString HexUndDezimal(unsigned wert) {
    return QStringLiteral("%1 (%2)").arg(HexMitDollar(wert, 4)).arg(wert);
}

void ZeigeKopf(const TMZFDatei& datei, QTextStream& aus) {
    const std::uint8_t attribut = datei.HoleMZDateiAttribut();
    const std::pair<QString, QString> zeilen[] = {
        {QStringLiteral("FormHaupt_LabelMZDateiAttribut"),
         QStringLiteral("%1 (%2)").arg(HexMitDollar(attribut, 2), TMZFDatei::HoleMZDateiAttributText(attribut))},
        {QStringLiteral("FormHaupt_LabelMZDateiName"), datei.HoleMZDateiName()},
        {QStringLiteral("FormHaupt_LabelMZDateiGroesse"), HexUndDezimal(datei.HoleMZDateiGroesse())},
        {QStringLiteral("FormHaupt_LabelMZLadeAdresse"), HexUndDezimal(datei.HoleMZLadeAdresse())},
        {QStringLiteral("FormHaupt_LabelMZStartAdresse"), HexUndDezimal(datei.HoleMZStartAdresse())},
        {QStringLiteral("FormHaupt_LabelMZKommentar"), datei.HoleMZKommentar()},
    };
    qsizetype breite = 0;
    for (const auto& [key, wert] : zeilen)
        breite = std::max(breite, HoleText(key).size() + 1);
    for (const auto& [key, wert] : zeilen)
        aus << (HoleText(key) + QLatin1Char(':')).leftJustified(breite + 1) << wert << '\n';
}

void ZeigeKopfJson(const TMZFDatei& datei, QTextStream& aus) {
    const std::uint8_t attribut = datei.HoleMZDateiAttribut();
    QJsonObject o;
    o.insert(QStringLiteral("attribute"), attribut);
    o.insert(QStringLiteral("attributeText"), TMZFDatei::HoleMZDateiAttributText(attribut));
    o.insert(QStringLiteral("name"), datei.HoleMZDateiName());
    o.insert(QStringLiteral("size"), datei.HoleMZDateiGroesse());
    o.insert(QStringLiteral("load"), datei.HoleMZLadeAdresse());
    o.insert(QStringLiteral("start"), datei.HoleMZStartAdresse());
    o.insert(QStringLiteral("comment"), datei.HoleMZKommentar());
    aus << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)) << '\n';
}

void ZeigeRumpf(const TMZFDatei& datei, QTextStream& aus) {
    QString text = datei.HoleMZDateiRumpfText();
    if (text.isEmpty())
        return;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    aus << text << '\n';
}

// The WAV options replace the in-memory settings only; the store is never written. Whatever the
// in-memory values hold already (stored, or set by another option) stays where no option is given.
void UebernehmeWAVOptionen(const TAufruf& aufruf) {
    SetzeImportExportImSpeicher(aufruf.modell.value_or(HoleImportExportMZModell()),
                                aufruf.verkuerzt.value_or(LiesExportWAVVerkuerztesMZTonbandFormat()),
                                aufruf.sampleRate.value_or(HoleExportWAVSampleRate()),
                                aufruf.invertiert.value_or(HoleExportWAVInvertiertePolaritaet()));
}

// Whether a name in the target folder is taken: also by a link whose target is missing, since
// saving would write through it to wherever it points.
bool IstBelegt(const QString& pfad) {
    const QFileInfo info(pfad);
    return info.exists() || info.isSymLink();
}

// Every MZ file of IN as DIR/<cleaned MZ name>.mzf; an existing file is never replaced, the name
// gets "-2", "-3", ... instead. One line per file written.
int Entpacke(const TAufruf& aufruf, QTextStream& aus, QTextStream& fehler) {
    const QString& quelle = aufruf.dateien[0];
    const TDateiArt art = DateiArtVonEndung(quelle);
    if (art == TDateiArt::Unbekannt)
        return Aufruffehler(fehler, QStringLiteral("unknown file kind of %1").arg(quelle));
    if (!IstLesbar(art))
        return Aufruffehler(fehler, QStringLiteral("%1: this kind of file can only be written").arg(quelle));
    const QDir ziel(aufruf.dateien[1]);
    if (!ziel.exists()) {
        fehler << "bandwerk-cli: " << aufruf.dateien[1] << ": no such directory\n";
        return ExitFehler;
    }
    std::vector<std::unique_ptr<TMZFDatei>> dateien;
    if (!LiesAlleInListe(art, quelle, dateien))
        return ExitFehler;
    for (const auto& datei : dateien) {
        QString name = BereinigeDateiname(datei->HoleMZDateiName());
        if (name.isEmpty())
            name = QStringLiteral("unnamed");
        QString pfad = ziel.filePath(name + QStringLiteral(".mzf"));
        for (int nummer = 2; IstBelegt(pfad); ++nummer)
            pfad = ziel.filePath(QStringLiteral("%1-%2.mzf").arg(name).arg(nummer));
        if (!datei->Speichern(pfad))
            return ExitFehler;
        aus << pfad << '\n';
        aus.flush();
    }
    return ExitErfolg;
}

int FuehreAus(const TAufruf& aufruf, QTextStream& aus, QTextStream& fehler) {
    if (aufruf.befehl == QLatin1String("extract"))
        return Entpacke(aufruf, aus, fehler);
    if (aufruf.befehl == QLatin1String("convert")) {
        const TDateiArt von = DateiArtVonEndung(aufruf.dateien[0]);
        const TDateiArt nach = DateiArtVonEndung(aufruf.dateien[1]);
        if (von == TDateiArt::Unbekannt || nach == TDateiArt::Unbekannt)
            return Aufruffehler(
                fehler, QStringLiteral("unknown file kind of %1")
                            .arg(von == TDateiArt::Unbekannt ? aufruf.dateien[0] : aufruf.dateien[1]));
        if (!IstLesbar(von))
            return Aufruffehler(
                fehler, QStringLiteral("%1: this kind of file can only be written").arg(aufruf.dateien[0]));
        TMZFDatei datei;
        const TFortschrittsbalken balken(datei, fehler, TFortschrittsbalken::StandardFehlerIstTerminal());
        if (!LiesInDatei(von, aufruf.dateien[0], datei) || !SchreibeAusDatei(nach, datei, aufruf.dateien[1]))
            return ExitFehler;
        return ExitErfolg;
    }

    TMZFDatei datei;
    if (!datei.Laden(aufruf.dateien[0]))
        return ExitFehler;
    if (aufruf.befehl == QLatin1String("dump"))
        ZeigeRumpf(datei, aus);
    else if (aufruf.json)
        ZeigeKopfJson(datei, aus);
    else
        ZeigeKopf(datei, aus);
    return ExitErfolg;
}
} // namespace

int BandwerkCli(const QStringList& argumente, QTextStream& aus, QTextStream& fehler) {
    TAufruf aufruf;
    if (const auto grund = Zerlege(argumente, aufruf))
        return Aufruffehler(fehler, *grund);
    if (aufruf.hilfe) {
        aus << Gebrauch();
        aus.flush();
        return ExitErfolg;
    }
    if (aufruf.version) {
        aus << Version << '\n';
        aus.flush();
        return ExitErfolg;
    }

    int status = ExitFehler;
    try {
        LadeEinstellungen();
        WaehleSpracheOhneSpeichern(aufruf.englisch.value_or(LiesSprache()));
        UebernehmeWAVOptionen(aufruf);
        status = FuehreAus(aufruf, aus, fehler);
    } catch (const TEinstellungenFehler& e) {
        fehler << e.Text() << '\n';
    } catch (const std::exception& e) {
        fehler << "bandwerk-cli: " << e.what() << '\n';
    }
    aus.flush();
    fehler.flush();
    return status;
}
