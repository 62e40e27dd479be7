#include "zipcore/CompressPool.h"

#include "zipcore/Crc32.h"
#include "zipcore/DeflateCompressor.h"
#include "zipcore/FileHandle.h"
#include "zipcore/ZipCrypto.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace zipcore {

namespace {

// A file that grew this much past its listed size is refused rather than
// read without end (a log being written, a device).
constexpr uint64_t kGrowthAllowance = 64u << 20;
// What a file costs the budget at least: the buffers of a tiny file's
// result outweigh its bytes, and tens of thousands of them finished ahead
// of a large file being written would add up.
constexpr uint64_t kMinimumTaskCost = 64u << 10;

uint64_t costOf(const CompressTask& task) {
    return std::max(task.expectedSize, kMinimumTaskCost);
}

void encryptResult(CompressResult& result, const std::string& password) {
    ZipCrypto crypto(password);
    ByteBuffer sealed(kEncryptionHeaderSize + result.data.size());
    crypto.makeHeader(sealed.data(), static_cast<uint8_t>(result.crc32 >> 24));
    std::memcpy(sealed.data() + kEncryptionHeaderSize, result.data.data(), result.data.size());
    crypto.encrypt(sealed.data() + kEncryptionHeaderSize, result.data.size());
    result.data.swap(sealed);
}

} // namespace

bool readWholeFile(const std::string& path, uint64_t limit, ByteBuffer& out, std::string& error,
                   uint64_t sizeHint) {
    const FileHandle file = FileHandle::openForReading(path);
    if (!file.isOpen()) {
        error = std::strerror(errno);
        return false;
    }
    // Sized for the whole file plus one probe block, so a file that did not
    // change is read without regrowing.
    out.resize(static_cast<size_t>(std::min<uint64_t>(sizeHint, limit)) + 64 * 1024);
    size_t used = 0;
    for (;;) {
        if (out.size() - used < 64 * 1024)
            out.resize(std::max<size_t>(out.size() * 2, used + 256 * 1024));
        const ssize_t n = ::read(file.get(), out.data() + used, out.size() - used);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = std::strerror(errno);
            return false;
        }
        if (n == 0) break;
        used += static_cast<size_t>(n);
        if (used > limit) {
            error = "the file keeps growing while it is read";
            return false;
        }
    }
    out.resize(used);
    return true;
}

CompressPool::CompressPool(std::vector<CompressTask> tasks, CompressSettings settings)
    : m_tasks(std::move(tasks))
    , m_results(m_tasks.size())
    , m_done(m_tasks.size(), 0)
    , m_settings(std::move(settings)) {
    const unsigned threads = std::max(1u, m_settings.threads);
    for (unsigned i = 0; i < threads && i < m_tasks.size(); ++i)
        m_workers.emplace_back([this] { workerLoop(); });
}

CompressPool::~CompressPool() {
    stop();
    for (std::thread& worker : m_workers) worker.join();
}

void CompressPool::stop() {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
    m_taskReady.notify_all();
}

bool CompressPool::canAdmitLocked() const {
    if (m_nextTask >= m_tasks.size()) return false;
    // The task the consumer waits for next is always admitted, so the
    // budget can slow the workers down but never block the consumer.
    return m_inFlight == 0 || m_inFlight + costOf(m_tasks[m_nextTask]) <= m_settings.byteBudget;
}

void CompressPool::workerLoop() {
    std::unique_ptr<WholeDeflater> deflater;
    if (m_settings.level > 0) deflater = std::make_unique<WholeDeflater>(m_settings.level);
    // Reused between files: a fresh buffer per file would be faulted in
    // page by page again. At most one file's worth per worker, outside the
    // byte budget.
    ByteBuffer input;
    for (;;) {
        size_t index = 0;
        {
            std::unique_lock lock(m_mutex);
            m_taskReady.wait(lock, [this] {
                return m_stopping || canAdmitLocked() || m_nextTask >= m_tasks.size();
            });
            if (m_stopping || m_nextTask >= m_tasks.size()) return;
            index = m_nextTask++;
            m_inFlight += costOf(m_tasks[index]);
        }
        CompressResult result;
        try {
            compressOne(m_tasks[index], result, deflater.get(), input);
        } catch (const std::exception& e) {
            result = CompressResult{};
            result.error = e.what();
        }
        std::lock_guard lock(m_mutex);
        m_results[index] = std::move(result);
        m_done[index] = 1;
        m_resultReady.notify_all();
    }
}

void CompressPool::compressOne(const CompressTask& task, CompressResult& result,
                               WholeDeflater* deflater, ByteBuffer& input) const {
    if (!readWholeFile(task.path,
                       std::min<uint64_t>(task.expectedSize + kGrowthAllowance, kMaxFieldValue),
                       input, result.error, task.expectedSize))
        return;
    result.uncompressedSize = input.size();
    result.crc32 = crc32Update(0, input.data(), input.size());
    if (deflater && !task.storeOnly && !deflater->looksIncompressible(input.data(), input.size()))
        result.deflated = deflater->deflate(input.data(), input.size(), result.data);
    if (!result.deflated) result.data.swap(input); // the worker's next file gets a new buffer
    if (m_settings.encrypt) encryptResult(result, m_settings.password);
    result.ok = true;
}

CompressResult* CompressPool::waitFor(size_t index, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    if (!m_resultReady.wait_for(lock, timeout, [&] { return m_done[index] != 0; })) return nullptr;
    return &m_results[index];
}

void CompressPool::release(size_t index) {
    std::lock_guard lock(m_mutex);
    m_results[index] = CompressResult{};
    m_inFlight -= costOf(m_tasks[index]);
    m_taskReady.notify_all();
}

} // namespace zipcore
