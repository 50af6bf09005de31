// The picture of a recording, drawn with any painter (a window, an image, an SVG file): a time
// ruler, the waveform (its envelope when zoomed out, the frames themselves when zoomed in, with the
// zero line the fixed passes decide on and the pulses as the passes decide them), the tape marks
// and every header and body copy as a labelled band coloured by its state, the speed measured on
// the marks, and the level along the tape. One home for the
// picture: the tape view and `bandwerk-cli scan --plot` draw it here.
#pragma once

#include "Bandaufzeichnung.h"

#include <QColor>
#include <QRect>
#include <cstdint>
#include <vector>

class QPainter;
class QPalette;

struct TBandBildFarben {
    QColor hintergrund;
    QColor welle;
    QColor linie; // ruler, zero line, frames
    QColor text;
    QColor auswahl;
    QColor marke;
    // The states of a block; chosen to read on light and dark backgrounds alike, with white text.
    QColor gut;
    QColor repariert;
    QColor fehler;
    QColor unsicher;
    QColor kurz; // the speed plot: short and long pulses
    QColor lang;
    QColor pegel; // the level plot

    QColor Zustand(TBlockZustand pv_zustand) const;
    // From a window's palette; the default: black on white, for pictures on their own.
    static TBandBildFarben AusPalette(const QPalette& pv_palette);
    static TBandBildFarben Standard();
};

// The stretch of the recording shown, in frames (fractions allowed: zoom keeps them).
struct TBandAusschnitt {
    double von = 0.0;
    double bis = 1.0;
    double Breite() const { return bis - von; }
};

struct TBandBildAuswahl {
    int eintrag = -1; // catalogue entry whose blocks are marked
    int block = -1;   // block drawn as chosen
    // Frames for the sample zoom, from frame `framesAb` on; empty: the envelope serves.
    const std::vector<std::uint8_t>* frames = nullptr;
    std::int64_t framesAb = 0;
    // The pulses decided in those frames, drawn with them: the fixed pass's, and the adaptive
    // pass's with their certainty.
    const std::vector<TBandImpuls>* impulse = nullptr;
    const std::vector<TImpulsBeleg>* adaptiv = nullptr;
};

class TBandBild {
public:
    // The lanes, top down: ruler, waveform, blocks, speed, level.
    static constexpr int LinealHoehe = 20;
    static constexpr int BlockHoehe = 34;
    static constexpr int TempoHoehe = 56;
    static constexpr int PegelHoehe = 40;
    static constexpr int KleinsteWelle = 40;
    // The pulses at the foot of the waveform, at sample zoom: the fixed pass's at the very foot,
    // above them the adaptive pass's, each as high as it is sure.
    static constexpr int ImpulsHoehe = 8;
    static constexpr int AdaptivHoehe = 12;
    static constexpr int ImpulsAbstand = 2;
    // The level plot's range: full scale at the top, this many dB below it at the foot.
    static constexpr double PegelBereichDB = 48.0;

    static QRect Lineal(const QRect& pv_flaeche);
    static QRect Welle(const QRect& pv_flaeche);
    static QRect Bloecke(const QRect& pv_flaeche);
    static QRect Tempo(const QRect& pv_flaeche);
    static QRect Pegel(const QRect& pv_flaeche);
    // Within the waveform: the strips of the fixed and of the adaptive pass's pulses.
    static QRect FesteImpulse(const QRect& pv_flaeche);
    static QRect AdaptiveImpulse(const QRect& pv_flaeche);
    // The row of the level plot where a level (share of full scale) is drawn.
    static double PegelY(const QRect& pv_flaeche, double pv_anteil);

    // Frame at a column and back.
    static double FrameBei(const QRect& pv_flaeche, const TBandAusschnitt& pv_ausschnitt, double pv_x);
    static double XBei(const QRect& pv_flaeche, const TBandAusschnitt& pv_ausschnitt, double pv_frame);
    // Whether the stretch shows fewer frames than columns: then the frames themselves are drawn.
    static bool IstSampleZoom(const QRect& pv_flaeche, const TBandAusschnitt& pv_ausschnitt);
    // The block under a point of the block lane, or -1.
    static int BlockBei(const QRect& pv_flaeche, const TBandAusschnitt& pv_ausschnitt,
                        const TBandaufzeichnung& pv_band, const QPoint& pv_punkt);

    static void Zeichne(QPainter& pv_painter, const QRect& pv_flaeche, const TBandaufzeichnung& pv_band,
                        const TBandAusschnitt& pv_ausschnitt, const TBandBildFarben& pv_farben,
                        const TBandBildAuswahl& pv_auswahl = {});

    // A picture of the stretch [von, bis) in seconds of the whole recording when both are
    // negative, written as PNG or, for a name ending in .svg, as SVG (through the safe writer).
    // False after a failure, with its reason in pv_fehler.
    static bool Schreibe(const QString& pv_dateiName, const TBandaufzeichnung& pv_band, double pv_von,
                         double pv_bis, QString& pv_fehler);
    static constexpr int BildBreite = 1600;
    static constexpr int BildHoehe = 420;
};
