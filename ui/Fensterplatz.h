// Window placement: keep a window on the primary screen, centre a dialog over its owner.
// The arithmetic works on plain rectangles; the widget forms move the window's frame.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// New top-left corner so that `fenster` lies wholly on a screen of size `bildschirm` starting at
// 0,0; a window larger than the screen ends at the top-left corner. The size never changes.
QPoint HalteAufBildschirm(QRect fenster, QSize bildschirm);
// Size of a window's client area that lets the window with its frame (`rahmen`: what the frame adds
// to width and height) fit on a screen of size `bildschirm`: never larger than `innen`, never
// below `minimum`.
QSize PasseAnBildschirm(QSize innen, QSize rahmen, QSize minimum, QSize bildschirm);
// New top-left corner that centres `fenster` over `bezug`; halves truncate toward zero.
QPoint ZentriereUeber(QRect fenster, QRect bezug);

// Moves the window fully onto the primary screen (its available area).
void HalteFormAufBildschirm(QWidget* pv_form);
// Centres the window over `pv_bezug`, usually its owner.
void ZentriereFormUeber(QWidget* pv_form, QWidget* pv_bezug);
