#pragma once
// The component that ejects the backup's removable medium at the end.

#include "support/Errors.h"

#include <QObject>
#include <QString>

namespace brx {

class IDiskEjector;
class IVolumes;

class TDiskEject : public QObject {
    Q_OBJECT
    // The volume root of the medium (the drive).
    Q_PROPERTY(QString Drive READ Drive WRITE setDrive)
    // Reads true when no medium is readable there; writing true ejects it.
    Q_PROPERTY(bool Ejected READ Ejected WRITE setEjected STORED false)

public:
    explicit TDiskEject(QObject* parent = nullptr);
    TDiskEject(IVolumes& volumes, IDiskEjector& ejector, QObject* parent = nullptr);

    QString Drive() const { return m_drive; }
    void setDrive(const QString& root) { m_drive = root; }

    bool Ejected() const;
    // true: raises EDiskEject "No disk in drive!" when there is no medium,
    // else ejects it (the result is dropped). false does nothing.
    void setEjected(bool ejected);

    // Unmounts and ejects the medium; false when that failed or when Drive is
    // not the root of a removable volume (nothing is unmounted then). Raises
    // EDiskEject "Operating System not supported!" when this system offers
    // no way to do it.
    bool Eject();

private:
    IVolumes& m_volumes;
    IDiskEjector& m_ejector;
    QString m_drive;
};

} // namespace brx
