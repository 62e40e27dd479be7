#pragma once
// What the page tests of the archive manager share: real files, archives of
// them made by Info-ZIP, and the window created offscreen with a scripted
// user host and recorded processes.

#include "archive_window/TMainForm.h"
#include "settings/SettingsFile.h"
#include "tests/fakes/FakeProcesses.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

namespace brx::test {

class WindowTestKit {
public:
    WindowTestKit() { setSettingsFilePath(dir.filePath(QStringLiteral("BRX_EXPL.INI"))); }

    QTemporaryDir dir;
    ScriptedUserHost host;
    FakeProcesses processes;

    std::unique_ptr<TMainForm> window(const QString& argument) {
        TMainForm::Services services;
        services.host = &host;
        services.dllDirectory = qEnvironmentVariable("BRX_BIN_DIR");
        auto form = std::make_unique<TMainForm>(argument, services);
        form->setProcesses(processes);
        return form;
    }

    static QByteArray contentOf(const QString& name) {
        return QByteArray("contenu de ") + name.toUtf8() + QByteArray(300, 'z');
    }

    // Files named as given under folder, each holding contentOf(its name).
    QString makeFiles(const QString& folder, const QStringList& names) {
        const QString base = dir.filePath(folder);
        for (const QString& name : names) {
            const QString path = base + QLatin1Char('/') + name;
            QDir().mkpath(QFileInfo(path).path());
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly)) return {};
            file.write(contentOf(name));
        }
        return base;
    }

    // A deflated archive of those files (no folder entries), made by Info-ZIP.
    QString zipOf(const QString& folder, const QStringList& names) {
        const QString base = makeFiles(folder, names);
        const QString archive = dir.filePath(folder + QStringLiteral(".zip"));
        QProcess zip;
        zip.setWorkingDirectory(base);
        zip.start(QStringLiteral("zip"), QStringList{"-q", "-D", archive} + names);
        if (!zip.waitForFinished() || zip.exitCode() != 0) return {};
        return archive;
    }

    QStringList messages() const {
        QStringList texts;
        for (const MessageRequest& request : host.messages) texts << request.text;
        return texts;
    }

    // Every file under folder, relative to it, sorted.
    static QStringList filesUnder(const QString& folder) {
        QStringList files;
        const QDir root(folder);
        const auto walk = [&](const auto& self, const QString& path) -> void {
            const QDir here(path);
            for (const QFileInfo& info :
                 here.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
                if (info.isDir())
                    self(self, info.filePath());
                else
                    files << root.relativeFilePath(info.filePath());
            }
        };
        walk(walk, folder);
        files.sort();
        return files;
    }

    static QByteArray readAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace brx::test
