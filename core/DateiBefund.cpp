#include "DateiBefund.h"

#include "Plattform.h"
#include "SprachenTexte.h"

QString ZustandText(const TDateiBefund& pv_befund) {
    switch (pv_befund.zustand) {
    case TDateiBefund::TZustand::Intakt:
        break;
    case TDateiBefund::TZustand::Repariert: {
        QString bloecke = QStringLiteral("Zustand_KopfUndRumpf");
        if (!pv_befund.rumpfRepariert)
            bloecke = QStringLiteral("Zustand_Kopf");
        else if (!pv_befund.kopfRepariert)
            bloecke = QStringLiteral("Zustand_Rumpf");
        return HoleTextMitParametern(QStringLiteral("Zustand_Repariert"), HoleText(bloecke));
    }
    case TDateiBefund::TZustand::Beschaedigt:
        return HoleTextMitParametern(pv_befund.kopfUnsicher ? QStringLiteral("Zustand_BeschaedigtKopf")
                                                            : QStringLiteral("Zustand_Beschaedigt"),
                                     QString::number(pv_befund.UnsichereBytes()));
    }
    return {};
}

bool BeschaedigteDateiNehmen(const QString& pv_name, const TDateiBefund& pv_befund) {
    if (pv_befund.zustand != TDateiBefund::TZustand::Beschaedigt)
        return true;
    return FrageWarnung(HoleTextMitParametern(QStringLiteral("Frage_BeschaedigteDatei"), pv_name,
                                              ZustandText(pv_befund)),
                        false) == TAntwort::Ja;
}
