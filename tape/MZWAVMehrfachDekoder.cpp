#include "MZWAVMehrfachDekoder.h"

#include "AdaptiverArbeiter.h"
#include "GepufferterDateiLeser.h"
#include "LittleEndian.h"
#include "MZSignalDekoder.h"
#include "SampleWandlung.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <memory>

using namespace AdaptiveDekodierung;

namespace {

using SampleWandlung::TWandler;
using SampleWandlung::WandlerFuer;
using SampleWandlung::WandleUm;

constexpr double MikrosekundenProSekunde = 1000000.0;
// Reserved up front per bit text at most; a longer text grows as strings do.
constexpr std::size_t GroessteReserve = std::size_t{1} << 24;

// Appends one character per bit to a pass's text and, where its sink asks for them, the frame of
// the crossing where the pulse began; where the rescue takes the pass's pulses, those too.
struct TTextSenke {
    std::string* text;
    std::vector<std::int32_t>* positionen = nullptr;
    std::vector<TImpulsBeleg>* belege = nullptr;
    void operator()(bool lang, int pegel, double kreuzung) {
        text->push_back(lang ? '1' : '0');
        if (positionen)
            positionen->push_back(static_cast<std::int32_t>(std::lround(kreuzung)));
        if (belege)
            belege->push_back(FesterBeleg(pegel, kreuzung));
    }
};

// A bit uses at least ceil(r) frames of its own, and r is at least rate x delay - 1 periods
// (never below 2): an upper bound of the bits a recording can give.
std::size_t HoechsteBitAnzahl(std::int32_t anzahlFrames, std::uint32_t sampleRate, double verzoegerung) {
    const auto perioden =
        static_cast<std::int64_t>(std::floor(sampleRate * verzoegerung / MikrosekundenProSekunde));
    const std::int64_t proBit = std::max<std::int64_t>(2, perioden - 1);
    return static_cast<std::size_t>(anzahlFrames / proBit + 1);
}

// How much of a recording the choice of channels looks at, in seconds.
constexpr double KanalWahlSekunden = 30.0;
// Channels whose changes correlate this closely with the strongest channel's carry the same
// signal and are mixed in (with their sign).
constexpr double GleichesSignal = 0.9;
// Tape pulses of every model: each half of a pulse lasts between these many microseconds, and the
// two halves of one pulse differ by less than this share.
constexpr double KuerzesteHaelfteUs = 80.0;
constexpr double LaengsteHaelfteUs = 1200.0;
constexpr double HaelftenAbweichung = 0.35;
// The channel that changes most keeps its place unless another holds this many times its tape.
constexpr double MehrBandNoetig = 1.5;

// How much of a channel looks like tape pulses: the time covered by pairs of neighbouring
// half-waves of a pulse's length that match each other. Hiss crosses zero far more often, hum far
// less, and neither in matching pairs; a tape does so almost everywhere.
class TBandAnteil {
public:
    explicit TBandAnteil(double pv_rate)
        : m_kuerzeste(KuerzesteHaelfteUs * 1e-6 * pv_rate), m_laengste(LaengsteHaelfteUs * 1e-6 * pv_rate) {}
    void Nimm(float pv_wert) {
        ++m_seit;
        const bool oben = pv_wert >= 0.0F;
        if (oben == m_oben)
            return;
        m_oben = oben;
        const double haelfte = m_seit;
        m_seit = 0;
        const bool passt = haelfte >= m_kuerzeste && haelfte <= m_laengste;
        if (passt && m_vorige > 0.0 && std::abs(haelfte - m_vorige) < HaelftenAbweichung * m_vorige)
            m_anteil += haelfte + m_vorige;
        m_vorige = passt ? haelfte : 0.0;
    }
    double Anteil() const { return m_anteil; }

private:
    double m_kuerzeste;
    double m_laengste;
    double m_vorige = 0.0;
    double m_anteil = 0.0;
    std::int64_t m_seit = 0;
    bool m_oben = false;
};

} // namespace

// The channel rule: a recorder may put the tape on one channel and silence, hum, hiss or another
// tape on the others, or the same signal on all. Changes from frame to frame (which DC and hum
// hardly make) measure each channel's signal; the strongest channel is taken unless another holds
// clearly more tape pulses (hiss changes most of all), and every channel that
// carries the same signal is mixed in, which lowers independent hiss.
TBandFehler TMZWAVMehrfachDekoder::WaehleKanaele(TByteQuelle& leser) {
    const int kanaele = m_format.kanaele;
    m_gewichte.assign(static_cast<std::size_t>(kanaele), 0.0F);
    m_gewichte[0] = 1.0F;
    if (kanaele == 1)
        return {};
    // The first seconds are read twice: here, and again by the passes.
    const std::int32_t datenBeginn = leser.HolePosition();
    const auto anzahl = static_cast<std::int32_t>(
        std::min<double>(m_format.anzahlFrames, KanalWahlSekunden * m_format.sampleRate));
    const std::vector<float> einzeln = [kanaele] {
        std::vector<float> g(static_cast<std::size_t>(kanaele) * kanaele, 0.0F);
        for (int k = 0; k < kanaele; ++k)
            g[static_cast<std::size_t>(k) * kanaele + k] = 1.0F;
        return g;
    }();
    const TWandler wandler = WandlerFuer(m_format);
    const int blockGroesse = m_format.BlockGroesse();
    std::vector<std::uint8_t> roh(static_cast<std::size_t>(std::min(BlockFrames, std::max(anzahl, 1))) *
                                  blockGroesse);
    std::vector<float> werte(static_cast<std::size_t>(kanaele) * (roh.size() / blockGroesse));
    std::vector<double> energie(static_cast<std::size_t>(kanaele) * kanaele, 0.0);
    std::vector<float> vorher(static_cast<std::size_t>(kanaele), 0.0F);
    std::vector<float> aenderung(static_cast<std::size_t>(kanaele));
    std::vector<TBandAnteil> band(static_cast<std::size_t>(kanaele), TBandAnteil(m_format.sampleRate));
    for (std::int32_t gelesen = 0; gelesen < anzahl;) {
        const std::int32_t n =
            std::min<std::int32_t>(static_cast<std::int32_t>(roh.size() / blockGroesse), anzahl - gelesen);
        if (!leser.LeseBytes(roh.data(), n * blockGroesse))
            return leser.HoleFehler();
        const std::size_t stride = static_cast<std::size_t>(n);
        for (int k = 0; k < kanaele; ++k)
            wandler(roh.data(), n, kanaele, einzeln.data() + static_cast<std::size_t>(k) * kanaele,
                    werte.data() + k * stride, nullptr);
        for (std::int32_t i = 0; i < n; ++i) {
            for (int k = 0; k < kanaele; ++k) {
                const float wert = werte[k * stride + static_cast<std::size_t>(i)];
                aenderung[static_cast<std::size_t>(k)] = wert - vorher[static_cast<std::size_t>(k)];
                vorher[static_cast<std::size_t>(k)] = wert;
                band[static_cast<std::size_t>(k)].Nimm(wert);
            }
            for (int a = 0; a < kanaele; ++a)
                for (int b = a; b < kanaele; ++b)
                    energie[static_cast<std::size_t>(a) * kanaele + b] +=
                        static_cast<double>(aenderung[static_cast<std::size_t>(a)]) *
                        aenderung[static_cast<std::size_t>(b)];
        }
        gelesen += n;
    }
    const auto e = [&](int a, int b) {
        return energie[static_cast<std::size_t>(std::min(a, b)) * kanaele + std::max(a, b)];
    };
    int staerkster = 0;
    for (int k = 1; k < kanaele; ++k)
        if (e(k, k) > e(staerkster, staerkster))
            staerkster = k;
    // Hiss changes more than a tape: a channel that holds clearly more tape pulses wins.
    const auto anteil = [&](int k) { return band[static_cast<std::size_t>(k)].Anteil(); };
    int meistesBand = staerkster;
    for (int k = 0; k < kanaele; ++k)
        if (anteil(k) > anteil(meistesBand))
            meistesBand = k;
    if (anteil(meistesBand) > MehrBandNoetig * anteil(staerkster))
        staerkster = meistesBand;
    m_gewichte.assign(static_cast<std::size_t>(kanaele), 0.0F);
    m_gewichte[static_cast<std::size_t>(staerkster)] = 1.0F;
    for (int k = 0; k < kanaele; ++k) {
        const double nenner = std::sqrt(e(k, k) * e(staerkster, staerkster));
        if (k == staerkster || nenner <= 0.0)
            continue;
        const double korrelation = e(k, staerkster) / nenner;
        if (korrelation > GleichesSignal)
            m_gewichte[static_cast<std::size_t>(k)] = 1.0F;
        else if (korrelation < -GleichesSignal)
            m_gewichte[static_cast<std::size_t>(k)] = -1.0F;
    }
    if (!leser.Springe(datenBeginn))
        return leser.HoleFehler();
    return {};
}

TBandFehler TMZWAVMehrfachDekoder::Dekodiere(const QString& pv_dateiName,
                                             const TBandEinstellungen& pv_einstellungen,
                                             const std::vector<TDekodierDurchgang>& pv_durchgaenge,
                                             const TNachBlock& pv_nachBlock,
                                             const TErweiterteDekodierung& pv_erweitert,
                                             const std::vector<TImpulsSenke*>& pv_senken) {
    TGepufferterDateiLeser leser;
    if (!leser.Oeffnen(pv_dateiName)) {
        Beginne(pv_einstellungen, pv_durchgaenge);
        return leser.HoleFehler();
    }
    const TBandFehler fehler =
        Dekodiere(leser, pv_einstellungen, pv_durchgaenge, pv_nachBlock, pv_erweitert, pv_senken);
    leser.Schliessen();
    return fehler;
}

void TMZWAVMehrfachDekoder::ZurSkala(const std::uint8_t* pv_roh, std::int32_t pv_frames,
                                     const TWAVFormat& pv_format, std::uint8_t* pv_ziel) {
    if (pv_format.IstEinfach()) {
        WandleUm(pv_roh, pv_frames, pv_format, pv_ziel);
        return;
    }
    WandlerFuer(pv_format)(pv_roh, pv_frames, pv_format.kanaele, nullptr, nullptr, pv_ziel);
}

void TMZWAVMehrfachDekoder::Beginne(const TBandEinstellungen& pv_einstellungen,
                                    const std::vector<TDekodierDurchgang>& pv_durchgaenge) {
    m_abgebrochen = false;
    m_bitTexte.assign(pv_durchgaenge.size(), std::string());
    m_geleseneFrames = 0;
    m_format = TWAVFormat();
    m_modell = pv_einstellungen.modell;
    m_adaptiv = pv_einstellungen.erweitert;
    for (int p = 0; p < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++p) {
        m_adaptiveTexte[p].clear();
        m_positionen[p].clear();
    }
    m_gewichte.clear();
}

// One run of the passes over a recording: their decoders, the buffers a block goes through, and
// the adaptive pass's thread.
struct TMZWAVMehrfachDekoder::TLauf {
    std::vector<TDekodierDurchgang> durchgaenge;
    std::vector<TImpulsSenke*> senken;
    std::vector<TMZSignalDekoder> dekoder;
    std::vector<TTextSenke> textSenken;
    std::vector<std::vector<std::int32_t>> festePositionen; // per pass, one block's pulses
    TFesteBelege festeBelege; // per pass, one block's pulses for the rescue, when it takes them
    bool invertiertGebraucht = false;
    std::int32_t blockFrames = 1;
    std::vector<std::uint8_t> roh;
    std::vector<std::uint8_t> normal;
    std::vector<std::uint8_t> invertiert;
    TWandler wandler = nullptr;
    std::unique_ptr<TBelegDurchgaenge> belege;
    std::unique_ptr<TAdaptiverArbeiter> arbeiter;
};

TMZWAVMehrfachDekoder::TMZWAVMehrfachDekoder() = default;
TMZWAVMehrfachDekoder::~TMZWAVMehrfachDekoder() = default;

void TMZWAVMehrfachDekoder::Starte(const TWAVFormat& pv_format, const TBandEinstellungen& pv_einstellungen,
                                   const std::vector<TDekodierDurchgang>& pv_durchgaenge,
                                   const TErweiterteDekodierung& pv_erweitert,
                                   const std::vector<TImpulsSenke*>& pv_senken) {
    Beginne(pv_einstellungen, pv_durchgaenge);
    BereiteVor(pv_format, pv_durchgaenge, pv_erweitert, pv_senken);
}

void TMZWAVMehrfachDekoder::BereiteVor(const TWAVFormat& pv_format,
                                       const std::vector<TDekodierDurchgang>& pv_durchgaenge,
                                       const TErweiterteDekodierung& pv_erweitert,
                                       const std::vector<TImpulsSenke*>& pv_senken) {
    m_format = pv_format;
    if (m_gewichte.size() != m_format.kanaele) {
        m_gewichte.assign(m_format.kanaele, 0.0F);
        m_gewichte[0] = 1.0F;
    }
    m_lauf = std::make_unique<TLauf>();
    TLauf& l = *m_lauf;
    l.durchgaenge = pv_durchgaenge;
    l.senken = pv_senken;
    const int modell = m_modell;
    const std::int32_t anzahlFrames = m_format.anzahlFrames;
    l.dekoder.resize(pv_durchgaenge.size());
    l.textSenken.resize(pv_durchgaenge.size());
    for (std::size_t i = 0; i < pv_durchgaenge.size(); ++i) {
        const double verzoegerung =
            TMZSignalDekoder::AbtastVerzoegerung(modell, pv_durchgaenge[i].alternativeAbtastzeit);
        l.dekoder[i].Starte(m_format.sampleRate, verzoegerung, anzahlFrames);
        // Streamed, a pass's text holds one block's pulses at a time.
        const std::int32_t reserveFrames =
            pv_senken.empty() ? anzahlFrames : std::min(BlockFrames, anzahlFrames);
        m_bitTexte[i].reserve(
            std::min(GroessteReserve, HoechsteBitAnzahl(reserveFrames, m_format.sampleRate, verzoegerung)));
        l.textSenken[i].text = &m_bitTexte[i];
        if (i < pv_senken.size() && pv_senken[i] && pv_senken[i]->MitPositionen()) {
            l.festePositionen.resize(pv_durchgaenge.size());
            l.textSenken[i].positionen = &l.festePositionen[i];
        }
        l.invertiertGebraucht = l.invertiertGebraucht || pv_durchgaenge[i].invertiertePolaritaet;
    }
    TAdaptiveSenke adaptiveSenke{};
    if (m_adaptiv) {
        m_adaptiverDekoder.Starte(m_format.sampleRate, modell);
        for (int p = 0; p < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++p) {
            adaptiveSenke.senken[p] = pv_erweitert.senken[p];
            // A pulse lasts at least about half the nominal short one, a bound as for the fixed passes.
            const std::int32_t reserveFrames =
                adaptiveSenke.senken[p] ? std::min(BlockFrames, anzahlFrames) : anzahlFrames;
            m_adaptiveTexte[p].reserve(
                std::min(GroessteReserve, HoechsteBitAnzahl(reserveFrames, m_format.sampleRate,
                                                            TMZAdaptiverDekoder::NominalKurz(modell) / 2)));
            adaptiveSenke.texte[p] = &m_adaptiveTexte[p];
            adaptiveSenke.positionen[p] = pv_erweitert.mitPositionen ? &m_positionen[p] : nullptr;
        }
    }
    const int blockGroesse = m_format.BlockGroesse();
    const auto blockFramesGroesse =
        static_cast<std::size_t>(std::max<std::int32_t>(1, std::min(BlockFrames, anzahlFrames)));
    if (m_adaptiv && pv_erweitert.belege) {
        l.belege = std::make_unique<TBelegDurchgaenge>();
        TBelegDurchgaenge& b = *l.belege;
        b.empfaenger = pv_erweitert.belege;
        b.durchgaenge = pv_erweitert.belegDurchgaenge;
        for (int p = 0; p < TMZAdaptiverDekoder::AnzahlPolaritaeten; ++p)
            adaptiveSenke.belege[p] = &b.belege[p];
        b.uebernommen = GleicheDurchgaenge(b.durchgaenge, pv_durchgaenge) &&
                        std::all_of(m_gewichte.begin(), m_gewichte.end(), [](float g) { return g == 1.0F; });
        if (b.uebernommen) {
            l.festeBelege.assign(b.durchgaenge.size(), {});
            for (std::size_t i = 0; i < l.textSenken.size(); ++i)
                l.textSenken[i].belege = &l.festeBelege[i];
        } else {
            b.dekoder.resize(b.durchgaenge.size());
            b.festeBelege.resize(b.durchgaenge.size());
            for (std::size_t i = 0; i < b.durchgaenge.size(); ++i)
                b.dekoder[i].Starte(
                    m_format.sampleRate,
                    TMZSignalDekoder::AbtastVerzoegerung(modell, b.durchgaenge[i].alternativeAbtastzeit),
                    anzahlFrames);
            b.normal.resize(blockFramesGroesse);
            b.invertiert.resize(blockFramesGroesse);
        }
    }
    l.blockFrames = std::max<std::int32_t>(1, std::min(BlockFrames, anzahlFrames));
    const std::size_t blockBytes = static_cast<std::size_t>(l.blockFrames) * blockGroesse;
    l.roh.resize(m_adaptiv ? 0 : blockBytes);
    l.normal.resize(static_cast<std::size_t>(l.blockFrames));
    l.invertiert.resize(l.invertiertGebraucht ? static_cast<std::size_t>(l.blockFrames) : 0);
    l.wandler = m_adaptiv || !m_format.IstEinfach() ? WandlerFuer(m_format) : nullptr;
    if (m_adaptiv)
        l.arbeiter = std::make_unique<TAdaptiverArbeiter>(m_adaptiverDekoder, adaptiveSenke, l.belege.get(),
                                                          l.wandler, m_format.kanaele, m_gewichte.data(),
                                                          blockBytes, l.blockFrames);
}

std::uint8_t* TMZWAVMehrfachDekoder::NaechsterBlock() {
    return m_lauf->arbeiter ? m_lauf->arbeiter->FreierPuffer() : m_lauf->roh.data();
}

void TMZWAVMehrfachDekoder::DekodiereBlock(std::uint8_t* block, std::int32_t anzahl) {
    TLauf& l = *m_lauf;
    // The fixed passes see the plain reader's scale wherever the plain reader takes the layout.
    if (m_format.IstEinfach())
        WandleUm(block, anzahl, m_format, l.normal.data());
    else if (!l.dekoder.empty() || m_beiFrames)
        l.wandler(block, anzahl, m_format.kanaele, m_gewichte.data(), nullptr, l.normal.data());
    if (m_beiFrames)
        m_beiFrames(l.normal.data(), anzahl);
    // The adaptive pass starts on the block at once, unless the block's fixed pulses go along.
    const bool festeMit = l.belege && l.belege->uebernommen;
    if (l.arbeiter && !festeMit)
        l.arbeiter->Uebergib(anzahl);
    if (l.invertiertGebraucht)
        std::transform(l.normal.begin(), l.normal.begin() + anzahl, l.invertiert.begin(),
                       WAVSkala::Invertiere);
    for (std::size_t i = 0; i < l.dekoder.size(); ++i) {
        const std::uint8_t* frames =
            l.durchgaenge[i].invertiertePolaritaet ? l.invertiert.data() : l.normal.data();
        l.dekoder[i].Verarbeite(frames, frames + anzahl, l.textSenken[i]);
        if (i < l.senken.size() && l.senken[i]) {
            std::vector<std::int32_t>* positionen = l.textSenken[i].positionen;
            l.senken[i]->Impulse(m_bitTexte[i], positionen ? positionen->data() : nullptr);
            m_bitTexte[i].clear();
            if (positionen)
                positionen->clear();
        }
    }
    if (l.arbeiter && festeMit)
        l.arbeiter->Uebergib(anzahl, &l.festeBelege);
    m_geleseneFrames += anzahl;
}

void TMZWAVMehrfachDekoder::Verarbeite(const std::uint8_t* pv_roh, std::int32_t pv_frames) {
    const int blockGroesse = m_format.BlockGroesse();
    while (pv_frames > 0) {
        const std::int32_t anzahl = std::min(pv_frames, m_lauf->blockFrames);
        std::uint8_t* block = NaechsterBlock();
        std::memcpy(block, pv_roh, static_cast<std::size_t>(anzahl) * blockGroesse);
        DekodiereBlock(block, anzahl);
        pv_roh += static_cast<std::size_t>(anzahl) * blockGroesse;
        pv_frames -= anzahl;
    }
}

void TMZWAVMehrfachDekoder::Beende() {
    if (!m_lauf)
        return;
    // The thread is joined before anything can be thrown, so that no run outlives its buffers.
    std::unique_ptr<TLauf> lauf = std::move(m_lauf);
    if (lauf->arbeiter)
        lauf->arbeiter->Beende();
}

TBandFehler TMZWAVMehrfachDekoder::Dekodiere(TByteQuelle& pv_quelle,
                                             const TBandEinstellungen& pv_einstellungen,
                                             const std::vector<TDekodierDurchgang>& pv_durchgaenge,
                                             const TNachBlock& pv_nachBlock,
                                             const TErweiterteDekodierung& pv_erweitert,
                                             const std::vector<TImpulsSenke*>& pv_senken) {
    Beginne(pv_einstellungen, pv_durchgaenge);
    TWAVFormat format;
    TBandFehler fehler = TMZWAVDateiLeser::OeffneWAV(pv_quelle, format, m_adaptiv);
    if (!fehler.IstOk())
        return fehler;
    m_format = format;
    if (m_adaptiv) {
        fehler = WaehleKanaele(pv_quelle);
        if (!fehler.IstOk())
            return fehler;
    }
    BereiteVor(format, pv_durchgaenge, pv_erweitert, pv_senken);
    const auto fertig = [this] {
        return !m_adaptiv && std::all_of(m_lauf->dekoder.begin(), m_lauf->dekoder.end(),
                                         [](const TMZSignalDekoder& d) { return d.IstAmEnde(); });
    };
    const int blockGroesse = m_format.BlockGroesse();
    while (m_geleseneFrames < m_format.anzahlFrames && !fertig() && !m_abgebrochen) {
        const std::int32_t anzahl = std::min(m_lauf->blockFrames, m_format.anzahlFrames - m_geleseneFrames);
        std::uint8_t* const block = NaechsterBlock();
        if (!pv_quelle.LeseBytes(block, anzahl * blockGroesse)) {
            m_lauf.reset();
            return pv_quelle.HoleFehler();
        }
        DekodiereBlock(block, anzahl);
        if (pv_nachBlock)
            pv_nachBlock(*this);
    }
    Beende();
    return {};
}
