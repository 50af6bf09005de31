#include "BasicListe.h"

#include "BasicTabellen.h"
#include "Ganzzahl.h"
#include "LittleEndian.h"
#include "MZFDatei.h"
#include "SprachenTexte.h"

#include <cmath>

namespace {
constexpr int ZeilenKopf = 4; // first word and line number
constexpr std::uint16_t ProgrammEnde = 0x0000;
constexpr std::uint8_t EndeSBasic = 0x00;
constexpr std::uint8_t EndeMZ80 = 0x0D;
constexpr std::uint8_t Anfuehrung = 0x22;
constexpr std::uint8_t Doppelpunkt = 0x3A;
constexpr std::uint8_t Hochkomma = 0x27; // starts a comment in MZ-800 BASIC
constexpr std::uint8_t MZ800Else = 0xC2;

// S-BASIC keeps numbers in binary behind a prefix byte 0x01..0x1F.
constexpr std::uint8_t ZahlPraefixLetzter = 0x1F;
constexpr std::uint8_t ZifferLetzte = 0x0A; // 0x01..0x0A: the digits 0 to 9
constexpr std::uint8_t ZeilenNummer = 0x0B;
constexpr std::uint8_t ZeilenAdresse = 0x0C; // a line number the running interpreter resolved
constexpr std::uint8_t Ganzzahl16 = 0x12;
constexpr std::uint8_t Gleitkomma = 0x15;
constexpr std::uint8_t UnbekannteZahlErste = 0x16; // meaning unknown; (byte & 0x0F) bytes follow
constexpr int WortBytes = 2;
constexpr int GleitkommaBytes = 5;
constexpr int GleitkommaExponentBasis = 0x80;
constexpr int MantissenBits = 32;
constexpr std::uint8_t Vorzeichen = 0x80;
// 8 significant digits reproduce the constants of the real programs; how the machine itself
// writes 0.5 (".5" or "0.5") and the exponent form is not known, so C's %.8G style is used.
constexpr int GleitkommaStellen = 8;

// Load addresses the interpreters save from.
constexpr std::uint16_t LadeAdresseMZ700 = 0x6BCF;
constexpr std::uint16_t LadeAdresseMZ80A = 0x505C;
constexpr std::uint8_t AttributMZ80Basic = 0x02;
constexpr std::uint8_t SA5510Statement = 0x80;
constexpr std::uint8_t SA5510LetzterStatement = 0xC9;

// MZ characters the project's table has none for, but which a listing must show.
constexpr std::uint8_t MZPi = 0xFF;
constexpr std::uint8_t MZYen = 0x7D;
constexpr std::uint8_t MZPfund = 0xFB;
constexpr char16_t PiZeichen = 0x03C0;
constexpr char16_t YenZeichen = 0x00A5;
constexpr char16_t PfundZeichen = 0x00A3;
constexpr std::uint8_t MZFragezeichen = 0x3F;

struct TDialektInfo {
    const char* name;
    const char* kurzname;
};
const TDialektInfo DialektInfos[AnzahlBasicDialekte] = {
    {"MZ-700 S-BASIC 1Z-013B", "mz700"},
    {"MZ-800 S-BASIC 1Z-016", "mz800"},
    {"MZ-80K BASIC SP-5025", "mz80k"},
    {"MZ-80A BASIC SA-5510", "mz80a"},
};

bool IstSBasic(TBasicDialekt d) {
    return d == TBasicDialekt::MZ700 || d == TBasicDialekt::MZ800;
}

// A byte as the listing shows it. MZ codes without a character (control codes in strings,
// graphic characters) appear as {XX}, so that nothing of the program is hidden.
void HaengeZeichenAn(QString& zeile, std::uint8_t b) {
    switch (b) {
    case MZPi:
        zeile += QChar(PiZeichen);
        return;
    case MZYen:
        zeile += QChar(YenZeichen);
        return;
    case MZPfund:
        zeile += QChar(PfundZeichen);
        return;
    default:
        break;
    }
    const QChar c = TMZFDatei::MZZeichenNachAnsi(b);
    if (c == QLatin1Char('?') && b != MZFragezeichen)
        zeile += QLatin1Char('{') + HexZiffern(b, 2) + QLatin1Char('}');
    else
        zeile += c;
}

QString GleitkommaText(const std::uint8_t* p) {
    if (p[0] == 0)
        return QStringLiteral("0");
    const std::uint32_t mantisse = (static_cast<std::uint32_t>(p[1] | Vorzeichen) << 24) |
                                   (static_cast<std::uint32_t>(p[2]) << 16) |
                                   (static_cast<std::uint32_t>(p[3]) << 8) | p[4];
    const double wert =
        std::ldexp(static_cast<double>(mantisse), p[0] - GleitkommaExponentBasis - MantissenBits);
    const QString text = QString::number(wert, 'G', GleitkommaStellen);
    return (p[1] & Vorzeichen) ? QLatin1Char('-') + text : text;
}

// Reads a body line by line into the listing; every read is checked against what remains.
class TBasicLeser {
public:
    TBasicLeser(std::span<const std::uint8_t> rumpf, std::uint16_t ladeAdresse, TBasicListe& liste)
        : m_r(rumpf.data()), m_n(static_cast<int>(rumpf.size())), m_ladeAdresse(ladeAdresse),
          m_dialekt(liste.dialekt), m_tab(BasicTokens(liste.dialekt)), m_liste(liste),
          m_ende(IstSBasic(liste.dialekt) ? EndeSBasic : EndeMZ80) {}

    bool Lies();

private:
    std::uint16_t Wort(int pos) const { return LittleEndian::Lies16(m_r + pos); }
    bool Fehler(TBasicFehler::TArt art, int offset, int nummer = 0, int wert = 0) {
        m_liste.fehler = {art, offset, nummer, wert};
        return false;
    }
    void Unbekannt(QString& zeile, std::uint8_t b) {
        zeile += QLatin1Char('{') + HexZiffern(b, 2) + QLatin1Char('}');
        ++m_liste.unbekannte;
    }
    bool IstRoh(std::uint16_t token) const {
        for (std::uint16_t t : m_tab.rohTokens)
            if (t != 0 && t == token)
                return true;
        return false;
    }
    // Each answers the position after what it read, or -1 when the body ends first.
    int LiesText(int pos, QString& zeile);
    int LiesAnweisung(int pos, QString& zeile, bool& roh);
    int LiesToken(int pos, QString& zeile, bool& roh);
    int LiesZahl(int pos, QString& zeile);

    const std::uint8_t* m_r;
    int m_n;
    std::uint16_t m_ladeAdresse;
    TBasicDialekt m_dialekt;
    const TBasicTokenTabelle& m_tab;
    TBasicListe& m_liste;
    std::uint8_t m_ende;
};

bool TBasicLeser::Lies() {
    // SA-5510 links the lines by address; the interpreter rebuilds the links after loading, so
    // only the terminator tells where a line ends.
    const bool laengenWort = m_dialekt != TBasicDialekt::MZ80A;
    int pos = 0;
    int vorige = -1;
    for (;;) {
        if (pos + WortBytes > m_n)
            return Fehler(TBasicFehler::TArt::KeinEnde, pos);
        const std::uint16_t erstesWort = Wort(pos);
        if (erstesWort == ProgrammEnde)
            return true;
        if (pos + ZeilenKopf > m_n)
            return Fehler(TBasicFehler::TArt::ZeileUeberEnde, pos);
        const int nummer = Wort(pos + WortBytes);
        if (nummer <= vorige)
            return Fehler(TBasicFehler::TArt::Reihenfolge, pos, nummer, vorige);
        QString zeile = QString::number(nummer) + QLatin1Char(' ');
        const int ende = LiesText(pos + ZeilenKopf, zeile);
        if (ende < 0)
            return Fehler(TBasicFehler::TArt::ZeileUeberEnde, pos, nummer);
        if (laengenWort && erstesWort != ende + 1 - pos)
            return Fehler(TBasicFehler::TArt::LaengeFalsch, pos, nummer, erstesWort);
        m_liste.zeilen.append(zeile);
        vorige = nummer;
        pos = ende + 1;
    }
}

// Strings are copied as they stand; after REM, DATA (and the MZ-800's "'") the text is taken
// literally up to the next ":" outside quotes, which the tokeniser also stops at.
int TBasicLeser::LiesText(int pos, QString& zeile) {
    bool inString = false;
    bool roh = false;
    while (pos < m_n) {
        const std::uint8_t b = m_r[pos];
        if (b == m_ende)
            return pos;
        if (inString || b == Anfuehrung || (roh && b != Doppelpunkt)) {
            if (b == Anfuehrung)
                inString = !inString;
            HaengeZeichenAn(zeile, b);
            ++pos;
            continue;
        }
        roh = false;
        pos = LiesAnweisung(pos, zeile, roh);
        if (pos < 0)
            return -1;
    }
    return -1;
}

int TBasicLeser::LiesAnweisung(int pos, QString& zeile, bool& roh) {
    const std::uint8_t b = m_r[pos];
    if (IstSBasic(m_dialekt) && b <= ZahlPraefixLetzter)
        return LiesZahl(pos, zeile);
    if (m_dialekt == TBasicDialekt::MZ800) {
        if (b == Hochkomma) {
            HaengeZeichenAn(zeile, b);
            roh = true;
            return pos + 1;
        }
        // The tokeniser stores a ":" before ELSE and before a comment that the user never typed.
        if (b == Doppelpunkt && pos + 1 < m_n && (m_r[pos + 1] == MZ800Else || m_r[pos + 1] == Hochkomma))
            return pos + 1;
    }
    if (b >= TBasicTokenTabelle::ErsterToken && b <= m_tab.letzterToken)
        return LiesToken(pos, zeile, roh);
    HaengeZeichenAn(zeile, b);
    return pos + 1;
}

int TBasicLeser::LiesToken(int pos, QString& zeile, bool& roh) {
    const std::uint8_t b = m_r[pos];
    for (const TBasicTokenTabelle::TPraefix& praefix : m_tab.praefixe) {
        if (praefix.byte == 0 || praefix.byte != b)
            continue;
        if (pos + 1 >= m_n)
            return -1;
        const std::uint8_t zweites = m_r[pos + 1];
        // A prefix right before the terminator selects nothing; the line ends after it.
        if (zweites == m_ende) {
            Unbekannt(zeile, b);
            return pos + 1;
        }
        const int index = zweites - TBasicTokenTabelle::ErsterToken;
        const TSchluesselWort wort =
            praefix.tabelle && index >= 0 && index < TBasicTokenTabelle::ZweitesByteAnzahl
                ? (*praefix.tabelle)[index]
                : nullptr;
        if (wort) {
            zeile += QStringView(wort);
        } else {
            Unbekannt(zeile, b);
            zeile += QLatin1Char('{') + HexZiffern(zweites, 2) + QLatin1Char('}');
        }
        roh = IstRoh(static_cast<std::uint16_t>(b << 8 | zweites));
        return pos + 2;
    }
    const TSchluesselWort wort = (*m_tab.einByte)[b - TBasicTokenTabelle::ErsterToken];
    if (wort)
        zeile += QStringView(wort);
    else
        Unbekannt(zeile, b);
    roh = IstRoh(b);
    return pos + 1;
}

int TBasicLeser::LiesZahl(int pos, QString& zeile) {
    const std::uint8_t b = m_r[pos];
    if (b <= ZifferLetzte) {
        zeile += QChar(u'0' + (b - 1));
        return pos + 1;
    }
    const int operanden = b == Gleitkomma            ? GleitkommaBytes
                          : b >= UnbekannteZahlErste ? (b & 0x0F)
                                                     : WortBytes;
    if (pos + 1 + operanden > m_n)
        return -1;
    const std::uint8_t* p = m_r + pos + 1;
    switch (b) {
    case ZeilenNummer:
        zeile += QString::number(LittleEndian::Lies16(p));
        m_liste.verweise.push_back(LittleEndian::Lies16(p));
        break;
    case ZeilenAdresse: {
        // The address of the line; its number sits two bytes into it.
        const int offset = static_cast<std::uint16_t>(LittleEndian::Lies16(p) - m_ladeAdresse);
        if (offset + ZeilenKopf <= m_n) {
            const int nummer = Wort(offset + WortBytes);
            zeile += QString::number(nummer);
            m_liste.verweise.push_back(nummer);
        } else {
            Unbekannt(zeile, b);
        }
        break;
    }
    case Ganzzahl16:
        zeile += QString::number(LittleEndian::Lies16(p));
        break;
    case Gleitkomma:
        zeile += GleitkommaText(p);
        break;
    default:
        if (b >= UnbekannteZahlErste) {
            Unbekannt(zeile, b);
        } else {
            // Hexadecimal constant: leading zeros dropped, as the MZ-800 lists it; whether the
            // MZ-700 shows $0A3A or $A3A is not known.
            zeile += QLatin1Char('$') + QString::number(LittleEndian::Lies16(p), 16).toUpper();
        }
        break;
    }
    return pos + 1 + operanden;
}

// SA-5510 programs start with a two-byte statement, or carry a link address where the other
// dialects have a length.
bool SiehtNachMZ80AAus(std::span<const std::uint8_t> rumpf, std::uint16_t ladeAdresse) {
    const std::size_t n = rumpf.size();
    if (ladeAdresse == LadeAdresseMZ80A)
        return true;
    if (n >= ZeilenKopf + WortBytes && rumpf[ZeilenKopf] == SA5510Statement &&
        rumpf[ZeilenKopf + 1] >= SA5510Statement && rumpf[ZeilenKopf + 1] <= SA5510LetzterStatement)
        return true;
    return n >= WortBytes && LittleEndian::Lies16(rumpf.data()) > n;
}
} // namespace

QString BasicDialektName(TBasicDialekt pv_dialekt) {
    return QLatin1String(DialektInfos[static_cast<int>(pv_dialekt)].name);
}

QString BasicDialektKurzname(TBasicDialekt pv_dialekt) {
    return QLatin1String(DialektInfos[static_cast<int>(pv_dialekt)].kurzname);
}

std::optional<TBasicDialekt> BasicDialektAusKurzname(const QString& pv_name) {
    for (int d = 0; d < AnzahlBasicDialekte; ++d)
        if (pv_name.compare(QLatin1String(DialektInfos[d].kurzname), Qt::CaseInsensitive) == 0)
            return static_cast<TBasicDialekt>(d);
    return std::nullopt;
}

TBasicListe ListeBasic(std::span<const std::uint8_t> pv_rumpf, std::uint16_t pv_ladeAdresse,
                       TBasicDialekt pv_dialekt) {
    TBasicListe liste;
    liste.dialekt = pv_dialekt;
    TBasicLeser leser(pv_rumpf, pv_ladeAdresse, liste);
    liste.gueltig = leser.Lies();
    if (!liste.gueltig) {
        liste.zeilen.clear();
        liste.verweise.clear();
    }
    return liste;
}

TBasicDialekt ErkenneBasicDialekt(std::span<const std::uint8_t> pv_rumpf, std::uint8_t pv_attribut,
                                  std::uint16_t pv_ladeAdresse) {
    using D = TBasicDialekt;
    // MZ-700 or MZ-800: the MZ-700 saves from 0x6BCF (an MZ-800 in MZ-700 mode runs the MZ-700's
    // BASIC); otherwise the dialect whose tables leave fewer tokens unexplained.
    const TBasicListe mz700 = ListeBasic(pv_rumpf, pv_ladeAdresse, D::MZ700);
    const TBasicListe mz800 = ListeBasic(pv_rumpf, pv_ladeAdresse, D::MZ800);
    const bool eher800 =
        pv_ladeAdresse != LadeAdresseMZ700 && mz800.gueltig && mz800.unbekannte < mz700.unbekannte;
    const D sBasic[] = {eher800 ? D::MZ800 : D::MZ700, eher800 ? D::MZ700 : D::MZ800};
    const bool mz80a = SiehtNachMZ80AAus(pv_rumpf, pv_ladeAdresse);
    const D mz80[] = {mz80a ? D::MZ80A : D::MZ80K, mz80a ? D::MZ80K : D::MZ80A};

    // The attribute names the family; the terminators decide when the body says otherwise.
    const bool mz80Zuerst = pv_attribut == AttributMZ80Basic;
    const D reihenfolge[] = {mz80Zuerst ? mz80[0] : sBasic[0], mz80Zuerst ? mz80[1] : sBasic[1],
                             mz80Zuerst ? sBasic[0] : mz80[0], mz80Zuerst ? sBasic[1] : mz80[1]};
    for (D d : reihenfolge) {
        const bool gueltig = d == D::MZ700   ? mz700.gueltig
                             : d == D::MZ800 ? mz800.gueltig
                                             : ListeBasic(pv_rumpf, pv_ladeAdresse, d).gueltig;
        if (gueltig)
            return d;
    }
    return reihenfolge[0];
}

QString BasicFehlerText(const TBasicListe& pv_liste, std::uint16_t pv_ladeAdresse) {
    const TBasicFehler& f = pv_liste.fehler;
    // Where the line is, as the hex dump shows the address.
    const QString ort = HexMitDollar(pv_ladeAdresse + static_cast<std::uint32_t>(f.offset), 4);
    QString grund;
    switch (f.art) {
    case TBasicFehler::TArt::Keiner:
        return QString();
    case TBasicFehler::TArt::KeinEnde:
        grund = HoleTextMitParametern(QStringLiteral("BasicListe_GrundKeinEnde"), ort);
        break;
    case TBasicFehler::TArt::ZeileUeberEnde:
        grund = HoleTextMitParametern(QStringLiteral("BasicListe_GrundZeileUeberEnde"), ort);
        break;
    case TBasicFehler::TArt::LaengeFalsch:
        grund = HoleTextMitParametern(QStringLiteral("BasicListe_GrundLaengeFalsch"),
                                      QString::number(f.zeilenNummer), ort, QString::number(f.wert));
        break;
    case TBasicFehler::TArt::Reihenfolge:
        grund = HoleTextMitParametern(QStringLiteral("BasicListe_GrundReihenfolge"),
                                      QString::number(f.zeilenNummer), ort, QString::number(f.wert));
        break;
    }
    return HoleTextMitParametern(QStringLiteral("Fehler_BasicListe_KeinProgramm"),
                                 BasicDialektName(pv_liste.dialekt), grund);
}
