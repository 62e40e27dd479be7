#include "support/FileSpelling.h"

#include "support/PathNames.h"

#include <QDir>
#include <QFileInfo>

namespace brx {

QString existingFileSpelling(const QString& path) {
    if (path.isEmpty() || path.endsWith(kPathSeparator)) return {};
    const QFileInfo exact(path);
    if (exact.exists() && !exact.isDir()) return path;

    const qsizetype slash = path.lastIndexOf(kPathSeparator);
    const QString folderPart = path.left(slash + 1); // empty for a bare name
    const QString name = path.mid(slash + 1);
    const QDir folder(folderPart.isEmpty() ? QStringLiteral(".") : folderPart);
    // Files only: a folder named like an archive is not the archive. Hidden
    // and system entries count, since the user named this one explicitly.
    const QStringList candidates =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& candidate : candidates)
        if (candidate.compare(name, Qt::CaseInsensitive) == 0) return folderPart + candidate;
    return {};
}

} // namespace brx
