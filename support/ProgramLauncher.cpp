#include "support/ProgramLauncher.h"

#include "platform/Processes.h"
#include "support/ShellLink.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <cstdlib>
#include <thread>

namespace brx {

namespace {

// How often a waiting loop looks at the started program between events.
constexpr int kPollMs = 20;

enum class Fallbacks {
    All,
    AssociationOnly,
    None
};

ShowMode showModeOf(int value) {
    switch (value) {
    case 1:
        return ShowMode::Shown;
    case 2:
        return ShowMode::Minimised;
    case 3:
        return ShowMode::Maximised;
    default:
        return ShowMode::Hidden;
    }
}

QString trimmedCommand(const QString& commandLine) {
    qsizetype first = 0;
    qsizetype last = commandLine.size();
    while (first < last && commandLine.at(first).unicode() <= ' ') ++first;
    while (last > first && commandLine.at(last - 1).unicode() <= ' ') --last;
    return commandLine.mid(first, last - first);
}

// The file a command line names, for the fallbacks: its one word once
// unquoted, else the whole text.
QString fileOfCommand(const QString& trimmed) {
    const QStringList words = QProcess::splitCommand(trimmed);
    return words.size() == 1 ? words.first() : trimmed;
}

// Without an event loop (no application object) there are no events to
// handle: just sleep between polls.
std::optional<int> waitWithoutEvents(IStartedProcess& process) {
    while (!process.hasEnded()) std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    return process.exitCode();
}

// A nested event loop keeps the windows alive and sleeps between events; a
// timer checks the program. QCoreApplication::exit() and quit() end every
// running event loop, this one included: when it returns before the program
// ended, the application was asked to quit.
std::optional<int> waitForEnd(IStartedProcess& process) {
    if (!QCoreApplication::instance()) return waitWithoutEvents(process);
    if (process.hasEnded()) return process.exitCode();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (process.hasEnded()) loop.exit(0);
    });
    poll.start(kPollMs);
    const int loopResult = loop.exec();
    if (!process.hasEnded()) std::exit(loopResult);
    return process.exitCode();
}

std::optional<int> run(const QString& commandLine, int showMode, bool wait, IProcesses& processes,
                       Fallbacks fallbacks);

void runFallbacks(const QString& commandLine, int showMode, bool wait, IProcesses& processes,
                  Fallbacks fallbacks) {
    const QString file = fileOfCommand(trimmedCommand(commandLine));
    if (fallbacks == Fallbacks::All && file.endsWith(QStringLiteral(".lnk"), Qt::CaseInsensitive))
        run(ResolveShortcut(file), showMode, wait, processes, Fallbacks::AssociationOnly);
    if (fallbacks == Fallbacks::None || file.isEmpty()) return;
    const QString program = processes.associatedProgram(file);
    if (!program.isEmpty())
        run(quoteArgument(program) + QStringLiteral("  ") + commandLine, showMode, wait, processes,
            Fallbacks::None);
}

std::optional<int> run(const QString& commandLine, int showMode, bool wait, IProcesses& processes,
                       Fallbacks fallbacks) {
    const QStringList argv = QProcess::splitCommand(commandLine);
    const ShowMode mode = showModeOf(showMode);
    if (!wait) {
        if (!processes.startDetached(argv, mode))
            runFallbacks(commandLine, showMode, wait, processes, fallbacks);
        return std::nullopt;
    }
    if (const auto process = processes.startWatched(argv, mode)) return waitForEnd(*process);
    runFallbacks(commandLine, showMode, wait, processes, fallbacks);
    return std::nullopt;
}

} // namespace

std::optional<int> RunProgram(const QString& commandLine, int showMode, bool wait) {
    return RunProgram(commandLine, showMode, wait, systemProcesses());
}

std::optional<int> RunProgram(const QString& commandLine, int showMode, bool wait,
                              IProcesses& processes) {
    return run(commandLine, showMode, wait, processes, Fallbacks::All);
}

QString ResolveShortcut(const QString& lnkPath) {
    QFile file(lnkPath);
    ShellLinkInfo link;
    if (!file.open(QIODevice::ReadOnly) || !parseShellLink(file.read(1 << 20), link)) return {};
    const QString command = link.targetPath + QStringLiteral("  ") + link.arguments;
    qsizetype first = 0;
    while (first < command.size() && command.at(first) == QLatin1Char(' ')) ++first;
    return command.mid(first);
}

QString FileManagerCommand(const QString& folder) {
    return QStringLiteral("xdg-open ") + quoteArgument(folder);
}

QString quoteArgument(const QString& word) {
    if (!word.isEmpty() && !word.contains(QLatin1Char(' ')) && !word.contains(QLatin1Char('\t')) &&
        !word.contains(QLatin1Char('"')))
        return word;
    QString escaped = word;
    escaped.replace(QStringLiteral("\""), QStringLiteral("\"\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace brx
