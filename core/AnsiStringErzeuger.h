// String builder for long byte texts (tape bit texts of over a million characters, the body
// view): a buffer and the number of characters in use. When an append does not fit, the buffer
// grows by the appended length plus 50,000 characters, so appending one character at a time
// stays cheap.
#pragma once

#include <string>
#include <string_view>

class TAnsiStringErzeuger {
public:
    static constexpr std::size_t Zuwachs = 50000;

    TAnsiStringErzeuger() = default;
    // The contents become exactly the given text; the empty text clears.
    void Zuweisen(std::string_view text);
    void Anhaengen(std::string_view text);
    void Anhaengen(char zeichen);
    std::size_t Laenge() const { return m_laenge; }
    std::string HoleErgebnis() const { return std::string(m_puffer.data(), m_laenge); }
    // The text in use without a copy; valid until the next change.
    std::string_view Ansicht() const { return std::string_view(m_puffer.data(), m_laenge); }
    std::size_t Kapazitaet() const { return m_puffer.size(); }
    // Room for at least this many characters in all, when the length is known in advance.
    void Reservieren(std::size_t laenge) {
        if (laenge > m_puffer.size())
            m_puffer.resize(laenge);
    }

private:
    void Platz(std::size_t zusaetzlich);
    std::string m_puffer;
    std::size_t m_laenge = 0;
};
