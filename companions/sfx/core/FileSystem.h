#pragma once
// The few file-system services the self-extractor needs, on UTF-8 paths with
// "/" or "\" separators. FileSystemPosix.cpp serves the native build,
// win32/FileSystemWin32.cpp the stub.

#include <cstdint>
#include <cstdio>
#include <string>

namespace sfxcore {

std::FILE* openFile(const std::string& path, const char* mode);
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
// Creates the folder and its missing parents; true when it exists afterwards.
bool makeFolders(const std::string& path);
bool removeFile(const std::string& path);
// Moves a finished temporary file over its target.
bool replaceFile(const std::string& from, const std::string& to);
// Sets the modification time from the entry's DOS date and time (local time).
void setFileTime(const std::string& path, uint16_t dosDate, uint16_t dosTime);

inline constexpr char kSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

} // namespace sfxcore
