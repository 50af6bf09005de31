// One MZ file, the unit a Sharp MZ stores on tape: a 128-byte header and a body of up to 65,535
// bytes. The header is held as the raw bytes a file or a tape carries, in this order:
//   offset  0      1 byte   attribute (file type)
//   offset  1     17 bytes  name in MZ character codes, ends at the first 0x0D
//   offset 18      2 bytes  body size, little-endian
//   offset 20      2 bytes  load address, little-endian
//   offset 22      2 bytes  start address, little-endian
//   offset 24    104 bytes  comment in MZ character codes, ends at the first 0x0D
// Every conversion (MZF, tape bit text, MZT, WAV) is an operation of the record. File operations
// report their own failures through the platform layer and return false; nothing is thrown.
#pragma once

#include "BandEinstellungen.h"
#include "BandFehler.h"
#include "DateiBefund.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What the tape parser meets on its way through a bit text, for a caller who tells the user where
// a tape is damaged. Positions count pulses from 1; `kopie` is 1 or 2. Each may be unassigned.
struct TTonbandBeobachter {
    // A long mark ends here; a header follows.
    std::function<void(std::int64_t position)> beiLangerMarke;
    // A copy of the header starting here was read; `kopf` holds its 128 bytes when all of them
    // could be read (else nullptr), `gut` whether its checksum agrees.
    std::function<void(std::int64_t position, int kopie, const std::uint8_t* kopf, bool gut)> beiKopf;
    // A short mark ends here; a body follows.
    std::function<void(std::int64_t position)> beiKurzerMarke;
    std::function<void(std::int64_t position, int kopie, bool gut)> beiRumpf;
};

// Something that reading every MZ file of a source passed over, to be told to the user.
struct TUebersprungenes {
    enum class TArt {
        AbgeschnittenerDatensatz, // an MZF record whose body the file cuts short
        RestBytes,                // bytes after the last record, too few for a header
        BeschaedigterKopf,        // a tape header whose copies both failed their checksum
        BeschaedigterRumpf,       // a file whose header was read but whose body failed twice
        ZuVieleDateien,           // everything after the most files one source may give
        Weitere,                  // more places than are told one by one: `laenge` of them
        // a recording: a file whose marks and body the extended decoding found, its header read
        // like none (garbled beyond what names a file)
        UnlesbarerKopf,
    };
    TArt art;
    QString name;    // the MZ file's name, where its header could be read
    qint64 position; // where it starts: byte offset in the file
    qint64 laenge;   // its length in bytes, where known (else 0)
    // A file whose body failed: its header as a pass read it whole (else empty). Another recording
    // of the tape that gives the file tells it by this.
    QByteArray kopf = {};
    // On a recording: where the file's long mark begins, in seconds (-1: not told), and of several
    // recordings read as one tape, the name of the one meant (else empty).
    double sekunde = -1.0;
    QString aufnahme = {};
};

class TMZFDatei {
public:
    static constexpr int KopfGroesse = 128;
    static constexpr int MaxRumpfGroesse = 65535;
    static constexpr int NameLaenge = 17;       // name bytes, terminator included
    static constexpr int NameMaxZeichen = 16;   // characters shown and set
    static constexpr int KommentarLaenge = 104; // comment bytes, terminator included
    static constexpr int KommentarMaxZeichen = 103;
    static constexpr int OffsetAttribut = 0;
    static constexpr int OffsetName = 1;
    static constexpr int OffsetGroesse = 18;
    static constexpr int OffsetLadeAdresse = 20;
    static constexpr int OffsetStartAdresse = 22;
    static constexpr int OffsetKommentar = 24;
    static constexpr std::uint8_t Ende = 0x0D; // ends names and comments, pads them too
    // A tape mark: this many long pulses, as many short ones, then a long one; the long mark comes
    // before a header, the short one before a body.
    static constexpr int LangeMarkeImpulse = 40;
    static constexpr int KurzeMarkeImpulse = 20;
    // Short pulses between a block's stop bit and its copy, in the full format.
    static constexpr int KopieLueckeImpulse = 256;

    using TEreignis = std::function<void(TMZFDatei* sender)>;
    using TFortschrittEreignis = std::function<void(TMZFDatei* sender, double prozent)>;
    // Chooses one of several MZ files found in one source: the index, or -1 to cancel.
    using TAuswahl = std::function<int(const std::vector<std::unique_ptr<TMZFDatei>>& dateien)>;

    // Raised by the long operations (WAV export and import); each may be unassigned.
    TEreignis BeiBeginn;
    TFortschrittEreignis BeiFortschritt;
    TEreignis BeiEnde;

    TMZFDatei();
    static std::unique_ptr<TMZFDatei> CreateKopie(const TMZFDatei& pv_mzfDatei);
    TMZFDatei(const TMZFDatei&) = delete;
    TMZFDatei& operator=(const TMZFDatei&) = delete;

    // State
    bool IstGeladen() const { return m_geladen; }
    bool IstGeaendert() const { return m_geladen && m_geaendert; }
    QString HoleDateiPfad() const;
    void Schliessen() { m_geladen = false; }

    // Header fields; getters give neutral values and setters do nothing while nothing is loaded.
    std::uint8_t HoleMZDateiAttribut() const;
    void SetzeMZDateiAttribut(std::uint8_t attribut);
    QString HoleMZDateiName() const;
    void SetzeMZDateiName(const QString& name);
    std::uint16_t HoleMZDateiGroesse() const;
    std::uint16_t HoleMZLadeAdresse() const;
    void SetzeMZLadeAdresse(std::uint16_t adresse);
    std::uint16_t HoleMZStartAdresse() const;
    void SetzeMZStartAdresse(std::uint16_t adresse);
    QString HoleMZKommentar() const;
    void SetzeMZKommentar(const QString& kommentar);
    // The body as a dump, 8 bytes a line; empty when nothing is loaded or the body is empty.
    QString HoleMZDateiRumpfText() const;

    // Copy and compare
    void KopiereVon(const TMZFDatei& pv_mzfDatei);
    bool IstGleich(const TMZFDatei& pv_mzfDatei) const;

    // The name a header of 128 bytes carries, as HoleMZDateiName shows it.
    static QString NameAusKopf(const std::uint8_t* kopf);
    // Whether 128 bytes look like a header: a file type (no MZ file type is 0, while a tape image
    // begins with its leader of 0x00 bytes) and a name of one to sixteen characters, no control
    // codes, ended by 0x0D. Random bytes pass this about once in six hundred tries.
    static bool IstPlausiblerKopf(const std::uint8_t* kopf);
    // Attribute name from the catalogue, "Unknown" for values it does not name.
    static QString HoleMZDateiAttributText(std::uint8_t attribut);

    // MZ character set
    static QChar MZZeichenNachAnsi(std::uint8_t mzCode);
    static std::uint8_t AnsiNachMZZeichen(QChar zeichen);
    static bool IstMZZeichen(QChar zeichen);

    // MZF files
    bool Laden(const QString& pv_dateiName);
    bool Speichern(const QString& pv_dateiName);

    // Tape bit text: one character per pulse, '1' long, '0' short; the leaders of the settings'
    // MZ model, in their full or shortened format.
    std::string ErzeugeTonbandBits(const TBandEinstellungen& pv_einstellungen) const;
    // The bit text of a tape that holds this file and then each of pv_weitere, saved one after
    // another as a machine saves them in turn: each file with its own leading gap.
    std::string ErzeugeBandBits(const TBandEinstellungen& pv_einstellungen,
                                const std::vector<const TMZFDatei*>& pv_weitere) const;
    // Positions count from 1, as in the bit text's description; pv_ende is the last character used.
    bool LeseAusTonbandBits(std::string_view pv_bits, int pv_start, bool pv_fortschrittMelden,
                            double pv_fortschritt, int& pv_ende,
                            const TTonbandBeobachter* pv_beobachter = nullptr);
    std::uint16_t PruefsummeKopf() const;
    std::uint16_t PruefsummeRumpf() const;
    static std::string ByteAlsBits(std::uint8_t byte);
    static int AnzahlEinsBits(std::uint8_t byte);
    static bool SucheMuster(std::string_view text, std::string_view muster, int& position);
    static bool LeseByteAusBits(std::string_view text, int position, std::uint8_t& byte);

    // MZT files: the tape image, or MZF records back to back. Several MZ files in one MZT file
    // are offered through pv_auswahl; without one, the first is imported, as from a tape.
    bool ImportMZT(const QString& pv_dateiName, const TAuswahl& pv_auswahl = {});
    // The tape image of this file, followed by the files of pv_weitere: the full format, with the
    // leaders of the settings' MZ model.
    bool ExportMZT(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                   const std::vector<const TMZFDatei*>& pv_weitere = {});
    // ".mzt" files in the wild are often MZF records back to back (header, body, header, body...):
    // the records, each loaded and changed and without a path, when the bytes are such records
    // as a whole: every header plausible (a file type, a name of characters ended by 0x0D), the
    // records tiling the bytes, only the last one possibly cut short (then skipped and told in
    // pv_uebersprungen). Anything else gives no record at all.
    static std::vector<std::unique_ptr<TMZFDatei>>
    LeseMZFDatensaetze(const QByteArray& daten, std::vector<TUebersprungenes>* pv_uebersprungen = nullptr);
    // Every MZ file an MZT file holds, each loaded, changed and without a path: the files of a
    // tape image in tape order (a file found twice is listed once), else its MZF records. The
    // file is read to the end of its data, whatever size the system reports (a pipe has none).
    // What was passed over goes to pv_uebersprungen. Shows its own failure and returns false
    // when the file cannot be read or holds no MZ file.
    static bool LeseAlleAusMZT(const QString& pv_dateiName,
                               std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                               std::vector<TUebersprungenes>* pv_uebersprungen = nullptr);

    // WAV recording that a real MZ loads from its tape input (this file, then those of pv_weitere),
    // with the tape settings given: model, sample rate, polarity and tape format.
    bool ExportWAV(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                   const std::vector<const TMZFDatei*>& pv_weitere = {});
    // The same with the settings as they stand at this moment: the tape format read from the
    // store, model, sample rate and polarity as the settings hold them in memory.
    bool ExportWAV(const QString& pv_dateiName, const std::vector<const TMZFDatei*>& pv_weitere = {});
    // A recording of a cassette: decoded in the passes of the settings' MZ model (both
    // polarities, and for the MZ-700 both sampling delays), with their extended decoding or
    // without; a single MZ file found is taken into the record, several are offered through
    // pv_auswahl (the main window's selection dialog), whose choice is taken. Without pv_auswahl
    // nothing happens but the message of an invalid parameter.
    bool ImportWAV(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                   const TAuswahl& pv_auswahl);
    // Several recordings of one tape: a file on several of them is one file, put together from
    // all their copies.
    bool ImportWAV(const QStringList& pv_dateiNamen, const TBandEinstellungen& pv_einstellungen,
                   const TAuswahl& pv_auswahl);
    // Every distinct MZ file of a recording, as ImportWAV finds them, for the command line: the
    // events run as in ImportWAV, what was passed over goes to pv_uebersprungen; this record is
    // empty afterwards. Shows its own failure and returns false when none is found, and then sets
    // *pv_keineGefunden when the recording was read whole but held none.
    bool LeseAlleAusWAV(const QString& pv_dateiName, const TBandEinstellungen& pv_einstellungen,
                        std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                        std::vector<TUebersprungenes>* pv_uebersprungen = nullptr,
                        bool* pv_keineGefunden = nullptr);
    bool LeseAlleAusWAV(const QStringList& pv_dateiNamen, const TBandEinstellungen& pv_einstellungen,
                        std::vector<std::unique_ptr<TMZFDatei>>& pv_dateien,
                        std::vector<TUebersprungenes>* pv_uebersprungen = nullptr,
                        bool* pv_keineGefunden = nullptr);

    // Whether the last ImportWAV read its recordings whole and found no file in them.
    bool LetzterImportFandNichts() const { return m_nichtsGefunden; }

    // How the file came back from a recording: intact, repaired, or damaged with the bytes that
    // are not sure (only the extended decoding ever tells anything but intact).
    const TDateiBefund& HoleBefund() const { return m_befund; }
    void SetzeBefund(const TDateiBefund& pv_befund) { m_befund = pv_befund; }

    // Raw access for the file formats, the command line and tests: the header, and the body of
    // as many bytes as the header's size field says.
    const std::array<std::uint8_t, KopfGroesse>& Kopf() const { return m_kopf; }
    const std::uint8_t* Rumpf() const { return m_rumpf.data(); }
    // Takes a file read elsewhere (a tape, a recording) into the record: loaded, changed, without
    // a path. The body must be as long as the header's size field says.
    void Uebernimm(const std::array<std::uint8_t, KopfGroesse>& kopf, const std::vector<std::uint8_t>& rumpf);

private:
    // The passes of a WAV import: the files found, distinct, in the order of first discovery.
    // Raises BeiFortschritt only; shows nothing, a failure is returned.
    TBandFehler DekodiereWAV(const QStringList& pv_dateiNamen, const TBandEinstellungen& pv_einstellungen,
                             std::vector<std::unique_ptr<TMZFDatei>>& pv_gefunden,
                             std::vector<TUebersprungenes>* pv_uebersprungen);
    // ExportWAV with the settings given, or (nullptr) those the settings hold at this moment.
    bool ExportiereWAV(const QString& pv_dateiName, const TBandEinstellungen* pv_einstellungen,
                       const std::vector<const TMZFDatei*>& pv_weitere);
    void RaiseFortschritt(double prozent) {
        if (BeiFortschritt)
            BeiFortschritt(this, prozent);
    }

    bool m_geladen = false;
    bool m_geaendert = false;
    QString m_dateiPfad;
    std::array<std::uint8_t, KopfGroesse> m_kopf{};
    std::vector<std::uint8_t> m_rumpf; // as many bytes as the header's size field says
    TDateiBefund m_befund;
    bool m_nichtsGefunden = false;
};

// Replaces each character a file name may not hold (\ / : * ? " | < >) by "_".
QString BereinigeDateiname(const QString& text);
// Size of the file the path names; 0 when nothing matches.
qint64 HoleDateiGroesse(const QString& pfad);
