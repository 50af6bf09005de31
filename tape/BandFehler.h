// What went wrong in the tape layer, as a value: the file, the kind of failure and the system's
// words. The layers above turn it into the message a person reads; nothing here shows anything.
#pragma once

#include <QString>
#include <cstdint>

struct TBandFehler {
    enum class TArt : std::uint8_t {
        Keiner,          // all went well
        UngueltigerName, // an empty file name
        Lesefehler,      // reading failed; `text` says why
        Schreibfehler,   // writing failed; `text` says why
        ZuGross,         // a file the 32-bit counters cannot count
        Beschaedigt,     // no RIFF/WAVE file the reader takes
        SampleRate,      // a sample rate outside [kleinste, groesste]
    };
    TArt art = TArt::Keiner;
    QString datei;
    QString text;
    std::uint32_t kleinste = 0;
    std::uint32_t groesste = 0;

    // A recording the plain reader refuses but the extended one reads: what it holds.
    struct TErweitert {
        bool liest = false;
        std::uint32_t sampleRate = 0;
        std::uint16_t bits = 0;
        std::uint16_t kanaele = 0;
        bool gleitkomma = false;
        bool operator==(const TErweitert&) const = default;
    } erweitert;

    bool operator==(const TBandFehler&) const = default;

    bool IstOk() const { return art == TArt::Keiner; }

    static TBandFehler Von(TArt art, const QString& datei, const QString& text = {}) {
        TBandFehler f;
        f.art = art;
        f.datei = datei;
        f.text = text;
        return f;
    }
    static TBandFehler Lesen(const QString& datei, const QString& text) {
        return Von(TArt::Lesefehler, datei, text);
    }
    static TBandFehler Schreiben(const QString& datei, const QString& text) {
        return Von(TArt::Schreibfehler, datei, text);
    }
    static TBandFehler SampleRate(const QString& datei, std::uint32_t kleinste, std::uint32_t groesste) {
        TBandFehler f = Von(TArt::SampleRate, datei);
        f.kleinste = kleinste;
        f.groesste = groesste;
        return f;
    }
};
