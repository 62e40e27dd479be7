#pragma once
// Processes for tests: which programs start (and their exit codes) and which
// files have an associated program are set by the test; every attempt to
// start something is recorded.

#include "platform/Processes.h"

#include <QList>
#include <QMap>

namespace brx {

struct StartAttempt {
    QStringList argv;
    ShowMode mode = ShowMode::Hidden;
    bool watched = false;
};

class FakeProcesses final : public IProcesses {
public:
    // A program (argv[0]) that starts and ends at once with exitCode.
    void addProgram(const QString& program, int exitCode = 0) {
        m_programs.insert(program, exitCode);
    }
    // The associated program receives the file as its one argument.
    void setAssociation(const QString& file, const QString& program) {
        m_associations.insert(file, {program, file});
    }
    void setAssociatedCommand(const QString& file, const QStringList& argv) {
        m_associations.insert(file, argv);
    }

    QList<StartAttempt> attempts;
    mutable QStringList associationQueries;

    std::unique_ptr<IStartedProcess> startWatched(const QStringList& argv, ShowMode mode) override;
    bool startDetached(const QStringList& argv, ShowMode mode) override;
    QStringList associatedCommand(const QString& filePath) const override;

private:
    QMap<QString, int> m_programs;
    QMap<QString, QStringList> m_associations;
};

} // namespace brx
