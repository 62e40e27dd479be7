#include "cli/CliRun.h"

#include "cli/CliConvert.h"

#include "engine/ZipEngine.h"

#include <brx/ZipDllAbi.h>

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace brx::cli {

namespace {

// Engine messages that do not mean the command failed.
bool isWarning(int id) {
    return id == LI_WrongZipStruct || id == LI_GarbageAtEOF || id == EX_UnAttPassword;
}

// Skips the user asked for: an existing file kept, or nothing to freshen.
bool isChosenSkip(int kind) {
    return kind == BRX_SKIP_ON_FRESHEN || kind == BRX_SKIP_NO_OVERWRITE ||
           kind == BRX_SKIP_FILE_EXISTS;
}

bool isChosenSkipMessage(int code) {
    return code == BRX_MSG_SKIPPED || code == BRX_MSG_SET_ATTRIBUTES_FAILED;
}

bool isUnreadableArchiveMessage(int code) {
    return code == BRX_MSG_DAMAGED_ARCHIVE || code == BRX_MSG_ARCHIVE_OPEN_FAILED ||
           code == BRX_MSG_UNSUPPORTED_ZIP64 || code == BRX_MSG_ARCHIVE_UNREADABLE;
}

QString dosTimeText(uint32_t dateTime) {
    const uint32_t date = dateTime >> 16;
    const uint32_t time = dateTime & 0xFFFF;
    return QString::asprintf("%04u-%02u-%02u %02u:%02u:%02u", ((date >> 9) & 0x7F) + 1980,
                             (date >> 5) & 0xF, date & 0x1F, time >> 11, (time >> 5) & 0x3F,
                             (time & 0x1F) * 2);
}

QString listingLine(const ZipDirEntry& e) {
    return QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6")
        .arg(e.FileName)
        .arg(e.UncompressedSize)
        .arg(e.CompressedSize)
        .arg(e.CRC32, 8, 16, QLatin1Char('0'))
        .arg(dosTimeText(e.DateTime))
        .arg(e.Encrypted ? QLatin1Char('E') : QLatin1Char('-'));
}

// Follows one command: prints messages (and progress on a terminal) and
// notes what went wrong.
class CommandWatch {
public:
    CommandWatch(TZipEngine& engine, QTextStream& err) : m_engine(engine), m_err(err) {
        engine.OnMessage = [this](int code, const QString& text) { onMessage(code, text); };
        engine.OnExtractSkipped = [this](const QString&, UnZipSkipTypes kind, int) {
            if (!isChosenSkip(kind)) failed = true;
        };
        // Nobody to ask: a missing or wrong password skips the entry.
        engine.OnPasswordError = [](QString& password, const QString&, unsigned& repeat) {
            password.clear();
            repeat = 0;
        };
        engine.OnCRC32Error = [this](const QString&, uint32_t, uint32_t, bool& doExtract) {
            failed = true;
            doExtract = false;
        };
        if (isatty(STDERR_FILENO))
            engine.OnProgress = [this](ProgressType type, const QString& name, qint64) {
                if (type == ProgrNewFile) m_err << "  " << name << Qt::endl;
            };
    }

    bool failed = false;
    bool unreadable = false;

private:
    void onMessage(int code, const QString& text) {
        m_err << "brxzip: " << text << Qt::endl;
        if (code != 0) {
            if (!isChosenSkipMessage(code)) failed = true;
            if (isUnreadableArchiveMessage(code)) unreadable = true;
        } else if (m_engine.Message() == text && m_engine.ErrCode() >= GE_FatalZip &&
                   !isWarning(m_engine.ErrCode())) {
            failed = true; // the engine's own failure messages
        }
    }

    TZipEngine& m_engine;
    QTextStream& m_err;
};

// Reads the archive's directory; false (reported) when it cannot be read.
bool openArchive(TZipEngine& engine, const QString& archive, QTextStream& err) {
    if (!QFileInfo(archive).isFile()) {
        err << "brxzip: " << LoadZipStr(DS_NoInFile) << ": " << archive << Qt::endl;
        return false;
    }
    engine.setZipFileName(QFileInfo(archive).absoluteFilePath());
    return !engine.ZipFileName().isEmpty();
}

int runList(TZipEngine& engine, const CliOptions& o, QTextStream& out, QTextStream& err) {
    if (!openArchive(engine, o.archive, err)) return ExitUnreadable;
    for (const ZipDirEntry& entry : engine.ZipContents()) out << listingLine(entry) << '\n';
    out.flush();
    return ExitOk;
}

int runAdd(TZipEngine& engine, const CliOptions& o, CommandWatch& watch) {
    // A missing archive is created; an existing one must be readable.
    engine.setZipFileName(QFileInfo(o.archive).absoluteFilePath());
    if (engine.ZipFileName().isEmpty()) return ExitUnreadable;
    AddOpts options;
    if (!o.junkPaths) options |= AddDirNames;
    if (o.recurse) options |= AddRecurseDirs;
    if (o.update) options |= AddUpdate;
    if (o.freshen) options |= AddFreshen;
    if (o.move) options |= AddMove;
    if (o.passwordGiven) {
        options |= AddEncrypt;
        engine.setPassword(o.password);
    }
    engine.setAddOptions(options);
    engine.setAddCompLevel(o.level);
    engine.setFSpecArgs(o.specs);
    engine.setFSpecArgsExcl(o.excludes);
    engine.Add();
    return engine.SuccessCnt() > 0 && !watch.failed ? ExitOk : ExitSomeFailed;
}

int directoryEntries(const TZipEngine& engine) {
    int count = 0;
    for (const ZipDirEntry& e : engine.ZipContents())
        count += e.FileName.endsWith(QLatin1Char('/')) ? 1 : 0;
    return count;
}

int runExtract(TZipEngine& engine, const CliOptions& o, CommandWatch& watch, QTextStream& err,
               bool testOnly) {
    if (!openArchive(engine, o.archive, err)) return ExitUnreadable;
    ExtrOpts options;
    if (testOnly) {
        options |= ExtrTest | ExtrDirNames;
    } else {
        if (!o.junkPaths) options |= ExtrDirNames;
        if (o.overwrite) options |= ExtrOverWrite;
        if (o.update) options |= ExtrUpdate;
        if (o.freshen) options |= ExtrFreshen;
        const QString dest =
            o.dest.isEmpty() ? QDir::currentPath() : QFileInfo(o.dest).absoluteFilePath();
        if (!QDir().mkpath(dest)) {
            err << "brxzip: " << LoadZipStr(DS_NoOutFile) << ": " << dest << Qt::endl;
            return ExitSomeFailed;
        }
        engine.setExtrBaseDir(dest);
    }
    if (o.passwordGiven) engine.setPassword(o.password);
    engine.setExtrOptions(options);
    engine.setFSpecArgs(o.specs);
    engine.Extract();
    if (watch.unreadable) return ExitUnreadable;
    if (watch.failed) return ExitSomeFailed;
    // Testing: every file entry must have been checked.
    if (testOnly && engine.SuccessCnt() < engine.Count() - directoryEntries(engine))
        return ExitSomeFailed;
    return ExitOk;
}

int runDelete(TZipEngine& engine, const CliOptions& o, CommandWatch& watch, QTextStream& err) {
    if (!openArchive(engine, o.archive, err)) return ExitUnreadable;
    engine.setFSpecArgs(o.specs);
    engine.Delete();
    return engine.SuccessCnt() > 0 && !watch.failed ? ExitOk : ExitSomeFailed;
}

} // namespace

int runCommand(const CliOptions& o, QTextStream& out, QTextStream& err) {
    if (o.command == QLatin1String("help")) {
        out << usageText();
        return ExitOk;
    }
    TZipEngine engine;
    engine.setUnattended(true);
    CommandWatch watch(engine, err);
    if (o.command == QLatin1String("list")) return runList(engine, o, out, err);
    if (o.command == QLatin1String("add")) return runAdd(engine, o, watch);
    if (o.command == QLatin1String("extract")) return runExtract(engine, o, watch, err, false);
    if (o.command == QLatin1String("test")) return runExtract(engine, o, watch, err, true);
    if (o.command == QLatin1String("sfx")) return runSfx(engine, o, err);
    if (o.command == QLatin1String("unsfx")) return runUnsfx(engine, o, err);
    if (o.command == QLatin1String("span")) return runSpan(engine, o, err);
    return runDelete(engine, o, watch, err);
}

} // namespace brx::cli
