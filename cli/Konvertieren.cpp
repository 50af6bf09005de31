#include "Konvertieren.h"

#include "BandMeldung.h"
#include "FundListe.h"
#include "MZFDatei.h"
#include "Plattform.h"

#include <QStringList>

bool LiesAlleInListe(TDateiArt art, const QString& pfad, const TBandEinstellungen& einstellungen,
                     std::vector<std::unique_ptr<TMZFDatei>>& dateien,
                     std::vector<TUebersprungenes>& uebersprungen, TMZFDatei& arbeit, bool* keineGefunden) {
    dateien.clear();
    uebersprungen.clear();
    switch (art) {
    case TDateiArt::MZF: {
        auto datei = std::make_unique<TMZFDatei>();
        if (!datei->Laden(pfad))
            return false;
        dateien.push_back(std::move(datei));
        return true;
    }
    case TDateiArt::MZT:
        return TMZFDatei::LeseAlleAusMZT(pfad, dateien, &uebersprungen);
    case TDateiArt::WAV:
        return arbeit.LeseAlleAusWAV(pfad, einstellungen, dateien, &uebersprungen, keineGefunden);
    case TDateiArt::Unbekannt:
        break;
    }
    return false;
}

bool LiesAlleInListe(TDateiArt art, const QStringList& pfade, const TBandEinstellungen& einstellungen,
                     std::vector<std::unique_ptr<TMZFDatei>>& dateien,
                     std::vector<TUebersprungenes>& uebersprungen, TMZFDatei& arbeit, bool* keineGefunden) {
    if (pfade.size() == 1)
        return LiesAlleInListe(art, pfade.front(), einstellungen, dateien, uebersprungen, arbeit,
                               keineGefunden);
    dateien.clear();
    uebersprungen.clear();
    return arbeit.LeseAlleAusWAV(pfade, einstellungen, dateien, &uebersprungen, keineGefunden);
}

bool LiesEineInDatei(TDateiArt art, const QString& pfad, const TBandEinstellungen& einstellungen,
                     TMZFDatei& datei, std::vector<TUebersprungenes>& uebersprungen, bool* keineGefunden) {
    std::vector<std::unique_ptr<TMZFDatei>> liste;
    if (!LiesAlleInListe(art, pfad, einstellungen, liste, uebersprungen, datei, keineGefunden))
        return false;
    // Which of several files to take is the user's choice: list shows them, extract writes all.
    if (liste.size() > 1) {
        ZeigeFehler(QStringLiteral("%1 holds %2 MZ files: %3.\nUse \"bandwerk-cli list %1\" to see them and "
                                   "\"bandwerk-cli extract %1 DIR\" to write each of them as an MZF file.")
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

bool SchreibeAusDatei(TDateiArt art, TMZFDatei& datei, const QString& pfad,
                      const TBandEinstellungen& einstellungen) {
    switch (art) {
    case TDateiArt::MZF:
        return datei.Speichern(pfad);
    case TDateiArt::MZT:
        return datei.ExportMZT(pfad, einstellungen);
    case TDateiArt::WAV:
        return datei.ExportWAV(pfad, einstellungen);
    case TDateiArt::Unbekannt:
        break;
    }
    return false;
}

QString BeschreibeDateien(const std::vector<std::unique_ptr<TMZFDatei>>& dateien) {
    QStringList teile;
    for (const auto& d : dateien)
        teile << QStringLiteral("%1 (%2 bytes)").arg(d->HoleMZDateiName()).arg(d->HoleMZDateiGroesse());
    return teile.join(QStringLiteral(", "));
}

QString BeschreibeUebersprungenes(const QString& pfad, const TUebersprungenes& was) {
    const QString vor = QStringLiteral("bandwerk-cli: %1: skipped ").arg(pfad);
    switch (was.art) {
    case TUebersprungenes::TArt::AbgeschnittenerDatensatz:
        return vor + QStringLiteral("%1 at byte %2: the file ends inside it (%3 bytes)")
                         .arg(was.name)
                         .arg(was.position)
                         .arg(was.laenge);
    case TUebersprungenes::TArt::RestBytes:
        return vor +
               QStringLiteral("%1 bytes at byte %2 after the last MZ file").arg(was.laenge).arg(was.position);
    case TUebersprungenes::TArt::BeschaedigterKopf:
        return vor + QStringLiteral("a damaged header at byte %1").arg(was.position);
    case TUebersprungenes::TArt::BeschaedigterRumpf:
        if (was.position < 0) // a recording: no byte to name
            return vor + QStringLiteral("%1: its body is damaged in every decoding pass").arg(was.name);
        return vor + QStringLiteral("%1 at byte %2: its body is damaged").arg(was.name).arg(was.position);
    case TUebersprungenes::TArt::ZuVieleDateien:
        return vor + QStringLiteral(
                         "everything after the first %1 MZ files (%2 MiB): no more are read from one file")
                         .arg(was.laenge)
                         .arg(TFundListe::GroessteBytes >> 20);
    case TUebersprungenes::TArt::Weitere:
        return vor + QStringLiteral("%1 more damaged places, not told one by one").arg(was.laenge);
    case TUebersprungenes::TArt::UnlesbarerKopf: {
        QString wo =
            was.sekunde < 0.0 ? QString() : QStringLiteral(" at %1").arg(ZeitInAufnahme(was.sekunde));
        if (!was.aufnahme.isEmpty())
            wo += QStringLiteral(" of %1").arg(was.aufnahme);
        return vor + QStringLiteral("a file%1 whose header could not be read (its marks and body were found)")
                         .arg(wo);
    }
    }
    return vor;
}
