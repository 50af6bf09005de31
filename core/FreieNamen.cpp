#include "FreieNamen.h"

#include "DateiPfad.h"
#include "MZFDatei.h"

#include <QFileDevice>
#include <QTextStream>
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

bool PfadIstBelegt(const QString& pfad) {
    const TPfadInfo info = HolePfadInfo(pfad, false);
    return info.existiert;
}

void SchreibePfadZeile(QTextStream& aus, const QString& pfad) {
    aus.flush();
    QIODevice* geraet = aus.device();
    if (!geraet) {
        aus << pfad << '\n';
        return;
    }
    const QByteArray zeile = PfadAlsBytes(pfad) + '\n';
    if (geraet->write(zeile) != zeile.size())
        aus.setStatus(QTextStream::WriteFailed);
    if (auto* datei = qobject_cast<QFileDevice*>(geraet); datei && !datei->flush())
        aus.setStatus(QTextStream::WriteFailed);
}

bool SchreibeInOrdner(TFreieNamen& namen, TMZFDatei& datei, QTextStream& aus) {
    QString name = BereinigeDateiname(datei.HoleMZDateiName());
    if (name.isEmpty())
        name = QStringLiteral("unnamed");
    const QString pfad = namen.Naechster(name);
    if (!datei.Speichern(pfad))
        return false;
    SchreibePfadZeile(aus, pfad);
    return true;
}
