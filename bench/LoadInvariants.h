#pragma once

#include "LoadFaults.h"
#include "LoadRun.h"
#include "LoadStats.h"

#include <QStringList>

namespace dbkit {
class DbLogin;
}

namespace load {

// The checks once every operator has ended, on a fresh login: no record lock
// left; every counter within its acknowledged increments and those whose
// answer was lost; no duplicate and no crossing rights of one operator and
// warehouse, and no whole-warehouse right beside a narrowed one that was
// there first; every add, delete and rights write told done is what is
// stored; one history row for each change told done, and the last one
// shows the row as stored; no call held up by a stopped backend for longer
// than its bound; no lock taken over outside a fault; no failure untold.
// Prints the counters and returns the violations found.
QStringList checkInvariants(dbkit::DbLogin &login, const RunConfig &config,
                            const OperatorReport &total, const FaultLog &faults);

} // namespace load
