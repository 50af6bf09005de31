#include "TemporaereDateien.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <pthread.h>
#include <unistd.h>

namespace TemporaereDateien {
namespace {
// A few files at most are written at once (an export, a save); each place holds one name.
constexpr int AnzahlPlaetze = 16;
constexpr std::size_t MaxPfadBytes = 4096;

enum TZustand : int { Frei = 0, Belegt = 1, Gueltig = 2 };

struct TPlatz {
    std::atomic<int> zustand{Frei};
    char pfad[MaxPfadBytes];
};
std::array<TPlatz, AnzahlPlaetze> g_plaetze;
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the places");

constexpr int AufraeumSignale[] = {SIGINT, SIGTERM, SIGHUP};

void BeimSignal(int signal) {
    RaeumeAuf();
    // Then die of the signal, so that the parent sees how the process ended.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
} // namespace

int Anmelden(const QByteArray& pfad) {
    if (static_cast<std::size_t>(pfad.size()) >= MaxPfadBytes)
        return -1;
    for (int i = 0; i < AnzahlPlaetze; ++i) {
        int frei = Frei;
        if (!g_plaetze[i].zustand.compare_exchange_strong(frei, Belegt))
            continue;
        std::memcpy(g_plaetze[i].pfad, pfad.constData(), static_cast<std::size_t>(pfad.size()));
        g_plaetze[i].pfad[pfad.size()] = '\0';
        g_plaetze[i].zustand.store(Gueltig);
        return i;
    }
    return -1;
}

void Abmelden(int platz) {
    if (platz >= 0 && platz < AnzahlPlaetze)
        g_plaetze[platz].zustand.store(Frei);
}

void RaeumeAuf() {
    for (TPlatz& platz : g_plaetze) {
        int gueltig = Gueltig;
        if (platz.zustand.compare_exchange_strong(gueltig, Belegt)) {
            ::unlink(platz.pfad);
            platz.zustand.store(Frei);
        }
    }
}

TSignaleAufhalten::TSignaleAufhalten() {
    sigset_t aufhalten;
    sigemptyset(&aufhalten);
    for (const int signal : AufraeumSignale)
        sigaddset(&aufhalten, signal);
    ::pthread_sigmask(SIG_BLOCK, &aufhalten, &m_vorher);
}

TSignaleAufhalten::~TSignaleAufhalten() {
    ::pthread_sigmask(SIG_SETMASK, &m_vorher, nullptr);
}

void InstalliereSignalbehandlung() {
    struct sigaction aktion {};
    aktion.sa_handler = BeimSignal;
    sigemptyset(&aktion.sa_mask);
    for (const int signal : AufraeumSignale)
        sigaddset(&aktion.sa_mask, signal);
    for (const int signal : AufraeumSignale) {
        struct sigaction bisher {};
        // A signal the caller ignores (a program started with nohup, say) stays ignored.
        if (::sigaction(signal, nullptr, &bisher) == 0 && bisher.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &aktion, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace TemporaereDateien
