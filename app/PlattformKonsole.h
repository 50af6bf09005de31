// Console binding of the platform layer, for bandwerk-cli: messages go to standard error,
// every question is answered No, there is no cursor and no file dialog.
#pragma once

#include "Plattform.h"

#include <functional>

class TPlattformKonsole : public TPlattform {
public:
    // Runs before each message, so that a message starts on a line of its own (a progress bar
    // drawn on the terminal clears its line here); empty to remove it.
    static void SetzeVorNachricht(std::function<void()> vorNachricht);

    void ZeigeNachricht(TNachrichtArt art, const QString& text) override;
    TAntwort Frage(TNachrichtArt art, const QString& text, bool mitAbbrechen) override;
    std::optional<QString> DateiDialogZeigen(const TDateiDialog& dialog) override;
    void SanduhrAn() override {}
    void SanduhrAus() override {}
    void VerarbeiteEreignisse() override {}
    void OeffneAdresse(const QString& adresse) override;
    [[noreturn]] void BeendeSofort(int status) override;
};
