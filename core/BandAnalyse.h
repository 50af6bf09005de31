// What the decoder saw on a recording, for a user whose tape gives fewer files than it holds:
// each tape mark, each copy of a header and of a body with its checksum, in recording order with
// the time in the recording, and the motor's speed measured on the marks against the model's
// nominal pulses. The adaptive decoding measures every pulse, so it serves here whatever the
// setting; of its two polarities the one that read more is told.
#pragma once

#include "BandEinstellungen.h"
#include "BandRetter.h"
#include "ByteQuelle.h"
#include "DateiBefund.h"

#include <QString>
#include <cstdint>
#include <vector>

struct TBandEreignis {
    enum class TArt { LangeMarke, Kopf, KurzeMarke, Rumpf };
    TArt art = TArt::LangeMarke;
    double sekunden = 0.0; // where it begins in the recording
    // Kopf and Rumpf: which copy (1 or 2) and whether its checksum agrees; a header's fields
    // when all of its bytes could be read.
    int kopie = 0;
    bool gut = false;
    bool kopfGelesen = false;
    QString name;
    int groesse = 0;
    // The marks: the mean short and long pulse of the mark, in microseconds.
    double kurzMikrosekunden = 0.0;
    double langMikrosekunden = 0.0;
};

// A file as the rescue of worn tapes (the extended decoding) read it: each block's copies, what
// became of them, and the file's state.
struct TRettungsBericht {
    std::int32_t beginn = 0; // the frame where its long mark begins
    QString name;
    int groesse = 0;
    bool mitRumpf = false; // a body was found after the header
    TDateiBefund befund;
    TBlockBericht kopf;
    TBlockBericht rumpf;
    // Its marks and body were found, its header read like none: no file is told of it (name and
    // size are not known; groesse is the length of the body read).
    bool kopfUnlesbar = false;
};

struct TBandAnalyse {
    // Events kept; a recording with more tells only how many more there were.
    static constexpr std::size_t GroessteAnzahlEreignisse = 100000;

    std::uint32_t sampleRate = 0;
    double sekunden = 0.0;
    // The polarity whose reading is told: the inverted one only when it read more; whether the
    // other one read just as much (a symmetric signal reads alike both ways).
    bool invertiert = false;
    bool beidePolaritaeten = false;
    std::vector<TBandEreignis> ereignisse;
    std::size_t weitereEreignisse = 0;
    // The model's nominal pulses, and the mean of those measured on every mark (on the last
    // leader when there is no mark; 0 when there is none either), in microseconds.
    double kurzNominal = 0.0;
    double langNominal = 0.0;
    double kurzGemessen = 0.0;
    double langGemessen = 0.0;

    // With the rescue asked for: what it read, in recording order.
    bool mitRettung = false;
    std::vector<TRettungsBericht> rettung;

    // How much faster than nominal the tape ran, in percent (negative: slower); 0 when nothing
    // was measured.
    double TempoProzent() const;
};

// Decodes the recording with the MZ model of pv_einstellungen, and with their extended decoding
// the rescue of worn tapes reads it in the same run; false after a failure that has been shown
// (the container's messages). The adaptive pass runs either way.
bool AnalysiereWAV(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                   TBandAnalyse& pv_analyse);
// The same for a recording from any source, read from where it stands (a new source: its start).
bool AnalysiereWAV(TByteQuelle& pv_quelle, const TBandEinstellungen& pv_einstellungen,
                   TBandAnalyse& pv_analyse);

// The speed of one mark in percent, as TBandAnalyse::TempoProzent.
double TempoProzent(double kurzNominal, double langNominal, double kurz, double lang);
