#include "engine/span/DiskFormat.h"

#include "engine/span/FormatThread.h"
#include "engine/base/UserHost.h"

#include <atomic>

namespace brx {

namespace {

constexpr int kPollMs = 10;

std::atomic<const void*> g_formatSlot{nullptr};

// Takes the slot for owner for the lifetime of the claim.
class SlotClaim {
public:
    explicit SlotClaim(const void* owner) {
        const void* expected = nullptr;
        m_owned = g_formatSlot.compare_exchange_strong(expected, owner);
    }
    ~SlotClaim() {
        if (m_owned) g_formatSlot.store(nullptr);
    }
    SlotClaim(const SlotClaim&) = delete;
    SlotClaim& operator=(const SlotClaim&) = delete;
    bool owned() const { return m_owned; }

private:
    bool m_owned = false;
};

} // namespace

const void* formatSlotOwner() {
    return g_formatSlot.load();
}

int runFormatThread(FormatThread& worker, IUserHost& host) {
    worker.start(QThread::NormalPriority);
    while (!worker.wait(kPollMs)) host.processEvents();
    return worker.result();
}

int DiskFormat(const FormatRequest& request, IFormatter& formatter, IFormatDialog* dialog,
               IUserHost& host) {
    FormatThread worker(formatter, request.driveRoot, request.volumeLabel);
    SlotClaim claim(&worker);
    if (!claim.owned()) {
        worker.tellToStop();
        return runFormatThread(worker, host);
    }
    if (dialog) return dialog->exec(request, worker);
    if (request.confirmErase) return kFormatNotStarted;
    return runFormatThread(worker, host);
}

} // namespace brx

namespace brx {

DiskFormatFn makeDiskFormat(IFormatter& formatter, IFormatDialog* dialog, IUserHost& host,
                            bool confirmErase) {
    return [&formatter, dialog, &host, confirmErase](const QString& root, int index,
                                                     const QString& label) {
        return DiskFormat(FormatRequest{root, index, label, confirmErase}, formatter, dialog, host);
    };
}

} // namespace brx
