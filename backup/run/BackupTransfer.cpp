// The transfer of the staging archive to the destination (CopieSupport): a
// verified copy when the destination has room, volumes written by the
// spanning program for a small removable disk, and an error that keeps the
// staging archive whenever the archive cannot reach the destination.

#include "backup/run/BackupRun.h"

#include "engine/ZipEngine.h"
#include "engine/base/UserHost.h"
#include "platform/Processes.h"
#include "platform/Volumes.h"
#include "support/AppGlobals.h"
#include "support/PathNames.h"
#include "support/ProgramLauncher.h"
#include "support/TextFormat.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace brx {

namespace {

constexpr int kCopyNoDestination = -1;
constexpr int kCopyNoSource = -3;
constexpr int kCopyNoDate = -4;
const QString kOk = QStringLiteral(" ---> OK ");
const QString kErrors = QStringLiteral(" ---> ERREURS !");

} // namespace

void BackupRun::CopieSupport(const BackupRequest& request) {
    const QString staging = m_outcome.stagingArchive;
    const qint64 size = FileSizeOf(staging);
    const qint64 free = m_volumes.freeSpace(m_volumes.volumeRootOf(request.destinationFolder));
    addLog(QStringLiteral("-Transfert final sur media : ") + request.destinationFolder);
    addLog(QStringLiteral("   Place libre sur media : ") + QString::number(free));
    if (free >= 0 && free >= size) {
        copyToDestination(request);
    } else if (m_outcome.removable && free < kSpanThreshold) {
        SpanFile(request);
    } else if (free < 0) {
        keepStagingAfterFailure(QStringLiteral("Place libre illisible sur le média : ") +
                                request.destinationFolder);
    } else {
        keepStagingAfterFailure(QStringLiteral("Place insuffisante sur le média : ") +
                                request.destinationFolder + QStringLiteral(" (") +
                                QString::number(size) + QStringLiteral(" octets requis)"));
    }
}

// The verified copy goes to a temporary name beside the destination and
// replaces an archive of the same name only once it is complete, so that a
// failed copy never costs the previous backup. The engine removes a copy
// that did not complete.
int BackupRun::copyReplacing(const QString& source, const QString& destination) {
    const QString temporary = destination + QStringLiteral(".brxtmp");
    int result = m_engine.CopyFileChecked(source, temporary);
    if (result == 0 || result == kCopyNoDate) {
        if (::rename(QFile::encodeName(temporary).constData(),
                     QFile::encodeName(destination).constData()) != 0)
            result = kCopyNoDestination;
    }
    QFile::remove(temporary);
    return result;
}

void BackupRun::copyToDestination(const BackupRequest& request) {
    Q_UNUSED(request);
    const QString staging = m_outcome.stagingArchive;
    const QString destination = m_outcome.destinationArchive;
    setCaption(QStringLiteral("- Copie sur média...Patientez "));
    m_outcome.copyResult = copyReplacing(staging, destination);
    if (m_outcome.copyResult == kCopyNoSource)
        addLog(QStringLiteral("Archive invalide ou absente ") + staging + QStringLiteral(" ") +
               kErrors);
    if (m_outcome.copyResult != 0) {
        addError(QStringLiteral("Erreur copie sur média : ") +
                 QString::number(m_outcome.copyResult));
        setFinalInfo(
            QStringLiteral("ATTENTION Erreur copie sur média. Recommencez la sauvegarde !"));
        m_outcome.stagingKept = QFileInfo::exists(staging);
    } else {
        setFinalInfo(QStringLiteral("- Sauvegarde terminée.    Vous pouvez quitter."));
        setCaption(QStringLiteral("- Copie sur support terminée"));
    }
    const bool made = QFileInfo::exists(destination);
    addLog(QStringLiteral("   Creation de : ") + destination + QStringLiteral(" [") +
           QString::number(FileSizeOf(destination)) + QStringLiteral("] ") +
           (made ? kOk : kErrors));
    if (m_outcome.stagingKept)
        addLog(QStringLiteral(" Archive conservée dans le Sas : ") + staging);
}

// Hands the archive to the spanning program beside this one, which asks for
// each disk and leaves its marker file when it failed or was abandoned.
void BackupRun::SpanFile(const BackupRequest& request) {
    m_spanned = true;
    const QString folder = WithBackslash(request.programFolder);
    const QString spanner = folder + kSpannerName;
    const QString marker = folder + kSpanErrorMarker;
    QFile::remove(marker);
    if (!QFileInfo(spanner).isFile()) {
        MessageRequest message;
        message.text =
            QStringLiteral("La repartition multidisquette n'est possible qu'avec BRAMBLEX 4.0 ");
        message.caption = applicationTitle();
        m_engine.host().messageBox(message);
        keepStagingAfterFailure(QStringLiteral("Programme de répartition absent : ") + spanner);
        return;
    }
    const QString whole =
        stagingFolder(request) + QFileInfo(m_outcome.destinationArchive).fileName();
    const int copied = m_engine.CopyFileChecked(m_outcome.stagingArchive, whole);
    if (copied < 0)
        addError(QStringLiteral("Erreur copie sur ") + stagingFolder(request) +
                 QStringLiteral(" : ") + QString::number(copied));
    // Quoted, so that folders with blanks reach the program as one argument.
    const QString commandLine =
        quoteArgument(spanner) + QLatin1Char(' ') +
        quoteArgument(whole + QStringLiteral("<>") + request.destinationFolder);
    IProcesses& processes = m_services.processes ? *m_services.processes : systemProcesses();
    const std::optional<int> exitCode = RunProgram(commandLine, 1, true, processes);
    QFile::remove(whole);
    if (!exitCode || QFile::exists(marker)) {
        addError(QStringLiteral("Dsk Span Error or Abortes"));
        QFile::remove(marker);
        m_outcome.stagingKept = true;
        addLog(QStringLiteral(" Archive conservée dans le Sas : ") + m_outcome.stagingArchive);
    }
}

// The archive did not reach the destination: say so, and keep the staging
// archive, which is then the only copy of the backup.
void BackupRun::keepStagingAfterFailure(const QString& error) {
    addError(error);
    addLog(error + kErrors);
    m_outcome.stagingKept = QFileInfo::exists(m_outcome.stagingArchive);
    addLog(QStringLiteral(" Archive conservée dans le Sas : ") + m_outcome.stagingArchive);
    setFinalInfo(QStringLiteral("ATTENTION Erreur copie sur média. Recommencez la sauvegarde !"));
}

} // namespace brx
