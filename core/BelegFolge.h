// The pulses of one source (a pass in one polarity) as the rescue keeps them: numbered from 0
// over the whole recording, appended as they come and forgotten from the front once no file can
// need them any more, so that a recording of any length takes bounded room.
#pragma once

#include "ImpulsBeleg.h"

#include <cstdint>
#include <vector>

class TBelegFolge {
public:
    void Haenge(const TImpulsBeleg* pv_belege, std::size_t pv_anzahl);
    // Pulses before this number are forgotten.
    void Vergiss(std::int64_t pv_bis);

    std::int64_t Anfang() const { return m_anfang; }
    std::int64_t Ende() const { return m_anfang + static_cast<std::int64_t>(m_beginn.size()); }
    bool Hat(std::int64_t i) const { return i >= Anfang() && i < Ende(); }
    TImpulsBeleg operator[](std::int64_t i) const {
        const auto r = static_cast<std::size_t>(i - m_anfang);
        return {m_beginn[r], m_wert[r]};
    }

    // Long pulses among [von, bis), both held.
    std::int64_t Lange(std::int64_t von, std::int64_t bis) const {
        return Zwischen(Vor(bis, &TGruppe::langeVor, &TGruppe::lang, m_lange),
                        Vor(von, &TGruppe::langeVor, &TGruppe::lang, m_lange));
    }
    // Pulses surely short (not merely unknown) among [von, bis), both held.
    std::int64_t Kurze(std::int64_t von, std::int64_t bis) const {
        return Zwischen(Vor(bis, &TGruppe::kurzeVor, &TGruppe::kurz, m_kurze),
                        Vor(von, &TGruppe::kurzeVor, &TGruppe::kurz, m_kurze));
    }
    // The first pulse held that begins at or after the frame; Ende() when there is none.
    std::int64_t ErsterAb(std::int64_t pv_frame) const;

private:
    // The counts of long and surely short pulses, for every 64 pulses by their numbers: those
    // before the group, counted from the first pulse ever held, and one bit per pulse of it. The
    // counts run on modulo 2^32: a difference of two is right as long as fewer pulses than that
    // lie between them, and a held stretch is far shorter. With the beginnings and values in
    // vectors of their own, a pulse takes under 5.5 bytes: a long file's pulses are held in little
    // fresh memory, which the rescue fills at the pace of the decoders.
    static constexpr int GruppenBits = 6;
    static constexpr std::int64_t GruppenMaske = (std::int64_t{1} << GruppenBits) - 1;
    struct TGruppe {
        std::uint32_t langeVor = 0;
        std::uint32_t kurzeVor = 0;
        std::uint64_t lang = 0;
        std::uint64_t kurz = 0;
    };
    std::uint32_t Vor(std::int64_t i, std::uint32_t TGruppe::*vor, std::uint64_t TGruppe::*bits,
                      std::uint32_t amEnde) const {
        if (i == Ende())
            return amEnde;
        const TGruppe& g =
            m_gruppen[static_cast<std::size_t>((i >> GruppenBits) - (m_anfang >> GruppenBits))];
        const std::uint64_t davor = (std::uint64_t{1} << (i & GruppenMaske)) - 1;
        return g.*vor + Einsen(g.*bits & davor);
    }
    // Without a popcount instruction on the baseline x86-64, std::popcount calls a library
    // routine; these few shifts are quicker.
    static std::uint32_t Einsen(std::uint64_t x) {
        x -= (x >> 1) & 0x5555555555555555ULL;
        x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
        x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
        return static_cast<std::uint32_t>((x * 0x0101010101010101ULL) >> 56);
    }
    static std::int64_t Zwischen(std::uint32_t bis, std::uint32_t von) {
        return static_cast<std::int64_t>(static_cast<std::uint32_t>(bis - von));
    }

    std::vector<std::int32_t> m_beginn;
    std::vector<std::int8_t> m_wert;
    // From the group of the first pulse held on.
    std::vector<TGruppe> m_gruppen;
    // The counts after the last pulse held.
    std::uint32_t m_lange = 0;
    std::uint32_t m_kurze = 0;
    std::int64_t m_anfang = 0;
};
