#include "PlattformKonsole.h"

#include "TemporaereDateien.h"

#include <QTextStream>
#include <cstdio>
#include <cstdlib>

namespace {
std::function<void()>& VorNachricht() {
    static std::function<void()> vorNachricht;
    return vorNachricht;
}
} // namespace

void TPlattformKonsole::SetzeVorNachricht(std::function<void()> vorNachricht) {
    VorNachricht() = std::move(vorNachricht);
}

void TPlattformKonsole::ZeigeNachricht(TNachrichtArt, const QString& text) {
    if (VorNachricht())
        VorNachricht()();
    QTextStream fehler(stderr);
    QString zeilen = text;
    zeilen.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    fehler << zeilen << Qt::endl;
}

TAntwort TPlattformKonsole::Frage(TNachrichtArt art, const QString& text, bool) {
    ZeigeNachricht(art, text);
    return TAntwort::Nein;
}

std::optional<QString> TPlattformKonsole::DateiDialogZeigen(const TDateiDialog&) {
    return std::nullopt;
}

void TPlattformKonsole::OeffneAdresse(const QString&) {}

void TPlattformKonsole::BeendeSofort(int status) {
    TemporaereDateien::RaeumeAuf();
    std::fflush(stderr);
    std::fflush(stdout);
    std::_Exit(status);
}
