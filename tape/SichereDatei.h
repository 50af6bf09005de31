// A file written so that nothing the user had is lost: the bytes go into a temporary file beside
// the target, which is renamed over the target only when it is complete. A failure, a cancel or
// an interrupt leaves the old target as it was and no temporary file behind (TemporaereDateien).
//
// Targets that are not regular files are never replaced: a character device (/dev/null) is
// written in place, a directory, a pipe, a socket or a block device is refused. When the folder
// does not let a temporary file be made, the write is refused with the system's reason, even if
// the target itself may be written: nothing but a device is ever written in place.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class TSichereDatei {
public:
    TSichereDatei() = default;
    ~TSichereDatei(); // an unfinished file is discarded
    TSichereDatei(const TSichereDatei&) = delete;
    TSichereDatei& operator=(const TSichereDatei&) = delete;

    // Each answers false on failure; Fehlertext() then holds the system's reason.
    bool Oeffnen(const QString& ziel);
    // Appends all `anzahl` bytes, also when the system takes them in pieces.
    bool Schreibe(const void* daten, qint64 anzahl);
    // Overwrites bytes already written, from `position` on (a file header written last).
    bool SchreibeAn(qint64 position, const void* daten, qint64 anzahl);
    // Makes the file the target: written to disk, then renamed over the target.
    bool Abschliessen();
    // Gives up the file; the target stays as it was. Nothing is reported.
    void Verwerfen();

    bool IstOffen() const { return m_handle >= 0; }
    QString Fehlertext() const { return m_fehler; }

private:
    static constexpr qint64 AmEnde = -1;
    bool SchreibeAlles(const void* daten, qint64 anzahl, qint64 position);
    bool Fehlschlag(int fehlerNummer);

    int m_handle = -1;
    QByteArray m_ziel;      // the file that is finally written (a link's target)
    QByteArray m_temporaer; // empty when the target is written in place
    int m_platz = -1;       // registration of the temporary file
    QString m_fehler;
};
