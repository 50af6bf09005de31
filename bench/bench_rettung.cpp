// What the decoding gets back from worn tapes: every degradation at every strength, from a tape
// the program exports for an MZ-700, one for an MZ-80K and the two real cassettes of the corpus,
// each recorded twice with its own seeds. For every case the standard and the extended decoding
// of the first recording, and of both recordings read together (one file built from the copies of both):
// files back byte-exact (of the extended decoding's, how many it repaired, and how many more it
// reported damaged), wrong files reported (by the first recording and by both), and the decoding
// time. Then the totals and, per
// degradation, the strength from which the decodings lose files.
//
//   bench_rettung [--keep FOLDER] [--only NAME]
//
// --keep writes the recordings to FOLDER and leaves them there; --only runs the degradations whose
// name contains NAME (and the clean reference).
#include "RettungsMessung.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>

namespace {

using namespace RettungsMessung;
using namespace Verschlechterung;
using TUhr = std::chrono::steady_clock;

double Sekunden(TUhr::time_point seit) {
    return std::chrono::duration<double>(TUhr::now() - seit).count();
}

// One decoding of a case: the first recording alone, and both.
struct TErgebnis {
    TBewertung eine;
    TBewertung beide;
    double sekunden = 0.0; // decoding the first recording
};

struct TFall {
    TArt art = TArt::Keine;
    TStaerke staerke = TStaerke::Leicht;
    TQuellArt quelle = TQuellArt::MZ700;
    int dateien = 0;
    TErgebnis standard;
    TErgebnis erweitert;
    double erzeugen = 0.0;   // making both recordings
    double dekodieren = 0.0; // decoding both, both ways
};

TErgebnis Dekodiere(const QString& erste, const QString& zweite, const TQuelle& quelle, bool erweitert) {
    TErgebnis e;
    const auto beginn = TUhr::now();
    e.eine = Bewerte({erste}, quelle.modell, erweitert, quelle.dateien);
    e.sekunden = Sekunden(beginn);
    e.beide = Bewerte({erste, zweite}, quelle.modell, erweitert, quelle.dateien);
    return e;
}

QString Anteil(int gerettet, int gesamt) {
    return QStringLiteral("%1/%2").arg(gerettet).arg(gesamt);
}

void DruckeKopf() {
    std::printf("%-18s %-8s %-14s %7s %7s %-7s | %-15s | %-11s | %s  %s\n", "degradation", "strength",
                "source", "std", "ext", "rep/dam", "2 rec: std ext", "wrong s/e", "ms std/ext", "make s");
}

// Wrong or unknown files reported by the first recording and by both read together.
int Falsche(const TErgebnis& e) {
    return e.eine.Falsch() + e.eine.Fremde() + e.beide.Falsch() + e.beide.Fremde();
}

void DruckeFall(const TFall& f) {
    const auto falsch = [](const TErgebnis& e) { return Falsche(e); };
    std::printf("%-18s %-8s %-14s %7s %7s %3d %3d | %7s %7s | %5d %5d | %5.0f %5.0f  %5.1f\n", ArtName(f.art),
                f.art == TArt::Keine ? "-" : StaerkeName(f.staerke), QuellName(f.quelle),
                qPrintable(Anteil(f.standard.eine.Gerettet(), f.dateien)),
                qPrintable(Anteil(f.erweitert.eine.Gerettet(), f.dateien)), f.erweitert.eine.Repariert(),
                f.erweitert.eine.Beschaedigt(), qPrintable(Anteil(f.standard.beide.Gerettet(), f.dateien)),
                qPrintable(Anteil(f.erweitert.beide.Gerettet(), f.dateien)), falsch(f.standard),
                falsch(f.erweitert), 1000.0 * f.standard.sekunden, 1000.0 * f.erweitert.sekunden, f.erzeugen);
    std::fflush(stdout);
}

// Each wrong file reported: by which decoding, from which recording, and how many bytes differ; and
// each damage map that leaves wrong bytes out.
void DruckeFalsche(const TFall& f, const TQuelle& quelle) {
    for (const bool erweitert : {false, true}) {
        const TErgebnis& e = erweitert ? f.erweitert : f.standard;
        const char* wer = erweitert ? "extended" : "standard";
        for (const TBewertung* b : {&e.eine, &e.beide})
            for (std::size_t i = 0; i < b->dateien.size(); ++i)
                for (const QByteArray& falsch : b->dateien[i].falsch) {
                    const QByteArray richtig = quelle.dateien[i].kopf + quelle.dateien[i].rumpf;
                    qsizetype anders = std::abs(falsch.size() - richtig.size());
                    for (qsizetype k = 0; k < std::min(falsch.size(), richtig.size()); ++k)
                        anders += falsch[k] != richtig[k] ? 1 : 0;
                    std::printf("    wrong \"%s\" from the %s decoding of the %s: %lld bytes differ\n",
                                qPrintable(quelle.dateien[i].name), wer,
                                b == &e.eine ? "first recording" : "both recordings",
                                static_cast<long long>(anders));
                }
        for (const TBewertung* b : {&e.eine, &e.beide})
            for (std::size_t i = 0; i < b->dateien.size(); ++i)
                if (b->dateien[i].verfehlteBytes > 0)
                    std::printf(
                        "    the damage map of \"%s\" from the %s decoding of the %s misses %d of its %d "
                        "wrong bytes\n",
                        qPrintable(quelle.dateien[i].name), wer,
                        b == &e.eine ? "first recording" : "both recordings", b->dateien[i].verfehlteBytes,
                        b->dateien[i].falscheBytes);
        if (e.eine.Fremde() + e.beide.Fremde() > 0)
            std::printf("    %d files of no expected name from the %s decoding\n",
                        e.eine.Fremde() + e.beide.Fremde(), wer);
    }
}

// Recovered and total files of a group of cases.
struct TSumme {
    int dateien = 0;
    int standard = 0, erweitert = 0;             // first recording
    int standardBeide = 0, erweitertBeide = 0;   // both recordings
    int falschStandard = 0, falschErweitert = 0; // wrong or unknown files reported (first, both)
    int repariert = 0, beschaedigt = 0;          // by the extended decoding, first recording
    // The damage maps of the files it reported damaged, from the first recording and from both:
    // wrong bytes, those left out, bytes held.
    struct TKarten {
        int falsch = 0, verfehlt = 0, bytes = 0;
        void Zaehle(const TBewertung& b) {
            for (const TDateiAusgang& d : b.dateien) {
                if (!d.beschaedigt || d.gerettet)
                    continue;
                falsch += d.falscheBytes;
                verfehlt += d.verfehlteBytes;
                bytes += d.kartenBytes;
            }
        }
    } karten, kartenBeide;
    int fremdBeschaedigt = 0;      // damaged files that name no file of the tape
    int unlesbar = 0;              // files passed over with their header unreadable
    int genau = 0, genauBeide = 0; // damaged files whose bytes are right all the same

    void Zaehle(const TFall& f) {
        dateien += f.dateien;
        standard += f.standard.eine.Gerettet();
        erweitert += f.erweitert.eine.Gerettet();
        standardBeide += f.standard.beide.Gerettet();
        erweitertBeide += f.erweitert.beide.Gerettet();
        falschStandard += Falsche(f.standard);
        falschErweitert += Falsche(f.erweitert);
        repariert += f.erweitert.eine.Repariert();
        beschaedigt += f.erweitert.eine.Beschaedigt();
        fremdBeschaedigt += f.erweitert.eine.fremdBeschaedigt;
        unlesbar += f.erweitert.eine.unlesbar;
        genau += f.erweitert.eine.BeschaedigtGenau();
        genauBeide += f.erweitert.beide.BeschaedigtGenau();
        karten.Zaehle(f.erweitert.eine);
        kartenBeide.Zaehle(f.erweitert.beide);
    }
};

QString Prozent(int teil, int gesamt) {
    return QStringLiteral("%1/%2 = %3 %")
        .arg(teil)
        .arg(gesamt)
        .arg(gesamt ? 100.0 * teil / gesamt : 0.0, 0, 'f', 1);
}

void DruckeSumme(const char* titel, const TSumme& s) {
    std::printf("%-16s standard %-20s extended %-20s (repaired %d, damaged %d) | 2 rec: standard %-20s "
                "extended %-20s | wrong %d / %d\n",
                titel, qPrintable(Prozent(s.standard, s.dateien)),
                qPrintable(Prozent(s.erweitert, s.dateien)), s.repariert, s.beschaedigt,
                qPrintable(Prozent(s.standardBeide, s.dateien)),
                qPrintable(Prozent(s.erweitertBeide, s.dateien)), s.falschStandard, s.falschErweitert);
}

// The mildest strength at which the cases of a degradation (of the sources chosen) lose a file.
QString FehlerAb(const std::vector<TFall>& faelle, TArt art, bool erweitert, std::optional<bool> echt) {
    if (std::none_of(faelle.begin(), faelle.end(), [art](const TFall& f) { return f.art == art; }))
        return QStringLiteral("-");
    for (const TStaerke staerke : AlleStaerken)
        for (const TFall& f : faelle)
            if (f.art == art && f.staerke == staerke &&
                (!echt || (f.quelle == TQuellArt::GnuBlat || f.quelle == TQuellArt::Moonlander) == *echt) &&
                (erweitert ? f.erweitert : f.standard).eine.Gerettet() < f.dateien)
                return QString::fromUtf8(StaerkeName(staerke));
    return QStringLiteral("never");
}

void DruckeKurve(const std::vector<TFall>& faelle) {
    std::printf(
        "\nStrength from which files are lost (first recording; \"never\": all files at every strength)\n");
    std::printf("%-18s | %-8s %-8s | %-8s %-8s | %-8s %-8s\n", "degradation", "all: std", "ext", "synth:std",
                "ext", "real:std", "ext");
    for (const TArt art : AlleArten) {
        QString zeile = QStringLiteral("%1 |").arg(QString::fromUtf8(ArtName(art)), -18);
        for (const std::optional<bool> echt :
             {std::optional<bool>(), std::optional<bool>(false), std::optional<bool>(true)})
            zeile += QStringLiteral(" %1 %2 |")
                         .arg(FehlerAb(faelle, art, false, echt), -8)
                         .arg(FehlerAb(faelle, art, true, echt), -8);
        std::printf("%s\n", qPrintable(zeile.chopped(2)));
    }
}

void DruckeSummen(const std::vector<TFall>& faelle) {
    TSumme alle, synthetisch, echt;
    std::map<TStaerke, TSumme> jeStaerke;
    for (const TFall& f : faelle) {
        if (f.art == TArt::Keine)
            continue;
        alle.Zaehle(f);
        jeStaerke[f.staerke].Zaehle(f);
        (f.quelle == TQuellArt::GnuBlat || f.quelle == TQuellArt::Moonlander ? echt : synthetisch).Zaehle(f);
    }
    std::printf("\nFiles back byte-exact (degraded cases only)\n");
    DruckeSumme("all", alle);
    DruckeSumme("synthetic", synthetisch);
    DruckeSumme("real cassettes", echt);
    for (const auto& [staerke, summe] : jeStaerke)
        DruckeSumme(StaerkeName(staerke), summe);
    std::printf("\nDamage maps of the files the extended decoding reported damaged (first recording): %d "
                "wrong bytes, %d of them not in the map; the maps hold %d bytes. Damaged files that name "
                "no file of their tape: %d\n",
                alle.karten.falsch, alle.karten.verfehlt, alle.karten.bytes, alle.fremdBeschaedigt);
    std::printf("Files passed over as files whose header could not be read (their marks and body found): "
                "%d\n",
                alle.unlesbar);
    std::printf("Damaged files whose bytes are right all the same (extract --keep-damaged writes them "
                "whole; not counted as recovered above): %d, real cassettes %d; with them %s, real "
                "cassettes %s. Both recordings read together: %d, real cassettes %d.\n",
                alle.genau, echt.genau, qPrintable(Prozent(alle.erweitert + alle.genau, alle.dateien)),
                qPrintable(Prozent(echt.erweitert + echt.genau, echt.dateien)), alle.genauBeide,
                echt.genauBeide);
    std::printf("Both recordings read together: %d wrong bytes, %d of them not in the map; the maps hold %d "
                "bytes.\n",
                alle.kartenBeide.falsch, alle.kartenBeide.verfehlt, alle.kartenBeide.bytes);
}

// Makes both recordings of a case in `ordner`, decodes them, prints the line and removes them
// again unless they are to be kept.
std::optional<TFall> Miss(const TQuelle& quelle, TQuellArt q, TArt art, TStaerke staerke,
                          const QString& ordner, bool behalten) {
    QString fall = QString::fromUtf8(ArtName(art));
    if (art != TArt::Keine)
        fall += QLatin1Char('-') + QString::fromUtf8(StaerkeName(staerke));
    fall += QLatin1Char('-') + quelle.name;
    const QString stamm = QDir(ordner).filePath(fall.replace(QLatin1Char(' '), QLatin1Char('_')));
    const QString erste = stamm + QStringLiteral("-1.wav"), zweite = stamm + QStringLiteral("-2.wav");
    auto zeit = TUhr::now();
    QString fehler;
    if (!SchreibeAufnahme(quelle, q, art, staerke, 0, erste, fehler) ||
        !SchreibeAufnahme(quelle, q, art, staerke, 1, zweite, fehler)) {
        std::fprintf(stderr, "%s\n", qPrintable(fehler));
        return std::nullopt;
    }
    TFall f;
    f.art = art;
    f.staerke = staerke;
    f.quelle = q;
    f.dateien = static_cast<int>(quelle.dateien.size());
    f.erzeugen = Sekunden(zeit);
    zeit = TUhr::now();
    f.standard = Dekodiere(erste, zweite, quelle, false);
    f.erweitert = Dekodiere(erste, zweite, quelle, true);
    f.dekodieren = Sekunden(zeit);
    DruckeFall(f);
    DruckeFalsche(f, quelle);
    if (!behalten) {
        QFile::remove(erste);
        QFile::remove(zweite);
    }
    return f;
}

struct TOptionen {
    QString behalten;
    QString nur;
};

TOptionen LiesOptionen(int argc, char** argv) {
    TOptionen o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString name = QString::fromLocal8Bit(argv[i]);
        if (name == QLatin1String("--keep"))
            o.behalten = QString::fromLocal8Bit(argv[i + 1]);
        else if (name == QLatin1String("--only"))
            o.nur = QString::fromLocal8Bit(argv[i + 1]);
    }
    return o;
}

} // namespace

int main(int argc, char** argv) {
    QStandardPaths::setTestModeEnabled(true); // never the user's settings
    const TOptionen optionen = LiesOptionen(argc, argv);
    QTemporaryDir temporaer(QStringLiteral("/tmp/bandwerk-rettung-XXXXXX"));
    const QString ordner = optionen.behalten.isEmpty() ? temporaer.path() : optionen.behalten;
    QDir().mkpath(ordner);
    const auto beginn = TUhr::now();
    std::map<TQuellArt, TQuelle> quellen;
    for (const TQuellArt q : AlleQuellen) {
        QString fehler;
        if (!LadeQuelle(q, QStringLiteral(BANDWERK_KORPUS), ordner, quellen[q], fehler)) {
            std::fprintf(stderr, "%s\n", qPrintable(fehler));
            return 1;
        }
    }
    std::printf("Sources ready in %.1f s\n\n", Sekunden(beginn));
    DruckeKopf();
    std::vector<std::pair<TArt, TStaerke>> reihen{{TArt::Keine, TStaerke::Leicht}};
    for (const TArt art : AlleArten)
        if (optionen.nur.isEmpty() || QString::fromUtf8(ArtName(art)).contains(optionen.nur))
            for (const TStaerke staerke : AlleStaerken)
                reihen.emplace_back(art, staerke);
    std::vector<TFall> faelle;
    double erzeugen = 0.0, dekodieren = 0.0;
    for (const auto& [art, staerke] : reihen)
        for (const TQuellArt q : AlleQuellen) {
            std::optional<TFall> f = Miss(quellen[q], q, art, staerke, ordner, !optionen.behalten.isEmpty());
            if (!f)
                return 1;
            erzeugen += f->erzeugen;
            dekodieren += f->dekodieren;
            faelle.push_back(std::move(*f));
        }
    DruckeSummen(faelle);
    DruckeKurve(faelle);
    std::printf(
        "\nGenerating the recordings: %.1f s; decoding them (both decodings, both recordings): %.1f s; "
        "all: %.1f s\n",
        erzeugen, dekodieren, Sekunden(beginn));
    return 0;
}
