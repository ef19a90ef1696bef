#include "DecodeThread.h"

#include <condition_variable>
#include <thread>

namespace dbkit {

namespace {

// Runs one task at a time and tells when it is done. The object itself is
// never destroyed, so a login closed during the process's exit still finds
// it; its thread runs only while logins are open.
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
            if (!m_thread.joinable())
                m_thread = std::thread([this, generation = ++m_started] { run(generation); });
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
    void addUser()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_users;
    }
    // The last user gone stops the thread. A load lends the thread only
    // while its login is open, so none is using it then.
    void removeUser()
    {
        std::thread finished;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (--m_users > 0 || !m_thread.joinable())
                return;
            m_stopped = m_started;
            finished = std::move(m_thread);
        }
        m_changed.notify_all();
        finished.join();
    }
    bool runs()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_thread.joinable();
    }

private:
    DecodeThread() = default;
    // A thread told to stop leaves a task to the thread started after it.
    void run(unsigned generation)
    {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_changed.wait(lock, [&] { return m_stopped >= generation || bool(m_task); });
                if (m_stopped >= generation)
                    return;
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
    std::thread m_thread;
    std::function<void()> m_task;
    int m_users = 0;
    bool m_done = true;
    unsigned m_started = 0;  // threads started so far
    unsigned m_stopped = 0;  // the latest thread told to stop
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

DecodeThreadUser::DecodeThreadUser()
{
    DecodeThread::instance().addUser();
}

DecodeThreadUser::~DecodeThreadUser()
{
    DecodeThread::instance().removeUser();
}

bool decodeThreadRuns()
{
    return DecodeThread::instance().runs();
}

} // namespace dbkit
