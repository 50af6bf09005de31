#include "Fortschrittsbalken.h"

#include "MZFDatei.h"
#include "PlattformKonsole.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

TFortschrittsbalken::TFortschrittsbalken(TMZFDatei& datei, QTextStream& ausgabe, bool aktiv)
    : m_datei(datei), m_ausgabe(ausgabe), m_aktiv(aktiv) {
    if (!m_aktiv)
        return;
    m_datei.BeiBeginn = [this](TMZFDatei*) { Zeichne(0); };
    m_datei.BeiFortschritt = [this](TMZFDatei*, double prozent) {
        Zeichne(static_cast<int>(std::clamp(std::floor(prozent), 0.0, 100.0)));
    };
    m_datei.BeiEnde = [this](TMZFDatei*) { Loesche(); };
}

TFortschrittsbalken::~TFortschrittsbalken() {
    if (!m_aktiv)
        return;
    Loesche();
    m_datei.BeiBeginn = nullptr;
    m_datei.BeiFortschritt = nullptr;
    m_datei.BeiEnde = nullptr;
}

bool TFortschrittsbalken::StandardFehlerIstTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

void TFortschrittsbalken::Zeichne(int prozent) {
    if (prozent == m_gezeichnet)
        return;
    if (m_gezeichnet < 0) // a message shown meanwhile clears the bar first
        TPlattformKonsole::SetzeVorNachricht([this] { Loesche(); });
    m_gezeichnet = prozent;
    const int voll = prozent * Breite / 100;
    m_ausgabe << '\r' << '[' << QString(voll, QLatin1Char('#')) << QString(Breite - voll, QLatin1Char('.'))
              << "] " << QStringLiteral("%1%").arg(prozent, 3);
    m_ausgabe.flush();
}

void TFortschrittsbalken::Loesche() {
    if (m_gezeichnet < 0)
        return;
    m_gezeichnet = -1;
    TPlattformKonsole::SetzeVorNachricht({});
    // "[" + bar + "] " + "100%"
    m_ausgabe << '\r' << QString(Breite + 7, QLatin1Char(' ')) << '\r';
    m_ausgabe.flush();
}
