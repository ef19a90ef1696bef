#include "BoundQuery.h"

#include "DbLoginImpl.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace dbkit {

void execBound(DbLogin &login, QSqlQuery &q, const QString &statement, const QString &sql,
               const QVariantList &values, bool reading)
{
    if (!q.prepare(statement))
        throw login.failedStatement(q, sql, reading);
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec())
        throw login.failedStatement(q, sql, reading);
}

std::vector<QVariantList> selectBound(DbLogin &login, const QString &sql,
                                      const QVariantList &values)
{
    login.ready(sql);
    refuseUnsendableValues(values, sql);
    const StatementWatch watch(login);
    const QString statement = login.dialect().rewrite(sql);
    QSqlQuery q(login.database());
    q.setForwardOnly(true);
    execBound(login, q, statement, sql, values, true);
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
        throw login.failedStatement(q, sql, true);
    return rows;
}

} // namespace dbkit
