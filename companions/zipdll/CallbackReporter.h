#pragma once
// Everything ZIPDLL.DLL tells its caller goes through here: progress,
// messages and the password question, as callback records. A callback that
// answers "stop" cancels the command at the next progress point.

#include "brx/ZipDllAbi.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zipdll {

// Thrown at a progress point once the caller asked to stop.
struct Cancelled {};

class CallbackReporter {
public:
    CallbackReporter(BrxCallbackFn callback, void* caller, void* ownerWindow);

    void itemStart(const std::string& name, uint64_t size);
    void progress(uint64_t bytes);
    void endOfBatch();
    void message(int32_t code, const std::string& text);
    void totalFiles(uint64_t count);
    void totalSize(uint64_t bytes);
    // Asks for a password (with confirmation when it is a new one);
    // nothing when the caller gave none.
    std::optional<std::string> askPassword(const std::string& forFile, bool confirm);

    // Throws Cancelled when a callback answered "stop".
    void checkCancel() const;
    bool cancelled() const { return m_cancelled; }

private:
    BrxCallbackRecord makeRecord(int32_t action, int32_t code, uint64_t size,
                                 const std::string& text) const;
    void send(BrxCallbackRecord& record);

    BrxCallbackFn m_callback;
    void* m_caller;
    void* m_ownerWindow;
    bool m_cancelled = false;
};

} // namespace zipdll
