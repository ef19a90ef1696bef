#include "BoundQuery.h"

#include "SqlDialect.h"
#include "StatementWatchdog.h"
#include "internal/ColumnStore.h"
#include "internal/Connection.h"
#include "internal/DirectLoad.h"
#include "internal/ErrorMapping.h"
#include "internal/LoginAccess.h"
#include "internal/SendableText.h"
#include "internal/StatementRunner.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace dbkit {

namespace {

// The rows of a bound read on a PostgreSQL connection, run as one unnamed
// statement: Qt's driver would prepare a named one, which a pooler that lends
// server connections to several clients lets them collide on. False when the
// connection is not libpq's.
bool selectPostgres(Connection &connection, ErrorMapping &errors, const QString &statement,
                    const QString &sql, const QVariantList &values,
                    std::vector<QVariantList> &rows)
{
    if (connection.engine() != Engine::PostgreSQL || connection.throughOdbc())
        return false;
    ColumnStore store;
    LoadedShape shape;
    QSqlError error;
    const PostgresCall call{statement, values, connection.prelude(statement)};
    switch (loadPostgresDirect(connection.databaseForCall(), call, store, shape, &error, false)) {
    case DirectLoad::Unavailable: return false;
    case DirectLoad::Failed: throw errors.failure(error, sql, true);
    case DirectLoad::Done: break;
    }
    rows.reserve(store.rowCount());
    for (size_t r = 0; r < store.rowCount(); ++r) {
        QVariantList row;
        row.reserve(store.columnCount());
        for (int c = 0; c < store.columnCount(); ++c)
            row.append(store.value(r, c));
        rows.push_back(std::move(row));
    }
    return true;
}

} // namespace

std::vector<QVariantList> selectBound(DbLogin &login, const QString &sql,
                                      const QVariantList &values)
{
    Connection &connection = LoginAccess::connection(login);
    ErrorMapping &errors = LoginAccess::errors(login);
    connection.ready(sql);
    refuseUnsendableValues(values, sql);
    const Connection::Watch watch(connection);
    const QString statement = connection.dialect().rewrite(sql);
    std::vector<QVariantList> rows;
    if (selectPostgres(connection, errors, statement, sql, values, rows))
        return rows;
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    execBound(errors, q, statement, sql, values, true);
    const int columns = q.record().count();
    while (q.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row.append(q.value(i));
        rows.push_back(std::move(row));
    }
    // A failure while stepping (a lost connection) is no end of the rows.
    if (q.lastError().isValid())
        throw errors.failedStatement(q, sql, true);
    return rows;
}

} // namespace dbkit
