#pragma once

#include "LoadWrites.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <set>
#include <vector>

namespace load {

// Nanoseconds since the run's start, on the monotonic clock every thread shares.
class RunClock {
public:
    RunClock() : m_start(std::chrono::steady_clock::now()) {}
    long long now() const
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now() - m_start)
            .count();
    }

private:
    std::chrono::steady_clock::time_point m_start;
};

constexpr long long nsPerSecond = 1'000'000'000;
constexpr long long nsPerMs = 1'000'000;

// The service calls whose times are reported.
enum class CallKind { Lock, Save, Delete, Rights };
inline const char *callName(CallKind kind)
{
    switch (kind) {
    case CallKind::Lock: return "lock";
    case CallKind::Save: return "save";
    case CallKind::Delete: return "delete";
    case CallKind::Rights: break;
    }
    return "rights write";
}

// One timed service call.
struct Sample {
    CallKind kind = CallKind::Save;
    long long startNs = 0;
    long long endNs = 0;
    bool failed = false;
    bool lockTakenOver = false;  // a save refused as its lock was taken over
};

// One operation of an operator loop, from its first call to its last.
struct Span {
    long long startNs = 0;
    long long endNs = 0;
    bool done = false;
    QString failure;  // the last failure it met, when not done
};

// A stretch of the run a fault disturbs: from its start to 2 s after its end.
struct FaultWindow {
    QString what;
    long long startNs = 0;
    long long endNs = 0;
    bool covers(const Sample &s) const { return s.startNs < endNs && s.endNs > startNs; }
};

inline bool inFaultWindow(const Sample &sample, const std::vector<FaultWindow> &windows)
{
    return std::any_of(windows.begin(), windows.end(),
                       [&sample](const FaultWindow &w) { return w.covers(sample); });
}

// What one operator saw: its timed calls, its failures by call and error
// number (or refusal), the failures that were not told, the counter
// increments the service acknowledged or left unknown (answer lost), the
// warehouses it was told it added or deleted, and every write told done or
// whose answer was lost.
struct OperatorReport {
    std::vector<Sample> samples;
    std::vector<Span> operationSpans;
    std::map<QString, int> failures;
    QStringList untold;
    std::map<QString, long long> acked;
    std::map<QString, long long> unknown;
    std::set<QString> added;           // warehouses added, told done
    std::set<QString> deleted;         // warehouses deleted, told done
    std::set<QString> maybeDeleted;    // deleted or answer lost
    std::vector<Write> writes;
    long long operations = 0;
    long long done = 0;

    void merge(const OperatorReport &other)
    {
        samples.insert(samples.end(), other.samples.begin(), other.samples.end());
        for (const auto &[key, count] : other.failures)
            failures[key] += count;
        untold += other.untold;
        for (const auto &[code, count] : other.acked)
            acked[code] += count;
        for (const auto &[code, count] : other.unknown)
            unknown[code] += count;
        added.insert(other.added.begin(), other.added.end());
        deleted.insert(other.deleted.begin(), other.deleted.end());
        maybeDeleted.insert(other.maybeDeleted.begin(), other.maybeDeleted.end());
        writes.insert(writes.end(), other.writes.begin(), other.writes.end());
        operations += other.operations;
        done += other.done;
    }
};

// The p-th percentile (0..100) of `values` in milliseconds, nearest rank; 0 for none.
inline double percentileMs(std::vector<long long> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(std::ceil(p / 100.0 * values.size()));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1] / double(nsPerMs);
}

} // namespace load
