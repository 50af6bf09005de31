// The ship at every size of the desktop's icon theme: the same picture, scaled, with the parts
// where the 45 x 45 drawing puts them.
#include "MZSchiff.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

namespace {
const int Kanten[] = {16, 22, 24, 32, 45, 48, 64, 128, 256};

enum class TArt { Leer, Rot, Weiss };

// Points of the 45 x 45 grid, read from the drawing: sky above the stern and before the bow, the
// hull below the white stripe, the funnel below its black top, the deckhouse between two portholes.
struct TPunkt {
    double x;
    double y;
    TArt art;
    int abKante; // the smallest size at which the part is wide enough for a clean pixel
};
const TPunkt Punkte[] = {
    {0.5, 0.5, TArt::Leer, 16}, {44.5, 0.5, TArt::Leer, 16},    {40, 5, TArt::Leer, 16},
    {4, 15, TArt::Leer, 16},    {22, 33.5, TArt::Rot, 16},      {30, 33, TArt::Rot, 16},
    {27, 17, TArt::Rot, 32},    {20.75, 25.5, TArt::Weiss, 45}, {30.2, 25.5, TArt::Weiss, 45},
};

bool Passt(const QColor& farbe, TArt art) {
    switch (art) {
    case TArt::Leer:
        return farbe.alpha() == 0;
    case TArt::Rot:
        return farbe.alpha() > 200 && farbe.red() > 120 && farbe.red() > 3 * farbe.green() &&
               farbe.red() > 3 * farbe.blue();
    case TArt::Weiss:
        return farbe.alpha() > 200 && farbe.red() > 220 && farbe.green() > 220 && farbe.blue() > 210;
    }
    return false;
}

TEST(MZSchiff, JedeGroesseZeigtDieTeileAnIhremPlatz) {
    for (const int kante : Kanten) {
        const QImage bild = MZSchiffSymbol(kante);
        ASSERT_EQ(bild.size(), QSize(kante, kante));
        ASSERT_TRUE(bild.hasAlphaChannel());
        for (const TPunkt& punkt : Punkte) {
            if (kante < punkt.abKante)
                continue;
            const int x = static_cast<int>(punkt.x * kante / MZSchiffGroesse);
            const int y = static_cast<int>(punkt.y * kante / MZSchiffGroesse);
            const QColor farbe = bild.pixelColor(x, y);
            EXPECT_TRUE(Passt(farbe, punkt.art))
                << kante << " px, grid (" << punkt.x << ", " << punkt.y << "): rgba " << farbe.red() << ' '
                << farbe.green() << ' ' << farbe.blue() << ' ' << farbe.alpha();
        }
    }
}

TEST(MZSchiff, SymbolInFensterGroesseIstDasBildImFenster) {
    const QImage fenster = MZSchiffBild().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(MZSchiffSymbol(MZSchiffGroesse), fenster);
}
} // namespace
