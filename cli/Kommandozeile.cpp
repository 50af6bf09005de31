#include "Kommandozeile.h"

#include "Anzeige.h"
#include "BandAnalyse.h"
#include "Bandbericht.h"
#include "BasicListe.h"
#include "DateiPfad.h"
#include "Entpacken.h"
#include "Fortschrittsbalken.h"
#include "FreieNamen.h"
#include "Ganzzahl.h"
#include "Gebrauch.h"
#include "Konvertieren.h"
#include "MZFDatei.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"
#include "Tonbandgeraet.h"
#include "Z80Disassembler.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <exception>
#include <limits>
#include <optional>

namespace {
const QString Version = QStringLiteral("Bandwerk " BANDWERK_VERSION);

struct TAufruf {
    QString befehl;
    QStringList dateien;
    std::optional<bool> englisch; // from --lang
    bool json = false;
    // WAV output; unset options keep the stored settings.
    std::optional<quint16> sampleRate;
    std::optional<bool> verkuerzt;      // --short / --full
    std::optional<bool> invertiert;     // --inverted / --normal
    std::optional<quint8> modell;       // from --model; unset keeps the stored model
    std::optional<bool> erweitert;      // --extended / --standard
    bool beschaedigteSchreiben = false; // extract --keep-damaged
    // What dump shows of the body: the hex dump, unless --basic or --z80 asks for a listing.
    bool basic = false;
    bool z80 = false;
    std::optional<TBasicDialekt> dialekt; // from --dialect; unset: detected from the file
    std::optional<int> codeAnfang;        // from --offset
    // The tape deck: the sound device, its list, how long to record, where to keep the recording.
    QString geraet;
    bool geraeteListe = false;
    std::optional<int> sekunden;
    QString wavBehalten;
    // scan: the picture instead of the report, and the stretch of the recording it shows.
    QString bild;
    std::optional<double> von;
    std::optional<double> bis;
    bool hilfe = false;
    bool version = false;
};

// The commands with the number of file names each takes (at least, at most).
struct TBefehl {
    const char* name;
    int dateien;
    int hoechstens;
};
constexpr int Beliebig = std::numeric_limits<int>::max();
constexpr TBefehl Befehle[] = {{"info", 1, 1},           {"dump", 1, 1},           {"list", 1, Beliebig},
                               {"convert", 2, Beliebig}, {"extract", 2, Beliebig}, {"scan", 1, 1},
                               {"play", 1, Beliebig},    {"record", 1, 1}};
// The longest recording --seconds asks for: three hours.
constexpr int GroessteSekunden = 3 * 60 * 60;
// The sound devices of the settings (empty: the system's default), read with the other settings.
QString g_ausgabeGeraet;
QString g_eingabeGeraet;

int Aufruffehler(QTextStream& fehler, const QString& grund) {
    fehler << "bandwerk-cli: " << grund << "\n\n" << Gebrauch();
    fehler.flush();
    return ExitAufruf;
}

// The options of dump's listings belong to dump, and each to its own listing.
std::optional<QString> PruefeInhaltsOptionen(const TAufruf& aufruf) {
    if ((aufruf.basic || aufruf.z80) && aufruf.befehl != QLatin1String("dump"))
        return QStringLiteral("--basic and --z80 are options of dump only");
    if (aufruf.basic && aufruf.z80)
        return QStringLiteral("--basic and --z80 exclude each other");
    if (aufruf.dialekt && !aufruf.basic)
        return QStringLiteral("--dialect is an option of dump --basic only");
    if (aufruf.codeAnfang && !aufruf.z80)
        return QStringLiteral("--offset is an option of dump --z80 only");
    return std::nullopt;
}

// The tape deck's options belong to play and record, and --seconds and --keep-wav to record.
std::optional<QString> PruefeTonbandOptionen(const TAufruf& aufruf) {
    const bool deck = aufruf.befehl == QLatin1String("play") || aufruf.befehl == QLatin1String("record");
    if ((!aufruf.geraet.isNull() || aufruf.geraeteListe) && !deck)
        return QStringLiteral("--device and --list-devices are options of play and record only");
    if ((aufruf.sekunden || !aufruf.wavBehalten.isNull()) && aufruf.befehl != QLatin1String("record"))
        return QStringLiteral("--seconds and --keep-wav are options of record only");
    if (!aufruf.wavBehalten.isNull() && DateiArtVonEndung(aufruf.wavBehalten) != TDateiArt::WAV)
        return QStringLiteral("--keep-wav names a .wav file");
    return std::nullopt;
}

// The inputs of list and extract: one file of any kind, or several recordings of one tape.
std::optional<QString> PruefeAufnahmen(const TAufruf& aufruf) {
    if (aufruf.beschaedigteSchreiben && aufruf.befehl != QLatin1String("extract"))
        return QStringLiteral("--keep-damaged is an option of extract only");
    const bool entpacken = aufruf.befehl == QLatin1String("extract");
    if (aufruf.befehl != QLatin1String("list") && !entpacken)
        return std::nullopt;
    const QStringList eingaben =
        entpacken ? aufruf.dateien.mid(0, aufruf.dateien.size() - 1) : aufruf.dateien;
    if (eingaben.size() < 2)
        return std::nullopt;
    for (const QString& d : eingaben)
        if (DateiArtVonEndung(d) != TDateiArt::WAV)
            return QStringLiteral("%1 reads several files only as recordings of one tape: .wav files")
                .arg(aufruf.befehl);
    return std::nullopt;
}

// The options that take a value, and the switches.
struct TOptionen {
    QCommandLineOption lang{QStringLiteral("lang"), QString(), QStringLiteral("de|en")};
    QCommandLineOption json{QStringLiteral("json")};
    QCommandLineOption rate{QStringLiteral("rate"), QString(), QStringLiteral("HZ")};
    QCommandLineOption model{QStringLiteral("model"), QString(), QStringLiteral("MODEL")};
    QCommandLineOption dialect{QStringLiteral("dialect"), QString(), QStringLiteral("NAME")};
    QCommandLineOption offset{QStringLiteral("offset"), QString(), QStringLiteral("N")};
    QCommandLineOption device{QStringLiteral("device"), QString(), QStringLiteral("NAME")};
    QCommandLineOption seconds{QStringLiteral("seconds"), QString(), QStringLiteral("N")};
    QCommandLineOption keepWav{QStringLiteral("keep-wav"), QString(), QStringLiteral("FILE")};
    QCommandLineOption plot{QStringLiteral("plot"), QString(), QStringLiteral("FILE")};
    QCommandLineOption from{QStringLiteral("from"), QString(), QStringLiteral("SEC")};
    QCommandLineOption to{QStringLiteral("to"), QString(), QStringLiteral("SEC")};
    QStringList schalter = {
        QStringLiteral("short"),   QStringLiteral("full"),         QStringLiteral("inverted"),
        QStringLiteral("normal"),  QStringLiteral("extended"),     QStringLiteral("standard"),
        QStringLiteral("basic"),   QStringLiteral("z80"),          QStringLiteral("help"),
        QStringLiteral("version"), QStringLiteral("list-devices"), QStringLiteral("keep-damaged")};

    void Melde(QCommandLineParser& parser) const {
        parser.addOptions(
            {lang, json, rate, model, dialect, offset, device, seconds, keepWav, plot, from, to});
        for (const QString& s : schalter)
            parser.addOption(QCommandLineOption(s));
    }
};

// --lang, --rate and --model.
std::optional<QString> LiesBandWerte(const QCommandLineParser& parser, const TOptionen& o, TAufruf& aufruf) {
    for (const QString& sprache : parser.values(o.lang)) {
        const QString klein = sprache.toLower();
        if (klein != QLatin1String("de") && klein != QLatin1String("en"))
            return QStringLiteral("unknown language \"%1\" (de or en)").arg(sprache);
        aufruf.englisch = klein == QLatin1String("en");
    }
    for (const QString& wert : parser.values(o.rate)) {
        bool ok = false;
        const int hz = wert.toInt(&ok);
        if (!ok || hz < MinSampleRate || hz > MaxSampleRate)
            return QStringLiteral("--rate: \"%1\" is not a sample rate from %2 to %3 Hz")
                .arg(wert)
                .arg(MinSampleRate)
                .arg(MaxSampleRate);
        aufruf.sampleRate = static_cast<quint16>(hz);
    }
    for (const QString& name : parser.values(o.model)) {
        std::optional<quint8> gefunden;
        for (quint8 m = 0; m < AnzahlMZModelle; ++m)
            if (name.compare(MZModellName(m), Qt::CaseInsensitive) == 0)
                gefunden = m;
        if (!gefunden)
            return QStringLiteral("unknown MZ model \"%1\" (%2)").arg(name, ModellListe());
        aufruf.modell = gefunden;
    }
    return std::nullopt;
}

// --dialect and --offset of dump's listings.
std::optional<QString> LiesInhaltsWerte(const QCommandLineParser& parser, const TOptionen& o,
                                        TAufruf& aufruf) {
    for (const QString& name : parser.values(o.dialect)) {
        aufruf.dialekt = BasicDialektAusKurzname(name);
        if (!aufruf.dialekt)
            return QStringLiteral("unknown BASIC dialect \"%1\" (%2)").arg(name, DialektListe());
    }
    for (const QString& wert : parser.values(o.offset)) {
        const std::optional<qint32> zahl = TextNachGanzzahl(wert);
        if (!zahl || *zahl < 0 || *zahl > TMZFDatei::MaxRumpfGroesse)
            return QStringLiteral("--offset: \"%1\" is not an offset from 0 to %2 (decimal, or hexadecimal "
                                  "after $ or 0x)")
                .arg(wert)
                .arg(TMZFDatei::MaxRumpfGroesse);
        aufruf.codeAnfang = *zahl;
    }
    return std::nullopt;
}

// The tape deck's --seconds, --device and --keep-wav, and scan's --plot, --from and --to.
std::optional<QString> LiesGeraeteWerte(const QCommandLineParser& parser, const TOptionen& o,
                                        TAufruf& aufruf) {
    for (const QString& wert : parser.values(o.seconds)) {
        bool ok = false;
        const int n = wert.toInt(&ok);
        if (!ok || n < 1 || n > GroessteSekunden)
            return QStringLiteral("--seconds: \"%1\" is not a number of seconds from 1 to %2")
                .arg(wert)
                .arg(GroessteSekunden);
        aufruf.sekunden = n;
    }
    for (const QString& wert : parser.values(o.device))
        aufruf.geraet = wert;
    for (const QString& wert : parser.values(o.keepWav))
        aufruf.wavBehalten = wert;
    for (const QString& wert : parser.values(o.plot))
        aufruf.bild = wert;
    for (const auto& [option, ziel] : {std::pair{&o.from, &aufruf.von}, std::pair{&o.to, &aufruf.bis}})
        for (const QString& wert : parser.values(*option)) {
            bool ok = false;
            const double sekunden = wert.toDouble(&ok);
            if (!ok || !(sekunden >= 0.0))
                return QStringLiteral("--%1: \"%2\" is not a number of seconds")
                    .arg(option->names().first(), wert);
            *ziel = sekunden;
        }
    return std::nullopt;
}

void LiesSchalter(const QCommandLineParser& parser, const TOptionen& o, TAufruf& aufruf) {
    aufruf.geraeteListe = parser.isSet(QStringLiteral("list-devices"));
    // Switches in the order they were given: the last of a pair counts.
    for (const QString& name : parser.optionNames()) {
        if (name == QLatin1String("short") || name == QLatin1String("full"))
            aufruf.verkuerzt = name == QLatin1String("short");
        else if (name == QLatin1String("inverted") || name == QLatin1String("normal"))
            aufruf.invertiert = name == QLatin1String("inverted");
        else if (name == QLatin1String("extended") || name == QLatin1String("standard"))
            aufruf.erweitert = name == QLatin1String("extended");
    }
    aufruf.json = parser.isSet(o.json);
    aufruf.basic = parser.isSet(QStringLiteral("basic"));
    aufruf.z80 = parser.isSet(QStringLiteral("z80"));
    aufruf.beschaedigteSchreiben = parser.isSet(QStringLiteral("keep-damaged"));
    aufruf.hilfe = parser.isSet(QStringLiteral("help"));
    aufruf.version = parser.isSet(QStringLiteral("version"));
}

// scan's options, and the options that only convert to a .wav file and play take.
std::optional<QString> PruefeAusgabeOptionen(const TAufruf& aufruf) {
    if (aufruf.json && aufruf.befehl != QLatin1String("info") && aufruf.befehl != QLatin1String("list") &&
        aufruf.befehl != QLatin1String("scan"))
        return QStringLiteral("--json is an option of info, list and scan only");
    if (aufruf.befehl == QLatin1String("scan") && DateiArtVonEndung(aufruf.dateien[0]) != TDateiArt::WAV)
        return QStringLiteral("scan reads a .wav file only");
    if ((!aufruf.bild.isNull() || aufruf.von || aufruf.bis) && aufruf.befehl != QLatin1String("scan"))
        return QStringLiteral("--plot, --from and --to are options of scan only");
    if ((aufruf.von || aufruf.bis) && aufruf.bild.isNull())
        return QStringLiteral("--from and --to go with --plot");
    if (aufruf.von && aufruf.bis && *aufruf.bis <= *aufruf.von)
        return QStringLiteral("--to must come after --from");
    if (!aufruf.bild.isNull() && aufruf.json)
        return QStringLiteral("--plot and --json exclude each other");
    if ((aufruf.sampleRate || aufruf.verkuerzt || aufruf.invertiert) &&
        aufruf.befehl != QLatin1String("play") &&
        (aufruf.befehl != QLatin1String("convert") ||
         DateiArtVonEndung(aufruf.dateien.back()) != TDateiArt::WAV))
        return QStringLiteral("--rate, --short, --full, --inverted and --normal are options of convert to a "
                              ".wav file and of play");
    return std::nullopt;
}

// The command and its file names, and the options that belong to some commands only.
std::optional<QString> PruefeBefehl(QStringList positionen, TAufruf& aufruf) {
    if (positionen.isEmpty())
        return QStringLiteral("no command given");
    aufruf.befehl = positionen.takeFirst();
    aufruf.dateien = positionen;

    const TBefehl* befehl = nullptr;
    for (const TBefehl& b : Befehle)
        if (aufruf.befehl == QLatin1String(b.name))
            befehl = &b;
    if (!befehl)
        return QStringLiteral("unknown command \"%1\"").arg(aufruf.befehl);
    if (const auto grund = PruefeTonbandOptionen(aufruf))
        return grund;
    if (aufruf.geraeteListe && aufruf.dateien.isEmpty())
        return std::nullopt;
    if (aufruf.dateien.size() < befehl->dateien || aufruf.dateien.size() > befehl->hoechstens)
        return befehl->hoechstens == befehl->dateien
                   ? QStringLiteral("%1 takes %2 file name(s)").arg(aufruf.befehl).arg(befehl->dateien)
                   : QStringLiteral("%1 takes at least %2 file name(s)")
                         .arg(aufruf.befehl)
                         .arg(befehl->dateien);
    if (aufruf.befehl == QLatin1String("convert") && aufruf.dateien.size() > 2) {
        const TDateiArt nach = DateiArtVonEndung(aufruf.dateien.back());
        if (nach != TDateiArt::WAV && nach != TDateiArt::MZT)
            return QStringLiteral("several MZ files go on one tape: a .wav or .mzt file");
    }
    if (const auto grund = PruefeAufnahmen(aufruf))
        return grund;
    if (const auto grund = PruefeAusgabeOptionen(aufruf))
        return grund;
    // --model, --extended and --standard only matter for recordings (and --model for MZT and WAV
    // output), but every command reads a file that may be one: a script passes them for any input.
    if (const auto grund = PruefeInhaltsOptionen(aufruf))
        return grund;
    for (const QString& d : aufruf.dateien)
        if (d.isEmpty())
            return QStringLiteral("empty file name");
    return std::nullopt;
}

// Fills `aufruf`; answers the reason of a usage error, or nothing. Every occurrence of an option
// is checked; where an option is given twice, the last one counts.
std::optional<QString> Zerlege(const QStringList& argumente, TAufruf& aufruf) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const TOptionen optionen;
    optionen.Melde(parser);
    // The parser expects the program's name first.
    if (!parser.parse(QStringList(QStringLiteral("bandwerk-cli")) + argumente))
        return parser.errorText();
    for (const auto lies : {LiesBandWerte, LiesInhaltsWerte, LiesGeraeteWerte})
        if (const auto grund = lies(parser, optionen, aufruf))
            return grund;
    LiesSchalter(parser, optionen, aufruf);
    if (aufruf.hilfe || aufruf.version)
        return std::nullopt;
    return PruefeBefehl(parser.positionalArguments(), aufruf);
}

// The body as a BASIC listing or as Z80 assembler text; a body that is no program of the BASIC
// dialect is refused with the catalogue's reason.
int ZeigeListing(const TAufruf& aufruf, const TMZFDatei& datei, QTextStream& aus, QTextStream& fehler) {
    const std::span<const std::uint8_t> rumpf(datei.Rumpf(), datei.HoleMZDateiGroesse());
    const std::uint16_t ladeAdresse = datei.HoleMZLadeAdresse();
    if (aufruf.z80) {
        const int codeAnfang = aufruf.codeAnfang.value_or(0);
        if (codeAnfang > static_cast<int>(rumpf.size()))
            return Aufruffehler(fehler, QStringLiteral("--offset %1 lies beyond the body of %2 bytes")
                                            .arg(codeAnfang)
                                            .arg(rumpf.size()));
        aus << DisassembliereZ80(rumpf, ladeAdresse, datei.HoleMZStartAdresse(), codeAnfang);
        return ExitErfolg;
    }
    const TBasicDialekt dialekt =
        aufruf.dialekt.value_or(ErkenneBasicDialekt(rumpf, datei.HoleMZDateiAttribut(), ladeAdresse));
    const TBasicListe liste = ListeBasic(rumpf, ladeAdresse, dialekt);
    if (!liste.gueltig) {
        fehler << "bandwerk-cli: " << BasicFehlerText(liste, ladeAdresse) << '\n';
        return ExitFehler;
    }
    for (const QString& zeile : liste.zeilen)
        aus << zeile << '\n';
    return ExitErfolg;
}

// The kind of an input file, or the reason for a usage error.
std::optional<QString> PruefeQuelle(const QString& pfad, TDateiArt& art) {
    art = DateiArtVonEndung(pfad);
    if (art == TDateiArt::Unbekannt)
        return QStringLiteral("unknown file kind of %1").arg(pfad);
    return std::nullopt;
}

// The files of a tape: each input's one MZ file, the first into `datei`, the others into `weitere`.
int LiesBand(const QStringList& eingaben, const TBandEinstellungen& einstellungen, TMZFDatei& datei,
             std::vector<std::unique_ptr<TMZFDatei>>& weitere, std::vector<TUebersprungenes>& uebersprungen,
             bool* keineGefunden, QTextStream& fehler) {
    for (qsizetype i = 0; i < eingaben.size(); ++i) {
        TDateiArt art = TDateiArt::Unbekannt;
        if (const auto grund = PruefeQuelle(eingaben[i], art))
            return Aufruffehler(fehler, *grund);
        if (i > 0)
            weitere.push_back(std::make_unique<TMZFDatei>());
        if (!LiesEineInDatei(art, eingaben[i], einstellungen, i == 0 ? datei : *weitere.back(), uebersprungen,
                             keineGefunden))
            return ExitFehler;
        // What one input passed over is told with that input's name.
        for (const TUebersprungenes& was : uebersprungen)
            fehler << BeschreibeUebersprungenes(eingaben[i], was) << '\n';
        if (!uebersprungen.empty())
            return ExitFehler;
    }
    return ExitErfolg;
}

// convert IN... OUT with several inputs, and play: one tape of every input's MZ file in turn.
int SchreibeOderSpieleBand(const TAufruf& aufruf, const TBandEinstellungen& einstellungen, TMZFDatei& datei,
                           bool* keineGefunden, QTextStream& aus, QTextStream& fehler) {
    const bool spielen = aufruf.befehl == QLatin1String("play");
    const QStringList eingaben = spielen ? aufruf.dateien : aufruf.dateien.mid(0, aufruf.dateien.size() - 1);
    std::vector<std::unique_ptr<TMZFDatei>> weitere;
    std::vector<TUebersprungenes> uebersprungen;
    if (const int status =
            LiesBand(eingaben, einstellungen, datei, weitere, uebersprungen, keineGefunden, fehler))
        return status;
    std::vector<const TMZFDatei*> folgende;
    for (const auto& d : weitere)
        folgende.push_back(d.get());
    if (spielen)
        return SpieleBandAb(datei, folgende, einstellungen,
                            aufruf.geraet.isNull() ? g_ausgabeGeraet : aufruf.geraet, aus, fehler);
    const QString& ziel = aufruf.dateien.back();
    const bool ok = DateiArtVonEndung(ziel) == TDateiArt::WAV
                        ? datei.ExportWAV(ziel, einstellungen, folgende)
                        : datei.ExportMZT(ziel, einstellungen, folgende);
    return ok ? ExitErfolg : ExitFehler;
}

int FuehreAus(const TAufruf& aufruf, const TBandEinstellungen& einstellungen, QTextStream& aus,
              QTextStream& fehler) {
    // A build without the tape deck says so before it reads any file.
    const bool aufnehmen = aufruf.befehl == QLatin1String("record");
    if (aufruf.geraeteListe || (aufnehmen && !TonbandgeraetEingebaut()))
        return ZeigeAudioGeraete(aus, fehler);
    if (aufruf.befehl == QLatin1String("record"))
        return NimmBandAuf(aufruf.dateien[0],
                           {aufruf.geraet.isNull() ? g_eingabeGeraet : aufruf.geraet,
                            aufruf.sekunden.value_or(0), aufruf.wavBehalten, einstellungen},
                           aus, fehler);
    const QString& quelle = aufruf.dateien[0];
    TDateiArt von = TDateiArt::Unbekannt;
    if (const auto grund = PruefeQuelle(quelle, von))
        return Aufruffehler(fehler, *grund);
    if (aufruf.befehl == QLatin1String("play") && !TonbandgeraetEingebaut())
        return ZeigeAudioGeraete(aus, fehler);
    // list and extract read several recordings of one tape as one; what they pass over is told
    // with all their names.
    QStringList eingaben = aufruf.dateien.mid(0, 1);
    if (aufruf.befehl == QLatin1String("list"))
        eingaben = aufruf.dateien;
    else if (aufruf.befehl == QLatin1String("extract"))
        eingaben = aufruf.dateien.mid(0, aufruf.dateien.size() - 1);
    std::vector<TUebersprungenes> uebersprungen;
    int status = ExitErfolg;
    // The record that reads (a recording is decoded with it) and writes; its events draw the bar.
    TMZFDatei datei;
    const TFortschrittsbalken balken(datei, fehler, TFortschrittsbalken::StandardFehlerIstTerminal());
    bool keineGefunden = false;

    if (aufruf.befehl == QLatin1String("scan") && !aufruf.bild.isNull()) {
        status = ZeichneBandbild(quelle, einstellungen, aufruf.bild, aufruf.von.value_or(-1.0),
                                 aufruf.bis.value_or(-1.0), fehler);
    } else if (aufruf.befehl == QLatin1String("scan")) {
        TBandAnalyse analyse;
        if (!AnalysiereWAV(quelle, einstellungen, analyse))
            return ExitFehler;
        ZeigeBandbericht(analyse, aufruf.json, aus);
    } else if (aufruf.befehl == QLatin1String("extract")) {
        status = Entpacke(eingaben, von, einstellungen, aufruf.dateien.back(), aufruf.beschaedigteSchreiben,
                          uebersprungen, datei, aus, fehler, &keineGefunden);
    } else if (aufruf.befehl == QLatin1String("list")) {
        std::vector<std::unique_ptr<TMZFDatei>> dateien;
        if (LiesAlleInListe(von, eingaben, einstellungen, dateien, uebersprungen, datei, &keineGefunden))
            ZeigeListe(dateien, aufruf.json, aus);
        else
            status = ExitFehler;
    } else if (aufruf.befehl == QLatin1String("play") || aufruf.dateien.size() > 2) {
        status = SchreibeOderSpieleBand(aufruf, einstellungen, datei, &keineGefunden, aus, fehler);
    } else if (aufruf.befehl == QLatin1String("convert")) {
        const TDateiArt nach = DateiArtVonEndung(aufruf.dateien[1]);
        if (nach == TDateiArt::Unbekannt)
            return Aufruffehler(fehler, QStringLiteral("unknown file kind of %1").arg(aufruf.dateien[1]));
        if (!LiesEineInDatei(von, quelle, einstellungen, datei, uebersprungen, &keineGefunden) ||
            !SchreibeAusDatei(nach, datei, aufruf.dateien[1], einstellungen))
            status = ExitFehler;
    } else {
        if (!LiesEineInDatei(von, quelle, einstellungen, datei, uebersprungen, &keineGefunden))
            status = ExitFehler;
        else if (aufruf.befehl == QLatin1String("dump") && (aufruf.basic || aufruf.z80))
            status = ZeigeListing(aufruf, datei, aus, fehler);
        else if (aufruf.befehl == QLatin1String("dump"))
            ZeigeRumpf(datei, aus);
        else if (aufruf.json)
            aus << QString::fromUtf8(QJsonDocument(KopfAlsJson(datei)).toJson(QJsonDocument::Compact))
                << '\n';
        else
            ZeigeKopf(datei, aus);
    }
    // A recording that gave nothing: what to try next.
    if (keineGefunden && !einstellungen.erweitert)
        fehler << "bandwerk-cli: hint: --extended may still find MZ files on a worn tape, and reads WAV "
                  "files of "
                  "24 or 32 bits, in floating point and up to 384000 Hz\n";
    if (keineGefunden)
        fehler << "bandwerk-cli: hint: \"bandwerk-cli scan " << quelle << "\" shows what the decoder saw\n";
    // What was complete has been written; what was passed over is told, and the run failed.
    for (const TUebersprungenes& was : uebersprungen)
        fehler << BeschreibeUebersprungenes(eingaben.join(QStringLiteral(", ")), was) << '\n';
    if (!uebersprungen.empty())
        status = ExitFehler;
    return status;
}

// Whether the store holds nothing. Opening it for the values would make its folder, and the
// command line leaves no trace among the user's settings.
bool EinstellungsspeicherIstLeer() {
    const QSettings speicher(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Feldmark"),
                             QStringLiteral("Bandwerk"));
    return speicher.status() == QSettings::NoError && speicher.allKeys().isEmpty();
}

// The settings the command line reads once: language and the tape settings, which its options
// then override for this run. When the store cannot be opened, the defaults serve and one line
// says so; the command line never writes it. The tape settings are handed to every command.
TBandEinstellungen LiesEinstellungen(const TAufruf& aufruf, QTextStream& fehler) {
    // The defaults, which an empty store gives as well.
    TBandEinstellungen gespeichert;
    bool englisch = StandardSpracheIstEnglisch();
    g_ausgabeGeraet.clear();
    g_eingabeGeraet.clear();
    if (!EinstellungsspeicherIstLeer()) {
        try {
            LadeEinstellungen();
            TBandEinstellungen gelesen;
            gelesen.modell = HoleImportExportMZModell();
            gelesen.sampleRate = HoleExportWAVSampleRate();
            gelesen.invertiert = HoleExportWAVInvertiertePolaritaet();
            gelesen.verkuerzt = LiesExportWAVVerkuerztesMZTonbandFormat();
            const bool gespeichertEnglisch = LiesSprache();
            gelesen.erweitert = LiesImportErweiterteDekodierung();
            g_ausgabeGeraet = LiesAudioGeraet(true);
            g_eingabeGeraet = LiesAudioGeraet(false);
            gespeichert = gelesen;
            englisch = gespeichertEnglisch;
        } catch (const TEinstellungenFehler& e) {
            fehler << "bandwerk-cli: warning: " << e.Text() << "; using the default settings\n";
            fehler.flush();
        }
    }
    WaehleSpracheOhneSpeichern(aufruf.englisch.value_or(englisch));
    TBandEinstellungen einstellungen = gespeichert;
    einstellungen.modell = aufruf.modell.value_or(gespeichert.modell);
    einstellungen.sampleRate = aufruf.sampleRate.value_or(gespeichert.sampleRate);
    einstellungen.invertiert = aufruf.invertiert.value_or(gespeichert.invertiert);
    einstellungen.verkuerzt = aufruf.verkuerzt.value_or(gespeichert.verkuerzt);
    einstellungen.erweitert = aufruf.erweitert.value_or(gespeichert.erweitert);
    return einstellungen;
}

// A failed write on standard output (a full disk, a closed pipe) makes the run fail.
int PruefeAusgabe(QTextStream& aus, QTextStream& fehler, int status) {
    aus.flush();
    if (aus.status() == QTextStream::Ok)
        return status;
    const QString grund = aus.device() ? aus.device()->errorString() : QStringLiteral("write failed");
    fehler << "bandwerk-cli: error writing the standard output: " << grund << '\n';
    fehler.flush();
    return ExitFehler;
}
} // namespace

int BandwerkCli(const QStringList& argumente, QTextStream& aus, QTextStream& fehler) {
    TAufruf aufruf;
    if (const auto grund = Zerlege(argumente, aufruf))
        return Aufruffehler(fehler, *grund);
    if (aufruf.hilfe) {
        aus << Gebrauch();
        return PruefeAusgabe(aus, fehler, ExitErfolg);
    }
    if (aufruf.version) {
        aus << Version << '\n';
        return PruefeAusgabe(aus, fehler, ExitErfolg);
    }

    int status = ExitFehler;
    try {
        status = FuehreAus(aufruf, LiesEinstellungen(aufruf, fehler), aus, fehler);
    } catch (const std::exception& e) {
        fehler << "bandwerk-cli: " << e.what() << '\n';
    }
    status = PruefeAusgabe(aus, fehler, status);
    fehler.flush();
    return status;
}
