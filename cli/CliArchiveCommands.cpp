#include "cli/CliArchiveCommands.h"

#include "cli/CliReport.h"
#include "engine/ZipEngine.h"

#include <QDir>
#include <QFileInfo>

namespace brx::cli {

namespace {

QString dosTimeText(uint32_t dateTime) {
    const uint32_t date = dateTime >> 16;
    const uint32_t time = dateTime & 0xFFFF;
    return QString::asprintf("%04u-%02u-%02u %02u:%02u:%02u", ((date >> 9) & 0x7F) + 1980,
                             (date >> 5) & 0xF, date & 0x1F, time >> 11, (time >> 5) & 0x3F,
                             (time & 0x1F) * 2);
}

QString listingLine(const ZipDirEntry& e) {
    return QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6")
        .arg(printableName(e.FileName))
        .arg(e.UncompressedSize)
        .arg(e.CompressedSize)
        .arg(e.CRC32, 8, 16, QLatin1Char('0'))
        .arg(dosTimeText(e.DateTime))
        .arg(e.Encrypted ? QLatin1Char('E') : QLatin1Char('-'));
}

int fileEntries(const TZipEngine& engine) {
    int count = 0;
    for (const ZipDirEntry& e : engine.ZipContents())
        count += e.FileName.endsWith(QLatin1Char('/')) ? 0 : 1;
    return count;
}

int extract(CliContext& c, bool testOnly) {
    if (int status = 0; !openArchive(c, status)) return status;
    const CliOptions& o = c.options;
    ExtrOpts options;
    if (testOnly) {
        options |= ExtrTest | ExtrDirNames;
    } else {
        if (!o.junkPaths) options |= ExtrDirNames;
        // Replacing is answered per file (OnExtractOverwrite) so that every
        // replaced file, also a name met twice, is reported.
        c.report.setReplaceFiles(o.overwrite);
        if (o.update) options |= ExtrUpdate;
        if (o.freshen) options |= ExtrFreshen;
        const QString dest =
            o.dest.isEmpty() ? QDir::currentPath() : QFileInfo(o.dest).absoluteFilePath();
        if (!QDir().mkpath(dest)) {
            c.report.say(QStringLiteral("cannot create the folder ") + dest);
            return ExitSomeFailed;
        }
        c.engine.setExtrBaseDir(dest);
    }
    if (o.passwordGiven) c.engine.setPassword(o.password);
    c.engine.setExtrOptions(options);
    c.engine.setFSpecArgs(o.specs);
    c.engine.Extract();
    const ZipOutcome& outcome = c.engine.LastOutcome();
    const int status = c.report.finish(outcome);
    // Testing: every file entry must have been checked.
    const int expected = fileEntries(c.engine);
    if (status == ExitOk && testOnly && outcome.done < expected) {
        c.report.say(
            QStringLiteral("only %1 of %2 entries were tested").arg(outcome.done).arg(expected));
        return ExitSomeFailed;
    }
    return status;
}

} // namespace

bool openArchive(CliContext& c, int& status) {
    const QFileInfo info(c.options.archive);
    if (!info.isFile()) {
        c.report.say(QStringLiteral("no such archive"));
        status = ExitUnreadable;
        return false;
    }
    c.engine.setZipFileName(info.absoluteFilePath());
    if (c.engine.LastOutcome().succeeded() && !c.engine.ZipFileName().isEmpty()) return true;
    status = c.report.finish(c.engine.LastOutcome());
    if (status == ExitOk) status = ExitUnreadable;
    return false;
}

int runList(CliContext& c) {
    if (int status = 0; !openArchive(c, status)) return status;
    for (const ZipDirEntry& entry : c.engine.ZipContents()) c.out << listingLine(entry) << '\n';
    c.out.flush();
    return ExitOk;
}

int runAdd(CliContext& c) {
    const CliOptions& o = c.options;
    // A missing (or empty) archive is created; an existing one must be readable.
    c.engine.setZipFileName(QFileInfo(o.archive).absoluteFilePath());
    if (!c.engine.LastOutcome().succeeded() || c.engine.ZipFileName().isEmpty())
        return c.report.finish(c.engine.LastOutcome());
    // Hidden files belong to a folder as much as the others.
    AddOpts options = AddHiddenFiles;
    if (o.noHidden) options &= ~AddOpts(AddHiddenFiles);
    if (!o.junkPaths) options |= AddDirNames;
    if (o.recurse) options |= AddRecurseDirs;
    if (o.update) options |= AddUpdate;
    if (o.freshen) options |= AddFreshen;
    if (o.move) options |= AddMove;
    if (o.passwordGiven) {
        options |= AddEncrypt;
        c.engine.setPassword(o.password);
    }
    c.engine.setAddOptions(options);
    c.engine.setAddCompLevel(o.level);
    c.engine.setFSpecArgs(o.specs);
    c.engine.setFSpecArgsExcl(o.excludes);
    c.engine.Add();
    return c.report.finish(c.engine.LastOutcome());
}

int runExtract(CliContext& c) {
    return extract(c, false);
}

int runTest(CliContext& c) {
    return extract(c, true);
}

int runDelete(CliContext& c) {
    if (int status = 0; !openArchive(c, status)) return status;
    c.engine.setFSpecArgs(c.options.specs);
    c.engine.Delete();
    return c.report.finish(c.engine.LastOutcome());
}

} // namespace brx::cli
