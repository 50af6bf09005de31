// A recording of MZ files put together pulse by pulse (WAVBau's table of sample counts), with
// the frame where each header and body copy begins worked out here by counting samples: the
// places the tape view must show. One bit of the first body copy of a file may be flipped, so
// that its checksum fails while the second copy reads.
#pragma once

#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "WAVBau.h"

#include <QByteArray>
#include <string>
#include <vector>

namespace TestBand {

// Where a file's blocks begin, in frames of the recording.
struct TOrt {
    std::int64_t kopf = 0;
    std::int64_t rumpf = 0;
    std::int64_t rumpf2 = 0; // the body's second copy
};

struct TBand {
    QByteArray wav;
    std::vector<TOrt> orte;
    std::int64_t frames = 0;
};

// Programs FILE0, FILE1, ... of `groesse` bytes each, each body different: a recording long
// enough for several blocks of frames.
inline std::vector<QByteArray> Programme(int anzahl, int groesse) {
    std::vector<QByteArray> mzfs;
    for (int i = 0; i < anzahl; ++i)
        mzfs.push_back(ProgrammMZF(QByteArray("FILE") + QByteArray::number(i), RumpfMitBytes(groesse, i)));
    return mzfs;
}

// The first pulse after a mark: so many long, as many short pulses, one long.
inline std::size_t NachMarke(const std::string& bits, int impulse, std::size_t ab) {
    const std::string marke = std::string(static_cast<std::size_t>(impulse), '1') +
                              std::string(static_cast<std::size_t>(impulse), '0') + "1";
    return bits.find(marke, ab) + marke.size();
}

// Each file's tape bits (the full format: two copies of each block) in turn, in normal polarity; with
// `kippen` the first data bit of file `kippen`'s first body copy flipped.
inline TBand Baue(const std::vector<QByteArray>& mzfs, int kippen = -1) {
    const WAVBau::TImpulsFolge folge;
    const int lang = folge.langTief + folge.langHoch;
    const int kurz = folge.kurzTief + folge.kurzHoch;
    TBand band;
    std::vector<std::uint8_t> samples;
    for (std::size_t i = 0; i < mzfs.size(); ++i) {
        TMZFDatei datei;
        const QString pfad = SchreibeTestDatei(mzfs[i], QStringLiteral("band%1.mzf").arg(i));
        if (!datei.Laden(pfad))
            return {};
        std::string bits = datei.ErzeugeTonbandBits({.modell = MZ80K});
        const std::size_t kopf = NachMarke(bits, TMZFDatei::LangeMarkeImpulse, 0);
        const std::size_t rumpf = NachMarke(bits, TMZFDatei::KurzeMarkeImpulse, kopf);
        if (static_cast<int>(i) == kippen)
            bits[rumpf + 1] = bits[rumpf + 1] == '1' ? '0' : '1';
        const auto frameVon = [&](std::size_t impuls) {
            std::int64_t f = static_cast<std::int64_t>(samples.size()) + folge.stilleFrames;
            for (std::size_t k = 0; k < impuls; ++k)
                f += bits[k] == '1' ? lang : kurz;
            return f;
        };
        // The second copy: after the first's bytes and checksum, a long pulse and 256 short ones.
        const std::size_t groesse =
            static_cast<std::uint8_t>(mzfs[i][18]) | static_cast<std::uint8_t>(mzfs[i][19]) << 8;
        const std::size_t rumpf2 = rumpf + (groesse + 2) * 9 + 1 + 256;
        band.orte.push_back({frameVon(kopf), frameVon(rumpf), frameVon(rumpf2)});
        WAVBau::HaengeImpulseAn(samples, bits, false, folge);
    }
    band.frames = static_cast<std::int64_t>(samples.size());
    band.wav = WAVBau::Wav(1, 22050, 8, WAVBau::Daten8(samples));
    return band;
}

} // namespace TestBand
