// Worn tapes made to order: a recording as numbers, and the ways a cassette, a tape deck and a
// recorder spoil it, each at three strengths. Everything is deterministic: the random parts draw
// from a generator seeded by the caller, the parameters are the constants below. Only the lossy
// codec needs an outside tool (sox); everything else is done here, sample by sample.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace Verschlechterung {

// A recording, full scale +-1, one vector per channel. The tape is the only channel until the
// degradation that puts noise beside it adds a channel before it, so it comes last. `bits` is what the
// recorder stores (8 or 16).
struct TSignal {
    std::vector<std::vector<float>> kanaele;
    double rate = 0.0;
    int bits = 16;

    std::vector<float>& Band() { return kanaele.back(); }
    const std::vector<float>& Band() const { return kanaele.back(); }
    double Sekunden() const { return kanaele.empty() ? 0.0 : static_cast<double>(Band().size()) / rate; }
};

enum class TStaerke { Leicht, Typisch, Schwer };
inline constexpr std::array<TStaerke, 3> AlleStaerken{TStaerke::Leicht, TStaerke::Typisch, TStaerke::Schwer};
// "mild", "typical", "severe".
const char* StaerkeName(TStaerke staerke);

// In the order a tape meets them: recorded too loud into saturation, stored beside its neighbouring
// layers, played on a worn deck and recorded by a cheap recorder.
enum class TArt {
    Keine,          // the clean source, for reference
    Uebersteuerung, // clipping at the recorder's input
    Saettigung,     // tape saturation: high and low parts of a pulse change their lengths
    Kopiereffekt,   // print-through: faint copies of the neighbouring layers, before and after
    Aussetzer,      // dropouts: the oxide loses contact, the level sinks into the hiss
    Drift,          // the motor's speed drifts along the tape
    Jaulen,         // wow: the capstan's speed swings slowly
    Flattern,       // flutter: the same, fast
    Allpass,        // azimuth and phase smear: the delay depends on the frequency
    Rauschen,       // hiss and a dull treble
    Knackser,       // clicks: short loud impulses
    Codec,          // a lossy codec (Ogg Vorbis)
    AchtBit,        // 8-bit samples at 8 kHz
    Kanal,          // the tape on one channel of a stereo file, noise on the other
    Alles,          // everything above at once, in this order
};
inline constexpr std::array<TArt, 14> AlleArten{
    TArt::Uebersteuerung, TArt::Saettigung, TArt::Kopiereffekt, TArt::Aussetzer, TArt::Drift,
    TArt::Jaulen,         TArt::Flattern,   TArt::Allpass,      TArt::Rauschen,  TArt::Knackser,
    TArt::Codec,          TArt::AchtBit,    TArt::Kanal,        TArt::Alles};
// A short English name for tables, e.g. "wow" or "print-through".
const char* ArtName(TArt art);

// The strengths. Each table holds mild, typical, severe in that order; levels in dB count against
// the tape signal's RMS unless said otherwise.

// Wow and flutter: a sinusoidal speed swing of `anteil` (peak, 0.01 = 1 %) at `frequenz` Hz.
struct TGleichlauf {
    double frequenz;
    double anteil;
};
inline constexpr std::array<TGleichlauf, 3> JaulenStaerken{{{0.7, 0.005}, {1.5, 0.015}, {3.5, 0.03}}};
inline constexpr std::array<TGleichlauf, 3> FlatternStaerken{{{9.0, 0.005}, {13.0, 0.015}, {19.0, 0.03}}};

// Speed drift: the speed moves in a straight line from 1 + anteil at the start of the recording to
// 1 - anteil at its end (a motor that slows as the tape winds on).
inline constexpr std::array<double, 3> DriftStaerken{0.05, 0.12, 0.25};

// Dropouts: on average `proSekunde` a second (random gaps), each between `AussetzerFlachsteDb` and
// `tiefsteDb` deep (at random) and lasting between `kuerzesteMs` and `laengsteMs`, reached and left
// over `AussetzerFlankeMs` (the tape lifts off and settles smoothly). The level sinks into a hiss
// floor `AussetzerRauschDb` below the signal: the noise of the head and the amplifier, which a
// dropout does not take away.
struct TAussetzer {
    double proSekunde;
    double tiefsteDb;
    double kuerzesteMs;
    double laengsteMs;
};
inline constexpr std::array<TAussetzer, 3> AussetzerStaerken{
    {{2.0, 16.0, 2.0, 10.0}, {4.0, 24.0, 2.0, 25.0}, {6.0, 30.0, 2.0, 50.0}}};
inline constexpr double AussetzerFlachsteDb = 10.0;
inline constexpr double AussetzerFlankeMs = 1.0;
inline constexpr double AussetzerRauschDb = -36.0;

// Clicks: on average `proSekunde` a second, each a damped ring of 2 to 6 kHz whose first peak is
// `hoehe` times the tape signal's peak, random in sign, dying away within `abklingMs`.
struct TKnackser {
    double proSekunde;
    double hoehe;
};
inline constexpr std::array<TKnackser, 3> KnackserStaerken{{{1.0, 1.0}, {4.0, 2.0}, {15.0, 4.0}}};
inline constexpr double KnackserAbklingMs = 0.3;

// Clipping: the recorder's input gain raised by this many dB over a signal that peaks at half
// scale; full scale cuts it off.
inline constexpr std::array<double, 3> UebersteuerungDb{9.0, 15.0, 24.0};

// Tape saturation of a head with a remanent field: the head's rounded edges (a second-order
// low-pass at `SaettigungEckeHz`), a DC shift of `versatz` times the signal's peak, a limiter
// p * tanh(treiben * x / p) / tanh(treiben) at that peak p (the tape holds no more flux), and the
// recorder's AC coupling (a second-order high-pass at `SaettigungKopplungHz`). The shift moves the
// level at which the rounded edges cross, and the limiter makes the edges steep again there: the
// low part of every pulse gets shorter and the high part longer, by about 25, 55 and 80 us at the
// three strengths (the MZ-700's short low part lasts 143 us).
struct TSaettigung {
    double versatz;
    double treiben;
};
inline constexpr std::array<TSaettigung, 3> SaettigungStaerken{{{0.3, 4.0}, {0.5, 6.0}, {0.65, 8.0}}};
inline constexpr double SaettigungEckeHz = 3000.0;
inline constexpr double SaettigungKopplungHz = 20.0;

// Hiss with a dull treble: the treble falls off above `eckeHz` (two second-order low-pass sections,
// 24 dB per octave), then white hiss at `rauschDb`.
struct TRauschen {
    double eckeHz;
    double rauschDb;
};
inline constexpr std::array<TRauschen, 3> RauschenStaerken{
    {{6000.0, -30.0}, {3500.0, -20.0}, {2200.0, -12.0}}};

// All-pass smear: second-order all-pass sections (centre frequency, Q); a first-order one where Q is
// 0. The delay then depends on the frequency, so each zero crossing moves by an amount that depends
// on the neighbouring pulses.
struct TAllpassStufe {
    double frequenz;
    double q;
};
struct TAllpass {
    std::array<TAllpassStufe, 2> stufen;
    int anzahl;
};
inline constexpr std::array<TAllpass, 3> AllpassStaerken{
    {{{{{2000.0, 0.0}, {}}}, 1}, {{{{1500.0, 0.7}, {}}}, 1}, {{{{1000.0, 1.0}, {2500.0, 1.0}}}, 2}}};

// Print-through: the layer wound over and the layer under this one leave faint copies
// `KopiereffektAbstand` seconds before (pre-echo, `vorDb`) and after (post-echo, `nachDb`); levels
// against the signal. 1.5 s is one turn near the hub of a cassette at 4.76 cm/s.
struct TKopiereffekt {
    double vorDb;
    double nachDb;
};
inline constexpr std::array<TKopiereffekt, 3> KopiereffektStaerken{
    {{-40.0, -46.0}, {-30.0, -36.0}, {-20.0, -26.0}}};
inline constexpr double KopiereffektAbstand = 1.5;

// Ogg Vorbis through sox at this quality (-1 lowest, 10 highest), at this sample rate.
struct TCodec {
    int qualitaet;
    double rate;
};
inline constexpr std::array<TCodec, 3> CodecStaerken{{{6, 44100.0}, {3, 44100.0}, {0, 22050.0}}};

// 8-bit samples at 8 kHz, recorded this many dB below the half-scale peak: the lower, the fewer of
// the 256 steps the pulses use.
inline constexpr double AchtBitRate = 8000.0;
inline constexpr std::array<double, 3> AchtBitPegelDb{0.0, -18.0, -30.0};

// White noise on the left channel at this level against the tape, the tape on the right.
inline constexpr std::array<double, 3> KanalRauschDb{-20.0, -10.0, 0.0};

// The tape deck's own response that every clean source passes through before any degradation: a
// second-order low-pass, so that no edge is steeper than a tape gives it.
inline constexpr double BandEckeHz = 8000.0;
// Sources are brought to this peak (ignoring the loudest thousandth of the samples).
inline constexpr float QuellSpitze = 0.5F;

// Applies one degradation in place (TArt::Keine leaves the signal as it is). `startwert` starts what it
// draws at random; the same value gives the same recording. Fails (with the reason in `fehler`) only when sox
// fails.
bool Verschlechtere(TSignal& signal, TArt art, TStaerke staerke, std::uint32_t startwert, QString& fehler);

// Building blocks, for the sources and for tests of the blocks themselves.
// Windowed-sinc sample rate conversion; below the old rate the band is limited first.
void NeuAbtasten(TSignal& signal, double neueRate);
// Plays the signal at a varying speed: `geschwindigkeit(sekunde)` is the speed (1 nominal, more
// is faster and so shortens the pulses) at that time of the original recording.
void Abspielen(TSignal& signal, const std::function<double(double)>& geschwindigkeit);
// Scales the signal so that its peak (without the loudest thousandth) is `spitze`.
void Normiere(TSignal& signal, float spitze);
// The peak without the loudest thousandth of the samples.
double Spitze(const std::vector<float>& werte);
// Second-order sections (RBJ cookbook): low-pass, high-pass and all-pass.
void Tiefpass(std::vector<float>& werte, double rate, double ecke, double q);
void Hochpass(std::vector<float>& werte, double rate, double ecke, double q);
void Allpass(std::vector<float>& werte, double rate, double frequenz, double q);
double Effektivwert(const std::vector<float>& werte);

// The signal as a PCM WAV file of `bits` (8 or 16) per sample, written byte by byte.
QByteArray AlsWAV(const TSignal& signal);
// A PCM WAV file of 8 or 16 bits in one or two channels as a signal; false for anything else.
bool AusWAV(const QByteArray& wav, TSignal& signal);

} // namespace Verschlechterung
