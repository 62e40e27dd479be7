#pragma once
// Writes a byte stream onto the volumes of a set, opening, checking and
// labelling each volume as it is needed. A block given a must-fit size goes
// whole onto one volume (headers are never split); other blocks are split at
// the exact byte where a volume is full.

#include "engine/span/SpanDrive.h"

#include <QDateTime>
#include <QFile>

namespace brx {

class VolumeWriter {
public:
    // firstVolume: the set's name (name.zip); inputDate: given to every volume.
    VolumeWriter(SpanDrive& drive, const QString& firstVolume, const QDateTime& inputDate,
                 DiskFormatFn format);
    ~VolumeWriter();

    // mustFit: bytes that must land on one volume (0 = may be split).
    void write(const char* data, qint64 length, qint64 mustFit = 0);
    void write(const QByteArray& bytes, qint64 mustFit = 0) {
        write(bytes.constData(), bytes.size(), mustFit);
    }

    // Dates and closes the open volume, if any.
    void closeVolume();

    bool progressOn = false;

private:
    void openVolume();
    QString volumeFileName(DriveType type) const;
    void formatDisk(const QString& label);
    bool confirmOverwrite(const QString& fileName);
    bool haveEnoughSpace();
    void nextVolume();

    SpanDrive& m_drive;
    QString m_firstVolume;
    QDateTime m_inputDate;
    DiskFormatFn m_format;
    QFile m_out;
};

} // namespace brx
