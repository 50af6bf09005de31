// The extended container reader: every format it takes gives the fixed passes the samples of the
// plain reader's scale, the sloppy sizes of recorders are read to the end of the file, and what it
// still refuses gets the plain reader's messages. Files are put together byte by byte.
#include "BandFehlerTest.h"
#include "MZWAVMehrfachDekoder.h"
#include "PlattformSkript.h"
#include "ProgrammEinstellungen.h"
#include "TestUmgebung.h"
#include "WAVBau.h"

#include <QDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace WAVBau;

namespace {

// The pulses of a short tape text at 22050 Hz on 8-bit levels 64 and 192, silence 128.
std::vector<std::uint8_t> Pulse8() {
    std::vector<std::uint8_t> samples;
    HaengeImpulseAn(samples, std::string(300, '0') + std::string(40, '1') + std::string(300, '0'), false);
    return samples;
}

// One 8-bit level in another sample format: the same place on the scale.
QByteArray Als(std::uint8_t v, std::uint16_t tag, int bits) {
    const double x = (v - 128.0) / 128.0;
    if (tag == 3 && bits == 32) {
        const float f = static_cast<float>(x);
        return QByteArray(reinterpret_cast<const char*>(&f), sizeof f);
    }
    if (tag == 3)
        return QByteArray(reinterpret_cast<const char*>(&x), sizeof x);
    switch (bits) {
    case 8:
        return QByteArray(1, static_cast<char>(v));
    case 16:
        return Le16(static_cast<std::uint16_t>((v - 128) * 256));
    case 24:
        return Le32(static_cast<std::uint32_t>((v - 128) * 65536)).left(3);
    default:
        return Le32(static_cast<std::uint32_t>((v - 128) * 16777216));
    }
}

QByteArray Fmt(std::uint16_t tag, std::uint16_t kanaele, std::uint32_t rate, int bits, bool erweiterbar) {
    const auto block = static_cast<std::uint16_t>(kanaele * bits / 8);
    if (!erweiterbar)
        return FmtFelder(tag, kanaele, rate, rate * block, block, static_cast<std::uint16_t>(bits));
    return FmtFelder(0xFFFE, kanaele, rate, rate * block, block, static_cast<std::uint16_t>(bits)) +
           Le16(22) + Le16(static_cast<std::uint16_t>(bits)) + Le32(0) + Le16(tag) +
           QByteArray::fromHex("000000001000800000aa00389b71");
}

class ErweiterterLeser : public ::testing::Test {
protected:
    void SetUp() override { TestSprache(true); }
    void TearDown() override { EinstellungenLeeren(); }
    QString Datei(const QByteArray& inhalt) {
        const QString pfad = QDir(TestVerzeichnis()).filePath(QStringLiteral("e.wav"));
        SchreibeDatei(pfad, inhalt);
        return pfad;
    }
    // The normal-polarity text of the fixed pass, with the extended reader or the plain one.
    bool Dekodiere(const QString& pfad, bool erweitert, std::string& text) {
        fehler = dekoder.Dekodiere(pfad, {.modell = MZ80K, .erweitert = erweitert}, {{false, false}});
        if (!fehler.IstOk())
            return false;
        text = dekoder.HoleBitText(0);
        return true;
    }
    TPlattformSkript skript;
    TMZWAVMehrfachDekoder dekoder;
    TBandFehler fehler;
};

// Every format taken: the tape in every channel, or in one channel with silence in the others
// (the fixed passes see the mean of all channels, so a 16-bit copy of the silence keeps the
// scale); the fixed pass reads what it reads from the plain 8-bit file.
TEST_F(ErweiterterLeser, JedesFormatGibtDieselbenBits) {
    const std::vector<std::uint8_t> samples = Pulse8();
    std::string erwartet;
    ASSERT_TRUE(Dekodiere(Datei(Wav(1, 22050, 8, Daten8(samples))), false, erwartet));
    ASSERT_GT(erwartet.size(), 600U);
    struct TFall {
        std::uint16_t tag;
        int bits;
        std::uint16_t kanaele;
        bool erweiterbar;
    };
    const TFall faelle[] = {{1, 8, 1, true},   {1, 16, 1, true},  {1, 24, 1, false},
                            {1, 24, 2, false}, {1, 32, 1, false}, {1, 32, 8, true},
                            {3, 32, 1, false}, {3, 64, 3, false}, {3, 32, 2, true}};
    for (const TFall& fall : faelle) {
        SCOPED_TRACE(testing::Message()
                     << fall.tag << "/" << fall.bits << "/" << fall.kanaele << "/" << fall.erweiterbar);
        QByteArray daten;
        for (std::uint8_t v : samples)
            for (int k = 0; k < fall.kanaele; ++k)
                daten += Als(v, fall.tag, fall.bits);
        const QString pfad =
            Datei(Riff(Chunk("fmt ", Fmt(fall.tag, fall.kanaele, 22050, fall.bits, fall.erweiterbar)) +
                       Chunk("data", daten)));
        std::string text;
        ASSERT_TRUE(Dekodiere(pfad, true, text)) << testing::PrintToString(fehler);
        EXPECT_EQ(text, erwartet);
        EXPECT_EQ(dekoder.HoleAnzahlFrames(), static_cast<std::int32_t>(samples.size()));
        EXPECT_EQ(dekoder.HoleFormat().kanaele, fall.kanaele);
        // The plain reader refuses all of these but the first two.
        skript.Leeren();
        const bool plain = Dekodiere(pfad, false, text);
        EXPECT_EQ(plain, fall.kanaele == 1 && fall.bits <= 16 && !fall.erweiterbar);
    }
}

// The sizes recorders write wrong: read to the end of the file; bytes after the RIFF chunk are
// not samples.
TEST_F(ErweiterterLeser, UngenaueGroessenLesenBisZumEnde) {
    const QByteArray daten = Daten8(Pulse8());
    const auto frames = static_cast<std::int32_t>(daten.size());
    const QByteArray fmt = Chunk("fmt ", FmtPCM(1, 48000, 8));
    const QByteArray rumpf = QByteArray("WAVE") + fmt;
    const auto riff = [&](std::uint32_t groesse, const QByteArray& rest) {
        return QByteArray("RIFF") + Le32(groesse) + rumpf + rest;
    };
    const auto data = [&](std::uint32_t groesse) { return QByteArray("data") + Le32(groesse) + daten; };
    const std::uint32_t richtig = static_cast<std::uint32_t>(rumpf.size() + 8 + daten.size());
    struct TFall {
        const char* was;
        QByteArray datei;
        std::int32_t frames;
    };
    const TFall faelle[] = {
        {"RIFF size too large", riff(richtig + 1000, data(static_cast<std::uint32_t>(daten.size()))), frames},
        {"RIFF size 0, data size 0xFFFFFFFF", riff(0, data(0xFFFFFFFF)), frames},
        {"data size too large", riff(richtig, data(static_cast<std::uint32_t>(daten.size()) + 5000)), frames},
        {"bytes after the RIFF chunk",
         riff(richtig, data(static_cast<std::uint32_t>(daten.size())) + QByteArray(999, 'x')), frames},
        {"data size smaller than the samples", riff(richtig, data(100)), 100},
        // Both sizes beyond the file's end, the data chunk within what the RIFF size claims: the
        // file's end still ends the samples.
        {"RIFF and data size both beyond the file",
         riff(richtig + 100000, data(static_cast<std::uint32_t>(daten.size()) + 50000)), frames},
    };
    for (const TFall& fall : faelle) {
        SCOPED_TRACE(fall.was);
        skript.Leeren();
        std::string text;
        ASSERT_TRUE(Dekodiere(Datei(fall.datei), true, text)) << testing::PrintToString(fehler);
        EXPECT_EQ(dekoder.HoleAnzahlFrames(), fall.frames);
        EXPECT_EQ(dekoder.HoleFormat().sampleRate, 48000U);
        EXPECT_FALSE(Dekodiere(Datei(fall.datei), false, text));
    }
}

// What the extended reader still refuses, as the plain reader's failures.
TEST_F(ErweiterterLeser, AblehnungenBehaltenIhreFehler) {
    const QByteArray daten(64, '\0');
    const auto kaputt = TBandFehler::TArt::Beschaedigt;
    const auto rate = TBandFehler::TArt::SampleRate;
    QByteArray falscheGuid = Fmt(1, 1, 22050, 16, true);
    falscheGuid[39] = 0x72;
    QByteArray kurzeErweiterung = Fmt(1, 1, 22050, 16, true);
    kurzeErweiterung[16] = 20;
    struct TFall {
        const char* was;
        QByteArray fmt;
        TBandFehler::TArt art;
    };
    const TFall faelle[] = {
        {"9 channels", Fmt(1, 9, 22050, 16, false), kaputt},
        {"12 bits", FmtFelder(1, 1, 22050, 44100, 2, 12), kaputt},
        {"16-bit float", Fmt(3, 1, 22050, 16, false), kaputt},
        {"ADPCM", Fmt(2, 1, 22050, 16, false), kaputt},
        {"extensible with a foreign GUID", falscheGuid, kaputt},
        {"extensible with a short extension", kurzeErweiterung, kaputt},
        {"extensible in 16 bytes", Fmt(1, 1, 22050, 16, true).left(16), kaputt},
        {"block size wrong", FmtFelder(1, 2, 22050, 88200, 2, 16), kaputt},
        {"0 channels", FmtFelder(1, 0, 22050, 0, 0, 16), kaputt},
        {"3999 Hz", Fmt(1, 1, 3999, 16, false), rate},
        {"384001 Hz", Fmt(1, 1, 384001, 16, false), rate},
    };
    for (const TFall& fall : faelle) {
        SCOPED_TRACE(fall.was);
        skript.Leeren();
        std::string text;
        const QString pfad = Datei(Riff(Chunk("fmt ", fall.fmt) + Chunk("data", daten)));
        EXPECT_FALSE(Dekodiere(pfad, true, text));
        EXPECT_EQ(fehler, fall.art == rate ? TBandFehler::SampleRate(pfad, 4000, 384000)
                                           : TBandFehler::Von(TBandFehler::TArt::Beschaedigt, pfad));
    }
    // A chunk before "data" longer than the file is damage, not sloppiness.
    skript.Leeren();
    std::string text;
    EXPECT_FALSE(Dekodiere(Datei(Riff(ChunkMitGroesse("LIST", 5000, QByteArray(8, 'x'), false) +
                                      Chunk("fmt ", FmtPCM(1, 22050, 8)) + Chunk("data", daten))),
                           true, text));
    EXPECT_EQ(fehler.art, kaputt);
    // Also when the RIFF size claims room for it: the file ends where it ends.
    skript.Leeren();
    const QByteArray chunks = ChunkMitGroesse("LIST", 5000, QByteArray(8, 'x'), false) +
                              Chunk("fmt ", FmtPCM(1, 22050, 8)) + Chunk("data", daten);
    EXPECT_FALSE(
        Dekodiere(Datei(QByteArray("RIFF") + Le32(100000) + QByteArray("WAVE") + chunks), true, text));
    EXPECT_EQ(fehler.art, kaputt) << testing::PrintToString(fehler);
    EXPECT_TRUE(skript.nachrichten.isEmpty());
}

} // namespace
