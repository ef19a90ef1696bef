#pragma once

// Internal: the pieces of the libpq loaders that the one-round-trip load and
// the load in batches share. Included only where the kit is built with libpq.

#include "ColumnStore.h"
#include "DirectLoad.h"
#include "ReadProgress.h"
#include "TextCache.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include <libpq-fe.h>

namespace dbkit {

// A result, cleared when it goes.
struct PgResult {
    PGresult *handle = nullptr;
    ~PgResult() { PQclear(handle); }
};

// The libpq connection under Qt's driver; null when the driver is not QPSQL.
PGconn *connectionOf(QSqlDatabase &db);
// True when the result is no rows and no command done.
bool failed(const PGresult *result);
// The failure of a result as the kit reports it.
DirectLoad failedLoad(const PGresult *result, QSqlError *error);
// Names of the tables the columns come from, by oid, in one catalogue round
// trip; nullopt when the lookup failed (the connection broke, say), with the
// failed result in `failed`.
std::optional<QHash<Oid, QString>> tableNames(PGconn *conn, const PGresult *result, int columns,
                                              PgResult &failed);
// The columns' names, tables and type codes; `types` gets their oids.
LoadedShape resultShape(const PGresult *result, const QHash<Oid, QString> &tables,
                        std::vector<Oid> &types);
// Appends the rows of `result` to `rows` (large results on two threads).
void appendResult(const PGresult *result, const std::vector<Oid> &types, ColumnStore &rows,
                  std::vector<TextCache> &caches);
// Runs statements without values of their own, separated by semicolons, in
// one round trip; false with `error` set when one failed.
bool runScript(PGconn *conn, const QString &script, QSqlError *error);
// Runs the call's statement (its prelude first, in the same round trip) and
// returns its result.
PGresult *runCall(PGconn *conn, const PostgresCall &call);
// Asks the server, from any thread, to cancel what the connection runs.
std::function<void()> cancelRequest(PGconn *conn);
// A read on a background thread, on a login of its own outside any
// transaction: the statement through a cursor, a batch at a time, so the
// whole result is never held twice; the rows read so far are told to
// `progress`, and a cancel stops it between batches (or the server, asked to
// cancel, stops the batch under way).
DirectLoad loadPostgresInBatches(PGconn *conn, const PostgresCall &call, ColumnStore &rows,
                                 LoadedShape &shape, QSqlError *error, bool withTables,
                                 ReadProgress &progress);

} // namespace dbkit
