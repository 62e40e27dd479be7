#pragma once
// What one backup run came to, for the window and the tests.

#include "backup/run/BackupReport.h"

#include <QString>
#include <QStringList>

namespace brx {

struct BackupOutcome {
    bool success = false;       // the report found both lists empty
    QStringList errors;         // ListBox1
    QStringList filesInUse;     // ListBox2
    QStringList processedFiles; // ListBox3, sorted at the end of the batch
    int filesProcessed = 0;
    int totalFiles = 0;
    qint64 totalSize = 0;
    bool removable = false;
    bool stagingKept = false; // left in the staging folder (update, or a failed transfer)
    int copyResult = 0;
    int reduction = 0;      // percent
    QString elapsed;        // FormatElapsed of the add
    QString summaryText;    // "[ n / r% / mm:ss Sec.]"
    QString stagingArchive; // as it was after compression (".exe" after a conversion)
    QString destinationArchive;
    QString sizeText; // FileSizeText of the destination archive
    QString caption;
    QString destinationText; // LbFileDest
    QString finalInfo;       // Lb3dFinalInfos
    ReportTexts report;
};

} // namespace brx
