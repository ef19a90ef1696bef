#pragma once

// The changes other seats make, as the change history records them, handed
// to the open windows of this seat about once a second, so that their lists
// follow without 刷新.
//
// Every change through the services writes its ChangeHistory row in its own
// transaction, so the history's newest id tells whether anything changed.
// A feed asks one indexed question a second on a login of its own, on a
// thread of its own: "the rows after the last one seen". That works on every
// engine, through a transaction pooler (no session state, no LISTEN), and on
// a read-only standby (with the standby's delay).
//
// Ids are given out when a change is written and become visible when it
// commits, so on a server a lower id can appear after a higher one. The feed
// keeps asking for the ids it skipped, for a while, so a late commit is not
// missed.
//
// A change told carries no row images, as the windows read what they show
// by key: only a warehouse change's "before", which names a renamed
// warehouse's old code.
//
// Threads: the feed's thread owns its login and the position it has read to.
// The windows' thread owns the followers; what the feed reads reaches them
// by a queued call, in id order. A window follows before it reads its rows,
// so nothing committed after its reading is missed; a change it already
// holds may come again, and applying it again must change nothing.

#include "Account.h"
#include "HistoryReader.h"

#include <functional>
#include <memory>
#include <vector>

namespace services {

class ChangeFeed {
public:
    using Changes = std::vector<HistoryEntry>;
    using Listener = std::function<void(const Changes &)>;

    // The time between two questions, in milliseconds.
    static constexpr int pollInterval = 1000;

    // A window's following of the feed: while it lives, `listener` is called
    // on the windows' thread with each batch of new changes. Every follower
    // of one database shares one feed.
    class Following {
    public:
        ~Following();
        Following(const Following &) = delete;
        Following &operator=(const Following &) = delete;
        // Asks at once instead of at the next second (after one's own save,
        // and in tests).
        void askNow();
        // The id of the newest change read so far.
        long long position() const;

        // The feed its followers share (ChangeFeed.cpp).
        struct Feed;

    private:
        friend class ChangeFeed;
        Following(std::shared_ptr<Feed> feed, int id) : m_feed(std::move(feed)), m_id(id) {}
        std::shared_ptr<Feed> m_feed;
        int m_id;
    };

    // Starts following the history of `account` from its newest change now.
    // Reads that id on the account's own login; a failure there throws
    // DbError. An account without a history yet is followed from its start.
    static std::unique_ptr<Following> follow(const Account &account, Listener listener);
};

} // namespace services
