#include "AudioFaden.h"

#include "AudioGeraete.h"

namespace {
// How often the owner looks whether the device is still there.
constexpr int WacheMs = 500;
} // namespace

TAudioArbeiter::~TAudioArbeiter() {
    // The device goes with the worker's children; not before its stream has had time to settle.
    if (m_ausgemustert && m_seitAusmustern.isValid() && m_seitAusmustern.elapsed() < NachlaufMs)
        QThread::msleep(static_cast<unsigned long>(NachlaufMs - m_seitAusmustern.elapsed()));
}

void TAudioArbeiter::Ausmustern(QObject* pv_geraet) {
    delete m_ausgemustert;
    m_ausgemustert = pv_geraet;
    m_seitAusmustern.start();
}

TAudioFaden::TAudioFaden(QObject* pv_eltern, bool pv_ausgabe) : QObject(pv_eltern), m_ausgabe(pv_ausgabe) {
    connect(&m_wache, &QTimer::timeout, this, &TAudioFaden::PruefeGeraet);
}

TAudioFaden::~TAudioFaden() {
    if (!m_arbeiter)
        return;
    QMetaObject::invokeMethod(
        m_arbeiter, [a = m_arbeiter] { a->Stoppe({}); }, Qt::BlockingQueuedConnection);
    m_faden.quit();
    m_faden.wait();
}

void TAudioFaden::Beherberge(TAudioArbeiter* pv_arbeiter, const QString& pv_name) {
    m_arbeiter = pv_arbeiter;
    m_faden.setObjectName(pv_name);
    m_arbeiter->moveToThread(&m_faden);
    connect(&m_faden, &QThread::finished, m_arbeiter, &QObject::deleteLater);
    m_faden.start(QThread::TimeCriticalPriority);
}

std::optional<QAudioDevice> TAudioFaden::WaehleGeraet(const QString& pv_name, TAudioFehler& pv_fehler) {
    const std::optional<QAudioDevice> geraet = FindeAudioGeraet(m_ausgabe, pv_name);
    if (!geraet) {
        pv_fehler = TAudioFehler::Von(HoleAudioGeraete(m_ausgabe).empty() ? TAudioFehler::TArt::KeinGeraet
                                                                          : TAudioFehler::TArt::Unbekannt,
                                      m_ausgabe, pv_name);
        return std::nullopt;
    }
    m_geraetName = geraet->description();
    m_geraetId = geraet->id();
    return geraet;
}

void TAudioFaden::Gestartet(bool pv_laeuft) {
    m_laeuft = pv_laeuft;
    if (m_laeuft)
        m_wache.start(WacheMs);
}

bool TAudioFaden::Angehalten() {
    if (!m_laeuft)
        return false;
    m_laeuft = false;
    m_wache.stop();
    return true;
}

void TAudioFaden::StoppeArbeiter(const TAudioFehler& pv_fehler) {
    if (m_laeuft)
        QMetaObject::invokeMethod(
            m_arbeiter, [a = m_arbeiter, pv_fehler] { a->Stoppe(pv_fehler); }, Qt::QueuedConnection);
}

void TAudioFaden::PruefeGeraet() {
    if (!m_laeuft || AudioGeraetVorhanden(m_ausgabe, m_geraetId))
        return;
    m_wache.stop();
    StoppeArbeiter(TAudioFehler::Von(TAudioFehler::TArt::Ausgefallen, m_ausgabe, m_geraetName));
}
