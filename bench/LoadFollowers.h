#pragma once

#include "LoadRun.h"

#include "services/ChangeFeed.h"

#include <QString>

#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

namespace load {

// A change a follower was told, and when (milliseconds since the epoch).
struct Told {
    long long id = 0;
    long long atMs = 0;
};

// One operator's seat following the change feed, as an open list window
// does: a feed of its own on the operator's own URL, so that N followers
// are N pollers on N connections, as N seats in N processes would be.
struct FollowingSeat {
    QString name;
    long long from = 0;  // the newest history id when it began to follow
    std::vector<Told> told;            // in the order told; a change may come twice
    std::unordered_set<long long> toldIds;
    std::unique_ptr<services::ChangeFeed::Following> following;
};

// Every operator's seat following the feed. Made, told and ended on the
// thread that runs the events (the main thread), as windows are.
class Followers {
public:
    explicit Followers(const RunConfig &config);
    ~Followers();
    Followers(const Followers &) = delete;
    Followers &operator=(const Followers &) = delete;

    const std::vector<std::unique_ptr<FollowingSeat>> &seats() const { return m_seats; }
    // Every feed asks at once instead of at its next second.
    void askAll();

private:
    std::vector<std::unique_ptr<FollowingSeat>> m_seats;
};

// The condition (a LIKE on pg_stat_activity.query, the backend's last
// statement) that tells a feed's server backend on a direct connection: the
// feed's question is the only statement that reads the history after an id.
inline QString feedStatementPattern()
{
    return QStringLiteral("%FROM ChangeHistory WHERE iId>%");
}

// Handles this thread's events (the feeds' batches) until `done` holds,
// looking every 50 ms, or until `limitMs` have passed (-1: no limit).
// Returns whether `done` held.
bool handleEventsUntil(const std::function<bool()> &done, int limitMs = -1);

} // namespace load
