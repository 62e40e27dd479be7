#pragma once
// The final report of a backup: success (InfosPASErreurs) or failure and
// warnings (InfosDES_Erreurs), as texts and choices the window applies.

#include <QString>
#include <QStringList>

namespace brx {

inline constexpr int kReportWidth = 590; // wide enough to show the details panel
inline const QString kErrorPicture = QStringLiteral("ZipErr.gif");

struct ReportInput {
    QStringList errors;
    QStringList filesInUse;
    int lastMessageCode = 0;
    bool removable = false;
    bool autoClose = false;
    QString destinationArchive;
    // The destination is a small removable disk that received the archive in
    // volumes: the size shown is then that of the staging archive.
    bool floppyDestination = false;
    QString summaryText;
    // FileSizeText of the destination archive and of the staging archive.
    QString destinationSizeText;
    QString stagingSizeText;
};

struct ReportTexts {
    bool success = false;
    QString caption;
    QString destinationText;  // LbFileDest
    QString finalInfo;        // Lb3dFinalInfos; empty: left as it is
    int windowWidth = 0;      // 0: unchanged
    QString picture;          // animated picture to show; empty: none
    bool closeWindow = false; // the quit procedure runs at once
    QStringList logLines;
};

// InfosErreurs: success when both lists are empty.
ReportTexts InfosErreurs(const ReportInput& input);
ReportTexts InfosPASErreurs(const ReportInput& input);
ReportTexts InfosDES_Erreurs(const ReportInput& input);

} // namespace brx
