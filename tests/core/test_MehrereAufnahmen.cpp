// Several recordings of one tape read as one, with the extended decoding: the same file on all of
// them is one file, put together from all their copies, even where one recording read a byte of
// its name uncertainly; a file saved twice with other contents stays two files. The recordings are
// built here pulse by pulse from the tape format and silenced where the test wants.
#include "BandBau.h"
#include "MZFDatei.h"
#include "MZFTestDaten.h"
#include "TestUmgebung.h"

#include <gtest/gtest.h>

namespace {

constexpr int RumpfBytes = 64;

QByteArray Mzf(char erstesByte) {
    QByteArray rumpf = RumpfMitBytes(RumpfBytes, 0x3c);
    rumpf[0] = erstesByte;
    return ProgrammMZF("TWICE", rumpf);
}

using TStille = std::vector<std::pair<std::size_t, std::size_t>>;

// The pulses of `byte` (its start bit and data bits) from the copy beginning at `kopie`.
std::pair<std::size_t, std::size_t> Byte(std::size_t kopie, int byte) {
    const std::size_t anfang = kopie + BandBau::ByteImpulse * static_cast<std::size_t>(byte);
    return {anfang, anfang + BandBau::ByteImpulse};
}

QString Aufnahme(const QString& name, const std::string& bits, const TStille& stille) {
    const QString pfad = TestVerzeichnis() + QLatin1Char('/') + name;
    SchreibeDatei(pfad, BandBau::WAV(bits, stille));
    return pfad;
}

std::vector<QByteArray> Lies(const QStringList& pfade) {
    TMZFDatei leser;
    std::vector<std::unique_ptr<TMZFDatei>> gefunden;
    leser.LeseAlleAusWAV(pfade, {.modell = MZ80K, .sampleRate = BandBau::Rate, .erweitert = true}, gefunden);
    std::vector<QByteArray> dateien;
    for (const auto& d : gefunden) {
        EXPECT_NE(d->HoleBefund().zustand, TDateiBefund::TZustand::Beschaedigt)
            << d->HoleMZDateiName().toStdString();
        dateien.push_back(
            QByteArray(reinterpret_cast<const char*>(d->Kopf().data()), TMZFDatei::KopfGroesse) +
            QByteArray(reinterpret_cast<const char*>(d->Rumpf()), d->HoleMZDateiGroesse()));
    }
    return dateien;
}

} // namespace

// The first recording heard nothing of name byte 3 in either header copy (its name uncertain
// there), the second nothing of body byte 20 in either body copy: each alone leaves the file
// damaged, together they hold every byte, and it is one file.
TEST(MehrereAufnahmen, AFileWhoseNameOneRecordingReadUncertainlyIsOneFile) {
    const QByteArray mzf = Mzf(0x11);
    const BandBau::TBand band(mzf);
    const QString erste =
        Aufnahme(QStringLiteral("erste.wav"), band.bits, {Byte(band.kopf[0], 3), Byte(band.kopf[1], 3)});
    const QString zweite =
        Aufnahme(QStringLiteral("zweite.wav"), band.bits, {Byte(band.rumpf[0], 20), Byte(band.rumpf[1], 20)});
    EXPECT_EQ(Lies({erste, zweite}), std::vector<QByteArray>{mzf});
    EXPECT_EQ(Lies({zweite, erste}), std::vector<QByteArray>{mzf});
}

// The tape holds the file twice, saved with another first byte the second time; both recordings
// heard it whole. Each recording alone gives both versions, and so do both together.
TEST(MehrereAufnahmen, AFileSavedTwiceWithOtherContentsStaysTwoFiles) {
    const QByteArray erste = Mzf(0x11), zweite = Mzf(0x22);
    const std::string bits = BandBau::TBand(erste).bits + BandBau::TBand(zweite).bits;
    const QString a = Aufnahme(QStringLiteral("a.wav"), bits, {});
    const QString b = Aufnahme(QStringLiteral("b.wav"), bits, {});
    const std::vector<QByteArray> beide{erste, zweite};
    EXPECT_EQ(Lies({a}), beide);
    EXPECT_EQ(Lies({a, b}), beide);
}
