#include "UnzReporter.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace unzdll {

namespace {

void setSize(BrxCallbackRecord& record, uint64_t size) {
    brxSetCallbackSize(&record, size);
}

} // namespace

UnzReporter::UnzReporter(BrxCallbackFn callback, void* caller)
    : m_callback(callback)
    , m_caller(caller) {}

BrxCallbackRecord& UnzReporter::fresh(BrxCallbackAction action, const std::string& text) {
    m_record = BrxCallbackRecord{};
    m_record.caller = m_caller;
    m_record.version = BRX_DLL_VERSION;
    m_record.actionCode = action;
    const size_t length = std::min(text.size(), sizeof m_record.text - 1);
    std::memcpy(m_record.text, text.data(), length);
    return m_record;
}

void UnzReporter::send() {
    if (m_callback && m_callback(&m_record) == BRX_CALLBACK_STOP) m_cancelled = true;
}

void UnzReporter::itemStart(const std::string& name, uint64_t size) {
    setSize(fresh(BRX_ACTION_ITEM_START, name), size);
    send();
}

void UnzReporter::progress(uint64_t bytes) {
    setSize(fresh(BRX_ACTION_PROGRESS, {}), bytes);
    send();
}

void UnzReporter::endOfBatch() {
    fresh(BRX_ACTION_END, {});
    send();
}

void UnzReporter::totals(uint32_t files, uint64_t bytes) {
    setSize(fresh(BRX_ACTION_TOTAL_FILES, {}), files);
    send();
    setSize(fresh(BRX_ACTION_TOTAL_SIZE, {}), bytes);
    send();
}

void UnzReporter::message(int32_t code, const std::string& text) {
    fresh(BRX_ACTION_MESSAGE, text).errorCode = code;
    send();
}

void UnzReporter::skipped(const std::string& name, BrxSkipKind kind, int32_t code) {
    BrxCallbackRecord& record = fresh(BRX_ACTION_SKIPPED, name);
    record.size = kind;
    record.errorCode = code;
    send();
}

std::optional<std::string> UnzReporter::askPassword(const std::string& name, int& repeatCount) {
    BrxCallbackRecord& record = fresh(BRX_ACTION_PASSWORD, name);
    record.size = repeatCount;
    send();
    repeatCount = std::clamp(m_record.size, 0, BRX_PASSWORD_MAX_REPEAT);
    if (m_record.errorCode != BRX_PASSWORD_REPLY_GIVEN) return std::nullopt;
    const size_t bytes = strnlen(m_record.text, sizeof m_record.text);
    std::string password(m_record.text, brxPasswordBytes(m_record.text, bytes));
    if (password.empty()) return std::nullopt;
    return password;
}

bool UnzReporter::keepAfterCrcError(const std::string& name, uint32_t found, uint32_t expected) {
    BrxCallbackRecord& record = fresh(BRX_ACTION_CRC_ERROR, name);
    record.errorCode = static_cast<int32_t>(found);
    record.size = static_cast<int32_t>(expected);
    send();
    return m_record.errorCode == BRX_CRC_REPLY_KEEP;
}

bool UnzReporter::confirmOverwrite(const std::string& name, bool existingIsOlder) {
    BrxCallbackRecord& record = fresh(BRX_ACTION_OVERWRITE, name);
    record.errorCode = existingIsOlder ? BRX_OVERWRITE_IS_OLDER_BIT : 0;
    record.size = BRX_OVERWRITE_REPLY_NO;
    send();
    return (m_record.size & 0xFF) == BRX_OVERWRITE_REPLY_YES;
}

} // namespace unzdll
