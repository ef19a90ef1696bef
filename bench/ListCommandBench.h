#pragma once

#include "suite/dbkit/DbLogin.h"

#include <functional>

namespace bench {

// The raw time of a statement through the engine's own C library; sets the
// rows read.
using RawTimer = std::function<double(const QString &sql, long &rows)>;

// Card saves (F6 to the grid updated, adding and changing) and the list's
// Requery, on the login's account, beside the raw list statement.
void measureCardSave(const char *engine, const dbkit::DbLoginPtr &login, int runs,
                     const RawTimer &raw);
// Filter (confirm to the grid refilled) and find (confirm to the row
// selected) beside the raw filtered and whole list statements.
void measureFilterAndFind(const char *engine, const dbkit::DbLoginPtr &login, int runs,
                          const RawTimer &raw);

// Output of the whole list from the list window to .xlsx and .csv: time and
// peak memory over the loaded list.
void measureListOutput(const char *engine, const dbkit::DbLoginPtr &login);

} // namespace bench
