#pragma once
// Files in use for tests: the test names the busy paths and counts how many
// snapshots were taken.

#include "platform/FilesInUse.h"

#include <QSet>
#include <QString>

namespace brx {

class FakeFilesInUse final : public IFilesInUse {
public:
    QSet<QString> busy;
    int snapshots = 0;

    std::unique_ptr<IFilesInUseSnapshot> snapshot() override {
        ++snapshots;
        return std::make_unique<Snapshot>(busy);
    }

private:
    class Snapshot final : public IFilesInUseSnapshot {
    public:
        explicit Snapshot(QSet<QString> paths) : m_paths(std::move(paths)) {}
        bool isInUse(const QString& path) const override { return m_paths.contains(path); }

    private:
        QSet<QString> m_paths;
    };
};

} // namespace brx
