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
    std::int64_t Ende() const { return m_anfang + static_cast<std::int64_t>(m_belege.size()); }
    bool Hat(std::int64_t i) const { return i >= Anfang() && i < Ende(); }
    const TImpulsBeleg& operator[](std::int64_t i) const {
        return m_belege[static_cast<std::size_t>(i - m_anfang)];
    }

    // Long pulses among [von, bis), both held.
    std::int64_t Lange(std::int64_t von, std::int64_t bis) const {
        return m_langeVor[static_cast<std::size_t>(bis - m_anfang)] -
               m_langeVor[static_cast<std::size_t>(von - m_anfang)];
    }
    // Pulses surely short (not merely unknown) among [von, bis), both held.
    std::int64_t Kurze(std::int64_t von, std::int64_t bis) const {
        return m_kurzeVor[static_cast<std::size_t>(bis - m_anfang)] -
               m_kurzeVor[static_cast<std::size_t>(von - m_anfang)];
    }
    // The first pulse held that begins at or after the frame; Ende() when there is none.
    std::int64_t ErsterAb(std::int64_t pv_frame) const;

private:
    std::vector<TImpulsBeleg> m_belege;
    // m_langeVor[i]: long pulses before the i-th held one, counted from the first ever held.
    std::vector<std::int64_t> m_langeVor{0};
    std::vector<std::int64_t> m_kurzeVor{0};
    std::int64_t m_anfang = 0;
};
