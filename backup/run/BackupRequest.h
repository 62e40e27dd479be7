#pragma once
// Everything the backup window knows when its Zip button is pressed, and the
// paths derived from it. Folders carry a trailing "/".

#include "engine/base/ZipEngineTypes.h"

#include <QString>

namespace brx {

inline const QString kStagingFolderName = QStringLiteral("Sas_Zip/");
inline const QString kSfxCaption = QStringLiteral("BRAMBLEX : Restauration des archives.");
// The self-extractor is a Windows program: its default folder stays a drive.
inline const QString kSfxDefaultDir = QStringLiteral("C:\\");

struct BackupRequest {
    QString programFolder; // beside the program: staging folder, spanner, pictures
    QString sourceFolder;  // the folder to back up
    QString filter = QStringLiteral("*.*");
    QString destinationFolder; // where the dated archive goes
    QString datePrefix;        // "DDMM" / "MMDD", empty when off
    QString archiveName;       // without extension

    bool subDirs = true;         // CbSubDir (forces storePaths)
    bool storePaths = true;      // CbPath
    bool password = false;       // CBPassWord
    bool update = false;         // CbUpdateZip "&Mise à jour"
    bool selfExtracting = false; // CBExe "AutoE&xtractible"
    bool eject = false;          // CbEject
    bool autoClose = false;      // AuToClose "Fermeture Auto..."
    int compressionLevel = 1;    // UpTxComp, 1 to 9

    QString sfxCaption = kSfxCaption;
    QString sfxDefaultDir = kSfxDefaultDir;
    OvrOpts sfxOverWriteMode = OvrConfirm;
    SFXOpts sfxOptions = SFXOpts(SFXAskCmdLine | SFXAskFiles | SFXAutoRun);
    AddStoreExts storeSuffixes = AddStoreExts(assGIF | assPNG | assZ | assZIP | assZOO | assARC |
                                              assLZH | assARJ | assTAZ | assTGZ | assLHA);
};

// source folder + "/" + filter.
QString sourcePattern(const BackupRequest& request);
QString stagingFolder(const BackupRequest& request);
// The staging folder + archive name + ".zip".
QString stagingArchive(const BackupRequest& request);
// destination folder + date prefix + archive name + ".Zip" or ".Exe".
QString destinationArchive(const BackupRequest& request);

} // namespace brx
