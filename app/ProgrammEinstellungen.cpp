#include "ProgrammEinstellungen.h"

#include "EinstellungsDatei.h"
#include "Plattform.h"
#include "SprachenTexte.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QSettings>
#include <limits>
#include <optional>

namespace {
// Value names in the store.
const QString WertSprache = QStringLiteral("Sprache");
const QString WertHaftung = QStringLiteral("HaftungsAusschlussAkzeptiert");
const QString WertXPos = QStringLiteral("FormHauptXPos");
const QString WertYPos = QStringLiteral("FormHauptYPos");
const QString WertRandLinks = QStringLiteral("FormHauptRandLinks");
const QString WertRandOben = QStringLiteral("FormHauptRandOben");
const QString WertBreite = QStringLiteral("FormHauptBreite");
const QString WertHoehe = QStringLiteral("FormHauptHoehe");
const QString WertVerzMZF = QStringLiteral("VerzeichnisMZFDateien");
const QString WertVerzWAV = QStringLiteral("VerzeichnisWAVDateien");
const QString WertVerzMZT = QStringLiteral("VerzeichnisMZTDateien");
const QString WertModell = QStringLiteral("ImportExportMZModell");
const QString WertVerkuerzt = QStringLiteral("ExportWAVVerkuerztesMZTonbandFormat");
const QString WertSampleRate = QStringLiteral("ExportWAVSampleRate");
const QString WertInvertiert = QStringLiteral("ExportWAVInvertiertePolaritaet");
const QString WertErweitert = QStringLiteral("ImportErweiterteDekodierung");
const QString WertAudioAusgabe = QStringLiteral("TonbandAusgabeGeraet");
const QString WertAudioEingabe = QStringLiteral("TonbandEingabeGeraet");

struct TImSpeicher {
    quint8 modell = MZ80K;
    quint16 sampleRate = StandardSampleRate;
    bool invertiert = false;
};
TImSpeicher g_speicher;

// The registry keeps a type with each value; the INI file of the other platforms keeps none, so
// there an integer is whatever text reads as one.
#ifdef Q_OS_WIN
constexpr bool SpeicherKenntTypen = true;
#else
constexpr bool SpeicherKenntTypen = false;
#endif
// Where QSettings keeps the store in an INI file of its own, the program writes that file itself;
// the registry and the preferences of macOS are written by QSettings.
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
constexpr bool SpeicherIstIniDatei = false;
#else
constexpr bool SpeicherIstIniDatei = true;
#endif
const QString Gruppe = QStringLiteral("V2.4");
// How long a write waits for another Bandwerk that writes the file at the same moment.
constexpr int SperreWartezeitMs = 2000;

bool IstGanzzahlTyp(int typ) {
    return typ == QMetaType::Int || typ == QMetaType::UInt || typ == QMetaType::LongLong ||
           typ == QMetaType::ULongLong;
}

// QSettings reads the file again only when its size or time has changed since it last read it: a
// write within the same tick of the file system's clock moves the time on, so that it is seen.
void RueckeZeitVor(const QString& datei, const QDateTime& vorher) {
    if (!vorher.isValid() || QFileInfo(datei).lastModified() > vorher)
        return;
    QFile f(datei);
    if (f.open(QIODevice::ReadWrite))
        f.setFileTime(vorher.addMSecs(1), QFileDevice::FileModificationTime);
}

// The values go into the file as it stands; the new file replaces the old one only when it is
// complete. QSettings itself would keep the values of a failed write and retry them at every later
// access, and would take a write that the system cut short for a success.
void SchreibeIniDatei(const QString& datei, const TEinstellungsWerte& werte) {
    QLockFile sperre(datei + QStringLiteral(".lock"));
    // A lock that cannot be had (another program keeps it, or the folder is closed) does not stop
    // the write: its own failure, if any, tells the reason.
    sperre.tryLock(SperreWartezeitMs);
    QByteArray inhalt;
    QFile alt(datei);
    if (alt.exists()) {
        if (!alt.open(QIODevice::ReadOnly))
            throw TEinstellungenFehler();
        inhalt = alt.readAll();
        if (alt.error() != QFileDevice::NoError)
            throw TEinstellungenFehler();
    }
    const QDateTime vorher = QFileInfo(datei).lastModified();
    QString grund;
    if (!SchreibeDateiGanz(datei, SetzeIniWerte(inhalt, Gruppe, werte), grund))
        throw TEinstellungenFehler(datei, grund);
    RueckeZeitVor(datei, vorher);
}

// The settings key, opened for one operation: QSettings on the user's store, group "V2.4".
// Like the registry key it is created on demand, by reading operations as well.
class TSchluessel {
public:
    TSchluessel()
        : m_s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Feldmark"),
              QStringLiteral("Bandwerk")) {
        if (m_s.status() != QSettings::NoError)
            throw TEinstellungenFehler();
        if (!SpeicherKenntTypen && !QDir().mkpath(QFileInfo(m_s.fileName()).absolutePath()))
            throw TEinstellungenFehler();
        m_s.beginGroup(Gruppe);
    }

    // Strings: an empty value counts as missing, so does a value of another type.
    std::optional<QString> Text(const QString& name) const {
        const QVariant v = m_s.value(name);
        if (!v.isValid() || v.typeId() != QMetaType::QString)
            return std::nullopt;
        const QString t = v.toString();
        if (t.isEmpty())
            return std::nullopt;
        return t;
    }
    // 32-bit integers: anything that does not read as one counts as missing.
    std::optional<qint32> Zahl(const QString& name) const {
        const QVariant v = m_s.value(name);
        if (!v.isValid())
            return std::nullopt;
        bool ok = false;
        qint64 z = 0;
        if (IstGanzzahlTyp(v.typeId()))
            z = v.toLongLong(&ok);
        else if (!SpeicherKenntTypen && v.typeId() == QMetaType::QString)
            z = v.toString().trimmed().toLongLong(&ok);
        if (!ok || z < std::numeric_limits<qint32>::min() || z > std::numeric_limits<qint32>::max())
            return std::nullopt;
        return static_cast<qint32>(z);
    }
    // Writes at once; a failed write raises the store's error.
    void Schreibe(const TEinstellungsWerte& werte) {
        if constexpr (SpeicherIstIniDatei) {
            SchreibeIniDatei(m_s.fileName(), werte);
        } else {
            for (const auto& [name, wert] : werte)
                m_s.setValue(name, wert);
            m_s.sync();
            if (m_s.status() != QSettings::NoError)
                throw TEinstellungenFehler();
        }
    }

private:
    QSettings m_s;
};

// The tape code indexes its tables with the model; an index outside them means MZ-80K, as the
// name "?" that the store would hold for it reads back.
quint8 GueltigesModell(quint8 modellIndex) {
    return modellIndex < AnzahlMZModelle ? modellIndex : quint8{MZ80K};
}

QString Verzeichnis(const QString& name) {
    TSchluessel k;
    return k.Text(name).value_or(QDir::currentPath());
}

void SchreibeWerte(const TEinstellungsWerte& werte) {
    TSanduhr sanduhr;
    TSchluessel k;
    k.Schreibe(werte);
}
} // namespace

namespace {
// Both languages in one fixed text, since the catalogue may not be filled yet; it names the store
// as the user finds it on this system.
std::string SpeicherFehlerText() {
#ifdef Q_OS_WIN
    return "Error opening the windows-registry / Fehler beim Öffnen der Windows-Registry";
#else
    const QString ort = QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Feldmark"),
                                  QStringLiteral("Bandwerk"))
                            .fileName();
    return QStringLiteral("Error opening the settings file %1 / Fehler beim Öffnen der Einstellungsdatei %1")
        .arg(ort)
        .toStdString();
#endif
}
} // namespace

TEinstellungenFehler::TEinstellungenFehler() : std::runtime_error(SpeicherFehlerText()) {}
TEinstellungenFehler::TEinstellungenFehler(const QString& datei, const QString& grund)
    : std::runtime_error(
          QStringLiteral("Error writing the settings file %1: %2").arg(datei, grund).toStdString()),
      m_datei(datei), m_grund(grund) {}
QString TEinstellungenFehler::Text() const {
    if (m_datei.isEmpty())
        return QString::fromUtf8(what());
    return HoleTextMitParametern(QStringLiteral("Fehler_DateiSchreiben"), QDir::toNativeSeparators(m_datei),
                                 m_grund);
}

bool StandardSpracheIstEnglisch() {
    return QLocale::system().language() != QLocale::German;
}

void LadeEinstellungen() {
    TSanduhr sanduhr;
    TSchluessel k;
    const auto modell = k.Text(WertModell);
    g_speicher.modell = static_cast<quint8>(modell ? MZModellIndex(*modell) : 0);
    const auto rate = k.Zahl(WertSampleRate);
    // Out of the range the settings dialog allows counts as missing: a stored 0 would write a
    // WAV header of 0 Hz.
    g_speicher.sampleRate = (rate && *rate >= MinSampleRate && *rate <= MaxSampleRate)
                                ? static_cast<quint16>(*rate)
                                : StandardSampleRate;
    g_speicher.invertiert = k.Zahl(WertInvertiert).value_or(0) != 0;
}

bool LiesSprache() {
    TSchluessel k;
    const auto sprache = k.Text(WertSprache);
    if (!sprache)
        return StandardSpracheIstEnglisch();
    return *sprache != QLatin1String("D");
}

void SchreibeSprache(bool englisch) {
    SchreibeWerte({{WertSprache, englisch ? QStringLiteral("E") : QStringLiteral("D")}});
}

bool LiesHaftungsAusschlussAkzeptiert() {
    TSchluessel k;
    return k.Zahl(WertHaftung).value_or(0) != 0;
}

void SchreibeHaftungsAusschlussAkzeptiert(bool akzeptiert) {
    SchreibeWerte({{WertHaftung, akzeptiert ? 1 : 0}});
}

void LiesFormHauptPosition(int& x, int& y) {
    TSchluessel k;
    const auto px = k.Zahl(WertXPos);
    const auto py = k.Zahl(WertYPos);
    if (px && py) {
        x = static_cast<int>(*px);
        y = static_cast<int>(*py);
    } else {
        x = 0;
        y = 0;
    }
}

void SchreibeFormHauptPosition(int x, int y) {
    SchreibeWerte({{WertXPos, x}, {WertYPos, y}});
}

namespace {
// Two integers stored together, each within its range; nothing when either is missing or out of it.
std::optional<std::pair<int, int>> Paar(const QString& a, const QString& b, int min, int max) {
    TSchluessel k;
    const auto wa = k.Zahl(a);
    const auto wb = k.Zahl(b);
    if (!wa || !wb || *wa < min || *wa > max || *wb < min || *wb > max)
        return std::nullopt;
    return std::pair<int, int>{*wa, *wb};
}
} // namespace

std::optional<QPoint> LiesFormHauptRand() {
    const auto rand = Paar(WertRandLinks, WertRandOben, 0, MaxFensterRand);
    return rand ? std::optional<QPoint>(QPoint(rand->first, rand->second)) : std::nullopt;
}

std::optional<QSize> LiesFormHauptGroesse() {
    const auto groesse = Paar(WertBreite, WertHoehe, 1, MaxFensterGroesse);
    return groesse ? std::optional<QSize>(QSize(groesse->first, groesse->second)) : std::nullopt;
}

void SchreibeFormHauptLage(int x, int y, QPoint rand, QSize groesse) {
    SchreibeWerte({{WertXPos, x},
                   {WertYPos, y},
                   {WertRandLinks, rand.x()},
                   {WertRandOben, rand.y()},
                   {WertBreite, groesse.width()},
                   {WertHoehe, groesse.height()}});
}

QString LiesVerzeichnisMZFDateien() {
    return Verzeichnis(WertVerzMZF);
}
QString LiesVerzeichnisWAVDateien() {
    return Verzeichnis(WertVerzWAV);
}
QString LiesVerzeichnisMZTDateien() {
    return Verzeichnis(WertVerzMZT);
}
void SchreibeVerzeichnisMZFDateien(const QString& v) {
    SchreibeWerte({{WertVerzMZF, v}});
}
void SchreibeVerzeichnisWAVDateien(const QString& v) {
    SchreibeWerte({{WertVerzWAV, v}});
}
void SchreibeVerzeichnisMZTDateien(const QString& v) {
    SchreibeWerte({{WertVerzMZT, v}});
}

bool LiesExportWAVVerkuerztesMZTonbandFormat() {
    TSchluessel k;
    return k.Zahl(WertVerkuerzt).value_or(0) != 0;
}

void SchreibeImportExportEinstellungen(quint8 modellIndex, bool verkuerzt, quint16 sampleRate,
                                       bool invertiert) {
    SchreibeWerte({{WertModell, MZModellName(modellIndex)},
                   {WertVerkuerzt, verkuerzt ? 1 : 0},
                   {WertSampleRate, static_cast<int>(sampleRate)},
                   {WertInvertiert, invertiert ? 1 : 0}});
    g_speicher.modell = GueltigesModell(modellIndex);
    g_speicher.sampleRate = sampleRate;
    g_speicher.invertiert = invertiert;
}

void SchreibeDialogEinstellungen(bool englisch, quint8 modellIndex, bool verkuerzt, quint16 sampleRate,
                                 bool invertiert, bool erweitert,
                                 const std::optional<std::pair<QString, QString>>& audioGeraete) {
    TEinstellungsWerte werte{{WertSprache, englisch ? QStringLiteral("E") : QStringLiteral("D")},
                             {WertModell, MZModellName(modellIndex)},
                             {WertVerkuerzt, verkuerzt ? 1 : 0},
                             {WertSampleRate, static_cast<int>(sampleRate)},
                             {WertInvertiert, invertiert ? 1 : 0},
                             {WertErweitert, erweitert ? 1 : 0}};
    if (audioGeraete) {
        werte.push_back({WertAudioAusgabe, audioGeraete->first});
        werte.push_back({WertAudioEingabe, audioGeraete->second});
    }
    SchreibeWerte(werte);
    g_speicher.modell = GueltigesModell(modellIndex);
    g_speicher.sampleRate = sampleRate;
    g_speicher.invertiert = invertiert;
}

bool LiesImportErweiterteDekodierung() {
    TSchluessel k;
    return k.Zahl(WertErweitert).value_or(0) != 0;
}

void SchreibeImportErweiterteDekodierung(bool erweitert) {
    SchreibeWerte({{WertErweitert, erweitert ? 1 : 0}});
}

QString LiesAudioGeraet(bool ausgabe) {
    TSchluessel k;
    return k.Text(ausgabe ? WertAudioAusgabe : WertAudioEingabe).value_or(QString());
}

void SchreibeAudioGeraete(const QString& ausgabe, const QString& eingabe) {
    SchreibeWerte({{WertAudioAusgabe, ausgabe}, {WertAudioEingabe, eingabe}});
}

quint8 HoleImportExportMZModell() {
    return g_speicher.modell;
}
quint16 HoleExportWAVSampleRate() {
    return g_speicher.sampleRate;
}
bool HoleExportWAVInvertiertePolaritaet() {
    return g_speicher.invertiert;
}
