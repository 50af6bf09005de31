// Writes a small initial corpus for fuzz_wav into the directory given: short pulse trains in each of
// the four sample formats and both polarities, the extended reader's formats, containers with extra
// chunks, and one whole MZ file
// (empty body, shortened tape format, MZ-80B timing at 8000 Hz) so that mutations reach the parser.
#include "MZFDatei.h"
#include "MZWAVDateiSchreiber.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

namespace {

constexpr std::uint8_t Stille = 128;
constexpr std::uint8_t Tief = 64;
constexpr std::uint8_t Hoch = 192;

QByteArray Le16(std::uint16_t v) {
    QByteArray b;
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>(v >> 8));
    return b;
}
QByteArray Le32(std::uint32_t v) {
    return Le16(static_cast<std::uint16_t>(v & 0xFFFF)) + Le16(static_cast<std::uint16_t>(v >> 16));
}
QByteArray Chunk(const char* kennung, const QByteArray& inhalt) {
    QByteArray b = QByteArray(kennung, 4) + Le32(static_cast<std::uint32_t>(inhalt.size())) + inhalt;
    if (inhalt.size() % 2 != 0)
        b.append('\0');
    return b;
}
QByteArray Fmt(std::uint16_t kanaele, std::uint32_t rate, std::uint16_t bits, bool erweitert) {
    const auto block = static_cast<std::uint16_t>(kanaele * bits / 8);
    QByteArray f = Le16(1) + Le16(kanaele) + Le32(rate) + Le32(rate * block) + Le16(block) + Le16(bits);
    if (erweitert)
        f += Le16(0);
    return Chunk("fmt ", f);
}
QByteArray Riff(const QByteArray& chunks) {
    return QByteArray("RIFF") + Le32(static_cast<std::uint32_t>(4 + chunks.size())) + QByteArray("WAVE") +
           chunks;
}

// Frames on the common scale as sample data of the format.
QByteArray Daten(const std::string& pegel, std::uint16_t kanaele, std::uint16_t bits) {
    QByteArray d;
    for (char c : pegel) {
        const auto v = static_cast<std::uint8_t>(c);
        for (int k = 0; k < kanaele; ++k) {
            if (bits == 8)
                d.append(static_cast<char>(v));
            else
                d += Le16(static_cast<std::uint16_t>((v - 128) * 256));
        }
    }
    return d;
}

// The pulses of a bit text between two short silences, at the model's lengths for the rate.
std::string Impulse(const std::string& bits, int modell, std::uint32_t rate, bool invertiert, int stille) {
    const auto pegel = [invertiert](std::uint8_t p) { return static_cast<char>(invertiert ? 255 - p : p); };
    std::string s(static_cast<std::size_t>(stille), static_cast<char>(Stille));
    for (char c : bits) {
        const auto k = TMZWAVDateiSchreiber::BerechneImpulsLaengen(modell, rate, c == '1');
        s.append(static_cast<std::size_t>(k.ersterTeil), pegel(Tief));
        s.append(static_cast<std::size_t>(k.zweiterTeil), pegel(Hoch));
    }
    s.append(static_cast<std::size_t>(stille), static_cast<char>(Stille));
    return s;
}

bool Schreibe(const QString& pfad, const QByteArray& inhalt) {
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const QDir ziel(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(ziel.path()))
        return 1;
    std::mt19937 zufall(1977u);
    std::string bits;
    for (int i = 0; i < 64; ++i)
        bits += (zufall() & 1) != 0 ? '1' : '0';
    int anzahl = 0;
    bool ok = true;
    const auto schreibe = [&](const QString& name, const QByteArray& inhalt) {
        ok = Schreibe(ziel.filePath(name), inhalt) && ok;
        ++anzahl;
    };
    for (const std::uint16_t kanaele : {1, 2}) {
        for (const std::uint16_t tiefe : {8, 16}) {
            for (const bool invertiert : {false, true}) {
                for (const std::uint32_t rate : {8000u, 22050u}) {
                    const std::string pegel = Impulse(bits, MZ700, rate, invertiert, 8);
                    schreibe(
                        QStringLiteral("puls-%1x%2-%3-%4.wav")
                            .arg(kanaele)
                            .arg(tiefe)
                            .arg(rate)
                            .arg(invertiert ? QStringLiteral("inv") : QStringLiteral("norm")),
                        Riff(Fmt(kanaele, rate, tiefe, false) + Chunk("data", Daten(pegel, kanaele, tiefe))));
                }
            }
        }
    }
    // The extended reader's formats: 24 and 32 bits, floating point, the extensible form, more
    // channels, higher rates, and a recorder's unfinished sizes.
    {
        const std::string pegel = Impulse(bits, MZ700, 48000, false, 8);
        const auto umgewandelt = [&pegel](int bytes, bool gleitkomma, int kanaele) {
            QByteArray d;
            for (char c : pegel) {
                const double x = (static_cast<std::uint8_t>(c) - 128.0) / 128.0;
                for (int k = 0; k < kanaele; ++k) {
                    if (gleitkomma && bytes == 4) {
                        const float f = static_cast<float>(x);
                        d.append(reinterpret_cast<const char*>(&f), sizeof f);
                    } else if (gleitkomma) {
                        d.append(reinterpret_cast<const char*>(&x), sizeof x);
                    } else {
                        const auto v =
                            static_cast<std::uint32_t>(static_cast<std::int32_t>(x * 2147483647.0));
                        d.append(Le32(v).right(bytes));
                    }
                }
            }
            return d;
        };
        const auto fmt = [](std::uint16_t tag, std::uint16_t kanaele, std::uint32_t rate,
                            std::uint16_t bits) {
            const auto block = static_cast<std::uint16_t>(kanaele * bits / 8);
            return Le16(tag) + Le16(kanaele) + Le32(rate) + Le32(rate * block) + Le16(block) + Le16(bits);
        };
        const QByteArray guidRest = QByteArray::fromHex("000000001000800000aa00389b71");
        schreibe(QStringLiteral("erweitert-24bit-48k.wav"),
                 Riff(Chunk("fmt ", fmt(1, 1, 48000, 24)) + Chunk("data", umgewandelt(3, false, 1))));
        schreibe(QStringLiteral("erweitert-float-3kanal.wav"),
                 Riff(Chunk("fmt ", fmt(3, 3, 48000, 32)) + Chunk("data", umgewandelt(4, true, 3))));
        schreibe(QStringLiteral("erweitert-double.wav"),
                 Riff(Chunk("fmt ", fmt(3, 1, 48000, 64)) + Chunk("data", umgewandelt(8, true, 1))));
        schreibe(QStringLiteral("erweitert-extensible-32bit-2kanal.wav"),
                 Riff(Chunk("fmt ",
                            fmt(0xFFFE, 2, 48000, 32) + Le16(22) + Le16(32) + Le32(3) + Le16(1) + guidRest) +
                      Chunk("data", umgewandelt(4, false, 2))));
        QByteArray offen =
            Riff(Chunk("fmt ", fmt(1, 1, 48000, 24)) + Chunk("data", umgewandelt(3, false, 1)));
        offen.replace(4, 4, Le32(0));
        offen.replace(40, 4, Le32(0xFFFFFFFF));
        schreibe(QStringLiteral("erweitert-groessen-offen.wav"), offen);
    }

    const std::string pegel = Impulse(bits, MZ80K, 11025, false, 4);
    schreibe(QStringLiteral("chunks-list-fmt18.wav"),
             Riff(Chunk("LIST", QByteArray("INFOISFT\x03\0\0\0ab", 15)) + Fmt(1, 11025, 8, true) +
                  Chunk("data", Daten(pegel, 1, 8)) + Chunk("junk", QByteArray(3, 'j'))));
    schreibe(QStringLiteral("chunks-ungerade-daten.wav"),
             Riff(Fmt(1, 11025, 8, false) + Chunk("data", Daten(pegel.substr(0, 101), 1, 8))));

    // One whole MZ file: attribute 1, name "A", empty body.
    QByteArray mzf(TMZFDatei::KopfGroesse, static_cast<char>(TMZFDatei::Ende));
    mzf[TMZFDatei::OffsetAttribut] = 0x01;
    mzf[TMZFDatei::OffsetName] = 'A';
    for (const int offset : {TMZFDatei::OffsetGroesse, TMZFDatei::OffsetGroesse + 1})
        mzf[offset] = 0;
    const QString mzfPfad = ziel.filePath(QStringLiteral("leer.mzf.tmp"));
    TMZFDatei datei;
    if (!Schreibe(mzfPfad, mzf) || !datei.Laden(mzfPfad))
        return 1;
    QFile::remove(mzfPfad);
    const std::string ganz =
        Impulse(datei.ErzeugeTonbandBits({.modell = MZ80B, .sampleRate = 8000, .verkuerzt = true}), MZ80B,
                8000, false, 16);
    // The last input byte picks the model of fuzz_wav: a chunk after "data" ends in the MZ-80B's index.
    schreibe(QStringLiteral("mz-datei-mz80b.wav"),
             Riff(Fmt(1, 8000, 8, false) + Chunk("data", Daten(ganz, 1, 8)) +
                  Chunk("junk", QByteArray(2, static_cast<char>(MZ80B)))));
    std::printf("%d files in %s\n", anzahl, qPrintable(ziel.path()));
    return ok ? 0 : 1;
}
