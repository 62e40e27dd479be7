#include "DecodeWorkers.h"

namespace unzdll {

namespace {

// Idle workers are woken when this much has been queued since the last
// wake-up, or when the caller waits: small enough that the workers stay
// ahead of the caller's writing, large enough to share one wake-up among
// many small files.
constexpr size_t kBatchJobs = 32;
constexpr uint64_t kBatchCost = uint64_t{4} << 20;
// A worker keeps its read buffer for the next entry up to this size; a rare
// huge entry should not pin its memory for the rest of the command.
constexpr size_t kKeptReadBuffer = size_t{8} << 20;

} // namespace

DecodeWorkers::DecodeWorkers(unsigned threads, zipcore::ZipInput& input, bool testOnly)
    : m_input(input)
    , m_testOnly(testOnly) {
    for (unsigned i = 0; i < threads; ++i) m_threads.emplace_back([this] { work(); });
}

DecodeWorkers::~DecodeWorkers() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_workAvailable.notify_all();
    for (std::thread& thread : m_threads) thread.join();
}

void DecodeWorkers::post(DecodeJob& job, uint64_t cost) {
    std::unique_lock lock(m_mutex);
    m_queue.push_back(&job);
    ++m_unannouncedJobs;
    m_unannouncedCost += cost;
    if (m_unannouncedJobs >= kBatchJobs || m_unannouncedCost >= kBatchCost) announceLocked(lock);
}

void DecodeWorkers::waitFor(DecodeJob& job) {
    if (job.done.load(std::memory_order_acquire)) return;
    std::unique_lock lock(m_mutex);
    announceLocked(lock);
    lock.lock();
    m_callerWaiting = true;
    m_jobDone.wait(lock, [&job] { return job.done.load(std::memory_order_acquire); });
    m_callerWaiting = false;
}

// Releases the lock.
void DecodeWorkers::announceLocked(std::unique_lock<std::mutex>& lock) {
    const bool wake = m_idleWorkers > 0 && !m_queue.empty();
    m_unannouncedJobs = 0;
    m_unannouncedCost = 0;
    lock.unlock();
    if (wake) m_workAvailable.notify_all();
}

void DecodeWorkers::work() {
    Decompressor decompressor;
    try {
        decompressor = makeDecompressor();
    } catch (const std::bad_alloc&) {
        // decodeWhole then makes one per entry and reports the shortage there
    }
    Bytes readBuffer;
    DecodeJob* finished = nullptr;
    for (;;) {
        std::unique_lock lock(m_mutex);
        // The caller checks done under this lock before it sleeps, so a
        // wake-up sent here cannot be lost.
        if (finished && m_callerWaiting) m_jobDone.notify_one();
        finished = nullptr;
        if (m_queue.empty() && !m_stopping) {
            ++m_idleWorkers;
            m_workAvailable.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            --m_idleWorkers;
        }
        if (m_queue.empty()) return;
        DecodeJob* job = m_queue.front();
        m_queue.pop_front();
        lock.unlock();
        decode(*job, decompressor.get(), readBuffer);
        job->done.store(true, std::memory_order_release);
        finished = job;
    }
}

void DecodeWorkers::decode(DecodeJob& job, libdeflate_decompressor* decompressor,
                           Bytes& readBuffer) {
    const PlannedEntry& planned = job.planned;
    try {
        decodeWhole(m_input, planned.dataOffset, *planned.entry, planned.password, job.decoded,
                    decompressor, &readBuffer);
        if (readBuffer.capacity() > kKeptReadBuffer) readBuffer = Bytes{};
        // A test keeps only the result; freeing here lets this thread's
        // next entry reuse the memory instead of faulting in new pages.
        if (m_testOnly) job.decoded.storage = Bytes{}, job.decoded.data = nullptr;
    } catch (const std::bad_alloc&) {
        job.decoded.result.status = zipcore::DecodeStatus::DataError;
        job.decoded.result.message = "not enough memory to decode this entry";
    }
}

} // namespace unzdll
