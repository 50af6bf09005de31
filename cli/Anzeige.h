// What the command line prints of MZ files.
#pragma once

#include "MZFDatei.h"

#include <QJsonObject>
#include <QTextStream>
#include <memory>
#include <vector>

// The header, one field a line, with the main window's labels.
void ZeigeKopf(const TMZFDatei& datei, QTextStream& aus);
QJsonObject KopfAlsJson(const TMZFDatei& datei);
// The body as text, as the body view shows it.
void ZeigeRumpf(const TMZFDatei& datei, QTextStream& aus);
// One line per file: attribute, name, size, load and start address, in columns; or a JSON array.
void ZeigeListe(const std::vector<std::unique_ptr<TMZFDatei>>& dateien, bool json, QTextStream& aus);
