#include "cli/CliOptions.h"

#include <QSet>

namespace brx::cli {

namespace {

// Flags each command accepts; those followed by a value end with ':'.
const QHash<QString, QStringList>& commandFlags() {
    static const QHash<QString, QStringList> flags{
        {QStringLiteral("list"), {}},
        {QStringLiteral("add"), {"-r", "-j", "-l:", "-u", "-f", "-m", "-P:", "-x:"}},
        {QStringLiteral("extract"), {"-d:", "-j", "-o", "-u", "-f", "-P:"}},
        {QStringLiteral("test"), {"-P:"}},
        {QStringLiteral("delete"), {}},
        {QStringLiteral("sfx"),
         {"--caption:", "--dir:", "--message:", "--command:", "--icon:", "--options:",
          "--overwrite:"}},
        {QStringLiteral("unsfx"), {}},
        {QStringLiteral("span"), {"-s:"}},
    };
    return flags;
}

// "1000000", "1440k", "100M", "2G": bytes, with an optional binary suffix.
std::optional<qint64> parseSize(const QString& text) {
    static const QString kSuffixes = QStringLiteral("KMG");
    QString digits = text.trimmed();
    qint64 unit = 1;
    const int suffix = digits.isEmpty() ? -1 : kSuffixes.indexOf(digits.back().toUpper());
    if (suffix >= 0) {
        unit = qint64(1) << (10 * (suffix + 1));
        digits.chop(1);
    }
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    if (!ok || value <= 0 || value > (qint64(1) << 40) / unit) return std::nullopt;
    return value * unit;
}

bool applySfxFlag(CliOptions& o, const QString& flag, const QString& value, QString& error) {
    static const QStringList kOptionNames = {"askcmdline", "askfiles", "hideoverwritebox",
                                             "checksize",  "autorun",  "nosuccessmsg"};
    static const QStringList kModes = {"confirm", "always", "never"};
    if (flag == QLatin1String("--caption"))
        o.caption = value;
    else if (flag == QLatin1String("--dir"))
        o.defaultDir = value;
    else if (flag == QLatin1String("--message"))
        o.message = value;
    else if (flag == QLatin1String("--command"))
        o.commandLine = value;
    else if (flag == QLatin1String("--icon"))
        o.iconFile = value;
    else if (flag == QLatin1String("--overwrite")) {
        if (!kModes.contains(value)) {
            error = QStringLiteral("--overwrite takes confirm, always or never: ") + value;
            return false;
        }
        o.overwriteMode = value;
    } else if (flag == QLatin1String("--options")) {
        for (const QString& name : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (!kOptionNames.contains(name.trimmed().toLower())) {
                error = QStringLiteral("unknown self-extractor option: ") + name;
                return false;
            }
            o.sfxOptions.append(name.trimmed().toLower());
        }
    }
    return true;
}

bool applyFlag(CliOptions& o, const QString& flag, const QString& value, QString& error) {
    if (flag.startsWith(QLatin1String("--"))) return applySfxFlag(o, flag, value, error);
    if (flag == QLatin1String("-s")) {
        const auto size = parseSize(value);
        if (!size) {
            error = QStringLiteral("-s takes a size in bytes (suffix K, M or G allowed): ") + value;
            return false;
        }
        o.volumeSize = *size;
        return true;
    }
    if (flag == QLatin1String("-r"))
        o.recurse = true;
    else if (flag == QLatin1String("-j"))
        o.junkPaths = true;
    else if (flag == QLatin1String("-u"))
        o.update = true;
    else if (flag == QLatin1String("-f"))
        o.freshen = true;
    else if (flag == QLatin1String("-m"))
        o.move = true;
    else if (flag == QLatin1String("-o"))
        o.overwrite = true;
    else if (flag == QLatin1String("-d"))
        o.dest = value;
    else if (flag == QLatin1String("-x"))
        o.excludes.append(value);
    else if (flag == QLatin1String("-P")) {
        o.password = value;
        o.passwordGiven = true;
    } else if (flag == QLatin1String("-l")) {
        bool ok = false;
        o.level = value.toInt(&ok);
        if (!ok || o.level < 0 || o.level > 9) {
            error = QStringLiteral("level must be a digit from 0 to 9: ") + value;
            return false;
        }
    }
    return true;
}

bool checkOperands(const CliOptions& o, QString& error) {
    if (o.archive.isEmpty()) {
        error = QStringLiteral("no archive given");
        return false;
    }
    const bool needsSpecs =
        o.command == QLatin1String("add") || o.command == QLatin1String("delete");
    if (needsSpecs && o.specs.isEmpty()) {
        error = QStringLiteral("no file pattern given");
        return false;
    }
    if (o.command == QLatin1String("span") && o.specs.size() != 1) {
        error = QStringLiteral("span needs the archive and the name of the first volume");
        return false;
    }
    const bool takesSpecs =
        needsSpecs || o.command == QLatin1String("extract") || o.command == QLatin1String("span");
    if (!takesSpecs && !o.specs.isEmpty()) {
        error = QStringLiteral("unexpected argument: ") + o.specs.first();
        return false;
    }
    return true;
}

} // namespace

std::optional<CliOptions> parseCommandLine(const QStringList& args, QString& error) {
    CliOptions o;
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h")) {
        o.command = QStringLiteral("help");
        return o;
    }
    o.command = args.first();
    if (!commandFlags().contains(o.command)) {
        error = QStringLiteral("unknown command: ") + o.command;
        return std::nullopt;
    }
    const QStringList& flags = commandFlags()[o.command];
    bool operandsOnly = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!operandsOnly && arg == QLatin1String("--")) {
            operandsOnly = true;
        } else if (!operandsOnly && arg.size() > 1 && arg.startsWith(QLatin1Char('-'))) {
            const bool takesValue = flags.contains(arg + QLatin1Char(':'));
            if (!takesValue && !flags.contains(arg)) {
                error = QStringLiteral("unknown option for %1: %2").arg(o.command, arg);
                return std::nullopt;
            }
            if (takesValue && i + 1 >= args.size()) {
                error = QStringLiteral("option %1 needs a value").arg(arg);
                return std::nullopt;
            }
            if (!applyFlag(o, arg, takesValue ? args[++i] : QString(), error)) return std::nullopt;
        } else if (o.archive.isEmpty()) {
            o.archive = arg;
        } else {
            o.specs.append(arg);
        }
    }
    if (!checkOperands(o, error)) return std::nullopt;
    return o;
}

QString usageText() {
    return QStringLiteral(
        "Usage: brxzip COMMAND [OPTIONS] ARCHIVE [SPEC...]\n"
        "\n"
        "Commands:\n"
        "  list ARCHIVE\n"
        "      One line per entry, fields separated by tabs: stored name (\"/\"\n"
        "      separators), uncompressed size, compressed size, CRC-32 (8 lower-case\n"
        "      hexadecimal digits), modification time (YYYY-MM-DD HH:MM:SS), then E\n"
        "      when the entry is encrypted, else -.\n"
        "  add [-r] [-j] [-l LEVEL] [-u] [-f] [-m] [-P PASSWORD] [-x SPEC]... ARCHIVE SPEC...\n"
        "      Adds files to the archive (created when missing). SPECs are paths or\n"
        "      wildcards relative to the current folder.\n"
        "      -r  recurse into folders        -j  store names without their folders\n"
        "      -l  compression level 0-9 (default 6)\n"
        "      -u  update: only new or newer files   -f  freshen: only files already in\n"
        "      -m  move: delete the files once archived\n"
        "      -P  encrypt with PASSWORD       -x  leave out files matching SPEC\n"
        "  extract [-d DEST] [-j] [-o] [-u] [-f] [-P PASSWORD] ARCHIVE [SPEC...]\n"
        "      Extracts all entries, or those matching the SPECs, into DEST (default:\n"
        "      the current folder), with their stored paths unless -j. An existing\n"
        "      file is kept unless -o (overwrite); -u and -f as for add.\n"
        "  test [-P PASSWORD] ARCHIVE\n"
        "      Decompresses every entry and checks its CRC-32.\n"
        "  delete ARCHIVE SPEC...\n"
        "      Removes the entries matching the SPECs.\n"
        "  sfx [--caption T] [--dir D] [--message M] [--command C] [--icon FILE]\n"
        "      [--options LIST] [--overwrite confirm|always|never] ARCHIVE.zip\n"
        "      Turns ARCHIVE.zip into the self-extracting ARCHIVE.exe (the ZIP is\n"
        "      removed once the EXE checks out). D \"><\" means the user's temporary\n"
        "      folder; in C, \"><\" stands for the extraction folder. LIST is a comma\n"
        "      list of askcmdline, askfiles, hideoverwritebox, checksize, autorun,\n"
        "      nosuccessmsg (default: checksize). FILE is a .ico file.\n"
        "  unsfx ARCHIVE.exe\n"
        "      Turns a self-extracting ARCHIVE.exe back into ARCHIVE.zip.\n"
        "  span [-s SIZE] ARCHIVE.zip FIRSTVOLUME\n"
        "      Writes ARCHIVE.zip as a multi-volume set: on a fixed drive the files\n"
        "      FIRSTVOLUME with 001, 002, ... before the extension; on a removable\n"
        "      drive one file per disk. SIZE caps each volume (K, M, G suffixes).\n"
        "      list, test and extract given the last volume of a set read the whole set.\n"
        "  --help\n"
        "      This text.\n"
        "\n"
        "Messages go to standard error; progress too when it is a terminal.\n"
        "Nothing is ever asked: an encrypted entry needs -P.\n"
        "\n"
        "Exit status: 0 success; 1 some entries or files failed; 2 the archive\n"
        "cannot be read; 3 wrong command line; add and delete give 1 on failure.\n");
}

} // namespace brx::cli
