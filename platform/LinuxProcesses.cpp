#include "platform/LinuxProcesses.h"

#include "platform/MimeDefaults.h"

#include <QFile>
#include <QMimeDatabase>
#include <QProcess>

#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace brx {

namespace {

class SpawnedProcess final : public IStartedProcess {
public:
    explicit SpawnedProcess(pid_t pid) : m_pid(pid) {}

    bool hasEnded() override {
        if (m_ended) return true;
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid) return false;
        m_ended = true;
        m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return true;
    }

    int exitCode() const override { return m_exitCode; }

private:
    pid_t m_pid;
    bool m_ended = false;
    int m_exitCode = 0;
};

// posix_spawnp reports a program that cannot be executed (missing, not
// executable) as its result, so creation failures are known at once.
pid_t spawn(const QStringList& argv) {
    std::vector<QByteArray> storage;
    for (const QString& arg : argv) storage.push_back(QFile::encodeName(arg));
    std::vector<char*> args;
    for (QByteArray& arg : storage) args.push_back(arg.data());
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3); // no inherited files
    pid_t pid = -1;
    const int error = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

} // namespace

std::unique_ptr<IStartedProcess> LinuxProcesses::startWatched(const QStringList& argv, ShowMode) {
    if (argv.isEmpty() || argv.first().isEmpty()) return nullptr;
    const pid_t pid = spawn(argv);
    if (pid <= 0) return nullptr;
    return std::make_unique<SpawnedProcess>(pid);
}

bool LinuxProcesses::startDetached(const QStringList& argv, ShowMode) {
    if (argv.isEmpty() || argv.first().isEmpty()) return false;
    return QProcess::startDetached(argv.first(), argv.mid(1));
}

QStringList LinuxProcesses::associatedCommand(const QString& filePath) const {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(filePath);
    QStringList types{type.name()};
    types += type.allAncestors();
    const MimeDefaults defaults = MimeDefaults::fromEnvironment();
    return defaults.commandFor(defaults.defaultApplication(types), filePath);
}

IProcesses& systemProcesses() {
    static LinuxProcesses processes;
    return processes;
}

} // namespace brx
