#pragma once

// Internal: the process's one decoding thread, lent to one load at a time.
//
// Turning a large result into columns of QStrings costs about what the engine
// took to produce it, so a large load hands part of that work to a second
// thread. The thread lives for the whole process and is parked between loads,
// so the memory it allocates for texts is reused by every later load. A load
// on another thread that finds it lent out does all its work itself, so loads
// on two threads at once never mix.

#include <functional>
#include <mutex>

namespace dbkit {

class DecoderLease {
public:
    // Takes the thread when it is free; held() tells whether it was.
    DecoderLease();
    // Waits for a task still running, then gives the thread back.
    ~DecoderLease();
    DecoderLease(const DecoderLease &) = delete;
    DecoderLease &operator=(const DecoderLease &) = delete;

    bool held() const { return m_lease.owns_lock(); }
    // Runs `task` on the thread; only while held, one task at a time.
    void start(std::function<void()> task);
    // Returns when the started task is done.
    void wait();

private:
    std::unique_lock<std::mutex> m_lease;
    bool m_running = false;
};

} // namespace dbkit
