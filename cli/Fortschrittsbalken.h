// Progress of the record's long operations (WAV export) as a bar on a terminal. Bound to the
// record's events for the lifetime of the object; draws nothing when not active, so that a
// redirected standard error stays free of control characters.
#pragma once

#include <QTextStream>

class TMZFDatei;

class TFortschrittsbalken {
public:
    static constexpr int Breite = 40; // characters between the brackets

    TFortschrittsbalken(TMZFDatei& datei, QTextStream& ausgabe, bool aktiv);
    ~TFortschrittsbalken();
    TFortschrittsbalken(const TFortschrittsbalken&) = delete;
    TFortschrittsbalken& operator=(const TFortschrittsbalken&) = delete;

    // Whether standard error is a terminal.
    static bool StandardFehlerIstTerminal();

private:
    void Zeichne(int prozent);
    void Loesche();

    TMZFDatei& m_datei;
    QTextStream& m_ausgabe;
    bool m_aktiv;
    int m_gezeichnet = -1; // percentage on screen, -1 when no bar is shown
};
