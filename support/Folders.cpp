#include "support/Folders.h"

#include "support/Errors.h"
#include "support/PathNames.h"

#include <QDir>
#include <QFileInfo>

namespace brx {

namespace {

// Everything up to and including the last separator ("" when there is none).
QString parentPart(const QString& path) {
    return path.left(path.lastIndexOf(kPathSeparator) + 1);
}

} // namespace

bool FolderExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool PathExists(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void ForceFolders(const QString& path) {
    ForceFolders(path, [](const QString& folder) { return QDir().mkdir(folder); });
}

void ForceFolders(const QString& path, const MakeFolderFn& makeFolder) {
    if (path.isEmpty()) throw EFolderCreation(QStringLiteral("Ne peut créer le répertoire"));
    const QString folder = WithoutBackslash(path);
    const QString parent = parentPart(folder);
    if (FolderExists(folder) || parent == folder) return;
    // A relative name without separator has no parent to make first.
    if (!parent.isEmpty()) ForceFolders(parent, makeFolder);
    makeFolder(folder);
}

} // namespace brx
