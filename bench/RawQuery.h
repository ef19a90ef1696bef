#pragma once

#include <QString>
#include <functional>

namespace bench {

// Runs one statement through the engine's own C library and reads every
// column of every row as text, the least any client must do; returns the
// number of rows read.
using RawQuery = std::function<long(const QString &sql)>;

// A raw reader on a connection opened once, here and now: a timing of it
// covers the statement and the reading of its rows, not the log-in, as the
// data kit's own timings do.
RawQuery rawSqlite(const QString &path);
RawQuery rawPostgres(const QString &url);

} // namespace bench
