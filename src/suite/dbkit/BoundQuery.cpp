#include "BoundQuery.h"

#include "SqlDialect.h"
#include "StatementWatchdog.h"
#include "internal/Connection.h"
#include "internal/ErrorMapping.h"
#include "internal/LoginAccess.h"
#include "internal/SendableText.h"
#include "internal/StatementRunner.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace dbkit {

std::vector<QVariantList> selectBound(DbLogin &login, const QString &sql,
                                      const QVariantList &values)
{
    Connection &connection = LoginAccess::connection(login);
    ErrorMapping &errors = LoginAccess::errors(login);
    connection.ready(sql);
    refuseUnsendableValues(values, sql);
    const Connection::Watch watch(connection);
    const QString statement = connection.dialect().rewrite(sql);
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    execBound(errors, q, statement, sql, values, true);
    std::vector<QVariantList> rows;
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
