// Desktop binding of the platform layer: Qt message boxes and file dialogs, the override cursor
// as hourglass, the desktop services for addresses.
#pragma once

#include "Plattform.h"

// Qt's own texts (the buttons of message boxes, the file dialogs) in the catalogue's language,
// through Qt's translations of the system when they are installed; called whenever the windows
// apply their texts, so that a change of language reaches them too.
void WendeQtUebersetzungAn();

class TPlattformDesktop : public TPlattform {
public:
    ~TPlattformDesktop() override;
    void ZeigeNachricht(TNachrichtArt art, const QString& text) override;
    TAntwort Frage(TNachrichtArt art, const QString& text, bool mitAbbrechen) override;
    std::optional<QString> DateiDialogZeigen(const TDateiDialog& dialog) override;
    QStringList DateienDialogZeigen(const TDateiDialog& dialog) override;
    void SanduhrAn() override;
    void SanduhrAus() override;
    void VerarbeiteEreignisse() override;
    void OeffneAdresse(const QString& adresse) override;
    [[noreturn]] void BeendeSofort(int status) override;

private:
    int m_sanduhren = 0; // override cursors set by this binding and not yet restored
};
