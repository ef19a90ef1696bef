#pragma once

#include "LoadFaults.h"
#include "LoadRun.h"
#include "LoadStats.h"

#include <vector>

namespace load {

// Prints operations a second, p50/p99 of each kind of call (and of saves
// outside the fault windows), failures by call and error number, and the
// fault steps, with how long the paused operator waited until it was told.
void printReport(const RunConfig &config, const std::vector<OperatorReport> &operators,
                 const OperatorReport &total, const FaultLog &faults);

} // namespace load
