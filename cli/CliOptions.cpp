#include "cli/CliOptions.h"

#include "cli/CliCommands.h"

namespace brx::cli {

namespace {

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

bool applyValueFlag(CliOptions& o, const QString& flag, const QString& value, QString& error) {
    if (flag == QLatin1String("-s")) {
        const auto size = parseSize(value);
        if (!size) {
            error = QStringLiteral("-s takes a size in bytes (suffix K, M or G allowed): ") + value;
            return false;
        }
        o.volumeSize = *size;
    } else if (flag == QLatin1String("-d")) {
        o.dest = value;
    } else if (flag == QLatin1String("-x")) {
        o.excludes.append(value);
    } else if (flag == QLatin1String("-P")) {
        o.password = value;
        o.passwordGiven = true;
    } else if (flag == QLatin1String("-l")) {
        bool ok = false;
        o.level = value.toInt(&ok);
        if (!ok || o.level < 0 || o.level > 9) {
            error = QStringLiteral("level must be a digit from 0 to 9: ") + value;
            return false;
        }
    } else {
        return applySfxFlag(o, flag, value, error);
    }
    return true;
}

void applySwitch(CliOptions& o, const QString& flag) {
    const std::pair<const char*, bool CliOptions::*> switches[] = {
        {"-r", &CliOptions::recurse},
        {"-j", &CliOptions::junkPaths},
        {"-u", &CliOptions::update},
        {"-f", &CliOptions::freshen},
        {"-m", &CliOptions::move},
        {"-o", &CliOptions::overwrite},
        {"--no-hidden", &CliOptions::noHidden},
    };
    for (const auto& [name, member] : switches)
        if (flag == QLatin1String(name)) o.*member = true;
}

bool checkOperands(const CliCommand& command, const CliOptions& o, QString& error) {
    if (o.archive.isEmpty()) {
        error = QStringLiteral("no archive given");
        return false;
    }
    if (o.specs.size() < command.minSpecs) {
        error = command.name == QLatin1String("span")
                    ? QStringLiteral("span needs the archive and the name of the first volume")
                    : QStringLiteral("no file pattern given");
        return false;
    }
    if (command.maxSpecs >= 0 && o.specs.size() > command.maxSpecs) {
        error = QStringLiteral("unexpected argument: ") + o.specs.at(command.maxSpecs);
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
    const CliCommand* command = findCommand(o.command);
    if (!command) {
        error = QStringLiteral("unknown command: ") + o.command;
        return std::nullopt;
    }
    bool operandsOnly = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!operandsOnly && arg == QLatin1String("--")) {
            operandsOnly = true;
        } else if (!operandsOnly && arg.size() > 1 && arg.startsWith(QLatin1Char('-'))) {
            const bool takesValue = command->flags.contains(arg + QLatin1Char(':'));
            if (!takesValue && !command->flags.contains(arg)) {
                error = QStringLiteral("unknown option for %1: %2").arg(o.command, arg);
                return std::nullopt;
            }
            if (!takesValue) {
                applySwitch(o, arg);
            } else if (i + 1 >= args.size()) {
                error = QStringLiteral("option %1 needs a value").arg(arg);
                return std::nullopt;
            } else if (!applyValueFlag(o, arg, args[++i], error)) {
                return std::nullopt;
            }
        } else if (o.archive.isEmpty()) {
            o.archive = arg;
        } else {
            o.specs.append(arg);
        }
    }
    if (!checkOperands(*command, o, error)) return std::nullopt;
    return o;
}

} // namespace brx::cli
