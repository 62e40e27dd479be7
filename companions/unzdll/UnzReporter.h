#pragma once
// Everything the library tells or asks the engine during one command goes
// through here, on the caller's thread. Once the engine answers "stop"
// (-1), cancelled() stays true for the rest of the command.

#include "brx/ZipDllAbi.h"

#include <cstdint>
#include <optional>
#include <string>

namespace unzdll {

class UnzReporter {
public:
    UnzReporter(BrxCallbackFn callback, void* caller);

    bool cancelled() const { return m_cancelled; }

    void itemStart(const std::string& name, uint64_t size);
    void progress(uint64_t bytes);
    void endOfBatch();
    void totals(uint32_t files, uint64_t bytes);
    void message(int32_t code, const std::string& text);
    void skipped(const std::string& name, BrxSkipKind kind, int32_t code);

    // A password for name, or nothing when the engine gave none;
    // repeatCount is the number of requests left, updated from the reply.
    std::optional<std::string> askPassword(const std::string& name, int& repeatCount);
    bool keepAfterCrcError(const std::string& name, uint32_t found, uint32_t expected);
    bool confirmOverwrite(const std::string& name, bool existingIsOlder);

private:
    BrxCallbackRecord& fresh(BrxCallbackAction action, const std::string& text);
    void send();

    BrxCallbackFn m_callback;
    void* m_caller;
    BrxCallbackRecord m_record{};
    bool m_cancelled = false;
};

} // namespace unzdll
