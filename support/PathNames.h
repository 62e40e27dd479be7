#pragma once
// Folder-path spelling: trailing separators, the displayed form of a path,
// and whether a path is the root of a volume.

#include <QString>

namespace brx {

class IVolumes;

inline constexpr QChar kPathSeparator = QLatin1Char('/');

// Appends one trailing separator unless the path is empty or already ends with one.
QString WithBackslash(const QString& path);
// Removes one trailing separator, except from the root "/" itself.
QString WithoutBackslash(const QString& path);

// For an existing path: the absolute, cleaned path (no "." or ".." parts,
// symbolic links kept), without a trailing separator; a relative path is
// taken from the current folder. A path that does not exist comes back as
// given, less its trailing separator.
QString DisplayPathName(const QString& path);

// True when path (with or without its trailing separator) is the mount point
// of a volume; the Linux meaning of "a drive root".
bool isVolumeRoot(const QString& path, const IVolumes& volumes);

// The file name's extension replaced (or appended when the last component has
// no dot); ext includes its dot, e.g. ".ZIP".
QString changeFileExt(const QString& path, const QString& ext);

} // namespace brx
