#include "BandAufnahme.h"

#include "AudioFormat.h"
#include "MZWAVMehrfachDekoder.h"
#include "WAVAufnahmeDatei.h"
#include "WAVSuche.h"

#include <QAudioSource>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace {

// How often the thread takes what the device has captured, and how much the device buffers
// before it hands frames over: small, so that a file appears soon after its body has been read.
constexpr int LeseTaktMs = 20;
constexpr qint64 PufferUs = 50'000;
constexpr qint64 MsProSekunde = 1000;
// The meter: one peak per tenth of a second, ten of them make the second the hints look at.
constexpr int MessFensterProSekunde = 10;
constexpr int VollAusschlag = 32767;
constexpr int Mitte8 = 128;
constexpr int Stufe16 = 256;

// A sample's distance from the middle on the 16-bit scale.
int Ausschlag(const char* sample, QAudioFormat::SampleFormat art) {
    if (art == QAudioFormat::UInt8)
        return std::abs((static_cast<unsigned char>(*sample) - Mitte8) * Stufe16);
    std::int16_t s = 0;
    std::memcpy(&s, sample, sizeof s);
    return std::min(std::abs(static_cast<int>(s)), VollAusschlag);
}

TWAVFormat DekoderFormat(const QAudioFormat& format, qint64 hoechstFrames) {
    TWAVFormat f;
    f.sampleRate = static_cast<std::uint32_t>(format.sampleRate());
    f.kanaele = static_cast<std::uint16_t>(format.channelCount());
    f.stereo = f.kanaele == 2;
    f.bytesProSample = static_cast<std::uint16_t>(format.bytesPerSample());
    f.sechzehnBit = f.bytesProSample == 2;
    f.anzahlFrames = static_cast<std::int32_t>(hoechstFrames);
    return f;
}

} // namespace

// Lives in the recorder's thread: owns the device, the decoder and the WAV file.
class TAufnahmeArbeiter : public TAudioArbeiter {
public:
    explicit TAufnahmeArbeiter(TBandAufnahme* pv_aufnahme) : m_aufnahme(pv_aufnahme) {}

    TAudioFehler Starte(const QAudioDevice& geraet, const QAudioFormat& format,
                        const TBandAufnahme::TAuftrag& a) {
        m_format = format;
        m_name = geraet.description();
        m_frameBytes = format.bytesPerFrame();
        const qint64 dauerMs = a.dauerMs > 0 ? std::min(a.dauerMs, TBandAufnahme::GroessteDauerMs)
                                             : TBandAufnahme::GroessteDauerMs;
        m_hoechstFrames = dauerMs * format.sampleRate() / MsProSekunde;
        m_fensterFrames = format.sampleRate() / MessFensterProSekunde;
        m_frames = 0;
        m_wavGemeldet = false;
        m_wav.reset();
        if (!a.wavDatei.isEmpty()) {
            m_wav = std::make_unique<TWAVAufnahmeDatei>();
            if (!m_wav->Oeffnen(a.wavDatei, static_cast<std::uint32_t>(format.sampleRate()),
                                static_cast<std::uint16_t>(format.channelCount()),
                                static_cast<std::uint16_t>(format.bytesPerSample() * 8))) {
                TAudioFehler f =
                    TAudioFehler::Von(TAudioFehler::TArt::WAVBehalten, false, m_name, m_wav->Fehlertext());
                f.datei = a.wavDatei;
                m_wav.reset();
                return f;
            }
        }
        m_suche = std::make_unique<TWAVSuche>(a.einstellungen);
        m_suche->beiNeuerDatei = [aufnahme = m_aufnahme](const TMZFDatei& datei) {
            // From a decoding thread: the copy goes to the recorder's own thread.
            std::shared_ptr<TMZFDatei> kopie = TMZFDatei::CreateKopie(datei);
            QMetaObject::invokeMethod(
                aufnahme, [aufnahme, kopie] { aufnahme->Gefunden(TMZFDatei::CreateKopie(*kopie)); },
                Qt::QueuedConnection);
        };
        m_dekoder = std::make_unique<TMZWAVMehrfachDekoder>();
        m_dekoder->Starte(DekoderFormat(format, m_hoechstFrames), m_suche->Einstellungen(),
                          m_suche->Durchgaenge(), m_suche->Erweiterung(), m_suche->Senken());

        m_quelle = new QAudioSource(geraet, format, this);
        m_quelle->setBufferSize(format.bytesForDuration(PufferUs));
        m_geraet = m_quelle->start();
        if (!m_geraet || m_quelle->error() != QAudio::NoError) {
            Aufraeumen();
            if (m_wav)
                m_wav->Verwerfen();
            m_wav.reset();
            return TAudioFehler::Von(TAudioFehler::TArt::Oeffnen, false, m_name);
        }
        m_takt = new QTimer(this);
        connect(m_takt, &QTimer::timeout, this, &TAufnahmeArbeiter::Lies);
        m_takt->start(LeseTaktMs);
        m_stillstand.start();
        return {};
    }

    void Stoppe(const TAudioFehler& fehler) override {
        if (!m_quelle)
            return;
        m_takt->stop();
        // What the device holds still belongs to the recording.
        if (fehler.IstOk())
            Nimm();
        Aufraeumen();
        std::vector<std::unique_ptr<TMZFDatei>> dateien;
        std::vector<TUebersprungenes> uebersprungen;
        try {
            m_dekoder->Beende();
        } catch (const std::exception&) {
            // What the adaptive pass found before it failed is still in the search.
        }
        m_suche->Ende(dateien, &uebersprungen);
        m_dekoder.reset();
        m_suche.reset();
        TAudioFehler ergebnis = fehler;
        if (m_wav && !m_wav->Abschliessen() && !m_wavGemeldet && ergebnis.IstOk())
            ergebnis = WAVFehler();
        m_wav.reset();
        // Handed over whole; the lambda must be copyable, so the lists travel in shared holders.
        auto liste = std::make_shared<std::vector<std::unique_ptr<TMZFDatei>>>(std::move(dateien));
        auto weg = std::make_shared<std::vector<TUebersprungenes>>(std::move(uebersprungen));
        QMetaObject::invokeMethod(
            m_aufnahme,
            [a = m_aufnahme, liste, weg, ergebnis] {
                a->Fertig(std::move(*liste), std::move(*weg), ergebnis);
            },
            Qt::QueuedConnection);
    }

    std::atomic<qint64> m_aufgenommen{0}; // frames
    std::atomic<int> m_pegel{0};          // peak of the last window, 16-bit scale
    std::atomic<int> m_sekundenSpitze{0}; // peak of the last whole second
    std::atomic<qint64> m_uebersteuertBis{-1};

private:
    void Aufraeumen() {
        if (m_quelle) {
            m_quelle->stop();
            Ausmustern(m_quelle);
            m_quelle = nullptr;
            m_geraet = nullptr;
        }
    }

    TAudioFehler WAVFehler() const {
        TAudioFehler f =
            TAudioFehler::Von(TAudioFehler::TArt::WAVBehalten, false, m_name, m_wav->Fehlertext());
        f.datei = m_wav->Ziel();
        return f;
    }

    void Lies() {
        if (!m_geraet)
            return;
        Nimm();
        if (m_frames >= m_hoechstFrames)
            Stoppe({});
        else if (m_stillstand.elapsed() > TBandAufnahme::StillstandMs)
            // Nothing comes any more: the input was unplugged, or its server is gone.
            Stoppe(TAudioFehler::Von(TAudioFehler::TArt::Ausgefallen, false, m_name));
    }

    // Takes what the device has captured, up to the recording's length.
    void Nimm() {
        const QByteArray neu = m_geraet->readAll();
        if (!neu.isEmpty()) {
            m_rest.append(neu);
            m_stillstand.restart();
        }
        qint64 frames = m_rest.size() / m_frameBytes;
        frames = std::min(frames, m_hoechstFrames - m_frames);
        if (frames > 0) {
            Verarbeite(m_rest.constData(), frames);
            m_rest.remove(0, frames * m_frameBytes);
        }
    }

    void Verarbeite(const char* roh, qint64 frames) {
        Miss(roh, frames);
        if (m_wav && !m_wav->Schreibe(roh, frames * m_frameBytes) && !m_wavGemeldet) {
            m_wavGemeldet = true;
            QMetaObject::invokeMethod(
                m_aufnahme, [a = m_aufnahme, f = WAVFehler()] { Q_EMIT a->WAVFehler(f); },
                Qt::QueuedConnection);
        }
        m_dekoder->Verarbeite(reinterpret_cast<const std::uint8_t*>(roh), static_cast<std::int32_t>(frames));
        m_frames += frames;
        m_aufgenommen = m_frames;
    }

    // The meter: the peak of the first channel, per window.
    void Miss(const char* roh, qint64 frames) {
        const auto art = m_format.sampleFormat();
        for (qint64 i = 0; i < frames; ++i) {
            const int a = Ausschlag(roh + i * m_frameBytes, art);
            m_fensterSpitze = std::max(m_fensterSpitze, a);
            if (a >= TBandAufnahme::UebersteuertAb * VollAusschlag)
                m_uebersteuertBis = m_frames + i + m_format.sampleRate();
            if (++m_imFenster == m_fensterFrames) {
                m_pegel = m_fensterSpitze;
                m_fenster[m_fensterIndex] = m_fensterSpitze;
                m_fensterIndex = (m_fensterIndex + 1) % MessFensterProSekunde;
                m_sekundenSpitze = *std::max_element(std::begin(m_fenster), std::end(m_fenster));
                m_fensterSpitze = 0;
                m_imFenster = 0;
            }
        }
    }

    TBandAufnahme* m_aufnahme;
    QAudioFormat m_format;
    QString m_name;
    qint64 m_frameBytes = 1;
    qint64 m_hoechstFrames = 0;
    qint64 m_frames = 0;
    QAudioSource* m_quelle = nullptr;
    QIODevice* m_geraet = nullptr;
    QTimer* m_takt = nullptr;
    QElapsedTimer m_stillstand;
    QByteArray m_rest; // captured bytes not yet a whole frame
    std::unique_ptr<TWAVSuche> m_suche;
    std::unique_ptr<TMZWAVMehrfachDekoder> m_dekoder;
    std::unique_ptr<TWAVAufnahmeDatei> m_wav;
    bool m_wavGemeldet = false;
    qint64 m_fensterFrames = 1;
    qint64 m_imFenster = 0;
    int m_fensterSpitze = 0;
    int m_fenster[MessFensterProSekunde] = {};
    int m_fensterIndex = 0;
};

TBandAufnahme::TBandAufnahme(QObject* pv_eltern) : TAudioFaden(pv_eltern, false) {
    m_arbeiter = new TAufnahmeArbeiter(this);
    Beherberge(m_arbeiter, QStringLiteral("Aufnahme"));
}

TAudioFehler TBandAufnahme::Starte(const TAuftrag& pv_auftrag) {
    if (Laeuft())
        return {};
    TAudioFehler fehler;
    const std::optional<QAudioDevice> geraet = WaehleGeraet(pv_auftrag.geraet, fehler);
    if (!geraet)
        return fehler;
    const std::optional<QAudioFormat> format = WaehleAudioFormat(*geraet, SampleRate, false);
    if (!format)
        return TAudioFehler::Von(TAudioFehler::TArt::Format, false, m_geraetName);
    m_dateien.clear();
    m_uebersprungen.clear();
    m_arbeiter->m_aufgenommen = 0;
    m_arbeiter->m_pegel = 0;
    m_arbeiter->m_sekundenSpitze = VollAusschlag;
    m_arbeiter->m_uebersteuertBis = -1;
    QMetaObject::invokeMethod(
        m_arbeiter, [&] { fehler = m_arbeiter->Starte(*geraet, *format, pv_auftrag); },
        Qt::BlockingQueuedConnection);
    Gestartet(fehler.IstOk());
    return fehler;
}

void TBandAufnahme::Stoppe() {
    StoppeArbeiter();
}

qint64 TBandAufnahme::AufgenommenMs() const {
    return m_arbeiter->m_aufgenommen * MsProSekunde / SampleRate;
}

double TBandAufnahme::Pegel() const {
    return static_cast<double>(m_arbeiter->m_pegel) / VollAusschlag;
}

bool TBandAufnahme::Uebersteuert() const {
    return m_arbeiter->m_uebersteuertBis >= m_arbeiter->m_aufgenommen;
}

bool TBandAufnahme::ZuLeise() const {
    return m_arbeiter->m_sekundenSpitze < ZuLeiseUnter * VollAusschlag;
}

void TBandAufnahme::Gefunden(std::unique_ptr<TMZFDatei> pv_datei) {
    if (!Laeuft())
        return;
    m_dateien.push_back(std::move(pv_datei));
    Q_EMIT DateiGefunden(static_cast<int>(m_dateien.size()) - 1);
}

void TBandAufnahme::Fertig(std::vector<std::unique_ptr<TMZFDatei>> pv_dateien,
                           std::vector<TUebersprungenes> pv_uebersprungen, const TAudioFehler& pv_fehler) {
    if (!Angehalten())
        return;
    m_dateien = std::move(pv_dateien);
    m_uebersprungen = std::move(pv_uebersprungen);
    Q_EMIT Beendet(pv_fehler);
}
