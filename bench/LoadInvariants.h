#pragma once

#include "LoadStats.h"

#include <QStringList>

namespace dbkit {
class DbLogin;
}

namespace load {

// The checks once every operator has ended, on a fresh login: no record lock
// left; every counter within its acknowledged increments and those whose
// answer was lost; no duplicate and no crossing rights of one operator and
// warehouse; every add, delete and insert told done is what is stored; no
// failure untold. Prints the counters and returns the
// violations found.
QStringList checkInvariants(dbkit::DbLogin &login, const OperatorReport &total);

} // namespace load
