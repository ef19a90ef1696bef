#include "LoadReport.h"

#include <algorithm>
#include <cstdio>

namespace load {

namespace {

void printTimes(const OperatorReport &total, const FaultLog &faults)
{
    std::printf("\n%-22s %8s %8s %10s %10s\n", "call", "count", "failed", "p50 ms", "p99 ms");
    for (CallKind kind : {CallKind::Lock, CallKind::Save, CallKind::Delete, CallKind::Rights}) {
        std::vector<long long> all;
        std::vector<long long> calm;
        int failed = 0;
        for (const Sample &s : total.samples) {
            if (s.kind != kind)
                continue;
            all.push_back(s.endNs - s.startNs);
            failed += s.failed ? 1 : 0;
            if (!inFaultWindow(s, faults.windows))
                calm.push_back(s.endNs - s.startNs);
        }
        std::printf("%-22s %8zu %8d %10.1f %10.1f\n", callName(kind), all.size(), failed,
                    percentileMs(all, 50), percentileMs(all, 99));
        if (kind == CallKind::Save)
            std::printf("%-22s %8zu %8s %10.1f %10.1f\n", "save outside faults", calm.size(), "",
                        percentileMs(calm, 50), percentileMs(calm, 99));
    }
}

// The operation of the paused operator that its stopped backend held up
// (the longest one under way while it was stopped), and how long it took
// from the stop, or from its own start, until it ended.
void printPause(const std::vector<OperatorReport> &operators, const FaultLog &faults,
                int statementTimeoutMs)
{
    if (faults.pausedOperator < 0)
        return;
    const Span *held = nullptr;
    long long longest = -1;
    for (const Span &span : operators[faults.pausedOperator].operationSpans) {
        if (span.endNs <= faults.pauseStartNs || span.startNs >= faults.pauseEndNs)
            continue;
        const long long took = span.endNs - std::max(span.startNs, faults.pauseStartNs);
        if (took > longest) {
            longest = took;
            held = &span;
        }
    }
    if (!held) {
        std::printf("paused op%02d: no operation while its backend was stopped\n",
                    faults.pausedOperator);
        return;
    }
    // A stalled statement should be told within its time limit and half a second.
    const double bound = statementTimeoutMs + 500.0;
    const double took = longest / double(nsPerMs);
    std::printf("paused op%02d: its operation ended after %.0f ms (%s %.0f ms, the statement "
                "time limit and 500 ms): %s\n",
                faults.pausedOperator, took, took <= bound ? "within" : "OVER", bound,
                held->done ? "done" : qPrintable(QStringLiteral("told, ") + held->failure));
}

} // namespace

void printReport(const RunConfig &config, const std::vector<OperatorReport> &operators,
                 const OperatorReport &total, const FaultLog &faults)
{
    std::printf("\n%s, %d operators, %d s\n", config.postgres ? "PostgreSQL" : "SQLite",
                config.operators, config.seconds);
    std::printf("operations: %lld (%.0f a second), done: %lld (%.0f a second)\n",
                total.operations, double(total.operations) / config.seconds, total.done,
                double(total.done) / config.seconds);
    printTimes(total, faults);
    std::printf("\n%-40s %8s\n", "failures (call, error number or refusal)", "count");
    for (const auto &[key, count] : total.failures)
        std::printf("%-40s %8d\n", qPrintable(key), count);
    if (!faults.windows.empty() || !faults.failures.isEmpty()) {
        std::printf("\nfault steps: %d backends killed\n", faults.kills);
        for (const FaultWindow &w : faults.windows)
            std::printf("  %-14s from %6.1f s to %6.1f s (2 s after its end included)\n",
                        qPrintable(w.what), w.startNs / double(nsPerSecond),
                        w.endNs / double(nsPerSecond));
        for (const QString &failure : faults.failures)
            std::printf("  FAILED: %s\n", qPrintable(failure));
    }
    printPause(operators, faults, config.statementTimeoutMs);
    std::fflush(stdout);
}

} // namespace load
