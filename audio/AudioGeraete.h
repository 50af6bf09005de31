// The sound devices as the sound server names them: the id (a PulseAudio sink's or source's name)
// and the description a person reads. A device is chosen by either; an empty name means the
// system's default device.
#pragma once

#include <QAudioDevice>
#include <QString>
#include <optional>
#include <vector>

struct TAudioGeraet {
    QString id;
    QString beschreibung;
    bool ausgabe = false; // an output (else an input)
    bool standard = false;
};

std::vector<TAudioGeraet> HoleAudioGeraete(bool pv_ausgaben);
// The device of that id or description; an empty name gives the default device. Nothing when
// no such device exists (or there is no device at all).
std::optional<QAudioDevice> FindeAudioGeraet(bool pv_ausgabe, const QString& pv_name);
// Whether the device of that id is still there (not unplugged, not removed from the server).
bool AudioGeraetVorhanden(bool pv_ausgabe, const QByteArray& pv_id);
// One line per device, outputs first: "output  ID  DESCRIPTION", "(default)" after the default.
QStringList AudioGeraeteZeilen();
