// Runs the command-line program in this process and keeps what it writes.
#pragma once

#include "Kommandozeile.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

struct TCliLauf {
    int status = -1;
    QString aus;    // standard output
    QString fehler; // standard error
};

inline TCliLauf StarteCli(const QStringList& argumente) {
    TCliLauf lauf;
    QTextStream aus(&lauf.aus);
    QTextStream fehler(&lauf.fehler);
    lauf.status = BandwerkCli(argumente, aus, fehler);
    aus.flush();
    fehler.flush();
    return lauf;
}
