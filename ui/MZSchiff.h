// The small red ship that stands in the empty main window (and is the window icon and the
// program's icon on the desktop).
#pragma once

#include <QImage>
#include <QPixmap>

class QPainter;

inline constexpr int MZSchiffGroesse = 45;

// The one drawing of the ship, on a 45 x 45 grid in the painter's coordinates; scale the painter
// for any other size (the icons of every size and the scalable one come from here).
void ZeichneMZSchiff(QPainter& p);

// 45 x 45 pixels, transparent around the ship.
QPixmap MZSchiffBild();

// The ship scaled to a square of pv_kante pixels, transparent around it; needs no display.
QImage MZSchiffSymbol(int pv_kante);
