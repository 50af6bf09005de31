#include "TestUmgebung.h"

#include "ProgrammEinstellungen.h"
#include "SprachenTexte.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUuid>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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
    // The program fills its catalogue before any window exists; the tests start from English.
    WaehleSpracheOhneSpeichern(true);
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

namespace {
constexpr uid_t Niemand = 65534;

uid_t GewoehnlicherBenutzer() {
    return ::geteuid() == 0 ? Niemand : ::geteuid();
}
gid_t GewoehnlicheGruppe() {
    return ::geteuid() == 0 ? Niemand : ::getegid();
}
} // namespace

int ImKindprozess(const std::function<int()>& arbeit, bool alsGewoehnlicherBenutzer) {
    const pid_t kind = ::fork();
    if (kind == 0) {
        if (alsGewoehnlicherBenutzer && ::geteuid() == 0 &&
            (::setgid(GewoehnlicheGruppe()) != 0 || ::setuid(GewoehnlicherBenutzer()) != 0))
            ::_exit(125);
        ::_exit(arbeit());
    }
    int status = 0;
    ::waitpid(kind, &status, 0);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

QString AlsGewoehnlicherBenutzer() {
    if (::geteuid() != 0)
        return QString();
    return QStringLiteral("setpriv --reuid=%1 --regid=%2 --clear-groups")
        .arg(GewoehnlicherBenutzer())
        .arg(GewoehnlicheGruppe());
}

QString GesperrterOrdnerMitDatei(const QString& name, const QByteArray& inhalt) {
    // Below the temporary folder of the system: the test home is closed to other users.
    static std::vector<std::unique_ptr<QTemporaryDir>> basen;
    basen.push_back(std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/bandwerk-XXXXXX")));
    const QString basis = basen.back()->path();
    ::chmod(QFile::encodeName(basis).constData(), 0755);
    const QString ordner = basis + QStringLiteral("/gesperrt");
    QDir().mkpath(ordner);
    const QString datei = ordner + QLatin1Char('/') + name;
    SchreibeDatei(datei, inhalt);
    if (::chown(QFile::encodeName(ordner).constData(), GewoehnlicherBenutzer(), GewoehnlicheGruppe()) != 0 ||
        ::chown(QFile::encodeName(datei).constData(), GewoehnlicherBenutzer(), GewoehnlicheGruppe()) != 0)
        return QString();
    ::chmod(QFile::encodeName(datei).constData(), 0644);
    ::chmod(QFile::encodeName(ordner).constData(), 0555);
    return datei;
}

void Entsperre(const QString& dateiImOrdner) {
    ::chmod(QFile::encodeName(QFileInfo(dateiImOrdner).absolutePath()).constData(), 0755);
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

TDateiGroessenGrenze::TDateiGroessenGrenze(qint64 bytes) {
    rlimit grenze{};
    ::getrlimit(RLIMIT_FSIZE, &grenze);
    m_vorher = grenze.rlim_cur;
    m_signal = std::signal(SIGXFSZ, SIG_IGN);
    grenze.rlim_cur = static_cast<rlim_t>(bytes);
    ::setrlimit(RLIMIT_FSIZE, &grenze);
}

TDateiGroessenGrenze::~TDateiGroessenGrenze() {
    rlimit grenze{};
    ::getrlimit(RLIMIT_FSIZE, &grenze);
    grenze.rlim_cur = static_cast<rlim_t>(m_vorher);
    ::setrlimit(RLIMIT_FSIZE, &grenze);
    std::signal(SIGXFSZ, m_signal);
}
