// Feeds arbitrary bytes as a WAV file to the reader, the tape signal decoder and the tape bit parser,
// under a model taken from the input. Each of the four passes is decoded once with the reader bit
// by bit and once with the multi-pass decoder; the two must agree on success, on the failure and
// on every bit. Every bit text is then searched for MZ files. Then the extended decoding:
// its container reader takes every file the plain one takes and gives the fixed passes the same
// bits; its adaptive pass (positions kept, one per pulse) and the tape report run on whatever the
// extended reader takes.
#include "BandAnalyse.h"
#include "FuzzHilfe.h"
#include "MZFDatei.h"
#include "MZWAVDateiLeser.h"
#include "MZWAVMehrfachDekoder.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

// Keeps the messages shown, answers every question with No.
class TPlattformMitProtokoll : public FuzzHilfe::TPlattformStumm {
public:
    void ZeigeNachricht(TNachrichtArt, const QString& text) override { meldungen.push_back(text); }
    std::vector<QString> meldungen;
};

const std::vector<TDekodierDurchgang> Durchgaenge = {
    {false, false}, {false, true}, {true, false}, {true, true}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    static TPlattformMitProtokoll plattform;
    static const bool installiert = (SetzePlattform(&plattform), true);
    (void)installiert;
    // The input as the recording, straight from memory; the name only appears in failures.
    if (groesse > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return 0;
    const auto laenge = static_cast<std::int32_t>(groesse);
    const QString name = QStringLiteral("ein.wav");
    TSpeicherQuelle quelle(daten, laenge, name);
    const auto modell = static_cast<quint8>(groesse > 0 ? daten[groesse - 1] % AnzahlMZModelle : 0);
    const TBandEinstellungen einstellungen{.modell = modell};
    const TBandEinstellungen mitErweiterter{.modell = modell, .erweitert = true};

    plattform.meldungen.clear();
    std::vector<std::string> vomLeser;
    bool geoeffnet = true;
    TBandFehler fehlerLeser;
    // One reader opened anew for every pass, as the import does it.
    TMZWAVDateiLeser leser;
    for (const TDekodierDurchgang& d : Durchgaenge) {
        if (!leser.Oeffnen(quelle, einstellungen, d.invertiertePolaritaet, d.alternativeAbtastzeit)) {
            geoeffnet = false;
            fehlerLeser = leser.HoleFehler();
            if (leser.IstGeoeffnet())
                __builtin_trap();
            break;
        }
        std::string bits;
        bool bit = false;
        while (!leser.IstDateiEnde()) {
            // Nothing changes the file meanwhile: a read cannot fail.
            if (!leser.LeseBit(bit))
                __builtin_trap();
            bits += bit ? '1' : '0';
        }
        // One bit takes at least two frames.
        if (bits.size() > static_cast<std::size_t>(leser.HoleAnzahlSamples()) / 2 + 1)
            __builtin_trap();
        leser.Schliessen();
        vomLeser.push_back(std::move(bits));
    }
    // The tape layer shows nothing; it says what went wrong.
    if (!plattform.meldungen.empty() || geoeffnet != fehlerLeser.IstOk())
        __builtin_trap();

    TMZWAVMehrfachDekoder dekoder;
    TSpeicherQuelle quelleMehrfach(daten, laenge, name);
    if (dekoder.Dekodiere(quelleMehrfach, einstellungen, Durchgaenge) != fehlerLeser)
        __builtin_trap();
    TMZWAVMehrfachDekoder erweitert;
    TErweiterteDekodierung mitPositionen;
    mitPositionen.mitPositionen = true;
    TSpeicherQuelle quelleErweitert(daten, laenge, name);
    const bool erweitertGeoeffnet =
        erweitert.Dekodiere(quelleErweitert, mitErweiterter, Durchgaenge, {}, mitPositionen).IstOk();
    // What the plain reader refuses but says the extended one reads, the extended one reads.
    if (fehlerLeser.erweitert.liest != (!geoeffnet && erweitertGeoeffnet))
        __builtin_trap();
    if (geoeffnet && !erweitertGeoeffnet)
        __builtin_trap();
    if (erweitertGeoeffnet) {
        for (int p = 0; p < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++p) {
            const auto& positionen = erweitert.HoleAdaptivePositionen(p);
            if (positionen.size() != erweitert.HoleAdaptivenBitText(p).size() ||
                !std::is_sorted(positionen.begin(), positionen.end()) ||
                (!positionen.empty() &&
                 (positionen.front() < 0 || positionen.back() >= erweitert.HoleAnzahlFrames())))
                __builtin_trap();
        }
        TBandAnalyse analyse;
        TSpeicherQuelle quelleAnalyse(daten, laenge, name);
        if (!AnalysiereWAV(quelleAnalyse, einstellungen, analyse))
            __builtin_trap();
    }
    if (!geoeffnet)
        return 0;
    for (std::size_t i = 0; i < Durchgaenge.size(); ++i)
        if (erweitert.HoleBitText(i) != vomLeser[i])
            __builtin_trap();
    for (std::size_t i = 0; i < Durchgaenge.size(); ++i)
        if (dekoder.HoleBitText(i) != vomLeser[i])
            __builtin_trap();

    // The parser as the import drives it: from the end of each file found to the next.
    for (const std::string& bits : vomLeser) {
        TMZFDatei datei;
        int start = 1;
        int ende = 0;
        while (datei.LeseAusTonbandBits(bits, start, false, 0.0, ende)) {
            if (ende < start || ende > static_cast<int>(bits.size()) || !datei.IstGeladen())
                __builtin_trap();
            start = ende + 1;
        }
    }
    return 0;
}
