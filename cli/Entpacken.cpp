#include "Entpacken.h"

#include "BandMeldung.h"
#include "DateiPfad.h"
#include "FreieNamen.h"
#include "Kommandozeile.h"
#include "Konvertieren.h"
#include "MZFDatei.h"
#include "SichereDatei.h"
#include "SprachenTexte.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>
#include <memory>

namespace {

bool IstBeschaedigt(const TMZFDatei& datei) {
    return datei.HoleBefund().zustand == TDateiBefund::TZustand::Beschaedigt;
}

QJsonObject Bereich(const char* block, int mzfVersatz, const std::pair<int, int>& bereich) {
    QJsonObject o{{QStringLiteral("block"), QLatin1String(block)},
                  {QStringLiteral("mzfStart"), mzfVersatz + bereich.first},
                  {QStringLiteral("mzfEnd"), mzfVersatz + bereich.second}};
    if (mzfVersatz > 0) {
        o.insert(QStringLiteral("bodyStart"), bereich.first);
        o.insert(QStringLiteral("bodyEnd"), bereich.second);
    }
    return o;
}

// The map beside `mzfPfad`, through the safe writer; false after its message.
bool SchreibeSchadenskarte(const TMZFDatei& datei, const QString& mzfPfad, const QString& kartenPfad) {
    const QByteArray text =
        QJsonDocument(Schadenskarte(datei, QFileInfo(mzfPfad).fileName())).toJson(QJsonDocument::Indented);
    TSichereDatei ziel;
    if (!ziel.Oeffnen(kartenPfad) || !ziel.Schreibe(text.constData(), text.size()) || !ziel.Abschliessen()) {
        MeldeBandFehler(TBandFehler::Schreiben(kartenPfad, ziel.Fehlertext()));
        return false;
    }
    return true;
}

QString KartenPfad(const QString& mzfPfad) {
    return mzfPfad.left(mzfPfad.size() - QFileInfo(mzfPfad).suffix().size() - 1) +
           QLatin1String(SchadenskartenEndung);
}

// A damaged file and its map, under the first number where neither name is taken.
bool SchreibeBeschaedigte(TFreieNamen& namen, TMZFDatei& datei, QTextStream& aus) {
    QString name = BereinigeDateiname(datei.HoleMZDateiName());
    if (name.isEmpty())
        name = QStringLiteral("unnamed");
    QString pfad = namen.Naechster(name);
    while (PfadIstBelegt(KartenPfad(pfad)))
        pfad = namen.Naechster(name);
    if (!datei.Speichern(pfad) || !SchreibeSchadenskarte(datei, pfad, KartenPfad(pfad)))
        return false;
    SchreibePfadZeile(aus, pfad);
    SchreibePfadZeile(aus, KartenPfad(pfad));
    return true;
}

} // namespace

void ZustandAlsJson(const TDateiBefund& befund, QJsonObject& o) {
    switch (befund.zustand) {
    case TDateiBefund::TZustand::Intakt:
        return;
    case TDateiBefund::TZustand::Repariert:
        o.insert(QStringLiteral("state"), QStringLiteral("repaired"));
        break;
    case TDateiBefund::TZustand::Beschaedigt:
        o.insert(QStringLiteral("state"), QStringLiteral("damaged"));
        o.insert(QStringLiteral("headerUncertain"), befund.kopfUnsicher);
        o.insert(QStringLiteral("uncertainBytes"), befund.UnsichereBytes());
        break;
    }
    QJsonArray repariert;
    if (befund.kopfRepariert)
        repariert.append(QStringLiteral("header"));
    if (befund.rumpfRepariert)
        repariert.append(QStringLiteral("body"));
    if (!repariert.isEmpty())
        o.insert(QStringLiteral("repaired"), repariert);
}

QJsonObject Schadenskarte(const TMZFDatei& datei, const QString& mzfName) {
    const TDateiBefund& befund = datei.HoleBefund();
    QJsonArray bereiche;
    for (const auto& b : befund.unsichereKopfBereiche)
        bereiche.append(Bereich("header", 0, b));
    for (const auto& b : befund.unsichereBereiche)
        bereiche.append(Bereich("body", TMZFDatei::KopfGroesse, b));
    QJsonObject o{{QStringLiteral("file"), mzfName},
                  {QStringLiteral("name"), datei.HoleMZDateiName()},
                  {QStringLiteral("size"), datei.HoleMZDateiGroesse()}};
    ZustandAlsJson(befund, o);
    o.insert(QStringLiteral("ranges"), bereiche);
    return o;
}

int Entpacke(const QStringList& quellen, TDateiArt art, const TBandEinstellungen& einstellungen,
             const QString& ordner, bool beschaedigteSchreiben, std::vector<TUebersprungenes>& uebersprungen,
             TMZFDatei& arbeit, QTextStream& aus, QTextStream& fehler, bool* keineGefunden) {
    const TPfadInfo ordnerInfo = HolePfadInfo(ordner);
    if (!ordnerInfo.existiert || !ordnerInfo.istVerzeichnis) {
        fehler << "bandwerk-cli: " << ordner << ": no such directory\n";
        return ExitFehler;
    }
    std::vector<std::unique_ptr<TMZFDatei>> dateien;
    if (!LiesAlleInListe(art, quellen, einstellungen, dateien, uebersprungen, arbeit, keineGefunden))
        return ExitFehler;
    TFreieNamen namen(ordner, PfadIstBelegt);
    int ausgelassen = 0;
    for (const auto& datei : dateien) {
        if (!IstBeschaedigt(*datei)) {
            if (!SchreibeInOrdner(namen, *datei, aus))
                return ExitFehler;
        } else if (!beschaedigteSchreiben) {
            ++ausgelassen;
        } else if (!SchreibeBeschaedigte(namen, *datei, aus)) {
            return ExitFehler;
        }
    }
    // What could not be recovered whole is never dropped without a word.
    if (ausgelassen == 0)
        return ExitErfolg;
    fehler << "bandwerk-cli: "
           << HoleTextMitParametern(QStringLiteral("Hinweis_BeschaedigteNichtGeschrieben"),
                                    QString::number(ausgelassen))
           << '\n';
    return ExitFehler;
}
