#include "BandAbspieler.h"

#include "AudioFormat.h"
#include "MZImpulsGenerator.h"

#include <QAudioSink>
#include <QElapsedTimer>
#include <QTimer>
#include <vector>

namespace {

// How often the thread tops up the device's buffer, and how much the buffer holds.
constexpr int FuellTaktMs = 20;
constexpr int PufferMs = 500;
constexpr qint64 MsProSekunde = 1000;
constexpr qint64 UsProMs = 1000;

} // namespace

// Lives in the player's thread: owns the device and the signal, and keeps the device's buffer
// full. Tells the player of the end through Fertig (queued to the player's thread).
class TAbspielArbeiter : public TAudioArbeiter {
public:
    explicit TAbspielArbeiter(TBandAbspieler* pv_spieler) : m_spieler(pv_spieler) {}

    TAudioFehler Starte(const QAudioDevice& geraet, const QAudioFormat& format,
                        std::unique_ptr<TMZTonbandSignal> signal) {
        m_signal = std::move(signal);
        m_format = format;
        m_name = geraet.description();
        m_sink = new QAudioSink(geraet, format, this);
        m_sink->setBufferSize(format.bytesForDuration(PufferMs * UsProMs));
        connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State zustand) {
            if (m_sink && zustand == QAudio::IdleState && m_sink->error() == QAudio::UnderrunError &&
                !m_signal->IstAmEnde())
                ++m_unterlaeufe;
        });
        m_geraet = m_sink->start();
        if (!m_geraet || m_sink->error() != QAudio::NoError) {
            m_sink->stop();
            Ausmustern(m_sink);
            m_sink = nullptr;
            return TAudioFehler::Von(TAudioFehler::TArt::Oeffnen, true, m_name);
        }
        m_takt = new QTimer(this);
        m_takt->setTimerType(Qt::PreciseTimer);
        connect(m_takt, &QTimer::timeout, this, &TAbspielArbeiter::Fuelle);
        m_takt->start(FuellTaktMs);
        m_stillstand.start();
        Fuelle();
        return {};
    }

    void Pause(bool an) {
        if (!m_sink)
            return;
        m_pausiert = an;
        if (an)
            m_sink->suspend();
        else
            m_sink->resume();
        m_stillstand.restart();
    }

    void Stoppe(const TAudioFehler& fehler) override {
        if (!m_sink)
            return;
        m_takt->stop();
        m_sink->stop();
        Ausmustern(m_sink);
        m_sink = nullptr;
        QMetaObject::invokeMethod(
            m_spieler, [s = m_spieler, fehler] { s->Fertig(fehler); }, Qt::QueuedConnection);
    }

    std::atomic<qint64> m_gespieltUs{0};
    std::atomic<int> m_unterlaeufe{0};

private:
    void Fuelle() {
        if (!m_sink || m_pausiert)
            return;
        const qint64 gespielt = m_sink->processedUSecs();
        if (gespielt != m_gespieltUs) {
            m_gespieltUs = gespielt;
            m_stillstand.restart();
        }
        const qint64 frameBytes = m_format.bytesPerFrame();
        const qint64 frei = m_sink->bytesFree() / frameBytes;
        if (frei > 0 && !m_signal->IstAmEnde()) {
            m_pegel.resize(static_cast<std::size_t>(frei));
            const std::int64_t n = m_signal->Fuelle(m_pegel.data(), frei);
            m_roh.resize(static_cast<std::size_t>(n * frameBytes));
            WandleAusPegeln(m_pegel.data(), n, m_format, m_roh.data());
            m_geraet->write(m_roh.data(), static_cast<qint64>(m_roh.size()));
        }
        const qint64 gesamtUs = m_signal->AnzahlSamples() * MsProSekunde * UsProMs / m_format.sampleRate();
        if (m_signal->IstAmEnde() && (gespielt >= gesamtUs || m_sink->state() == QAudio::IdleState)) {
            m_gespieltUs = gesamtUs;
            Stoppe({});
        } else if (m_stillstand.elapsed() > TBandAbspieler::StillstandMs) {
            // The device takes nothing any more: unplugged, or its server is gone.
            Stoppe(TAudioFehler::Von(TAudioFehler::TArt::Ausgefallen, true, m_name));
        }
    }

    TBandAbspieler* m_spieler;
    std::unique_ptr<TMZTonbandSignal> m_signal;
    QAudioFormat m_format;
    QString m_name;
    QAudioSink* m_sink = nullptr;
    QIODevice* m_geraet = nullptr;
    QTimer* m_takt = nullptr;
    QElapsedTimer m_stillstand;
    bool m_pausiert = false;
    std::vector<std::uint8_t> m_pegel;
    std::vector<char> m_roh;
};

TBandAbspieler::TBandAbspieler(QObject* pv_eltern) : TAudioFaden(pv_eltern, true) {
    m_arbeiter = new TAbspielArbeiter(this);
    Beherberge(m_arbeiter, QStringLiteral("Abspielen"));
}

TAudioFehler TBandAbspieler::Starte(std::unique_ptr<TMZTonbandSignal> pv_signal, const QString& pv_geraet) {
    if (Laeuft())
        return {};
    TAudioFehler fehler;
    const std::optional<QAudioDevice> geraet = WaehleGeraet(pv_geraet, fehler);
    if (!geraet)
        return fehler;
    const auto rate = static_cast<int>(pv_signal->Generator().SampleRate());
    const std::optional<QAudioFormat> format = WaehleAudioFormat(*geraet, rate, true);
    if (!format)
        return TAudioFehler::Von(TAudioFehler::TArt::Format, true, m_geraetName);
    m_gesamtMs = pv_signal->AnzahlSamples() * MsProSekunde / rate;
    m_arbeiter->m_gespieltUs = 0;
    m_arbeiter->m_unterlaeufe = 0;
    TMZTonbandSignal* signal = pv_signal.release();
    QMetaObject::invokeMethod(
        m_arbeiter,
        [&] { fehler = m_arbeiter->Starte(*geraet, *format, std::unique_ptr<TMZTonbandSignal>(signal)); },
        Qt::BlockingQueuedConnection);
    Gestartet(fehler.IstOk());
    m_pausiert = false;
    return fehler;
}

void TBandAbspieler::Pause(bool pv_an) {
    if (!Laeuft())
        return;
    m_pausiert = pv_an;
    QMetaObject::invokeMethod(
        m_arbeiter, [a = m_arbeiter, pv_an] { a->Pause(pv_an); }, Qt::QueuedConnection);
}

void TBandAbspieler::Stoppe() {
    StoppeArbeiter();
}

qint64 TBandAbspieler::GespieltMs() const {
    return m_arbeiter->m_gespieltUs / UsProMs;
}

int TBandAbspieler::Unterlaeufe() const {
    return m_arbeiter->m_unterlaeufe;
}

void TBandAbspieler::Fertig(const TAudioFehler& pv_fehler) {
    if (!Angehalten())
        return;
    m_pausiert = false;
    Q_EMIT Beendet(pv_fehler);
}
