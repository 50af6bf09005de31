#include "FreieNamen.h"

#include <algorithm>
#include <utility>

namespace {
const QString Endung = QStringLiteral(".mzf");
// The name without a number counts as number 1: NAME.mzf, NAME-2.mzf, NAME-3.mzf, ...
constexpr int OhneNummer = 1;
} // namespace

TFreieNamen::TFreieNamen(const QString& ordner, TBelegt belegt)
    : m_ordner(ordner), m_belegt(std::move(belegt)) {}

QString TFreieNamen::Naechster(const QString& name) {
    int& nummer = m_naechsteNummer[name]; // 0 for a name not seen before
    for (nummer = std::max(nummer, OhneNummer);; ++nummer) {
        const QString pfad = m_ordner.filePath(
            nummer == OhneNummer ? name + Endung : QStringLiteral("%1-%2").arg(name).arg(nummer) + Endung);
        if (!m_belegt(pfad)) {
            ++nummer;
            return pfad;
        }
    }
}
