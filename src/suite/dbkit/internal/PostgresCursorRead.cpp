// Built only with libpq.
#ifdef DBKIT_HAVE_LIBPQ

#include "PostgresResults.h"

namespace dbkit {

namespace {

constexpr int RowsPerBatch = 20000;

// Runs a statement without rows of its own; false with `error` set when it
// failed.
bool run(PGconn *conn, const QString &sql, QSqlError *error)
{
    const PgResult r{PQexec(conn, sql.toUtf8().constData())};
    if (!failed(r.handle))
        return true;
    failedLoad(r.handle, error);
    return false;
}

} // namespace

DirectLoad loadPostgresInBatches(PGconn *conn, const PostgresCall &call, ColumnStore &rows,
                                 LoadedShape &shape, QSqlError *error, bool withTables,
                                 ReadProgress &progress)
{
    // A cursor lives in a transaction; the settings hold for it.
    if (!run(conn, QStringLiteral("BEGIN"), error))
        return DirectLoad::Failed;
    bool ok = true;
    for (const QString &setting : call.prelude)
        ok = ok && (setting == QLatin1String("BEGIN") || run(conn, setting, error));
    ok = ok && run(conn, QStringLiteral("DECLARE depotbase_read NO SCROLL CURSOR FOR ")
                             + call.statement, error);
    const QByteArray fetch = "FETCH FORWARD " + QByteArray::number(RowsPerBatch)
                             + " FROM depotbase_read";
    std::vector<Oid> types;
    std::vector<TextCache> caches;
    bool first = true;
    progress.setInterrupt(cancelRequest(conn));
    while (ok) {
        const PgResult batch{PQexec(conn, fetch.constData())};
        if (failed(batch.handle)) {
            failedLoad(batch.handle, error);
            ok = false;
            break;
        }
        if (first) {
            const int columns = PQnfields(batch.handle);
            PgResult lookup;
            const std::optional<QHash<Oid, QString>> tables =
                withTables ? tableNames(conn, batch.handle, columns, lookup)
                           : QHash<Oid, QString>();
            if (!tables) {
                failedLoad(lookup.handle, error);
                ok = false;
                break;
            }
            shape = resultShape(batch.handle, *tables, types);
            rows.reset(columns);
            caches.assign(size_t(columns), TextCache());
            first = false;
        }
        appendResult(batch.handle, types, rows, caches);
        progress.setRows(qsizetype(rows.rowCount()));
        if (progress.cancelled()) {
            *error = ReadProgress::cancelledError();
            ok = false;
        }
        if (PQntuples(batch.handle) < RowsPerBatch)
            break;
    }
    progress.setInterrupt({});
    if (progress.cancelled()) {
        *error = ReadProgress::cancelledError();
        ok = false;
    }
    // Reading only: ending the transaction either way closes the cursor.
    QSqlError ignored;
    run(conn, QStringLiteral("ROLLBACK"), &ignored);
    return ok ? DirectLoad::Done : DirectLoad::Failed;
}

} // namespace dbkit

#endif
