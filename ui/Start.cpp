#include "Start.h"

#include "DateiPfad.h"
#include "FormHauptUnit.h"
#include "Plattform.h"
#include "PlattformDesktop.h"
#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include <QMetaObject>
#include <memory>

namespace {
const char* const StartFehlerKopf = "An error occured during the start of the application!\r\n"
                                    "Es ist ein Fehler beim Starten der Anwendung aufgetreten!\r\n\r\n"
                                    "Error-description / Fehlerbeschreibung: \r\n";
const char* const LaufzeitFehlerKopf = "An application-error occured!\r\n"
                                       "Es ist ein Anwendungs-Fehler aufgetreten!\r\n\r\n"
                                       "Error-description / Fehlerbeschreibung: \r\n";
const char* const UnbekannteAusnahme = "Unknown exception";
constexpr int StatusFehler = 1;

// Ends the message loop once it runs (or at once, when it already does).
void BeendenAnfordern() {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}
} // namespace

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
    SetzeSprache(LiesSprache());
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
    SchreibeHaftungsAusschlussAkzeptiert(true);
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
    // Steps 1 and 2: the application object, whose notify is the application-wide handler.
    TBandwerkAnwendung anwendung(argc, argv);
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
        // The arguments as the system gives them: a file name need not be UTF-8.
        QStringList argumente;
        for (int i = 1; i < argc; ++i)
            argumente << PfadAusBytes(QByteArray(argv[i]));
        SetzeKommandozeile(argumente);
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
