#pragma once

// Internal: a deadline kept on the client for statements on a PostgreSQL server.
//
// The server's statement_timeout cannot fire in a backend that is stopped (a
// suspended process, a frozen virtual machine), and the server's kernel still
// answers TCP keepalives, so a call blocked in libpq would wait for as long as
// the stall lasts. Before a statement the login arms a deadline (its statement
// time limit plus a margin); a thread that reaches the deadline shuts the
// connection's socket down, so the blocked call returns with an error. The
// login then reports a time-out and opens the connection again on the next
// command.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace dbkit {

class DbLogin;

class StatementWatchdog {
public:
    StatementWatchdog() = default;
    ~StatementWatchdog();
    StatementWatchdog(const StatementWatchdog &) = delete;
    StatementWatchdog &operator=(const StatementWatchdog &) = delete;

    // Shuts `socket` down when disarm() has not been called within `milliseconds`.
    void arm(int socket, int milliseconds);
    void disarm();
    // True, once, when a deadline passed and the socket was shut down.
    bool takeFired();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
    std::chrono::steady_clock::time_point m_deadline;
    int m_socket = -1;
    bool m_armed = false;
    bool m_fired = false;
    bool m_stop = false;
};

// Keeps the login's deadline armed for its lifetime; nested guards share the
// outermost one's deadline. Does nothing on engines that need none.
class StatementWatch {
public:
    explicit StatementWatch(DbLogin &login);
    ~StatementWatch();
    StatementWatch(const StatementWatch &) = delete;
    StatementWatch &operator=(const StatementWatch &) = delete;

private:
    DbLogin &m_login;
};

} // namespace dbkit
