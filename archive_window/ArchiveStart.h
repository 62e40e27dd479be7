#pragma once
// How the archive manager turns its argument into an archive path, a start
// page and a page picture.

#include <QString>
#include <functional>

namespace brx {

enum class StartPage {
    Design,
    Extract,
    ZipExe
};

inline const QString kExtractPageCaption = QStringLiteral("Extraire");
inline const QString kZipExePageCaption = QStringLiteral(" ZIP <---> EXE");
inline const QString kExtractPicture = QStringLiteral("Zip2Files.gif");
inline const QString kZipExePicture = QStringLiteral("Zip2Exe.gif");

struct ArchiveStart {
    QString startPath; // also the engine's archive file name
    StartPage page = StartPage::Design;
    QString pictureFile; // empty: no page picture
};

using FileExistsFn = std::function<bool(const QString&)>;

// argument: the first argument in its own letter case; programFolder with a
// trailing "/".
ArchiveStart deriveArchiveStart(const QString& argument, const QString& programFolder,
                                const FileExistsFn& fileExists);

} // namespace brx
