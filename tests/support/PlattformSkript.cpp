#include "PlattformSkript.h"

#include "TestUmgebung.h"

#include <gtest/gtest.h>

TPlattformSkript::TPlattformSkript() : m_vorher(SetzePlattform(this)) {}

TPlattformSkript::~TPlattformSkript() {
    SetzePlattform(m_vorher);
    EXPECT_TRUE(antworten.empty()) << "queued answers were not asked for";
    EXPECT_TRUE(dateien.empty()) << "queued file dialog results were not asked for";
    EXPECT_EQ(sanduhrTiefe, 0) << "hourglass not restored";
}

void TPlattformSkript::ZeigeNachricht(TNachrichtArt art, const QString& text) {
    nachrichten.append({art, text, false, false});
    if (beiNachricht)
        beiNachricht(nachrichten.last());
}

TAntwort TPlattformSkript::Frage(TNachrichtArt art, const QString& text, bool mitAbbrechen) {
    nachrichten.append({art, text, true, mitAbbrechen});
    if (beiNachricht)
        beiNachricht(nachrichten.last());
    if (antworten.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return mitAbbrechen ? TAntwort::Abbrechen : TAntwort::Nein;
    }
    const TAntwort a = antworten.front();
    antworten.pop_front();
    return a;
}

std::optional<QStringList> TPlattformSkript::NaechsteDateien(const TDateiDialog& dialog, bool mehrere) {
    dialoge.append(dialog);
    dialogeMehrfach.append(mehrere);
    if (dateien.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << dialog.titel.toStdString();
        return std::nullopt;
    }
    std::optional<QStringList> gewaehlt = dateien.front();
    dateien.pop_front();
    if (gewaehlt && gewaehlt->size() != 1 && !mehrere)
        ADD_FAILURE() << "several files queued for a dialog of one: " << dialog.titel.toStdString();
    return gewaehlt;
}

std::optional<QString> TPlattformSkript::DateiDialogZeigen(const TDateiDialog& dialog) {
    const std::optional<QStringList> gewaehlt = NaechsteDateien(dialog, false);
    if (!gewaehlt || gewaehlt->isEmpty())
        return std::nullopt;
    return gewaehlt->first();
}

QStringList TPlattformSkript::DateienDialogZeigen(const TDateiDialog& dialog) {
    return NaechsteDateien(dialog, true).value_or(QStringList());
}

void TPlattformSkript::SanduhrAn() {
    ++sanduhrTiefe;
    ++sanduhrAnzahl;
}

void TPlattformSkript::SanduhrAus() {
    EXPECT_GT(sanduhrTiefe, 0) << "hourglass restored more often than set";
    --sanduhrTiefe;
}

void TPlattformSkript::VerarbeiteEreignisse() {
    ++ereignisseVerarbeitet;
}

void TPlattformSkript::OeffneAdresse(const QString& adresse) {
    adressen << adresse;
}

void TPlattformSkript::BeendeSofort(int status) {
    throw TProzessBeendet{status};
}

QStringList TPlattformSkript::Texte() const {
    QStringList t;
    for (const auto& n : nachrichten)
        t << n.text;
    return t;
}

QStringList TPlattformSkript::Fehler() const {
    QStringList t;
    for (const auto& n : nachrichten)
        if (n.art == TNachrichtArt::Fehler)
            t << n.text;
    return t;
}

void TPlattformSkript::Leeren() {
    nachrichten.clear();
    dialoge.clear();
    dialogeMehrfach.clear();
    adressen.clear();
}

std::optional<QString> TPlattformSkriptMitKaputtemSpeicher::DateiDialogZeigen(const TDateiDialog& dialog) {
    EinstellungsSpeicherZerstoeren();
    return TPlattformSkript::DateiDialogZeigen(dialog);
}

QStringList TPlattformSkriptMitKaputtemSpeicher::DateienDialogZeigen(const TDateiDialog& dialog) {
    EinstellungsSpeicherZerstoeren();
    return TPlattformSkript::DateienDialogZeigen(dialog);
}
