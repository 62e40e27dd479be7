#pragma once
// What the directory reader learned about the archive as a whole.

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "zipcore/DirectoryEnd.h"
#include "zipcore/EndRecord.h"

namespace brx {

// The 22-byte end-of-central-directory record (signature "PK\5\6").
using EndRecord = zipcore::EndRecord;

struct ZipArchiveState {
    qint64 fileEnd = 0;      // logical end of the archive (end of its comment)
    qint64 physicalSize = 0; // length of the file
    qint64 endRecordOffset = 0;
    qint64 zipSOC = 0;    // computed start of the central directory
    qint64 sfxOffset = 0; // file position of the first local header
    bool isSpanned = false;
    int totalDisks = 0;   // the end record's own disk number
    int volumeNumber = 0; // from a "PKBACK# nnn" label, 0 otherwise
    bool structureWarning = false;
    QByteArray rawComment;           // up to the first NUL
    EndRecord end;                   // as stored
    zipcore::DirectoryEnd directory; // its 64-bit reading, Zip64 end record included
    QString volumeLabel;
    qint64 diskSize = -1;
    qint64 diskFree = -1;
    int lastHost = 0; // version made by of the central header read last
    int lastVersion = 0;
};

} // namespace brx
