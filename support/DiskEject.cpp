#include "support/DiskEject.h"

#include "platform/DiskEject.h"
#include "platform/Volumes.h"
#include "support/PathNames.h"

namespace brx {

TDiskEject::TDiskEject(QObject* parent)
    : TDiskEject(systemVolumes(), systemDiskEjector(), parent) {}

TDiskEject::TDiskEject(IVolumes& volumes, IDiskEjector& ejector, QObject* parent)
    : QObject(parent)
    , m_volumes(volumes)
    , m_ejector(ejector) {}

bool TDiskEject::Ejected() const {
    return m_drive.isEmpty() || m_volumes.freeSpace(WithBackslash(m_drive)) < 0;
}

void TDiskEject::setEjected(bool ejected) {
    if (!ejected) return;
    if (Ejected()) throw EDiskEject(QStringLiteral("No disk in drive!"));
    Eject();
}

bool TDiskEject::Eject() {
    if (m_drive.isEmpty()) return false;
    const QString root = WithBackslash(m_drive);
    // Unmounting a fixed or network volume (the system disk, the home
    // folder's) would pull it from under every program: only removable media
    // are taken out, whatever the caller believed the drive to be.
    if (m_volumes.driveType(root) != DriveType::Removable) return false;
    switch (m_ejector.eject(root)) {
    case EjectOutcome::Ejected:
        return true;
    case EjectOutcome::Failed:
        return false;
    case EjectOutcome::Unsupported:
        break;
    }
    throw EDiskEject(QStringLiteral("Operating System not supported!"));
}

} // namespace brx
