// What the help windows share: the read-only text memo, the close button that is both the
// default and the cancel button, and the frame of a resizable text window.
#pragma once

#include <QSize>
#include <QString>

class QDialog;
class QPlainTextEdit;
class QPushButton;

// Fixed-pitch, 13 pixels high, so that the columns of the text line up as in the saved file.
QPlainTextEdit* BaueTextMemo(QDialog* pv_fenster, const QString& pv_name);
// Lines of the catalogue's texts end with CR LF; the memo keeps its lines apart by itself, and a
// CR of its own would show as an extra break.
void SetzeMemoText(QPlainTextEdit* pv_memo, const QString& pv_text);
// "Close": Enter and Esc both press it; it closes the window.
QPushButton* BaueSchliessenKnopf(QDialog* pv_fenster);
// Title bar with system menu and maximise button; the window can grow, never below `pv_mindest`
// or below what its controls need.
void SetzeTextFensterRahmen(QDialog* pv_fenster, const QString& pv_formName, QSize pv_mindest);
// At the show: minimum size once more for the texts of the language, then centred over the
// owner and kept on the screen.
void ZeigeTextFenster(QDialog* pv_fenster, QSize pv_mindest);
