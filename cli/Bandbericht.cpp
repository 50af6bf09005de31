#include "Bandbericht.h"

#include "BandAnalyse.h"
#include "BandBild.h"
#include "BandMeldung.h"
#include "Bandaufzeichnung.h"
#include "Kommandozeile.h"
#include "Plattform.h"
#include "SprachenTexte.h"

#include <QGuiApplication>
#include <memory>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

QString Tempo(double prozent) {
    if (std::fabs(prozent) < 0.05)
        return QStringLiteral("nominal speed");
    return QStringLiteral("%1 % %2").arg(std::fabs(prozent), 0, 'f', 1).arg(prozent > 0 ? "fast" : "slow");
}

double Gerundet(double wert, double stellen) {
    return std::round(wert * stellen) / stellen;
}

// A pulse length and the speed from it, or null where nothing was measured: 0 would read as a
// real value, and a speed of 0 % as the nominal one.
void Messwerte(QJsonObject& o, double kurz, double lang, double tempoProzent) {
    const auto wert = [](bool gemessen, double w, double stellen) {
        return gemessen ? QJsonValue(Gerundet(w, stellen)) : QJsonValue(QJsonValue::Null);
    };
    o.insert(QStringLiteral("shortUs"), wert(kurz > 0.0, kurz, 10));
    o.insert(QStringLiteral("longUs"), wert(lang > 0.0, lang, 10));
    o.insert(QStringLiteral("speedPercent"), wert(kurz > 0.0 && lang > 0.0, tempoProzent, 10));
}

QString Art(TBandEreignis::TArt art) {
    switch (art) {
    case TBandEreignis::TArt::LangeMarke:
        return QStringLiteral("long-mark");
    case TBandEreignis::TArt::KurzeMarke:
        return QStringLiteral("short-mark");
    case TBandEreignis::TArt::Kopf:
        return QStringLiteral("header");
    case TBandEreignis::TArt::Rumpf:
        break;
    }
    return QStringLiteral("body");
}

QString Polaritaet(const TBandAnalyse& a) {
    if (a.beidePolaritaeten)
        return QStringLiteral("either");
    return a.invertiert ? QStringLiteral("inverted") : QStringLiteral("normal");
}

bool IstMarke(const TBandEreignis& e) {
    return e.art == TBandEreignis::TArt::LangeMarke || e.art == TBandEreignis::TArt::KurzeMarke;
}

void Zeile(QTextStream& aus, const QJsonObject& o) {
    aus << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)) << '\n';
}

// The rescue's reading of a block: each copy good, bad or not found; where the bytes came from;
// the bytes of the block that stayed uncertain.
QString KopieZustand(const TBlockBericht& b, int k) {
    if (!b.kopieGefunden[k])
        return QStringLiteral("missing");
    return b.kopieGut[k] ? QStringLiteral("good") : QStringLiteral("bad");
}

QString Weg(TDateiBefund::TWeg weg) {
    switch (weg) {
    case TDateiBefund::TWeg::Kopie1:
        return QStringLiteral("copy 1");
    case TDateiBefund::TWeg::Kopie2:
        return QStringLiteral("copy 2");
    case TDateiBefund::TWeg::Vereinigt:
        return QStringLiteral("merged");
    case TDateiBefund::TWeg::Keiner:
        break;
    }
    return QStringLiteral("none");
}

QString ZustandWort(TDateiBefund::TZustand zustand) {
    switch (zustand) {
    case TDateiBefund::TZustand::Repariert:
        return QStringLiteral("repaired");
    case TDateiBefund::TZustand::Beschaedigt:
        return QStringLiteral("damaged");
    case TDateiBefund::TZustand::Intakt:
        break;
    }
    return QStringLiteral("intact");
}

struct TRettungsBlock {
    const char* name;
    const TBlockBericht& bericht;
    TDateiBefund::TWeg weg;
    const std::vector<std::pair<int, int>>& unsicher;
};

// The blocks of a file the rescue read: the header, and the body when one was found.
std::vector<TRettungsBlock> Bloecke(const TRettungsBericht& r) {
    std::vector<TRettungsBlock> b{{"header", r.kopf, r.befund.kopfWeg, r.befund.unsichereKopfBereiche}};
    if (r.mitRumpf)
        b.push_back({"body", r.rumpf, r.befund.rumpfWeg, r.befund.unsichereBereiche});
    return b;
}

// Where a block begins: its first copy found, else the file's mark.
double BlockSekunden(const TRettungsBericht& r, const TBlockBericht& b, double rate) {
    const std::int32_t frame = b.beginn[0] >= 0 ? b.beginn[0] : b.beginn[1] >= 0 ? b.beginn[1] : r.beginn;
    return frame / rate;
}

void RettungAlsJson(const TBandAnalyse& a, QTextStream& aus) {
    for (const TRettungsBericht& r : a.rettung)
        for (const TRettungsBlock& b : Bloecke(r)) {
            QJsonArray unsicher;
            for (const auto& [von, bis] : b.unsicher)
                unsicher.append(QJsonArray{von, bis});
            Zeile(aus, {{QStringLiteral("event"), QStringLiteral("rescue")},
                        {QStringLiteral("block"), QLatin1String(b.name)},
                        {QStringLiteral("time"), Gerundet(BlockSekunden(r, b.bericht, a.sampleRate), 1000)},
                        {QStringLiteral("name"), r.name},
                        {QStringLiteral("size"), r.groesse},
                        {QStringLiteral("copies"),
                         QJsonArray{KopieZustand(b.bericht, 0), KopieZustand(b.bericht, 1)}},
                        {QStringLiteral("taken"), Weg(b.weg)},
                        {QStringLiteral("flipped"), b.bericht.gekippt},
                        {QStringLiteral("checksum"),
                         b.bericht.gut ? QStringLiteral("good") : QStringLiteral("bad")},
                        {QStringLiteral("uncertain"), unsicher},
                        {QStringLiteral("state"), r.kopfUnlesbar ? QStringLiteral("unreadable header")
                                                                 : ZustandWort(r.befund.zustand)}});
        }
}

// "20-22, 40": the uncertain bytes, counted from the block's first byte.
QString Bereiche(const std::vector<std::pair<int, int>>& bereiche) {
    QStringList teile;
    for (const auto& [von, bis] : bereiche)
        teile << (bis - von == 1 ? QString::number(von) : QStringLiteral("%1-%2").arg(von).arg(bis - 1));
    return teile.join(QStringLiteral(", "));
}

void RettungAlsText(const TBandAnalyse& a, QTextStream& aus) {
    aus << "Rescue (extended decoding): " << a.rettung.size() << " file(s)\n";
    for (const TRettungsBericht& r : a.rettung) {
        aus << "  " << ZeitInAufnahme(r.beginn / static_cast<double>(a.sampleRate)).rightJustified(8)
            << (r.kopfUnlesbar
                    ? QStringLiteral("  a file whose header could not be read, its body %1 bytes\n")
                          .arg(r.groesse)
                    : QStringLiteral("  \"%1\", %2 bytes: %3\n")
                          .arg(r.name)
                          .arg(r.groesse)
                          .arg(ZustandWort(r.befund.zustand)));
        for (const TRettungsBlock& b : Bloecke(r)) {
            QString was = QStringLiteral("copy 1 %1, copy 2 %2; ")
                              .arg(KopieZustand(b.bericht, 0), KopieZustand(b.bericht, 1));
            was += b.weg == TDateiBefund::TWeg::Vereinigt ? QStringLiteral("merged")
                                                          : Weg(b.weg) + QStringLiteral(" taken");
            if (b.bericht.gekippt > 0)
                was += QStringLiteral(", %1 bit(s) flipped").arg(b.bericht.gekippt);
            was += QStringLiteral("; checksum %1")
                       .arg(b.bericht.gut ? QStringLiteral("good") : QStringLiteral("bad"));
            if (!b.unsicher.empty())
                was += QStringLiteral("; uncertain bytes %1").arg(Bereiche(b.unsicher));
            aus << "            " << QStringLiteral("%1:").arg(QLatin1String(b.name)).leftJustified(8) << was
                << '\n';
        }
        if (!r.mitRumpf)
            aus << "            " << QStringLiteral("body:").leftJustified(8) << "not found\n";
    }
}

void AlsJson(const TBandAnalyse& a, QTextStream& aus) {
    Zeile(aus, {{QStringLiteral("event"), QStringLiteral("recording")},
                {QStringLiteral("rate"), static_cast<qint64>(a.sampleRate)},
                {QStringLiteral("seconds"), Gerundet(a.sekunden, 1000)},
                {QStringLiteral("polarity"),
                 a.invertiert ? QStringLiteral("inverted") : QStringLiteral("normal")}});
    for (const TBandEreignis& e : a.ereignisse) {
        QJsonObject o{{QStringLiteral("event"), Art(e.art)},
                      {QStringLiteral("time"), Gerundet(e.sekunden, 1000)}};
        if (IstMarke(e)) {
            Messwerte(o, e.kurzMikrosekunden, e.langMikrosekunden,
                      TempoProzent(a.kurzNominal, a.langNominal, e.kurzMikrosekunden, e.langMikrosekunden));
        } else {
            o.insert(QStringLiteral("copy"), e.kopie);
            o.insert(QStringLiteral("checksum"), e.gut ? QStringLiteral("good") : QStringLiteral("bad"));
            if (e.kopfGelesen) {
                o.insert(QStringLiteral("name"), e.name);
                o.insert(QStringLiteral("size"), e.groesse);
            }
        }
        Zeile(aus, o);
    }
    QJsonObject tempo{{QStringLiteral("event"), QStringLiteral("speed")},
                      {QStringLiteral("shortNominalUs"), a.kurzNominal},
                      {QStringLiteral("longNominalUs"), a.langNominal}};
    Messwerte(tempo, a.kurzGemessen, a.langGemessen, a.TempoProzent());
    Zeile(aus, tempo);
    RettungAlsJson(a, aus);
}

QString Pulse(double kurz, double lang) {
    return QStringLiteral("short %1 µs, long %2 µs").arg(kurz, 0, 'f', 0).arg(lang, 0, 'f', 0);
}

} // namespace

void ZeigeBandbericht(const TBandAnalyse& a, bool json, QTextStream& aus) {
    if (json) {
        AlsJson(a, aus);
        return;
    }
    aus << QStringLiteral("Recording: %1 Hz, %2, polarity %3\n")
               .arg(a.sampleRate)
               .arg(ZeitInAufnahme(a.sekunden), Polaritaet(a));
    constexpr int Spalte = 15;
    for (const TBandEreignis& e : a.ereignisse) {
        QString bezeichnung;
        QString was;
        switch (e.art) {
        case TBandEreignis::TArt::LangeMarke:
        case TBandEreignis::TArt::KurzeMarke:
            bezeichnung = e.art == TBandEreignis::TArt::LangeMarke ? QStringLiteral("long mark")
                                                                   : QStringLiteral("short mark");
            was = QStringLiteral("%1: %2").arg(
                Pulse(e.kurzMikrosekunden, e.langMikrosekunden),
                Tempo(TempoProzent(a.kurzNominal, a.langNominal, e.kurzMikrosekunden, e.langMikrosekunden)));
            break;
        case TBandEreignis::TArt::Kopf:
        case TBandEreignis::TArt::Rumpf:
            bezeichnung = QStringLiteral("%1, copy %2")
                              .arg(e.art == TBandEreignis::TArt::Kopf ? QStringLiteral("header")
                                                                      : QStringLiteral("body"))
                              .arg(e.kopie);
            was = QStringLiteral("checksum %1").arg(e.gut ? QStringLiteral("good") : QStringLiteral("bad"));
            if (e.kopfGelesen)
                was += QStringLiteral(", \"%1\", %2 bytes").arg(e.name).arg(e.groesse);
            break;
        }
        aus << "  " << ZeitInAufnahme(e.sekunden).rightJustified(8) << "  "
            << bezeichnung.leftJustified(Spalte) << was << '\n';
    }
    if (a.weitereEreignisse > 0)
        aus << QStringLiteral("  ... and %1 more events, not listed\n").arg(a.weitereEreignisse);
    if (a.kurzGemessen <= 0.0)
        aus << "Speed: not measured (no tape mark and no leader found)\n";
    else
        aus << QStringLiteral("Speed: %1 (nominal %2): %3\n")
                   .arg(Pulse(a.kurzGemessen, a.langGemessen), Pulse(a.kurzNominal, a.langNominal),
                        Tempo(a.TempoProzent()));
    if (a.mitRettung)
        RettungAlsText(a, aus);
}

int ZeichneBandbild(const QString& pv_aufnahme, const TBandEinstellungen& pv_einstellungen,
                    const QString& pv_bild, double pv_von, double pv_bis, QTextStream& fehler) {
    // The painter's texts need the fonts of a graphical application; without a display the
    // offscreen platform serves (main makes one for --plot; a caller without any gets one here).
    int argc = 1;
    char name[] = "bandwerk-cli";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QGuiApplication> anwendung;
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        anwendung = std::make_unique<QGuiApplication>(argc, argv);
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        fehler << "bandwerk-cli: --plot cannot draw here\n";
        return ExitFehler;
    }
    TBandaufzeichnung band;
    if (!MeldeBandFehler(band.Lies(pv_aufnahme, pv_einstellungen)))
        return ExitFehler;
    if (pv_von >= 0.0 && pv_von >= band.Sekunden(band.Frames())) {
        fehler << "bandwerk-cli: --from lies after the end of the recording ("
               << QString::number(band.Sekunden(band.Frames()), 'f', 2) << " s)\n";
        return ExitFehler;
    }
    QString grund;
    if (!TBandBild::Schreibe(pv_bild, band, pv_von, pv_bis, grund)) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_DateiSchreiben"), pv_bild, grund));
        return ExitFehler;
    }
    return ExitErfolg;
}
