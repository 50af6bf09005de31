#include "Tonbandgeraet.h"

#include "AudioGeraete.h"
#include "BandAbspieler.h"
#include "BandAufnahme.h"
#include "DateiPfad.h"
#include "Fortschrittsbalken.h"
#include "FreieNamen.h"
#include "Kommandozeile.h"
#include "Konvertieren.h"
#include "MZFDatei.h"
#include "MZImpulsGenerator.h"
#include "SprachenTexte.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <csignal>

namespace {

// How often the terminal line is drawn anew.
constexpr int AnzeigeTaktMs = 250;
constexpr qint64 MsProSekunde = 1000;
constexpr int SekundenProMinute = 60;
constexpr int MeterBreite = 20;

std::atomic<bool> g_unterbrochen{false};

void BeimUnterbrechen(int) {
    g_unterbrochen = true;
}

// While it lives, Ctrl+C and a terminate request end the recording instead of the program, so that
// what was recorded is still written.
class TUnterbrechungFangen {
public:
    TUnterbrechungFangen() {
        g_unterbrochen = false;
        struct sigaction aktion {};
        aktion.sa_handler = BeimUnterbrechen;
        sigemptyset(&aktion.sa_mask);
        for (std::size_t i = 0; i < std::size(Signale); ++i)
            ::sigaction(Signale[i], &aktion, &m_bisher[i]);
    }
    ~TUnterbrechungFangen() {
        for (std::size_t i = 0; i < std::size(Signale); ++i)
            ::sigaction(Signale[i], &m_bisher[i], nullptr);
    }
    TUnterbrechungFangen(const TUnterbrechungFangen&) = delete;
    TUnterbrechungFangen& operator=(const TUnterbrechungFangen&) = delete;

private:
    static constexpr int Signale[] = {SIGINT, SIGTERM};
    struct sigaction m_bisher[std::size(Signale)]{};
};

QString Zeit(qint64 ms) {
    const qint64 s = ms / MsProSekunde;
    return QStringLiteral("%1:%2")
        .arg(s / SekundenProMinute)
        .arg(s % SekundenProMinute, 2, 10, QLatin1Char('0'));
}

bool HatEreignisschleife(QTextStream& fehler) {
    if (QCoreApplication::instance())
        return true;
    fehler << "bandwerk-cli: play and record need the program's event loop\n";
    return false;
}

// The recorder's files that were not written yet, once the recording has ended: a file found
// by the final search but never announced.
void SchreibeRest(const TBandAufnahme& aufnahme, const std::vector<std::unique_ptr<TMZFDatei>>& geschrieben,
                  TFreieNamen& namen, QTextStream& aus, int& status) {
    for (const auto& datei : aufnahme.Dateien()) {
        bool schon = false;
        for (const auto& g : geschrieben)
            schon = schon || g->IstGleich(*datei);
        if (!schon && !SchreibeInOrdner(namen, *datei, aus))
            status = ExitFehler;
    }
}

QString Meter(const TBandAufnahme& aufnahme, int dateien) {
    const int voll = static_cast<int>(aufnahme.Pegel() * MeterBreite + 0.5);
    QString zeile = QStringLiteral("\r[%1%2] %3  %4")
                        .arg(QString(voll, QLatin1Char('#')), QString(MeterBreite - voll, QLatin1Char(' ')),
                             Zeit(aufnahme.AufgenommenMs()))
                        .arg(dateien);
    if (aufnahme.Uebersteuert())
        zeile += QStringLiteral("  ") + HoleText(QStringLiteral("Audio_HinweisUebersteuert"));
    else if (aufnahme.ZuLeise())
        zeile += QStringLiteral("  ") + HoleText(QStringLiteral("Audio_HinweisZuLeise"));
    return zeile.leftJustified(79);
}

} // namespace

int SpieleBandAb(const TMZFDatei& erste, const std::vector<const TMZFDatei*>& weitere,
                 const TBandEinstellungen& einstellungen, const QString& geraet, QTextStream&,
                 QTextStream& fehler) {
    if (!HatEreignisschleife(fehler))
        return ExitFehler;
    const TMZImpulsGenerator generator(einstellungen.modell, einstellungen.sampleRate,
                                       einstellungen.invertiert);
    TBandAbspieler spieler;
    TAudioFehler ergebnis;
    QEventLoop schleife;
    QObject::connect(&spieler, &TBandAbspieler::Beendet, &schleife, [&](const TAudioFehler& f) {
        ergebnis = f;
        schleife.quit();
    });
    const TAudioFehler start = spieler.Starte(
        std::make_unique<TMZTonbandSignal>(erste.ErzeugeBandBits(einstellungen, weitere), generator), geraet);
    if (!start.IstOk()) {
        fehler << "bandwerk-cli: " << AudioFehlerText(start) << '\n';
        return ExitFehler;
    }
    const bool terminal = TFortschrittsbalken::StandardFehlerIstTerminal();
    QTimer anzeige;
    QObject::connect(&anzeige, &QTimer::timeout, [&] {
        fehler << "\r" << Zeit(spieler.GespieltMs()) << " / " << Zeit(spieler.GesamtMs()) << "  "
               << spieler.GeraetName();
        fehler.flush();
    });
    if (terminal)
        anzeige.start(AnzeigeTaktMs);
    schleife.exec();
    if (terminal)
        fehler << '\n';
    if (!ergebnis.IstOk()) {
        fehler << "bandwerk-cli: " << AudioFehlerText(ergebnis) << '\n';
        return ExitFehler;
    }
    if (spieler.Unterlaeufe() > 0)
        fehler << "bandwerk-cli: warning: the sound output ran dry " << spieler.Unterlaeufe()
               << " time(s); the MZ may not load this tape\n";
    return ExitErfolg;
}

int NimmBandAuf(const QString& ordner, const TAufnahmeOptionen& optionen, QTextStream& aus,
                QTextStream& fehler) {
    const TPfadInfo ordnerInfo = HolePfadInfo(ordner);
    if (!ordnerInfo.existiert || !ordnerInfo.istVerzeichnis) {
        fehler << "bandwerk-cli: " << ordner << ": no such directory\n";
        return ExitFehler;
    }
    if (!HatEreignisschleife(fehler))
        return ExitFehler;
    TBandAufnahme aufnahme;
    TFreieNamen namen(ordner, PfadIstBelegt);
    std::vector<std::unique_ptr<TMZFDatei>> geschrieben;
    int status = ExitErfolg;
    TAudioFehler ergebnis;
    QEventLoop schleife;
    QObject::connect(&aufnahme, &TBandAufnahme::DateiGefunden, &schleife, [&](int index) {
        auto kopie = TMZFDatei::CreateKopie(*aufnahme.Dateien()[static_cast<std::size_t>(index)]);
        if (!SchreibeInOrdner(namen, *kopie, aus))
            status = ExitFehler;
        geschrieben.push_back(std::move(kopie));
    });
    QObject::connect(&aufnahme, &TBandAufnahme::WAVFehler, &schleife, [&](const TAudioFehler& f) {
        fehler << "\nbandwerk-cli: " << AudioFehlerText(f) << '\n';
        fehler.flush();
        status = ExitFehler;
    });
    QObject::connect(&aufnahme, &TBandAufnahme::Beendet, &schleife, [&](const TAudioFehler& f) {
        ergebnis = f;
        schleife.quit();
    });
    const TUnterbrechungFangen fangen;
    const TAudioFehler start = aufnahme.Starte(
        {optionen.geraet, optionen.einstellungen, optionen.wavDatei, optionen.sekunden * MsProSekunde});
    if (!start.IstOk()) {
        fehler << "bandwerk-cli: " << AudioFehlerText(start) << '\n';
        return ExitFehler;
    }
    const bool terminal = TFortschrittsbalken::StandardFehlerIstTerminal();
    QTimer takt;
    QObject::connect(&takt, &QTimer::timeout, [&] {
        if (g_unterbrochen.exchange(false))
            aufnahme.Stoppe();
        if (terminal) {
            fehler << Meter(aufnahme, static_cast<int>(geschrieben.size()));
            fehler.flush();
        }
    });
    takt.start(AnzeigeTaktMs);
    schleife.exec();
    if (terminal)
        fehler << '\n';
    SchreibeRest(aufnahme, geschrieben, namen, aus, status);
    for (const TUebersprungenes& was : aufnahme.Uebersprungen())
        fehler << BeschreibeUebersprungenes(aufnahme.GeraetName(), was) << '\n';
    if (!ergebnis.IstOk()) {
        fehler << "bandwerk-cli: " << AudioFehlerText(ergebnis) << '\n';
        status = ExitFehler;
    } else if (aufnahme.Dateien().empty()) {
        fehler << "bandwerk-cli: the recording held no MZ file\n";
        status = ExitFehler;
    }
    if (!aufnahme.Uebersprungen().empty())
        status = ExitFehler;
    return status;
}

bool TonbandgeraetEingebaut() {
    return true;
}

int ZeigeAudioGeraete(QTextStream& aus, QTextStream&) {
    for (const QString& zeile : AudioGeraeteZeilen())
        aus << zeile << '\n';
    return ExitErfolg;
}
