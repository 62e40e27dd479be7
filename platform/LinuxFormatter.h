#pragma once
#include "platform/Formatter.h"

#include <QStringList>

namespace brx {

// Formats with mkfs.vfat after unmounting the volume (through udisks2 when
// available, so that no root rights are needed to unmount), then mounts it
// again. Only a volume whose device is removable is ever touched.
class LinuxFormatter final : public IFormatter {
public:
    bool formatVolume(const QString& root, const QString& label, QString* error) override;

private:
    static bool run(const QString& program, const QStringList& args, QString* error);
    static QString deviceOf(const QString& root);
    static bool formatThroughUdisks(const QString& device, const QString& label);
};

} // namespace brx
