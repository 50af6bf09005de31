#include "BandBild.h"

#include "BandAnalyse.h"
#include "MZAdaptiverDekoder.h"
#include "SichereDatei.h"
#include "SprachenTexte.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

namespace {

// The common scale: 0..255 with the zero line at 128.
constexpr int SkalaHoechster = 255;
constexpr int Nullinie = 128;
// The speed plot's range, in percent either way.
constexpr double TempoBereich = 15.0;
// How much of the plot shows through behind a caption (of 255).
constexpr int SchleierDeckung = 200;
constexpr int Rand = 3;
// The marks shine through: what lies under them stays readable.
constexpr int MarkenDeckung = 110;
constexpr int PunktRadius = 2;
// Within the waveform w: the strip of the fixed pass's pulses at its foot, and the adaptive pass's
// above it.
QRect FussStreifen(const QRect& w) {
    return QRect(w.left(), w.bottom() - TBandBild::ImpulsHoehe, w.width(), TBandBild::ImpulsHoehe);
}
QRect AdaptivStreifen(const QRect& w) {
    const QRect fest = FussStreifen(w);
    return QRect(fest.left(), fest.top() - TBandBild::ImpulsAbstand - TBandBild::AdaptivHoehe, fest.width(),
                 TBandBild::AdaptivHoehe);
}
// A level's row in the level plot r: full scale at the top, PegelBereichDB below it at the foot.
double YImPegel(const QRect& r, double anteil);
constexpr double DezibelJeZehner = 20.0;
// A pulse the adaptive pass knows nothing of still shows.
constexpr int KleinsteBalkenHoehe = 2;
// A pulse is drawn at most this many times the model's long pulse long.
constexpr double LaengsterImpuls = 2.0;
constexpr double MikrosekundenProSekunde = 1e6;
// Ticks of the ruler: at least this far apart, in 1, 2, 5 steps.
constexpr int KleinsterTickAbstand = 90;

double Runde125(double wert) {
    const double zehner = std::pow(10.0, std::floor(std::log10(wert)));
    for (const double stufe : {1.0, 2.0, 5.0})
        if (stufe * zehner >= wert)
            return stufe * zehner;
    return 10.0 * zehner;
}

QString ZeitText(double sekunden, double schritt) {
    const int stellen = schritt >= 1.0 ? 0 : schritt >= 0.1 ? 1 : schritt >= 0.01 ? 2 : 3;
    const int minuten = static_cast<int>(sekunden / 60.0);
    const double rest = sekunden - minuten * 60.0;
    return QStringLiteral("%1:%2").arg(minuten).arg(rest, stellen > 0 ? 3 + stellen : 2, 'f', stellen,
                                                    QLatin1Char('0'));
}

int YVonWert(const QRect& r, int wert) {
    return r.top() + static_cast<int>(std::lround((SkalaHoechster - wert) * (r.height() - 1) /
                                                  static_cast<double>(SkalaHoechster)));
}

void ZeichneLineal(QPainter& p, const QRect& r, const TBandaufzeichnung& band, const TBandAusschnitt& a,
                   const TBandBildFarben& f) {
    p.setPen(f.linie);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    const double rate = band.Format().sampleRate;
    const double sekundenJePixel = a.Breite() / rate / std::max(1, r.width());
    const double schritt = Runde125(sekundenJePixel * KleinsterTickAbstand);
    const double erste = std::ceil(a.von / rate / schritt) * schritt;
    p.setPen(f.text);
    for (double t = erste; t * rate <= a.bis; t += schritt) {
        const int x = static_cast<int>(TBandBild::XBei(r, a, t * rate));
        p.drawLine(x, r.bottom() - Rand, x, r.bottom());
        p.drawText(QRect(x + Rand, r.top(), KleinsterTickAbstand, r.height() - Rand),
                   Qt::AlignLeft | Qt::AlignVCenter, ZeitText(t, schritt));
    }
}

// Each pulse a bar at the foot of the waveform, from its crossing to the next one, in the colour
// of its class; a tick on the zero line where its level was looked at.
void ZeichneImpulse(QPainter& p, const QRect& r, const TBandAusschnitt& a, const TBandBildFarben& f,
                    const std::vector<TBandImpuls>& impulse, double laengster) {
    const QRect fuss = FussStreifen(r);
    const int null = YVonWert(r, Nullinie);
    for (std::size_t i = 0; i < impulse.size(); ++i) {
        const TBandImpuls& imp = impulse[i];
        const double ende =
            std::min(i + 1 < impulse.size() ? impulse[i + 1].beginn : imp.abtastung, imp.beginn + laengster);
        if (ende < a.von || imp.beginn > a.bis)
            continue;
        const QColor farbe = imp.lang ? f.lang : f.kurz;
        const double x0 = TBandBild::XBei(r, a, imp.beginn);
        const double x1 = TBandBild::XBei(r, a, ende);
        p.fillRect(QRectF(x0, fuss.top(), std::max(1.0, x1 - x0 - 1.0), fuss.height()), farbe);
        const double xa = TBandBild::XBei(r, a, imp.abtastung);
        p.setPen(QPen(farbe, 2));
        p.drawLine(QPointF(xa, null - TBandBild::ImpulsHoehe), QPointF(xa, null + TBandBild::ImpulsHoehe));
    }
}

// The adaptive pass's pulses above them, each a bar from its beginning to the next one's, as high
// as the pass is sure of its class (full for a pulse as long as the pass learned for its class, and
// surer); a pulse it knows nothing of (a dropout, a click) a thin grey one.
void ZeichneAdaptiveImpulse(QPainter& p, const QRect& r, const TBandAusschnitt& a, const TBandBildFarben& f,
                            const std::vector<TImpulsBeleg>& impulse, double laengster) {
    const QRect streifen = AdaptivStreifen(r);
    for (std::size_t i = 0; i + 1 < impulse.size(); ++i) {
        const TImpulsBeleg& imp = impulse[i];
        const double x0 = TBandBild::XBei(r, a, imp.beginn);
        const double x1 =
            TBandBild::XBei(r, a, std::min<double>(impulse[i + 1].beginn, imp.beginn + laengster));
        if (x1 < r.left() || x0 > r.right())
            continue;
        const int hoehe = std::clamp(static_cast<int>(std::lround(std::abs(imp.wert) * streifen.height() /
                                                                  double{TMZAdaptiverDekoder::Typisch})),
                                     KleinsteBalkenHoehe, streifen.height());
        const QColor farbe = imp.wert > 0 ? f.lang : imp.wert < 0 ? f.kurz : f.linie;
        p.fillRect(QRectF(x0, streifen.bottom() + 1 - hoehe, std::max(1.0, x1 - x0 - 1.0), hoehe), farbe);
    }
}

void ZeichneWelle(QPainter& p, const QRect& r, const TBandaufzeichnung& band, const TBandAusschnitt& a,
                  const TBandBildFarben& f, const TBandBildAuswahl& auswahl) {
    // The zero line the fixed passes decide on.
    p.setPen(QPen(f.linie, 1, Qt::DashLine));
    p.drawLine(r.left(), YVonWert(r, Nullinie), r.right(), YVonWert(r, Nullinie));
    p.setPen(f.welle);
    const THuelle& huelle = band.Huelle();
    const bool samples = TBandBild::IstSampleZoom(r, a) && auswahl.frames && !auswahl.frames->empty();
    if (!samples) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const auto von = static_cast<std::int64_t>(std::floor(TBandBild::FrameBei(r, a, x)));
            const auto bis = static_cast<std::int64_t>(std::floor(TBandBild::FrameBei(r, a, x + 1)));
            const THuelle::TSpanne s = huelle.Spanne(von, std::max(bis, von + 1));
            if (!s.Leer())
                p.drawLine(x, YVonWert(r, s.hoch), x, YVonWert(r, s.tief));
        }
        return;
    }
    // The frames themselves, each a point joined to the next.
    const std::vector<std::uint8_t>& frames = *auswahl.frames;
    const auto erster =
        std::max<std::int64_t>(auswahl.framesAb, static_cast<std::int64_t>(std::floor(a.von)));
    const auto letzter =
        std::min<std::int64_t>(auswahl.framesAb + static_cast<std::int64_t>(frames.size()) - 1,
                               static_cast<std::int64_t>(std::ceil(a.bis)));
    QPointF vorher;
    for (std::int64_t i = erster; i <= letzter; ++i) {
        const QPointF punkt(TBandBild::XBei(r, a, static_cast<double>(i)),
                            YVonWert(r, frames[static_cast<std::size_t>(i - auswahl.framesAb)]));
        if (i > erster)
            p.drawLine(vorher, punkt);
        p.drawEllipse(punkt, PunktRadius, PunktRadius);
        vorher = punkt;
    }
    // A pulse reaches to the next one, but no further than this: beyond it the tape is silent.
    const double laengster =
        LaengsterImpuls * band.LangNominal() * band.Format().sampleRate / MikrosekundenProSekunde;
    if (auswahl.impulse)
        ZeichneImpulse(p, r, a, f, *auswahl.impulse, laengster);
    const bool adaptiv = auswahl.adaptiv && auswahl.adaptiv->size() > 1;
    if (adaptiv)
        ZeichneAdaptiveImpulse(p, r, a, f, *auswahl.adaptiv, laengster);
    if (auswahl.impulse || adaptiv) {
        p.setPen(f.text);
        const QRect ueber = AdaptivStreifen(r);
        p.drawText(QRect(r.left() + Rand, r.top(), r.width() - 2 * Rand, ueber.top() - Rand - r.top()),
                   Qt::AlignLeft | Qt::AlignBottom,
                   HoleText(adaptiv ? QStringLiteral("Bandansicht_ImpulseAdaptiv")
                                    : QStringLiteral("Bandansicht_ImpulseFest")));
    }
}

QString BlockText(const TBandBlock& b) {
    const QString art = HoleTextMitParametern(b.kopf ? QStringLiteral("Bandansicht_KopfKopie")
                                                     : QStringLiteral("Bandansicht_RumpfKopie"),
                                              QString::number(b.kopie));
    return b.name.isEmpty() ? art : b.name + QStringLiteral(" · ") + art;
}

void ZeichneBloecke(QPainter& p, const QRect& r, const TBandaufzeichnung& band, const TBandAusschnitt& a,
                    const TBandBildFarben& f, const TBandBildAuswahl& auswahl) {
    p.setPen(f.linie);
    p.drawLine(r.topLeft(), r.topRight());
    const QRect innen = r.adjusted(0, Rand, 0, -Rand);
    // The leaders: lighter than the marks, named where there is room.
    QColor vorlauf = f.marke;
    vorlauf.setAlpha(vorlauf.alpha() / 2);
    const QString vorlaufText = HoleText(QStringLiteral("Bandansicht_Vorlauf"));
    for (const auto& [von, bis] : band.Vorlaeufe()) {
        const double x0 = std::max<double>(TBandBild::XBei(r, a, von), r.left() - 1);
        const double x1 = std::min<double>(TBandBild::XBei(r, a, bis), r.right() + 1);
        if (x1 < r.left() || x0 > r.right())
            continue;
        const QRectF flaeche(x0, innen.top(), std::max(1.0, x1 - x0), innen.height());
        p.fillRect(flaeche, vorlauf);
        if (p.fontMetrics().horizontalAdvance(vorlaufText) + 2 * Rand < flaeche.width()) {
            p.setPen(f.text);
            p.drawText(flaeche.adjusted(Rand, 0, -Rand, 0), Qt::AlignLeft | Qt::AlignVCenter, vorlaufText);
        }
    }
    for (const TBandMarke& m : band.Marken()) {
        const double x0 = TBandBild::XBei(r, a, m.beginn);
        const double x1 = TBandBild::XBei(r, a, m.ende);
        if (x1 < r.left() || x0 > r.right())
            continue;
        p.fillRect(QRectF(x0, innen.top(), std::max(1.0, x1 - x0), innen.height()), f.marke);
    }
    const auto& bloecke = band.Bloecke();
    for (std::size_t i = 0; i < bloecke.size(); ++i) {
        const TBandBlock& b = bloecke[i];
        const double x0 = std::max<double>(TBandBild::XBei(r, a, b.beginn), r.left() - 1);
        const double x1 = std::min<double>(TBandBild::XBei(r, a, b.ende), r.right() + 1);
        if (x1 < r.left() || x0 > r.right())
            continue;
        const QRectF band(x0, innen.top(), std::max(1.0, x1 - x0), innen.height());
        p.fillRect(band, f.Zustand(b.zustand));
        const bool gewaehlt = static_cast<int>(i) == auswahl.block;
        if (gewaehlt || (auswahl.eintrag >= 0 && b.eintrag == auswahl.eintrag)) {
            p.setPen(QPen(f.auswahl, gewaehlt ? 3 : 1));
            p.drawRect(band.adjusted(0, 0, -1, -1));
        }
        const QString text = BlockText(b);
        if (p.fontMetrics().horizontalAdvance(text) + 2 * Rand < band.width()) {
            p.setPen(Qt::white);
            p.drawText(band.adjusted(Rand, 0, -Rand, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
        }
    }
}

void ZeichneTempo(QPainter& p, const QRect& r, const TBandaufzeichnung& band, const TBandAusschnitt& a,
                  const TBandBildFarben& f) {
    p.setPen(f.linie);
    p.drawLine(r.topLeft(), r.topRight());
    const auto y = [&r](double prozent) {
        const double anteil = std::clamp(prozent, -TempoBereich, TempoBereich) / TempoBereich;
        return r.center().y() - anteil * (r.height() / 2 - Rand);
    };
    p.setPen(QPen(f.linie, 1, Qt::DotLine));
    p.drawLine(QPointF(r.left(), y(0.0)), QPointF(r.right(), y(0.0)));
    p.setPen(f.text);
    p.drawText(r.adjusted(Rand, 0, 0, -Rand), Qt::AlignLeft | Qt::AlignBottom,
               HoleTextMitParametern(QStringLiteral("Bandansicht_Tempo"), QString::number(TempoBereich)));
    // Each mark: the speed its short and its long pulses tell, against the nominal ones.
    for (const TBandMarke& m : band.Marken()) {
        if (m.kurzMikrosekunden <= 0.0 || m.langMikrosekunden <= 0.0)
            continue;
        const double x = TBandBild::XBei(r, a, m.beginn);
        if (x < r.left() || x > r.right())
            continue;
        const double kurz = (band.KurzNominal() / m.kurzMikrosekunden - 1.0) * 100.0;
        const double lang = (band.LangNominal() / m.langMikrosekunden - 1.0) * 100.0;
        p.setPen(f.kurz);
        p.setBrush(f.kurz);
        p.drawEllipse(QPointF(x, y(kurz)), PunktRadius + 1, PunktRadius + 1);
        p.setPen(f.lang);
        p.setBrush(f.lang);
        p.drawRect(QRectF(x - PunktRadius, y(lang) - PunktRadius, 2 * PunktRadius + 1, 2 * PunktRadius + 1));
        p.setBrush(Qt::NoBrush);
    }
}

// The level along the tape: for each column the quietest and the loudest stretch in it, in dB
// below full scale.
void ZeichnePegel(QPainter& p, const QRect& r, const TBandaufzeichnung& band, const TBandAusschnitt& a,
                  const TBandBildFarben& f) {
    p.setPen(f.linie);
    p.drawLine(r.topLeft(), r.topRight());
    const TPegel& pegel = band.Pegel();
    for (int x = r.left(); x <= r.right(); ++x) {
        const auto von = static_cast<std::int64_t>(std::floor(TBandBild::FrameBei(r, a, x)));
        const auto bis = static_cast<std::int64_t>(std::floor(TBandBild::FrameBei(r, a, x + 1)));
        const TPegel::TBereich b = pegel.Bereich(von, std::max(bis, von + 1));
        if (b.leer)
            continue;
        const auto oben = static_cast<int>(std::lround(YImPegel(r, b.hoch)));
        const auto unten = static_cast<int>(std::lround(YImPegel(r, b.tief)));
        p.fillRect(QRect(x, oben, 1, unten - oben + 1), f.pegel);
    }
    // The caption on a veil of the background: a silent stretch draws the plot along the foot.
    const QString text = HoleTextMitParametern(QStringLiteral("Bandansicht_Pegel"),
                                               QString::number(TBandBild::PegelBereichDB));
    const QRect platz = r.adjusted(Rand, 0, 0, -Rand);
    const QRect umriss = p.fontMetrics().boundingRect(platz, Qt::AlignLeft | Qt::AlignBottom, text);
    QColor schleier = f.hintergrund;
    schleier.setAlpha(SchleierDeckung);
    p.fillRect(umriss.adjusted(-Rand / 2, 0, Rand / 2, 0), schleier);
    p.setPen(f.text);
    p.drawText(platz, Qt::AlignLeft | Qt::AlignBottom, text);
}

} // namespace

QColor TBandBildFarben::Zustand(TBlockZustand pv_zustand) const {
    switch (pv_zustand) {
    case TBlockZustand::Gut:
        return gut;
    case TBlockZustand::Repariert:
        return repariert;
    case TBlockZustand::Fehler:
        return fehler;
    case TBlockZustand::Unsicher:
        return unsicher;
    }
    return fehler;
}

TBandBildFarben TBandBildFarben::Standard() {
    TBandBildFarben f;
    f.hintergrund = Qt::white;
    f.welle = QColor(0x1f, 0x4e, 0x9a);
    f.linie = QColor(0x80, 0x80, 0x80);
    f.text = Qt::black;
    f.auswahl = QColor(0x00, 0x78, 0xd7);
    f.marke = QColor(0x80, 0x80, 0x80, MarkenDeckung);
    f.gut = QColor(0x2e, 0x8b, 0x3e);
    f.repariert = QColor(0xc0, 0x6a, 0x00);
    f.fehler = QColor(0xd0, 0x21, 0x21);
    f.unsicher = QColor(0x8e, 0x44, 0xad);
    f.kurz = QColor(0x00, 0x8b, 0x8b);
    f.lang = QColor(0xc0, 0x6a, 0x00);
    f.pegel = f.welle;
    return f;
}

TBandBildFarben TBandBildFarben::AusPalette(const QPalette& pv_palette) {
    TBandBildFarben f = Standard();
    f.hintergrund = pv_palette.color(QPalette::Base);
    f.text = pv_palette.color(QPalette::Text);
    f.welle = pv_palette.color(QPalette::Link);
    f.pegel = f.welle;
    f.linie = pv_palette.color(QPalette::Mid);
    f.marke = pv_palette.color(QPalette::Mid);
    f.marke.setAlpha(MarkenDeckung);
    f.auswahl = pv_palette.color(QPalette::Highlight);
    return f;
}

QRect TBandBild::Lineal(const QRect& pv_flaeche) {
    return QRect(pv_flaeche.left(), pv_flaeche.top(), pv_flaeche.width(), LinealHoehe);
}

QRect TBandBild::Welle(const QRect& pv_flaeche) {
    const int hoehe =
        std::max(KleinsteWelle, pv_flaeche.height() - LinealHoehe - BlockHoehe - TempoHoehe - PegelHoehe);
    return QRect(pv_flaeche.left(), pv_flaeche.top() + LinealHoehe, pv_flaeche.width(), hoehe);
}

QRect TBandBild::Bloecke(const QRect& pv_flaeche) {
    const QRect w = Welle(pv_flaeche);
    return QRect(pv_flaeche.left(), w.bottom() + 1, pv_flaeche.width(), BlockHoehe);
}

QRect TBandBild::Tempo(const QRect& pv_flaeche) {
    const QRect b = Bloecke(pv_flaeche);
    return QRect(pv_flaeche.left(), b.bottom() + 1, pv_flaeche.width(), TempoHoehe);
}

QRect TBandBild::Pegel(const QRect& pv_flaeche) {
    const QRect t = Tempo(pv_flaeche);
    return QRect(pv_flaeche.left(), t.bottom() + 1, pv_flaeche.width(), PegelHoehe);
}

QRect TBandBild::FesteImpulse(const QRect& pv_flaeche) {
    return FussStreifen(Welle(pv_flaeche));
}

QRect TBandBild::AdaptiveImpulse(const QRect& pv_flaeche) {
    return AdaptivStreifen(Welle(pv_flaeche));
}

double TBandBild::PegelY(const QRect& pv_flaeche, double pv_anteil) {
    return YImPegel(Pegel(pv_flaeche), pv_anteil);
}

namespace {

double YImPegel(const QRect& r, double anteil) {
    const double db = anteil > 0.0
                          ? std::clamp(DezibelJeZehner * std::log10(anteil), -TBandBild::PegelBereichDB, 0.0)
                          : -TBandBild::PegelBereichDB;
    return r.top() + Rand + (-db / TBandBild::PegelBereichDB) * (r.height() - 1 - 2 * Rand);
}

} // namespace

double TBandBild::FrameBei(const QRect& pv_flaeche, const TBandAusschnitt& pv_ausschnitt, double pv_x) {
    return pv_ausschnitt.von +
           (pv_x - pv_flaeche.left()) * pv_ausschnitt.Breite() / std::max(1, pv_flaeche.width());
}

double TBandBild::XBei(const QRect& pv_flaeche, const TBandAusschnitt& pv_ausschnitt, double pv_frame) {
    return pv_flaeche.left() +
           (pv_frame - pv_ausschnitt.von) * std::max(1, pv_flaeche.width()) / pv_ausschnitt.Breite();
}

bool TBandBild::IstSampleZoom(const QRect& pv_flaeche, const TBandAusschnitt& pv_ausschnitt) {
    return pv_ausschnitt.Breite() < pv_flaeche.width();
}

int TBandBild::BlockBei(const QRect& pv_flaeche, const TBandAusschnitt& pv_ausschnitt,
                        const TBandaufzeichnung& pv_band, const QPoint& pv_punkt) {
    if (!Bloecke(pv_flaeche).contains(pv_punkt))
        return -1;
    const double frame = FrameBei(pv_flaeche, pv_ausschnitt, pv_punkt.x());
    // Half a pixel either way, so that a narrow band can be hit.
    const double toleranz = pv_ausschnitt.Breite() / std::max(1, pv_flaeche.width());
    const auto& bloecke = pv_band.Bloecke();
    for (std::size_t i = 0; i < bloecke.size(); ++i)
        if (frame >= bloecke[i].beginn - toleranz && frame <= bloecke[i].ende + toleranz)
            return static_cast<int>(i);
    return -1;
}

void TBandBild::Zeichne(QPainter& pv_painter, const QRect& pv_flaeche, const TBandaufzeichnung& pv_band,
                        const TBandAusschnitt& pv_ausschnitt, const TBandBildFarben& pv_farben,
                        const TBandBildAuswahl& pv_auswahl) {
    pv_painter.save();
    pv_painter.fillRect(pv_flaeche, pv_farben.hintergrund);
    pv_painter.setClipRect(pv_flaeche);
    if (pv_band.HatAufnahme() && pv_ausschnitt.Breite() > 0.0) {
        ZeichneLineal(pv_painter, Lineal(pv_flaeche), pv_band, pv_ausschnitt, pv_farben);
        ZeichneWelle(pv_painter, Welle(pv_flaeche), pv_band, pv_ausschnitt, pv_farben, pv_auswahl);
        ZeichneBloecke(pv_painter, Bloecke(pv_flaeche), pv_band, pv_ausschnitt, pv_farben, pv_auswahl);
        ZeichneTempo(pv_painter, Tempo(pv_flaeche), pv_band, pv_ausschnitt, pv_farben);
        ZeichnePegel(pv_painter, Pegel(pv_flaeche), pv_band, pv_ausschnitt, pv_farben);
    }
    pv_painter.restore();
}

bool TBandBild::Schreibe(const QString& pv_dateiName, const TBandaufzeichnung& pv_band, double pv_von,
                         double pv_bis, QString& pv_fehler) {
    TBandAusschnitt a{0.0, static_cast<double>(std::max<std::int64_t>(1, pv_band.Frames()))};
    if (pv_von >= 0.0)
        a.von = std::clamp(static_cast<double>(pv_band.Frame(pv_von)), 0.0, a.bis - 1.0);
    if (pv_bis >= 0.0)
        a.bis = std::clamp(static_cast<double>(pv_band.Frame(pv_bis)), a.von + 1.0, a.bis);
    const QRect flaeche(0, 0, BildBreite, BildHoehe);
    const TBandBildFarben farben = TBandBildFarben::Standard();
    // A stretch of fewer frames than columns: the frames themselves, and their pulses.
    TBandBildAuswahl auswahl;
    std::vector<std::uint8_t> frames;
    std::vector<TBandImpuls> impulse;
    std::vector<TImpulsBeleg> adaptiv;
    if (IstSampleZoom(flaeche, a)) {
        auswahl.framesAb = static_cast<std::int64_t>(a.von);
        if (pv_band.LeseFrames(static_cast<std::int32_t>(a.von), static_cast<std::int32_t>(a.Breite()) + 2,
                               frames))
            impulse = pv_band.Impulse(frames, auswahl.framesAb);
        adaptiv =
            pv_band.AdaptiveImpulse(static_cast<std::int64_t>(a.von), static_cast<std::int64_t>(a.bis) + 1);
        auswahl.frames = &frames;
        auswahl.impulse = &impulse;
        auswahl.adaptiv = &adaptiv;
    }
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    if (pv_dateiName.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&puffer);
        svg.setSize(flaeche.size());
        svg.setViewBox(flaeche);
        svg.setTitle(pv_band.DateiName());
        QPainter painter(&svg);
        Zeichne(painter, flaeche, pv_band, a, farben, auswahl);
    } else {
        QImage bild(flaeche.size(), QImage::Format_RGB32);
        {
            QPainter painter(&bild);
            Zeichne(painter, flaeche, pv_band, a, farben, auswahl);
        }
        bild.save(&puffer, "PNG");
    }
    TSichereDatei datei;
    if (!datei.Oeffnen(pv_dateiName) || !datei.Schreibe(daten.constData(), daten.size()) ||
        !datei.Abschliessen()) {
        pv_fehler = datei.Fehlertext();
        return false;
    }
    return true;
}
