#pragma once
// The drive a set is written to or read from, and the disk in it: the drive
// check, the disk prompt and the free-space query. Holds the spanning state
// the writer and the reader share (current volume, space left, new-disk flag).

#include "engine/span/SpanHost.h"
#include "platform/Volumes.h"

namespace brx {

class IUserHost;

class SpanDrive {
public:
    SpanDrive(IVolumes& volumes, IUserHost& host, ISpanEvents& events,
              const SpanSettings& settings);

    // DriveRoot := the volume holding path (its mount point, with "/").
    void setDriveOf(const QString& path);

    // path (given on the drive as it was when the run began) on the disk
    // now in the drive, which may be mounted elsewhere.
    QString onDrive(const QString& path) const;

    // True when a readable volume sits in the drive (or an unreadable one that
    // is about to be formatted). Raises 11003 / 11004 for a bad drive root.
    bool checkDrive();

    // Makes sure the wanted disk is present, asking the user on removable
    // drives; returns the drive type. Cancel raises 11007 (not shown).
    DriveType promptForDisk();

    enum DiskFreeFlag {
        FreeSpace = 1,
        Capacity = 2
    };
    void queryDiskFree(int flags);

    // Raises EZipEngine.
    [[noreturn]] static void fail(int id, const QVariantList& args = {}, bool shown = true);

    IVolumes& volumes() { return m_volumes; }
    IUserHost& host() { return m_host; }
    ISpanEvents& events() { return m_events; }
    const SpanSettings& settings() const { return m_settings; }
    bool isRemovable() const { return m_volumes.driveType(DriveRoot) == DriveType::Removable; }

    QString DriveRoot;
    int DriveIndex = 0;
    QString VolumeLabel;
    qint64 DiskSize = -1;
    qint64 DiskFree = -1;
    int DiskNr = 0;     // current volume, 0-based; -1 = the last one is wanted
    int TotalDisks = 0; // 0-based number of the last volume
    bool NewDisk = false;
    qint64 DiskWritten = 0;

    // Set while a set is being written: the prompt then counts the disks
    // the archive will need.
    bool writing = false;
    qint64 archiveLength = 0;

private:
    QString promptText();
    int driveIndexOf(const QString& root) const;
    bool followRemovableDrive();

    IVolumes& m_volumes;
    IUserHost& m_host;
    ISpanEvents& m_events;
    const SpanSettings& m_settings;
    bool m_seenRemovable = false;
    QString m_originalRoot;
    QStringList m_rootsAtStart;
};

} // namespace brx
