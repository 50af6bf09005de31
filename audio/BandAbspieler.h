// Plays the signal of a tape to a sound output, as a cassette player would into an MZ's tape
// input: the samples of the pulse generator (the WAV export's), written to the device by a
// thread of the player's own, so that a busy window or machine does not make the signal stutter.
#pragma once

#include "AudioFaden.h"

#include <memory>

class TMZTonbandSignal;
class TAbspielArbeiter;

class TBandAbspieler : public TAudioFaden {
    Q_OBJECT
public:
    // Without news from the device for so long while it should play, it counts as failed.
    static constexpr int StillstandMs = 3000;

    explicit TBandAbspieler(QObject* pv_eltern = nullptr);

    // Starts the signal on the output of that name (empty: the default output). A failure when
    // there is no such device or it cannot be started; then nothing plays.
    TAudioFehler Starte(std::unique_ptr<TMZTonbandSignal> pv_signal, const QString& pv_geraet);
    void Pause(bool pv_an);
    // Ends at once; Beendet follows (without a failure).
    void Stoppe();

    bool IstPausiert() const { return m_pausiert; }
    // Milliseconds of the signal that the device has played, and of the whole signal.
    qint64 GespieltMs() const;
    qint64 GesamtMs() const { return m_gesamtMs; }
    // How often the device ran dry before the end (each a gap in the signal).
    int Unterlaeufe() const;

Q_SIGNALS:
    // Played to the end, stopped, or failed; in the thread that made the player.
    void Beendet(const TAudioFehler& pv_fehler);

private:
    friend class TAbspielArbeiter;
    void Fertig(const TAudioFehler& pv_fehler);

    TAbspielArbeiter* m_arbeiter = nullptr; // lives in the thread
    bool m_pausiert = false;
    qint64 m_gesamtMs = 0;
};
