#pragma once

// Internal: the process's one decoding thread, lent to one load at a time.
//
// Turning a large result into columns of QStrings costs about what the engine
// took to produce it, so a large load hands part of that work to a second
// thread. The thread is started by the first load that needs it and parked
// between loads, so the memory it allocates for texts is reused by every
// later load; it is stopped and joined when the last login closes, so a host
// that unloads the library leaves no thread of it behind. A load on another
// thread that finds it lent out does all its work itself, so loads on two
// threads at once never mix.

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

// Held by every open login: the last one let go stops the decoding thread.
class DecodeThreadUser {
public:
    DecodeThreadUser();
    ~DecodeThreadUser();
    DecodeThreadUser(const DecodeThreadUser &) = delete;
    DecodeThreadUser &operator=(const DecodeThreadUser &) = delete;
};

// Whether the decoding thread runs now.
bool decodeThreadRuns();

} // namespace dbkit
