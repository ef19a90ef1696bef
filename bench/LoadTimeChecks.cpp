#include "LoadTimeChecks.h"

#include <cstdio>

namespace load {

namespace {

// Beyond the statement time limit the kit tells a stalled statement within
// half a second (its deadline is the limit and 300 ms, then it reconnects
// and rolls back); the other half second is for hundreds of threads on a
// machine of two cores.
constexpr long long pauseMarginNs = 1000 * nsPerMs;

} // namespace

QStringList pauseBound(const RunConfig &config, const OperatorReport &total,
                       const FaultLog &faults)
{
    if (faults.pausedBackend == 0)
        return {};
    // Whatever a call waits for behind the stopped backend (a lock its
    // transaction holds, a server connection of the pooler it occupies) is
    // free again, or given up on, at the latest when the stop ends; then the
    // call's own statement keeps its limit.
    const long long stopped = faults.pauseEndNs - faults.pauseStartNs;
    const long long bound = config.statementTimeoutMs * nsPerMs + stopped + pauseMarginNs;
    const Sample *longest = nullptr;
    for (const Sample &s : total.samples) {
        if (s.startNs < faults.pauseEndNs && s.endNs > faults.pauseStartNs
            && (!longest || s.endNs - s.startNs > longest->endNs - longest->startNs))
            longest = &s;
    }
    if (!longest) {
        std::printf("\nno call while the backend was stopped\n");
        return {};
    }
    const long long took = longest->endNs - longest->startNs;
    std::printf("\nlongest call while the backend was stopped: %s of %.0f ms, from %.1f s "
                "(bound %.0f ms: time limit, %.0f ms stopped, %.0f ms margin): %s\n",
                callName(longest->kind), took / double(nsPerMs),
                longest->startNs / double(nsPerSecond), bound / double(nsPerMs),
                stopped / double(nsPerMs), pauseMarginNs / double(nsPerMs),
                took <= bound ? "ok" : "OVER");
    if (took <= bound)
        return {};
    return {QStringLiteral("a %1 call took %2 ms while a backend was stopped (bound %3 ms)")
                .arg(QLatin1String(callName(longest->kind)))
                .arg(took / nsPerMs)
                .arg(bound / nsPerMs)};
}

QStringList locksTakenOver(const OperatorReport &total, const FaultLog &faults)
{
    int inside = 0;
    QStringList violations;
    for (const Sample &s : total.samples) {
        if (!s.lockTakenOver)
            continue;
        if (inFaultWindow(s, faults.windows)) {
            ++inside;
            continue;
        }
        violations << QStringLiteral("save refused as its lock was taken over at %1 s, "
                                     "outside every fault window")
                          .arg(s.startNs / double(nsPerSecond), 0, 'f', 1);
    }
    std::printf("\nsaves refused as lock taken over: %d in fault windows, %lld outside\n",
                inside, static_cast<long long>(violations.size()));
    return violations;
}

} // namespace load
