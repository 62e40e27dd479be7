#pragma once
// Starting other programs, and finding the program that opens a file.

#include <QString>
#include <QStringList>
#include <memory>

namespace brx {

// How the started program's window should appear. X11 and Wayland let the
// program decide: every mode starts it normally, Hidden asks for no window.
enum class ShowMode {
    Hidden,
    Shown,
    Minimised,
    Maximised
};

// A started program that is watched until it ends.
class IStartedProcess {
public:
    virtual ~IStartedProcess() = default;
    // Polls without blocking; true once the program has ended.
    virtual bool hasEnded() = 0;
    // Valid once hasEnded() returned true (128 + signal after a signal).
    virtual int exitCode() const = 0;
};

class IProcesses {
public:
    virtual ~IProcesses() = default;

    // argv[0] is looked up on PATH unless it holds a "/". The program gets
    // this program's environment and current folder and no open files but
    // the standard three. nullptr when it cannot be started.
    virtual std::unique_ptr<IStartedProcess> startWatched(const QStringList& argv,
                                                          ShowMode mode) = 0;
    // Starts a program that lives on its own; false when it cannot be started.
    virtual bool startDetached(const QStringList& argv, ShowMode mode) = 0;

    // The arguments that open the file with the default application of its
    // MIME type (argv[0] the program, the file among the others); empty when
    // there is none or its desktop entry cannot be run.
    virtual QStringList associatedCommand(const QString& filePath) const = 0;
};

IProcesses& systemProcesses();

} // namespace brx
