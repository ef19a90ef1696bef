#pragma once

// Internal: what a read on a background thread tells while it runs. The read
// installs its progress on its own thread; a loader running on that thread
// counts its rows into it and stops when the owner cancelled. A load on any
// other thread finds none and runs as always.

#include <QSqlError>

#include <atomic>
#include <functional>
#include <mutex>

namespace dbkit {

class ReadProgress {
public:
    // The progress of the read on the calling thread; null when there is none.
    static ReadProgress *ofThisThread();

    // Installs `progress` on the calling thread for the scope's life.
    class OnThisThread {
    public:
        explicit OnThisThread(ReadProgress &progress);
        ~OnThisThread();
        OnThisThread(const OnThisThread &) = delete;
        OnThisThread &operator=(const OnThisThread &) = delete;
    };

    long long rows() const { return m_rows.load(std::memory_order_relaxed); }
    void setRows(long long rows) { m_rows.store(rows, std::memory_order_relaxed); }
    bool cancelled() const { return m_cancelled.load(); }

    // From any thread: the read stops as soon as its engine lets it.
    void cancel();
    // How to interrupt the statement under way from another thread (libpq's
    // cancel request); cleared with an empty function.
    void setInterrupt(std::function<void()> interrupt);

    // The failure a loader reports when it stopped because of a cancel.
    static QSqlError cancelledError();

private:
    std::atomic<long long> m_rows{0};
    std::atomic<bool> m_cancelled{false};
    std::mutex m_mutex;
    std::function<void()> m_interrupt;
};

} // namespace dbkit
