#include "StatementRunner.h"

#include "Connection.h"
#include "DirectLoad.h"
#include "ErrorMapping.h"
#include "SendableText.h"

#include <QSqlError>
#include <QSqlQuery>

namespace dbkit {

void execBound(ErrorMapping &errors, QSqlQuery &q, const QString &statement, const QString &sql,
               const QVariantList &values, bool reading)
{
    if (!q.prepare(statement))
        throw errors.failedStatement(q, sql, reading);
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec())
        throw errors.failedStatement(q, sql, reading);
}

void StatementRunner::execute(const QString &sql)
{
    m_connection.ready(sql);
    const Connection::Watch watch(m_connection);
    const QString statement = m_connection.dialect().rewrite(sql);
    if (runOnPostgres(statement, sql, {}))
        return;
    QSqlQuery q(m_connection.database());
    q.setForwardOnly(true);
    if (!q.exec(statement))
        throw m_errors.failure(q.lastError(), sql, isReadingStatement(statement));
}

// On a libpq connection the statement runs as one unnamed statement, outside
// a transaction with its timeouts in the same round trip. Returns the rows
// affected; nullopt when the connection is not libpq's.
std::optional<int> StatementRunner::runOnPostgres(const QString &statement, const QString &sql,
                                                  const QVariantList &values)
{
    if (m_connection.engine() != Engine::PostgreSQL || m_connection.throughOdbc())
        return std::nullopt;
    int rows = 0;
    QSqlError error;
    const PostgresCall call{statement, values, m_connection.prelude(statement)};
    switch (execPostgresBound(m_connection.databaseForCall(), call, &rows, &error)) {
    case DirectLoad::Done:
        return rows;
    case DirectLoad::Failed:
        throw m_errors.failure(error, sql, isReadingStatement(statement));
    case DirectLoad::Unavailable:
        break;
    }
    return std::nullopt;
}

int StatementRunner::executeBound(const QString &sql, const QVariantList &values)
{
    m_connection.ready(sql);
    refuseUnsendableValues(values, sql);
    const Connection::Watch watch(m_connection);
    const QString statement = m_connection.dialect().rewrite(sql);
    if (const std::optional<int> rows = runOnPostgres(statement, sql, values))
        return *rows;
    QSqlQuery q(m_connection.database());
    q.setForwardOnly(true);
    execBound(m_errors, q, statement, sql, values, isReadingStatement(statement));
    return q.numRowsAffected();
}

void StatementRunner::begin()
{
    const Connection::Watch watch(m_connection);
    m_connection.takeTransactionLost();
    QSqlDatabase &db = m_connection.database();
    if (m_connection.engine() == Engine::SQLite) {
        // The kit's transactions write. One that read first and wrote later
        // could meet another such transaction in a deadlock that SQLite
        // settles by failing one of them at once, busy handler or not; taking
        // the write lock at the start makes the second wait its turn instead.
        QSqlQuery immediate(db);
        if (!immediate.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw m_errors.failure(immediate.lastError(), QStringLiteral("BEGIN IMMEDIATE"),
                                   false);
    } else if (m_connection.engine() == Engine::PostgreSQL && !m_connection.throughOdbc()) {
        // BEGIN and the transaction's timeouts go with its first statement,
        // in the same round trip, so they hold whichever server connection a
        // pooler lends it.
        m_connection.beginWithFirstStatement();
        return;
    } else if (!db.transaction()) {
        // Through ODBC the timeouts hold for the session.
        throw m_errors.failure(db.lastError(), QStringLiteral("BEGIN"), false);
    }
    m_connection.setInTransaction(true);
}

void StatementRunner::rollback()
{
    m_connection.setInTransaction(false);
    if (m_connection.takeUnsentBegin())
        return;
    // A transaction whose connection was lost was undone by the server.
    if (m_connection.takeTransactionLost()) {
        m_connection.freeFailed();
        return;
    }
    const Connection::Watch watch(m_connection);
    QSqlDatabase &db = m_connection.database();
    if (!db.rollback())
        throw m_errors.failure(db.lastError(), QStringLiteral("ROLLBACK"), false);
    m_connection.freeFailed();
}

void StatementRunner::commit()
{
    if (m_connection.takeTransactionLost())
        throw DbError(ErrorNumber::ConnectionFailed,
                      QStringLiteral("与账套数据库的连接已断开，事务未能提交。"), QString(),
                      QStringLiteral("COMMIT"));
    if (m_connection.takeUnsentBegin()) {
        m_connection.setInTransaction(false);
        return;
    }
    const Connection::Watch watch(m_connection);
    QSqlDatabase &db = m_connection.database();
    const bool committed = db.commit();
    // A commit of a failed transaction ends it too (as a rollback).
    m_connection.freeFailed();
    if (!committed)
        throw m_errors.failure(db.lastError(), QStringLiteral("COMMIT"), false);
    m_connection.setInTransaction(false);
}

} // namespace dbkit
