// Archives with more than 65,535 entries (Zip64 end records) between
// brxzip and the peer tools, both ways, and the entries a delete keeps
// staying byte for byte what they were.

#include "zipcore/FileInput.h"
#include "zipcore/ZipReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace {

constexpr int kFolders = 66;
constexpr int kFilesPerFolder = 1000; // 66,000 files and 67 folders: past 65,535 entries
constexpr int kFiles = kFolders * kFilesPerFolder;
constexpr int kTimeoutMs = 180000;

QString fileName(int folder, int file) {
    return QStringLiteral("many/d%1/f%2.txt").arg(folder).arg(file);
}

// Each entry's local header and data as stored, by name.
std::map<std::string, std::string> rawRecords(const QString& archive) {
    zipcore::FileInput input(archive.toStdString());
    zipcore::ZipDirectory dir;
    std::map<std::string, std::string> out;
    if (!zipcore::readDirectory(input, dir).ok) return out;
    for (const zipcore::ZipEntry& entry : dir.entries) {
        const zipcore::DataLocation at = zipcore::locateEntryData(input, dir, entry);
        uint64_t end = 0;
        if (!at.ok || !zipcore::entryRecordEnd(input, dir, entry, at, end)) return {};
        std::string bytes(size_t(end - at.headerOffset), '\0');
        input.readExact(at.headerOffset, bytes.data(), bytes.size());
        out[entry.name] = std::move(bytes);
    }
    return out;
}

} // namespace

// The folder of 66,000 files is made once for all the tests: making and
// removing it is most of their time.
class CliZip64Test : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new QTemporaryDir;
        for (int folder = 0; folder < kFolders; ++folder) {
            QDir(s_dir->path()).mkpath(QStringLiteral("many/d%1").arg(folder));
            for (int file = 0; file < kFilesPerFolder; ++file) {
                // Plain system calls: QFile costs much more for this many files.
                const QByteArray name = QFile::encodeName(path(fileName(folder, file)));
                const QByteArray text = QByteArray::number(folder * kFilesPerFolder + file);
                const int fd = ::open(name.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
                ASSERT_GE(fd, 0);
                ASSERT_EQ(::write(fd, text.constData(), size_t(text.size())), text.size());
                ::close(fd);
            }
        }
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }

    static QString path(const QString& name) { return s_dir->filePath(name); }
    static QByteArray readFile(const QString& name) {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool runProgram(const QString& program, const QStringList& args, QString* output = nullptr) {
        const QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty()) return false;
        QProcess process;
        process.setWorkingDirectory(s_dir->path());
        process.start(found, args);
        const bool finished = process.waitForFinished(kTimeoutMs);
        if (output) *output = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_TRUE(finished && process.exitStatus() == QProcess::NormalExit &&
                    process.exitCode() == 0)
            << program.toStdString() << " " << args.join(' ').toStdString() << ": "
            << process.readAllStandardError().left(2000).toStdString();
        return true;
    }
    void brxzip(const QStringList& args, QString* output = nullptr) {
        const QString program = QDir(qEnvironmentVariable("BRX_BIN_DIR")).filePath("brxzip");
        ASSERT_TRUE(runProgram(program, args, output)) << "no brxzip at " << program.toStdString();
    }

    int listedFiles(const QString& archive) {
        QString listing;
        brxzip({"list", archive}, &listing);
        // Lines one by one: a regular expression over the whole output
        // checks all of it again at every match.
        int files = 0;
        for (const QStringView line : QStringView(listing).split(u'\n'))
            files += line.contains(u".txt\t") ? 1 : 0;
        return files;
    }

    static inline QTemporaryDir* s_dir = nullptr;
};

TEST_F(CliZip64Test, OurArchiveIsReadByThePeers) {
    brxzip({"add", "-r", "ours.zip", "many"});
    const QByteArray tail = readFile("ours.zip").right(22 + 20 + 56);
    EXPECT_TRUE(tail.startsWith(QByteArray("PK\x06\x06", 4))) << "no Zip64 end record";
    EXPECT_EQ(listedFiles("ours.zip"), kFiles);

    runProgram("unzip", {"-tqq", "ours.zip"});
    runProgram("7zz", {"t", "-bd", "ours.zip"});
    QString names;
    if (runProgram("bsdtar", {"-tf", "ours.zip"}, &names)) {
        EXPECT_EQ(names.count(QStringLiteral(".txt\n")), kFiles);
    }
    QString python;
    if (runProgram("python3",
                   {"-c", "import zipfile\n"
                          "z = zipfile.ZipFile('ours.zip')\n"
                          "assert z.testzip() is None\n"
                          "print(sum(1 for n in z.namelist() if n.endswith('.txt')))\n"
                          "print(z.read('many/d65/f999.txt').decode())\n"},
                   &python)) {
        EXPECT_EQ(python, QStringLiteral("%1\n%2\n").arg(kFiles).arg(kFiles - 1));
    }
}

TEST_F(CliZip64Test, PeerArchivesAreListedTestedAndExtracted) {
    struct Peer {
        QString archive, program;
        QStringList args;
    };
    const QList<Peer> peers{
        {"zip.zip", "zip", {"-qr0", "zip.zip", "many"}},
        {"seven.zip", "7zz", {"a", "-bd", "-tzip", "-mx=0", "seven.zip", "many"}},
        {"py.zip",
         "python3",
         {"-c", "import zipfile,os\n"
                "with zipfile.ZipFile('py.zip','w') as z:\n"
                "  for r,d,f in os.walk('many'):\n"
                "    for n in f: z.write(os.path.join(r,n))\n"}}};
    int made = 0;
    for (const Peer& peer : peers) {
        SCOPED_TRACE(peer.archive.toStdString());
        if (!runProgram(peer.program, peer.args)) continue;
        ++made;
        EXPECT_EQ(listedFiles(peer.archive), kFiles);
        brxzip({"test", peer.archive});
    }
    if (made == 0) GTEST_SKIP() << "no peer tool installed";
    // Entries from the start, the middle and the end, checked against the
    // sources (all of them were decoded by the tests above).
    const QString archive = QFile::exists(path("zip.zip")) ? "zip.zip" : "py.zip";
    const QList<int> picked{0, 12345, kFiles - 1};
    QStringList args{"extract", "-d", "out", archive};
    for (const int n : picked) args << fileName(n / kFilesPerFolder, n % kFilesPerFolder);
    brxzip(args);
    for (const int n : picked) {
        const QString name = fileName(n / kFilesPerFolder, n % kFilesPerFolder);
        EXPECT_EQ(readFile("out/" + name), QByteArray::number(n)) << name.toStdString();
    }
}

TEST_F(CliZip64Test, DeleteKeepsTheOtherEntriesByteForByte) {
    brxzip({"add", "-r", "del.zip", "many"});
    const std::map<std::string, std::string> before = rawRecords(path("del.zip"));
    ASSERT_EQ(before.size(), size_t(kFiles + kFolders + 1));
    brxzip({"delete", "del.zip", "many/d3/f7.txt"});
    std::map<std::string, std::string> after = rawRecords(path("del.zip"));
    ASSERT_EQ(after.size(), before.size() - 1);
    EXPECT_EQ(after.count("many/d3/f7.txt"), 0u);
    after["many/d3/f7.txt"] = before.at("many/d3/f7.txt");
    EXPECT_TRUE(after == before);
    EXPECT_EQ(listedFiles("del.zip"), kFiles - 1);
}
