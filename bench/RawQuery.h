#pragma once

#include <QString>

namespace bench {

// Runs a statement through the engine's own C library and reads every
// column of every row as text, the least any client must do.
// Returns the number of rows read.
long rawSqliteQuery(const QString &path, const QString &sql);
long rawPostgresQuery(const QString &url, const QString &sql);

} // namespace bench
