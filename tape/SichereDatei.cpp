#include "SichereDatei.h"

#include "DateiFehler.h"
#include "DateiPfad.h"
#include "TemporaereDateien.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Attempts at a free temporary name before giving up.
constexpr int NamensVersuche = 100;
// Links followed from the name the user gave to the file that is written.
constexpr int MaxLinkTiefe = 40;
constexpr int NamensZeichen = 6;

// The file a name finally stands for: a symbolic link is followed to its target (which may not
// exist yet), so that saving through a link keeps the link and replaces what it points to.
QByteArray FolgeLinks(QByteArray pfad) {
    for (int tiefe = 0; tiefe < MaxLinkTiefe; ++tiefe) {
        char ziel[PATH_MAX];
        const ssize_t laenge = ::readlink(pfad.constData(), ziel, sizeof ziel - 1);
        if (laenge < 0)
            return pfad;
        QByteArray naechstes(ziel, laenge);
        if (!naechstes.startsWith('/')) {
            const qsizetype schnitt = pfad.lastIndexOf('/');
            naechstes = (schnitt < 0 ? QByteArray() : pfad.left(schnitt + 1)) + naechstes;
        }
        pfad = naechstes;
    }
    return pfad;
}

QByteArray Zufallsendung() {
    static const char zeichen[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray endung(".");
    for (int i = 0; i < NamensZeichen; ++i)
        endung.append(zeichen[QRandomGenerator::global()->bounded(static_cast<int>(sizeof zeichen - 1))]);
    return endung;
}

// The longest name the target's folder takes.
qsizetype LaengsterName(const QByteArray& ziel) {
    const qsizetype schnitt = ziel.lastIndexOf('/');
    const QByteArray ordner = schnitt < 0 ? QByteArray(".") : ziel.left(schnitt + 1);
    const long laenge = ::pathconf(ordner.constData(), _PC_NAME_MAX);
    return laenge > 0 ? static_cast<qsizetype>(laenge) : NAME_MAX;
}

// The target's name with a random ending; where the two together would be longer than the folder
// allows, the name is cut short (the temporary name only has to be unique, and the target keeps
// its full name).
QByteArray TemporaererName(const QByteArray& ziel, qsizetype laengsterName) {
    const qsizetype anfang = ziel.lastIndexOf('/') + 1;
    const QByteArray endung = Zufallsendung();
    const qsizetype platz = std::max<qsizetype>(0, laengsterName - endung.size());
    return ziel.left(anfang) + ziel.mid(anfang).left(platz) + endung;
}
} // namespace

TSichereDatei::~TSichereDatei() {
    Verwerfen();
}

bool TSichereDatei::Fehlschlag(int fehlerNummer) {
    m_fehler = SystemFehlerText(fehlerNummer);
    return false;
}

bool TSichereDatei::Oeffnen(const QString& ziel) {
    Verwerfen();
    m_fehler.clear();
    m_ziel = FolgeLinks(PfadAlsBytes(ziel));
    m_temporaer.clear();

    struct stat vorhanden {};
    const bool existiert = ::stat(m_ziel.constData(), &vorhanden) == 0;
    if (existiert && S_ISDIR(vorhanden.st_mode))
        return Fehlschlag(EISDIR);
    if (existiert && S_ISCHR(vorhanden.st_mode)) {
        // A device takes the bytes as they come; there is nothing to replace.
        m_handle = ::open(m_ziel.constData(), O_WRONLY | O_CLOEXEC);
        return m_handle >= 0 || Fehlschlag(errno);
    }
    if (existiert && !S_ISREG(vorhanden.st_mode)) {
        m_fehler = DateiFehler::TextKeineNormaleDatei;
        return false;
    }

    // New files get the usual permissions (the system applies the umask); a replaced file keeps
    // its own.
    // An interrupt between making the file and registering it would leave it behind: the two
    // happen with interrupts held back.
    const qsizetype laengsterName = LaengsterName(m_ziel);
    const TemporaereDateien::TSignaleAufhalten aufhalten;
    for (int versuch = 0; versuch < NamensVersuche; ++versuch) {
        const QByteArray name = TemporaererName(m_ziel, laengsterName);
        m_handle = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_handle >= 0) {
            m_temporaer = name;
            m_platz = TemporaereDateien::Anmelden(m_temporaer);
            break;
        }
        if (errno != EEXIST)
            break;
    }
    // Without a temporary file the target is never written in place, even where the user may
    // write it: a full disk, a size limit or an interrupt half-way would leave a cut-off file
    // where the only copy was. The system's reason ("Permission denied") tells what to change.
    if (m_handle < 0)
        return Fehlschlag(errno);
    if (existiert) {
        ::fchmod(m_handle, vorhanden.st_mode & 07777);
        // Root writing someone else's file leaves it theirs; if that fails, it is root's.
        if (::geteuid() == 0 && ::fchown(m_handle, vorhanden.st_uid, vorhanden.st_gid) != 0) {
        }
    }
    return true;
}

bool TSichereDatei::Schreibe(const void* daten, qint64 anzahl) {
    return SchreibeAlles(daten, anzahl, AmEnde);
}

bool TSichereDatei::SchreibeAn(qint64 position, const void* daten, qint64 anzahl) {
    return SchreibeAlles(daten, anzahl, position);
}

// The system may take fewer bytes than asked (a signal, a size limit just reached): the rest is
// written again, so that a real failure comes with its own reason.
bool TSichereDatei::SchreibeAlles(const void* daten, qint64 anzahl, qint64 position) {
    if (m_handle < 0)
        return Fehlschlag(EBADF);
    const auto* bytes = static_cast<const char*>(daten);
    while (anzahl > 0) {
        const auto n = static_cast<std::size_t>(anzahl);
        const ssize_t geschrieben =
            position == AmEnde ? ::write(m_handle, bytes, n) : ::pwrite(m_handle, bytes, n, position);
        if (geschrieben < 0) {
            if (errno == EINTR)
                continue;
            return Fehlschlag(errno);
        }
        bytes += geschrieben;
        anzahl -= geschrieben;
        if (position != AmEnde)
            position += geschrieben;
    }
    return true;
}

bool TSichereDatei::Abschliessen() {
    if (m_handle < 0)
        return Fehlschlag(EBADF);
    if (m_temporaer.isEmpty()) {
        // In place: only the close can still fail.
        const int handle = m_handle;
        m_handle = -1;
        return ::close(handle) == 0 || Fehlschlag(errno);
    }
    if (::fsync(m_handle) != 0) {
        const int grund = errno;
        Verwerfen();
        return Fehlschlag(grund);
    }
    const int handle = m_handle;
    m_handle = -1;
    if (::close(handle) != 0 || ::rename(m_temporaer.constData(), m_ziel.constData()) != 0) {
        const int grund = errno;
        ::unlink(m_temporaer.constData());
        TemporaereDateien::Abmelden(m_platz);
        m_platz = -1;
        m_temporaer.clear();
        return Fehlschlag(grund);
    }
    TemporaereDateien::Abmelden(m_platz);
    m_platz = -1;
    m_temporaer.clear();
    return true;
}

void TSichereDatei::Verwerfen() {
    if (m_handle >= 0) {
        ::close(m_handle);
        m_handle = -1;
    }
    if (!m_temporaer.isEmpty()) {
        ::unlink(m_temporaer.constData());
        TemporaereDateien::Abmelden(m_platz);
        m_platz = -1;
        m_temporaer.clear();
    }
}
