#include "LoadFollowChecks.h"

#include "LoadHistoryChecks.h"

#include "data/DataHelpers.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace load {

namespace {

// The commit time of every history row, kept by the server when
// track_commit_timestamp is on; null for a row committed before it was.
CommittedChanges withCommitTimes(dbkit::DbLogin &login)
{
    CommittedChanges history;
    history.commitTimes = true;
    for (auto rows = login.OpenDataSet(
             QStringLiteral("SELECT iId, cOperCode, CAST(EXTRACT(EPOCH FROM "
                            "pg_xact_commit_timestamp(xmin)) * 1000 AS BIGINT) "
                            "FROM ChangeHistory"),
             dbkit::OpenMode::ReadOnly);
         !rows->Eof(); rows->MoveNext()) {
        if (rows->Fields(2).isNull())
            return {};
        history.changes.push_back({rows->Fields(0).toLongLong(), depotbase::NullToEmpty(rows->Fields(1)),
                                   rows->Fields(2).toLongLong()});
    }
    return history;
}

CommittedChanges withStartTimes(dbkit::DbLogin &login)
{
    CommittedChanges history;
    for (const auto &[key, entries] : readHistory(login))
        for (const services::HistoryEntry &entry : entries)
            history.changes.push_back(
                {entry.id, entry.operatorCode, entry.changed.toMSecsSinceEpoch()});
    return history;
}

bool concerns(const FollowingSeat &seat, const CommittedChange &change)
{
    return change.id > seat.from && change.operatorCode != seat.name;
}

struct Delays {
    std::vector<long long> all;
    std::vector<long long> calm;  // of changes committed outside the fault windows
};

Delays toldDelays(const Followers &followers, const CommittedChanges &history,
                  const std::vector<FaultWindow> &faults, long long runStartMs)
{
    std::unordered_map<long long, const CommittedChange *> byId;
    for (const CommittedChange &change : history.changes)
        byId.emplace(change.id, &change);
    Delays delays;
    for (const auto &seat : followers.seats()) {
        std::unordered_map<long long, bool> first;
        for (const Told &told : seat->told) {
            const auto found = byId.find(told.id);
            if (found == byId.end() || !concerns(*seat, *found->second)
                || !first.emplace(told.id, true).second)
                continue;
            const long long delayNs = (told.atMs - found->second->commitMs) * nsPerMs;
            delays.all.push_back(delayNs);
            const long long committedNs = (found->second->commitMs - runStartMs) * nsPerMs;
            const Sample commit{CallKind::Save, committedNs, committedNs, false};
            if (!inFaultWindow(commit, faults))
                delays.calm.push_back(delayNs);
        }
    }
    return delays;
}

// The changes a seat must be told: every change another operator committed
// after the seat began to follow. Returns those it was not told.
std::vector<long long> untoldChanges(const FollowingSeat &seat, const CommittedChanges &history)
{
    std::vector<long long> untold;
    for (const CommittedChange &change : history.changes)
        if (concerns(seat, change) && !seat.toldIds.contains(change.id))
            untold.push_back(change.id);
    return untold;
}

bool everyoneTold(const Followers &followers, const CommittedChanges &history)
{
    return std::all_of(followers.seats().begin(), followers.seats().end(),
                       [&history](const auto &seat) { return untoldChanges(*seat, history).empty(); });
}

constexpr int graceMs = 10000;

} // namespace

CommittedChanges committedChanges(dbkit::DbLogin &login, bool postgres)
{
    if (postgres) {
        try {
            CommittedChanges history = withCommitTimes(login);
            if (history.commitTimes)
                return history;
        } catch (const dbkit::DbError &) {
            // The server keeps no commit times (track_commit_timestamp off).
        }
    }
    return withStartTimes(login);
}

QStringList checkFollowers(dbkit::DbLogin &login, Followers &followers, bool postgres,
                           const std::vector<FaultWindow> &faults, long long runStartMs)
{
    const CommittedChanges history = committedChanges(login, postgres);
    followers.askAll();
    handleEventsUntil([&] { return everyoneTold(followers, history); }, graceMs);
    QStringList violations;
    size_t fewest = history.changes.size();
    size_t most = 0;
    for (const auto &seat : followers.seats()) {
        fewest = std::min(fewest, seat->told.size());
        most = std::max(most, seat->told.size());
        const std::vector<long long> untold = untoldChanges(*seat, history);
        if (!untold.empty())
            violations << QStringLiteral("%1 was not told of %2 changes of others, first id %3")
                              .arg(seat->name)
                              .arg(untold.size())
                              .arg(*std::min_element(untold.begin(), untold.end()));
    }
    std::printf("\nfollowers: %zu, each told %zu to %zu changes of %zu in the history\n",
                followers.seats().size(), fewest, most, history.changes.size());
    const Delays delays = toldDelays(followers, history, faults, runStartMs);
    const char *from = history.commitTimes ? "commit" : "transaction start";
    std::printf("%-34s %8s %10s %10s\n", "told after the change's", "count", "p50 ms", "p99 ms");
    std::printf("%-34s %8zu %10.0f %10.0f\n", from, delays.all.size(),
                percentileMs(delays.all, 50), percentileMs(delays.all, 99));
    if (!faults.empty())
        std::printf("%-34s %8zu %10.0f %10.0f\n",
                    qPrintable(QString::fromLatin1(from) + QStringLiteral(", outside faults")),
                    delays.calm.size(), percentileMs(delays.calm, 50),
                    percentileMs(delays.calm, 99));
    return violations;
}

} // namespace load
