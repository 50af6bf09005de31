// Two versions of one file: two bit errors that hide each other from the checksum (a count of 1
// bits) give a reading of a file with a good checksum and a wrong byte. Such a version is never
// told as a file of its own, and never as the file intact.
#include "BandBau.h"
#include "BandRetter.h"
#include "MZFDatei.h"
#include "SichereBelege.h"
#include "WAVSuche.h"

#include <gtest/gtest.h>

namespace {

constexpr int RumpfBytes = 64;
constexpr int StreitByte = 5;
// 0x20 and 0x10 hold one 1 bit each: the checksum sees no difference.
constexpr std::uint8_t Richtig = 0x20;
constexpr std::uint8_t Falsch = 0x10;

QByteArray Mzf(std::uint8_t streitWert, char name = 'A') {
    const QByteArray kopf = BandBau::Kopf(QByteArray(1, name), RumpfBytes);
    QByteArray rumpf(RumpfBytes, '\0');
    for (int i = 0; i < RumpfBytes; ++i)
        rumpf[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    rumpf[StreitByte] = static_cast<char>(streitWert);
    return kopf + rumpf;
}

std::array<std::uint8_t, 128> Kopf(const QByteArray& mzf) {
    std::array<std::uint8_t, 128> kopf{};
    std::copy(mzf.begin(), mzf.begin() + 128, kopf.begin());
    return kopf;
}

std::vector<std::uint8_t> Rumpf(const QByteArray& mzf) {
    return std::vector<std::uint8_t>(mzf.begin() + 128, mzf.end());
}

std::unique_ptr<TMZFDatei> Datei(const QByteArray& mzf) {
    auto d = std::make_unique<TMZFDatei>();
    d->Uebernimm(Kopf(mzf), Rumpf(mzf));
    return d;
}

// The files told are the versions `danach` of `mzf`, in that order, in the states given.
void PruefeDateien(const std::vector<std::unique_ptr<TMZFDatei>>& dateien, const QByteArray* mzf,
                   const std::vector<int>& danach, const std::vector<TDateiBefund::TZustand>& zustaende) {
    ASSERT_EQ(dateien.size(), danach.size());
    for (std::size_t i = 0; i < dateien.size(); ++i) {
        const QByteArray& erwartet = mzf[danach[i]];
        EXPECT_EQ(dateien[i]->Kopf(), Kopf(erwartet)) << i;
        EXPECT_EQ(std::vector<std::uint8_t>(dateien[i]->Rumpf(),
                                            dateien[i]->Rumpf() + dateien[i]->HoleMZDateiGroesse()),
                  Rumpf(erwartet))
            << i;
        EXPECT_EQ(dateien[i]->HoleBefund().zustand, zustaende[i]) << i;
    }
}

} // namespace

// The passes' files and what the rescue put together: a version the rescue outvoted (its body, or
// its header: 'H' holds as many 1 bits as 'A') is set right where it stands, and where another pass
// read the file right already, it goes.
TEST(ZweiVersionen, APassesVersionTheRescueOutvotedIsNeitherKeptNorToldTwice) {
    struct TFall {
        const char* name;
        std::vector<int> durchgaenge; // the passes' files, in their order: 0 right, 1 wrong, 2 another
        std::vector<int> danach;      // the files told
        std::vector<TDateiBefund::TZustand> zustaende;
    };
    using Z = TDateiBefund::TZustand;
    const TFall faelle[] = {
        {"one pass read it right, another wrong", {0, 2, 1}, {0, 2}, {Z::Intakt, Z::Intakt}},
        {"the wrong version first", {1, 2, 0}, {2, 0}, {Z::Intakt, Z::Intakt}},
        {"only the wrong version", {1, 2}, {0, 2}, {Z::Repariert, Z::Intakt}},
    };
    for (const bool imKopf : {false, true}) {
        const QByteArray mzf[] = {Mzf(Richtig), imKopf ? Mzf(Richtig, 'H') : Mzf(Falsch), Mzf(Richtig, 'B')};
        TGeretteteDatei g;
        g.kopf = Kopf(mzf[0]);
        g.rumpf = Rumpf(mzf[0]);
        g.befund.zustand = Z::Repariert;
        if (imKopf) {
            g.befund.kopfRepariert = true;
            g.ueberstimmterKopf = {std::vector<std::uint8_t>(mzf[1].begin(), mzf[1].begin() + 128)};
        } else {
            g.befund.rumpfRepariert = true;
            g.ueberstimmt = {Rumpf(mzf[1])};
        }
        for (const TFall& f : faelle) {
            SCOPED_TRACE(std::string(f.name) + (imKopf ? ", in the header" : ", in the body"));
            std::vector<std::unique_ptr<TMZFDatei>> dateien;
            for (const int d : f.durchgaenge)
                dateien.push_back(Datei(mzf[d]));
            std::vector<TGeretteteDatei> gerettet = {g};
            FuegeGerettetHinzu(dateien, gerettet);
            PruefeDateien(dateien, mzf, f.danach, f.zustaende);
        }
    }
}

// Both polarities of the adaptive pass read both copies of the body whole with a good checksum,
// one of them with byte 5 read 0x10 instead of 0x20 in both copies. Where that polarity heard the
// two bits faintly, what both heard holds to the other version; where both heard them surely,
// nothing tells the versions apart and the byte is uncertain. Either way the file is not intact.
TEST(ZweiVersionen, BothPolaritiesReadTheFileWholeYetDifferently) {
    struct TFall {
        const char* name;
        int falschePolaritaet;  // the polarity that reads 0x10
        std::int8_t falschWert; // how sure it is of the two bits
        TDateiBefund::TZustand zustand;
    };
    const TFall faelle[] = {
        {"the first polarity read it wrong, faintly", 0, 40, TDateiBefund::TZustand::Repariert},
        {"the second polarity read it wrong, faintly", 1, 40, TDateiBefund::TZustand::Repariert},
        {"both sure", 0, 100, TDateiBefund::TZustand::Beschaedigt},
    };
    const QByteArray richtig = Mzf(Richtig), falsch = Mzf(Falsch);
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        TBandRetter retter({});
        for (int polaritaet = 0; polaritaet < 2; ++polaritaet) {
            const bool istFalsch = polaritaet == f.falschePolaritaet;
            const BandBau::TBand band(istFalsch ? falsch : richtig);
            std::vector<TImpulsBeleg> belege = SichereBelege(band, polaritaet);
            // 0x20 against 0x10: data bits 2 and 3.
            for (int kopie = 0; kopie < 2 && istFalsch; ++kopie)
                for (int bit = 2; bit <= 3; ++bit) {
                    TImpulsBeleg& b = belege[band.RumpfBit(kopie, StreitByte, bit)];
                    b.wert = static_cast<std::int8_t>(b.wert > 0 ? f.falschWert : -f.falschWert);
                }
            retter.Belege(polaritaet, belege.data(), belege.size());
        }
        retter.NachBlock(1 << 30);
        const std::vector<TGeretteteDatei> dateien = retter.Ende();
        ASSERT_EQ(dateien.size(), 1U);
        const TGeretteteDatei& d = dateien.front();
        EXPECT_EQ(d.befund.zustand, f.zustand);
        if (f.zustand == TDateiBefund::TZustand::Beschaedigt) {
            EXPECT_EQ(d.befund.unsichereBereiche,
                      (std::vector<std::pair<int, int>>{{StreitByte, StreitByte + 1}}));
            continue;
        }
        EXPECT_EQ(d.rumpf, Rumpf(richtig));
        EXPECT_EQ(d.ueberstimmt, std::vector<std::vector<std::uint8_t>>{Rumpf(falsch)});
    }
}

// Each polarity heard one body byte in neither copy (a different one: nothing known of its bits),
// so each alone leaves the file damaged; together they hold every byte. Their headers differ: the
// second polarity heard a comment byte as 0x01 in both copies (its header fails its checksum, the
// first's passes), or each polarity heard nothing of one header byte (0x12, the load address's
// high byte in one, the start address's in the other; neither header passes). It is the same
// header, read worse, and what both polarities heard makes the file whole.
TEST(ZweiVersionen, PolaritiesWhoseHeadersDifferWhereOneFailsItsChecksumAreOneFile) {
    struct TFall {
        const char* name;
        bool kommentarFalsch; // the second polarity heard the comment byte as 0x01
        int kopfStumm[2];     // the header byte each polarity did not hear, -1: none
    };
    const TFall faelle[] = {
        {"only the first polarity's header passes its checksum", true, {-1, -1}},
        {"neither polarity's header passes its checksum", false, {21, 23}},
    };
    constexpr int KommentarByte = 100;
    constexpr int Stumm[2] = {10, 20}; // the body byte each polarity did not hear
    const QByteArray mzf = Mzf(Richtig);
    ASSERT_EQ(mzf[KommentarByte], '\0');
    ASSERT_EQ(mzf[21], '\x12');
    ASSERT_EQ(mzf[23], '\x12');
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        const auto verderbe = [&](const BandBau::TBand& band, std::vector<TImpulsBeleg>& belege,
                                  int polaritaet) {
            const auto kopfBit = [&](int kopie, int byte, int bit) -> TImpulsBeleg& {
                return belege[band.kopf[kopie] + BandBau::ByteImpulse * static_cast<std::size_t>(byte) + 1 +
                              static_cast<std::size_t>(bit)];
            };
            for (int kopie = 0; kopie < 2; ++kopie) {
                for (int bit = 0; bit < 8; ++bit) {
                    belege[band.RumpfBit(kopie, Stumm[polaritaet], bit)].wert = 0;
                    if (f.kopfStumm[polaritaet] >= 0)
                        kopfBit(kopie, f.kopfStumm[polaritaet], bit).wert = 0;
                }
                if (f.kommentarFalsch && polaritaet == 1)
                    kopfBit(kopie, KommentarByte, 7).wert = 100;
            }
        };
        const std::vector<TGeretteteDatei> dateien = BeidePolaritaeten(mzf, verderbe);
        ASSERT_EQ(dateien.size(), 1U);
        const TGeretteteDatei& d = dateien.front();
        EXPECT_NE(d.befund.zustand, TDateiBefund::TZustand::Beschaedigt);
        EXPECT_EQ(d.kopf, Kopf(mzf));
        EXPECT_EQ(d.rumpf, Rumpf(mzf));
    }
}

// Both polarities heard nothing of body byte 40 (its 0xD3 has five 1 bits, more than the checksum
// search flips), so the file stays damaged however they are taken. The first polarity also heard
// the top bit of byte 30 (0x61) as 1 in both copies, surely; the second heard it as 0. Each alone
// leaves one byte uncertain, and so do both together: together they hold byte 30 right.
TEST(ZweiVersionen, BothPolaritiesTogetherWhereTheyLeaveNoMoreUncertainThanEachAlone) {
    constexpr int Ungehoert = 40;
    constexpr int Verhoert = 30;
    const QByteArray mzf = Mzf(Richtig);
    ASSERT_EQ(static_cast<std::uint8_t>(mzf[128 + Ungehoert]), 0xD3);
    ASSERT_EQ(static_cast<std::uint8_t>(mzf[128 + Verhoert]), 0x61);
    const auto verderbe = [](const BandBau::TBand& band, std::vector<TImpulsBeleg>& belege, int polaritaet) {
        for (int kopie = 0; kopie < 2; ++kopie) {
            for (int bit = 0; bit < 8; ++bit)
                belege[band.RumpfBit(kopie, Ungehoert, bit)].wert = 0;
            if (polaritaet == 0)
                belege[band.RumpfBit(kopie, Verhoert, 0)].wert = 60;
        }
    };
    const std::vector<TGeretteteDatei> dateien = BeidePolaritaeten(mzf, verderbe);
    ASSERT_EQ(dateien.size(), 1U);
    const TGeretteteDatei& d = dateien.front();
    ASSERT_EQ(d.befund.zustand, TDateiBefund::TZustand::Beschaedigt);
    EXPECT_EQ(d.befund.unsichereBereiche, (std::vector<std::pair<int, int>>{{Ungehoert, Ungehoert + 1}}));
    ASSERT_EQ(d.rumpf.size(), static_cast<std::size_t>(RumpfBytes));
    EXPECT_EQ(d.rumpf[Verhoert], 0x61);
}

// A pass read the file whole; the rescue left its own reading of it damaged, with a header byte
// uncertain and read 'X'. That reading is the pass's file where it is sure, and no file of its own:
// where the header names the file surely, by that; where the name is uncertain, by the body. Where
// a sure byte differs, or too little of the body was sure to tell, it is told beside it.
TEST(ZweiVersionen, ADamagedReadingOfAFileAPassReadWholeIsNoFileOfItsOwn) {
    // 'A', then the end mark 0x0D at byte 2: the name runs from byte 1. The comment from byte 24.
    constexpr int NamensEnde = 2;
    constexpr int ImKommentar = 60;
    struct TFall {
        const char* name;
        int unsicher;                                   // the header byte read uncertainly, and 'X'
        int falsch;                                     // a sure header byte read differently, -1: none
        int rumpfByte;                                  // a body byte read differently, -1: none
        std::vector<std::pair<int, int>> rumpfUnsicher; // the body's uncertain ranges
        std::size_t dateien;                            // files told
    };
    const TFall faelle[] = {
        {"the uncertain name byte differs only", NamensEnde, -1, -1, {}, 1},
        {"a differing body byte is uncertain", NamensEnde, -1, 9, {{9, 10}}, 1},
        {"a sure body byte differs", NamensEnde, -1, 9, {{10, 11}}, 2},
        {"a sure header byte differs", NamensEnde, NamensEnde + 1, -1, {}, 2},
        {"half the body uncertain", NamensEnde, -1, -1, {{0, RumpfBytes / 2}}, 2},
        {"the name sure, the comment not: the body is not asked", ImKommentar, -1, 9, {}, 1},
        {"the name sure, a sure byte of the comment differs", ImKommentar, ImKommentar + 1, -1, {}, 1},
    };
    const QByteArray mzf = Mzf(Richtig);
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        TGeretteteDatei g;
        g.kopf = Kopf(mzf);
        g.rumpf = Rumpf(mzf);
        g.mitRumpf = true;
        g.kopf[static_cast<std::size_t>(f.unsicher)] = 'X';
        if (f.falsch >= 0)
            g.kopf[static_cast<std::size_t>(f.falsch)] = 'Y';
        if (f.rumpfByte >= 0)
            g.rumpf[static_cast<std::size_t>(f.rumpfByte)] ^= 0x01;
        g.befund.zustand = TDateiBefund::TZustand::Beschaedigt;
        g.befund.kopfUnsicher = true;
        g.befund.unsichereKopfBereiche = {{f.unsicher, f.unsicher + 1}};
        g.befund.unsichereBereiche = f.rumpfUnsicher;
        std::vector<std::unique_ptr<TMZFDatei>> dateien;
        dateien.push_back(Datei(mzf));
        std::vector<TGeretteteDatei> gerettet = {g};
        FuegeGerettetHinzu(dateien, gerettet);
        ASSERT_EQ(dateien.size(), f.dateien);
        EXPECT_EQ(dateien.front()->Kopf(), Kopf(mzf));
        EXPECT_EQ(dateien.front()->HoleBefund().zustand, TDateiBefund::TZustand::Intakt);
        EXPECT_EQ(dateien.back()->HoleBefund().zustand,
                  f.dateien == 2 ? TDateiBefund::TZustand::Beschaedigt : TDateiBefund::TZustand::Intakt);
    }
}

// A pass read body copy 1 whole with a good checksum where two bits hid each other (0x10 for 0x20,
// heard faintly); the rescue never took that copy as read whole (a click left one of its pulses
// unknown), so it put the file together from both copies, right, and outvoted no version. The
// pass's version, a few bits from the rescue's file that its evidence holds against, is set right
// where it stands and not told beside it; where the evidence holds to the pass's version, the
// rescue's is no file of its own. A file the rescue found twice, or one further apart, stays.
TEST(ZweiVersionen, APassesVersionTheRescueNeverReadWholeGoesByTheEvidence) {
    using Z = TDateiBefund::TZustand;
    QByteArray fern = Mzf(Richtig);
    for (const int i : {128 + 30, 128 + 31})
        fern[i] = static_cast<char>(~fern[i]);
    // 0: right, 1: the pass's misreading, 2: it in the header ('H' holds as many 1 bits as 'A'),
    // 3: a file of that name and size 16 bits away, 4: byte 5 read 0x40 (one 1 bit too).
    const QByteArray mzf[] = {Mzf(Richtig), Mzf(Falsch), Mzf(Richtig, 'H'), fern, Mzf(0x40)};
    struct TFall {
        const char* name;
        std::vector<int> durchgaenge; // the passes' files
        bool zweimal;                 // the rescue found the file twice
        int gerettet;                 // what the rescue put together
        std::vector<int> danach;      // the files told
        std::vector<Z> zustaende;
        Z gerettetDanach; // the rescue's own file, as its report gives it
    };
    const TFall faelle[] = {
        {"the pass's misreading alone", {1}, false, 0, {0}, {Z::Repariert}, Z::Repariert},
        {"another pass read it right", {0, 1}, false, 0, {0}, {Z::Intakt}, Z::Repariert},
        {"the misreading in the header", {2}, false, 0, {0}, {Z::Repariert}, Z::Repariert},
        {"the rescue found the file twice", {1}, true, 0, {1, 0}, {Z::Intakt, Z::Intakt}, Z::Intakt},
        {"a file further apart", {3}, false, 0, {3, 0}, {Z::Intakt, Z::Intakt}, Z::Intakt},
        {"the evidence holds to the pass's version", {0}, false, 4, {0}, {Z::Intakt}, Z::Intakt},
    };
    std::vector<TGeretteteDatei> gerettet =
        BeidePolaritaeten(mzf[0], [](const auto& band, auto& belege, int) {
            // 0x20 against 0x10: data bits 2 and 3.
            for (int bit = 2; bit <= 3; ++bit) {
                TImpulsBeleg& b = belege[band.RumpfBit(0, StreitByte, bit)];
                b.wert = static_cast<std::int8_t>(b.wert > 0 ? -40 : 40);
            }
            belege[band.RumpfBit(0, RumpfBytes - 3, 4)].wert = 0;
        });
    ASSERT_EQ(gerettet.size(), 1U);
    ASSERT_EQ(gerettet.front().rumpf, Rumpf(mzf[0]));
    ASSERT_EQ(gerettet.front().befund.zustand, Z::Intakt);
    ASSERT_TRUE(gerettet.front().ueberstimmt.empty());
    for (const TFall& f : faelle) {
        SCOPED_TRACE(f.name);
        std::vector<TGeretteteDatei> g = gerettet;
        g.front().rumpf = Rumpf(mzf[f.gerettet]);
        if (f.zweimal)
            g.push_back(g.front());
        std::vector<std::unique_ptr<TMZFDatei>> dateien;
        for (const int d : f.durchgaenge)
            dateien.push_back(Datei(mzf[d]));
        FuegeGerettetHinzu(dateien, g);
        PruefeDateien(dateien, mzf, f.danach, f.zustaende);
        EXPECT_EQ(g.front().befund.zustand, f.gerettetDanach);
    }
}
