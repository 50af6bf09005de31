// The degradations, each as a tape, a deck or a recorder does it.
#include "Verschlechterung.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <numbers>
#include <random>

namespace Verschlechterung {

namespace {

// Uniform and normal numbers drawn by hand from the generator, so that every standard library
// gives the same recording.
class TZufall {
public:
    explicit TZufall(std::uint32_t startwert) : m_erzeuger(startwert) {}
    // [0, 1)
    double Gleich() { return static_cast<double>(m_erzeuger()) / 4294967296.0; }
    double Gleich(double von, double bis) { return von + (bis - von) * Gleich(); }
    // Box-Muller, both numbers of a pair used.
    double Normal() {
        if (m_vorrat) {
            m_vorrat = false;
            return m_zweite;
        }
        const double r = std::sqrt(-2.0 * std::log(1.0 - Gleich()));
        const double winkel = 2.0 * std::numbers::pi * Gleich();
        m_zweite = r * std::sin(winkel);
        m_vorrat = true;
        return r * std::cos(winkel);
    }
    // The wait until the next of `proSekunde` random events a second.
    double Abstand(double proSekunde) { return -std::log(1.0 - Gleich()) / proSekunde; }
    double Vorzeichen() { return Gleich() < 0.5 ? -1.0 : 1.0; }

private:
    std::mt19937 m_erzeuger;
    bool m_vorrat = false;
    double m_zweite = 0.0;
};

double AusDb(double db) {
    return std::pow(10.0, db / 20.0);
}

std::size_t Index(double sekunde, double rate) {
    return static_cast<std::size_t>(std::max(0.0, sekunde * rate));
}

void Rausche(std::vector<float>& werte, double effektivwert, TZufall& zufall) {
    for (float& w : werte)
        w += static_cast<float>(effektivwert * zufall.Normal());
}

// The same table entry for each strength.
template <typename T> const T& Von(const std::array<T, 3>& tabelle, TStaerke staerke) {
    return tabelle[static_cast<std::size_t>(staerke)];
}

void Gleichlauf(TSignal& s, const TGleichlauf& g, TZufall& zufall) {
    const double phase = zufall.Gleich(0.0, 2.0 * std::numbers::pi);
    Abspielen(s, [&g, phase](double t) {
        return 1.0 + g.anteil * std::sin(2.0 * std::numbers::pi * g.frequenz * t + phase);
    });
}

void Drift(TSignal& s, double anteil) {
    const double dauer = s.Sekunden();
    Abspielen(s, [anteil, dauer](double t) { return 1.0 + anteil * (1.0 - 2.0 * t / dauer); });
}

// 0 outside, 1 inside, raised-cosine flanks of `flanke` samples around [anfang, ende).
double Huelle(double i, double anfang, double ende, double flanke) {
    const auto kosinus = [](double x) { return 0.5 - 0.5 * std::cos(std::numbers::pi * x); };
    if (i < anfang)
        return kosinus(std::clamp(1.0 - (anfang - i) / flanke, 0.0, 1.0));
    if (i >= ende)
        return kosinus(std::clamp(1.0 - (i - ende) / flanke, 0.0, 1.0));
    return 1.0;
}

void Aussetzer(TSignal& s, const TAussetzer& a, TZufall& zufall) {
    std::vector<float>& band = s.Band();
    const double boden = Effektivwert(band) * AusDb(AussetzerRauschDb);
    const double flanke = AussetzerFlankeMs / 1000.0 * s.rate;
    for (double t = zufall.Abstand(a.proSekunde); t < s.Sekunden(); t += zufall.Abstand(a.proSekunde)) {
        const double laenge = zufall.Gleich(a.kuerzesteMs, a.laengsteMs) / 1000.0;
        const double tiefe = zufall.Gleich(AussetzerFlachsteDb, a.tiefsteDb);
        const double anfang = t * s.rate;
        const double ende = (t + laenge) * s.rate;
        const std::size_t bis =
            std::min(band.size(), Index(t + laenge, s.rate) + static_cast<std::size_t>(flanke) + 1);
        for (std::size_t i =
                 Index(t, s.rate) - std::min(Index(t, s.rate), static_cast<std::size_t>(flanke) + 1);
             i < bis; ++i)
            band[i] *=
                static_cast<float>(AusDb(-tiefe * Huelle(static_cast<double>(i), anfang, ende, flanke)));
        t += laenge;
    }
    Rausche(band, boden, zufall);
}

void Knackser(TSignal& s, const TKnackser& k, TZufall& zufall) {
    std::vector<float>& band = s.Band();
    const double spitze = Spitze(band);
    constexpr double KleinsteFrequenz = 2000.0, GroessteFrequenz = 6000.0;
    constexpr double Zeitkonstanten = 5.0; // within the decay time the ring falls below 1 %
    const double tau = KnackserAbklingMs / 1000.0 / Zeitkonstanten;
    for (double t = zufall.Abstand(k.proSekunde); t < s.Sekunden(); t += zufall.Abstand(k.proSekunde)) {
        const double hoehe = k.hoehe * spitze * zufall.Vorzeichen();
        const double frequenz = zufall.Gleich(KleinsteFrequenz, GroessteFrequenz);
        const std::size_t anfang = Index(t, s.rate);
        const std::size_t bis = std::min(band.size(), anfang + Index(KnackserAbklingMs / 1000.0, s.rate));
        for (std::size_t i = anfang; i < bis; ++i) {
            const double d = static_cast<double>(i - anfang) / s.rate;
            band[i] += static_cast<float>(hoehe * std::exp(-d / tau) *
                                          std::cos(2.0 * std::numbers::pi * frequenz * d));
        }
    }
}

void Uebersteuerung(TSignal& s, double db) {
    const auto faktor = static_cast<float>(AusDb(db));
    for (float& w : s.Band())
        w = std::clamp(w * faktor, -1.0F, 1.0F);
}

void Saettigung(TSignal& s, const TSaettigung& g) {
    constexpr double Butterworth = std::numbers::sqrt2 / 2.0;
    std::vector<float>& band = s.Band();
    Tiefpass(band, s.rate, SaettigungEckeHz, Butterworth);
    const double spitze = Spitze(band);
    const double versatz = g.versatz * spitze;
    const double grenze = spitze / std::tanh(g.treiben);
    for (float& w : band)
        w = static_cast<float>(grenze * std::tanh(g.treiben * (w + versatz) / spitze));
    Hochpass(band, s.rate, SaettigungKopplungHz, Butterworth);
}

void Rauschen(TSignal& s, const TRauschen& r, TZufall& zufall) {
    constexpr double Butterworth = std::numbers::sqrt2 / 2.0;
    std::vector<float>& band = s.Band();
    Tiefpass(band, s.rate, r.eckeHz, Butterworth);
    Tiefpass(band, s.rate, r.eckeHz, Butterworth);
    Rausche(band, Effektivwert(band) * AusDb(r.rauschDb), zufall);
}

void Allpass(TSignal& s, const TAllpass& a) {
    for (int i = 0; i < a.anzahl; ++i)
        Verschlechterung::Allpass(s.Band(), s.rate, a.stufen[static_cast<std::size_t>(i)].frequenz,
                                  a.stufen[static_cast<std::size_t>(i)].q);
}

void Kopiereffekt(TSignal& s, const TKopiereffekt& k) {
    const std::vector<float> x = s.Band();
    std::vector<float>& band = s.Band();
    const std::size_t d = Index(KopiereffektAbstand, s.rate);
    const double vor = AusDb(k.vorDb), nach = AusDb(k.nachDb);
    for (std::size_t i = 0; i < band.size(); ++i) {
        if (i + d < x.size())
            band[i] += static_cast<float>(vor * x[i + d]);
        if (i >= d)
            band[i] += static_cast<float>(nach * x[i - d]);
    }
}

// Runs sox with these arguments; false and the reason when it cannot be run or fails.
bool Sox(const QStringList& argumente, QString& fehler) {
    constexpr int Wartezeit = 300000; // ms; a few minutes of sound take seconds
    QProcess sox;
    sox.setProcessChannelMode(QProcess::MergedChannels);
    sox.start(QStringLiteral("sox"), argumente);
    if (!sox.waitForStarted()) {
        fehler = QStringLiteral("sox cannot be run (tools/install-deps installs it)");
        return false;
    }
    if (!sox.waitForFinished(Wartezeit) || sox.exitStatus() != QProcess::NormalExit || sox.exitCode() != 0) {
        fehler = QStringLiteral("sox %1 failed: %2")
                     .arg(argumente.join(QLatin1Char(' ')), QString::fromLocal8Bit(sox.readAll()));
        return false;
    }
    return true;
}

// Through Ogg Vorbis and back to 16-bit samples. sox neither dithers (-D) nor seeds anything by
// the clock (-R), so the same input gives the same output.
bool Codec(TSignal& s, const TCodec& c, QString& fehler) {
    NeuAbtasten(s, c.rate);
    s.bits = 16;
    QTemporaryDir ordner;
    const QString wav = ordner.filePath(QStringLiteral("vorher.wav"));
    const QString ogg = ordner.filePath(QStringLiteral("codec.ogg"));
    const QString roh = ordner.filePath(QStringLiteral("nachher.raw"));
    QFile datei(wav);
    const QByteArray bytes = AlsWAV(s);
    if (!ordner.isValid() || !datei.open(QIODevice::WriteOnly) || datei.write(bytes) != bytes.size()) {
        fehler = QStringLiteral("cannot write %1").arg(wav);
        return false;
    }
    datei.close();
    const QString r = QStringLiteral("-R"), d = QStringLiteral("-D");
    if (!Sox({r, d, wav, QStringLiteral("-C"), QString::number(c.qualitaet), ogg}, fehler) ||
        !Sox({r, d, ogg, QStringLiteral("-t"), QStringLiteral("raw"), QStringLiteral("-e"),
              QStringLiteral("signed-integer"), QStringLiteral("-b"), QStringLiteral("16"),
              QStringLiteral("-L"), roh},
             fehler))
        return false;
    QFile rohDatei(roh);
    if (!rohDatei.open(QIODevice::ReadOnly)) {
        fehler = QStringLiteral("cannot read %1").arg(roh);
        return false;
    }
    const QByteArray daten = rohDatei.readAll();
    const std::size_t kanaele = s.kanaele.size();
    const std::size_t frames = static_cast<std::size_t>(daten.size()) / (2 * kanaele);
    const auto* b = reinterpret_cast<const unsigned char*>(daten.constData());
    for (std::size_t k = 0; k < kanaele; ++k) {
        s.kanaele[k].resize(frames);
        for (std::size_t i = 0; i < frames; ++i) {
            const std::size_t o = 2 * (i * kanaele + k);
            s.kanaele[k][i] =
                static_cast<float>(static_cast<std::int16_t>(b[o] | (b[o + 1] << 8))) / 32768.0F;
        }
    }
    return true;
}

void AchtBit(TSignal& s, double db) {
    NeuAbtasten(s, AchtBitRate);
    const auto faktor = static_cast<float>(AusDb(db));
    for (auto& kanal : s.kanaele)
        for (float& w : kanal)
            w *= faktor;
    s.bits = 8;
}

void Kanal(TSignal& s, double db, TZufall& zufall) {
    std::vector<float> rauschen(s.Band().size(), 0.0F);
    Rausche(rauschen, Effektivwert(s.Band()) * AusDb(db), zufall);
    s.kanaele.insert(s.kanaele.begin(), std::move(rauschen));
}

bool Alles(TSignal& s, TStaerke staerke, std::uint32_t startwert, QString& fehler) {
    for (const TArt art : AlleArten) {
        if (art == TArt::Alles)
            continue;
        ++startwert;
        if (!Verschlechtere(s, art, staerke, startwert, fehler))
            return false;
    }
    return true;
}

} // namespace

const char* StaerkeName(TStaerke staerke) {
    switch (staerke) {
    case TStaerke::Leicht:
        return "mild";
    case TStaerke::Typisch:
        return "typical";
    case TStaerke::Schwer:
        return "severe";
    }
    return "?";
}

const char* ArtName(TArt art) {
    switch (art) {
    case TArt::Keine:
        return "clean";
    case TArt::Jaulen:
        return "wow";
    case TArt::Flattern:
        return "flutter";
    case TArt::Drift:
        return "speed drift";
    case TArt::Aussetzer:
        return "dropouts";
    case TArt::Knackser:
        return "clicks";
    case TArt::Uebersteuerung:
        return "clipping";
    case TArt::Saettigung:
        return "asymmetric duty";
    case TArt::Rauschen:
        return "hiss, dull treble";
    case TArt::Allpass:
        return "all-pass smear";
    case TArt::Kopiereffekt:
        return "print-through";
    case TArt::Codec:
        return "vorbis";
    case TArt::AchtBit:
        return "8-bit 8 kHz";
    case TArt::Kanal:
        return "noise channel";
    case TArt::Alles:
        return "everything";
    }
    return "?";
}

bool Verschlechtere(TSignal& s, TArt art, TStaerke staerke, std::uint32_t startwert, QString& fehler) {
    TZufall zufall(startwert);
    switch (art) {
    case TArt::Keine:
        return true;
    case TArt::Jaulen:
        Gleichlauf(s, Von(JaulenStaerken, staerke), zufall);
        return true;
    case TArt::Flattern:
        Gleichlauf(s, Von(FlatternStaerken, staerke), zufall);
        return true;
    case TArt::Drift:
        Drift(s, Von(DriftStaerken, staerke));
        return true;
    case TArt::Aussetzer:
        Aussetzer(s, Von(AussetzerStaerken, staerke), zufall);
        return true;
    case TArt::Knackser:
        Knackser(s, Von(KnackserStaerken, staerke), zufall);
        return true;
    case TArt::Uebersteuerung:
        Uebersteuerung(s, Von(UebersteuerungDb, staerke));
        return true;
    case TArt::Saettigung:
        Saettigung(s, Von(SaettigungStaerken, staerke));
        return true;
    case TArt::Rauschen:
        Rauschen(s, Von(RauschenStaerken, staerke), zufall);
        return true;
    case TArt::Allpass:
        Allpass(s, Von(AllpassStaerken, staerke));
        return true;
    case TArt::Kopiereffekt:
        Kopiereffekt(s, Von(KopiereffektStaerken, staerke));
        return true;
    case TArt::Codec:
        return Codec(s, Von(CodecStaerken, staerke), fehler);
    case TArt::AchtBit:
        AchtBit(s, Von(AchtBitPegelDb, staerke));
        return true;
    case TArt::Kanal:
        Kanal(s, Von(KanalRauschDb, staerke), zufall);
        return true;
    case TArt::Alles:
        return Alles(s, staerke, startwert, fehler);
    }
    return true;
}

} // namespace Verschlechterung
