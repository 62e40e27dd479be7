#pragma once
// Runs brxzip in a working folder and keeps what it printed.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace brx::test {

struct CliResult {
    int exitCode = -1;
    bool crashed = false;
    QString out;
    QString err;
};

class CliTest : public ::testing::Test {
protected:
    CliResult run(const QStringList& args, int timeoutMs = 30000) {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(QDir(qEnvironmentVariable("BRX_BIN_DIR")).filePath("brxzip"), args);
        CliResult result;
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "brxzip did not finish: " << args.join(' ').toStdString();
        }
        result.crashed = process.exitStatus() != QProcess::NormalExit;
        result.exitCode = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    // Runs a peer tool in the working folder; false when it is not installed.
    bool runTool(const QString& program, const QStringList& args) {
        const QString path = QStandardPaths::findExecutable(program);
        if (path.isEmpty()) return false;
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(path, args);
        return process.waitForFinished(30000) && process.exitCode() == 0;
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    void writeFile(const QString& name, const QByteArray& bytes) {
        QDir(dir.path()).mkpath(QFileInfo(path(name)).path());
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    QByteArray readFile(const QString& name) const {
        QFile file(path(name));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    QTemporaryDir dir;
};

} // namespace brx::test
