#include "AudioGeraete.h"

#include <QMediaDevices>
#include <algorithm>

namespace {

QList<QAudioDevice> Geraete(bool ausgaben) {
    return ausgaben ? QMediaDevices::audioOutputs() : QMediaDevices::audioInputs();
}

} // namespace

std::vector<TAudioGeraet> HoleAudioGeraete(bool pv_ausgaben) {
    std::vector<TAudioGeraet> liste;
    for (const QAudioDevice& g : Geraete(pv_ausgaben))
        liste.push_back({QString::fromUtf8(g.id()), g.description(), pv_ausgaben, g.isDefault()});
    return liste;
}

std::optional<QAudioDevice> FindeAudioGeraet(bool pv_ausgabe, const QString& pv_name) {
    const QList<QAudioDevice> geraete = Geraete(pv_ausgabe);
    if (pv_name.isEmpty()) {
        const QAudioDevice standard =
            pv_ausgabe ? QMediaDevices::defaultAudioOutput() : QMediaDevices::defaultAudioInput();
        if (!standard.isNull())
            return standard;
        // A server without a default still has its first device.
        if (!geraete.isEmpty())
            return geraete.first();
        return std::nullopt;
    }
    // The id first: a description may be shared by several devices.
    for (const QAudioDevice& g : geraete)
        if (QString::fromUtf8(g.id()) == pv_name)
            return g;
    for (const QAudioDevice& g : geraete)
        if (g.description() == pv_name)
            return g;
    return std::nullopt;
}

bool AudioGeraetVorhanden(bool pv_ausgabe, const QByteArray& pv_id) {
    const QList<QAudioDevice> geraete = Geraete(pv_ausgabe);
    return std::any_of(geraete.begin(), geraete.end(),
                       [&](const QAudioDevice& g) { return g.id() == pv_id; });
}

QStringList AudioGeraeteZeilen() {
    QStringList zeilen;
    for (const bool ausgaben : {true, false})
        for (const TAudioGeraet& g : HoleAudioGeraete(ausgaben))
            zeilen << QStringLiteral("%1  %2  %3%4")
                          .arg(ausgaben ? QStringLiteral("output") : QStringLiteral("input "), g.id,
                               g.beschreibung, g.standard ? QStringLiteral("  (default)") : QString());
    return zeilen;
}
