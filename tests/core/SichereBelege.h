// The rescue fed with a tape built bit by bit, every pulse read surely by the adaptive pass in both
// polarities, but for what a test spoils: the evidence comes from the tape format, not a decoder.
#pragma once

#include "BandBau.h"
#include "BandRetter.h"

#include <vector>

// The adaptive pass's pulses of a tape in one polarity, each read surely (+-100); the other
// polarity's edges lie half a short pulse later.
inline std::vector<TImpulsBeleg> SichereBelege(const BandBau::TBand& band, int polaritaet) {
    constexpr std::int32_t KurzFrames = 20;
    constexpr std::int32_t LangFrames = 38;
    std::vector<TImpulsBeleg> belege(band.bits.size());
    std::int32_t frame = polaritaet * KurzFrames / 2;
    for (std::size_t i = 0; i < band.bits.size(); ++i) {
        const bool lang = band.bits[i] == '1';
        belege[i] = {frame, static_cast<std::int8_t>(lang ? 100 : -100)};
        frame += lang ? LangFrames : KurzFrames;
    }
    return belege;
}

// The files the rescue gives where both polarities heard the tape of `mzf` surely, but for what
// `verderbe(band, belege, polaritaet)` spoils; those whose header it could not read to *unlesbare.
template <typename TVerderbe>
std::vector<TGeretteteDatei> BeidePolaritaeten(const QByteArray& mzf, const TVerderbe& verderbe,
                                               std::vector<TUnlesbarerKopf>* unlesbare = nullptr) {
    TBandRetter retter({});
    const BandBau::TBand band(mzf);
    for (int polaritaet = 0; polaritaet < 2; ++polaritaet) {
        std::vector<TImpulsBeleg> belege = SichereBelege(band, polaritaet);
        verderbe(band, belege, polaritaet);
        retter.Belege(polaritaet, belege.data(), belege.size());
    }
    retter.NachBlock(1 << 30);
    std::vector<TGeretteteDatei> dateien = retter.Ende();
    if (unlesbare)
        *unlesbare = retter.Unlesbare();
    return dateien;
}
