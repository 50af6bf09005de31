// What the command line prints of MZ files: the header in lines or as JSON, the body as text, a
// list of files in columns.
#include "Anzeige.h"

#include "DateiBefund.h"
#include "Entpacken.h"
#include "Ganzzahl.h"
#include "SprachenTexte.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <utility>

namespace {
// Width of the name column of `list`: the longest MZ name.
constexpr int NamensSpalte = TMZFDatei::NameMaxZeichen;

QString HexUndDezimal(unsigned wert) {
    return QStringLiteral("%1 (%2)").arg(HexMitDollar(wert, 4)).arg(wert);
}

} // namespace

void ZeigeKopf(const TMZFDatei& datei, QTextStream& aus) {
    const std::uint8_t attribut = datei.HoleMZDateiAttribut();
    const std::pair<QString, QString> zeilen[] = {
        {QStringLiteral("FormHaupt_LabelMZDateiAttribut"),
         QStringLiteral("%1 (%2)").arg(HexMitDollar(attribut, 2),
                                       TMZFDatei::HoleMZDateiAttributText(attribut))},
        {QStringLiteral("FormHaupt_LabelMZDateiName"), datei.HoleMZDateiName()},
        {QStringLiteral("FormHaupt_LabelMZDateiGroesse"), HexUndDezimal(datei.HoleMZDateiGroesse())},
        {QStringLiteral("FormHaupt_LabelMZLadeAdresse"), HexUndDezimal(datei.HoleMZLadeAdresse())},
        {QStringLiteral("FormHaupt_LabelMZStartAdresse"), HexUndDezimal(datei.HoleMZStartAdresse())},
        {QStringLiteral("FormHaupt_LabelMZKommentar"), datei.HoleMZKommentar()},
    };
    qsizetype breite = 0;
    for (const auto& [key, wert] : zeilen)
        breite = std::max(breite, HoleText(key).size() + 1);
    for (const auto& [key, wert] : zeilen)
        aus << (HoleText(key) + QLatin1Char(':')).leftJustified(breite + 1) << wert << '\n';
}

QJsonObject KopfAlsJson(const TMZFDatei& datei) {
    const std::uint8_t attribut = datei.HoleMZDateiAttribut();
    QJsonObject o;
    o.insert(QStringLiteral("attribute"), attribut);
    o.insert(QStringLiteral("attributeText"), TMZFDatei::HoleMZDateiAttributText(attribut));
    o.insert(QStringLiteral("name"), datei.HoleMZDateiName());
    o.insert(QStringLiteral("size"), datei.HoleMZDateiGroesse());
    o.insert(QStringLiteral("load"), datei.HoleMZLadeAdresse());
    o.insert(QStringLiteral("start"), datei.HoleMZStartAdresse());
    o.insert(QStringLiteral("comment"), datei.HoleMZKommentar());
    return o;
}

void ZeigeRumpf(const TMZFDatei& datei, QTextStream& aus) {
    QString text = datei.HoleMZDateiRumpfText();
    if (text.isEmpty())
        return;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    aus << text << '\n';
}

// One line per file: attribute, name, size, load and start address, in columns.
void ZeigeListe(const std::vector<std::unique_ptr<TMZFDatei>>& dateien, bool json, QTextStream& aus) {
    if (json) {
        QJsonArray liste;
        for (const auto& d : dateien) {
            QJsonObject o = KopfAlsJson(*d);
            ZustandAlsJson(d->HoleBefund(), o);
            liste.append(o);
        }
        aus << QString::fromUtf8(QJsonDocument(liste).toJson(QJsonDocument::Compact)) << '\n';
        return;
    }
    // A file not recovered whole from a worn tape says so after its columns; every other line
    // stays as it always was.
    for (const auto& d : dateien) {
        aus << HexMitDollar(d->HoleMZDateiAttribut(), 2) << "  "
            << d->HoleMZDateiName().leftJustified(NamensSpalte) << "  "
            << QStringLiteral("%1").arg(d->HoleMZDateiGroesse(), 5) << "  "
            << HexMitDollar(d->HoleMZLadeAdresse(), 4) << "  " << HexMitDollar(d->HoleMZStartAdresse(), 4);
        if (const QString zustand = ZustandText(d->HoleBefund()); !zustand.isEmpty())
            aus << "  " << zustand;
        aus << '\n';
    }
}
