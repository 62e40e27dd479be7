#include "archive_window/ArchiveStart.h"

#include "support/PathNames.h"

namespace brx {

namespace {

// path as spelled on disk when it exists in some letter case, else unchanged.
QString spelledAsOnDisk(const QString& path, const FindFileFn& findFile) {
    const QString found = findFile(path);
    return found.isEmpty() ? path : found;
}

} // namespace

ArchiveStart deriveArchiveStart(const QString& argument, const QString& programFolder,
                                const FindFileFn& findFile) {
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
        start.startPath = spelledAsOnDisk(
            changeFileExt(DisplayPathName(argument), QStringLiteral(".ZIP")), findFile);
        return start;
    }

    QString path = DisplayPathName(argument.mid(2));
    if (!path.contains(QLatin1Char('.'))) {
        const QString zip = findFile(path + QStringLiteral(".ZIP"));
        path = zip.isEmpty() ? spelledAsOnDisk(path + QStringLiteral(".EXE"), findFile) : zip;
    }
    start.startPath = path;
    return start;
}

} // namespace brx
