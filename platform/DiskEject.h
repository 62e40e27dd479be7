#pragma once
// Taking a removable medium out: unmount its volume, then eject or power off
// the device so that it can be pulled.

#include <QString>

namespace brx {

enum class EjectOutcome {
    Ejected,
    Failed,
    Unsupported
};

class IDiskEjector {
public:
    virtual ~IDiskEjector() = default;
    // volumeRoot: the mount point of the medium's volume.
    virtual EjectOutcome eject(const QString& volumeRoot) = 0;
};

IDiskEjector& systemDiskEjector();

} // namespace brx
