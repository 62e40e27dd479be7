#pragma once
// Reading the volumes of a set: asks for and opens volume n, and reads
// records and data that continue on the next volume.

#include "engine/span/SpanDrive.h"

#include <QFile>

namespace brx {

class SpanInput {
public:
    // anyVolume: the name of a volume of the set as given by the user.
    SpanInput(SpanDrive& drive, const QString& anyVolume);

    // Closes the current volume, asks for volume n (0-based) until the right
    // one is present, and opens it. On a fixed drive a missing file raises
    // 11001; on a removable drive it is reported and the disk asked again.
    void openVolume(int n);
    // Opens the current input name without asking (the volume in hand).
    void openCurrent(int n);
    void close() { m_file.close(); }

    // A header or end record: never split, so a read that finds nothing at
    // the end of a volume goes on with the next volume; any other short
    // read raises errorId.
    QByteArray readRecord(qint64 length, int errorId);
    // Entry data and extra fields: may continue on the next volume at any byte.
    QByteArray readData(qint64 length, int errorId);
    void seek(qint64 pos);
    void skip(qint64 length) { seek(m_file.pos() + length); }

    QFile& file() { return m_file; }
    // The current volume's file, on the disk now in the drive.
    QString inputName() const { return m_drive.onDrive(m_name); }

private:
    bool acceptsVolumeName();
    bool canContinue() const;

    SpanDrive& m_drive;
    QString m_name;
    QFile m_file;
};

} // namespace brx
