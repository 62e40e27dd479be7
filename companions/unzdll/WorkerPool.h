#pragma once
// A few threads that decode entries while the caller's thread writes files
// and talks to the engine. Tasks must not call back into the engine.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace unzdll {

class WorkerPool {
public:
    explicit WorkerPool(unsigned threads);
    ~WorkerPool(); // finishes queued tasks, then joins
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void post(std::function<void()> task);

private:
    void work();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_tasks;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

} // namespace unzdll
