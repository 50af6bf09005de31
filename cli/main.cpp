#include "DateiPfad.h"
#include "Kommandozeile.h"
#include "TemporaereDateien.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    TemporaereDateien::InstalliereSignalbehandlung();
    QCoreApplication app(argc, argv);
    // The arguments as the system gives them: a file name need not be UTF-8.
    QStringList argumente;
    for (int i = 1; i < argc; ++i)
        argumente << PfadAusBytes(QByteArray(argv[i]));
    QTextStream aus(stdout);
    QTextStream fehler(stderr);
    const int status = BandwerkCli(argumente, aus, fehler);
    aus.flush();
    fehler.flush();
    return status;
}
