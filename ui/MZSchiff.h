// The small red ship that stands in the empty main window (and is the window icon).
#pragma once

#include <QPixmap>

inline constexpr int MZSchiffGroesse = 45;

// 45 x 45 pixels, transparent around the ship.
QPixmap MZSchiffBild();
