#pragma once
// Whether folders and paths exist, and creating a folder with its parents.

#include <QString>
#include <functional>

namespace brx {

bool FolderExists(const QString& path);
// True when the entry can be looked at, a dangling symbolic link included.
bool PathExists(const QString& path);

// Creates the folder and every missing parent, outermost first. Raises
// EFolderCreation ("Ne peut créer le répertoire") for an empty path only;
// a folder that cannot be made is not reported: test FolderExists afterwards.
void ForceFolders(const QString& path);

// The same with the creation of one folder supplied by the caller.
using MakeFolderFn = std::function<bool(const QString& folder)>;
void ForceFolders(const QString& path, const MakeFolderFn& makeFolder);

} // namespace brx
