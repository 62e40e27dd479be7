// One backup run of a folder against "brxzip add -r" of the same folder on
// the same disk, and the longest stall of the event loop during the run.
// Usage: brx_backup_bench SOURCE_FOLDER WORK_FOLDER [LEVEL]
// WORK_FOLDER is emptied first; the program's companions are taken from the
// folder of this executable (bin/).

#include "backup/run/BackupLog.h"
#include "backup/run/BackupRun.h"
#include "engine/ZipEngine.h"
#include "platform/FilesInUse.h"
#include "support/PathNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <climits>
#include <cstdio>

namespace {

// The longest time between two ticks of a 10 ms timer while the run works.
class StallMeter : public QObject {
public:
    StallMeter() {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, &StallMeter::tick);
    }
    void start() {
        m_clock.start();
        m_last = 0;
        m_longest = 0;
        m_timer.start();
    }
    qint64 stop() {
        tick();
        m_timer.stop();
        return m_longest;
    }

private:
    void tick() {
        const qint64 now = m_clock.elapsed();
        if (now - m_last > m_longest) {
            m_longest = now - m_last;
            m_longestEnd = now;
        }
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;

public:
    qint64 m_longestEnd = 0;
};

qint64 timeReference(const QString& bin, const QString& source, const QString& archive, int level) {
    QProcess process;
    process.setWorkingDirectory(QFileInfo(source).path());
    QElapsedTimer clock;
    clock.start();
    process.start(bin + "/brxzip", {"add", "-r", "-l", QString::number(level), archive,
                                    QFileInfo(source).fileName()});
    process.waitForFinished(-1);
    const qint64 elapsed = clock.elapsed();
    if (process.exitCode() != 0)
        std::fprintf(stderr, "brxzip failed: %s\n",
                     process.readAllStandardError().left(300).constData());
    return elapsed;
}

struct RoundResult {
    qint64 reference = 0;
    qint64 backup = 0;
    qint64 compression = 0; // the add alone, inside the backup
    qint64 longestStall = 0;
    qint64 stallEnd = 0;
    bool success = false;
};

RoundResult runRound(const QString& bin, const QString& source, const QString& work, int level) {
    QDir(work).removeRecursively();
    QDir().mkpath(work + "/prog/Sas_Zip");
    QDir().mkpath(work + "/dest");
    RoundResult result;
    result.reference = timeReference(bin, source, work + "/reference.zip", level);

    brx::TZipEngine engine;
    engine.setDLLDirectory(bin);
    engine.LoadZipLibrary();
    brx::BackupLog log(work + "/prog");
    brx::BackupRun run(engine, log);
    brx::BackupRequest request;
    request.programFolder = work + "/prog/";
    request.sourceFolder = source;
    request.destinationFolder = work + "/dest/";
    request.archiveName = "Bench";
    request.compressionLevel = level;
    StallMeter stalls;
    QElapsedTimer clock;
    QObject::connect(&run, &brx::BackupRun::logLineAdded, [&](const QString& line) {
        if (line.startsWith("-Creation(s) archive(s)")) result.compression = clock.elapsed();
    });
    stalls.start();
    clock.start();
    run.ZipButGo(request);
    result.backup = clock.elapsed();
    result.longestStall = stalls.stop();
    result.stallEnd = stalls.m_longestEnd;
    result.success = run.outcome().success;
    for (const QString& error : run.outcome().errors.mid(0, 3))
        std::printf("error: %s\n", qPrintable(error));
    engine.UnloadZipLibrary();
    return result;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr,
                     "usage: brx_backup_bench SOURCE_FOLDER WORK_FOLDER [LEVEL] [ROUNDS]\n");
        return 2;
    }
    const QString source = QDir(args[1]).absolutePath();
    const QString work = QDir(args[2]).absolutePath();
    const int level = args.size() > 3 ? args[3].toInt() : 1;
    const int rounds = args.size() > 4 ? std::max(1, args[4].toInt()) : 3;
    const QString bin = QCoreApplication::applicationDirPath();

    QElapsedTimer scanClock;
    scanClock.start();
    const auto snapshot = brx::systemFilesInUse().snapshot();
    std::printf("one scan of the open files: %lld ms\n",
                static_cast<long long>(scanClock.elapsed()));

    // The machine may be shared: the best of each over the rounds is compared.
    RoundResult best{LLONG_MAX, LLONG_MAX, LLONG_MAX, 0, 0, true};
    for (int round = 0; round < rounds; ++round) {
        const RoundResult r = runRound(bin, source, work, level);
        std::printf("round %d: brxzip %lld ms, backup %lld ms (add %lld ms), stall %lld ms "
                    "(ending at %lld ms)\n",
                    round + 1, static_cast<long long>(r.reference),
                    static_cast<long long>(r.backup), static_cast<long long>(r.compression),
                    static_cast<long long>(r.longestStall), static_cast<long long>(r.stallEnd));
        best.reference = std::min(best.reference, r.reference);
        best.backup = std::min(best.backup, r.backup);
        best.compression = std::min(best.compression, r.compression);
        best.longestStall = std::max(best.longestStall, r.longestStall);
        best.success = best.success && r.success;
    }
    std::printf(
        "best brxzip add -r: %lld ms\nbest backup run:    %lld ms\nratio:              %.3f\n"
        "longest event-loop stall: %lld ms\nall runs clean: %s\n",
        static_cast<long long>(best.reference), static_cast<long long>(best.backup),
        static_cast<double>(best.backup) / static_cast<double>(best.reference),
        static_cast<long long>(best.longestStall), best.success ? "yes" : "no");
    return best.success ? 0 : 1;
}
