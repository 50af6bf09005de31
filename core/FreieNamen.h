// The names extract writes to: DIR/NAME.mzf, or when that is taken DIR/NAME-2.mzf, NAME-3.mzf,
// and so on. A tape may hold thousands of files of one name; the numbers already found taken are
// remembered per name, so that each file costs one look at the folder, not one for every file
// of its name before it.
#pragma once

#include <QDir>
#include <QHash>
#include <QString>
#include <functional>

class TFreieNamen {
public:
    // Answers whether a path is taken (by a file, a folder, a link).
    using TBelegt = std::function<bool(const QString& pfad)>;

    TFreieNamen(const QString& ordner, TBelegt belegt);
    // The first free path for the cleaned MZ name `name`. The caller writes it, so it counts as
    // taken from now on.
    QString Naechster(const QString& name);

private:
    QDir m_ordner;
    TBelegt m_belegt;
    QHash<QString, int> m_naechsteNummer; // per name: the first number not known to be taken
};

class QTextStream;
class TMZFDatei;

// Whether a name in the target folder is taken: also by a link whose target is missing, since
// saving would write through it to wherever it points.
bool PfadIstBelegt(const QString& pfad);
// A path on a line of its own, as the bytes the system knows it by: a byte of a name that is
// not UTF-8 goes out as that byte, so that a script can open what it reads. (A stream on a
// string, in the tests, keeps the text.)
void SchreibePfadZeile(QTextStream& aus, const QString& pfad);
// Saves the MZ file as the next free DIR/<cleaned MZ name>.mzf ("unnamed" for a name of nothing
// a file name may hold) and prints its path; false after the record's message when it cannot.
bool SchreibeInOrdner(TFreieNamen& namen, TMZFDatei& datei, QTextStream& aus);
