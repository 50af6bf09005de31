// Renders the ship as the program's icon for the desktop's icon theme, at build time: one PNG per
// size and the scalable SVG, all from the one drawing in MZSchiff.
//   bandwerk_symbole DIR NAME SIZE...  writes DIR/SIZExSIZE/apps/NAME.png and DIR/scalable/apps/NAME.svg
#include "MZSchiff.h"

#include <QDir>
#include <QFont>
#include <QPainter>
#include <QStringList>
#include <QSvgGenerator>
#include <cstdio>

namespace {
constexpr int KleinsteKante = 8;
constexpr int GroessteKante = 1024;
// CSS pixels: the SVG then states its 45 x 45 grid as its natural size.
constexpr int SVGPunkteProZoll = 96;
constexpr int SVGSchriftPixel = 10;

bool Fehler(const QString& text) {
    std::fprintf(stderr, "bandwerk_symbole: %s\n", qPrintable(text));
    return false;
}

bool SchreibePNG(const QDir& ziel, const QString& name, int kante) {
    const QString ordner = QStringLiteral("%1x%1/apps").arg(kante);
    if (!ziel.mkpath(ordner))
        return Fehler(QStringLiteral("cannot create %1").arg(ziel.filePath(ordner)));
    const QString pfad = ziel.filePath(ordner + QLatin1Char('/') + name + QStringLiteral(".png"));
    if (!MZSchiffSymbol(kante).save(pfad, "PNG"))
        return Fehler(QStringLiteral("cannot write %1").arg(pfad));
    return true;
}

bool SchreibeSVG(const QDir& ziel, const QString& name) {
    const QString ordner = QStringLiteral("scalable/apps");
    if (!ziel.mkpath(ordner))
        return Fehler(QStringLiteral("cannot create %1").arg(ziel.filePath(ordner)));
    const QString pfad = ziel.filePath(ordner + QLatin1Char('/') + name + QStringLiteral(".svg"));
    QSvgGenerator svg;
    svg.setFileName(pfad);
    svg.setSize(QSize(MZSchiffGroesse, MZSchiffGroesse));
    svg.setViewBox(QRect(0, 0, MZSchiffGroesse, MZSchiffGroesse));
    svg.setResolution(SVGPunkteProZoll);
    svg.setTitle(QStringLiteral("Bandwerk"));
    QPainter p;
    if (!p.begin(&svg))
        return Fehler(QStringLiteral("cannot write %1").arg(pfad));
    // The ship has no text, but every group of the SVG names the painter's font: without a font of
    // its own it would carry an invalid size.
    QFont schrift;
    schrift.setPixelSize(SVGSchriftPixel);
    p.setFont(schrift);
    ZeichneMZSchiff(p);
    if (!p.end())
        return Fehler(QStringLiteral("cannot write %1").arg(pfad));
    return true;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: bandwerk_symbole DIR NAME SIZE...\n");
        return 2;
    }
    const QDir ziel(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int kante = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || kante < KleinsteKante || kante > GroessteKante) {
            Fehler(QStringLiteral("not an icon size: %1").arg(QString::fromLocal8Bit(argv[i])));
            return 2;
        }
        if (!SchreibePNG(ziel, name, kante))
            return 1;
    }
    return SchreibeSVG(ziel, name) ? 0 : 1;
}
