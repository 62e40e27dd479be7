#include "FileSystem.h"
#include "WinText.h"

namespace sfxcore {
namespace {

DWORD attributesOf(const std::string& path) {
    return GetFileAttributesW(widen(path).c_str());
}

bool isDriveRoot(const std::string& path) {
    return path.size() <= 3 && path.size() >= 2 && path[1] == ':';
}

} // namespace

std::FILE* openFile(const std::string& path, const char* mode) {
    return _wfopen(widen(path).c_str(), widen(mode).c_str());
}

bool fileExists(const std::string& path) {
    const DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::string& path) {
    const DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool makeFolders(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/') &&
           !isDriveRoot(folder))
        folder.pop_back();
    if (folder.empty() || folderExists(folder)) return !folder.empty();
    const size_t cut = folder.find_last_of("\\/");
    if (cut != std::string::npos && cut > 0)
        makeFolders(folder.substr(0, cut + (isDriveRoot(folder.substr(0, cut + 1)) ? 1 : 0)));
    return CreateDirectoryW(widen(folder).c_str(), nullptr) || folderExists(folder);
}

bool removeFile(const std::string& path) {
    return DeleteFileW(widen(path).c_str());
}

bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExW(widen(from).c_str(), widen(to).c_str(), MOVEFILE_REPLACE_EXISTING);
}

void setFileTime(const std::string& path, uint16_t dosDate, uint16_t dosTime) {
    FILETIME local{}, utc{};
    if (!DosDateTimeToFileTime(dosDate, dosTime, &local) || !LocalFileTimeToFileTime(&local, &utc))
        return;
    HANDLE h = CreateFileW(widen(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
}

} // namespace sfxcore
