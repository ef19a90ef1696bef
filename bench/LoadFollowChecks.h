#pragma once

#include "LoadFollowers.h"
#include "LoadStats.h"

#include <QStringList>

#include <vector>

namespace dbkit {
class DbLogin;
}

namespace load {

// A change as the history holds it after the run, with when it committed
// (milliseconds since the epoch): the commit's own time where the server
// keeps one (PostgreSQL with track_commit_timestamp), else the time the
// change's transaction began, which is earlier by the transaction's length.
struct CommittedChange {
    long long id = 0;
    QString operatorCode;
    long long commitMs = 0;
};
struct CommittedChanges {
    std::vector<CommittedChange> changes;
    bool commitTimes = false;  // every time is a commit's own
};
CommittedChanges committedChanges(dbkit::DbLogin &login, bool postgres);

// Once the run is over: gives the feeds up to 10 s to tell the last changes
// (handling this thread's events), prints what the seats were told and the
// time from each change's commit to each seat being told of it (p50/p99, all
// and outside the fault windows, given on the run's clock that began at
// `runStartMs` since the epoch), and returns a violation for each seat not
// told of every change it must be.
QStringList checkFollowers(dbkit::DbLogin &login, Followers &followers, bool postgres,
                           const std::vector<FaultWindow> &faults, long long runStartMs);

} // namespace load
