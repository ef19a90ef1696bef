#pragma once

// Internal: a login's connection to the server. Opens it, starts its session
// (settings, backend id), opens it again before the next command once it was
// found lost, and keeps the client-side deadline of statements on a
// PostgreSQL server.

#include "../DbLogin.h"
#include "../SqlDialect.h"
#include "../StatementWatchdog.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <memory>
#include <vector>

namespace dbkit {

class Connection {
public:
    Connection() = default;
    // Rolls back an open transaction and closes the connection.
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Opens the database `url` names; every backend carries
    // `applicationName`. Throws DbError (ConnectionFailed).
    void open(const QString &url, const QString &applicationName);

    // The connection for Qt's driver and the engines' own loaders; a
    // transaction whose BEGIN is still waiting for its first statement is
    // begun on the server first.
    QSqlDatabase &database();
    // The connection for a PostgresCall, which carries a waiting BEGIN with it
    // (see prelude()).
    QSqlDatabase &databaseForCall() { return m_db; }
    const SqlDialect &dialect() const { return *m_dialect; }
    Engine engine() const { return m_engine; }
    bool throughOdbc() const { return m_throughOdbc; }
    QString connectionId() const { return m_connectionId; }
    int statementTimeout() const { return m_statementTimeout; }
    void setStatementTimeout(int milliseconds) { m_statementTimeout = milliseconds; }
    // The set_config calls of the lock and statement timeouts (PostgreSQL).
    QStringList timeoutSettings(bool transactionOnly) const;
    // A SELECT of those calls for the transaction under way.
    QString transactionSettings() const;
    // A transaction on libpq begins with its first statement, in the same
    // round trip: BEGIN and the settings wait for it (see prelude()).
    void beginWithFirstStatement();
    // True, once, when the transaction ends before a statement began it on
    // the server: there is nothing to commit or roll back.
    bool takeUnsentBegin() { return std::exchange(m_beginWaiting, false); }
    // What a statement on libpq sends before it in the same round trip: a
    // waiting BEGIN and the transaction's settings; outside a transaction
    // the timeouts, which then hold for the statement alone; nothing inside
    // a begun transaction, on other engines, and for a command that runs in
    // no transaction at all (CREATE DATABASE).
    QStringList prelude(const QString &statement);

    // Before a statement: refuses one holding a NUL or half a UTF-16 pair,
    // reopens a connection found lost by an earlier command, and refuses
    // every statement while a transaction lost with its connection is open.
    void ready(const QString &statement);
    // Notes a broken connection: the next command opens it again.
    void lose();
    // True, once, when the deadline of a statement passed and the watchdog
    // broke the connection.
    bool deadlinePassed();

    // Keeps the deadline armed from the outermost begin to its end.
    void beginWatch();
    void endWatch();
    class Watch {
    public:
        explicit Watch(Connection &connection) : m_connection(connection)
        {
            m_connection.beginWatch();
        }
        ~Watch() { m_connection.endWatch(); }
        Watch(const Watch &) = delete;
        Watch &operator=(const Watch &) = delete;

    private:
        Connection &m_connection;
    };

    bool inTransaction() const { return m_inTransaction; }
    void setInTransaction(bool open) { m_inTransaction = open; }
    // Whether the open transaction was undone with a lost connection; clears it.
    bool takeTransactionLost() { return std::exchange(m_transactionLost, false); }

    // A prepared statement that failed inside a transaction. A PostgreSQL
    // server refuses to free it (DEALLOCATE) until the transaction is rolled
    // back, so it is kept until then.
    void keepFailed(QSqlQuery &&query);
    void freeFailed() { m_failedStatements.clear(); }

private:
    // Session settings, run at open and after every reconnect.
    void startSession();
    void startPostgresSession();

    Engine m_engine = Engine::SQLite;
    bool m_throughOdbc = false;
    QString m_url;
    QString m_name;  // of the connection in Qt's list of connections
    QString m_applicationName;
    QString m_connectionId;
    std::unique_ptr<SqlDialect> m_dialect;
    QSqlDatabase m_db;
    int m_statementTimeout = DbLogin::defaultStatementTimeout;
    bool m_inTransaction = false;
    bool m_beginWaiting = false;  // BEGIN goes with the transaction's first statement
    bool m_lost = false;  // the server connection was found broken; reopen first
    bool m_transactionLost = false;  // ... while a transaction was open
    // Client-side deadline of statements on a PostgreSQL server (native driver).
    std::unique_ptr<StatementWatchdog> m_watchdog;
    int m_watchDepth = 0;
    std::vector<QSqlQuery> m_failedStatements;
};

} // namespace dbkit
