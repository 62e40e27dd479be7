// The library callback: one action per call, answered through the engine's
// events or the host, with the replies written back into the record.

#include "engine/ZCallback.h"
#include "engine/base/ScopedGuards.h"

#include "engine/ZipCommand.h"
#include "engine/ZipEngine.h"
#include "engine/base/UserHost.h"

#include <QDir>

#include <algorithm>
#include <cstring>

namespace brx {

namespace {

QString recordText(const BrxCallbackRecord& r) {
    return QString::fromUtf8(r.text, qsizetype(strnlen(r.text, BRX_CALLBACK_TEXT_SIZE)));
}

// Trailing blanks and control characters go; separators become native.
QString eventText(const BrxCallbackRecord& r) {
    QString text = recordText(r);
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].unicode() <= 0x20) --end;
    text.truncate(end);
    return QDir::toNativeSeparators(text);
}

// Writes text into the record's text field, NUL-terminated, whole UTF-8
// characters only.
void writeText(BrxCallbackRecord& r, const QString& text, qsizetype maxChars) {
    QByteArray bytes = text.left(maxChars).toUtf8();
    QString kept = text.left(maxChars);
    while (bytes.size() >= BRX_CALLBACK_TEXT_SIZE) {
        kept.chop(1);
        bytes = kept.toUtf8();
    }
    std::memset(r.text, 0, BRX_CALLBACK_TEXT_SIZE);
    std::memcpy(r.text, bytes.constData(), size_t(bytes.size()));
}

// Sizes and counts above 2 GiB come in the record's 64-bit fields.
qint64 wideSize(const BrxCallbackRecord& r) {
    return qint64(std::min<uint64_t>(brxCallbackSize(&r), uint64_t(INT64_MAX)));
}

} // namespace

extern "C" int32_t ZCallback(BrxCallbackRecord* record) {
    if (!record || !record->caller) return BRX_CALLBACK_GO_ON;
    return static_cast<TZipEngine*>(record->caller)->dispatchCallback(*record);
}

int32_t TZipEngine::dispatchCallback(BrxCallbackRecord& r) noexcept {
    try {
        const QString text = eventText(r);
        switch (r.actionCode) {
        case BRX_ACTION_ITEM_START:
            progress(ProgrNewFile, text, wideSize(r));
            break;
        case BRX_ACTION_PROGRESS:
            progress(ProgrUpdate, QString(), wideSize(r));
            break;
        case BRX_ACTION_END:
            progress(ProgrEndOfBatch, QString(), 0);
            break;
        case BRX_ACTION_MESSAGE:
            reportLibraryMessage(r.errorCode, text);
            break;
        case BRX_ACTION_TOTAL_FILES:
            progress(ProgrTotalFiles, QString(), wideSize(r));
            break;
        case BRX_ACTION_TOTAL_SIZE:
            progress(ProgrTotalSize, QString(), wideSize(r));
            break;
        case BRX_ACTION_NEW_NAME:
            answerNewName(r);
            break;
        case BRX_ACTION_PASSWORD:
            answerPassword(r, text);
            break;
        case BRX_ACTION_CRC_ERROR:
            answerCrcError(r, text);
            break;
        case BRX_ACTION_OVERWRITE:
            answerOverwrite(r, text);
            break;
        case BRX_ACTION_SKIPPED:
            m_outcome.noteSkip(r.size & 0xFF, text);
            if (OnExtractSkipped) OnExtractSkipped(text, r.size & 0xFF, r.errorCode);
            break;
        default:
            break;
        }
        // Cancel counts when it was set before this pass over pending events.
        const bool cancelled = m_libraries.cancel();
        m_host->processEvents();
        return cancelled ? BRX_CALLBACK_STOP : BRX_CALLBACK_GO_ON;
    } catch (...) {
        m_libraries.callbackFailed(); // reported as the library's fatal error after the call
        return BRX_CALLBACK_STOP;
    }
}

void TZipEngine::progress(ProgressType type, const QString& name, qint64 size) {
    if (OnProgress) OnProgress(type, name, size);
}

void TZipEngine::answerNewName(BrxCallbackRecord& r) {
    if (!OnSetNewName) return;
    QString name = recordText(r);
    bool changed = false;
    OnSetNewName(name, changed);
    if (!changed) return;
    writeText(r, name, BRX_CALLBACK_TEXT_SIZE);
    r.actionCode = BRX_ACTION_PASSWORD; // the library reads 8 as "name changed"
}

void TZipEngine::answerPassword(BrxCallbackRecord& r, const QString& text) {
    unsigned repeat = unsigned(qMax(r.size, 0));
    QString password;
    if (OnPasswordError) {
        OnPasswordError(password, text, repeat);
    } else {
        const ScopedValue<bool> answering(m_answeringLibrary, true);
        if (r.errorCode & BRX_PASSWORD_CONFIRM_BIT)
            AskAddPassword(password);
        else
            AskExtractPassword(password);
    }
    if (password.isEmpty()) {
        r.errorCode = BRX_PASSWORD_REPLY_NONE;
        repeat = 0;
    } else {
        const QByteArray sent = ZipCommand::libraryPassword(password);
        std::memset(r.text, 0, BRX_CALLBACK_TEXT_SIZE);
        std::memcpy(r.text, sent.constData(), size_t(sent.size()));
        r.errorCode = BRX_PASSWORD_REPLY_GIVEN;
    }
    r.size = int32_t(qMin<unsigned>(repeat, BRX_PASSWORD_MAX_REPEAT));
}

void TZipEngine::answerCrcError(BrxCallbackRecord& r, const QString& text) {
    m_outcome.noteCrcError(text);
    if (!OnCRC32Error) {
        r.errorCode = BRX_CRC_REPLY_NO_ANSWER;
        return;
    }
    bool doExtract = true;
    OnCRC32Error(text, uint32_t(r.errorCode), uint32_t(r.size), doExtract);
    r.errorCode = doExtract ? BRX_CRC_REPLY_KEEP : BRX_CRC_REPLY_DISCARD;
}

void TZipEngine::answerOverwrite(BrxCallbackRecord& r, const QString& text) {
    if (!OnExtractOverwrite) return;
    bool doOverwrite = (r.size & 0xFF) != 0;
    OnExtractOverwrite(text, (r.errorCode & BRX_OVERWRITE_IS_OLDER_BIT) != 0, doOverwrite);
    r.size = doOverwrite ? BRX_OVERWRITE_REPLY_YES : BRX_OVERWRITE_REPLY_NO;
}

} // namespace brx
