#include "Gebrauch.h"

#include "BasicListe.h"
#include "DateiArt.h"
#include "ProgrammEinstellungen.h"

#include <QStringList>

QString ModellListe() {
    QStringList namen;
    for (int m = 0; m < AnzahlMZModelle; ++m)
        namen << MZModellName(m);
    return namen.join(QStringLiteral(", "));
}

QString DialektListe() {
    QStringList namen;
    for (int d = 0; d < AnzahlBasicDialekte; ++d)
        namen << BasicDialektKurzname(static_cast<TBasicDialekt>(d));
    return namen.join(QStringLiteral(", "));
}

QString Gebrauch() {
    return QStringLiteral(
               "Usage: bandwerk-cli [OPTIONS] COMMAND ARGUMENTS\n"
               "\n"
               "Commands:\n"
               "  info FILE         show the MZ header of the MZ file that FILE holds\n"
               "  dump FILE         show the body of the MZ file that FILE holds as a hex dump\n"
               "  dump --basic FILE the body as a BASIC listing\n"
               "  dump --z80 FILE   the body as Z80 assembler text, from its load address\n"
               "  list FILE         one line for each MZ file that FILE holds; a file not read whole\n"
               "                    from a worn tape says so: repaired, or damaged with the number\n"
               "                    of its uncertain bytes\n"
               "  list A.wav B.wav...\n"
               "                    several recordings of one tape read as one: a file on several\n"
               "                    of them is put together from all their copies\n"
               "  convert IN OUT    convert an MZ file; the kinds follow the extensions (%1)\n"
               "  convert IN... OUT put several MZ files on one tape (OUT a .wav or .mzt file), one\n"
               "                    after another as a machine saves them in turn\n"
               "  extract IN... DIR write every MZ file that IN holds as DIR/NAME.mzf (several\n"
               "                    recordings of one tape: as list reads them); a damaged file\n"
               "                    only with --keep-damaged\n"
               "  scan FILE.wav     what the decoder sees on a recording, in recording order: tape\n"
               "                    marks, headers and bodies with their checksums, the tape speed;\n"
               "                    with --extended the rescue per block: which copy failed, what\n"
               "                    the merge did, which bytes stayed uncertain\n"
               "  scan --plot OUT FILE.wav\n"
               "                    draw the recording instead (OUT a .png or .svg file): waveform,\n"
               "                    marks, blocks coloured by their state, speed\n"
               "  play FILE...      play the MZ file(s) on the sound output, as a cassette would play\n"
               "                    them into an MZ's tape input (several: one after another)\n"
               "  record DIR        record a cassette from the sound input, decoding as it plays; each\n"
               "                    MZ file found is written as DIR/NAME.mzf at once (Ctrl+C stops)\n"
               "\n"
               "Options:\n"
               "  --lang de|en      language of the messages (default: the language Bandwerk uses)\n"
               "  --json            info, list: print the header(s) as JSON (list: with \"state\"\n"
               "                    where a file is not intact); scan: one JSON object per line\n"
               "  --rate HZ         WAV output and play: sample rate, %2 to %3 (default: the stored rate)\n"
               "  --short, --full   WAV output and play: shortened or full tape format (default: the\n"
               "                    stored format)\n"
               "  --inverted, --normal\n"
               "                    WAV output and play: inverted or normal polarity (default: the\n"
               "                    stored polarity)\n"
               "  --model MODEL     MZ model for decoding a recording and for MZT and WAV output,\n"
               "                    one of %4\n"
               "                    (default: the stored model); taken with any input\n"
               "  --extended, --standard\n"
               "                    decoding a recording: extended decoding (more WAV formats, worn\n"
               "                    tapes) or the standard one (default: the stored choice); taken\n"
               "                    with any input\n"
               "  --basic           dump: list the body as a BASIC program\n"
               "  --dialect NAME    dump --basic: the BASIC dialect, one of mz700 (MZ-700 S-BASIC\n"
               "                    1Z-013B), mz800 (MZ-800 S-BASIC 1Z-016), mz80k (MZ-80K BASIC\n"
               "                    SP-5025), mz80a (MZ-80A BASIC SA-5510) (default: detected from\n"
               "                    the file)\n"
               "  --z80             dump: disassemble the body as Z80 machine code\n"
               "  --offset N        dump --z80: where the code starts, in bytes into the body\n"
               "                    (decimal, or hexadecimal after $ or 0x; default 0); the bytes\n"
               "                    before it are listed as data\n"
               "  --device NAME     play, record: the sound device, by its name or description\n"
               "                    (default: the stored device, else the system's default)\n"
               "  --list-devices    play, record: list the sound devices (output and input, name and\n"
               "                    description) and do nothing else\n"
               "  --seconds N       record: stop after N seconds (default: when interrupted)\n"
               "  --keep-wav FILE   record: keep the whole recording as a WAV file\n"
               "  --keep-damaged    extract: write a damaged file too, as NAME.mzf with NAME.damage.json\n"
               "                    beside it: a JSON object with file, name, size, state,\n"
               "                    headerUncertain, uncertainBytes and ranges, each range with\n"
               "                    block, mzfStart, mzfEnd (offsets in the MZF file) and for the\n"
               "                    body bodyStart, bodyEnd (offsets in the body); ends excluded\n"
               "  --from SEC, --to SEC\n"
               "                    scan --plot: draw the recording from and to these seconds (default:\n"
               "                    all of it)\n"
               "  --help            show this text\n"
               "  --version         show the version\n"
               "  --                everything after it is a file name\n"
               "\n"
               "Exit status: 0 success, 1 failure (also when something was skipped), 2 usage error.\n")
        .arg(BekannteEndungen())
        .arg(MinSampleRate)
        .arg(MaxSampleRate)
        .arg(ModellListe());
}
