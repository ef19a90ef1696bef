#pragma once

#include <QString>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

namespace testsupport {

// A server backend stopped as a frozen server would be. It is let go when the
// object goes, and after a bound of 20 s at the latest, so a client that
// waits for it fails its test instead of hanging.
class StoppedBackend {
public:
    explicit StoppedBackend(const QString &pid) : m_pid(pid.toInt())
    {
        EXPECT_EQ(::kill(m_pid, SIGSTOP), 0);
        m_bound = std::thread([this] {
            std::unique_lock lock(m_mutex);
            m_wake.wait_for(lock, std::chrono::seconds(20), [this] { return m_done; });
            ::kill(m_pid, SIGCONT);
        });
    }
    ~StoppedBackend()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_bound.join();
    }
    StoppedBackend(const StoppedBackend &) = delete;
    StoppedBackend &operator=(const StoppedBackend &) = delete;

private:
    pid_t m_pid;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_bound;
};

} // namespace testsupport
