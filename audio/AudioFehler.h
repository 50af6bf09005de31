// What went wrong with a sound device, as a value; AudioFehlerText makes the message of it.
#pragma once

#include <QString>
#include <cstdint>

struct TAudioFehler {
    enum class TArt : std::uint8_t {
        Keiner,
        KeinGeraet,  // the system has no device of the kind at all
        Unbekannt,   // no device of that name
        Format,      // the device takes no format the tape signal can be sent or read in
        Oeffnen,     // the device refused to start
        Ausgefallen, // the device stopped working (unplugged, removed) while in use
        WAVBehalten, // keeping the recording as a WAV file failed; `text` says why
    };
    TArt art = TArt::Keiner;
    bool ausgabe = true; // an output device (else an input)
    QString geraet;      // as the user named it, or the device's description
    QString text;
    QString datei; // WAVBehalten: the file

    bool IstOk() const { return art == TArt::Keiner; }
    static TAudioFehler Von(TArt art, bool ausgabe, const QString& geraet, const QString& text = {}) {
        TAudioFehler f;
        f.art = art;
        f.ausgabe = ausgabe;
        f.geraet = geraet;
        f.text = text;
        return f;
    }
};

// The catalogue's message for the failure.
QString AudioFehlerText(const TAudioFehler& pv_fehler);
