// Decodes one WAV recording in several passes at once: the file is checked exactly as
// TMZWAVDateiLeser::Oeffnen checks it (same messages, same order), its sample data is read once,
// front to back, in large blocks, each frame is brought to the common scale once, and every pass
// (a polarity and an MZ-700 sampling delay) runs its own decoder over the same frames, appending
// to its own tape bit text. The bit texts equal those of one TMZWAVDateiLeser per pass, opened with
// the pass's arguments and read with LeseBit to the end.
#pragma once

#include "GepufferterDateiLeser.h"
#include "MZWAVDateiLeser.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One decoding pass: the arguments of TMZWAVDateiLeser::Oeffnen besides the file name.
struct TDekodierDurchgang {
    bool invertiertePolaritaet = false;
    bool alternativeAbtastzeit = false;
};

class TMZWAVMehrfachDekoder {
public:
    // Frames read and converted per block.
    static constexpr std::int32_t BlockFrames = 65536;

    // Called after every block, with the bit texts as far as they have got.
    using TNachBlock = std::function<void(const TMZWAVMehrfachDekoder&)>;

    TMZWAVMehrfachDekoder() = default;
    TMZWAVMehrfachDekoder(const TMZWAVMehrfachDekoder&) = delete;
    TMZWAVMehrfachDekoder& operator=(const TMZWAVMehrfachDekoder&) = delete;

    // Runs all passes over the file, with the MZ model of the settings. False when the file cannot
    // be opened, is damaged or unsupported, or a read fails; the reason has been shown (the message
    // TMZWAVDateiLeser would show), and the bit texts hold what was decoded before the failure.
    bool Dekodiere(const QString& pv_dateiName, const std::vector<TDekodierDurchgang>& pv_durchgaenge,
                   const TNachBlock& pv_nachBlock = {});

    std::size_t HoleAnzahlDurchgaenge() const { return m_bitTexte.size(); }
    // Pass i's text of "0" and "1", one character per pulse.
    const std::string& HoleBitText(std::size_t pv_durchgang) const { return m_bitTexte[pv_durchgang]; }
    // Hands pass i's text over; it is empty here afterwards.
    std::string UebernimmBitText(std::size_t pv_durchgang) { return std::move(m_bitTexte[pv_durchgang]); }
    // The file's format (valid once the container has been checked).
    const TWAVFormat& HoleFormat() const { return m_format; }
    // Frames in the file, and frames read and decoded so far.
    std::int32_t HoleAnzahlFrames() const { return m_format.anzahlFrames; }
    std::int32_t HoleGeleseneFrames() const { return m_geleseneFrames; }

private:
    TWAVFormat m_format;
    std::int32_t m_geleseneFrames = 0;
    std::vector<std::string> m_bitTexte;
};
