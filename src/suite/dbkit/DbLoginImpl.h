#pragma once

// Internal: the state of a DbLogin, shared by the kit's own sources.

#include "DbLogin.h"
#include "SqlDialect.h"
#include "StatementWatchdog.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <memory>
#include <vector>

namespace dbkit {

struct DbLogin::Impl {
    Engine engine = Engine::SQLite;
    QString url;
    QString connectionName;
    QString operatorName;
    QString computerName;
    QString connectionId;
    QString sessionToken;  // made at open, kept across reconnects
    std::unique_ptr<SqlDialect> dialect;
    QSqlDatabase db;
    bool inTransaction = false;
    bool throughOdbc = false;
    bool lost = false;  // the server connection was found broken; reopen first
    bool transactionLost = false;  // ... while a transaction was open
    int statementTimeout = DbLogin::defaultStatementTimeout;
    // Client-side deadline of statements on a PostgreSQL server (native driver).
    std::unique_ptr<StatementWatchdog> watchdog;
    int watchDepth = 0;

    // Session settings, run at open and after every reconnect.
    void startSession();
    void startPostgresSession();
    // Notes a broken connection: the next command opens it again.
    void connectionLost();
    QHash<QString, TableInfo> tables;  // catalogue facts by lower-case table name
    // Prepared statements that failed inside a transaction. A PostgreSQL
    // server refuses to free them (DEALLOCATE) until the transaction is
    // rolled back, so they are kept until then and freed after it.
    std::vector<QSqlQuery> failedStatements;
};

// Throws DbError `number` when a statement or criterion holds a character no
// engine takes back as it was sent: a NUL, or half of a UTF-16 pair. The
// error names `within` as its statement (the text itself when null).
void refuseUnsendable(const QString &text, int number, const QString &within = QString());
// The same for the text values bound to `statement` (DbError General).
void refuseUnsendableValues(const QVariantList &values, const QString &statement);

} // namespace dbkit
