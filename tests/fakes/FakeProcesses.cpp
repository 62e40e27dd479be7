#include "tests/fakes/FakeProcesses.h"

namespace brx {

namespace {
class EndedProcess final : public IStartedProcess {
public:
    explicit EndedProcess(int code) : m_code(code) {}
    bool hasEnded() override { return true; }
    int exitCode() const override { return m_code; }

private:
    int m_code;
};
} // namespace

std::unique_ptr<IStartedProcess> FakeProcesses::startWatched(const QStringList& argv,
                                                             ShowMode mode) {
    attempts.append({argv, mode, true});
    if (argv.isEmpty() || !m_programs.contains(argv.first())) return nullptr;
    return std::make_unique<EndedProcess>(m_programs.value(argv.first()));
}

bool FakeProcesses::startDetached(const QStringList& argv, ShowMode mode) {
    attempts.append({argv, mode, false});
    return !argv.isEmpty() && m_programs.contains(argv.first());
}

QStringList FakeProcesses::associatedCommand(const QString& filePath) const {
    associationQueries.append(filePath);
    return m_associations.value(filePath);
}

} // namespace brx
