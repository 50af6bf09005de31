#include "BandFlaeche.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {
// One wheel notch in the units of QWheelEvent::angleDelta.
constexpr double RadRaste = 120.0;
// A key press moves by this share of the stretch shown; a page by most of it.
constexpr double SchrittAnteil = 0.1;
constexpr double SeitenAnteil = 0.9;
// Shown around a chosen block: this share of it on either side.
constexpr double BereichRand = 0.1;
// The scroll bar counts in steps of this many frames at most, so that an hour fits an int.
constexpr int LeisteGroesste = 1 << 24;
// Frames read for the sample zoom: the stretch shown and this many times it on either side.
constexpr double VorratAnteil = 2.0;
constexpr int KleinsteHoehe = 200;
} // namespace

TBandFlaeche::TBandFlaeche(QWidget* pv_eltern, QScrollBar* pv_leiste)
    : QWidget(pv_eltern), m_leiste(pv_leiste) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(KleinsteHoehe);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_leiste, &QScrollBar::valueChanged, this, [this](int wert) {
        if (m_stellt || !m_band)
            return;
        const double schritt = std::max(1.0, static_cast<double>(m_band->Frames()) / LeisteGroesste);
        const double breite = m_ausschnitt.Breite();
        SetzeAusschnitt(wert * schritt, wert * schritt + breite);
    });
}

void TBandFlaeche::SetzeBand(const TBandaufzeichnung* pv_band) {
    m_band = pv_band;
    m_frames.clear();
    m_impulse.clear();
    m_adaptiv.clear();
    m_auswahl = TBandBildAuswahl();
    ZeigeAlles();
}

void TBandFlaeche::BandGeaendert() {
    m_frames.clear();
    m_impulse.clear();
    m_adaptiv.clear();
    m_auswahl = TBandBildAuswahl();
    SetzeAusschnitt(m_ausschnitt.von, m_ausschnitt.bis);
}

void TBandFlaeche::SetzeAusschnitt(double pv_von, double pv_bis) {
    m_ausschnitt = {pv_von, pv_bis};
    Begrenze();
    Nachfuehren();
    HoleFrames();
    update();
}

void TBandFlaeche::Begrenze() {
    const double gesamt = m_band ? std::max<double>(1.0, static_cast<double>(m_band->Frames())) : 1.0;
    double breite = std::clamp(m_ausschnitt.Breite(), std::min(KleinsteBreite, gesamt), gesamt);
    double von = std::clamp(m_ausschnitt.von, 0.0, gesamt - breite);
    m_ausschnitt = {von, von + breite};
}

void TBandFlaeche::Nachfuehren() {
    if (!m_band)
        return;
    const double schritt = std::max(1.0, static_cast<double>(m_band->Frames()) / LeisteGroesste);
    m_stellt = true;
    const auto seite = static_cast<int>(m_ausschnitt.Breite() / schritt);
    m_leiste->setRange(0, std::max(0, static_cast<int>(m_band->Frames() / schritt) - seite));
    m_leiste->setPageStep(std::max(1, seite));
    m_leiste->setSingleStep(std::max(1, static_cast<int>(seite * SchrittAnteil)));
    m_leiste->setValue(static_cast<int>(m_ausschnitt.von / schritt));
    m_stellt = false;
}

void TBandFlaeche::HoleFrames() {
    if (!m_band || !m_band->HatAufnahme() || !TBandBild::IstSampleZoom(Flaeche(), m_ausschnitt))
        return;
    const auto von = static_cast<std::int64_t>(std::floor(m_ausschnitt.von));
    const auto bis = static_cast<std::int64_t>(std::ceil(m_ausschnitt.bis)) + 1;
    if (!m_frames.empty() && von >= m_framesAb &&
        bis <= m_framesAb + static_cast<std::int64_t>(m_frames.size()))
        return;
    const auto vorrat = static_cast<std::int64_t>(m_ausschnitt.Breite() * VorratAnteil) + 1;
    m_framesAb = std::max<std::int64_t>(0, von - vorrat);
    if (!m_band->LeseFrames(static_cast<std::int32_t>(m_framesAb),
                            static_cast<std::int32_t>(bis + vorrat - m_framesAb), m_frames))
        m_frames.clear();
    m_impulse = m_band->Impulse(m_frames, m_framesAb);
    m_adaptiv = m_band->AdaptiveImpulse(m_framesAb, m_framesAb + static_cast<std::int64_t>(m_frames.size()));
}

void TBandFlaeche::Zoome(double pv_faktor, double pv_x) {
    const double frame = TBandBild::FrameBei(Flaeche(), m_ausschnitt, pv_x);
    const double breite = m_ausschnitt.Breite() / pv_faktor;
    const double anteil = (pv_x - Flaeche().left()) / std::max(1, Flaeche().width());
    SetzeAusschnitt(frame - anteil * breite, frame - anteil * breite + breite);
}

void TBandFlaeche::Verschiebe(double pv_frames) {
    SetzeAusschnitt(m_ausschnitt.von + pv_frames, m_ausschnitt.bis + pv_frames);
}

void TBandFlaeche::ZeigeAlles() {
    SetzeAusschnitt(0.0, m_band ? static_cast<double>(m_band->Frames()) : 1.0);
}

void TBandFlaeche::ZeigeBereich(std::int64_t pv_von, std::int64_t pv_bis) {
    if (pv_von >= m_ausschnitt.von && pv_bis <= m_ausschnitt.bis)
        return;
    const double rand = (pv_bis - pv_von) * BereichRand;
    SetzeAusschnitt(pv_von - rand, pv_bis + rand);
}

void TBandFlaeche::SetzeAuswahl(int pv_eintrag, int pv_block) {
    m_auswahl.eintrag = pv_eintrag;
    m_auswahl.block = pv_block;
    update();
}

QImage TBandFlaeche::Bild() {
    QImage bild(size(), QImage::Format_RGB32);
    render(&bild);
    return bild;
}

void TBandFlaeche::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_band) {
        painter.fillRect(rect(), palette().color(QPalette::Base));
        return;
    }
    TBandBildAuswahl auswahl = m_auswahl;
    auswahl.frames = &m_frames;
    auswahl.framesAb = m_framesAb;
    auswahl.impulse = &m_impulse;
    auswahl.adaptiv = &m_adaptiv;
    TBandBild::Zeichne(painter, Flaeche(), *m_band, m_ausschnitt, TBandBildFarben::AusPalette(palette()),
                       auswahl);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TBandFlaeche::wheelEvent(QWheelEvent* event) {
    const double rasten = event->angleDelta().y() / RadRaste;
    if (rasten == 0.0)
        return;
    Zoome(std::pow(ZoomSchritt, rasten), event->position().x());
    event->accept();
}

void TBandFlaeche::keyPressEvent(QKeyEvent* event) {
    const double breite = m_ausschnitt.Breite();
    const double mitte = Flaeche().center().x();
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        Zoome(ZoomSchritt, mitte);
        break;
    case Qt::Key_Minus:
        Zoome(1.0 / ZoomSchritt, mitte);
        break;
    case Qt::Key_Left:
        Verschiebe(-breite * SchrittAnteil);
        break;
    case Qt::Key_Right:
        Verschiebe(breite * SchrittAnteil);
        break;
    case Qt::Key_PageUp:
        Verschiebe(-breite * SeitenAnteil);
        break;
    case Qt::Key_PageDown:
        Verschiebe(breite * SeitenAnteil);
        break;
    case Qt::Key_Home:
        ZeigeAlles();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TBandFlaeche::mousePressEvent(QMouseEvent* event) {
    setFocus();
    if (!m_band)
        return;
    const int block = TBandBild::BlockBei(Flaeche(), m_ausschnitt, *m_band, event->position().toPoint());
    if (block >= 0)
        Q_EMIT BlockGewaehlt(block);
}

void TBandFlaeche::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    HoleFrames();
}
