// How messages, skips and CRC errors of an operation add up to its outcome.
// Only the engine reads the libraries' codes; this is the one place where
// they are given a meaning.

#include "engine/ZipOutcome.h"

#include "engine/base/ZipMsg.h"

#include <brx/ZipDllAbi.h>

namespace brx {

namespace {

struct Classified {
    ZipMessageKind message;
    ZipOutcomeKind outcome; // raised for failures only
};

constexpr Classified info{ZipMessageKind::Info, ZipOutcomeKind::Ok};
constexpr Classified warning{ZipMessageKind::Warning, ZipOutcomeKind::Ok};

constexpr Classified failure(ZipOutcomeKind kind) {
    return {ZipMessageKind::Failure, kind};
}

Classified classifyLibraryCode(int code) {
    switch (code) {
    case BRX_MSG_INFO:
        return info;
    case BRX_MSG_NOTHING_TO_DO:
        return {ZipMessageKind::NothingToDo, ZipOutcomeKind::NothingToDo};
    case BRX_MSG_SKIPPED:
        return {ZipMessageKind::ChosenSkip, ZipOutcomeKind::Ok};
    case BRX_MSG_SET_ATTRIBUTES_FAILED:
    case BRX_MSG_ENTRY_NOT_FOUND: // delete: the pattern is simply not there
        return warning;
    case BRX_MSG_FILE_NOT_FOUND:
    case BRX_MSG_READ_FAILED:
    case BRX_MSG_FILE_CHANGED:
    case BRX_MSG_NAME_TOO_LONG:
    case BRX_MSG_MOVE_DELETE_FAILED:
    case BRX_MSG_NO_MATCHING_ENTRY:
    case BRX_MSG_UNSAFE_PATH:
    case BRX_MSG_SYMLINK_IN_PATH:
    case BRX_MSG_OUTPUT_FAILED:
        return failure(ZipOutcomeKind::Partial);
    case BRX_MSG_BAD_PASSWORD:
    case BRX_MSG_NO_PASSWORD:
        return failure(ZipOutcomeKind::WrongPassword);
    case BRX_MSG_CRC_ERROR:
    case BRX_MSG_DAMAGED_ENTRY:
    case BRX_MSG_UNSUPPORTED_METHOD:
    case BRX_MSG_UNSUPPORTED_ENCRYPTION:
        return failure(ZipOutcomeKind::Damaged);
    case BRX_MSG_CANCELLED:
        return failure(ZipOutcomeKind::Cancelled);
    case BRX_MSG_DAMAGED_ARCHIVE:
    case BRX_MSG_ARCHIVE_OPEN_FAILED:
    case BRX_MSG_UNSUPPORTED_ZIP64:
    case BRX_MSG_ARCHIVE_UNREADABLE:
    case BRX_MSG_UNSUPPORTED_ARCHIVE:
        return failure(ZipOutcomeKind::Unreadable);
    default:
        return failure(ZipOutcomeKind::Failed);
    }
}

Classified classifyEngineMessage(int id) {
    switch (id) {
    case GE_CopyFile:
    case LZ_ZipDllLoaded:
    case LU_UnzDllLoaded:
    case DS_CopyCentral:
        return info;
    case LI_WrongZipStruct:
    case LI_GarbageAtEOF:
    case EX_UnAttPassword:
        return warning;
    case DS_Canceled:
        return failure(ZipOutcomeKind::Cancelled);
    case GE_WrongPassword:
    case PW_UnatAddPWMiss:
    case PW_UnatExtPWMiss:
        return failure(ZipOutcomeKind::WrongPassword);
    case GE_NoZipSpecified:
    case LI_ReadZipError:
    case LI_ErrorUnknown:
    case DS_NoInFile:
    case DS_FileOpen:
    case DS_DriveNoMount:
    case DS_EOCBadRead:
    case DS_NoValidZip:
    case DS_FirstInSet:
    case DS_NotLastInSet:
    case DS_FirstFileOnHD:
        return failure(ZipOutcomeKind::Unreadable);
    case AD_NothingToZip:
    case AD_UnattPassword:
    case AD_NoFreshenUpdate:
    case DL_NothingToDel:
    case SF_StringToLong:
    case SF_NoZipSFXBin:
    case SF_InputIsNoZip:
    case CZ_NoExeSpecified:
    case CZ_InputNotExe:
    case CZ_BrowseError:
    case DS_NoSFXSpan:
    case DS_NoUnattSpan:
        return failure(ZipOutcomeKind::Refused);
    default:
        return failure(ZipOutcomeKind::Failed);
    }
}

Classified classifySkip(int skipKind) {
    if (isChosenSkip(skipKind)) return {ZipMessageKind::ChosenSkip, ZipOutcomeKind::Ok};
    switch (skipKind) {
    case SkipBadPassword:
        return failure(ZipOutcomeKind::WrongPassword);
    case SkipNoEncryptSupport:
    case SkipCompressionUnknown:
    case SkipDamaged:
    case SkipCrcError:
        return failure(ZipOutcomeKind::Damaged);
    default:
        return failure(ZipOutcomeKind::Partial);
    }
}

} // namespace

QString skipReasonText(int skipKind) {
    switch (skipKind) {
    case SkipOnFreshen:
        return QStringLiteral("no such file to freshen");
    case SkipNoOverwrite:
        return QStringLiteral("existing file kept");
    case SkipFileExists:
        return QStringLiteral("existing file is not older");
    case SkipBadPassword:
        return QStringLiteral("password missing or wrong");
    case SkipNoEncryptSupport:
        return QStringLiteral("encryption method not supported");
    case SkipCompressionUnknown:
        return QStringLiteral("compression method not supported");
    case SkipUnsafePath:
        return QStringLiteral("name would leave the extraction folder");
    case SkipDamaged:
        return QStringLiteral("damaged entry");
    case SkipCrcError:
        return QStringLiteral("CRC error");
    case SkipWriteError:
        return QStringLiteral("file could not be written");
    default:
        return QStringLiteral("skipped");
    }
}

void ZipOutcomeRecorder::enter(const QString& archive, bool archiveExisted, bool readingOnly) {
    if (m_depth++ > 0) return;
    m_readingOnly = readingOnly;
    m_outcome = ZipOutcome{};
    m_outcome.archive = archive;
    m_outcome.archiveExisted = archiveExisted;
}

void ZipOutcomeRecorder::leave(int done, int result) {
    if (m_depth > 0 && --m_depth == 0) finish(done, result);
}

void ZipOutcomeRecorder::noteEngineMessage(int id, const QString& text) {
    const Classified c = classifyEngineMessage(id);
    noteMessage(c.message, text);
    raise(c.outcome, text);
}

void ZipOutcomeRecorder::noteLibraryMessage(int code, const QString& text) {
    const Classified c = classifyLibraryCode(code);
    noteMessage(c.message, text);
    raise(c.outcome, text);
}

void ZipOutcomeRecorder::noteSkip(int skipKind, const QString& item) {
    const Classified c = classifySkip(skipKind);
    if (isChosenSkip(skipKind)) ++m_outcome.chosenSkips;
    raise(c.outcome, item + QStringLiteral(": ") + skipReasonText(skipKind));
}

void ZipOutcomeRecorder::noteCrcError(const QString& item) {
    raise(ZipOutcomeKind::Damaged, item + QStringLiteral(": ") + skipReasonText(SkipCrcError));
}

void ZipOutcomeRecorder::noteMessage(ZipMessageKind kind, const QString& text) {
    m_outcome.lastMessage = kind;
    m_outcome.lastMessageText = text;
}

void ZipOutcomeRecorder::raise(ZipOutcomeKind kind, const QString& text) {
    if (kind == ZipOutcomeKind::Ok) return;
    if (kind == ZipOutcomeKind::NothingToDo) m_outcome.nothingToDo = true;
    if (kind != ZipOutcomeKind::NothingToDo) {
        ++m_outcome.failures;
        if (m_outcome.firstFailure.isEmpty()) m_outcome.firstFailure = text;
    }
    if (kind > m_outcome.kind) m_outcome.kind = kind;
}

// A command that found nothing to do on an archive that does not exist has
// not made it: that is a failure, not a success.
void ZipOutcomeRecorder::finish(int done, int result) {
    m_outcome.done = done;
    if (result != 0)
        raise(ZipOutcomeKind::Failed, QStringLiteral("failed with code %1").arg(result));
    if (m_outcome.kind == ZipOutcomeKind::NothingToDo && !m_outcome.archiveExisted)
        m_outcome.kind = ZipOutcomeKind::Failed;
    if (m_readingOnly && m_outcome.kind > ZipOutcomeKind::NothingToDo)
        m_outcome.kind = ZipOutcomeKind::Unreadable;
}

} // namespace brx
