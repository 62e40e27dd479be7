#include "cli/CliCommands.h"

#include "cli/CliArchiveCommands.h"
#include "cli/CliConvert.h"

namespace brx::cli {

const QList<CliCommand>& commandTable() {
    static const QList<CliCommand> table{
        {"list",
         {},
         0,
         0,
         &runList,
         "list ARCHIVE\n"
         "    One line per entry, fields separated by tabs: stored name (\"/\"\n"
         "    separators; control characters shown as \\x1b), uncompressed size,\n"
         "    compressed size, CRC-32 (8 lower-case hexadecimal digits), modification\n"
         "    time (YYYY-MM-DD HH:MM:SS), then E when the entry is encrypted, else -."},
        {"add",
         {"-r", "-j", "-l:", "-u", "-f", "-m", "-P:", "-x:", "--no-hidden"},
         1,
         -1,
         &runAdd,
         "add [-r] [-j] [-l LEVEL] [-u] [-f] [-m] [-P PASSWORD] [-x SPEC]... [--no-hidden]\n"
         "    ARCHIVE SPEC...\n"
         "    Adds files to the archive (created when missing or empty). SPECs are\n"
         "    paths or wildcards relative to the current folder. Hidden files and\n"
         "    folders (names starting with \".\") are added like the others.\n"
         "    -r  recurse into folders        -j  store names without their folders\n"
         "    -l  compression level 0-9 (default 6)\n"
         "    -u  update: only new or newer files   -f  freshen: only files already in\n"
         "    -m  move: delete the files once archived\n"
         "    -P  encrypt with PASSWORD       -x  leave out files matching SPEC\n"
         "    --no-hidden  leave out hidden files and folders\n"
         "    With -u or -f, nothing newer is not an error: the archive stays as it is."},
        {"extract",
         {"-d:", "-j", "-o", "-u", "-f", "-P:"},
         0,
         -1,
         &runExtract,
         "extract [-d DEST] [-j] [-o] [-u] [-f] [-P PASSWORD] ARCHIVE [SPEC...]\n"
         "    Extracts all entries, or those matching the SPECs, into DEST (default:\n"
         "    the current folder), with their stored paths unless -j. An existing\n"
         "    file, or one extracted earlier in the same run under the same name, is\n"
         "    kept unless -o (overwrite); each one kept or replaced is reported.\n"
         "    -u and -f as for add."},
        {"test",
         {"-P:"},
         0,
         0,
         &runTest,
         "test [-P PASSWORD] ARCHIVE\n"
         "    Decompresses every entry and checks its CRC-32."},
        {"delete",
         {},
         1,
         -1,
         &runDelete,
         "delete ARCHIVE SPEC...\n"
         "    Removes the entries matching the SPECs. When none matches, says so and\n"
         "    leaves the archive as it is."},
        {"sfx",
         {"--caption:", "--dir:", "--message:", "--command:", "--icon:", "--options:",
          "--overwrite:"},
         0,
         0,
         &runSfx,
         "sfx [--caption T] [--dir D] [--message M] [--command C] [--icon FILE]\n"
         "    [--options LIST] [--overwrite confirm|always|never] ARCHIVE.zip\n"
         "    Turns ARCHIVE.zip into the self-extracting ARCHIVE.exe (the ZIP is\n"
         "    deleted once the EXE checks out). D \"><\" means the user's temporary\n"
         "    folder; in C, \"><\" stands for the extraction folder. LIST is a comma\n"
         "    list of askcmdline, askfiles, hideoverwritebox, checksize, autorun,\n"
         "    nosuccessmsg (default: checksize). FILE is a .ico file. A volume of a\n"
         "    multi-volume set cannot be made self-extracting."},
        {"unsfx",
         {},
         0,
         0,
         &runUnsfx,
         "unsfx ARCHIVE.exe\n"
         "    Turns a self-extracting ARCHIVE.exe back into ARCHIVE.zip (the EXE is\n"
         "    deleted once the ZIP checks out)."},
        {"span",
         {"-s:", "-o"},
         1,
         1,
         &runSpan,
         "span [-s SIZE] [-o] ARCHIVE.zip FIRSTVOLUME\n"
         "    Writes ARCHIVE.zip as a multi-volume set. On a fixed disk it writes\n"
         "    numbered files: FIRSTVOLUME with 001, 002, ... before the extension. On\n"
         "    a removable disk it writes one file per disk and asks for each disk on\n"
         "    the terminal. SIZE caps each volume (K, M, G suffixes); a volume holds\n"
         "    at least 65536 bytes. Volumes of an earlier set are replaced after a\n"
         "    question on the terminal, or with -o. list, test and extract given\n"
         "    the last volume of a set read the whole set."},
    };
    return table;
}

const CliCommand* findCommand(const QString& name) {
    for (const CliCommand& command : commandTable())
        if (command.name == name) return &command;
    return nullptr;
}

QString usageText() {
    QString text =
        QStringLiteral("Usage: brxzip COMMAND [OPTIONS] ARCHIVE [SPEC...]\n\nCommands:\n");
    for (const CliCommand& command : commandTable()) {
        for (const QString& line : command.usage.split(QLatin1Char('\n')))
            text += QStringLiteral("  ") + line + QLatin1Char('\n');
    }
    text += QStringLiteral(
        "  --help\n"
        "    This text.\n"
        "\n"
        "Messages go to standard error, each naming the archive; progress too when\n"
        "it is a terminal. Nothing is asked but by span on a terminal: an encrypted\n"
        "entry needs -P. Files replaced or converted are deleted for good, not moved\n"
        "to the trash.\n"
        "\n"
        "Exit status: 0 success, also when there was nothing to do; 1 some entries or\n"
        "files failed, a password was missing or wrong, or the command failed; 2 the\n"
        "archive cannot be read; 3 wrong command line.\n");
    return text;
}

} // namespace brx::cli
