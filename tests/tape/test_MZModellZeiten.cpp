// The timing of the models, checked against the rules that tie its parts together and against
// the pulses as the machines' tape routines write them.
#include "MZAdaptiverDekoder.h"
#include "MZModellZeiten.h"
#include "MZSignalDekoder.h"
#include "MZWAVDateiSchreiber.h"

#include <gtest/gtest.h>

namespace {

TEST(MZModellZeiten, JedeAbtastzeitTrenntKurzVonLang) {
    // Looked at after the falling edge, the level must be high again in a short pulse (its low
    // part is over) and still low in a long one, and the short pulse must not have ended yet,
    // or the moment would fall into the next pulse.
    for (int modell = 0; modell < AnzahlMZModelle; ++modell) {
        const TMZModellZeiten& z = MZModellZeiten::Von(modell);
        for (const bool alternativ : {false, true}) {
            const double t = TMZSignalDekoder::AbtastVerzoegerung(modell, alternativ);
            SCOPED_TRACE(testing::Message() << MZModellName(modell).toStdString() << " " << t << " us");
            EXPECT_GT(t, z.kurzErster / 100.0);
            EXPECT_LT(t, z.langErster / 100.0);
            EXPECT_LT(t, (z.kurzErster + z.kurzZweiter) / 100.0);
        }
    }
}

TEST(MZModellZeiten, AdaptiveNennlaengenSindDieSummenDerGeschriebenenTeile) {
    // At 100 MHz every part written is a whole number of samples of 0.01 us, so the writer's
    // pulse lengths give the nominal lengths exactly.
    constexpr std::uint32_t Rate = 100000000;
    for (int modell = 0; modell < AnzahlMZModelle; ++modell) {
        SCOPED_TRACE(MZModellName(modell).toStdString());
        for (const bool lang : {false, true}) {
            const auto teile = TMZWAVDateiSchreiber::BerechneImpulsLaengen(modell, Rate, lang);
            const double geschrieben = (teile.ersterTeil + teile.zweiterTeil) / 100.0;
            const double nominal =
                lang ? TMZAdaptiverDekoder::NominalLang(modell) : TMZAdaptiverDekoder::NominalKurz(modell);
            EXPECT_DOUBLE_EQ(nominal, geschrieben) << (lang ? "long" : "short");
        }
    }
}

TEST(MZModellZeiten, PulseDerMaschinen) {
    // Whole pulses in microseconds, as the models' tape routines write them.
    const struct {
        int modell;
        double kurz, lang, verzoegerung, alternativ;
        int langeLuecke;
    } faelle[] = {
        {MZ80K, 504.0, 958.0, 368.0, 368.0, 22000},  {MZ80C, 504.0, 958.0, 368.0, 368.0, 22000},
        {MZ80A, 504.0, 958.0, 368.0, 368.0, 22000},  {MZ80B, 332.75, 667.0, 255.0, 255.0, 10000},
        {MZ700, 504.0, 958.0, 368.0, 286.22, 22000}, {MZ800, 518.0, 964.0, 379.0, 379.0, 22000},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(MZModellName(f.modell).toStdString());
        EXPECT_DOUBLE_EQ(TMZAdaptiverDekoder::NominalKurz(f.modell), f.kurz);
        EXPECT_DOUBLE_EQ(TMZAdaptiverDekoder::NominalLang(f.modell), f.lang);
        EXPECT_DOUBLE_EQ(TMZSignalDekoder::AbtastVerzoegerung(f.modell, false), f.verzoegerung);
        EXPECT_DOUBLE_EQ(TMZSignalDekoder::AbtastVerzoegerung(f.modell, true), f.alternativ);
        EXPECT_EQ(MZModellZeiten::Von(f.modell).langeLuecke, f.langeLuecke);
        EXPECT_EQ(MZModellZeiten::Von(f.modell).kurzeLuecke, 11000);
    }
    // An index outside the table reads as the MZ-80K everywhere.
    EXPECT_DOUBLE_EQ(TMZAdaptiverDekoder::NominalKurz(9), 504.0);
    EXPECT_DOUBLE_EQ(TMZSignalDekoder::AbtastVerzoegerung(-1, true), 368.0);
}

} // namespace
