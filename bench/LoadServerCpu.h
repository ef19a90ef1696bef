#pragma once

#include <QString>

#include <atomic>
#include <thread>

namespace load {

// The CPU time the server spent on the bench's database over a window of
// the run, read from outside: the on-CPU time the kernel keeps for each
// server backend of that database (/proc/<pid>/schedstat), so the server
// may be shared with other databases' work. A backend's time counts from
// the window's start, or from its birth when it began later; one that
// ended within the window loses what it used since it was last looked at
// (every 500 ms).
struct CpuUse {
    double seconds = 0;        // the window
    long long serverNs = 0;    // every backend of the bench's database
    long long feedNs = 0;      // those of the feeds (direct connections only)
    int backends = 0;
    int feedBackends = 0;
    long long poolerNs = -1;   // the pooler's process, when its pid was given
    long long benchNs = 0;     // this process, client side
};

class ServerCpuMeter {
public:
    // Starts looking, on a login of its own to `serverUrl` (the bench's
    // database on the server itself). `poolerPid` 0: no pooler to measure.
    ServerCpuMeter(const QString &serverUrl, long long poolerPid);
    ~ServerCpuMeter();
    ServerCpuMeter(const ServerCpuMeter &) = delete;
    ServerCpuMeter &operator=(const ServerCpuMeter &) = delete;

    // Ends the window and tells what it cost.
    CpuUse stop();

private:
    void look();

    const QString m_url;
    const long long m_poolerPid;
    std::atomic<bool> m_stopping{false};
    CpuUse m_use;
    QString m_failure;
    std::thread m_thread;
};

// Prints the window's CPU as a share of one core: the server's, the feeds'
// part of it when known, the pooler's and the bench's own.
void printCpu(const CpuUse &use, bool pooled);

} // namespace load
