// Desktop binding of the platform layer: Qt message boxes and file dialogs, the override cursor
// as hourglass, the desktop services for addresses.
#pragma once

#include "Plattform.h"

class TPlattformDesktop : public TPlattform {
public:
    ~TPlattformDesktop() override;
    void ZeigeNachricht(TNachrichtArt art, const QString& text) override;
    TAntwort Frage(TNachrichtArt art, const QString& text, bool mitAbbrechen) override;
    std::optional<QString> DateiDialogZeigen(const TDateiDialog& dialog) override;
    void SanduhrAn() override;
    void SanduhrAus() override;
    void VerarbeiteEreignisse() override;
    void OeffneAdresse(const QString& adresse) override;
    [[noreturn]] void BeendeSofort(int status) override;

private:
    int m_sanduhren = 0; // override cursors set by this binding and not yet restored
};
