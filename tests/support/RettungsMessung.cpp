// The sources of the worn-tape set, its recordings and what the decodings give back from them.
#include "RettungsMessung.h"

#include "MZFDatei.h"
#include "Plattform.h"
#include "ProgrammEinstellungen.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <numbers>

namespace RettungsMessung {

using namespace Verschlechterung;

namespace {

// Where a source comes from: corpus files (the second may be missing) and, for a real cassette,
// its recording.
struct TQuellBeschreibung {
    const char* name;
    std::uint8_t modell;
    std::array<const char*, 2> dateien;
    const char* aufnahme;
};

const TQuellBeschreibung& Beschreibung(TQuellArt art) {
    static const std::array<TQuellBeschreibung, 4> tabelle{{
        {"MZ-700 export",
         MZ700,
         {"psychotimmy-Sharp-MZ-700/advent 2021-25 6.mzf", "gunterhager-mz800-emuz/TestScroll.mzf"},
         nullptr},
        {"MZ-80K export",
         MZ80K,
         {"akih-san-GAME80IC-for-MZ-80/LifeGameMZ.txt.mzt", "yanataka60-MZ80K_SD/FT.MZT"},
         nullptr},
        {"GNU BLAT 2000",
         MZ700,
         {"psychotimmy-Sharp-MZ-700/GNU BLAT 2000.mzf", nullptr},
         "psychotimmy-Sharp-MZ-700/GNU BLAT 2000.wav"},
        {"Moonlander v4",
         MZ700,
         {"psychotimmy-Sharp-MZ-700/Moonlander v4.mzf", nullptr},
         "psychotimmy-Sharp-MZ-700/Moonlander v4.wav"},
    }};
    return tabelle[static_cast<std::size_t>(art)];
}

// The platform binding while a recording is decoded: keeps the messages, answers every question
// No. The decoding of a worn tape that finds nothing says so, and that is a result, not a failure.
class TStillePlattform : public TPlattform {
public:
    TStillePlattform() : m_vorher(SetzePlattform(this)) {}
    ~TStillePlattform() override { SetzePlattform(m_vorher); }
    TStillePlattform(const TStillePlattform&) = delete;
    TStillePlattform& operator=(const TStillePlattform&) = delete;

    void ZeigeNachricht(TNachrichtArt, const QString& text) override { meldungen << text; }
    TAntwort Frage(TNachrichtArt, const QString& text, bool) override {
        meldungen << text;
        return TAntwort::Nein;
    }
    std::optional<QString> DateiDialogZeigen(const TDateiDialog&) override { return std::nullopt; }
    void SanduhrAn() override {}
    void SanduhrAus() override {}
    void VerarbeiteEreignisse() override {}
    void OeffneAdresse(const QString&) override {}
    [[noreturn]] void BeendeSofort(int) override { std::abort(); }

    QStringList meldungen;

private:
    TPlattform* m_vorher;
};

bool LiesDatei(const QString& pfad, QByteArray& inhalt, QString& fehler) {
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly)) {
        fehler = QStringLiteral("cannot read %1").arg(pfad);
        return false;
    }
    inhalt = datei.readAll();
    return true;
}

bool SchreibeDatei(const QString& pfad, const QByteArray& inhalt, QString& fehler) {
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(inhalt) != inhalt.size()) {
        fehler = QStringLiteral("cannot write %1").arg(pfad);
        return false;
    }
    return true;
}

QByteArray Kopf(const TMZFDatei& datei) {
    return QByteArray(reinterpret_cast<const char*>(datei.Kopf().data()), TMZFDatei::KopfGroesse);
}
QByteArray Rumpf(const TMZFDatei& datei) {
    return QByteArray(reinterpret_cast<const char*>(datei.Rumpf()), datei.HoleMZDateiGroesse());
}

// The program's export of one file for the model, as a signal.
bool Export(const TMZFDatei& vorlage, std::uint8_t modell, const QString& ordner, TSignal& signal,
            QString& fehler) {
    const std::unique_ptr<TMZFDatei> datei = TMZFDatei::CreateKopie(vorlage);
    const TBandEinstellungen einstellungen{.modell = modell,
                                           .sampleRate = static_cast<quint16>(AufnahmeRate)};
    const QString pfad = QDir(ordner).filePath(QStringLiteral("export.wav"));
    QByteArray wav;
    if (!datei->ExportWAV(pfad, einstellungen) || !LiesDatei(pfad, wav, fehler) || !AusWAV(wav, signal)) {
        fehler = QStringLiteral("the export of %1 failed").arg(datei->HoleMZDateiName());
        return false;
    }
    QFile::remove(pfad);
    return true;
}

void HaengeAn(TSignal& ziel, const std::vector<float>& werte) {
    ziel.Band().insert(ziel.Band().end(), werte.begin(), werte.end());
}
void HaengeStilleAn(TSignal& ziel, double sekunden) {
    ziel.Band().insert(ziel.Band().end(), static_cast<std::size_t>(sekunden * ziel.rate), 0.0F);
}

// Where one file the decoding returned goes in the evaluation.
void Zaehle(const TMZFDatei& datei, const std::vector<TErwarteteDatei>& erwartet, TBewertung& bewertung) {
    const QByteArray kopf = Kopf(datei);
    const QByteArray rumpf = Rumpf(datei);
    const QString name = TMZFDatei::NameAusKopf(datei.Kopf().data());
    const auto genau = std::find_if(erwartet.begin(), erwartet.end(), [&](const TErwarteteDatei& e) {
        return e.kopf == kopf && e.rumpf == rumpf;
    });
    const auto gleichnamig = std::find_if(erwartet.begin(), erwartet.end(),
                                          [&](const TErwarteteDatei& e) { return e.name == name; });
    const TDateiBefund::TZustand zustand = datei.HoleBefund().zustand;
    if (zustand == TDateiBefund::TZustand::Beschaedigt) {
        // A name read uncertainly names the file where it is sure.
        const auto woSicher = std::find_if(erwartet.begin(), erwartet.end(), [&](const TErwarteteDatei& e) {
            return e.kopf.size() == kopf.size() &&
                   datei.HoleBefund().KopfGleichWoSicher(
                       reinterpret_cast<const std::uint8_t*>(kopf.constData()),
                       reinterpret_cast<const std::uint8_t*>(e.kopf.constData()),
                       static_cast<int>(kopf.size()));
        });
        const auto ziel = genau != erwartet.end()         ? genau
                          : gleichnamig != erwartet.end() ? gleichnamig
                                                          : woSicher;
        if (ziel == erwartet.end()) {
            ++bewertung.fremdBeschaedigt;
            return;
        }
        TDateiAusgang& ausgang = bewertung.dateien[static_cast<std::size_t>(ziel - erwartet.begin())];
        ausgang.beschaedigt = true;
        ausgang.beschaedigtGenau = ausgang.beschaedigtGenau || ziel == genau;
        if (ziel->rumpf.size() != rumpf.size())
            return;
        std::vector<bool> inKarte(static_cast<std::size_t>(rumpf.size()), false);
        for (const auto& [von, bis] : datei.HoleBefund().unsichereBereiche)
            for (int i = std::max(von, 0); i < std::min<int>(bis, static_cast<int>(rumpf.size())); ++i)
                inKarte[static_cast<std::size_t>(i)] = true;
        ausgang.falscheBytes = ausgang.verfehlteBytes = 0;
        ausgang.kartenBytes = static_cast<int>(std::count(inKarte.begin(), inKarte.end(), true));
        for (qsizetype i = 0; i < rumpf.size(); ++i) {
            if (rumpf[i] == ziel->rumpf[i])
                continue;
            ++ausgang.falscheBytes;
            ausgang.verfehlteBytes += inKarte[static_cast<std::size_t>(i)] ? 0 : 1;
        }
        return;
    }
    if (genau != erwartet.end()) {
        TDateiAusgang& ausgang = bewertung.dateien[static_cast<std::size_t>(genau - erwartet.begin())];
        const bool repariert = zustand == TDateiBefund::TZustand::Repariert;
        ausgang.repariert = ausgang.gerettet ? ausgang.repariert && repariert : repariert;
        ausgang.gerettet = true;
    } else if (gleichnamig != erwartet.end()) {
        bewertung.dateien[static_cast<std::size_t>(gleichnamig - erwartet.begin())].falsch.insert(kopf +
                                                                                                  rumpf);
    } else {
        bewertung.fremde.insert(kopf + rumpf);
    }
}

} // namespace

const char* QuellName(TQuellArt art) {
    return Beschreibung(art).name;
}

bool LadeQuelle(TQuellArt art, const QString& korpus, const QString& ordner, TQuelle& quelle,
                QString& fehler) {
    const TQuellBeschreibung& b = Beschreibung(art);
    quelle = TQuelle{QString::fromUtf8(b.name), b.modell, b.aufnahme != nullptr, {}, {}};
    quelle.signal = TSignal{std::vector<std::vector<float>>(1), AufnahmeRate, 16};
    HaengeStilleAn(quelle.signal, StilleVorher);
    for (const char* mzf : b.dateien) {
        if (mzf == nullptr)
            continue;
        std::vector<std::unique_ptr<TMZFDatei>> dateien;
        const QString pfad = QDir(korpus).filePath(QString::fromUtf8(mzf));
        if (!TMZFDatei::LeseAlleAusMZT(pfad, dateien) || dateien.size() != 1) {
            fehler = QStringLiteral("%1 is not one MZ file").arg(pfad);
            return false;
        }
        const TMZFDatei& datei = *dateien.front();
        quelle.dateien.push_back({TMZFDatei::NameAusKopf(datei.Kopf().data()), Kopf(datei), Rumpf(datei)});
        if (quelle.echt)
            continue;
        TSignal export_;
        if (!Export(datei, b.modell, ordner, export_, fehler))
            return false;
        if (quelle.dateien.size() > 1)
            HaengeStilleAn(quelle.signal, StilleZwischen);
        HaengeAn(quelle.signal, export_.Band());
    }
    if (quelle.echt) {
        QByteArray wav;
        if (!LiesDatei(QDir(korpus).filePath(QString::fromUtf8(b.aufnahme)), wav, fehler) ||
            !AusWAV(wav, quelle.signal)) {
            fehler = QStringLiteral("%1 is no recording this code reads").arg(QString::fromUtf8(b.aufnahme));
            return false;
        }
        NeuAbtasten(quelle.signal, AufnahmeRate);
        quelle.signal.bits = 16;
    } else {
        HaengeStilleAn(quelle.signal, StilleNachher);
        // No edge steeper than a tape deck gives it.
        Tiefpass(quelle.signal.Band(), AufnahmeRate, BandEckeHz, std::numbers::sqrt2 / 2.0);
    }
    Normiere(quelle.signal, QuellSpitze);
    return true;
}

std::uint32_t Startwert(TQuellArt quelle, TArt art, TStaerke staerke, int aufnahme) {
    constexpr std::uint32_t Basis = 18'2024;
    return Basis + 100'000U * static_cast<std::uint32_t>(quelle) + 1000U * static_cast<std::uint32_t>(art) +
           100U * static_cast<std::uint32_t>(staerke) + static_cast<std::uint32_t>(aufnahme);
}

bool SchreibeAufnahme(const TQuelle& quelle, TQuellArt art, TArt verschlechterung, TStaerke staerke,
                      int aufnahme, const QString& pfad, QString& fehler) {
    TSignal signal = quelle.signal;
    return Verschlechtere(signal, verschlechterung, staerke,
                          Startwert(art, verschlechterung, staerke, aufnahme), fehler) &&
           SchreibeDatei(pfad, AlsWAV(signal), fehler);
}

int TBewertung::Gerettet() const {
    return static_cast<int>(
        std::count_if(dateien.begin(), dateien.end(), [](const auto& d) { return d.gerettet; }));
}

int TBewertung::Repariert() const {
    return static_cast<int>(
        std::count_if(dateien.begin(), dateien.end(), [](const auto& d) { return d.repariert; }));
}

int TBewertung::Beschaedigt() const {
    return static_cast<int>(std::count_if(dateien.begin(), dateien.end(),
                                          [](const auto& d) { return d.beschaedigt && !d.gerettet; }));
}

int TBewertung::BeschaedigtGenau() const {
    return static_cast<int>(std::count_if(dateien.begin(), dateien.end(),
                                          [](const auto& d) { return d.beschaedigtGenau && !d.gerettet; }));
}

int TBewertung::Falsch() const {
    int anzahl = 0;
    for (const TDateiAusgang& d : dateien)
        anzahl += static_cast<int>(d.falsch.size());
    return anzahl;
}

TBewertung Bewerte(const QStringList& aufnahmen, std::uint8_t modell, bool erweitert,
                   const std::vector<TErwarteteDatei>& erwartet) {
    TBewertung bewertung;
    bewertung.dateien.resize(erwartet.size());
    // The recordings of one tape are read together, as the command line reads them.
    TStillePlattform plattform;
    TMZFDatei leser;
    std::vector<std::unique_ptr<TMZFDatei>> gefunden;
    std::vector<TUebersprungenes> uebersprungen;
    leser.LeseAlleAusWAV(aufnahmen, {.modell = modell, .erweitert = erweitert}, gefunden, &uebersprungen);
    bewertung.unlesbar =
        static_cast<int>(std::count_if(uebersprungen.begin(), uebersprungen.end(), [](const auto& u) {
            return u.art == TUebersprungenes::TArt::UnlesbarerKopf;
        }));
    bewertung.meldungen << plattform.meldungen;
    for (const auto& datei : gefunden)
        Zaehle(*datei, erwartet, bewertung);
    return bewertung;
}

} // namespace RettungsMessung
