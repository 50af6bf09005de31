// What the player and the recorder share: the thread their worker lives in (so that a busy window
// does not hold the device up), the choice of the device, and the watch that notices when the
// device goes away. A sound server moves the streams of a device that is unplugged to another one,
// so its disappearance from the device list is what tells.
#pragma once

#include "AudioFehler.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QObject>
#include <QThread>
#include <QTimer>
#include <optional>

// Lives in the thread; ends what it does on Stoppe and tells its owner.
class TAudioArbeiter : public QObject {
public:
    ~TAudioArbeiter() override;
    virtual void Stoppe(const TAudioFehler& pv_fehler) = 0;

protected:
    // Takes a device that was stopped and keeps it until the next one is stopped, or for at least
    // Nachlauf when the worker ends: the sound server's client thread may still answer for the
    // device's stream a moment after the stop, and calls into the device object then.
    void Ausmustern(QObject* pv_geraet);
    static constexpr qint64 NachlaufMs = 500;

private:
    QObject* m_ausgemustert = nullptr;
    QElapsedTimer m_seitAusmustern;
};

class TAudioFaden : public QObject {
public:
    bool Laeuft() const { return m_laeuft; }
    // The device's description.
    QString GeraetName() const { return m_geraetName; }

protected:
    TAudioFaden(QObject* pv_eltern, bool pv_ausgabe);
    // Stops the worker (waiting for it) and ends the thread.
    ~TAudioFaden() override;
    TAudioFaden(const TAudioFaden&) = delete;
    TAudioFaden& operator=(const TAudioFaden&) = delete;

    // Moves the worker into the thread, which starts and deletes it at its end.
    void Beherberge(TAudioArbeiter* pv_arbeiter, const QString& pv_name);
    // The device of that name (empty: the default), or the failure of there being none.
    std::optional<QAudioDevice> WaehleGeraet(const QString& pv_name, TAudioFehler& pv_fehler);
    // After the worker's start: whether it runs; the watch begins.
    void Gestartet(bool pv_laeuft);
    // When the worker has ended; false when it was not running.
    bool Angehalten();
    // Asks the worker to end (with a failure to tell, or none).
    void StoppeArbeiter(const TAudioFehler& pv_fehler = {});

    QString m_geraetName;

private:
    void PruefeGeraet();

    QThread m_faden;
    QTimer m_wache;
    TAudioArbeiter* m_arbeiter = nullptr; // lives in m_faden
    QByteArray m_geraetId;
    bool m_ausgabe;
    bool m_laeuft = false;
};
