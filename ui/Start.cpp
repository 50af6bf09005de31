#include "Start.h"

#include "DateiPfad.h"
#include "FormHauptUnit.h"
#include "Plattform.h"
#include "PlattformDesktop.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include <QCommandLineParser>
#include <QMetaObject>
#include <QTextStream>
#include <memory>
#include <optional>

namespace {
const char* const StartFehlerKopf = "An error occured during the start of the application!\r\n"
                                    "Es ist ein Fehler beim Starten der Anwendung aufgetreten!\r\n\r\n"
                                    "Error-description / Fehlerbeschreibung: \r\n";
const char* const LaufzeitFehlerKopf = "An application-error occured!\r\n"
                                       "Es ist ein Anwendungs-Fehler aufgetreten!\r\n\r\n"
                                       "Error-description / Fehlerbeschreibung: \r\n";
const char* const UnbekannteAusnahme = "Unknown exception";
constexpr int StatusFehler = 1;
constexpr int StatusAufrufFehler = 2;

struct TStartOptionen {
    QCommandLineOption hilfe{{QStringLiteral("h"), QStringLiteral("help")},
                             QStringLiteral("Show this help and end.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and end.")};
};

void RichteParserEin(QCommandLineParser& parser, const TStartOptionen& optionen) {
    parser.setApplicationDescription(QStringLiteral(
        "Bandwerk opens, shows, edits and converts the cassette files of the Sharp MZ computers.\n"
        "Conversions without a window: bandwerk-cli."));
    // Qt's own options are single-dash words (-platform, -reverse): they must not read as a row of
    // short options, -reverse is no -v.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(optionen.hilfe);
    parser.addOption(optionen.version);
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("An MZF file to open, or an MZT file or WAV recording to import, at start."),
        QStringLiteral("[FILE]"));
}

QStringList RoheArgumente(int argc, char** argv) {
    QStringList argumente;
    for (int i = 0; i < argc; ++i)
        argumente << PfadAusBytes(QByteArray(argv[i])); // a file name need not be UTF-8
    return argumente;
}

// --help and --version are answered on standard output before any window exists, so that they
// also work without a display. Nothing when the command line asks for neither.
std::optional<int> BeantworteAuskunft(int argc, char** argv) {
    const TStartAufruf aufruf = ZerlegeStartAufruf(RoheArgumente(argc, argv));
    if (!aufruf.hilfe && !aufruf.version)
        return std::nullopt;
    const QCoreApplication kern(argc, argv); // names the program in the usage line
    QTextStream aus(stdout);
    aus << (aufruf.hilfe ? StartHilfeText() : StartVersionText() + QLatin1Char('\n'));
    return 0;
}

// A write that the store refuses is told and the start goes on; a store that cannot be opened at
// all ends the start.
template <typename F> void SchreibeBeimStart(F schreiben) {
    try {
        schreiben();
    } catch (const TEinstellungenFehler& fehler) {
        if (!fehler.IstSchreibfehler())
            throw;
        ZeigeFehler(fehler.Text());
    }
}

// Ends the message loop once it runs (or at once, when it already does).
void BeendenAnfordern() {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}
} // namespace

TStartAufruf ZerlegeStartAufruf(const QStringList& pv_argumente) {
    const TStartOptionen optionen;
    QCommandLineParser parser;
    RichteParserEin(parser, optionen);
    TStartAufruf aufruf;
    if (!parser.parse(pv_argumente))
        aufruf.fehler = parser.errorText();
    aufruf.hilfe = parser.isSet(optionen.hilfe);
    aufruf.version = parser.isSet(optionen.version);
    aufruf.dateien = parser.positionalArguments();
    return aufruf;
}

QString StartHilfeText() {
    const TStartOptionen optionen;
    QCommandLineParser parser;
    RichteParserEin(parser, optionen);
    return parser.helpText();
}

QString StartVersionText() {
    return QStringLiteral("Bandwerk " BANDWERK_VERSION);
}

QString StartFehlerText(const QString& pv_beschreibung) {
    return QString::fromUtf8(StartFehlerKopf) + pv_beschreibung;
}

QString LaufzeitFehlerText(const QString& pv_beschreibung) {
    return QString::fromUtf8(LaufzeitFehlerKopf) + pv_beschreibung;
}

QString AusnahmeText(const std::exception& pv_ausnahme) {
    if (const auto* einstellungen = dynamic_cast<const TEinstellungenFehler*>(&pv_ausnahme))
        return einstellungen->Text();
    return QString::fromUtf8(pv_ausnahme.what());
}

void ModuleStarten() {
    LadeEinstellungen();
    // The language is stored at every start; a store that cannot be written is told, in that
    // language, and the program goes on.
    const bool englisch = LiesSprache();
    WaehleSpracheOhneSpeichern(englisch);
    SchreibeBeimStart([englisch] { SchreibeSprache(englisch); });
    FormHauptModulStarten();
}

bool HaftungsAusschlussAbfragen() {
    if (LiesHaftungsAusschlussAkzeptiert())
        return true;
    const QString text = HoleText(QStringLiteral("HaftungsAusschlussUeberschrift")) + QStringLiteral("\r\n") +
                         HoleText(QStringLiteral("HaftungsAusschlussText")) + QStringLiteral("\r\n\r\n") +
                         HoleText(QStringLiteral("HaftungsAusschlussFrage"));
    if (FrageBestaetigung(text) != TAntwort::Ja) {
        // Nothing is stored: the question comes again at the next start.
        ZeigeInfo(HoleText(QStringLiteral("HaftungsAusschlussNichtAkzeptiert")));
        return false;
    }
    // Refused by the store: accepted for this run, and the question comes again at the next start.
    SchreibeBeimStart([] { SchreibeHaftungsAusschlussAkzeptiert(true); });
    return true;
}

void StartAbbrechen(const QString& pv_beschreibung) {
    ZeigeFehler(StartFehlerText(pv_beschreibung));
    try {
        QCoreApplication::quit();
    } catch (...) {
        // The process ends anyway.
    }
    Plattform().BeendeSofort(StatusFehler);
}

void BehandleException(const QString& pv_beschreibung) {
    ZeigeFehler(LaufzeitFehlerText(pv_beschreibung));
    BeendenAnfordern();
}

TBandwerkAnwendung::TBandwerkAnwendung(int& argc, char** argv) : QApplication(argc, argv) {}

bool BehandleAusnahmenVon(const std::function<bool()>& pv_zustellung) {
    try {
        return pv_zustellung();
    } catch (const std::exception& ausnahme) {
        BehandleException(AusnahmeText(ausnahme));
    } catch (...) {
        BehandleException(QString::fromUtf8(UnbekannteAusnahme));
    }
    return false;
}

bool TBandwerkAnwendung::notify(QObject* empfaenger, QEvent* event) {
    return BehandleAusnahmenVon([&] { return QApplication::notify(empfaenger, event); });
}

int BandwerkStarten(int argc, char** argv) {
    if (const auto status = BeantworteAuskunft(argc, argv))
        return *status;
    // Steps 1 and 2: the application object, whose notify is the application-wide handler.
    TBandwerkAnwendung anwendung(argc, argv);
    // Qt has taken its own options away; whatever else starts with "-" is a mistake.
    const TStartAufruf aufruf = ZerlegeStartAufruf(RoheArgumente(argc, argv));
    if (!aufruf.fehler.isEmpty()) {
        QTextStream(stderr) << "bandwerk: " << aufruf.fehler << "\n\n" << StartHilfeText();
        return StatusAufrufFehler;
    }
    // Ties the windows to the desktop entry and its icon (Wayland names the application by it).
    QGuiApplication::setDesktopFileName(QStringLiteral(BANDWERK_APP_ID));
    TPlattformDesktop desktop;
    SetzePlattform(&desktop);
    std::unique_ptr<TFormHaupt> formHaupt;
    try {
        ModuleStarten();
        // The disclaimer question already has its buttons in the user's language.
        WendeQtUebersetzungAn();
        QApplication::setApplicationName(QStringLiteral("Bandwerk"));
        if (!HaftungsAusschlussAbfragen()) {
            QCoreApplication::quit();
            Plattform().BeendeSofort(0);
        }
        SetzeKommandozeile(aufruf.dateien);
        formHaupt = std::make_unique<TFormHaupt>();
        // The first show loads the file named on the command line. Its exceptions pass through
        // notify, as every event handler's do.
        formHaupt->show();
    } catch (const std::exception& ausnahme) {
        StartAbbrechen(AusnahmeText(ausnahme));
    } catch (...) {
        StartAbbrechen(QString::fromUtf8(UnbekannteAusnahme));
    }
    if (!formHaupt)
        return StatusFehler; // only when the platform's immediate end came back
    const int status = QApplication::exec();
    // Hiding stores the window's position, also after an exception ended the loop.
    formHaupt->hide();
    formHaupt.reset();
    LeereTextTabelle();
    SetzePlattform(nullptr);
    return status;
}
