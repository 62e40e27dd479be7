#pragma once
// The engine's directory reader: reads an archive's end record and central
// directory into the entry list and the archive state the engine shows.
// The ZIP records themselves are parsed by zipcore; this adds the volume
// details, the messages the user sees and the entry events. Owned by
// TZipEngine; failures go through its message path.

#include "engine/ZipArchiveState.h"
#include "engine/base/CodePageMode.h"
#include "engine/base/ZipDirEntry.h"
#include "engine/base/ZipEngineTypes.h"

#include <QList>
#include <QString>
#include <functional>

class QFile;

namespace brx {

class IVolumes;
class MessagePath;

class DirectoryReader {
public:
    // Asks for volume disk of the multi-volume set whose open volume is
    // current; returns the file name to read it from (throws EZipEngine).
    using VolumeRequest = std::function<QString(const QString& current, int disk, int totalDisks)>;

    DirectoryReader(IVolumes& volumes, MessagePath& messages, const TNewNameEvent& onNewName,
                    VolumeRequest requestVolume);

    const QList<ZipDirEntry>& entries() const { return m_entries; }
    const ZipArchiveState& state() const { return m_arc; }
    // The archive comment as text, decoded as the code page mode says.
    QString comment(TCodePageMode mode) const;

    // Forgets the archive read last.
    void clear();
    // Reads the directory of the open (or openable) archive. A failure is
    // reported through the message path and returns false.
    bool read(QFile& archive, TCodePageMode codePage);
    // End-record search: true when found (record in state()). Strict mode
    // raises EZipEngine on failure; quiet mode reports and returns false.
    bool findEndRecord(QFile& archive, bool strict);

private:
    void readArchive(QFile& archive, TCodePageMode codePage);
    void readCentralDirectory(QFile& archive, qint64 start, TCodePageMode codePage);
    QByteArray readDirectoryBytes(QFile& archive, qint64 start);
    void openDirectoryVolume(QFile& archive, int disk);
    void resolveDirectoryEnd(QFile& archive);
    void readVolumeNumber(const QString& fileName);
    void raiseNoEndRecord();

    IVolumes& m_volumes;
    MessagePath& m_messages;
    const TNewNameEvent& m_onNewName;
    VolumeRequest m_requestVolume;
    QList<ZipDirEntry> m_entries;
    ZipArchiveState m_arc;
};

} // namespace brx
