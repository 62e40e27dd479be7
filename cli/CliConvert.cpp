#include "cli/CliConvert.h"

#include "cli/CliArchiveCommands.h"
#include "cli/CliReport.h"
#include "cli/TerminalHost.h"
#include "engine/ZipEngine.h"
#include "engine/span/VolumeNames.h"
#include "platform/Volumes.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace brx::cli {

namespace {

SFXOpts sfxOptionsFrom(const QStringList& names) {
    SFXOpts options;
    if (names.contains(QLatin1String("askcmdline"))) options |= SFXAskCmdLine;
    if (names.contains(QLatin1String("askfiles"))) options |= SFXAskFiles;
    if (names.contains(QLatin1String("hideoverwritebox"))) options |= SFXHideOverWriteBox;
    if (names.contains(QLatin1String("checksize"))) options |= SFXCheckSize;
    if (names.contains(QLatin1String("autorun"))) options |= SFXAutoRun;
    if (names.contains(QLatin1String("nosuccessmsg"))) options |= SFXNoSuccessMsg;
    return options;
}

OvrOpts overwriteModeFrom(const QString& name) {
    if (name == QLatin1String("always")) return OvrAlways;
    if (name == QLatin1String("never")) return OvrNever;
    return OvrConfirm;
}

bool loadIcon(CliContext& c) {
    if (c.options.iconFile.isEmpty()) return true;
    QFile file(c.options.iconFile);
    if (!file.open(QIODevice::ReadOnly)) {
        c.report.say(QStringLiteral("cannot read the icon ") + c.options.iconFile + ": " +
                     file.errorString());
        return false;
    }
    c.engine.setSFXIcon(file.readAll());
    return true;
}

int reportConversion(CliContext& c, const QString& what) {
    const ZipOutcome& outcome = c.engine.LastOutcome();
    if (outcome.succeeded()) c.report.say(what + QStringLiteral(": ") + c.engine.ZipFileName());
    return c.report.finish(outcome);
}

bool onTerminal() {
    return isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
}

QString sizeText(qint64 bytes) {
    return QStringLiteral("%1 bytes").arg(bytes);
}

// Volume files of an earlier set under the names this set will use.
QStringList existingVolumes(const QString& firstVolume) {
    QStringList found;
    for (int n = 1; n < 1000; ++n) {
        const QString name = volumeFileNameForWrite(firstVolume, n);
        if (!QFileInfo::exists(name)) break;
        found.append(name);
    }
    return found;
}

// What span will do, said before it starts; false when it cannot start.
bool announceSpan(CliContext& c, const QString& firstVolume, DriveType type, int& status) {
    const qint64 minimum = c.engine.MinFreeVolumeSize();
    const qint64 size = c.options.volumeSize;
    status = ExitSomeFailed;
    if (size > 0 && size < minimum) {
        c.report.say(QStringLiteral("a volume must hold at least %1; -s %2 is too small")
                         .arg(sizeText(minimum), sizeText(size)));
        status = ExitUsage;
        return false;
    }
    const QString limit = size > 0 ? QStringLiteral("of at most %1 each").arg(sizeText(size))
                                   : QStringLiteral("as large as the free space allows");
    if (type == DriveType::Removable) {
        if (!onTerminal()) {
            c.report.say(QStringLiteral("%1 is on a removable disk: run span on a terminal to be "
                                        "asked for each disk")
                             .arg(firstVolume));
            return false;
        }
        c.report.say(QStringLiteral("writes one volume per removable disk as %1, %2 (at least "
                                    "%3 free on each disk); you will be asked for each disk")
                         .arg(firstVolume, limit, sizeText(minimum)));
        return true;
    }
    c.report.say(QStringLiteral("writes numbered files on a fixed disk: %1, %2, ... %3 (a "
                                "volume holds at least %4)")
                     .arg(volumeFileNameForWrite(firstVolume, 1),
                          volumeFileNameForWrite(firstVolume, 2), limit, sizeText(minimum)));
    const QStringList existing = existingVolumes(firstVolume);
    if (!existing.isEmpty() && !c.options.overwrite && !onTerminal()) {
        c.report.say(QStringLiteral("%1 already exists: give -o to replace the volumes of an "
                                    "earlier set")
                         .arg(existing.first()));
        return false;
    }
    return true;
}

} // namespace

int runSfx(CliContext& c) {
    if (int status = 0; !openArchive(c, status)) return status;
    const CliOptions& o = c.options;
    if (o.caption) c.engine.setSFXCaption(*o.caption);
    if (o.defaultDir) c.engine.setSFXDefaultDir(*o.defaultDir);
    if (o.message) c.engine.setSFXMessage(*o.message);
    if (o.commandLine) c.engine.setSFXCommandLine(*o.commandLine);
    if (!o.sfxOptions.isEmpty()) c.engine.setSFXOptions(sfxOptionsFrom(o.sfxOptions));
    if (!o.overwriteMode.isEmpty())
        c.engine.setSFXOverWriteMode(overwriteModeFrom(o.overwriteMode));
    if (!loadIcon(c)) return ExitSomeFailed;
    c.engine.ConvertToExe();
    return reportConversion(c, QStringLiteral("self-extracting archive written"));
}

int runUnsfx(CliContext& c) {
    if (int status = 0; !openArchive(c, status)) return status;
    c.engine.ConvertToZip();
    return reportConversion(c, QStringLiteral("archive written"));
}

// On a terminal the engine's questions (replace a volume, insert a disk)
// are asked there; elsewhere only -o answers the replace questions.
int runSpan(CliContext& c) {
    const QFileInfo source(c.options.archive);
    if (!source.isFile()) {
        c.report.say(QStringLiteral("no such archive"));
        return ExitUnreadable;
    }
    const QString firstVolume = QFileInfo(c.options.specs.first()).absoluteFilePath();
    const DriveType type =
        c.engine.volumes().driveType(c.engine.volumes().volumeRootOf(firstVolume));
    if (int status = 0; !announceSpan(c, firstVolume, type, status)) return status;
    QTextStream in(stdin);
    TerminalHost host(in, c.err, c.options.overwrite);
    if (onTerminal() || c.options.overwrite) {
        c.engine.setHost(&host);
        c.engine.setUnattended(false);
    }
    c.engine.setMaxVolumeSize(c.options.volumeSize);
    c.engine.WriteSpan(source.absoluteFilePath(), firstVolume);
    c.engine.setHost(nullptr);
    c.engine.setUnattended(true);
    const ZipOutcome& outcome = c.engine.LastOutcome();
    if (outcome.succeeded()) c.report.say(QStringLiteral("multi-volume set written"));
    return c.report.finish(outcome);
}

} // namespace brx::cli
