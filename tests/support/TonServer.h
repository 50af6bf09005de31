// The sound server of the tests: a real PulseAudio daemon that ./run-tests and CI start
// (tools/tonserver) with a null sink; each test makes its own sink and source on it, so that
// tests running side by side never hear each other.
#pragma once

#include "AudioGeraete.h"
#include "MZFDatei.h"
#include "ProgrammEinstellungen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace TonServer {

// What pactl answers (its standard output, trimmed), or nothing when it fails.
inline std::optional<QString> Pactl(const QStringList& argumente) {
    QProcess p;
    p.start(QStringLiteral("pactl"), argumente);
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// Why no server can be reached, or nothing when one can.
inline std::optional<QString> Fehlt() {
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        return QStringLiteral("no sound server: PULSE_SERVER is not set (./run-tests starts one with "
                              "tools/tonserver)");
    if (!Pactl({QStringLiteral("info")}))
        return QStringLiteral("the sound server %1 does not answer")
            .arg(qEnvironmentVariable("PULSE_SERVER"));
    return std::nullopt;
}

// A tool of the sound server (paplay, parecord), started.
inline std::unique_ptr<QProcess> Werkzeug(const QString& name, const QStringList& argumente) {
    auto p = std::make_unique<QProcess>();
    p->start(name, argumente);
    EXPECT_TRUE(p->waitForStarted()) << name.toStdString();
    return p;
}

// Records what is played to the output into a WAV file (16 bits, mono, 44100 Hz), with the
// server's own recorder; terminate() ends it and completes the file.
inline std::unique_ptr<QProcess> Mitschnitt(const QString& ausgabe, const QString& wavDatei) {
    return Werkzeug(QStringLiteral("parecord"),
                    {QStringLiteral("--device=") + ausgabe + QStringLiteral(".monitor"),
                     QStringLiteral("--file-format=wav"), QStringLiteral("--format=s16le"),
                     QStringLiteral("--rate=44100"), QStringLiteral("--channels=1"), wavDatei});
}

// Plays a WAV file to the output with the server's own player.
inline std::unique_ptr<QProcess> Spiele(const QString& ausgabe, const QString& wavDatei) {
    return Werkzeug(QStringLiteral("paplay"), {QStringLiteral("--device=") + ausgabe, wavDatei});
}

// A file's bytes as an MZF file holds them: header, then body.
inline QByteArray MZFBytes(const TMZFDatei& d) {
    return QByteArray(reinterpret_cast<const char*>(d.Kopf().data()), TMZFDatei::KopfGroesse) +
           QByteArray(reinterpret_cast<const char*>(d.Rumpf()), d.HoleMZDateiGroesse());
}

// Every MZ file a recording holds, decoded as the import decodes (the model the settings hold).
inline std::vector<std::unique_ptr<TMZFDatei>> Dekodiere(const QString& wav) {
    TMZFDatei arbeit;
    std::vector<std::unique_ptr<TMZFDatei>> dateien;
    arbeit.LeseAlleAusWAV(wav, {.modell = HoleImportExportMZModell()}, dateien);
    return dateien;
}

} // namespace TonServer

// In a test that needs the server: without one it is skipped with the reason, and fails in CI.
#define BRAUCHT_TONSERVER()                                                                                  \
    do {                                                                                                     \
        if (const auto grund = TonServer::Fehlt()) {                                                         \
            if (!qEnvironmentVariableIsEmpty("CI"))                                                          \
                FAIL() << grund->toStdString();                                                              \
            GTEST_SKIP() << grund->toStdString();                                                            \
        }                                                                                                    \
    } while (false)

// A null sink of the test's own (an output) and its monitor offered as a source (an input):
// what is played to the one is recorded from the other. Removed when the object goes.
class TEigenesTongeraet {
public:
    // The name gets the process's number, so that test programs running side by side differ.
    explicit TEigenesTongeraet(const QString& name)
        : m_ausgabe(QStringLiteral("%1_%2").arg(name).arg(QCoreApplication::applicationPid())),
          m_eingabe(m_ausgabe + QStringLiteral("_eingang")) {
        const auto senke =
            TonServer::Pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                              QStringLiteral("sink_name=") + m_ausgabe,
                              QStringLiteral("sink_properties=device.description=") + m_ausgabe});
        const auto quelle = TonServer::Pactl(
            {QStringLiteral("load-module"), QStringLiteral("module-remap-source"),
             QStringLiteral("master=%1.monitor").arg(m_ausgabe), QStringLiteral("source_name=") + m_eingabe,
             QStringLiteral("source_properties=device.description=") + m_eingabe});
        EXPECT_TRUE(senke && quelle) << "pactl load-module failed";
        m_module = {quelle.value_or(QString()), senke.value_or(QString())};
        // Qt learns of new devices from the server's events, a moment later on a busy machine.
        QElapsedTimer uhr;
        uhr.start();
        while ((!FindeAudioGeraet(true, m_ausgabe) || !FindeAudioGeraet(false, m_eingabe)) &&
               uhr.elapsed() < GeraeteWarteMs) {
            QCoreApplication::processEvents();
            QThread::msleep(GeraeteTaktMs);
        }
    }
    ~TEigenesTongeraet() { Entfernen(); }
    TEigenesTongeraet(const TEigenesTongeraet&) = delete;
    TEigenesTongeraet& operator=(const TEigenesTongeraet&) = delete;

    const QString& Ausgabe() const { return m_ausgabe; }
    const QString& Eingabe() const { return m_eingabe; }
    // Pulls the device out, as a user unplugs a sound card.
    void Entfernen() {
        for (const QString& modul : m_module)
            if (!modul.isEmpty())
                TonServer::Pactl({QStringLiteral("unload-module"), modul});
        m_module.clear();
    }

private:
    static constexpr qint64 GeraeteWarteMs = 5000;
    static constexpr unsigned long GeraeteTaktMs = 20;
    QString m_ausgabe;
    QString m_eingabe;
    QStringList m_module;
};
