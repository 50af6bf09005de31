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

QByteArray Mzf(char erstesByte, int bytes = RumpfBytes) {
    QByteArray rumpf = RumpfMitBytes(bytes, 0x3c);
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

// The files read, header and body; with `zustaende`, their states, else each must be whole.
std::vector<QByteArray> Lies(const QStringList& pfade,
                             std::vector<TDateiBefund::TZustand>* zustaende = nullptr) {
    TMZFDatei leser;
    std::vector<std::unique_ptr<TMZFDatei>> gefunden;
    leser.LeseAlleAusWAV(pfade, {.modell = MZ80K, .sampleRate = BandBau::Rate, .erweitert = true}, gefunden);
    std::vector<QByteArray> dateien;
    for (const auto& d : gefunden) {
        if (zustaende)
            zustaende->push_back(d->HoleBefund().zustand);
        else
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

// The first recording heard nothing of header byte 8, the second nothing of byte 11 (each with the
// byte before it, which the pulse before the silence lasts into): four bytes of what names the file
// are uncertain in one or the other, too many to tell by the headers alone. Their bodies, read
// alike, tell that they are one file, and together they hold every byte.
TEST(MehrereAufnahmen, ReadingsWhoseBodiesAgreeAreOneFileThoughTheirNamesWereHeardInParts) {
    const QByteArray mzf = Mzf(0x11);
    const BandBau::TBand band(mzf);
    TStille erste, zweite;
    for (const std::size_t kopie : band.kopf) {
        erste.push_back(Byte(kopie, 8));
        zweite.push_back(Byte(kopie, 11));
    }
    const QString a = Aufnahme(QStringLiteral("a.wav"), band.bits, erste);
    const QString b = Aufnahme(QStringLiteral("b.wav"), band.bits, zweite);
    EXPECT_EQ(Lies({a, b}), std::vector<QByteArray>{mzf});
    EXPECT_EQ(Lies({b, a}), std::vector<QByteArray>{mzf});
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

// The second save lost body byte 20 in both copies: it is told damaged beside the first, from one
// recording and from two, not taken for a damaged reading of the first.
TEST(MehrereAufnahmen, ADamagedSecondSaveIsToldBesideTheFirst) {
    const QByteArray erste = Mzf(0x11), zweite = Mzf(0x22);
    const BandBau::TBand eins(erste), zwei(zweite);
    const std::size_t versatz = eins.bits.size();
    const TStille stille{{Byte(versatz + zwei.rumpf[0], 20).first, Byte(versatz + zwei.rumpf[0], 20).second},
                         {Byte(versatz + zwei.rumpf[1], 20).first, Byte(versatz + zwei.rumpf[1], 20).second}};
    const QString a = Aufnahme(QStringLiteral("a.wav"), eins.bits + zwei.bits, stille);
    const QString b = Aufnahme(QStringLiteral("b.wav"), eins.bits + zwei.bits, stille);
    using Z = TDateiBefund::TZustand;
    for (const QStringList& aufnahmen : {QStringList{a}, QStringList{a, b}}) {
        SCOPED_TRACE(aufnahmen.size());
        std::vector<Z> zustaende;
        const std::vector<QByteArray> dateien = Lies(aufnahmen, &zustaende);
        ASSERT_EQ(dateien.size(), 2U);
        EXPECT_EQ(dateien[0], erste);
        EXPECT_EQ(zustaende, (std::vector<Z>{Z::Intakt, Z::Beschaedigt}));
        // The damaged save is the second one up to the byte before the dropout (whose last pulse
        // lasts into it).
        EXPECT_EQ(dateien[1].left(TMZFDatei::KopfGroesse + 19), zweite.left(TMZFDatei::KopfGroesse + 19));
    }
}

// The first recording heard nothing of the size's high byte in either header copy, the second
// nothing of body byte 20 in either body copy. The first recording measures the size on the tape,
// so its evidence joins the second's: the file is told once, whole.
TEST(MehrereAufnahmen, AReadingWithItsSizeUncertainJoinsTheOthers) {
    constexpr int Bytes = 300; // a size whose high byte is not 0
    const QByteArray mzf = Mzf(0x11, Bytes);
    const BandBau::TBand band(mzf);
    constexpr int GroesseHoch = 19;
    const QString erste = Aufnahme(QStringLiteral("erste.wav"), band.bits,
                                   {Byte(band.kopf[0], GroesseHoch), Byte(band.kopf[1], GroesseHoch)});
    const QString zweite =
        Aufnahme(QStringLiteral("zweite.wav"), band.bits, {Byte(band.rumpf[0], 20), Byte(band.rumpf[1], 20)});
    for (const QStringList& aufnahmen : {QStringList{erste, zweite}, QStringList{zweite, erste}}) {
        SCOPED_TRACE(aufnahmen.join(QStringLiteral(", ")).toStdString());
        std::vector<TDateiBefund::TZustand> zustaende;
        EXPECT_EQ(Lies(aufnahmen), std::vector<QByteArray>{mzf});
    }
}
