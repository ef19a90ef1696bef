#include "StatementWatchdog.h"

#include "internal/Connection.h"
#include "internal/LoginAccess.h"

#include <sys/socket.h>
#include <utility>

namespace dbkit {

StatementWatchdog::~StatementWatchdog()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void StatementWatchdog::arm(int socket, int milliseconds)
{
    if (socket < 0)
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_socket = socket;
        m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        m_armed = true;
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
    }
    m_wake.notify_all();
}

void StatementWatchdog::disarm()
{
    // Under the lock, so the thread never shuts down a socket that the
    // login may close and the system hand out again afterwards.
    const std::lock_guard lock(m_mutex);
    m_armed = false;
}

bool StatementWatchdog::takeFired()
{
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_fired, false);
}

void StatementWatchdog::run()
{
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (!m_armed) {
            m_wake.wait(lock);
            continue;
        }
        if (m_wake.wait_until(lock, m_deadline) == std::cv_status::timeout && m_armed
            && std::chrono::steady_clock::now() >= m_deadline) {
            ::shutdown(m_socket, SHUT_RDWR);
            m_armed = false;
            m_fired = true;
        }
    }
}

StatementWatch::StatementWatch(DbLogin &login) : m_login(login)
{
    LoginAccess::connection(m_login).beginWatch();
}

StatementWatch::~StatementWatch()
{
    LoginAccess::connection(m_login).endWatch();
}

} // namespace dbkit
