#include "backup/run/BackupRequest.h"

#include "support/PathNames.h"

namespace brx {

QString sourcePattern(const BackupRequest& request) {
    return WithBackslash(request.sourceFolder) + request.filter;
}

QString stagingFolder(const BackupRequest& request) {
    return WithBackslash(request.programFolder) + kStagingFolderName;
}

QString stagingArchive(const BackupRequest& request) {
    return stagingFolder(request) + request.archiveName + QStringLiteral(".zip");
}

QString destinationArchive(const BackupRequest& request) {
    const QString extension =
        request.selfExtracting ? QStringLiteral(".Exe") : QStringLiteral(".Zip");
    return WithBackslash(request.destinationFolder) + request.datePrefix + request.archiveName +
           extension;
}

} // namespace brx
