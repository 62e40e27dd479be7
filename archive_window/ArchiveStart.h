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

// The spelling under which a file exists on disk (its name compared without
// regard to case, the exact spelling first), empty when it exists under none.
using FindFileFn = std::function<QString(const QString&)>;

// argument: the first argument in its own letter case; programFolder with a
// trailing "/". Every ".ZIP" or ".EXE" name built here is looked up with
// findFile: an existing file of another letter case is that file; a file that
// exists under no spelling keeps the upper-case extension.
ArchiveStart deriveArchiveStart(const QString& argument, const QString& programFolder,
                                const FindFileFn& findFile);

} // namespace brx
