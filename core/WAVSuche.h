// The search of one recording for MZ files, fed with the decoder's pulses as they come: the passes
// of the import (both polarities, on an MZ-700 both sampling moments, with the extended decoding
// the adaptive pass too), each searched on its own, the files in the order of the passes. A file
// from a file and a file from a sound card are searched alike.
#pragma once

#include "MZFDatei.h"
#include "MZWAVMehrfachDekoder.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class TWAVSuche {
public:
    TWAVSuche(int pv_modell, bool pv_erweitert);
    ~TWAVSuche();
    TWAVSuche(const TWAVSuche&) = delete;
    TWAVSuche& operator=(const TWAVSuche&) = delete;

    // The fixed passes of the model, in their order: normal polarity before inverted, the first
    // sampling moment before the second.
    static std::vector<TDekodierDurchgang> DurchgaengeFuer(int pv_modell);

    // What to hand the decoder.
    const std::vector<TDekodierDurchgang>& Durchgaenge() const { return m_durchgaenge; }
    const std::vector<TImpulsSenke*>& Senken() const { return m_senken; }
    const TErweiterteDekodierung& Erweiterung() const { return m_erweiterung; }

    // Called as soon as any pass has found a file that no pass found before, while the recording
    // is still read: from the thread that decodes that pass, one call at a time.
    std::function<void(const TMZFDatei& datei)> beiNeuerDatei;

    // Once the decoder is done: every distinct file in the order of the passes (those of the first
    // pass, then what the second found besides, ...; the adaptive pass's after the fixed passes'),
    // then what the rescue of worn tapes put together besides, each with its state (a damaged file
    // too, unless the file was found whole); and what was passed over.
    void Ende(std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
              std::vector<TUebersprungenes>* pv_uebersprungen);
    // The same, with the rescue's readings of the files kept for the tape report or to be joined
    // with other recordings of the tape.
    void Ende(std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
              std::vector<TUebersprungenes>* pv_uebersprungen,
              std::vector<struct TGeretteteDatei>* pv_gerettet);

private:
    class TDurchgang;
    void Gefunden(const TMZFDatei& datei);

    std::vector<TDekodierDurchgang> m_durchgaenge;
    std::vector<std::unique_ptr<TDurchgang>> m_suchen;
    std::vector<TImpulsSenke*> m_senken;
    TErweiterteDekodierung m_erweiterung;
    std::mutex m_sperre;
    std::unique_ptr<class TFundListe> m_gemeldet; // what beiNeuerDatei was told
    std::unique_ptr<class TBandRetter> m_retter;  // with the extended decoding
};
