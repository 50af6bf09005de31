// The body as a dump: 8 bytes a line with the MZ address, the bytes in hexadecimal and the bytes
// as MZ characters. Built in one buffer sized for the largest line form, since the main window
// rebuilds it at every refresh.
#include "MZFDatei.h"

namespace {
constexpr int BytesJeZeile = 8;
constexpr int MaxZeilenLaenge = 49; // a line with a five-digit address
constexpr int ZeilenEndeLaenge = 2; // CR LF
constexpr char16_t HexZiffern[] = u"0123456789ABCDEF";
constexpr std::uint32_t VierStellenGrenze = 0x10000;

class TZeilenSchreiber {
public:
    explicit TZeilenSchreiber(QChar* ziel) : m_anfang(ziel), m_pos(ziel) {}

    void Zeichen(char16_t c) { *m_pos++ = QChar(c); }
    void Leer(int anzahl) {
        for (int i = 0; i < anzahl; ++i)
            Zeichen(u' ');
    }
    void Byte(std::uint8_t b) {
        Zeichen(u'$');
        Zeichen(HexZiffern[b >> 4]);
        Zeichen(HexZiffern[b & 0x0F]);
    }
    // Addresses past 0xFFFF keep counting and so print with five digits.
    void Adresse(std::uint32_t adresse) {
        Zeichen(u'$');
        const int stellen = adresse >= VierStellenGrenze ? 5 : 4;
        for (int s = stellen - 1; s >= 0; --s)
            Zeichen(HexZiffern[(adresse >> (4 * s)) & 0x0F]);
    }
    void MZText(const std::uint8_t* bytes, int anzahl) {
        for (int i = 0; i < anzahl; ++i)
            *m_pos++ = TMZFDatei::MZZeichenNachAnsi(bytes[i]);
    }
    void ZeilenEnde() {
        if (m_pos != m_anfang) {
            Zeichen(u'\r');
            Zeichen(u'\n');
        }
    }
    qsizetype Laenge() const { return m_pos - m_anfang; }

private:
    QChar* m_anfang;
    QChar* m_pos;
};
} // namespace

QString TMZFDatei::HoleMZDateiRumpfText() const {
    const int groesse = HoleMZDateiGroesse();
    if (!m_geladen || groesse == 0)
        return QString();
    const std::uint32_t ladeAdresse = HoleMZLadeAdresse();
    const int volleZeilen = groesse / BytesJeZeile;
    const int rest = groesse % BytesJeZeile;
    const int zeilen = volleZeilen + (rest ? 1 : 0);

    QString text(static_cast<qsizetype>(zeilen) * (MaxZeilenLaenge + ZeilenEndeLaenge), Qt::Uninitialized);
    TZeilenSchreiber s(text.data());
    const std::uint8_t* rumpf = m_rumpf.data();
    for (int z = 0; z < volleZeilen; ++z) {
        const int offset = z * BytesJeZeile;
        s.ZeilenEnde();
        s.Adresse(ladeAdresse + offset);
        s.Leer(1);
        for (int i = 0; i < BytesJeZeile; ++i) {
            s.Leer(1);
            s.Byte(rumpf[offset + i]);
        }
        s.Leer(2);
        s.MZText(rumpf + offset, BytesJeZeile);
    }
    if (rest) {
        const int offset = volleZeilen * BytesJeZeile;
        s.ZeilenEnde();
        s.Adresse(ladeAdresse + offset);
        s.Leer(2);
        for (int i = 0; i < rest; ++i) {
            s.Byte(rumpf[offset + i]);
            s.Leer(1);
        }
        s.Leer(4 * (BytesJeZeile - rest));
        s.Leer(1);
        s.MZText(rumpf + offset, rest);
        s.Leer(BytesJeZeile - rest);
    }
    text.truncate(s.Laenge());
    return text;
}
