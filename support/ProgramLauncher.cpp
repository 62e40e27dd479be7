#include "support/ProgramLauncher.h"

#include "platform/Processes.h"
#include "support/ShellLink.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace brx {

namespace {

// How often a waiting loop looks at the started program between events.
constexpr int kPollMs = 20;

enum class Fallbacks {
    All,
    AssociationOnly
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

// Whether argv could be started and, when waited for, its exit code.
struct Launch {
    bool started = false;
    std::optional<int> exitCode;
};

Launch launch(const QStringList& argv, int showMode, bool wait, IProcesses& processes) {
    const ShowMode mode = showModeOf(showMode);
    if (!wait) return {processes.startDetached(argv, mode), std::nullopt};
    if (const auto process = processes.startWatched(argv, mode))
        return {true, waitForEnd(*process)};
    return {};
}

std::optional<int> run(const QString& commandLine, int showMode, bool wait, IProcesses& processes,
                       Fallbacks fallbacks);

// The associated program's arguments come from its desktop entry already
// split: they are started as they are, never joined into a line and split
// again, and get no fallback of their own.
void runFallbacks(const QString& commandLine, int showMode, bool wait, IProcesses& processes,
                  Fallbacks fallbacks) {
    const QString file = fileOfCommand(trimmedCommand(commandLine));
    if (fallbacks == Fallbacks::All && file.endsWith(QStringLiteral(".lnk"), Qt::CaseInsensitive))
        run(ResolveShortcut(file), showMode, wait, processes, Fallbacks::AssociationOnly);
    if (file.isEmpty()) return;
    const QStringList associated = processes.associatedCommand(file);
    if (!associated.isEmpty()) launch(associated, showMode, wait, processes);
}

std::optional<int> run(const QString& commandLine, int showMode, bool wait, IProcesses& processes,
                       Fallbacks fallbacks) {
    const Launch result = launch(QProcess::splitCommand(commandLine), showMode, wait, processes);
    if (!result.started) runFallbacks(commandLine, showMode, wait, processes, fallbacks);
    return result.exitCode;
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
    // The splitting ends a word at any white space, line breaks included.
    const bool plain = std::none_of(word.cbegin(), word.cend(),
                                    [](QChar c) { return c.isSpace() || c == QLatin1Char('"'); });
    if (!word.isEmpty() && plain) return word;
    QString escaped = word;
    escaped.replace(QStringLiteral("\""), QStringLiteral("\"\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace brx
