#pragma once

// Where a reader of the change history stands: the newest id it has read,
// and the ids below it that it has not seen yet because their change had not
// committed when a higher id had. Each question asks for both in one
// statement served by the history's key.

#include "HistoryReader.h"

#include <chrono>
#include <vector>

namespace dbkit {
class DbLogin;
}

namespace services {

class HistoryCursor {
public:
    using Clock = std::chrono::steady_clock;

    // The most changes one question reads; a full answer is followed by the
    // next question at once.
    static constexpr int batchSize = 1000;
    // How long a skipped id is asked for. A change's transaction that takes
    // longer than this to commit after a later one is no longer waited for;
    // an id skipped for good (a rolled back change) costs nothing after it.
    static constexpr std::chrono::seconds skippedKept{60};
    // Skipped ids further than this from the last one read are not asked for:
    // a server that threw away a block of ids (a sequence after a crash) has
    // no changes under them.
    static constexpr long long widestSkip = 100;
    // The most skipped ids asked for at once; the oldest go first.
    static constexpr size_t mostSkipped = 500;

    // Stands at the newest change of the history now, on `login`; the ids
    // just below it that are not there yet are asked for too. An account
    // without a history table stands at its start.
    void start(dbkit::DbLogin &login);
    // The changes committed since the last question, in id order.
    std::vector<HistoryEntry> next(dbkit::DbLogin &login);

    long long position() const { return m_position; }
    size_t skippedCount() const { return m_skipped.size(); }

private:
    struct Skipped {
        long long id;
        Clock::time_point since;
    };
    void skip(long long from, long long to, Clock::time_point now);
    void forget(long long id);

    long long m_position = 0;
    std::vector<Skipped> m_skipped;
};

} // namespace services
