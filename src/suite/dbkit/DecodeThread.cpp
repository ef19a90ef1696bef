#include "DecodeThread.h"

#include <condition_variable>
#include <thread>

namespace dbkit {

namespace {

// Runs one task at a time and tells when it is done. Never destroyed, so it
// outlives every data set.
class DecodeThread {
public:
    static DecodeThread &instance()
    {
        static auto *thread = new DecodeThread();
        return *thread;
    }
    void start(std::function<void()> task)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_task = std::move(task);
            m_done = false;
        }
        m_changed.notify_all();
    }
    void wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_done; });
    }

private:
    DecodeThread()
    {
        std::thread([this] { run(); }).detach();
    }
    void run()
    {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_changed.wait(lock, [this] { return bool(m_task); });
                task = std::move(m_task);
                m_task = nullptr;
            }
            task();
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_done = true;
            }
            m_changed.notify_all();
        }
    }
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_task;
    bool m_done = true;
};

// Taken by the load that has the decoding thread, for as long as it does.
std::mutex &decoderInUse()
{
    static std::mutex inUse;
    return inUse;
}

} // namespace

DecoderLease::DecoderLease() : m_lease(decoderInUse(), std::try_to_lock)
{
}

DecoderLease::~DecoderLease()
{
    wait();
}

void DecoderLease::start(std::function<void()> task)
{
    m_running = true;
    DecodeThread::instance().start(std::move(task));
}

void DecoderLease::wait()
{
    if (!m_running)
        return;
    DecodeThread::instance().wait();
    m_running = false;
}

} // namespace dbkit
