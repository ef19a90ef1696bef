// Built only with libpq.
#ifdef DBKIT_HAVE_LIBPQ

#include "PostgresResults.h"

namespace dbkit {

namespace {

constexpr int RowsPerBatch = 20000;


} // namespace

DirectLoad loadPostgresInBatches(PGconn *conn, const PostgresCall &call, ColumnStore &rows,
                                 LoadedShape &shape, QSqlError *error, bool withTables,
                                 ReadProgress &progress)
{
    if (progress.cancelled()) {
        *error = ReadProgress::cancelledError();
        return DirectLoad::Failed;
    }
    // A cursor lives in a transaction; the settings (the prelude of a
    // statement outside one) hold for it.
    if (!runScript(conn, QStringLiteral("BEGIN"), error))
        return DirectLoad::Failed;
    bool ok = true;
    for (const QString &setting : call.prelude)
        ok = ok && runScript(conn, setting, error);
    if (ok) {
        const PostgresCall declare{
            QStringLiteral("DECLARE depotbase_read NO SCROLL CURSOR FOR ") + call.statement,
            call.values, {}};
        const PgResult declared{runCall(conn, declare)};
        ok = !failed(declared.handle);
        if (!ok)
            failedLoad(declared.handle, error);
    }
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
    runScript(conn, QStringLiteral("ROLLBACK"), &ignored);
    return ok ? DirectLoad::Done : DirectLoad::Failed;
}

} // namespace dbkit

#endif
