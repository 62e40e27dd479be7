// The compression part of a run (Zippage), its summary and the engine's
// progress and message events as the backup window shows them.

#include "backup/run/BackupRun.h"

#include "engine/ZipEngine.h"
#include "engine/base/UserHost.h"
#include "platform/Clock.h"
#include "platform/FilesInUse.h"
#include "support/Folders.h"
#include "support/PathNames.h"
#include "support/TextFormat.h"

#include <QFileInfo>

#include <cmath>

namespace brx {

namespace {

constexpr int kMissingFilesCode = 767;
constexpr int kArchiveNotMadeCode = 852237;
const QString kOk = QStringLiteral(" ---> OK ");
const QString kErrors = QStringLiteral(" ---> ERREURS !");

QString bracketedSize(const QString& path) {
    return QStringLiteral(" [") + QString::number(FileSizeOf(path)) + QStringLiteral("] ");
}

} // namespace

int reductionPercent(qint64 before, qint64 after) {
    if (before == 0 || after == 0) return 0;
    const double percent =
        static_cast<double>(before - after) * 100.0 / static_cast<double>(before);
    return static_cast<int>(std::nearbyint(percent)); // the default mode rounds halves to even
}

void BackupRun::Zippage(BackupRequest& request) {
    if (request.subDirs && !request.storePaths) {
        request.storePaths = true; // subfolders are always stored with their paths
        emit storePathsForced();
    }
    if (!FolderExists(stagingFolder(request))) ForceFolders(stagingFolder(request));
    m_outcome.stagingArchive = stagingArchive(request);
    m_engine.setZipFileName(m_outcome.stagingArchive);
    addLog(QStringLiteral("  Filtre inclusion : ") + sourcePattern(request));
    setAddProperties(request);
    m_inUse = (m_services.filesInUse ? *m_services.filesInUse : systemFilesInUse()).snapshot();
    m_engine.host().processEvents(); // the scan and the library's own folder scan add up
    emit pictureChanged(picturePath(QStringLiteral("ZipRun.gif")), true);
    m_startTick = tickCount();
    m_engine.Add();
    m_endTick = tickCount();
    emit pictureChanged(picturePath(QStringLiteral("ZipRun.gif")), false);
    RatioFilesStatusBar();
    addLog(QStringLiteral("-Creation(s) archive(s) dans le Sas : ") + stagingFolder(request));
    const QString staging = m_outcome.stagingArchive;
    if (QFileInfo::exists(staging))
        addLog(staging + bracketedSize(staging) + m_outcome.summaryText + kOk);
    else
        addLog(staging + kErrors);
    if (request.selfExtracting) convertToExe(request);
}

// The engine's properties in the order the backup sets them.
void BackupRun::setAddProperties(const BackupRequest& request) {
    m_engine.setSFXCaption(request.sfxCaption);
    m_engine.setSFXDefaultDir(request.sfxDefaultDir);
    m_engine.setSFXOverWriteMode(request.sfxOverWriteMode);
    m_engine.setSFXOptions(request.sfxOptions);
    m_engine.setAddStoreSuffixes(request.storeSuffixes);
    m_engine.setAddCompLevel(request.compressionLevel);
    AddOpts options = AddHiddenFiles;
    if (request.storePaths) options |= AddDirNames;
    if (request.subDirs) options |= AddRecurseDirs;
    if (QFileInfo::exists(m_outcome.stagingArchive)) options |= AddUpdate;
    m_engine.setAddOptions(options);
    // A password of an earlier run is never reused without being asked for.
    m_engine.setPassword(QString());
    if (request.password && m_askPassword) {
        const PasswordChoice choice = m_askPassword();
        if (choice.encrypt) {
            m_engine.setAddOptions(m_engine.AddOptions() | AddEncrypt);
            m_engine.setPassword(choice.password);
        }
        if (!choice.logLine.isEmpty()) addLog(choice.logLine);
    }
    m_engine.setFSpecArgs({sourcePattern(request)});
}

void BackupRun::RatioFilesStatusBar() {
    qint64 before = 0;
    qint64 after = 0;
    for (const ZipDirEntry& entry : m_engine.ZipContents()) {
        before += entry.UncompressedSize;
        after += entry.CompressedSize;
    }
    m_outcome.reduction = reductionPercent(before, after);
    m_outcome.elapsed = FormatElapsed(m_startTick, m_endTick);
    const QString count = QString::number(m_engine.SuccessCnt());
    const QString reduction = QString::number(m_outcome.reduction) + QStringLiteral("%");
    emit hintChanged(QStringLiteral("|Date : ") + m_dateText + QStringLiteral(" / ") + count +
                     QStringLiteral(" Fichiers traités") + QStringLiteral(" / ") +
                     QStringLiteral("Réduction : ") + reduction + QStringLiteral(" / ") +
                     QStringLiteral("Durée : ") + m_outcome.elapsed);
    m_outcome.summaryText = QStringLiteral("[ ") + count + QStringLiteral(" / ") + reduction +
                            QStringLiteral(" / ") + m_outcome.elapsed + QStringLiteral("]");
}

void BackupRun::convertToExe(const BackupRequest& request) {
    Q_UNUSED(request);
    const int result = m_engine.ConvertToExe();
    const QString exe = changeFileExt(m_outcome.stagingArchive, QStringLiteral(".exe"));
    m_outcome.stagingArchive = exe;
    if (result == 0)
        addLog(QStringLiteral("Conversion Autoextractible : ") + exe + bracketedSize(exe) + kOk);
    if (!QFileInfo::exists(exe)) addLog(exe + QStringLiteral(" ") + kErrors);
}

void BackupRun::ZipEngine1Message(int errCode, const QString& message) {
    m_lastMessageCode = errCode;
    if (errCode == 0) return;
    if (errCode == kMissingFilesCode || errCode == kArchiveNotMadeCode) {
        const QString text = errCode == kMissingFilesCode
                                 ? message.mid(15) + QStringLiteral(" inéxistant(s)")
                                 : QStringLiteral("Archive non créée.");
        addError(text);
        addLog(text);
        return;
    }
    addError(QString::number(errCode) + QStringLiteral(" ") + message);
}

void BackupRun::ZipEngine1Progress(ProgressType type, const QString& name, qint64 size) {
    switch (type) {
    case ProgrNewFile: {
        ++m_outcome.filesProcessed;
        emit filesCounterChanged(QStringLiteral("Fichiers traités : ") +
                                 QString::number(m_outcome.filesProcessed) + QStringLiteral("/") +
                                 QString::number(m_outcome.totalFiles));
        const QString fullName = fullNameOf(name);
        const bool paths = !m_request || m_request->storePaths;
        const QString item = paths ? fullName : QFileInfo(fullName).fileName();
        m_outcome.processedFiles.append(item);
        emit fileProcessed(item);
        emit currentFileChanged(fullName);
        // Looked up in the snapshot taken before the add: it is compressed all the same.
        if (m_inUse && m_inUse->isInUse(fullName)) {
            m_outcome.filesInUse.append(fullName);
            emit fileInUseAdded(fullName);
        }
        m_currentFileSize = size;
        m_currentFileDone = 0;
        setBar(1, true);
        break;
    }
    case ProgrUpdate: {
        m_currentFileDone += size;
        const qint64 span = std::max<qint64>(m_currentFileSize, 1);
        const qint64 done = std::min(m_currentFileDone, span);
        setBar(static_cast<int>(1 + done * 99 / span), true);
        break;
    }
    case ProgrEndOfBatch:
        m_outcome.processedFiles.sort();
        emit processedFilesSorted(m_outcome.processedFiles);
        emit currentFileChanged(QStringLiteral(" "));
        setBar(0, false);
        break;
    case ProgrTotalFiles:
        m_outcome.totalFiles = static_cast<int>(size);
        emit progressChanged(m_barPosition, true);
        break;
    case ProgrTotalSize:
        m_outcome.totalSize = size;
        setBar(1, true);
        break;
    }
}

void BackupRun::setBar(int position, bool visible) {
    m_barPosition = position;
    emit progressChanged(position, visible);
}

// The library names an item as stored: with paths, the absolute path less
// its leading "/"; without, the name in the source folder.
QString BackupRun::fullNameOf(const QString& storedName) const {
    const QString absolute = QStringLiteral("/") + storedName;
    if (QFileInfo::exists(absolute)) return WithoutBackslash(absolute);
    const QString folder = m_request ? WithBackslash(m_request->sourceFolder) : QString();
    return WithoutBackslash(folder + storedName);
}

} // namespace brx
