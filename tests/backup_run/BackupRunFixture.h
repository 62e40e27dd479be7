#pragma once
// A backup run on real folders in a temporary folder: a program folder with
// its staging folder, a source folder and a destination, the real
// compression library of bin/, and a scripted user.

#include "backup/run/BackupLog.h"
#include "backup/run/BackupRun.h"
#include "engine/ZipEngine.h"
#include "tests/fakes/FakeFilesInUse.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace brx::test {

struct ToolResult {
    int exitCode = -1;
    QString output;
};

// Runs a peer tool (unzip, 7zz, brxzip) and returns its exit code and output.
inline ToolResult runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

class BackupRunFixture : public ::testing::Test {
protected:
    BackupRunFixture() {
        const QDir root(dir.path());
        root.mkpath("prog/Sas_Zip");
        root.mkpath("src/sub");
        root.mkpath("dest");
        request.programFolder = dir.filePath("prog") + "/";
        request.sourceFolder = dir.filePath("src");
        request.destinationFolder = dir.filePath("dest") + "/";
        request.archiveName = "Data";
        request.datePrefix = "0912";
        writeFile("src/a.txt", QByteArray(20000, 'a'));
        writeFile("src/b.bin", QByteArray("not much in here"));
        writeFile("src/sub/c.txt", QByteArray(5000, 'c') + QByteArray(3000, 'x'));
        engine.setDLLDirectory(qEnvironmentVariable("BRX_BIN_DIR"));
        engine.LoadZipLibrary();
    }
    ~BackupRunFixture() override { engine.UnloadZipLibrary(); }

    // The run, made after the test has set its services.
    BackupRun& run() {
        if (!m_run) m_run = std::make_unique<BackupRun>(engine, log, services);
        return *m_run;
    }

    QString writeFile(const QString& relative, const QByteArray& content) {
        const QString path = dir.filePath(relative);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(content);
        return path;
    }

    QString destination() const { return destinationArchive(request); }
    QString staging() const { return stagingArchive(request); }

    QTemporaryDir dir;
    ScriptedUserHost host;
    TZipEngine engine{&host};
    BackupLog log{dir.filePath("prog")};
    FakeFilesInUse filesInUse;
    BackupServices services{nullptr, &filesInUse, nullptr, nullptr, dir.filePath("home")};
    BackupRequest request;

private:
    std::unique_ptr<BackupRun> m_run;
};

} // namespace brx::test
