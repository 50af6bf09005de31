#include "TestUmgebung.h"

#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUuid>
#include <memory>

namespace {
std::unique_ptr<QTemporaryDir>& Heim() {
    static std::unique_ptr<QTemporaryDir> heim;
    return heim;
}
} // namespace

void TestUmgebungEinrichten() {
    Heim() = std::make_unique<QTemporaryDir>();
    // QSettings and QStandardPaths read HOME at each call; the test mode puts the store below it.
    qputenv("HOME", Heim()->path().toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
    QStandardPaths::setTestModeEnabled(true);
    EinstellungenLeeren();
}

QString KorpusPfad(const QString& relativ) {
    return QStringLiteral(BANDWERK_KORPUS "/") + relativ;
}

QString TestVerzeichnis() {
    const QString pfad = Heim()->filePath(QStringLiteral("t-") + QUuid::createUuid().toString(QUuid::Id128));
    QDir().mkpath(pfad);
    return pfad;
}

void EinstellungenLeeren() {
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Feldmark"),
                    QStringLiteral("Bandwerk"));
        s.clear();
        s.sync();
    }
    LadeEinstellungen();
}

QString EinstellungsDatei() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Feldmark"),
                     QStringLiteral("Bandwerk"))
        .fileName();
}

void EinstellungsSpeicherZerstoeren() {
    const QString datei = EinstellungsDatei();
    QFile::remove(datei);
    QDir().mkpath(datei);
}

void EinstellungsSpeicherReparieren() {
    QDir(EinstellungsDatei()).removeRecursively();
}

QString SpeicherFehlerText() {
    return QStringLiteral("Error opening the settings file %1 / Fehler beim Öffnen der Einstellungsdatei %1")
        .arg(EinstellungsDatei());
}

void TestSprache(bool englisch) {
    SetzeSprache(englisch);
}

QByteArray LiesDatei(const QString& pfad) {
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QStringList DateienIn(const QString& verzeichnis) {
    return QDir(verzeichnis)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void SchreibeDatei(const QString& pfad, const QByteArray& inhalt) {
    QFile f(pfad);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(inhalt);
}

std::uint32_t Le32(const QByteArray& d, int o) {
    std::uint32_t w = 0;
    for (int i = 3; i >= 0; --i)
        w = (w << 8) | static_cast<std::uint8_t>(d[o + i]);
    return w;
}

int Le16(const QByteArray& d, int o) {
    return static_cast<std::uint8_t>(d[o]) | (static_cast<std::uint8_t>(d[o + 1]) << 8);
}
