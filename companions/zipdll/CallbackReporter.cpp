#include "zipdll/CallbackReporter.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace zipdll {

CallbackReporter::CallbackReporter(BrxCallbackFn callback, void* caller, void* ownerWindow)
    : m_callback(callback)
    , m_caller(caller)
    , m_ownerWindow(ownerWindow) {}

BrxCallbackRecord CallbackReporter::makeRecord(int32_t action, int32_t code, uint64_t size,
                                               const std::string& text) const {
    BrxCallbackRecord record;
    std::memset(&record, 0, sizeof record);
    record.ownerWindow = m_ownerWindow;
    record.caller = m_caller;
    record.version = BRX_DLL_VERSION;
    record.actionCode = action;
    record.errorCode = code;
    brxSetCallbackSize(&record, size);
    std::memcpy(record.text, text.data(),
                std::min<size_t>(text.size(), BRX_CALLBACK_TEXT_SIZE - 1));
    return record;
}

void CallbackReporter::send(BrxCallbackRecord& record) {
    if (m_callback && m_callback(&record) == BRX_CALLBACK_STOP) m_cancelled = true;
}

void CallbackReporter::checkCancel() const {
    if (m_cancelled) throw Cancelled{};
}

void CallbackReporter::itemStart(const std::string& name, uint64_t size) {
    BrxCallbackRecord record = makeRecord(BRX_ACTION_ITEM_START, 0, size, name);
    send(record);
    checkCancel();
}

void CallbackReporter::progress(uint64_t bytes) {
    BrxCallbackRecord record = makeRecord(BRX_ACTION_PROGRESS, 0, bytes, {});
    send(record);
    checkCancel();
}

void CallbackReporter::endOfBatch() {
    BrxCallbackRecord record = makeRecord(BRX_ACTION_END, 0, 0, {});
    send(record);
}

void CallbackReporter::message(int32_t code, const std::string& text) {
    BrxCallbackRecord record = makeRecord(BRX_ACTION_MESSAGE, code, 0, text);
    send(record);
}

void CallbackReporter::totalFiles(uint64_t count) {
    BrxCallbackRecord record = makeRecord(BRX_ACTION_TOTAL_FILES, 0, count, {});
    send(record);
    checkCancel();
}

void CallbackReporter::totalSize(uint64_t bytes) {
    BrxCallbackRecord record = makeRecord(BRX_ACTION_TOTAL_SIZE, 0, bytes, {});
    send(record);
    checkCancel();
}

std::optional<std::string> CallbackReporter::askPassword(const std::string& forFile, bool confirm) {
    BrxCallbackRecord record =
        makeRecord(BRX_ACTION_PASSWORD, confirm ? BRX_PASSWORD_CONFIRM_BIT : 0, 1, forFile);
    send(record);
    checkCancel();
    if (record.actionCode != BRX_ACTION_PASSWORD || record.errorCode != BRX_PASSWORD_REPLY_GIVEN)
        return std::nullopt;
    record.text[BRX_CALLBACK_TEXT_SIZE - 1] = '\0';
    const size_t bytes = strnlen(record.text, BRX_CALLBACK_TEXT_SIZE);
    std::string password(record.text, brxPasswordBytes(record.text, bytes));
    if (password.empty()) return std::nullopt;
    return password;
}

} // namespace zipdll
