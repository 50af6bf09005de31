// The extended decoding's threads behind the reading one: the adaptive pass, which converts and
// decodes each block of raw sample data, and the rescue's step, which hands every pulse with how
// sure it is to the rescue. Used by the multi-pass decoder alone.
#pragma once

#include "Fliessband.h"
#include "ImpulsBeleg.h"
#include "MZAdaptiverDekoder.h"
#include "MZSignalDekoder.h"
#include "MZWAVDateiLeser.h"
#include "MZWAVMehrfachDekoder.h"
#include "SampleWandlung.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace AdaptiveDekodierung {

using SampleWandlung::TWandler;

// A fixed pass's pulse for the rescue: the level looked at tells how sure the decision is, the
// crossing where the pulse began.
inline TImpulsBeleg FesterBeleg(int pegel, double kreuzung) {
    const int wert =
        std::clamp(TMZSignalDekoder::Schwellwert - pegel, -TImpulsBeleg::Sicher, TImpulsBeleg::Sicher);
    // Exactly on the zero line the level decides "high": short, if only just.
    return {static_cast<std::int32_t>(std::lround(kreuzung)),
            static_cast<std::int8_t>(wert != 0 ? wert : -1)};
}

// Hands the adaptive pass's pulses to the text (and positions) of their polarity; with sinks,
// the text and positions of a block go there once the block is decoded.
struct TAdaptiveSenke {
    std::string* texte[TMZAdaptiverDekoder::AnzahlPolaritaeten];
    std::vector<std::int32_t>* positionen[TMZAdaptiverDekoder::AnzahlPolaritaeten];
    TImpulsSenke* senken[TMZAdaptiverDekoder::AnzahlPolaritaeten];
    // The rescue's pulses, when asked for.
    std::vector<TImpulsBeleg>* belege[TMZAdaptiverDekoder::AnzahlPolaritaeten];
    void operator()(int polaritaet, bool lang, double beginn, int wert) {
        texte[polaritaet]->push_back(lang ? '1' : '0');
        if (positionen[polaritaet])
            positionen[polaritaet]->push_back(static_cast<std::int32_t>(std::lround(beginn)));
        if (belege[polaritaet])
            belege[polaritaet]->push_back(
                {static_cast<std::int32_t>(std::lround(beginn)), static_cast<std::int8_t>(wert)});
    }
    void NachBlock() {
        for (int p = 0; p < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++p) {
            if (!senken[p])
                continue;
            senken[p]->Impulse(*texte[p], positionen[p] ? positionen[p]->data() : nullptr);
            texte[p]->clear();
            if (positionen[p])
                positionen[p]->clear();
        }
    }
};

// A fixed pass's pulses for the rescue alone.
struct TBelegTextSenke {
    std::vector<TImpulsBeleg>* belege;
    void operator()(bool, int pegel, double kreuzung) { belege->push_back(FesterBeleg(pegel, kreuzung)); }
};

// Per fixed pass, one block's pulses for the rescue.
using TFesteBelege = std::vector<std::vector<TImpulsBeleg>>;

inline bool GleicheDurchgaenge(const std::vector<TDekodierDurchgang>& a,
                               const std::vector<TDekodierDurchgang>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const TDekodierDurchgang& x, const TDekodierDurchgang& y) {
                          return x.invertiertePolaritaet == y.invertiertePolaritaet &&
                                 x.alternativeAbtastzeit == y.alternativeAbtastzeit;
                      });
}

// Pass by pass, so that the vectors stay where the passes' sinks point and keep their room.
inline void Tausche(TFesteBelege& a, TFesteBelege& b) {
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        std::swap(a[i], b[i]);
}

// A block of the adaptive pass's mix and its pulses, on the way to the rescue; the fixed passes'
// pulses too where the reading thread's passes gave them.
struct TBelegPlatz {
    std::vector<float> gleitend;
    std::vector<TImpulsBeleg> belege[TMZAdaptiverDekoder::AnzahlPolaritaeten];
    TFesteBelege feste;
    std::int32_t frames = 0;
};

// A sample of the mix (-1 ... 1) on the common 8-bit scale: floor(x * 128 + 128), held to 0 ... 255.
// Held first, the value is never negative and truncating it is its floor, which vectorises where
// std::floor would not without SSE4.1.
inline std::uint8_t AufSkala(float pv_wert) {
    constexpr double Skala = 128.0;
    return static_cast<std::uint8_t>(static_cast<int>(std::clamp(pv_wert * Skala + Skala, 0.0, 255.0)));
}

// The fixed passes the rescue asks for, run again on the adaptive pass's mix of the channels,
// which the channel rule chose: the mix on the common scale, and each pass's decoder. With the
// adaptive pass's pulses handed to the rescue, on a thread of its own behind the adaptive pass.
// Where the passes are those the reading thread runs and the mix is what they read (one channel,
// or all channels alike), their pulses come from there instead (`uebernommen`).
struct TBelegDurchgaenge {
    TBelegEmpfaenger* empfaenger = nullptr;
    bool uebernommen = false;
    std::vector<TDekodierDurchgang> durchgaenge;
    std::vector<TMZSignalDekoder> dekoder;
    std::vector<std::uint8_t> normal;
    std::vector<std::uint8_t> invertiert;
    // Where the adaptive pass collects a block's pulses, before they go into a slot.
    std::vector<TImpulsBeleg> belege[TMZAdaptiverDekoder::AnzahlPolaritaeten];
    std::vector<std::vector<TImpulsBeleg>> festeBelege;
    std::int64_t frames = 0;

    void Block(TBelegPlatz& platz) {
        const std::int32_t anzahl = platz.frames;
        if (!uebernommen)
            Dekodiere(platz.gleitend.data(), anzahl);
        TFesteBelege& feste = uebernommen ? platz.feste : festeBelege;
        frames += anzahl;
        for (int p = 0; p < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++p) {
            empfaenger->Belege(p, platz.belege[p].data(), platz.belege[p].size());
            platz.belege[p].clear();
        }
        for (std::size_t i = 0; i < feste.size(); ++i) {
            empfaenger->Belege(static_cast<int>(i) + TMZAdaptiverDekoder::AnzahlPolaritaeten, feste[i].data(),
                               feste[i].size());
            feste[i].clear();
        }
        empfaenger->NachBlock(frames);
    }

    void Dekodiere(const float* gleitend, std::int32_t anzahl) {
        for (std::int32_t i = 0; i < anzahl; ++i)
            normal[static_cast<std::size_t>(i)] = AufSkala(gleitend[i]);
        std::transform(normal.begin(), normal.begin() + anzahl, invertiert.begin(), WAVSkala::Invertiere);
        for (std::size_t i = 0; i < dekoder.size(); ++i) {
            const std::uint8_t* f = durchgaenge[i].invertiertePolaritaet ? invertiert.data() : normal.data();
            TBelegTextSenke senke{&festeBelege[i]};
            dekoder[i].Verarbeite(f, f + anzahl, senke);
        }
    }
};

// The raw sample data of a block, as the fixed passes read it, and where the rescue takes their
// pulses, those of the block.
struct TRohPlatz {
    std::vector<std::uint8_t> roh;
    TFesteBelege feste;
    std::int32_t frames = 0;
};

// The adaptive pass on a thread of its own, fed block by block with the raw sample data that the
// fixed passes read: it converts and decodes while they decode. The rescue's work on its pulses
// follows on a third thread, so that it holds up neither.
class TAdaptiverArbeiter {
public:
    TAdaptiverArbeiter(TMZAdaptiverDekoder& dekoder, TAdaptiveSenke senke, TBelegDurchgaenge* belege,
                       TWandler wandler, int kanaele, const float* gewichte, std::size_t blockBytes,
                       std::int32_t blockFrames)
        : m_dekoder(dekoder), m_senke(senke), m_belege(belege), m_wandler(wandler), m_kanaele(kanaele),
          m_gewichte(gewichte), m_gleitend(static_cast<std::size_t>(blockFrames)) {
        // The rescue's step needs the mix only where it decodes the fixed passes itself.
        const bool uebernommen = m_belege && m_belege->uebernommen;
        const std::size_t feste = uebernommen ? m_belege->durchgaenge.size() : 0;
        const std::size_t mischung = uebernommen ? 0 : static_cast<std::size_t>(blockFrames);
        if (m_belege)
            m_belegStufe = std::make_unique<TFliessband<TBelegPlatz>>(
                TBelegPlatz{std::vector<float>(mischung), {}, TFesteBelege(feste), 0},
                [this](TBelegPlatz& platz) { m_belege->Block(platz); });
        m_stufe = std::make_unique<TFliessband<TRohPlatz>>(
            TRohPlatz{std::vector<std::uint8_t>(blockBytes), TFesteBelege(feste), 0},
            [this](TRohPlatz& platz) { Block(platz); });
    }
    ~TAdaptiverArbeiter() {
        // The adaptive pass first: it feeds the rescue's thread.
        m_stufe.reset();
        m_belegStufe.reset();
    }
    TAdaptiverArbeiter(const TAdaptiverArbeiter&) = delete;
    TAdaptiverArbeiter& operator=(const TAdaptiverArbeiter&) = delete;

    // A buffer for the next block, once the thread has given one back.
    std::uint8_t* FreierPuffer() {
        m_letzterPlatz = &m_stufe->FreierPlatz();
        return m_letzterPlatz->roh.data();
    }
    // The buffer last handed out holds `anzahl` frames and is no longer touched by the caller;
    // where the rescue takes the fixed passes' pulses, the block's go along (and `feste` comes
    // back empty).
    void Uebergib(std::int32_t anzahl, TFesteBelege* feste = nullptr) {
        m_letzterPlatz->frames = anzahl;
        if (feste)
            Tausche(m_letzterPlatz->feste, *feste);
        m_stufe->Uebergib();
    }
    // Waits until every block handed over is decoded and given to the rescue; both threads are
    // gone before a failure of either is thrown.
    void Beende() {
        std::exception_ptr fehler = m_stufe->BeendeStill();
        if (m_belegStufe) {
            const std::exception_ptr belegFehler = m_belegStufe->BeendeStill();
            if (!fehler)
                fehler = belegFehler;
        }
        if (fehler)
            std::rethrow_exception(fehler);
    }

private:
    void Block(TRohPlatz& platz) {
        const std::int32_t anzahl = platz.frames;
        m_wandler(platz.roh.data(), anzahl, m_kanaele, m_gewichte, m_gleitend.data(), nullptr);
        m_dekoder.Verarbeite(m_gleitend.data(), m_gleitend.data() + anzahl, m_senke);
        m_senke.NachBlock();
        if (!m_belegStufe)
            return;
        TBelegPlatz& ziel = m_belegStufe->FreierPlatz();
        if (!m_belege->uebernommen)
            std::copy_n(m_gleitend.begin(), anzahl, ziel.gleitend.begin());
        for (int p = 0; p < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++p)
            std::swap(ziel.belege[p], m_belege->belege[p]); // the slot's came back empty
        Tausche(ziel.feste, platz.feste);
        ziel.frames = anzahl;
        m_belegStufe->Uebergib();
    }

    TMZAdaptiverDekoder& m_dekoder;
    TAdaptiveSenke m_senke;
    TBelegDurchgaenge* m_belege;
    TWandler m_wandler;
    int m_kanaele;
    const float* m_gewichte;
    std::vector<float> m_gleitend;
    std::unique_ptr<TFliessband<TBelegPlatz>> m_belegStufe;
    std::unique_ptr<TFliessband<TRohPlatz>> m_stufe;
    TRohPlatz* m_letzterPlatz = nullptr;
};

} // namespace AdaptiveDekodierung
