#include "AnsiStringErzeuger.h"

void TAnsiStringErzeuger::Platz(std::size_t zusaetzlich) {
    if (m_laenge + zusaetzlich > m_puffer.size())
        m_puffer.resize(m_puffer.size() + zusaetzlich + Zuwachs);
}

void TAnsiStringErzeuger::Zuweisen(std::string_view text) {
    m_laenge = 0;
    Anhaengen(text);
}

void TAnsiStringErzeuger::Anhaengen(std::string_view text) {
    Platz(text.size());
    text.copy(m_puffer.data() + m_laenge, text.size());
    m_laenge += text.size();
}

void TAnsiStringErzeuger::Anhaengen(char zeichen) {
    Platz(1);
    m_puffer[m_laenge++] = zeichen;
}
