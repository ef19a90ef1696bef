#include "BoundQuery.h"

#include "DbLoginImpl.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace dbkit {

std::vector<QVariantList> selectBound(DbLogin &login, const QString &sql,
                                      const QVariantList &values)
{
    login.ready(sql);
    refuseUnsendableValues(values, sql);
    const StatementWatch watch(login);
    const QString statement = login.dialect().rewrite(sql);
    QSqlQuery q(login.database());
    q.setForwardOnly(true);
    if (!q.prepare(statement))
        throw login.failedStatement(q, sql, true);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw login.failedStatement(q, sql, true);
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
