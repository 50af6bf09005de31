#include "DateiPfad.h"
#include "Kommandozeile.h"
#include "TemporaereDateien.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    TemporaereDateien::InstalliereSignalbehandlung();
    // scan --plot draws with the painter, which needs a graphical application; it never shows a
    // window, so the offscreen platform serves with or without a display.
    bool zeichnet = false;
    for (int i = 1; i < argc; ++i)
        zeichnet = zeichnet || std::strcmp(argv[i], "--plot") == 0 ||
                   std::strncmp(argv[i], "--plot=", sizeof "--plot=" - 1) == 0;
    if (zeichnet)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app = zeichnet ? std::make_unique<QGuiApplication>(argc, argv)
                                                           : std::make_unique<QCoreApplication>(argc, argv);
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
