// The signal building blocks of the degradations: filters, resampling, playing at a varying speed,
// and the WAV form of a signal, written and read byte by byte.
#include "Verschlechterung.h"

#include "WAVBau.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace Verschlechterung {

namespace {

// A second-order section, normalised: a0 = 1.
struct TBiquad {
    double b0, b1, b2, a1, a2;
};

void Filtere(std::vector<float>& werte, const TBiquad& k) {
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    for (float& w : werte) {
        const double x = w;
        const double y = k.b0 * x + k.b1 * x1 + k.b2 * x2 - k.a1 * y1 - k.a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        w = static_cast<float>(y);
    }
}

// The cookbook's shared terms: cos(w0) and alpha.
struct TWinkel {
    double c;
    double alpha;
};
TWinkel Winkel(double rate, double frequenz, double q) {
    const double w0 = 2.0 * std::numbers::pi * frequenz / rate;
    return {std::cos(w0), std::sin(w0) / (2.0 * q)};
}

TBiquad Normiert(double b0, double b1, double b2, double a0, double a1, double a2) {
    return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

// Zero crossings of the resampling kernel on each side, and table steps between two of them.
constexpr int KernNullstellen = 10;
constexpr int KernStufen = 512;
// The pass band as a share of the lower Nyquist frequency; the rest is the transition.
constexpr double Durchlass = 0.9;

// sinc(u) under a Blackman window reaching zero at +-KernNullstellen, for u = 0 ... KernNullstellen.
const std::vector<double>& KernTabelle() {
    static const std::vector<double> tabelle = [] {
        std::vector<double> t(KernNullstellen * KernStufen + 2, 0.0);
        for (int i = 0; i <= KernNullstellen * KernStufen; ++i) {
            const double u = static_cast<double>(i) / KernStufen;
            const double sinc = i == 0 ? 1.0 : std::sin(std::numbers::pi * u) / (std::numbers::pi * u);
            const double f = std::numbers::pi * (u / KernNullstellen + 1.0); // 0 ... 2 pi across the window
            t[static_cast<std::size_t>(i)] = sinc * (0.42 - 0.5 * std::cos(f) + 0.08 * std::cos(2.0 * f));
        }
        return t;
    }();
    return tabelle;
}

double Kern(double u) {
    const double a = std::abs(u) * KernStufen;
    const auto i = static_cast<std::size_t>(a);
    const std::vector<double>& t = KernTabelle();
    if (i + 1 >= t.size())
        return 0.0;
    return t[i] + (a - static_cast<double>(i)) * (t[i + 1] - t[i]);
}

// Rates are whole numbers of Hz: p output frames take q input frames, and the kernel's weights
// repeat with the p phases of an output frame between two input frames. Tabled up to this many.
constexpr std::uint64_t GroessteTabelliertePhasen = 4096;

std::vector<float> NeuAbgetastet(const std::vector<float>& x, double alteRate, double neueRate) {
    const auto alt = static_cast<std::uint64_t>(std::llround(alteRate));
    const auto neu = static_cast<std::uint64_t>(std::llround(neueRate));
    const std::uint64_t p = neu / std::gcd(alt, neu), q = alt / std::gcd(alt, neu);
    const double band = Durchlass * std::min(1.0, static_cast<double>(neu) / static_cast<double>(alt));
    const auto halb = static_cast<std::ptrdiff_t>(std::ceil(KernNullstellen / band));
    const auto breite = static_cast<std::size_t>(2 * halb);
    // The weight of input frame floor(t) - halb + 1 + j for an output frame of phase `phase`.
    const auto gewicht = [&](std::uint64_t phase, std::size_t j) {
        const double bruch = static_cast<double>(phase * q % p) / static_cast<double>(p);
        return static_cast<float>(
            band * Kern(band * (bruch - static_cast<double>(static_cast<std::ptrdiff_t>(j) - halb + 1))));
    };
    const bool tabelliert = p <= GroessteTabelliertePhasen;
    std::vector<float> tabelle(tabelliert ? p * breite : breite);
    for (std::uint64_t phase = 0; tabelliert && phase < p; ++phase)
        for (std::size_t j = 0; j < breite; ++j)
            tabelle[phase * breite + j] = gewicht(phase, j);
    const std::size_t anzahl = x.size() * p / q;
    std::vector<float> y(anzahl);
    for (std::size_t n = 0; n < anzahl; ++n) {
        const std::uint64_t phase = n % p;
        const float* w = tabelle.data() + (tabelliert ? phase * breite : 0);
        if (!tabelliert)
            for (std::size_t j = 0; j < breite; ++j)
                tabelle[j] = gewicht(phase, j);
        // Input frames before the first or after the last count as silence.
        const auto anfang = static_cast<std::ptrdiff_t>((n / p) * q + phase * q / p) - halb + 1;
        const auto von = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, -anfang));
        const auto bis = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(
            static_cast<std::ptrdiff_t>(x.size()) - anfang, 0, static_cast<std::ptrdiff_t>(breite)));
        float summe = 0.0F;
        for (std::size_t j = von; j < bis; ++j)
            summe += x[static_cast<std::size_t>(anfang) + j] * w[j];
        y[n] = summe;
    }
    return y;
}

// Catmull-Rom interpolation between x[i] and x[i + 1] at fraction f; 1 <= i < size - 2.
float Kubisch(const std::vector<float>& x, std::size_t i, double f) {
    const double p0 = x[i - 1], p1 = x[i], p2 = x[i + 1], p3 = x[i + 2];
    return static_cast<float>(
        p1 +
        0.5 * f * (p2 - p0 + f * (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3 + f * (3.0 * (p1 - p2) + p3 - p0))));
}

std::uint16_t Kanalzahl(const TSignal& s) {
    return static_cast<std::uint16_t>(s.kanaele.size());
}

} // namespace

void Tiefpass(std::vector<float>& werte, double rate, double ecke, double q) {
    const TWinkel w = Winkel(rate, ecke, q);
    Filtere(werte, Normiert((1.0 - w.c) / 2.0, 1.0 - w.c, (1.0 - w.c) / 2.0, 1.0 + w.alpha, -2.0 * w.c,
                            1.0 - w.alpha));
}

void Hochpass(std::vector<float>& werte, double rate, double ecke, double q) {
    const TWinkel w = Winkel(rate, ecke, q);
    Filtere(werte, Normiert((1.0 + w.c) / 2.0, -(1.0 + w.c), (1.0 + w.c) / 2.0, 1.0 + w.alpha, -2.0 * w.c,
                            1.0 - w.alpha));
}

void Allpass(std::vector<float>& werte, double rate, double frequenz, double q) {
    if (q <= 0.0) {
        // First order: (c + z^-1) / (1 + c z^-1), a quarter turn of phase at `frequenz`.
        const double t = std::tan(std::numbers::pi * frequenz / rate);
        const double c = (t - 1.0) / (t + 1.0);
        Filtere(werte, {c, 1.0, 0.0, c, 0.0});
        return;
    }
    const TWinkel w = Winkel(rate, frequenz, q);
    Filtere(werte,
            Normiert(1.0 - w.alpha, -2.0 * w.c, 1.0 + w.alpha, 1.0 + w.alpha, -2.0 * w.c, 1.0 - w.alpha));
}

double Effektivwert(const std::vector<float>& werte) {
    if (werte.empty())
        return 0.0;
    double summe = 0.0;
    for (const float w : werte)
        summe += static_cast<double>(w) * w;
    return std::sqrt(summe / static_cast<double>(werte.size()));
}

double Spitze(const std::vector<float>& werte) {
    if (werte.empty())
        return 0.0;
    std::vector<float> betrag(werte.size());
    std::transform(werte.begin(), werte.end(), betrag.begin(), [](float w) { return std::abs(w); });
    constexpr double OhneLautestes = 0.999;
    const auto k = static_cast<std::ptrdiff_t>(OhneLautestes * static_cast<double>(betrag.size() - 1));
    std::nth_element(betrag.begin(), betrag.begin() + k, betrag.end());
    return betrag[static_cast<std::size_t>(k)];
}

void Normiere(TSignal& signal, float spitze) {
    const double jetzt = Spitze(signal.Band());
    if (jetzt <= 0.0)
        return;
    const auto faktor = static_cast<float>(spitze / jetzt);
    for (auto& kanal : signal.kanaele)
        for (float& w : kanal)
            w *= faktor;
}

void NeuAbtasten(TSignal& signal, double neueRate) {
    if (neueRate == signal.rate)
        return;
    for (auto& kanal : signal.kanaele)
        kanal = NeuAbgetastet(kanal, signal.rate, neueRate);
    signal.rate = neueRate;
}

void Abspielen(TSignal& signal, const std::function<double(double)>& geschwindigkeit) {
    // The speed changes slowly (flutter at 20 Hz at the most): asked for once every so many frames.
    constexpr int FramesJeGeschwindigkeit = 16;
    for (auto& kanal : signal.kanaele) {
        std::vector<float> neu;
        neu.reserve(kanal.size());
        double v = 1.0;
        for (double p = 1.0; p + 2.0 < static_cast<double>(kanal.size()); p += v) {
            if (neu.size() % FramesJeGeschwindigkeit == 0)
                v = geschwindigkeit(p / signal.rate);
            const auto i = static_cast<std::size_t>(p);
            neu.push_back(Kubisch(kanal, i, p - static_cast<double>(i)));
        }
        kanal = std::move(neu);
    }
}

QByteArray AlsWAV(const TSignal& signal) {
    const bool acht = signal.bits == 8;
    const auto bits = static_cast<std::uint16_t>(acht ? 8 : 16);
    const std::size_t frames = signal.kanaele.empty() ? 0 : signal.Band().size();
    const auto datenBytes = static_cast<std::uint32_t>(frames * signal.kanaele.size() * (bits / 8));
    const QByteArray fmt =
        WAVBau::FmtPCM(Kanalzahl(signal), static_cast<std::uint32_t>(std::lround(signal.rate)), bits);
    // The canonical head, written in place: the samples of a long recording are copied only once.
    QByteArray wav = QByteArray("RIFF") + WAVBau::Le32(4 + 8 + 16 + 8 + datenBytes + (datenBytes & 1)) +
                     QByteArray("WAVEfmt ") + WAVBau::Le32(16) + fmt + QByteArray("data") +
                     WAVBau::Le32(datenBytes);
    const qsizetype kopf = wav.size();
    wav.resize(kopf + datenBytes + (datenBytes & 1));
    auto* z = reinterpret_cast<unsigned char*>(wav.data()) + kopf;
    for (std::size_t i = 0; i < frames; ++i)
        for (const auto& kanal : signal.kanaele) {
            const float w = std::clamp(kanal[i], -1.0F, 1.0F);
            if (acht) {
                *z++ = static_cast<unsigned char>(std::lround(w * 127.0F) + 128);
            } else {
                const auto v = static_cast<std::uint16_t>(std::lround(w * 32767.0F));
                *z++ = static_cast<unsigned char>(v & 0xFF);
                *z++ = static_cast<unsigned char>(v >> 8);
            }
        }
    if (datenBytes & 1)
        *z = 0;
    return wav;
}

bool AusWAV(const QByteArray& wav, TSignal& signal) {
    const auto* b = reinterpret_cast<const unsigned char*>(wav.constData());
    const auto le16 = [b](qsizetype o) { return static_cast<std::uint32_t>(b[o] | (b[o + 1] << 8)); };
    const auto le32 = [&le16](qsizetype o) { return le16(o) | (le16(o + 2) << 16); };
    constexpr qsizetype ErsterChunk = 12;
    if (wav.size() < ErsterChunk || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE")
        return false;
    std::uint32_t kanaele = 0, rate = 0, bits = 0;
    for (qsizetype o = ErsterChunk; o + 8 <= wav.size();) {
        const QByteArray kennung = wav.mid(o, 4);
        const qsizetype groesse = std::min<qsizetype>(le32(o + 4), wav.size() - o - 8);
        if (kennung == "fmt " && groesse >= 16) {
            if (le16(o + 8) != 1)
                return false;
            kanaele = le16(o + 10);
            rate = le32(o + 12);
            bits = le16(o + 22);
        } else if (kennung == "data") {
            if ((kanaele != 1 && kanaele != 2) || (bits != 8 && bits != 16) || rate == 0)
                return false;
            const qsizetype breite = bits / 8;
            const qsizetype frames = groesse / (breite * kanaele);
            signal = TSignal{std::vector<std::vector<float>>(
                                 kanaele, std::vector<float>(static_cast<std::size_t>(frames))),
                             static_cast<double>(rate), static_cast<int>(bits)};
            const unsigned char* p = b + o + 8;
            for (qsizetype i = 0; i < frames; ++i)
                for (auto& kanal : signal.kanaele) {
                    kanal[static_cast<std::size_t>(i)] =
                        breite == 1
                            ? static_cast<float>(p[0] - 128) / 128.0F
                            : static_cast<float>(static_cast<std::int16_t>(p[0] | (p[1] << 8))) / 32768.0F;
                    p += breite;
                }
            return true;
        }
        o += 8 + groesse + (groesse & 1);
    }
    return false;
}

} // namespace Verschlechterung
