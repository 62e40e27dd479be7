#include "archive_window/ArchiveStart.h"

#include "support/PathNames.h"

namespace brx {

ArchiveStart deriveArchiveStart(const QString& argument, const QString& programFolder,
                                const FileExistsFn& fileExists) {
    const QString upper = argument.toUpper();
    ArchiveStart start;
    if (upper.startsWith(QStringLiteral("-!"))) {
        start.page = StartPage::Extract;
        start.pictureFile = programFolder + kExtractPicture;
    } else if (upper.startsWith(QStringLiteral("-&"))) {
        start.page = StartPage::ZipExe;
        start.pictureFile = programFolder + kZipExePicture;
    }

    if (start.page == StartPage::Design) {
        // An argument naming the EXE opens the ZIP of the same name.
        start.startPath = changeFileExt(DisplayPathName(argument), QStringLiteral(".ZIP"));
        return start;
    }

    QString path = DisplayPathName(argument.mid(2));
    if (!path.contains(QLatin1Char('.'))) {
        path += QStringLiteral(".ZIP");
        if (!fileExists(path)) path = changeFileExt(path, QStringLiteral(".EXE"));
    }
    start.startPath = path;
    return start;
}

} // namespace brx
