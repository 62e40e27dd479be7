#include "support/DriveProbe.h"

#include "platform/Volumes.h"
#include "support/PathNames.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>

namespace brx {

namespace {

bool isDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

int listingResult(const QString& folder) {
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return (errno == ENOENT || errno == ENOTDIR || errno == ENODEV || errno == ENXIO)
                   ? kProbeNotReady
                   : kProbeOtherFailure;
    int result = kProbeEmpty;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isDotEntry(entry->d_name)) {
            result = kProbeHasEntry;
            break;
        }
    }
    if (result == kProbeEmpty && errno != 0) result = kProbeOtherFailure;
    ::closedir(dir);
    return result;
}

} // namespace

int ProbeDrive(const QString& root) {
    return ProbeDrive(root, systemVolumes());
}

int ProbeDrive(const QString& root, const IVolumes& volumes) {
    if (!isVolumeRoot(root, volumes)) return kProbeNotReady;
    return listingResult(WithBackslash(root));
}

} // namespace brx
