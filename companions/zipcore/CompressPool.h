#pragma once
// Compresses whole files on worker threads while one consumer writes the
// results in order. Workers run ahead of the consumer only as far as a byte
// budget allows, so memory stays bounded whatever the number of files.

#include "zipcore/ByteBuffer.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zipcore {

class WholeDeflater;

struct CompressTask {
    std::string path;
    uint64_t expectedSize = 0; // size when the file was listed; counts against the budget
    bool storeOnly = false;    // already compressed data: do not try deflate
};

struct CompressResult {
    bool ok = false;
    std::string error; // reason when !ok (e.g. "Permission denied")
    uint32_t crc32 = 0;
    uint64_t uncompressedSize = 0;
    bool deflated = false; // else stored
    ByteBuffer data;       // encryption header + data when encrypting
};

struct CompressSettings {
    int level = 6; // 0 stores everything
    bool encrypt = false;
    std::string password;
    unsigned threads = 1;
    uint64_t byteBudget = 96u << 20; // two of the largest whole files and one more
};

class CompressPool {
public:
    CompressPool(std::vector<CompressTask> tasks, CompressSettings settings);
    ~CompressPool();
    CompressPool(const CompressPool&) = delete;
    CompressPool& operator=(const CompressPool&) = delete;

    // Waits up to timeout for task index; nullptr when not ready yet.
    // Tasks must be taken in order.
    CompressResult* waitFor(size_t index, std::chrono::milliseconds timeout);
    // Frees the result of task index and lets the workers go on.
    void release(size_t index);

    // Stops handing out tasks; running ones finish. Called by the destructor.
    void stop();

private:
    void workerLoop();
    bool canAdmitLocked() const;
    // input: the worker's read buffer, kept between files unless it becomes
    // a stored result.
    void compressOne(const CompressTask& task, CompressResult& result, WholeDeflater* deflater,
                     ByteBuffer& input) const;

    std::vector<CompressTask> m_tasks;
    std::vector<CompressResult> m_results;
    std::vector<char> m_done;
    CompressSettings m_settings;
    size_t m_nextTask = 0;
    uint64_t m_inFlight = 0;
    bool m_stopping = false;
    std::mutex m_mutex;
    std::condition_variable m_taskReady;
    std::condition_variable m_resultReady;
    std::vector<std::thread> m_workers;
};

// Reads a whole file into out, reusing its memory (used by the pool, and by
// tests).
bool readWholeFile(const std::string& path, uint64_t limit, ByteBuffer& out, std::string& error,
                   uint64_t sizeHint = 0);

} // namespace zipcore
