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
    std::int64_t Ende() const { return m_anfang + static_cast<std::int64_t>(m_eintraege.size()); }
    bool Hat(std::int64_t i) const { return i >= Anfang() && i < Ende(); }
    const TImpulsBeleg& operator[](std::int64_t i) const { return Eintrag(i).beleg; }

    // Long pulses among [von, bis), both held.
    std::int64_t Lange(std::int64_t von, std::int64_t bis) const {
        return Zwischen(LangeVor(bis), LangeVor(von));
    }
    // Pulses surely short (not merely unknown) among [von, bis), both held.
    std::int64_t Kurze(std::int64_t von, std::int64_t bis) const {
        return Zwischen(KurzeVor(bis), KurzeVor(von));
    }
    // The first pulse held that begins at or after the frame; Ende() when there is none.
    std::int64_t ErsterAb(std::int64_t pv_frame) const;

private:
    // A pulse and the long and surely short pulses before it, counted from the first ever held.
    // The counts run on modulo 2^32: a difference of two is right as long as fewer pulses than
    // that lie between them, and a held stretch is far shorter. One vector of 16-byte entries,
    // so that a file's pulses take little room and grow in one piece.
    struct TEintrag {
        TImpulsBeleg beleg;
        std::uint32_t langeVor = 0;
        std::uint32_t kurzeVor = 0;
    };
    const TEintrag& Eintrag(std::int64_t i) const {
        return m_eintraege[static_cast<std::size_t>(i - m_anfang)];
    }
    std::uint32_t LangeVor(std::int64_t i) const { return i == Ende() ? m_lange : Eintrag(i).langeVor; }
    std::uint32_t KurzeVor(std::int64_t i) const { return i == Ende() ? m_kurze : Eintrag(i).kurzeVor; }
    static std::int64_t Zwischen(std::uint32_t bis, std::uint32_t von) {
        return static_cast<std::int64_t>(static_cast<std::uint32_t>(bis - von));
    }

    std::vector<TEintrag> m_eintraege;
    // The counts after the last pulse held.
    std::uint32_t m_lange = 0;
    std::uint32_t m_kurze = 0;
    std::int64_t m_anfang = 0;
};
