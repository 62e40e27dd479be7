#pragma once
// Which files other processes are writing or hold locks on: the Linux
// meaning of a file "in use by another program". A backup takes one
// snapshot before it starts and then asks about each file it compresses,
// so the process table is read once per backup, never once per file.

#include <QString>

#include <memory>

namespace brx {

class IFilesInUseSnapshot {
public:
    virtual ~IFilesInUseSnapshot() = default;
    // True when, at the time of the snapshot, another process had the file
    // open for writing or held a lock on it.
    virtual bool isInUse(const QString& path) const = 0;
};

class IFilesInUse {
public:
    virtual ~IFilesInUse() = default;
    virtual std::unique_ptr<IFilesInUseSnapshot> snapshot() = 0;
};

IFilesInUse& systemFilesInUse();

} // namespace brx
