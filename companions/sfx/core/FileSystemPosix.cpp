#include "FileSystem.h"

#include "zipcore/ZipFormat.h"

#include <cerrno>
#include <cstdint>
#include <sys/stat.h>
#include <utime.h>

namespace sfxcore {

std::FILE* openFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeFolders(const std::string& path) {
    if (path.empty() || folderExists(path)) return !path.empty();
    const size_t cut = path.find_last_of('/', path.size() > 1 ? path.size() - 2 : 0);
    if (cut != std::string::npos && cut > 0) makeFolders(path.substr(0, cut));
    return ::mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && folderExists(path));
}

bool removeFile(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void setFileTime(const std::string& path, uint16_t dosDate, uint16_t dosTime) {
    const std::time_t t = zipcore::fromDosDateTime(dosDate, dosTime);
    if (t == -1) return;
    utimbuf times{t, t};
    ::utime(path.c_str(), &times);
}

} // namespace sfxcore
