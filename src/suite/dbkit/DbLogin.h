#pragma once

#include "DbDataSet.h"
#include "DbError.h"
#include "export/DepotbaseExport.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

namespace dbkit {

class SqlDialect;
struct TableInfo;

// Which kind of server a login talks to (and so which dialect it speaks).
// An ODBC connection takes the kind of the server behind it: PostgreSQL
// through psqlODBC is PostgreSQL; ODBC stands for a SQL Server account.
enum class Engine { SQLite, PostgreSQL, ODBC };

// One connection to an account database (and the suite's system database),
// opened from a URL:
//   sqlite:PATH                      the system database lxsystem.db beside PATH
//                                    is attached as "lxsystem"
//   postgresql://user@host:port/db   system tables live in schema "lxsystem"
//   odbc:CONNECTION-STRING           e.g. a SQL Server account through unixODBC
// Optional query items on any URL: ?operator=NAME&computer=NAME override the
// identity used for record locks.
//
// No statement waits for ever: SQLite has a short busy timeout; on a
// PostgreSQL server every statement has a time limit (statement_timeout,
// 30 s unless set otherwise) and the connection sends TCP keepalives. A
// statement over its limit raises DbError 3234 (ErrorNumber::TimedOut). A
// server that does not answer at all (a stopped backend) is given up on the
// client a little after that limit: the statement raises 3234 and the next
// command opens the connection again. (Through ODBC only the server's limit
// applies: the driver's connection is out of the kit's reach.)
//
// A lost server connection (server restarted, backend ended) makes the
// failing command raise DbError 3151 (ErrorNumber::ConnectionFailed); the next
// command opens the connection again with the same URL and settings. A
// statement that failed is never re-run by the kit.
//
// Threads: a login and its data sets belong to the thread that opened the
// login, as Qt's connections do; a thread that needs the database opens its
// own login. Loads on different logins may run on different threads at once.
class DEPOTBASE_EXPORT DbLogin : public std::enable_shared_from_this<DbLogin> {
public:
    // Throws DbError (ConnectionFailed) when the database cannot be opened.
    static std::shared_ptr<DbLogin> open(const QString &url);
    ~DbLogin();
    DbLogin(const DbLogin &) = delete;
    DbLogin &operator=(const DbLogin &) = delete;

    // The component's operations. SQL is written in the suite server's
    // dialect; the login's SqlDialect rewrites what its engine needs.
    DbDataSetPtr OpenDataSet(const QString &sql, int mode = OpenMode::Default);
    // The same with the statement's "?" placeholders bound to `values` in
    // order, so no value becomes part of the statement's text. Read through
    // Qt's drivers, as the engines' own libraries are given text only.
    DbDataSetPtr OpenDataSet(const QString &sql, const QVariantList &values,
                             int mode = OpenMode::Default);
    void Execute(const QString &sql);
    void BeginTrans();
    void RollbackTrans();
    void CommitTrans();
    bool inTransaction() const;

    Engine engine() const;
    // True when the connection goes through an ODBC driver (Qt's QODBC driver).
    bool throughOdbc() const;
    // The time limit of every statement on a PostgreSQL server, in milliseconds
    // (0: none); kept for reconnects. SQLite keeps its busy timeout instead.
    void setStatementTimeout(int milliseconds);
    static constexpr int defaultStatementTimeout = 30000;

    // Whether data sets read results through the engines' own client
    // libraries (sqlite3, libpq, the ODBC API under QODBC; the default) or
    // through Qt's drivers. For tests of both paths; process-wide. The
    // environment variable DEPOTBASE_KIT_QT_DRIVER=1 starts with Qt's drivers.
    static void setDirectLoading(bool enabled);
    static bool directLoading();
    QString url() const;
    // The URL without its identity items: the database it names (for
    // sqlite:PATH, PATH is the account's file).
    static QString databaseUrl(const QString &url);
    // The URL with its operator item set to `name`, added or replacing one.
    static QString withOperator(const QString &url, const QString &name);
    // Identity of this login for callers that need one (record locks).
    QString operatorName() const;
    QString computerName() const;
    // An id of this connection that is unique among the live connections of
    // the database (PostgreSQL backend pid; on SQLite host + process + login).
    QString connectionId() const;
    // A token of this login, made when it is opened and kept across its
    // reconnects (unlike connectionId()). Record locks belong to it. On a
    // PostgreSQL server every backend of the login carries it in its
    // application_name, as sessionApplicationName() gives it, so an
    // administrator can tell the login's backends.
    QString sessionToken() const;
    static QString sessionApplicationName(const QString &token);

    // Runs `done` once this login has closed and its connection is gone, on
    // the thread that closes it; for parts that keep something per login.
    void whenClosed(std::function<void()> done);

    // Runs one statement with bound values; returns rows affected.
    // Throws DbError with the mapped number. A text value holding a NUL or
    // half a UTF-16 pair is refused before anything reaches the server.
    int executeBound(const QString &sql, const QVariantList &values);

private:
    DbLogin();
    struct Impl;
    std::unique_ptr<Impl> d;
    // The kit's own parts reach the login's internals through LoginAccess.
    friend class LoginAccess;
};

using DbLoginPtr = std::shared_ptr<DbLogin>;

// Begins a transaction and rolls it back when it goes out of scope without
// commit(), so no error path leaves a transaction open. Guards nest: a guard
// made while the login already has a transaction open works on a savepoint
// inside it, so its rollback undoes only its own work (the enclosing
// transaction goes on) and its commit leaves the outcome to the enclosing one.
class DEPOTBASE_EXPORT TransactionGuard {
public:
    explicit TransactionGuard(DbLogin &login);
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard &) = delete;
    TransactionGuard &operator=(const TransactionGuard &) = delete;
    void commit();
    void rollback();
    // True when this guard works on a savepoint of an enclosing transaction.
    bool nested() const { return !m_savepoint.isEmpty(); }

private:
    DbLogin &m_login;
    QString m_savepoint;  // empty for the outermost guard
    bool m_open = true;
};

// Doubles single quotes so a value can stand between quotes in a statement.
QString quoted(const QString &value);

} // namespace dbkit
