// MZ files out of a recording of a cassette. The recording is decoded in several passes, since
// neither its polarity nor (on an MZ-700) the better sampling delay is known: both polarities,
// and for the MZ-700 both delays. The passes are decoded and searched together while the file is
// read once, front to back, and only the pulses a search still needs are kept, however long the
// recording. Every MZ file whose checksums agree is cut out of each pass's pulses; a file found
// twice counts once.
#include "MZFDatei.h"

#include "BandMeldung.h"
#include "BandProtokoll.h"
#include "BandRetter.h"
#include "MZWAVMehrfachDekoder.h"
#include "Plattform.h"
#include "SprachenTexte.h"
#include "WAVSuche.h"

#include <QFileInfo>
#include <algorithm>
#include <map>
#include <unordered_set>

namespace {

// The busy state of one import: BeiBeginn, then the hourglass; at the end BeiEnde, then the
// pointer as it was, on every way out. Before the user chooses among several files both end
// early, so that the choice is made with the window ready and the normal pointer.
class TImportRahmen {
public:
    explicit TImportRahmen(TMZFDatei& datei) : m_datei(datei) {
        if (m_datei.BeiBeginn)
            m_datei.BeiBeginn(&m_datei);
        Plattform().SanduhrAn();
    }
    ~TImportRahmen() { Beende(); }
    TImportRahmen(const TImportRahmen&) = delete;
    TImportRahmen& operator=(const TImportRahmen&) = delete;
    void Beende() {
        if (m_beendet)
            return;
        m_beendet = true;
        if (m_datei.BeiEnde)
            m_datei.BeiEnde(&m_datei);
        Plattform().SanduhrAus();
    }

private:
    TMZFDatei& m_datei;
    bool m_beendet = false;
};

QString NichtsGefunden(const QString& pfad) {
    return HoleTextMitParametern(QStringLiteral("Fehler_ImportVonWAV_KeineGueltigeMZDateiGefunden"), pfad);
}

} // namespace

namespace {

// What identifies a file whatever its body: type, name, size and addresses.
bool GleicherKopf(const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& a,
                  const std::array<std::uint8_t, TMZFDatei::KopfGroesse>& b) {
    return std::equal(a.begin(), a.begin() + TMZFDatei::OffsetKommentar, b.begin());
}

bool SchonDa(const std::vector<std::unique_ptr<TMZFDatei>>& dateien, const TMZFDatei& datei) {
    return std::any_of(dateien.begin(), dateien.end(), [&](const auto& d) { return d->IstGleich(datei); });
}

// The same file on several recordings is one group, decided from the evidence of all; a group
// takes one reading of each recording, so that a file saved twice (the same header, other
// contents) stays two files.
using THerkunft = std::vector<std::vector<std::size_t>>; // per group, the recordings it holds

// Two readings of one size whose bodies agree where both are sure, over all but a sixteenth of at
// least GleicherInhaltMindestens bytes: one file, however many bytes of its header either read
// uncertainly (those they read surely agree). A file saved twice with other contents differs
// in far more.
constexpr int GleicherInhaltMindestens = 64;
constexpr int GleicherInhaltAnteil = 16;

bool GleicherInhalt(const TGeretteteDatei& a, const TGeretteteDatei& b) {
    const auto n = static_cast<int>(a.rumpf.size());
    if (!a.mitRumpf || !b.mitRumpf || n != static_cast<int>(b.rumpf.size()) ||
        !a.NenntDieselbeDatei(b, TMZFDatei::OffsetKommentar))
        return false;
    std::vector<bool> unsicher = a.befund.UnsicherJeByte(n);
    const std::vector<bool> beiB = b.befund.UnsicherJeByte(n);
    for (int i = 0; i < n; ++i)
        unsicher[static_cast<std::size_t>(i)] =
            unsicher[static_cast<std::size_t>(i)] || beiB[static_cast<std::size_t>(i)];
    int verglichen = 0, anders = 0;
    for (int i = 0; i < n; ++i) {
        if (unsicher[static_cast<std::size_t>(i)])
            continue;
        ++verglichen;
        anders += a.rumpf[static_cast<std::size_t>(i)] != b.rumpf[static_cast<std::size_t>(i)] ? 1 : 0;
    }
    return verglichen >= GleicherInhaltMindestens && anders * GleicherInhaltAnteil <= verglichen;
}

std::vector<TGeretteteDatei> Gruppiere(std::vector<std::vector<TGeretteteDatei>>& gerettet,
                                       THerkunft& herkunft) {
    std::vector<TGeretteteDatei> gruppen;
    for (std::size_t aufnahme = 0; aufnahme < gerettet.size(); ++aufnahme)
        for (TGeretteteDatei& g : gerettet[aufnahme]) {
            std::size_t i = 0;
            while (i < gruppen.size() &&
                   (std::find(herkunft[i].begin(), herkunft[i].end(), aufnahme) != herkunft[i].end() ||
                    !(gruppen[i].NenntDieselbeDatei(g) || GleicherInhalt(gruppen[i], g)) ||
                    gruppen[i].rumpfBelege.Anzahl() != g.rumpfBelege.Anzahl()))
                ++i;
            if (i == gruppen.size()) {
                gruppen.push_back(std::move(g));
                herkunft.push_back({aufnahme});
                continue;
            }
            TGeretteteDatei& gleich = gruppen[i];
            herkunft[i].push_back(aufnahme);
            gleich.kopfBelege.NimmHinzu(g.kopfBelege);
            gleich.rumpfBelege.NimmHinzu(g.rumpfBelege);
            gleich.mitRumpf = gleich.mitRumpf || g.mitRumpf;
            if (gleich.gemesseneGroesse < 0)
                gleich.gemesseneGroesse = g.gemesseneGroesse;
            gleich.sauberKopf.insert(gleich.sauberKopf.end(), g.sauberKopf.begin(), g.sauberKopf.end());
            gleich.sauberRumpf.insert(gleich.sauberRumpf.end(), g.sauberRumpf.begin(), g.sauberRumpf.end());
            TBandRetter::Entscheide(gleich);
        }
    return gruppen;
}

bool GroesseUnsicher(const TGeretteteDatei& g) {
    return g.befund.KopfByteUnsicher(TMZFDatei::OffsetGroesse) ||
           g.befund.KopfByteUnsicher(TMZFDatei::OffsetGroesse + 1);
}

// Group i is a file that one of its recordings also holds elsewhere, decided whole.
bool NochEinmal(const std::vector<TGeretteteDatei>& gruppen, const THerkunft& herkunft, std::size_t i) {
    for (std::size_t j = 0; j < gruppen.size(); ++j) {
        if (j == i || gruppen[j].befund.zustand == TDateiBefund::TZustand::Beschaedigt ||
            !gruppen[j].NenntDieselbeDatei(gruppen[i]))
            continue;
        for (const std::size_t aufnahme : herkunft[i])
            if (std::find(herkunft[j].begin(), herkunft[j].end(), aufnahme) != herkunft[j].end())
                return true;
    }
    return false;
}

// Several recordings of one tape: the files each gave whole, in the order of the recordings, and
// what the rescue put together of the others from the evidence of all recordings that hold them.
void Vereinige(std::vector<std::vector<std::unique_ptr<TMZFDatei>>>& jeAufnahme,
               std::vector<std::vector<TGeretteteDatei>>& gerettet,
               std::vector<std::unique_ptr<TMZFDatei>>& dateien) {
    for (auto& liste : jeAufnahme)
        for (auto& d : liste)
            if (d->HoleBefund().zustand != TDateiBefund::TZustand::Beschaedigt && !SchonDa(dateien, *d))
                dateien.push_back(std::move(d));
    THerkunft herkunft;
    const std::vector<TGeretteteDatei> gruppen = Gruppiere(gerettet, herkunft);
    std::vector<std::unique_ptr<TMZFDatei>> ergebnisse;
    for (const TGeretteteDatei& g : gruppen) {
        ergebnisse.push_back(std::make_unique<TMZFDatei>());
        ergebnisse.back()->Uebernimm(g.kopf, g.rumpf);
        ergebnisse.back()->SetzeBefund(g.Gemeldet());
    }
    // The files the evidence decides a group to be, among those the recordings gave whole.
    std::unordered_set<const TMZFDatei*> entschieden;
    for (const auto& d : dateien)
        if (std::any_of(ergebnisse.begin(), ergebnisse.end(), [&](const auto& e) {
                return e->HoleBefund().zustand != TDateiBefund::TZustand::Beschaedigt && e->IstGleich(*d);
            }))
            entschieden.insert(d.get());
    for (std::size_t i = 0; i < gruppen.size(); ++i) {
        const TGeretteteDatei& g = gruppen[i];
        std::unique_ptr<TMZFDatei>& datei = ergebnisse[i];
        const bool beschaedigt = g.befund.zustand == TDateiBefund::TZustand::Beschaedigt;
        // Two errors that hide each other from the checksum give one recording a file of its own:
        // where the evidence of all recordings decides the file, no other version of it stays
        // (but one the evidence decides another group to be).
        if (!beschaedigt)
            dateien.erase(std::remove_if(dateien.begin(), dateien.end(),
                                         [&](const auto& d) {
                                             return (GleicherKopf(d->Kopf(), g.kopf) ||
                                                     g.KopfUeberstimmt(d->Kopf())) &&
                                                    !d->IstGleich(*datei) && !entschieden.contains(d.get());
                                         }),
                          dateien.end());
        // A damaged file that another recording gave whole is no file of its own, unless a recording
        // it was read from holds that file whole as well: then it is another save of it (the same
        // name, other contents).
        if (SchonDa(dateien, *datei) || (beschaedigt && !NochEinmal(gruppen, herkunft, i) &&
                                         std::any_of(dateien.begin(), dateien.end(), [&](const auto& d) {
                                             return GleicherKopf(d->Kopf(), g.kopf) ||
                                                    IstBeschaedigteLesung(*d, g);
                                         })))
            continue;
        // A reading whose size was read uncertainly, of a file another group names with its size
        // sure, is that file read with a wrong size (its evidence could not be joined to it): what
        // both read surely agrees, over two thirds at least of what names a file.
        if (GroesseUnsicher(g) && std::any_of(gruppen.begin(), gruppen.end(), [&](const TGeretteteDatei& h) {
                return &h != &g && !GroesseUnsicher(h) &&
                       h.NenntDieselbeDatei(g, TMZFDatei::OffsetKommentar / 3);
            }))
            continue;
        if (!beschaedigt)
            entschieden.insert(datei.get());
        dateien.push_back(std::move(datei));
    }
}

// The places one more recording of the same tape passed over, after those of the recordings before:
// a file each of them passed over is told once (as often as the recording that passed it over most
// often did), not once a recording.
void NimmUebersprungene(std::vector<TUebersprungenes>& alle, const std::vector<TUebersprungenes>& neue) {
    using TSchluessel = std::pair<int, QString>;
    std::map<TSchluessel, int> schon;
    for (const TUebersprungenes& u : alle)
        ++schon[{static_cast<int>(u.art), u.name}];
    std::map<TSchluessel, int> davor;
    for (const TUebersprungenes& u : neue) {
        const TSchluessel schluessel{static_cast<int>(u.art), u.name};
        if (u.name.isEmpty() || davor[schluessel]++ >= schon[schluessel])
            alle.push_back(u);
    }
}

// The same file whose header no recording could read, as two recordings give it: the bodies as
// long, each the same as the other where it is sure, most of each read surely.
bool GleicherRumpf(const TUnlesbarerKopf& a, const TUnlesbarerKopf& b) {
    const auto n = static_cast<int>(a.rumpf.size());
    return a.rumpf.size() == b.rumpf.size() && 2 * a.befund.UnsichereBytes() < n &&
           2 * b.befund.UnsichereBytes() < n &&
           a.befund.RumpfGleichWoSicher(a.rumpf.data(), b.rumpf.data(), n) &&
           b.befund.RumpfGleichWoSicher(b.rumpf.data(), a.rumpf.data(), n);
}

// A file one recording could not read the header of is no longer passed over where the files
// found hold it (another recording read it), and is told once where another recording could not
// read it either. The recording's notes of such files go in the order of its readings.
void OhneGelesene(std::vector<std::vector<TUebersprungenes>>& uebersprungen,
                  const std::vector<std::vector<TUnlesbarerKopf>>& unlesbare,
                  const std::vector<std::unique_ptr<TMZFDatei>>& gefunden) {
    std::vector<const TUnlesbarerKopf*> erzaehlt;
    for (std::size_t aufnahme = 0; aufnahme < uebersprungen.size(); ++aufnahme) {
        std::vector<TUebersprungenes> bleiben;
        std::size_t k = 0;
        for (TUebersprungenes& u : uebersprungen[aufnahme]) {
            if (u.art == TUebersprungenes::TArt::UnlesbarerKopf && k < unlesbare[aufnahme].size()) {
                const TUnlesbarerKopf& lesung = unlesbare[aufnahme][k++];
                if (std::any_of(
                        gefunden.begin(), gefunden.end(),
                        [&](const auto& d) { return IstRumpfVon(*d, lesung.rumpf, lesung.befund); }) ||
                    std::any_of(erzaehlt.begin(), erzaehlt.end(),
                                [&](const TUnlesbarerKopf* e) { return GleicherRumpf(*e, lesung); }))
                    continue;
                erzaehlt.push_back(&lesung);
            }
            bleiben.push_back(std::move(u));
        }
        uebersprungen[aufnahme] = std::move(bleiben);
    }
}

// Where the files lie whose header could not be read: "0:11.81, 0:59.49", of several recordings
// with the recording's name ("0:11.81 (A.wav)"); empty where there are none.
QString UnlesbareStellen(const std::vector<TUebersprungenes>& uebersprungen) {
    QStringList stellen;
    for (const TUebersprungenes& u : uebersprungen) {
        if (u.art != TUebersprungenes::TArt::UnlesbarerKopf || u.sekunde < 0.0)
            continue;
        stellen << ZeitInAufnahme(u.sekunde) +
                       (u.aufnahme.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(u.aufnahme));
    }
    return stellen.join(QStringLiteral(", "));
}

} // namespace

TBandFehler TMZFDatei::DekodiereWAV(const QStringList& pv_dateiNamen,
                                    const TBandEinstellungen& pv_einstellungen,
                                    std::vector<std::unique_ptr<TMZFDatei>>& pv_gefunden,
                                    std::vector<TUebersprungenes>* pv_uebersprungen) {
    const auto aufnahmen = static_cast<int>(pv_dateiNamen.size());
    std::vector<std::vector<std::unique_ptr<TMZFDatei>>> jeAufnahme(static_cast<std::size_t>(aufnahmen));
    std::vector<std::vector<TGeretteteDatei>> gerettet(static_cast<std::size_t>(aufnahmen));
    std::vector<std::vector<TUebersprungenes>> uebersprungen(static_cast<std::size_t>(aufnahmen));
    std::vector<std::vector<TUnlesbarerKopf>> unlesbare(static_cast<std::size_t>(aufnahmen));
    for (int i = 0; i < aufnahmen; ++i) {
        // Every pass searches while the file is read, so the share of the file read is the
        // progress; of several recordings each has its share.
        TAufnahmeBeobachter beobachter;
        beobachter.nachBlock = [this, i, aufnahmen](const TMZWAVMehrfachDekoder& d) {
            if (d.HoleAnzahlFrames() > 0)
                RaiseFortschritt(100.0 *
                                 (i + static_cast<double>(d.HoleGeleseneFrames()) / d.HoleAnzahlFrames()) /
                                 aufnahmen);
        };
        const auto aufnahme = static_cast<std::size_t>(i);
        const TBandFehler fehler = DurchsucheAufnahme(
            pv_dateiNamen[i], pv_einstellungen, beobachter, jeAufnahme[aufnahme],
            pv_uebersprungen ? &uebersprungen[aufnahme] : nullptr, &gerettet[aufnahme], &unlesbare[aufnahme]);
        if (!fehler.IstOk())
            return fehler;
        // Which recording's time it is.
        if (aufnahmen > 1)
            for (TUebersprungenes& u : uebersprungen[aufnahme])
                if (u.art == TUebersprungenes::TArt::UnlesbarerKopf)
                    u.aufnahme = QFileInfo(pv_dateiNamen[i]).fileName();
    }
    if (aufnahmen == 1) {
        pv_gefunden = std::move(jeAufnahme.front());
    } else {
        Vereinige(jeAufnahme, gerettet, pv_gefunden);
        OhneGelesene(uebersprungen, unlesbare, pv_gefunden);
    }
    if (pv_uebersprungen) {
        for (const std::vector<TUebersprungenes>& neue : uebersprungen)
            NimmUebersprungene(*pv_uebersprungen, neue);
        // A file one recording passed over that another one gave is no longer missing.
        if (aufnahmen > 1)
            *pv_uebersprungen = TBandProtokoll::OhneGefundene(std::move(*pv_uebersprungen), pv_gefunden);
    }
    // Each file found carries this record's events, as a copy of it would.
    for (const auto& d : pv_gefunden) {
        d->BeiBeginn = BeiBeginn;
        d->BeiFortschritt = BeiFortschritt;
        d->BeiEnde = BeiEnde;
    }
    RaiseFortschritt(100.0);
    return {};
}

bool TMZFDatei::ImportWAV(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                          const TAuswahl& pv_auswahl) {
    return ImportWAV(QStringList(pv_dateiName), pv_einstellungen, pv_auswahl);
}

bool TMZFDatei::ImportWAV(const QStringList& pv_dateiNamen, const TBandEinstellungen& pv_einstellungen,
                          const TAuswahl& pv_auswahl) {
    const QString pv_dateiName = pv_dateiNamen.join(QStringLiteral(", "));
    if (!pv_auswahl) {
        ZeigeFehler(HoleTextMitParametern(QStringLiteral("Fehler_UngueltigerParameterWert"),
                                          QStringLiteral("pv_aufruferForm")));
        return false;
    }
    if (m_geladen)
        Schliessen();
    m_nichtsGefunden = false;
    TImportRahmen rahmen(*this);
    std::vector<std::unique_ptr<TMZFDatei>> gefunden; // freed before the busy state ends

    const bool erweitert = pv_einstellungen.erweitert;
    std::vector<TUebersprungenes> uebersprungen;
    const TBandFehler fehler = DekodiereWAV(pv_dateiNamen, pv_einstellungen, gefunden, &uebersprungen);
    if (!fehler.IstOk()) {
        // A recording the extended decoding reads: the user may read it that way at once, for
        // this import only.
        if (erweitert || !fehler.erweitert.liest) {
            MeldeBandFehler(fehler);
            return false;
        }
        const QString frage = BandFehlerText(fehler) + QStringLiteral("\r\n\r\n") +
                              HoleText(QStringLiteral("Frage_ErweitertLesen"));
        TBandEinstellungen mitErweiterter = pv_einstellungen;
        mitErweiterter.erweitert = true;
        if (FrageWarnung(frage, false) != TAntwort::Ja ||
            !MeldeBandFehler(DekodiereWAV(pv_dateiNamen, mitErweiterter, gefunden, &uebersprungen)))
            return false;
    }
    // Files whose header could not be read are told whether or not others were found.
    const QString unlesbar = UnlesbareStellen(uebersprungen);
    if (gefunden.empty()) {
        m_nichtsGefunden = true;
        // A recording of a worn tape or of today's recorders may still give its files.
        QString text = NichtsGefunden(pv_dateiName);
        if (!erweitert)
            text += QStringLiteral("\r\n\r\n") +
                    HoleText(QStringLiteral("Fehler_ImportVonWAV_HinweisErweiterteDekodierung"));
        if (!unlesbar.isEmpty())
            text += QStringLiteral("\r\n\r\n") +
                    HoleTextMitParametern(QStringLiteral("Hinweis_UnlesbarerKopf"), unlesbar);
        ZeigeFehler(text);
        return false;
    }
    // The files offered are those whose headers were read: a file found without one is told before.
    if (!unlesbar.isEmpty()) {
        rahmen.Beende();
        ZeigeInfo(HoleTextMitParametern(QStringLiteral("Hinweis_UnlesbarerKopf"), unlesbar));
    }
    std::size_t wahl = 0;
    if (gefunden.size() > 1) {
        rahmen.Beende();
        const int index = pv_auswahl(gefunden);
        if (index < 0 || static_cast<std::size_t>(index) >= gefunden.size())
            return false;
        wahl = static_cast<std::size_t>(index);
    } else if (gefunden.front()->HoleBefund().zustand == TDateiBefund::TZustand::Beschaedigt) {
        // The one file found is taken at once, a damaged one only when the user wants it so.
        rahmen.Beende();
        if (!BeschaedigteDateiNehmen(gefunden.front()->HoleMZDateiName(), gefunden.front()->HoleBefund()))
            return false;
    }
    KopiereVon(*gefunden[wahl]);
    return true;
}

bool TMZFDatei::LeseAlleAusWAV(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                               std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                               std::vector<TUebersprungenes>* pv_uebersprungen, bool* pv_keineGefunden) {
    return LeseAlleAusWAV(QStringList(pv_dateiName), pv_einstellungen, pv_dateien, pv_uebersprungen,
                          pv_keineGefunden);
}

bool TMZFDatei::LeseAlleAusWAV(const QStringList& pv_dateiNamen, const TBandEinstellungen& pv_einstellungen,
                               std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                               std::vector<TUebersprungenes>* pv_uebersprungen, bool* pv_keineGefunden) {
    const QString pv_dateiName = pv_dateiNamen.join(QStringLiteral(", "));
    pv_dateien.clear();
    if (pv_keineGefunden)
        *pv_keineGefunden = false;
    if (m_geladen)
        Schliessen();
    const TImportRahmen rahmen(*this);
    const TBandFehler fehler = DekodiereWAV(pv_dateiNamen, pv_einstellungen, pv_dateien, pv_uebersprungen);
    if (!fehler.IstOk()) {
        pv_dateien.clear();
        QString text = BandFehlerText(fehler);
        if (fehler.erweitert.liest)
            text += QStringLiteral("\r\n") + HoleText(QStringLiteral("Hinweis_ErweitertKommandozeile"));
        ZeigeFehler(text);
        return false;
    }
    if (pv_dateien.empty()) {
        ZeigeFehler(NichtsGefunden(pv_dateiName));
        if (pv_keineGefunden)
            *pv_keineGefunden = true;
        return false;
    }
    return true;
}
