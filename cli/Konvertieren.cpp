#include "Konvertieren.h"

#include "MZFDatei.h"
#include "Plattform.h"

#include <QFileInfo>
#include <iterator>

namespace {
struct TEndung {
    const char* endung; // lower case, without the dot
    TDateiArt art;
};

constexpr TEndung Endungen[] = {
    {"mzf", TDateiArt::MZF},
    {"m12", TDateiArt::MZF},
    {"mzt", TDateiArt::MZT},
    {"wav", TDateiArt::WAV},
};
} // namespace

TDateiArt DateiArtVonEndung(const QString& pfad) {
    const QString endung = QFileInfo(pfad).suffix().toLower();
    for (const auto& e : Endungen)
        if (endung == QLatin1String(e.endung))
            return e.art;
    return TDateiArt::Unbekannt;
}

QString BekannteEndungen() {
    QStringList liste;
    for (const auto& e : Endungen)
        liste << QLatin1Char('.') + QLatin1String(e.endung);
    return liste.join(QStringLiteral(", "));
}

bool IstLesbar(TDateiArt art) {
    return art != TDateiArt::Unbekannt && art != TDateiArt::WAV;
}

bool LiesInDatei(TDateiArt art, const QString& pfad, TMZFDatei& datei) {
    switch (art) {
    case TDateiArt::MZF:
        return datei.Laden(pfad);
    case TDateiArt::MZT: {
        // Which of several files to take is the user's choice: convert refuses, extract writes all.
        std::vector<std::unique_ptr<TMZFDatei>> liste;
        if (!TMZFDatei::LeseAlleAusMZT(pfad, liste))
            return false;
        if (liste.size() > 1) {
            ZeigeFehler(
                QStringLiteral("%1 holds %2 MZ files: %3.\nUse \"bandwerk-cli extract %1 DIR\" to write each "
                               "of them as an MZF file.")
                    .arg(pfad)
                    .arg(liste.size())
                    .arg(BeschreibeDateien(liste)));
            return false;
        }
        // The record keeps the events bound to it (progress display).
        const auto beginn = datei.BeiBeginn;
        const auto fortschritt = datei.BeiFortschritt;
        const auto ende = datei.BeiEnde;
        datei.KopiereVon(*liste.front());
        datei.BeiBeginn = beginn;
        datei.BeiFortschritt = fortschritt;
        datei.BeiEnde = ende;
        return true;
    }
    case TDateiArt::WAV: // refused before, see IstLesbar
    case TDateiArt::Unbekannt:
        break;
    }
    return false;
}

bool SchreibeAusDatei(TDateiArt art, TMZFDatei& datei, const QString& pfad) {
    switch (art) {
    case TDateiArt::MZF:
        return datei.Speichern(pfad);
    case TDateiArt::MZT:
        return datei.ExportMZT(pfad);
    case TDateiArt::WAV:
        return datei.ExportWAV(pfad);
    case TDateiArt::Unbekannt:
        break;
    }
    return false;
}

bool LiesAlleInListe(TDateiArt art, const QString& pfad, std::vector<std::unique_ptr<TMZFDatei>>& dateien) {
    dateien.clear();
    if (art == TDateiArt::MZT)
        return TMZFDatei::LeseAlleAusMZT(pfad, dateien);
    auto datei = std::make_unique<TMZFDatei>();
    if (!IstLesbar(art) || !LiesInDatei(art, pfad, *datei))
        return false;
    dateien.push_back(std::move(datei));
    return true;
}

QString BeschreibeDateien(const std::vector<std::unique_ptr<TMZFDatei>>& dateien) {
    QStringList teile;
    for (const auto& d : dateien)
        teile << QStringLiteral("%1 (%2 bytes)").arg(d->HoleMZDateiName()).arg(d->HoleMZDateiGroesse());
    return teile.join(QStringLiteral(", "));
}
