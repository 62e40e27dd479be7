// Files in use from /proc: the flag and lock parsing, and a real child
// process writing a file while a backup runs.

#include "BackupRunFixture.h"

#include "platform/LinuxFilesInUse.h"

#include <QElapsedTimer>
#include <QThread>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace brx::test {
namespace {

TEST(FilesInUseParsing, WritersAreTheDescriptorsOpenForWriting) {
    EXPECT_FALSE(fdInfoWrites("pos:\t0\nflags:\t0100000\nmnt_id:\t25\n")); // read only
    EXPECT_TRUE(fdInfoWrites("pos:\t0\nflags:\t0100001\nmnt_id:\t25\n"));  // write only
    EXPECT_TRUE(fdInfoWrites("pos:\t0\nflags:\t02102002\n"));              // read-write, append
    EXPECT_FALSE(fdInfoWrites("pos:\t0\n"));
    EXPECT_FALSE(fdInfoWrites("flags:\tnonsense\n"));
}

TEST(FilesInUseParsing, LockLinesGiveDeviceAndInode) {
    FileIdentity identity;
    ASSERT_TRUE(parseLockLine("1: POSIX  ADVISORY  WRITE 1234 08:02:131090 0 EOF", identity));
    EXPECT_EQ(identity, FileIdentity(makedev(8, 2), 131090));
    ASSERT_TRUE(parseLockLine("2: -> FLOCK  ADVISORY  WRITE 77 fd:1a:42 0 EOF", identity));
    EXPECT_EQ(identity, FileIdentity(makedev(0xfd, 0x1a), 42));
    EXPECT_FALSE(parseLockLine("", identity));
    EXPECT_FALSE(parseLockLine("3: POSIX ADVISORY READ 5 zz:01:12 0 EOF", identity));
}

// A child shell keeps a file open for writing (and another locked) until
// killed; the snapshot is retried until the child has opened both.
class ChildHoldingFiles {
public:
    ChildHoldingFiles(const QString& written, const QString& locked) {
        // One process holds both: the lock belongs to the open descriptor,
        // which "exec sleep" keeps, so killing it releases everything.
        m_process.start("sh", {"-c", "exec 3>>\"$1\" 4>>\"$2\"; flock 4; exec sleep 60", "sh",
                               written, locked});
        m_process.waitForStarted();
    }
    ~ChildHoldingFiles() {
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
};

TEST(FilesInUseSystem, AChildWritingOrLockingAFileIsSeenAndAReaderIsNot) {
    QTemporaryDir dir;
    const QString written = dir.filePath("written.log");
    const QString locked = dir.filePath("locked.db");
    const QString quiet = dir.filePath("quiet.txt");
    for (const QString& path : {written, locked, quiet}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QFile ownWrite(quiet); // our own descriptors never count
    ASSERT_TRUE(ownWrite.open(QIODevice::Append));
    const ChildHoldingFiles child(written, locked);
    LinuxFilesInUse files;
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<IFilesInUseSnapshot> snapshot = files.snapshot();
    while (!(snapshot->isInUse(written) && snapshot->isInUse(locked)) && timer.elapsed() < 20000) {
        QThread::msleep(50);
        snapshot = files.snapshot();
    }
    EXPECT_TRUE(snapshot->isInUse(written));
    EXPECT_TRUE(snapshot->isInUse(locked));
    EXPECT_FALSE(snapshot->isInUse(quiet));
    EXPECT_FALSE(snapshot->isInUse(dir.filePath("missing")));
}

using FilesInUseBackup = BackupRunFixture;

TEST_F(FilesInUseBackup, AFileAChildIsWritingIsListedAndStillArchived) {
    const QString busy = writeFile("src/busy.log", "log text being written");
    const ChildHoldingFiles child(busy, dir.filePath("unrelated.lock"));
    LinuxFilesInUse system;
    QElapsedTimer timer;
    timer.start();
    while (!system.snapshot()->isInUse(busy) && timer.elapsed() < 20000) QThread::msleep(50);
    services.filesInUse = &system;
    ASSERT_TRUE(run().ZipButGo(request));
    EXPECT_EQ(run().outcome().filesInUse, QStringList{busy});
    EXPECT_EQ(run().outcome().caption, "Sauvegarde des données : Echec ou Avertissement(s)");
    const ToolResult listing = runTool("unzip", {"-l", destination()});
    EXPECT_TRUE(listing.output.contains("src/busy.log")) << qPrintable(listing.output);
}

} // namespace
} // namespace brx::test
