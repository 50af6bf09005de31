#include "Fensterplatz.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

QPoint HalteAufBildschirm(QRect fenster, QSize bildschirm) {
    int links = fenster.left();
    int oben = fenster.top();
    // An empty window still occupies one pixel, so that it is not pushed past the edge.
    const int breite = std::max(fenster.width(), 1);
    if (links + breite - 1 > bildschirm.width() - 1)
        links = bildschirm.width() - breite;
    const int hoehe = std::max(fenster.height(), 1);
    if (oben + hoehe - 1 > bildschirm.height() - 1)
        oben = bildschirm.height() - hoehe;
    return {std::max(links, 0), std::max(oben, 0)};
}

QSize PasseAnBildschirm(QSize innen, QSize rahmen, QSize minimum, QSize bildschirm) {
    const QSize platz = bildschirm - rahmen;
    return innen.boundedTo(platz).expandedTo(minimum);
}

QPoint ZentriereUeber(QRect fenster, QRect bezug) {
    // C++ integer division truncates toward zero, as the placement wants.
    return {bezug.left() + (bezug.width() - fenster.width()) / 2,
            bezug.top() + (bezug.height() - fenster.height()) / 2};
}

void HalteFormAufBildschirm(QWidget* pv_form) {
    if (!pv_form)
        return;
    const QScreen* bildschirm = QGuiApplication::primaryScreen();
    if (!bildschirm)
        return;
    pv_form->move(HalteAufBildschirm(pv_form->frameGeometry(), bildschirm->availableGeometry().size()));
}

void ZentriereFormUeber(QWidget* pv_form, QWidget* pv_bezug) {
    if (!pv_form || !pv_bezug)
        return;
    pv_form->move(ZentriereUeber(pv_form->frameGeometry(), pv_bezug->frameGeometry()));
}
