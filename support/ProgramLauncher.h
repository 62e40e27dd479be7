#pragma once
// Starting other programs for both windows: the spanning program, a new
// self-extracting archive under test, the file manager, documents.

#include <QString>
#include <optional>

namespace brx {

class IProcesses;

// Show modes: 0 hidden, 1 shown, 2 minimised, 3 maximised, others hidden.
// commandLine is split like a shell does (double quotes group words, """ is a
// literal quote). When it cannot be started, a name ending in ".lnk" is
// resolved as a shortcut and run, then the program associated with the file
// is run on it; commands built by these fallbacks get no fallback of their own.
// With wait, events are processed until the program ends; its exit code is
// returned. A request to quit the application during the wait ends this
// program at once with the requested code, leaving the started one running.
std::optional<int> RunProgram(const QString& commandLine, int showMode, bool wait);
std::optional<int> RunProgram(const QString& commandLine, int showMode, bool wait,
                              IProcesses& processes);

// The command a shortcut file stores: target, two blanks, arguments, with
// leading blanks removed; empty when the file is no readable shortcut.
QString ResolveShortcut(const QString& lnkPath);

// The command line that opens folder in the desktop's file manager.
QString FileManagerCommand(const QString& folder);

// One word for the command-line splitting above, quoted when needed.
QString quoteArgument(const QString& word);

} // namespace brx
