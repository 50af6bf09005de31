#include "Kommandozeile.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream aus(stdout);
    QTextStream fehler(stderr);
    const int status = BandwerkCli(QCoreApplication::arguments().mid(1), aus, fehler);
    aus.flush();
    fehler.flush();
    return status;
}
