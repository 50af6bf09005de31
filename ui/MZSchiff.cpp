#include "MZSchiff.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

// A little steamer drawn on a 45 x 45 grid: red hull, white deckhouse with portholes, a red
// funnel with a black top, a mast with a pennant and two strokes of sea below.
void ZeichneMZSchiff(QPainter& p) {
    const QColor rot(200, 24, 24);
    const QColor dunkelrot(120, 10, 10);
    const QColor weiss(250, 250, 245);
    const QColor schwarz(30, 30, 30);
    const QColor blau(40, 90, 200);

    // Mast and pennant
    p.setPen(QPen(schwarz, 1.2));
    p.drawLine(QPointF(12, 25), QPointF(12, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(rot);
    p.drawPolygon(QPolygonF({QPointF(12.5, 7), QPointF(19, 9), QPointF(12.5, 11)}));

    // Funnel with a black top
    p.setBrush(rot);
    p.setPen(QPen(dunkelrot, 1));
    p.drawRect(QRectF(24, 10, 6, 11));
    p.setBrush(schwarz);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(24, 9, 6, 3));

    // Deckhouse with portholes
    p.setBrush(weiss);
    p.setPen(QPen(schwarz, 1));
    p.drawRect(QRectF(15, 20, 20, 7));
    p.setBrush(blau);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(18.5 + i * 4.5, 23.5), 1.3, 1.3);

    // Hull: bow to the right, a white stripe along the deck line
    QPainterPath rumpf;
    rumpf.moveTo(2, 27);
    rumpf.lineTo(43, 27);
    rumpf.lineTo(37, 37);
    rumpf.lineTo(7, 37);
    rumpf.closeSubpath();
    p.setBrush(rot);
    p.setPen(QPen(dunkelrot, 1.2));
    p.drawPath(rumpf);
    p.setPen(QPen(weiss, 1.5));
    p.drawLine(QPointF(4, 29.5), QPointF(41.5, 29.5));

    // Sea
    p.setPen(QPen(blau, 1.5));
    p.setBrush(Qt::NoBrush);
    for (int reihe = 0; reihe < 2; ++reihe) {
        QPainterPath welle;
        const double y = 40 + reihe * 3.0;
        const double versatz = reihe * 3.0;
        welle.moveTo(1 + versatz, y);
        for (double x = 1 + versatz; x < 43; x += 6) {
            welle.quadTo(x + 1.5, y - 2, x + 3, y);
            welle.quadTo(x + 4.5, y + 2, x + 6, y);
        }
        p.drawPath(welle);
    }
}

QPixmap MZSchiffBild() {
    QPixmap bild(MZSchiffGroesse, MZSchiffGroesse);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    ZeichneMZSchiff(p);
    return bild;
}

QImage MZSchiffSymbol(int pv_kante) {
    QImage bild(pv_kante, pv_kante, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    const double massstab = static_cast<double>(pv_kante) / MZSchiffGroesse;
    p.scale(massstab, massstab);
    ZeichneMZSchiff(p);
    return bild;
}
