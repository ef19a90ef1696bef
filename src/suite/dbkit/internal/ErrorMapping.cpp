#include "ErrorMapping.h"

#include "Connection.h"

namespace dbkit {

DbError ErrorMapping::failure(const QSqlError &error, const QString &statement, bool reading)
{
    if (m_connection.deadlinePassed()) {
        m_connection.lose();
        return DbError(ErrorNumber::TimedOut,
                       QStringLiteral("数据库服务器未能在规定时间内响应，连接已断开，"
                                      "下一次操作时重新连接。"),
                       QString(), statement);
    }
    DbError mapped = m_connection.dialect().toError(error, statement, reading);
    if (m_connection.engine() == Engine::SQLite || mapped.number() != ErrorNumber::General)
        return mapped;
    // Tell a lost connection from a refused statement by asking the server;
    // inside a failed transaction it answers that the transaction is aborted.
    QSqlQuery probe(m_connection.database());
    if (probe.exec(QStringLiteral("SELECT 1"))
        || probe.lastError().nativeErrorCode() == QLatin1String("25P02")
        || probe.lastError().databaseText().contains(QLatin1String("transaction is aborted")))
        return mapped;
    m_connection.lose();
    return DbError(ErrorNumber::ConnectionFailed,
                   QStringLiteral("与账套数据库的连接已断开，下一次操作时重新连接。%1")
                       .arg(mapped.description()),
                   mapped.nativeCode(), statement);
}

DbError ErrorMapping::failedStatement(QSqlQuery &query, const QString &statement, bool reading)
{
    DbError error = failure(query.lastError(), statement, reading);
    m_connection.keepFailed(std::move(query));
    return error;
}

} // namespace dbkit
