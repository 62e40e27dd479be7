#pragma once
// Where the parts of a ZIP archive lie in its file, as the conversions need
// them: the end record, the directory (computed from the end and as stored),
// the position of the first local header, and whether the two directory
// positions disagree (an archive copied behind a prefix without rebasing).
// The records are read by the ZIP format layer, with the same end-record
// search as the directory reader and the libraries.

#include "zipcore/DirectoryEnd.h"
#include "zipcore/EndRecord.h"
#include "zipcore/ZipReader.h"

#include <QFile>
#include <optional>
#include <string>
#include <vector>

namespace brx {

struct ArchiveLayout {
    qint64 physicalSize = 0;
    qint64 endRecordOffset = 0;
    qint64 fileEnd = 0;        // end of the archive comment
    qint64 computedStart = 0;  // directory start counted back from the end
    uint64_t storedOffset = 0; // directory offset held in the (Zip64) end record
    uint64_t directorySize = 0;
    uint64_t totalEntries = 0;
    quint16 commentLength = 0;
    qint64 sfxOffset = 0; // file position of the first local header
    bool structureWarning = false;
    zipcore::EndRecord end;
    zipcore::DirectoryEnd directory; // the 64-bit view, Zip64 end record included
    std::string zip64Records;        // Zip64 end record and locator as stored, or nothing
    std::string comment;             // as stored
    std::vector<zipcore::ZipEntry> entries;
};

// Reads the layout of the archive in file; nothing when the file holds no
// end record or its directory cannot be read, with errorId set to the
// engine message that tells why.
std::optional<ArchiveLayout> readArchiveLayout(QFile& file, int& errorId);

} // namespace brx
