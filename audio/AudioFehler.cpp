#include "AudioFehler.h"

#include "SprachenTexte.h"

QString AudioFehlerText(const TAudioFehler& pv_fehler) {
    using A = TAudioFehler::TArt;
    switch (pv_fehler.art) {
    case A::Keiner:
        break;
    case A::KeinGeraet:
        return HoleText(pv_fehler.ausgabe ? QStringLiteral("Audio_KeinAusgabeGeraet")
                                          : QStringLiteral("Audio_KeinEingabeGeraet"));
    case A::Unbekannt:
        return HoleTextMitParametern(QStringLiteral("Audio_GeraetUnbekannt"), pv_fehler.geraet);
    case A::Format:
        return HoleTextMitParametern(QStringLiteral("Audio_FormatNichtUnterstuetzt"), pv_fehler.geraet);
    case A::Oeffnen:
        return HoleTextMitParametern(QStringLiteral("Audio_GeraetStartetNicht"), pv_fehler.geraet);
    case A::Ausgefallen:
        return HoleTextMitParametern(pv_fehler.ausgabe ? QStringLiteral("Audio_AusgabeAusgefallen")
                                                       : QStringLiteral("Audio_EingabeAusgefallen"),
                                     pv_fehler.geraet);
    case A::WAVBehalten:
        return HoleTextMitParametern(QStringLiteral("Audio_WAVBehaltenFehler"), pv_fehler.datei,
                                     pv_fehler.text);
    }
    return {};
}
