#pragma once

#include "LoadFaults.h"
#include "LoadRun.h"
#include "LoadStats.h"

#include <QStringList>

namespace load {

// No call under way while a backend was stopped takes longer than the
// statement time limit, the stop itself and a margin (see the .cpp). Prints
// the longest such call.
QStringList pauseBound(const RunConfig &config, const OperatorReport &total,
                       const FaultLog &faults);

// A save is refused as its lock was taken over only when its operator lost
// the server for long enough: inside a fault window. Prints how many were,
// inside and outside the windows.
QStringList locksTakenOver(const OperatorReport &total, const FaultLog &faults);

} // namespace load
