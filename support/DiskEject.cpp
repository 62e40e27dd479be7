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
    switch (m_ejector.eject(WithBackslash(m_drive))) {
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
