#pragma once
// Volumes for tests: roots, types, labels and space are set by the test.

#include "platform/Volumes.h"

#include <QMap>

namespace brx {

struct FakeVolume {
    DriveType type = DriveType::Fixed;
    QString label;
    qint64 freeBytes = 1'000'000'000;
    qint64 capacityBytes = 2'000'000'000;
    bool labelWritable = true;
};

class FakeVolumes final : public IVolumes {
public:
    FakeVolumes();

    // Adds or replaces a volume; root with a trailing "/".
    void setVolume(const QString& root, const FakeVolume& volume);
    void removeVolume(const QString& root);
    FakeVolume* volume(const QString& root);
    void setHome(const QString& home) { m_home = home; }

    QStringList mountPoints() const override;
    QStringList volumeRoots() const override;
    QString volumeRootOf(const QString& path) const override;
    DriveType driveType(const QString& root) const override;
    QString volumeLabel(const QString& root) const override;
    bool setVolumeLabel(const QString& root, const QString& label) override;
    qint64 freeSpace(const QString& root) const override;
    qint64 capacity(const QString& root) const override;

private:
    QMap<QString, FakeVolume> m_volumes;
    QString m_home = QStringLiteral("/home/user/");
};

} // namespace brx
