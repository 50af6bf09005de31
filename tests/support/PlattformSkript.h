// Scripted binding of the platform layer for tests: questions take queued answers, file dialogs
// queued paths; every message box is logged with its kind and text. A question or a file dialog
// with nothing queued fails the test.
#pragma once

#include "Plattform.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

struct TGezeigteNachricht {
    TNachrichtArt art;
    QString text;
    bool frage = false;
    bool mitAbbrechen = false;
};

// Thrown by BeendeSofort so that a test can see that the program would have ended.
struct TProzessBeendet {
    int status;
};

class TPlattformSkript : public TPlattform {
public:
    // Installs itself; the destructor puts back the binding it replaced.
    TPlattformSkript();
    ~TPlattformSkript() override;

    void ZeigeNachricht(TNachrichtArt art, const QString& text) override;
    TAntwort Frage(TNachrichtArt art, const QString& text, bool mitAbbrechen) override;
    std::optional<QString> DateiDialogZeigen(const TDateiDialog& dialog) override;
    QStringList DateienDialogZeigen(const TDateiDialog& dialog) override;
    void SanduhrAn() override;
    void SanduhrAus() override;
    void VerarbeiteEreignisse() override;
    void OeffneAdresse(const QString& adresse) override;
    [[noreturn]] void BeendeSofort(int status) override;

    // Script
    void Antworte(TAntwort antwort) { antworten.push_back(antwort); }
    void WaehleDatei(const QString& pfad) { dateien.push_back(QStringList(pfad)); }
    // Several files chosen at once, for a dialog that takes several.
    void WaehleDateien(const QStringList& pfade) { dateien.push_back(pfade); }
    void BrichDateiDialogAb() { dateien.push_back(std::nullopt); }
    // Called when a message box is shown (after logging), e.g. to look at the screen meanwhile.
    std::function<void(const TGezeigteNachricht&)> beiNachricht;

    // What happened
    QList<TGezeigteNachricht> nachrichten;
    QList<TDateiDialog> dialoge;
    QList<bool> dialogeMehrfach; // per dialog: whether it took several files
    QStringList adressen;
    int sanduhrTiefe = 0;  // current depth; 0 when every hourglass was restored
    int sanduhrAnzahl = 0; // how often it was switched on
    int ereignisseVerarbeitet = 0;

    // Texts of all messages of one kind (or all) in order.
    QStringList Texte() const;
    QStringList Fehler() const;
    void Leeren();

    std::deque<TAntwort> antworten;
    std::deque<std::optional<QStringList>> dateien;

private:
    std::optional<QStringList> NaechsteDateien(const TDateiDialog& dialog, bool mehrere);
    TPlattform* m_vorher;
};

// Breaks the settings store while a file dialog is open, so that storing its directory fails.
class TPlattformSkriptMitKaputtemSpeicher : public TPlattformSkript {
public:
    std::optional<QString> DateiDialogZeigen(const TDateiDialog& dialog) override;
    QStringList DateienDialogZeigen(const TDateiDialog& dialog) override;
};
