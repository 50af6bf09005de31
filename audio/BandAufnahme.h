// Records a cassette from a sound input and decodes it as it plays: the frames go to the
// import's search (TWAVSuche over the multi-pass decoder) block by block, so that each MZ file is
// there as soon as its body has been read; the input level is measured for a meter; the whole
// recording can be kept as a WAV file for a later, slower look. The device is read by a thread of
// the recorder's own.
#pragma once

#include "AudioFaden.h"
#include "BandEinstellungen.h"
#include "MZFDatei.h"

#include <memory>
#include <vector>

class TAufnahmeArbeiter;

class TBandAufnahme : public TAudioFaden {
    Q_OBJECT
public:
    // The rate asked of the input: twice the shortest pulse part's needs, as a cassette deck's
    // line input gives it.
    static constexpr int SampleRate = 44100;
    // Longest recording: longer than any cassette side.
    static constexpr qint64 GroessteDauerMs = 3LL * 60 * 60 * 1000;
    // Without frames from the device for so long, it counts as failed.
    static constexpr int StillstandMs = 3000;
    // The meter's thresholds, as shares of full scale: at or above the first the signal clips,
    // below the second for a whole second it is too quiet to decode well.
    static constexpr double UebersteuertAb = 0.98;
    static constexpr double ZuLeiseUnter = 0.05;

    struct TAuftrag {
        QString geraet;                   // empty: the default input
        TBandEinstellungen einstellungen; // the MZ model whose passes decode, the extended decoding
        QString wavDatei;                 // empty: the recording is not kept
        qint64 dauerMs = 0;               // 0: until stopped (at most GroessteDauerMs)
    };

    explicit TBandAufnahme(QObject* pv_eltern = nullptr);

    // Starts recording; a failure when there is no such input, it cannot be started, or the WAV
    // file cannot be made (then nothing records).
    TAudioFehler Starte(const TAuftrag& pv_auftrag);
    // Ends the recording; Beendet follows once the decoding has finished.
    void Stoppe();

    qint64 AufgenommenMs() const;
    // The highest level of the last moments (0 to 1), and what the meter tells of it.
    double Pegel() const;
    bool Uebersteuert() const;
    bool ZuLeise() const;

    // The files found so far, in the order they were found; after Beendet every distinct file
    // in the import's order, and what was passed over.
    const std::vector<std::unique_ptr<TMZFDatei>>& Dateien() const { return m_dateien; }
    const std::vector<TUebersprungenes>& Uebersprungen() const { return m_uebersprungen; }

Q_SIGNALS:
    // A file joined Dateien() (at the index given).
    void DateiGefunden(int pv_index);
    // Keeping the WAV file failed (once); the recording and the decoding go on, the file keeps
    // what came before.
    void WAVFehler(const TAudioFehler& pv_fehler);
    // The recording ended: stopped, its time up, or failed (then the files found are kept).
    void Beendet(const TAudioFehler& pv_fehler);

private:
    friend class TAufnahmeArbeiter;
    void Gefunden(std::unique_ptr<TMZFDatei> pv_datei);
    void Fertig(std::vector<std::unique_ptr<TMZFDatei>> pv_dateien,
                std::vector<TUebersprungenes> pv_uebersprungen, const TAudioFehler& pv_fehler);

    TAufnahmeArbeiter* m_arbeiter = nullptr; // lives in the thread
    std::vector<std::unique_ptr<TMZFDatei>> m_dateien;
    std::vector<TUebersprungenes> m_uebersprungen;
};
