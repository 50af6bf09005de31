// The tape view's drawing: the picture of the recording (TBandBild) over a stretch of it that the
// mouse wheel, the keys and the scroll bar zoom and move; the time under the mouse stays where it
// is while zooming. Near the frames themselves they are read again from the recording, once for
// a stretch around the one shown, never on a repaint.
#pragma once

#include "BandBild.h"

#include <QWidget>
#include <cstdint>
#include <vector>

class QScrollBar;

class TBandFlaeche : public QWidget {
    Q_OBJECT
public:
    // Zoom per wheel step or key press, and the smallest stretch shown in frames.
    static constexpr double ZoomSchritt = 1.5;
    static constexpr double KleinsteBreite = 16.0;

    TBandFlaeche(QWidget* pv_eltern, QScrollBar* pv_leiste);

    // The recording shown (not owned); the whole of it at first.
    void SetzeBand(const TBandaufzeichnung* pv_band);
    const TBandaufzeichnung* Band() const { return m_band; }
    // The recording shown has learned more (marks and blocks while it is read, all of it at the
    // end): drawn anew where it is shown, without a chosen block (their order may change).
    void BandGeaendert();
    const TBandAusschnitt& Ausschnitt() const { return m_ausschnitt; }
    void SetzeAusschnitt(double pv_von, double pv_bis);
    // Zooms by pv_faktor (>1: in) keeping the frame at column pv_x where it is.
    void Zoome(double pv_faktor, double pv_x);
    void Verschiebe(double pv_frames);
    void ZeigeAlles();
    // Shows the frames [von, bis) with a margin, unless they are shown already.
    void ZeigeBereich(std::int64_t pv_von, std::int64_t pv_bis);

    void SetzeAuswahl(int pv_eintrag, int pv_block);
    int GewaehlterBlock() const { return m_auswahl.block; }
    // Where the picture is drawn (the whole widget), and the picture as the widget draws it.
    QRect Flaeche() const { return rect(); }
    QImage Bild();

Q_SIGNALS:
    void BlockGewaehlt(int pv_block);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Begrenze();
    void Nachfuehren();
    void HoleFrames();

    const TBandaufzeichnung* m_band = nullptr;
    QScrollBar* m_leiste;
    TBandAusschnitt m_ausschnitt;
    TBandBildAuswahl m_auswahl;
    std::vector<std::uint8_t> m_frames;
    std::vector<TBandImpuls> m_impulse;
    std::vector<TImpulsBeleg> m_adaptiv;
    std::int64_t m_framesAb = 0;
    bool m_stellt = false; // the scroll bar is being set from here
};
