// One polarity of the rescue of a worn tape: its adaptive pass finds the marks and frames the
// copies, its fixed passes vote on each byte. The search along the tape lives in BandRetter.cpp,
// the reading of a block's two copies in BlockLesen.cpp; nothing outside the rescue includes this.
#pragma once

#include "BandMarken.h"
#include "BandRetter.h"
#include "BelegFolge.h"
#include "FesteEichung.h"
#include "KopieRahmen.h"
#include "LittleEndian.h"
#include "MZFDatei.h"
#include "TonbandSuche.h"

namespace RetterTeile {

constexpr int KopfBytes = TMZFDatei::KopfGroesse;
constexpr int PruefsummeBytes = TBlockBelege::PruefsummeBytes;

inline std::uint16_t Groesse(const std::array<std::uint8_t, KopfBytes>& kopf) {
    return LittleEndian::Lies16(kopf.data() + TMZFDatei::OffsetGroesse);
}

inline bool PruefsummeGut(const std::vector<std::uint8_t>& block) {
    const std::size_t n = block.size() - PruefsummeBytes;
    return TonbandPruefsumme(block.data(), n) == (block[n] << 8 | block[n + 1]);
}

} // namespace RetterTeile

// One polarity: its adaptive pass frames, its fixed passes vote.
class TBandRetter::TPolaritaet {
public:
    TPolaritaet(int polaritaet, std::size_t sekundaere, std::vector<TGanzeKopie>& ganze)
        : m_polaritaet(polaritaet), m_ganze(ganze), m_sekundaer(sekundaere), m_eichung(sekundaere),
          m_blockEichung(sekundaere) {}

    TBelegFolge& Primaer() { return m_primaer; }
    TBelegFolge& Sekundaer(std::size_t i) { return m_sekundaer[i]; }

    // Goes as far as the pulses held allow; at the end of the recording, to the end.
    void Weiter(bool ende);
    std::int64_t Gehalten() const { return m_primaer.Ende() - m_primaer.Anfang(); }

    std::vector<TGeretteteDatei> ergebnisse;
    std::vector<TUnlesbarerKopf> unlesbare;

private:
    enum class TPhase { Marke, KopfKopie, Kopf, KurzeMarke, Rumpf };

    bool IstLang(std::int64_t i) const { return m_primaer[i].wert > 0; }
    bool NachPause(std::int64_t anfang) const;
    bool Hat(std::int64_t bis, bool ende) const { return ende || m_primaer.Ende() > bis; }
    // Goes on where the last call for the same block stopped: a body's pulses come over hundreds
    // of pieces.
    std::int64_t SucheKopie(std::int64_t von, bool ende, bool& fertig);
    void LernePulse(std::int64_t vorlaufEnde);
    // Where no copy read whole: the block as both copies decide it (bytes empty otherwise).
    TBlockEntscheidung LiesBlock(const std::int64_t (&anfang)[2], TBlockBelege& belege,
                                 TBlockBericht& bericht, std::vector<std::vector<std::uint8_t>>& sauber);
    bool LiesGlatt(std::int64_t anfang, int bytes, std::vector<KopieRahmen::TByte>& rahmen,
                   std::vector<std::uint8_t>& gelesen) const;
    void StimmeAb(std::int64_t j, int kopie, int index, TBlockBelege& belege);
    // What fixed pass p read of the data bits of the byte whose start bit is the adaptive pass's
    // pulse j, 0 where its pulse does not begin where the adaptive pass's does; false when it read
    // no such byte.
    bool FesteBits(std::size_t p, std::int64_t j, std::int8_t (&bits)[KopieRahmen::DatenBits]) const;
    // Learns how the fixed passes read the bytes of a copy whose values are known.
    void Eiche(const std::vector<KopieRahmen::TByte>& rahmen, const std::vector<std::uint8_t>& bytes);
    // Both copies put in order by each other.
    void OrdneKopien(std::vector<KopieRahmen::TByte> (&rahmen)[2]) const;
    void Wiege(const std::vector<KopieRahmen::TByte> (&rahmen)[2], TBlockBelege& belege);
    void EicheAmBlock(const std::vector<KopieRahmen::TByte> (&rahmen)[2]);
    void Fertig(std::int64_t weiterAb);
    void MissGroesse();
    void Vergiss();

    const TGanzeKopie* AndereGanz(std::int64_t anfang, int bytes) const;
    void MerkeGanz(std::int64_t anfang, const std::vector<std::uint8_t>& bytes);

    int m_polaritaet;
    std::vector<TGanzeKopie>& m_ganze; // shared by both polarities
    TBelegFolge m_primaer;
    std::vector<TBelegFolge> m_sekundaer;
    std::vector<TEichung> m_eichung;      // per fixed pass
    std::vector<TEichung> m_blockEichung; // per fixed pass, from the block being weighed
    TPhase m_phase = TPhase::Marke;
    std::int64_t m_suche = BandMarken::VorlaufProbe;
    double m_kurz = 0.0; // frames of a short pulse, from the last leader
    TGeretteteDatei m_datei;
    std::int64_t m_kopf[2] = {-1, -1};
    std::int64_t m_rumpf[2] = {-1, -1};
    // The header's size was read uncertainly in its high byte: the body's first copy tells it.
    bool m_groesseVomBand = false;
    bool m_untenSicher = false; // and its low byte surely
    // Where a dropout cut off the mark before a block, the first pulse after it: the block's first
    // copy is lost, its second is looked for from there. -1 after a whole mark.
    std::int64_t m_nachPause = -1;
    struct TKopieSuche {
        std::int64_t von = -1; // where the search began
        std::int64_t j = 0;    // the next pulse to look at
        std::int64_t luecke = -1;
    };
    TKopieSuche m_kopieSuche;
};
