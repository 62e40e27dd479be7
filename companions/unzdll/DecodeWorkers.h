#pragma once
// A few threads that decode entries while the caller's thread writes files
// and talks to the engine. Entries are queued in archive order; the workers
// are woken once per batch rather than once per entry, and a finished entry
// only signals when the caller is actually waiting for it, so a folder of
// thousands of small files does not pay a futex round trip for each.

#include "EntryPlanner.h"
#include "WholeEntryDecoder.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace zipcore {
class ZipInput;
}

namespace unzdll {

struct DecodeJob {
    PlannedEntry planned;
    DecodedEntry decoded;
    std::atomic<bool> done{false};
};

class DecodeWorkers {
public:
    // testOnly: decoded data is dropped on the worker, only the result kept.
    DecodeWorkers(unsigned threads, zipcore::ZipInput& input, bool testOnly);
    ~DecodeWorkers(); // finishes queued jobs, then joins
    DecodeWorkers(const DecodeWorkers&) = delete;
    DecodeWorkers& operator=(const DecodeWorkers&) = delete;

    // The job must outlive its decoding: wait for it before freeing it.
    void post(DecodeJob& job, uint64_t cost);
    void waitFor(DecodeJob& job);

private:
    void work();
    void decode(DecodeJob& job, libdeflate_decompressor* decompressor, Bytes& readBuffer);
    void announceLocked(std::unique_lock<std::mutex>& lock);

    zipcore::ZipInput& m_input;
    const bool m_testOnly;
    std::mutex m_mutex;
    std::condition_variable m_workAvailable;
    std::condition_variable m_jobDone;
    std::deque<DecodeJob*> m_queue;
    size_t m_unannouncedJobs = 0;
    uint64_t m_unannouncedCost = 0;
    unsigned m_idleWorkers = 0;
    bool m_callerWaiting = false;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

} // namespace unzdll
